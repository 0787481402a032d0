#include "util/graph_curves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/lines.h"
#include "util/axis_scaling.h"
#include "util/graph_clip.h"
#include "util/graph_package_state.h"
#include "util/pen_plotter.h"
#include "util/plane_geometry.h"

namespace util {

namespace {

constexpr float kMissingAbove = 1.0e10f;

bool missing(float x, float y) {
    return x > kMissingAbove || y > kMissingAbove;
}

// N limited to what the arrays hold.
int countOf(int n, std::size_t a, std::size_t b) {
    return std::clamp<int>(n, 0, static_cast<int>(std::min(a, b)));
}

// Marker figures as polylines of corners in half sizes about the point.
struct Corner {
    float u, v;
};
using Polyline = std::vector<Corner>;
using Figure = std::vector<Polyline>;

const Polyline kSquare{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}};
const Polyline kDiamond{{-1, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, 0}};
const Polyline kPlusH{{-1, 0}, {1, 0}}, kPlusV{{0, -1}, {0, 1}};
const Polyline kCrossA{{-1, 1}, {1, -1}}, kCrossB{{-1, -1}, {1, 1}};
const Polyline kTriangleUp{{-1, -1}, {1, -1}, {0, 1}, {-1, -1}};
const Polyline kTriangleDown{{-1, 2}, {1, 2}, {0, 0}, {-1, 2}};
const Polyline kTriangleDownCentred{{-1, 1}, {1, 1}, {0, -1}, {-1, 1}};
const Polyline kTriangleRight{{-2, 1}, {0, 0}, {-2, -1}, {-2, 1}};

// The figures are made once: thousands of markers draw the same few.
const Figure& figureOf(std::int32_t type, bool fill, bool clipped) {
    static const std::array<Figure, 12> kFigures{{
        {kSquare},
        {kDiamond},
        {kPlusH, kPlusV},
        {kCrossA, kCrossB},
        {kSquare, kCrossA, kCrossB},
        {kDiamond, kSquare},
        {kPlusH, kPlusV, kDiamond},
        {kCrossA, kCrossB, kPlusH, kPlusV},
        {kTriangleUp},
        {kTriangleDown},
        {kTriangleRight},
        {kTriangleDownCentred},
    }};
    if (type == 10 && clipped) return kFigures[11];
    if (type >= 1 && type <= 11) return kFigures[static_cast<std::size_t>(type - 1)];
    return kFigures[fill ? 1 : 0];
}

// Each polyline of the figure goes to the pen as one run of corners, the
// first moved to and the rest drawn, and the pen ends at the point.
template <typename Pen>
void drawMarker(float px, float py, float dx, float dy, const Figure& figure, Pen&& pen) {
    const PenRun run;
    std::array<float, 8> x{}, y{};
    for (const Polyline& part : figure) {
        const std::size_t n = std::min(part.size(), x.size());
        for (std::size_t i = 0; i < n; ++i) {
            x[i] = px + part[i].u * dx;
            y[i] = py + part[i].v * dy;
        }
        pen(std::span<const float>(x.data(), n), std::span<const float>(y.data(), n));
    }
    const float at[1] = {px}, atY[1] = {py};
    pen(std::span<const float>(at), std::span<const float>(atY));
}

struct SeriesFlags {
    bool alternate = false;
    bool raw = false;
    bool noBreaks = false;
    bool signPens = false;
};

float markerHalfSize(const AxisRecord& a) {
    const float area = (a.clipXMax - a.clipXMin) * (a.clipYMax - a.clipYMin);
    float box = GET_BOX();
    if (box <= 0.0f) {
        box = 0.01f;
        SET_BOX(box);
    }
    return std::min(std::sqrt(area) * box, 0.03f);
}

// The height of one device pixel in plot units, which keeps overlapping
// branches of a loop apart in exclusive-or drawing.
float pixelHeight() {
    float x1 = 0.0f, y1 = 0.0f, x2 = 0.0f, y2 = 0.0f;
    XYIPIX(x1, y1, 0, 1);
    XYIPIX(x2, y2, 0, 2);
    return std::fabs(y2 - y1);
}

bool outsideLoosely(float px, float py, const AxisRecord& a) {
    return py < 0.99f * a.clipYMin || 0.99f * py > a.clipYMax || px < 0.99f * a.clipXMin ||
           0.99f * px > a.clipXMax;
}

// Where x turns back against the run of the whole series, or stands still.
bool turningPoint(std::span<const float> x, int i, int n) {
    if (i < 1 || i > n - 2) return false;
    const float first = x[0], last = x[static_cast<std::size_t>(n - 1)];
    if (first == last) return false;
    const float a = x[static_cast<std::size_t>(i - 1)], b = x[static_cast<std::size_t>(i)],
                c = x[static_cast<std::size_t>(i + 1)];
    if (b == c) return true;
    if (last < first) return b < a && b < c;
    return b > a && b > c;
}

// The points of a series line on their way to the pen, gathered so that
// the clipper and the plotter take them a run at a time. A point with pen 3
// starts a new run; so does a full buffer, the run going on drawn.
class SeriesPen {
  public:
    SeriesPen(bool clipped, const AxisRecord& a) : clipped_(clipped), axis_(a) {}
    SeriesPen(const SeriesPen&) = delete;
    SeriesPen& operator=(const SeriesPen&) = delete;

