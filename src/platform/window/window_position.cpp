// Place, size, z-order and show state of windows. WM_WINDOWPOSCHANGED goes out
// before SetWindowPos returns, and its default processing sends WM_MOVE and
// WM_SIZE, so a size change is known to the window synchronously.

#include <algorithm>
#include <limits>

#include "platform/window/screen.h"
#include "platform/window/window_state.h"

namespace win {
namespace detail {
namespace {

constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

int frameThickness(const Window* w) {
    const RECT in = nonClientInsets(w->style, w->exStyle, false, 0);
    return in.left;
}

RECT parentClientArea(const Window* w) {
    if (w->parent == state().desktop) return {0, 0, screenConfig().width, screenConfig().height};
    RECT cr = clientRectInWindow(w->parent);
    return offsetRect(cr, -cr.left, -cr.top);
}

MINMAXINFO minMaxInfo(Window* w) {
    const RECT area = parentClientArea(w);
    const int b = frameThickness(w);
    MINMAXINFO mmi;
    mmi.ptMaxSize = {area.right - area.left + 2 * b, area.bottom - area.top + 2 * b};
    mmi.ptMaxPosition = {area.left - b, area.top - b};
    mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = {screenConfig().width + 2 * b, screenConfig().height + 2 * b};
    sendMessage(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    return mmi;
}

RECT minimizedRect(Window* w) {
    const int width = 160;
    const int height = GetSystemMetrics(SM_CYCAPTION) + 2 * frameThickness(w);
    if (w->minPosition.x != -1 || w->minPosition.y != -1)
        return {w->minPosition.x, w->minPosition.y, w->minPosition.x + width,
                w->minPosition.y + height};
    const RECT area = parentClientArea(w);
    int slot = 0;
    for (Window* sib : w->parent->children)
        if (sib != w && (sib->style & WS_MINIMIZE)) ++slot;
    const int perRow = std::max(1, static_cast<int>(area.right - area.left) / width);
    const int x = area.left + (slot % perRow) * width;
    const int y = area.bottom - height * (1 + slot / perRow);
    return {x, y, x + width, y + height};
}

void minimize(Window* w) {
    if (w->style & WS_MINIMIZE) return;
    w->restoreToMaximized = (w->style & WS_MAXIMIZE) != 0;
    if (!(w->style & WS_MAXIMIZE)) w->normalRect = w->rect;
    w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
    auto& s = state();
    if (Window* f = findWindow(s.focus); f && (f == w || IsChild(w->handle, f->handle)))
        SetFocus(nullptr);
    const RECT r = minimizedRect(w);
    setWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Maximising a maximised window fits it to its parent again (the parent may
// have changed size).
void maximize(Window* w) {
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normalRect = w->rect;
    const MINMAXINFO mmi = minMaxInfo(w);
    if (!findWindow(w->handle)) return;
    w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    setWindowPos(w, nullptr, mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxSize.x,
                 mmi.ptMaxSize.y, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void restore(Window* w) {
    if ((w->style & WS_MINIMIZE) && w->restoreToMaximized) {
        w->style &= ~WS_MINIMIZE;
        w->style &= ~WS_MAXIMIZE;
        maximize(w);
        return;
    }
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
    w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    w->restoreToMaximized = false;
    const RECT r = w->normalRect;
    setWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

bool setWindowPos(Window* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    auto& s = state();
    if (!w || w == s.desktop) return false;
    const HWND h = w->handle;
    WINDOWPOS wp;
    wp.hwnd = h;
    wp.hwndInsertAfter = insertAfter;
    wp.x = (flags & SWP_NOMOVE) ? w->rect.left : x;
    wp.y = (flags & SWP_NOMOVE) ? w->rect.top : y;
    wp.cx = (flags & SWP_NOSIZE) ? w->rect.right - w->rect.left : std::max(0, cx);
    wp.cy = (flags & SWP_NOSIZE) ? w->rect.bottom - w->rect.top : std::max(0, cy);
    wp.flags = flags;
    if (!(flags & SWP_NOSENDCHANGING))
        sendMessage(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!findWindow(h)) return false;
    flags = wp.flags;

    const RECT oldRect = w->rect;
    // The client area as the window last knew it: a style or menu change made
    // since shows up as a client change here.
    const RECT oldClient = w->clientCache;
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    const RECT newRect{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
    w->rect = newRect;
    if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    if (!(flags & SWP_NOZORDER)) {
        if (wp.hwndInsertAfter == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
        if (wp.hwndInsertAfter == HWND_NOTOPMOST) w->exStyle &= ~WS_EX_TOPMOST;
        if (wp.hwndInsertAfter != h) {
            unlinkFromParent(w);
            linkToParent(w, w->parent, wp.hwndInsertAfter);
        }
    }
    const RECT newClient = clientRectInWindow(w);
    w->clientCache = newClient;
    const bool isVisible = (w->style & WS_VISIBLE) != 0;
    const bool moved = oldRect.left != newRect.left || oldRect.top != newRect.top;
    const bool sized =
        (oldRect.right - oldRect.left) != wp.cx || (oldRect.bottom - oldRect.top) != wp.cy;
    const bool clientSized =
        (oldClient.right - oldClient.left) != (newClient.right - newClient.left) ||
        (oldClient.bottom - oldClient.top) != (newClient.bottom - newClient.top);
    const bool clientMoved = oldRect.left + oldClient.left != newRect.left + newClient.left ||
                             oldRect.top + oldClient.top != newRect.top + newClient.top;

    if (!(flags & SWP_NOREDRAW)) {
        Window* p = w->parent;
        if (p != s.desktop && wasVisible && (moved || sized || !isVisible))
            invalidateWindow(p, &oldRect, true, false);
        if (isVisible && (!wasVisible || sized || (flags & SWP_FRAMECHANGED) || moved)) {
            w->frameDirty = true;
            if (!wasVisible || clientSized || (flags & SWP_FRAMECHANGED))
                invalidateWindow(w, nullptr, true, true);
        }
        if (p != s.desktop && isVisible && (moved || sized || !wasVisible))
            invalidateWindow(p, &newRect, false, false);
    }
    if (flags & SWP_FRAMECHANGED) w->frameDirty = true;

    if (wasVisible && !isVisible) {
        if (Window* f = findWindow(s.focus); f && (f == w || IsChild(h, f->handle))) {
            if (w->style & WS_CHILD) SetFocus(w->parent->handle);
        }
        if (s.active == h) activateOtherWindow(w);
        if (!findWindow(h)) return true;
    }

    wp.flags = flags;
    if (!moved) wp.flags |= SWP_NOMOVE;
    if (!sized) wp.flags |= SWP_NOSIZE;
    if (!clientSized && !(flags & SWP_FRAMECHANGED && sized)) wp.flags |= kNoClientSize;
    if (!clientMoved) wp.flags |= kNoClientMove;
    sendMessage(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    if (!findWindow(h)) return true;

    if (isVisible && !(flags & SWP_NOACTIVATE) && isTopLevel(w) && !(w->style & WS_CHILD) &&
        w->cls->name != "#32768")
        activateWindow(w, WA_ACTIVE);
    return true;
}

// The default processing of WM_WINDOWPOSCHANGED.
void windowPosChangedDefault(Window* w, const WINDOWPOS* wp) {
    const HWND h = w->handle;
    const RECT cr = clientRectInWindow(w);
    if (!(wp->flags & kNoClientMove)) {
        sendMessage(w, WM_MOVE, 0,
                    MAKELPARAM(static_cast<WORD>(w->rect.left + cr.left),
                               static_cast<WORD>(w->rect.top + cr.top)));
        if (!findWindow(h)) return;
    }
    if (!(wp->flags & kNoClientSize)) {
        WPARAM kind = SIZE_RESTORED;
        if (w->style & WS_MINIMIZE)
            kind = SIZE_MINIMIZED;
        else if (w->style & WS_MAXIMIZE)
            kind = SIZE_MAXIMIZED;
        sendMessage(w, WM_SIZE, kind,
                    MAKELPARAM(static_cast<WORD>(cr.right - cr.left),
                               static_cast<WORD>(cr.bottom - cr.top)));
    }
}

}  // namespace detail

using namespace detail;

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    Window* w = findWindow(hwnd);
    if (!w || !rect) return FALSE;
    *rect = windowRectOnScreen(w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    Window* w = findWindow(hwnd);
    if (!w || !rect) return FALSE;
    const RECT cr = w == state().desktop ? w->rect : clientRectInWindow(w);
    *rect = {0, 0, cr.right - cr.left, cr.bottom - cr.top};
    return TRUE;
}

namespace {

// Callers hand in points clamped from far-away world coordinates; they keep
// their side of the screen rather than wrapping round to the other.
void moveBy(POINT& p, long long dx, long long dy) {
    constexpr long long lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    p.x = static_cast<int>(std::clamp(p.x + dx, lo, hi));
    p.y = static_cast<int>(std::clamp(p.y + dy, lo, hi));
}

}  // namespace

BOOL ClientToScreen(HWND hwnd, POINT* pt) {
    Window* w = findWindow(hwnd);
    if (!w || !pt) return FALSE;
    const POINT o = clientOriginOnScreen(w);
    moveBy(*pt, o.x, o.y);
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt) {
    Window* w = findWindow(hwnd);
    if (!w || !pt) return FALSE;
    const POINT o = clientOriginOnScreen(w);
    moveBy(*pt, -static_cast<long long>(o.x), -static_cast<long long>(o.y));
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    Window* a = windowOrDesktop(from);
    Window* b = windowOrDesktop(to);
    if (!a || !b) return 0;
    const POINT oa = clientOriginOnScreen(a);
    const POINT ob = clientOriginOnScreen(b);
    const int dx = oa.x - ob.x;
    const int dy = oa.y - ob.y;
    for (UINT i = 0; i < count; ++i) moveBy(points[i], dx, dy);
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return setWindowPos(findWindow(hwnd), insertAfter, x, y, cx, cy, flags) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (!rect) return FALSE;
    if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_CAPTION;
    const RECT in = nonClientInsets(style, exStyle, menu != 0, GetSystemMetrics(SM_CYMENU));
    rect->left -= in.left;
    rect->top -= in.top;
    rect->right += in.right;
    rect->bottom += in.bottom;
    return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* p) {
    Window* w = findWindow(hwnd);
    if (!w || !p) return FALSE;
    p->flags = ((w->style & WS_MINIMIZE) && w->restoreToMaximized) ? WPF_RESTORETOMAXIMIZED : 0;
    p->showCmd = (w->style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                 : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                            : SW_SHOWNORMAL;
    p->rcNormalPosition = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->normalRect : w->rect;
    p->ptMinPosition = (w->style & WS_MINIMIZE) ? POINT{w->rect.left, w->rect.top} : w->minPosition;
    p->ptMaxPosition = w->maxPosition;
    return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* p) {
    Window* w = findWindow(hwnd);
    if (!w || !p) return FALSE;
    if (p->flags & WPF_SETMINPOSITION) w->minPosition = p->ptMinPosition;
    w->maxPosition = p->ptMaxPosition;
    w->normalRect = p->rcNormalPosition;
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        const RECT r = p->rcNormalPosition;
        setWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!findWindow(hwnd)) return TRUE;
    ShowWindow(hwnd, static_cast<int>(p->showCmd));
    if (Window* v = findWindow(hwnd);
        v && (p->flags & WPF_RESTORETOMAXIMIZED) && (v->style & WS_MINIMIZE))
        v->restoreToMaximized = true;
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int cmd) {
    Window* w = findWindow(hwnd);
    if (!w || w == state().desktop) return FALSE;
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    if (cmd == SW_HIDE) {
        if (!wasVisible) return FALSE;
        sendMessage(w, WM_SHOWWINDOW, FALSE, 0);
        if (!findWindow(hwnd)) return TRUE;
        setWindowPos(w, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
    bool activate = true;
    switch (cmd) {
        case SW_SHOWMINNOACTIVE:
        case SW_MINIMIZE:
        case SW_SHOWNOACTIVATE:
        case SW_SHOWNA:
            activate = false;
            break;
        default:
            break;
    }
    if (!wasVisible) {
        sendMessage(w, WM_SHOWWINDOW, TRUE, 0);
        if (!findWindow(hwnd)) return FALSE;
    }
    switch (cmd) {
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            minimize(w);
            break;
        case SW_SHOWMAXIMIZED:
            maximize(w);
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
        case SW_SHOWDEFAULT:
        case SW_SHOWNOACTIVATE:
            restore(w);
            break;
        default:
            break;
    }
    if (!findWindow(hwnd)) return wasVisible;
    setWindowPos(w, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE |
                     (activate && !(w->style & WS_CHILD) ? 0 : SWP_NOZORDER | SWP_NOACTIVATE));
    if (cmd == SW_MINIMIZE && findWindow(hwnd) && state().active == hwnd) activateOtherWindow(w);
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
    Window* w = findWindow(hwnd);
    return (w && isVisibleOnScreen(w)) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
    Window* w = findWindow(hwnd);
    return (w && (w->style & WS_MINIMIZE)) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
    Window* w = findWindow(hwnd);
    return (w && (w->style & WS_MAXIMIZE)) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    Window* w = findWindow(hwnd);
    if (!w) return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        sendMessage(w, WM_ENABLE, TRUE, 0);
        if (Window* e = findWindow(hwnd)) takeHandedBackActivation(e);
    } else if (!enable && !wasDisabled) {
        w->style |= WS_DISABLED;
        auto& s = state();
        if (Window* f = findWindow(s.focus); f && (f == w || IsChild(hwnd, s.focus)))
            SetFocus(nullptr);
        if (s.capture == hwnd) ReleaseCapture();
        if (findWindow(hwnd)) sendMessage(w, WM_ENABLE, FALSE, 0);
    } else {
        return wasDisabled;
    }
    if (Window* v = findWindow(hwnd)) {
        v->frameDirty = true;
        // The erased background covers children that do not clip it away
        // (a dialog's fields): they are drawn again over it.
        invalidateWindow(v, nullptr, true, !(v->style & WS_CLIPCHILDREN));
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Window* w = findWindow(hwnd);
    return (w && !(w->style & WS_DISABLED)) ? TRUE : FALSE;
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

UINT ArrangeIconicWindows(HWND parent) {
    Window* p = windowOrDesktop(parent);
    if (!p) return 0;
    std::vector<Window*> icons;
    for (Window* c : p->children)
        if (c->style & WS_MINIMIZE) icons.push_back(c);
    if (icons.empty()) return 0;
    RECT area = p == state().desktop ? p->rect : clientRectInWindow(p);
    area = offsetRect(area, -area.left, -area.top);
    int x = area.left;
    int y = area.bottom;
    int rowHeight = 0;
    for (Window* c : icons) {
        const int cw = c->rect.right - c->rect.left;
        const int ch = c->rect.bottom - c->rect.top;
        if (x + cw > area.right && x > area.left) {
            x = area.left;
            y -= rowHeight;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, ch);
        setWindowPos(c, nullptr, x, y - ch, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        x += cw;
    }
    return static_cast<UINT>(icons.back()->rect.bottom - icons.back()->rect.top);
}

}  // namespace win
