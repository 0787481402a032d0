#pragma once
// Which label, or which handle of a label, lies under the mouse in a data
// graph or the model section.

#include "model/profile_line.h"
#include "util/axis_record.h"

namespace views {

inline constexpr float kLabelPickRadius = 0.05f;  // plot inches, the caller's starting TOL

// Hit fields of the pointer state that belong to labels.
struct LabelHits {
    int HitLabel = 0;
    bool HitLabelArrow = false;
    // 0 the centre or arrow, 2 a left or right edge, -2 a bottom or top edge,
    // +1 / -1 the corners of the lower-left/upper-right and the other diagonal.
    int HitLabelPart = 0;
    util::AxisRecord LabelAxisCopy;
};

// Tests the labels of `graph` (1 any data graph, 3 the model section) at
// (x, y) window units; tol shrinks to the nearest distance found. Labels with
// a position that is not a number are passed over. Nothing is tested unless
// labels are shown.
void TESTLABEL(const model::LabelSet& labels, LabelHits& hits, float& tol, float x, float y,
               const util::AxisRecord& axis, int graph, bool labelsShown);

}  // namespace views
