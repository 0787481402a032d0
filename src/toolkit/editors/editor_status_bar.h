#pragma once
// The status-bar parts of the text and grid editors. They are recorded with
// the window, so that the frame keeps them whenever it lays out its bars; a
// frame without a caption gets a last part reaching the right edge for the
// file name.

#include <array>

#include "toolkit/core/window_table.h"

namespace tk {

// Parts ending at the four edges (pixels), plus the file-name part when the
// frame has no caption; style as StatusBarPart (0 without borders, else
// sunken). Answers the status bar, null when the window has none.
win::HWND editorStatusParts(int window, const std::array<int, 4>& edges, int style);

// Whether the frame has a caption bar.
bool frameHasCaption(win::HWND frame);

}  // namespace tk
