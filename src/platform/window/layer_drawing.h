#pragma once
// The few drawing operations the window layer needs for frames, captions,
// menus and scroll bars, straight on window surfaces.

#include <string_view>

#include "platform/window/surface.h"

namespace win::detail {

// Text in the menu font ("MS Sans Serif" 8 point; bold for captions).
int layerTextWidth(std::string_view text, bool bold);
// Draws a text with its top-left corner at x, y, clipped to `clip`;
// underlines the character at `underline` (-1 none).
void layerText(Surface& s, const RECT& clip, int x, int y, std::string_view text, COLORREF color,
               bool bold, int underline);
void layerFill(Surface& s, const RECT& clip, const RECT& r, COLORREF color);
// A raised (or sunken) 3-D edge of one or two pixels around r.
void layerEdge(Surface& s, const RECT& clip, const RECT& r, bool raised, bool doubleEdge);
void layerLine(Surface& s, const RECT& clip, int x0, int y0, int x1, int y1, COLORREF color);

}  // namespace win::detail
