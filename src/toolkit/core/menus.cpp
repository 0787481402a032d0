#include "toolkit/core/menus.h"

#include "platform/controls/common_controls_api.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/frame_procs.h"
#include "toolkit/core/menu_resources.h"
#include "toolkit/core/toolbars.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_split.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_units.h"

namespace tk {
namespace {

// The top-level frame that shows a frame's menu: panes climb through their
// container's client window to its frame.
win::HWND topFrameOf(win::HWND frame) {
    while (frame && hasChildStyle(frame)) {
        win::HWND parent = win::GetParent(win::GetParent(frame));
        if (!parent) break;
        frame = parent;
    }
    return frame;
}

bool insideOrSame(win::HWND outer, win::HWND inner) {
    return outer && (outer == inner || win::IsChild(outer, inner));
}

// The menu a top frame should show after window n's menu changes from old to
// menu.
win::HMENU menuToShow(int n, win::HWND top, win::HMENU shown, win::HMENU old, win::HMENU menu) {
    const WindowSlot& slot = windowSystem().slots[n];
    if (top == slot.frame) return menu;
    const FrameUserRecord* r = frameRecord(top);
    if (r && r->kind() == KindSplit && insideOrSame(r->handle(SplitFocusedPane), slot.frame))
        return menu;
    return shown == old ? menu : shown;
}

bool canCarryMenu(int window) {
    if (!windowIsOpen(window)) return false;
    win::HWND frame = windowSystem().slots[window].frame;
    const FrameUserRecord* r = frameRecord(frame);
    if (r && r->kind() == KindTextEditor) return false;
    return !hasChildStyle(frame) || SplitContainerOfPane(frame) != nullptr;
}

void releaseMenu(int window) {
    WindowSlot& slot = windowSystem().slots[window];
    if (slot.menu) {
        MenuFreeItemTexts(slot.menu, window);
        win::DestroyMenu(slot.menu);
    }
    slot.menu = nullptr;
    slot.accelerators = nullptr;
    slot.menuHelp = {};
}

// Applies a state change to the menu item and the toolbar buttons of a
// command; false when neither has it.
template <typename MenuChange>
bool changeState(int command, win::UINT toolbarMessage, bool on, MenuChange menuChange) {
    const int window = MenuTargetWindow();
    const WindowSlot& slot = windowSystem().slots[window];
    bool found = false;
    if (slot.menu) {
        win::HMENU holder = nullptr;
        const int at = MenuItemFind(slot.menu, command, holder);
        if (at >= 0) {
            menuChange(holder, at);
            MenuBarRedrawIfTop(command, window);
            found = true;
        }
    }
    for (win::HWND bar : slot.toolbars) {
        if (!bar) continue;
        if (win::SendMessageA(bar, toolbarMessage, static_cast<win::WPARAM>(command),
                              win::MAKELPARAM(on ? 1 : 0, 0))) {
            win::UpdateWindow(bar);
            found = true;
        }
    }
    return found;
}

int itemState(win::HMENU holder, int position) {
    win::MENUITEMINFOA info;
    info.fMask = win::MIIM_STATE;
    win::GetMenuItemInfoA(holder, static_cast<win::UINT>(position), win::TRUE, &info);
    return static_cast<int>(info.fState);
}

// The current window's menu item of a command: its position, or -1.
int findInTarget(int command, int& window, win::HMENU& holder) {
    window = MenuTargetWindow();
    win::HMENU menu = windowSystem().slots[window].menu;
    return menu ? MenuItemFind(menu, command, holder) : -1;
}

}  // namespace

int MenuTargetWindow() {
    const WindowSystem& w = windowSystem();
    const int n = w.CurrentWindow;
    if (!windowIsOpen(n)) return 0;
    const WindowSlot& slot = w.slots[n];
    if (slot.menu) return n;
    for (win::HWND bar : slot.toolbars)
        if (bar) return n;
    return 0;
}

int MenuSetForWindow(int menuId, int window) {
    if (!canCarryMenu(window)) return -2;
    win::HMENU menu = nullptr;
    if (menuId != 0) {
        menu = MenuLoadResource(menuId);
        if (!menu) return -1;
    }
    WindowSlot& slot = windowSystem().slots[window];
    win::HWND top = topFrameOf(slot.frame);
    win::HMENU shown = win::GetMenu(top);
    win::HMENU want = menuToShow(window, top, shown, slot.menu, menu);
    if (want != shown) {
        win::SetMenu(top, want);
        win::DrawMenuBar(top);
        if (FrameUserRecord* r = frameRecord(top); r && r->kind() == KindSplit)
            r->words[SplitMenuPane] = top == slot.frame ? 0 : window;
    }
    releaseMenu(window);
    if (!menu) return 0;
    slot.menu = menu;
    slot.accelerators =
        win::LoadAcceleratorsA(nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(menuId)));
    slot.menuHelp = MenuHelpResourceLoad(menuId);
    return 0;
}

