#include "platform/gdi/raster.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace win::gdi {
namespace {

constexpr std::uint32_t kMask = 0xFFFFFF;

// Hatch patterns, 8 rows of 8 bits, bit 7 = leftmost pixel.
constexpr std::uint8_t kHatch[6][8] = {
    {0, 0, 0, 0, 0xFF, 0, 0, 0},                       // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

std::uint32_t snapMono(std::uint32_t p) {
    const int sum = static_cast<int>((p >> 16) & 0xFF) + static_cast<int>((p >> 8) & 0xFF) +
                    static_cast<int>(p & 0xFF);
    return sum >= 384 ? kMask : 0;
}

int mod(int a, int m) {
    const int r = a % m;
    return r < 0 ? r + m : r;
}

void putPixel(RasterTarget& t, int x, int y, const Paint& paint) {
    std::uint32_t src;
    if (!paint.sourceAt(x, y, src)) return;
    std::uint32_t& d = t.surface->at(x + t.ox, y + t.oy);
    if (t.surface->monochrome) src = snapMono(src);
    d = applyRop2(paint.rop2, src, d) & kMask;
}

}  // namespace

bool Paint::sourceAt(int x, int y, std::uint32_t& out) const {
    switch (kind) {
        case Kind::Solid:
            out = color;
            return true;
        case Kind::Pattern: {
            if (!pattern || pattern->width <= 0 || pattern->height <= 0) return false;
            const std::uint32_t p =
                pattern->at(mod(x - orgX, pattern->width), mod(y - orgY, pattern->height));
            out = pattern->monochrome ? (p ? bg : fg) : p;
            return true;
        }
        case Kind::Hatch: {
            const bool on = (kHatch[hatch % 6][mod(y - orgY, 8)] >> (7 - mod(x - orgX, 8))) & 1;
            if (on)
                out = fg;
            else if (opaqueBackground)
                out = bg;
            else
                return false;
            return true;
        }
    }
    return false;
}

std::uint32_t applyRop2(int rop2, std::uint32_t p, std::uint32_t d) {
    const unsigned t = static_cast<unsigned>(rop2 - 1) & 0xF;
    std::uint32_t r = 0;
    if (t & 1) r |= ~p & ~d;
    if (t & 2) r |= ~p & d;
    if (t & 4) r |= p & ~d;
    if (t & 8) r |= p & d;
    return r & kMask;
}

std::uint32_t applyRop3(std::uint32_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    const unsigned t = (rop >> 16) & 0xFF;
    std::uint32_t r = 0;
    for (unsigned k = 0; k < 8; ++k) {
        if (!((t >> k) & 1)) continue;
        const std::uint32_t mp = (k & 4) ? p : ~p;
        const std::uint32_t ms = (k & 2) ? s : ~s;
        const std::uint32_t md = (k & 1) ? d : ~d;
        r |= mp & ms & md;
    }
    return r & kMask;
}

void paintSpan(RasterTarget& t, int y, int x0, int x1, const Paint& paint) {
    if (paint.kind == Paint::Kind::Solid && (paint.rop2 == 13 || paint.rop2 == 7)) {
        // The common cases, a colour copied or exclusive-or'ed, a row at a time.
        std::uint32_t c = paint.color & kMask;
        if (t.surface->monochrome) c = snapMono(c);
        std::uint32_t* row = &t.surface->at(x0 + t.ox, y + t.oy);
        if (paint.rop2 == 13)
            std::fill(row, row + (x1 - x0), c);
        else
            for (int i = 0; i < x1 - x0; ++i)
                row[i] = (row[i] ^ c) & kMask;
        return;
    }
    for (int x = x0; x < x1; ++x)
        putPixel(t, x, y, paint);
}

void paintCoverage(RasterTarget& t, const Coverage& c, const Paint& paint) {
    std::vector<Span> spans;
    for (int k = 0; k < c.rowCount(); ++k) {
        const int y = c.top() + k;
        spans.clear();
        intersectSpans(c.rowAt(k), t.clip.row(y), spans);
        for (const Span& s : spans)
            paintSpan(t, y, s.x0, s.x1, paint);
    }
}

void paintRegion(RasterTarget& t, const Region& region, const Paint& paint) {
    const Region r = Region::combine(region, t.clip, Region::Op::And);
    for (const Band& b : r.bands())
        for (int y = b.y0; y < b.y1; ++y)
            for (const Span& s : b.spans)
                paintSpan(t, y, s.x0, s.x1, paint);
}

void paintPixel(RasterTarget& t, int x, int y, const Paint& paint) {
    if (t.clip.contains(x, y)) putPixel(t, x, y, paint);
}

namespace {

// The first pixel column at or right of x. Edges of a damaged or absurd
// drawing may lie far outside any surface: clamp before converting, so the
// conversion is defined and only visible columns cost anything.
int firstColumnFrom(double x) {
    return static_cast<int>(std::clamp(std::ceil(x - 1e-9), -1.0e9, 1.0e9));
}

}  // namespace

namespace {

struct Edge {
    double x0, y0, x1, y1;  // y0 < y1
    int dir;
};

// Appends the edges of the closed polygon pts[0 .. n-1]; `sign` -1 turns
// their directions round.
void addEdges(const PointD* pts, std::size_t n, int sign, std::vector<Edge>& edges) {
    for (std::size_t i = 0; i < n; ++i) {
        const PointD& a = pts[i];
        const PointD& b = pts[i + 1 < n ? i + 1 : 0];
        if (a.y == b.y) continue;
        if (a.y < b.y)
            edges.push_back({a.x, a.y, b.x, b.y, sign});
        else
            edges.push_back({b.x, b.y, a.x, a.y, -sign});
    }
}

// Scan-converts the edges (reordered): each row's crossings, with only the
// edges that reach the row looked at.
void scanEdges(std::vector<Edge>& edges, bool winding, Coverage& out) {
    static thread_local std::vector<std::pair<double, int>> xs;
    static thread_local std::vector<const Edge*> active;
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    double ymax = -1e300;
    for (const Edge& e : edges)
        ymax = std::max(ymax, e.y1);
    int y0 = static_cast<int>(std::ceil(edges.front().y0));
    int y1 = static_cast<int>(std::ceil(ymax));
    if (coverageWindow()) {
        y0 = std::max<int>(y0, coverageWindow()->top);
        y1 = std::min<int>(y1, coverageWindow()->bottom);
    }
    active.clear();
    std::size_t next = 0;
    for (int y = y0; y < y1; ++y) {
        while (next < edges.size() && edges[next].y0 <= y)
            active.push_back(&edges[next++]);
        std::erase_if(active, [y](const Edge* e) { return y >= e->y1; });
        xs.clear();
        for (const Edge* e : active) {
            const double x = e->x0 + (y - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0);
            xs.push_back({x, e->dir});
        }
        std::sort(xs.begin(), xs.end());
        int wind = 0;
        for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
            wind += xs[i].second;
            const bool inside = winding ? wind != 0 : (i % 2) == 0;
            if (!inside) continue;
            int xa = firstColumnFrom(xs[i].first);
            int xb = firstColumnFrom(xs[i + 1].first);
            if (coverageWindow()) {
                xa = std::max<int>(xa, coverageWindow()->left - 1);
                xb = std::min<int>(xb, coverageWindow()->right + 1);
            }
            out.add(y, xa, xb);
        }
    }
}

}  // namespace

