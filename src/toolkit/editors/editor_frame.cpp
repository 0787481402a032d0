#include "toolkit/editors/editor_frame.h"

#include "platform/controls/common_controls_api.h"
#include "platform/window/user_api.h"
#include "platform/window/menu_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/menu_resources.h"
#include "toolkit/core/window_classes.h"

namespace tk {

bool frameHasCaption(win::HWND frame) {
    return (win::GetWindowLongA(frame, win::GWL_STYLE) & win::WS_CAPTION) == win::WS_CAPTION;
}

win::HWND editorStatusParts(int window, const std::array<int, 4>& edges, int style) {
    WindowSlot& slot = windowSystem().slots[static_cast<std::size_t>(window)];
    if (!slot.statusBar) return nullptr;
    const int parts = frameHasCaption(slot.frame) ? 4 : 5;
    int previous = 0;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        slot.statusParts[i] = {edges[i] - previous, style};
        previous = edges[i];
    }
    slot.statusParts[4] = {-1, style};
    slot.statusPartCount = parts;
    std::array<int, 5> at{edges[0], edges[1], edges[2], edges[3], -1};
    StatusBarPartEdges(window, parts, at.data());
    win::SendMessageA(slot.statusBar, win::SB_SETPARTS, static_cast<win::WPARAM>(parts),
                      reinterpret_cast<win::LPARAM>(at.data()));
    return slot.statusBar;
}

win::HMENU editorMenuBar(int menuId, bool modal, int& status) {
    win::HMENU bar = nullptr;
    if (menuId && modal) {
        status = kEditorMenuRefusedModal;
    } else if (menuId) {
        bar = MenuLoadResource(menuId);
        if (bar)
            MenuApplyItemIds(bar, menuId);
        else
            status = kEditorMenuNotLoaded;
    }
    return bar ? bar : win::CreateMenu();
}

void editorInsertPopup(win::HMENU bar, int position, win::HMENU popup, const char* title, int id) {
    win::MENUITEMINFOA info;
    info.fMask = win::MIIM_SUBMENU | win::MIIM_STRING | win::MIIM_ID;
    info.hSubMenu = popup;
    info.dwTypeData = const_cast<char*>(title);
    info.wID = static_cast<win::UINT>(id);
    win::InsertMenuItemA(bar, static_cast<win::UINT>(position), win::TRUE, &info);
}

void editorInstallMenuBar(WindowSlot& slot, win::HMENU bar, bool pane) {
    if (!pane) win::SetMenu(slot.frame, bar);
    if (slot.menu && slot.menu != bar) win::DestroyMenu(slot.menu);
    slot.accelerators = nullptr;
    slot.menuHelp = {};
    slot.menu = bar;
}

void editorTakeToolbars(std::array<win::HWND, 4>& remembered, WindowSlot& slot, int showType) {
    if (showType != 1) {
        remembered = slot.toolbars;
        return;
    }
    for (std::size_t i = 0; i < slot.toolbars.size(); ++i) {
        if (slot.toolbars[i]) win::DestroyWindow(slot.toolbars[i]);
        slot.toolbars[i] = nullptr;
        slot.toolbarExtents[i] = 0;
    }
}

void editorActivateInsideParent(win::HWND frame, win::HWND focusControl) {
    if (!hasChildStyle(frame)) return;
    win::BringWindowToTop(frame);
    bool inside = false;
    for (win::HWND h = win::GetFocus(); h && !inside; h = win::GetParent(h))
        inside = h == frame;
    if (!inside && focusControl) win::SetFocus(focusControl);
    FocusWindowActivate(frame);
}

bool editorActivationMessage(win::UINT msg, win::WPARAM wp) {
    if (msg == win::WM_MOUSEACTIVATE) return true;
    if (msg != win::WM_PARENTNOTIFY) return false;
    const auto event = win::LOWORD(wp);
    return event == win::WM_LBUTTONDOWN || event == win::WM_RBUTTONDOWN ||
           event == win::WM_MBUTTONDOWN;
}

}  // namespace tk
