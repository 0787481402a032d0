// Enhanced metafiles: recording a context's calls as EMF records, and
// playing EMF records back onto any context.

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <map>

#include "base/little_endian.h"
#include "platform/gdi/dib.h"
#include "platform/gdi/drawing.h"
#include "platform/gdi/meta_sink.h"
#include "platform/gdi/metafile.h"
#include "platform/gdi/metafile_internal.h"
#include "platform/gdi/surface_dc.h"

namespace win {
namespace gdi {

void RecordBytes::f32(float v) {
    u32(std::bit_cast<std::uint32_t>(v));
}
float RecordReader::f32(std::size_t at) const {
    return std::bit_cast<float>(u32(at));
}

std::vector<std::uint8_t> surfaceToDib24(const Surface& s) {
    DibFormat f;
    f.bitCount = 24;
    std::vector<std::uint8_t> bits;
    encodeDib(s, f, bits);
    RecordBytes r;
    r.u32(40);
    r.i32(s.width);
    r.i32(s.height);
    r.u16(1);
    r.u16(24);
    r.u32(BI_RGB);
    r.u32(static_cast<std::uint32_t>(bits.size()));
    for (int k = 0; k < 4; ++k)
        r.u32(0);
    r.bytes(bits.data(), bits.size());
    return std::move(r.data());
}

namespace {

enum : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYLINETO = 6,
    EMR_POLYPOLYGON = 8,
    EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11,
    EMR_SETVIEWPORTORGEX = 12,
    EMR_SETBRUSHORGEX = 13,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20,
    EMR_SETSTRETCHBLTMODE = 21,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_OFFSETCLIPRGN = 26,
    EMR_MOVETOEX = 27,
    EMR_EXCLUDECLIPRECT = 29,
    EMR_INTERSECTCLIPRECT = 30,
    EMR_SCALEVIEWPORTEXTEX = 31,
    EMR_SCALEWINDOWEXTEX = 32,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_SETWORLDTRANSFORM = 35,
    EMR_MODIFYWORLDTRANSFORM = 36,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44,
    EMR_ARC = 45,
    EMR_CHORD = 46,
    EMR_PIE = 47,
    EMR_LINETO = 54,
    EMR_SETARCDIRECTION = 57,
    EMR_FILLRGN = 71,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTA = 83,
    EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_EXTCREATEPEN = 95,
    EMR_GRADIENTFILL = 118
};

constexpr std::uint32_t kStock = 0x80000000u;

class Record {
  public:
    explicit Record(std::uint32_t type) {
        b_.u32(type);
        b_.u32(0);
    }
    RecordBytes& w() { return b_; }
    void rect(const RECT& r) {
        b_.i32(r.left);
        b_.i32(r.top);
        b_.i32(r.right);
        b_.i32(r.bottom);
    }
    std::vector<std::uint8_t>& finish() {
        b_.padTo(4);
        b_.putU32(4, static_cast<std::uint32_t>(b_.size()));
        return b_.data();
    }

  private:
    RecordBytes b_;
};

void writeRegion(RecordBytes& w, const Region& r) {
    std::vector<RECT> rects;
    for (const Band& b : r.bands())
        for (const Span& s : b.spans)
            rects.push_back({s.x0, b.y0, s.x1, b.y1});
    const RECT box = r.box();
    w.u32(32);
    w.u32(1);
    w.u32(static_cast<std::uint32_t>(rects.size()));
    w.u32(static_cast<std::uint32_t>(rects.size() * 16));
    for (LONG v : {box.left, box.top, box.right, box.bottom})
        w.i32(v);
    for (const RECT& rc : rects)
        for (LONG v : {rc.left, rc.top, rc.right, rc.bottom})
            w.i32(v);
}

class EmfRecorder final : public MetaSink {
  public:
    explicit EmfRecorder(DeviceContext* dc) : dc_(dc) {}

    void value(MetaOp op, int v) override {
        std::uint32_t type = 0;
        switch (op) {
            case MetaOp::SetMapMode:
                type = EMR_SETMAPMODE;
                break;
            case MetaOp::SetBkMode:
                type = EMR_SETBKMODE;
                break;
            case MetaOp::SetRop2:
                type = EMR_SETROP2;
                break;
            case MetaOp::SetPolyFillMode:
                type = EMR_SETPOLYFILLMODE;
                break;
            case MetaOp::SetTextAlign:
                type = EMR_SETTEXTALIGN;
                break;
            case MetaOp::SetTextColor:
                type = EMR_SETTEXTCOLOR;
                break;
            case MetaOp::SetBkColor:
                type = EMR_SETBKCOLOR;
                break;
            case MetaOp::SetStretchBltMode:
                type = EMR_SETSTRETCHBLTMODE;
                break;
            case MetaOp::SetArcDirection:
                type = EMR_SETARCDIRECTION;
                break;
            case MetaOp::SaveDc:
                emit(Record(EMR_SAVEDC));
                return;
            case MetaOp::RestoreDc:
                type = EMR_RESTOREDC;
                break;
            default:
                return;  // the graphics mode is implied by EMF playback
        }
        Record r(type);
        r.w().i32(v);
        emit(r);
    }

    void point(MetaOp op, int x, int y) override {
        std::uint32_t type = 0;
        switch (op) {
            case MetaOp::SetWindowOrg:
                type = EMR_SETWINDOWORGEX;
                break;
            case MetaOp::SetWindowExt:
                type = EMR_SETWINDOWEXTEX;
                break;
            case MetaOp::SetViewportOrg:
                type = EMR_SETVIEWPORTORGEX;
                break;
            case MetaOp::SetViewportExt:
                type = EMR_SETVIEWPORTEXTEX;
                break;
            case MetaOp::MoveTo:
                type = EMR_MOVETOEX;
                break;
            case MetaOp::LineTo:
                type = EMR_LINETO;
                bound(dc_->st.current.x, dc_->st.current.y);
                bound(x, y);
                break;
            case MetaOp::OffsetClip:
                type = EMR_OFFSETCLIPRGN;
                break;
            case MetaOp::SetBrushOrg:
                type = EMR_SETBRUSHORGEX;
                break;
            default:
                return;
        }
        Record r(type);
        r.w().i32(x);
        r.w().i32(y);
        emit(r);
    }

