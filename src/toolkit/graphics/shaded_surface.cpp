// The shaded surface itself: cells from the back to the front, each filled
// with the colour its fill mode gives and outlined as the shade option asks.

#include "toolkit/graphics/shaded_surface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/contour_lines.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/polygon_fill.h"
#include "toolkit/graphics/presentation_grid.h"
#include "toolkit/graphics/presentation_plot.h"

namespace tk {
namespace {

int packedRgb(int colour, bool palette) {
    if (!palette) return colour;
    int r = 0, g = 0, b = 0;
    ColourNumberComponents(colour, r, g, b);
    return r + 256 * g + 65536 * b;
}

// The mean of packed colours, component by component, truncated.
int meanRgb(const std::array<int, 4>& rgb) {
    int r = 0, g = 0, b = 0;
    for (int c : rgb) {
        int cr = 0, cg = 0, cb = 0;
        SplitRgbColour(c, &cr, &cg, &cb);
        r += cr, g += cg, b += cb;
    }
    return r / 4 + 256 * (g / 4) + 65536 * (b / 4);
}

// Cell corners in drawing order: A at column i, B at i, B at i + 1, A at i + 1.
struct Quad {
    std::array<float, 4> z{}, x{}, y{};
};

class ShadedSurface {
  public:
    ShadedSurface(const SurfaceFunction& f, GridArray<float> grid, std::span<const float> levels,
                  GridArray<std::int32_t> colours)
        : p_(presentationPlotSettings()), f_(f), grid_(grid), levels_(levels), colours_(colours) {}

    void draw() {
        const int n = p_.dataSetCount, mode = p_.fillMode;
        palette_ = graphicsState().colourMode == 1 && mode != 3;
        gradient_ = p_.gradientFill && (mode == 1 || mode == 3 || (mode == 0 && n > 1));
        const int styled = mode == 0 && n >= 2 ? n : 2;
        styles_.assign(static_cast<std::size_t>(styled + 1), 0);
        for (int k = 1; k <= styled; ++k) {
            const int style = dataSetStyle(k).style;
            styles_[static_cast<std::size_t>(k)] = gradient_    ? 4
                                                   : style == 3 ? 3
                                                   : n < 2      ? 4
                                                   : style == 0 ? 0
                                                                : 4;
        }
        if (mode == 3) {
            ramp_ = ColourRamp::fromPlotSets();
            rgb_.emplace();
        }
        byCell_ = p_.shadeOption != 0 && p_.outlineColour == -1;
        outline_ = byCell_ ? -1 : codeColour(p_.outlineColour);
        if (byCell_) {
            graphicsState().fillOutline = 0;
            zeroFill_ = mode == 3 ? rgbOfNumberZero() : 0;
        }
        ShadedGridProjection(pp_, pq_, pr_, ps_, zScale_, xOffset_, yOffset_);
        xStep_ = p_.xSpan / p_.columnStepsReal;
        yStep_ = p_.ySpan / p_.rowStepsReal;
        drawCells();
        if (rgb_) rgb_->restore();
    }

  private:
    const PresentationPlotSettings& p_;
    const SurfaceFunction& f_;
    GridArray<float> grid_;
    std::span<const float> levels_;
    GridArray<std::int32_t> colours_;
    bool palette_ = true, gradient_ = false, byCell_ = false;
    std::vector<int> styles_;
    std::optional<ColourRamp> ramp_;
    std::optional<DirectRgbColours> rgb_;
    int outline_ = -1, zeroFill_ = 0;
    float pp_ = 0, pq_ = 0, pr_ = 0, ps_ = 0, zScale_ = 0, xOffset_ = 0, yOffset_ = 0;
    float xStep_ = 0, yStep_ = 0;
    bool colsAscending_ = true, rowsAscending_ = true;

