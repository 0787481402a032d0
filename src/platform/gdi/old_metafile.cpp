// Old-style metafiles: recording a context's calls as WMF records (16-bit
// coordinates) and playing them back onto any context.

#include <algorithm>
#include <cstring>
#include <map>

#include "base/little_endian.h"
#include "platform/gdi/dib.h"
#include "platform/gdi/drawing.h"
#include "platform/gdi/meta_sink.h"
#include "platform/gdi/metafile.h"
#include "platform/gdi/metafile_internal.h"

namespace win {
namespace gdi {
namespace {

enum : std::uint16_t {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104,
    META_SETPOLYFILLMODE = 0x0106,
    META_SETSTRETCHBLTMODE = 0x0107,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_DELETEOBJECT = 0x01F0,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_SETVIEWPORTORG = 0x020D,
    META_SETVIEWPORTEXT = 0x020E,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_OFFSETCLIPRGN = 0x0220,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_SCALEWINDOWEXT = 0x0410,
    META_SCALEVIEWPORTEXT = 0x0412,
    META_EXCLUDECLIPRECT = 0x0415,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538,
    META_ROUNDRECT = 0x061C,
    META_PATBLT = 0x061D,
    META_ARC = 0x0817,
    META_PIE = 0x081A,
    META_CHORD = 0x0830,
    META_EXTTEXTOUT = 0x0A32,
    META_STRETCHDIB = 0x0F43
};

int clamp16(LONG v) {
    return std::clamp<LONG>(v, -32768, 32767);
}

class WmfRecord {
  public:
    explicit WmfRecord(std::uint16_t function) {
        b_.u32(0);
        b_.u16(function);
    }
    WmfRecord& w(LONG v) {
        b_.i16(clamp16(v));
        return *this;
    }
    WmfRecord& u32(std::uint32_t v) {
        b_.u32(v);
        return *this;
    }
    RecordBytes& raw() { return b_; }
    std::vector<std::uint8_t>& finish() {
        b_.padTo(2);
        b_.putU32(0, static_cast<std::uint32_t>(b_.size() / 2));
        return b_.data();
    }

  private:
    RecordBytes b_;
};

class WmfRecorder final : public MetaSink {
  public:
    explicit WmfRecorder(DeviceContext* dc) : dc_(dc) {}

    void value(MetaOp op, int v) override {
        std::uint16_t f = 0;
        switch (op) {
            case MetaOp::SetMapMode:
                f = META_SETMAPMODE;
                break;
            case MetaOp::SetBkMode:
                f = META_SETBKMODE;
                break;
            case MetaOp::SetRop2:
                f = META_SETROP2;
                break;
            case MetaOp::SetPolyFillMode:
                f = META_SETPOLYFILLMODE;
                break;
            case MetaOp::SetStretchBltMode:
                f = META_SETSTRETCHBLTMODE;
                break;
            case MetaOp::SetTextAlign:
                f = META_SETTEXTALIGN;
                break;
            case MetaOp::SetTextColor:
                emit(WmfRecord(META_SETTEXTCOLOR).u32(static_cast<std::uint32_t>(v)));
                return;
            case MetaOp::SetBkColor:
                emit(WmfRecord(META_SETBKCOLOR).u32(static_cast<std::uint32_t>(v)));
                return;
            case MetaOp::SaveDc:
                emit(WmfRecord(META_SAVEDC));
                return;
            case MetaOp::RestoreDc:
                f = META_RESTOREDC;
                break;
            default:
                return;  // not expressible in this format
        }
        emit(WmfRecord(f).w(v));
    }

