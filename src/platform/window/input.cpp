// Device input: the state of keys, buttons and the pointer, events turned
// into mouse and keyboard messages when they reach the front of the queue,
// the injection calls of the robot and the presenter, and TranslateMessage.

#include <algorithm>
#include <cstdlib>
#include <deque>

#include "platform/window/clock.h"
#include "platform/window/input_queue.h"
#include "platform/window/presenter.h"
#include "platform/window/window_internal.h"

namespace win {
namespace detail {
namespace {

std::uint64_t now() {
    return currentClock().nowMs();
}

WPARAM mouseKeyFlags() {
    const auto& k = state().keyState;
    WPARAM f = 0;
    if (k[VK_LBUTTON] & 0x80) f |= MK_LBUTTON;
    if (k[VK_RBUTTON] & 0x80) f |= MK_RBUTTON;
    if (k[VK_MBUTTON] & 0x80) f |= MK_MBUTTON;
    if (k[VK_SHIFT] & 0x80) f |= MK_SHIFT;
    if (k[VK_CONTROL] & 0x80) f |= MK_CONTROL;
    return f;
}

LPARAM pointParam(POINT p) {
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

void setKey(int vk, bool down) {
    auto& k = state().keyState;
    if (down) {
        if (!(k[vk] & 0x80)) k[vk] ^= 0x01;  // toggle on each press
        k[vk] |= 0x80;
    } else {
        k[vk] &= static_cast<BYTE>(~0x80);
    }
}

void setKeyWithSides(int vk, bool down) {
    setKey(vk, down);
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) setKey(VK_SHIFT, down);
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) setKey(VK_CONTROL, down);
    if (vk == VK_LMENU || vk == VK_RMENU) setKey(VK_MENU, down);
}

// The window under a transparent child (a group box, a label): a sibling
// further down the z-order under the point (its innermost child there), else
// the parent.
Window* windowBeneath(Window* w, POINT pt) {
    Window* parent = w->parent;
    auto it = std::find(parent->children.begin(), parent->children.end(), w);
    if (it == parent->children.end()) return parent;
    for (++it; it != parent->children.end(); ++it) {
        Window* c = *it;
        if (!(c->style & WS_VISIBLE) || !pointIn(windowRectOnScreen(c), pt)) continue;
        if (c->style & WS_DISABLED) return parent;
        for (;;) {
            const RECT client =
                offsetRect(clientRectInWindow(c), windowRectOnScreen(c).left, windowRectOnScreen(c).top);
            if (!pointIn(client, pt)) return c;
            Window* inner = nullptr;
            for (Window* k : c->children)
                if ((k->style & WS_VISIBLE) && pointIn(windowRectOnScreen(k), pt)) {
                    inner = k;
                    break;
                }
            if (!inner || (inner->style & WS_DISABLED)) return c;
            c = inner;
        }
    }
    return parent;
}

// Mouse input: the window under the pointer (or holding the capture) learns
// where the pointer is, may be activated, and gets a client or non-client
// mouse message.
bool convertMouse(const InputEvent& ev, MSG& out) {
    auto& s = state();
    const int buttonVk[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
    const UINT downMsg[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    const UINT upMsg[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    const UINT dblMsg[3] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
    if (ev.kind == InputKind::ButtonDown) setKey(buttonVk[ev.button], true);
    if (ev.kind == InputKind::ButtonUp) setKey(buttonVk[ev.button], false);
    out.pt = ev.pt;
    out.time = static_cast<DWORD>(ev.time);

    if (ev.kind == InputKind::Wheel) {
        Window* w = findWindow(s.focus);
        if (!w) w = findWindow(s.active);
        if (!w) return false;
        out.hwnd = w->handle;
        out.message = WM_MOUSEWHEEL;
        out.wParam = MAKEWPARAM(static_cast<WORD>(mouseKeyFlags()), static_cast<WORD>(ev.delta));
        out.lParam = pointParam(ev.pt);
        return true;
    }

    Window* w = nullptr;
    LRESULT hit = HTCLIENT;
    if (Window* c = findWindow(s.capture)) {
        w = c;
    } else {
        w = windowFromScreenPoint(ev.pt);
        while (w) {
            hit = sendMessage(w, WM_NCHITTEST, 0, pointParam(ev.pt));
            if (hit != HTTRANSPARENT || !(w->style & WS_CHILD)) break;
            w = windowBeneath(w, ev.pt);
        }
        if (!w || !findWindow(w->handle)) return false;
        if (!isEnabledChain(w)) {
            if (ev.kind == InputKind::ButtonDown) MessageBeep(0);
            return false;
        }
    }
    const HWND h = w->handle;
    UINT msg = WM_MOUSEMOVE;
    if (ev.kind == InputKind::ButtonDown) {
        msg = downMsg[ev.button];
        const bool client = hit == HTCLIENT;
        const bool dblAllowed = !client || (w->cls->style & CS_DBLCLKS);
        const int dx = std::abs(ev.pt.x - s.lastClickPos.x);
        const int dy = std::abs(ev.pt.y - s.lastClickPos.y);
        if (dblAllowed && s.lastClickWindow == h && s.lastClickButton == ev.button &&
            s.lastClickHit == hit && ev.time - s.lastClickTime <= 500 &&
            dx <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
            dy <= GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
            msg = dblMsg[ev.button];
            s.lastClickWindow = nullptr;
        } else {
            s.lastClickWindow = h;
            s.lastClickButton = ev.button;
            s.lastClickTime = ev.time;
            s.lastClickPos = ev.pt;
            s.lastClickHit = hit;
        }
        Window* top = topLevelOf(w);
        if (!s.capture && top && s.active != top->handle && top->cls->name != "#32768") {
            const LRESULT r = sendMessage(
                w, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle),
                MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(downMsg[ev.button])));
            if (!findWindow(h)) return false;
            if (r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) activateWindow(top, WA_CLICKACTIVE);
            if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT) return false;
            if (!findWindow(h)) return false;
        }
    } else if (ev.kind == InputKind::ButtonUp) {
        msg = upMsg[ev.button];
    }
    if (!s.capture && ev.kind != InputKind::ButtonUp) {
        sendMessage(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(h),
                    MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(msg)));
        if (!findWindow(h)) return false;
    }
    out.hwnd = h;
    if (hit == HTCLIENT) {
        POINT p = ev.pt;
        ScreenToClient(h, &p);
        out.message = msg;
        out.wParam = mouseKeyFlags();
        out.lParam = pointParam(p);
    } else {
        out.message = msg - (WM_MOUSEMOVE - WM_NCMOUSEMOVE);
        out.wParam = static_cast<WPARAM>(hit);
        out.lParam = pointParam(ev.pt);
    }
    s.lastMouseWindow = h;
    return true;
}

bool convertKey(const InputEvent& ev, MSG& out) {
    auto& s = state();
    out.pt = s.cursorPos;
    out.time = static_cast<DWORD>(ev.time);
    if (ev.kind == InputKind::Char) {
        Window* w = findWindow(s.focus);
        if (!w) return false;
        out.hwnd = w->handle;
        out.message = WM_CHAR;
        out.wParam = ev.ch;
        out.lParam = 1;
        return true;
    }
    const bool down = ev.kind == InputKind::KeyDown;
    const bool wasDown = (s.keyState[ev.vk] & 0x80) != 0;
    setKeyWithSides(ev.vk, down);
    const bool alt = (s.keyState[VK_MENU] & 0x80) != 0;
    const bool ctrl = (s.keyState[VK_CONTROL] & 0x80) != 0;
    Window* w = findWindow(s.focus);
    bool sys = (alt && !ctrl) || ev.vk == VK_F10 || (ev.vk == VK_MENU && !down);
    if (!w) {
        w = findWindow(s.active);
        sys = true;
    }
    if (!w) return false;
    out.hwnd = w->handle;
    out.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    out.wParam = static_cast<WPARAM>(ev.vk);
    DWORD lp = 1;
    if (alt) lp |= 1u << 29;
    if (down && wasDown) lp |= 1u << 30;
    if (!down) lp |= (1u << 30) | (1u << 31);
    out.lParam = static_cast<LPARAM>(static_cast<LONG>(lp));
    return true;
}

std::deque<MSG> convertedInput;

bool convertNextInput() {
    auto& s = state();
    while (!s.input.empty()) {
        const InputEvent ev = s.input.front();
        s.input.pop_front();
        MSG m;
        const bool made = (ev.kind == InputKind::KeyDown || ev.kind == InputKind::KeyUp ||
                           ev.kind == InputKind::Char)
                              ? convertKey(ev, m)
                              : convertMouse(ev, m);
        if (made) {
            convertedInput.push_back(m);
            return true;
        }
    }
    return false;
}

}  // namespace

