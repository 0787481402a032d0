// Regions and the clip region of a device context.

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/gdi/drawing.h"
#include "platform/gdi/meta_sink.h"

namespace win {
namespace gdi {
namespace {

int complexity(const Region& r) {
    if (r.empty()) return NULLREGION;
    return r.isRect() ? SIMPLEREGION : COMPLEXREGION;
}

HRGN newRegion(Region r) {
    auto o = std::make_shared<RegionObject>();
    o->region = std::move(r);
    return static_cast<HRGN>(registerObject(o));
}

// The whole drawable area of a context in device coordinates.
Region deviceArea(const DeviceContext& dc) {
    if (const Surface* s = const_cast<DeviceContext&>(dc).target())
        return Region::rect(-dc.origin.x, -dc.origin.y, s->width - dc.origin.x,
                            s->height - dc.origin.y);
    return Region::rect(0, 0, dc.info.horzRes, dc.info.vertRes);
}

Region logicalRectToDevice(const DeviceContext& dc, int l, int t, int r, int b) {
    const PointI p = toDeviceI(dc, l, t), q = toDeviceI(dc, r, b);
    return Region::rect(p.x, p.y, q.x, q.y);
}

int applyClip(DeviceContext& dc, const Region& region, int mode) {
    const Region current = dc.st.clip ? *dc.st.clip : deviceArea(dc);
    switch (mode) {
        case RGN_COPY:
            dc.st.clip = region;
            break;
        case RGN_AND:
            dc.st.clip = Region::combine(current, region, Region::Op::And);
            break;
        case RGN_OR:
            dc.st.clip = Region::combine(current, region, Region::Op::Or);
            break;
        case RGN_XOR:
            dc.st.clip = Region::combine(current, region, Region::Op::Xor);
            break;
        case RGN_DIFF:
            dc.st.clip = Region::combine(current, region, Region::Op::Diff);
            break;
        default:
            return ERROR;
    }
    return complexity(*dc.st.clip);
}

}  // namespace
}  // namespace gdi

using namespace gdi;

HRGN CreateRectRgn(int l, int t, int r, int b) {
    return newRegion(Region::rect(l, t, r, b));
}

HRGN CreateRectRgnIndirect(const RECT* r) {
    return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr;
}

HRGN CreatePolygonRgn(const POINT* pts, int n, int mode) {
    if (!pts || n < 3) return nullptr;
    std::vector<PointD> p;
    for (int i = 0; i < n; ++i)
        p.push_back({double(pts[i].x), double(pts[i].y)});
    Coverage c;
    polygonCoverage(p, {n}, mode == WINDING, c);
    return newRegion(c.toRegion());
}

HRGN CreateEllipticRgn(int l, int t, int r, int b) {
    Coverage c;
    ellipseCoverage(l, t, r - 1, b - 1, c);
    return newRegion(c.toRegion());
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
    auto d = findAs<RegionObject>(dest);
    auto ra = findAs<RegionObject>(a);
    if (!d || !ra) return ERROR;
    if (mode == RGN_COPY) {
        d->region = ra->region;
        return complexity(d->region);
    }
    auto rb = findAs<RegionObject>(b);
    if (!rb) return ERROR;
    Region::Op op;
    switch (mode) {
        case RGN_AND:
            op = Region::Op::And;
            break;
        case RGN_OR:
            op = Region::Op::Or;
            break;
        case RGN_XOR:
            op = Region::Op::Xor;
            break;
        case RGN_DIFF:
            op = Region::Op::Diff;
            break;
        default:
            return ERROR;
    }
    d->region = Region::combine(ra->region, rb->region, op);
    return complexity(d->region);
}

BOOL SetRectRgn(HRGN h, int l, int t, int r, int b) {
    auto o = findAs<RegionObject>(h);
    if (!o) return FALSE;
    o->region = Region::rect(l, t, r, b);
    return TRUE;
}

int OffsetRgn(HRGN h, int dx, int dy) {
    auto o = findAs<RegionObject>(h);
    if (!o) return ERROR;
    o->region.offset(dx, dy);
    return complexity(o->region);
}

int GetRgnBox(HRGN h, RECT* box) {
    auto o = findAs<RegionObject>(h);
    if (!o || !box) return ERROR;
    *box = o->region.box();
    return complexity(o->region);
}

BOOL PtInRegion(HRGN h, int x, int y) {
    auto o = findAs<RegionObject>(h);
    return o && o->region.contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN h, const RECT* r) {
    auto o = findAs<RegionObject>(h);
    if (!o || !r) return FALSE;
    return Region::combine(o->region, Region::rect(r->left, r->top, r->right, r->bottom),
                           Region::Op::And)
                   .empty()
               ? FALSE
               : TRUE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
    auto ra = findAs<RegionObject>(a);
    auto rb = findAs<RegionObject>(b);
    return ra && rb && ra->region == rb->region ? TRUE : FALSE;
}

BOOL FillRgn(HDC hdc, HRGN h, HBRUSH hbrush) {
    DeviceContext* dc = findDc(hdc);
    auto o = findAs<RegionObject>(h);
    auto brush = brushOfHandle(hbrush);
    if (!dc || !o || !brush) return FALSE;
    // Regions are in logical units; each band rectangle is mapped.
    Region dev;
    for (const Band& b : o->region.bands())
        for (const Span& s : b.spans)
            dev = Region::combine(dev, logicalRectToDevice(*dc, s.x0, b.y0, s.x1, b.y1),
                                  Region::Op::Or);
    if (dc->meta) dc->meta->fillRegion(o->region, brush);
    if (VectorDevice* v = vectorOf(*dc)) {
        v->clip(deviceClip(*dc));
        for (const Band& b : dev.bands())
            for (const Span& s : b.spans)
                v->fill({{double(s.x0), double(b.y0)},
                         {double(s.x1), double(b.y0)},
                         {double(s.x1), double(b.y1)},
                         {double(s.x0), double(b.y1)}},
                        {4}, false, brushMeanColour(*dc, *brush));
        return TRUE;
    }
    RasterTarget t;
    if (!beginRaster(*dc, t)) return FALSE;
    Paint p;
    if (brushPaint(*dc, *brush, R2_COPYPEN, p)) paintRegion(t, dev, p);
    endRaster(*dc);
    return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN h) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    return FillRgn(hdc, h, static_cast<HBRUSH>(static_cast<HGDIOBJ>(dc->st.brush.get())));
}

