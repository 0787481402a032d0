#pragma once
// Printing the current screen picture on one page: the screen driver's
// request 20. Start, then (only when the start's status is 0) the bitmap,
// then the end.

#include <string_view>

namespace tk {

// Sizes in points; status 0 ready, 1 failed.
void ScreenPrintStart(int width, int height, int offsetX, int offsetY, int& status, int landscape,
                      int copies, const char* title);
// A rectangle of the current drawing surface in pixels, inclusive.
void ScreenPrintBitmap(int left, int top, int right, int bottom, int& status);
void ScreenPrintEnd();

// The screen driver's print service: 0 printed, 1 not started, 64 the
// picture could not be printed.
int PrintScreenPicture(std::string_view title, int left, int top, int right, int bottom);

}  // namespace tk
