#include "toolkit/core/frame_procs.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/window/menu_api.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/event_wait.h"
#include "toolkit/core/menu_resources.h"
#include "toolkit/core/status_bar_codes.h"
#include "toolkit/core/toolbars.h"
#include "toolkit/core/window_classes.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_split.h"
#include "toolkit/core/window_table.h"

namespace tk {
namespace {

constexpr win::UINT kTimerPauseId = 999;
constexpr win::LRESULT kMinimiseButton = 8;

int slotOfFrame(win::HWND frame) {
    const WindowSystem& w = windowSystem();
    for (int n = 0; n < kWindowSlots; ++n)
        if (w.slots[n].frame == frame) return n;
    return -1;
}

int slotOfClient(win::HWND client) {
    const WindowSystem& w = windowSystem();
    for (int n = 0; n < kWindowSlots; ++n)
        if (w.slots[n].client == client) return n;
    return -1;
}

int kindOf(win::HWND frame) {
    const FrameUserRecord* r = frameRecord(frame);
    return r ? r->kind() : KindPlain;
}

void showSimpleText(win::HWND bar, const char* text) {
    win::SendMessageA(bar, kSbSimple, win::TRUE, 0);
    win::SendMessageA(bar, kSbSetTextA, kSimplePart | kSbtNoBorders,
                      reinterpret_cast<win::LPARAM>(text));
}

const char* systemCommandHelp(win::UINT command) {
    switch (command & 0xFFF0) {
        case win::SC_SIZE:
            return "Changes the window size";
        case win::SC_MOVE:
            return "Changes the window position";
        case win::SC_MINIMIZE:
            return "Reduces the window to an icon";
        case win::SC_MAXIMIZE:
            return "Enlarges the window to full size";
        case win::SC_CLOSE:
            return "Closes the window";
        case win::SC_RESTORE:
            return "Restores the window to its normal size";
        default:
            return "";
    }
}

bool helpTextsExist(const WindowSlot& slot) {
    return !slot.menuHelp.empty() || slot.menuItemHelpCount > 0 ||
           !windowSystem().SharedMenuHelp.empty();
}

// The status bar's parts follow the frame's width.
void statusPartsRelayout(const WindowSlot& slot, int n) {
    const int parts =
        slot.statusPartCount > 0 ? slot.statusPartCount : (slot.statusParts[0].width == -1 ? 1 : 0);
    if (parts == 0) return;
    std::array<int, 255> edges{};
    StatusBarPartEdges(n, parts, edges.data());
    win::SendMessageA(slot.statusBar, kSbSetParts, static_cast<win::WPARAM>(parts),
                      reinterpret_cast<win::LPARAM>(edges.data()));
}

void layoutFrame(int n) {
    WindowSlot& slot = windowSystem().slots[n];
    win::RECT r{};
    win::GetClientRect(slot.frame, &r);
    if (slot.statusBar) {
        statusPartsRelayout(slot, n);
        win::SendMessageA(slot.statusBar, win::WM_SIZE, 0, 0);
        win::InvalidateRect(slot.statusBar, nullptr, win::TRUE);
        win::RECT sb{};
        win::GetWindowRect(slot.statusBar, &sb);
        r.bottom -= sb.bottom - sb.top;
    }
    auto place = [](win::HWND h, int x, int y, int cx, int cy) {
        if (h) win::MoveWindow(h, x, y, std::max(cx, 0), std::max(cy, 0), win::TRUE);
    };
    if (slot.toolbars[0]) {
        place(slot.toolbars[0], r.left, r.top, r.right - r.left, slot.toolbarExtents[0]);
        r.top += slot.toolbarExtents[0];
    }
    if (slot.toolbars[3]) {
        place(slot.toolbars[3], r.left, r.bottom - slot.toolbarExtents[3], r.right - r.left,
              slot.toolbarExtents[3]);
        r.bottom -= slot.toolbarExtents[3];
    }
    if (slot.toolbars[1]) {
        place(slot.toolbars[1], r.left, r.top, slot.toolbarExtents[1], r.bottom - r.top);
        r.left += slot.toolbarExtents[1];
    }
    if (slot.toolbars[2]) {
        place(slot.toolbars[2], r.right - slot.toolbarExtents[2], r.top, slot.toolbarExtents[2],
              r.bottom - r.top);
        r.right -= slot.toolbarExtents[2];
    }
    place(slot.client, r.left, r.top, r.right - r.left, r.bottom - r.top);
    if (FrameUserRecord* rec = frameRecord(slot.frame); rec && rec->kind() == KindSplit) {
        win::RECT fr{};
        win::GetWindowRect(slot.frame, &fr);
        rec->words[SplitWidth] = fr.right - fr.left;
        rec->words[SplitHeight] = fr.bottom - fr.top;
    }
}

// A press on a frame's borders or caption brings it to the top (shown, not
// moved or sized) with the focus; a split container's focus goes on to its
// focused pane through the client window.
void frameToTopWithFocus(win::HWND frame) {
    win::SetWindowPos(frame, nullptr, 0, 0, 0, 0,
                      win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_SHOWWINDOW);
    win::SetFocus(frame);
}

void frameSize(win::HWND h, int n, win::WPARAM kind) {
    WindowSystem& w = windowSystem();
    WindowSlot& slot = w.slots[n];
    if (n > 0) {
        if (kind == win::SIZE_MAXIMIZED && slot.rememberedRect[0] == kNoRememberedRect) {
            win::WINDOWPLACEMENT wp;
            win::GetWindowPlacement(h, &wp);
            slot.rememberedRect = {static_cast<int>(wp.rcNormalPosition.left),
                                   static_cast<int>(wp.rcNormalPosition.top),
                                   static_cast<int>(wp.rcNormalPosition.right),
                                   static_cast<int>(wp.rcNormalPosition.bottom)};
        } else if (kind == win::SIZE_RESTORED && slot.rememberedRect[0] != kNoRememberedRect) {
            win::WINDOWPLACEMENT wp;
            win::GetWindowPlacement(h, &wp);
            wp.rcNormalPosition = {slot.rememberedRect[0], slot.rememberedRect[1],
                                   slot.rememberedRect[2], slot.rememberedRect[3]};
            wp.showCmd = win::SW_SHOWNORMAL;
            slot.rememberedRect[0] = kNoRememberedRect;
            win::SetWindowPlacement(h, &wp);
        }
    }
    if (kind != win::SIZE_MINIMIZED) {
        layoutFrame(n);
    } else if (n > 0) {
        // An icon is not the active window: the frame it lies in looks
        // active instead.
        win::SendMessageA(h, win::WM_NCACTIVATE, win::FALSE, 0);
        const int container = WindowSlotOfHandle(win::GetParent(h));
        win::HWND outer = w.slots[container > 0 ? container : 0].frame;
        if (outer && outer != h) win::SendMessageA(outer, win::WM_NCACTIVATE, win::TRUE, 0);
    }
}

// Menu commands of a split container go to its command pane, else to its
// focused pane, down through nested containers.
win::HWND commandTarget(win::HWND frame) {
    for (const FrameUserRecord* r = frameRecord(frame); r && r->kind() == KindSplit;
         r = frameRecord(frame)) {
        const int pane = static_cast<int>(r->words[SplitCommandPane]);
        win::HWND next = windowIsOpen(pane) && pane != 0 ? windowSystem().slots[pane].frame
                                                         : r->handle(SplitFocusedPane);
        if (!next || next == frame) break;
        frame = next;
    }
    return frame;
}

// A split container whose width or height is fixed offers no sizing border
// in that direction.
win::LRESULT fixedSizeHit(const FrameUserRecord& r, win::LRESULT hit) {
    if (SplitContainerFixed(r, 0)) {
        if (hit == win::HTLEFT || hit == win::HTRIGHT) return win::HTBORDER;
        if (hit == win::HTTOPLEFT || hit == win::HTTOPRIGHT) hit = win::HTTOP;
        if (hit == win::HTBOTTOMLEFT || hit == win::HTBOTTOMRIGHT) hit = win::HTBOTTOM;
    }
    if (SplitContainerFixed(r, 1)) {
        if (hit == win::HTTOP || hit == win::HTBOTTOM) return win::HTBORDER;
        if (hit == win::HTTOPLEFT || hit == win::HTBOTTOMLEFT) hit = win::HTLEFT;
        if (hit == win::HTTOPRIGHT || hit == win::HTBOTTOMRIGHT) hit = win::HTRIGHT;
    }
    return hit;
}

constexpr win::UINT kMediaNotify = 0x3B9;

bool holdsEditor(win::HWND frame) {
    const FrameUserRecord* r = frameRecord(frame);
    return r && (r->kind() == KindTextEditor || r->kind() == KindGridEditor);
}

// The pane that has the focus, down through nested split containers.
win::HWND focusedPane(win::HWND frame) {
    for (const FrameUserRecord* r = frameRecord(frame); r && r->kind() == KindSplit;
         r = frameRecord(frame)) {
        win::HWND next = r->handle(SplitFocusedPane);
        if (!next || next == frame) break;
        frame = next;
    }
    return frame;
}

win::LRESULT frameCommand(win::HWND h, int n, win::WPARAM wp, win::LPARAM lp) {
    const int code = win::HIWORD(wp);
    if (code != 0 && code != 1) return win::DefWindowProcA(h, win::WM_COMMAND, wp, lp);
    if (!lp) {
        win::HWND target = commandTarget(h);
        if (target != h && holdsEditor(target)) {
            win::SendMessageA(target, win::WM_COMMAND, wp, 0);
            return 0;
        }
    }
    EventPost(MenuSelect, 0, static_cast<std::intptr_t>(wp), lp, lp ? h : commandTarget(h));
    if (lp) {
        const WindowSlot& slot = windowSystem().slots[n];
        for (win::HWND bar : slot.toolbars)
            if (bar && reinterpret_cast<win::HWND>(lp) == bar) win::UpdateWindow(bar);
    }
    return 0;
}

// The window whose menu a frame shows: a split container may show a pane's.
int shownMenuWindow(int n) {
    const FrameUserRecord* r = frameRecord(windowSystem().slots[n].frame);
    if (r && r->kind() == KindSplit && windowIsOpen(static_cast<int>(r->words[SplitMenuPane])))
        return static_cast<int>(r->words[SplitMenuPane]);
    return n;
}

std::string itemHelpText(int menuWindow, win::HMENU menu, win::UINT item, win::UINT flags) {
    int command = static_cast<int>(item);
    if (flags & win::MF_POPUP) {
        win::MENUITEMINFOA info;
        info.fMask = win::MIIM_ID;
        if (!win::GetMenuItemInfoA(menu, item, win::TRUE, &info)) return {};
        command = static_cast<int>(info.wID);
    }
    const WindowSlot& slot = windowSystem().slots[menuWindow];
    win::HMENU holder = nullptr;
    const int at = slot.menu ? MenuItemFind(slot.menu, command, holder) : -1;
    if (at >= 0)
        if (const std::string* text = MenuItemHelpText(holder, at)) return *text;
    if (auto text = MenuHelpTextFind(slot.menuHelp, command)) return *text;
    if (auto text = MenuHelpTextFind(windowSystem().SharedMenuHelp, command)) return *text;
    return {};
}

void menuHelp(win::HWND h, int n, win::WPARAM wp, win::LPARAM lp) {
    const WindowSystem& w = windowSystem();
    win::HWND bar = StatusBarOfWindow(n);
    if (!bar) return;
    const int menuWindow = w.MenuLoopPopup ? MenuWindowSlot(h) : shownMenuWindow(n);
    const WindowSlot& slot = w.slots[menuWindow];
    const bool texts = helpTextsExist(slot);
    if (!texts && w.slots[n].menu) return;
    const win::UINT flags = win::HIWORD(wp);
    const win::UINT item = win::LOWORD(wp);
    if (flags != 0xFFFF && (flags & win::MF_SYSMENU)) {
        showSimpleText(bar, systemCommandHelp(item));
        return;
    }
    std::string text;
    if (texts && flags != 0xFFFF)
        text = itemHelpText(menuWindow, reinterpret_cast<win::HMENU>(lp), item, flags);
    if (!text.empty()) {
        showSimpleText(bar, text.c_str());
        return;
    }
    const win::HWND pane = focusedPane(h);
    const auto& editorHelp = windowEditorHooks().menuHelp;
    if (pane != h && holdsEditor(pane) && editorHelp && editorHelp(pane, bar, wp, lp)) return;
    win::SendMessageA(bar, kSbSetTextA, kSimplePart | kSbtNoBorders,
                      reinterpret_cast<win::LPARAM>(""));
}

}  // namespace

win::HWND StatusBarOfWindow(int window) {
    const WindowSystem& w = windowSystem();
    while (windowIsOpen(window)) {
        const WindowSlot& slot = w.slots[window];
        if (slot.statusBar) return slot.statusBar;
        if (!hasChildStyle(slot.frame)) return nullptr;
        window = WindowSlotOfHandle(win::GetParent(slot.frame));
    }
    return nullptr;
}

int MenuWindowSlot(win::HWND window) {
    win::HWND top = window;
    while (top && hasChildStyle(top))
        top = win::GetParent(top);
    int n = WindowSlotOfHandle(top);
    return n >= 0 && windowSystem().slots[n].menu ? n : 0;
}

bool WindowAcceleratorTranslate(int messageWindow, int menuWindow, win::MSG& msg) {
    const WindowSystem& w = windowSystem();
    if (!windowIsOpen(messageWindow)) return false;
    const auto& editorKeys = windowEditorHooks().translateAccelerator;
    if (editorKeys && editorKeys(w.slots[messageWindow].frame, msg)) return true;
    if (!windowIsOpen(menuWindow)) return false;
    win::HACCEL table = w.slots[menuWindow].accelerators;
    if (!table) return false;
    return win::TranslateAcceleratorA(w.slots[messageWindow].frame, table, &msg) != 0;
}

win::LRESULT FrameWindowProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    WindowSystem& w = windowSystem();
    const int n = slotOfFrame(h);
    if (n < 0) return win::DefWindowProcA(h, msg, wp, lp);
    WindowSlot& slot = w.slots[n];
    switch (msg) {
        case win::WM_CLOSE:
            if (SplitPaneCloseCheck(h)) EventPost(CloseRequest, 0, 0, 0, h);
            return 0;
        case win::WM_ACTIVATE:
            if (win::LOWORD(wp) != win::WA_INACTIVE) FocusWindowActivate(h);
            return win::DefWindowProcA(h, msg, wp, lp);
        case win::WM_SETFOCUS:
            if (slot.client) win::SetFocus(slot.client);
            return 0;
        case win::WM_ACTIVATEAPP:
            if (!wp) FocusWindowActivate(nullptr);
            return 0;
        case win::WM_SIZE:
            frameSize(h, n, wp);
            return 0;
        case win::WM_GETMINMAXINFO: {
            const FrameUserRecord* r = frameRecord(h);
            if (r && r->kind() == KindSplit && !r->words[SplitPlacing]) {
                auto* info = reinterpret_cast<win::MINMAXINFO*>(lp);
                win::LRESULT result = win::DefWindowProcA(h, msg, wp, lp);
                if (SplitContainerFixed(*r, 0)) {
                    const auto width = static_cast<win::LONG>(r->words[SplitWidth]);
                    info->ptMaxSize.x = info->ptMinTrackSize.x = info->ptMaxTrackSize.x = width;
                }
                if (SplitContainerFixed(*r, 1)) {
                    const auto height = static_cast<win::LONG>(r->words[SplitHeight]);
                    info->ptMaxSize.y = info->ptMinTrackSize.y = info->ptMaxTrackSize.y = height;
                }
                return result;
            }
            if (r && r->kind() == KindCombinedDialog && r->handle(5) &&
                win::IsWindowVisible(r->handle(5))) {
                auto* info = reinterpret_cast<win::MINMAXINFO*>(lp);
                info->ptMinTrackSize = {static_cast<win::LONG>(r->words[6]),
                                        static_cast<win::LONG>(r->words[7])};
            }
            return win::DefWindowProcA(h, msg, wp, lp);
        }
        case win::WM_NCHITTEST: {
            win::LRESULT hit = win::DefWindowProcA(h, msg, wp, lp);
            if (hit == win::HTCAPTION && hasChildStyle(h) &&
                kindOf(win::GetParent(win::GetParent(h))) == KindSplit)
                return win::HTBORDER;
            if (const FrameUserRecord* r = frameRecord(h); r && r->kind() == KindSplit)
                return fixedSizeHit(*r, hit);
            return hit;
        }
        case win::WM_NCLBUTTONDOWN:
        case win::WM_NCMBUTTONDOWN:
        case win::WM_NCRBUTTONDOWN: {
            if (!win::IsWindowEnabled(h)) return 0;  // queued before a modal dialog
            if (static_cast<win::LRESULT>(wp) != kMinimiseButton) {
                int button = msg == win::WM_NCLBUTTONDOWN   ? 1
                             : msg == win::WM_NCMBUTTONDOWN ? 2
                                                            : 3;
                EventPost(NonClientMouseDown, button, 0, 0, h);
            }
            if (msg == win::WM_NCLBUTTONDOWN) w.NonClientButtonWindow = h;
            frameToTopWithFocus(h);
            return win::DefWindowProcA(h, msg, wp, lp);
        }
        case win::WM_NCLBUTTONUP:
            w.NonClientButtonWindow = nullptr;
            return 0;
        case win::WM_LBUTTONDOWN:
        case win::WM_RBUTTONDOWN:
        case win::WM_MBUTTONDOWN:
            if (!win::IsWindowEnabled(h)) return 0;  // queued before a modal dialog
            win::BringWindowToTop(h);
            win::SetFocus(h);
            return 0;
        case win::WM_SYSCHAR:
            // Only a frame inside another passes its mnemonics on; a window of
            // its own (owned, not contained) opens its own menus.
            if (n > 0 && wp != 45 && hasChildStyle(h) && win::GetParent(h))
                return win::SendMessageA(win::GetParent(h), msg, wp, lp);
            return win::DefWindowProcA(h, msg, wp, lp);
        case win::WM_COMMAND:
            return frameCommand(h, n, wp, lp);
        case win::WM_INITMENUPOPUP: {
            const win::HWND pane = focusedPane(h);
            if (pane != h && holdsEditor(pane)) win::SendMessageA(pane, msg, wp, lp);
            return 0;
        }
        case kMediaNotify:
            // The device's play ended: the window forgets it.
            for (WindowSlot& s : w.slots)
                if (s.soundDevice != 0 && s.soundDevice == static_cast<int>(lp)) s.soundDevice = 0;
            return 0;
        case win::WM_NOTIFY: {
            auto* hdr = reinterpret_cast<win::NMHDR*>(lp);
            if (hdr && hdr->code == win::TTN_NEEDTEXTA)
                ToolbarTipAnswer(*reinterpret_cast<win::NMTTDISPINFOA*>(lp));
            return 0;
        }
        case win::WM_TIMER:
            win::KillTimer(h, wp);
            EventPost(Timer, 0, static_cast<std::intptr_t>(wp), 0, h);
            return 0;
        case win::WM_ENTERMENULOOP:
            if (win::HWND bar = StatusBarOfWindow(n);
                bar && helpTextsExist(w.slots[wp ? MenuWindowSlot(h) : shownMenuWindow(n)]))
                showSimpleText(bar, "");
            w.MenuLoopPopup = wp != 0;
            return 0;
        case win::WM_EXITMENULOOP:
            w.NonClientButtonWindow = nullptr;
            if (win::HWND bar = StatusBarOfWindow(n))
                win::SendMessageA(bar, kSbSimple, win::FALSE, 0);
            return 0;
        case win::WM_MENUSELECT:
            menuHelp(h, n, wp, lp);
            return win::DefWindowProcA(h, msg, wp, lp);
        case win::WM_EXITSIZEMOVE:
            if (n > 0 && win::IsIconic(h) && win::GetParent(h))
                win::ArrangeIconicWindows(win::GetParent(h));
            return 0;
        case win::WM_PALETTECHANGED:
            if (slot.client) win::SendMessageA(slot.client, msg, wp, lp);
            return 0;
        case win::WM_DESTROY:
            if (windowBarHooks().menuFreeItemData) windowBarHooks().menuFreeItemData(n);
            slot.menu = nullptr;
            slot.accelerators = nullptr;
            slot.menuHelp = {};
            slot.toolbars.fill(nullptr);
            return win::DefWindowProcA(h, msg, wp, lp);
        default:
            return win::DefWindowProcA(h, msg, wp, lp);
    }
}

