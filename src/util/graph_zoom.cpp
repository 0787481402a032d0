#include "util/graph_zoom.h"

#include <algorithm>
#include <cmath>

#include "util/axis_scaling.h"
#include "util/graph_package_state.h"
#include "util/nice_axis.h"
#include "util/pen_plotter.h"

namespace util {

void GRFCUR(float x, float y, const AxisRecord& a) {
    GraphPackageState& s = graphPackageState();
    SAVEXOR();
    XORON();
    std::int32_t previous = 0;
    GETPEN(previous);
    SETPEN(s.cursorPen);
    const float hw = s.cursorHalfWidth > 0.0f ? s.cursorHalfWidth : 0.3f;
    const float hh = s.cursorHalfHeight > 0.0f ? s.cursorHalfHeight : 0.3f;
    const float px = PLOFX(x, a), py = PLOFY(y, a);
    PLOTXY(px, py - hh, 3);
    PLOTXY(px, py + hh, 2);
    PLOTXY(px - hw, py, 3);
    PLOTXY(px + hw, py, 2);
    RESTOREXOR();
    SETPEN(previous);
}

void SETCURSORPEN(std::int32_t ipen) {
    graphPackageState().cursorPen = ipen;
}

namespace {

bool withinAxis(double v, bool log, float start, float step, std::int32_t count,
                std::int32_t first) {
    double lo = 0.0, hi = 0.0;
    if (log) {
        lo = std::pow(10.0, first);
        hi = std::pow(10.0, static_cast<double>(first) + count);
    } else {
        lo = start;
        hi = static_cast<double>(start) + static_cast<double>(count) * step;
    }
    if (hi < lo) std::swap(lo, hi);
    return lo <= v && v <= hi;
}

// One axis of a zoom: the old division count and length, the new range.
struct AxisFields {
    float& divLength;
    float& start;
    float& step;
    std::int32_t& count;
    std::int32_t& firstOrMinor;
    bool log;
};

void zoomAxis(const AxisFields& f, float v1, float v2, bool keepReversed) {
    const std::int32_t oldCount = f.count;
    const float oldLength = f.divLength;
    const float oldStep = f.step;
    const float lo = std::min(v1, v2), hi = std::max(v1, v2);
    if (f.log) {
        std::int32_t l2 = 0;
        LOGNX(lo, hi, f.firstOrMinor, l2);
        f.count = std::max<std::int32_t>(l2 - f.firstOrMinor, 1);
    } else {
        LINNX(lo, hi, f.start, f.step, f.count, f.firstOrMinor);
        if (keepReversed && oldStep < 0.0f) {
            f.start = f.start + static_cast<float>(f.count) * f.step;
            f.step = -std::fabs(f.step);
        }
    }
    f.divLength = static_cast<float>(oldCount) * oldLength / static_cast<float>(f.count);
}

AxisFields xFields(AxisRecord& a) {
    return {a.divLengthX, a.startX, a.stepX, a.divCountX, a.firstDecadeX, a.logX};
}

AxisFields yFields(AxisRecord& a) {
    return {a.divLengthY, a.startY, a.stepY, a.divCountY, a.firstDecadeY, a.logY};
}

void zoomX(int mx1, int mx2, AxisRecord& a, bool keepReversed) {
    GraphPackageState& s = graphPackageState();
    s.zoomX1 = plotXOfWindow(mx1);
    s.zoomX2 = plotXOfWindow(mx2);
    zoomAxis(xFields(a), XOFPL(s.zoomX1, a), XOFPL(s.zoomX2, a), keepReversed);
    FINDASX(a);
}

void zoomY(int my1, int my2, AxisRecord& a, bool keepReversed) {
    GraphPackageState& s = graphPackageState();
    s.zoomY1 = plotYOfWindow(my1);
    s.zoomY2 = plotYOfWindow(my2);
    zoomAxis(yFields(a), YOFPL(s.zoomY1, a), YOFPL(s.zoomY2, a), keepReversed);
    FINDASY(a);
}

}  // namespace

bool LINGRAPH(float x, float y, const AxisRecord& a) {
    return withinAxis(x, a.logX, a.startX, a.stepX, a.divCountX, a.firstDecadeX) &&
           withinAxis(y, a.logY, a.startY, a.stepY, a.divCountY, a.firstDecadeY);
}

void LINEBACK(int mx1, int my1, int mx2, int my2, float& x1, float& y1, float& x2, float& y2,
              const AxisRecord& a) {
    x1 = XOFPL(plotXOfWindow(mx1), a);
    y1 = YOFPL(plotYOfWindow(my1), a);
    x2 = XOFPL(plotXOfWindow(mx2), a);
    y2 = YOFPL(plotYOfWindow(my2), a);
}

void ZOOMBOX(int mx1, int my1, int mx2, int my2, AxisRecord& a) {
    // Both corners are read against the old scaling before either axis changes.
    const AxisRecord old = a;
    GraphPackageState& s = graphPackageState();
    s.zoomX1 = plotXOfWindow(mx1);
    s.zoomY1 = plotYOfWindow(my1);
    s.zoomX2 = plotXOfWindow(mx2);
    s.zoomY2 = plotYOfWindow(my2);
    zoomAxis(xFields(a), XOFPL(s.zoomX1, old), XOFPL(s.zoomX2, old), true);
    zoomAxis(yFields(a), YOFPL(s.zoomY1, old), YOFPL(s.zoomY2, old), true);
    FINDASX(a);
    FINDASY(a);
}

void ZOOMBOXX(int mx1, int mx2, AxisRecord& a) {
    zoomX(mx1, mx2, a, false);
}

void ZOOMBOXZ(int my1, int my2, AxisRecord& a) {
    zoomY(my1, my2, a, false);
}

}  // namespace util
