// msctls_updown32: two arrow buttons that step a position (and the number in
// a buddy field) faster the longer they are held.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/window/scroll_api.h"

namespace win::controls {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstDelay = 400;
constexpr UINT kRepeatDelay = 100;

struct UpDown {
    int lower = 100;  // Windows' initial range runs from 100 down to 0
    int upper = 0;
    int pos = 0;
    HWND buddy = nullptr;
    std::vector<UDACCEL> accel{{0, 1}, {2, 5}, {5, 20}};
    int base = 10;
    int pressed = 0;  // 0 none, 1 up (towards upper), -1 down
    DWORD pressedAt = 0;
};

Records<UpDown>& records() {
    static Records<UpDown> r;
    return r;
}

// Buddies with arrow keys pass them to their up-down control.
struct BuddyLink {
    WNDPROC original = nullptr;
    HWND upDown = nullptr;
};
std::unordered_map<HWND, BuddyLink>& buddyLinks() {
    static std::unordered_map<HWND, BuddyLink> m;
    return m;
}

bool horizontal(HWND h) {
    return (styleOf(h) & UDS_HORZ) != 0;
}

std::string formatted(HWND h, const UpDown& u, int value) {
    char buf[32];
    if (u.base == 16) {
        std::snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(value));
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%d", std::abs(value));
    std::string digits = buf;
    if (!(styleOf(h) & UDS_NOTHOUSANDS))
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(static_cast<std::size_t>(i), ",");
    return value < 0 ? "-" + digits : digits;
}

// The buddy's number, thousands separators allowed; false when it has none.
bool buddyValue(const UpDown& u, int& value) {
    char buf[64];
    GetWindowTextA(u.buddy, buf, sizeof buf);
    std::string s;
    for (char* p = buf; *p; ++p)
        if (*p != ',' && *p != ' ') s += *p;
    if (s.empty()) return false;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, u.base == 16 ? 16 : 10);
    if (*end) return false;
    value = static_cast<int>(v);
    return true;
}

void syncFromBuddy(HWND h, UpDown& u) {
    if (!u.buddy || !(styleOf(h) & UDS_SETBUDDYINT)) return;
    int v = 0;
    if (buddyValue(u, v))
        u.pos = std::clamp(v, std::min(u.lower, u.upper), std::max(u.lower, u.upper));
}

void updateBuddy(HWND h, const UpDown& u) {
    if (u.buddy && (styleOf(h) & UDS_SETBUDDYINT))
        SetWindowTextA(u.buddy, formatted(h, u, u.pos).c_str());
}

int increment(const UpDown& u, DWORD heldMs) {
    int inc = u.accel.empty() ? 1 : static_cast<int>(u.accel[0].nInc);
    for (const UDACCEL& a : u.accel)
        if (heldMs >= a.nSec * 1000) inc = static_cast<int>(a.nInc);
    return inc;
}

void step(HWND h, UpDown& u, int direction, int inc) {
    syncFromBuddy(h, u);
    const int towardsUpper = u.upper >= u.lower ? 1 : -1;
    int delta = direction * inc * towardsUpper;
    NMUPDOWN nm;
    nm.iPos = u.pos;
    nm.iDelta = delta;
    if (notifyParent(h, UDN_DELTAPOS, &nm)) return;
    delta = nm.iDelta;
    const int lo = std::min(u.lower, u.upper), hi = std::max(u.lower, u.upper);
    int next = u.pos + delta;
    if (next > hi || next < lo) {
        if (styleOf(h) & UDS_WRAP)
            next = next > hi ? lo + (next - hi - 1) : hi - (lo - next - 1);
        else
            next = std::clamp(next, lo, hi);
    }
    if (next == u.pos && !(styleOf(h) & UDS_WRAP)) return;
    u.pos = next;
    updateBuddy(h, u);
    SendMessageA(GetParent(h), horizontal(h) ? WM_HSCROLL : WM_VSCROLL,
                 MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(u.pos)),
                 reinterpret_cast<LPARAM>(h));
}

void endScroll(HWND h) {
    SendMessageA(GetParent(h), horizontal(h) ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0),
                 reinterpret_cast<LPARAM>(h));
}

