#pragma once
// The rubber shapes that stand on the screen between mouse events: the zoom
// or selection box, the straight rubber line of splitting and pair locking,
// and the traced polyline on the map. Each is drawn in exclusive-or and
// remembered with the window and the points it was drawn with, so that
// erasing draws exactly the same shape again; a flag of ShellSession says
// which shapes are on the screen. The gestures draw them; the loop erases
// them before a press, a command, an expose, a resize or a close.

namespace shell {

// The box from the gesture's anchor to (x, y), in window units of `window`;
// the box shown before is erased first.
void moveRubberBox(int window, int x, int y);
// The line from the anchor to (x, y), likewise.
void moveRubberLine(int window, int x, int y);
// One step of the polyline traced on the map: the previous segment is
// erased and the segment from the (possibly advanced) anchor to (x, y)
// drawn. `first` starts a new trace.
void movePolyline(int x, int y, bool first);

void eraseRubberBox();
void eraseRubberLine();
void erasePolyline();
// Every shape that is shown. With `keepLines` the line and the polyline
// stay (the map's line mode goes on through the next press).
void eraseRubberBands(bool keepLines = false);

// A window was drawn afresh: its shapes are gone without erasing, and the
// items dragged in exclusive-or (a pivot, a label) are drawn again.
void windowRedrawn(int window);

}  // namespace shell
