#include "toolkit/graphics/contour_fill.h"

#include <algorithm>
#include <array>
#include <vector>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/presentation_grid.h"
#include "toolkit/graphics/presentation_plot.h"

namespace tk {
namespace {

bool gridPlot(int fillMode) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    return p.plotType == 8 && !p.threeD && p.fillMode == fillMode;
}

// The band boundaries b(1..N-1) of a filled-contour plot, or nothing (after
// error 43) when the given levels do not increase.
bool bandBoundaries(std::span<const float> levels, std::vector<float>& b) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    const int n = p.dataSetCount;
    b.assign(static_cast<std::size_t>(n - 1), 0.0f);
    if (levels.empty()) {
        for (int k = 1; k < n; ++k)
            b[static_cast<std::size_t>(k - 1)] =
                p.zFirst + static_cast<float>(k) * p.zSpan / static_cast<float>(n);
        return true;
    }
    if (levels.size() < b.size()) return false;
    for (std::size_t k = 1; k < b.size(); ++k)
        if (!(levels[k] > levels[k - 1])) {
            ReportLibraryError(43, "PgContourFill");
            return false;
        }
    std::copy_n(levels.begin(), b.size(), b.begin());
    return true;
}

// Paints the bands of one filled-contour plot: horizontal runs of one band
// are kept open and drawn as one rectangle when the band changes.
class BandPainter {
  public:
    explicit BandPainter(std::vector<float> boundaries) : b_(std::move(boundaries)) {}

    int bandOf(float v) const {
        for (std::size_t k = 0; k < b_.size(); ++k)
            if (v < b_[k]) return static_cast<int>(k) + 1;
        return static_cast<int>(b_.size()) + 1;
    }
    // The band of a whole cell, or 0 when a boundary passes through it.
    int wholeBand(const std::array<float, 4>& z) const {
        const float m = *std::min_element(z.begin(), z.end());
        for (std::size_t k = 0; k < b_.size(); ++k)
            if (m < b_[k]) {
                const float top = *std::max_element(z.begin(), z.end());
                return top < b_[k] ? static_cast<int>(k) + 1 : 0;
            }
        return static_cast<int>(b_.size()) + 1;
    }

    void startRow(float bottom, float top) {
        bottom_ = bottom, top_ = top;
        band_ = 0;
    }
    // Extends the open run over [left, right] in band k.
    void extend(int k, float left, float right) {
        if (k != band_) {
            flush();
            band_ = k;
            left_ = left;
        }
        right_ = right;
    }
    void flush() {
        if (band_ != 0) paint(band_, left_, bottom_, right_, top_);
        band_ = 0;
    }
    void paint(int k, float left, float bottom, float right, float top) {
        const DataSetStyle& s = dataSetStyle(k);
        if (s.style == 0) return;
        if (k != applied_) {
            GraphicsState& g = graphicsState();
            g.fillStyle = s.style;
            g.fillDensity = s.param1;
            g.fillAngle = s.param2;
            if (s.style == 3) GrColourN(s.colour2);
            GrColourN(s.colour1);
            applied_ = k;
        }
        GrRectangle(left, bottom, right, top);
    }

  private:
    std::vector<float> b_;
    int applied_ = 0;
    int band_ = 0;
    float left_ = 0, right_ = 0, bottom_ = 0, top_ = 0;
};

struct Cell {
    std::array<float, 4> z;  // lower-left, lower-right, upper-left, upper-right
    float x0, x1, y0, y1;    // data units
};

// K x K sub-cells from the top sub-row down; each takes the band of the
// bilinear value at its centre, and runs of one band along a sub-row are one
// rectangle.
void subdivide(BandPainter& painter, const Cell& c, int K) {
    const float k = static_cast<float>(K);
    const float xSub = (c.x1 - c.x0) / k, ySub = (c.y1 - c.y0) / k;
    const float dL = (c.z[2] - c.z[0]) / k, dR = (c.z[3] - c.z[1]) / k;
    float L = c.z[2], R = c.z[3];
    for (int r = K - 1; r >= 0; --r) {
        const float h = (R - L) / k, e = (2.0f * h - dL - dR) / 4.0f;
        painter.startRow(PgYToUnits(c.y0 + static_cast<float>(r) * ySub),
                         PgYToUnits(c.y0 + static_cast<float>(r + 1) * ySub));
        for (int s = 0; s < K; ++s) {
            const float v = L + static_cast<float>(s) * h + e;
            painter.extend(painter.bandOf(v), PgXToUnits(c.x0 + static_cast<float>(s) * xSub),
                           PgXToUnits(c.x0 + static_cast<float>(s + 1) * xSub));
        }
        painter.flush();
        L = c.z[0] + static_cast<float>(r) * dL;
        R = c.z[1] + static_cast<float>(r) * dR;
    }
}