void polygonCoverage(const std::vector<PointD>& pts, const std::vector<int>& counts, bool winding,
                     Coverage& out) {
    static thread_local std::vector<Edge> edges;
    edges.clear();
    std::size_t start = 0;
    for (int n : counts) {
        addEdges(pts.data() + start, static_cast<std::size_t>(n), 1, edges);
        start += static_cast<std::size_t>(n);
    }
    scanEdges(edges, winding, out);
}

namespace {

struct EllipseGeometry {
    double cx, cy, a, b;
    EllipseGeometry(int l, int t, int r, int bt) {
        if (l > r) std::swap(l, r);
        if (t > bt) std::swap(t, bt);
        cx = (l + r - 1) / 2.0;
        cy = (t + bt - 1) / 2.0;
        a = (r - l) / 2.0;
        b = (bt - t) / 2.0;
    }
    // Half width of the ellipse of radii (ra, rb) at row y, or -1 outside.
    double halfWidth(int y, double ra, double rb) const {
        if (ra <= 0 || rb <= 0) return -1;
        const double dy = (y - cy) / rb;
        const double k = 1 - dy * dy;
        return k < 0 ? -1 : ra * std::sqrt(k);
    }
    double angleOf(double x, double y) const {
        return std::atan2(-(y - cy) / std::max(b, 0.5), (x - cx) / std::max(a, 0.5));
    }
};

void ellipseRows(const EllipseGeometry& g, int top, int bottom, int left, int right, double ra,
                 double rb, Span* rows) {
    for (int y = top; y < bottom; ++y) {
        const double h = g.halfWidth(y, ra, rb);
        Span s{0, 0};
        if (h >= 0) {
            s.x0 = std::max(left, static_cast<int>(std::ceil(g.cx - h - 1e-9)));
            s.x1 = std::min(right, static_cast<int>(std::floor(g.cx + h + 1e-9)) + 1);
        }
        rows[y - top] = s;
    }
}

bool spanHas(const Span& s, int x) {
    return x >= s.x0 && x < s.x1;
}

struct VisibleBox {
    int yFrom, yTo, xFrom, xTo;
};

// The rows and columns of the box l..r x t..b that the coverage window lets
// through (a column more on each side, for the ring's neighbour test).
VisibleBox visibleBox(int l, int t, int r, int b) {
    const RECT* w = coverageWindow();
    if (!w) return {t, b, l, r};
    return {std::max<int>(t, w->top), std::min<int>(b, w->bottom), std::max<int>(l, w->left - 1),
            std::min<int>(r, w->right + 1)};
}

// Pixels of the filled ellipse that have a 4-neighbour outside the ellipse
// shrunk by `width - 1` (a ring `width` pixels thick).
void ellipseRing(int l, int t, int r, int b, int width, std::vector<PointI>& ring) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (r <= l || b <= t) return;
    const EllipseGeometry g(l, t, r, b);
    // Rows evaluated, and the rows around them that the neighbour test reads.
    const auto [yFrom, yTo, xFrom, xTo] = visibleBox(l, t, r, b);
    if (yFrom >= yTo) return;
    const int rt = std::max(t, yFrom - 1), rb = std::min(b, yTo + 1);
    const auto n = static_cast<std::size_t>(rb - rt);
    std::vector<Span> outer(n), inner(n);
    ellipseRows(g, rt, rb, l, r, g.a, g.b, outer.data());
    const double shrink = std::max(0, width - 1);
    ellipseRows(g, rt, rb, l + width, r - width, g.a - shrink, g.b - shrink, inner.data());
    auto innerHas = [&](int x, int y) {
        if (y < rt || y >= rb) return false;
        const int k = y - rt;
        // The inner set is the filled ellipse itself when the ring is one pixel.
        const Span& s = width <= 1 ? outer[k] : inner[k];
        return spanHas(s, x);
    };
    for (int y = yFrom; y < yTo; ++y) {
        const Span& s = outer[y - rt];
        for (int x = std::max(s.x0, xFrom); x < std::min(s.x1, xTo); ++x) {
            bool edge;
            if (width <= 1)
                edge = !innerHas(x - 1, y) || !innerHas(x + 1, y) || !innerHas(x, y - 1) ||
                       !innerHas(x, y + 1);
            else
                edge = !innerHas(x, y);
            if (edge) ring.push_back({x, y});
        }
    }
}

