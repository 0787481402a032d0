#include "util/pen_plotter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "toolkit/core/window_placement.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/text_state.h"
#include "toolkit/graphics/triangle_trapezium.h"

namespace util {

PlotterState& plotterState() {
    static PlotterState state;
    return state;
}

void resetPlotterState() {
    plotterState() = PlotterState{};
}

PlotterServices& plotterServices() {
    static PlotterServices services;
    return services;
}

namespace {

struct PenColour {
    int pen, hue, lightness, saturation;
};

// Pen 14 keeps the toolkit's own colour.
constexpr std::array<PenColour, 15> kPenPalette{{
    {0, 0, 0, 100},
    {1, 300, 50, 100},
    {2, 60, 25, 100},
    {3, 60, 50, 100},
    {4, 0, 50, 100},
    {5, 300, 25, 100},
    {6, 0, 25, 100},
    {7, 240, 25, 100},
    {8, 240, 50, 100},
    {9, 180, 50, 100},
    {10, 180, 25, 100},
    {11, 120, 50, 100},
    {12, 120, 25, 100},
    {13, 0, 33, 0},
    {15, 0, 100, 0},
}};

constexpr int kWhitePen = 15;

void definePenPalette() {
    for (const PenColour& p : kPenPalette)
        tk::PaletteEntryFromHLS(p.pen, p.hue, p.lightness, p.saturation);
}

void initialisePage(float x, float y) {
    PlotterState& s = plotterState();
    s.eraseMode = false;
    s.xorMode = false;
    if (y > 0.0f) {
        tk::ResetGraphicsState("HP");
        if (plotterServices().hardcopySwitch) plotterServices().hardcopySwitch(" ", " ");
    }
    if (x > 0.0f) {
        if (s.palettePending) {
            definePenPalette();
            s.palettePending = false;
        }
        tk::WindowFillRectangle({}, {}, {}, {}, 0xFFFFFF);
    }
    tk::GrUnits(0.0f, 0.0f, 10.0f, 8.0f);
    tk::GrTextFont(102, 1, 0.012f, 0.032f, {}, 2);
    s.factorX = s.factorY = 1.0f;
    s.originX = s.originY = 0.0f;
}

std::int32_t drawingPen() {
    const PlotterState& s = plotterState();
    return s.eraseMode ? kWhitePen : s.currentPen;
}

// The points of the run being gathered, from the toolkit's current point on.
struct PendingRun {
    int depth = 0;
    std::vector<float> x, y;
};

PendingRun& pendingRun() {
    static PendingRun run;
    return run;
}

void flushRun() {
    PendingRun& r = pendingRun();
    if (r.x.size() >= 2) {
        tk::GrColourN(drawingPen());
        tk::DrawConnectedLinesUnits(r.x.data(), r.y.data(), static_cast<int>(r.x.size()));
    }
    r.x.clear();
    r.y.clear();
}

}  // namespace

// A run being gathered takes the points in one go; otherwise each goes to
// the toolkit.
void drawThrough(std::span<const float> x, std::span<const float> y) {
    const std::size_t n = std::min(x.size(), y.size());
    if (n == 0) return;
    PlotterState& s = plotterState();
    PendingRun& r = pendingRun();
    if (r.depth > 0 && !s.xorMode) {
        if (r.x.empty()) {
            r.x.push_back(tk::graphicsState().currentX);
            r.y.push_back(tk::graphicsState().currentY);
        }
        const std::size_t at = r.x.size();
        r.x.resize(at + n);
        r.y.resize(at + n);
        float* rx = r.x.data() + at;
        float* ry = r.y.data() + at;
        for (std::size_t i = 0; i < n; ++i)
            pageOf(x[i], y[i], rx[i], ry[i]);
        s.lastX = rx[n - 1];
        s.lastY = ry[n - 1];
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            float px = 0.0f, py = 0.0f;
            pageOf(x[i], y[i], px, py);
            tk::GrColourN(drawingPen());
            // In exclusive-or mode the pen first goes back to where the
            // plotter left it, in case something else moved the toolkit's
            // position.
            if (s.xorMode) tk::LineToUnits(s.lastX, s.lastY);
            tk::LineToUnits(px, py);
            s.lastX = px;
            s.lastY = py;
        }
    }
}

namespace {

void solidFill() {
    tk::SetFillPattern(4, 1, 1);
}

void plotMode(bool exclusiveOr) {
    tk::SetPlotModeLetter(exclusiveOr ? 'E' : 'N');
}

}  // namespace