int ExtSelectClipRgn(HDC hdc, HRGN h, int mode) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return ERROR;
    if (!h) {
        if (mode != RGN_COPY) return ERROR;
        if (dc->meta) dc->meta->selectClip(nullptr, RGN_COPY);
        dc->st.clip.reset();
        return SIMPLEREGION;
    }
    auto o = findAs<RegionObject>(h);
    if (!o) return ERROR;
    if (dc->meta) dc->meta->selectClip(&o->region, mode);
    return applyClip(*dc, o->region, mode);
}

int SelectClipRgn(HDC hdc, HRGN h) {
    return ExtSelectClipRgn(hdc, h, RGN_COPY);
}

int IntersectClipRect(HDC hdc, int l, int t, int r, int b) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return ERROR;
    if (dc->meta) dc->meta->rect(MetaOp::IntersectClip, {l, t, r, b});
    return applyClip(*dc, logicalRectToDevice(*dc, l, t, r, b), RGN_AND);
}

int ExcludeClipRect(HDC hdc, int l, int t, int r, int b) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return ERROR;
    if (dc->meta) dc->meta->rect(MetaOp::ExcludeClip, {l, t, r, b});
    return applyClip(*dc, logicalRectToDevice(*dc, l, t, r, b), RGN_DIFF);
}

int OffsetClipRgn(HDC hdc, int dx, int dy) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return ERROR;
    if (dc->meta) dc->meta->point(MetaOp::OffsetClip, dx, dy);
    if (!dc->st.clip) return SIMPLEREGION;
    const PointI o = toDeviceI(*dc, 0, 0), p = toDeviceI(*dc, dx, dy);
    dc->st.clip->offset(p.x - o.x, p.y - o.y);
    return complexity(*dc->st.clip);
}

int GetClipBox(HDC hdc, RECT* rect) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !rect) return ERROR;
    Region area = deviceArea(*dc);
    if (auto c = deviceClip(*dc)) area = Region::combine(area, *c, Region::Op::And);
    const RECT box = area.box();
    POINT pts[2] = {{box.left, box.top}, {box.right, box.bottom}};
    DPtoLP(hdc, pts, 2);
    *rect = {std::min(pts[0].x, pts[1].x), std::min(pts[0].y, pts[1].y),
             std::max(pts[0].x, pts[1].x), std::max(pts[0].y, pts[1].y)};
    return complexity(area);
}