    static int rgbOfNumberZero() {
        int rgb = 0;
        ColourNumberRgb(0, rgb);
        return rgb;
    }
    bool inRange(int colour) const { return colour >= 0 && colour <= (palette_ ? 255 : 0xFFFFFF); }
    // The outline colour of a code: -3 colour number 0; out of range none (-1).
    int codeColour(int code) const {
        if (code == -3) return palette_ ? 0 : rgbOfNumberZero();
        return inRange(code) ? code : -1;
    }
    float level(int k) const { return levels_[static_cast<std::size_t>(k - 1)]; }

    float value(int i, int j) const {
        if (p_.plotType == 5)
            return f_(p_.xFirst + static_cast<float>(i - 1) * xStep_,
                      p_.yFirst + static_cast<float>(j - 1) * yStep_);
        return grid_(i, j);
    }
    void project(int i, int j, float z, float& x, float& y) const {
        const float fi = static_cast<float>(i - 1), fj = static_cast<float>(j - 1);
        x = PgXToUnits(pp_ * fi + pq_ * fj + xOffset_);
        y = PgYToUnits(ps_ * fi - pr_ * fj + yOffset_ +
                       (std::clamp(z, p_.zFirst, p_.zLast) - p_.zFirst) * zScale_);
    }

    void drawCells() {
        const int nx = p_.valueCount, ny = p_.rowCount;
        const float a = p_.rotationAngle;
        colsAscending_ = a >= 45.0f && a < 225.0f;
        rowsAscending_ = a < 135.0f || a >= 315.0f;
        std::vector<int> rows;
        for (int t = 0; t < ny; ++t)
            rows.push_back(rowsAscending_ ? t + 1 : ny - t);
        for (int c = 0; c < nx - 1; ++c) {
            const int i = colsAscending_ ? c + 1 : nx - 1 - c;
            for (int t = 1; t < ny; ++t)
                drawCell(i, rows[static_cast<std::size_t>(t - 1)],
                         rows[static_cast<std::size_t>(t)], c, t - 1, c == nx - 2, t == ny - 1);
        }
    }

    void drawCell(int i, int A, int B, int column, int row, bool lastColumn, bool lastRow) {
        const std::array<int, 4> ci{i, i, i + 1, i + 1}, cj{A, B, B, A};
        Quad q;
        for (std::size_t m = 0; m < 4; ++m) {
            q.z[m] = value(ci[m], cj[m]);
            if (!PgValueIsPresent(q.z[m])) return;
            project(ci[m], cj[m], q.z[m], q.x[m], q.y[m]);
        }
        std::array<int, 4> corner{};
        int band = 1;
        const int flat = flatColour(q, i, std::min(A, B), cj, corner, band);
        int style = 4, fill = flat, outline = outline_;
        // Outlined by cell, every cell is a solid fill of colour 0 whatever
        // the band's own fill style.
        if (p_.fillMode == 0 && !byCell_) style = styles_[static_cast<std::size_t>(band)];
        if (p_.fillMode == 2 && flat == -1) style = 0;
        if (byCell_) {
            outline = flat;
            fill = zeroFill_;
        }
        if (style >= 1) {
            GraphicsState& g = graphicsState();
            g.fillStyle = style;
            if (p_.fillMode == 0 && style == 3 && !byCell_) GrColourN(dataSetStyle(band).colour2);
            const bool uniform =
                std::all_of(corner.begin(), corner.end(), [&](int c) { return c == corner[0]; });
            if (!gradient_ || byCell_ || uniform) {
                GrColourN(fill);
                YYPLYGON(q.x.data(), q.y.data(), 4, false);
            } else {
                gradientCell(q, corner);
            }
        }
        if (p_.shadeOption > 0 && inRange(outline) && (style >= 1 || p_.outlineEmptyCells != 0))
            outlineCell(q, outline, column, row, lastColumn, lastRow);
    }

