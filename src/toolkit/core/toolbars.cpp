#include "toolkit/core/toolbars.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/resources/resource_api.h"
#include "platform/window/image_api.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/menu_resources.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_table.h"

namespace tk {
namespace {

constexpr int kButtonStructSize = 20;
constexpr int kTipLimit = 79;

// The control's own procedure, and the button pictures each toolbar holds
// (loaded here, so freed here when the toolbar goes).
win::WNDPROC& controlProcedure() {
    static win::WNDPROC proc = nullptr;
    return proc;
}
std::map<win::HWND, win::HBITMAP>& toolbarBitmaps() {
    static std::map<win::HWND, win::HBITMAP> bitmaps;
    return bitmaps;
}

// The toolbar must not size itself: the frame lays the bars out.
win::LRESULT ToolbarProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    if (msg == win::WM_SIZE) return win::DefWindowProcA(h, msg, wp, lp);
    if (msg == win::WM_DESTROY) {
        auto it = toolbarBitmaps().find(h);
        if (it != toolbarBitmaps().end()) {
            win::DeleteObject(it->second);
            toolbarBitmaps().erase(it);
        }
    }
    return win::CallWindowProcA(controlProcedure(), h, msg, wp, lp);
}

int sideOfPosition(int position) {
    return position >= 1 && position <= 4 ? position - 1 : 0;
}

int toolbarButtonCount(const WindowSlot& slot) {
    int count = 0;
    for (win::HWND bar : slot.toolbars)
        if (bar) count += static_cast<int>(win::SendMessageA(bar, win::TB_BUTTONCOUNT, 0, 0));
    return count;
}

// A button's first state follows the menu item of the same command.
win::BYTE buttonState(const WindowSlot& slot, int command) {
    win::HMENU holder = nullptr;
    const int at = slot.menu ? MenuItemFind(slot.menu, command, holder) : -1;
    if (at < 0) return win::TBSTATE_ENABLED;
    win::MENUITEMINFOA info;
    info.fMask = win::MIIM_STATE;
    win::GetMenuItemInfoA(holder, static_cast<win::UINT>(at), win::TRUE, &info);
    win::BYTE state = 0;
    if (info.fState & win::MF_CHECKED) state |= win::TBSTATE_CHECKED;
    if (!(info.fState & win::MF_GRAYED)) state |= win::TBSTATE_ENABLED;
    return state;
}

std::vector<win::TBBUTTON> buttonsOf(const WindowSlot& slot, const ToolbarButtonTable& table) {
    std::vector<win::TBBUTTON> buttons;
    int image = 0;
    for (int command : table.commands) {
        win::TBBUTTON b;
        if (command == 0) {
            b.fsStyle = win::TBSTYLE_SEP;
        } else {
            b.iBitmap = image++;
            b.idCommand = command;
            b.fsState = buttonState(slot, command);
            b.fsStyle = win::TBSTYLE_BUTTON;
        }
        buttons.push_back(b);
    }
    return buttons;
}

win::HWND makeToolbar(int window, int id, const ToolbarButtonTable& table) {
    WindowSlot& slot = windowSystem().slots[window];
    win::HBITMAP pictures = nullptr;
    const bool anyButton =
        std::any_of(table.commands.begin(), table.commands.end(), [](int c) { return c != 0; });
    if (anyButton) {
        pictures = static_cast<win::HBITMAP>(
            win::LoadImageA(nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(id)),
                            win::IMAGE_BITMAP, 0, 0, win::LR_LOADMAP3DCOLORS));
        if (!pictures) return nullptr;
    }
    win::HWND bar = win::CreateWindowExA(
        0, win::TOOLBARCLASSNAMEA, "",
        win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPSIBLINGS | win::TBSTYLE_TOOLTIPS |
            win::CCS_NORESIZE | win::CCS_NOPARENTALIGN,
        0, 0, 0, 0, slot.frame, reinterpret_cast<win::HMENU>(static_cast<std::intptr_t>(id)),
        nullptr, nullptr);
    if (!bar) {
        if (pictures) win::DeleteObject(pictures);
        return nullptr;
    }
    auto own = reinterpret_cast<win::WNDPROC>(win::GetWindowLongPtrA(bar, win::GWLP_WNDPROC));
    if (own != ToolbarProcedure) controlProcedure() = own;
    win::SetWindowLongPtrA(bar, win::GWLP_WNDPROC,
                           reinterpret_cast<win::LONG_PTR>(ToolbarProcedure));
    if (pictures) toolbarBitmaps()[bar] = pictures;
    win::SendMessageA(bar, win::TB_BUTTONSTRUCTSIZE, kButtonStructSize, 0);
    win::SendMessageA(bar, win::TB_SETBITMAPSIZE, 0,
                      win::MAKELPARAM(table.imageWidth, table.imageHeight));
    win::SendMessageA(bar, win::TB_SETBUTTONSIZE, 0,
                      win::MAKELPARAM(table.imageWidth + 6, table.imageHeight + 6));
    std::vector<win::TBBUTTON> buttons = buttonsOf(slot, table);
    if (pictures) {
        win::TBADDBITMAP add;
        add.nID = reinterpret_cast<win::UINT_PTR>(pictures);
        win::SendMessageA(bar, win::TB_ADDBITMAP, table.commands.size(),
                          reinterpret_cast<win::LPARAM>(&add));
    }
    if (!buttons.empty())
        win::SendMessageA(bar, win::TB_ADDBUTTONSA, buttons.size(),
                          reinterpret_cast<win::LPARAM>(buttons.data()));
    return bar;
}

