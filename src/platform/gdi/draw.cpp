// Lines, shapes, fills and pixels.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gdi/drawing.h"
#include "platform/gdi/meta_sink.h"

namespace win {
namespace gdi {

std::optional<Region> deviceClip(const DeviceContext& dc) {
    std::optional<Region> r = dc.visible;
    auto meet = [&r](const std::optional<Region>& other) {
        if (!other) return;
        r = r ? Region::combine(*r, *other, Region::Op::And) : *other;
    };
    meet(dc.metaClip);
    meet(dc.st.clip);
    return r;
}

namespace {

// The device pixels of surface `s` that drawing on `dc` may touch, worked
// out again only when the surface, the origin or a clip changed.
const Region& rasterClip(DeviceContext& dc, const Surface& s) {
    RasterClipCache& c = dc.rasterClip;
    if (c.valid && c.surface == &s && c.width == s.width && c.height == s.height &&
        c.origin.x == dc.origin.x && c.origin.y == dc.origin.y && c.visible == dc.visible &&
        c.metaClip == dc.metaClip && c.clip == dc.st.clip)
        return c.result;
    c.result = Region::rect(-dc.origin.x, -dc.origin.y, s.width - dc.origin.x,
                            s.height - dc.origin.y);
    if (auto clip = deviceClip(dc)) c.result = Region::combine(c.result, *clip, Region::Op::And);
    c.valid = true;
    c.surface = &s;
    c.width = s.width;
    c.height = s.height;
    c.origin = dc.origin;
    c.visible = dc.visible;
    c.metaClip = dc.metaClip;
    c.clip = dc.st.clip;
    return c.result;
}

}  // namespace

bool beginRaster(DeviceContext& dc, RasterTarget& t) {
    Surface* s = dc.target();
    if (!s) return false;
    if (dc.kind == DcKind::Memory) dc.st.bitmap->pullDib();
    t.surface = s;
    t.ox = dc.origin.x;
    t.oy = dc.origin.y;
    t.clip = rasterClip(dc, *s);
    return true;
}

void endRaster(DeviceContext& dc) {
    if (dc.kind == DcKind::Memory && dc.st.bitmap) dc.st.bitmap->pushDib();
}

namespace {

// The raster window of a target begun with beginRaster: rasterWindow's
// answer, without working out the clip a second time.
RECT clipBox(const RasterTarget& t) {
    return t.clip.empty() ? RECT{0, 0, 0, 0} : t.clip.box();
}

}  // namespace

RECT rasterWindow(DeviceContext& dc) {
    Surface* s = dc.target();
    if (!s) return {-(1 << 27), -(1 << 27), 1 << 27, 1 << 27};
    const Region& r = rasterClip(dc, *s);
    return r.empty() ? RECT{0, 0, 0, 0} : r.box();
}

PointD toDevice(const DeviceContext& dc, double x, double y) {
    return toDevice(dc.fullTransform(), x, y);
}

PointD toDevice(const Affine& logicalToDevice, double x, double y) {
    constexpr double kLimit = 134217727.0;
    PointD p;
    logicalToDevice.apply(x, y, p.x, p.y);
    p.x = std::isnan(p.x) ? 0 : std::clamp(p.x, -kLimit, kLimit);
    p.y = std::isnan(p.y) ? 0 : std::clamp(p.y, -kLimit, kLimit);
    return p;
}

PointI toDeviceI(const DeviceContext& dc, double x, double y) {
    const PointD p = toDevice(dc, x, y);
    return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
}

Paint solidPaint(const DeviceContext& dc, COLORREF color, int rop2) {
    Paint p;
    p.color = pixelFromColorRef(resolveColor(dc, color));
    p.rop2 = rop2;
    return p;
}

bool brushPaint(const DeviceContext& dc, const Brush& b, int rop2, Paint& p) {
    p = Paint{};
    p.rop2 = rop2;
    p.orgX = dc.st.brushOrg.x;
    p.orgY = dc.st.brushOrg.y;
    switch (b.style) {
        case BS_SOLID:
            p.color = pixelFromColorRef(resolveColor(dc, b.color));
            return true;
        case BS_HATCHED:
            p.kind = Paint::Kind::Hatch;
            p.hatch = b.hatch;
            p.fg = pixelFromColorRef(resolveColor(dc, b.color));
            p.bg = pixelFromColorRef(resolveColor(dc, dc.st.bkColor));
            p.opaqueBackground = dc.st.bkMode == OPAQUE;
            return true;
        case BS_PATTERN:
            p.kind = Paint::Kind::Pattern;
            p.pattern = b.pattern.get();
            p.fg = pixelFromColorRef(resolveColor(dc, dc.st.textColor));
            p.bg = pixelFromColorRef(resolveColor(dc, dc.st.bkColor));
            return b.pattern != nullptr;
        default:
            return false;
    }
}

COLORREF brushMeanColour(const DeviceContext& dc, const Brush& b) {
    if (b.style != BS_PATTERN || !b.pattern || b.pattern->pixels.empty())
        return resolveColor(dc, b.color);
    const COLORREF fg = resolveColor(dc, dc.st.textColor), bg = resolveColor(dc, dc.st.bkColor);
    double r = 0, g = 0, bl = 0;
    for (std::uint32_t px : b.pattern->pixels) {
        const COLORREF c = b.pattern->monochrome ? (px ? bg : fg) : colorRefFromPixel(px);
        r += GetRValue(c);
        g += GetGValue(c);
        bl += GetBValue(c);
    }
    const double n = static_cast<double>(b.pattern->pixels.size());
    return RGB(static_cast<BYTE>(r / n), static_cast<BYTE>(g / n), static_cast<BYTE>(bl / n));
}

std::shared_ptr<Brush> brushOfHandle(HBRUSH h) {
    const auto v = reinterpret_cast<std::uintptr_t>(h);
    if (v > 0 && v <= 31) {
        // One brush per system colour, kept so recordings reuse it.
        static std::shared_ptr<Brush> system[31];
        std::shared_ptr<Brush>& b = system[v - 1];
        if (!b) b = std::make_shared<Brush>();
        b->color = systemColour(static_cast<int>(v) - 1);
        return b;
    }
    return findAs<Brush>(h);
}

namespace {

double penDeviceWidth(const DeviceContext& dc, const Pen& pen) {
    if (!pen.geometric) return 1;
    return std::clamp(pen.width * dc.fullTransform().scale(), 1.0, 65536.0);
}

std::vector<double> penDashes(const DeviceContext& dc, const Pen& pen, double width) {
    const bool thin = width <= 1.5;
    const double w = std::max(1.0, std::round(width));
    switch (pen.style) {
        case PS_DASH:
            return thin && !pen.geometric ? std::vector<double>{18, 6}
                                          : std::vector<double>{3 * w, w};
        case PS_DOT:
            return thin && !pen.geometric ? std::vector<double>{3, 3} : std::vector<double>{w, w};
        case PS_DASHDOT:
            return thin && !pen.geometric ? std::vector<double>{9, 6, 3, 6}
                                          : std::vector<double>{3 * w, w, w, w};
        case PS_DASHDOTDOT:
            return thin && !pen.geometric ? std::vector<double>{9, 3, 3, 3, 3, 3}
                                          : std::vector<double>{3 * w, w, w, w, w, w};
        case PS_ALTERNATE:
            return {1, 1};
        case PS_USERSTYLE: {
            const double s = pen.geometric ? dc.fullTransform().scale() : 1.0;
            std::vector<double> out;
            for (DWORD d : pen.dashes)
                out.push_back(d * s);
            return out;
        }
        default:
            return {};
    }
}

void strokeRaster(DeviceContext& dc, const std::vector<PointD>& pts, bool closed, const Pen& pen,
                  double width, const std::vector<double>& dashes) {
    // Kept from one stroke to the next, so that taking the clip reuses its
    // room instead of allocating a copy for every marker.
    static thread_local RasterTarget t;
    if (!beginRaster(dc, t)) return;
    const CoverageWindow window(clipBox(t));
    const Paint paint = solidPaint(dc, pen.color, dc.st.rop2);
    if (width <= 1.5) {
        std::vector<int> pattern;
        for (double d : dashes)
            pattern.push_back(std::max(1, static_cast<int>(std::lround(d))));
        const bool gaps = !pattern.empty() && dc.st.bkMode == OPAQUE && !pen.geometric;
        std::vector<PointI> on, off;
        int phase = 0;
        std::vector<PointI> ip;
        for (const PointD& p : pts)
            ip.push_back({static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))});
        if (closed && ip.size() > 1) ip.push_back(ip.front());
        for (std::size_t i = 0; i + 1 < ip.size(); ++i)
            thinLine(ip[i], ip[i + 1], pattern, phase, on, gaps ? &off : nullptr);
        for (const PointI& p : on)
            paintPixel(t, p.x, p.y, paint);
        if (gaps) {
            const Paint bg = solidPaint(dc, dc.st.bkColor, dc.st.rop2);
            for (const PointI& p : off)
                paintPixel(t, p.x, p.y, bg);
        }
    } else {
        WidePen wp;
        wp.width = width;
        wp.endCap = pen.endCap;
        wp.join = pen.join;
        wp.dashes = dashes;
        // Kept from one stroke to the next: a plot strokes thousands of markers.
        static thread_local std::vector<PointD> path;
        static thread_local std::vector<RowSpan> rows;
        path.assign(pts.begin(), pts.end());
        if (closed && pts.size() > 1) path.push_back(pts.front());
        if (twoPixelGridStroke(path, wp, rows)) {
            paintRowSpans(t, rows, paint);
        } else {
            Coverage c;
            widePolyline(pts, closed, wp, c);
            paintCoverage(t, c, paint);
        }
    }
    endRaster(dc);
}

}  // namespace