    // The cell's flat colour and, for gradient cells, its corner colours.
    int flatColour(const Quad& q, int i, int lowRow, const std::array<int, 4>& cj,
                   std::array<int, 4>& corner, int& band) {
        const float mean = (q.z[0] + q.z[1] + q.z[2] + q.z[3]) / 4.0f;
        switch (p_.fillMode) {
            case 0:
                if (p_.dataSetCount == 1) {
                    band = faceBand(q);
                } else {
                    band = 1;
                    for (int k = 2; k <= p_.dataSetCount; ++k)
                        if (level(k - 1) <= mean) band = k;
                    for (std::size_t m = 0; m < 4; ++m)
                        corner[m] = packedRgb(dataSetStyle(cornerBand(q.z[m])).colour1, palette_);
                }
                return dataSetStyle(band).colour1;
            case 1: {
                std::array<int, 4> rgb{};
                for (std::size_t m = 0; m < 4; ++m) {
                    const int c = colours_(m < 2 ? i : i + 1, cj[m]);
                    corner[m] = gradient_ ? packedRgb(c, palette_) : c;
                    rgb[m] = packedRgb(c, palette_);
                }
                const int lowerLeft = colours_(i, lowRow);
                if (gradient_ || std::all_of(corner.begin(), corner.end(),
                                             [&](int c) { return c == corner[0]; }))
                    return gradient_ ? packedRgb(lowerLeft, palette_) : lowerLeft;
                const int average = meanRgb(rgb);
                return palette_ ? nearestCorner(corner, rgb, average) : average;
            }
            case 2:
                return colours_(i, lowRow);
            case 3: {
                const auto t = [&](float v) {
                    return (std::clamp(v, p_.zFirst, p_.zLast) - p_.zFirst) / p_.zSpan;
                };
                for (std::size_t m = 0; m < 4; ++m)
                    corner[m] = ramp_->colourAt(t(q.z[m]));
                return ramp_->colourAt(t(mean));
            }
            default:
                return 0;
        }
    }

    int cornerBand(float v) const {
        for (int k = 1; k < p_.dataSetCount; ++k)
            if (v < level(k)) return k;
        return p_.dataSetCount;
    }

    static int nearestCorner(const std::array<int, 4>& corner, const std::array<int, 4>& rgb,
                             int target) {
        int tr = 0, tg = 0, tb = 0;
        SplitRgbColour(target, &tr, &tg, &tb);
        std::size_t best = 0;
        int bestDistance = 0;
        for (std::size_t m = 0; m < 4; ++m) {
            int r = 0, g = 0, b = 0;
            SplitRgbColour(rgb[m], &r, &g, &b);
            const int d = (r - tr) * (r - tr) + (g - tg) * (g - tg) + (b - tb) * (b - tb);
            if (m == 0 || d < bestDistance) best = m, bestDistance = d;
        }
        return corner[best];
    }

    // Band 1 when the cell shows its top, 2 when its underside, from the
    // turn of its projected outline.
    int faceBand(const Quad& q) const {
        // Corners 0 (A, i), 1 (B, i), 2 (B, i + 1), 3 (A, i + 1).
        const float small = graphicsState().unitsSpanX / 100000.0f;
        if (colsAscending_ == rowsAscending_) {
            const float d1 = q.x[3] - q.x[0], d2 = q.x[3] - q.x[2];
            if (std::fabs(d1) < small || std::fabs(d2) < small) return q.y[2] <= q.y[3] ? 1 : 2;
            return (q.y[3] - q.y[0]) / d1 <= (q.y[3] - q.y[2]) / d2 ? 1 : 2;
        }
        const float d1 = q.x[2] - q.x[3], d2 = q.x[2] - q.x[1];
        if (std::fabs(d1) < small || std::fabs(d2) < small) {
            const bool up = rowsAscending_ ? q.y[0] <= q.y[3] : q.y[3] <= q.y[0];
            return up ? 1 : 2;
        }
        return (q.y[2] - q.y[3]) / d1 <= (q.y[2] - q.y[1]) / d2 ? 1 : 2;
    }