double sweepOf(double from, double to) {
    double s = std::fmod(to - from, 2 * std::numbers::pi);
    if (s < 0) s += 2 * std::numbers::pi;
    return s;
}

struct ArcAngles {
    double start, sweep;  // counter-clockwise on the screen
    bool full;
    bool contains(double ang) const { return full || sweepOf(start, ang) <= sweep + 1e-9; }
};

ArcAngles arcAngles(const ArcGeometry& arc, const EllipseGeometry& g) {
    double s = g.angleOf(arc.xStart, arc.yStart);
    double e = g.angleOf(arc.xEnd, arc.yEnd);
    if (arc.clockwise) std::swap(s, e);
    ArcAngles out{s, sweepOf(s, e), false};
    out.full = out.sweep < 1e-12;
    return out;
}

}  // namespace

void ellipseCoverage(int l, int t, int r, int b, Coverage& out) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (r <= l || b <= t) return;
    const EllipseGeometry g(l, t, r, b);
    const auto [yFrom, yTo, xFrom, xTo] = visibleBox(l, t, r, b);
    if (yFrom >= yTo) return;
    std::vector<Span> rows(static_cast<std::size_t>(yTo - yFrom));
    ellipseRows(g, yFrom, yTo, l, r, g.a, g.b, rows.data());
    for (int y = yFrom; y < yTo; ++y)
        out.add(y, std::max(rows[y - yFrom].x0, xFrom), std::min(rows[y - yFrom].x1, xTo));
}

