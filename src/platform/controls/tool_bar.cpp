// ToolbarWindow32: a row of picture buttons (plain, check and check-group
// buttons, separators) along the top of a window, with tool tips whose text
// the parent gives through TTN_NEEDTEXTA.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/resources/resource_api.h"
#include "platform/window/image_api.h"

namespace win::controls {
namespace {

constexpr UINT_PTR kTipTimer = 7;
constexpr UINT kTipDelay = 500;
constexpr int kSeparator = 8;

struct Strip {
    HBITMAP bitmap = nullptr;
    int first = 0;  // image index of its first picture
    bool owned = false;
};

struct ToolBar {
    std::vector<TBBUTTON> buttons;
    std::vector<Strip> strips;
    int images = 0;
    SIZE bitmapSize{16, 15};
    SIZE buttonSize{23, 22};
    int rows = 1;
    int pressed = -1;  // index held down by the mouse
    int hot = -1;      // index under the pointer
    int tipFor = -1;   // index the tip shows, or waits for
    HWND tip = nullptr;
};

Records<ToolBar>& records() {
    static Records<ToolBar> r;
    return r;
}

int indexOf(const ToolBar& t, int command) {
    for (std::size_t i = 0; i < t.buttons.size(); ++i)
        if (t.buttons[i].idCommand == command && !(t.buttons[i].fsStyle & TBSTYLE_SEP))
            return static_cast<int>(i);
    return -1;
}

std::vector<RECT> layout(const ToolBar& t) {
    std::vector<RECT> out;
    const int perRow =
        t.rows > 1 ? static_cast<int>((t.buttons.size() + t.rows - 1) / t.rows) : 1 << 30;
    int x = 2, y = 2, inRow = 0;
    for (const TBBUTTON& b : t.buttons) {
        if (b.fsState & TBSTATE_HIDDEN) {
            out.push_back({x, y, x, y});
            continue;
        }
        if (inRow >= perRow) {
            x = 2;
            y += t.buttonSize.cy + 2;
            inRow = 0;
        }
        const int w =
            (b.fsStyle & TBSTYLE_SEP) ? (b.iBitmap > 0 ? b.iBitmap : kSeparator) : t.buttonSize.cx;
        out.push_back({x, y, x + w, y + t.buttonSize.cy});
        x += w;
        ++inRow;
        if (b.fsState & TBSTATE_WRAP) {
            x = 2;
            y += t.buttonSize.cy + 2;
            inRow = 0;
        }
    }
    return out;
}

int hitTest(const ToolBar& t, POINT p) {
    const auto rects = layout(t);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const RECT& r = rects[i];
        if (!(t.buttons[i].fsStyle & TBSTYLE_SEP) && p.x >= r.left && p.x < r.right &&
            p.y >= r.top && p.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

void drawImage(HDC dc, const ToolBar& t, int image, int x, int y, bool enabled) {
    const Strip* strip = nullptr;
    for (const Strip& s : t.strips)
        if (image >= s.first) strip = &s;
    if (!strip || !strip->bitmap) return;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, strip->bitmap);
    BitBlt(dc, x, y, t.bitmapSize.cx, t.bitmapSize.cy, mem,
           (image - strip->first) * t.bitmapSize.cx, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    if (!enabled) {
        // Greyed: every other pixel in the button face.
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        for (int yy = 0; yy < t.bitmapSize.cy; ++yy)
            for (int xx = (yy & 1); xx < t.bitmapSize.cx; xx += 2)
                SetPixelV(dc, x + xx, y + yy, face);
    }
}

void paint(HWND h, ToolBar& t) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    fillSolid(dc, rc, GetSysColor(COLOR_BTNFACE));
    if (!(styleOf(h) & CCS_NODIVIDER)) {
        drawLine(dc, 0, 0, rc.right, 0, GetSysColor(COLOR_BTNSHADOW));
        drawLine(dc, 0, 1, rc.right, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    const bool flat = (styleOf(h) & TBSTYLE_FLAT) != 0;
    const auto rects = layout(t);
    for (std::size_t i = 0; i < t.buttons.size(); ++i) {
        const TBBUTTON& b = t.buttons[i];
        const RECT& r = rects[i];
        if (b.fsState & TBSTATE_HIDDEN) continue;
        if (b.fsStyle & TBSTYLE_SEP) {
            if (flat) {
                const int x = (r.left + r.right) / 2;
                drawLine(dc, x - 1, r.top + 2, x - 1, r.bottom - 2, GetSysColor(COLOR_BTNSHADOW));
                drawLine(dc, x, r.top + 2, x, r.bottom - 2, GetSysColor(COLOR_BTNHIGHLIGHT));
            }
            continue;
        }
        const bool enabled = (b.fsState & TBSTATE_ENABLED) != 0;
        const bool down =
            (b.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED)) || static_cast<int>(i) == t.pressed;
        if (down) {
            if (b.fsState & TBSTATE_CHECKED)
                fillSolid(dc, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1},
                          GetSysColor(COLOR_3DLIGHT));
            drawThinEdge(dc, r, false);
        } else if (!flat || (static_cast<int>(i) == t.hot && enabled)) {
            if (flat)
                drawThinEdge(dc, r, true);
            else
                drawEdge(dc, r, true);
        }
        const int shift = down ? 1 : 0;
        drawImage(dc, t, b.iBitmap, (r.left + r.right - t.bitmapSize.cx) / 2 + shift,
                  (r.top + r.bottom - t.bitmapSize.cy) / 2 + shift, enabled);
    }
    EndPaint(h, &ps);
}

void autoSize(HWND h, const ToolBar& t) {
    if (styleOf(h) & (CCS_NORESIZE | CCS_NOPARENTALIGN)) return;
    RECT pc;
    GetClientRect(GetParent(h), &pc);
    int bottom = 0;
    for (const RECT& r : layout(t))
        bottom = std::max(bottom, static_cast<int>(r.bottom));
    const int height = std::max(static_cast<int>(t.buttonSize.cy), bottom) + 4;
    if ((styleOf(h) & CCS_BOTTOM) == CCS_BOTTOM)
        MoveWindow(h, 0, pc.bottom - height, pc.right, height, TRUE);
    else
        MoveWindow(h, 0, 0, pc.right, height, TRUE);
}

void hideTip(HWND h, ToolBar& t) {
    KillTimer(h, kTipTimer);
    if (t.tip && IsWindowVisible(t.tip)) {
        ShowWindow(t.tip, SW_HIDE);
        notifyParent(h, TTN_POP);
    }
    t.tipFor = -1;
}

// Asks the parent for the tip's text and shows it below the pointer.
void showTip(HWND h, ToolBar& t) {
    if (t.tipFor < 0 || t.tipFor >= static_cast<int>(t.buttons.size()) || !t.tip) return;
    NMTTDISPINFOA info;
    info.hdr.hwndFrom = t.tip;
    info.hdr.idFrom =
        static_cast<UINT_PTR>(t.buttons[static_cast<std::size_t>(t.tipFor)].idCommand);
    info.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(GetParent(h), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    std::string text;
    if (info.lpszText && IS_INTRESOURCE(info.lpszText)) {
        char buf[256];
        if (LoadStringA(info.hinst,
                        static_cast<UINT>(reinterpret_cast<std::uintptr_t>(info.lpszText)), buf,
                        sizeof buf))
            text = buf;
    } else if (info.lpszText) {
        text = info.lpszText;
    } else {
        text = info.szText;
    }
    if (text.empty()) return;
    SetWindowTextA(t.tip, text.c_str());
    HDC dc = GetDC(t.tip);
    HGDIOBJ old = SelectObject(dc, defaultFont());
    const int w = textWidth(dc, text) + 8, ht = lineHeight(nullptr) + 4;
    SelectObject(dc, old);
    ReleaseDC(t.tip, dc);
    POINT p;
    GetCursorPos(&p);
    SetWindowPos(t.tip, HWND_TOP, p.x, p.y + 20, w, ht, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    notifyParent(h, TTN_SHOW);
}

void click(HWND h, ToolBar& t, int i) {
    TBBUTTON& b = t.buttons[static_cast<std::size_t>(i)];
    if ((b.fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP) {
        // A check group: the buttons next to each other with the style.
        int first = i, last = i;
        while (first > 0 && (t.buttons[static_cast<std::size_t>(first - 1)].fsStyle &
                             TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP)
            --first;
        while (last + 1 < static_cast<int>(t.buttons.size()) &&
               (t.buttons[static_cast<std::size_t>(last + 1)].fsStyle & TBSTYLE_CHECKGROUP) ==
                   TBSTYLE_CHECKGROUP)
            ++last;
        for (int k = first; k <= last; ++k)
            t.buttons[static_cast<std::size_t>(k)].fsState &= static_cast<BYTE>(~TBSTATE_CHECKED);
        b.fsState |= TBSTATE_CHECKED;
    } else if (b.fsStyle & TBSTYLE_CHECK) {
        b.fsState ^= TBSTATE_CHECKED;
    }
    InvalidateRect(h, nullptr, TRUE);
    SendMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(b.idCommand), BN_CLICKED),
                 reinterpret_cast<LPARAM>(h));
}

LRESULT setState(HWND h, ToolBar& t, WPARAM command, BYTE flag, bool on) {
    const int i = indexOf(t, static_cast<int>(command));
    if (i < 0) return FALSE;
    BYTE& s = t.buttons[static_cast<std::size_t>(i)].fsState;
    s = on ? static_cast<BYTE>(s | flag) : static_cast<BYTE>(s & ~flag);
    InvalidateRect(h, nullptr, TRUE);
    return TRUE;
}

LRESULT addBitmap(ToolBar& t, WPARAM count, const TBADDBITMAP* add) {
    if (!add) return -1;
    Strip s;
    s.first = t.images;
    if (add->hInst) {
        s.bitmap = static_cast<HBITMAP>(LoadImageA(add->hInst,
                                                   MAKEINTRESOURCEA(static_cast<WORD>(add->nID)),
                                                   IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
        s.owned = true;
    } else {
        s.bitmap = reinterpret_cast<HBITMAP>(add->nID);
    }
    if (!s.bitmap) return -1;
    t.strips.push_back(s);
    t.images += static_cast<int>(count);
    return s.first;
}

LRESULT toolProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    ToolBar* tp = records().forMessage(h, msg);
    if (!tp) return DefWindowProcA(h, msg, wp, lp);
    ToolBar& t = *tp;
    switch (msg) {
        case WM_CREATE:
            if (styleOf(h) & TBSTYLE_TOOLTIPS)
                t.tip = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, "",
                                        WS_POPUP | WS_BORDER, 0, 0, 10, 10, GetAncestor(h, GA_ROOT),
                                        nullptr, nullptr, nullptr);
            return 0;
        case WM_DESTROY:
            if (t.tip) DestroyWindow(t.tip);
            t.tip = nullptr;
            for (const Strip& s : t.strips)
                if (s.owned) DeleteObject(s.bitmap);
            t.strips.clear();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, t);
            return 0;
        case WM_SIZE:
            return 0;
        case WM_MOUSEMOVE: {
            const int i = hitTest(t, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            if (i != t.hot) {
                t.hot = i;
                InvalidateRect(h, nullptr, TRUE);
                hideTip(h, t);
                if (i >= 0 && t.tip) {
                    t.tipFor = i;
                    SetTimer(h, kTipTimer, kTipDelay, nullptr);
                }
            }
            if (t.pressed >= 0 && GetCapture() == h) InvalidateRect(h, nullptr, TRUE);
            return 0;
        }
        case WM_TIMER:
            if (wp == kTipTimer) {
                KillTimer(h, kTipTimer);
                POINT p;
                GetCursorPos(&p);
                ScreenToClient(h, &p);
                if (hitTest(t, p) == t.tipFor) showTip(h, t);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            hideTip(h, t);
            const int i = hitTest(t, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            if (i < 0 || !(t.buttons[static_cast<std::size_t>(i)].fsState & TBSTATE_ENABLED))
                return 0;
            t.pressed = i;
            SetCapture(h);
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        }
        case WM_LBUTTONUP:
            if (t.pressed >= 0) {
                const int i = t.pressed;
                t.pressed = -1;
                ReleaseCapture();
                InvalidateRect(h, nullptr, TRUE);
                if (hitTest(t, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}) == i) click(h, t, i);
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (t.pressed >= 0) {
                t.pressed = -1;
                InvalidateRect(h, nullptr, TRUE);
            }
            return 0;
        case TB_BUTTONSTRUCTSIZE:
            return 0;
        case TB_SETBITMAPSIZE:
            t.bitmapSize = {LOWORD(static_cast<std::uintptr_t>(lp)),
                            HIWORD(static_cast<std::uintptr_t>(lp))};
            return TRUE;
        case TB_SETBUTTONSIZE:
            t.buttonSize = {LOWORD(static_cast<std::uintptr_t>(lp)),
                            HIWORD(static_cast<std::uintptr_t>(lp))};
            return TRUE;
        case TB_ADDBITMAP:
            return addBitmap(t, wp, reinterpret_cast<const TBADDBITMAP*>(lp));
        case TB_ADDBUTTONSA:
        case TB_INSERTBUTTONA: {
            if (!lp) return FALSE;
            const auto* b = reinterpret_cast<const TBBUTTON*>(lp);
            if (msg == TB_ADDBUTTONSA) {
                t.buttons.insert(t.buttons.end(), b, b + wp);
            } else {
                const std::size_t at = std::min<std::size_t>(wp, t.buttons.size());
                t.buttons.insert(t.buttons.begin() + static_cast<long>(at), *b);
            }
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        case TB_DELETEBUTTON:
            if (wp >= t.buttons.size()) return FALSE;
            t.buttons.erase(t.buttons.begin() + static_cast<long>(wp));
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        case TB_GETBUTTON:
            if (wp >= t.buttons.size() || !lp) return FALSE;
            *reinterpret_cast<TBBUTTON*>(lp) = t.buttons[wp];
            return TRUE;
        case TB_BUTTONCOUNT:
            return static_cast<LRESULT>(t.buttons.size());
        case TB_COMMANDTOINDEX:
            return indexOf(t, static_cast<int>(wp));
        case TB_GETITEMRECT: {
            if (wp >= t.buttons.size() || !lp) return FALSE;
            *reinterpret_cast<RECT*>(lp) = layout(t)[wp];
            return TRUE;
        }
        case TB_ENABLEBUTTON:
            return setState(h, t, wp, TBSTATE_ENABLED,
                            LOWORD(static_cast<std::uintptr_t>(lp)) != 0);
        case TB_CHECKBUTTON:
            return setState(h, t, wp, TBSTATE_CHECKED,
                            LOWORD(static_cast<std::uintptr_t>(lp)) != 0);
        case TB_PRESSBUTTON:
            return setState(h, t, wp, TBSTATE_PRESSED,
                            LOWORD(static_cast<std::uintptr_t>(lp)) != 0);
        case TB_HIDEBUTTON:
            return setState(h, t, wp, TBSTATE_HIDDEN, LOWORD(static_cast<std::uintptr_t>(lp)) != 0);
        case TB_INDETERMINATE:
            return setState(h, t, wp, TBSTATE_INDETERMINATE,
                            LOWORD(static_cast<std::uintptr_t>(lp)) != 0);
        case TB_ISBUTTONENABLED:
        case TB_ISBUTTONCHECKED:
        case TB_ISBUTTONPRESSED: {
            const int i = indexOf(t, static_cast<int>(wp));
            if (i < 0) return FALSE;
            const BYTE flag = msg == TB_ISBUTTONENABLED   ? TBSTATE_ENABLED
                              : msg == TB_ISBUTTONCHECKED ? TBSTATE_CHECKED
                                                          : TBSTATE_PRESSED;
            return (t.buttons[static_cast<std::size_t>(i)].fsState & flag) ? TRUE : FALSE;
        }
        case TB_GETSTATE: {
            const int i = indexOf(t, static_cast<int>(wp));
            return i < 0 ? -1 : t.buttons[static_cast<std::size_t>(i)].fsState;
        }
        case TB_SETSTATE: {
            const int i = indexOf(t, static_cast<int>(wp));
            if (i < 0) return FALSE;
            t.buttons[static_cast<std::size_t>(i)].fsState =
                static_cast<BYTE>(LOWORD(static_cast<std::uintptr_t>(lp)));
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        case TB_AUTOSIZE:
            autoSize(h, t);
            return 0;
        case TB_SETROWS:
            t.rows = std::max(1, static_cast<int>(LOWORD(wp)));
            if (lp) {
                int bottom = 0, right = 0;
                for (const RECT& r : layout(t)) {
                    bottom = std::max(bottom, static_cast<int>(r.bottom));
                    right = std::max(right, static_cast<int>(r.right));
                }
                *reinterpret_cast<RECT*>(lp) = {0, 0, right + 2, bottom + 2};
            }
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case TB_GETROWS:
            return t.rows;
        case TB_GETTOOLTIPS:
            return reinterpret_cast<LRESULT>(t.tip);
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

// The tip window: the text on the information colours.
LRESULT tipProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    if (msg != WM_PAINT) return DefWindowProcA(h, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    fillSolid(dc, rc, GetSysColor(COLOR_INFOBK));
    char text[256];
    GetWindowTextA(h, text, sizeof text);
    SelectObject(dc, defaultFont());
    drawLabel(dc, text, {rc.left + 3, rc.top, rc.right, rc.bottom}, DT_SINGLELINE | DT_VCENTER,
              GetSysColor(COLOR_INFOTEXT), true);
    EndPaint(h, &ps);
    return 0;
}

}  // namespace

void registerToolBarClasses() {
    registerClass(TOOLBARCLASSNAMEA, toolProc, CS_DBLCLKS, nullptr, -1);
    registerClass(TOOLTIPS_CLASSA, tipProc, CS_SAVEBITS, nullptr, -1);
}

}  // namespace win::controls
