#include "views/colour_fill.h"

#include <array>
#include <cmath>
#include <new>
#include <vector>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/graphics/contour_fill.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/presentation_plot.h"
#include "util/axis_scaling.h"
#include "util/graph_frame.h"
#include "util/nice_axis.h"
#include "util/pen_plotter.h"
#include "util/plotter_text.h"
#include "views/colour_ramp.h"
#include "views/view_state.h"

namespace views {

namespace {

util::AxisRecord& barAxis() {
    static util::AxisRecord a;
    return a;
}

// Paints an NX x NZ colour matrix as cells over the page rectangle
// X1..X2 by Y1..Y2 (plot inches); TOPDOWN puts row 1 at the top.
void paintCells(const std::vector<std::int32_t>& colours, int nx, int nz, float x1, float y1,
                float x2, float y2, bool topDown) {
    tk::GraphicsState& g = tk::graphicsState();
    const std::array<float, 4> frame{g.frameXStart, g.frameYStart, g.frameXEnd, g.frameYEnd};
    const std::array<int, 2> counts{nx, nz};
    tk::SetUpPresentationPlot(8, 1, counts, 264);
    if (topDown)
        tk::PgArea(1.0f, static_cast<float>(nz), static_cast<float>(nx), 1.0f);
    else
        tk::PgArea(1.0f, 1.0f, static_cast<float>(nx), static_cast<float>(nz));
    tk::SetPlotFrameFractions(x1 / 10.0f, y1 / 8.0f, x2 / 10.0f, y2 / 8.0f);
    tk::ContourFillKey(colours, nx, nz);
    tk::SetPlotFrameFractions(frame[0], frame[1], frame[2], frame[3]);
}

}  // namespace

const util::AxisRecord& colourBarAxis() {
    return barAxis();
}

void BODYFILL(util::AxisRecord& section, const model::PolygonModel& model, int& status) {
    status = 0;
    const files::ViewSettings& v = files::viewSettings();
    if (!(v.FILL_MAX > v.FILL_MIN)) return;
    tk::CursorShapeSet(1);
    defineRampColours();
    int nx = 0, nz = 0;
    fillGridSize(v.ColorGridX, v.ColorGridY, nx, nz);
    FillGrid grid;
    if (!sampleFillGrid(section, model, nx, nz, v.FILL_MIN, v.FILL_MAX,
                        files::sessionState().LREDTOBLUE, grid)) {
        // Without the grid nothing can be painted; the outlines still follow.
        status = 1;
        tk::CursorShapeSet(0);
        return;
    }
    const float lx = static_cast<float>(section.divCountX) * section.divLengthX;
    const float ly = static_cast<float>(section.divCountY) * section.divLengthY;
    paintCells(grid.colour, nx, nz, section.originX, section.originY, section.originX + lx,
               section.originY + ly, true);
    int columns = 0;
    PLOTCOLORBAR(v.FILL_MIN, v.FILL_MAX, columns, nz, section);
    grid = FillGrid{};
    util::PLOTXY(section.originX, section.originY, -3, section);
    tk::CursorShapeSet(0);
}

void PLOTCOLORBAR(float bottom, float top, int& columns, int n, const util::AxisRecord& section) {
    const files::ViewSettings& v = files::viewSettings();
    util::AxisRecord& bar = barAxis();
    bar = section;
    bar.tickLengthSwitch = true;
    bar.tickLength = 0.08f;
    bar.originX = section.originX + section.clipXMax;
    bar.originY = section.originY;
    bar.divCountX = 1;
    bar.divLengthX = 0.1f;
    bar.xLabelsBelow = false;
    bar.yLabelsRight = true;
    bar.yLabelsLeft = false;
    bar.logY = false;
    util::LINNX(bottom, top, bar.startY, bar.stepY, bar.divCountY, bar.firstDecadeY);
    bar.divLengthY = std::fabs(section.divLengthY) * static_cast<float>(section.divCountY) /
                     static_cast<float>(std::max(bar.divCountY, 1));

    columns = 4;
    n = std::max(n, 2);
    std::vector<std::int32_t> colours;
    try {
        colours.assign(static_cast<std::size_t>(4 * n), 0);
    } catch (const std::bad_alloc&) {
        return;
    }
    const bool reversed = files::sessionState().LREDTOBLUE;
    for (int r = 1; r <= n; ++r) {
        const float value = bottom + static_cast<float>(r - 1) * (v.FILL_MAX - v.FILL_MIN) /
                                         static_cast<float>(n - 1);
        const int c = rampColour(value, v.FILL_MIN, v.FILL_MAX, reversed);
        for (int i = 0; i < 4; ++i)
            colours[static_cast<std::size_t>((r - 1) * 4 + i)] = c;
    }
    util::FINDAS(bar);
    const float yBottom = bar.originY + util::PLOFY(bottom, bar);
    const float yTop = bar.originY + util::PLOFY(top, bar);

    util::PLOTXY(bar.originX, bar.originY, -3, bar);
    bar.extentRight = 0.0f;
    util::SETPEN(v.K_GRID);
    util::GNGRID(bar);
    const float height = static_cast<float>(bar.divCountY) * bar.divLengthY;
    const std::string title = viewState().ColourBarTitle.str();
    if (!title.empty())
        util::CENTSYLIMIT(
            bar.extentRight + 0.5f * v.HIDATV + v.OFFDATV + util::screenTextGrowth(v.HIDATV),
            height / 2.0f, v.HIDATV, title, 90.0f, static_cast<int>(title.size()), height);
    paintCells(colours, 4, n, bar.originX, yBottom, bar.originX + 0.1f, yTop, false);
}

}  // namespace views