void strokeDevice(DeviceContext& dc, const std::vector<PointD>& pts, bool closed) {
    const Pen& pen = *dc.st.pen;
    if (pen.style == PS_NULL || pts.empty()) return;
    const double width = penDeviceWidth(dc, pen);
    const std::vector<double> dashes = penDashes(dc, pen, width);
    if (VectorDevice* v = vectorOf(dc)) {
        if (dc.st.rop2 == R2_NOP) return;
        v->clip(deviceClip(dc));
        v->stroke(pts, closed, width, dashes, pen.geometric ? pen.endCap : PS_ENDCAP_ROUND,
                  pen.geometric ? pen.join : PS_JOIN_ROUND, resolveColor(dc, pen.color));
        return;
    }
    strokeRaster(dc, pts, closed, pen, width, dashes);
}

void fillDevice(DeviceContext& dc, const std::vector<PointD>& pts, const std::vector<int>& counts,
                bool winding, const Brush& brush, int rop2) {
    if (brush.style == BS_NULL || pts.empty()) return;
    if (VectorDevice* v = vectorOf(dc)) {
        v->clip(deviceClip(dc));
        Paint paint;
        if (brush.style != BS_SOLID && brushPaint(dc, brush, R2_COPYPEN, paint))
            v->fillPattern(pts, counts, winding, paint);
        else
            v->fill(pts, counts, winding, brushMeanColour(dc, brush));
        return;
    }
    RasterTarget t;
    if (!beginRaster(dc, t)) return;
    const CoverageWindow window(clipBox(t));
    Paint paint;
    if (brushPaint(dc, brush, rop2, paint)) {
        Coverage c;
        polygonCoverage(pts, counts, winding, c);
        paintCoverage(t, c, paint);
    }
    endRaster(dc);
}