    void point(MetaOp op, int x, int y) override {
        std::uint16_t f = 0;
        switch (op) {
            case MetaOp::SetWindowOrg:
                f = META_SETWINDOWORG;
                break;
            case MetaOp::SetWindowExt:
                f = META_SETWINDOWEXT;
                break;
            case MetaOp::SetViewportOrg:
                f = META_SETVIEWPORTORG;
                break;
            case MetaOp::SetViewportExt:
                f = META_SETVIEWPORTEXT;
                break;
            case MetaOp::MoveTo:
                f = META_MOVETO;
                break;
            case MetaOp::LineTo:
                f = META_LINETO;
                break;
            case MetaOp::OffsetClip:
                f = META_OFFSETCLIPRGN;
                break;
            default:
                return;
        }
        emit(WmfRecord(f).w(y).w(x));
    }

    void scale(MetaOp op, int xn, int xd, int yn, int yd) override {
        emit(WmfRecord(op == MetaOp::ScaleViewportExt ? META_SCALEVIEWPORTEXT : META_SCALEWINDOWEXT)
                 .w(yd)
                 .w(yn)
                 .w(xd)
                 .w(xn));
    }

    void rect(MetaOp op, const RECT& r) override {
        std::uint16_t f = 0;
        switch (op) {
            case MetaOp::Rectangle:
                f = META_RECTANGLE;
                break;
            case MetaOp::Ellipse:
                f = META_ELLIPSE;
                break;
            case MetaOp::IntersectClip:
                f = META_INTERSECTCLIPRECT;
                break;
            case MetaOp::ExcludeClip:
                f = META_EXCLUDECLIPRECT;
                break;
            default:
                return;
        }
        emit(WmfRecord(f).w(r.bottom).w(r.right).w(r.top).w(r.left));
    }

    void arc(MetaOp op, const RECT& r, POINT s, POINT e) override {
        const std::uint16_t f = op == MetaOp::Arc   ? META_ARC
                                : op == MetaOp::Pie ? META_PIE
                                                    : META_CHORD;
        emit(WmfRecord(f).w(e.y).w(e.x).w(s.y).w(s.x).w(r.bottom).w(r.right).w(r.top).w(r.left));
    }

    void roundRect(const RECT& r, int w, int h) override {
        emit(WmfRecord(META_ROUNDRECT).w(h).w(w).w(r.bottom).w(r.right).w(r.top).w(r.left));
    }

    void points(MetaOp op, const POINT* pts, int n) override {
        if (op == MetaOp::PolylineTo) {
            // Not in this format: a polyline from the current position.
            std::vector<POINT> all{dc_->st.current};
            all.insert(all.end(), pts, pts + n);
            points(MetaOp::Polyline, all.data(), static_cast<int>(all.size()));
            emit(WmfRecord(META_MOVETO).w(pts[n - 1].y).w(pts[n - 1].x));
            return;
        }
        WmfRecord r(op == MetaOp::Polygon ? META_POLYGON : META_POLYLINE);
        r.w(n);
        for (int i = 0; i < n; ++i)
            r.w(pts[i].x).w(pts[i].y);
        emit(r);
    }

    void polyPolygon(const POINT* pts, const INT* counts, int polygons) override {
        WmfRecord r(META_POLYPOLYGON);
        r.w(polygons);
        int total = 0;
        for (int i = 0; i < polygons; ++i) {
            r.w(counts[i]);
            total += counts[i];
        }
        for (int i = 0; i < total; ++i)
            r.w(pts[i].x).w(pts[i].y);
        emit(r);
    }

    void pixel(int x, int y, COLORREF color) override {
        emit(WmfRecord(META_SETPIXEL).u32(color).w(y).w(x));
    }

    void text(int x, int y, UINT options, const RECT* rc, const char* s, int n,
              const INT* dx) override {
        WmfRecord r(META_EXTTEXTOUT);
        r.w(y).w(x).w(n).w(static_cast<LONG>(options & (ETO_CLIPPED | ETO_OPAQUE)));
        if (rc && (options & (ETO_CLIPPED | ETO_OPAQUE)))
            r.w(rc->left).w(rc->top).w(rc->right).w(rc->bottom);
        r.raw().bytes(reinterpret_cast<const std::uint8_t*>(s), static_cast<std::size_t>(n));
        r.raw().padTo(2);
        if (dx)
            for (int i = 0; i < n; ++i)
                r.w(dx[i]);
        emit(r);
    }

