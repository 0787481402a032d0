#pragma once
// The window system's use of pixel buffers (Surface, from the drawing
// interface). Each top-level window paints into its own surface (its child
// windows paint into the same one at their offsets); the screen is composed
// from them.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/win_types.h"

namespace win {

// Fills a rectangle of a surface, clipped to it.
void fillSurface(Surface& s, const RECT& r, std::uint32_t v);

// Where a device context of a window draws: its top-level window's surface,
// the offset of the window's client (or whole-window) origin inside it, and the
// visible part of the window in surface pixels.
struct WindowDrawTarget {
    HWND hwnd = nullptr;
    Surface* surface = nullptr;
    POINT origin;
    RECT clip;
};

// The draw target of a window's client area (client = true) or whole window.
WindowDrawTarget windowDrawTarget(HWND hwnd, bool client);

// The composed virtual screen, brought up to date first (frames and pending
// paints are not run; only what the windows have drawn is shown).
const Surface& composeScreen();
// The pixels of one visible top-level window, its changed frames drawn
// first, for a presenter that shows each top-level window on its own;
// nullptr for anything else.
const Surface* topLevelSurface(HWND topLevel);
// Converts a COLORREF (0x00BBGGRR) to a surface pixel and back.
constexpr std::uint32_t pixelOf(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF colorOfPixel(std::uint32_t p) {
    return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}

}  // namespace win
