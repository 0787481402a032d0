// Device contexts of windows: a context of the drawing interface over the
// top-level window's surface, placed at the window's origin and limited to
// what of the window is visible (less its children with WS_CLIPCHILDREN and
// the siblings above it with WS_CLIPSIBLINGS).

#include <map>

#include "platform/gdi/gdi.h"
#include "platform/gdi/surface_dc.h"
#include "platform/kernel/environment.h"
#include "platform/window/clock.h"
#include "platform/window/screen.h"
#include "platform/window/window_internal.h"

namespace win::detail {
namespace {

// Contexts a window keeps for good (CS_OWNDC, CS_CLASSDC), by window.
std::map<HWND, HDC> ownContexts;

// The visible part of a window on its top-level surface, in device coordinates.
HRGN visibleRegion(Window* w, bool client, const WindowDrawTarget& t, const RECT* limit) {
    const RECT topRect = windowRectOnScreen(topLevelOf(w));
    const POINT dev{topRect.left + t.origin.x,
                    topRect.top + t.origin.y};  // device origin on screen
    RECT area = offsetRect(t.clip, -t.origin.x, -t.origin.y);
    if (limit) area = intersectRect(area, *limit);
    HRGN region = CreateRectRgn(area.left, area.top, area.right, area.bottom);
    auto subtract = [&](Window* other) {
        if (!(other->style & WS_VISIBLE)) return;
        const RECT r = offsetRect(windowRectOnScreen(other), -dev.x, -dev.y);
        HRGN hole = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        CombineRgn(region, region, hole, RGN_DIFF);
        DeleteObject(hole);
    };
    if (client && (w->style & WS_CLIPCHILDREN))
        for (Window* c : w->children)
            subtract(c);
    for (Window* a = w; a && a->parent && a->parent != state().desktop; a = a->parent) {
        if (!(a->style & WS_CLIPSIBLINGS)) continue;
        for (Window* sib : a->parent->children) {
            if (sib == a) break;  // only those in front
            subtract(sib);
        }
    }
    return region;
}

}  // namespace

HDC makeWindowDc(HWND hwnd, bool client, const RECT* limit) {
    Window* w = windowOrDesktop(hwnd);
    if (!w) return nullptr;
    if (w == state().desktop) {
        // The screen itself: drawing there lasts until the screen is composed again.
        Surface& screen = const_cast<Surface&>(composeScreen());
        return CreateSurfaceDC(&screen, {0, 0}, limit);
    }
    const WindowDrawTarget t = windowDrawTarget(hwnd, client);
    if (!t.surface) return nullptr;
    const RECT deviceClip = offsetRect(t.clip, -t.origin.x, -t.origin.y);
    const bool own = client && (w->cls->style & (CS_OWNDC | CS_CLASSDC));
    HDC dc = nullptr;
    if (own) {
        auto it = ownContexts.find(hwnd);
        if (it != ownContexts.end()) {
            dc = it->second;
            SetSurfaceDCOrigin(dc, t.origin, &deviceClip);
        } else {
            dc = CreateSurfaceDC(t.surface, t.origin, &deviceClip);
            ownContexts[hwnd] = dc;
        }
    } else {
        dc = CreateSurfaceDC(t.surface, t.origin, &deviceClip);
    }
    HRGN visible = visibleRegion(w, client, t, limit);
    SetSurfaceDCVisibleRegion(dc, visible);
    DeleteObject(visible);
    return dc;
}

void releaseWindowDc(HWND hwnd, HDC dc) {
    const auto it = ownContexts.find(hwnd);
    if (it != ownContexts.end() && it->second == dc) return;  // kept until the window goes
    DeleteDC(dc);
}

void dropWindowDc(HWND hwnd) {
    const auto it = ownContexts.find(hwnd);
    if (it == ownContexts.end()) return;
    DeleteDC(it->second);
    ownContexts.erase(it);
}

void clearWindowDcs() {
    for (auto& [h, dc] : ownContexts)
        DeleteDC(dc);
    ownContexts.clear();
}

// The drawing interface learns the screen and the system colours from here,
// and GetTickCount runs on the window system's clock, as its timers do.
void bindDrawingInterface() {
    const ScreenConfig& sc = screenConfig();
    SetScreenMetrics({sc.width, sc.height, sc.dpi});
    SetSystemColourSource([](int index) -> COLORREF { return GetSysColor(index); });
    setTickCountSource([] { return static_cast<DWORD>(currentClock().nowMs()); });
}

}  // namespace win::detail
