#pragma once
// Window text: plain text drawn straight into the current window's client
// area with a Windows font, a text colour and an opaque background colour,
// at a position in window units. With an attribute character set, codes
// inside the text switch bold, italic, underline and colours.

#include <cstdint>
#include <string_view>

#include "platform/gdi/gdi.h"

namespace tk {

struct WindowTextState {
    int charWidthUnits = 0;
    int charHeightUnits = 0;
    int charWidthPixels = 0;
    int charHeightPixels = 0;
    // 1 system fixed font, 2 Times New Roman, 3 Arial, 4 Courier New,
    // 5 Symbol, 6 Wingdings, -99 the default GUI font, else the system font.
    int fontNumber = 0;
    int bold = 0;
    int italic = 0;
    int underline = 0;
    char attributeChar = ' ';  // blank: no attribute codes
    // The next text position lives in the window table (TextPositionX/Y).
    int appliedWidth = -1;  // the settings the current font was made with
    int appliedHeight = -1;
    int appliedBold = -1;
    int appliedItalic = -1;
    int appliedFont = -1;
    win::HFONT font = nullptr;
    bool ownFont = false;           // the font is ours to delete (not a stock font)
    int fontsCreated = 0;           // how many fonts were made (the lazy creation shows)
    win::HWND rootFrame = nullptr;  // the root window the state was reset for
};

WindowTextState& windowTextState();

void WindowTextAt(int x, int y, std::string_view text);
// Text colour 0-16 is taken; background 0-15 is taken, 16 is stored as 17.
void WindowTextColours(int textColour, int backgroundColour);
void WindowTextUnderline(int flag);
void WindowTextCharSize(int width, int height);
// Pixel size := (current window size - 1) x unit size / 9999.
void WindowTextSizeUpdate();
void WindowTextFontApply();
void WindowTextFontCreate(int fontNumber, int bold, int italic, int& width, int& height);
// Draws with the window-text font at x, y (pixels, y the baseline); x and y
// become the end position. length counts a terminating zero.
void WindowTextOut(int& x, int& y, std::string_view text, int length);
void WindowTextWidth(int& width, std::string_view text, int length);
void ColourPairEntrySet(int colour, int red, int green, int blue);
void WindowTextUnderlineCall(int flag);
void WindowTextColoursCall(int textColour, int backgroundColour);
// Resets the settings as the root window's opening does and takes the
// character size from the system font.
void WindowTextReset();
// Binds the window half's window-text hook; toolkit start-up calls it.
void WindowTextBind();

}  // namespace tk
