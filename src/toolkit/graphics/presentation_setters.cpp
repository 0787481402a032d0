// The small setters of the plot record, and the colour ramp that contour
// lines and shaded surfaces share.

#include <algorithm>
#include <cmath>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/presentation_plot.h"

namespace tk {
namespace {

bool validSet(int set) {
    return set >= 1 && set <= kMaxDataSets;
}

PresentationPlotSettings& plot() {
    return presentationPlotSettings();
}

void setAxisAngle(int axis, float angle, float value) {
    plot().axisAngleRadians[static_cast<std::size_t>(axis)] = angle * 0.017453292f;
    plot().axisAngleDegrees[static_cast<std::size_t>(axis)] = value;
}

void setFraction(int i, float v) {
    plot().fractions[static_cast<std::size_t>(i)] = std::clamp(v, 0.0f, 1.0f);
}

void setRange(int i, float low, float high) {
    PgRange& r = plot().ranges[static_cast<std::size_t>(i)];
    if (high < low) {
        r.on = false;
        return;
    }
    r = {true, low, high};
}

void setNonNegative(int i, float v) {
    plot().nonNegative[static_cast<std::size_t>(i)] = std::max(v, 0.0f);
}

}  // namespace

void SetDataSetLabel(int set, std::string_view text) {
    if (validSet(set)) dataSetStyle(set).label = text.substr(0, 10);
}

void SetDataSetAttributes(int set, std::optional<int> style, std::optional<int> param1,
                          std::optional<int> param2, std::optional<int> colour1,
                          std::optional<int> colour2) {
    if (!validSet(set)) return;
    DataSetStyle& s = dataSetStyle(set);
    if (style) s.style = *style;
    if (param1) s.param1 = *param1;
    if (param2) s.param2 = *param2;
    if (colour1) s.colour1 = *colour1;
    if (colour2) s.colour2 = *colour2;
}

void SetDataSetMarker(int set, int marker) {
    if (validSet(set)) dataSetStyle(set).marker = marker;
}

void SetPgAxisAngle1(float angle, float value) {
    setAxisAngle(0, angle, value);
}
void SetPgAxisAngle2(float angle, float value) {
    setAxisAngle(1, angle, value);
}
void SetPgAxisAngle3(float angle, float value) {
    setAxisAngle(2, angle, value);
}

void SetPgColour(int colour) {
    PresentationPlotSettings& p = plot();
    if (graphicsState().colourMode == 1) {
        p.plotColourNumber = colour;
        ColourNumberRgb(colour, p.plotColourRgb);
    } else {
        p.plotColourRgb = colour;
        NearestColourNumber(colour, p.plotColourNumber);
    }
}

void SetShadeOption(int value) {
    plot().shadeOption = value;
}

void SetPlotTiltAngle(float angle) {
    plot().tiltFraction = std::clamp(angle, 0.0f, 45.0f) / 45.0f;
}

void SetPlotRotationAngle(float angle) {
    PresentationPlotSettings& p = plot();
    if (angle >= 360.0f || angle <= -360.0f)
        p.rotationAngle = 0.0f;
    else
        p.rotationAngle = angle < 0.0f ? angle + 360.0f : angle;
    const double a = static_cast<double>(p.rotationAngle) * 0.017453292519943295;
    const double quarter = 0.7853981633974483;
    p.rotationCosMinus45 = static_cast<float>(std::cos(a - quarter));
    p.rotationCosPlus45 = static_cast<float>(std::cos(a + quarter));
}

void SetPgFraction1(float v) {
    setFraction(0, v);
}
void SetPgFraction2(float v) {
    plot().fractions[1] = std::max(v, 0.0f);
}
void SetPgFraction3(float v) {
    setFraction(2, v);
}
void SetPgFraction4(float v) {
    setFraction(3, v);
}
void SetPgFraction5(float v) {
    setFraction(4, v);
}
void SetPgFraction6(float v) {
    setFraction(5, v);
}
void SetPgFraction7(float v) {
    setFraction(6, v);
}

void SetPgRange1(float low, float high) {
    setRange(0, low, high);
}
void SetPgRange2(float low, float high) {
    setRange(1, low, high);
}

void SetConFillCount(int n) {
    if (n > 0) plot().conFillCount = n;
}

void SetPgStepCounts(int a, int b) {
    plot().stepCountB = std::max(a, 1);
    plot().stepCountA = std::max(b, 1);
}

void SetPgLabelDecimals(int n) {
    plot().labelDecimals = n;
}

void SetPgNonNegative1(float v) {
    setNonNegative(0, v);
}
void SetPgNonNegative2(float v) {
    setNonNegative(1, v);
}
void SetPgNonNegative3(float v) {
    setNonNegative(2, v);
}

void YYGRADCOL(int low, int high, int& red, int& green, int& blue, int& redDifference,
               int& greenDifference, int& blueDifference) {
    const bool palette = graphicsState().colourMode == 1;
    const int limit = palette ? 255 : 0xFFFFFF;
    bool replaced = false;
    if (low < 0 || low > limit) {
        low = palette ? 63 : 0xFFFF;
        replaced = true;
    }
    if (high < 0 || high > limit) {
        high = palette ? 31 : 255;
        replaced = true;
    }
    if (replaced) ReportLibraryError(42, "YYGRADCOL");
    int r2 = 0, g2 = 0, b2 = 0;
    ColourNumberComponents(low, red, green, blue);
    ColourNumberComponents(high, r2, g2, b2);
    redDifference = r2 - red;
    greenDifference = g2 - green;
    blueDifference = b2 - blue;
}

ColourRamp ColourRamp::fromPlotSets() {
    ColourRamp r;
    YYGRADCOL(dataSetStyle(1).colour1, dataSetStyle(2).colour1, r.red, r.green, r.blue,
              r.redDifference, r.greenDifference, r.blueDifference);
    return r;
}

int ColourRamp::colourAt(float t) const {
    // A value beyond the ramp's ends stays at the end's component instead of
    // carrying into the next component of the packed colour.
    auto part = [t](int base, int difference) {
        const float v = static_cast<float>(base) + std::trunc(t * static_cast<float>(difference));
        return static_cast<int>(std::fmax(0.0f, std::fmin(v, 255.0f)));
    };
    return part(red, redDifference) + 256 * part(green, greenDifference) +
           65536 * part(blue, blueDifference);
}

int ColourRamp::colourOfValue(float value) const {
    const PresentationPlotSettings& p = plot();
    return colourAt((value - p.zFirst) / p.zSpan);
}

DirectRgbColours::DirectRgbColours() : savedMode_(graphicsState().colourMode), active_(true) {
    SetColourMode(24);
}

DirectRgbColours::~DirectRgbColours() {
    restore();
}

void DirectRgbColours::restore() {
    if (!active_) return;
    active_ = false;
    SetColourMode(savedMode_ == 2 ? 24 : 8);
}

}  // namespace tk