    void scale(MetaOp op, int xn, int xd, int yn, int yd) override {
        Record r(op == MetaOp::ScaleViewportExt ? EMR_SCALEVIEWPORTEXTEX : EMR_SCALEWINDOWEXTEX);
        for (int v : {xn, xd, yn, yd})
            r.w().i32(v);
        emit(r);
    }

    void rect(MetaOp op, const RECT& rc) override {
        std::uint32_t type = 0;
        switch (op) {
            case MetaOp::Rectangle:
                type = EMR_RECTANGLE;
                boundRect(rc);
                break;
            case MetaOp::Ellipse:
                type = EMR_ELLIPSE;
                boundRect(rc);
                break;
            case MetaOp::IntersectClip:
                type = EMR_INTERSECTCLIPRECT;
                break;
            case MetaOp::ExcludeClip:
                type = EMR_EXCLUDECLIPRECT;
                break;
            default:
                return;
        }
        Record r(type);
        r.rect(rc);
        emit(r);
    }

    void arc(MetaOp op, const RECT& rc, POINT s, POINT e) override {
        Record r(op == MetaOp::Arc ? EMR_ARC : op == MetaOp::Pie ? EMR_PIE : EMR_CHORD);
        boundRect(rc);
        r.rect(rc);
        for (LONG v : {s.x, s.y, e.x, e.y})
            r.w().i32(v);
        emit(r);
    }

    void roundRect(const RECT& rc, int w, int h) override {
        Record r(EMR_ROUNDRECT);
        boundRect(rc);
        r.rect(rc);
        r.w().i32(w);
        r.w().i32(h);
        emit(r);
    }

    void points(MetaOp op, const POINT* pts, int n) override {
        Record r(op == MetaOp::Polygon    ? EMR_POLYGON
                 : op == MetaOp::Polyline ? EMR_POLYLINE
                                          : EMR_POLYLINETO);
        r.rect(logicalBox(pts, n));
        r.w().u32(static_cast<std::uint32_t>(n));
        for (int i = 0; i < n; ++i) {
            r.w().i32(pts[i].x);
            r.w().i32(pts[i].y);
            bound(pts[i].x, pts[i].y);
        }
        emit(r);
    }

    void polyPolygon(const POINT* pts, const INT* counts, int polygons) override {
        Record r(EMR_POLYPOLYGON);
        int total = 0;
        for (int i = 0; i < polygons; ++i)
            total += counts[i];
        r.rect(logicalBox(pts, total));
        r.w().u32(static_cast<std::uint32_t>(polygons));
        r.w().u32(static_cast<std::uint32_t>(total));
        for (int i = 0; i < polygons; ++i)
            r.w().u32(static_cast<std::uint32_t>(counts[i]));
        for (int i = 0; i < total; ++i) {
            r.w().i32(pts[i].x);
            r.w().i32(pts[i].y);
            bound(pts[i].x, pts[i].y);
        }
        emit(r);
    }

    void pixel(int x, int y, COLORREF color) override {
        Record r(EMR_SETPIXELV);
        r.w().i32(x);
        r.w().i32(y);
        r.w().u32(color);
        bound(x, y);
        emit(r);
    }

    void text(int x, int y, UINT options, const RECT* rc, const char* s, int n,
              const INT* dx) override {
        std::vector<INT> widths(static_cast<std::size_t>(std::max(n, 0)));
        if (dx)
            std::copy(dx, dx + n, widths.begin());
        else
            for (int i = 0; i < n; ++i)
                GetCharWidth32A(handle(), static_cast<unsigned char>(s[i]),
                                static_cast<unsigned char>(s[i]), &widths[i]);
        Record r(EMR_EXTTEXTOUTA);
        int total = 0;
        for (int w : widths)
            total += w;
        TEXTMETRICA tm;
        GetTextMetricsA(handle(), &tm);
        bound(x, y - tm.tmHeight);
        bound(x + total, y + tm.tmHeight);
        r.rect({0, 0, -1, -1});
        r.w().u32(GM_COMPATIBLE);
        r.w().f32(0);
        r.w().f32(0);
        r.w().i32(x);
        r.w().i32(y);
        r.w().u32(static_cast<std::uint32_t>(n));
        const std::uint32_t stringAt = 76;
        const std::uint32_t stringBytes = static_cast<std::uint32_t>((n + 3) / 4 * 4);
        r.w().u32(stringAt);
        r.w().u32(options);
        r.rect(rc ? *rc : RECT{0, 0, -1, -1});
        r.w().u32(stringAt + stringBytes);
        r.w().bytes(reinterpret_cast<const std::uint8_t*>(s), static_cast<std::size_t>(n));
        r.w().padTo(4);
        for (int w : widths)
            r.w().i32(w);
        emit(r);
    }

    void select(const std::shared_ptr<Object>& o, int stockIndex) override {
        std::uint32_t index;
        if (stockIndex >= 0)
            index = kStock | static_cast<std::uint32_t>(stockIndex);
        else
            index = ensure(o);
        Record r(EMR_SELECTOBJECT);
        r.w().u32(index);
        emit(r);
    }

    void erase(const Object* o) override {
        const std::optional<std::uint32_t> index = objects_.release(o);
        if (!index) return;
        Record r(EMR_DELETEOBJECT);
        r.w().u32(*index);
        emit(r);
    }

    void transform(const XFORM& xf, DWORD mode) override {
        Record r(mode == 0 ? EMR_SETWORLDTRANSFORM : EMR_MODIFYWORLDTRANSFORM);
        for (float v : {xf.eM11, xf.eM12, xf.eM21, xf.eM22, xf.eDx, xf.eDy})
            r.w().f32(v);
        if (mode != 0) r.w().u32(mode);
        emit(r);
    }

    void selectClip(const Region* region, int mode) override {
        Record r(EMR_EXTSELECTCLIPRGN);
        if (!region) {
            r.w().u32(0);
            r.w().u32(RGN_COPY);
        } else {
            RecordBytes data;
            writeRegion(data, *region);
            r.w().u32(static_cast<std::uint32_t>(data.size()));
            r.w().u32(static_cast<std::uint32_t>(mode));
            r.w().bytes(data.data().data(), data.size());
        }
        emit(r);
    }

