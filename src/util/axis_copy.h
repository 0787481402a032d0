#pragma once
// Copying one axis half of a graph's record into another record, as the
// views do when two graphs share an axis.

#include "util/axis_record.h"

namespace util {

// The x half: origin, division length, start, step, offset, scale, count,
// first decade and log flag.
void COPYXAXIS(AxisRecord& dest, const AxisRecord& src);
// The y half with the two extra words that travel with it.
void COPYYAXIS(AxisRecord& dest, const AxisRecord& src);
// The y half of SRC into the x half of DEST, and the reverse.
void COPYXAXISY(AxisRecord& dest, const AxisRecord& src);
void COPYYAXISX(AxisRecord& dest, const AxisRecord& src);

}  // namespace util