namespace {

// The transform worked out once for all the points.
void devicePoints(const DeviceContext& dc, const POINT* pts, int n, std::vector<PointD>& out) {
    const Affine m = dc.fullTransform();
    out.clear();
    out.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (int i = 0; i < n; ++i)
        out.push_back(toDevice(m, pts[i].x, pts[i].y));
}

std::vector<PointD> devicePoints(const DeviceContext& dc, const POINT* pts, int n) {
    std::vector<PointD> out;
    devicePoints(dc, pts, n, out);
    return out;
}

bool axisAligned(const DeviceContext& dc) {
    return dc.fullTransform().axisAligned();
}

// The device box of a logical box; false when the mapping rotates.
bool deviceBox(const DeviceContext& dc, int l, int t, int r, int b, int box[4]) {
    if (!axisAligned(dc)) return false;
    const PointI p = toDeviceI(dc, l, t), q = toDeviceI(dc, r, b);
    box[0] = std::min(p.x, q.x);
    box[1] = std::min(p.y, q.y);
    box[2] = std::max(p.x, q.x);
    box[3] = std::max(p.y, q.y);
    return true;
}

std::vector<PointD> ellipsePolygon(const DeviceContext& dc, double l, double t, double r, double b,
                                   double from = 0, double sweep = 2 * std::numbers::pi) {
    const double cx = (l + r) / 2, cy = (t + b) / 2, a = (r - l) / 2, bb = (b - t) / 2;
    const PointD d1 = toDevice(dc, l, t), d2 = toDevice(dc, r, b);
    const double size = std::hypot(d2.x - d1.x, d2.y - d1.y);
    const int n = std::clamp(static_cast<int>(size * sweep / 2), 16, 2000);
    std::vector<PointD> pts;
    for (int i = 0; i <= n; ++i) {
        const double ang = from + sweep * i / n;
        pts.push_back(toDevice(dc, cx + a * std::cos(ang), cy - bb * std::sin(ang)));
    }
    return pts;
}

bool hasPen(const DeviceContext& dc) {
    return dc.st.pen->style != PS_NULL;
}

int penPixels(const DeviceContext& dc) {
    return std::max(1, static_cast<int>(std::lround(penDeviceWidth(dc, *dc.st.pen))));
}

void paintRasterCoverage(DeviceContext& dc, const Coverage& c, const Paint& paint) {
    RasterTarget t;
    if (!beginRaster(dc, t)) return;
    paintCoverage(t, c, paint);
    endRaster(dc);
}

// Fill then outline, both as coverage (raster contexts, axis-aligned mapping).
void shapeRaster(DeviceContext& dc, const Coverage& interior, const Coverage& outline) {
    Paint fill;
    if (brushPaint(dc, *dc.st.brush, dc.st.rop2, fill)) paintRasterCoverage(dc, interior, fill);
    if (hasPen(dc)) paintRasterCoverage(dc, outline, solidPaint(dc, dc.st.pen->color, dc.st.rop2));
}

Coverage minus(const Coverage& a, const Coverage& b) {
    const Region r = Region::combine(a.toRegion(), b.toRegion(), Region::Op::Diff);
    Coverage out;
    for (const Band& band : r.bands())
        for (int y = band.y0; y < band.y1; ++y)
            for (const Span& s : band.spans)
                out.add(y, s.x0, s.x1);
    return out;
}

void arcShape(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye, ArcShape shape,
              MetaOp op) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return;
    if (dc->meta) dc->meta->arc(op, {l, t, r, b}, {xs, ys}, {xe, ye});
    int box[4];
    if (!vectorOf(*dc) && dc->target() && deviceBox(*dc, l, t, r, b, box)) {
        const CoverageWindow window(rasterWindow(*dc));
        if (!hasPen(*dc) && shape != ArcShape::Arc) {
            --box[2];
            --box[3];
        }
        const PointD s = toDevice(*dc, xs, ys), e = toDevice(*dc, xe, ye);
        const Affine m = dc->fullTransform();
        // A mirrored mapping reverses the drawing direction on the device.
        const bool mirrored = (m.m11 * m.m22 - m.m12 * m.m21) < 0;
        ArcGeometry arc{box[0], box[1], box[2],
                        box[3], s.x,    s.y,
                        e.x,    e.y,    (dc->st.arcDirection == AD_CLOCKWISE) != mirrored};
        Coverage outline, interior;
        if (hasPen(*dc)) arcOutline(arc, shape, penPixels(*dc), outline);
        if (shape == ArcShape::Arc) {
            if (hasPen(*dc))
                paintRasterCoverage(*dc, outline, solidPaint(*dc, dc->st.pen->color, dc->st.rop2));
            return;
        }
        arcInterior(arc, shape, interior);
        shapeRaster(*dc, minus(interior, outline), outline);
        return;
    }
    // Vector devices and rotated mappings: polygon approximations.
    const double cx = (l + r) / 2.0, cy = (t + b) / 2.0;
    const double a = std::max(std::abs(r - l) / 2.0, 0.5),
                 bb = std::max(std::abs(b - t) / 2.0, 0.5);
    double from = std::atan2(-(ys - cy) / bb, (xs - cx) / a);
    double to = std::atan2(-(ye - cy) / bb, (xe - cx) / a);
    if (dc->st.arcDirection == AD_CLOCKWISE) std::swap(from, to);
    double sweep = std::fmod(to - from, 2 * std::numbers::pi);
    if (sweep <= 1e-12) sweep += 2 * std::numbers::pi;
    std::vector<PointD> pts = ellipsePolygon(*dc, l, t, r, b, from, sweep);
    if (shape == ArcShape::Pie) pts.push_back(toDevice(*dc, cx, cy));
    if (shape != ArcShape::Arc)
        fillDevice(*dc, pts, {static_cast<int>(pts.size())}, false, *dc->st.brush, dc->st.rop2);
    strokeDevice(*dc, pts, shape != ArcShape::Arc);
}

}  // namespace

}  // namespace gdi

