#pragma once
// Rubber-band figures drawn in exclusive-or mode from window-unit positions
// (0..10000, y down), so that drawing the same figure again erases it. They
// draw in plot units of the page, without the plotter's origin and factor.

namespace util {

void RUBBERBOX(int mx1, int my1, int mx2, int my2);
void RUBBERLINE(int mx1, int my1, int mx2, int my2);
void RUBBERVLINE(int mx, int my1, int my2);
void RUBBERPOLY(int mx1, int my1, int mx2, int my2, int mx3, int my3);

}  // namespace util
