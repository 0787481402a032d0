// The styles and view a plot type starts with when its set-up asks for
// defaults: a style kind chosen from the type and the options, the per-set
// styles of that kind, their colours, and the view of 2-D or 3-D plots.

#include <algorithm>

#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/presentation_plot.h"

namespace tk {
namespace {

bool bit(int word, int b) {
    return (word >> b) & 1;
}

bool paletteMode() {
    return graphicsState().colourMode == 1;
}

int chooseStyleKind(const PresentationPlotSettings& p) {
    switch (p.plotType) {
        case 4:
            return 2;
        case 5:
            return p.threeD ? (p.fillMode == 3 ? 3 : 1) : 2;
        case 6:
            return 4;
        case 7:
            return p.threeD ? 6 : 5;
        case 8:
            if (p.threeD || p.fillMode == 3) return p.fillMode == 3 ? 3 : 1;
            return bit(p.optionBits, 3) ? 1 : 8;
        case 9:
            return 7;
        case 11:
            return 9;
        default:  // 1, 2, 3 and 10
            return 1;
    }
}

// Step counts of line plots with many values: 2, 5 or 10 times a power of
// ten, so that about ten labelled steps remain.
int lineStepCount(int nx) {
    if (nx <= 12) return 1;
    int power = 10, h = 1;
    while (nx / power > 10) {
        power *= 10;
        ++h;
    }
    const int q = nx / power;
    const int factor = q <= 2 ? 2 : q <= 6 ? 5 : 10;
    return factor * (power / 10);
}

int rampFillCount(const PresentationPlotSettings& p) {
    return std::max(1, 150 / std::max(p.valueCount, p.rowCount));
}

void applyKind(PresentationPlotSettings& p, int kind, int k) {
    DataSetStyle& s = dataSetStyle(k);
    const bool palette = paletteMode();
    switch (kind) {
        case 1:
            s.style = 4;
            p.plotColourNumber = 223;
            p.plotColourRgb = 0;
            break;
        case 2:
            s.marker = k;
            s.style = -((k - 1) % 7);
            s.param1 = 1;
            s.param2 = 0;
            break;
        case 3:
            if (k <= 2) s.style = 4;
            if (k == 1) s.colour1 = palette ? 31 : 255;
            if (k == 2) s.colour1 = palette ? 63 : 0xFFFF;
            break;
        case 4:
            s.style = -((k - 1) % 7);
            s.param1 = 0;
            s.param2 = 0;
            break;
        case 5: {
            const int i = (k - 1) % 92;
            s.param1 = i > 39 ? 2 : 3;
            s.marker = i > 39 ? i - 39 : i + 1;
            break;
        }
        case 6:
            s.style = 3;
            s.param1 = 3;
            s.param2 = 1;
            s.marker = k % 14 + 13;
            break;
        case 7:
            s.style = 0;
            s.param1 = 2;
            s.colour1 = palette ? 223 : 0;
            break;
        case 8:
            s.style = 0;
            s.param1 = 5;
            break;
        case 9:
            s.style = 4;
            s.param1 = 0;
            break;
        default:
            break;
    }
}

// Colours that follow one another around the palette (or the RGB cube) so
// that neighbouring sets differ.
void applyColours(int last) {
    const bool palette = paletteMode();
    int h = 0;
    for (int k = 1; k <= last; ++k) {
        DataSetStyle& s = dataSetStyle(k);
        if (palette) {
            if (k > 1) h = (h + k % 4 + 36) % 176;
            s.colour1 = h + 32;
            s.colour2 = h + 64;
        } else {
            const int g = (k % 9) * 4096 + 0x7F00;
            const int b = ((k % 5) * 32 + 127) * 65536;
            const int t = (256 - k) / 32 - (k % 4) * 32 + 223;
            s.colour1 = g + b + t;
            s.colour2 = g + b - t + 255;
        }
    }
}

void setAxisAngle(PresentationPlotSettings& p, int axis, float degrees) {
    p.axisAngleDegrees[static_cast<std::size_t>(axis)] = degrees;
    p.axisAngleRadians[static_cast<std::size_t>(axis)] = degrees * 0.017453292f;
}

void applyView(PresentationPlotSettings& p) {
    const int t = p.plotType;
    if (!p.threeD || t < 5) {
        setAxisAngle(p, 0, 0.0f);
        setAxisAngle(p, 1, 0.0f);
        p.fractions[2] = 0.7f;
        p.fractions[3] = 0.8f;
    } else {
        setAxisAngle(p, 0, -45.0f);
        setAxisAngle(p, 1, 45.0f);
        setAxisAngle(p, 2, 0.0f);
        p.rotationAngle = 0.0f;
        p.rotationCosMinus45 = p.rotationCosPlus45 = 0.7071068f;
        p.shadeOption = 3;
        p.outlineColour = -3;
        p.tiltFraction = 0.5f;
        p.fractions[2] = p.fractions[3] = 0.6f;
        p.viewInteger = (t == 5 || t == 8 || t == 10) ? 4 : 0;
        p.viewColours.fill(paletteMode() ? 255 : 8618883);
    }
    p.fractions[5] = t == 9 ? 0.75f : bit(p.optionBits, 6) ? 0.65f : 0.5f;
}

}  // namespace

void ApplyPresentationDefaults() {
    PresentationPlotSettings& p = presentationPlotSettings();
    const int t = p.plotType;
    const int kind = chooseStyleKind(p);
    p.styleKind = kind;
    const bool surface = (t == 5 || t == 8) && p.threeD;
    const int last =
        surface && !bit(p.optionBits, 5) ? std::min(2, p.dataSetCount) : p.dataSetCount;
    if (surface) {
        p.shadeOption = 3;
        p.outlineColour = -3;
        p.fractions[6] = kind == 3 ? 0.6f : 0.7f;
    }
    if (t == 10) p.outlineColour = -3;
    if (kind == 3 || (t == 8 && !p.threeD && kind == 1 && p.fillMode == 0))
        p.conFillCount = rampFillCount(p);
    if (kind == 2) p.stepCountA = p.stepCountB = lineStepCount(p.valueCount);
    for (int k = 1; k <= last; ++k)
        applyKind(p, kind, k);
    if (kind != 3 && kind != 7) applyColours(last);
    applyView(p);
}

}  // namespace tk