using namespace gdi;

BOOL MoveToEx(HDC hdc, int x, int y, POINT* old) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    if (old) *old = dc->st.current;
    if (dc->meta) dc->meta->point(MetaOp::MoveTo, x, y);
    dc->st.current = {x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, POINT* p) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !p) return FALSE;
    *p = dc->st.current;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    if (dc->meta) dc->meta->point(MetaOp::LineTo, x, y);
    const POINT from = dc->st.current;
    dc->st.current = {x, y};
    strokeDevice(*dc, {toDevice(*dc, from.x, from.y), toDevice(*dc, x, y)}, false);
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int n) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !pts || n < 2) return FALSE;
    if (dc->meta) dc->meta->points(MetaOp::Polyline, pts, n);
    // Kept from one call to the next: a plot draws thousands of markers.
    static thread_local std::vector<PointD> dev;
    devicePoints(*dc, pts, n, dev);
    strokeDevice(*dc, dev, false);
    return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* pts, DWORD n) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !pts || n == 0) return FALSE;
    if (dc->meta) dc->meta->points(MetaOp::PolylineTo, pts, static_cast<int>(n));
    std::vector<PointD> dev{toDevice(*dc, dc->st.current.x, dc->st.current.y)};
    for (DWORD i = 0; i < n; ++i)
        dev.push_back(toDevice(*dc, pts[i].x, pts[i].y));
    dc->st.current = pts[n - 1];
    strokeDevice(*dc, dev, false);
    return TRUE;
}

