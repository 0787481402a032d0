#include "toolkit/graphics/screen_primitives.h"

#include <algorithm>

#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/screen_driver.h"

namespace tk::screen {

PrimitiveState& primitives() {
    static PrimitiveState state;
    return state;
}

namespace {

win::HDC dc() {
    return drawingSurface().dc;
}

}  // namespace

ClipScope::ClipScope() {
    if (primitives().clip && dc()) win::SelectClipRgn(dc(), primitives().clip);
}

ClipScope::~ClipScope() {
    if (primitives().clip && dc()) win::SelectClipRgn(dc(), nullptr);
}

namespace {

// Selects a pen and a brush for one primitive and puts the old ones back
// (deleting the brush and any pen made for the primitive) afterwards.
class ObjectScope {
  public:
    ObjectScope(win::HPEN pen, bool ownPen, win::HBRUSH brush, bool ownBrush)
        : pen_(pen), brush_(brush), ownPen_(ownPen), ownBrush_(ownBrush) {
        oldPen_ = win::SelectObject(dc(), pen);
        oldBrush_ = win::SelectObject(dc(), brush);
    }
    ~ObjectScope() {
        win::SelectObject(dc(), oldPen_);
        win::SelectObject(dc(), oldBrush_);
        if (ownPen_) win::DeleteObject(pen_);
        if (ownBrush_) win::DeleteObject(brush_);
    }
    ObjectScope(const ObjectScope&) = delete;
    ObjectScope& operator=(const ObjectScope&) = delete;

  private:
    win::HPEN pen_;
    win::HBRUSH brush_;
    bool ownPen_, ownBrush_;
    win::HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr;
};

win::HPEN nullPen() {
    return static_cast<win::HPEN>(win::GetStockObject(win::NULL_PEN));
}
win::HBRUSH nullBrush() {
    return static_cast<win::HBRUSH>(win::GetStockObject(win::NULL_BRUSH));
}

win::COLORREF meanColour(win::COLORREF a, win::COLORREF b) {
    win::COLORREF out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
    return out;
}

void redrawHalftone() {
    PrimitiveState& p = primitives();
    if (p.halftone && p.halftoneDc == dc() && !p.halftoneDirty) return;
    if (p.halftone) win::DeleteObject(p.halftone);
    p.halftone = win::CreateCompatibleBitmap(dc(), 8, 8);
    p.halftoneDc = dc();
    win::HDC memory = win::CreateCompatibleDC(dc());
    win::HGDIOBJ old = win::SelectObject(memory, p.halftone);
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column)
            win::SetPixel(memory, column, row, (column + row) % 2 == 0 ? p.current : p.previous);
    win::SelectObject(memory, old);
    win::DeleteDC(memory);
    p.halftoneDirty = false;
}

// The brush of a halftone fill: a checkerboard of the current and the
// previous colour; on a metafile surface, where patterns do not travel
// well, their mean as a solid colour.
win::HBRUSH ScreenHalftoneBrush() {
    PrimitiveState& p = primitives();
    if (drawingSurface().metafile) return win::CreateSolidBrush(meanColour(p.current, p.previous));
    redrawHalftone();
    return win::CreatePatternBrush(p.halftone);
}

// Brush and pen of a filled shape: halftone (3) without a pen, or solid (4)
// with a one-pixel pen of the current colour so the edge is covered too.
struct FillObjects {
    win::HPEN pen;
    bool ownPen;
    win::HBRUSH brush;
};

FillObjects fillObjects(int fill, bool penAllowed) {
    if (fill == 3) return {nullPen(), false, ScreenHalftoneBrush()};
    win::HBRUSH brush = win::CreateSolidBrush(primitives().current & 0x00FFFFFF);
    if (!penAllowed) return {nullPen(), false, brush};
    return {win::CreatePen(win::PS_SOLID, 1, primitives().current), true, brush};
}

// The window system leaves out the last pixel of a thin line; a one-pixel
// step from it draws that pixel with the same pen and raster operation, so
// exclusive-or drawing stays reversible.
void drawEndPixel(int x, int y) {
    const PrimitiveState& p = primitives();
    if (p.penStyle != 0 || p.penWidth > 1) return;
    win::MoveToEx(dc(), x, y, nullptr);
    win::LineTo(dc(), x + 1, y);
}

// Whether b lies on the way from a straight on to c.
bool straightThrough(const win::POINT& a, const win::POINT& b, const win::POINT& c) {
    const long long ux = b.x - a.x, uy = b.y - a.y, vx = c.x - b.x, vy = c.y - b.y;
    return ux * vy == uy * vx && ux * vx + uy * vy > 0;
}

// Drops the points that a polyline passes straight through; returns how
// many are left (the first and the last stay).
int withoutStraightThroughPoints(win::POINT* points, int n) {
    if (n < 3) return n;
    int kept = 1;
    for (int i = 1; i + 1 < n; ++i)
        if (!straightThrough(points[kept - 1], points[i], points[i + 1])) points[kept++] = points[i];
    points[kept++] = points[n - 1];
    return kept;
}

int stockStyle(int style) {
    static constexpr int styles[8] = {win::PS_SOLID,   win::PS_DOT,        win::PS_DASH,
                                      win::PS_DASHDOT, win::PS_DASHDOTDOT, win::PS_DASHDOT,
                                      win::PS_DASH,    win::PS_DASHDOTDOT};
    return style >= 0 && style <= 7 ? styles[style] : win::PS_SOLID;
}

bool ntPlatform() {
    auto& nt = graphicsServices().ntPlatform;
    return nt ? nt() : true;
}

}  // namespace

