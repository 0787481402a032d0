#include "toolkit/editors/toolbar_builder.h"

#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"

namespace tk {

void ToolbarButtons::add(int image, int command, win::BYTE state, win::BYTE style) {
    win::TBBUTTON b;
    b.iBitmap = image;
    b.idCommand = command;
    b.fsState = state;
    b.fsStyle = style;
    list.push_back(b);
    groupOpen = true;
}

void ToolbarButtons::endGroup() {
    if (!groupOpen) return;
    win::TBBUTTON b;
    b.fsStyle = win::TBSTYLE_SEP;
    list.push_back(b);
    groupOpen = false;
}

int toolbarAddStrip(win::HWND bar, win::HINSTANCE instance, win::UINT_PTR id, int count) {
    win::TBADDBITMAP add;
    add.hInst = instance;
    add.nID = id;
    return static_cast<int>(win::SendMessageA(bar, win::TB_ADDBITMAP,
                                              static_cast<win::WPARAM>(count),
                                              reinterpret_cast<win::LPARAM>(&add)));
}

win::HWND toolbarCreate(win::HWND frame, int controlId, int& base) {
    win::HWND bar = win::CreateWindowExA(
        0, win::TOOLBARCLASSNAMEA, "",
        win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPSIBLINGS | win::TBSTYLE_TOOLTIPS, 0, 0, 0, 0,
        frame, reinterpret_cast<win::HMENU>(static_cast<win::INT_PTR>(controlId)), nullptr,
        nullptr);
    if (!bar) return nullptr;
    win::SendMessageA(bar, win::TB_BUTTONSTRUCTSIZE, sizeof(win::TBBUTTON), 0);
    win::SendMessageA(bar, win::TB_SETBITMAPSIZE, 0, win::MAKELONG(16, 15));
    win::SendMessageA(bar, win::TB_SETBUTTONSIZE, 0, win::MAKELONG(22, 21));
    base = toolbarAddStrip(bar, win::HINST_COMMCTRL, win::IDB_STD_SMALL_COLOR, 15);
    return bar;
}

void toolbarFinish(win::HWND bar, ToolbarButtons& b) {
    win::SendMessageA(bar, win::TB_ADDBUTTONSA, b.list.size(),
                      reinterpret_cast<win::LPARAM>(b.list.data()));
    win::SendMessageA(bar, win::TB_AUTOSIZE, 0, 0);
}

}  // namespace tk
