#include "toolkit/output/image_writers.h"

#include <algorithm>

#include "toolkit/output/png_codec.h"

namespace tk {

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v);
    put16(b, at + 2, v >> 16);
}

// The pixels of one row packed as the file stores them: the first pixel in
// the high bits of a byte for 1 and 4 bits, blue, green, red for 24 bits.
Bytes packedRow(const ImageToWrite& image, int row, bool rgbOrder) {
    const int w = image.width;
    Bytes out;
    switch (image.depth) {
        case 1:
            out.assign(static_cast<std::size_t>((w + 7) / 8), 0);
            for (int x = 0; x < w; ++x)
                if (image.pixel(x, row) & 1u) out[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
            break;
        case 4:
            out.assign(static_cast<std::size_t>((w + 1) / 2), 0);
            for (int x = 0; x < w; ++x)
                out[static_cast<std::size_t>(x / 2)] |=
                    static_cast<std::uint8_t>((image.pixel(x, row) & 15u) << (x % 2 == 0 ? 4 : 0));
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                out.push_back(static_cast<std::uint8_t>(image.pixel(x, row)));
            break;
        default:
            for (int x = 0; x < w; ++x) {
                const std::uint32_t c = image.pixel(x, row);
                const std::uint8_t r = c & 255u, g = (c >> 8) & 255u, b = (c >> 16) & 255u;
                out.insert(out.end(), rgbOrder ? std::initializer_list<std::uint8_t>{r, g, b}
                                               : std::initializer_list<std::uint8_t>{b, g, r});
            }
            break;
    }
    return out;
}

// A padded row in groups of four bytes: four equal bytes are a run (grown
// while the previous group ran the same byte), anything else is copied.
void bmpRunLengthRow(const Bytes& row, int pixelsPerByte, Bytes& out) {
    const int limit = pixelsPerByte == 1 ? 251 : 247;
    std::size_t lastRun = SIZE_MAX;
    for (std::size_t k = 0; k + 4 <= row.size(); k += 4) {
        const std::uint8_t v = row[k];
        const bool equal = row[k + 1] == v && row[k + 2] == v && row[k + 3] == v;
        if (equal && lastRun != SIZE_MAX && out[lastRun + 1] == v && out[lastRun] < limit) {
            out[lastRun] = static_cast<std::uint8_t>(out[lastRun] + 4 * pixelsPerByte);
        } else if (equal) {
            lastRun = out.size();
            out.push_back(static_cast<std::uint8_t>(4 * pixelsPerByte));
            out.push_back(v);
        } else {
            lastRun = SIZE_MAX;
            out.push_back(0);
            out.push_back(static_cast<std::uint8_t>(4 * pixelsPerByte));
            out.insert(out.end(), row.begin() + static_cast<long>(k), row.begin() + static_cast<long>(k) + 4);
        }
    }
    out.push_back(0);
    out.push_back(0);
}

}  // namespace

std::vector<std::uint8_t> BmpFileBytes(const ImageToWrite& image, bool runLength) {
    const int d = image.depth;
    const bool rle = runLength && (d == 4 || d == 8);
    const std::uint32_t table = d < 24 ? 4u << d : 0u;
    Bytes out(54 + table, 0);
    out[0] = 'B', out[1] = 'M';
    put32(out, 10, 54 + table);
    put32(out, 14, 40);
    put32(out, 18, static_cast<std::uint32_t>(image.width));
    put32(out, 22, static_cast<std::uint32_t>(image.height));
    put16(out, 26, 1);
    put16(out, 28, static_cast<std::uint32_t>(d));
    put32(out, 30, rle ? (d == 8 ? 1u : 2u) : 0u);
    for (std::size_t k = 0; k < table / 4 && k < image.palette.size(); ++k) {
        const std::uint32_t c = image.palette[k];
        out[54 + 4 * k] = static_cast<std::uint8_t>(c >> 16);
        out[55 + 4 * k] = static_cast<std::uint8_t>(c >> 8);
        out[56 + 4 * k] = static_cast<std::uint8_t>(c);
    }
    for (int row = image.height - 1; row >= 0; --row) {
        Bytes bytes = packedRow(image, row, false);
        bytes.resize((bytes.size() + 3) / 4 * 4, 0);
        if (rle)
            bmpRunLengthRow(bytes, d == 4 ? 2 : 1, out);
        else
            out.insert(out.end(), bytes.begin(), bytes.end());
    }
    if (rle) {
        out.push_back(0);
        out.push_back(1);
    }
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    if (rle) put32(out, 34, static_cast<std::uint32_t>(out.size() - 54 - table));
    return out;
}

