// Keyboard focus, window activation and mouse capture, with their messages in
// the order Windows sends them: the window losing something hears of it first
// and learns who gains it.

#include "platform/window/window_state.h"

namespace win {
namespace detail {
namespace {

bool canActivate(const Window* w) {
    return w && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED) && w->cls->name != "#32768";
}

void setAppActive(bool active) {
    auto& s = state();
    if (s.appActive == active) return;
    s.appActive = active;
    for (Window* t : std::vector<Window*>(s.desktop->children))
        if (findWindow(t->handle)) sendMessage(t, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

}  // namespace

bool activateWindow(Window* w, WORD how) {
    auto& s = state();
    w = topLevelOf(w);
    if (!w) return false;
    const HWND h = w->handle;
    if (s.active == h) return true;
    const HWND old = s.active;
    if (Window* o = findWindow(old)) {
        o->ncActive = FALSE;
        sendMessage(o, WM_NCACTIVATE, FALSE, 0);
        if (findWindow(old))
            sendMessage(o, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (o->style & WS_MINIMIZE) ? 1 : 0),
                        reinterpret_cast<LPARAM>(h));
    }
    if (!findWindow(h)) return false;
    s.active = h;
    // Only the window a hand-back was made for may still take it.
    if (h != s.handBackFrom) s.handBackTo = s.handBackFrom = nullptr;
    if (old) w->activatedFrom = old;
    setAppActive(true);
    if (!findWindow(h)) return false;
    if (w->parent->children.front() != w) {
        unlinkFromParent(w);
        linkToParent(w, s.desktop, HWND_TOP);
    }
    w->ncActive = TRUE;
    sendMessage(w, WM_NCACTIVATE, TRUE, 0);
    if (!findWindow(h)) return false;
    sendMessage(w, WM_ACTIVATE, MAKEWPARAM(how, (w->style & WS_MINIMIZE) ? 1 : 0),
                reinterpret_cast<LPARAM>(old));
    // A window that did not take the focus on activation leaves nobody with it.
    if (Window* f = findWindow(s.focus); f && s.active == h && topLevelOf(f) != w)
        SetFocus(nullptr);
    return findWindow(h) != nullptr;
}

// The window that opened LEAVING, as far back as one still shown: the one the
// user was working in before.
Window* openerOf(Window* leaving) {
    Window* w = leaving;
    for (int depth = 0; depth < 64 && w; ++depth) {
        Window* from = findWindow(w->activatedFrom);
        if (!from || from == leaving) return nullptr;
        if ((from->style & WS_VISIBLE) && !(from->style & WS_MINIMIZE) &&
            from->cls->name != "#32768")
            return from;
        w = from;
    }
    return nullptr;
}

void activateOtherWindow(Window* leaving) {
    auto& s = state();
    Window* next = nullptr;
    Window* opener = openerOf(leaving);
    if (opener && canActivate(opener)) next = opener;
    if (Window* o = next ? nullptr : findWindow(leaving->owner); o && canActivate(o) && o != leaving)
        next = o;
    if (!next)
        for (Window* t : s.desktop->children)
            if (t != leaving && canActivate(t) && !(t->style & WS_MINIMIZE)) {
                next = t;
                break;
            }
    if (next) {
        activateWindow(next, WA_ACTIVE);
        // An opener disabled by the box that went takes over when enabled.
        if (opener && next != opener && s.active == next->handle) {
            s.handBackTo = opener->handle;
            s.handBackFrom = next->handle;
        }
        return;
    }
    const HWND old = s.active;
    if (Window* o = findWindow(old)) {
        o->ncActive = FALSE;
        sendMessage(o, WM_NCACTIVATE, FALSE, 0);
        if (findWindow(old)) sendMessage(o, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    }
    s.active = nullptr;
    if (s.focus) SetFocus(nullptr);
    setAppActive(false);
}

void takeHandedBackActivation(Window* enabled) {
    auto& s = state();
    if (!enabled || enabled->handle != s.handBackTo) return;
    const HWND from = s.handBackFrom;
    s.handBackTo = s.handBackFrom = nullptr;
    if (s.active == from && canActivate(enabled)) activateWindow(enabled, WA_ACTIVE);
}

}  // namespace detail

using namespace detail;

HWND SetFocus(HWND hwnd) {
    auto& s = state();
    const HWND old = s.focus;
    if (!hwnd) {
        if (old) {
            s.focus = nullptr;
            if (Window* o = findWindow(old)) sendMessage(o, WM_KILLFOCUS, 0, 0);
        }
        return old;
    }
    Window* w = findWindow(hwnd);
    if (!w || w == s.desktop) return nullptr;
    Window* top = topLevelOf(w);
    if (s.active != top->handle) {
        if (!activateWindow(top, WA_ACTIVE)) return nullptr;
        if (!findWindow(hwnd)) return nullptr;
    }
    const HWND before = s.focus;
    if (before == hwnd) return before == old ? old : before;
    // As on Windows, the focus moves before the old window hears of it, so a
    // window that takes the focus back while losing it (a field refusing its
    // content) keeps it, and the new window is not told it has the focus.
    s.focus = hwnd;
    if (Window* b = findWindow(before)) {
        sendMessage(b, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
        if (!findWindow(hwnd)) {
            if (s.focus == hwnd) s.focus = nullptr;
            return before;
        }
        if (s.focus != hwnd) return old;
    }
    sendMessage(w, WM_SETFOCUS, reinterpret_cast<WPARAM>(findWindow(before) ? before : nullptr), 0);
    return old;
}

HWND GetFocus() {
    return state().focus;
}

HWND SetActiveWindow(HWND hwnd) {
    auto& s = state();
    const HWND old = s.active;
    Window* w = findWindow(hwnd);
    if (!w) return nullptr;
    activateWindow(w, WA_ACTIVE);
    return old;
}

HWND GetActiveWindow() {
    return state().active;
}
BOOL SetForegroundWindow(HWND hwnd) {
    return SetActiveWindow(hwnd) || state().active == hwnd;
}
HWND GetForegroundWindow() {
    return state().active;
}

HWND SetCapture(HWND hwnd) {
    auto& s = state();
    const HWND old = s.capture;
    if (!findWindow(hwnd)) return old;
    s.capture = hwnd;
    if (old && old != hwnd)
        if (Window* o = findWindow(old))
            sendMessage(o, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

BOOL ReleaseCapture() {
    auto& s = state();
    const HWND old = s.capture;
    s.capture = nullptr;
    if (Window* o = findWindow(old)) sendMessage(o, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    return state().capture;
}

}  // namespace win