    void add(float px, float py, std::int32_t code) {
        if (code != 2 || count_ == kSize) flush();
        if (count_ == 0) code_ = code;
        x_[count_] = px;
        y_[count_] = py;
        ++count_;
    }
    void flush() {
        if (count_ == 0) return;
        const std::span<const float> x(x_.data(), count_), y(y_.data(), count_);
        if (clipped_) {
            PLOTCP(x, y, code_, axis_);
        } else {
            PLOTXY(x[0], y[0], code_);
            drawThrough(x.subspan(1), y.subspan(1));
        }
        count_ = 0;
    }

  private:
    static constexpr std::size_t kSize = 512;
    bool clipped_;
    const AxisRecord& axis_;
    std::int32_t code_ = 3;
    std::size_t count_ = 0;
    std::array<float, kSize> x_, y_;
};

void plotSeries(std::span<const float> x, std::span<const float> y, int n, bool lmark,
                const AxisRecord& a, SeriesFlags f) {
    n = countOf(n, x.size(), y.size());
    const float area = (a.clipXMax - a.clipXMin) * (a.clipYMax - a.clipYMin);
    if (std::isnan(area) || !(area > 0.0f)) return;
    const float m = markerHalfSize(a);
    const float p = L_XOR() ? pixelHeight() : 0.0f;
    if (!(f.raw && lmark)) PCLIP(a.clipXMin, a.clipXMax, a.clipYMin, a.clipYMax);
    const PenRun run;
    SeriesPen line(!f.raw, a);

    GraphPackageState& s = graphPackageState();
    const bool switchPens = f.alternate || f.signPens;
    s.alternatePenOn = f.alternate;
    if (switchPens) {
        GETPEN(s.savedPen);
        s.alternatePen = s.savedPen < 11 ? s.savedPen + 1 : s.savedPen - 1;
    }
    std::int32_t code = 3;
    float offset = 0.0f;
    bool negative = false;
    const bool clippedLine = !lmark && !f.raw;
    const bool breaks = !f.noBreaks && !a.noTurningBreaks;
    // The record as the loop reads it, which the points gathered cannot
    // overwrite: its values stay in registers.
    const AxisRecord r = a;
    for (int i = 0; i < n; ++i) {
        const float xi = x[static_cast<std::size_t>(i)], yi = y[static_cast<std::size_t>(i)];
        if (missing(xi, yi)) {
            code = 3;
            continue;
        }
        const float px = PLOFX(xi, r);
        const float py = PLOFY(yi, r) + offset * p;
        if (clippedLine) {
            // Inside or out, the clipper takes every point of the line.
            if (f.signPens && !outsideLoosely(px, py, r) && (yi < 0.0f) != negative) {
                negative = yi < 0.0f;
                line.flush();
                SETPEN(negative ? s.alternatePen : s.savedPen);
            }
            line.add(px, py, code);
            code = 2;
        } else if (outsideLoosely(px, py, r)) {
            code = 3;
        } else if (!lmark) {
            line.add(px, py, code);
            code = 2;
        } else {
            const bool fill = (yi < 0.0f && a.logY) || a.filledMarkers;
            if (f.signPens) SETPEN(fill ? s.alternatePen : s.savedPen);
            BOX(px, py, m, m, fill, a);
        }
        if (breaks && turningPoint(x, i, n)) {
            code = 3;
            if (f.alternate && L_XOR()) {
                line.flush();
                std::int32_t pen = 0;
                GETPEN(pen);
                SETPEN(pen == s.alternatePen ? s.savedPen : s.alternatePen);
                offset = offset == 1.0f ? -1.0f : 1.0f;
            }
        }
    }
    line.flush();
    if (switchPens) SETPEN(s.savedPen);
}

bool insidePoint(float px, float py, const AxisRecord& a) {
    return a.clipXMin <= px && px < a.clipXMax && a.clipYMin <= py && py < a.clipYMax;
}

float smallMarkerHalfSize(const AxisRecord& a) {
    const float area = (a.clipXMax - a.clipXMin) * (a.clipYMax - a.clipYMin);
    return std::min(0.01f * std::sqrt(std::fabs(area) + 1.0e-30f), 0.03f);
}

bool flagAt(std::span<const bool> flags, int i) {
    return static_cast<std::size_t>(i) < flags.size() && flags[static_cast<std::size_t>(i)];
}

// Pen PENS(IPEN(i) mod M + 1) when IPEN(i) >= 0.
void penFromTable(std::span<const std::int32_t> ipen, std::span<const std::int32_t> pens, int i,
                  int modulus) {
    if (static_cast<std::size_t>(i) >= ipen.size()) return;
    const std::int32_t k = ipen[static_cast<std::size_t>(i)];
    if (k < 0) return;
    const auto slot = static_cast<std::size_t>(k % modulus);
    if (slot < pens.size()) SETPEN(pens[slot]);
}

// A marker of the given type with the record's other settings.
void markerOfType(float px, float py, float dx, float dy, std::int32_t type, AxisRecord& a) {
    const std::int32_t kept = a.markerType;
    a.markerType = type;
    BOX(px, py, dx, dy, false, a);
    a.markerType = kept;
}

}  // namespace

