#include "toolkit/editors/editor_split.h"

#include "platform/window/menu_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/window_split.h"
#include "toolkit/core/window_table.h"

namespace tk {
namespace {

// The split container that holds a frame as a pane, or null.
win::HWND containerOf(win::HWND frame) {
    if (!frame || !hasChildStyle(frame)) return nullptr;
    win::HWND container = win::GetParent(win::GetParent(frame));
    const FrameUserRecord* fr = frameRecord(container);
    return fr && fr->kind() == KindSplit ? container : nullptr;
}

}  // namespace

win::HWND editorSplitTop(win::HWND frame) {
    win::HWND top = nullptr;
    for (win::HWND h = containerOf(frame); h; h = containerOf(h))
        top = h;
    return top;
}

std::vector<win::HWND> editorQuietClients(win::HWND top) {
    std::vector<win::HWND> quiet;
    if (!top) return quiet;
    for (const WindowSlot& s : windowSystem().slots) {
        if (!s.client) continue;
        bool inside = false;
        for (win::HWND h = s.client; h && !inside; h = win::GetParent(h))
            inside = h == top;
        if (inside && !win::GetUpdateRect(s.client, nullptr, win::FALSE)) quiet.push_back(s.client);
    }
    return quiet;
}

bool editorJoinSplit(int window, win::HMENU menu, int splitWindow) {
    WindowSystem& w = windowSystem();
    if (!windowIsOpen(window) || !windowIsOpen(splitWindow)) return false;
    const win::HWND frame = w.slots[static_cast<std::size_t>(window)].frame;
    const win::HWND target = w.slots[static_cast<std::size_t>(splitWindow)].frame;
    bool inside = false;
    for (win::HWND h = containerOf(frame); h && !inside; h = containerOf(h))
        inside = h == target;
    if (!inside) return false;
    for (win::HWND h = containerOf(frame); h; h = containerOf(h)) {
        FrameUserRecord* fr = frameRecord(h);
        WindowSlot& level = w.slots[static_cast<std::size_t>(WindowSlotOfHandle(h))];
        if (!level.menu && menu) {
            level.menu = menu;
            if (!hasChildStyle(h)) win::SetMenu(h, menu);
            fr->words[SplitMenuPane] = window;
        }
        fr->words[SplitCommandPane] = window;
        if (h == target) break;
    }
    return true;
}

void editorPaneActivated(int window) {
    WindowSystem& w = windowSystem();
    if (!windowIsOpen(window)) return;
    const win::HWND frame = w.slots[static_cast<std::size_t>(window)].frame;
    win::HMENU nearest = nullptr;
    win::HWND top = nullptr;
    for (win::HWND h = containerOf(frame); h; h = containerOf(h)) {
        frameRecord(h)->words[SplitCommandPane] = window;
        if (!nearest) nearest = w.slots[static_cast<std::size_t>(WindowSlotOfHandle(h))].menu;
        top = h;
    }
    SplitPaneFocused(window);
    // A pane without a menu of its own shows the nearest one up the chain.
    if (w.slots[static_cast<std::size_t>(window)].menu || !nearest || !top || hasChildStyle(top) ||
        win::GetMenu(top) == nearest)
        return;
    win::SetMenu(top, nearest);
    win::DrawMenuBar(top);
}

}  // namespace tk
