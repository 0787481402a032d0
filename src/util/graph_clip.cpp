#include "util/graph_clip.h"

#include "util/graph_package_state.h"
#include "util/pen_plotter.h"

namespace util {

bool PCLIP(float xmin, float xmax, float ymin, float ymax) {
    GraphPackageState& s = graphPackageState();
    s.clipXMin = xmin;
    s.clipXMax = xmax;
    s.clipYMin = ymin;
    s.clipYMax = ymax;
    s.clipping = true;
    s.noWindow = false;
    return true;
}

void PCLIPOFF() {
    GraphPackageState& s = graphPackageState();
    s.clipping = false;
    s.noWindow = true;
}

void CLIP2(float& a1, float& b1, float& a2, float& b2, float edge, bool llow, bool& visible) {
    const bool in1 = llow ? a1 >= edge : a1 < edge;
    const bool in2 = llow ? a2 >= edge : a2 < edge;
    visible = in1 || in2;
    if (!visible || (in1 && in2)) return;
    // One end is outside, so the two ends differ in A.
    const float b = b1 + (b2 - b1) * (edge - a1) / (a2 - a1);
    if (in1) {
        a2 = edge;
        b2 = b;
    } else {
        a1 = edge;
        b1 = b;
    }
}

void CLIPLN(float& x1, float& y1, float& x2, float& y2, float xmin, float xmax, float ymin,
            float ymax, bool& visible) {
    float ax = x1, ay = y1, bx = x2, by = y2;
    CLIP2(ax, ay, bx, by, xmin, true, visible);
    if (visible) CLIP2(ax, ay, bx, by, xmax, false, visible);
    if (visible) CLIP2(ay, ax, by, bx, ymin, true, visible);
    if (visible) CLIP2(ay, ax, by, bx, ymax, false, visible);
    if (!visible) return;
    x1 = ax, y1 = ay, x2 = bx, y2 = by;
}

namespace {

bool insideWindow(const GraphPackageState& s, float px, float py) {
    return s.clipXMin <= px && px <= s.clipXMax && s.clipYMin <= py && py <= s.clipYMax;
}

void clippedPoint(GraphPackageState& s, float px, float py, std::int32_t ipen) {
    if (!s.clipping || (ipen != 2 && ipen != 3)) {
        if (ipen == 1) s.clipping = false;
        if (ipen == 2 || ipen == 3) {
            s.lastX = px;
            s.lastY = py;
            s.lastInside = true;
        }
        PLOTXY(px, py, ipen);
        return;
    }
    const bool inside = insideWindow(s, px, py);
    if (ipen == 2) {
        if (s.lastInside && inside) {
            PLOTXY(px, py, 2);
        } else {
            float x1 = s.lastX, y1 = s.lastY, x2 = px, y2 = py;
            bool visible = false;
            CLIPLN(x1, y1, x2, y2, s.clipXMin, s.clipXMax, s.clipYMin, s.clipYMax, visible);
            if (visible) {
                if (!s.lastInside) PLOTXY(x1, y1, 3);
                PLOTXY(x2, y2, 2);
            }
        }
    } else if (inside) {
        PLOTXY(px, py, 3);
    }
    s.lastX = px;
    s.lastY = py;
    s.lastInside = inside;
}

}  // namespace

void PLOTCP(float px, float py, std::int32_t ipen, const AxisRecord& axis) {
    PLOTCP(std::span<const float>(&px, 1), std::span<const float>(&py, 1), ipen, axis);
}

void PLOTCP(std::span<const float> px, std::span<const float> py, std::int32_t ipen,
            const AxisRecord&) {
    GraphPackageState& s = graphPackageState();
    const std::size_t n = std::min(px.size(), py.size());
    std::size_t i = 0;
    while (i < n) {
        // Drawn on from a point inside, the points inside need no clipping.
        std::size_t end = i;
        if (s.clipping && ipen == 2 && s.lastInside)
            while (end < n && insideWindow(s, px[end], py[end]))
                ++end;
        if (end > i) {
            drawThrough(px.subspan(i, end - i), py.subspan(i, end - i));
            s.lastX = px[end - 1];
            s.lastY = py[end - 1];
        } else {
            clippedPoint(s, px[i], py[i], ipen);
            end = i + 1;
        }
        ipen = 2;
        i = end;
    }
}

}  // namespace util