BOOL PolyPolygon(HDC hdc, const POINT* pts, const INT* counts, int polygons) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !pts || !counts || polygons <= 0) return FALSE;
    if (dc->meta) dc->meta->polyPolygon(pts, counts, polygons);
    int total = 0;
    std::vector<int> cs;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2) return FALSE;
        total += counts[i];
        cs.push_back(counts[i]);
    }
    const std::vector<PointD> dev = devicePoints(*dc, pts, total);
    fillDevice(*dc, dev, cs, dc->st.polyFillMode == WINDING, *dc->st.brush, dc->st.rop2);
    std::size_t at = 0;
    for (int c : cs) {
        strokeDevice(*dc,
                     std::vector<PointD>(dev.begin() + static_cast<std::ptrdiff_t>(at),
                                         dev.begin() + static_cast<std::ptrdiff_t>(at + c)),
                     true);
        at += static_cast<std::size_t>(c);
    }
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* pts, int n) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !pts || n < 2) return FALSE;
    if (dc->meta) dc->meta->points(MetaOp::Polygon, pts, n);
    const std::vector<PointD> dev = devicePoints(*dc, pts, n);
    fillDevice(*dc, dev, {n}, dc->st.polyFillMode == WINDING, *dc->st.brush, dc->st.rop2);
    strokeDevice(*dc, dev, true);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int l, int t, int r, int b) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    if (dc->meta) dc->meta->rect(MetaOp::Rectangle, {l, t, r, b});
    int box[4];
    if (!deviceBox(*dc, l, t, r, b, box)) {
        const std::vector<PointD> pts{toDevice(*dc, l, t), toDevice(*dc, r, t), toDevice(*dc, r, b),
                                      toDevice(*dc, l, b)};
        fillDevice(*dc, pts, {4}, false, *dc->st.brush, dc->st.rop2);
        strokeDevice(*dc, pts, true);
        return TRUE;
    }
    // The shape covers box[0] .. box[2]-1; without a pen one pixel less.
    if (!hasPen(*dc)) {
        fillDevice(*dc,
                   {{double(box[0]), double(box[1])},
                    {double(box[2] - 1), double(box[1])},
                    {double(box[2] - 1), double(box[3] - 1)},
                    {double(box[0]), double(box[3] - 1)}},
                   {4}, false, *dc->st.brush, dc->st.rop2);
        return TRUE;
    }
    const int w = penPixels(*dc);
    const double inset = dc->st.pen->style == PS_INSIDEFRAME ? w / 2.0 : 0;
    const double x0 = box[0] + inset, y0 = box[1] + inset;
    const double x1 = box[2] - 1 - inset, y1 = box[3] - 1 - inset;
    if (!vectorOf(*dc) && w == 1 && dc->st.pen->style == PS_SOLID && dc->target()) {
        const RECT win = rasterWindow(*dc);
        Coverage interior, outline;
        // Rows and columns beyond the clip's box are left out.
        const int xl = std::max<int>(box[0], win.left - 1),
                  xr = std::min<int>(box[2], win.right + 1);
        for (int y = std::max<int>(box[1], win.top); y < std::min<int>(box[3], win.bottom); ++y) {
            if (y == box[1] || y == box[3] - 1)
                outline.add(y, xl, xr);
            else {
                outline.add(y, box[0], box[0] + 1);
                outline.add(y, box[2] - 1, box[2]);
                interior.add(y, std::max(xl, box[0] + 1), std::min(xr, box[2] - 1));
            }
        }
        shapeRaster(*dc, interior, outline);
        return TRUE;
    }
    fillDevice(*dc, {{x0 + 1, y0 + 1}, {x1, y0 + 1}, {x1, y1}, {x0 + 1, y1}}, {4}, false,
               *dc->st.brush, dc->st.rop2);
    strokeDevice(*dc, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, true);
    return TRUE;
}

