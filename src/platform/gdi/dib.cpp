#include "platform/gdi/dib.h"

#include <algorithm>
#include <cstring>

namespace win::gdi {
namespace {

int shiftOf(DWORD mask) {
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

std::uint8_t channel(DWORD v, DWORD mask) {
    if (!mask) return 0;
    const int s = shiftOf(mask);
    const DWORD max = mask >> s;
    return static_cast<std::uint8_t>(((v & mask) >> s) * 255 / max);
}

std::uint32_t nearestIndex(const std::vector<RGBQUAD>& table, std::uint32_t px) {
    const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
    std::uint32_t best = 0;
    int bestD = 1 << 30;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const int dr = table[i].rgbRed - r, dg = table[i].rgbGreen - g, db = table[i].rgbBlue - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
            bestD = d;
            best = static_cast<std::uint32_t>(i);
        }
    }
    return best;
}

}  // namespace

std::size_t dibColourTableBytes(const BITMAPINFOHEADER& h) {
    if (h.biSize == 12) {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(&h);
        return core->bcBitCount <= 8 ? (std::size_t{1} << core->bcBitCount) * 3 : 0;
    }
    if (h.biCompression == BI_BITFIELDS) return 12;
    if (h.biClrUsed) return h.biClrUsed * 4;
    return h.biBitCount <= 8 ? (std::size_t{1} << h.biBitCount) * 4 : 0;
}

