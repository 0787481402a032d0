// msctls_progress32: a bar filled in proportion to a position in a range.

#include <algorithm>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"

namespace win::controls {
namespace {

struct Progress {
    int low = 0;
    int high = 100;
    int pos = 0;
    int step = 10;
    COLORREF bar = GetSysColor(COLOR_HIGHLIGHT);
};

Records<Progress>& records() {
    static Records<Progress> r;
    return r;
}

void paint(HWND h, const Progress& p) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    fillSolid(dc, rc, GetSysColor(COLOR_BTNFACE));
    drawThinEdge(dc, rc, false);
    const RECT inner{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
    const int span = std::max(1, p.high - p.low);
    const double part = std::clamp(static_cast<double>(p.pos - p.low) / span, 0.0, 1.0);
    RECT filled = inner;
    if (GetWindowLongA(h, GWL_STYLE) & PBS_VERTICAL)
        filled.top = inner.bottom - static_cast<int>(part * (inner.bottom - inner.top));
    else
        filled.right = inner.left + static_cast<int>(part * (inner.right - inner.left));
    if (filled.right > filled.left && filled.bottom > filled.top) fillSolid(dc, filled, p.bar);
    EndPaint(h, &ps);
}

LRESULT setPos(HWND h, Progress& p, int pos) {
    const int old = p.pos;
    p.pos = std::clamp(pos, std::min(p.low, p.high), std::max(p.low, p.high));
    if (p.pos != old) {
        InvalidateRect(h, nullptr, TRUE);
        UpdateWindow(h);
    }
    return old;
}

LRESULT progressProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Progress* pp = records().forMessage(h, msg);
    if (!pp) return DefWindowProcA(h, msg, wp, lp);
    Progress& p = *pp;
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, p);
            return 0;
        case PBM_SETRANGE:
        case PBM_SETRANGE32: {
            const LRESULT old = MAKELONG(static_cast<WORD>(p.low), static_cast<WORD>(p.high));
            if (msg == PBM_SETRANGE) {
                p.low = LOWORD(static_cast<std::uintptr_t>(lp));
                p.high = HIWORD(static_cast<std::uintptr_t>(lp));
            } else {
                p.low = static_cast<int>(static_cast<std::intptr_t>(wp));
                p.high = static_cast<int>(lp);
            }
            setPos(h, p, p.pos);
            InvalidateRect(h, nullptr, TRUE);
            return old;
        }
        case PBM_GETRANGE:
            if (lp) *reinterpret_cast<PBRANGE*>(lp) = {p.low, p.high};
            return wp ? p.low : p.high;
        case PBM_SETPOS:
            return setPos(h, p, static_cast<int>(static_cast<std::intptr_t>(wp)));
        case PBM_DELTAPOS:
            return setPos(h, p, p.pos + static_cast<int>(static_cast<std::intptr_t>(wp)));
        case PBM_GETPOS:
            return p.pos;
        case PBM_SETSTEP: {
            const int old = p.step;
            p.step = static_cast<int>(static_cast<std::intptr_t>(wp));
            return old;
        }
        case PBM_STEPIT: {
            // Stepping past the end starts again from the beginning.
            int next = p.pos + p.step;
            if (next > p.high) next = p.low + (next - p.high);
            if (next < p.low) next = p.high - (p.low - next);
            return setPos(h, p, next);
        }
        case PBM_SETBARCOLOR: {
            const COLORREF old = p.bar;
            p.bar = static_cast<COLORREF>(lp) == 0xFF000000u ? GetSysColor(COLOR_HIGHLIGHT)
                                                             : static_cast<COLORREF>(lp);
            InvalidateRect(h, nullptr, TRUE);
            return old;
        }
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerProgressClass() {
    registerClass(PROGRESS_CLASSA, progressProc, 0, nullptr, -1);
}

}  // namespace win::controls
