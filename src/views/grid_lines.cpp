#include "views/grid_lines.h"

#include <cmath>

#include "files/view_settings.h"
#include "util/pen_plotter.h"

namespace views {

namespace {

// One line across the graph at POS: vertical (along y) or horizontal.
void gridLine(bool vertical, float pos, float length) {
    if (vertical) {
        util::PLOTXY(pos, 0.0f, 3);
        util::PLOTXY(pos, length, 2);
    } else {
        util::PLOTXY(0.0f, pos, 3);
        util::PLOTXY(length, pos, 2);
    }
}

// The lines of one axis: DIVS divisions of DIV inches, each crossed by
// minor lines (KDEC per division, or 8 per decade on a log axis).
void axisLines(bool vertical, int divs, float div, int kdec, bool log, int minorPen, float across) {
    const int gridPen = files::viewSettings().K_GRID;
    for (int d = 1; d <= divs; ++d) {
        const float edge = static_cast<float>(d) * div;
        if (minorPen > 0) {
            util::SETPEN(minorPen);
            if (log) {
                for (int i = 2; i <= 9; ++i)
                    gridLine(vertical, edge - div + std::log10(static_cast<float>(i)) * div,
                             across);
            } else {
                for (int i = 1; i <= kdec - 1; ++i)
                    gridLine(vertical,
                             edge - div + static_cast<float>(i) * div / static_cast<float>(kdec),
                             across);
            }
        }
        util::SETPEN(gridPen);
        if (d < divs) gridLine(vertical, edge, across);
    }
}

}  // namespace

void DRAWGRID(std::span<util::AxisRecord> axes, bool major, int minorPenX, int minorPenY,
              int /*unused*/, int count) {
    for (int g = 0; g < count && g < static_cast<int>(axes.size()); ++g) {
        util::AxisRecord& a = axes[static_cast<std::size_t>(g)];
        util::PLOTXY(a.originX, a.originY, -3, a);
        const float lx = static_cast<float>(a.divCountX) * a.divLengthX;
        const float ly = static_cast<float>(a.divCountY) * a.divLengthY;
        if (!major) continue;
        axisLines(true, a.divCountX, a.divLengthX, a.firstDecadeX, a.logX, minorPenX, ly);
        axisLines(false, a.divCountY, a.divLengthY, a.firstDecadeY, a.logY, minorPenY, lx);
    }
}

void DRAWGRID(util::AxisRecord& axis, bool major, int minorPen) {
    DRAWGRID(std::span<util::AxisRecord>(&axis, 1), major, minorPen, minorPen, 0, 1);
}

}  // namespace views
