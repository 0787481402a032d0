#pragma once
// Where the data graph and the model section sit on the profile window's
// 10 x 8 inch page: above each other, or either alone on the whole page,
// narrowed when the colour bar needs room.

#include "util/axis_record.h"

namespace views {

// Width of both graphs: 8.5 inches, or 8.0 with the colour bar.
void layoutWidth(util::AxisRecord& axis, bool colourFill);
// The data graph's height and place; MODELSHOWN puts it on the upper half.
void layoutDataGraph(util::AxisRecord& axis, bool modelShown, bool colourFill);
// The section's height and place; DATASHOWN puts it on the lower half.
void layoutSection(util::AxisRecord& axis, bool dataShown, bool colourFill);

}  // namespace views
