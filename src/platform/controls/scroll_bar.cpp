// SCROLLBAR: a scroll-bar control (horizontal or vertical) that reports the
// user's scrolling to its parent, and the size grip / size box kinds that
// size the window they sit in.

#include <algorithm>

#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/window/scroll_api.h"

namespace win::controls {
namespace {

constexpr DWORD SBS_VERT = 0x1, SBS_SIZEBOXTOPLEFTALIGN = 0x2, SBS_SIZEBOXBOTTOMRIGHTALIGN = 0x4,
                SBS_SIZEBOX = 0x8, SBS_SIZEGRIP = 0x10;
constexpr UINT_PTR kRepeatTimer = 1;

struct ScrollBar {
    int min = 0, max = 100, pos = 0, trackPos = 0;
    UINT page = 0;
    UINT disabledArrows = 0;
    WORD repeating = SB_ENDSCROLL;  // the action repeated while the button is held
    bool dragging = false;
    int dragOffset = 0;
};

Records<ScrollBar>& records() {
    static Records<ScrollBar> r;
    return r;
}

bool vertical(HWND h) {
    return (styleOf(h) & SBS_VERT) != 0;
}
bool sizeBox(HWND h) {
    return (styleOf(h) & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
}

// The bar's length, the arrows' size and the thumb's place and size.
struct Geometry {
    int length = 0, arrow = 0, thumbStart = 0, thumbLength = 0;
};

Geometry geometry(HWND h, const ScrollBar& s, int pos) {
    RECT rc;
    GetClientRect(h, &rc);
    Geometry g;
    g.length = vertical(h) ? rc.bottom : rc.right;
    g.arrow =
        std::min(vertical(h) ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL),
                 g.length / 2);
    const int track = g.length - 2 * g.arrow;
    const int range = s.max - s.min + 1;
    g.thumbLength = s.page ? std::max(8, static_cast<int>(track * static_cast<long long>(s.page) /
                                                          std::max(1, range)))
                           : std::max(8, g.arrow);
    g.thumbLength = std::min(g.thumbLength, track);
    const int travel = std::max(0, s.max - s.min - std::max(0, static_cast<int>(s.page) - 1));
    g.thumbStart = g.arrow + (travel ? static_cast<int>(static_cast<long long>(pos - s.min) *
                                                        (track - g.thumbLength) / travel)
                                     : 0);
    return g;
}

void notify(HWND h, WORD code, int pos) {
    SendMessageA(GetParent(h), vertical(h) ? WM_VSCROLL : WM_HSCROLL,
                 MAKEWPARAM(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(h));
}

void paintGrip(HWND h, HDC dc, const RECT& rc) {
    fillSolid(dc, rc, GetSysColor(COLOR_BTNFACE));
    if (!(styleOf(h) & SBS_SIZEGRIP)) return;
    for (int k = 3; k < 12; k += 4) {
        drawLine(dc, rc.right - k, rc.bottom - 1, rc.right - 1, rc.bottom - k,
                 GetSysColor(COLOR_BTNHIGHLIGHT));
        drawLine(dc, rc.right - k - 1, rc.bottom - 1, rc.right - 1, rc.bottom - k - 1,
                 GetSysColor(COLOR_BTNSHADOW));
        drawLine(dc, rc.right - k - 2, rc.bottom - 1, rc.right - 1, rc.bottom - k - 2,
                 GetSysColor(COLOR_BTNSHADOW));
    }
}

void paint(HWND h, const ScrollBar& s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    if (sizeBox(h)) {
        paintGrip(h, dc, rc);
        EndPaint(h, &ps);
        return;
    }
    const Geometry g = geometry(h, s, s.dragging ? s.trackPos : s.pos);
    const bool v = vertical(h);
    auto span = [&](int a, int b) {
        return v ? RECT{0, a, rc.right, b} : RECT{a, 0, b, rc.bottom};
    };
    fillSolid(dc, rc, GetSysColor(COLOR_3DLIGHT));
    const bool enabled = IsWindowEnabled(h) && s.max > s.min;
    const RECT first = span(0, g.arrow), second = span(g.length - g.arrow, g.length);
    for (int i = 0; i < 2; ++i) {
        const RECT& r = i == 0 ? first : second;
        fillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
        drawEdge(dc, r, true);
        const bool off =
            !enabled || (s.disabledArrows & (i == 0 ? ESB_DISABLE_LTUP : ESB_DISABLE_RTDN));
        drawArrow(dc, r, v ? (i == 0 ? 0 : 1) : (i == 0 ? 2 : 3),
                  GetSysColor(off ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    }
    if (enabled) {
        const RECT thumb = span(g.thumbStart, g.thumbStart + g.thumbLength);
        fillSolid(dc, thumb, GetSysColor(COLOR_BTNFACE));
        drawEdge(dc, thumb, true);
    }
    EndPaint(h, &ps);
}

// What a press at a point along the bar does.
WORD actionAt(HWND h, const ScrollBar& s, int at) {
    const Geometry g = geometry(h, s, s.pos);
    if (at < g.arrow) return SB_LINEUP;
    if (at >= g.length - g.arrow) return SB_LINEDOWN;
    if (at < g.thumbStart) return SB_PAGEUP;
    if (at >= g.thumbStart + g.thumbLength) return SB_PAGEDOWN;
    return SB_THUMBTRACK;
}

int along(HWND h, LPARAM lp) {
    return vertical(h) ? GET_Y_LPARAM(lp) : GET_X_LPARAM(lp);
}

int clampPos(const ScrollBar& s, int pos) {
    const int top = s.max - std::max(0, static_cast<int>(s.page) - 1);
    return std::clamp(pos, s.min, std::max(s.min, top));
}

LRESULT setInfo(HWND h, ScrollBar& s, const SCROLLINFO* si, bool redraw) {
    if (!si) return s.pos;
    if (si->fMask & SIF_RANGE) {
        s.min = si->nMin;
        s.max = si->nMax;
    }
    if (si->fMask & SIF_PAGE)
        s.page = std::min<UINT>(si->nPage, static_cast<UINT>(s.max - s.min + 1));
    if (si->fMask & SIF_POS) s.pos = si->nPos;
    s.pos = clampPos(s, s.pos);
    if (redraw) InvalidateRect(h, nullptr, TRUE);
    return s.pos;
}

LRESULT scrollProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    ScrollBar* sp = records().forMessage(h, msg);
    if (!sp) return DefWindowProcA(h, msg, wp, lp);
    ScrollBar& s = *sp;
    switch (msg) {
        case WM_CREATE: {
            // A size box of the standard size in the corner the style names.
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
            if (sizeBox(h) &&
                (styleOf(h) & (SBS_SIZEBOXBOTTOMRIGHTALIGN | SBS_SIZEBOXTOPLEFTALIGN))) {
                const int w = GetSystemMetrics(SM_CXVSCROLL), ht = GetSystemMetrics(SM_CYHSCROLL);
                const bool br = (styleOf(h) & SBS_SIZEBOXBOTTOMRIGHTALIGN) != 0;
                MoveWindow(h, br ? cs->x + cs->cx - w : cs->x, br ? cs->y + cs->cy - ht : cs->y, w,
                           ht, FALSE);
            }
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, s);
            return 0;
        case WM_ENABLE:
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_SETCURSOR:
            if (sizeBox(h)) {
                SetCursor(LoadCursorA(nullptr, IDC_SIZENWSE));
                return TRUE;
            }
            return DefWindowProcA(h, msg, wp, lp);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (sizeBox(h)) {
                POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                ClientToScreen(h, &p);
                SendMessageA(GetAncestor(h, GA_ROOT), WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT,
                             MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
                return 0;
            }
            if (s.max <= s.min) return 0;
            if (styleOf(h) & WS_TABSTOP) SetFocus(h);
            const WORD action = actionAt(h, s, along(h, lp));
            SetCapture(h);
            if (action == SB_THUMBTRACK) {
                s.dragging = true;
                s.trackPos = s.pos;
                s.dragOffset = along(h, lp) - geometry(h, s, s.pos).thumbStart;
                return 0;
            }
            s.repeating = action;
            notify(h, action, 0);
            SetTimer(h, kRepeatTimer, 350, nullptr);
            return 0;
        }
        case WM_TIMER:
            if (wp == kRepeatTimer && s.repeating != SB_ENDSCROLL) {
                notify(h, s.repeating, 0);
                SetTimer(h, kRepeatTimer, 60, nullptr);
            }
            return 0;
        case WM_MOUSEMOVE:
            if (s.dragging) {
                const Geometry g = geometry(h, s, s.pos);
                const int track = g.length - 2 * g.arrow - g.thumbLength;
                const int travel =
                    std::max(0, s.max - s.min - std::max(0, static_cast<int>(s.page) - 1));
                const int start = along(h, lp) - s.dragOffset - g.arrow;
                const int pos =
                    track > 0
                        ? s.min +
                              static_cast<int>(static_cast<long long>(std::clamp(start, 0, track)) *
                                               travel / track)
                        : s.min;
                if (pos != s.trackPos) {
                    s.trackPos = pos;
                    InvalidateRect(h, nullptr, TRUE);
                    notify(h, SB_THUMBTRACK, pos);
                }
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED: {
            const bool wasActive = s.dragging || s.repeating != SB_ENDSCROLL;
            if (!wasActive) return 0;
            KillTimer(h, kRepeatTimer);
            const bool wasDragging = s.dragging;
            s.dragging = false;
            s.repeating = SB_ENDSCROLL;
            if (GetCapture() == h && msg == WM_LBUTTONUP) ReleaseCapture();
            if (wasDragging) notify(h, SB_THUMBPOSITION, s.trackPos);
            notify(h, SB_ENDSCROLL, 0);
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        }
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_KEYDOWN: {
            WORD code;
            switch (wp) {
                case VK_UP:
                case VK_LEFT:
                    code = SB_LINEUP;
                    break;
                case VK_DOWN:
                case VK_RIGHT:
                    code = SB_LINEDOWN;
                    break;
                case VK_PRIOR:
                    code = SB_PAGEUP;
                    break;
                case VK_NEXT:
                    code = SB_PAGEDOWN;
                    break;
                case VK_HOME:
                    code = SB_TOP;
                    break;
                case VK_END:
                    code = SB_BOTTOM;
                    break;
                default:
                    return DefWindowProcA(h, msg, wp, lp);
            }
            notify(h, code, 0);
            notify(h, SB_ENDSCROLL, 0);
            return 0;
        }
        case SBM_SETPOS: {
            const int old = s.pos;
            s.pos = clampPos(s, static_cast<int>(static_cast<std::intptr_t>(wp)));
            if (lp) InvalidateRect(h, nullptr, TRUE);
            return old;
        }
        case SBM_GETPOS:
            return s.pos;
        case SBM_SETRANGE:
        case SBM_SETRANGEREDRAW: {
            const int old = s.pos;
            s.min = static_cast<int>(static_cast<std::intptr_t>(wp));
            s.max = static_cast<int>(lp);
            s.pos = clampPos(s, s.pos);
            if (msg == SBM_SETRANGEREDRAW) InvalidateRect(h, nullptr, TRUE);
            return old;
        }
        case SBM_GETRANGE:
            if (wp) *reinterpret_cast<int*>(wp) = s.min;
            if (lp) *reinterpret_cast<int*>(lp) = s.max;
            return 0;
        case SBM_ENABLE_ARROWS:
            s.disabledArrows = static_cast<UINT>(wp);
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        case SBM_SETSCROLLINFO:
            return setInfo(h, s, reinterpret_cast<const SCROLLINFO*>(lp), wp != 0);
        case SBM_GETSCROLLINFO: {
            auto* si = reinterpret_cast<SCROLLINFO*>(lp);
            if (!si) return FALSE;
            if (si->fMask & SIF_RANGE) {
                si->nMin = s.min;
                si->nMax = s.max;
            }
            if (si->fMask & SIF_PAGE) si->nPage = s.page;
            if (si->fMask & SIF_POS) si->nPos = s.pos;
            if (si->fMask & SIF_TRACKPOS) si->nTrackPos = s.dragging ? s.trackPos : s.pos;
            return TRUE;
        }
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerScrollBarClass() {
    registerClass("ScrollBar", scrollProc, CS_DBLCLKS, nullptr, -1);
}

}  // namespace win::controls
