#pragma once
// The screen driver's font cache, text output and palette requests.

#include <string_view>

namespace tk {

// Request 18: forget the cached font and the palette batch.
void ScreenForgetFont();
// Requests 21 and 33: choose the device font for the current text state.
void ScreenFontRequest();
// Request 22: draw the text of the device text buffer.
void ScreenTextRequest();
// Request 25: width of the first `value` characters of the text buffer.
void ScreenTextExtentRequest();
// Request 28: redefine one palette entry; request 35: load the palette.
void ScreenPaletteColourRequest();
void ScreenPaletteLoadRequest();
// Request 20: print the graphics area on the Windows printer.
void ScreenPrintRequest();

namespace screen {

struct FontMetrics {
    int height = 0;
    int ascent = 0;
    int width52 = 0;
};

FontMetrics ScreenSelectFont(int width, int height, int escapement, int face, int style,
                             std::string_view name);
void ScreenText(int x1, int y1, int x2, int y2, int alignment, bool opaque, const char* text,
                int n);
int ScreenTextExtent(const char* text, int n);
// How many fonts the driver has created (the cache keeps it low).
int FontsCreated();

}  // namespace screen

}  // namespace tk