BOOL RoundRect(HDC hdc, int l, int t, int r, int b, int w, int h) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    if (dc->meta) dc->meta->roundRect({l, t, r, b}, w, h);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    const double rx = std::min(w / 2.0, (r - l) / 2.0), ry = std::min(h / 2.0, (b - t) / 2.0);
    std::vector<PointD> pts;
    const double R = r - 1, B = b - 1;
    const double cx[4] = {R - rx, l + rx, l + rx, R - rx}, cy[4] = {t + ry, t + ry, B - ry, B - ry};
    for (int q = 0; q < 4; ++q)
        for (int i = 0; i <= 8; ++i) {
            const double ang = (q * 90 + i * 90.0 / 8) * std::numbers::pi / 180;
            pts.push_back(toDevice(*dc, cx[q] + rx * std::cos(ang), cy[q] - ry * std::sin(ang)));
        }
    fillDevice(*dc, pts, {static_cast<int>(pts.size())}, false, *dc->st.brush, dc->st.rop2);
    strokeDevice(*dc, pts, true);
    return TRUE;
}

BOOL Ellipse(HDC hdc, int l, int t, int r, int b) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    if (dc->meta) dc->meta->rect(MetaOp::Ellipse, {l, t, r, b});
    int box[4];
    if (!vectorOf(*dc) && dc->target() && deviceBox(*dc, l, t, r, b, box)) {
        const CoverageWindow window(rasterWindow(*dc));
        if (!hasPen(*dc)) {
            Coverage c;
            ellipseCoverage(box[0], box[1], box[2] - 1, box[3] - 1, c);
            shapeRaster(*dc, c, Coverage{});
            return TRUE;
        }
        Coverage full, ring;
        ellipseCoverage(box[0], box[1], box[2], box[3], full);
        ellipseOutline(box[0], box[1], box[2], box[3], penPixels(*dc), ring);
        shapeRaster(*dc, minus(full, ring), ring);
        return TRUE;
    }
    const double shrink = hasPen(*dc) ? 0 : 1;
    std::vector<PointD> pts = ellipsePolygon(*dc, l, t, r - shrink, b - shrink);
    pts.pop_back();
    fillDevice(*dc, pts, {static_cast<int>(pts.size())}, false, *dc->st.brush, dc->st.rop2);
    strokeDevice(*dc, pts, true);
    return TRUE;
}

BOOL Arc(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    if (!findDc(hdc)) return FALSE;
    arcShape(hdc, l, t, r, b, xs, ys, xe, ye, ArcShape::Arc, MetaOp::Arc);
    return TRUE;
}

BOOL Pie(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    if (!findDc(hdc)) return FALSE;
    arcShape(hdc, l, t, r, b, xs, ys, xe, ye, ArcShape::Pie, MetaOp::Pie);
    return TRUE;
}

BOOL Chord(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    if (!findDc(hdc)) return FALSE;
    arcShape(hdc, l, t, r, b, xs, ys, xe, ye, ArcShape::Chord, MetaOp::Chord);
    return TRUE;
}

namespace {

// A rectangle painted with a brush through a ternary raster operation.
bool rectWithBrush(DeviceContext& dc, const RECT& rc, const Brush& brush, DWORD rop) {
    int box[4];
    if (!deviceBox(dc, rc.left, rc.top, rc.right, rc.bottom, box)) {
        fillDevice(dc,
                   {toDevice(dc, rc.left, rc.top), toDevice(dc, rc.right, rc.top),
                    toDevice(dc, rc.right, rc.bottom), toDevice(dc, rc.left, rc.bottom)},
                   {4}, false, brush, R2_COPYPEN);
        return true;
    }
    if (VectorDevice* v = vectorOf(dc)) {
        if (rop != PATCOPY) return true;
        v->clip(deviceClip(dc));
        fillDevice(dc,
                   {{double(box[0]), double(box[1])},
                    {double(box[2]), double(box[1])},
                    {double(box[2]), double(box[3])},
                    {double(box[0]), double(box[3])}},
                   {4}, false, brush, R2_COPYPEN);
        return true;
    }
    RasterTarget t;
    if (!beginRaster(dc, t)) return false;
    Paint paint;
    const bool hasBrush = brushPaint(dc, brush, R2_COPYPEN, paint);
    const Region area =
        Region::combine(Region::rect(box[0], box[1], box[2], box[3]), t.clip, Region::Op::And);
    if (rop == PATCOPY && hasBrush) {
        paintRegion(t, area, paint);
        endRaster(dc);
        return true;
    }
    for (const Band& band : area.bands())
        for (int y = band.y0; y < band.y1; ++y)
            for (const Span& s : band.spans)
                for (int x = s.x0; x < s.x1; ++x) {
                    std::uint32_t p = 0;
                    if (hasBrush && !paint.sourceAt(x, y, p)) continue;
                    std::uint32_t& d = t.surface->at(x + t.ox, y + t.oy);
                    d = applyRop3(rop, p, 0, d);
                    if (t.surface->monochrome) d = (d & 0xFFFFFF) ? 0xFFFFFF : 0;
                }
    endRaster(dc);
    return true;
}

}  // namespace