int GetClipRgn(HDC hdc, HRGN h) {
    DeviceContext* dc = findDc(hdc);
    auto o = findAs<RegionObject>(h);
    if (!dc || !o) return -1;
    if (!dc->st.clip) return 0;
    o->region = *dc->st.clip;
    return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    const PointI p = toDeviceI(*dc, x, y);
    Region area = deviceArea(*dc);
    if (auto c = deviceClip(*dc)) area = Region::combine(area, *c, Region::Op::And);
    return area.contains(p.x, p.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC hdc, const RECT* r) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !r) return FALSE;
    Region area = deviceArea(*dc);
    if (auto c = deviceClip(*dc)) area = Region::combine(area, *c, Region::Op::And);
    return Region::combine(area, logicalRectToDevice(*dc, r->left, r->top, r->right, r->bottom),
                           Region::Op::And)
                   .empty()
               ? FALSE
               : TRUE;
}

// ---- palettes -----------------------------------------------------------------

HPALETTE CreatePalette(const LOGPALETTE* lp) {
    if (!lp || lp->palNumEntries == 0) return nullptr;
    auto p = std::make_shared<Palette>();
    p->entries.assign(lp->palPalEntry, lp->palPalEntry + lp->palNumEntries);
    return static_cast<HPALETTE>(registerObject(p));
}

HPALETTE SelectPalette(HDC hdc, HPALETTE h, BOOL) {
    DeviceContext* dc = findDc(hdc);
    auto p = findAs<Palette>(h);
    if (!dc || !p) return nullptr;
    HPALETTE old = static_cast<HPALETTE>(static_cast<HGDIOBJ>(dc->st.palette.get()));
    dc->st.palette = p;
    return old;
}

UINT RealizePalette(HDC hdc) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return GDI_ERROR;
    // A true-colour device maps nothing.
    return 0;
}

UINT SetPaletteEntries(HPALETTE h, UINT start, UINT count, const PALETTEENTRY* e) {
    auto p = findAs<Palette>(h);
    if (!p || !e || start >= p->entries.size()) return 0;
    const UINT n = std::min<UINT>(count, static_cast<UINT>(p->entries.size()) - start);
    std::copy(e, e + n, p->entries.begin() + start);
    return n;
}

UINT GetPaletteEntries(HPALETTE h, UINT start, UINT count, PALETTEENTRY* e) {
    auto p = findAs<Palette>(h);
    if (!p) return 0;
    if (!e) return static_cast<UINT>(p->entries.size());
    if (start >= p->entries.size()) return 0;
    const UINT n = std::min<UINT>(count, static_cast<UINT>(p->entries.size()) - start);
    std::copy(p->entries.begin() + start, p->entries.begin() + start + n, e);
    return n;
}

BOOL AnimatePalette(HPALETTE h, UINT start, UINT count, const PALETTEENTRY* e) {
    return SetPaletteEntries(h, start, count, e) > 0 ? TRUE : FALSE;
}

UINT GetNearestPaletteIndex(HPALETTE h, COLORREF c) {
    auto p = findAs<Palette>(h);
    if (!p || p->entries.empty()) return CLR_INVALID;
    UINT best = 0;
    int bestD = INT_MAX;
    for (UINT i = 0; i < p->entries.size(); ++i) {
        const PALETTEENTRY& e = p->entries[i];
        const int dr = e.peRed - GetRValue(c), dg = e.peGreen - GetGValue(c),
                  db = e.peBlue - GetBValue(c);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return best;
}

COLORREF GetNearestColor(HDC hdc, COLORREF c) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return CLR_INVALID;
    const COLORREF rgb = resolveColor(*dc, c);
    if (const Surface* s = dc->target(); s && s->monochrome)
        return GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb) >= 384 ? RGB(255, 255, 255) : 0;
    return rgb;
}

UINT GetSystemPaletteEntries(HDC hdc, UINT start, UINT count, PALETTEENTRY* e) {
    if (!findDc(hdc)) return 0;
    return GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), start, count,
                             e);
}

}  // namespace win
