// Device contexts: creation, state, saving, device facts and the logical to
// device mapping.

#include <cmath>
#include <utility>

#include "platform/gdi/drawing.h"
#include "platform/gdi/meta_sink.h"
#include "platform/gdi/surface_dc.h"

namespace win {
namespace gdi {

Affine Affine::after(const Affine& f) const {
    Affine m;
    m.m11 = f.m11 * m11 + f.m12 * m21;
    m.m12 = f.m11 * m12 + f.m12 * m22;
    m.m21 = f.m21 * m11 + f.m22 * m21;
    m.m22 = f.m21 * m12 + f.m22 * m22;
    m.dx = f.dx * m11 + f.dy * m21 + dx;
    m.dy = f.dx * m12 + f.dy * m22 + dy;
    return m;
}

Affine Affine::inverse() const {
    const double det = m11 * m22 - m12 * m21;
    Affine r;
    if (det == 0) return r;
    r.m11 = m22 / det;
    r.m12 = -m12 / det;
    r.m21 = -m21 / det;
    r.m22 = m11 / det;
    r.dx = -(dx * r.m11 + dy * r.m21);
    r.dy = -(dx * r.m12 + dy * r.m22);
    return r;
}

double Affine::scale() const {
    return std::sqrt(std::abs(m11 * m22 - m12 * m21));
}

namespace {

ScreenMetrics& screen() {
    static ScreenMetrics m;
    return m;
}

SystemColourSource& sysColours() {
    static SystemColourSource s = nullptr;
    return s;
}

}  // namespace

DeviceInfo screenInfo() {
    DeviceInfo i;
    const ScreenMetrics& m = screen();
    i.horzRes = m.width;
    i.vertRes = m.height;
    i.dpiX = i.dpiY = m.dpi;
    i.horzSizeMm = static_cast<int>(std::lround(m.width * 25.4 / m.dpi));
    i.vertSizeMm = static_cast<int>(std::lround(m.height * 25.4 / m.dpi));
    return i;
}

COLORREF systemColour(int index) {
    if (sysColours()) return sysColours()(index);
    // Classic defaults until the window manager installs its table.
    static const COLORREF table[31] = {
        RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
        RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
        RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
        RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
        RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
        RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
        RGB(255, 255, 225), RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240),
        RGB(192, 192, 192), RGB(49, 106, 197),  RGB(212, 208, 200)};
    return index >= 0 && index < 31 ? table[index] : 0;
}

DeviceContext::~DeviceContext() = default;

Surface* DeviceContext::target() {
    if (kind == DcKind::Surface) return surface;
    if (kind == DcKind::Memory && st.bitmap) return &st.bitmap->surface;
    return nullptr;
}

Affine DeviceContext::pageTransform() const {
    Affine p;
    double sx = 1, sy = 1;
    switch (st.mapMode) {
        case MM_ISOTROPIC:
        case MM_ANISOTROPIC:
            sx = static_cast<double>(st.viewportExt.cx) / (st.windowExt.cx ? st.windowExt.cx : 1);
            sy = static_cast<double>(st.viewportExt.cy) / (st.windowExt.cy ? st.windowExt.cy : 1);
            break;
        case MM_LOMETRIC:
            sx = info.dpiX / 254.0;
            sy = -info.dpiY / 254.0;
            break;
        case MM_HIMETRIC:
            sx = info.dpiX / 2540.0;
            sy = -info.dpiY / 2540.0;
            break;
        case MM_LOENGLISH:
            sx = info.dpiX / 100.0;
            sy = -info.dpiY / 100.0;
            break;
        case MM_HIENGLISH:
            sx = info.dpiX / 1000.0;
            sy = -info.dpiY / 1000.0;
            break;
        case MM_TWIPS:
            sx = info.dpiX / 1440.0;
            sy = -info.dpiY / 1440.0;
            break;
        default:
            break;
    }
    p.m11 = sx;
    p.m22 = sy;
    p.dx = st.viewportOrg.x - st.windowOrg.x * sx;
    p.dy = st.viewportOrg.y - st.windowOrg.y * sy;
    return p;
}

Affine DeviceContext::fullTransform() const {
    Affine m = pageTransform();
    if (st.graphicsMode == GM_ADVANCED) m = m.after(st.world);
    return base.after(m);
}

std::unique_ptr<DeviceContext> newContext(DcKind kind, const DeviceInfo& info) {
    auto dc = std::make_unique<DeviceContext>();
    dc->kind = kind;
    dc->info = info;
    initDefaultState(dc->st);
    return dc;
}

}  // namespace gdi

