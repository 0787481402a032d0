// msctls_statusbar32: a strip along the bottom of a window with text parts
// (or one simple part, number 255) and an optional size grip.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"

namespace win::controls {
namespace {

struct Part {
    int right = -1;
    std::string text;
    UINT type = 0;
};

struct StatusBar {
    std::vector<Part> parts{Part{}};
    Part simplePart;
    bool simple = false;
    HFONT font = nullptr;
    int minHeight = 0;
    bool placing = false;
};

Records<StatusBar>& records() {
    static Records<StatusBar> r;
    return r;
}

int barHeight(const StatusBar& s) {
    return std::max(s.minHeight, lineHeight(s.font) + 8);
}
bool hasGrip(HWND h) {
    return (styleOf(h) & SBARS_SIZEGRIP) != 0;
}

// Along the bottom of the parent's client area, full width.
void placeSelf(HWND h, StatusBar& s) {
    if ((styleOf(h) & (CCS_NORESIZE | CCS_NOPARENTALIGN)) || s.placing) return;
    s.placing = true;
    RECT pc;
    GetClientRect(GetParent(h), &pc);
    const int bh = barHeight(s);
    if ((styleOf(h) & CCS_BOTTOM) == CCS_TOP)
        MoveWindow(h, 0, 0, pc.right, bh, TRUE);
    else
        MoveWindow(h, 0, pc.bottom - bh, pc.right, bh, TRUE);
    s.placing = false;
}

RECT partRect(HWND h, const StatusBar& s, std::size_t i) {
    RECT rc;
    GetClientRect(h, &rc);
    if (s.simple) return {0, 2, rc.right - (hasGrip(h) ? rc.bottom : 0), rc.bottom};
    const int left = i == 0 ? 0 : s.parts[i - 1].right + 2;
    int right = s.parts[i].right;
    if (right < 0 || right > rc.right) right = rc.right - (hasGrip(h) ? rc.bottom : 0);
    return {left, 2, right, rc.bottom};
}

void paintPart(HDC dc, const Part& p, RECT r) {
    if (!(p.type & SBT_NOBORDERS)) drawThinEdge(dc, r, (p.type & SBT_POPOUT) != 0);
    std::string text = p.text;
    UINT align = DT_LEFT;
    // A tab centres what follows it, a second tab right-aligns.
    if (!text.empty() && text[0] == '\t') {
        text.erase(0, 1);
        align = DT_CENTER;
        if (!text.empty() && text[0] == '\t') {
            text.erase(0, 1);
            align = DT_RIGHT;
        }
    }
    r = {r.left + 3, r.top + 1, r.right - 3, r.bottom - 1};
    drawLabel(dc, text, r, align | DT_VCENTER | DT_SINGLELINE, GetSysColor(COLOR_BTNTEXT), true);
}

void paint(HWND h, const StatusBar& s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    fillSolid(dc, rc, GetSysColor(COLOR_BTNFACE));
    SelectObject(dc, fontOrDefault(s.font));
    if (s.simple)
        paintPart(dc, s.simplePart, partRect(h, s, 0));
    else
        for (std::size_t i = 0; i < s.parts.size(); ++i)
            paintPart(dc, s.parts[i], partRect(h, s, i));
    if (hasGrip(h)) {
        const int x = rc.right, y = rc.bottom;
        for (int k = 3; k < 12; k += 4) {
            drawLine(dc, x - k, y - 1, x - 1, y - k, GetSysColor(COLOR_BTNHIGHLIGHT));
            drawLine(dc, x - k - 1, y - 1, x - 1, y - k - 1, GetSysColor(COLOR_BTNSHADOW));
            drawLine(dc, x - k - 2, y - 1, x - 1, y - k - 2, GetSysColor(COLOR_BTNSHADOW));
        }
    }
    EndPaint(h, &ps);
}

Part* partOf(StatusBar& s, WPARAM wp) {
    const UINT index = static_cast<UINT>(wp & 0xFF);
    if (index == SB_SIMPLEID) return &s.simplePart;
    return index < s.parts.size() ? &s.parts[index] : nullptr;
}

LRESULT statusProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    StatusBar* sp = records().forMessage(h, msg);
    if (!sp) return DefWindowProcA(h, msg, wp, lp);
    StatusBar& s = *sp;
    switch (msg) {
        case WM_CREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
            if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) s.parts[0].text = cs->lpszName;
            placeSelf(h, s);
            return 0;
        }
        case WM_SIZE:
            // The parent passes its own WM_SIZE on: the bar follows its bottom edge.
            placeSelf(h, s);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, s);
            return 0;
        case WM_SETFONT:
            s.font = reinterpret_cast<HFONT>(wp);
            if (lp) InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(s.font);
        case WM_SETTEXT:
            s.parts[0].text = lp ? reinterpret_cast<const char*>(lp) : "";
            InvalidateRect(h, nullptr, TRUE);
            UpdateWindow(h);
            return TRUE;
        case WM_NCHITTEST: {
            if (hasGrip(h)) {
                POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                ScreenToClient(h, &p);
                RECT rc;
                GetClientRect(h, &rc);
                if (p.x >= rc.right - rc.bottom && p.y >= 0) return HTBOTTOMRIGHT;
            }
            return DefWindowProcA(h, msg, wp, lp);
        }
        case WM_NCLBUTTONDOWN:
            // The grip sizes the window the bar belongs to.
            if (wp == HTBOTTOMRIGHT)
                SendMessageA(GetAncestor(h, GA_ROOT), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, lp);
            return 0;
        case SB_SETPARTS: {
            if (wp == 0 || wp > 256 || !lp) return FALSE;
            const int* edges = reinterpret_cast<const int*>(lp);
            s.parts.resize(wp);
            for (std::size_t i = 0; i < wp; ++i)
                s.parts[i].right = edges[i];
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        case SB_GETPARTS: {
            int* out = reinterpret_cast<int*>(lp);
            for (std::size_t i = 0; out && i < std::min<std::size_t>(wp, s.parts.size()); ++i)
                out[i] = s.parts[i].right;
            return static_cast<LRESULT>(s.parts.size());
        }
        case SB_SETTEXTA: {
            Part* p = partOf(s, wp);
            if (!p) return FALSE;
            p->text = lp ? reinterpret_cast<const char*>(lp) : "";
            p->type = static_cast<UINT>(wp & 0xFF00);
            // The text is shown at once, not at the next paint of the queue.
            InvalidateRect(h, nullptr, TRUE);
            UpdateWindow(h);
            return TRUE;
        }
        case SB_GETTEXTA:
        case SB_GETTEXTLENGTHA: {
            Part* p = partOf(s, wp);
            if (!p) return 0;
            if (msg == SB_GETTEXTA && lp)
                std::memcpy(reinterpret_cast<char*>(lp), p->text.c_str(), p->text.size() + 1);
            return MAKELONG(static_cast<WORD>(p->text.size()), static_cast<WORD>(p->type));
        }
        case SB_SIMPLE:
            s.simple = wp != 0;
            InvalidateRect(h, nullptr, TRUE);
            UpdateWindow(h);
            return 0;
        case SB_ISSIMPLE:
            return s.simple ? TRUE : FALSE;
        case SB_SETMINHEIGHT:
            s.minHeight = static_cast<int>(wp);
            return 0;
        case SB_GETBORDERS: {
            int* out = reinterpret_cast<int*>(lp);
            if (out) {
                out[0] = 0;
                out[1] = 2;
                out[2] = 2;
            }
            return TRUE;
        }
        case SB_GETRECT:
            if (wp >= s.parts.size() || !lp) return FALSE;
            *reinterpret_cast<RECT*>(lp) = partRect(h, s, wp);
            return TRUE;
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerStatusBarClass() {
    registerClass(STATUSCLASSNAMEA, statusProc, CS_DBLCLKS, nullptr, -1);
}

}  // namespace win::controls