void pageOf(float x, float y, float& px, float& py) {
    const PlotterState& s = plotterState();
    px = (x + s.originX) * s.factorX;
    py = (y + s.originY) * s.factorY;
}

float plotXOfWindow(int mx) {
    return static_cast<float>(mx) * 10.0f / 10000.0f;
}

float plotYOfWindow(int my) {
    return static_cast<float>(10000 - my) * 8.0f / 10000.0f;
}

void PLOTXY(float x, float y, std::int32_t ipen, float& origX, float& origY) {
    PlotterState& s = plotterState();
    if (ipen != 2) flushRun();
    if (ipen == 1 || ipen == 16) {
        initialisePage(x, y);
        return;
    }
    if (ipen < 0) {
        s.originX = x;
        s.originY = y;
        origX = x;
        origY = y;
        x = 0.0f;
        y = 0.0f;
    }
    const std::int32_t p = ipen < 0 ? -ipen : ipen;
    if (p == 2) {
        drawThrough(std::span<const float>(&x, 1), std::span<const float>(&y, 1));
    } else if (p == 3) {
        float px = 0.0f, py = 0.0f;
        pageOf(x, y, px, py);
        tk::MoveToUnits(px, py);
        s.lastX = px;
        s.lastY = py;
    }
}

void PLOTXY(float x, float y, std::int32_t ipen, AxisRecord& orig) {
    PLOTXY(x, y, ipen, orig.originX, orig.originY);
}

void PLOTXY(float x, float y, std::int32_t ipen) {
    float ox = 0.0f, oy = 0.0f;
    PLOTXY(x, y, ipen, ox, oy);
}

PenRun::PenRun() {
    ++pendingRun().depth;
}

PenRun::~PenRun() {
    if (--pendingRun().depth == 0) flushRun();
}

void PLOTFACTOR(float fx, float fy) {
    plotterState().factorX = fx;
    plotterState().factorY = fy;
}

void GETPEN(std::int32_t& ipen) {
    ipen = plotterState().currentPen;
}

void SETPEN(std::int32_t ipen) {
    flushRun();
    if (ipen < 0 || ipen > 15) return;
    plotterState().currentPen = ipen;
    tk::GrColourN(ipen);
}

std::int32_t PaperPen(std::int32_t pen) {
    int rgb = 0;
    tk::ColourNumberRgb(pen, rgb);
    const int r = rgb & 0xFF, g = rgb >> 8 & 0xFF, b = rgb >> 16 & 0xFF;
    // Lighter than this the line fades into white paper.
    constexpr int kPaleOnPaper = 160;
    if (299 * r + 587 * g + 114 * b <= 1000 * kPaleOnPaper) return pen;
    const auto light = std::find_if(kPenPalette.begin(), kPenPalette.end(),
                                    [pen](const PenColour& p) { return p.pen == pen; });
    if (light == kPenPalette.end()) return pen;
    const auto dark = std::find_if(kPenPalette.begin(), kPenPalette.end(), [&](const PenColour& p) {
        return p.hue == light->hue && p.saturation == light->saturation &&
               p.lightness < light->lightness;
    });
    return dark == kPenPalette.end() ? pen : dark->pen;
}

void PLOTDUMMY1() {}
void PLOTDUMMY2() {}

void PLOTFILLRECT(float x1, float y1, float x2, float y2, float w, std::int32_t icol) {
    flushRun();
    tk::GrColourN(icol);
    float ax = 0.0f, ay = 0.0f, bx = 0.0f, by = 0.0f;
    pageOf(x1, y1, ax, ay);
    pageOf(x2, y2, bx, by);
    if (bx < ax) std::swap(ax, bx);
    if (by < ay) std::swap(ay, by);
    const float width = std::fabs(plotterState().factorX * w);
    solidFill();
    tk::GrTrapezium(ax, ay, bx, by, width, 2);
}

void PLOTFILLPOLY(std::span<float> x, std::span<float> y, int n, std::int32_t icol) {
    flushRun();
    const int count = std::max(0, std::min<int>(n, static_cast<int>(std::min(x.size(), y.size()))));
    tk::GrColourN(icol);
    for (int i = 0; i < count; ++i)
        pageOf(x[i], y[i], x[i], y[i]);
    tk::FillPolygonTriangulated(x.data(), y.data(), count);
}

