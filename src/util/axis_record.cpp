#include "util/axis_record.h"

#include <algorithm>

namespace util {

void writeAxisRecord(base::ByteWriter& out, const AxisRecord& a) {
    for (float v : {a.originX,      a.originY,  a.divLengthX, a.divLengthY, a.startX,
                    a.startY,       a.stepX,    a.stepY,      a.offsetX,    a.offsetY,
                    a.scaleX,       a.scaleY,   a.tickLength, a.extentLeft, a.extentRight,
                    a.extentLabelY, a.clipXMin, a.clipXMax,   a.clipYMin,   a.clipYMax})
        out.f32(v);
    for (std::int32_t v : {a.divCountX, a.divCountY, a.firstDecadeX, a.firstDecadeY, a.markerType})
        out.i32(v);
    out.bytes(a.yExtra1);
    out.bytes(a.yExtra2);
    for (bool v : {a.logX, a.logY, a.tickLengthSwitch, a.filledMarkers, a.noTurningBreaks,
                   a.thinFrame, a.xLabelsBelow, a.yLabelsLeft, a.yLabelsRight, a.xLabelsAbove})
        out.logical(v);
}

namespace {
void readExtra(base::ByteReader& in, std::array<std::uint8_t, 4>& word) {
    auto b = in.bytes(word.size());
    if (b.size() == word.size()) std::copy(b.begin(), b.end(), word.begin());
}
}  // namespace

AxisRecord readAxisRecord(base::ByteReader& in) {
    AxisRecord a;
    for (float* v : {&a.originX,      &a.originY,  &a.divLengthX, &a.divLengthY, &a.startX,
                     &a.startY,       &a.stepX,    &a.stepY,      &a.offsetX,    &a.offsetY,
                     &a.scaleX,       &a.scaleY,   &a.tickLength, &a.extentLeft, &a.extentRight,
                     &a.extentLabelY, &a.clipXMin, &a.clipXMax,   &a.clipYMin,   &a.clipYMax})
        *v = in.f32();
    for (std::int32_t* v :
         {&a.divCountX, &a.divCountY, &a.firstDecadeX, &a.firstDecadeY, &a.markerType})
        *v = in.i32();
    readExtra(in, a.yExtra1);
    readExtra(in, a.yExtra2);
    for (bool* v :
         {&a.logX, &a.logY, &a.tickLengthSwitch, &a.filledMarkers, &a.noTurningBreaks, &a.thinFrame,
          &a.xLabelsBelow, &a.yLabelsLeft, &a.yLabelsRight, &a.xLabelsAbove})
        *v = in.logical();
    return a;
}

}  // namespace util
