#pragma once
// Check-box glyphs of the grid shown in the selection's highlight colour.

#include "platform/gdi/gdi.h"
#include "platform/window/user_api.h"

namespace tk {

// highlighted := glyph with every button-face pixel turned into the
// highlight colour; work is a monochrome bitmap of the glyph's size that
// holds the mask. All three bitmaps have the glyph's size.
void GridCheckGlyphMasks(win::HBITMAP glyph, win::HBITMAP highlighted, win::HBITMAP work);

// Repaints a check-box cell editor that has just painted itself in its
// highlighted variant: its picture goes through a bitmap and the masks.
void gridHighlightCheckEditor(win::HWND editor);

}  // namespace tk