void MenuBarRedrawIfTop(int command, int window) {
    const WindowSlot& slot = windowSystem().slots[window];
    win::HMENU holder = nullptr;
    if (!slot.menu || MenuItemFind(slot.menu, command, holder) < 0 || holder != slot.menu) return;
    win::UpdateWindow(slot.frame);
    win::DrawMenuBar(topFrameOf(slot.frame));
}

void MenuItemEnable(int command, int& value) {
    const bool on = value != 0;
    auto apply = [on](win::HMENU holder, int at) {
        win::EnableMenuItem(holder, static_cast<win::UINT>(at),
                            win::MF_BYPOSITION | (on ? win::MF_ENABLED : win::MF_GRAYED));
    };
    if (!changeState(command, win::TB_ENABLEBUTTON, on, apply)) value = -1;
}

void MenuItemCheck(int command, int& value) {
    const bool on = value != 0;
    auto apply = [on](win::HMENU holder, int at) {
        win::CheckMenuItem(holder, static_cast<win::UINT>(at),
                           win::MF_BYPOSITION | (on ? win::MF_CHECKED : win::MF_UNCHECKED));
    };
    if (!changeState(command, win::TB_CHECKBUTTON, on, apply)) value = -1;
}

void MenuItemDeleteById(int& command) {
    int window = 0;
    win::HMENU holder = nullptr;
    const int at = findInTarget(command, window, holder);
    if (at < 0) {
        command = -1;
        return;
    }
    if (win::HMENU sub = win::GetSubMenu(holder, at)) MenuFreeItemTexts(sub, window);
    MenuItemHelpAttach(holder, at, "", window);
    win::DeleteMenu(holder, static_cast<win::UINT>(at), win::MF_BYPOSITION);
    const WindowSlot& slot = windowSystem().slots[window];
    if (holder == slot.menu) {
        win::RedrawWindow(slot.frame, nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_FRAME);
        win::DrawMenuBar(topFrameOf(slot.frame));
    }
}

int PopupMenuTrack(int menuId, int x, int y, bool screen) {
    WindowSystem& w = windowSystem();
    const WindowSlot& current = w.slots[windowIsOpen(w.CurrentWindow) ? w.CurrentWindow : 0];
    win::POINT p{x, y};
    if (!screen) {
        int px = 0, py = 0;
        WindowUnitsToPixels(x, y, px, py);
        p = {px, py};
        win::ClientToScreen(current.client, &p);
    }
    win::HMENU menu = MenuLoadResource(menuId);
    if (!menu) return -1;
    win::HMENU holder = win::CreatePopupMenu();
    win::AppendMenuA(holder, win::MF_POPUP, reinterpret_cast<win::UINT_PTR>(menu), "Dummy");
    MenuCopyStates(menu, w.slots[MenuWindowSlot(current.frame)].menu);
    w.SharedMenuHelp = MenuHelpResourceLoad(menuId);
    win::TrackPopupMenu(win::GetSubMenu(holder, 0), win::TPM_LEFTBUTTON, p.x, p.y, 0,
                        current.client, nullptr);
    win::DestroyMenu(holder);
    w.SharedMenuHelp = {};
    return 0;
}

void MenuFreeItemData(int window) {
    if (window < 0 || window >= kWindowSlots) return;
    WindowSlot& slot = windowSystem().slots[window];
    if (slot.menu) MenuFreeItemTexts(slot.menu, window);
    slot.menuItemHelpCount = 0;
}