void ellipseOutline(int l, int t, int r, int b, int width, Coverage& out) {
    std::vector<PointI> ring;
    ellipseRing(l, t, r, b, width, ring);
    for (const PointI& p : ring)
        out.addPixel(p.x, p.y);
}

PointD arcEndPoint(const ArcGeometry& arc, double x, double y) {
    const EllipseGeometry g(arc.left, arc.top, arc.right, arc.bottom);
    const double ang = g.angleOf(x, y);
    return {g.cx + (g.a - 0.5) * std::cos(ang), g.cy - (g.b - 0.5) * std::sin(ang)};
}

void arcOutline(const ArcGeometry& arc, ArcShape shape, int width, Coverage& out) {
    const EllipseGeometry g(arc.left, arc.top, arc.right, arc.bottom);
    const ArcAngles angles = arcAngles(arc, g);
    std::vector<PointI> ring;
    ellipseRing(arc.left, arc.top, arc.right, arc.bottom, width, ring);
    for (const PointI& p : ring)
        if (angles.contains(g.angleOf(p.x, p.y))) out.addPixel(p.x, p.y);
    if (shape == ArcShape::Arc || angles.full) return;
    const PointD ps = arcEndPoint(arc, arc.xStart, arc.yStart);
    const PointD pe = arcEndPoint(arc, arc.xEnd, arc.yEnd);
    auto line = [&](PointD a, PointD b) {
        std::vector<PointI> on;
        int phase = 0;
        thinLine({static_cast<int>(std::lround(a.x)), static_cast<int>(std::lround(a.y))},
                 {static_cast<int>(std::lround(b.x)), static_cast<int>(std::lround(b.y))}, {},
                 phase, on, nullptr);
        on.push_back({static_cast<int>(std::lround(b.x)), static_cast<int>(std::lround(b.y))});
        for (const PointI& p : on)
            out.addPixel(p.x, p.y);
    };
    if (shape == ArcShape::Pie) {
        const PointD c{std::round(g.cx), std::round(g.cy)};
        line(c, ps);
        line(c, pe);
    } else {
        line(ps, pe);
    }
}

void arcInterior(const ArcGeometry& arc, ArcShape shape, Coverage& out) {
    const EllipseGeometry g(arc.left, arc.top, arc.right, arc.bottom);
    const ArcAngles angles = arcAngles(arc, g);
    Coverage full;
    ellipseCoverage(arc.left, arc.top, arc.right, arc.bottom, full);
    const PointD ps = arcEndPoint(arc, arc.xStart, arc.yStart);
    const PointD pe = arcEndPoint(arc, arc.xEnd, arc.yEnd);
    for (int k = 0; k < full.rowCount(); ++k) {
        const int y = full.top() + k;
        for (const Span& s : full.rowAt(k))
            for (int x = s.x0; x < s.x1; ++x) {
                bool in;
                if (angles.full)
                    in = true;
                else if (shape == ArcShape::Pie) {
                    in = (std::abs(x - g.cx) < 0.5 && std::abs(y - g.cy) < 0.5) ||
                         angles.contains(g.angleOf(x, y));
                } else {
                    // Chord: the side of the chord line that holds the arc.
                    const double cross =
                        (pe.x - ps.x) * (-(y - ps.y)) - (-(pe.y - ps.y)) * (x - ps.x);
                    const double mid = angles.start + angles.sweep / 2;
                    const double mx = g.cx + g.a * std::cos(mid), my = g.cy - g.b * std::sin(mid);
                    const double crossMid =
                        (pe.x - ps.x) * (-(my - ps.y)) - (-(pe.y - ps.y)) * (mx - ps.x);
                    in = cross * crossMid >= 0;
                }
                if (in) out.addPixel(x, y);
            }
    }
}