int FillRect(HDC hdc, const RECT* rc, HBRUSH hbrush) {
    DeviceContext* dc = findDc(hdc);
    auto brush = brushOfHandle(hbrush);
    if (!dc || !rc || !brush) return 0;
    if (dc->meta) {
        // Recorded as a brush selection and a pattern fill.
        dc->meta->select(brush, brush->stockIndex);
        dc->meta->patBlt(*rc, PATCOPY);
        dc->meta->select(dc->st.brush, dc->st.brush->stockIndex);
    }
    if (rc->right <= rc->left || rc->bottom <= rc->top) return 1;
    if (brush->style == BS_NULL) return 1;
    return rectWithBrush(*dc, *rc, *brush, PATCOPY) ? 1 : 0;
}

int FrameRect(HDC hdc, const RECT* rc, HBRUSH hbrush) {
    if (!rc || rc->right <= rc->left || rc->bottom <= rc->top) return 0;
    const RECT sides[4] = {{rc->left, rc->top, rc->right, rc->top + 1},
                           {rc->left, rc->bottom - 1, rc->right, rc->bottom},
                           {rc->left, rc->top + 1, rc->left + 1, rc->bottom - 1},
                           {rc->right - 1, rc->top + 1, rc->right, rc->bottom - 1}};
    int ok = 1;
    for (const RECT& s : sides)
        if (s.right > s.left && s.bottom > s.top) ok &= FillRect(hdc, &s, hbrush);
    return ok;
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    RECT rc{x, y, x + w, y + h};
    if (rc.left > rc.right) std::swap(rc.left, rc.right);
    if (rc.top > rc.bottom) std::swap(rc.top, rc.bottom);
    if (dc->meta) dc->meta->patBlt(rc, rop);
    return rectWithBrush(*dc, rc, *dc->st.brush, rop) ? TRUE : FALSE;
}

BOOL InvertRect(HDC hdc, const RECT* rc) {
    if (!rc) return FALSE;
    return PatBlt(hdc, rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, DSTINVERT);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return CLR_INVALID;
    if (dc->meta) dc->meta->pixel(x, y, color);
    const PointI p = toDeviceI(*dc, x, y);
    if (VectorDevice* v = vectorOf(*dc)) {
        v->clip(deviceClip(*dc));
        v->fill({{double(p.x), double(p.y)},
                 {p.x + 1.0, double(p.y)},
                 {p.x + 1.0, p.y + 1.0},
                 {double(p.x), p.y + 1.0}},
                {4}, false, resolveColor(*dc, color));
        return resolveColor(*dc, color);
    }
    RasterTarget t;
    if (!beginRaster(*dc, t)) return dc->meta ? resolveColor(*dc, color) : CLR_INVALID;
    if (!t.clip.contains(p.x, p.y)) {
        endRaster(*dc);
        return CLR_INVALID;
    }
    paintPixel(t, p.x, p.y, solidPaint(*dc, color, R2_COPYPEN));
    const COLORREF out = colorRefFromPixel(t.surface->at(p.x + t.ox, p.y + t.oy));
    endRaster(*dc);
    return out;
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) {
    return SetPixel(hdc, x, y, color) != CLR_INVALID || findDc(hdc) ? TRUE : FALSE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return CLR_INVALID;
    RasterTarget t;
    if (!beginRaster(*dc, t)) return CLR_INVALID;
    const PointI p = toDeviceI(*dc, x, y);
    const COLORREF out = t.clip.contains(p.x, p.y)
                             ? colorRefFromPixel(t.surface->at(p.x + t.ox, p.y + t.oy))
                             : CLR_INVALID;
    return out;
}

