#include "toolkit/editors/editor_layout.h"

#include "platform/controls/common_controls_api.h"
#include "platform/window/user_api.h"
#include "toolkit/editors/editor_command_line.h"

namespace tk {

void editorLayout(win::HWND frame, EditorWindowRecord& r) {
    win::HWND client = windowSystem().slots[static_cast<std::size_t>(r.window)].client;
    if (!client) return;
    win::RECT area{};
    win::GetWindowRect(client, &area);
    win::POINT corner{area.left, area.top};
    win::ScreenToClient(frame, &corner);
    int left = corner.x, top = corner.y;
    const int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (r.editorToolbar) {
        win::SendMessageA(r.editorToolbar, win::TB_AUTOSIZE, 0, 0);
        win::RECT bar{};
        win::GetWindowRect(r.editorToolbar, &bar);
        const int barHeight = bar.bottom - bar.top;
        win::MoveWindow(r.editorToolbar, left, top, width, barHeight, win::TRUE);
        top += barHeight;
        height -= barHeight;
    }
    height -= editorCommandLineLayout(r, left, top + height, width);
    if (r.editControl)
        win::MoveWindow(r.editControl, left, top, width, height > 0 ? height : 0, win::TRUE);
}

}  // namespace tk