namespace {

// A key press with the character that translation queued after it, or a
// key without character.
void clientKeyDown(win::HWND h, win::WPARAM vk) {
    // The modifiers as they were with this key, before looking ahead.
    const bool shift = win::GetKeyState(win::VK_SHIFT) < 0;
    const bool ctrl = win::GetKeyState(win::VK_CONTROL) < 0;
    win::MSG next;
    const bool hasChar = win::PeekMessageA(&next, h, 0, 0, win::PM_NOREMOVE) &&
                         next.message == win::WM_CHAR &&
                         win::PeekMessageA(&next, h, win::WM_CHAR, win::WM_CHAR, win::PM_REMOVE);
    if (hasChar) {
        if (vk >= 96 && vk <= 111)
            EventPost(KeyDown, 1, static_cast<std::intptr_t>(vk), 0, h);
        else if (vk == win::VK_TAB && shift)
            EventPost(KeyDown, 1, 4096 + 9, 0, h);
        else
            EventPost(KeyDown, 0, static_cast<std::intptr_t>(next.wParam & 0xFF), 0, h);
        return;
    }
    switch (vk) {
        case 16:
        case 17:
        case 18:
        case 19:
        case 20:
        case 144:
        case 145:
            return;
        default:
            break;
    }
    std::intptr_t key = static_cast<std::intptr_t>(vk) + (ctrl ? 8192 : shift ? 4096 : 0);
    EventPost(KeyDown, 1, key, 0, h);
}

void clientMouseDown(win::HWND h, int n, int button, bool doubleClick, win::WPARAM wp,
                     win::LPARAM lp) {
    // A press queued before a modal dialog disabled the window reaches it
    // inside the dialog's loop: it must neither act nor raise the window
    // over the dialog that blocks it.
    win::HWND frame = windowSystem().slots[n].frame;
    if (!win::IsWindowEnabled(frame)) return;
    win::SetCapture(h);
    int enabled = 0;
    EventTypeSetting(MouseDoubleClick, enabled);
    EventPost(doubleClick && enabled ? MouseDoubleClick : MouseButtonDown, button,
              static_cast<std::intptr_t>(wp), lp, h);
    win::BringWindowToTop(frame);
    win::SetFocus(h);
}

void clientSize(win::HWND h, int n, win::WPARAM wp, win::LPARAM lp) {
    WindowSlot& slot = windowSystem().slots[n];
    const FrameUserRecord* r = frameRecord(slot.frame);
    if (r && r->kind() == KindCombinedDialog) {
        if (win::HWND d = r->handle(5))
            win::MoveWindow(d, 0, 0, win::LOWORD(static_cast<std::uintptr_t>(lp)),
                            win::HIWORD(static_cast<std::uintptr_t>(lp)), win::TRUE);
        win::ValidateRect(h, nullptr);
        return;
    }
    if (r && r->kind() == KindSplit) {
        SplitPanesLayout(n);
        win::ValidateRect(h, nullptr);
        return;
    }
    win::ArrangeIconicWindows(h);
    win::RedrawWindow(
        h, nullptr, nullptr,
        win::RDW_ERASE | win::RDW_INVALIDATE | win::RDW_UPDATENOW | win::RDW_NOCHILDREN);
    EventPost(Resize, 0, static_cast<std::intptr_t>(wp), lp, h);
    // Maximised windows inside follow the new size.
    for (win::HWND c = win::GetWindow(h, win::GW_CHILD); c; c = win::GetWindow(c, win::GW_HWNDNEXT))
        if (win::IsZoomed(c)) {
            win::ShowWindow(c, win::SW_RESTORE);
            win::ShowWindow(c, win::SW_MAXIMIZE);
        }
}

// While window contents are frozen a window repaints from its own copy, or
// from the copy of the nearest window containing it that has one.
void paintFrozen(win::HWND h, int n) {
    const WindowSystem& w = windowSystem();
    int holder = n;
    while (windowIsOpen(holder) && !w.slots[holder].frozenBitmap &&
           hasChildStyle(w.slots[holder].frame))
        holder = WindowSlotOfHandle(win::GetParent(w.slots[holder].frame));
    win::PAINTSTRUCT ps;
    win::HDC dc = win::BeginPaint(h, &ps);
    if (windowIsOpen(holder) && w.slots[holder].frozenBitmap) {
        win::POINT offset{0, 0};
        win::MapWindowPoints(h, w.slots[holder].client, &offset, 1);
        win::HDC mem = win::CreateCompatibleDC(dc);
        win::HGDIOBJ old = win::SelectObject(mem, w.slots[holder].frozenBitmap);
        const win::RECT& r = ps.rcPaint;
        win::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, r.left + offset.x,
                    r.top + offset.y, win::SRCCOPY);
        win::SelectObject(mem, old);
        win::DeleteDC(mem);
    }
    win::EndPaint(h, &ps);
}