void thinLine(PointI a, PointI b, const std::vector<int>& dashes, int& phase,
              std::vector<PointI>& on, std::vector<PointI>* off) {
    long long period = 0;
    for (int d : dashes)
        period += d;
    const long long dx = std::llabs(static_cast<long long>(b.x) - a.x);
    const long long dy = std::llabs(static_cast<long long>(b.y) - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    const bool xMajor = dx >= dy;
    const long long major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const long long steps = major;
    // Only the steps whose major coordinate lies in the window are walked.
    long long i0 = 0, i1 = steps;
    if (coverageWindow()) {
        const long long start = xMajor ? a.x : a.y;
        const int s = xMajor ? sx : sy;
        const long long lo = xMajor ? coverageWindow()->left : coverageWindow()->top;
        const long long hi = xMajor ? coverageWindow()->right : coverageWindow()->bottom;
        if (s > 0) {
            i0 = std::max(i0, lo - start);
            i1 = std::min(i1, hi - start);
        } else {
            i0 = std::max(i0, start - hi + 1);
            i1 = std::min(i1, start - lo + 1);
        }
    }
    for (long long i = i0; i < i1; ++i) {
        // The minor coordinate after i steps of the midpoint walk (ties stay).
        const long long num = 2 * i * minor - major;
        const long long k = num <= 0 ? 0 : (num + 2 * major - 1) / (2 * major);
        const int x = static_cast<int>(xMajor ? a.x + sx * i : a.x + sx * k);
        const int y = static_cast<int>(xMajor ? a.y + sy * k : a.y + sy * i);
        bool lit = true;
        if (period > 0) {
            long long pos = (phase + i) % period;
            std::size_t n = 0;
            while (pos >= dashes[n])
                pos -= dashes[n++];
            lit = (n % 2) == 0;
        }
        if (lit)
            on.push_back({x, y});
        else if (off)
            off->push_back({x, y});
    }
    if (period > 0) phase = static_cast<int>((phase + steps) % period);
}

namespace {

// The pieces of a wide stroke (dashes, caps, joins), each a convex polygon,
// gathered as the edges of one shape. Every piece turns the same way, so a
// point inside any of them has a winding number above zero: one scan of the
// whole with the winding rule covers exactly the union of the pieces, each
// sampled by the polygon rule on its own.
class StrokePieces {
  public:
    StrokePieces() { edges_.clear(); }
    void add(const PointD* pts, std::size_t n) {
        double area = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const PointD& a = pts[i];
            const PointD& b = pts[i + 1 < n ? i + 1 : 0];
            area += a.x * b.y - b.x * a.y;
        }
        addEdges(pts, n, area < 0 ? -1 : 1, edges_);
    }
    // A disc right where the last one was adds nothing to the union.
    bool repeatsDisc(PointD c, double r) {
        const bool same = hasDisc_ && c.x == disc_.x && c.y == disc_.y && r == radius_;
        hasDisc_ = true;
        disc_ = c;
        radius_ = r;
        return same;
    }
    void scan(Coverage& out) { scanEdges(edges_, true, out); }

  private:
    // One stroke is built at a time on a thread; its edge list is kept from
    // one stroke to the next rather than allocated anew.
    static thread_local std::vector<Edge> edges_;
    bool hasDisc_ = false;
    PointD disc_;
    double radius_ = 0;
};
thread_local std::vector<Edge> StrokePieces::edges_;

void addQuad(PointD a, PointD b, PointD c, PointD d, StrokePieces& out) {
    const PointD q[4] = {a, b, c, d};
    out.add(q, 4);
}

// The n corners of the unit circle, worked out once per n: every round cap
// and join of a wide line needs them.
const std::vector<PointD>& unitCircle(int n) {
    static std::vector<std::vector<PointD>> circles(257);
    std::vector<PointD>& pts = circles[static_cast<std::size_t>(n)];
    if (pts.empty()) {
        for (int i = 0; i < n; ++i) {
            const double t = 2 * std::numbers::pi * i / n;
            pts.push_back({std::cos(t), std::sin(t)});
        }
    }
    return pts;
}

void addDisc(PointD c, double r, StrokePieces& out) {
    if (out.repeatsDisc(c, r)) return;
    const int n = std::clamp(static_cast<int>(r * 4), 8, 256);
    static thread_local std::vector<PointD> pts;
    pts.clear();
    for (const PointD& u : unitCircle(n))
        pts.push_back({c.x + r * u.x, c.y + r * u.y});
    out.add(pts.data(), pts.size());
}

// One straight dash from p to q with caps.
void addDash(PointD p, PointD q, const WidePen& pen, StrokePieces& out) {
    const double h = pen.width / 2;
    double ux = q.x - p.x, uy = q.y - p.y;
    const double len = std::hypot(ux, uy);
    if (len < 1e-12) {
        ux = 1;
        uy = 0;
    } else {
        ux /= len;
        uy /= len;
    }
    const double nx = -uy * h, ny = ux * h;
    PointD a = p, b = q;
    if (pen.endCap == 0x100) {  // square
        a = {p.x - ux * h, p.y - uy * h};
        b = {q.x + ux * h, q.y + uy * h};
    }
    addQuad({a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny},
            out);
    if (pen.endCap == 0) {  // round
        addDisc(p, h, out);
        addDisc(q, h, out);
    }
}

void addJoin(PointD prev, PointD at, PointD next, const WidePen& pen, StrokePieces& out) {
    const double h = pen.width / 2;
    if (pen.join == 0) {
        addDisc(at, h, out);
        return;
    }
    auto normal = [&](PointD p, PointD q) {
        const double l = std::max(std::hypot(q.x - p.x, q.y - p.y), 1e-12);
        return PointD{-(q.y - p.y) / l * h, (q.x - p.x) / l * h};
    };
    const PointD n1 = normal(prev, at), n2 = normal(at, next);
    for (int side : {1, -1}) {
        const PointD t[3] = {at,
                             {at.x + side * n1.x, at.y + side * n1.y},
                             {at.x + side * n2.x, at.y + side * n2.y}};
        out.add(t, 3);
    }
}

}  // namespace

