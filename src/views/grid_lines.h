#pragma once
// Major and minor grid lines inside graphs; the frame belongs to the graph package.

#include <span>

#include "util/axis_record.h"

namespace views {

// Grid lines of each record of AXES: major lines in the grid pen when MAJOR is
// on; minor lines in MINORPENX / MINORPENY (0 = none) inside each division.
void DRAWGRID(std::span<util::AxisRecord> axes, bool major, int minorPenX, int minorPenY,
              int unused, int count);
void DRAWGRID(util::AxisRecord& axis, bool major, int minorPen);

}  // namespace views