void releasePrimitives() {
    PrimitiveState& p = primitives();
    if (p.pen) {
        if (dc()) win::SelectObject(dc(), win::GetStockObject(win::BLACK_PEN));
        win::DeleteObject(p.pen);
    }
    if (p.halftone) win::DeleteObject(p.halftone);
    if (p.clip) win::DeleteObject(p.clip);
    if (p.font) {
        if (dc()) win::SelectObject(dc(), win::GetStockObject(win::SYSTEM_FONT));
        win::DeleteObject(p.font);
    }
    p = PrimitiveState{};
}

void ScreenCreatePen() {
    PrimitiveState& p = primitives();
    win::HPEN pen = nullptr;
    if (ntPlatform() && p.penStyle != 0) {
        const std::vector<win::DWORD> dashes = ScaledDashPattern(p.penStyle);
        win::LOGBRUSH brush{win::BS_SOLID, p.current, 0};
        pen = win::ExtCreatePen(
            win::PS_GEOMETRIC | win::PS_USERSTYLE | win::PS_ENDCAP_SQUARE | win::PS_JOIN_BEVEL,
            static_cast<win::DWORD>(std::max(1, p.penWidth)), &brush,
            static_cast<win::DWORD>(dashes.size()), dashes.data());
    } else {
        pen = win::CreatePen(stockStyle(p.penStyle), p.penWidth, p.current);
    }
    if (dc()) win::SelectObject(dc(), pen);
    if (p.pen) win::DeleteObject(p.pen);
    p.pen = pen;
}

void ScreenSetColour(int deviceColour, int rgb) {
    PrimitiveState& p = primitives();
    const DrawingSurface& s = drawingSurface();
    p.previous = p.current;
    if (s.metafile || !s.dc)
        p.current = static_cast<win::COLORREF>(rgb);
    else if (s.palette)
        p.current = win::PALETTEINDEX(static_cast<win::WORD>(deviceColour));
    else
        p.current = win::GetNearestColor(s.dc, static_cast<win::COLORREF>(rgb));
    p.halftoneDirty = true;
    // The plotter sets its colour before every line: a pen of that colour
    // still selected on the screen need not be made again.
    const bool penInPlace = !s.metafile && p.pen && p.current == p.previous && dc() &&
                            win::GetCurrentObject(dc(), win::OBJ_PEN) == p.pen;
    if (!penInPlace) ScreenCreatePen();
}