void clientPaint(win::HWND h, int n) {
    const FrameUserRecord* r = frameRecord(windowSystem().slots[n].frame);
    if (windowSystem().ContentsFrozen) {
        paintFrozen(h, n);
        return;
    }
    if (r && (r->kind() == KindSplit || r->kind() == KindCombinedDialog)) return;
    EventPost(Expose, 0, 0, 0, h);
}

win::LRESULT clientSetCursor(win::HWND h, int n, win::WPARAM wp, win::LPARAM lp) {
    const WindowSystem& w = windowSystem();
    const WindowSlot& slot = w.slots[n];
    if (win::LOWORD(static_cast<std::uintptr_t>(lp)) != win::HTCLIENT ||
        !(slot.cursor || w.GlobalCursor))
        return win::DefWindowProcA(h, win::WM_SETCURSOR, wp, lp);
    int kind = kindOf(slot.frame);
    if (kind == KindPlain || kind == KindBitmapViewer)
        win::SetCursor(slot.cursor ? slot.cursor : w.GlobalCursor);
    return win::TRUE;
}

void clientSetFocus(win::HWND h, int n) {
    WindowSystem& w = windowSystem();
    w.FocusWindow = h;
    w.ActiveModelessDialog = nullptr;
    const WindowSlot& slot = w.slots[n];
    if (!(n == 0 && w.RootHidden))
        win::SetWindowPos(slot.frame, nullptr, 0, 0, 0, 0,
                          win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
    SplitPaneFocused(n);
    const FrameUserRecord* r = frameRecord(slot.frame);
    if (r && r->kind() == KindSplit) {
        win::HWND pane = r->handle(SplitFocusedPane);
        if (const int p = WindowSlotOfHandle(pane); p > 0 && w.slots[p].client)
            win::SetFocus(w.slots[p].client);
        return;
    }
    if (r && r->kind() == KindCombinedDialog && r->handle(5)) {
        int fieldChanged = 0;
        EventTypeSetting(FieldChanged, fieldChanged);
        EventTypeEnable(FieldChanged, 0);
        win::BringWindowToTop(r->handle(5));
        EventTypeEnable(FieldChanged, fieldChanged);
        if (!win::IsChild(r->handle(5), win::GetFocus())) win::SetFocus(r->handle(5));
        w.ActiveModelessDialog = r->handle(5);
    }
}

}  // namespace