std::vector<RGBQUAD> standardColours(int bitCount, bool mono) {
    std::vector<RGBQUAD> t;
    if (bitCount == 1 || mono) {
        t = {{0, 0, 0, 0}, {255, 255, 255, 0}};
        if (bitCount > 1) t.resize(std::size_t{1} << bitCount);
        return t;
    }
    if (bitCount == 4) {
        static const BYTE v[16][3] = {
            {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
            {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
            {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
            {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (auto& c : v)
            t.push_back({c[2], c[1], c[0], 0});
        return t;
    }
    // 8 bits: a 6 x 6 x 6 cube then greys.
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                t.push_back({static_cast<BYTE>(b * 51), static_cast<BYTE>(g * 51),
                             static_cast<BYTE>(r * 51), 0});
    for (int k = 0; t.size() < 256; ++k) {
        const BYTE v = static_cast<BYTE>(8 + k * 6);
        t.push_back({v, v, v, 0});
    }
    return t;
}

bool readDibFormat(const BITMAPINFO* info, UINT usage, DibFormat& f) {
    if (!info) return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const auto* table = reinterpret_cast<const std::uint8_t*>(info) + h.biSize;
    if (h.biSize == 12) {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(info);
        f.width = core->bcWidth;
        f.height = core->bcHeight;
        f.bitCount = core->bcBitCount;
        if (f.bitCount <= 8)
            for (int i = 0; i < (1 << f.bitCount); ++i)
                f.colours.push_back({table[3 * i], table[3 * i + 1], table[3 * i + 2], 0});
    } else if (h.biSize >= 40) {
        f.width = h.biWidth;
        f.topDown = h.biHeight < 0;
        f.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
        f.bitCount = h.biBitCount;
        f.compression = h.biCompression;
        if (f.compression != BI_RGB && f.compression != BI_BITFIELDS) return false;
        if (f.compression == BI_BITFIELDS) {
            std::memcpy(f.masks, table, 12);
        } else if (f.bitCount == 16) {
            f.masks[0] = 0x7C00;
            f.masks[1] = 0x03E0;
            f.masks[2] = 0x001F;
        } else if (f.bitCount == 32) {
            f.masks[0] = 0xFF0000;
            f.masks[1] = 0xFF00;
            f.masks[2] = 0xFF;
        }
        if (f.bitCount <= 8) {
            const std::size_t n = h.biClrUsed ? h.biClrUsed : (std::size_t{1} << f.bitCount);
            for (std::size_t i = 0; i < n; ++i) {
                RGBQUAD q;
                if (usage == DIB_PAL_COLORS) {
                    // Palette indices into the default palette are shown as greys of that index.
                    WORD idx;
                    std::memcpy(&idx, table + 2 * i, 2);
                    q = {static_cast<BYTE>(idx), static_cast<BYTE>(idx), static_cast<BYTE>(idx), 0};
                } else {
                    std::memcpy(&q, table + 4 * i, 4);
                }
                f.colours.push_back(q);
            }
        }
    } else {
        return false;
    }
    const int bc = f.bitCount;
    if (bc != 1 && bc != 4 && bc != 8 && bc != 16 && bc != 24 && bc != 32) return false;
    return f.width > 0 && f.height > 0;
}

void decodeDibRows(const DibFormat& f, const void* bits, int firstScan, int scans, Surface& out) {
    if (out.width != f.width || out.height != f.height) out.resize(f.width, f.height);
    const auto* base = static_cast<const std::uint8_t*>(bits);
    const std::size_t stride = f.stride();
    for (int k = 0; k < scans; ++k) {
        const int scan = firstScan + k;  // row in memory order
        if (scan < 0 || scan >= f.height) continue;
        const std::uint8_t* row = base + stride * static_cast<std::size_t>(k);
        const int y = f.topDown ? scan : f.height - 1 - scan;
        for (int x = 0; x < f.width; ++x) {
            std::uint32_t px = 0;
            auto fromTable = [&](std::uint32_t i) {
                if (i < f.colours.size()) {
                    const RGBQUAD& q = f.colours[i];
                    px = (static_cast<std::uint32_t>(q.rgbRed) << 16) | (q.rgbGreen << 8) |
                         q.rgbBlue;
                }
            };
            switch (f.bitCount) {
                case 1:
                    fromTable((row[x >> 3] >> (7 - (x & 7))) & 1);
                    break;
                case 4:
                    fromTable((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
                    break;
                case 8:
                    fromTable(row[x]);
                    break;
                case 16: {
                    const DWORD v = row[2 * x] | (row[2 * x + 1] << 8);
                    px = (static_cast<std::uint32_t>(channel(v, f.masks[0])) << 16) |
                         (channel(v, f.masks[1]) << 8) | channel(v, f.masks[2]);
                    break;
                }
                case 24:
                    px = (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x];
                    break;
                case 32: {
                    DWORD v;
                    std::memcpy(&v, row + 4 * x, 4);
                    px = (static_cast<std::uint32_t>(channel(v, f.masks[0])) << 16) |
                         (channel(v, f.masks[1]) << 8) | channel(v, f.masks[2]);
                    break;
                }
            }
            out.at(x, y) = out.monochrome ? ((px & 0xFFFFFF) ? 0xFFFFFF : 0) : px;
        }
    }
}

void encodeDib(const Surface& s, DibFormat& f, std::vector<std::uint8_t>& bits) {
    f.width = s.width;
    f.height = s.height;
    if (f.bitCount <= 8 && f.colours.empty()) f.colours = standardColours(f.bitCount, s.monochrome);
    const std::size_t stride = f.stride();
    bits.assign(stride * static_cast<std::size_t>(f.height), 0);
    for (int scan = 0; scan < f.height; ++scan) {
        const int y = f.topDown ? scan : f.height - 1 - scan;
        std::uint8_t* row = bits.data() + stride * static_cast<std::size_t>(scan);
        for (int x = 0; x < f.width; ++x) {
            const std::uint32_t px = s.at(x, y);
            switch (f.bitCount) {
                case 1:
                    if (nearestIndex(f.colours, px))
                        row[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
                    break;
                case 4:
                    row[x >> 1] |=
                        static_cast<std::uint8_t>(nearestIndex(f.colours, px) << ((x & 1) ? 0 : 4));
                    break;
                case 8:
                    row[x] = static_cast<std::uint8_t>(nearestIndex(f.colours, px));
                    break;
                case 16: {
                    const std::uint16_t v = static_cast<std::uint16_t>(
                        ((px >> 19) & 0x1F) << 10 | ((px >> 11) & 0x1F) << 5 | ((px >> 3) & 0x1F));
                    row[2 * x] = static_cast<std::uint8_t>(v);
                    row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                    break;
                }
                case 24:
                    row[3 * x] = static_cast<std::uint8_t>(px);
                    row[3 * x + 1] = static_cast<std::uint8_t>(px >> 8);
                    row[3 * x + 2] = static_cast<std::uint8_t>(px >> 16);
                    break;
                case 32:
                    row[4 * x] = static_cast<std::uint8_t>(px);
                    row[4 * x + 1] = static_cast<std::uint8_t>(px >> 8);
                    row[4 * x + 2] = static_cast<std::uint8_t>(px >> 16);
                    row[4 * x + 3] = 0;
                    break;
            }
        }
    }
}

}  // namespace win::gdi
