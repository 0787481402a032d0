#pragma once
// Connections between the parts of the window manager that the public API
// does not show.

#include "platform/window/surface.h"
#include "platform/window/window_state.h"

namespace win::detail {

Window* windowFromScreenPoint(POINT pt);
void windowPosChangedDefault(Window* w, const WINDOWPOS* wp);
bool fetchMessage(MSG* out, HWND filter, UINT min, UINT max, bool remove, bool includeInput);
void waitForWork();
void clearConvertedInput();
bool messageMatches(const MSG& m, HWND filter, UINT min, UINT max);
bool rangeIncludes(UINT min, UINT max, UINT first, UINT last);
bool takeInputMessage(MSG* out, HWND filter, UINT min, UINT max, bool remove);

// Surfaces and drawing by the layer itself.
Surface* surfaceOf(Window* topLevel);
void dropSurface(HWND hwnd);
void clearSurfaces();
void paintNonClient(Window* w);
void presentScreen();

// Device contexts of windows (window_dc.cpp).
HDC makeWindowDc(HWND hwnd, bool client, const RECT* limitInDeviceCoordinates);
void releaseWindowDc(HWND hwnd, HDC dc);
void dropWindowDc(HWND hwnd);
void clearWindowDcs();
void bindDrawingInterface();
void resetClipboard();
void resetImages();
// Draws an icon onto a surface, scaled to w x h (caption icons).
void paintIcon(Surface& s, const RECT& clip, HICON icon, int x, int y, int w, int h);
// An icon scaled to size x size as 0xAARRGGBB pixels, rows top to bottom
// (the icons a desktop shows for a window); false for no icon.
bool iconPixels(HICON icon, int size, std::vector<std::uint32_t>& argb);

// Window scroll bars (scroll.cpp): the thumb's place along the bar, and the
// mouse held on a bar.
bool scrollThumb(const Window* w, bool vertical, int& start, int& length, int& track);
void trackScrollBar(Window* w, bool vertical, POINT screenPt);

// The default window procedure's non-client handling.
LRESULT nonClientHitTest(Window* w, POINT screenPt);
void sysCommand(Window* w, WPARAM cmd, LPARAM lParam);
LRESULT setCursorDefault(Window* w, LRESULT hit, UINT mouseMsg);
void nonClientButtonDown(Window* w, LRESULT hit, LPARAM screenPoint);
// The next device event for a modal loop of the layer (moving, sizing, menus);
// queued messages are dispatched meanwhile. Key and button state follow it.
InputEvent nextRawInput();

}  // namespace win::detail