namespace {

// Position in a dash pattern: the entry and what is left of it.
struct DashWalker {
    const std::vector<double>& dashes;
    double period = 0;
    std::size_t k = 0;
    double left = 0;

    explicit DashWalker(const std::vector<double>& d) : dashes(d) {
        for (double v : d)
            period += std::max(v, 0.0);
        left = d.empty() ? 0 : std::max(d[0], 0.0);
    }
    void next() {
        k = (k + 1) % dashes.size();
        left = std::max(dashes[k], 0.0);
    }
    // Moves along the pattern by `distance` without drawing.
    void skip(double distance) {
        distance = std::fmod(distance, period);
        for (std::size_t guard = 0; distance > 0 && guard < 4 * dashes.size() + 4; ++guard) {
            if (distance < left) {
                left -= distance;
                return;
            }
            distance -= left;
            next();
        }
    }
};

// The part [t0, t1] of segment p-q (as distances from p) that lies in the
// window grown by `margin`; false when none does.
bool segmentInWindow(PointD p, PointD q, double margin, double& t0, double& t1) {
    const double len = std::hypot(q.x - p.x, q.y - p.y);
    t0 = 0;
    t1 = len;
    const RECT* w = coverageWindow();
    if (!w || len <= 0) return true;
    const double dx = (q.x - p.x) / len, dy = (q.y - p.y) / len;
    const double lo[2] = {w->left - margin, w->top - margin};
    const double hi[2] = {w->right + margin, w->bottom + margin};
    const double start[2] = {p.x, p.y}, dir[2] = {dx, dy};
    for (int a = 0; a < 2; ++a) {
        if (std::abs(dir[a]) < 1e-12) {
            if (start[a] < lo[a] || start[a] > hi[a]) return false;
            continue;
        }
        double ta = (lo[a] - start[a]) / dir[a], tb = (hi[a] - start[a]) / dir[a];
        if (ta > tb) std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
    }
    return t0 <= t1;
}

}  // namespace

