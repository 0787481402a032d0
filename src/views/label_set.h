#pragma once
// Operations on a profile's labels that change the set itself.

#include <string_view>

#include "model/profile_line.h"
#include "util/axis_record.h"

namespace views {

// Removes label I (1..NLAB), closing the gap; I becomes 0. Out of range: nothing.
void DELETELABEL(model::LabelSet& labels, int& i);
// Removes every label of graph GRAPH.
void CLEARLABELS(model::LabelSet& labels, int graph);
// Entries 1..NLAB of one of the set's size arrays times FACTOR, or plus INCREMENT.
void SCALELABELSIZE(model::LabelSet& labels, std::array<float, model::kLabelLimit>& values,
                    float factor);
void INCLABELSIZE(model::LabelSet& labels, std::array<float, model::kLabelLimit>& values,
                  float increment);

// Text of a value label: VALUE with the decimals it needs, a blank and the unit.
std::string valueLabelText(float value, std::string_view unit);

}  // namespace views