LRESULT buddyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto it = buddyLinks().find(h);
    if (it == buddyLinks().end()) return DefWindowProcA(h, msg, wp, lp);
    const BuddyLink link = it->second;
    if (msg == WM_KEYDOWN && (wp == VK_UP || wp == VK_DOWN) && IsWindow(link.upDown)) {
        if (UpDown* u = records().get(link.upDown)) {
            const bool repeat = (lp & (1 << 30)) != 0;
            if (!repeat) u->pressedAt = GetMessageTime();
            step(link.upDown, *u, wp == VK_UP ? 1 : -1,
                 increment(*u, repeat ? GetMessageTime() - u->pressedAt : 0));
            return 0;
        }
    }
    if (msg == WM_KEYUP && (wp == VK_UP || wp == VK_DOWN) && IsWindow(link.upDown))
        endScroll(link.upDown);
    if (msg == WM_NCDESTROY) {
        buddyLinks().erase(h);
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link.original));
    }
    return CallWindowProcA(link.original, h, msg, wp, lp);
}

void linkBuddy(HWND h, HWND buddy) {
    if (!buddy || !(styleOf(h) & UDS_ARROWKEYS) || buddyLinks().count(buddy)) return;
    BuddyLink link;
    link.upDown = h;
    link.original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(buddy, GWLP_WNDPROC));
    buddyLinks()[buddy] = link;
    SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buddyProc));
}

// With an alignment style the control sits on the buddy's edge, which gives
// up the room.
void attachBuddy(HWND h, UpDown& u, HWND buddy) {
    u.buddy = buddy;
    if (!buddy) return;
    linkBuddy(h, buddy);
    const DWORD style = styleOf(h);
    if (style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) {
        RECT br, mine;
        GetWindowRect(buddy, &br);
        GetWindowRect(h, &mine);
        POINT tl{br.left, br.top};
        ScreenToClient(GetParent(h), &tl);
        const int w = mine.right - mine.left, bw = br.right - br.left - w, bh = br.bottom - br.top;
        if (style & UDS_ALIGNRIGHT) {
            MoveWindow(buddy, tl.x, tl.y, bw, bh, TRUE);
            MoveWindow(h, tl.x + bw, tl.y, w, bh, TRUE);
        } else {
            MoveWindow(buddy, tl.x + w, tl.y, bw, bh, TRUE);
            MoveWindow(h, tl.x, tl.y, w, bh, TRUE);
        }
    }
    updateBuddy(h, u);
}

void halves(HWND h, RECT& first, RECT& second) {
    RECT rc;
    GetClientRect(h, &rc);
    if (horizontal(h)) {
        first = {rc.left, rc.top, rc.right / 2, rc.bottom};
        second = {rc.right / 2, rc.top, rc.right, rc.bottom};
    } else {
        first = {rc.left, rc.top, rc.right, rc.bottom / 2};
        second = {rc.left, rc.bottom / 2, rc.right, rc.bottom};
    }
}

void paint(HWND h, const UpDown& u) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT up, down;
    halves(h, up, down);
    if (horizontal(h)) std::swap(up, down);  // left arrow first, it steps down
    const COLORREF arrow = GetSysColor(IsWindowEnabled(h) ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    for (int i = 0; i < 2; ++i) {
        const RECT& r = i == 0 ? up : down;
        fillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
        const bool held = u.pressed == (i == 0 ? 1 : -1);
        if (held)
            FrameRect(dc, &r, sysBrush(COLOR_BTNSHADOW));
        else
            drawEdge(dc, r, true);
        drawArrow(dc, r, horizontal(h) ? (i == 0 ? 3 : 2) : (i == 0 ? 0 : 1), arrow);
    }
    EndPaint(h, &ps);
}

