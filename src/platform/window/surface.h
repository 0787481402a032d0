#pragma once
// Pixel buffers of the window system. Each top-level window paints into its
// own surface (its child windows paint into the same one at their offsets);
// the screen is composed from them. Pixels are 0x00RRGGBB words, rows top down.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/win_types.h"

namespace win {

struct Surface {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool monochrome = false;

    void resize(int w, int h, std::uint32_t fill = 0) {
        width = w > 0 ? w : 0;
        height = h > 0 ? h : 0;
        pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

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

// The device-context side binds these, so that GetDC and BeginPaint hand out
// device contexts drawing into window surfaces.
struct WindowDcProvider {
    std::function<HDC(const WindowDrawTarget&)> create;
    std::function<void(HDC)> release;
};
void setWindowDcProvider(WindowDcProvider provider);
// The solid colour of a brush handle (other than the system-colour indexes
// 1 .. 31), for erasing backgrounds.
void setBrushColorSource(std::function<bool(HBRUSH, COLORREF&)> source);

// The draw target of a window's client area (client = true) or whole window.
WindowDrawTarget windowDrawTarget(HWND hwnd, bool client);

// The composed virtual screen, brought up to date first (frames and pending
// paints are not run; only what the windows have drawn is shown).
const Surface& composeScreen();
// Converts a COLORREF (0x00BBGGRR) to a surface pixel and back.
constexpr std::uint32_t pixelOf(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF colorOfPixel(std::uint32_t p) {
    return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}

}  // namespace win
