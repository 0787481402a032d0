#pragma once
// Saving the virtual screen, or a window's part of it, as a PNG file.

#include <string>

#include "platform/window/surface.h"

namespace win::robot {

// The screen as composed now.
const Surface& screen();
bool saveScreenPng(const std::string& path);
// Just the rectangle of one window (frame included).
bool saveWindowPng(HWND hwnd, const std::string& path);
bool writePng(const Surface& surface, const RECT& area, const std::string& path);

}  // namespace win::robot
