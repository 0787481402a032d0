#pragma once
// The scaling that turns graph values into plot units relative to a graph's
// origin and back, derived from the fields of its axis record.

#include <cmath>

#include "util/axis_record.h"

namespace util {

namespace detail {

// Plot position of a value along one axis, relative to the origin; inline,
// as a curve places thousands of points.
inline float plotOf(float v, bool log, float divLength, float offset, float scale) {
    if (std::isnan(v)) return 0.0f;
    if (log) {
        float p = std::log10(std::fabs(v) + 1.0e-20f) * divLength;
        if (scale > 0.0f) p *= scale;
        return p + offset;
    }
    return scale * v + offset;
}

}  // namespace detail

// Derives offsets, scales and clip limits; must run after any change of
// origin, division length, start, step, count, first decade or log flag.
void FINDAS(AxisRecord& axis);
void FINDASX(AxisRecord& axis);
void FINDASY(AxisRecord& axis);

// Plot position of a graph value, relative to the origin; 0 for NaN.
inline float PLOFX(float x, const AxisRecord& a) {
    return detail::plotOf(x, a.logX, a.divLengthX, a.offsetX, a.scaleX);
}
inline float PLOFY(float y, const AxisRecord& a) {
    return detail::plotOf(y, a.logY, a.divLengthY, a.offsetY, a.scaleY);
}
void PLOF_XY(float x, float y, float& px, float& py, const AxisRecord& axis);
// Graph value at an absolute page position (the origin included).
float XOFPL(float px, const AxisRecord& axis);
float YOFPL(float py, const AxisRecord& axis);
// Graph units per plot unit (1 on a log axis).
void GET_WSCL(float& sx, float& sy, const AxisRecord& axis);

// Chooses the divisions of one axis for the range VMIN..VMAX.
void X_AXIS(float vmin, float vmax, AxisRecord& axis);
void Y_AYIS(float vmin, float vmax, AxisRecord& axis);

// Saves and restores the scaling fields through the graph package's state.
void GTODPL(const AxisRecord& axis);
void DPLTOG(AxisRecord& axis);

}  // namespace util
