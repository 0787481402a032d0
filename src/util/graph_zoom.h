#pragma once
// The cross-hair cursor, the point-in-graph test, and turning rubber-band
// positions (window units 0..10000, y down) into graph values and new axis
// ranges.

#include <cstdint>

#include "util/axis_record.h"

namespace util {

// An exclusive-or cross-hair at a graph point; drawing it twice erases it.
void GRFCUR(float x, float y, const AxisRecord& axis);
void SETCURSORPEN(std::int32_t ipen);
// The graph point lies within both axis ranges, ends included.
bool LINGRAPH(float x, float y, const AxisRecord& axis);
// A window-unit line as graph values.
void LINEBACK(int mx1, int my1, int mx2, int my2, float& x1, float& y1, float& x2, float& y2,
              const AxisRecord& axis);
// New ranges of both axes from a rubber-band rectangle; the graph keeps its
// size on the page and a reversed linear axis stays reversed.
void ZOOMBOX(int mx1, int my1, int mx2, int my2, AxisRecord& axis);
// One half of ZOOMBOX each, without the reversed-axis rule.
void ZOOMBOXX(int mx1, int mx2, AxisRecord& axis);
void ZOOMBOXZ(int my1, int my2, AxisRecord& axis);

}  // namespace util
