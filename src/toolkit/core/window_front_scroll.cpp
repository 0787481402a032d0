#include "toolkit/core/window_front_scroll.h"

#include <vector>

#include "platform/window/user_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/core/window_table.h"

namespace tk {

void WindowBringToFront() {
    const WindowSystem& w = windowSystem();
    win::HWND frame = w.slots[w.CurrentSlot].frame;
    if (!frame) return;
    // The frames that enclose this one, outermost first.
    std::vector<win::HWND> chain{frame};
    for (win::HWND h = frame; hasChildStyle(h);) {
        const int outer = WindowSlotOfHandle(win::GetParent(h));
        if (outer < 0) break;
        h = w.slots[outer].frame;
        chain.insert(chain.begin(), h);
    }
    for (win::HWND h : chain) {
        win::ShowWindow(h, win::SW_SHOW);
        win::BringWindowToTop(h);
    }
    win::EnableWindow(frame, win::TRUE);
    const FrameUserRecord* r = frameRecord(frame);
    win::HWND content =
        r && r->kind() >= KindTextEditor && r->kind() <= KindGridEditor && r->handle(5)
            ? r->handle(5)
            : frame;
    win::SetFocus(content);
    FocusWindowActivate(frame);
}

void WindowScrollContents(int dx, int dy, int colour) {
    const WindowSystem& w = windowSystem();
    win::HWND client = w.slots[w.CurrentSlot].client;
    if (!client) return;
    win::RECT uncovered{};
    win::ScrollWindowEx(client, dx, dy, nullptr, nullptr, nullptr, &uncovered, 0);
    if (uncovered.right > uncovered.left && uncovered.bottom > uncovered.top)
        WindowRectangleFill(uncovered.left, uncovered.top, uncovered.right - 1,
                            uncovered.bottom - 1, colour);
    win::ValidateRect(client, &uncovered);
}

}  // namespace tk
