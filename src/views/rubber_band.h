#pragma once
// Transient shapes that follow the mouse during a drag: the traced polyline
// on the map, a dragged edge or body outline in the model section. All are
// drawn in exclusive-or, so that drawing a shape again with the same points
// removes it and restores the picture beneath.

#include <array>

#include "model/polygon_model.h"
#include "util/axis_record.h"

namespace views {

// The drawing services the rubber bands need: the plotter's exclusive-or
// switch, its pens and straight lines in plot inches of the page.
class RubberPen {
  public:
    virtual ~RubberPen() = default;
    virtual void saveXor() = 0;
    virtual void xorOn() = 0;
    virtual void restoreXor() = 0;
    virtual void setPen(int pen) = 0;
    virtual void moveTo(float x, float y) = 0;
    virtual void lineTo(float x, float y) = 0;
};

// Bound to the graphics layer: exclusive-or plot mode and lines in the units
// of the current graphics area (the page's plot inches).
RubberPen& graphicsRubberPen();

inline constexpr int kRubberPen = 13;

// Points of a polyline traced on the map, in plot inches of the page.
struct NewLineBuffer {
    static constexpr int kCapacity = 1000;
    int count = 0;
    std::array<float, kCapacity> X{};
    std::array<float, kCapacity> Y{};
};

// One step of the polyline tracer from the anchor (ax, ay) to (bx, by), all
// in window units: a step longer than minStep inches records the anchor and
// moves it to b; the segment from the entry anchor to b is drawn.
void RUBBERPLINE(float& ax, float& ay, float bx, float by, NewLineBuffer& line, float minStep,
                 RubberPen& pen);
// The whole traced polyline and on to (x, y) in window units.
void NORUBBERPLINE(float x, float y, const NewLineBuffer& line, RubberPen& pen);

// Displaced ends of the last edge drawn by RUBBEREDGE, in model units.
struct RubberEdgeEnds {
    float x1 = 0, z1 = 0, x2 = 0, z2 = 0;
};

// Edge from vertex v of body b to its next vertex, both ends moved by
// (dx, dz), and the two edges joining them to their unmoved neighbours.
void RUBBEREDGE(int v, int b, float dx, float dz, const model::PolygonModel& model,
                const util::AxisRecord& axis, RubberEdgeEnds& ends, RubberPen& pen);

// The outline of body b moved by (dx, dz), written into target's vertices at
// the same indices and drawn closed. False (and the allocation message shown)
// when the work arrays cannot be had; nothing is then drawn or written.
bool RUBBERBODY(int b, float dx, float dz, const model::PolygonModel& model,
                const util::AxisRecord& axis, model::PolygonModel& target, RubberPen& pen);
bool RUBBERPOLYXY(int b, float dx, float dz, const model::PolygonModel& model,
                  const util::AxisRecord& axis, model::PolygonModel& target, RubberPen& pen);

// Graph values of a box given in window units; draws nothing.
struct GraphBox {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
GraphBox RUBBERPBOX(float x1, float y1, float x2, float y2, const util::AxisRecord& axis);

// Window units to plot inches of the 10 x 8 inch page.
inline float inchesAcross(float x) {
    return x * 10.0f / 10000.0f;
}
inline float inchesUp(float y) {
    return (10000.0f - y) * 8.0f / 10000.0f;
}

}  // namespace views