    void select(const std::shared_ptr<Object>& o, int) override {
        emit(WmfRecord(META_SELECTOBJECT).w(static_cast<LONG>(ensure(o))));
    }

    void erase(const Object* o) override {
        const std::optional<std::uint32_t> index = objects_.release(o);
        if (!index) return;
        emit(WmfRecord(META_DELETEOBJECT).w(static_cast<LONG>(*index)));
    }

    void transform(const XFORM&, DWORD) override {}
    void selectClip(const Region*, int) override {}
    void gradient(const TRIVERTEX*, ULONG, const void*, ULONG, ULONG) override {}
    void fillRegion(const Region&, const std::shared_ptr<Object>&) override {}

    void image(const RECT& d, const Surface& pixels, DWORD rop) override {
        const std::vector<std::uint8_t> dib = surfaceToDib24(pixels);
        WmfRecord r(META_STRETCHDIB);
        r.u32(rop).w(DIB_RGB_COLORS).w(pixels.height).w(pixels.width).w(0).w(0);
        r.w(d.bottom - d.top).w(d.right - d.left).w(d.top).w(d.left);
        r.raw().bytes(dib.data(), dib.size());
        emit(r);
    }

    void patBlt(const RECT& d, DWORD rop) override {
        emit(WmfRecord(META_PATBLT)
                 .u32(rop)
                 .w(d.bottom - d.top)
                 .w(d.right - d.left)
                 .w(d.top)
                 .w(d.left));
    }

    std::vector<std::uint8_t> finish(std::uint16_t type) {
        emit(WmfRecord(META_EOF));
        RecordBytes h;
        h.u16(type);
        h.u16(9);
        h.u16(0x0300);
        h.u32(static_cast<std::uint32_t>((18 + body_.size()) / 2));
        h.u16(static_cast<std::uint16_t>(objects_.slotCount()));
        h.u32(maxRecord_);
        h.u16(0);
        std::vector<std::uint8_t> out = std::move(h.data());
        out.insert(out.end(), body_.begin(), body_.end());
        return out;
    }

  private:
    void emit(WmfRecord r) {
        const std::vector<std::uint8_t>& b = r.finish();
        maxRecord_ = std::max<std::uint32_t>(maxRecord_, static_cast<std::uint32_t>(b.size() / 2));
        body_.insert(body_.end(), b.begin(), b.end());
    }

    std::uint32_t ensure(const std::shared_ptr<Object>& o) {
        const auto [index, isNew] = objects_.ensure(o);
        if (isNew) create(*o);
        return index;
    }

    void create(const Object& o) {
        switch (o.kind) {
            case OBJ_PEN: {
                const auto& p = static_cast<const Pen&>(o);
                emit(WmfRecord(META_CREATEPENINDIRECT).w(p.style).w(p.width).w(0).u32(p.color));
                return;
            }
            case OBJ_BRUSH: {
                const auto& b = static_cast<const Brush&>(o);
                if (b.style == BS_PATTERN && b.pattern) {
                    const std::vector<std::uint8_t> dib = surfaceToDib24(*b.pattern);
                    WmfRecord r(META_DIBCREATEPATTERNBRUSH);
                    r.w(5).w(DIB_RGB_COLORS);
                    r.raw().bytes(dib.data(), dib.size());
                    emit(r);
                    return;
                }
                emit(WmfRecord(META_CREATEBRUSHINDIRECT)
                         .w(static_cast<LONG>(b.style))
                         .u32(b.color)
                         .w(b.hatch));
                return;
            }
            case OBJ_FONT: {
                const LOGFONTA& lf = static_cast<const Font&>(o).lf;
                WmfRecord r(META_CREATEFONTINDIRECT);
                r.w(lf.lfHeight)
                    .w(lf.lfWidth)
                    .w(lf.lfEscapement)
                    .w(lf.lfOrientation)
                    .w(lf.lfWeight);
                for (BYTE v :
                     {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
                      lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily})
                    r.raw().u8(v);
                r.raw().bytes(reinterpret_cast<const std::uint8_t*>(lf.lfFaceName), LF_FACESIZE);
                emit(r);
                return;
            }
            default:
                // Other objects still take a slot so indices stay in step.
                emit(WmfRecord(META_CREATEBRUSHINDIRECT).w(BS_NULL).u32(0).w(0));
                return;
        }
    }

