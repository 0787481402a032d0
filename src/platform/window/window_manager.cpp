#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/gdi/surface_dc.h"
#include "platform/window/menu_api.h"
#include "platform/window/menu_internal.h"
#include "platform/window/screen.h"
#include "platform/window/window_internal.h"
#include "platform/window/window_system.h"

namespace win {
namespace {
ScreenConfig currentScreen;
}

const ScreenConfig& screenConfig() {
    return currentScreen;
}
void configureScreen(const ScreenConfig& config) {
    currentScreen = config;
    SetScreenMetrics({config.width, config.height, config.dpi});
    if (auto* d = detail::state().desktop) d->rect = {0, 0, config.width, config.height};
}

}  // namespace win

namespace win::detail {
namespace {

UserState* current = nullptr;

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

UserState& state() {
    if (!current) {
        current = new UserState;
        bindDrawingInterface();
        registerSystemClasses();
    }
    return *current;
}

void resetUserState() {
    delete current;
    current = nullptr;
    clearConvertedInput();
    clearSurfaces();
    resetMenus();
    resetAccelerators();
    resetMenuLoop();
    resetClipboard();
    resetImages();
    state();
}

Window* findWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto& s = state();
    auto it = s.windows.find(hwnd);
    return it == s.windows.end() ? nullptr : it->second.get();
}

Window* windowOrDesktop(HWND hwnd) {
    return hwnd ? findWindow(hwnd) : state().desktop;
}

WindowClass* findClass(LPCSTR nameOrAtom) {
    if (!nameOrAtom) return nullptr;
    auto& s = state();
    if (IS_INTRESOURCE(nameOrAtom)) {
        const auto atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(nameOrAtom));
        for (auto& c : s.classes)
            if (c->atom == atom) return c.get();
        return nullptr;
    }
    const std::string key = upper(nameOrAtom);
    for (auto& c : s.classes)
        if (upper(c->name) == key) return c.get();
    return nullptr;
}

bool isTopLevel(const Window* w) {
    return w && w->parent == state().desktop;
}

Window* topLevelOf(Window* w) {
    while (w && w->parent && w->parent != state().desktop)
        w = w->parent;
    return w == state().desktop ? nullptr : w;
}

bool isVisibleOnScreen(const Window* w) {
    for (; w && w != state().desktop; w = w->parent)
        if (!(w->style & WS_VISIBLE)) return false;
    return w != nullptr;
}

bool isEnabledChain(const Window* w) {
    for (; w && w != state().desktop; w = w->parent)
        if (w->style & WS_DISABLED) return false;
    return true;
}

RECT nonClientInsets(DWORD style, DWORD exStyle, bool menu, int menuHeight) {
    RECT in{0, 0, 0, 0};
    int border = 0;
    if (style & WS_THICKFRAME)
        border = 4;
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        border = 3;
    else if (style & WS_BORDER)
        border = 1;
    if (exStyle & WS_EX_CLIENTEDGE) border += 2;
    if (exStyle & WS_EX_STATICEDGE) border += 1;
    in = {border, border, border, border};
    if ((style & WS_CAPTION) == WS_CAPTION) in.top += (exStyle & WS_EX_TOOLWINDOW) ? 16 : 19;
    if (menu) in.top += menuHeight;
    return in;
}

RECT clientRectInWindow(const Window* w) {
    const int width = w->rect.right - w->rect.left;
    const int height = w->rect.bottom - w->rect.top;
    if (w->style & WS_MINIMIZE) return {0, 0, 0, 0};
    const bool hasMenu = !(w->style & WS_CHILD) && w->menu != nullptr;
    RECT in =
        nonClientInsets(w->style, w->exStyle, hasMenu, hasMenu ? menuBarHeight(w->handle) : 0);
    if (w->style & WS_VSCROLL) in.right += GetSystemMetrics(SM_CXVSCROLL);
    if (w->style & WS_HSCROLL) in.bottom += GetSystemMetrics(SM_CYHSCROLL);
    RECT r{in.left, in.top, width - in.right, height - in.bottom};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

POINT clientOriginOnScreen(const Window* w) {
    if (w == state().desktop) return {0, 0};
    const RECT wr = windowRectOnScreen(w);
    const RECT cr = clientRectInWindow(w);
    return {wr.left + cr.left, wr.top + cr.top};
}

RECT windowRectOnScreen(const Window* w) {
    if (!w || w == state().desktop || !w->parent) return w ? w->rect : RECT{};
    const POINT o = clientOriginOnScreen(w->parent);
    return offsetRect(w->rect, o.x, o.y);
}

RECT unionRect(const RECT& a, const RECT& b) {
    if (isEmpty(a)) return b;
    if (isEmpty(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

RECT intersectRect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (isEmpty(r)) return {0, 0, 0, 0};
    return r;
}

bool pointIn(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

RECT offsetRect(RECT r, int dx, int dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

void unlinkFromParent(Window* w) {
    if (!w->parent) return;
    auto& c = w->parent->children;
    c.erase(std::remove(c.begin(), c.end(), w), c.end());
}

// Windows owned by a top-level window stay in front of it.
void keepOwnedInFront(Window* owner) {
    auto& c = state().desktop->children;
    std::vector<Window*> owned;
    for (Window* x : c)
        if (x->owner == owner->handle) owned.push_back(x);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        Window* o = *it;
        const auto ownerAt = std::find(c.begin(), c.end(), owner);
        const auto ownedAt = std::find(c.begin(), c.end(), o);
        if (ownedAt < ownerAt) continue;
        c.erase(ownedAt);
        c.insert(std::find(c.begin(), c.end(), owner), o);
        keepOwnedInFront(o);
    }
}

void linkToParent(Window* w, Window* parent, HWND insertAfter) {
    linkToParentOnly(w, parent, insertAfter);
    if (parent == state().desktop) keepOwnedInFront(w);
}

void linkToParentOnly(Window* w, Window* parent, HWND insertAfter) {
    w->parent = parent;
    auto& c = parent->children;
    if (insertAfter == HWND_BOTTOM) {
        c.push_back(w);
        return;
    }
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        // Topmost windows stay in front of the others.
        auto it = c.begin();
        if (!(w->exStyle & WS_EX_TOPMOST) && parent == state().desktop)
            while (it != c.end() && ((*it)->exStyle & WS_EX_TOPMOST))
                ++it;
        c.insert(it, w);
        return;
    }
    auto it = std::find_if(c.begin(), c.end(), [&](Window* x) { return x->handle == insertAfter; });
    if (it == c.end())
        c.insert(c.begin(), w);
    else
        c.insert(it + 1, w);
}

}  // namespace win::detail

namespace win {
void resetWindowSystem() {
    detail::resetUserState();
}
}  // namespace win