namespace {

// Device points lie within +-2^27, where the integer conversion is exact
// and costs less than a call to floor.
bool onPixel(const PointD& p) {
    return std::fabs(p.x) < 0x1p30 && std::fabs(p.y) < 0x1p30 &&
           p.x == static_cast<double>(static_cast<int>(p.x)) &&
           p.y == static_cast<double>(static_cast<int>(p.y));
}

// Rows y0 .. y1 (both in) of the pixels x0 .. x1-1.
struct GridPiece {
    int y0, y1, x0, x1;
};

// The pieces' rows in order, each row's pixels left to right with the
// pieces that overlap or touch made one, so that every pixel is painted
// once. The pieces are taken in the order of their first rows, and a row
// looks only at the pieces that reach it.
void sweepPieces(std::vector<GridPiece>& pieces, std::vector<RowSpan>& out) {
    std::sort(pieces.begin(), pieces.end(),
              [](const GridPiece& a, const GridPiece& b) { return a.y0 < b.y0; });
    // Kept from one stroke to the next, and named once outside the loop.
    static thread_local std::vector<GridPiece> reaching;
    static thread_local std::vector<Span> spans;
    std::vector<GridPiece>& active = reaching;
    std::vector<Span>& row = spans;
    active.clear();
    const std::size_t count = pieces.size();
    std::size_t next = 0, live = 0;
    int y = 0;
    while (next < count || live > 0) {
        if (live == 0) y = pieces[next].y0;
        for (; next < count && pieces[next].y0 == y; ++next) {
            if (live == active.size()) active.push_back(pieces[next]);
            else active[live] = pieces[next];
            ++live;
        }
        if (row.size() < live) row.resize(live);
        std::size_t kept = 0;
        for (std::size_t k = 0; k < live; ++k) {
            const GridPiece g = active[k];
            row[k] = {g.x0, g.x1};
            if (g.y1 > y) active[kept++] = g;
        }
        const std::size_t n = live;
        live = kept;
        if (n > 16) {
            std::sort(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(n),
                      [](Span a, Span b) { return a.x0 < b.x0; });
        } else {
            for (std::size_t i = 1; i < n; ++i)
                for (std::size_t j = i; j > 0 && row[j].x0 < row[j - 1].x0; --j)
                    std::swap(row[j], row[j - 1]);
        }
        RowSpan merged{y, row[0].x0, row[0].x1};
        for (std::size_t i = 1; i < n; ++i) {
            if (row[i].x0 <= merged.x1) {
                merged.x1 = std::max(merged.x1, row[i].x1);
            } else {
                out.push_back(merged);
                merged = {y, row[i].x0, row[i].x1};
            }
        }
        out.push_back(merged);
        ++y;
    }
}

}  // namespace

