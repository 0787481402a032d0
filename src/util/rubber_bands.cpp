#include "util/rubber_bands.h"

#include <initializer_list>
#include <utility>

#include "toolkit/graphics/graphics_state.h"
#include "util/pen_plotter.h"

namespace util {

namespace {

using Point = std::pair<int, int>;

// One open polyline through window-unit points, bracketed so that the
// caller's exclusive-or mode survives.
void rubberPolyline(std::initializer_list<Point> points) {
    SAVEXOR();
    XORON();
    bool first = true;
    for (const Point& p : points) {
        const float x = plotXOfWindow(p.first), y = plotYOfWindow(p.second);
        if (first)
            tk::MoveToUnits(x, y);
        else
            tk::LineToUnits(x, y);
        first = false;
    }
    RESTOREXOR();
}

}  // namespace

void RUBBERBOX(int mx1, int my1, int mx2, int my2) {
    rubberPolyline({{mx1, my1}, {mx1, my2}, {mx2, my2}, {mx2, my1}, {mx1, my1}});
}

void RUBBERLINE(int mx1, int my1, int mx2, int my2) {
    rubberPolyline({{mx1, my1}, {mx2, my2}});
}

void RUBBERVLINE(int mx, int my1, int my2) {
    rubberPolyline({{mx, my1}, {mx, my2}});
}

void RUBBERPOLY(int mx1, int my1, int mx2, int my2, int mx3, int my3) {
    rubberPolyline({{mx1, my1}, {mx2, my2}, {mx3, my3}});
}

}  // namespace util