    void image(const RECT& dest, const Surface& pixels, DWORD rop) override {
        const std::vector<std::uint8_t> dib = surfaceToDib24(pixels);
        Record r(EMR_STRETCHDIBITS);
        boundRect(dest);
        r.rect(deviceBox(dest));
        r.w().i32(dest.left);
        r.w().i32(dest.top);
        r.w().i32(0);
        r.w().i32(0);
        r.w().i32(pixels.width);
        r.w().i32(pixels.height);
        r.w().u32(80);
        r.w().u32(40);
        r.w().u32(120);
        r.w().u32(static_cast<std::uint32_t>(dib.size() - 40));
        r.w().u32(DIB_RGB_COLORS);
        r.w().u32(rop);
        r.w().i32(dest.right - dest.left);
        r.w().i32(dest.bottom - dest.top);
        r.w().bytes(dib.data(), dib.size());
        emit(r);
    }

    void patBlt(const RECT& rc, DWORD rop) override {
        Record r(EMR_BITBLT);
        boundRect(rc);
        r.rect(deviceBox(rc));
        r.w().i32(rc.left);
        r.w().i32(rc.top);
        r.w().i32(rc.right - rc.left);
        r.w().i32(rc.bottom - rc.top);
        r.w().u32(rop);
        r.w().i32(0);
        r.w().i32(0);
        for (float v : {1.f, 0.f, 0.f, 1.f, 0.f, 0.f})
            r.w().f32(v);
        for (int k = 0; k < 6; ++k)
            r.w().u32(0);
        emit(r);
    }

    void gradient(const TRIVERTEX* v, ULONG nv, const void* mesh, ULONG nm, ULONG mode) override {
        Record r(EMR_GRADIENTFILL);
        std::vector<POINT> pts;
        for (ULONG i = 0; i < nv; ++i)
            pts.push_back({v[i].x, v[i].y});
        r.rect(logicalBox(pts.data(), static_cast<int>(pts.size())));
        for (const POINT& p : pts)
            bound(p.x, p.y);
        r.w().u32(nv);
        r.w().u32(nm);
        r.w().u32(mode);
        for (ULONG i = 0; i < nv; ++i) {
            r.w().i32(v[i].x);
            r.w().i32(v[i].y);
            for (USHORT c : {v[i].Red, v[i].Green, v[i].Blue, v[i].Alpha})
                r.w().u16(c);
        }
        const auto* idx = static_cast<const ULONG*>(mesh);
        const ULONG perMesh = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
        for (ULONG i = 0; i < nm * perMesh; ++i)
            r.w().u32(idx[i]);
        emit(r);
    }

    void fillRegion(const Region& region, const std::shared_ptr<Object>& brush) override {
        const std::uint32_t index = brush->stockIndex >= 0
                                        ? kStock | static_cast<std::uint32_t>(brush->stockIndex)
                                        : ensure(brush);
        RecordBytes data;
        writeRegion(data, region);
        Record r(EMR_FILLRGN);
        const RECT box = region.box();
        r.rect(box);
        r.w().u32(static_cast<std::uint32_t>(data.size()));
        r.w().u32(index);
        r.w().bytes(data.data().data(), data.size());
        emit(r);
    }

    std::vector<std::uint8_t> finish(const RECT* frame, const std::u16string& description) {
        Record eof(EMR_EOF);
        eof.w().u32(0);
        eof.w().u32(16);
        eof.w().u32(20);
        emit(eof);
        const DeviceInfo& info = dc_->info;
        RECT bounds = haveBounds_ ? bounds_ : RECT{0, 0, -1, -1};
        RECT fr;
        if (frame)
            fr = *frame;
        else if (haveBounds_)
            fr = {bounds.left * info.horzSizeMm * 100 / info.horzRes,
                  bounds.top * info.vertSizeMm * 100 / info.vertRes,
                  (bounds.right + 1) * info.horzSizeMm * 100 / info.horzRes,
                  (bounds.bottom + 1) * info.vertSizeMm * 100 / info.vertRes};
        else
            fr = {0, 0, 0, 0};
        Record h(EMR_HEADER);
        h.rect(bounds);
        h.rect(fr);
        h.w().u32(0x464D4520);
        h.w().u32(0x10000);
        const std::size_t headerSize = 108;
        const std::size_t descBytes = (description.size() * 2 + 3) / 4 * 4;
        h.w().u32(static_cast<std::uint32_t>(headerSize + descBytes + body_.size()));
        h.w().u32(records_ + 1);
        h.w().u16(static_cast<std::uint16_t>(objects_.slotCount()));
        h.w().u16(0);
        h.w().u32(static_cast<std::uint32_t>(description.size()));
        h.w().u32(description.empty() ? 0 : static_cast<std::uint32_t>(headerSize));
        h.w().u32(0);
        h.w().i32(info.horzRes);
        h.w().i32(info.vertRes);
        h.w().i32(info.horzSizeMm);
        h.w().i32(info.vertSizeMm);
        h.w().u32(0);
        h.w().u32(0);
        h.w().u32(0);
        h.w().i32(static_cast<std::int32_t>(std::lround(info.horzRes * 25400.0 / info.dpiX)));
        h.w().i32(static_cast<std::int32_t>(std::lround(info.vertRes * 25400.0 / info.dpiY)));
        for (char16_t c : description)
            h.w().u16(c);
        std::vector<std::uint8_t> out = h.finish();
        out.insert(out.end(), body_.begin(), body_.end());
        return out;
    }

  private:
    HDC handle() const { return reinterpret_cast<HDC>(dc_); }

    void emit(Record r) {
        const std::vector<std::uint8_t>& b = r.finish();
        body_.insert(body_.end(), b.begin(), b.end());
        ++records_;
    }

    std::uint32_t ensure(const std::shared_ptr<Object>& o) {
        const auto [index, isNew] = objects_.ensure(o);
        if (isNew) create(*o, index);
        return index;
    }