BOOL GradientFill(HDC hdc, const TRIVERTEX* v, ULONG nv, const void* mesh, ULONG nm, ULONG mode) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !v || !mesh) return FALSE;
    if (dc->meta) dc->meta->gradient(v, nv, mesh, nm, mode);
    auto colourOf = [](const TRIVERTEX& t) {
        return RGB(static_cast<BYTE>(t.Red >> 8), static_cast<BYTE>(t.Green >> 8),
                   static_cast<BYTE>(t.Blue >> 8));
    };
    std::vector<std::array<ULONG, 3>> tris;
    if (mode == GRADIENT_FILL_TRIANGLE) {
        const auto* t = static_cast<const GRADIENT_TRIANGLE*>(mesh);
        for (ULONG i = 0; i < nm; ++i)
            tris.push_back({t[i].Vertex1, t[i].Vertex2, t[i].Vertex3});
    } else if (mode == GRADIENT_FILL_RECT_H || mode == GRADIENT_FILL_RECT_V) {
        // Rectangles are filled as two triangles with the corner colours they imply.
        const auto* r = static_cast<const GRADIENT_RECT*>(mesh);
        for (ULONG i = 0; i < nm; ++i) {
            if (r[i].UpperLeft >= nv || r[i].LowerRight >= nv) return FALSE;
        }
        std::vector<TRIVERTEX> extra(v, v + nv);
        for (ULONG i = 0; i < nm; ++i) {
            const TRIVERTEX a = v[r[i].UpperLeft], b = v[r[i].LowerRight];
            TRIVERTEX c1 = mode == GRADIENT_FILL_RECT_H ? b : a,
                      c2 = mode == GRADIENT_FILL_RECT_H ? a : b;
            c1.x = b.x;
            c1.y = a.y;
            c2.x = a.x;
            c2.y = b.y;
            const auto k = static_cast<ULONG>(extra.size());
            extra.push_back(c1);
            extra.push_back(c2);
            tris.push_back({r[i].UpperLeft, k, r[i].LowerRight});
            tris.push_back({r[i].UpperLeft, r[i].LowerRight, k + 1});
        }
        const bool saved = dc->meta != nullptr;
        std::unique_ptr<MetaSink> hold;
        if (saved) hold = std::move(dc->meta);
        std::vector<GRADIENT_TRIANGLE> gt;
        for (auto& tri : tris)
            gt.push_back({tri[0], tri[1], tri[2]});
        const BOOL ok = GradientFill(hdc, extra.data(), static_cast<ULONG>(extra.size()), gt.data(),
                                     static_cast<ULONG>(gt.size()), GRADIENT_FILL_TRIANGLE);
        if (saved) dc->meta = std::move(hold);
        return ok;
    } else {
        return FALSE;
    }
    for (const auto& tri : tris)
        if (tri[0] >= nv || tri[1] >= nv || tri[2] >= nv) return FALSE;
    VectorDevice* vec = vectorOf(*dc);
    RasterTarget t;
    const bool raster = !vec && beginRaster(*dc, t);
    const CoverageWindow window(rasterWindow(*dc));
    if (vec) vec->clip(deviceClip(*dc));
    for (const auto& tri : tris) {
        PointD p[3];
        COLORREF c[3];
        for (int k = 0; k < 3; ++k) {
            p[k] = toDevice(*dc, v[tri[k]].x, v[tri[k]].y);
            c[k] = colourOf(v[tri[k]]);
        }
        if (vec) {
            vec->gradient(p, c);
            continue;
        }
        if (!raster) continue;
        Coverage cov;
        polygonCoverage({p[0], p[1], p[2]}, {3}, false, cov);
        const double det =
            (p[1].y - p[2].y) * (p[0].x - p[2].x) + (p[2].x - p[1].x) * (p[0].y - p[2].y);
        if (std::abs(det) < 1e-12) continue;
        for (int k = 0; k < cov.rowCount(); ++k) {
            const int y = cov.top() + k;
            std::vector<Span> spans;
            intersectSpans(cov.rowAt(k), t.clip.row(y), spans);
            for (const Span& s : spans)
                for (int x = s.x0; x < s.x1; ++x) {
                    const double w0 =
                        ((p[1].y - p[2].y) * (x - p[2].x) + (p[2].x - p[1].x) * (y - p[2].y)) / det;
                    const double w1 =
                        ((p[2].y - p[0].y) * (x - p[2].x) + (p[0].x - p[2].x) * (y - p[2].y)) / det;
                    const double w2 = 1 - w0 - w1;
                    auto mix = [&](BYTE (*ch)(COLORREF)) {
                        const double val = w0 * ch(c[0]) + w1 * ch(c[1]) + w2 * ch(c[2]);
                        return static_cast<BYTE>(std::clamp(val, 0.0, 255.0));
                    };
                    Paint px = solidPaint(*dc, RGB(mix(GetRValue), mix(GetGValue), mix(GetBValue)),
                                          R2_COPYPEN);
                    paintPixel(t, x, y, px);
                }
        }
    }
    if (raster) endRaster(*dc);
    return TRUE;
}

}  // namespace win
