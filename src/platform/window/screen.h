#pragma once
// The virtual screen every top-level window lives on. Its size and depth are
// settings; the headless backend keeps its pixels in memory and the X11
// presenter shows them.

#include <cstdint>
#include <vector>

namespace win {

struct ScreenConfig {
    int width = 1280;
    int height = 1024;
    int dpi = 96;
    int bitsPerPixel = 24;
};

const ScreenConfig& screenConfig();
// Changes the screen size; windows keep their places.
void configureScreen(const ScreenConfig& config);

}  // namespace win
