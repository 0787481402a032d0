// The non-client area the layer draws and answers for: frame, caption with
// icon, title and boxes, menu bar and window scroll bars; hit-testing;
// moving and sizing with the mouse; the system commands.

#include <algorithm>

#include "platform/window/layer_drawing.h"
#include "platform/window/menu_internal.h"
#include "platform/window/presenter.h"
#include "platform/window/screen.h"
#include "platform/window/window_internal.h"

namespace win::detail {
namespace {

struct FrameGeometry {
    int border = 0;
    RECT caption{};  // window coordinates; empty without a caption
    RECT close{}, maximize{}, minimize{}, icon{};
    RECT menuBar{};
    RECT vscroll{}, hscroll{}, sizeBox{};
};

bool hasCaption(const Window* w) {
    return (w->style & WS_CAPTION) == WS_CAPTION;
}

FrameGeometry frameGeometry(const Window* w) {
    FrameGeometry g;
    const int width = w->rect.right - w->rect.left;
    const int height = w->rect.bottom - w->rect.top;
    const RECT in = nonClientInsets(w->style, w->exStyle, false, 0);
    g.border = in.left;
    int y = g.border;
    if (hasCaption(w)) {
        const int ch = (w->exStyle & WS_EX_TOOLWINDOW) ? 16 : 19;
        g.caption = {g.border, y, width - g.border, y + ch - 1};
        y += ch;
        const int bh = ch - 5;
        const int bw = bh + 2;
        const int top = g.caption.top + 2;
        int right = g.caption.right - 2;
        if (w->style & WS_SYSMENU) {
            g.close = {right - bw, top, right, top + bh};
            right = g.close.left - 2;
            if ((w->style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) &&
                !(w->exStyle & WS_EX_TOOLWINDOW)) {
                g.maximize = {right - bw, top, right, top + bh};
                g.minimize = {g.maximize.left - bw, top, g.maximize.left, top + bh};
            }
            if (!(w->exStyle & WS_EX_TOOLWINDOW))
                g.icon = {g.caption.left + 2, g.caption.top + 1, g.caption.left + 18,
                          g.caption.top + 17};
        }
    }
    if (!(w->style & WS_CHILD) && w->menu) {
        const int mh = menuBarHeight(w->handle);
        g.menuBar = {g.border, y, width - g.border, y + mh};
        y += mh;
    }
    const RECT client = clientRectInWindow(w);
    if (w->style & WS_VSCROLL)
        g.vscroll = {client.right, client.top, client.right + 16, client.bottom};
    if (w->style & WS_HSCROLL)
        g.hscroll = {client.left, client.bottom, client.right, client.bottom + 16};
    if ((w->style & WS_VSCROLL) && (w->style & WS_HSCROLL))
        g.sizeBox = {client.right, client.bottom, client.right + 16, client.bottom + 16};
    (void)height;
    return g;
}

bool sizeAllowed(const Window* w) {
    return (w->style & WS_THICKFRAME) && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE));
}