    DeviceContext* dc_;
    std::vector<std::uint8_t> body_;
    std::uint32_t maxRecord_ = 3;
    MetafileObjectTable objects_{0};
};

std::map<const DeviceContext*, std::string>& diskNames() {
    static std::map<const DeviceContext*, std::string> m;
    return m;
}

bool validWmf(const std::uint8_t* p, std::size_t n) {
    if (n < 18) return false;
    const RecordReader r(p, n);
    return (r.u16(0) == 1 || r.u16(0) == 2) && r.u16(2) == 9 && r.u32(6) * 2 <= n + 1;
}

class WmfPlayer {
  public:
    WmfPlayer(HDC hdc, std::size_t handles) : hdc_(hdc), objects_(handles, nullptr) {}
    ~WmfPlayer() {
        for (HGDIOBJ o : objects_)
            if (o) DeleteObject(o);
    }

    void play(const RecordReader& r, std::uint16_t f) {
        auto p = [&](std::size_t k) { return static_cast<int>(r.i16(6 + 2 * k)); };
        switch (f) {
            case META_SAVEDC:
                SaveDC(hdc_);
                break;
            case META_RESTOREDC:
                RestoreDC(hdc_, p(0));
                break;
            case META_SETBKMODE:
                SetBkMode(hdc_, p(0));
                break;
            case META_SETMAPMODE:
                SetMapMode(hdc_, p(0));
                break;
            case META_SETROP2:
                SetROP2(hdc_, p(0));
                break;
            case META_SETPOLYFILLMODE:
                SetPolyFillMode(hdc_, p(0));
                break;
            case META_SETSTRETCHBLTMODE:
                SetStretchBltMode(hdc_, p(0));
                break;
            case META_SETTEXTALIGN:
                SetTextAlign(hdc_, static_cast<UINT>(r.u16(6)));
                break;
            case META_SETBKCOLOR:
                SetBkColor(hdc_, r.u32(6));
                break;
            case META_SETTEXTCOLOR:
                SetTextColor(hdc_, r.u32(6));
                break;
            case META_SETWINDOWORG:
                SetWindowOrgEx(hdc_, p(1), p(0), nullptr);
                break;
            case META_SETWINDOWEXT:
                SetWindowExtEx(hdc_, p(1), p(0), nullptr);
                break;
            case META_SETVIEWPORTORG:
                SetViewportOrgEx(hdc_, p(1), p(0), nullptr);
                break;
            case META_SETVIEWPORTEXT:
                SetViewportExtEx(hdc_, p(1), p(0), nullptr);
                break;
            case META_OFFSETCLIPRGN:
                OffsetClipRgn(hdc_, p(1), p(0));
                break;
            case META_SCALEWINDOWEXT:
                ScaleWindowExtEx(hdc_, p(3), p(2), p(1), p(0), nullptr);
                break;
            case META_SCALEVIEWPORTEXT:
                ScaleViewportExtEx(hdc_, p(3), p(2), p(1), p(0), nullptr);
                break;
            case META_MOVETO:
                MoveToEx(hdc_, p(1), p(0), nullptr);
                break;
            case META_LINETO:
                LineTo(hdc_, p(1), p(0));
                break;
            case META_RECTANGLE:
                Rectangle(hdc_, p(3), p(2), p(1), p(0));
                break;
            case META_ELLIPSE:
                Ellipse(hdc_, p(3), p(2), p(1), p(0));
                break;
            case META_INTERSECTCLIPRECT:
                IntersectClipRect(hdc_, p(3), p(2), p(1), p(0));
                break;
            case META_EXCLUDECLIPRECT:
                ExcludeClipRect(hdc_, p(3), p(2), p(1), p(0));
                break;
            case META_ROUNDRECT:
                RoundRect(hdc_, p(5), p(4), p(3), p(2), p(1), p(0));
                break;
            case META_ARC:
            case META_PIE:
            case META_CHORD: {
                auto fn = f == META_ARC ? Arc : f == META_PIE ? Pie : Chord;
                fn(hdc_, p(7), p(6), p(5), p(4), p(3), p(2), p(1), p(0));
                break;
            }
            case META_SETPIXEL:
                SetPixel(hdc_, p(3), p(2), r.u32(6));
                break;
            case META_POLYGON:
            case META_POLYLINE: {
                const int n = std::max(0, p(0));
                if (6 + 2 + 4 * static_cast<std::size_t>(n) > r.size()) break;
                std::vector<POINT> pts;
                for (int i = 0; i < n; ++i)
                    pts.push_back({p(1 + 2 * i), p(2 + 2 * i)});
                if (f == META_POLYGON)
                    Polygon(hdc_, pts.data(), n);
                else
                    Polyline(hdc_, pts.data(), n);
                break;
            }
            case META_POLYPOLYGON: {
                const int polys = std::max(0, p(0));
                std::vector<INT> counts;
                int total = 0;
                for (int i = 0; i < polys; ++i) {
                    counts.push_back(p(1 + i));
                    total += std::max(0, counts.back());
                }
                if (6 + 2 * (1 + static_cast<std::size_t>(polys)) +
                        4 * static_cast<std::size_t>(total) >
                    r.size())
                    break;
                std::vector<POINT> pts;
                for (int i = 0; i < total; ++i)
                    pts.push_back({p(1 + polys + 2 * i), p(2 + polys + 2 * i)});
                PolyPolygon(hdc_, pts.data(), counts.data(), polys);
                break;
            }
            case META_TEXTOUT: {
                const int n = std::max(0, p(0));
                const std::size_t padded = (static_cast<std::size_t>(n) + 1) / 2 * 2;
                if (8 + padded + 4 > r.size()) break;
                const std::size_t after = 8 + padded;
                TextOutA(hdc_, r.i16(after + 2), r.i16(after),
                         reinterpret_cast<const char*>(r.at(8)), n);
                break;
            }
            case META_EXTTEXTOUT: {
                const int y = p(0), x = p(1), n = std::max(0, p(2));
                const UINT options = static_cast<UINT>(r.u16(12));
                std::size_t at = 14;
                RECT rc{};
                const bool hasRect = options & (ETO_CLIPPED | ETO_OPAQUE);
                if (hasRect) {
                    rc = {r.i16(14), r.i16(16), r.i16(18), r.i16(20)};
                    at = 22;
                }
                if (at + static_cast<std::size_t>(n) > r.size()) break;
                const char* s = reinterpret_cast<const char*>(r.at(at));
                const std::size_t dxAt = at + (static_cast<std::size_t>(n) + 1) / 2 * 2;
                std::vector<INT> dx;
                if (dxAt + 2 * static_cast<std::size_t>(n) <= r.size() && n > 0)
                    for (int i = 0; i < n; ++i)
                        dx.push_back(r.i16(dxAt + 2 * static_cast<std::size_t>(i)));
                ExtTextOutA(hdc_, x, y, options, hasRect ? &rc : nullptr, s, static_cast<UINT>(n),
                            dx.empty() ? nullptr : dx.data());
                break;
            }
            case META_SELECTOBJECT: {
                const std::size_t i = r.u16(6);
                if (i < objects_.size() && objects_[i]) SelectObject(hdc_, objects_[i]);
                break;
            }
            case META_DELETEOBJECT: {
                const std::size_t i = r.u16(6);
                if (i < objects_.size() && objects_[i]) {
                    DeleteObject(objects_[i]);
                    objects_[i] = nullptr;
                }
                break;
            }
            case META_CREATEPENINDIRECT:
                keep(CreatePen(p(0), p(1), r.u32(12)));
                break;
            case META_CREATEBRUSHINDIRECT: {
                LOGBRUSH lb{r.u16(6), r.u32(8), r.u16(12)};
                HBRUSH b = CreateBrushIndirect(&lb);
                keep(b ? b : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), b != nullptr);
                break;
            }
            case META_CREATEFONTINDIRECT: {
                LOGFONTA lf;
                lf.lfHeight = p(0);
                lf.lfWidth = p(1);
                lf.lfEscapement = p(2);
                lf.lfOrientation = p(3);
                lf.lfWeight = p(4);
                const std::uint8_t* b = r.at(16);
                if (r.size() >= 24) {
                    lf.lfItalic = b[0];
                    lf.lfUnderline = b[1];
                    lf.lfStrikeOut = b[2];
                    lf.lfCharSet = b[3];
                    lf.lfOutPrecision = b[4];
                    lf.lfClipPrecision = b[5];
                    lf.lfQuality = b[6];
                    lf.lfPitchAndFamily = b[7];
                }
                const std::size_t faceAt = 24;
                for (std::size_t i = 0; i + 1 < LF_FACESIZE && faceAt + i < r.size(); ++i) {
                    const char c = static_cast<char>(*r.at(faceAt + i));
                    if (!c) break;
                    lf.lfFaceName[i] = c;
                }
                keep(CreateFontIndirectA(&lf));
                break;
            }
            case META_DIBCREATEPATTERNBRUSH: {
                Surface s;
                if (!dibAt(r, 10, s)) {
                    keep(GetStockObject(NULL_BRUSH), false);
                    break;
                }
                HBITMAP bm = CreateBitmap(s.width, s.height, 1, 32, nullptr);
                findAs<Bitmap>(bm)->surface = s;
                keep(CreatePatternBrush(bm));
                DeleteObject(bm);
                break;
            }
            case META_PATBLT:
                PatBlt(hdc_, p(5), p(4), p(3), p(2), r.u32(6));
                break;
            case META_STRETCHDIB: {
                Surface s;
                if (!dibAt(r, 28, s)) break;
                const int xd = p(10), yd = p(9), wd = p(8), hd = p(7);
                DeviceContext* dc = findDc(hdc_);
                if (dc) drawImage(*dc, {xd, yd, xd + wd, yd + hd}, s, r.u32(6));
                break;
            }
            default:
                break;
        }
    }

