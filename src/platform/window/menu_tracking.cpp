// The menu loop: menu bars and pop-up menus opened with the mouse or the
// keyboard, drawn by the layer, and the choice sent back to the owner as
// WM_COMMAND (WM_SYSCOMMAND for the system menu).

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/window/layer_drawing.h"
#include "platform/window/menu_internal.h"
#include "platform/window/screen.h"
#include "platform/window/window_internal.h"

namespace win::detail {

RECT menuBarRectInWindow(Window* w);

namespace {

struct Level {
    HMENU menu = nullptr;
    HWND window = nullptr;  // null for the menu bar
    int selected = -1;
};

struct Tracker {
    HWND owner = nullptr;
    bool bar = false;        // level 0 is the owner's menu bar
    bool popupMode = false;  // started by TrackPopupMenu
    bool system = false;
    bool notify = true;
    std::vector<Level> levels;
    bool done = false;
    UINT command = 0;
    bool chosen = false;
};

Tracker* running = nullptr;
std::map<HWND, HMENU> popupWindows;

Window* owner(Tracker& t) {
    return findWindow(t.owner);
}

void notifySelect(Tracker& t, std::size_t level, bool mouse) {
    if (!t.notify) return;
    Level& l = t.levels[level];
    Menu* m = findMenu(l.menu);
    Window* o = owner(t);
    if (!m || !o) return;
    if (l.selected < 0 || l.selected >= static_cast<int>(m->items.size())) {
        sendMessage(o, WM_MENUSELECT, MAKEWPARAM(0, 0), reinterpret_cast<LPARAM>(l.menu));
        return;
    }
    const MenuItem& it = m->items[static_cast<std::size_t>(l.selected)];
    UINT flags = (it.state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) | MF_HILITE | it.type;
    if (it.subMenu) flags |= MF_POPUP;
    if (mouse) flags |= MF_MOUSESELECT;
    if (t.system) flags |= MF_SYSMENU;
    const WORD idOrIndex = it.subMenu ? static_cast<WORD>(l.selected) : static_cast<WORD>(it.id);
    sendMessage(o, WM_MENUSELECT, MAKEWPARAM(idOrIndex, static_cast<WORD>(flags)),
                reinterpret_cast<LPARAM>(l.menu));
}

void redraw(Tracker& t, std::size_t level) {
    Level& l = t.levels[level];
    if (l.window)
        InvalidateRect(l.window, nullptr, TRUE);
    else if (Window* o = owner(t))
        o->frameDirty = true;
}

void select(Tracker& t, std::size_t level, int index, bool mouse) {
    Level& l = t.levels[level];
    if (l.selected == index) return;
    l.selected = index;
    redraw(t, level);
    notifySelect(t, level, mouse);
}

void closeAfter(Tracker& t, std::size_t level) {
    while (t.levels.size() > level + 1) {
        const Level l = t.levels.back();
        t.levels.pop_back();
        if (l.window) {
            popupWindows.erase(l.window);
            DestroyWindow(l.window);
        }
        if (Window* o = owner(t); o && t.notify)
            sendMessage(o, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(l.menu), 0);
    }
}

int firstSelectable(HMENU menu) {
    Menu* m = findMenu(menu);
    if (!m) return -1;
    for (std::size_t i = 0; i < m->items.size(); ++i)
        if (selectable(m->items[i])) return static_cast<int>(i);
    return -1;
}

RECT popupItemScreenRect(const Level& l, int index) {
    Menu* m = findMenu(l.menu);
    RECT wr;
    GetWindowRect(l.window, &wr);
    return offsetRect(m->items[static_cast<std::size_t>(index)].rect, wr.left, wr.top);
}

HWND showPopup(Tracker& t, HMENU menu, int x, int y, UINT flags) {
    const SIZE size = layoutPopup(findMenu(menu));
    const ScreenConfig& sc = screenConfig();
    if (flags & TPM_RIGHTALIGN)
        x -= size.cx;
    else if (flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    if (flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    else if (flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    x = std::clamp<int>(x, 0, std::max<int>(0, sc.width - size.cx));
    y = std::clamp<int>(y, 0, std::max<int>(0, sc.height - size.cy));
    HWND h =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "#32768", "", WS_POPUP | WS_CLIPSIBLINGS,
                        x, y, size.cx, size.cy, t.owner, nullptr, nullptr, nullptr);
    popupWindows[h] = menu;
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return h;
}

void openSub(Tracker& t, std::size_t level, bool selectFirst) {
    closeAfter(t, level);
    Level& l = t.levels[level];
    Menu* m = findMenu(l.menu);
    if (!m || l.selected < 0) return;
    const MenuItem& it = m->items[static_cast<std::size_t>(l.selected)];
    if (!it.subMenu || !findMenu(it.subMenu) || !enabled(it)) return;
    const HMENU sub = it.subMenu;
    if (Window* o = owner(t); o && t.notify)
        sendMessage(o, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub),
                    MAKELPARAM(static_cast<WORD>(l.selected), t.system ? 1 : 0));
    if (!running || !owner(t)) return;
    POINT at;
    if (!l.window) {
        RECT r;
        menuBarItemScreenRect(t.owner, l.selected, r);
        at = {r.left, r.bottom};
    } else {
        const RECT r = popupItemScreenRect(l, l.selected);
        at = {r.right - kPopupBorder, r.top - kPopupBorder};
    }
    Level next;
    next.menu = sub;
    next.window = showPopup(t, sub, at.x, at.y, 0);
    t.levels.push_back(next);
    if (selectFirst) select(t, t.levels.size() - 1, firstSelectable(sub), false);
}

// Which level and item lie under a screen point; level -1 when none.
std::pair<int, int> locate(Tracker& t, POINT pt) {
    for (int level = static_cast<int>(t.levels.size()) - 1; level >= 0; --level) {
        Level& l = t.levels[static_cast<std::size_t>(level)];
        Menu* m = findMenu(l.menu);
        if (!m) continue;
        if (l.window) {
            RECT wr;
            GetWindowRect(l.window, &wr);
            if (!pointIn(wr, pt)) continue;
            for (std::size_t i = 0; i < m->items.size(); ++i)
                if (selectable(m->items[i]) &&
                    pointIn(offsetRect(m->items[i].rect, wr.left, wr.top), pt))
                    return {level, static_cast<int>(i)};
            return {level, -1};
        }
        for (std::size_t i = 0; i < m->items.size(); ++i) {
            RECT r;
            if (menuBarItemScreenRect(t.owner, static_cast<int>(i), r) && pointIn(r, pt))
                return {level, static_cast<int>(i)};
        }
    }
    return {-1, -1};
}

void choose(Tracker& t, const MenuItem& it) {
    t.command = it.id;
    t.chosen = true;
    t.done = true;
}

void activateItem(Tracker& t, std::size_t level, bool mouse) {
    Level& l = t.levels[level];
    Menu* m = findMenu(l.menu);
    if (!m || l.selected < 0) return;
    const MenuItem& it = m->items[static_cast<std::size_t>(l.selected)];
    if (it.subMenu) {
        openSub(t, level, !mouse);
        return;
    }
    if (enabled(it))
        choose(t, it);
    else if (!mouse)
        t.done = true;
}

void moveSelection(Tracker& t, std::size_t level, int step) {
    Level& l = t.levels[level];
    Menu* m = findMenu(l.menu);
    if (!m || m->items.empty()) return;
    const int n = static_cast<int>(m->items.size());
    int i = l.selected;
    for (int k = 0; k < n; ++k) {
        i = ((i < 0 ? (step > 0 ? -1 : 0) : i) + step + n) % n;
        if (selectable(m->items[static_cast<std::size_t>(i)])) break;
    }
    select(t, level, i, false);
}

bool mnemonic(Tracker& t, int ch) {
    const std::size_t level = t.levels.size() - 1;
    Level& l = t.levels[level];
    Menu* m = findMenu(l.menu);
    if (!m) return false;
    const char lower = static_cast<char>(std::tolower(ch));
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        if (mnemonicOf(m->items[i].text) != lower) continue;
        select(t, level, static_cast<int>(i), false);
        if (!l.window) {
            openSub(t, level, true);
            return true;
        }
        activateItem(t, level, false);
        return true;
    }
    if (Window* o = owner(t)) {
        const LRESULT r =
            sendMessage(o, WM_MENUCHAR, MAKEWPARAM(static_cast<WORD>(ch), l.window ? MF_POPUP : 0),
                        reinterpret_cast<LPARAM>(l.menu));
        if (HIWORD(static_cast<std::uintptr_t>(r)) == 2) {
            select(t, level, LOWORD(static_cast<std::uintptr_t>(r)), false);
            activateItem(t, level, false);
            return true;
        }
        if (HIWORD(static_cast<std::uintptr_t>(r)) == 1) {
            t.done = true;
            return true;
        }
    }
    return false;
}

int keyCharacter(int vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::tolower(vk);
    return 0;
}

void onKey(Tracker& t, int vk) {
    const std::size_t deepest = t.levels.size() - 1;
    const bool inBar = t.bar && deepest == 0;
    switch (vk) {
        case VK_ESCAPE:
            if (deepest > 0)
                closeAfter(t, deepest - 1);
            else
                t.done = true;
            if (t.popupMode && deepest == 0) t.done = true;
            return;
        case VK_MENU:
        case VK_F10:
            t.done = true;
            return;
        case VK_F1: {
            // Help on the selected item goes to the owner.
            Level& l = t.levels[deepest];
            Menu* m = findMenu(l.menu);
            if (!m || l.selected < 0) return;
            HELPINFO info;
            info.iContextType = HELPINFO_MENUITEM;
            info.iCtrlId = static_cast<int>(m->items[static_cast<std::size_t>(l.selected)].id);
            info.hItemHandle = l.menu;
            GetCursorPos(&info.MousePos);
            if (Window* o = owner(t)) sendMessage(o, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
            return;
        }
        case VK_LEFT:
        case VK_RIGHT: {
            if (vk == VK_RIGHT && !inBar) {
                Level& l = t.levels[deepest];
                Menu* m = findMenu(l.menu);
                if (m && l.selected >= 0 &&
                    m->items[static_cast<std::size_t>(l.selected)].subMenu) {
                    openSub(t, deepest, true);
                    return;
                }
            }
            if (vk == VK_LEFT && deepest >= 2) {
                closeAfter(t, deepest - 1);
                return;
            }
            if (!t.bar) return;
            const bool wasOpen = t.levels.size() > 1;
            closeAfter(t, 0);
            moveSelection(t, 0, vk == VK_RIGHT ? 1 : -1);
            if (wasOpen) openSub(t, 0, true);
            return;
        }
        case VK_UP:
        case VK_DOWN:
            if (inBar)
                openSub(t, 0, true);
            else
                moveSelection(t, deepest, vk == VK_DOWN ? 1 : -1);
            return;
        case VK_RETURN:
            activateItem(t, deepest, false);
            return;
        default:
            break;
    }
    if (const int ch = keyCharacter(vk); ch && !mnemonic(t, ch)) MessageBeep(0);
}

void onMouse(Tracker& t, const InputEvent& ev) {
    const auto [level, index] = locate(t, ev.pt);
    if (ev.kind == InputKind::ButtonDown) {
        if (level < 0) {
            t.done = true;
            return;
        }
        const auto lv = static_cast<std::size_t>(level);
        if (!t.levels[lv].window) {
            if (index == t.levels[0].selected && t.levels.size() > 1) {
                t.done = true;
                return;
            }
            select(t, 0, index, true);
            openSub(t, 0, false);
            return;
        }
        select(t, lv, index, true);
        return;
    }
    if (level < 0) return;
    const auto lv = static_cast<std::size_t>(level);
    if (ev.kind == InputKind::MouseMove) {
        if (!t.levels[lv].window) {
            if (index >= 0 && index != t.levels[0].selected && t.levels.size() > 1) {
                select(t, 0, index, true);
                openSub(t, 0, false);
            }
            return;
        }
        if (index == t.levels[lv].selected) return;
        closeAfter(t, lv);
        select(t, lv, index, true);
        Menu* m = findMenu(t.levels[lv].menu);
        if (index >= 0 && m && m->items[static_cast<std::size_t>(index)].subMenu)
            openSub(t, lv, false);
        return;
    }
    if (ev.kind == InputKind::ButtonUp && t.levels[lv].window && index >= 0) {
        select(t, lv, index, true);
        activateItem(t, lv, true);
    }
}

// Makes a tracker the running one for as long as it lives, even when a
// robot step throws out of the loop.
struct RunningGuard {
    Tracker* outer;
    explicit RunningGuard(Tracker& t) : outer(running) {
        running = &t;
        ++state().menuLoopDepth;
    }
    ~RunningGuard() {
        running = outer;
        --state().menuLoopDepth;
    }
    RunningGuard(const RunningGuard&) = delete;
    RunningGuard& operator=(const RunningGuard&) = delete;
};

UINT runLoop(Tracker& t) {
    while (!t.done && owner(t)) {
        const InputEvent ev = nextRawInput();
        switch (ev.kind) {
            case InputKind::KeyDown:
                onKey(t, ev.vk);
                break;
            case InputKind::Char:
                if (!mnemonic(t, ev.ch)) MessageBeep(0);
                break;
            case InputKind::MouseMove:
            case InputKind::ButtonDown:
            case InputKind::ButtonUp:
                onMouse(t, ev);
                break;
            default:
                break;
        }
    }
    closeAfter(t, 0);
    if (t.levels[0].window) {
        popupWindows.erase(t.levels[0].window);
        DestroyWindow(t.levels[0].window);
    }
    if (Window* o = owner(t)) o->frameDirty = true;
    if (Window* o = owner(t); o && t.notify) {
        sendMessage(o, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        if (findWindow(t.owner)) sendMessage(o, WM_EXITMENULOOP, t.popupMode ? TRUE : FALSE, 0);
    }
    return t.chosen ? t.command : 0;
}

void startLoop(Tracker& t) {
    if (Window* o = owner(t); o && t.notify) {
        sendMessage(o, WM_ENTERMENULOOP, t.popupMode ? TRUE : FALSE, 0);
        if (findWindow(t.owner))
            sendMessage(o, WM_INITMENU, reinterpret_cast<WPARAM>(t.levels[0].menu), 0);
    }
}

void post(Tracker& t, UINT command) {
    if (!t.chosen || !findWindow(t.owner)) return;
    if (t.system)
        postMessage(t.owner, WM_SYSCOMMAND, command, 0);
    else
        postMessage(t.owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
}

}  // namespace

int trackedSelection(HWND window, bool menuBar) {
    if (!running) return -1;
    if (menuBar)
        return (running->bar && running->owner == window) ? running->levels[0].selected : -1;
    for (const Level& l : running->levels)
        if (l.window == window) return l.selected;
    return -1;
}

void resetMenuLoop() {
    running = nullptr;
    popupWindows.clear();
}

void trackMenuBar(HWND hwnd, bool byMouse, POINT pt, int ch) {
    Window* w = findWindow(hwnd);
    if (!w || running) return;
    Tracker t;
    t.owner = hwnd;
    RunningGuard guard(t);
    const bool systemMenu =
        (byMouse && nonClientHitTest(w, pt) == HTSYSMENU) || (!byMouse && ch == ' ');
    if (systemMenu) {
        if (!(w->style & WS_SYSMENU)) return;
        t.system = true;
        Level l;
        l.menu = GetSystemMenu(hwnd, FALSE);
        // What the window can do now decides which commands are offered.
        const bool minimized = (w->style & WS_MINIMIZE) != 0,
                   maximized = (w->style & WS_MAXIMIZE) != 0;
        auto offer = [&](UINT cmd, bool can) {
            EnableMenuItem(l.menu, cmd, can ? MF_ENABLED : MF_GRAYED);
        };
        offer(SC_RESTORE, minimized || maximized);
        offer(SC_MOVE, !maximized);
        offer(SC_SIZE, (w->style & WS_THICKFRAME) && !minimized && !maximized);
        offer(SC_MINIMIZE, (w->style & WS_MINIMIZEBOX) && !minimized);
        offer(SC_MAXIMIZE, (w->style & WS_MAXIMIZEBOX) && !maximized);
        offer(SC_CLOSE, !(w->cls->style & CS_NOCLOSE));
        t.levels.push_back(l);
        startLoop(t);
        const RECT wr = windowRectOnScreen(w);
        const int b = nonClientInsets(w->style, w->exStyle, false, 0).left;
        if (Window* o = owner(t); o && t.notify)
            sendMessage(o, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(l.menu), MAKELPARAM(0, 1));
        t.levels[0].window =
            showPopup(t, l.menu, wr.left + b, wr.top + b + GetSystemMetrics(SM_CYCAPTION), 0);
        if (!byMouse) select(t, 0, firstSelectable(l.menu), false);
    } else {
        if (!w->menu || !findMenu(w->menu)) return;
        t.bar = true;
        Level l;
        l.menu = w->menu;
        t.levels.push_back(l);
        layoutMenuBar(hwnd);
        if (!byMouse && ch != 0) {
            // Alt with a letter opens the title with that mnemonic, or nothing.
            bool found = false;
            for (const MenuItem& it : findMenu(w->menu)->items)
                found = found || mnemonicOf(it.text) == std::tolower(ch);
            if (!found) {
                MessageBeep(0);
                return;
            }
        }
        startLoop(t);
        if (!findWindow(hwnd)) return;
        if (byMouse) {
            const auto [level, index] = locate(t, pt);
            if (level < 0 || index < 0) {
                t.done = true;
            } else {
                select(t, 0, index, true);
                openSub(t, 0, false);
            }
        } else if (ch == 0) {
            select(t, 0, firstSelectable(w->menu), false);
        } else {
            mnemonic(t, ch);
        }
    }
    const UINT cmd = runLoop(t);
    post(t, cmd);
}

UINT trackPopup(HMENU menu, UINT flags, int x, int y, HWND ownerWindow) {
    if (running) return 0;
    Tracker t;
    t.owner = ownerWindow;
    t.popupMode = true;
    t.notify = !(flags & TPM_NONOTIFY);
    RunningGuard guard(t);
    Level l;
    l.menu = menu;
    t.levels.push_back(l);
    startLoop(t);
    if (!findWindow(ownerWindow)) return 0;
    if (t.notify)
        sendMessage(owner(t), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, 0));
    if (!findWindow(ownerWindow) || !findMenu(menu)) return 0;
    t.levels[0].window = showPopup(t, menu, x, y, flags);
    const UINT cmd = runLoop(t);
    if (!(flags & TPM_RETURNCMD)) post(t, cmd);
    return cmd;
}

LRESULT menuPopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            paintPopup(hwnd);
            ValidateRect(hwnd, nullptr);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

std::vector<HWND> openPopupWindows() {
    std::vector<HWND> out;
    if (running)
        for (const Level& l : running->levels)
            if (l.window) out.push_back(l.window);
    return out;
}

HMENU popupWindowMenu(HWND popupWindow) {
    const auto it = popupWindows.find(popupWindow);
    return it == popupWindows.end() ? nullptr : it->second;
}

}  // namespace win::detail
