#pragma once
// A pixel buffer that device contexts draw into: window surfaces, memory
// bitmaps and the virtual screen are all Surfaces.

#include <cstdint>
#include <vector>

namespace win {

// 32 bits per pixel, rows top to bottom. Each pixel is 0x00RRGGBB, which in
// memory (little-endian) is the byte order blue, green, red, unused.
struct Surface {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    // A one-bit bitmap: every pixel is black (0) or white (0xFFFFFF).
    bool monochrome = false;

    Surface() = default;
    Surface(int w, int h, std::uint32_t fill = 0) { resize(w, h, fill); }
    void resize(int w, int h, std::uint32_t fill = 0) {
        width = w > 0 ? w : 0;
        height = h > 0 ? h : 0;
        pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Surface pixels are 0x00RRGGBB, colour references 0x00BBGGRR.
constexpr std::uint32_t pixelFromColorRef(std::uint32_t c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr std::uint32_t colorRefFromPixel(std::uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

}  // namespace win