// Moving or sizing with the mouse held down, until it is released; Escape
// puts the window back.
void moveOrSize(Window* w, WPARAM cmd) {
    const HWND h = w->handle;
    const bool sizing = (cmd & 0xFFF0) == SC_SIZE;
    const int edge = static_cast<int>(cmd & 0x000F);
    if (sizing && (!sizeAllowed(w) || edge == 0)) return;
    if (!sizing && (w->style & WS_MAXIMIZE)) return;
    // With the mouse held, the desktop's window manager moves the window
    // (its snapping and edge rules apply); the move reaches the window as
    // the manager's change of place.
    if (Presenter* p = currentPresenter();
        p && GetKeyState(VK_LBUTTON) < 0 && p->moveOrSizeByDesktop(h, sizing ? edge : 0))
        return;
    auto& s = state();
    sendMessage(w, WM_ENTERSIZEMOVE, 0, 0);
    SetCapture(h);
    const POINT start = s.messagePos;
    const RECT original = w->rect;
    const POINT parentOrigin = clientOriginOnScreen(w->parent);
    MINMAXINFO mmi;
    mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = {screenConfig().width + 8, screenConfig().height + 8};
    if (sizing) sendMessage(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    bool done = false;
    while (!done && findWindow(h)) {
        const InputEvent ev = nextRawInput();
        if (!findWindow(h)) break;
        if (ev.kind == InputKind::KeyDown && (ev.vk == VK_ESCAPE || ev.vk == VK_RETURN)) {
            if (ev.vk == VK_ESCAPE)
                setWindowPos(w, nullptr, original.left, original.top,
                             original.right - original.left, original.bottom - original.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            done = true;
            continue;
        }
        if (ev.kind == InputKind::ButtonUp) done = true;
        if (ev.kind != InputKind::MouseMove && ev.kind != InputKind::ButtonUp) continue;
        const int dx = ev.pt.x - start.x;
        const int dy = ev.pt.y - start.y;
        RECT r = offsetRect(original, parentOrigin.x, parentOrigin.y);
        if (!sizing) {
            r = offsetRect(r, dx, dy);
            sendMessage(w, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
        } else {
            const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
            const bool right =
                edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
            const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
            const bool bottom =
                edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
            if (left)
                r.left = std::clamp<LONG>(r.left + dx, r.right - mmi.ptMaxTrackSize.x,
                                          r.right - mmi.ptMinTrackSize.x);
            if (right)
                r.right = std::clamp<LONG>(r.right + dx, r.left + mmi.ptMinTrackSize.x,
                                           r.left + mmi.ptMaxTrackSize.x);
            if (top)
                r.top = std::clamp<LONG>(r.top + dy, r.bottom - mmi.ptMaxTrackSize.y,
                                         r.bottom - mmi.ptMinTrackSize.y);
            if (bottom)
                r.bottom = std::clamp<LONG>(r.bottom + dy, r.top + mmi.ptMinTrackSize.y,
                                            r.top + mmi.ptMaxTrackSize.y);
            sendMessage(w, WM_SIZING, static_cast<WPARAM>(edge), reinterpret_cast<LPARAM>(&r));
        }
        if (!findWindow(h)) break;
        r = offsetRect(r, -parentOrigin.x, -parentOrigin.y);
        setWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | (sizing ? 0 : SWP_NOSIZE));
    }
    if (state().capture == h) ReleaseCapture();
    if (Window* v = findWindow(h)) sendMessage(v, WM_EXITSIZEMOVE, 0, 0);
}

// A caption box acts when the button is released over it.
bool trackCaptionButton(Window* w, LRESULT hit) {
    const HWND h = w->handle;
    w->ncPressed = static_cast<int>(hit);
    w->frameDirty = true;
    bool inside = true;
    for (;;) {
        const InputEvent ev = nextRawInput();
        Window* v = findWindow(h);
        if (!v) return false;
        if (ev.kind == InputKind::MouseMove || ev.kind == InputKind::ButtonUp) {
            inside = nonClientHitTest(v, ev.pt) == hit;
            v->ncPressed = inside ? static_cast<int>(hit) : 0;
            v->frameDirty = true;
        }
        if (ev.kind == InputKind::ButtonUp) break;
        if (ev.kind == InputKind::KeyDown && ev.vk == VK_ESCAPE) {
            inside = false;
            break;
        }
    }
    if (Window* v = findWindow(h)) {
        v->ncPressed = 0;
        v->frameDirty = true;
    }
    return inside;
}

void paintCaptionBox(Surface& s, const RECT& clip, const RECT& r, LRESULT kind, bool pressed,
                     bool enabled) {
    layerFill(s, clip, r, GetSysColor(COLOR_BTNFACE));
    layerEdge(s, clip, r, !pressed, true);
    const COLORREF ink = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    const int off = pressed ? 1 : 0;
    const int cx = (r.left + r.right) / 2 + off;
    const int cy = (r.top + r.bottom) / 2 + off;
    if (kind == HTCLOSE) {
        for (int i = -3; i <= 3; ++i) {
            layerFill(s, clip, {cx + i - 1, cy + i, cx + i + 1, cy + i + 1}, ink);
            layerFill(s, clip, {cx - i - 1, cy + i, cx - i + 1, cy + i + 1}, ink);
        }
    } else if (kind == HTMAXBUTTON) {
        const RECT box{cx - 4, cy - 4, cx + 5, cy + 4};
        layerFill(s, clip, {box.left, box.top, box.right, box.top + 2}, ink);
        layerLine(s, clip, box.left, box.top, box.left, box.bottom, ink);
        layerLine(s, clip, box.right - 1, box.top, box.right - 1, box.bottom, ink);
        layerLine(s, clip, box.left, box.bottom - 1, box.right, box.bottom - 1, ink);
    } else if (kind == HTMINBUTTON) {
        layerFill(s, clip, {cx - 4, cy + 2, cx + 2, cy + 4}, ink);
    }
}

void paintArrow(Surface& s, const RECT& clip, const RECT& r, int direction, bool enabled) {
    // direction: 0 up, 1 down, 2 left, 3 right.
    const COLORREF ink = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    const int cx = (r.left + r.right) / 2 - 1, cy = (r.top + r.bottom) / 2 - 1;
    for (int k = 0; k < 4; ++k) {
        if (direction == 0) layerFill(s, clip, {cx - k, cy - 1 + k, cx + k + 1, cy + k}, ink);
        if (direction == 1) layerFill(s, clip, {cx - k, cy + 2 - k, cx + k + 1, cy + 3 - k}, ink);
        if (direction == 2) layerFill(s, clip, {cx - 1 + k, cy - k, cx + k, cy + k + 1}, ink);
        if (direction == 3) layerFill(s, clip, {cx + 2 - k, cy - k, cx + 3 - k, cy + k + 1}, ink);
    }
}

void paintScrollBar(Surface& s, const RECT& clip, RECT r, bool vertical, const Window* w) {
    const ScrollBarState& sb = vertical ? w->vscroll : w->hscroll;
    layerFill(s, clip, r, GetSysColor(COLOR_SCROLLBAR));
    const RECT first = vertical ? RECT{r.left, r.top, r.right, r.top + 16}
                                : RECT{r.left, r.top, r.left + 16, r.bottom};
    const RECT last = vertical ? RECT{r.left, r.bottom - 16, r.right, r.bottom}
                               : RECT{r.right - 16, r.top, r.right, r.bottom};
    int k = 0;
    for (const RECT& a : {first, last}) {
        layerFill(s, clip, a, GetSysColor(COLOR_BTNFACE));
        layerEdge(s, clip, a, true, true);
        paintArrow(s, clip, a, (vertical ? 0 : 2) + k++, sb.enabled && sb.max > sb.min);
    }
    int start = 0, length = 0, track = 0;
    if (!scrollThumb(w, vertical, start, length, track)) return;
    const RECT t = vertical ? RECT{r.left, r.top + start, r.right, r.top + start + length}
                            : RECT{r.left + start, r.top, r.left + start + length, r.bottom};
    layerFill(s, clip, t, GetSysColor(COLOR_BTNFACE));
    layerEdge(s, clip, t, true, true);
}

}  // namespace

LRESULT nonClientHitTest(Window* w, POINT pt) {
    const RECT wr = windowRectOnScreen(w);
    if (!pointIn(wr, pt)) return HTNOWHERE;
    if (w->style & WS_MINIMIZE) return HTCAPTION;
    const POINT p{pt.x - wr.left, pt.y - wr.top};
    const RECT client = clientRectInWindow(w);
    if (pointIn(client, p)) return HTCLIENT;
    const FrameGeometry g = frameGeometry(w);
    const int width = wr.right - wr.left;
    const int height = wr.bottom - wr.top;
    if (g.border > 0 &&
        (p.x < g.border || p.y < g.border || p.x >= width - g.border || p.y >= height - g.border)) {
        if (!(w->style & WS_THICKFRAME) || (w->style & WS_MAXIMIZE)) return HTBORDER;
        const int corner = GetSystemMetrics(SM_CYCAPTION) + g.border;
        const bool left = p.x < corner, right = p.x >= width - corner;
        const bool top = p.y < corner, bottom = p.y >= height - corner;
        if (p.y < g.border) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (p.y >= height - g.border) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (p.x < g.border) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
        return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    if (!isEmpty(g.caption) && p.y >= g.caption.top && p.y <= g.caption.bottom) {
        if (pointIn(g.close, p)) return HTCLOSE;
        if (pointIn(g.maximize, p)) return HTMAXBUTTON;
        if (pointIn(g.minimize, p)) return HTMINBUTTON;
        if (!isEmpty(g.icon) && p.x < g.icon.right) return HTSYSMENU;
        return HTCAPTION;
    }
    if (pointIn(g.menuBar, p)) return HTMENU;
    if (pointIn(g.sizeBox, p)) return (w->style & WS_THICKFRAME) ? HTBOTTOMRIGHT : HTNOWHERE;
    if (pointIn(g.vscroll, p)) return HTVSCROLL;
    if (pointIn(g.hscroll, p)) return HTHSCROLL;
    return HTNOWHERE;
}

void nonClientButtonDown(Window* w, LRESULT hit, LPARAM lParam) {
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (hit) {
        case HTCAPTION:
            sendMessage(w, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, lParam);
            break;
        case HTSYSMENU:
        case HTMENU:
            sendMessage(w, WM_SYSCOMMAND, SC_MOUSEMENU + static_cast<WPARAM>(hit), lParam);
            break;
        case HTVSCROLL:
            sendMessage(w, WM_SYSCOMMAND, SC_VSCROLL + static_cast<WPARAM>(hit), lParam);
            break;
        case HTHSCROLL:
            sendMessage(w, WM_SYSCOMMAND, SC_HSCROLL + static_cast<WPARAM>(hit), lParam);
            break;
        case HTMINBUTTON:
        case HTMAXBUTTON:
        case HTCLOSE: {
            const HWND h = w->handle;
            if (!trackCaptionButton(w, hit)) break;
            Window* v = findWindow(h);
            if (!v) break;
            WPARAM cmd = SC_CLOSE;
            if (hit == HTMINBUTTON) cmd = (v->style & WS_MINIMIZE) ? SC_RESTORE : SC_MINIMIZE;
            if (hit == HTMAXBUTTON) cmd = (v->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
            sendMessage(v, WM_SYSCOMMAND, cmd,
                        MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
            break;
        }
        default:
            if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT)
                sendMessage(w, WM_SYSCOMMAND, SC_SIZE + static_cast<WPARAM>(hit - HTLEFT + 1),
                            lParam);
            break;
    }
}

void sysCommand(Window* w, WPARAM cmd, LPARAM lParam) {
    const HWND h = w->handle;
    switch (cmd & 0xFFF0) {
        case SC_MOVE:
        case SC_SIZE:
            moveOrSize(w, cmd);
            break;
        case SC_MINIMIZE:
            ShowWindow(h, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(h, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(h, SW_RESTORE);
            break;
        case SC_CLOSE:
            sendMessage(w, WM_CLOSE, 0, 0);
            break;
        case SC_VSCROLL:
        case SC_HSCROLL:
            trackScrollBar(w, (cmd & 0xFFF0) == SC_VSCROLL,
                           {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            break;
        case SC_MOUSEMENU:
            trackMenuBar(h, true, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, 0);
            break;
        case SC_KEYMENU:
            if (w->style & WS_CHILD) {
                sendMessage(w->parent, WM_SYSCOMMAND, cmd, lParam);
                break;
            }
            // Alt+Space opens the system menu, other keys the menu bar.
            if (w->menu || lParam == ' ') trackMenuBar(h, false, {}, static_cast<int>(lParam));
            break;
        default:
            break;
    }
}

void paintNonClient(Window* w) {
    if (!w || w == state().desktop) return;
    w->frameDirty = false;
    if (!isVisibleOnScreen(w)) return;
    const WindowDrawTarget t = windowDrawTarget(w->handle, false);
    if (!t.surface) return;
    Surface& s = *t.surface;
    const FrameGeometry g = frameGeometry(w);
    const int width = w->rect.right - w->rect.left;
    const int height = w->rect.bottom - w->rect.top;
    const RECT outer = offsetRect(RECT{0, 0, width, height}, t.origin.x, t.origin.y);
    const RECT client = offsetRect(clientRectInWindow(w), t.origin.x, t.origin.y);
    const RECT clip = t.clip;
    // The frame: everything outside the client area, in the button face.
    if (g.border > 0 || hasCaption(w)) {
        const RECT parts[4] = {{outer.left, outer.top, outer.right, client.top},
                               {outer.left, client.bottom, outer.right, outer.bottom},
                               {outer.left, client.top, client.left, client.bottom},
                               {client.right, client.top, outer.right, client.bottom}};
        for (const RECT& p : parts)
            layerFill(s, clip, p, GetSysColor(COLOR_BTNFACE));
        if (g.border == 1) {
            layerLine(s, clip, outer.left, outer.top, outer.right, outer.top,
                      GetSysColor(COLOR_WINDOWFRAME));
            layerLine(s, clip, outer.left, outer.bottom - 1, outer.right, outer.bottom - 1,
                      GetSysColor(COLOR_WINDOWFRAME));
            layerLine(s, clip, outer.left, outer.top, outer.left, outer.bottom,
                      GetSysColor(COLOR_WINDOWFRAME));
            layerLine(s, clip, outer.right - 1, outer.top, outer.right - 1, outer.bottom,
                      GetSysColor(COLOR_WINDOWFRAME));
        } else if (g.border >= 2) {
            layerEdge(s, clip, outer, true, true);
        }
    }
    if (!isEmpty(g.caption)) {
        const bool active = w->ncActive != FALSE;
        const RECT cap = offsetRect(g.caption, t.origin.x, t.origin.y);
        layerFill(s, clip, cap, GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        int textLeft = cap.left + 3;
        if (!isEmpty(g.icon)) {
            textLeft = cap.left + 21;
            HICON icon = w->iconSmall ? w->iconSmall : w->iconBig;
            if (!icon) icon = w->cls->iconSmall ? w->cls->iconSmall : w->cls->icon;
            if (icon) {
                const RECT ir = offsetRect(g.icon, t.origin.x, t.origin.y);
                paintIcon(s, clip, icon, ir.left, ir.top, 16, 16);
            }
        }
        const RECT textClip = intersectRect(
            clip, {cap.left, cap.top,
                   (isEmpty(g.minimize) ? (isEmpty(g.close) ? cap.right : g.close.left + t.origin.x)
                                        : g.minimize.left + t.origin.x) -
                       2,
                   cap.bottom});
        layerText(s, textClip, textLeft, cap.top + 2, w->text,
                  GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT), true, -1);
        const bool canClose = !(w->cls->style & CS_NOCLOSE);
        if (!isEmpty(g.close))
            paintCaptionBox(s, clip, offsetRect(g.close, t.origin.x, t.origin.y), HTCLOSE,
                            w->ncPressed == HTCLOSE, canClose);
        if (!isEmpty(g.maximize))
            paintCaptionBox(s, clip, offsetRect(g.maximize, t.origin.x, t.origin.y), HTMAXBUTTON,
                            w->ncPressed == HTMAXBUTTON, (w->style & WS_MAXIMIZEBOX) != 0);
        if (!isEmpty(g.minimize))
            paintCaptionBox(s, clip, offsetRect(g.minimize, t.origin.x, t.origin.y), HTMINBUTTON,
                            w->ncPressed == HTMINBUTTON, (w->style & WS_MINIMIZEBOX) != 0);
    }
    if (!isEmpty(g.menuBar)) paintMenuBar(w->handle);
    if (!isEmpty(g.vscroll))
        paintScrollBar(s, clip, offsetRect(g.vscroll, t.origin.x, t.origin.y), true, w);
    if (!isEmpty(g.hscroll))
        paintScrollBar(s, clip, offsetRect(g.hscroll, t.origin.x, t.origin.y), false, w);
    if (!isEmpty(g.sizeBox))
        layerFill(s, clip, offsetRect(g.sizeBox, t.origin.x, t.origin.y),
                  GetSysColor(COLOR_BTNFACE));
}

// Menu-bar geometry lives with the frame: the bar sits under the caption.
RECT menuBarRectInWindow(Window* w) {
    return frameGeometry(w).menuBar;
}

}  // namespace win::detail