void PLOTFILLTRIANGLE(float x1, float y1, float x2, float y2, float x3, float y3,
                      std::int32_t icol) {
    flushRun();
    tk::GrColourN(icol);
    pageOf(x1, y1, x1, y1);
    pageOf(x2, y2, x2, y2);
    pageOf(x3, y3, x3, y3);
    tk::GrTriangle(x1, y1, x2, y2, x3, y3);
}

void PLOTERASERECT(float x1, float y1, float x2, float y2, float w) {
    flushRun();
    const PlotterState& s = plotterState();
    tk::GrColourN(kWhitePen);
    tk::GrTrapezium(x1 + s.originX, y1 + s.originY, x2 + s.originX, y2 + s.originY, w, 2);
}

void ERASEON() {
    flushRun();
    plotterState().eraseMode = true;
    tk::GrColour("WHITE");
    tk::GrColourN(kWhitePen);
    plotMode(false);
}

void ERASEOFF() {
    flushRun();
    PlotterState& s = plotterState();
    s.eraseMode = false;
    tk::GrColourN(s.currentPen);
    plotMode(s.xorMode);
}

void XORON() {
    flushRun();
    PlotterState& s = plotterState();
    s.xorMode = true;
    tk::GrColourN(s.currentPen);
    plotMode(true);
}

void XOROFF() {
    flushRun();
    PlotterState& s = plotterState();
    s.xorMode = false;
    if (s.eraseMode) {
        tk::GrColour("WHITE");
        tk::GrColourN(kWhitePen);
    } else {
        tk::GrColourN(s.currentPen);
    }
    plotMode(false);
}

void SAVEXOR() {
    plotterState().savedXorMode = plotterState().xorMode;
}

void RESTOREXOR() {
    flushRun();
    PlotterState& s = plotterState();
    s.xorMode = s.savedXorMode;
    plotMode(s.xorMode);
}

bool L_XOR() {
    return plotterState().xorMode;
}

bool L_ERASE() {
    return plotterState().eraseMode;
}

void SET_BOX(float v) {
    plotterState().boxValue = v;
}

float GET_BOX() {
    return plotterState().boxValue;
}

void WHERE(float& x, float& y, float& f) {
    const PlotterState& s = plotterState();
    x = s.lastX - s.originX;
    y = s.lastY - s.originY;
    f = 1.0f;
}

float PENWTH() {
    return std::min(plotterState().penWidth1, plotterState().penWidth2);
}

bool LRASTR() {
    return false;
}

bool LINTERACTER() {
    return false;
}

void SET_SCL(float sx, float sy) {
    PlotterState& s = plotterState();
    if (sx > 0.0f && sy > 0.0f) {
        s.pixelScaleX = sx;
        s.pixelScaleY = sy;
        s.pixelScaleOn = true;
    } else {
        s.pixelScaleOn = false;
    }
}

void IPIXXY(float x, float y, int& px, int& py) {
    const PlotterState& s = plotterState();
    if (s.pixelScaleOn) {
        x *= s.pixelScaleX;
        y *= s.pixelScaleY;
    }
    float wx = 0.0f, wy = 0.0f;
    pageOf(x, y, wx, wy);
    tk::WorldToPixels(wx, wy, px, py);
}

void XYIPIX(float& x, float& y, int px, int py) {
    PlotterState& s = plotterState();
    float wx = 0.0f, wy = 0.0f;
    tk::PixelsToWorld(px, py, wx, wy);
    x = wx / s.factorX - s.originX;
    y = wy / s.factorY - s.originY;
    if (!s.pixelScaleOn) return;
    if (s.pixelScaleX <= 0.0f || s.pixelScaleY <= 0.0f) {
        s.pixelScaleOn = false;
        return;
    }
    x /= s.pixelScaleX;
    y /= s.pixelScaleY;
}

void IPIXXY2(float x, float y, int& px, int& py) {
    const PlotterState& s = plotterState();
    tk::WorldToPixels(s.factorX * x + s.originX, s.factorY * y + s.originY, px, py);
}

void FILSCR(int px1, int py1, int px2, int py2, std::int32_t icol, bool lxor) {
    flushRun();
    plotMode(lxor);
    float x1 = 0.0f, y1 = 0.0f, x2 = 0.0f, y2 = 0.0f;
    XYIPIX(x1, y1, px1, py2);
    XYIPIX(x2, y2, px2, py1);
    const float w = std::fabs(x2 - x1);
    solidFill();
    PLOTFILLRECT(x1, y1, x2, y2, w, icol);
    plotMode(false);
}

}  // namespace util
