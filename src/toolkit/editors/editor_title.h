#pragma once
// The editor shows its current file in the frame's title, or, for a frame
// without a caption, in the fifth status-bar part.

#include "platform/win_types.h"

namespace tk {

void EditorUpdateTitle(win::HWND frame);

}  // namespace tk
