#include "platform/robot/screenshot.h"

#include "platform/gdi/png_writer.h"
#include "platform/window/window_state.h"

namespace win::robot {

const Surface& screen() {
    return composeScreen();
}

bool writePng(const Surface& s, const RECT& areaIn, const std::string& path) {
    const RECT area = detail::intersectRect(areaIn, {0, 0, s.width, s.height});
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return false;
    Surface part(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            part.at(x, y) = s.at(area.left + x, area.top + y);
    return savePng(part, path);
}

bool saveScreenPng(const std::string& path) {
    const Surface& s = composeScreen();
    return writePng(s, {0, 0, s.width, s.height}, path);
}

bool saveWindowPng(HWND hwnd, const std::string& path) {
    RECT r;
    if (!GetWindowRect(hwnd, &r)) return false;
    return writePng(composeScreen(), r, path);
}

}  // namespace win::robot
