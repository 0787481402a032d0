#include "util/axis_scaling.h"

#include <cmath>

#include "util/graph_package_state.h"
#include "util/narrow_float.h"
#include "util/nice_axis.h"

namespace util {

namespace {

// Offset and scale of one axis: plot = scale * value + offset.
struct Scaling {
    float offset;
    float scale;
};

Scaling deriveScaling(bool log, float divLength, float start, float step, std::int32_t first) {
    if (log) return {-(divLength * static_cast<float>(first)), 1.0f};
    // A zero step has no scale; every value then sits at the origin rather
    // than at an infinite distance.
    float scale = step != 0.0f ? divLength / step : 0.0f;
    if (!std::isfinite(scale)) scale = 0.0f;
    return {-(scale * start), scale};
}

float valueOf(float page, bool log, float origin, float divLength, float start, float offset,
              float scale, std::int32_t first) {
    const double from = static_cast<double>(page) - offset - origin;
    if (log) {
        if (divLength == 0.0f) return narrowToFloat(std::pow(10.0, first));
        double exponent = from / divLength;
        if (scale > 0.0f) exponent /= scale;
        return narrowToFloat(std::pow(10.0, exponent));
    }
    if (scale == 0.0f) return start;
    return narrowToFloat(from / scale);
}

}  // namespace

void FINDASX(AxisRecord& a) {
    const Scaling s = deriveScaling(a.logX, a.divLengthX, a.startX, a.stepX, a.firstDecadeX);
    a.offsetX = s.offset;
    a.scaleX = s.scale;
    const float end = static_cast<float>(a.divCountX) * a.divLengthX;
    a.clipXMax = end + 0.001f;
    a.clipXMin = -0.001f;
    if (a.divLengthX < 0.0f) {
        a.clipXMin = (end + 0.001f) - 0.102f;
        a.clipXMax = -0.051f;
    }
}

void FINDASY(AxisRecord& a) {
    const Scaling s = deriveScaling(a.logY, a.divLengthY, a.startY, a.stepY, a.firstDecadeY);
    a.offsetY = s.offset;
    a.scaleY = s.scale;
    const float end = static_cast<float>(a.divCountY) * a.divLengthY;
    a.clipYMax = end + 0.001f;
    a.clipYMin = -0.001f;
    if (a.divLengthY < 0.0f) {
        a.clipYMin = end + 0.001f;
        a.clipYMax = -0.001f;
    }
}

void FINDAS(AxisRecord& axis) {
    FINDASX(axis);
    FINDASY(axis);
}

void PLOF_XY(float x, float y, float& px, float& py, const AxisRecord& axis) {
    px = PLOFX(x, axis);
    py = PLOFY(y, axis);
}

float XOFPL(float px, const AxisRecord& a) {
    return valueOf(px, a.logX, a.originX, a.divLengthX, a.startX, a.offsetX, a.scaleX,
                   a.firstDecadeX);
}

float YOFPL(float py, const AxisRecord& a) {
    return valueOf(py, a.logY, a.originY, a.divLengthY, a.startY, a.offsetY, a.scaleY,
                   a.firstDecadeY);
}

void GET_WSCL(float& sx, float& sy, const AxisRecord& a) {
    auto perPlotUnit = [](bool log, float step, float divLength) {
        if (log) return 1.0f;
        return divLength != 0.0f ? step / divLength : 0.0f;
    };
    sx = perPlotUnit(a.logX, a.stepX, a.divLengthX);
    sy = perPlotUnit(a.logY, a.stepY, a.divLengthY);
}

void X_AXIS(float vmin, float vmax, AxisRecord& a) {
    if (a.logX) {
        std::int32_t l1 = 0, l2 = 0;
        LOGNX(vmin, vmax, l1, l2);
        a.stepX = 0.0f;
        a.firstDecadeX = l1;
        a.divCountX = l2 - l1;
    } else {
        LINNX(vmin, vmax, a.startX, a.stepX, a.divCountX, a.firstDecadeX);
    }
}

void Y_AYIS(float vmin, float vmax, AxisRecord& a) {
    if (a.logY) {
        std::int32_t l1 = 0, l2 = 0;
        LOGNX(vmin, vmax, l1, l2);
        a.stepY = 0.0f;
        a.firstDecadeY = l1;
        a.divCountY = l2 - l1;
    } else {
        LINNX(vmin, vmax, a.startY, a.stepY, a.divCountY, a.firstDecadeY);
    }
}

void GTODPL(const AxisRecord& a) {
    graphPackageState().saved =
        SavedScaling{a.divLengthX, a.divLengthY, a.startX,       a.startY,      a.stepX,
                     a.stepY,      a.offsetX,    a.offsetY,      a.scaleX,      a.scaleY,
                     a.divCountX,  a.divCountY,  a.firstDecadeX, a.firstDecadeY};
}

void DPLTOG(AxisRecord& a) {
    const SavedScaling& s = graphPackageState().saved;
    a.divLengthX = s.divLengthX;
    a.divLengthY = s.divLengthY;
    a.startX = s.startX;
    a.startY = s.startY;
    a.stepX = s.stepX;
    a.stepY = s.stepY;
    a.offsetX = s.offsetX;
    a.offsetY = s.offsetY;
    a.scaleX = s.scaleX;
    a.scaleY = s.scaleY;
    a.divCountX = s.divCountX;
    a.divCountY = s.divCountY;
    a.firstDecadeX = s.firstDecadeX;
    a.firstDecadeY = s.firstDecadeY;
}

}  // namespace util
