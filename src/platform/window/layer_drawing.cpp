#include "platform/window/layer_drawing.h"

#include <algorithm>

#include "platform/window/user_api.h"
#include "platform/window/window_state.h"

namespace win {
namespace {
LayerTextEngine textEngine;
}

void setLayerTextEngine(LayerTextEngine engine) { textEngine = std::move(engine); }

namespace detail {

int layerTextWidth(std::string_view text, bool bold) {
    if (textEngine.width) return textEngine.width(text, bold);
    return static_cast<int>(text.size()) * (bold ? 7 : 6);
}

void layerText(Surface& s, const RECT& clip, int x, int y, std::string_view text, COLORREF color, bool bold,
               int underline) {
    if (textEngine.draw) textEngine.draw(s, clip, x, y, text, color, bold, underline);
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

}  // namespace detail
}  // namespace win
