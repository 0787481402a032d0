#include <algorithm>
#include <cstdlib>
#include <new>

#include "toolkit/graphics/colour_table.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/raster_state.h"

namespace tk {

namespace {

constexpr int kNibbleColours[16] = {0, 9, 1, 11, 3, 10, 2, 14, 6, 12, 4, 13, 5, 15, 7, 8};

constexpr std::uint32_t kImageMonoPatterns[16] = {
    0xFFFFFFFF, 0xBFBFF7F7, 0x73CE7CC7, 0xC6EC3373, 0xE7EF7E7F, 0x7377EE67,
    0x676EE676, 0x311148C8, 0xEDED7777, 0xECEC3776, 0x6643CCC8, 0x64641313,
    0x3C669999, 0xC663366C, 0x32668CCC, 0x00000000};

bool inside(int column, int row) {
    const RasterState& r = rasterState();
    return column >= 0 && column < r.rowLength && row >= 0 && row < r.rowCount &&
           !r.buffer.empty();
}

int patternBit(std::uint32_t pattern, int column, int row) {
    return static_cast<int>((pattern >> ((column % 8) + 8 * (row % 4))) & 1u);
}

// Bit plane k of the dither cell of an image colour: bits 0-2 from the red,
// green and blue channel tables.
int imageDitherValue(int column, int row, int red, int green, int blue) {
    const RasterState& r = rasterState();
    const std::size_t index =
        static_cast<std::size_t>((blue / 16) * 256 + (green / 16) * 16 + red / 16);
    const int b = (column % 8) + 8 * (row % 4);
    int v = 0;
    for (int k = 0; k < 3; ++k)
        v |= static_cast<int>((r.channelDither[static_cast<std::size_t>(k)][index] >> b) & 1u) << k;
    return v;
}

}  // namespace

RasterState& rasterState() {
    static RasterState s;
    return s;
}

void ResetRasterState() {
    rasterState() = RasterState{};
}

int NibbleColour(int colourNumber) {
    return kNibbleColours[std::clamp(colourNumber, 0, 255) / 16];
}

void RasterLayout(int bitsPerPixel, int rowLength, int rowCount, int planes) {
    RasterState& r = rasterState();
    r.bitsPerPixel = bitsPerPixel;
    r.storageKind = bitsPerPixel == 24 ? 4 : bitsPerPixel == 8 ? 3 : bitsPerPixel >= 3 ? 2 : 1;
    r.planes = r.storageKind == 2 ? std::max(1, planes) : 1;
    r.rowLength = std::max(0, rowLength);
    r.rowCount = std::max(0, rowCount);
    r.lastColumn = r.rowLength - 1;
    r.lastRow = r.rowCount - 1;
    const int perWord = r.storageKind == 4 ? 1 : r.storageKind == 3 ? 4 : 32;
    r.wordsPerRow = (r.rowLength + perWord - 1) / perWord;
    const long long plane = static_cast<long long>(r.wordsPerRow) * r.rowCount;
    const long long total = plane * r.planes;
    // Sizes past what an int counts are refused like a failed allocation.
    r.wordsPerPlane = plane > 0x3FFFFFFF ? 0x3FFFFFFF : static_cast<int>(plane);
    r.totalWords = total > 0x3FFFFFFF ? 0x3FFFFFFF : static_cast<int>(total);
}

bool RasterAllocate() {
    RasterState& r = rasterState();
    r.buffer.clear();
    // A page of more than 256 MiB is treated as one that does not fit.
    if (r.totalWords >= (1 << 26)) return false;
    try {
        r.buffer.assign(static_cast<std::size_t>(r.totalWords) + 1, 0u);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void RasterRelease() {
    std::vector<std::uint32_t>().swap(rasterState().buffer);
}

std::uint32_t RasterGetPixel(int i, int j) {
    if (!inside(i, j)) return 0;
    const RasterState& r = rasterState();
    const auto word = [&](int index) { return r.buffer[static_cast<std::size_t>(index)]; };
    switch (r.storageKind) {
        case 1:
            return (word(j * r.wordsPerRow + i / 32) >> (i % 32)) & 1u;
        case 2: {
            std::uint32_t v = 0;
            for (int k = 0; k < r.planes; ++k)
                v |= ((word(k * r.wordsPerPlane + j * r.wordsPerRow + i / 32) >> (i % 32)) & 1u)
                     << k;
            return v;
        }
        case 3:
            return (word(j * r.wordsPerRow + i / 4) >> (8 * (i % 4))) & 0xFFu;
        default:
            return word(j * r.wordsPerRow + i);
    }
}

void RasterSetPixel(std::uint32_t value, int i, int j) {
    if (!inside(i, j)) return;
    RasterState& r = rasterState();
    const auto word = [&](int index) -> std::uint32_t& {
        return r.buffer[static_cast<std::size_t>(index)];
    };
    const auto setBit = [](std::uint32_t& w, int bit, bool on) {
        w = on ? (w | (1u << bit)) : (w & ~(1u << bit));
    };
    switch (r.storageKind) {
        case 1:
            setBit(word(j * r.wordsPerRow + i / 32), i % 32, value != 0);
            break;
        case 2:
            for (int k = 0; k < r.planes; ++k)
                setBit(word(k * r.wordsPerPlane + j * r.wordsPerRow + i / 32), i % 32,
                       ((value >> k) & 1u) != 0);
            break;
        case 3: {
            std::uint32_t& w = word(j * r.wordsPerRow + i / 4);
            const int shift = 8 * (i % 4);
            w = (w & ~(0xFFu << shift)) | ((value & 0xFFu) << shift);
            break;
        }
        default:
            word(j * r.wordsPerRow + i) = value;
            break;
    }
}

void RasterSetRun(std::uint32_t value, int i1, int j, int i2) {
    const RasterState& r = rasterState();
    if (j < 0 || j >= r.rowCount) return;
    i1 = std::max(i1, 0);
    i2 = std::min(i2, r.rowLength - 1);
    for (int i = i1; i <= i2; ++i)
        RasterSetPixel(value, i, j);
}

void RasterFillSpan(int i1, int i2, int j) {
    const RasterState& r = rasterState();
    if (i2 < i1) return;
    if (r.bitsPerPixel == 1) {
        for (int i = i1; i <= i2; ++i)
            RasterSetPixel(
                static_cast<std::uint32_t>(
                    patternBit(i % 2 == 0 ? r.fillPatternEven : r.fillPatternOdd, i, j)),
                i, j);
    } else if (r.bitsPerPixel == 3) {
        for (int i = i1; i <= i2; ++i) {
            const ColourPatternTriple& p =
                r.mixedFill && (i + j) % 2 != 0 ? r.previousPatterns : r.colourPatterns;
            RasterSetPixel(static_cast<std::uint32_t>(patternBit(p.first, i, j) |
                                                      patternBit(p.second, i, j) << 1 |
                                                      patternBit(p.third, i, j) << 2),
                           i, j);
        }
    } else if (!r.mixedFill) {
        RasterSetRun(r.pixelValue, i1, j, i2);
    } else {
        for (int i = i1; i <= i2; ++i)
            RasterSetPixel((i + j) % 2 == 0 ? r.previousPixelValue : r.pixelValue, i, j);
    }
}

namespace {

// One pass of a line that advances one step along `major` per pixel and
// sometimes one along `minor`; the minor coordinate stays within its clip
// limits. Returns with the dash phase where the pass left it.
struct LinePass {
    int major, minor, majorEnd, majorStep, minorStep, dMajor, dMinor, minorLow, minorHigh;
    bool steep;
    void run(bool skipFirst, int dashStep) const {
        RasterState& r = rasterState();
        int a = major, b = minor;
        int e = 2 * dMinor - dMajor;
        const auto advance = [&] {
            if (e >= 0) {
                b = std::clamp(b + minorStep, minorLow, minorHigh);
                e += 2 * (dMinor - dMajor);
            } else {
                e += 2 * dMinor;
            }
        };
        if (skipFirst) {
            if (a == majorEnd) return;
            a += majorStep;
            advance();
        }
        for (;;) {
            if ((r.dashPattern >> r.dashBit) & 1) {
                if (steep)
                    RasterSetPixel(r.pixelValue, b, a);
                else
                    RasterSetPixel(r.pixelValue, a, b);
            }
            advance();
            if (++r.dashCount > dashStep) {
                r.dashCount = 1;
                r.dashBit = (r.dashBit + 1) % std::max(1, r.dashLength);
            }
            if (a == majorEnd) break;
            a += majorStep;
        }
    }
};

}  // namespace

void RasterDrawLine(int i1, int j1, int i2, int j2, bool skipFirst) {
    RasterState& r = rasterState();
    const int di = std::abs(i2 - i1), dj = std::abs(j2 - j1);
    const int si = i1 <= i2 ? 1 : -1, sj = j1 <= j2 ? 1 : -1;
    if (r.lineStyle == 0 && dj == 0) {
        int lo = std::min(i1, i2), hi = std::max(i1, i2);
        if (skipFirst) (i1 <= i2 ? lo : hi) += si;
        if (hi < lo) return;
        const int first = std::max(j1 - r.halfRows, r.clipRowMin);
        const int last = std::min(j1 - r.halfRows + r.lineWidthRows, r.clipRowMax);
        for (int j = first; j <= last; ++j)
            RasterSetRun(r.pixelValue, lo, j, hi);
        return;
    }
    if (r.lineStyle == 0 && di == 0) {
        int lo = std::min(j1, j2), hi = std::max(j1, j2);
        if (skipFirst) (j1 <= j2 ? lo : hi) += sj;
        if (hi < lo) return;
        const int first = std::max(i1 - r.halfColumns, r.clipColumnMin);
        const int last = std::min(i1 - r.halfColumns + r.lineWidthColumns, r.clipColumnMax);
        for (int j = lo; j <= hi; ++j)
            for (int i = first; i <= last; ++i)
                RasterSetPixel(r.pixelValue, i, j);
        return;
    }
    const int dashBit = r.dashBit, dashCount = r.dashCount;
    if (di < dj) {
        for (int k = 0; k <= r.lineWidthRows; ++k) {
            r.dashBit = dashBit, r.dashCount = dashCount;
            LinePass{j1, i1 - r.halfRows + k, j2, sj, si, dj, di, r.clipColumnMin,
                     r.clipColumnMax, true}
                .run(skipFirst, r.dashStepRows);
        }
    } else {
        for (int k = 0; k <= r.lineWidthColumns; ++k) {
            r.dashBit = dashBit, r.dashCount = dashCount;
            LinePass{i1, j1 - r.halfColumns + k, i2, si, sj, di, dj, r.clipRowMin,
                     r.clipRowMax, false}
                .run(skipFirst, r.dashStepColumns);
        }
    }
}

int RasterEdgeIntersect(int i1, int j1, int i2, int j2, int j) {
    const int d = j2 - j1;
    if (d < 0) return (i2 - i1) * (j - j2) / d + i2;
    if (d > 0) return (i2 - i1) * (j - j1) / d + i1;
    return 32767;
}

void RasterImagePixel(int i, int j, int rgb) {
    const RasterState& r = rasterState();
    int red = rgb & 255, green = (rgb >> 8) & 255, blue = (rgb >> 16) & 255;
    const bool handling = hardcopyOptions()[hc::ColourHandling] != 0;
    std::uint32_t value = 0;
    switch (r.bitsPerPixel) {
        case 1: {
            int v = imageDitherValue(i, j, red, green, blue);
            if (handling && (v == 0 || v == 7)) {
                v = 7 - v;
                red = 255 - red, green = 255 - green, blue = 255 - blue;
            }
            const int index = v + (std::max({red, green, blue}) > 191 ? 8 : 0);
            value = (kImageMonoPatterns[index] >> ((i % 8) + 3 * (j % 4))) & 1u;
            break;
        }
        case 3: {
            int v = imageDitherValue(i, j, red, green, blue);
            if (handling && (v == 0 || v == 7)) v = 7 - v;
            if (r.colourScheme == 2) v = 7 - v;
            value = static_cast<std::uint32_t>(v);
            break;
        }
        case 4:
        case 8: {
            int n = 0;
            NearestColourNumber(rgb, n);
            value = static_cast<std::uint32_t>(r.bitsPerPixel == 4 ? NibbleColour(n) : n);
            break;
        }
        default:
            value = static_cast<std::uint32_t>(rgb) & 0xFFFFFFu;
            break;
    }
    RasterSetPixel(value, i, j);
}

void RasterDitherTable() {
    RasterState& r = rasterState();
    std::array<std::array<std::uint32_t, 16>, 3> levels{};
    for (int L = 0; L < 16; ++L) {
        const int v = L == 0 ? 0 : 16 * L + 15;
        for (int c = 0; c < 3; ++c)
            levels[static_cast<std::size_t>(c)][static_cast<std::size_t>(L)] =
                DitherPlanePattern(static_cast<float>(v) / 255.0f, c + 2);
    }
    for (auto& table : r.channelDither)
        table.assign(4096, 0u);
    for (int b = 0; b < 16; ++b)
        for (int g = 0; g < 16; ++g)
            for (int red = 0; red < 16; ++red) {
                const std::size_t index = static_cast<std::size_t>(b * 256 + g * 16 + red);
                const int vr = red == 0 ? 0 : 16 * red + 15, vg = g == 0 ? 0 : 16 * g + 15,
                          vb = b == 0 ? 0 : 16 * b + 15;
                const bool grey = std::max({vr, vg, vb}) - std::min({vr, vg, vb}) < 4;
                r.channelDither[0][index] = levels[0][static_cast<std::size_t>(red)];
                r.channelDither[1][index] =
                    grey ? levels[0][static_cast<std::size_t>(red)] : levels[1][static_cast<std::size_t>(g)];
                r.channelDither[2][index] =
                    grey ? levels[0][static_cast<std::size_t>(red)] : levels[2][static_cast<std::size_t>(b)];
            }
}

}  // namespace tk