// The bar's first place inside the frame; the frame's layout refines it.
void placeToolbar(int window, int side, const ToolbarButtonTable& table) {
    WindowSlot& slot = windowSystem().slots[window];
    win::HWND bar = slot.toolbars[side];
    win::RECT r{};
    win::GetClientRect(slot.frame, &r);
    if (side == 1 || side == 2) {
        win::RECT rows{};
        win::SendMessageA(bar, win::TB_SETROWS,
                          win::MAKEWPARAM(static_cast<win::WORD>(table.commands.size()), 1),
                          reinterpret_cast<win::LPARAM>(&rows));
        const int width = table.imageWidth + 6 + 3;
        slot.toolbarExtents[side] = width;
        win::MoveWindow(bar, side == 1 ? r.left : r.right - width, r.top, width, r.bottom - r.top,
                        win::TRUE);
    } else {
        const int height = table.imageHeight + 6 + 6;
        slot.toolbarExtents[side] = height;
        int bottom = r.bottom;
        if (slot.statusBar) {
            win::RECT sb{};
            win::GetWindowRect(slot.statusBar, &sb);
            bottom -= sb.bottom - sb.top;
        }
        win::MoveWindow(bar, r.left, side == 0 ? r.top : bottom - height, r.right - r.left, height,
                        win::TRUE);
    }
}

void removeToolbar(int window, int side) {
    WindowSlot& slot = windowSystem().slots[window];
    if (!slot.toolbars[side]) return;
    win::HWND bar = slot.toolbars[side];
    slot.toolbars[side] = nullptr;
    slot.toolbarExtents[side] = 0;
    win::DestroyWindow(bar);
    if (!WindowHasBars(window)) slot.toolTips.clear();
}

// The frame lays its bars out again after a toolbar changed its extent.
void relayout(int window, int side, int oldExtent, int& width, int& height) {
    WindowSlot& slot = windowSystem().slots[window];
    width = height = -1;
    if (!slot.client || slot.toolbarExtents[side] == oldExtent || win::IsIconic(slot.frame)) return;
    if (win::IsZoomed(slot.frame)) {
        // A maximised frame grows by the difference, so the client keeps its size.
        const int grow = slot.toolbarExtents[side] - oldExtent;
        win::RECT f{};
        win::GetWindowRect(slot.frame, &f);
        const bool across = side == 1 || side == 2;
        win::SetWindowPos(slot.frame, nullptr, 0, 0, f.right - f.left + (across ? grow : 0),
                          f.bottom - f.top + (across ? 0 : grow),
                          win::SWP_NOMOVE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    }
    int cw = 0, ch = 0;
    clientSizeOf(slot.frame, cw, ch);
    win::SendMessageA(slot.frame, win::WM_SIZE,
                      win::IsZoomed(slot.frame) ? win::SIZE_MAXIMIZED : win::SIZE_RESTORED,
                      win::MAKELPARAM(cw, ch));
    clientSizeOf(slot.client, width, height);
}

}  // namespace

bool WindowHasBars(int window) {
    const WindowSlot& slot = windowSystem().slots[window];
    return std::any_of(slot.toolbars.begin(), slot.toolbars.end(), [](win::HWND h) { return h; });
}