    void create(const Object& o, std::uint32_t index) {
        switch (o.kind) {
            case OBJ_PEN: {
                const auto& p = static_cast<const Pen&>(o);
                if (p.extended) {
                    Record r(EMR_EXTCREATEPEN);
                    r.w().u32(index);
                    for (int k = 0; k < 4; ++k)
                        r.w().u32(0);
                    r.w().u32(static_cast<std::uint32_t>(p.style | p.endCap | p.join |
                                                         (p.geometric ? PS_GEOMETRIC : 0)));
                    r.w().u32(static_cast<std::uint32_t>(p.width));
                    r.w().u32(p.style == PS_NULL ? BS_NULL : BS_SOLID);
                    r.w().u32(p.color);
                    r.w().u32(0);
                    r.w().u32(static_cast<std::uint32_t>(p.dashes.size()));
                    for (DWORD d : p.dashes)
                        r.w().u32(d);
                    emit(r);
                } else {
                    Record r(EMR_CREATEPEN);
                    r.w().u32(index);
                    r.w().u32(static_cast<std::uint32_t>(p.style));
                    r.w().i32(p.width);
                    r.w().i32(0);
                    r.w().u32(p.color);
                    emit(r);
                }
                return;
            }
            case OBJ_BRUSH: {
                const auto& b = static_cast<const Brush&>(o);
                if (b.style == BS_PATTERN && b.pattern) {
                    const std::vector<std::uint8_t> dib = surfaceToDib24(*b.pattern);
                    Record r(EMR_CREATEDIBPATTERNBRUSHPT);
                    r.w().u32(index);
                    r.w().u32(DIB_RGB_COLORS);
                    r.w().u32(32);
                    r.w().u32(40);
                    r.w().u32(72);
                    r.w().u32(static_cast<std::uint32_t>(dib.size() - 40));
                    r.w().bytes(dib.data(), dib.size());
                    emit(r);
                    return;
                }
                Record r(EMR_CREATEBRUSHINDIRECT);
                r.w().u32(index);
                r.w().u32(b.style == BS_PATTERN ? BS_SOLID : b.style);
                r.w().u32(b.color);
                r.w().u32(static_cast<std::uint32_t>(b.hatch));
                emit(r);
                return;
            }
            case OBJ_FONT: {
                const LOGFONTA& lf = static_cast<const Font&>(o).lf;
                Record r(EMR_EXTCREATEFONTINDIRECTW);
                r.w().u32(index);
                for (LONG v :
                     {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight})
                    r.w().i32(v);
                for (BYTE v :
                     {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
                      lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily})
                    r.w().u8(v);
                for (int i = 0; i < LF_FACESIZE; ++i)
                    r.w().u16(static_cast<unsigned char>(lf.lfFaceName[i]));
                emit(r);
                return;
            }
            default:
                return;
        }
    }

    RECT logicalBox(const POINT* pts, int n) const {
        if (n <= 0) return {0, 0, -1, -1};
        RECT r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int i = 0; i < n; ++i) {
            const PointI d = toDeviceI(*dc_, pts[i].x, pts[i].y);
            r = {std::min<LONG>(r.left, d.x), std::min<LONG>(r.top, d.y),
                 std::max<LONG>(r.right, d.x), std::max<LONG>(r.bottom, d.y)};
        }
        return r;
    }
    RECT deviceBox(const RECT& rc) const {
        const POINT pts[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
        return logicalBox(pts, 2);
    }
    void bound(int x, int y) {
        const PointI d = toDeviceI(*dc_, x, y);
        if (!haveBounds_) {
            bounds_ = {d.x, d.y, d.x, d.y};
            haveBounds_ = true;
            return;
        }
        bounds_ = {std::min<LONG>(bounds_.left, d.x), std::min<LONG>(bounds_.top, d.y),
                   std::max<LONG>(bounds_.right, d.x), std::max<LONG>(bounds_.bottom, d.y)};
    }
    void boundRect(const RECT& rc) {
        bound(rc.left, rc.top);
        bound(rc.right, rc.bottom);
    }

    DeviceContext* dc_;
    std::vector<std::uint8_t> body_;
    std::uint32_t records_ = 0;
    // Slot 0 stands for the metafile itself.
    MetafileObjectTable objects_{1};
    RECT bounds_;
    bool haveBounds_ = false;
};

struct EmfContext {
    std::string fileName;
    RECT frame;
    bool haveFrame = false;
    std::u16string description;
};

std::map<const DeviceContext*, EmfContext>& emfContexts() {
    static std::map<const DeviceContext*, EmfContext> m;
    return m;
}

bool writeAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return base::writeFile(path, bytes);
}

}  // namespace

// ---- playback ----------------------------------------------------------------

namespace {

Region readRegion(const RecordReader& r, std::size_t at, const Affine& toDevice) {
    // A count larger than the record can hold is cut to what is there.
    const std::size_t room = r.size() > at + 32 ? (r.size() - at - 32) / 16 : 0;
    const std::size_t count = std::min<std::size_t>(r.u32(at + 8), room);
    Region out;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t p = at + 32 + 16 * i;
        double x0, y0, x1, y1;
        toDevice.apply(r.i32(p), r.i32(p + 4), x0, y0);
        toDevice.apply(r.i32(p + 8), r.i32(p + 12), x1, y1);
        out = Region::combine(
            out,
            Region::rect(static_cast<int>(std::lround(x0)), static_cast<int>(std::lround(y0)),
                         static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1))),
            Region::Op::Or);
    }
    return out;
}

std::vector<POINT> readPoints(const RecordReader& r, std::size_t at, std::uint32_t n) {
    std::vector<POINT> pts;
    const std::size_t limit = (r.size() - std::min(r.size(), at)) / 8;
    n = static_cast<std::uint32_t>(std::min<std::size_t>(n, limit));
    for (std::uint32_t i = 0; i < n; ++i)
        pts.push_back({r.i32(at + 8 * i), r.i32(at + 8 * i + 4)});
    return pts;
}