void GN_MOVE(float x, float y, const AxisRecord& a) {
    PLOTXY(PLOFX(x, a), PLOFY(y, a), 3);
}

void GN_DRAW(float x, float y, const AxisRecord& a) {
    PLOTXY(PLOFX(x, a), PLOFY(y, a), 2);
}

void GN_BOX(float x, float y, const AxisRecord& a) {
    const float px[1] = {x}, py[1] = {y};
    GNPLOT(px, py, 1, true, a);
}

void GN_SYMB(std::span<const float> x, std::span<const float> y, int n, const AxisRecord& a) {
    GNPLOT(x, y, n, true, a);
}

void BOX(float px, float py, float dx, float dy, bool lfill, const AxisRecord& a) {
    drawMarker(px, py, dx, dy, figureOf(a.markerType, lfill, false),
               [](std::span<const float> u, std::span<const float> v) {
                   PLOTXY(u[0], v[0], 3);
                   drawThrough(u.subspan(1), v.subspan(1));
               });
}

void BOX_CP(float px, float py, float dx, float dy, bool lfill, const AxisRecord& a) {
    drawMarker(px, py, dx, dy, figureOf(a.markerType, lfill, true),
               [&a](std::span<const float> u, std::span<const float> v) { PLOTCP(u, v, 3, a); });
}

void SETMARKER(std::int32_t itype, AxisRecord& a) {
    a.markerType = itype;
}