  private:
    static bool dibAt(const RecordReader& r, std::size_t at, Surface& out) {
        if (at + 40 > r.size()) return false;
        std::vector<std::uint8_t> copy(r.at(at), r.at(at) + (r.size() - at));
        const auto* info = reinterpret_cast<const BITMAPINFO*>(copy.data());
        DibFormat f;
        std::vector<std::uint8_t> padded = copy;
        padded.resize(copy.size() + 1024, 0);
        if (!readDibFormat(reinterpret_cast<const BITMAPINFO*>(padded.data()), DIB_RGB_COLORS, f))
            return false;
        const std::size_t bitsAt = info->bmiHeader.biSize + dibColourTableBytes(info->bmiHeader);
        if (bitsAt + f.stride() * static_cast<std::size_t>(f.height) > copy.size()) return false;
        decodeDibRows(f, copy.data() + bitsAt, 0, f.height, out);
        return true;
    }

    // A created object takes the lowest free slot, as the recorder assigned it.
    void keep(HGDIOBJ o, bool owned = true) {
        std::size_t i = 0;
        while (i < objects_.size() && (objects_[i] || stockSlots_.count(i)))
            ++i;
        if (i == objects_.size()) objects_.push_back(nullptr);
        if (owned)
            objects_[i] = o;
        else {
            objects_[i] = nullptr;
            stockSlots_[i] = o;
        }
    }