win::LRESULT ClientWindowProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    WindowSystem& w = windowSystem();
    const int n = slotOfClient(h);
    if (n < 0) return win::DefWindowProcA(h, msg, wp, lp);
    switch (msg) {
        case win::WM_PAINT: {
            clientPaint(h, n);
            win::LRESULT result = win::DefWindowProcA(h, msg, wp, lp);
            deferWindowEvent(n, Expose);
            return result;
        }
        case win::WM_SIZE:
            clientSize(h, n, wp, lp);
            deferWindowEvent(n, Resize);
            return 0;
        case win::WM_ERASEBKGND: {
            win::HBRUSH brush = w.slots[n].backgroundBrush;
            if (!brush) return win::DefWindowProcA(h, msg, wp, lp);
            win::RECT r{};
            win::GetClientRect(h, &r);
            win::FillRect(reinterpret_cast<win::HDC>(wp), &r, brush);
            return 1;
        }
        case win::WM_SETCURSOR:
            return clientSetCursor(h, n, wp, lp);
        case win::WM_SETFOCUS:
            clientSetFocus(h, n);
            return 0;
        case win::WM_KEYDOWN:
            clientKeyDown(h, wp);
            return 0;
        case win::WM_CHAR:
            EventPost(KeyDown, 0, static_cast<std::intptr_t>(wp & 0xFF), 0, h);
            return 0;
        case win::WM_SYSCHAR:
        case win::WM_MENUSELECT:
        case win::WM_ENTERMENULOOP:
        case win::WM_EXITMENULOOP:
            return win::SendMessageA(w.slots[n].frame, msg, wp, lp);
        case win::WM_COMMAND:
            if (win::HIWORD(wp) == 0 || win::HIWORD(wp) == 1)
                EventPost(MenuSelect, 0, static_cast<std::intptr_t>(wp), lp, h);
            return 0;
        case win::WM_TIMER:
            if (wp == kTimerPauseId && w.PauseRunning) {
                win::KillTimer(h, wp);
                w.PauseRunning = false;
                return 0;
            }
            EventPost(Timer, 0, static_cast<std::intptr_t>(wp), 0, h);
            return 0;
        case win::WM_MOUSEMOVE:
            EventPost(MouseMove, -1, static_cast<std::intptr_t>(wp), lp, h);
            return 0;
        case win::WM_LBUTTONUP:
        case win::WM_MBUTTONUP:
        case win::WM_RBUTTONUP: {
            win::ReleaseCapture();
            int button = msg == win::WM_LBUTTONUP ? 1 : msg == win::WM_MBUTTONUP ? 2 : 3;
            EventPost(MouseButtonUp, button, static_cast<std::intptr_t>(wp), lp, h);
            return 0;
        }
        case win::WM_LBUTTONDOWN:
            clientMouseDown(h, n, 1, false, wp, lp);
            return 0;
        case win::WM_MBUTTONDOWN:
            clientMouseDown(h, n, 2, false, wp, lp);
            return 0;
        case win::WM_RBUTTONDOWN:
            clientMouseDown(h, n, 3, false, wp, lp);
            return 0;
        case win::WM_LBUTTONDBLCLK:
            clientMouseDown(h, n, 1, true, wp, lp);
            return 0;
        case win::WM_MBUTTONDBLCLK:
            clientMouseDown(h, n, 2, true, wp, lp);
            return 0;
        case win::WM_RBUTTONDBLCLK:
            clientMouseDown(h, n, 3, true, wp, lp);
            return 0;
        case win::WM_MOUSEWHEEL: {
            // The wheel's position is in screen pixels; the event wants the client's.
            win::POINT p{win::GET_X_LPARAM(lp), win::GET_Y_LPARAM(lp)};
            win::ScreenToClient(h, &p);
            int delta = static_cast<short>(win::HIWORD(static_cast<std::uintptr_t>(wp)));
            EventPost(MouseButtonDown, delta > 0 ? 4 : 5,
                      win::LOWORD(static_cast<std::uintptr_t>(wp)), win::MAKELPARAM(p.x, p.y), h);
            return 0;
        }
        case win::WM_NCLBUTTONDOWN:
        case win::WM_NCMBUTTONDOWN:
        case win::WM_NCRBUTTONDOWN: {
            int button = msg == win::WM_NCLBUTTONDOWN ? 1 : msg == win::WM_NCMBUTTONDOWN ? 2 : 3;
            EventPost(NonClientMouseDown, button, 0, 0, h);
            if (msg == win::WM_NCLBUTTONDOWN) windowSystem().NonClientButtonWindow = h;
            frameToTopWithFocus(windowSystem().slots[n].frame);
            return win::DefWindowProcA(h, msg, wp, lp);
        }
        default:
            return win::DefWindowProcA(h, msg, wp, lp);
    }
}