void GNPLOT(std::span<const float> x, std::span<const float> y, int n, bool lmark,
            const AxisRecord& a) {
    plotSeries(x, y, n, lmark, a, {});
}

void GNPLOT2(std::span<const float> x, std::span<const float> y, int n, bool lmark,
             const AxisRecord& a) {
    plotSeries(x, y, n, lmark, a, {.alternate = true, .noBreaks = true});
}

void GNPLOTALT(std::span<const float> x, std::span<const float> y, int n, bool lmark,
               const AxisRecord& a) {
    plotSeries(x, y, n, lmark, a, {.alternate = true});
}

void GNPLOTRAW(std::span<const float> x, std::span<const float> y, int n, bool lmark,
               const AxisRecord& a) {
    plotSeries(x, y, n, lmark, a, {.raw = true});
}

void GNPLOTSIGN(std::span<const float> x, std::span<const float> y, int n, bool lmark,
                const AxisRecord& a) {
    plotSeries(x, y, n, lmark, a, {.signPens = true});
}

void GNPLTM(std::span<const float> x, std::span<const float> y, int n, std::span<const bool> lflag,
            AxisRecord& a) {
    n = countOf(n, x.size(), y.size());
    const float m = smallMarkerHalfSize(a);
    for (int i = 0; i < n; ++i) {
        const float px = PLOFX(x[static_cast<std::size_t>(i)], a);
        const float py = PLOFY(y[static_cast<std::size_t>(i)], a);
        if (!insidePoint(px, py, a)) continue;
        markerOfType(px, py, m, m, flagAt(lflag, i) ? 4 : 1, a);
    }
}

void GNPLTS(std::span<const float> x, std::span<const float> y, std::span<const float> s, int n,
            std::span<const bool> lflag, AxisRecord& a) {
    n = countOf(n, x.size(), y.size());
    for (int i = 0; i < n; ++i) {
        const float px = PLOFX(x[static_cast<std::size_t>(i)], a);
        const float py = PLOFY(y[static_cast<std::size_t>(i)], a);
        if (!insidePoint(px, py, a)) continue;
        float dy = 0.025f;
        const float si =
            static_cast<std::size_t>(i) < s.size() ? s[static_cast<std::size_t>(i)] : 0.0f;
        if (si > 0.0f) {
            float h = a.scaleY * si;
            if (a.logY) {
                h = std::log10(si) * a.divLengthY;
                if (a.scaleY > 0.0f) h *= a.scaleY;
            }
            dy = std::max(dy, h);
        }
        markerOfType(px, py, 0.025f, dy, flagAt(lflag, i) ? 4 : a.markerType, a);
    }
}

void GNPLTL(std::span<const float> x, std::span<const float> y, int n,
            std::span<const std::int32_t> ipen, std::span<const std::int32_t> pens, bool lmark,
            AxisRecord& a) {
    n = countOf(n, x.size(), y.size());
    const float m = smallMarkerHalfSize(a);
    const PenRun run;
    std::int32_t code = 3;
    for (int i = 0; i < n; ++i) {
        const float px = PLOFX(x[static_cast<std::size_t>(i)], a);
        const float py = PLOFY(y[static_cast<std::size_t>(i)], a);
        if (!insidePoint(px, py, a)) continue;
        penFromTable(ipen, pens, i, 5);
        if (lmark) {
            markerOfType(px, py, m, m, 1, a);
        } else {
            PLOTXY(px, py, code);
            code = 2;
        }
    }
}

void GNPLTLM(std::span<const float> x, std::span<const float> y, int n,
             std::span<const std::int32_t> ipen, std::span<const std::int32_t> pens,
             std::span<const bool> lflag, AxisRecord& a) {
    n = countOf(n, x.size(), y.size());
    const float m = smallMarkerHalfSize(a);
    for (int i = 0; i < n; ++i) {
        const float px = PLOFX(x[static_cast<std::size_t>(i)], a);
        const float py = PLOFY(y[static_cast<std::size_t>(i)], a);
        if (!insidePoint(px, py, a)) continue;
        penFromTable(ipen, pens, i, 15);
        markerOfType(px, py, m, m, flagAt(lflag, i) ? 4 : 1, a);
    }
}

