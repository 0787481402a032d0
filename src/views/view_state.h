#pragma once
// The shell's words that the drawings of the profile window read or keep:
// the drag in progress, what the last section redraw measured, titles chosen
// on the way, and the lock display switch.

#include "base/fixed_string.h"

namespace views {

struct ViewState {
    // A pivot, edge, body or vertex is being dragged.
    bool DragPivot = false, DragEdge = false, DragBody = false, DragVertex = false;
    bool ShowLocks = true;
    base::FixedString<40> ColourBarTitle;
    base::FixedString<40> DistanceTitle;
    // The section's x and z units per plot inch, for the hit tests.
    float SectionUnitsPerInchX = 1.0f, SectionUnitsPerInchY = 1.0f;
    int ProfileToolbarHeight = 0;

    bool dragging() const { return DragPivot || DragEdge || DragBody || DragVertex; }
    void reset() { *this = ViewState{}; }
};

ViewState& viewState();

}  // namespace views