using namespace gdi;

HDC CreateSurfaceDC(Surface* surface, POINT origin, const RECT* clip) {
    if (!surface) return nullptr;
    auto dc = newContext(DcKind::Surface, screenInfo());
    dc->surface = surface;
    dc->origin = origin;
    if (clip) dc->visible = Region::rect(clip->left, clip->top, clip->right, clip->bottom);
    return registerDc(std::move(dc));
}

BOOL SetSurfaceDCOrigin(HDC hdc, POINT origin, const RECT* clip) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || dc->kind != DcKind::Surface) return FALSE;
    dc->origin = origin;
    if (clip)
        dc->visible = Region::rect(clip->left, clip->top, clip->right, clip->bottom);
    else
        dc->visible.reset();
    return TRUE;
}

BOOL SetSurfaceDCVisibleRegion(HDC hdc, HRGN region) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    if (!region) {
        dc->metaClip.reset();
        return TRUE;
    }
    auto r = findAs<RegionObject>(region);
    if (!r) return FALSE;
    dc->metaClip = r->region;
    return TRUE;
}

Surface* GetDCSurface(HDC hdc) {
    DeviceContext* dc = findDc(hdc);
    return dc ? dc->target() : nullptr;
}

POINT GetDCOrigin(HDC hdc) {
    DeviceContext* dc = findDc(hdc);
    return dc ? dc->origin : POINT{};
}

void SetScreenMetrics(const ScreenMetrics& metrics) {
    screen() = metrics;
}
ScreenMetrics GetScreenMetrics() {
    return screen();
}
void SetSystemColourSource(SystemColourSource source) {
    sysColours() = source;
}

HDC CreateCompatibleDC(HDC hdc) {
    DeviceInfo info = screenInfo();
    if (hdc) {
        DeviceContext* other = findDc(hdc);
        if (!other) return nullptr;
        info = other->info;
        if (info.technology != DT_RASPRINTER) info.technology = DT_RASDISPLAY;
    }
    auto dc = newContext(DcKind::Memory, info);
    dc->st.bitmap = defaultBitmap();
    return registerDc(std::move(dc));
}

BOOL DeleteDC(HDC hdc) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    if (dc->kind == DcKind::Printer) abortPrinterOnDelete(*dc);
    forgetDc(hdc);
    return TRUE;
}

int SaveDC(HDC hdc) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return 0;
    if (dc->meta) dc->meta->value(MetaOp::SaveDc, 0);
    dc->saved.push_back(dc->st);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int which) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    const int n = static_cast<int>(dc->saved.size());
    const int level = which < 0 ? n + which + 1 : which;
    if (level < 1 || level > n) return FALSE;
    if (dc->meta) dc->meta->value(MetaOp::RestoreDc, which < 0 ? which : level - n - 1);
    dc->st = dc->saved[static_cast<std::size_t>(level - 1)];
    dc->saved.resize(static_cast<std::size_t>(level - 1));
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return 0;
    const DeviceInfo& i = dc->info;
    switch (index) {
        case DRIVERVERSION:
            return 0x4000;
        case TECHNOLOGY:
            return dc->kind == DcKind::EnhMetafile || dc->kind == DcKind::Metafile ? DT_METAFILE
                                                                                   : i.technology;
        case HORZSIZE:
            return i.horzSizeMm;
        case VERTSIZE:
            return i.vertSizeMm;
        case HORZRES:
            return i.horzRes;
        case VERTRES:
            return i.vertRes;
        case BITSPIXEL:
            return i.bitsPixel;
        case PLANES:
            return 1;
        case NUMBRUSHES:
        case NUMPENS:
            return -1;
        case NUMFONTS:
            return 0;
        case NUMCOLORS:
            return i.numColors;
        case RASTERCAPS:
            return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT |
                   RC_STRETCHDIB;
        case LOGPIXELSX:
            return i.dpiX;
        case LOGPIXELSY:
            return i.dpiY;
        case SIZEPALETTE:
            return 0;
        case COLORRES:
            return 24;
        case PHYSICALWIDTH:
            return i.physicalWidth;
        case PHYSICALHEIGHT:
            return i.physicalHeight;
        case PHYSICALOFFSETX:
            return i.physicalOffsetX;
        case PHYSICALOFFSETY:
            return i.physicalOffsetY;
        case SHADEBLENDCAPS:
            return 0;
        default:
            return 0;
    }
}

