#pragma once
// What lies under the mouse in the profile window: which graph holds the
// cursor, and the hover tests of the data graph, the model section and the
// labels, which fill the pointer state, the status bar and the cursor shape.

#include "util/axis_record.h"
#include "views/hit_model_section.h"

namespace shell {

// The working profile's graph holding (x, y) window units: data graphs
// first (when shown), then the model section; null when none holds it.
// `model` tells which kind was found.
util::AxisRecord* graphAt(int x, int y, bool& model);

// The hover tests of one mouse move at (x, y) in the profile window.
void hoverProfileWindow(int x, int y);
// The model section's hover test alone (during the split and pair rubber line).
void hoverSection(int x, int y);

// The view words the model section's hover test reads.
views::SectionHoverState sectionHoverState();

// Removes the highlight of the label under the cursor, if one is drawn.
void unhighlightLabel();

}  // namespace shell