namespace {

// The split record a bar belongs to, while its container still holds it.
FrameUserRecord* splitRecordOfBar(win::HWND bar) {
    auto* r = reinterpret_cast<FrameUserRecord*>(win::GetWindowLongPtrA(bar, win::GWLP_USERDATA));
    if (!r) return nullptr;
    for (const WindowSlot& slot : windowSystem().slots)
        if (slot.record.get() == r) return r->kind() == KindSplit ? r : nullptr;
    return nullptr;
}

}  // namespace

win::LRESULT SplitterProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    FrameUserRecord* r = splitRecordOfBar(h);
    if (!r) return msg == win::WM_DESTROY ? 0 : win::DefWindowProcA(h, msg, wp, lp);
    const bool rows = (r->words[SplitFlags] & kSplitStacked) != 0;
    const bool fixed = SplitPaneFixed(*r, 0, rows ? 1 : 0) || SplitPaneFixed(*r, 1, rows ? 1 : 0);
    switch (msg) {
        case win::WM_NCHITTEST:
            return fixed ? win::HTBORDER : win::HTCAPTION;
        case win::WM_SETCURSOR:
            return fixed ? win::TRUE : win::DefWindowProcA(h, msg, wp, lp);
        case win::WM_ENTERSIZEMOVE: {
            // The coordinate along the bar stays; the bar moves across the split.
            win::RECT rc{};
            win::GetWindowRect(h, &rc);
            r->words[SplitDragPosition] = rows ? rc.left : rc.top;
            return 0;
        }
        case win::WM_EXITSIZEMOVE:
            r->words[SplitDragPosition] = kNoRememberedRect;
            return 0;
        case win::WM_MOVING: {
            auto* rc = reinterpret_cast<win::RECT*>(lp);
            const auto keep = static_cast<win::LONG>(r->words[SplitDragPosition]);
            if (rc && r->words[SplitDragPosition] != kNoRememberedRect) {
                if (rows) {
                    rc->right += keep - rc->left;
                    rc->left = keep;
                } else {
                    rc->bottom += keep - rc->top;
                    rc->top = keep;
                }
            }
            return win::TRUE;
        }
        case win::WM_MOVE:
            if (r->words[SplitDragPosition] != kNoRememberedRect) SplitBarMoved(*r);
            return 0;
        case win::WM_SETFOCUS:
            if (win::HWND pane = r->handle(SplitFocusedPane)) win::SetFocus(pane);
            return 0;
        case win::WM_DESTROY:
            return 0;
        case win::WM_NCLBUTTONDOWN:
        case win::WM_NCMBUTTONDOWN:
        case win::WM_NCRBUTTONDOWN: {
            int button = msg == win::WM_NCLBUTTONDOWN ? 1 : msg == win::WM_NCMBUTTONDOWN ? 2 : 3;
            int container = static_cast<int>(r->words[SplitOwnWindow]);
            if (windowIsOpen(container))
                EventPost(NonClientMouseDown, button, 0, 0, windowSystem().slots[container].frame);
            return win::DefWindowProcA(h, msg, wp, lp);
        }
        default:
            return win::DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace tk