    // A gradient cell; a cell whose projected edges cross becomes two
    // triangles meeting at the crossing.
    void gradientCell(const Quad& q, const std::array<int, 4>& corner) {
        const int middle = meanRgb(corner);
        auto triangle = [&](std::size_t a, std::size_t b, float x, float y) {
            const std::array<float, 3> tx{q.x[a], q.x[b], x}, ty{q.y[a], q.y[b], y};
            const std::array<int, 3> tc{corner[a], corner[b], middle};
            FillGradientPolygon(tx.data(), ty.data(), tc.data(), 3);
        };
        float x = 0, y = 0;
        int code = 0;
        IntersectLines(q.x[0], q.y[0], q.x[3], q.y[3], q.x[1], q.y[1], q.x[2], q.y[2], x, y, code);
        if (code == 5) {
            triangle(0, 1, x, y);
            triangle(2, 3, x, y);
            return;
        }
        IntersectLines(q.x[0], q.y[0], q.x[1], q.y[1], q.x[3], q.y[3], q.x[2], q.y[2], x, y, code);
        if (code == 5) {
            triangle(3, 0, x, y);
            triangle(2, 1, x, y);
            return;
        }
        FillGradientPolygon(q.x.data(), q.y.data(), corner.data(), 4);
    }

    void outlineCell(const Quad& q, int colour, int column, int row, bool lastColumn,
                     bool lastRow) {
        GrColourN(colour);
        const int nb = std::max(p_.outlineColumnStep, 1), nc = std::max(p_.outlineRowStep, 1);
        const int shade = p_.shadeOption;
        auto line = [&](std::size_t a, std::size_t b) {
            LineBetweenUnits(q.x[a], q.y[a], q.x[b], q.y[b]);
        };
        if (shade == 3 && nb == 1 && nc == 1) {
            const std::array<float, 5> x{q.x[0], q.x[1], q.x[2], q.x[3], q.x[0]};
            const std::array<float, 5> y{q.y[0], q.y[1], q.y[2], q.y[3], q.y[0]};
            DrawPolylineUnits(x.data(), y.data(), 5);
            return;
        }
        if (shade == 1 || shade == 3) {
            // The leading side of each column in the drawing order.
            if (column % nb == 0) colsAscending_ ? line(0, 1) : line(3, 2);
            if (lastColumn) colsAscending_ ? line(3, 2) : line(0, 1);
        }
        if (shade == 2 || shade == 3) {
            if (row % nc == 0) line(0, 3);
            if (lastRow) line(1, 2);
        }
    }
};

}  // namespace

void YYCON3(const SurfaceFunction& f, std::span<const float> grid, int nxDim, int /*nyDim*/,
            std::span<const float> levels, std::span<const std::int32_t> colours) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    if (!p.threeD || (p.plotType != 8 && p.plotType != 5)) return;
    const int n = p.dataSetCount, nx = p.valueCount, ny = p.rowCount;
    const bool bands = p.fillMode == 0 && n >= 2;
    if (bands) {
        const std::size_t used = static_cast<std::size_t>(n - 1);
        for (std::size_t k = 1; k < std::min(used, levels.size()); ++k)
            if (!(levels[k] > levels[k - 1])) {
                ReportLibraryError(43, "YYCON3");
                return;
            }
        if (levels.size() < used) return;
    }
    const GridArray<float> z{grid, nxDim};
    const GridArray<std::int32_t> c{colours, nxDim};
    if (p.plotType == 8 && !z.covers(nx, ny)) return;
    if (p.plotType == 5 && !f) return;
    if ((p.fillMode == 1 || p.fillMode == 2) && !c.covers(nx, ny)) return;
    PgDrawBegin();
    ShadedSurface(f, z, levels, c).draw();
    PgDrawEnd();
}

void DrawShadedGrid(std::span<const float> grid, int nxDim, int nyDim,
                    std::span<const std::int32_t> colours) {
    const std::vector<float> zeros(
        static_cast<std::size_t>(presentationPlotSettings().dataSetCount), 0.0f);
    const SurfaceFunction sine = [](float x, float) { return std::sin(x); };
    YYCON3(sine, grid, nxDim, nyDim, zeros, colours);
}

}  // namespace tk
