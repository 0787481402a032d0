#include "toolkit/output/image_loading.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "toolkit/core/binary_file_io.h"
#include "toolkit/core/error_report.h"
#include "toolkit/output/image_file_identify.h"

namespace tk {

namespace {

// Little-endian fields at an offset the caller has checked.
unsigned u16(const std::uint8_t* p) {
    return static_cast<unsigned>(p[0]) | static_cast<unsigned>(p[1]) << 8;
}
std::uint32_t u32(const std::uint8_t* p) {
    return u16(p) | static_cast<std::uint32_t>(u16(p + 2)) << 16;
}

std::uint32_t packed(unsigned red, unsigned green, unsigned blue) {
    return (red & 255u) | (green & 255u) << 8 | (blue & 255u) << 16;
}

// Sizes the array; false for an empty or too large image.
bool sizeImage(ImagePixelArray& image, long long width, long long height, std::size_t fileSize) {
    if (!PlausibleImageSize(width, height, fileSize)) return false;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.assign(static_cast<std::size_t>(width * height), 0u);
    return true;
}

void store(ImagePixelArray& image, long long column, long long row, std::uint32_t colour) {
    if (column >= 0 && column < image.width && row >= 0 && row < image.height)
        image.pixels[static_cast<std::size_t>(row * image.width + column)] = colour;
}

using ColourTable = std::array<std::uint32_t, 256>;

// ---- BMP -----------------------------------------------------------------

// Run-length coded 8- and 4-bit rows, from the bottom row up.
void decodeBmpRle(const std::uint8_t* p, const std::uint8_t* end, int bits,
                  const ColourTable& colours, ImagePixelArray& image) {
    long long column = 0, row = image.height - 1;
    auto put = [&](unsigned index) {
        store(image, column, row, colours[index & 255u]);
        ++column;
    };
    while (end - p >= 2 && row >= 0) {
        const unsigned c = p[0], v = p[1];
        p += 2;
        if (c > 0) {
            for (unsigned k = 0; k < c; ++k)
                put(bits == 8 ? v : (k % 2 == 0 ? v >> 4 : v & 15u));
        } else if (v == 0) {
            column = 0, --row;
        } else if (v == 1) {
            return;
        } else if (v == 2) {
            if (end - p < 2) return;
            column += p[0], row -= p[1];
            p += 2;
        } else {
            const long long bytes = bits == 8 ? v : (v + 1) / 2;
            const long long padded = bytes + (bytes % 2);
            if (end - p < bytes) return;
            for (unsigned k = 0; k < v; ++k)
                put(bits == 8 ? p[k] : (k % 2 == 0 ? p[k / 2] >> 4 : p[k / 2] & 15u));
            p += std::min<long long>(padded, end - p);
        }
    }
}

std::uint32_t bmpPixel(const std::uint8_t* row, int x, int bits, unsigned compression,
                       const ColourTable& colours) {
    switch (bits) {
        case 1:
            return colours[(row[x / 8] >> (7 - x % 8)) & 1u];
        case 4:
            return colours[x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15u];
        case 8:
            return colours[row[x]];
        case 16: {
            const unsigned b0 = row[2 * x], b1 = row[2 * x + 1];
            if (compression == 3)
                return packed((b1 >> 3) * 8, ((b0 >> 5) + (b1 & 7) * 8) * 4, (b0 & 31) * 8);
            return packed(((b1 >> 2) & 31) * 8, ((b0 >> 5) + (b1 & 3) * 8) * 8, (b0 & 31) * 8);
        }
        case 24:
            return packed(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        default:
            return packed(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
    }
}

// Where the parts of a BMP file lie. The info header tells its own size: 12
// bytes (16-bit sizes, 3-byte colours), 40, or the 52 to 124 of the later
// kinds that programs write today; the colour table follows it (after the
// three masks of a 40-byte header with bit fields), and the pixels start at
// the offset the file header gives.
struct BmpLayout {
    bool headerKnown = false;
    int bits = 0;
    unsigned compression = 0;
    long long width = 0, height = 0;
    std::size_t tableStart = 0, entryBytes = 4, colours = 0, pixelStart = 0;
};

BmpLayout bmpLayout(const std::uint8_t* data, std::size_t size) {
    BmpLayout l;
    const std::uint32_t header = u32(data + 14);
    if (header == 12) {
        l.width = u16(data + 18);
        l.height = static_cast<std::int16_t>(u16(data + 20));
        l.bits = static_cast<int>(u16(data + 24));
        l.entryBytes = 3;
    } else if (header >= 40 && header <= size - 14) {
        l.width = static_cast<std::int32_t>(u32(data + 18));
        l.height = static_cast<std::int32_t>(u32(data + 22));
        l.bits = static_cast<int>(u16(data + 28));
        l.compression = u32(data + 30);
    } else {
        return l;
    }
    l.headerKnown = true;
    l.tableStart = 14 + header + (header == 40 && l.compression == 3 ? 12 : 0);
    const std::size_t offset = u32(data + 10);
    const bool offsetSound = offset >= l.tableStart && offset < size;
    if (l.bits <= 8) {
        const std::uint32_t used = header >= 40 ? u32(data + 46) : 0;
        std::size_t count = used != 0 && used < 256 ? used : std::size_t{1} << l.bits;
        const std::size_t room = (offsetSound ? offset : size) - std::min(size, l.tableStart);
        l.colours = std::min(count, room / l.entryBytes);
    }
    l.pixelStart = offsetSound ? offset : std::min(size, l.tableStart + l.colours * l.entryBytes);
    return l;
}

// ---- PCX -----------------------------------------------------------------

// The run-length coded byte stream of a PCX file; a run may carry on into
// the next plane line.
struct PcxStream {
    const std::uint8_t* p;
    const std::uint8_t* end;
    unsigned value = 0;
    int repeat = 0;
    bool next(std::uint8_t& out) {
        while (repeat == 0) {
            if (p >= end) return false;
            const unsigned b = *p++;
            if (b >= 192) {
                if (p >= end) return false;
                repeat = static_cast<int>(b & 63u);
                value = *p++;
            } else {
                repeat = 1;
                value = b;
            }
        }
        --repeat;
        out = static_cast<std::uint8_t>(value);
        return true;
    }
    // One plane line of `count` bytes; false when the data ended.
    bool line(std::uint8_t* out, int count) {
        for (int k = 0; k < count; ++k)
            if (!next(out[k])) {
                std::fill(out + k, out + count, 0);
                return false;
            }
        return true;
    }
};

}  // namespace

bool PlausibleImageSize(long long width, long long height, std::size_t fileSize) {
    if (width <= 0 || height <= 0 || width > kMaxImagePixels || height > kMaxImagePixels)
        return false;
    const long long pixels = width * height;
    return pixels <= kMaxImagePixels &&
           (pixels <= (1LL << 20) || pixels / 1024 <= static_cast<long long>(fileSize));
}

static_assert(image_kind::Bmp == ImageBmp && image_kind::Pcx == ImagePcx &&
              image_kind::Png == ImagePng);

int ImageKindOf(const std::uint8_t* data, std::size_t size) {
    const int kind = ImageKindOfBytes(data, size);
    return kind == ImageBmp || kind == ImagePcx || kind == ImagePng ? kind : -1;
}

int DecodeBmp(const std::uint8_t* data, std::size_t size, ImagePixelArray& image) {
    if (size < 54) return 0;
    const BmpLayout l = bmpLayout(data, size);
    const bool compressed = l.compression != 0 && l.compression != 3;
    const int bits = l.bits;
    const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (!l.headerKnown || !known || (compressed && bits != 4 && bits != 8)) return 27;
    // A negative height marks rows stored from the top down.
    const bool topDown = l.height < 0;
    const long long height = topDown ? -static_cast<long long>(l.height) : l.height;
    if (height <= 0) return 0;
    if (!sizeImage(image, l.width, height, size)) return l.width <= 0 ? 0 : 27;
    ColourTable colours{};
    for (std::size_t k = 0; k < l.colours; ++k) {
        const std::uint8_t* entry = data + l.tableStart + k * l.entryBytes;
        colours[k] = packed(entry[2], entry[1], entry[0]);
    }
    if (compressed) {
        decodeBmpRle(data + l.pixelStart, data + size, bits, colours, image);
        return 0;
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(bits) * image.width + 31) / 32 * 4;
    for (int k = 0; k < image.height; ++k) {
        const std::size_t at = l.pixelStart + static_cast<std::size_t>(k) * rowBytes;
        if (at > size || size - at < rowBytes) break;
        const int row = topDown ? k : image.height - 1 - k;
        for (int x = 0; x < image.width; ++x)
            store(image, x, row, bmpPixel(data + at, x, bits, l.compression, colours));
    }
    return 0;
}

int DecodePcx(const std::uint8_t* data, std::size_t size, ImagePixelArray& image) {
    if (size < 128) return 0;
    const int planes = data[65], bits = data[3];
    const int layout = planes * bits;
    const long long width = static_cast<long long>(u16(data + 8)) - u16(data + 4) + 1;
    const long long height = static_cast<long long>(u16(data + 10)) - u16(data + 6) + 1;
    const int bpl = static_cast<int>(u16(data + 66));
    if (layout != 1 && layout != 4 && layout != 8 && layout != 24) return 27;
    if (!sizeImage(image, width, height, size)) return 27;
    ColourTable colours{};
    if (layout == 8) {
        if (size < 128 + 769 || data[size - 769] != 12) return 2;
        const std::uint8_t* p = data + size - 768;
        for (std::size_t k = 0; k < 256; ++k)
            colours[k] = packed(p[3 * k], p[3 * k + 1], p[3 * k + 2]);
        size -= 769;
    } else if (layout == 4) {
        for (std::size_t k = 0; k < 16; ++k)
            colours[k] = packed(data[16 + 3 * k], data[17 + 3 * k], data[18 + 3 * k]);
    }
    // Each row is `lines` plane lines of bpl bytes (one-plane files with 4
    // bits are read as four 1-bit planes).
    const int lines = layout == 4 ? 4 : layout == 24 ? 3 : 1;
    const int lineBytes = layout == 4 && planes == 1 ? (bpl + 3) / 4 : bpl;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(lines) * static_cast<std::size_t>(lineBytes));
    PcxStream stream{data + 128, data + size};
    const int w = image.width;
    for (int y = 0; y < image.height; ++y) {
        bool complete = true;
        for (int k = 0; k < lines && complete; ++k)
            complete = stream.line(row.data() + static_cast<std::size_t>(k) * lineBytes, lineBytes);
        const auto byteOf = [&](int line, int index) -> unsigned {
            return index < lineBytes ? row[static_cast<std::size_t>(line * lineBytes + index)] : 0u;
        };
        for (int x = 0; x < w; ++x) {
            std::uint32_t c = 0;
            switch (layout) {
                case 1:
                    c = ((byteOf(0, x / 8) >> (7 - x % 8)) & 1u) ? 0xFFFFFFu : 0u;
                    break;
                case 4: {
                    unsigned v = 0;
                    for (int k = 0; k < 4; ++k)
                        v |= ((byteOf(k, x / 8) >> (7 - x % 8)) & 1u) << k;
                    c = colours[v];
                    break;
                }
                case 8:
                    c = colours[byteOf(0, x)];
                    break;
                default:
                    c = packed(byteOf(0, x), byteOf(1, x), byteOf(2, x));
                    break;
            }
            store(image, x, y, c);
        }
        if (!complete) break;
    }
    return 0;
}

int DecodeImage(const std::uint8_t* data, std::size_t size, ImagePixelArray& image) {
    image = ImagePixelArray{};
    switch (ImageKindOf(data, size)) {
        case image_kind::Bmp:
            return DecodeBmp(data, size, image);
        case image_kind::Pcx:
            return DecodePcx(data, size, image);
        case image_kind::Png:
            return DecodePng(data, size, image);
        default:
            return 27;
    }
}

bool ReadWholeFile(std::string_view name, std::vector<std::uint8_t>& bytes) {
    FileHandle handle = -1;
    BinFileOpen(name, OpenRead, handle);
    if (handle < 0) return false;
    int end = 0;
    BinFileSeek(handle, end, SeekEnd);
    int start = 0;
    BinFileSeek(handle, start, SeekStart);
    bool ok = end >= 0 && start == 0;
    if (ok) {
        bytes.assign(static_cast<std::size_t>(end), 0);
        int got = 0;
        if (end > 0) BinFileReadChar(handle, reinterpret_cast<char*>(bytes.data()), end, got);
        ok = got == end;
    }
    FileHandleClose(handle);
    return ok;
}

void GrLoadImageData(std::string_view name, ImagePixelArray& image) {
    std::vector<std::uint8_t> bytes;
    image = ImagePixelArray{};
    if (!ReadWholeFile(name, bytes)) return;
    if (ImageKindOf(bytes.data(), bytes.size()) < 0) {
        ReportLibraryError(27, "GrLoadImageData");
        return;
    }
    const int error = DecodeImage(bytes.data(), bytes.size(), image);
    if (error != 0) ReportLibraryError(error, "GrLoadImageData");
}

}  // namespace tk
