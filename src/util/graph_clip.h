#pragma once
// The graph package's segment clipper: a window in plot units relative to
// the graph origin, and the clipped pen that draws only what lies inside it.

#include <cstdint>
#include <span>

#include "util/axis_record.h"

namespace util {

// Sets the clipper's window and switches clipping on; always true.
bool PCLIP(float xmin, float xmax, float ymin, float ymax);
// Switches clipping off and marks the window as unlimited.
void PCLIPOFF();
// PLOTXY through the clipper: draws the visible part of each segment and
// moves to where a segment re-enters the window.
void PLOTCP(float px, float py, std::int32_t ipen, const AxisRecord& axis);
// The same for the points of PX/PY in turn, the first with IPEN and the rest
// drawn: a run of points inside the window goes to the pen in one call.
void PLOTCP(std::span<const float> px, std::span<const float> py, std::int32_t ipen,
            const AxisRecord& axis);
// Clips a segment to the window (x >= xmin, x < xmax, likewise y); VISIBLE
// false, coordinates unchanged, when nothing remains.
void CLIPLN(float& x1, float& y1, float& x2, float& y2, float xmin, float xmax, float ymin,
            float ymax, bool& visible);
// Clips against one edge of the first coordinate: LLOW keeps A >= EDGE,
// otherwise A < EDGE; the crossing is interpolated linearly.
void CLIP2(float& a1, float& b1, float& a2, float& b2, float edge, bool llow, bool& visible);

}  // namespace util
