// Handles, stock objects and the object calls (create, select, delete, query).

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/gdi/font_engine.h"
#include "platform/gdi/internal.h"
#include "platform/gdi/meta_sink.h"

namespace win {
namespace gdi {
namespace {

std::unordered_map<void*, std::shared_ptr<Object>>& objects() {
    static std::unordered_map<void*, std::shared_ptr<Object>> map;
    return map;
}

std::unordered_map<void*, std::unique_ptr<DeviceContext>>& dcs() {
    static std::unordered_map<void*, std::unique_ptr<DeviceContext>> map;
    return map;
}

std::shared_ptr<Pen> makePen(int style, int width, COLORREF color) {
    auto p = std::make_shared<Pen>();
    p->style = style;
    p->width = width;
    p->color = color;
    return p;
}

std::shared_ptr<Brush> makeBrush(UINT style, COLORREF color) {
    auto b = std::make_shared<Brush>();
    b->style = style;
    b->color = color;
    return b;
}

std::shared_ptr<Font> makeFont(const char* face, int height, int weight, BYTE pitchFamily) {
    auto f = std::make_shared<Font>();
    f->lf.lfHeight = height;
    f->lf.lfWeight = weight;
    f->lf.lfPitchAndFamily = pitchFamily;
    std::strncpy(f->lf.lfFaceName, face, LF_FACESIZE - 1);
    return f;
}

std::shared_ptr<Palette> makeDefaultPalette() {
    static const COLORREF colours[20] = {
        RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
        RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
        RGB(192, 220, 192), RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164),
        RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
        RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
    auto p = std::make_shared<Palette>();
    for (COLORREF c : colours)
        p->entries.push_back({GetRValue(c), GetGValue(c), GetBValue(c), 0});
    return p;
}

std::shared_ptr<Object> makeStock(int index) {
    std::shared_ptr<Object> o;
    switch (index) {
        case WHITE_BRUSH:
            o = makeBrush(BS_SOLID, RGB(255, 255, 255));
            break;
        case LTGRAY_BRUSH:
            o = makeBrush(BS_SOLID, RGB(192, 192, 192));
            break;
        case GRAY_BRUSH:
            o = makeBrush(BS_SOLID, RGB(128, 128, 128));
            break;
        case DKGRAY_BRUSH:
            o = makeBrush(BS_SOLID, RGB(64, 64, 64));
            break;
        case BLACK_BRUSH:
            o = makeBrush(BS_SOLID, 0);
            break;
        case NULL_BRUSH:
            o = makeBrush(BS_NULL, 0);
            break;
        case WHITE_PEN:
            o = makePen(PS_SOLID, 0, RGB(255, 255, 255));
            break;
        case BLACK_PEN:
            o = makePen(PS_SOLID, 0, 0);
            break;
        case NULL_PEN:
            o = makePen(PS_NULL, 0, 0);
            break;
        case OEM_FIXED_FONT:
        case ANSI_FIXED_FONT:
        case SYSTEM_FIXED_FONT:
            o = makeFont("Courier New", 16, FW_NORMAL, FIXED_PITCH | FF_MODERN);
            break;
        case ANSI_VAR_FONT:
        case DEFAULT_GUI_FONT:
            o = makeFont("MS Sans Serif", -11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
            break;
        case SYSTEM_FONT:
        case DEVICE_DEFAULT_FONT:
            o = makeFont("System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
            break;
        case DEFAULT_PALETTE:
            o = makeDefaultPalette();
            break;
        default:
            return nullptr;
    }
    o->stockIndex = index;
    return o;
}

}  // namespace

HGDIOBJ registerObject(std::shared_ptr<Object> object) {
    void* h = object.get();
    objects()[h] = std::move(object);
    return h;
}

std::shared_ptr<Object> findObject(HGDIOBJ handle) {
    auto it = objects().find(handle);
    return it == objects().end() ? nullptr : it->second;
}

HDC registerDc(std::unique_ptr<DeviceContext> dc) {
    void* h = dc.get();
    dcs()[h] = std::move(dc);
    return static_cast<HDC>(h);
}

DeviceContext* findDc(HDC dc) {
    auto it = dcs().find(dc);
    return it == dcs().end() ? nullptr : it->second.get();
}

void forgetDc(HDC dc) {
    dcs().erase(dc);
}

std::vector<DeviceContext*> liveDcs() {
    std::vector<DeviceContext*> out;
    for (auto& [h, dc] : dcs())
        out.push_back(dc.get());
    return out;
}

std::shared_ptr<Object> stockObject(int index) {
    static std::unordered_map<int, std::shared_ptr<Object>> stock;
    if (auto it = stock.find(index); it != stock.end()) return it->second;
    std::shared_ptr<Object> o = makeStock(index);
    if (!o) return nullptr;
    stock[index] = o;
    registerObject(o);
    return o;
}

std::shared_ptr<Bitmap> defaultBitmap() {
    static std::shared_ptr<Bitmap> bm = [] {
        auto b = std::make_shared<Bitmap>();
        b->surface.resize(1, 1, 0);
        b->surface.monochrome = true;
        b->bitsPerPixel = 1;
        registerObject(b);
        return b;
    }();
    return bm;
}

void initDefaultState(DcState& st) {
    st = DcState{};
    st.pen = std::static_pointer_cast<Pen>(stockObject(BLACK_PEN));
    st.brush = std::static_pointer_cast<Brush>(stockObject(WHITE_BRUSH));
    st.font = std::static_pointer_cast<Font>(stockObject(SYSTEM_FONT));
    st.palette = std::static_pointer_cast<Palette>(stockObject(DEFAULT_PALETTE));
}

COLORREF resolveColor(const DeviceContext& dc, COLORREF c) {
    const DWORD kind = c >> 24;
    if (kind == 1) {
        const auto& entries = dc.st.palette ? dc.st.palette->entries : std::vector<PALETTEENTRY>{};
        const std::size_t i = c & 0xFFFF;
        if (i < entries.size()) return RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
        return 0;
    }
    return c & 0xFFFFFF;
}

}  // namespace gdi

using namespace gdi;

HPEN CreatePen(int style, int width, COLORREF color) {
    if ((style & PS_STYLE_MASK) > PS_INSIDEFRAME) style = PS_SOLID;
    auto p = makePen(style & PS_STYLE_MASK, std::max(0, width), color);
    // Wide pens are geometric with round ends and joins.
    p->geometric = width > 1;
    return static_cast<HPEN>(registerObject(p));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (!pen) return nullptr;
    return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD count,
                  const DWORD* table) {
    if (!brush) return nullptr;
    auto p = std::make_shared<Pen>();
    p->extended = true;
    p->geometric = (style & PS_TYPE_MASK) == static_cast<DWORD>(PS_GEOMETRIC);
    p->style = static_cast<int>(style & PS_STYLE_MASK);
    p->endCap = static_cast<int>(style & PS_ENDCAP_MASK);
    p->join = static_cast<int>(style & PS_JOIN_MASK);
    p->width = p->geometric ? static_cast<int>(width) : 1;
    p->color = brush->lbStyle == BS_NULL ? 0 : brush->lbColor;
    if (brush->lbStyle == BS_NULL) p->style = PS_NULL;
    if (p->style == PS_USERSTYLE) {
        if (!table || count == 0 || count > 16) return nullptr;
        p->dashes.assign(table, table + count);
    }
    return static_cast<HPEN>(registerObject(p));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(registerObject(makeBrush(BS_SOLID, color)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    auto b = makeBrush(BS_HATCHED, color);
    b->hatch = hatch;
    return static_cast<HBRUSH>(registerObject(b));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    auto bm = findAs<Bitmap>(bitmap);
    if (!bm) return nullptr;
    bm->pullDib();
    auto b = makeBrush(BS_PATTERN, 0);
    b->pattern = std::make_shared<const Surface>(bm->surface);
    return static_cast<HBRUSH>(registerObject(b));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb) return nullptr;
    switch (lb->lbStyle) {
        case BS_SOLID:
            return CreateSolidBrush(lb->lbColor);
        case BS_NULL:
            return static_cast<HBRUSH>(registerObject(makeBrush(BS_NULL, 0)));
        case BS_HATCHED:
            return CreateHatchBrush(static_cast<int>(lb->lbHatch), lb->lbColor);
        case BS_PATTERN:
            return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
        default:
            return nullptr;
    }
}

HFONT CreateFontIndirectA(const LOGFONTA* lf) {
    if (!lf) return nullptr;
    auto f = std::make_shared<Font>();
    f->lf = *lf;
    f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(registerObject(f));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
    LOGFONTA lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<BYTE>(italic != 0);
    lf.lfUnderline = static_cast<BYTE>(underline != 0);
    lf.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

HGDIOBJ GetStockObject(int index) {
    auto o = stockObject(index);
    return o ? o.get() : nullptr;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ handle) {
    DeviceContext* dc = findDc(hdc);
    std::shared_ptr<Object> o = findObject(handle);
    if (!dc || !o) return nullptr;
    HGDIOBJ old = nullptr;
    switch (o->kind) {
        case OBJ_PEN:
            old = dc->st.pen.get();
            dc->st.pen = std::static_pointer_cast<Pen>(o);
            break;
        case OBJ_BRUSH:
            old = dc->st.brush.get();
            dc->st.brush = std::static_pointer_cast<Brush>(o);
            break;
        case OBJ_FONT:
            old = dc->st.font.get();
            dc->st.font = std::static_pointer_cast<Font>(o);
            break;
        case OBJ_BITMAP:
            if (dc->kind != DcKind::Memory) return nullptr;
            old = dc->st.bitmap.get();
            dc->st.bitmap = std::static_pointer_cast<Bitmap>(o);
            dc->st.bitmap->pullDib();
            return old;
        case OBJ_REGION:
            return reinterpret_cast<HGDIOBJ>(
                static_cast<std::intptr_t>(SelectClipRgn(hdc, static_cast<HRGN>(handle))));
        default:
            return nullptr;
    }
    if (dc->meta) dc->meta->select(o, o->stockIndex);
    return old;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return nullptr;
    switch (type) {
        case OBJ_PEN:
            return dc->st.pen.get();
        case OBJ_BRUSH:
            return dc->st.brush.get();
        case OBJ_FONT:
            return dc->st.font.get();
        case OBJ_PAL:
            return dc->st.palette.get();
        case OBJ_BITMAP:
            return dc->st.bitmap.get();
        default:
            return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ handle) {
    std::shared_ptr<Object> o = findObject(handle);
    if (!o) return FALSE;
    if (o->stock() || o == defaultBitmap()) return TRUE;
    // An object selected into a context stays until it is deselected.
    for (DeviceContext* dc : liveDcs()) {
        const DcState& st = dc->st;
        if (st.pen == o || st.brush == o || st.font == o || st.bitmap == o || st.palette == o)
            return FALSE;
    }
    for (DeviceContext* dc : liveDcs())
        if (dc->meta) dc->meta->erase(o.get());
    objects().erase(handle);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ handle) {
    if (auto o = findObject(handle))
        return static_cast<DWORD>(o->kind == OBJ_PEN && std::static_pointer_cast<Pen>(o)->extended
                                      ? OBJ_EXTPEN
                                      : o->kind);
    if (DeviceContext* dc = findDc(static_cast<HDC>(handle))) {
        switch (dc->kind) {
            case DcKind::Memory:
                return OBJ_MEMDC;
            case DcKind::EnhMetafile:
                return OBJ_ENHMETADC;
            case DcKind::Metafile:
                return OBJ_METADC;
            default:
                return OBJ_DC;
        }
    }
    return 0;
}

namespace {

template <class T>
int copyOut(const T& value, int size, void* out) {
    if (!out) return static_cast<int>(sizeof(T));
    if (size < static_cast<int>(sizeof(T))) return 0;
    std::memcpy(out, &value, sizeof(T));
    return static_cast<int>(sizeof(T));
}

}  // namespace

int GetObjectA(HGDIOBJ handle, int size, void* out) {
    std::shared_ptr<Object> o = findObject(handle);
    if (!o) return 0;
    switch (o->kind) {
        case OBJ_PEN: {
            auto p = std::static_pointer_cast<Pen>(o);
            if (p->extended) {
                EXTLOGPEN e;
                e.elpPenStyle = static_cast<DWORD>(p->style | p->endCap | p->join |
                                                   (p->geometric ? PS_GEOMETRIC : 0));
                e.elpWidth = static_cast<DWORD>(p->width);
                e.elpColor = p->color;
                e.elpNumEntries = static_cast<DWORD>(p->dashes.size());
                std::copy(p->dashes.begin(), p->dashes.end(), e.elpStyleEntry);
                return copyOut(e, size, out);
            }
            LOGPEN lp;
            lp.lopnStyle = static_cast<UINT>(p->style);
            lp.lopnWidth.x = p->width;
            lp.lopnColor = p->color;
            return copyOut(lp, size, out);
        }
        case OBJ_BRUSH: {
            auto b = std::static_pointer_cast<Brush>(o);
            LOGBRUSH lb;
            lb.lbStyle = b->style;
            lb.lbColor = b->color;
            lb.lbHatch = static_cast<ULONG_PTR>(b->hatch);
            return copyOut(lb, size, out);
        }
        case OBJ_FONT:
            return copyOut(std::static_pointer_cast<Font>(o)->lf, size, out);
        case OBJ_PAL: {
            const WORD n = static_cast<WORD>(std::static_pointer_cast<Palette>(o)->entries.size());
            return copyOut(n, size, out);
        }
        case OBJ_BITMAP: {
            auto b = std::static_pointer_cast<Bitmap>(o);
            BITMAP bm;
            bm.bmWidth = b->surface.width;
            bm.bmHeight = b->surface.height;
            bm.bmPlanes = 1;
            bm.bmBitsPixel =
                static_cast<WORD>(b->dibSection ? b->dibHeader.biBitCount : b->bitsPerPixel);
            bm.bmWidthBytes = ((bm.bmWidth * bm.bmBitsPixel + 15) / 16) * 2;
            if (b->dibSection) {
                bm.bmWidthBytes = ((bm.bmWidth * bm.bmBitsPixel + 31) / 32) * 4;
                bm.bmBits = b->dibBits.data();
                if (out && size >= static_cast<int>(sizeof(DIBSECTION))) {
                    DIBSECTION ds;
                    ds.dsBm = bm;
                    ds.dsBmih = b->dibHeader;
                    return copyOut(ds, size, out);
                }
            }
            return copyOut(bm, size, out);
        }
        default:
            return 0;
    }
}

BOOL UnrealizeObject(HGDIOBJ handle) {
    return findObject(handle) ? TRUE : FALSE;
}

}  // namespace win