void clearConvertedInput() {
    convertedInput.clear();
}

// The first input message that passes the filter, converting device events
// as far as needed.
bool takeInputMessage(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    if (!rangeIncludes(min, max, WM_KEYFIRST, WM_KEYLAST) &&
        !rangeIncludes(min, max, WM_MOUSEFIRST, WM_MOUSELAST) &&
        !rangeIncludes(min, max, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK))
        return false;
    for (;;) {
        for (auto it = convertedInput.begin(); it != convertedInput.end(); ++it) {
            if (!messageMatches(*it, filter, min, max)) continue;
            *out = *it;
            if (remove) convertedInput.erase(it);
            return true;
        }
        if (!convertNextInput()) return false;
    }
}

InputEvent nextRawInput() {
    auto& s = state();
    for (;;) {
        if (Presenter* p = currentPresenter()) p->poll();
        if (!s.input.empty()) {
            const InputEvent ev = s.input.front();
            s.input.pop_front();
            const int buttonVk[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
            if (ev.kind == InputKind::KeyDown || ev.kind == InputKind::KeyUp)
                setKeyWithSides(ev.vk, ev.kind == InputKind::KeyDown);
            if (ev.kind == InputKind::ButtonDown || ev.kind == InputKind::ButtonUp)
                setKey(buttonVk[ev.button], ev.kind == InputKind::ButtonDown);
            // A press taken by a menu or a move loop is a click of its own:
            // the next press must not pair with the one before it into a
            // double click (a menu title clicked again after choosing an item).
            if (ev.kind == InputKind::ButtonDown) s.lastClickWindow = nullptr;
            s.messageTime = static_cast<DWORD>(ev.time);
            if (ev.kind != InputKind::KeyDown && ev.kind != InputKind::KeyUp &&
                ev.kind != InputKind::Char)
                s.messagePos = ev.pt;
            return ev;
        }
        MSG m;
        if (fetchMessage(&m, nullptr, 0, 0, true, false)) {
            DispatchMessageA(&m);
            continue;
        }
        waitForWork();
    }
}

}  // namespace detail

