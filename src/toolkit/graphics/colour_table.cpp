#include "toolkit/graphics/colour_table.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"

namespace tk {

ColourTable256& colourTable() {
    static ColourTable256 table;
    return table;
}

namespace {

constexpr int packRgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

// One block of 16 entries: k from `first` in steps of `step`, written into
// the components selected by the mask (1 red, 2 green, 4 blue).
void fillBlock(int start, int first, int step, int mask) {
    for (int i = 0; i < 16; ++i) {
        const int k = first + i * step;
        colourTable().table[static_cast<std::size_t>(start + i)] =
            packRgb(mask & 1 ? k : 0, mask & 2 ? k : 0, mask & 4 ? k : 0);
    }
}

constexpr int colourGroup(int n) {
    return ((n + 16) / 32) % 8;
}

void updateCone(int n) {
    float h = 0, s = 0, v = 0;
    RgbToHsv(colourTable().table[static_cast<std::size_t>(n)], h, s, v);
    colourTable().cone[static_cast<std::size_t>(n)] = {v * s * std::cos(h), v * s * std::sin(h), v};
}

bool paletteCount(int count) {
    return count >= 32 && count <= 128;
}

void buildDevicePalette() {
    const int count = graphicsState().deviceColourCount;
    if (!paletteCount(count)) return;
    const int step = 256 / count;
    ColourTable256& t = colourTable();
    for (int j = 0; j < count; ++j) {
        const int n = (j * step < 16 || j * step > 239) ? j * step : (j + 1) * step - 1;
        t.devicePalette[static_cast<std::size_t>(j)] = t.table[static_cast<std::size_t>(n)];
    }
}

int tableRgb(int n) {
    return n >= 0 && n <= 255 ? colourTable().table[static_cast<std::size_t>(n)] : 0;
}

}  // namespace

void BuildDefaultColourTable() {
    ColourTable256& t = colourTable();
    fillBlock(0, 255, -4, 7);
    fillBlock(16, 195, 4, 1);
    fillBlock(32, 131, 4, 1);
    fillBlock(48, 195, 4, 3);
    fillBlock(64, 131, 4, 3);
    fillBlock(80, 195, 4, 2);
    fillBlock(96, 131, 4, 2);
    fillBlock(112, 195, 4, 6);
    fillBlock(128, 131, 4, 6);
    fillBlock(144, 195, 4, 4);
    fillBlock(160, 131, 4, 4);
    fillBlock(176, 195, 4, 5);
    fillBlock(192, 131, 4, 5);
    fillBlock(208, 60, -4, 7);
    fillBlock(224, 124, -4, 7);
    fillBlock(240, 191, -4, 7);
    constexpr std::array<int, 16> baseNumbers{0,   175, 111, 143, 47, 207, 79, 239,
                                              240, 159, 95,  127, 31, 191, 63, 223};
    constexpr std::array<int, 8> groupNumbers{0, 159, 95, 127, 31, 191, 63, 223};
    for (std::size_t i = 0; i < baseNumbers.size(); ++i)
        t.base[i] = t.table[static_cast<std::size_t>(baseNumbers[i])];
    for (std::size_t i = 0; i < groupNumbers.size(); ++i)
        t.group[i] = t.table[static_cast<std::size_t>(groupNumbers[i])];
    t.devicePalette.fill(0);
    buildDevicePalette();
    for (int n = 0; n < 256; ++n)
        updateCone(n);
}

int ColourGroupIndex(int group, int row) {
    static constexpr int rows[2][8] = {{0, 4, 6, 2, 3, 1, 5, 7}, {0, 5, 3, 4, 1, 6, 2, 7}};
    if (row < 0 || row > 1 || group < 0 || group > 15) return -1;
    return rows[row][group % 8] + (group >= 8 ? 8 : 0);
}

void SetColourTableEntry(int n, int rgb) {
    if (n < 0 || n > 255) return;
    ColourTable256& t = colourTable();
    t.table[static_cast<std::size_t>(n)] = rgb;
    const int b = ColourGroupIndex(colourGroup(n), 0);
    t.group[static_cast<std::size_t>(b)] = rgb;
    t.base[static_cast<std::size_t>(b + 8 * ((n / 16) % 2))] = rgb;
    const int count = graphicsState().deviceColourCount;
    if (paletteCount(count)) t.devicePalette[static_cast<std::size_t>(n * count / 256)] = rgb;
    updateCone(n);
}

int DeviceColourValue(int n) {
    if (n == -1) return -1;
    if (n == 0) return 0;
    const int g = colourGroup(n);
    switch (graphicsState().deviceColourCount) {
        case 1:
        case 2:
            return 1;
        case 4:
        case 8:
            return ColourGroupIndex(g, 0);
        case 16:
            return ColourGroupIndex(g, 0) + ((n + 16) % 32 < 16 ? 8 : 0);
        case 32:
        case 64:
        case 128:
            return n * graphicsState().deviceColourCount / 256;
        default:
            return n;
    }
}

void RgbToHsv(int rgb, float& hue, float& saturation, float& value) {
    int ri = 0, gi = 0, bi = 0;
    SplitRgbColour(rgb, &ri, &gi, &bi);
    const float r = static_cast<float>(ri) / 255.0f, g = static_cast<float>(gi) / 255.0f,
                b = static_cast<float>(bi) / 255.0f;
    const float hi = std::max({r, g, b}), lo = std::min({r, g, b});
    value = hi;
    if (hi == lo) {
        saturation = 0.0f;
        hue = 0.0f;
        return;
    }
    const float d = hi - lo;
    // A component within 0.039 of the extreme counts as that extreme.
    auto isMax = [&](float c) { return hi - c <= 0.039f; };
    auto isMin = [&](float c) { return c - lo <= 0.039f; };
    float h6 = 0;
    if (isMax(r))
        h6 = isMin(g) ? 5.0f + (hi - b) / d : 1.0f - (hi - g) / d;
    else if (isMax(g))
        h6 = isMin(b) ? 1.0f + (hi - r) / d : 3.0f - (hi - b) / d;
    else
        h6 = isMin(r) ? 3.0f + (hi - g) / d : 5.0f - (hi - r) / d;
    saturation = d / hi;
    hue = h6 * 60.0f * 0.017453292f;
}

namespace {

int hlsComponent(int h, float m1, float m2) {
    const int hp = (h + 360) % 360;
    float v = m1;
    if (hp < 60)
        v = m1 + (m2 - m1) * static_cast<float>(hp) / 60.0f;
    else if (hp < 180)
        v = m2;
    else if (hp < 240)
        v = m1 + (m2 - m1) * static_cast<float>(240 - hp) / 60.0f;
    return static_cast<int>(v * 255.0f);
}

}  // namespace

int HlsToRgb(int hue, int lightness, int saturation) {
    hue = std::clamp(hue, 0, 359);
    lightness = std::clamp(lightness, 0, 100);
    saturation = std::clamp(saturation, 0, 100);
    if (saturation == 0) {
        const int grey = lightness * 255 / 100;
        return packRgb(grey, grey, grey);
    }
    const float l = static_cast<float>(lightness) / 100.0f;
    const float s = static_cast<float>(saturation) / 100.0f;
    const float m2 = lightness < 50 ? l * (1.0f + s) : l + s - l * s;
    const float m1 = 2.0f * l - m2;
    return packRgb(hlsComponent(hue, m1, m2), hlsComponent(hue - 120, m1, m2),
                   hlsComponent(hue + 120, m1, m2));
}

void NearestColourNumber(int rgb, int& n) {
    const ColourTable256& t = colourTable();
    for (int i = 0; i < 256; ++i)
        if (t.table[static_cast<std::size_t>(i)] == rgb) {
            n = i;
            return;
        }
    float h = 0, s = 0, v = 0;
    RgbToHsv(rgb, h, s, v);
    const float c0 = v * s * std::cos(h), c1 = v * s * std::sin(h);
    float best = 1.0e7f;
    n = 0;
    for (int i = 0; i < 256; ++i) {
        const auto& c = t.cone[static_cast<std::size_t>(i)];
        const float d =
            (c[0] - c0) * (c[0] - c0) + (c[1] - c1) * (c[1] - c1) + (c[2] - v) * (c[2] - v);
        if (d < best) best = d, n = i;
    }
}

void SplitRgbColour(int rgb, int* red, int* green, int* blue) {
    if (red) *red = rgb % 256;
    if (green) *green = (rgb / 256) % 256;
    if (blue) *blue = (rgb / 65536) % 256;
}

void ColourNumberComponents(int colour, int& red, int& green, int& blue) {
    const int rgb = graphicsState().colourMode == 1 ? tableRgb(colour) : colour;
    SplitRgbColour(rgb, &red, &green, &blue);
}

void ColourNumberRgb(int n, int& rgb) {
    rgb = tableRgb(n);
}

void GroupColourRgb(int index, int& rgb) {
    if (index >= 0 && index < 8) rgb = colourTable().group[static_cast<std::size_t>(index)];
}

void BaseColourRgb(int index, int& rgb) {
    if (index >= 0 && index < 16) rgb = colourTable().base[static_cast<std::size_t>(index)];
}

void DevicePaletteRgb(int index, int& rgb) {
    if (index >= 0 && index < 128)
        rgb = colourTable().devicePalette[static_cast<std::size_t>(index)];
}

int ParseColourName(std::string_view name) {
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string_view::npos) return -1;
    std::string word(name.substr(first, 4));
    word.resize(4, ' ');
    for (char& c : word)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    int code = 0;
    std::string_view rest(word);
    if (rest[0] == 'B' && rest[1] != 'L') {
        code = 8;
        rest.remove_prefix(1);
    }
    if (rest.substr(0, 3) == "BLA") return code;
    if (rest.substr(0, 3) == "BLU") return code + 1;
    const std::size_t at = std::string_view("GCRMYW").find(rest[0]);
    return at == std::string_view::npos ? -1 : code + 2 + static_cast<int>(at);
}

