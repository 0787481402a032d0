#pragma once
// The 10 x 8 inch plot page every view draws on, started afresh before each
// redraw.

namespace views {

// True while the drawing goes to the screen, false under hardcopy output.
bool drawingOnScreen();

// Starts the page: on the screen the plotter's palette is defined (the
// first time) and the window cleared to white; under hardcopy output, which
// its caller started, only the page's units and font are reset.
void startPage();

}  // namespace views