using namespace detail;

SHORT GetKeyState(int vk) {
    if (vk < 0 || vk > 255) return 0;
    const BYTE k = state().keyState[vk];
    return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

SHORT GetAsyncKeyState(int vk) {
    return static_cast<SHORT>(GetKeyState(vk) & 0x8000);
}

BOOL GetCursorPos(POINT* pt) {
    if (!pt) return FALSE;
    *pt = state().cursorPos;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    injectMouseMove(x, y);
    return TRUE;
}

void injectMouseMove(int x, int y) {
    auto& s = state();
    InputEvent ev;
    ev.kind = InputKind::MouseMove;
    ev.pt = {x, y};
    ev.time = now();
    s.cursorPos = ev.pt;
    s.input.push_back(ev);
}

void injectMouseButton(int x, int y, int button, bool down) {
    auto& s = state();
    InputEvent ev;
    ev.kind = down ? InputKind::ButtonDown : InputKind::ButtonUp;
    ev.pt = {x, y};
    ev.button = std::clamp(button, 0, 2);
    ev.time = now();
    s.cursorPos = ev.pt;
    s.input.push_back(ev);
}

void injectMouseWheel(int x, int y, int delta) {
    auto& s = state();
    InputEvent ev;
    ev.kind = InputKind::Wheel;
    ev.pt = {x, y};
    ev.delta = delta;
    ev.time = now();
    s.input.push_back(ev);
}

void injectKey(int vk, bool down) {
    InputEvent ev;
    ev.kind = down ? InputKind::KeyDown : InputKind::KeyUp;
    ev.vk = vk & 0xFF;
    ev.time = now();
    state().input.push_back(ev);
}

void injectChar(unsigned char ch) {
    InputEvent ev;
    ev.kind = InputKind::Char;
    ev.ch = ch;
    ev.time = now();
    state().input.push_back(ev);
}

bool virtualKeyOfChar(unsigned char ch, int& vk, bool& shift) {
    static const char* const shifted = ")!@#$%^&*(";
    shift = false;
    if (ch >= 'a' && ch <= 'z') {
        vk = ch - 'a' + 'A';
        return true;
    }
    if (ch >= 'A' && ch <= 'Z') {
        vk = ch;
        shift = true;
        return true;
    }
    if (ch >= '0' && ch <= '9') {
        vk = ch;
        return true;
    }
    for (int i = 0; i < 10; ++i)
        if (shifted[i] == ch) {
            vk = '0' + i;
            shift = true;
            return true;
        }
    struct Oem {
        int vk;
        char plain, upper;
    };
    static const Oem oem[] = {
        {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'},
        {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
        {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},
        {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'}};
    for (const Oem& o : oem) {
        if (static_cast<unsigned char>(o.plain) == ch) {
            vk = o.vk;
            return true;
        }
        if (static_cast<unsigned char>(o.upper) == ch) {
            vk = o.vk;
            shift = true;
            return true;
        }
    }
    switch (ch) {
        case ' ':
            vk = VK_SPACE;
            return true;
        case '\r':
        case '\n':
            vk = VK_RETURN;
            return true;
        case '\t':
            vk = VK_TAB;
            return true;
        case '\b':
            vk = VK_BACK;
            return true;
        case 27:
            vk = VK_ESCAPE;
            return true;
        default:
            return false;
    }
}

void injectText(std::string_view text) {
    for (char c : text) {
        const auto ch = static_cast<unsigned char>(c);
        int vk = 0;
        bool shift = false;
        if (!virtualKeyOfChar(ch, vk, shift)) {
            injectChar(ch);
            continue;
        }
        if (shift) injectKey(VK_SHIFT, true);
        injectKey(vk, true);
        injectKey(vk, false);
        if (shift) injectKey(VK_SHIFT, false);
    }
}

bool inputPending() {
    return !state().input.empty() || !convertedInput.empty();
}

// The character a key gives on the US layout with the current key state, or 0.
namespace {
int characterOfKey(int vk) {
    const auto& k = state().keyState;
    const bool shift = (k[VK_SHIFT] & 0x80) != 0;
    const bool ctrl = (k[VK_CONTROL] & 0x80) != 0;
    const bool caps = (k[VK_CAPITAL] & 0x01) != 0;
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return vk - 'A' + 1;
        return (shift != caps) ? vk : vk - 'A' + 'a';
    }
    if (ctrl) {
        if (vk == VK_RETURN) return '\n';
        if (vk == VK_BACK) return 0x7F;
        return 0;
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return '0' + (vk - VK_NUMPAD0);
    switch (vk) {
        case VK_MULTIPLY:
            return '*';
        case VK_ADD:
            return '+';
        case VK_SUBTRACT:
            return '-';
        case VK_DECIMAL:
            return '.';
        case VK_DIVIDE:
            return '/';
        case VK_SPACE:
            return ' ';
        case VK_RETURN:
            return '\r';
        case VK_BACK:
            return '\b';
        case VK_TAB:
            return '\t';
        case VK_ESCAPE:
            return 27;
        default:
            break;
    }
    for (int c = 32; c < 127; ++c) {
        int v = 0;
        bool needShift = false;
        if (virtualKeyOfChar(static_cast<unsigned char>(c), v, needShift) && v == vk &&
            needShift == shift && !(c >= 'A' && c <= 'Z') && !(c >= 'a' && c <= 'z'))
            return c;
    }
    return 0;
}

}  // namespace

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
    const int ch = characterOfKey(static_cast<int>(msg->wParam));
    if (!ch) return FALSE;
    postMessage(msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                static_cast<WPARAM>(ch), msg->lParam);
    return TRUE;
}

}  // namespace win