void ScreenLine(int x1, int y1, int x2, int y2) {
    if (!dc()) return;
    win::MoveToEx(dc(), x1, y1, nullptr);
    win::LineTo(dc(), x2, y2);
    drawEndPixel(x2, y2);
}

void ScreenEllipse(int cx, int cy, int rx, int ry, int code, int fill) {
    if (!dc()) return;
    ClipScope clip;
    if (code == 4) {
        ObjectScope objects(primitives().pen, false, nullBrush(), false);
        win::Ellipse(dc(), cx - rx - 1, cy - ry - 1, cx + rx + 2, cy + ry + 2);
        return;
    }
    const FillObjects f = fillObjects(fill, true);
    ObjectScope objects(f.pen, f.ownPen, f.brush, true);
    const int extra = fill == 3 ? 3 : 2;
    win::Ellipse(dc(), cx - rx - 1, cy - ry - 1, cx + rx + extra, cy + ry + extra);
}

void ScreenRectangle(int left, int top, int right, int bottom, int fill) {
    if (!dc()) return;
    const FillObjects f = fillObjects(fill, false);
    ObjectScope objects(f.pen, f.ownPen, f.brush, true);
    win::Rectangle(dc(), left, top, right + 2, bottom + 2);
}

void ScreenPie(int cx, int cy, int rx, int ry, win::POINT start, win::POINT end, int fill) {
    if (!dc()) return;
    ClipScope clip;
    const FillObjects f = fillObjects(fill, true);
    ObjectScope objects(f.pen, f.ownPen, f.brush, true);
    const int extra = fill == 3 ? 3 : 2;
    win::Pie(dc(), cx - rx - 1, cy - ry - 1, cx + rx + extra, cy + ry + extra, start.x, start.y,
             end.x, end.y);
}

void ScreenArc(int cx, int cy, int rx, int ry, win::POINT start, win::POINT end, int density,
               int fillStyle) {
    if (!dc()) return;
    ClipScope clip;
    ObjectScope objects(primitives().pen, false, nullBrush(), false);
    const int l = cx - rx - 1, t = cy - ry - 1, r = cx + rx + 2, b = cy + ry + 2;
    if (density < 3 || fillStyle > 0)
        win::Pie(dc(), l, t, r, b, start.x, start.y, end.x, end.y);
    else
        win::Arc(dc(), l, t, r, b, start.x, start.y, end.x, end.y);
}

void ScreenPolygon(int n, int fill) {
    PrimitiveState& p = primitives();
    if (!dc() || n < 2 || static_cast<std::size_t>(n) > p.points.size()) return;
    ClipScope clip;
    // Under exclusive-or a pen would invert the edge a second time.
    const FillObjects f = fillObjects(fill, p.rop2 != win::R2_XORPEN);
    ObjectScope objects(f.pen, f.ownPen, f.brush, true);
    win::Polygon(dc(), p.points.data(), n);
}

void ScreenPolyline(int n) {
    PrimitiveState& p = primitives();
    if (!dc() || n < 1 || static_cast<std::size_t>(n) > p.points.size()) return;
    const auto begin = p.points.begin();
    const win::POINT first = *begin, last = *(begin + n - 1);
    // A long curve puts many points on the same pixel; the steps between
    // them have no length and add nothing to the stroke, so they go.
    const auto same = [](const win::POINT& a, const win::POINT& b) {
        return a.x == b.x && a.y == b.y;
    };
    int kept = static_cast<int>(std::unique(begin, begin + n, same) - begin);
    // A solid pen strokes a straight stretch the same whether it has points
    // along it or not: a flat topography or a survey line along the grid
    // goes as one step instead of one for each pixel it passes.
    if (p.penStyle == 0) kept = withoutStraightThroughPoints(p.points.data(), kept);
    if (kept == 1 && n > 1) p.points[1] = first;
    win::Polyline(dc(), p.points.data(), std::min(n, std::max(kept, 2)));
    // A closed run has its end pixel already as its first; a run that never
    // leaves its pixel drew nothing yet and gets it, as a single segment would.
    if (!same(first, last) || kept == 1) drawEndPixel(last.x, last.y);
}

