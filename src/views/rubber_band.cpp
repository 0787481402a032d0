#include "views/rubber_band.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"
#include "util/axis_scaling.h"
#include "util/message_boxes.h"
#include "util/pen_plotter.h"

namespace views {
namespace {

class GraphicsRubberPen final : public RubberPen {
  public:
    void saveXor() override { util::SAVEXOR(); }
    void xorOn() override { util::XORON(); }
    void restoreXor() override { util::RESTOREXOR(); }
    void setPen(int pen) override { util::SETPEN(pen); }
    // Page inches, whatever origin the plotter has at the moment.
    void moveTo(float x, float y) override { tk::MoveToUnits(x, y); }
    void lineTo(float x, float y) override { tk::LineToUnits(x, y); }
};

// Brackets one exclusive-or drawing with pen 13.
class XorScope {
  public:
    explicit XorScope(RubberPen& pen) : pen_(pen) {
        pen_.saveXor();
        pen_.xorOn();
        pen_.setPen(kRubberPen);
    }
    ~XorScope() { pen_.restoreXor(); }
    XorScope(const XorScope&) = delete;
    XorScope& operator=(const XorScope&) = delete;

  private:
    RubberPen& pen_;
};

// Page inches of a model point on a graph.
void pageOf(float x, float z, const util::AxisRecord& axis, float& px, float& py) {
    px = util::PLOFX(x, axis) + axis.originX;
    py = util::PLOFY(z, axis) + axis.originY;
}

void modelLine(RubberPen& pen, const util::AxisRecord& axis, float x1, float z1, float x2,
               float z2) {
    float px, py;
    pageOf(x1, z1, axis, px, py);
    pen.moveTo(px, py);
    pageOf(x2, z2, axis, px, py);
    pen.lineTo(px, py);
}

// The vertex before / after v within body b, cyclically.
int previousInBody(const model::PolygonModel& m, int b, int v) {
    return v == m.IV1(b) ? m.IV2(b) : v - 1;
}
int nextInBody(const model::PolygonModel& m, int b, int v) {
    return v == m.IV2(b) ? m.IV1(b) : v + 1;
}

bool movedOutline(int b, float dx, float dz, const model::PolygonModel& m,
                  const util::AxisRecord& axis, model::PolygonModel& target, RubberPen& pen) {
    if (b < 1 || b > m.NBOD) return false;
    const int first = m.IV1(b), last = m.IV2(b);
    const auto n = static_cast<std::size_t>(last - first + 1);
    std::vector<float> xs, zs;
    try {
        xs.resize(n);
        zs.resize(n);
    } catch (const std::bad_alloc&) {
        util::WINMSG("Allocation error in RubberBody");
        return false;
    }
    for (int v = first; v <= last; ++v) {
        const auto k = static_cast<std::size_t>(v - first);
        xs[k] = m.XVRT(v) + dx;
        zs[k] = m.ZVRT(v) + dz;
        target.XVRT(v) = xs[k];
        target.ZVRT(v) = zs[k];
    }
    XorScope scope(pen);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t next = k + 1 == n ? 0 : k + 1;
        modelLine(pen, axis, xs[k], zs[k], xs[next], zs[next]);
    }
    return true;
}

}  // namespace

RubberPen& graphicsRubberPen() {
    static GraphicsRubberPen pen;
    return pen;
}

void RUBBERPLINE(float& ax, float& ay, float bx, float by, NewLineBuffer& line, float minStep,
                 RubberPen& pen) {
    const float x1 = inchesAcross(ax), y1 = inchesUp(ay);
    const float x2 = inchesAcross(bx), y2 = inchesUp(by);
    if (std::hypot(x2 - x1, y2 - y1) > minStep) {
        line.count = std::min(line.count + 1, NewLineBuffer::kCapacity);
        line.X[static_cast<std::size_t>(line.count - 1)] = x1;
        line.Y[static_cast<std::size_t>(line.count - 1)] = y1;
        ax = bx;
        ay = by;
    }
    XorScope scope(pen);
    pen.moveTo(x1, y1);
    pen.lineTo(x2, y2);
}

void NORUBBERPLINE(float x, float y, const NewLineBuffer& line, RubberPen& pen) {
    if (line.count < 1) return;
    XorScope scope(pen);
    pen.moveTo(line.X[0], line.Y[0]);
    for (int k = 1; k < line.count; ++k)
        pen.lineTo(line.X[static_cast<std::size_t>(k)], line.Y[static_cast<std::size_t>(k)]);
    pen.lineTo(inchesAcross(x), inchesUp(y));
}

void RUBBEREDGE(int v, int b, float dx, float dz, const model::PolygonModel& m,
                const util::AxisRecord& axis, RubberEdgeEnds& ends, RubberPen& pen) {
    if (b < 1 || b > m.NBOD || v < m.IV1(b) || v > m.IV2(b)) return;
    const int second = nextInBody(m, b, v);
    const int before = previousInBody(m, b, v);
    const int after = nextInBody(m, b, second);
    ends = {m.XVRT(v) + dx, m.ZVRT(v) + dz, m.XVRT(second) + dx, m.ZVRT(second) + dz};
    XorScope scope(pen);
    modelLine(pen, axis, ends.x1, ends.z1, ends.x2, ends.z2);
    modelLine(pen, axis, m.XVRT(before), m.ZVRT(before), ends.x1, ends.z1);
    modelLine(pen, axis, ends.x2, ends.z2, m.XVRT(after), m.ZVRT(after));
}

bool RUBBERBODY(int b, float dx, float dz, const model::PolygonModel& model,
                const util::AxisRecord& axis, model::PolygonModel& target, RubberPen& pen) {
    return movedOutline(b, dx, dz, model, axis, target, pen);
}

bool RUBBERPOLYXY(int b, float dx, float dz, const model::PolygonModel& model,
                  const util::AxisRecord& axis, model::PolygonModel& target, RubberPen& pen) {
    return movedOutline(b, dx, dz, model, axis, target, pen);
}

GraphBox RUBBERPBOX(float x1, float y1, float x2, float y2, const util::AxisRecord& axis) {
    return {util::XOFPL(inchesAcross(x1), axis), util::YOFPL(inchesUp(y1), axis),
            util::XOFPL(inchesAcross(x2), axis), util::YOFPL(inchesUp(y2), axis)};
}

}  // namespace views