void WindowBarsStack(int window) {
    const WindowSlot& slot = windowSystem().slots[window];
    win::HWND above = nullptr;
    auto stack = [&above](win::HWND h) {
        if (!h) return;
        win::SetWindowPos(h, above ? above : win::HWND_TOP, 0, 0, 0, 0,
                          win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
        above = h;
    };
    stack(slot.statusBar);
    for (win::HWND bar : slot.toolbars)
        stack(bar);
}

int ToolbarCreate(int bitmapId, int window, int side, int& width, int& height) {
    width = height = -1;
    if (!windowIsOpen(window) || side < 0 || side > 3) return -1;
    WindowSlot& slot = windowSystem().slots[window];
    const int oldExtent = slot.toolbarExtents[side];
    removeToolbar(window, side);
    if (bitmapId == 0) {
        relayout(window, side, oldExtent, width, height);
        return 0;
    }
    std::optional<ToolbarButtonTable> table = ToolbarButtonTableLoad(bitmapId);
    if (!table) return -1;
    win::HWND bar = makeToolbar(window, bitmapId, *table);
    if (!bar) return -1;
    slot.toolbars[side] = bar;
    WindowBarsStack(window);
    placeToolbar(window, side, *table);
    slot.toolTips.resize(static_cast<std::size_t>(toolbarButtonCount(slot)));
    const int extent = slot.toolbarExtents[side];
    int w = -1, h = -1;
    relayout(window, side, oldExtent, w, h);
    if (w >= 0 && extent != oldExtent) {
        width = w;
        height = h;
    }
    return 0;
}

void MenuToolbar(int bitmapId, std::optional<int> window, std::optional<int> position) {
    const int n = window.value_or(0);
    if (!windowIsOpen(n)) {
        ReportLibraryError(1003, "MenuToolbar");
        return;
    }
    int width = -1, height = -1;
    if (ToolbarCreate(bitmapId, n, sideOfPosition(position.value_or(1)), width, height) != 0) {
        ReportLibraryError(1002, "MenuToolbar");
        return;
    }
    WindowSystem& w = windowSystem();
    if (width < 0 || n != w.CurrentWindow) return;
    w.CurrentWidth = width;
    w.CurrentHeight = height;
    const WindowGraphicsHooks& g = windowGraphicsHooks();
    if (g.windowTextSizeUpdate) g.windowTextSizeUpdate();
    if (g.targetResized) g.targetResized(1, n, width, height);
}

void ToolbarTipAnswer(win::NMTTDISPINFOA& request) {
    const int command = static_cast<int>(request.hdr.idFrom);
    const WindowSystem& w = windowSystem();
    for (const WindowSlot& slot : w.slots) {
        for (int side = 0; side < 3; ++side) {
            win::HWND bar = slot.toolbars[side];
            if (!bar || reinterpret_cast<win::HWND>(win::SendMessageA(bar, win::TB_GETTOOLTIPS, 0,
                                                                      0)) != request.hdr.hwndFrom)
                continue;
            for (const ToolTipEntry& e : slot.toolTips) {
                if (e.command == 0 || e.command != command) continue;
                const std::size_t n = std::min<std::size_t>(e.text.size(), kTipLimit);
                std::copy_n(e.text.begin(), n, request.szText);
                request.szText[n] = 0;
                request.lpszText = request.szText;
                return;
            }
        }
    }
    char text[kTipLimit + 1] = {};
    if (win::LoadStringA(nullptr, static_cast<win::UINT>(command), text, sizeof text) <= 0) return;
    std::copy_n(text, sizeof text, request.szText);
    request.lpszText = request.szText;
}

int ToolbarTipSet(int command, const std::string& text, int length) {
    WindowSystem& w = windowSystem();
    WindowSlot& slot = w.slots[windowIsOpen(w.CurrentWindow) ? w.CurrentWindow : 0];
    const bool hasButton =
        std::any_of(slot.toolbars.begin(), slot.toolbars.end(), [&](win::HWND b) {
            return b && win::SendMessageA(b, win::TB_COMMANDTOINDEX,
                                          static_cast<win::WPARAM>(command), 0) >= 0;
        });
    if (!hasButton) return -1;
    ToolTipEntry* entry = nullptr;
    for (ToolTipEntry& e : slot.toolTips)
        if (e.command == command) entry = &e;
    if (!entry)
        for (ToolTipEntry& e : slot.toolTips)
            if (e.command == 0) entry = &e;
    if (!entry) return -1;
    if (length == 1) {
        *entry = ToolTipEntry{};
        return 0;
    }
    const std::size_t n = std::min({text.size(), static_cast<std::size_t>(std::max(length, 0)),
                                    static_cast<std::size_t>(kTipLimit)});
    entry->command = command;
    entry->text = text.substr(0, n);
    return 0;
}

}  // namespace tk