bool decodeDibAt(const RecordReader& r, std::uint32_t offBmi, std::uint32_t cbBmi,
                 std::uint32_t offBits, std::uint32_t cbBits, Surface& out) {
    if (cbBmi < 12 || offBmi + cbBmi > r.size() || offBits + cbBits > r.size()) return false;
    std::vector<std::uint8_t> info(r.at(offBmi), r.at(offBmi) + cbBmi);
    info.resize(std::max<std::size_t>(info.size(), sizeof(BITMAPINFO) + 256 * 4), 0);
    DibFormat f;
    if (!readDibFormat(reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, f))
        return false;
    if (f.stride() * static_cast<std::size_t>(f.height) > cbBits) return false;
    decodeDibRows(f, r.at(offBits), 0, f.height, out);
    return true;
}

class EmfPlayer {
  public:
    EmfPlayer(HDC hdc, DeviceContext& dc, std::uint32_t handles)
        : hdc_(hdc), dc_(dc), objects_(handles + 1, nullptr) {}
    ~EmfPlayer() {
        for (HGDIOBJ o : objects_)
            if (o) DeleteObject(o);
    }

    void play(const RecordReader& r, std::uint32_t type) {
        switch (type) {
            case EMR_SETMAPMODE:
                SetMapMode(hdc_, r.i32(8));
                break;
            case EMR_SETBKMODE:
                SetBkMode(hdc_, r.i32(8));
                break;
            case EMR_SETPOLYFILLMODE:
                SetPolyFillMode(hdc_, r.i32(8));
                break;
            case EMR_SETROP2:
                SetROP2(hdc_, r.i32(8));
                break;
            case EMR_SETSTRETCHBLTMODE:
                SetStretchBltMode(hdc_, r.i32(8));
                break;
            case EMR_SETTEXTALIGN:
                SetTextAlign(hdc_, r.u32(8));
                break;
            case EMR_SETTEXTCOLOR:
                SetTextColor(hdc_, r.u32(8));
                break;
            case EMR_SETBKCOLOR:
                SetBkColor(hdc_, r.u32(8));
                break;
            case EMR_SETARCDIRECTION:
                SetArcDirection(hdc_, r.i32(8));
                break;
            case EMR_SAVEDC:
                SaveDC(hdc_);
                break;
            case EMR_RESTOREDC:
                RestoreDC(hdc_, r.i32(8));
                break;
            case EMR_SETWINDOWORGEX:
                SetWindowOrgEx(hdc_, r.i32(8), r.i32(12), nullptr);
                break;
            case EMR_SETWINDOWEXTEX:
                SetWindowExtEx(hdc_, r.i32(8), r.i32(12), nullptr);
                break;
            case EMR_SETVIEWPORTORGEX:
                SetViewportOrgEx(hdc_, r.i32(8), r.i32(12), nullptr);
                break;
            case EMR_SETVIEWPORTEXTEX:
                SetViewportExtEx(hdc_, r.i32(8), r.i32(12), nullptr);
                break;
            case EMR_SCALEVIEWPORTEXTEX:
                ScaleViewportExtEx(hdc_, r.i32(8), r.i32(12), r.i32(16), r.i32(20), nullptr);
                break;
            case EMR_SCALEWINDOWEXTEX:
                ScaleWindowExtEx(hdc_, r.i32(8), r.i32(12), r.i32(16), r.i32(20), nullptr);
                break;
            case EMR_SETBRUSHORGEX:
                SetBrushOrgEx(hdc_, r.i32(8), r.i32(12), nullptr);
                break;
            case EMR_MOVETOEX:
                MoveToEx(hdc_, r.i32(8), r.i32(12), nullptr);
                break;
            case EMR_LINETO:
                LineTo(hdc_, r.i32(8), r.i32(12));
                break;
            case EMR_OFFSETCLIPRGN:
                OffsetClipRgn(hdc_, r.i32(8), r.i32(12));
                break;
            case EMR_RECTANGLE:
                Rectangle(hdc_, r.i32(8), r.i32(12), r.i32(16), r.i32(20));
                break;
            case EMR_ELLIPSE:
                Ellipse(hdc_, r.i32(8), r.i32(12), r.i32(16), r.i32(20));
                break;
            case EMR_INTERSECTCLIPRECT:
                IntersectClipRect(hdc_, r.i32(8), r.i32(12), r.i32(16), r.i32(20));
                break;
            case EMR_EXCLUDECLIPRECT:
                ExcludeClipRect(hdc_, r.i32(8), r.i32(12), r.i32(16), r.i32(20));
                break;
            case EMR_ROUNDRECT:
                RoundRect(hdc_, r.i32(8), r.i32(12), r.i32(16), r.i32(20), r.i32(24), r.i32(28));
                break;
            case EMR_ARC:
            case EMR_PIE:
            case EMR_CHORD: {
                auto fn = type == EMR_ARC ? Arc : type == EMR_PIE ? Pie : Chord;
                fn(hdc_, r.i32(8), r.i32(12), r.i32(16), r.i32(20), r.i32(24), r.i32(28), r.i32(32),
                   r.i32(36));
                break;
            }
            case EMR_POLYGON:
            case EMR_POLYLINE:
            case EMR_POLYLINETO: {
                const std::vector<POINT> pts = readPoints(r, 28, r.u32(24));
                const int n = static_cast<int>(pts.size());
                if (type == EMR_POLYGON)
                    Polygon(hdc_, pts.data(), n);
                else if (type == EMR_POLYLINE)
                    Polyline(hdc_, pts.data(), n);
                else
                    PolylineTo(hdc_, pts.data(), static_cast<DWORD>(n));
                break;
            }
            case EMR_POLYPOLYGON: {
                const std::uint32_t polys = r.u32(24), total = r.u32(28);
                if (polys > r.size() / 4) break;
                std::vector<INT> counts;
                for (std::uint32_t i = 0; i < polys; ++i)
                    counts.push_back(r.i32(32 + 4 * i));
                const std::vector<POINT> pts = readPoints(r, 32 + 4 * polys, total);
                std::size_t sum = 0;
                for (INT c : counts)
                    sum += static_cast<std::size_t>(std::max(c, 0));
                if (sum == pts.size())
                    PolyPolygon(hdc_, pts.data(), counts.data(), static_cast<int>(polys));
                break;
            }
            case EMR_SETPIXELV:
                SetPixel(hdc_, r.i32(8), r.i32(12), r.u32(16));
                break;
            case EMR_EXTTEXTOUTA:
                text(r);
                break;
            case EMR_SELECTOBJECT: {
                const std::uint32_t i = r.u32(8);
                if (i & kStock)
                    SelectObject(hdc_, GetStockObject(static_cast<int>(i & ~kStock)));
                else if (i < objects_.size() && objects_[i])
                    SelectObject(hdc_, objects_[i]);
                break;
            }
            case EMR_DELETEOBJECT: {
                const std::uint32_t i = r.u32(8);
                if (i < objects_.size() && objects_[i]) {
                    // Deleting the selected object leaves the stock one in its place.
                    const DWORD kind = GetObjectType(objects_[i]);
                    if (kind == OBJ_PEN || kind == OBJ_EXTPEN) {
                        if (GetCurrentObject(hdc_, OBJ_PEN) == objects_[i])
                            SelectObject(hdc_, GetStockObject(BLACK_PEN));
                    } else if (kind == OBJ_BRUSH) {
                        if (GetCurrentObject(hdc_, OBJ_BRUSH) == objects_[i])
                            SelectObject(hdc_, GetStockObject(WHITE_BRUSH));
                    } else if (kind == OBJ_FONT) {
                        if (GetCurrentObject(hdc_, OBJ_FONT) == objects_[i])
                            SelectObject(hdc_, GetStockObject(SYSTEM_FONT));
                    }
                    DeleteObject(objects_[i]);
                    objects_[i] = nullptr;
                }
                break;
            }
            case EMR_CREATEPEN:
                keep(r.u32(8), CreatePen(r.i32(12), r.i32(16), r.u32(24)));
                break;
            case EMR_EXTCREATEPEN: {
                LOGBRUSH lb{r.u32(36), r.u32(40), 0};
                const std::uint32_t n = std::min<std::uint32_t>(r.u32(48), 16);
                std::vector<DWORD> dashes;
                for (std::uint32_t i = 0; i < n; ++i)
                    dashes.push_back(r.u32(52 + 4 * i));
                keep(r.u32(8), ExtCreatePen(r.u32(28), r.u32(32), &lb, n,
                                            dashes.empty() ? nullptr : dashes.data()));
                break;
            }
            case EMR_CREATEBRUSHINDIRECT: {
                LOGBRUSH lb{r.u32(12), r.u32(16), r.u32(20)};
                keep(r.u32(8), CreateBrushIndirect(&lb));
                break;
            }
            case EMR_CREATEDIBPATTERNBRUSHPT: {
                Surface s;
                if (!decodeDibAt(r, r.u32(16), r.u32(20), r.u32(24), r.u32(28), s)) break;
                HBITMAP bm = CreateBitmap(s.width, s.height, 1, 32, nullptr);
                findAs<Bitmap>(bm)->surface = s;
                keep(r.u32(8), CreatePatternBrush(bm));
                DeleteObject(bm);
                break;
            }
            case EMR_EXTCREATEFONTINDIRECTW: {
                LOGFONTA lf;
                lf.lfHeight = r.i32(12);
                lf.lfWidth = r.i32(16);
                lf.lfEscapement = r.i32(20);
                lf.lfOrientation = r.i32(24);
                lf.lfWeight = r.i32(28);
                const std::uint8_t* b = r.at(32);
                if (r.size() >= 32 + 8 + 64) {
                    lf.lfItalic = b[0];
                    lf.lfUnderline = b[1];
                    lf.lfStrikeOut = b[2];
                    lf.lfCharSet = b[3];
                    lf.lfOutPrecision = b[4];
                    lf.lfClipPrecision = b[5];
                    lf.lfQuality = b[6];
                    lf.lfPitchAndFamily = b[7];
                    for (int i = 0; i < LF_FACESIZE - 1; ++i) {
                        const std::uint16_t c = r.u16(40 + 2 * static_cast<std::size_t>(i));
                        if (!c) break;
                        lf.lfFaceName[i] = static_cast<char>(c < 256 ? c : '?');
                    }
                }
                keep(r.u32(8), CreateFontIndirectA(&lf));
                break;
            }
            case EMR_SETWORLDTRANSFORM:
            case EMR_MODIFYWORLDTRANSFORM: {
                XFORM xf{r.f32(8), r.f32(12), r.f32(16), r.f32(20), r.f32(24), r.f32(28)};
                const int old = dc_.st.graphicsMode;
                dc_.st.graphicsMode = GM_ADVANCED;
                if (type == EMR_SETWORLDTRANSFORM)
                    SetWorldTransform(hdc_, &xf);
                else
                    ModifyWorldTransform(hdc_, &xf, r.u32(32));
                dc_.st.graphicsMode = old;
                break;
            }
            case EMR_EXTSELECTCLIPRGN: {
                const std::uint32_t cb = r.u32(8);
                const int mode = r.i32(12);
                if (cb == 0) {
                    if (mode == RGN_COPY) dc_.st.clip.reset();
                    break;
                }
                HRGN rgn = CreateRectRgn(0, 0, 0, 0);
                findAs<RegionObject>(rgn)->region = readRegion(r, 16, dc_.base);
                ExtSelectClipRgn(hdc_, rgn, mode);
                DeleteObject(rgn);
                break;
            }
            case EMR_FILLRGN: {
                const std::uint32_t i = r.u32(28);
                HGDIOBJ brush = (i & kStock) ? GetStockObject(static_cast<int>(i & ~kStock))
                                             : (i < objects_.size() ? objects_[i] : nullptr);
                if (!brush) break;
                // Region rectangles are device units of the recording; map them through the
                // playback.
                const Region dev = readRegion(r, 32, dc_.fullTransform());
                RasterTarget t;
                Paint p;
                auto b = findAs<Brush>(brush);
                if (b && beginRaster(dc_, t) && brushPaint(dc_, *b, R2_COPYPEN, p)) {
                    paintRegion(t, dev, p);
                    endRaster(dc_);
                }
                break;
            }
            case EMR_BITBLT: {
                if (r.u32(84) == 0)
                    PatBlt(hdc_, r.i32(24), r.i32(28), r.i32(32), r.i32(36), r.u32(40));
                break;
            }
            case EMR_STRETCHDIBITS: {
                Surface s;
                if (!decodeDibAt(r, r.u32(48), r.u32(52), r.u32(56), r.u32(60), s)) break;
                const int x = r.i32(24), y = r.i32(28);
                drawImage(dc_, {x, y, x + r.i32(72), y + r.i32(76)}, s, r.u32(68));
                break;
            }
            case EMR_GRADIENTFILL: {
                const std::uint32_t nv = r.u32(24), nm = r.u32(28), mode = r.u32(32);
                if (nv > r.size() / 16 || nm > r.size() / 8) break;
                std::vector<TRIVERTEX> v;
                for (std::uint32_t i = 0; i < nv; ++i) {
                    const std::size_t p = 36 + 16 * static_cast<std::size_t>(i);
                    v.push_back({r.i32(p), r.i32(p + 4), r.u16(p + 8), r.u16(p + 10), r.u16(p + 12),
                                 r.u16(p + 14)});
                }
                const std::uint32_t per = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
                std::vector<ULONG> idx;
                for (std::uint32_t i = 0; i < nm * per; ++i)
                    idx.push_back(r.u32(36 + 16 * nv + 4 * i));
                GradientFill(hdc_, v.data(), nv, idx.data(), nm, mode);
                break;
            }
            default:
                break;
        }
    }

