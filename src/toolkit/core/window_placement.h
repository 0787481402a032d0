#pragma once
// Changing the current window after it is open: placement and show state,
// title and icon, the mouse cursor shape and filled rectangles; and the small
// routines the window, dialog and graphics code share.

#include <optional>
#include <string>

namespace tk {

// CursorShape codes 0-11 are the system cursors; other non-negative values
// name a cursor of the program's resources.
enum CursorShape {
    CursorArrow = 0,
    CursorHourglass = 1,
    CursorArrowHourglass = 2,
    CursorCross = 3,
    CursorIBeam = 4,
    CursorNo = 5,
    CursorSizeAll = 6,
    CursorSizeNS = 7,
    CursorSizeWE = 8,
    CursorSizeNESW = 9,
    CursorSizeNWSE = 10,
    CursorUpArrow = 11
};

struct WindowPlacement {
    std::optional<int> width, height, x, y, state;
};

void WindowPlacementSet(const WindowPlacement& placement);
// -999999 keeps a value; state -1 keeps the present state. Answers the new
// client size.
void WindowPlacementApply(int x, int y, int width, int height, int state, int& newWidth,
                          int& newHeight);
void WindowTitle(std::optional<std::string> title = {}, std::optional<int> icon = {});
void WindowTitleApply(int icon);
void WindowFillRectangle(std::optional<int> x1 = {}, std::optional<int> y1 = {},
                         std::optional<int> x2 = {}, std::optional<int> y2 = {},
                         std::optional<int> colour = {});
void WindowRectangleFill(int x1, int y1, int x2, int y2, int colour);
void CursorShapeSet(int shape, std::optional<int> mode = {});
void CursorShapeQuery(int& shape, int mode, int number);
void CursorPositionSet(int x, int y, int mode);
// The mouse position in screen pixels, where a menu that a toolbar button
// opens is shown.
void CursorPositionGet(int& x, int& y);

void BeepIfEnabled();
void WarningBeep();
void ReleaseDrawingDC();
int ParseDecimalInteger(const char* text);
int CStringTrimLength(const char* text);
int CStringTokenLength(const char* text);
void CStringToField(const char* text, char* field, int fieldLength);
void GradientFillSupport(int& support);
void SystemWindowColour(int selector, int& colour);
void MouseButtonCount(int& count);
void LocaleDecimalSeparator(char& separator);
void LocaleDecimalInputSet(char code);

}  // namespace tk