void MenuAttach(int menuId, std::optional<int> window) {
    const int n = window.value_or(0);
    const int code = n < 0 || n >= kWindowSlots ? -2 : MenuSetForWindow(menuId, n);
    if (code == -2) ReportLibraryError(1003, "MenuAttach");
    if (code == -1) ReportLibraryError(1002, "MenuAttach");
}

void MenuSetState(int command, int kind, int value) {
    if (value < 0 || value > 1) return;
    int v = value;
    if (kind == MenuStateEnabled)
        MenuItemEnable(command, v);
    else if (kind == MenuStateChecked)
        MenuItemCheck(command, v);
    else
        return;
    if (v == -1) ReportLibraryError(1001, "MenuSetState");
}

void MenuItemDelete(int command) {
    int id = command;
    MenuItemDeleteById(id);
    if (id == -1) ReportLibraryError(1001, "MenuItemDelete");
}

void MenuFloating(int menuId, int x, int y, std::optional<int> flags) {
    if (PopupMenuTrack(menuId, x, y, (flags.value_or(0) & 1) != 0) == -1)
        ReportLibraryError(1002, "MenuFloating");
}

int MenuItemTextSet(int command, const std::string& text) {
    int window = 0;
    win::HMENU holder = nullptr;
    const int at = findInTarget(command, window, holder);
    if (at < 0) return -1;
    win::MENUITEMINFOA info;
    info.fMask = win::MIIM_STRING;
    std::string copy = text;
    info.dwTypeData = copy.data();
    win::SetMenuItemInfoA(holder, static_cast<win::UINT>(at), win::TRUE, &info);
    MenuBarRedrawIfTop(command, window);
    return 0;
}

int MenuItemStateGet(int command, int kind, int& value) {
    int window = 0;
    win::HMENU holder = nullptr;
    const int at = findInTarget(command, window, holder);
    if (at >= 0) {
        const int state = itemState(holder, at);
        value = kind == MenuStateChecked ? (state & win::MF_CHECKED ? 1 : 0)
                                         : (state & win::MF_GRAYED ? 0 : 1);
        return 0;
    }
    for (win::HWND bar : windowSystem().slots[window].toolbars) {
        if (!bar) continue;
        const win::LRESULT state =
            win::SendMessageA(bar, win::TB_GETSTATE, static_cast<win::WPARAM>(command), 0);
        if (state == -1) continue;
        value = kind == MenuStateChecked ? (state & win::TBSTATE_CHECKED ? 1 : 0)
                                         : (state & win::TBSTATE_ENABLED ? 1 : 0);
        return 0;
    }
    return -1;
}

int MenuItemHelpSet(int command, const std::string& text) {
    int window = 0;
    win::HMENU holder = nullptr;
    const int at = findInTarget(command, window, holder);
    if (at < 0) return -1;
    MenuItemHelpAttach(holder, at, text, window);
    return 0;
}

int MenuItemInsert(int reference, int offset, int newCommand, const std::string& text) {
    int window = 0;
    win::HMENU holder = nullptr;
    const int at = findInTarget(reference, window, holder);
    if (at < 0) return -1;
    const int count = win::GetMenuItemCount(holder);
    int pos = at + offset - 1;
    if (pos < 0) pos = 0;
    const win::UINT flags = newCommand == 0 ? win::MF_SEPARATOR : win::MF_STRING;
    if (pos >= count)
        win::AppendMenuA(holder, flags, static_cast<win::UINT_PTR>(newCommand), text.c_str());
    else
        win::InsertMenuA(holder, static_cast<win::UINT>(pos), win::MF_BYPOSITION | flags,
                         static_cast<win::UINT_PTR>(newCommand), text.c_str());
    MenuBarRedrawIfTop(newCommand, window);
    return 0;
}

void MenuBarsBind() {
    WindowBarHooks& h = windowBarHooks();
    if (!h.menuApplyItemIds) h.menuApplyItemIds = MenuApplyItemIds;
    if (!h.toolbarCreate)
        h.toolbarCreate = [](int window, int side, int id, int& extent) {
            int width = -1, height = -1;
            if (ToolbarCreate(id, window, side, width, height) != 0) return win::HWND{};
            extent = windowSystem().slots[window].toolbarExtents[side];
            return windowSystem().slots[window].toolbars[side];
        };
    if (!h.menuFreeItemData) h.menuFreeItemData = MenuFreeItemData;
}

}  // namespace tk
