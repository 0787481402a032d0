#pragma once
// The frame of one graph: outline, ticks on all four edges and numeric
// labels on the edges the axis record asks for, linear or logarithmic per
// axis. Drawn with the pen plotter in plot units relative to the graph
// origin, which the caller has made the plotter's origin.

#include <cstdint>

#include "util/axis_record.h"

namespace util {

// Draws the frame, ticks and labels; writes the extents reached (offsets
// 52-60) and replaces negative division counts by their absolute values
// (a negative x count leaves out the horizontal lines, a negative y count
// mirrors the y labels onto the right edge instead of ticking it).
void GNGRID(AxisRecord& axis);

// Linear horizontal axis along y = Y from x = X0: N + 1 major ticks every DX,
// labels, K minor ticks per division; TICK >= 0 below, TICK < 0 above.
void LNHAX(float x0, float y, float tick, float start, float step, float dx, float ht,
           std::int32_t k, std::int32_t n, const AxisRecord& axis);
// Linear vertical axis along x = X from y = Y0; TICK > 0 labels to the left.
void LNVAX(float x, float y0, float tick, float start, float step, float dy, float ht,
           std::int32_t k, std::int32_t n, const AxisRecord& axis);
// Logarithmic axes of N decades from 10^L1, one decade per DX (DY).
void LGHAX(float y, float x0, float tick, float dx, float ht, std::int32_t l1, std::int32_t n);
void LGVAX(float x, float y0, float tick, float dy, float ht, std::int32_t l1, std::int32_t n,
           const AxisRecord& axis);

}  // namespace util
