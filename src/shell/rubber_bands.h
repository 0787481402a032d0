#pragma once
// The rubber shapes that stand on the screen between mouse events: the box,
// the line and the map's traced polyline, all drawn in exclusive-or, so
// drawing one again with its points removes it. The gestures draw them and
// set their flags and points (ShellSession); the loop erases them before a
// press, a command, an expose, a resize or a close.

namespace shell {

// Erases every rubber shape whose flag is set and clears the flags. With
// `keepLines` the line and the polyline stay (the map's line mode goes on
// through the next press).
void eraseRubberBands(bool keepLines = false);

}  // namespace shell
