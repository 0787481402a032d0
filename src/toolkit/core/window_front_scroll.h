#pragma once
// Two routines of the window layer that act on the current window: bringing
// it to the front with everything that encloses it, and scrolling its
// contents.

namespace tk {

void WindowBringToFront();
// Moves the client contents by dx, dy pixels and fills the strip left
// uncovered with a colour (-1: the current background colour).
void WindowScrollContents(int dx, int dy, int colour = -1);

}  // namespace tk
