#pragma once
// The few drawing operations the window layer needs for frames, captions,
// menus and scroll bars. Text goes through the device-context side once it is
// bound (setLayerTextEngine); until then text has a width but draws nothing.

#include <functional>
#include <string_view>

#include "platform/window/surface.h"

namespace win {

struct LayerTextEngine {
    // Width in pixels of a text in the menu font (bold for captions).
    std::function<int(std::string_view text, bool bold)> width;
    // Draws a text with its top-left corner at x, y, clipped to `clip`;
    // underlines the character at `underline` (-1 none).
    std::function<void(Surface& surface, const RECT& clip, int x, int y, std::string_view text,
                       COLORREF color, bool bold, int underline)>
        draw;
};
void setLayerTextEngine(LayerTextEngine engine);

namespace detail {

int layerTextWidth(std::string_view text, bool bold);
void layerText(Surface& s, const RECT& clip, int x, int y, std::string_view text, COLORREF color, bool bold,
               int underline);
void layerFill(Surface& s, const RECT& clip, const RECT& r, COLORREF color);
// A raised (or sunken) 3-D edge of one or two pixels around r.
void layerEdge(Surface& s, const RECT& clip, const RECT& r, bool raised, bool doubleEdge);
void layerLine(Surface& s, const RECT& clip, int x0, int y0, int x1, int y1, COLORREF color);

}  // namespace detail
}  // namespace win
