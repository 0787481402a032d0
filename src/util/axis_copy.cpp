#include "util/axis_copy.h"

#include <cstdint>

namespace util {

namespace {

// The nine fields of one axis, addressed in a record.
struct AxisHalf {
    float &origin, &divLength, &start, &step, &offset, &scale;
    std::int32_t &count, &firstDecade;
    bool& log;
};

AxisHalf xHalf(AxisRecord& a) {
    return {a.originX, a.divLengthX, a.startX,       a.stepX, a.offsetX,
            a.scaleX,  a.divCountX,  a.firstDecadeX, a.logX};
}

AxisHalf yHalf(AxisRecord& a) {
    return {a.originY, a.divLengthY, a.startY,       a.stepY, a.offsetY,
            a.scaleY,  a.divCountY,  a.firstDecadeY, a.logY};
}

void copyHalf(const AxisHalf& to, const AxisHalf& from) {
    to.origin = from.origin;
    to.divLength = from.divLength;
    to.start = from.start;
    to.step = from.step;
    to.offset = from.offset;
    to.scale = from.scale;
    to.count = from.count;
    to.firstDecade = from.firstDecade;
    to.log = from.log;
}

}  // namespace

// The source is copied first so that a record may be copied onto itself.
void COPYXAXIS(AxisRecord& dest, const AxisRecord& src) {
    AxisRecord s = src;
    copyHalf(xHalf(dest), xHalf(s));
}

void COPYYAXIS(AxisRecord& dest, const AxisRecord& src) {
    AxisRecord s = src;
    copyHalf(yHalf(dest), yHalf(s));
    dest.yExtra1 = s.yExtra1;
    dest.yExtra2 = s.yExtra2;
}

void COPYXAXISY(AxisRecord& dest, const AxisRecord& src) {
    AxisRecord s = src;
    copyHalf(xHalf(dest), yHalf(s));
}

void COPYYAXISX(AxisRecord& dest, const AxisRecord& src) {
    AxisRecord s = src;
    copyHalf(yHalf(dest), xHalf(s));
}

}  // namespace util