  private:
    void keep(std::uint32_t index, HGDIOBJ object) {
        // Indices beyond the header's handle count are not the metafile's to use.
        if (index == 0 || index >= objects_.size()) {
            if (object) DeleteObject(object);
            return;
        }
        if (objects_[index]) DeleteObject(objects_[index]);
        objects_[index] = object;
    }

    void text(const RecordReader& r) {
        const int x = r.i32(36), y = r.i32(40);
        const std::uint32_t n = r.u32(44), off = r.u32(48), options = r.u32(52);
        const RECT rc{r.i32(56), r.i32(60), r.i32(64), r.i32(68)};
        const std::uint32_t offDx = r.u32(72);
        if (n > r.size() || off + n > r.size()) return;
        std::vector<INT> dx;
        if (offDx && offDx + 4 * static_cast<std::size_t>(n) <= r.size())
            for (std::uint32_t i = 0; i < n; ++i)
                dx.push_back(r.i32(offDx + 4 * i));
        ExtTextOutA(hdc_, x, y, options, (options & (ETO_CLIPPED | ETO_OPAQUE)) ? &rc : nullptr,
                    reinterpret_cast<const char*>(r.at(off)), n, dx.empty() ? nullptr : dx.data());
    }

    HDC hdc_;
    DeviceContext& dc_;
    std::vector<HGDIOBJ> objects_;
};

}  // namespace