// ---- modes ----------------------------------------------------------------

#define PELK_DC_OR(result)           \
    DeviceContext* dc = findDc(hdc); \
    if (!dc) return result

int SetROP2(HDC hdc, int rop2) {
    PELK_DC_OR(0);
    if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
    if (dc->meta) dc->meta->value(MetaOp::SetRop2, rop2);
    return std::exchange(dc->st.rop2, rop2);
}
int GetROP2(HDC hdc) {
    PELK_DC_OR(0);
    return dc->st.rop2;
}
int SetPolyFillMode(HDC hdc, int mode) {
    PELK_DC_OR(0);
    if (mode != ALTERNATE && mode != WINDING) return 0;
    if (dc->meta) dc->meta->value(MetaOp::SetPolyFillMode, mode);
    return std::exchange(dc->st.polyFillMode, mode);
}
int GetPolyFillMode(HDC hdc) {
    PELK_DC_OR(0);
    return dc->st.polyFillMode;
}
int SetStretchBltMode(HDC hdc, int mode) {
    PELK_DC_OR(0);
    if (dc->meta) dc->meta->value(MetaOp::SetStretchBltMode, mode);
    return std::exchange(dc->st.stretchMode, mode);
}
BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* old) {
    PELK_DC_OR(FALSE);
    if (old) *old = dc->st.brushOrg;
    if (dc->meta) dc->meta->point(MetaOp::SetBrushOrg, x, y);
    dc->st.brushOrg = {x, y};
    return TRUE;
}
int SetArcDirection(HDC hdc, int direction) {
    PELK_DC_OR(0);
    if (direction != AD_CLOCKWISE && direction != AD_COUNTERCLOCKWISE) return 0;
    if (dc->meta) dc->meta->value(MetaOp::SetArcDirection, direction);
    return std::exchange(dc->st.arcDirection, direction);
}
UINT SetTextAlign(HDC hdc, UINT align) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return GDI_ERROR;
    if (dc->meta) dc->meta->value(MetaOp::SetTextAlign, static_cast<int>(align));
    return std::exchange(dc->st.textAlign, align);
}
UINT GetTextAlign(HDC hdc) {
    DeviceContext* dc = findDc(hdc);
    return dc ? dc->st.textAlign : GDI_ERROR;
}
COLORREF SetTextColor(HDC hdc, COLORREF color) {
    PELK_DC_OR(CLR_INVALID);
    if (dc->meta) dc->meta->value(MetaOp::SetTextColor, static_cast<int>(color));
    return std::exchange(dc->st.textColor, color);
}
COLORREF GetTextColor(HDC hdc) {
    PELK_DC_OR(CLR_INVALID);
    return dc->st.textColor;
}
COLORREF SetBkColor(HDC hdc, COLORREF color) {
    PELK_DC_OR(CLR_INVALID);
    if (dc->meta) dc->meta->value(MetaOp::SetBkColor, static_cast<int>(color));
    return std::exchange(dc->st.bkColor, color);
}
COLORREF GetBkColor(HDC hdc) {
    PELK_DC_OR(CLR_INVALID);
    return dc->st.bkColor;
}
int SetBkMode(HDC hdc, int mode) {
    PELK_DC_OR(0);
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    if (dc->meta) dc->meta->value(MetaOp::SetBkMode, mode);
    return std::exchange(dc->st.bkMode, mode);
}
int GetBkMode(HDC hdc) {
    PELK_DC_OR(0);
    return dc->st.bkMode;
}

