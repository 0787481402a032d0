// BUTTON: push buttons (default or not), check boxes, three-state boxes,
// radio buttons, group boxes, and push buttons that show a bitmap or icon.

#include <algorithm>
#include <string>

#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/window/image_api.h"

namespace win::controls {
namespace {

struct Button {
    WPARAM check = BST_UNCHECKED;
    bool pushed = false;
    bool focus = false;
    bool tracking = false;
    bool spaceDown = false;
    HFONT font = nullptr;
    HANDLE image = nullptr;
};

Records<Button>& records() {
    static Records<Button> r;
    return r;
}

DWORD kind(HWND h) {
    return styleOf(h) & BS_TYPEMASK;
}
bool isPush(DWORD k) {
    return k == BS_PUSHBUTTON || k == BS_DEFPUSHBUTTON || k == BS_PUSHBOX || k == BS_OWNERDRAW;
}
bool isRadio(DWORD k) {
    return k == BS_RADIOBUTTON || k == BS_AUTORADIOBUTTON;
}
bool isCheck(DWORD k) {
    return k == BS_CHECKBOX || k == BS_AUTOCHECKBOX || k == BS_3STATE || k == BS_AUTO3STATE;
}

void redraw(HWND h) {
    InvalidateRect(h, nullptr, TRUE);
}

void drawCheckMark(HDC dc, const RECT& box, COLORREF c) {
    const int x = box.left + 3, y = box.top + 5;
    for (int i = 0; i < 3; ++i) {
        drawLine(dc, x + i, y + 2 + i, x + i, y + 5 + i, c);
        drawLine(dc, x + 3 + i, y + 4 - i, x + 3 + i, y + 7 - i, c);
    }
    drawLine(dc, x + 6, y + 1, x + 6, y + 4, c);
}

void paintPush(HWND h, HDC dc, Button& b, const RECT& rc) {
    const DWORD style = styleOf(h);
    const bool def = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    const bool enabled = IsWindowEnabled(h);
    fillSolid(dc, rc, GetSysColor(COLOR_BTNFACE));
    RECT r = rc;
    if (def) {
        FrameRect(dc, &r, sysBrush(COLOR_3DDKSHADOW));
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    if (b.pushed || b.check == BST_CHECKED) {
        FrameRect(dc, &r, sysBrush(COLOR_BTNSHADOW));
    } else {
        drawEdge(dc, r, true);
    }
    const int shift = b.pushed ? 1 : 0;
    RECT inner{r.left + 2 + shift, r.top + 2 + shift, r.right - 2 + shift, r.bottom - 2 + shift};
    if ((style & BS_BITMAP) && b.image) {
        BITMAP bm{};
        GetObjectA(b.image, sizeof bm, &bm);
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, b.image);
        BitBlt(dc, (inner.left + inner.right - bm.bmWidth) / 2,
               (inner.top + inner.bottom - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, mem, 0, 0,
               SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    } else if ((style & BS_ICON) && b.image) {
        const int size = std::min({32, inner.right - inner.left, inner.bottom - inner.top});
        DrawIconEx(dc, (inner.left + inner.right - size) / 2, (inner.top + inner.bottom - size) / 2,
                   static_cast<HICON>(b.image), size, size, 0, nullptr, DI_NORMAL);
    } else {
        char text[512];
        GetWindowTextA(h, text, sizeof text);
        SelectObject(dc, fontOrDefault(b.font));
        drawLabel(dc, text, inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                  GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    }
    if (b.focus) drawFocus(dc, {r.left + 3, r.top + 3, r.right - 3, r.bottom - 3});
}

void paintCheckOrRadio(HWND h, HDC dc, Button& b, const RECT& rc, bool radio) {
    const bool enabled = IsWindowEnabled(h);
    const DWORD style = styleOf(h);
    const int size = 13;
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    const int top = (rc.top + rc.bottom - size) / 2;
    RECT boxRect{leftText ? rc.right - size : rc.left, top, leftText ? rc.right : rc.left + size,
                 top + size};
    const COLORREF well =
        (b.pushed || !enabled) ? GetSysColor(COLOR_BTNFACE) : GetSysColor(COLOR_WINDOW);
    const COLORREF mark = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    if (radio) {
        HBRUSH fill = CreateSolidBrush(well);
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ ob = SelectObject(dc, fill), op = SelectObject(dc, pen);
        Ellipse(dc, boxRect.left, boxRect.top, boxRect.right - 1, boxRect.bottom - 1);
        if (b.check == BST_CHECKED) {
            HBRUSH dot = CreateSolidBrush(mark);
            SelectObject(dc, dot);
            SelectObject(dc, GetStockObject(NULL_PEN));
            Ellipse(dc, boxRect.left + 4, boxRect.top + 4, boxRect.right - 4, boxRect.bottom - 4);
            SelectObject(dc, ob);
            DeleteObject(dot);
        }
        SelectObject(dc, ob);
        SelectObject(dc, op);
        DeleteObject(fill);
        DeleteObject(pen);
    } else {
        fillSolid(dc, boxRect, b.check == BST_INDETERMINATE ? GetSysColor(COLOR_3DLIGHT) : well);
        drawEdge(dc, boxRect, false);
        if (b.check == BST_CHECKED) drawCheckMark(dc, boxRect, mark);
        if (b.check == BST_INDETERMINATE) drawCheckMark(dc, boxRect, GetSysColor(COLOR_BTNSHADOW));
    }
    char text[512];
    GetWindowTextA(h, text, sizeof text);
    SelectObject(dc, fontOrDefault(b.font));
    RECT label{leftText ? rc.left : rc.left + size + 4, rc.top,
               leftText ? rc.right - size - 4 : rc.right, rc.bottom};
    UINT format = DT_VCENTER | DT_SINGLELINE;
    if ((style & BS_CENTER) == BS_RIGHT) format |= DT_RIGHT;
    drawLabel(dc, text, label, format, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    if (b.focus && text[0]) {
        RECT calc = label;
        DrawTextA(dc, text, -1, &calc, DT_CALCRECT | DT_SINGLELINE);
        const int h2 = calc.bottom - calc.top;
        const int y = (rc.top + rc.bottom - h2) / 2;
        drawFocus(dc,
                  {label.left - 1, y - 1, label.left + (calc.right - calc.left) + 2, y + h2 + 1});
    }
}

void paintGroup(HWND h, HDC dc, Button& b, const RECT& rc) {
    char text[512];
    GetWindowTextA(h, text, sizeof text);
    SelectObject(dc, fontOrDefault(b.font));
    const int half = lineHeight(b.font) / 2;
    drawEtchedFrame(dc, {rc.left, rc.top + half, rc.right, rc.bottom});
    if (!text[0]) return;
    RECT calc{0, 0, 0, 0};
    DrawTextA(dc, text, -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    RECT label{rc.left + 8, rc.top, rc.left + 8 + calc.right + 4, rc.top + calc.bottom};
    fillSolid(dc, label, GetBkColor(dc));
    drawLabel(dc, text, {label.left + 2, label.top, label.right, label.bottom},
              DT_SINGLELINE | DT_LEFT,
              GetSysColor(IsWindowEnabled(h) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
}

void paint(HWND h, Button& b) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    const DWORD k = kind(h);
    HBRUSH bg = controlColour(h, dc, isPush(k) ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
    if (!isPush(k)) FillRect(dc, &rc, bg);
    if (isPush(k))
        paintPush(h, dc, b, rc);
    else if (k == BS_GROUPBOX)
        paintGroup(h, dc, b, rc);
    else
        paintCheckOrRadio(h, dc, b, rc, isRadio(k));
    EndPaint(h, &ps);
}

// Unchecks the other radio buttons of the group the button belongs to.
void uncheckGroupSiblings(HWND h) {
    HWND parent = GetParent(h);
    if (!parent) return;
    // The group starts at the nearest window with WS_GROUP at or before h.
    HWND first = h;
    while (!(styleOf(first) & WS_GROUP)) {
        HWND prev = GetWindow(first, GW_HWNDPREV);
        if (!prev) break;
        first = prev;
    }
    for (HWND c = first; c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c != first && (styleOf(c) & WS_GROUP)) break;
        if (c == h) continue;
        char cls[16];
        GetClassNameA(c, cls, sizeof cls);
        if (std::string(cls) != "Button" && std::string(cls) != "BUTTON") continue;
        if ((SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) &&
            SendMessageA(c, BM_GETCHECK, 0, 0))
            SendMessageA(c, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void click(HWND h, Button& b) {
    const DWORD k = kind(h);
    if (k == BS_AUTOCHECKBOX)
        SendMessageA(h, BM_SETCHECK, b.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    if (k == BS_AUTO3STATE) SendMessageA(h, BM_SETCHECK, (b.check + 1) % 3, 0);
    if (k == BS_AUTORADIOBUTTON) {
        SendMessageA(h, BM_SETCHECK, BST_CHECKED, 0);
        uncheckGroupSiblings(h);
    }
    notifyCommand(h, BN_CLICKED);
}

LRESULT buttonProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Button* b = records().forMessage(h, msg);
    if (!b) return DefWindowProcA(h, msg, wp, lp);
    const DWORD k = kind(h);
    switch (msg) {
        case WM_GETDLGCODE:
            if (k == BS_GROUPBOX) return DLGC_STATIC;
            if (isRadio(k)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
            if (k == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
            if (isPush(k)) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
            return DLGC_BUTTON;
        case WM_NCHITTEST:
            if (k == BS_GROUPBOX) return HTTRANSPARENT;
            return DefWindowProcA(h, msg, wp, lp);
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, *b);
            return 0;
        case WM_SETFONT:
            b->font = reinterpret_cast<HFONT>(wp);
            if (lp) redraw(h);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(b->font);
        case WM_SETTEXT: {
            const LRESULT r = DefWindowProcA(h, msg, wp, lp);
            redraw(h);
            return r;
        }
        case WM_ENABLE:
            redraw(h);
            return 0;
        case WM_SETFOCUS:
            b->focus = true;
            redraw(h);
            if (styleOf(h) & BS_NOTIFY) notifyCommand(h, BN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            b->focus = false;
            if (b->pushed) {
                b->pushed = false;
                if (GetCapture() == h) ReleaseCapture();
            }
            b->tracking = false;
            b->spaceDown = false;
            redraw(h);
            if (styleOf(h) & BS_NOTIFY) notifyCommand(h, BN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (k == BS_GROUPBOX) return 0;
            SetFocus(h);
            SetCapture(h);
            b->tracking = true;
            b->pushed = true;
            redraw(h);
            return 0;
        case WM_MOUSEMOVE:
            if (b->tracking) {
                RECT rc;
                GetClientRect(h, &rc);
                const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                const bool inside =
                    p.x >= rc.left && p.x < rc.right && p.y >= rc.top && p.y < rc.bottom;
                if (inside != b->pushed) {
                    b->pushed = inside;
                    redraw(h);
                }
            }
            return 0;
        case WM_LBUTTONUP:
            if (b->tracking) {
                const bool hit = b->pushed;
                b->tracking = false;
                b->pushed = false;
                ReleaseCapture();
                redraw(h);
                if (hit) click(h, *b);
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (b->tracking) {
                b->tracking = false;
                b->pushed = false;
                redraw(h);
            }
            return 0;
        case WM_KEYDOWN:
            if (wp == VK_SPACE && k != BS_GROUPBOX) {
                b->spaceDown = true;
                b->pushed = true;
                redraw(h);
                return 0;
            }
            return DefWindowProcA(h, msg, wp, lp);
        case WM_KEYUP:
            if (wp == VK_SPACE && b->spaceDown) {
                b->spaceDown = false;
                b->pushed = false;
                redraw(h);
                click(h, *b);
                return 0;
            }
            return DefWindowProcA(h, msg, wp, lp);
        case WM_CHAR:
            return 0;
        case BM_CLICK:
            if (k != BS_GROUPBOX && IsWindowEnabled(h)) click(h, *b);
            return 0;
        case BM_GETCHECK:
            return (isCheck(k) || isRadio(k)) ? static_cast<LRESULT>(b->check) : 0;
        case BM_SETCHECK: {
            WPARAM v = wp;
            if (k != BS_3STATE && k != BS_AUTO3STATE && v == BST_INDETERMINATE) v = BST_CHECKED;
            if (!isCheck(k) && !isRadio(k)) return 0;
            if (b->check != v) {
                b->check = v;
                redraw(h);
            }
            // A checked radio button is the one the Tab key reaches.
            if (isRadio(k)) {
                LONG_PTR s = GetWindowLongA(h, GWL_STYLE);
                SetWindowLongA(h, GWL_STYLE,
                               v ? (s | WS_TABSTOP) : (s & ~static_cast<LONG_PTR>(WS_TABSTOP)));
            }
            return 0;
        }
        case BM_GETSTATE:
            return static_cast<LRESULT>(b->check | (b->pushed ? BST_PUSHED : 0) |
                                        (b->focus ? BST_FOCUS : 0));
        case BM_SETSTATE:
            if (b->pushed != (wp != 0)) {
                b->pushed = wp != 0;
                redraw(h);
            }
            return 0;
        case BM_SETSTYLE: {
            const LONG_PTR s = GetWindowLongA(h, GWL_STYLE);
            SetWindowLongA(
                h, GWL_STYLE,
                (s & ~static_cast<LONG_PTR>(0xFFFF)) | static_cast<LONG_PTR>(wp & 0xFFFF));
            if (lp) redraw(h);
            return 0;
        }
        case BM_GETIMAGE:
            return reinterpret_cast<LRESULT>(b->image);
        case BM_SETIMAGE: {
            HANDLE old = b->image;
            b->image = reinterpret_cast<HANDLE>(lp);
            redraw(h);
            return reinterpret_cast<LRESULT>(old);
        }
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerButtonClass() {
    registerClass("Button", buttonProc, CS_DBLCLKS, nullptr, -1);
}

}  // namespace win::controls
