#pragma once
// Drawing the user's labels: a text in a white box, optionally with an arrow.

#include <string_view>

#include "model/profile_line.h"
#include "util/axis_record.h"

namespace views {

// Every label of graph GRAPH (1, 2 data panels, 3 section) in the label pen.
void DRAWLABELS(model::LabelSet& labels, int graph, util::AxisRecord& axis);
// Label I; with XOR only its outline and arrow, in exclusive-or.
void DRAWLABEL(model::LabelSet& labels, int i, bool xorMode, util::AxisRecord& axis);
// Adds a value label at the cursor (window units); "Too many labels" when full.
void MANVLABEL(model::LabelSet& labels, int graph, float value, int cx, int cy,
               const util::AxisRecord& axis, std::string_view unit);
// Adds a text label showing the x value at (XVALUE, cursor y).
void MANDLABL(model::LabelSet& labels, int graph, int cx, int cy, float xvalue,
              const util::AxisRecord& axis);

}  // namespace views