void SetCurrentColour(int number, int rgb, int deviceColour, int side) {
    GraphicsState& g = graphicsState();
    g.previousColourNumber = g.colourNumber;
    g.previousRgb = g.rgb;
    g.previousDeviceColour = g.deviceColour;
    g.colourNumber = number;
    g.rgb = rgb;
    g.deviceColour = deviceColour;
    if (side != 2) SendScreenRequest(3);
    if (side != 1) SendHardcopyRequest(3);
}

void GrColourN(int colour) {
    GraphicsState& g = graphicsState();
    int number = -1, rgb = colour;
    if (g.colourMode == 1) {
        if (colour < 0 || colour > 255) {
            ReportLibraryError(42, "GrColourN");
            return;
        }
        number = colour;
        rgb = tableRgb(colour);
    } else {
        const bool screenPalette = g.screenOutput && screenDeviceInfo().trueColour == 0;
        const bool hardcopyPalette = g.hardcopyDriver > 0 && hardcopyDeviceInfo().trueColour == 0;
        if (screenPalette || hardcopyPalette) NearestColourNumber(rgb, number);
    }
    SetCurrentColour(number, rgb, DeviceColourValue(number), 0);
}

void GrColour(std::string_view name) {
    static constexpr int numbers[8] = {223, 159, 95, 127, 31, 191, 63, 0};
    static constexpr int rgbs[8] = {0, 16711680, 65280, 16776960, 255, 16711935, 65535, 16777215};
    const int code = ParseColourName(name);
    if (code < 0) {
        ReportLibraryError(42, "GrColour");
        return;
    }
    GrColourN(graphicsState().colourMode == 1 ? numbers[code % 8] : rgbs[code % 8]);
}

void SetColourMode(int depth) {
    GraphicsState& g = graphicsState();
    if (depth == 24) {
        g.colourMode = 2;
        return;
    }
    g.colourMode = 1;
    if (g.previousColourNumber == -1) NearestColourNumber(g.previousRgb, g.previousColourNumber);
    if (g.colourNumber == -1) NearestColourNumber(g.rgb, g.colourNumber);
}

void DefinePaletteColour(int n, int rgb, std::optional<int> batch) {
    DeviceParameterBlock& block = deviceBlock();
    block.count = n;
    block.value = DeviceColourValue(n);
    block.pixX[1] = rgb;
    block.pixX[4] = batch.value_or(0);
    SendScreenRequest(28);
    SendHardcopyRequest(28);
    SetColourTableEntry(n, rgb);
}

void PaletteEntryFromHLS(int n, int hue, int lightness, int saturation, std::optional<int> batch) {
    DefinePaletteColour(n, HlsToRgb(hue, lightness, saturation), batch);
}

}  // namespace tk
