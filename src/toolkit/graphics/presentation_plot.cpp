#include "toolkit/graphics/presentation_plot.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/graphics_state.h"

namespace tk {

PresentationPlotSettings& presentationPlotSettings() {
    static PresentationPlotSettings s;
    return s;
}

DataSetStyle& dataSetStyle(int k) {
    return presentationPlotSettings().sets[static_cast<std::size_t>(k - 1)];
}

namespace {

int countAt(std::span<const int> counts, std::size_t k) {
    return k < counts.size() ? counts[k] : 0;
}

bool bit(int word, int b) {
    return (word >> b) & 1;
}

DataSetStyle resetStyle(int k) {
    DataSetStyle s;
    s.colour1 = 32 * (k % 6) + 32;
    s.colour2 = 32 * (k % 6) + 64;
    return s;
}

// The work tables grow to the set count and are kept between plots.
void growTable(std::vector<int>& table, std::size_t size) {
    if (table.size() < size) table.assign(size, 0);
}

}  // namespace

void ResetPresentationPlot() {
    PresentationPlotSettings& p = presentationPlotSettings();
    p.reset();
    PgArea(0.0f, 0.0f, 1.0f, 1.0f);
    const int one = 1;
    SetUpPresentationPlot(4, kMaxDataSets, std::span<const int>(&one, 1));
    for (int k = 1; k <= kMaxDataSets; ++k)
        dataSetStyle(k) = resetStyle(k);
}

void SetUpPresentationPlot(int plotType, int setCount, std::span<const int> counts,
                           std::optional<int> optionWord, std::optional<int> applyDefaults) {
    PresentationPlotSettings& p = presentationPlotSettings();
    int options = optionWord.value_or(0);
    p.dataSetCount = std::clamp(setCount, 1, kMaxDataSets);
    p.valueCount = std::max(countAt(counts, 0), 1);
    p.plotType = (plotType >= 1 && plotType <= 11) ? plotType : 4;
    const int t = p.plotType;
    const auto sets = static_cast<std::size_t>(p.dataSetCount);
    if (t == 3) growTable(p.typeThreeTable, 4 * sets);
    if (t == 4 || t == 6) {
        growTable(p.typeFourSixA, sets);
        growTable(p.typeFourSixB, sets);
    }
    p.threeD =
        bit(options, 0) && (t == 1 || t == 2 || t == 5 || t == 6 || t == 7 || t == 8 || t == 10);
    p.fillMode = bit(options, 2) ? 1 : bit(options, 8) ? 2 : bit(options, 4) ? 3 : 0;
    p.gradientFill = bit(options, 11);
    if (t == 1 && bit(options, 5)) {
        p.threeD = false;
        options &= ~(1 << 10);
    }
    p.xLogSuppressed = bit(options, 6) && !p.threeD;
    if (t == 8 || t == 10 || ((t == 5 || t == 6 || t == 7) && bit(options, 0))) {
        p.valueCount = std::max(countAt(counts, 0), 2);
        p.rowCount = (t == 6 || t == 7) ? p.valueCount : std::max(countAt(counts, 1), 2);
        if (t == 10) p.layerCount = std::max(countAt(counts, 2), 2);
        p.rowCountReal = static_cast<float>(p.rowCount);
        p.rowStepsReal = static_cast<float>(p.rowCount - 1);
        if (p.threeD) {
            const float nx = static_cast<float>(p.valueCount), ny = p.rowCountReal;
            p.viewAspect = !bit(options, 9)             ? 0.5f
                           : p.valueCount <= p.rowCount ? nx * 0.5f / ny
                                                        : 1.0f - 0.5f * ny / nx;
        }
    }
    p.valueCountReal = static_cast<float>(p.valueCount);
    p.columnStepsReal = static_cast<float>(p.valueCount - 1);
    p.optionBits = options;
    p.barWidthFraction = std::min(0.6f / p.valueCountReal, 0.25f);
    UpdatePgAxisScaling();
    if (applyDefaults.value_or(0) != 0) ApplyPresentationDefaults();
}

void PgArea(float x1, float y1, float x2, float y2) {
    PresentationPlotSettings& p = presentationPlotSettings();
    if (x1 == x2) {
        ReportLibraryError(16, "PgArea");
        x1 = 0.0f;
        x2 = 1.0f;
    }
    if (y1 == y2) {
        ReportLibraryError(16, "PgArea");
        y1 = 0.0f;
        y2 = 1.0f;
    }
    p.xFirst = x1;
    p.xLast = x2;
    p.xSpan = x2 - x1;
    p.xMin = std::min(x1, x2);
    p.xMax = std::max(x1, x2);
    p.yFirst = y1;
    p.yLast = y2;
    p.ySpan = y2 - y1;
    p.yMin = std::min(y1, y2);
    p.yMax = std::max(y1, y2);
    UpdatePgAxisScaling();
}

void PgUnitsZ(float z1, float z2) {
    PresentationPlotSettings& p = presentationPlotSettings();
    if (!(z1 < z2)) {
        ReportLibraryError(16, "PgUnitsZ");
        z1 = 0.0f;
        z2 = 1.0f;
    }
    p.zFirst = z1;
    p.zLast = z2;
    p.zSpan = z2 - z1;
}

void PgUnitsPolar(float r) {
    PresentationPlotSettings& p = presentationPlotSettings();
    if (!(r > 0.0f)) {
        ReportLibraryError(16, "PgUnitsPolar");
        r = 1.0f;
    }
    p.polarUnit = r;
    UpdatePgAxisScaling();
}

void SetPgAxisScaleTypes(std::string_view xType, std::string_view yType) {
    auto isLog = [](std::string_view text) {
        if (text.size() < 3) return false;
        for (std::size_t i = 0; i < 3; ++i)
            if (std::toupper(static_cast<unsigned char>(text[i])) != "LOG"[i]) return false;
        return true;
    };
    PresentationPlotSettings& p = presentationPlotSettings();
    p.xLogRequested = isLog(xType);
    p.yLogRequested = isLog(yType);
    UpdatePgAxisScaling();
}

void UpdatePgAxisScaling() {
    PresentationPlotSettings& p = presentationPlotSettings();
    p.xLog = p.xLogRequested && p.plotType != 1 && !p.threeD && !p.xLogSuppressed;
    p.yLog = p.yLogRequested && p.plotType != 2 && !p.threeD;
    if (p.xLog) {
        p.xLogFirst = SafeLog10(p.xFirst);
        p.xLogSpan = SafeLog10(p.xLast) - p.xLogFirst;
    }
    if (p.yLog) {
        p.yLogFirst = SafeLog10(p.yFirst);
        p.yLogSpan = SafeLog10(p.yLast) - p.yLogFirst;
        p.polarLog = SafeLog10(p.polarUnit);
        p.polarLogShifted = p.polarLog + 38.0f;
    }
}

void SetPgOptionLetters(std::string_view letters) {
    presentationPlotSettings().frameClip = OptionLetterPresent(letters, 'P');
}

float SafeLog10(float value) {
    return value == 0.0f ? -38.0f : std::log10(std::fabs(value));
}

float PgXToUnits(float x) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    const GraphicsState& g = graphicsState();
    const float t = p.xLog ? (SafeLog10(x) - p.xLogFirst) / p.xLogSpan : (x - p.xFirst) / p.xSpan;
    const float f = t * (g.frameXEnd - g.frameXStart) + g.frameXStart;
    return f * (g.unitsX2 - g.unitsX1) + g.unitsX1;
}