    HDC hdc_;
    std::vector<HGDIOBJ> objects_;
    std::map<std::size_t, HGDIOBJ> stockSlots_;
};

}  // namespace
}  // namespace gdi

using namespace gdi;

HDC CreateMetaFileA(LPCSTR fileName) {
    auto dc = newContext(DcKind::Metafile, screenInfo());
    DeviceContext* raw = dc.get();
    dc->meta = std::make_unique<WmfRecorder>(raw);
    diskNames()[raw] = fileName ? fileName : "";
    return registerDc(std::move(dc));
}

HMETAFILE CloseMetaFile(HDC hdc) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || dc->kind != DcKind::Metafile) return nullptr;
    const std::string name = diskNames()[dc];
    diskNames().erase(dc);
    auto mf = std::make_shared<OldMetafile>();
    mf->bytes = static_cast<WmfRecorder*>(dc->meta.get())->finish(name.empty() ? 1 : 2);
    DeleteDC(hdc);
    if (!name.empty() && !base::writeFile(name, mf->bytes)) return nullptr;
    return static_cast<HMETAFILE>(registerObject(mf));
}

BOOL DeleteMetaFile(HMETAFILE h) {
    if (!findAs<OldMetafile>(h)) return FALSE;
    return DeleteObject(h);
}