bool playEnhancedRecords(HDC hdc, const std::vector<std::uint8_t>& bytes, const RECT& rect);

namespace {

// The picture of a metafile over a background, at `w` x `h` pixels.
Surface pictureOn(const std::vector<std::uint8_t>& bytes, int w, int h, HBRUSH background) {
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bm = CreateBitmap(w, h, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(mem, bm);
    const RECT all{0, 0, w, h};
    FillRect(mem, &all, background);
    playEnhancedRecords(mem, bytes, all);
    Surface out = *GetDCSurface(mem);
    SelectObject(mem, old);
    DeleteObject(bm);
    DeleteDC(mem);
    return out;
}

// A metafile played into a context that records keeps its picture as two
// images: a mask that clears where it draws, then what it draws.
bool recordPicture(DeviceContext& dc, const std::vector<std::uint8_t>& bytes, const RECT& rect) {
    constexpr int kLargest = 4096;
    const PointI a = toDeviceI(dc, rect.left, rect.top), b = toDeviceI(dc, rect.right, rect.bottom);
    const int w = std::min(std::abs(b.x - a.x), kLargest),
              h = std::min(std::abs(b.y - a.y), kLargest);
    if (w == 0 || h == 0) return true;
    const Surface onWhite =
        pictureOn(bytes, w, h, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const Surface onBlack =
        pictureOn(bytes, w, h, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Surface mask(w, h, 0xFFFFFF), ink(w, h, 0);
    for (std::size_t i = 0; i < mask.pixels.size(); ++i)
        if (onWhite.pixels[i] == onBlack.pixels[i]) {
            mask.pixels[i] = 0;
            ink.pixels[i] = onWhite.pixels[i];
        }
    dc.meta->image(rect, mask, SRCAND);
    dc.meta->image(rect, ink, SRCPAINT);
    return true;
}

}  // namespace

bool playEnhancedRecords(HDC hdc, const std::vector<std::uint8_t>& bytes, const RECT& rect) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || bytes.size() < 88) return false;
    const RecordReader head(bytes.data(), bytes.size());
    if (head.u32(0) != EMR_HEADER || head.u32(40) != 0x464D4520) return false;
    if (dc->meta) return recordPicture(*dc, bytes, rect);
    // The frame (0.01 mm) in reference pixels is stretched over the rectangle.
    const double devW = head.i32(72), devH = head.i32(76);
    double mmW = head.i32(80), mmH = head.i32(84);
    // The micrometre size, when present, is the exact one.
    if (head.u32(4) >= 108 && head.i32(100) > 0 && head.i32(104) > 0) {
        mmW = head.i32(100) / 1000.0;
        mmH = head.i32(104) / 1000.0;
    }
    if (devW <= 0 || devH <= 0 || mmW <= 0 || mmH <= 0) return false;
    const double fl = head.i32(24) * devW / (mmW * 100), ft = head.i32(28) * devH / (mmH * 100);
    const double fr = head.i32(32) * devW / (mmW * 100), fb = head.i32(36) * devH / (mmH * 100);
    const double fw = std::max(fr - fl, 1e-9), fh = std::max(fb - ft, 1e-9);
    Affine toRect{(rect.right - rect.left) / fw, 0, 0, (rect.bottom - rect.top) / fh, 0, 0};
    toRect.dx = rect.left - fl * toRect.m11;
    toRect.dy = rect.top - ft * toRect.m22;

    const DcState savedState = dc->st;
    const std::vector<DcState> savedStack = dc->saved;
    const Affine savedBase = dc->base;
    const std::optional<Region> savedMeta = dc->metaClip;
    std::unique_ptr<MetaSink> sink = std::move(dc->meta);  // playback is not recorded again
    dc->metaClip = deviceClip(*dc);
    dc->base = dc->fullTransform().after(toRect);
    const std::shared_ptr<Bitmap> bitmap = dc->st.bitmap;
    initDefaultState(dc->st);
    dc->st.bitmap = bitmap;
    dc->saved.clear();
    auto player = std::make_unique<EmfPlayer>(hdc, *dc, head.u16(56));
    {
        std::size_t at = 0;
        while (at + 8 <= bytes.size()) {
            const RecordReader r(bytes.data() + at, bytes.size() - at);
            const std::uint32_t type = r.u32(0), size = r.u32(4);
            if (size < 8 || size % 4 || at + size > bytes.size()) break;
            if (type == EMR_EOF) break;
            player->play(RecordReader(bytes.data() + at, size), type);
            at += size;
        }
    }
    dc->st = savedState;
    dc->saved = savedStack;
    dc->base = savedBase;
    dc->metaClip = savedMeta;
    dc->meta = std::move(sink);
    // The playback's objects go once nothing selects them any more.
    player.reset();
    return true;
}

}  // namespace gdi

