#pragma once
// The shell's words that the drawings read or keep: the drag in progress,
// what the last section redraw measured, titles chosen on the way, the lock
// display switch, the profile window's toolbar height and which profile's
// mark stands on the map.

#include "base/fixed_string.h"

namespace views {

struct ViewState {
    // A pivot, edge, body or vertex is being dragged.
    bool DragPivot = false, DragEdge = false, DragBody = false, DragVertex = false;
    bool ShowLocks = false;
    base::FixedString<40> ColourBarTitle;
    base::FixedString<40> DistanceTitle;
    // The section's x and z units per plot inch, for the hit tests.
    float SectionUnitsPerInchX = 1.0f, SectionUnitsPerInchY = 1.0f;
    int ProfileToolbarHeight = 0;
    // The profile whose map mark (pen 0, exclusive-or) is on the screen now,
    // 0 when none: the mark is drawn only where it is not, and erased only
    // where it is.
    int MarkedProfile = 0;

    bool dragging() const { return DragPivot || DragEdge || DragBody || DragVertex; }
    void reset() { *this = ViewState{}; }
};

ViewState& viewState();

}  // namespace views
