// msctls_trackbar32: a slider over a range, moved by mouse and keys; the
// parent hears of every move through WM_HSCROLL or WM_VSCROLL.

#include <algorithm>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"

namespace win::controls {
namespace {

struct TrackBar {
    int min = 0, max = 100, pos = 0;
    int line = 1, page = 20;
    int frequency = 1;
    int selStart = 0, selEnd = 0;
    bool dragging = false;
    bool focus = false;
};

Records<TrackBar>& records() {
    static Records<TrackBar> r;
    return r;
}

bool vertical(HWND h) {
    return (styleOf(h) & TBS_VERT) != 0;
}
constexpr int kThumb = 11;

// The channel's usable length and start along the slider.
void channel(HWND h, int& start, int& length) {
    RECT rc;
    GetClientRect(h, &rc);
    const int extent = vertical(h) ? rc.bottom : rc.right;
    start = kThumb / 2 + 4;
    length = std::max(1, extent - 2 * start);
}

int coordOf(HWND h, const TrackBar& t, int value) {
    int start, length;
    channel(h, start, length);
    const int span = std::max(1, t.max - t.min);
    return start + (value - t.min) * length / span;
}

int valueAt(HWND h, const TrackBar& t, int coord) {
    int start, length;
    channel(h, start, length);
    const int span = t.max - t.min;
    return std::clamp(t.min + ((coord - start) * span + length / 2) / length, t.min, t.max);
}

void notify(HWND h, const TrackBar& t, WORD code) {
    const bool withPos = code == TB_THUMBPOSITION || code == TB_THUMBTRACK;
    SendMessageA(GetParent(h), vertical(h) ? WM_VSCROLL : WM_HSCROLL,
                 MAKEWPARAM(code, withPos ? static_cast<WORD>(t.pos) : 0),
                 reinterpret_cast<LPARAM>(h));
}

void moveTo(HWND h, TrackBar& t, int value, WORD code) {
    const int v = std::clamp(value, t.min, t.max);
    if (v == t.pos) return;
    t.pos = v;
    InvalidateRect(h, nullptr, TRUE);
    notify(h, t, code);
}

void paint(HWND h, const TrackBar& t) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    FillRect(dc, &rc, controlColour(h, dc, WM_CTLCOLORSTATIC));
    const bool vert = vertical(h);
    int start, length;
    channel(h, start, length);
    const int across = (vert ? rc.right : rc.bottom) / 2 - 4;
    const RECT ch = vert ? RECT{across - 2, start, across + 2, start + length}
                         : RECT{start, across - 2, start + length, across + 2};
    fillSolid(dc, ch, GetSysColor(COLOR_WINDOW));
    drawEdge(dc, ch, false);
    if ((styleOf(h) & TBS_ENABLESELRANGE) && t.selEnd > t.selStart) {
        const int a = coordOf(h, t, t.selStart), b = coordOf(h, t, t.selEnd);
        fillSolid(dc,
                  vert ? RECT{across - 1, a, across + 1, b} : RECT{a, across - 1, b, across + 1},
                  GetSysColor(COLOR_HIGHLIGHT));
    }
    if (!(styleOf(h) & TBS_NOTICKS)) {
        const int freq = std::max(1, t.frequency);
        for (int v = t.min; v <= t.max; v += freq) {
            const int c = coordOf(h, t, v);
            if (vert)
                drawLine(dc, across + 10, c, across + 13, c, GetSysColor(COLOR_BTNTEXT));
            else
                drawLine(dc, c, across + 10, c, across + 13, GetSysColor(COLOR_BTNTEXT));
            if (!(styleOf(h) & TBS_AUTOTICKS) && v == t.min) v = t.max - freq;  // ends only
        }
    }
    const int c = coordOf(h, t, t.pos);
    const RECT thumb = vert ? RECT{across - 8, c - kThumb / 2, across + 9, c + kThumb / 2 + 1}
                            : RECT{c - kThumb / 2, across - 8, c + kThumb / 2 + 1, across + 9};
    fillSolid(dc, thumb, GetSysColor(COLOR_BTNFACE));
    drawEdge(dc, thumb, true);
    if (t.focus) drawFocus(dc, rc);
    EndPaint(h, &ps);
}

LRESULT trackProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    TrackBar* tp = records().forMessage(h, msg);
    if (!tp) return DefWindowProcA(h, msg, wp, lp);
    TrackBar& t = *tp;
    const bool redrawFlag = wp != 0;
    switch (msg) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, t);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            t.focus = msg == WM_SETFOCUS;
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_LBUTTONDOWN: {
            SetFocus(h);
            const int coord = vertical(h) ? GET_Y_LPARAM(lp) : GET_X_LPARAM(lp);
            const int thumb = coordOf(h, t, t.pos);
            if (std::abs(coord - thumb) <= kThumb / 2) {
                t.dragging = true;
                SetCapture(h);
            } else {
                moveTo(h, t, t.pos + (coord < thumb ? -t.page : t.page),
                       coord < thumb ? TB_PAGEUP : TB_PAGEDOWN);
                notify(h, t, TB_ENDTRACK);
            }
            return 0;
        }
        case WM_MOUSEMOVE:
            if (t.dragging)
                moveTo(h, t, valueAt(h, t, vertical(h) ? GET_Y_LPARAM(lp) : GET_X_LPARAM(lp)),
                       TB_THUMBTRACK);
            return 0;
        case WM_LBUTTONUP:
            if (t.dragging) {
                t.dragging = false;
                ReleaseCapture();
                notify(h, t, TB_THUMBPOSITION);
                notify(h, t, TB_ENDTRACK);
            }
            return 0;
        case WM_KEYDOWN: {
            WORD code;
            int v = t.pos;
            switch (wp) {
                case VK_LEFT:
                case VK_UP:
                    code = TB_LINEUP;
                    v -= t.line;
                    break;
                case VK_RIGHT:
                case VK_DOWN:
                    code = TB_LINEDOWN;
                    v += t.line;
                    break;
                case VK_PRIOR:
                    code = TB_PAGEUP;
                    v -= t.page;
                    break;
                case VK_NEXT:
                    code = TB_PAGEDOWN;
                    v += t.page;
                    break;
                case VK_HOME:
                    code = TB_TOP;
                    v = t.min;
                    break;
                case VK_END:
                    code = TB_BOTTOM;
                    v = t.max;
                    break;
                default:
                    return DefWindowProcA(h, msg, wp, lp);
            }
            moveTo(h, t, v, code);
            return 0;
        }
        case WM_KEYUP:
            if (wp >= VK_PRIOR && wp <= VK_DOWN) notify(h, t, TB_ENDTRACK);
            return 0;
        case TBM_GETPOS:
            return t.pos;
        case TBM_GETRANGEMIN:
            return t.min;
        case TBM_GETRANGEMAX:
            return t.max;
        case TBM_SETPOS:
            t.pos = std::clamp(static_cast<int>(lp), t.min, t.max);
            if (redrawFlag) InvalidateRect(h, nullptr, TRUE);
            return 0;
        case TBM_SETRANGE:
            t.min = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lp)));
            t.max = static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lp)));
            t.pos = std::clamp(t.pos, t.min, t.max);
            t.page = std::max(1, (t.max - t.min) / 5);
            if (redrawFlag) InvalidateRect(h, nullptr, TRUE);
            return 0;
        case TBM_SETRANGEMIN:
        case TBM_SETRANGEMAX:
            (msg == TBM_SETRANGEMIN ? t.min : t.max) = static_cast<int>(lp);
            t.pos = std::clamp(t.pos, t.min, t.max);
            t.page = std::max(1, (t.max - t.min) / 5);
            if (redrawFlag) InvalidateRect(h, nullptr, TRUE);
            return 0;
        case TBM_SETTICFREQ:
            t.frequency = std::max(1, static_cast<int>(wp));
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case TBM_CLEARTICS:
            return 0;
        case TBM_GETNUMTICS:
            if (styleOf(h) & TBS_NOTICKS) return 0;
            if (!(styleOf(h) & TBS_AUTOTICKS)) return 2;
            return (t.max - t.min) / std::max(1, t.frequency) + 1;
        case TBM_SETLINESIZE: {
            const int old = t.line;
            t.line = static_cast<int>(lp);
            return old;
        }
        case TBM_GETLINESIZE:
            return t.line;
        case TBM_SETPAGESIZE: {
            const int old = t.page;
            t.page = static_cast<int>(lp);
            return old;
        }
        case TBM_GETPAGESIZE:
            return t.page;
        case TBM_SETSEL:
            t.selStart = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lp)));
            t.selEnd = static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lp)));
            if (redrawFlag) InvalidateRect(h, nullptr, TRUE);
            return 0;
        case TBM_SETSELSTART:
            t.selStart = static_cast<int>(lp);
            if (redrawFlag) InvalidateRect(h, nullptr, TRUE);
            return 0;
        case TBM_SETSELEND:
            t.selEnd = static_cast<int>(lp);
            if (redrawFlag) InvalidateRect(h, nullptr, TRUE);
            return 0;
        case TBM_GETSELSTART:
            return t.selStart;
        case TBM_GETSELEND:
            return t.selEnd;
        case TBM_CLEARSEL:
            t.selStart = t.selEnd = 0;
            if (redrawFlag) InvalidateRect(h, nullptr, TRUE);
            return 0;
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerTrackBarClass() {
    registerClass(TRACKBAR_CLASSA, trackProc, 0, nullptr, -1);
}

}  // namespace win::controls
