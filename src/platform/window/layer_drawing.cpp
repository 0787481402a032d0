#include "platform/window/layer_drawing.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gdi/surface_dc.h"
#include "platform/window/user_api.h"
#include "platform/window/window_state.h"

namespace win::detail {
namespace {

HFONT menuFont(bool bold) {
    static HFONT normal =
        CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    static HFONT heavy =
        CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    return bold ? heavy : normal;
}

// A context for measuring only.
HDC measuringDc() {
    static Surface scratch(1, 1);
    static HDC dc = CreateSurfaceDC(&scratch, {0, 0}, nullptr);
    return dc;
}

int extent(HDC dc, std::string_view text) {
    SIZE size;
    if (text.empty() ||
        !GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size))
        return 0;
    return size.cx;
}

}  // namespace

int layerTextWidth(std::string_view text, bool bold) {
    HDC dc = measuringDc();
    HGDIOBJ old = SelectObject(dc, menuFont(bold));
    const int w = extent(dc, text);
    SelectObject(dc, old);
    return w;
}

void layerText(Surface& s, const RECT& clip, int x, int y, std::string_view text, COLORREF color,
               bool bold, int underline) {
    if (text.empty() || isEmpty(clip)) return;
    HDC dc = CreateSurfaceDC(&s, {0, 0}, &clip);
    SelectObject(dc, menuFont(bold));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
    if (underline >= 0 && underline < static_cast<int>(text.size())) {
        TEXTMETRICA tm;
        GetTextMetricsA(dc, &tm);
        const int left = x + extent(dc, text.substr(0, static_cast<std::size_t>(underline)));
        const int right = x + extent(dc, text.substr(0, static_cast<std::size_t>(underline) + 1));
        layerFill(s, clip, {left, y + tm.tmAscent + 1, right, y + tm.tmAscent + 2}, color);
    }
    DeleteDC(dc);
}

void layerFill(Surface& s, const RECT& clip, const RECT& r, COLORREF color) {
    fillSurface(s, intersectRect(clip, r), pixelOf(color));
}

void layerLine(Surface& s, const RECT& clip, int x0, int y0, int x1, int y1, COLORREF color) {
    // Horizontal and vertical lines only; the end point is excluded as GDI does.
    if (y0 == y1)
        layerFill(s, clip, {std::min(x0, x1), y0, std::max(x0, x1), y0 + 1}, color);
    else if (x0 == x1)
        layerFill(s, clip, {x0, std::min(y0, y1), x0 + 1, std::max(y0, y1)}, color);
}

void layerEdge(Surface& s, const RECT& clip, const RECT& r, bool raised, bool doubleEdge) {
    const COLORREF light = GetSysColor(raised ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    const COLORREF dark = GetSysColor(raised ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT);
    const COLORREF innerLight = GetSysColor(raised ? COLOR_3DLIGHT : COLOR_3DDKSHADOW);
    const COLORREF innerDark = GetSysColor(raised ? COLOR_BTNSHADOW : COLOR_3DLIGHT);
    layerLine(s, clip, r.left, r.top, r.right - 1, r.top, light);
    layerLine(s, clip, r.left, r.top, r.left, r.bottom - 1, light);
    layerLine(s, clip, r.left, r.bottom - 1, r.right, r.bottom - 1, dark);
    layerLine(s, clip, r.right - 1, r.top, r.right - 1, r.bottom, dark);
    if (!doubleEdge) return;
    layerLine(s, clip, r.left + 1, r.top + 1, r.right - 2, r.top + 1, innerLight);
    layerLine(s, clip, r.left + 1, r.top + 1, r.left + 1, r.bottom - 2, innerLight);
    layerLine(s, clip, r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 2, innerDark);
    layerLine(s, clip, r.right - 2, r.top + 1, r.right - 2, r.bottom - 1, innerDark);
}

}  // namespace win::detail
