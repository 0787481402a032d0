#pragma once
// The built-in toolbars of the text and grid editors: a toolbar control of
// 16 x 15 pictures on 22 x 21 buttons with the common controls' standard
// small images, filled group by group.

#include <vector>

#include "platform/controls/common_controls_api.h"

namespace tk {

struct ToolbarButtons {
    std::vector<win::TBBUTTON> list;
    bool groupOpen = false;

    void add(int image, int command, win::BYTE state = win::TBSTATE_ENABLED,
             win::BYTE style = win::TBSTYLE_BUTTON);
    // A separator before the next group, when a group came before it.
    void endGroup();
};

// Makes the toolbar control (with tool tips) in the frame; base answers the
// index of the first standard image.
win::HWND toolbarCreate(win::HWND frame, int controlId, int& base);
// Adds a picture strip (a bitmap handle with a null instance); answers the
// index of its first image.
int toolbarAddStrip(win::HWND bar, win::HINSTANCE instance, win::UINT_PTR id, int count);
// Adds the buttons and sizes the toolbar.
void toolbarFinish(win::HWND bar, ToolbarButtons& buttons);

}  // namespace tk