void ScreenClear(int width, int height, int rgb) {
    if (!dc()) return;
    const DrawingSurface& s = drawingSurface();
    win::COLORREF colour = static_cast<win::COLORREF>(rgb);
    if (!s.metafile)
        colour = s.palette ? win::PALETTEINDEX(0)
                           : win::GetNearestColor(s.dc, static_cast<win::COLORREF>(rgb));
    win::HBRUSH brush = win::CreateSolidBrush(colour);
    const int old = win::SetROP2(dc(), win::R2_COPYPEN);
    win::RECT all{0, 0, width + 1, height + 1};
    win::FillRect(dc(), &all, brush);
    win::SetROP2(dc(), old);
    win::DeleteObject(brush);
}

void ScreenCopyRectangle(int sx, int stop, int dx, int dtop, int width, int height, bool clear,
                         int backgroundRgb) {
    if (!dc()) return;
    ClipScope clip;
    win::DWORD rop = win::SRCCOPY;
    switch (primitives().rop2) {
        case win::R2_MERGEPEN:
            rop = win::SRCPAINT;
            break;
        case win::R2_MASKPEN:
            rop = win::SRCAND;
            break;
        case win::R2_XORPEN:
            rop = win::SRCINVERT;
            break;
        default:
            break;
    }
    win::BitBlt(dc(), dx, dtop, width, height, dc(), sx, stop, rop);
    if (!clear) return;
    // What the move uncovered is the source minus the destination.
    win::HRGN uncovered = win::CreateRectRgn(sx, stop, sx + width, stop + height);
    win::HRGN destination = win::CreateRectRgn(dx, dtop, dx + width, dtop + height);
    win::CombineRgn(uncovered, uncovered, destination, win::RGN_DIFF);
    win::HBRUSH brush = win::CreateSolidBrush(static_cast<win::COLORREF>(backgroundRgb));
    win::FillRgn(dc(), uncovered, brush);
    win::DeleteObject(brush);
    win::DeleteObject(destination);
    win::DeleteObject(uncovered);
}

void ScreenClipRectangle(int left, int top, int right, int bottom) {
    PrimitiveState& p = primitives();
    if (p.clip) win::DeleteObject(p.clip);
    p.clip = nullptr;
    // The area's last column and row belong to it; a region leaves out its
    // right and bottom edges, so it reaches one pixel further.
    if (bottom != -1) p.clip = win::CreateRectRgn(left, top, right + 1, bottom + 1);
}

void ScreenSetPixel(int x, int y) {
    if (dc()) win::SetPixel(dc(), x, y, primitives().current);
}

int ScreenGetPixel(int x, int y) {
    if (!dc()) return -1;
    const win::COLORREF c = win::GetPixel(dc(), x, y);
    return c == win::CLR_INVALID ? -1 : static_cast<int>(c & 0x00FFFFFF);
}

void ScreenDrawingMode(int mode) {
    static constexpr int rops[4] = {win::R2_COPYPEN, win::R2_MERGEPEN, win::R2_MASKPEN,
                                    win::R2_XORPEN};
    if (mode < 0 || mode > 3) return;
    primitives().rop2 = rops[mode];
    if (dc()) win::SetROP2(dc(), rops[mode]);
}

void ScreenLineStyle(int style) {
    primitives().penStyle = style >= 0 && style <= 7 ? style : 0;
    ScreenCreatePen();
}

void ScreenLineWidth(int width) {
    primitives().penWidth = width;
    ScaleDashTables();
    ScreenCreatePen();
}

}  // namespace tk::screen