float PgYToUnits(float y) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    const GraphicsState& g = graphicsState();
    const float t = p.yLog ? (SafeLog10(y) - p.yLogFirst) / p.yLogSpan : (y - p.yFirst) / p.ySpan;
    const float f = t * (g.frameYEnd - g.frameYStart) + g.frameYStart;
    return f * (g.unitsY2 - g.unitsY1) + g.unitsY1;
}

bool PgValueIsPresent(float value) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    return !p.missingTest || value != p.missingValue;
}

void SetPgMissingValue(float marker, int on) {
    PresentationPlotSettings& p = presentationPlotSettings();
    p.missingValue = marker;
    p.missingTest = on != 0;
}

namespace {

struct KeptWords {
    int fillOutline = 1;
    int textJustification = 1;
    float textSlant = 0;
};

// What the frame clipping replaces for the time of one plot.
struct FrameClipSave {
    float areaX1 = 0, areaY1 = 0, areaX2 = 1, areaY2 = 1;
    float unitsX1 = 0, unitsY1 = 0, unitsX2 = 1, unitsY2 = 1;
    float frameX1 = 0.1f, frameY1 = 0.1f, frameX2 = 0.9f, frameY2 = 0.9f;
};

KeptWords kept;
FrameClipSave clipSave;

// The frame becomes the graphics area: its corners in user units go through
// the page rotation to the device, and their box as fractions of the target
// is the new area. The user units stay, and a frame of 0..1 keeps every data
// value where it was.
void clipToFrame() {
    GraphicsState& g = graphicsState();
    clipSave = {g.areaX1,  g.areaY1,  g.areaX2,      g.areaY2,      g.unitsX1,   g.unitsY1,
                g.unitsX2, g.unitsY2, g.frameXStart, g.frameYStart, g.frameXEnd, g.frameYEnd};
    const float ux1 = g.frameXStart * g.unitsSpanX + g.unitsX1;
    const float ux2 = g.frameXEnd * g.unitsSpanX + g.unitsX1;
    const float uy1 = g.frameYStart * g.unitsSpanY + g.unitsY1;
    const float uy2 = g.frameYEnd * g.unitsSpanY + g.unitsY1;
    float ax = 0, ay = 0, bx = 0, by = 0;
    WorldToDevice(ux1, uy1, ax, ay);
    WorldToDevice(ux2, uy2, bx, by);
    const float w = static_cast<float>(g.targetWidth), h = static_cast<float>(g.targetHeight);
    if (w > 0.0f && h > 0.0f) {
        auto fraction = [](float v, float size) { return std::clamp(v / size, 0.0f, 1.0f); };
        GrArea(fraction(std::min(ax, bx), w), fraction(std::min(ay, by), h),
               fraction(std::max(ax, bx), w), fraction(std::max(ay, by), h));
    }
    SetPlotFrameFractions(0.0f, 0.0f, 1.0f, 1.0f);
}

}  // namespace

void PgDrawBegin() {
    if (presentationPlotSettings().frameClip) clipToFrame();
    SaveRestoreGraphicsState(0);
    const GraphicsState& g = graphicsState();
    kept = {g.fillOutline, g.textJustification, g.textSlant};
}

void PgDrawEnd() {
    if (presentationPlotSettings().frameClip) {
        const FrameClipSave& s = clipSave;
        GrArea(s.areaX1, s.areaY1, s.areaX2, s.areaY2);
        GrUnits(s.unitsX1, s.unitsY1, s.unitsX2, s.unitsY2);
        SetPlotFrameFractions(s.frameX1, s.frameY1, s.frameX2, s.frameY2);
    }
    SaveRestoreGraphicsState(1);
    GraphicsState& g = graphicsState();
    g.fillOutline = kept.fillOutline;
    g.textJustification = kept.textJustification;
    g.textSlant = kept.textSlant;
}

}  // namespace tk
