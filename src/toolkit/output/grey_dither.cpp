#include "toolkit/output/grey_dither.h"

#include <algorithm>
#include <array>

#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/hardcopy_options.h"

namespace tk {

namespace {

std::uint8_t rotateLeft(std::uint8_t b, int k) {
    k %= 8;
    return static_cast<std::uint8_t>((b << k) | (b >> (8 - k)));
}

// Rows that repeat the row above them are turned, so that the dots of a
// cell do not line up in columns.
std::uint32_t equaliseRows(std::uint32_t pattern, int divisor) {
    std::array<std::uint8_t, 4> b{};
    for (int k = 0; k < 4; ++k)
        b[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(pattern >> (8 * k));
    for (int k = 0; k < 3; ++k) {
        if (b[k] == 0 || b[k] == 255) continue;
        for (int m = k + 1; m < 4; ++m) {
            if (b[m] == b[k]) b[m] = rotateLeft(b[m], divisor + 1);
            for (int l = m - 1; l >= 0; --l)
                if (b[l] == b[m]) b[l] = rotateLeft(b[l], divisor);
        }
    }
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

}  // namespace

std::uint32_t DitherPlanePattern(float level, int divisor) {
    int n = static_cast<int>(32.0f * level + 0.5f);
    if (n < 1) return 0;
    if (level > 0.975f) return 0xFFFFFFFFu;
    n = std::min(n, 32);
    const int run = std::max(1, n / std::max(1, 32 - n));
    const int gap = std::max(1, (32 - n) / std::max(1, n));
    std::uint32_t pattern = 0;
    int pos = ((n / divisor) * (divisor + 1)) % 32;
    int count = 0;
    for (int visit = 0; visit < 32; ++visit) {
        const std::uint32_t bit = 1u << pos;
        if ((pattern & bit) != 0 || n <= 0 || count >= run) {
            pos = (pos + gap) % 32;
            count = 0;
        } else {
            pattern |= bit;
            ++count;
            --n;
            pos = (pos + 1) % 32;
        }
    }
    for (int q = 0; q < 32 && n > 0; ++q) {
        if ((pattern & (1u << q)) == 0) pattern |= 1u << q, --n;
        if (n > 0 && (pattern & (1u << (31 - q))) == 0) pattern |= 1u << (31 - q), --n;
    }
    return equaliseRows(pattern, divisor);
}

ColourPatternTriple ColourToGreyDither(int scheme) {
    int r = 0, g = 0, b = 0;
    CurrentColourComponents(r, g, b);
    const int handling = hardcopyOptions()[hc::ColourHandling];
    ApplyColourHandling(handling, r, g, b);
    const bool colours = hardcopyDeviceState().colourCount > 2;
    if (scheme == 2 && colours) r = 255 - r, g = 255 - g, b = 255 - b;
    ColourPatternTriple t;
    if (!colours) {
        const float level = (0.35f * static_cast<float>(r) + 0.59f * static_cast<float>(g) +
                             0.11f * static_cast<float>(b)) / 255.0f;
        std::uint32_t p = DitherPlanePattern(level, 2);
        if (handling > 0) p = ~p;
        t.first = t.second = t.third = p;
        return t;
    }
    t.first = DitherPlanePattern(static_cast<float>(r) / 255.0f, 2);
    if (std::max({r, g, b}) - std::min({r, g, b}) < 4) {
        t.second = t.third = t.first;
        return t;
    }
    t.second = DitherPlanePattern(static_cast<float>(g) / 255.0f, 3);
    t.third = DitherPlanePattern(static_cast<float>(b) / 255.0f, 4);
    return t;
}

}  // namespace tk
