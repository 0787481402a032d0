#include "toolkit/graphics/presentation_plot.h"

#include <algorithm>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/graphics_state.h"

namespace tk {

PresentationPlotSettings& presentationPlotSettings() {
    static PresentationPlotSettings s;
    return s;
}

namespace {

int countAt(std::span<const int> counts, std::size_t k) {
    return k < counts.size() ? counts[k] : 0;
}

bool bit(int word, int b) {
    return (word >> b) & 1;
}

}  // namespace

void SetUpPresentationPlot(int plotType, int setCount, std::span<const int> counts, int options) {
    PresentationPlotSettings& p = presentationPlotSettings();
    p.dataSetCount = std::clamp(setCount, 1, 500);
    p.valueCount = std::max(countAt(counts, 0), 1);
    p.plotType = (plotType >= 1 && plotType <= 11) ? plotType : 4;
    const int t = p.plotType;
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
    }
    p.valueCountReal = static_cast<float>(p.valueCount);
    p.columnStepsReal = static_cast<float>(p.valueCount - 1);
    p.optionBits = options;
    p.barWidthFraction = std::min(0.6f / p.valueCountReal, 0.25f);
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
}

float PgXToUnits(float x) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    const GraphicsState& g = graphicsState();
    const float t = (x - p.xFirst) / p.xSpan;
    const float f = t * (g.frameXEnd - g.frameXStart) + g.frameXStart;
    return f * (g.unitsX2 - g.unitsX1) + g.unitsX1;
}

float PgYToUnits(float y) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    const GraphicsState& g = graphicsState();
    const float t = (y - p.yFirst) / p.ySpan;
    const float f = t * (g.frameYEnd - g.frameYStart) + g.frameYStart;
    return f * (g.unitsY2 - g.unitsY1) + g.unitsY1;
}

namespace {

struct KeptWords {
    int fillOutline = 1;
    int textJustification = 1;
    float textSlant = 0;
};
KeptWords kept;

}  // namespace

void PgDrawBegin() {
    SaveRestoreGraphicsState(0);
    const GraphicsState& g = graphicsState();
    kept = {g.fillOutline, g.textJustification, g.textSlant};
}

void PgDrawEnd() {
    SaveRestoreGraphicsState(1);
    GraphicsState& g = graphicsState();
    g.fillOutline = kept.fillOutline;
    g.textJustification = kept.textJustification;
    g.textSlant = kept.textSlant;
}

void DrawCellColourMap(std::span<const std::int32_t> colours, int nxDim, int /*nyDim*/) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    if (p.plotType != 8 || p.threeD || p.fillMode != 2) return;
    const int nx = p.valueCount, ny = p.rowCount;
    if (nxDim < nx - 1 || nx < 2 || ny < 2) return;
    PgDrawBegin();
    SetFillPattern(4, 0, 0);
    const float xStep = std::abs(p.xSpan) / p.columnStepsReal;
    const float yStep = std::abs(p.ySpan) / p.rowStepsReal;
    auto colourAt = [&](int i, int j) -> std::int32_t {
        const std::size_t k = static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(nxDim) +
                              static_cast<std::size_t>(i - 1);
        return k < colours.size() ? colours[k] : -1;
    };
    auto drawRun = [](std::int32_t colour, float left, float bottom, float right, float top) {
        if (colour == -1) return;
        GrColourN(colour);
        GrRectangle(left, bottom, right, top);
    };
    for (int j = ny - 1; j >= 1; --j) {
        const float bottom = PgYToUnits(p.yMin + static_cast<float>(j - 1) * yStep);
        const float top = PgYToUnits(p.yMin + static_cast<float>(j) * yStep);
        std::int32_t pending = -1;
        float left = 0.0f, right = 0.0f;
        for (int i = 1; i <= nx - 1; ++i) {
            const std::int32_t c = colourAt(i, j);
            const float cellLeft = PgXToUnits(p.xMin + static_cast<float>(i - 1) * xStep);
            if (i == 1) {
                pending = c;
                left = cellLeft;
            } else if (c != pending) {
                drawRun(pending, left, bottom, right, top);
                pending = c;
                left = cellLeft;
            }
            right = PgXToUnits(p.xMin + static_cast<float>(i) * xStep);
        }
        drawRun(pending, left, bottom, right, top);
    }
    PgDrawEnd();
}

void ContourFillKey(std::span<const std::int32_t> colours, int nx, int nz) {
    DrawCellColourMap(colours, nx, nz);
}

}  // namespace tk