void GNFILL(float& px1, float& py1, float& px2, float& py2, float& w, std::int32_t icol,
            const AxisRecord& a) {
    // Corners in either order; a rectangle left with no width or height
    // beside the window draws nothing.
    if (px2 < px1) std::swap(px1, px2);
    if (py2 < py1) std::swap(py1, py2);
    if (a.clipXMin < a.clipXMax) {
        px1 = std::max(px1, a.clipXMin);
        px2 = std::min(px2, a.clipXMax);
        if (px2 <= px1 || LNLYEQ(px1, px2)) return;
    }
    if (a.clipYMin < a.clipYMax) {
        py1 = std::max(py1, a.clipYMin);
        py2 = std::min(py2, a.clipYMax);
        if (py2 <= py1 || LNLYEQ(py1, py2)) return;
    }
    w = px2 - px1;
    tk::SetFillPattern(4, 1, 1);
    PLOTFILLRECT(px1, py1, px2, py2, w, icol);
}

void GNPOLYFILL(std::span<const float> x, std::span<const float> y, int n, std::int32_t icol,
                const AxisRecord& a) {
    n = countOf(n, x.size(), y.size());
    std::vector<float> px(static_cast<std::size_t>(n)), py(static_cast<std::size_t>(n));
    auto inside = [](float v, float lo, float hi) {
        if (v > hi - 0.01f) v = hi - 0.01f;
        if (v < lo + 0.001f) v = lo + 0.01f;
        return v;
    };
    for (std::size_t i = 0; i < px.size(); ++i) {
        px[i] = inside(PLOFX(x[i], a), a.clipXMin, a.clipXMax) + a.originX;
        py[i] = inside(PLOFY(y[i], a), a.clipYMin, a.clipYMax) + a.originY;
    }
    tk::SetPlotModeLetter('N');
    tk::GrColourN(icol);
    tk::SetFillPattern(4, 1, 1);
    tk::FillPolygonTriangulated(px.data(), py.data(), n);
}

void PAGECLEAR() {
    // The whole page whatever origin and factor are in force.
    const PlotterState& s = plotterState();
    const float fx = s.factorX != 0.0f ? s.factorX : 1.0f;
    const float fy = s.factorY != 0.0f ? s.factorY : 1.0f;
    tk::SetFillPattern(4, 1, 1);
    PLOTFILLRECT(-s.originX, -s.originY, 10.0f / fx - s.originX, 8.0f / fy - s.originY, 10.0f / fx,
                 15);
}

void DRAWANGLINE(const AxisRecord& a, float slope) {
    const float nx = static_cast<float>(a.divCountX), ny = static_cast<float>(a.divCountY);
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (std::fabs(slope) <= 1.0f) {
        const float v = nx * 0.5f * a.stepX * slope;
        x1 = -v, y1 = a.startY, x2 = v, y2 = a.startY + ny * a.stepY;
    } else {
        const float v = ny * 0.5f * a.stepY / slope;
        x1 = a.startX, y1 = -v, x2 = a.startX + nx * a.stepX, y2 = v;
    }
    PLOTXY(PLOFX(x1, a), PLOFY(y1, a), 3);
    PLOTXY(PLOFX(x2, a), PLOFY(y2, a), 2);
}

