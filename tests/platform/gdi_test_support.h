#pragma once
// Helpers of the drawing-interface tests: a surface with a context over it.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/surface_dc.h"

namespace gdi_test {

struct Canvas {
    win::Surface surface;
    win::HDC dc = nullptr;
    Canvas(int w, int h, std::uint32_t fill = 0xFFFFFF) : surface(w, h, fill) {
        dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
    }
    ~Canvas() { win::DeleteDC(dc); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    std::uint32_t at(int x, int y) const { return surface.at(x, y); }
    // Pixels differing from `background`.
    int countNot(std::uint32_t background) const {
        int n = 0;
        for (std::uint32_t p : surface.pixels)
            n += p != background;
        return n;
    }
    // Bounding box of pixels differing from `background` (right, bottom exclusive).
    win::RECT inkBox(std::uint32_t background) const {
        win::RECT r{surface.width, surface.height, -1, -1};
        for (int y = 0; y < surface.height; ++y)
            for (int x = 0; x < surface.width; ++x)
                if (surface.at(x, y) != background) {
                    r.left = std::min<win::LONG>(r.left, x);
                    r.top = std::min<win::LONG>(r.top, y);
                    r.right = std::max<win::LONG>(r.right, x + 1);
                    r.bottom = std::max<win::LONG>(r.bottom, y + 1);
                }
        return r;
    }
};

// A surface filled with a reproducible pattern of colours.
inline void fillNoise(win::Surface& s, std::uint32_t seed) {
    for (std::uint32_t& p : s.pixels) {
        seed = seed * 1664525u + 1013904223u;
        p = (seed >> 8) & 0xFFFFFF;
    }
}

}  // namespace gdi_test
