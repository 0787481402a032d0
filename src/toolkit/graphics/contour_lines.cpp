// The entry of contour plots, the cell-by-cell engine for grids with given
// node positions, and the line attributes both engines apply per level.

#include "toolkit/graphics/contour_lines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/contour_support.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/polygon_fill.h"
#include "toolkit/graphics/presentation_grid.h"

namespace tk {

bool contourLevelsIncrease(std::span<const float> levels, const char* routine) {
    for (std::size_t k = 1; k < levels.size(); ++k)
        if (!(levels[k] > levels[k - 1])) {
            ReportLibraryError(43, routine);
            return false;
        }
    return true;
}

int contourLineStyle(int style) {
    if (graphicsState().outputColourCount <= 2) return std::abs(style);
    return style >= 0 ? style : 0;
}

ContourLevelLines::ContourLevelLines() {
    if (presentationPlotSettings().fillMode != 3) return;
    ramp_ = ColourRamp::fromPlotSets();
    rgb_.emplace();
}

void ContourLevelLines::apply(int k, float level) {
    const int style = contourLineStyle(dataSetStyle(k).style);
    if (style != graphicsState().lineStyle) SetLineStyle(style);
    GrColourN(ramp_ ? ramp_->colourOfValue(level) : dataSetStyle(k).colour1);
}

void ContourLevelLines::finish() {
    if (rgb_) rgb_->restore();
}

void PgPointToUnits(float x, float y, float& ux, float& uy) {
    ux = PgXToUnits(x);
    uy = PgYToUnits(y);
}

void DrawPolylineUnits(const float* x, const float* y, int count) {
    PolylineClipped(x, y, count, false);
}

namespace {

bool contourPlot() {
    const PresentationPlotSettings& p = presentationPlotSettings();
    return p.plotType == 8 && !p.threeD;
}

// One of the four triangles (corner m, the centre, corner m + 1) of a cell,
// with the heights over the level and the positions of its three vertices.
struct Triangle {
    std::array<float, 3> h, x, y;
    std::array<int, 3> sign;
};

// Which segment crosses a triangle, by the signs of corner m, the centre and
// corner m + 1 (0 below, 1 on, 2 above the level).
constexpr std::array<std::array<std::array<int, 3>, 3>, 3> kCaseTable{{
    // s(m+1) = 0: s(0) = 0, 1, 2; each by s(m) = 0, 1, 2
    {{{0, 0, 9}, {0, 1, 5}, {7, 4, 8}}},
    {{{0, 3, 6}, {2, 3, 2}, {6, 3, 0}}},
    {{{8, 4, 7}, {5, 1, 0}, {9, 0, 0}}},
}};

// The point where the level crosses the side between vertices p and q.
void sect(const Triangle& t, int p, int q, float& x, float& y) {
    const float hp = t.h[static_cast<std::size_t>(p)], hq = t.h[static_cast<std::size_t>(q)];
    x = (hq * t.x[static_cast<std::size_t>(p)] - hp * t.x[static_cast<std::size_t>(q)]) / (hq - hp);
    y = (hq * t.y[static_cast<std::size_t>(p)] - hp * t.y[static_cast<std::size_t>(q)]) / (hq - hp);
}

void vertex(const Triangle& t, int p, float& x, float& y) {
    x = t.x[static_cast<std::size_t>(p)];
    y = t.y[static_cast<std::size_t>(p)];
}

// The segment of a triangle's case (vertices 0 corner m, 1 centre, 2 corner m + 1).
void drawTriangleCase(const Triangle& t, int kind) {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    switch (kind) {
        case 1:
            vertex(t, 0, x1, y1), vertex(t, 1, x2, y2);
            break;
        case 2:
            vertex(t, 1, x1, y1), vertex(t, 2, x2, y2);
            break;
        case 3:
            vertex(t, 2, x1, y1), vertex(t, 0, x2, y2);
            break;
        case 4:
            vertex(t, 0, x1, y1), sect(t, 1, 2, x2, y2);
            break;
        case 5:
            vertex(t, 1, x1, y1), sect(t, 2, 0, x2, y2);
            break;
        case 6:
            vertex(t, 2, x1, y1), sect(t, 0, 1, x2, y2);
            break;
        case 7:
            sect(t, 0, 1, x1, y1), sect(t, 1, 2, x2, y2);
            break;
        case 8:
            sect(t, 1, 2, x1, y1), sect(t, 2, 0, x2, y2);
            break;
        case 9:
            sect(t, 2, 0, x1, y1), sect(t, 0, 1, x2, y2);
            break;
        default:
            return;
    }
    LineBetweenUnits(PgXToUnits(x1), PgYToUnits(y1), PgXToUnits(x2), PgYToUnits(y2));
}

int signOf(float h) {
    return h > 0.0f ? 2 : h == 0.0f ? 1 : 0;
}

// The contour segments of one cell at one level: corners 1..4 counter-
// clockwise from the lower left, the centre at the mean of the valid ones.
void contourCell(const std::array<float, 4>& z, const std::array<bool, 4>& valid,
                 const std::array<float, 4>& x, const std::array<float, 4>& y, float level) {
    std::array<float, 4> h{};
    float sum = 0;
    int n = 0;
    for (std::size_t m = 0; m < 4; ++m)
        if (valid[m]) {
            h[m] = z[m] - level;
            sum += h[m];
            ++n;
        }
    const float h0 = sum / static_cast<float>(n);
    const float xc = (x[0] + x[1]) / 2.0f, yc = (y[0] + y[3]) / 2.0f;
    for (std::size_t m = 0; m < 4; ++m) {
        const std::size_t m3 = (m + 1) % 4;
        if (!valid[m] || !valid[m3]) continue;
        const Triangle t{{h[m], h0, h[m3]},
                         {x[m], xc, x[m3]},
                         {y[m], yc, y[m3]},
                         {signOf(h[m]), signOf(h0), signOf(h[m3])}};
        drawTriangleCase(
            t, kCaseTable[static_cast<std::size_t>(t.sign[2])][static_cast<std::size_t>(t.sign[1])]
                         [static_cast<std::size_t>(t.sign[0])]);
    }
}

}  // namespace

void PgContourIrregular(std::span<const float> grid, int nxDim, int /*nyDim*/,
                        std::span<const float> levels, std::span<const float> xs,
                        std::span<const float> ys) {
    if (!contourPlot()) return;
    const PresentationPlotSettings& p = presentationPlotSettings();
    const int nx = p.valueCount, ny = p.rowCount, n = p.dataSetCount;
    const GridArray<float> z{grid, nxDim};
    if (!contourLevelsIncrease(levels.first(std::min(levels.size(), std::size_t(n))),
                               "PgContourIrregular"))
        return;
    if (!z.covers(nx, ny) || levels.size() < static_cast<std::size_t>(n) ||
        xs.size() < static_cast<std::size_t>(nx) || ys.size() < static_cast<std::size_t>(ny))
        return;
    const auto c = [&](int k) { return levels[static_cast<std::size_t>(k - 1)]; };
    PgDrawBegin();
    ContourLevelLines lines;
    int applied = 0;
    for (int j = ny - 1; j >= 1; --j)
        for (int i = 1; i <= nx - 1; ++i) {
            const std::array<int, 4> ci{i, i + 1, i + 1, i}, cj{j, j, j + 1, j + 1};
            std::array<float, 4> zc{}, xc{}, yc{};
            std::array<bool, 4> valid{};
            float zmin = 0, zmax = 0;
            int count = 0;
            for (std::size_t m = 0; m < 4; ++m) {
                zc[m] = z(ci[m], cj[m]);
                xc[m] = xs[static_cast<std::size_t>(ci[m] - 1)];
                yc[m] = ys[static_cast<std::size_t>(cj[m] - 1)];
                valid[m] = PgValueIsPresent(zc[m]);
                if (!valid[m]) continue;
                zmin = count == 0 ? zc[m] : std::min(zmin, zc[m]);
                zmax = count == 0 ? zc[m] : std::max(zmax, zc[m]);
                ++count;
            }
            if (count < 2 || zmax < c(1) || zmin > c(n)) continue;
            for (int k = 1; k <= n; ++k) {
                if (c(k) < zmin || c(k) > zmax) continue;
                if (k != applied) {
                    lines.apply(k, c(k));
                    applied = k;
                }
                contourCell(zc, valid, xc, yc, c(k));
            }
        }
    lines.finish();
    PgDrawEnd();
}

void DrawContourPlot(std::span<const float> grid, int nxDim, int nyDim,
                     std::span<const float> levels, std::span<const float> x,
                     std::span<const float> y) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    const auto n = static_cast<std::size_t>(p.dataSetCount);
    std::vector<float> c(n);
    if (!levels.empty()) {
        if (levels.size() < n) return;
        std::copy_n(levels.begin(), n, c.begin());
    } else {
        for (std::size_t k = 1; k <= n; ++k)
            c[k - 1] = p.zFirst + static_cast<float>(k) * p.zSpan / static_cast<float>(n);
    }
    if (x.empty() && y.empty()) {
        PgContourRegular(grid, nxDim, nyDim, c);
        return;
    }
    const GridAxes given{x, y};
    if (!given.fits(p.valueCount, p.rowCount)) return;
    std::vector<float> xs(static_cast<std::size_t>(p.valueCount));
    std::vector<float> ys(static_cast<std::size_t>(p.rowCount));
    for (int i = 1; i <= p.valueCount; ++i)
        xs[static_cast<std::size_t>(i - 1)] = given.x(i);
    for (int j = 1; j <= p.rowCount; ++j)
        ys[static_cast<std::size_t>(j - 1)] = given.y(j);
    PgContourIrregular(grid, nxDim, nyDim, c, xs, ys);
}

}  // namespace tk