namespace {

struct Window {
    float xmin, xmax, ymin, ymax;
    bool contains(float x, float y) const {
        return xmin <= x && x <= xmax && ymin <= y && y <= ymax;
    }
};

Window dashWindow(const AxisRecord& a) {
    const GraphPackageState& s = graphPackageState();
    if (s.clipping) return {s.clipXMin, s.clipXMax, s.clipYMin, s.clipYMax};
    if (s.noWindow) return {-1.0e10f, 1.0e10f, -1.0e10f, 1.0e10f};
    return {a.clipXMin, a.clipXMax, a.clipYMin, a.clipYMax};
}

// Walks the path in plot units, alternating dashes and gaps; a dash piece
// whose end is outside the window is moved over. Missing points break the
// path. Dashes or gaps of no length draw the path solid.
void dashedPath(const std::vector<float>& px, const std::vector<float>& py,
                const std::vector<bool>& gap, float dash, float gapLength, const Window& w) {
    const bool solid = !(dash > 0.0f) || !(gapLength > 0.0f);
    bool inDash = true;
    float left = dash;
    bool started = false;
    float cx = 0.0f, cy = 0.0f;
    const PenRun run;
    for (std::size_t i = 0; i < px.size(); ++i) {
        if (gap[i]) {
            started = false;
            continue;
        }
        if (!started) {
            cx = px[i], cy = py[i];
            PLOTXY(cx, cy, 3);
            started = true;
            continue;
        }
        const float ex = px[i], ey = py[i];
        const float length = std::hypot(ex - cx, ey - cy);
        // Dashes far finer than the segment (a point far off the graph)
        // could never be seen; the segment is then walked in one piece.
        if (solid || length / std::min(dash, gapLength) > 1.0e5f) {
            PLOTXY(ex, ey, w.contains(ex, ey) ? 2 : 3);
            cx = ex, cy = ey;
            continue;
        }
        float done = 0.0f;
        const float sx = cx, sy = cy;
        while (length - done > 0.0f) {
            const float piece = std::min(left, length - done);
            done += piece;
            const float t = done / length;
            const float qx = sx + t * (ex - sx), qy = sy + t * (ey - sy);
            PLOTXY(qx, qy, inDash && w.contains(qx, qy) ? 2 : 3);
            left -= piece;
            if (left <= 0.0f) {
                inDash = !inDash;
                left = inDash ? dash : gapLength;
            }
        }
        cx = ex, cy = ey;
    }
}

void dashedPlotUnits(std::span<const float> x, std::span<const float> y, int n, float dash,
                     float gap, const AxisRecord& a, bool graphValues) {
    n = countOf(n, x.size(), y.size());
    std::vector<float> px(static_cast<std::size_t>(n)), py(static_cast<std::size_t>(n));
    std::vector<bool> missingPoint(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < px.size(); ++i) {
        missingPoint[i] = graphValues && missing(x[i], y[i]);
        px[i] = graphValues ? PLOFX(x[i], a) : x[i];
        py[i] = graphValues ? PLOFY(y[i], a) : y[i];
    }
    dashedPath(px, py, missingPoint, dash, gap, dashWindow(a));
}

}  // namespace

void DS_PLOT(std::span<const float> x, std::span<const float> y, int n, float dash, float gap,
             const AxisRecord& a) {
    dashedPlotUnits(x, y, n, dash, gap, a, true);
}

void DS_PLOTPL(std::span<const float> x, std::span<const float> y, int n, float dash, float gap,
               const AxisRecord& a) {
    dashedPlotUnits(x, y, n, dash, gap, a, false);
}

void DSPLOT(std::span<const float> x, std::span<const float> y, int n, float dash, float gap,
            const AxisRecord& a) {
    n = countOf(n, x.size(), y.size());
    int start = 0;
    while (start < n) {
        if (n - start < 3) {
            DS_PLOT(x.subspan(static_cast<std::size_t>(start)),
                    y.subspan(static_cast<std::size_t>(start)), n - start, dash, gap, a);
            return;
        }
        // The run keeps the direction of its first step until x turns.
        const bool rising =
            x[static_cast<std::size_t>(start + 1)] >= x[static_cast<std::size_t>(start)];
        int end = start + 1;
        while (end + 1 < n) {
            const float d = x[static_cast<std::size_t>(end + 1)] - x[static_cast<std::size_t>(end)];
            if (rising ? d < 0.0f : d > 0.0f) break;
            ++end;
        }
        DS_PLOT(x.subspan(static_cast<std::size_t>(start)),
                y.subspan(static_cast<std::size_t>(start)), end - start + 1, dash, gap, a);
        start = end + 1;
    }
}

}  // namespace util