using namespace gdi;

HDC CreateEnhMetaFileA(HDC reference, LPCSTR fileName, const RECT* frame, LPCSTR description) {
    DeviceInfo info = screenInfo();
    if (reference) {
        DeviceContext* ref = findDc(reference);
        if (!ref) return nullptr;
        info = ref->info;
    }
    auto dc = newContext(DcKind::EnhMetafile, info);
    DeviceContext* raw = dc.get();
    dc->meta = std::make_unique<EmfRecorder>(raw);
    EmfContext ctx;
    if (fileName) ctx.fileName = fileName;
    if (frame) {
        ctx.frame = *frame;
        ctx.haveFrame = true;
    }
    if (description) {
        // "application\0title\0\0"
        const char* p = description;
        while (*p) {
            for (; *p; ++p)
                ctx.description += static_cast<char16_t>(static_cast<unsigned char>(*p));
            ctx.description += u'\0';
            ++p;
        }
        ctx.description += u'\0';
    }
    emfContexts()[raw] = ctx;
    return registerDc(std::move(dc));
}

HENHMETAFILE CloseEnhMetaFile(HDC hdc) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || dc->kind != DcKind::EnhMetafile) return nullptr;
    auto* rec = static_cast<EmfRecorder*>(dc->meta.get());
    const EmfContext ctx = emfContexts()[dc];
    emfContexts().erase(dc);
    auto mf = std::make_shared<EnhMetafile>();
    mf->bytes = rec->finish(ctx.haveFrame ? &ctx.frame : nullptr, ctx.description);
    DeleteDC(hdc);
    if (!ctx.fileName.empty() && !writeAll(ctx.fileName, mf->bytes)) return nullptr;
    return static_cast<HENHMETAFILE>(registerObject(mf));
}

BOOL DeleteEnhMetaFile(HENHMETAFILE h) {
    if (!findAs<EnhMetafile>(h)) return FALSE;
    return DeleteObject(h);
}

BOOL PlayEnhMetaFile(HDC hdc, HENHMETAFILE h, const RECT* rect) {
    auto mf = findAs<EnhMetafile>(h);
    if (!mf || !rect) return FALSE;
    return playEnhancedRecords(hdc, mf->bytes, *rect) ? TRUE : FALSE;
}

UINT GetEnhMetaFileBits(HENHMETAFILE h, UINT size, BYTE* buffer) {
    auto mf = findAs<EnhMetafile>(h);
    if (!mf) return 0;
    if (!buffer) return static_cast<UINT>(mf->bytes.size());
    if (size < mf->bytes.size()) return 0;
    std::memcpy(buffer, mf->bytes.data(), mf->bytes.size());
    return static_cast<UINT>(mf->bytes.size());
}

HENHMETAFILE SetEnhMetaFileBits(UINT size, const BYTE* data) {
    if (!data || size < 88) return nullptr;
    const RecordReader r(data, size);
    if (r.u32(0) != 1 || r.u32(40) != 0x464D4520 || r.u32(4) > size) return nullptr;
    auto mf = std::make_shared<EnhMetafile>();
    mf->bytes.assign(data, data + size);
    return static_cast<HENHMETAFILE>(registerObject(mf));
}

HENHMETAFILE CopyEnhMetaFileA(HENHMETAFILE h, LPCSTR fileName) {
    auto mf = findAs<EnhMetafile>(h);
    if (!mf) return nullptr;
    if (fileName && !writeAll(fileName, mf->bytes)) return nullptr;
    return SetEnhMetaFileBits(static_cast<UINT>(mf->bytes.size()), mf->bytes.data());
}

HENHMETAFILE GetEnhMetaFileA(LPCSTR fileName) {
    base::ByteBuffer bytes;
    if (!fileName || !base::readFile(fileName, bytes)) return nullptr;
    return SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
}

UINT GetEnhMetaFileHeader(HENHMETAFILE h, UINT size, ENHMETAHEADER* header) {
    auto mf = findAs<EnhMetafile>(h);
    if (!mf) return 0;
    if (!header) return sizeof(ENHMETAHEADER);
    if (size < sizeof(ENHMETAHEADER)) return 0;
    const RecordReader r(mf->bytes.data(), mf->bytes.size());
    ENHMETAHEADER e;
    e.nSize = r.u32(4);
    e.rclBounds = {r.i32(8), r.i32(12), r.i32(16), r.i32(20)};
    e.rclFrame = {r.i32(24), r.i32(28), r.i32(32), r.i32(36)};
    e.dSignature = r.u32(40);
    e.nVersion = r.u32(44);
    e.nBytes = r.u32(48);
    e.nRecords = r.u32(52);
    e.nHandles = r.u16(56);
    e.nDescription = r.u32(60);
    e.offDescription = r.u32(64);
    e.nPalEntries = r.u32(68);
    e.szlDevice = {r.i32(72), r.i32(76)};
    e.szlMillimeters = {r.i32(80), r.i32(84)};
    *header = e;
    return sizeof(ENHMETAHEADER);
}

}  // namespace win