UINT GetMetaFileBitsEx(HMETAFILE h, UINT size, void* buffer) {
    auto mf = findAs<OldMetafile>(h);
    if (!mf) return 0;
    if (!buffer) return static_cast<UINT>(mf->bytes.size());
    const std::size_t n = std::min<std::size_t>(size, mf->bytes.size());
    std::memcpy(buffer, mf->bytes.data(), n);
    return static_cast<UINT>(n);
}

HMETAFILE SetMetaFileBitsEx(UINT size, const BYTE* data) {
    if (!data || !validWmf(data, size)) return nullptr;
    auto mf = std::make_shared<OldMetafile>();
    mf->bytes.assign(data, data + size);
    return static_cast<HMETAFILE>(registerObject(mf));
}

HMETAFILE CopyMetaFileA(HMETAFILE h, LPCSTR fileName) {
    auto mf = findAs<OldMetafile>(h);
    if (!mf) return nullptr;
    std::vector<std::uint8_t> bytes = mf->bytes;
    if (fileName) {
        bytes[0] = 2;
        if (!base::writeFile(fileName, bytes)) return nullptr;
    }
    return SetMetaFileBitsEx(static_cast<UINT>(bytes.size()), bytes.data());
}

BOOL PlayMetaFile(HDC hdc, HMETAFILE h) {
    auto mf = findAs<OldMetafile>(h);
    DeviceContext* dc = findDc(hdc);
    if (!mf || !dc) return FALSE;
    const std::vector<std::uint8_t>& b = mf->bytes;
    const RecordReader head(b.data(), b.size());
    // The context's objects come back after playback; other state is the metafile's to change.
    const auto pen = dc->st.pen;
    const auto brush = dc->st.brush;
    const auto font = dc->st.font;
    {
        WmfPlayer player(hdc, head.u16(10));
        std::size_t at = static_cast<std::size_t>(head.u16(2)) * 2;
        while (at + 6 <= b.size()) {
            const RecordReader r(b.data() + at, b.size() - at);
            const std::size_t size = static_cast<std::size_t>(r.u32(0)) * 2;
            const std::uint16_t f = r.u16(4);
            if (f == META_EOF || size < 6 || at + size > b.size()) break;
            player.play(RecordReader(b.data() + at, size), f);
            at += size;
        }
        SelectObject(hdc, pen.get());
        SelectObject(hdc, brush.get());
        SelectObject(hdc, font.get());
    }
    return TRUE;
}

}  // namespace win
