#include "platform/gdi/png_writer.h"

#include <zlib.h>

#include <array>
#include <cstdio>

namespace win {
namespace {

const std::array<std::uint32_t, 256>& crcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> s));
}

void putChunk(std::vector<std::uint8_t>& out, const char* type,
              std::span<const std::uint8_t> data) {
    putU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const std::uint32_t crc = pngCrc(0, std::span(out.data() + typeAt, out.size() - typeAt));
    putU32(out, crc);
}

}  // namespace

std::uint32_t pngCrc(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
    std::uint32_t c = crc ^ 0xFFFFFFFFu;
    for (std::uint8_t b : bytes)
        c = crcTable()[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::vector<std::uint8_t> encodePng(const PngImage& image) {
    const int samples = image.colourType == 2 ? 3 : 1;
    const std::size_t rowBytes =
        (static_cast<std::size_t>(image.width) * samples * image.bitDepth + 7) / 8;
    if (image.width <= 0 || image.height <= 0 || image.rows.size() < rowBytes * image.height)
        return {};
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * image.height);
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        auto row = image.rows.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size())) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<std::uint8_t> out = {137, 80, 78, 71, 13, 10, 26, 10};
    std::vector<std::uint8_t> header;
    putU32(header, static_cast<std::uint32_t>(image.width));
    putU32(header, static_cast<std::uint32_t>(image.height));
    header.push_back(static_cast<std::uint8_t>(image.bitDepth));
    header.push_back(static_cast<std::uint8_t>(image.colourType));
    header.insert(header.end(), {0, 0, 0});
    putChunk(out, "IHDR", header);
    if (image.colourType == 3) putChunk(out, "PLTE", image.palette);
    putChunk(out, "IDAT", packed);
    putChunk(out, "IEND", {});
    return out;
}

std::vector<std::uint8_t> encodePng(const Surface& surface) {
    PngImage image;
    image.width = surface.width;
    image.height = surface.height;
    image.rows.reserve(surface.pixels.size() * 3);
    for (std::uint32_t p : surface.pixels) {
        image.rows.push_back(static_cast<std::uint8_t>(p >> 16));
        image.rows.push_back(static_cast<std::uint8_t>(p >> 8));
        image.rows.push_back(static_cast<std::uint8_t>(p));
    }
    return encodePng(image);
}

bool savePng(const Surface& surface, const std::string& path) {
    const std::vector<std::uint8_t> bytes = encodePng(surface);
    if (bytes.empty()) return false;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace win
