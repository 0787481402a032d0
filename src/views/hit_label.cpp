#include "views/hit_label.h"

#include <algorithm>
#include <cmath>

#include "util/axis_scaling.h"
#include "views/rubber_band.h"

namespace views {
namespace {

constexpr float kLabelGuard = 1.0E-10f;
constexpr float kArrowThreshold = 0.0001f;

struct Cursor {
    float x, y;
};

float distanceTo(Cursor c, float px, float py) {
    return std::sqrt((c.x - px) * (c.x - px) + (c.y - py) * (c.y - py) + kLabelGuard);
}

// Page inches of a label point given in graph values.
void pageOf(float gx, float gy, const util::AxisRecord& axis, float& px, float& py) {
    px = util::PLOFX(gx, axis) + axis.originX;
    py = util::PLOFY(gy, axis) + axis.originY;
}

void recordHit(LabelHits& hits, int label, bool arrow, int part, const util::AxisRecord& axis) {
    hits.HitLabel = label;
    hits.HitLabelArrow = arrow;
    hits.HitLabelPart = part;
    hits.LabelAxisCopy = axis;
}

// A handle at (a, b) widths and heights from the centre: hit when strictly
// nearer than tol.
bool handleNearer(const model::LabelSet& l, std::size_t k, float a, float b, Cursor c,
                  const util::AxisRecord& axis, float& tol) {
    float px, py;
    pageOf(l.XCLAB[k] + l.WDLAB[k] * a, l.YCLAB[k] + l.HILAB[k] * b, axis, px, py);
    const float d = distanceTo(c, px, py);
    if (!(d < tol)) return false;
    tol = d;
    return true;
}

void testCentre(const model::LabelSet& l, std::size_t k, Cursor c, const util::AxisRecord& axis,
                LabelHits& hits, float& tol) {
    float cx, cy;
    pageOf(l.XCLAB[k], l.YCLAB[k], axis, cx, cy);
    const float d0 = distanceTo(c, cx, cy);
    const int label = static_cast<int>(k) + 1;
    if (hits.HitLabel == 0) {
        float left, bottom, right, top;
        pageOf(l.XCLAB[k] - l.WDLAB[k] / 2, l.YCLAB[k] - l.HILAB[k] / 2, axis, left, bottom);
        pageOf(l.XCLAB[k] + l.WDLAB[k] / 2, l.YCLAB[k] + l.HILAB[k] / 2, axis, right, top);
        const bool inside = c.x > std::fmin(left, right) && c.x < std::fmax(left, right) &&
                            c.y > std::fmin(bottom, top) && c.y < std::fmax(bottom, top);
        if (inside) {
            if (d0 < tol) tol = d0;
            recordHit(hits, label, false, 0, axis);
        }
    } else if (d0 < tol) {
        tol = d0;
        recordHit(hits, label, false, 0, axis);
    }
}

void testHandles(const model::LabelSet& l, std::size_t k, Cursor c, const util::AxisRecord& axis,
                 LabelHits& hits, float& tol) {
    const int label = static_cast<int>(k) + 1;
    struct Handle {
        float a, b;
        int part;
    };
    static constexpr Handle edges[] = {{-0.5f, 0, 2}, {0.5f, 0, 2}, {0, -0.5f, -2}, {0, 0.5f, -2}};
    for (const Handle& h : edges)
        if (handleNearer(l, k, h.a, h.b, c, axis, tol)) recordHit(hits, label, false, h.part, axis);
    // +1 always names the lower-left/upper-right diagonal on screen.
    const int flip = axis.stepY < 0 ? -1 : 1;
    static constexpr Handle corners[] = {
        {-0.5f, -0.5f, 1}, {-0.5f, 0.5f, -1}, {0.5f, -0.5f, -1}, {0.5f, 0.5f, 1}};
    for (const Handle& h : corners)
        if (handleNearer(l, k, h.a, h.b, c, axis, tol))
            recordHit(hits, label, false, h.part * flip, axis);
    const bool hasArrow = std::fabs(l.XARRO[k] - l.XCLAB[k]) >= kArrowThreshold ||
                          std::fabs(l.YARRO[k] - l.YCLAB[k]) >= kArrowThreshold;
    if (!hasArrow) return;
    float ax, ay;
    pageOf(l.XARRO[k], l.YARRO[k], axis, ax, ay);
    const float d = distanceTo(c, ax, ay);
    if (d < tol) {
        tol = d;
        recordHit(hits, label, true, 0, axis);
    }
}

}  // namespace

void TESTLABEL(const model::LabelSet& labels, LabelHits& hits, float& tol, float x, float y,
               const util::AxisRecord& axis, int graph, bool labelsShown) {
    if (!labelsShown || labels.NLAB <= 0) return;
    const Cursor c{inchesAcross(x), inchesUp(y)};
    const int n = std::min(labels.NLAB, model::kLabelLimit);
    for (int i = 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        if (labels.IWINDOW[k] != graph) continue;
        // A label at no real position cannot be pointed at; hover never
        // interrupts the user with a message about it.
        if (std::isnan(labels.XCLAB[k]) || std::isnan(labels.YCLAB[k]) ||
            std::isnan(labels.XARRO[k]) || std::isnan(labels.YARRO[k]))
            continue;
        testCentre(labels, k, c, axis, hits, tol);
        testHandles(labels, k, c, axis, hits, tol);
    }
}

}  // namespace views