void gradientCell(const BandPainter& painter, const Cell& c) {
    const std::array<float, 4> x{PgXToUnits(c.x0), PgXToUnits(c.x1), PgXToUnits(c.x1),
                                 PgXToUnits(c.x0)};
    const std::array<float, 4> y{PgYToUnits(c.y0), PgYToUnits(c.y0), PgYToUnits(c.y1),
                                 PgYToUnits(c.y1)};
    const std::array<float, 4> z{c.z[0], c.z[1], c.z[3], c.z[2]};
    std::array<int, 4> colours{};
    const bool palette = graphicsState().colourMode == 1;
    for (std::size_t m = 0; m < 4; ++m) {
        const int colour = dataSetStyle(painter.bandOf(z[m])).colour1;
        int r = 0, g = 0, b = 0;
        if (palette) ColourNumberComponents(colour, r, g, b);
        colours[m] = palette ? r + 256 * g + 65536 * b : colour;
    }
    FillGradientPolygon(x.data(), y.data(), colours.data(), 4);
}

}  // namespace

void PgContourFill(std::span<const float> grid, int nxDim, int /*nyDim*/,
                   std::span<const float> levels, std::span<const float> x,
                   std::span<const float> y) {
    if (!gridPlot(0)) return;
    const PresentationPlotSettings& p = presentationPlotSettings();
    const int nx = p.valueCount, ny = p.rowCount;
    const GridArray<float> z{grid, nxDim};
    const GridAxes axes{x, y};
    if (!z.covers(nx, ny) || !axes.fits(nx, ny)) return;
    std::vector<float> boundaries;
    if (!bandBoundaries(levels, boundaries)) return;
    PgDrawBegin();
    graphicsState().fillOutline = 0;
    BandPainter painter(std::move(boundaries));
    const int K = p.conFillCount;
    for (int j = ny - 1; j >= 1; --j) {
        const float y0 = axes.y(j), y1 = axes.y(j + 1);
        const float bottom = PgYToUnits(y0), top = PgYToUnits(y1);
        painter.startRow(bottom, top);
        for (int i = 1; i <= nx - 1; ++i) {
            const Cell c{{z(i, j), z(i + 1, j), z(i, j + 1), z(i + 1, j + 1)},
                         axes.x(i),
                         axes.x(i + 1),
                         y0,
                         y1};
            if (!std::all_of(c.z.begin(), c.z.end(), PgValueIsPresent)) {
                painter.flush();
                continue;
            }
            const int band = p.dataSetCount == 1 ? 1 : painter.wholeBand(c.z);
            if (band != 0) {
                painter.extend(band, PgXToUnits(c.x0), PgXToUnits(c.x1));
                continue;
            }
            painter.flush();
            if (p.gradientFill) {
                gradientCell(painter, c);
            } else {
                subdivide(painter, c, K);
                painter.startRow(bottom, top);
            }
        }
        painter.flush();
    }
    PgDrawEnd();
}

void DrawCellColourMap(std::span<const std::int32_t> colours, int nxDim, int /*nyDim*/,
                       std::span<const float> x, std::span<const float> y) {
    if (!gridPlot(2)) return;
    const PresentationPlotSettings& p = presentationPlotSettings();
    const int nx = p.valueCount, ny = p.rowCount;
    // The last column and row of the array are not read.
    const GridArray<std::int32_t> cells{colours, nxDim};
    const GridAxes axes{x, y};
    if (!cells.covers(nx - 1, ny - 1) || !axes.fits(nx, ny)) return;
    PgDrawBegin();
    SetFillPattern(4, 0, 0);
    auto drawRun = [](std::int32_t colour, float left, float bottom, float right, float top) {
        if (colour == -1) return;
        GrColourN(colour);
        GrRectangle(left, bottom, right, top);
    };
    for (int j = ny - 1; j >= 1; --j) {
        const float bottom = PgYToUnits(axes.y(j));
        const float top = PgYToUnits(axes.y(j + 1));
        std::int32_t pending = -1;
        float left = 0.0f, right = 0.0f;
        for (int i = 1; i <= nx - 1; ++i) {
            const std::int32_t c = cells(i, j);
            const float cellLeft = PgXToUnits(axes.x(i));
            if (i == 1) {
                pending = c;
                left = cellLeft;
            } else if (c != pending) {
                drawRun(pending, left, bottom, right, top);
                pending = c;
                left = cellLeft;
            }
            right = PgXToUnits(axes.x(i + 1));
        }
        drawRun(pending, left, bottom, right, top);
    }
    PgDrawEnd();
}

void ContourFillKey(std::span<const std::int32_t> colours, int nx, int nz) {
    DrawCellColourMap(colours, nx, nz);
}

}  // namespace tk