LRESULT upDownProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    UpDown* p = records().forMessage(h, msg);
    if (!p) return DefWindowProcA(h, msg, wp, lp);
    UpDown& u = *p;
    switch (msg) {
        case WM_CREATE:
            if (styleOf(h) & UDS_AUTOBUDDY) attachBuddy(h, u, GetWindow(h, GW_HWNDPREV));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, u);
            return 0;
        case WM_ENABLE:
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            RECT first, second;
            halves(h, first, second);
            const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            const bool inFirst = pt.x < first.right && pt.y < first.bottom;
            u.pressed = horizontal(h) ? (inFirst ? -1 : 1) : (inFirst ? 1 : -1);
            u.pressedAt = GetMessageTime();
            SetCapture(h);
            InvalidateRect(h, nullptr, TRUE);
            if (u.buddy && GetFocus() != u.buddy) SetFocus(u.buddy);
            step(h, u, u.pressed, increment(u, 0));
            SetTimer(h, kRepeatTimer, kFirstDelay, nullptr);
            return 0;
        }
        case WM_TIMER:
            if (wp == kRepeatTimer && u.pressed) {
                step(h, u, u.pressed,
                     increment(u, static_cast<DWORD>(GetMessageTime()) - u.pressedAt));
                SetTimer(h, kRepeatTimer, kRepeatDelay, nullptr);
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (u.pressed) {
                u.pressed = 0;
                KillTimer(h, kRepeatTimer);
                if (GetCapture() == h) ReleaseCapture();
                InvalidateRect(h, nullptr, TRUE);
                endScroll(h);
            }
            return 0;
        case UDM_SETRANGE:
            u.upper = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lp)));
            u.lower = static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lp)));
            return 0;
        case UDM_GETRANGE:
            return MAKELONG(static_cast<WORD>(u.upper), static_cast<WORD>(u.lower));
        case UDM_SETRANGE32:
            u.lower = static_cast<int>(static_cast<std::intptr_t>(wp));
            u.upper = static_cast<int>(lp);
            return 0;
        case UDM_GETRANGE32:
            if (wp) *reinterpret_cast<int*>(wp) = u.lower;
            if (lp) *reinterpret_cast<int*>(lp) = u.upper;
            return 0;
        case UDM_SETPOS:
        case UDM_SETPOS32: {
            const int old = u.pos;
            const int v = msg == UDM_SETPOS
                              ? static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lp)))
                              : static_cast<int>(lp);
            u.pos = std::clamp(v, std::min(u.lower, u.upper), std::max(u.lower, u.upper));
            updateBuddy(h, u);
            return old;
        }
        case UDM_GETPOS: {
            int v = u.pos;
            bool error = false;
            if (u.buddy && (styleOf(h) & UDS_SETBUDDYINT)) {
                error = !buddyValue(u, v);
                if (!error) u.pos = v;
            }
            return MAKELONG(static_cast<WORD>(u.pos), error ? 1 : 0);
        }
        case UDM_GETPOS32: {
            int v = u.pos;
            bool error = false;
            if (u.buddy && (styleOf(h) & UDS_SETBUDDYINT)) {
                error = !buddyValue(u, v);
                if (!error) u.pos = v;
            }
            if (lp) *reinterpret_cast<BOOL*>(lp) = error ? TRUE : FALSE;
            return u.pos;
        }
        case UDM_SETBUDDY: {
            HWND old = u.buddy;
            attachBuddy(h, u, reinterpret_cast<HWND>(wp));
            return reinterpret_cast<LRESULT>(old);
        }
        case UDM_GETBUDDY:
            return reinterpret_cast<LRESULT>(u.buddy);
        case UDM_SETACCEL: {
            if (!wp || !lp) return FALSE;
            const auto* a = reinterpret_cast<const UDACCEL*>(lp);
            u.accel.assign(a, a + wp);
            return TRUE;
        }
        case UDM_GETACCEL: {
            const std::size_t n = std::min<std::size_t>(wp, u.accel.size());
            if (lp) std::copy_n(u.accel.begin(), n, reinterpret_cast<UDACCEL*>(lp));
            return static_cast<LRESULT>(u.accel.size());
        }
        case UDM_SETBASE: {
            const int old = u.base;
            if (wp != 10 && wp != 16) return 0;
            u.base = static_cast<int>(wp);
            updateBuddy(h, u);
            return old;
        }
        case UDM_GETBASE:
            return u.base;
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerUpDownClass() {
    registerClass(UPDOWN_CLASSA, upDownProc, 0, nullptr, -1);
}

}  // namespace win::controls

namespace win {
void InitCommonControls() {}
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    return init ? TRUE : FALSE;
}
}  // namespace win
