// Window scroll bars: their settings, their geometry and the mouse on them.

#include <algorithm>

#include "platform/window/scroll_api.h"
#include "platform/window/window_internal.h"

namespace win {
namespace detail {
namespace {

constexpr int kArrow = 16;

ScrollBarState* barOf(HWND hwnd, int bar) {
    Window* w = findWindow(hwnd);
    if (!w) return nullptr;
    if (bar == SB_HORZ) return &w->hscroll;
    if (bar == SB_VERT) return &w->vscroll;
    return nullptr;
}

int maxPos(const ScrollBarState& s) {
    return std::max(s.min, s.max - std::max(0, static_cast<int>(s.page) - 1));
}

void setVisible(Window* w, int bar, bool show) {
    const DWORD bit = bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
    const DWORD style = show ? (w->style | bit) : (w->style & ~bit);
    if (style == w->style) return;
    w->style = style;
    setWindowPos(w, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

bool scrollThumb(const Window* w, bool vertical, int& start, int& length, int& track) {
    const ScrollBarState& sb = vertical ? w->vscroll : w->hscroll;
    const RECT client = clientRectInWindow(w);
    const int len = vertical ? client.bottom - client.top : client.right - client.left;
    track = len - 2 * kArrow;
    const int range = sb.max - sb.min + 1;
    if (track < 8 || range <= 0 || !sb.enabled || sb.max <= sb.min) return false;
    const int page = static_cast<int>(sb.page);
    length = std::clamp(page ? track * page / range : kArrow, 8, track);
    const int span = std::max(1, maxPos(sb) - sb.min);
    start = kArrow + (track - length) * std::clamp(sb.pos - sb.min, 0, span) / span;
    return true;
}

// The mouse held on a scroll bar: arrows give a line, the track a page, the
// thumb follows the pointer; WM_VSCROLL / WM_HSCROLL tell the window.
void trackScrollBar(Window* w, bool vertical, POINT screenPt) {
    const HWND h = w->handle;
    const UINT msg = vertical ? WM_VSCROLL : WM_HSCROLL;
    auto coordinate = [&](POINT p) {
        const RECT wr = windowRectOnScreen(w);
        const RECT client = clientRectInWindow(w);
        return vertical ? p.y - (wr.top + client.top) : p.x - (wr.left + client.left);
    };
    ScrollBarState& sb = vertical ? w->vscroll : w->hscroll;
    if (!sb.enabled) return;
    int start = 0, length = 0, track = 0;
    const bool hasThumb = scrollThumb(w, vertical, start, length, track);
    const int at = coordinate(screenPt);
    const int total = track + 2 * kArrow;
    auto send = [&](WORD code, int pos) {
        sendMessage(w, msg, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
    };
    if (at < kArrow) {
        send(SB_LINEUP, 0);
    } else if (at >= total - kArrow) {
        send(SB_LINEDOWN, 0);
    } else if (hasThumb && at >= start && at < start + length) {
        const int grab = at - start;
        for (;;) {
            const InputEvent ev = nextRawInput();
            if (!findWindow(h)) return;
            if (ev.kind != InputKind::MouseMove && ev.kind != InputKind::ButtonUp) continue;
            const int newStart =
                std::clamp(coordinate(ev.pt) - grab, kArrow, kArrow + track - length);
            const int span = std::max(1, track - length);
            sb.trackPos = sb.min + (newStart - kArrow) * (maxPos(sb) - sb.min) / span;
            send(ev.kind == InputKind::ButtonUp ? SB_THUMBPOSITION : SB_THUMBTRACK, sb.trackPos);
            if (ev.kind == InputKind::ButtonUp) break;
        }
        if (findWindow(h)) send(SB_ENDSCROLL, 0);
        return;
    } else if (hasThumb) {
        send(at < start ? SB_PAGEUP : SB_PAGEDOWN, 0);
    }
    // Wait for the release; the scroll ends there.
    for (;;) {
        const InputEvent ev = nextRawInput();
        if (!findWindow(h)) return;
        if (ev.kind == InputKind::ButtonUp) break;
    }
    send(SB_ENDSCROLL, 0);
}

}  // namespace detail

using namespace detail;

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
    if (!info) return 0;
    if (bar == SB_CTL)
        return static_cast<int>(
            SendMessageA(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
    ScrollBarState* sb = barOf(hwnd, bar);
    if (!sb) return 0;
    if (info->fMask & SIF_RANGE) {
        sb->min = info->nMin;
        sb->max = info->nMax;
    }
    if (info->fMask & SIF_PAGE)
        sb->page =
            std::min<UINT>(info->nPage, static_cast<UINT>(std::max(0, sb->max - sb->min + 1)));
    if (info->fMask & SIF_POS) sb->pos = info->nPos;
    sb->pos = std::clamp(sb->pos, sb->min, maxPos(*sb));
    Window* w = findWindow(hwnd);
    if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
        // A bar shows only while there is something to scroll.
        const bool needed = sb->max > sb->min && static_cast<int>(sb->page) <= sb->max - sb->min;
        if (info->fMask & SIF_DISABLENOSCROLL) {
            sb->enabled = needed;
            setVisible(w, bar, true);
        } else {
            setVisible(w, bar, needed);
        }
    }
    if (redraw && findWindow(hwnd)) w->frameDirty = true;
    return sb->pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
    if (!info) return FALSE;
    if (bar == SB_CTL)
        return SendMessageA(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) != 0;
    ScrollBarState* sb = barOf(hwnd, bar);
    if (!sb) return FALSE;
    if (info->fMask & SIF_RANGE) {
        info->nMin = sb->min;
        info->nMax = sb->max;
    }
    if (info->fMask & SIF_PAGE) info->nPage = sb->page;
    if (info->fMask & SIF_POS) info->nPos = sb->pos;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = sb->trackPos;
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    if (bar == SB_CTL)
        return static_cast<int>(SendMessageA(hwnd, SBM_SETPOS, static_cast<WPARAM>(pos), redraw));
    ScrollBarState* sb = barOf(hwnd, bar);
    if (!sb) return 0;
    const int old = sb->pos;
    SCROLLINFO si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(hwnd, bar, &si, redraw);
    return old;
}

int GetScrollPos(HWND hwnd, int bar) {
    if (bar == SB_CTL) return static_cast<int>(SendMessageA(hwnd, SBM_GETPOS, 0, 0));
    ScrollBarState* sb = barOf(hwnd, bar);
    return sb ? sb->pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw) {
    if (bar == SB_CTL) {
        SendMessageA(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(min),
                     max);
        return TRUE;
    }
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    si.nMin = min;
    si.nMax = max;
    SetScrollInfo(hwnd, bar, &si, redraw);
    return barOf(hwnd, bar) != nullptr;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* min, int* max) {
    if (bar == SB_CTL) {
        SendMessageA(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(min),
                     reinterpret_cast<LPARAM>(max));
        return TRUE;
    }
    ScrollBarState* sb = barOf(hwnd, bar);
    if (!sb) return FALSE;
    if (min) *min = sb->min;
    if (max) *max = sb->max;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    Window* w = findWindow(hwnd);
    if (!w) return FALSE;
    if (bar == SB_CTL) return ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE), TRUE;
    if (bar == SB_HORZ || bar == SB_BOTH) setVisible(w, SB_HORZ, show != 0);
    if (findWindow(hwnd) && (bar == SB_VERT || bar == SB_BOTH)) setVisible(w, SB_VERT, show != 0);
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
    if (bar == SB_CTL) return SendMessageA(hwnd, SBM_ENABLE_ARROWS, arrows, 0) != 0;
    Window* w = findWindow(hwnd);
    if (!w) return FALSE;
    const bool enable = arrows != ESB_DISABLE_BOTH;
    if (bar == SB_HORZ || bar == SB_BOTH) w->hscroll.enabled = enable;
    if (bar == SB_VERT || bar == SB_BOTH) w->vscroll.enabled = enable;
    w->frameDirty = true;
    return TRUE;
}

}  // namespace win