// Each piece the scan would build for such a stroke covers whole pixels, so
// they are set directly. A step covers the two rows (or columns) either side
// of its centre line from its first point up to its last; the round end or
// join at a point, an octagon of radius one, covers that point and the
// pixel left of it. Every point ends a step, so a horizontal step takes the
// ends' pixels into its lower row and a vertical one its ends' rows. Rows
// and columns beyond the coverage window are left out, as the scan leaves
// them out.
bool twoPixelGridStroke(const std::vector<PointD>& path, const WidePen& pen,
                        std::vector<RowSpan>& out) {
    out.clear();
    if (pen.width != 2 || pen.endCap != 0 || pen.join != 0 || !pen.dashes.empty()) return false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (!onPixel(path[i])) return false;
        if (i > 0 && path[i].x != path[i - 1].x && path[i].y != path[i - 1].y) return false;
    }
    const RECT* w = coverageWindow();
    const long long left = w ? w->left - 1LL : -(1LL << 28), right = w ? w->right + 1LL : 1LL << 28;
    const long long top = w ? w->top : -(1LL << 28), bottom = w ? w->bottom : 1LL << 28;
    static thread_local std::vector<GridPiece> pieces;
    pieces.clear();
    auto add = [&](long long y0, long long y1, long long x0, long long x1) {
        y0 = std::max(y0, top);
        y1 = std::min(y1, bottom - 1);
        x0 = std::max(x0, left);
        x1 = std::min(x1, right);
        if (y0 <= y1 && x0 < x1)
            pieces.push_back({static_cast<int>(y0), static_cast<int>(y1), static_cast<int>(x0),
                              static_cast<int>(x1)});
    };
    // A lone point is a step that goes nowhere.
    const std::size_t steps = path.size() > 1 ? path.size() - 1 : path.size();
    for (std::size_t i = 0; i < steps; ++i) {
        const PointD& a = path[i];
        const PointD& b = path[std::min(i + 1, path.size() - 1)];
        const auto ax = static_cast<long long>(a.x), ay = static_cast<long long>(a.y);
        const auto bx = static_cast<long long>(b.x), by = static_cast<long long>(b.y);
        if (ay == by) {
            add(ay - 1, ay - 1, std::min(ax, bx), std::max(ax, bx));
            add(ay, ay, std::min(ax, bx) - 1, std::max(ax, bx) + 1);
        } else {
            add(std::min(ay, by), std::max(ay, by), ax - 1, ax + 1);
        }
    }
    sweepPieces(pieces, out);
    return true;
}

void paintRowSpans(RasterTarget& t, const std::vector<RowSpan>& rows, const Paint& paint) {
    for (const RowSpan& r : rows)
        for (const Span& c : t.clip.row(r.y)) {
            const int x0 = std::max(r.x0, c.x0), x1 = std::min(r.x1, c.x1);
            if (x0 < x1) paintSpan(t, r.y, x0, x1, paint);
        }
}

void widePolyline(const std::vector<PointD>& pts, bool closed, const WidePen& pen,
                  Coverage& coverage) {
    if (pts.empty()) return;
    std::vector<PointD> path = pts;
    if (closed && pts.size() > 1) path.push_back(pts.front());
    StrokePieces out;
    if (path.size() == 1) {
        addDash(path[0], path[0], pen, out);
        out.scan(coverage);
        return;
    }
    DashWalker walker(pen.dashes);
    const bool dashed = walker.period > 0;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const PointD p = path[i], q = path[i + 1];
        const double len = std::hypot(q.x - p.x, q.y - p.y);
        double from = 0, to = len;
        const bool visible = segmentInWindow(p, q, pen.width + 2, from, to);
        if (!dashed) {
            if (visible) {
                const double a = len > 0 ? from / len : 0, b = len > 0 ? to / len : 1;
                addDash({p.x + (q.x - p.x) * a, p.y + (q.y - p.y) * a},
                        {p.x + (q.x - p.x) * b, p.y + (q.y - p.y) * b}, pen, out);
            }
        } else if (!visible) {
            walker.skip(len);
        } else {
            walker.skip(from);
            double t = from;
            while (t < to) {
                const double run = std::min(walker.left, to - t);
                if (walker.k % 2 == 0 && run > 0) {
                    const double t0 = t / len, t1 = (t + run) / len;
                    addDash({p.x + (q.x - p.x) * t0, p.y + (q.y - p.y) * t0},
                            {p.x + (q.x - p.x) * t1, p.y + (q.y - p.y) * t1}, pen, out);
                }
                t += run;
                walker.left -= run;
                if (walker.left <= 1e-9) walker.next();
            }
            walker.skip(len - to);
        }
        const bool hasNext = i + 2 < path.size() || (closed && path.size() > 2);
        if (!dashed && hasNext && visible) {
            const PointD next = i + 2 < path.size() ? path[i + 2] : path[1];
            addJoin(p, q, next, pen, out);
        }
    }
    out.scan(coverage);
}

}  // namespace win::gdi