// ---- coordinate spaces -------------------------------------------------------

int SetMapMode(HDC hdc, int mode) {
    PELK_DC_OR(0);
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
    if (dc->meta) dc->meta->value(MetaOp::SetMapMode, mode);
    const int old = dc->st.mapMode;
    dc->st.mapMode = mode;
    if (mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC) {
        dc->st.windowExt = {1, 1};
        dc->st.viewportExt = {1, 1};
    }
    return old;
}
int GetMapMode(HDC hdc) {
    PELK_DC_OR(0);
    return dc->st.mapMode;
}

namespace {

bool scalable(const DeviceContext& dc) {
    return dc.st.mapMode == MM_ISOTROPIC || dc.st.mapMode == MM_ANISOTROPIC;
}

void setPoint(DeviceContext& dc, POINT& field, MetaOp op, int x, int y, POINT* old) {
    if (old) *old = field;
    if (dc.meta) dc.meta->point(op, x, y);
    field = {x, y};
}

}  // namespace

BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* old) {
    PELK_DC_OR(FALSE);
    setPoint(*dc, dc->st.windowOrg, MetaOp::SetWindowOrg, x, y, old);
    return TRUE;
}
BOOL GetWindowOrgEx(HDC hdc, POINT* p) {
    PELK_DC_OR(FALSE);
    if (p) *p = dc->st.windowOrg;
    return TRUE;
}
BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* old) {
    PELK_DC_OR(FALSE);
    setPoint(*dc, dc->st.viewportOrg, MetaOp::SetViewportOrg, x, y, old);
    return TRUE;
}
BOOL GetViewportOrgEx(HDC hdc, POINT* p) {
    PELK_DC_OR(FALSE);
    if (p) *p = dc->st.viewportOrg;
    return TRUE;
}
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* old) {
    PELK_DC_OR(FALSE);
    return SetViewportOrgEx(hdc, dc->st.viewportOrg.x + dx, dc->st.viewportOrg.y + dy, old);
}
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, POINT* old) {
    PELK_DC_OR(FALSE);
    return SetWindowOrgEx(hdc, dc->st.windowOrg.x + dx, dc->st.windowOrg.y + dy, old);
}
BOOL SetWindowExtEx(HDC hdc, int x, int y, SIZE* old) {
    PELK_DC_OR(FALSE);
    if (old) *old = dc->st.windowExt;
    if (dc->meta) dc->meta->point(MetaOp::SetWindowExt, x, y);
    if (!scalable(*dc)) return TRUE;
    if (x == 0 || y == 0) return FALSE;
    dc->st.windowExt = {x, y};
    return TRUE;
}
BOOL GetWindowExtEx(HDC hdc, SIZE* s) {
    PELK_DC_OR(FALSE);
    if (s) *s = dc->st.windowExt;
    return TRUE;
}
BOOL SetViewportExtEx(HDC hdc, int x, int y, SIZE* old) {
    PELK_DC_OR(FALSE);
    if (old) *old = dc->st.viewportExt;
    if (dc->meta) dc->meta->point(MetaOp::SetViewportExt, x, y);
    if (!scalable(*dc)) return TRUE;
    if (x == 0 || y == 0) return FALSE;
    dc->st.viewportExt = {x, y};
    return TRUE;
}
BOOL GetViewportExtEx(HDC hdc, SIZE* s) {
    PELK_DC_OR(FALSE);
    if (s) *s = dc->st.viewportExt;
    return TRUE;
}
BOOL ScaleViewportExtEx(HDC hdc, int xn, int xd, int yn, int yd, SIZE* old) {
    PELK_DC_OR(FALSE);
    if (old) *old = dc->st.viewportExt;
    if (xd == 0 || yd == 0) return FALSE;
    if (dc->meta) dc->meta->scale(MetaOp::ScaleViewportExt, xn, xd, yn, yd);
    if (!scalable(*dc)) return TRUE;
    dc->st.viewportExt = {dc->st.viewportExt.cx * xn / xd, dc->st.viewportExt.cy * yn / yd};
    return TRUE;
}
BOOL ScaleWindowExtEx(HDC hdc, int xn, int xd, int yn, int yd, SIZE* old) {
    PELK_DC_OR(FALSE);
    if (old) *old = dc->st.windowExt;
    if (xd == 0 || yd == 0) return FALSE;
    if (dc->meta) dc->meta->scale(MetaOp::ScaleWindowExt, xn, xd, yn, yd);
    if (!scalable(*dc)) return TRUE;
    dc->st.windowExt = {dc->st.windowExt.cx * xn / xd, dc->st.windowExt.cy * yn / yd};
    return TRUE;
}
int SetGraphicsMode(HDC hdc, int mode) {
    PELK_DC_OR(0);
    if (mode != GM_COMPATIBLE && mode != GM_ADVANCED) return 0;
    // Leaving the advanced mode needs the identity transform.
    if (mode == GM_COMPATIBLE && !dc->st.world.isIdentityLinear()) return 0;
    if (mode == GM_COMPATIBLE && (dc->st.world.dx != 0 || dc->st.world.dy != 0)) return 0;
    if (dc->meta) dc->meta->value(MetaOp::SetGraphicsMode, mode);
    return std::exchange(dc->st.graphicsMode, mode);
}
int GetGraphicsMode(HDC hdc) {
    PELK_DC_OR(0);
    return dc->st.graphicsMode;
}
BOOL SetWorldTransform(HDC hdc, const XFORM* xf) {
    PELK_DC_OR(FALSE);
    if (!xf || dc->st.graphicsMode != GM_ADVANCED) return FALSE;
    if (dc->meta) dc->meta->transform(*xf, 0);
    dc->st.world = {xf->eM11, xf->eM12, xf->eM21, xf->eM22, xf->eDx, xf->eDy};
    return TRUE;
}
BOOL GetWorldTransform(HDC hdc, XFORM* xf) {
    PELK_DC_OR(FALSE);
    if (!xf) return FALSE;
    const Affine& w = dc->st.world;
    *xf = {static_cast<FLOAT>(w.m11), static_cast<FLOAT>(w.m12), static_cast<FLOAT>(w.m21),
           static_cast<FLOAT>(w.m22), static_cast<FLOAT>(w.dx),  static_cast<FLOAT>(w.dy)};
    return TRUE;
}
BOOL ModifyWorldTransform(HDC hdc, const XFORM* xf, DWORD mode) {
    PELK_DC_OR(FALSE);
    if (dc->st.graphicsMode != GM_ADVANCED) return FALSE;
    Affine m;
    if (mode != MWT_IDENTITY) {
        if (!xf) return FALSE;
        m = {xf->eM11, xf->eM12, xf->eM21, xf->eM22, xf->eDx, xf->eDy};
    }
    if (dc->meta) dc->meta->transform(xf ? *xf : XFORM{}, mode);
    switch (mode) {
        case MWT_IDENTITY:
            dc->st.world = Affine{};
            break;
        case MWT_LEFTMULTIPLY:
            dc->st.world = dc->st.world.after(m);
            break;
        case MWT_RIGHTMULTIPLY:
            dc->st.world = m.after(dc->st.world);
            break;
        default:
            return FALSE;
    }
    return TRUE;
}
BOOL LPtoDP(HDC hdc, POINT* pts, int count) {
    PELK_DC_OR(FALSE);
    const Affine m = dc->fullTransform();
    for (int i = 0; i < count; ++i) {
        double x, y;
        m.apply(pts[i].x, pts[i].y, x, y);
        pts[i] = {static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))};
    }
    return TRUE;
}
BOOL DPtoLP(HDC hdc, POINT* pts, int count) {
    PELK_DC_OR(FALSE);
    const Affine m = dc->fullTransform().inverse();
    for (int i = 0; i < count; ++i) {
        double x, y;
        m.apply(pts[i].x, pts[i].y, x, y);
        pts[i] = {static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))};
    }
    return TRUE;
}

BOOL GdiGradientFillAvailable() {
    return TRUE;
}

}  // namespace win