void BmpCompleteSizes(std::vector<std::uint8_t>& header, std::uint32_t fileSize,
                      std::uint32_t tableBytes) {
    put32(header, 2, fileSize);
    put32(header, 34, fileSize - tableBytes - 54);
}

void PcxEncodeRow(const std::uint8_t* row, int count, std::vector<std::uint8_t>& out) {
    for (int k = 0; k < count;) {
        int n = 1;
        while (k + n < count && n < 63 && row[k + n] == row[k])
            ++n;
        if (n == 1 && row[k] < 192) {
            out.push_back(row[k]);
        } else {
            out.push_back(static_cast<std::uint8_t>(192 + n));
            out.push_back(row[k]);
        }
        k += n;
    }
}

std::vector<std::uint8_t> PcxFileBytes(const ImageToWrite& image) {
    const int d = image.depth, w = image.width;
    const int planes = d == 24 ? 3 : d == 4 ? 4 : 1;
    int b = d == 1 || d == 4 ? (w + 7) / 8 : w;
    b += b % 2;
    Bytes out(128, 0);
    out[0] = 10;
    out[1] = d == 1 ? 3 : 5;
    out[2] = 1;
    out[3] = d == 1 || d == 4 ? 1 : 8;
    put16(out, 8, static_cast<std::uint32_t>(w - 1));
    put16(out, 10, static_cast<std::uint32_t>(image.height - 1));
    put16(out, 12, 75);
    put16(out, 14, 75);
    // A set bit of a one-plane PCX is white, whatever the image's palette.
    const std::vector<std::uint32_t> headerPalette =
        d == 1 ? std::vector<std::uint32_t>{0x000000u, 0xFFFFFFu} : image.palette;
    const auto whiteIndex = [&](std::uint32_t v) {
        const std::uint32_t c = v < image.palette.size() ? image.palette[v] : 0u;
        return (c & 255u) + ((c >> 8) & 255u) + ((c >> 16) & 255u) >= 384u;
    };
    if (d == 4 || d == 1)
        for (std::size_t k = 0; k < 16 && k < headerPalette.size(); ++k) {
            const std::uint32_t c = headerPalette[k];
            out[16 + 3 * k] = static_cast<std::uint8_t>(c);
            out[17 + 3 * k] = static_cast<std::uint8_t>(c >> 8);
            out[18 + 3 * k] = static_cast<std::uint8_t>(c >> 16);
        }
    out[65] = static_cast<std::uint8_t>(planes);
    put16(out, 66, static_cast<std::uint32_t>(b));
    put16(out, 68, 1);
    put16(out, 70, static_cast<std::uint32_t>(b));
    put16(out, 72, static_cast<std::uint32_t>(image.height));
    Bytes line(static_cast<std::size_t>(b));
    for (int row = 0; row < image.height; ++row) {
        for (int plane = 0; plane < planes; ++plane) {
            std::fill(line.begin(), line.end(), 0);
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = image.pixel(x, row);
                if (d == 8) {
                    line[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(v);
                } else if (d == 24) {
                    line[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(v >> (8 * plane));
                } else if (d == 1 ? whiteIndex(v & 1u) : ((v >> plane) & 1u) != 0) {
                    line[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                }
            }
            PcxEncodeRow(line.data(), b, out);
        }
    }
    if (d == 8) {
        out.push_back(12);
        for (std::size_t k = 0; k < 256; ++k) {
            const std::uint32_t c = k < image.palette.size() ? image.palette[k] : 0;
            out.push_back(static_cast<std::uint8_t>(c));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
            out.push_back(static_cast<std::uint8_t>(c >> 16));
        }
    }
    return out;
}

std::vector<std::uint8_t> PngFileBytes(const ImageToWrite& image) {
    PngRows rows;
    rows.width = image.width;
    rows.height = image.height;
    rows.rgb = image.depth == 24;
    rows.bitDepth = std::min(image.depth, 8);
    rows.palette = image.palette;
    for (int row = 0; row < image.height; ++row)
        rows.rows.push_back(packedRow(image, row, true));
    return EncodePng(rows);
}

}  // namespace tk
