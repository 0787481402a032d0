// Invalid areas, WM_PAINT and WM_ERASEBKGND, device contexts of windows, the
// window surfaces and the composition of the virtual screen.

#include <algorithm>
#include <map>

#include "platform/window/presenter.h"
#include "platform/window/screen.h"
#include "platform/window/window_internal.h"

namespace win {

void fillSurface(Surface& s, const RECT& r, std::uint32_t v) {
    const int l = std::max<int>(0, r.left), t = std::max<int>(0, r.top);
    const int rr = std::min<int>(s.width, r.right), b = std::min<int>(s.height, r.bottom);
    for (int y = t; y < b; ++y)
        std::fill_n(s.pixels.begin() + static_cast<std::ptrdiff_t>(y) * s.width + l,
                    std::max(0, rr - l), v);
}

namespace {
std::map<HWND, Surface> surfaces;
Surface screenSurface;
}  // namespace

namespace detail {

Surface* surfaceOf(Window* top) {
    if (!top || top == state().desktop) return nullptr;
    Surface& s = surfaces[top->handle];
    const int w = top->rect.right - top->rect.left;
    const int h = top->rect.bottom - top->rect.top;
    if (s.width != w || s.height != h) {
        const Surface old = s;
        s.resize(w, h, 0xFFFFFF);
        // Keep what is still valid: the window repaints only what it was told to.
        for (int y = 0; y < std::min(h, old.height); ++y)
            for (int x = 0; x < std::min(w, old.width); ++x)
                s.at(x, y) = old.at(x, y);
    }
    return &s;
}

void dropSurface(HWND hwnd) {
    dropWindowDc(hwnd);
    surfaces.erase(hwnd);
}
void clearSurfaces() {
    clearWindowDcs();
    surfaces.clear();
}

void invalidateWindow(Window* w, const RECT* clientRect, bool erase, bool children) {
    if (!w || w == state().desktop) return;
    RECT cr = clientRectInWindow(w);
    RECT full{0, 0, cr.right - cr.left, cr.bottom - cr.top};
    RECT r = clientRect ? intersectRect(*clientRect, full) : full;
    if (!isEmpty(r)) {
        w->update = w->updatePending ? unionRect(w->update, r) : r;
        w->updatePending = true;
        if (erase) w->erasePending = true;
    }
    if (children)
        for (Window* c : w->children) {
            if (!(c->style & WS_VISIBLE)) continue;
            const RECT inChild = offsetRect(intersectRect(r, c->rect), -c->rect.left, -c->rect.top);
            if (isEmpty(inChild)) continue;
            const RECT ccr = clientRectInWindow(c);
            RECT childClient = offsetRect(inChild, -ccr.left, -ccr.top);
            c->frameDirty = true;
            invalidateWindow(c, &childClient, erase, true);
        }
}

void invalidateFrame(Window* w) {
    if (w) w->frameDirty = true;
}

}  // namespace detail

using namespace detail;

WindowDrawTarget windowDrawTarget(HWND hwnd, bool client) {
    WindowDrawTarget t;
    Window* w = findWindow(hwnd);
    if (!w || w == state().desktop) return t;
    Window* top = topLevelOf(w);
    t.hwnd = hwnd;
    t.surface = surfaceOf(top);
    const RECT topRect = windowRectOnScreen(top);
    const RECT wr = windowRectOnScreen(w);
    const RECT cr = clientRectInWindow(w);
    RECT area = client ? offsetRect(cr, wr.left, wr.top) : wr;
    t.origin = {area.left - topRect.left, area.top - topRect.top};
    for (Window* a = w->parent; a && a != state().desktop; a = a->parent) {
        const RECT ar = windowRectOnScreen(a);
        area = intersectRect(area, offsetRect(clientRectInWindow(a), ar.left, ar.top));
    }
    t.clip = offsetRect(area, -topRect.left, -topRect.top);
    return t;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    Window* w = findWindow(hwnd);
    if (!hwnd) {
        for (Window* t : state().desktop->children) {
            t->frameDirty = true;
            invalidateWindow(t, nullptr, true, true);
        }
        return TRUE;
    }
    if (!w) return FALSE;
    invalidateWindow(w, rect, erase != 0, !(w->style & WS_CLIPCHILDREN) || true);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    Window* w = findWindow(hwnd);
    if (!w) return FALSE;
    if (!rect || !w->updatePending) {
        w->updatePending = false;
        w->erasePending = false;
        w->update = {};
        w->internalPaint = false;
        return TRUE;
    }
    // The invalid area is kept as one rectangle: a validated band along a
    // whole edge shrinks it; any other part leaves it as it is.
    RECT& u = w->update;
    const RECT v = *rect;
    if (v.left <= u.left && v.right >= u.right) {
        if (v.top <= u.top && v.bottom > u.top) u.top = v.bottom;
        if (v.bottom >= u.bottom && v.top < u.bottom) u.bottom = v.top;
    }
    if (v.top <= u.top && v.bottom >= u.bottom) {
        if (v.left <= u.left && v.right > u.left) u.left = v.right;
        if (v.right >= u.right && v.left < u.right) u.right = v.left;
    }
    if (isEmpty(u)) {
        w->updatePending = false;
        w->erasePending = false;
        u = {};
    }
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase) {
    Window* w = findWindow(hwnd);
    if (!w) return FALSE;
    if (rect) *rect = w->updatePending ? w->update : RECT{};
    if (erase && w->updatePending && w->erasePending) {
        w->eraseRect = w->update;
        HDC dc = GetDC(hwnd);
        w->erasePending = sendMessage(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
        ReleaseDC(hwnd, dc);
    }
    return w->updatePending ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd) {
    Window* w = findWindow(hwnd);
    if (!w) return FALSE;
    if (w->frameDirty) paintNonClient(w);
    if (findWindow(hwnd) && w->updatePending && isVisibleOnScreen(w))
        sendMessage(w, WM_PAINT, 0, 0);
    if (!findWindow(hwnd)) return TRUE;
    for (Window* c : std::vector<Window*>(w->children))
        if (findWindow(c->handle)) UpdateWindow(c->handle);
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
    Window* w = hwnd ? findWindow(hwnd) : nullptr;
    if (hwnd && !w) return FALSE;
    if (!w) return InvalidateRect(nullptr, nullptr, TRUE);
    const bool children =
        (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
    if (flags & RDW_INVALIDATE) invalidateWindow(w, rect, (flags & RDW_ERASE) != 0, children);
    if (flags & RDW_FRAME) w->frameDirty = true;
    if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
    if (flags & RDW_VALIDATE) ValidateRect(hwnd, rect);
    if (flags & RDW_NOERASE) w->erasePending = false;
    if (flags & RDW_UPDATENOW) {
        UpdateWindow(hwnd);
    } else if ((flags & RDW_ERASENOW) && w->erasePending) {
        w->eraseRect = w->update;
        HDC dc = GetDC(hwnd);
        w->erasePending = sendMessage(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
        ReleaseDC(hwnd, dc);
    }
    return TRUE;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN,
                   RECT* updateRect, UINT flags) {
    Window* w = findWindow(hwnd);
    if (!w) return 0;
    RECT cr;
    GetClientRect(hwnd, &cr);
    RECT area = scroll ? intersectRect(*scroll, cr) : cr;
    if (clip) area = intersectRect(area, *clip);
    const WindowDrawTarget t = windowDrawTarget(hwnd, true);
    if (t.surface && !isEmpty(area)) {
        Surface copy = *t.surface;
        const RECT dest = intersectRect(offsetRect(area, dx, dy), area);
        for (int y = dest.top; y < dest.bottom; ++y)
            for (int x = dest.left; x < dest.right; ++x) {
                const int sx = t.origin.x + x - dx, sy = t.origin.y + y - dy;
                const int tx = t.origin.x + x, ty = t.origin.y + y;
                if (sx >= 0 && sy >= 0 && sx < copy.width && sy < copy.height && tx >= 0 &&
                    ty >= 0 && tx < copy.width && ty < copy.height)
                    t.surface->at(tx, ty) = copy.at(sx, sy);
            }
    }
    // What scrolled in is invalid.
    RECT exposed = area;
    if (dx > 0)
        exposed.right = std::min<LONG>(area.right, area.left + dx);
    else if (dx < 0)
        exposed.left = std::max<LONG>(area.left, area.right + dx);
    if (dy > 0)
        exposed.bottom = std::min<LONG>(area.bottom, area.top + dy);
    else if (dy < 0)
        exposed.top = std::max<LONG>(area.top, area.bottom + dy);
    if (dx == 0 && dy == 0) exposed = {};
    if (updateRect) *updateRect = exposed;
    if (flags & SW_SCROLLCHILDREN)
        for (Window* c : w->children) {
            const RECT r = c->rect;
            setWindowPos(c, nullptr, r.left + dx, r.top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        }
    if ((flags & SW_INVALIDATE) && !isEmpty(exposed))
        invalidateWindow(w, &exposed, (flags & SW_ERASE) != 0, (flags & SW_SCROLLCHILDREN) != 0);
    return isEmpty(exposed) ? 1 : 2;
}

HDC GetDC(HWND hwnd) {
    return makeWindowDc(hwnd, true, nullptr);
}

HDC GetWindowDC(HWND hwnd) {
    return makeWindowDc(hwnd, false, nullptr);
}

int ReleaseDC(HWND hwnd, HDC dc) {
    if (!dc) return 0;
    releaseWindowDc(hwnd, dc);
    return 1;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    Window* w = findWindow(hwnd);
    if (!w || !ps) return nullptr;
    if (w->frameDirty) paintNonClient(w);
    ps->rcPaint = w->updatePending ? w->update : RECT{};
    const bool erase = w->erasePending;
    w->updatePending = false;
    w->erasePending = false;
    w->internalPaint = false;
    w->update = {};
    ps->hdc = makeWindowDc(hwnd, true, &ps->rcPaint);
    ps->fErase = FALSE;
    w->eraseRect = ps->rcPaint;
    if (erase)
        ps->fErase =
            sendMessage(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0) ? FALSE : TRUE;
    return ps->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (ps && ps->hdc) releaseWindowDc(hwnd, ps->hdc);
    return TRUE;
}

namespace {
// Frames that changed are drawn again before the screen is shown: parents
// first, as a parent's frame never covers its children.
void paintDirtyFrames(Window* w) {
    for (Window* c : w->children) {
        if (!(c->style & WS_VISIBLE)) continue;
        if (c->frameDirty) paintNonClient(c);
        paintDirtyFrames(c);
    }
}
}  // namespace

const Surface& composeScreen() {
    const ScreenConfig& sc = screenConfig();
    if (screenSurface.width != sc.width || screenSurface.height != sc.height)
        screenSurface.resize(sc.width, sc.height);
    fillSurface(screenSurface, {0, 0, sc.width, sc.height}, pixelOf(GetSysColor(COLOR_BACKGROUND)));
    paintDirtyFrames(state().desktop);
    auto& tops = state().desktop->children;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        Window* t = *it;
        if (!(t->style & WS_VISIBLE)) continue;
        Surface* s = surfaceOf(t);
        const RECT r = t->rect;
        for (int y = std::max<int>(0, r.top); y < std::min<int>(sc.height, r.bottom); ++y)
            for (int x = std::max<int>(0, r.left); x < std::min<int>(sc.width, r.right); ++x)
                screenSurface.at(x, y) = s->at(x - r.left, y - r.top);
    }
    return screenSurface;
}

const Surface* topLevelSurface(HWND hwnd) {
    Window* t = findWindow(hwnd);
    if (!t || t == state().desktop || !isTopLevel(t) || !(t->style & WS_VISIBLE)) return nullptr;
    if (t->frameDirty) paintNonClient(t);
    paintDirtyFrames(t);
    return surfaceOf(t);
}

namespace detail {
void presentScreen() {
    if (Presenter* p = currentPresenter()) p->present();
}
}  // namespace detail

}  // namespace win
