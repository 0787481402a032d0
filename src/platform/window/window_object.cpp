// Window creation and destruction, window longs, texts and the window tree.

#include <algorithm>
#include <cstring>

#include "platform/window/menu_api.h"
#include "platform/window/screen.h"
#include "platform/window/window_internal.h"

namespace win {
namespace detail {
namespace {

int cascadeCount = 0;

void notifyParents(Window* w, WORD event) {
    if (!(w->style & WS_CHILD) || (w->exStyle & WS_EX_NOPARENTNOTIFY)) return;
    for (Window* p = w->parent; p && p != state().desktop; p = p->parent) {
        sendMessage(p, WM_PARENTNOTIFY, MAKEWPARAM(event, static_cast<WORD>(w->id)),
                    reinterpret_cast<LPARAM>(w->handle));
        if (!(p->style & WS_CHILD) || (p->exStyle & WS_EX_NOPARENTNOTIFY)) break;
    }
}

// Handles, not pointers: a window procedure may destroy a child of the tree
// while the tree is being destroyed, and its record is freed at once.
std::vector<HWND> childHandles(const Window* w) {
    std::vector<HWND> out;
    for (const Window* c : w->children)
        out.push_back(c->handle);
    return out;
}

void collectPostOrder(const Window* w, std::vector<HWND>& out) {
    for (HWND c : childHandles(w))
        collectPostOrder(findWindow(c), out);
    out.push_back(w->handle);
}

void sendDestroy(Window* w) {
    w->destroying = true;
    const std::vector<HWND> children = childHandles(w);
    sendMessage(w, WM_DESTROY, 0, 0);
    for (HWND h : children)
        if (Window* c = findWindow(h); c && !c->destroying) sendDestroy(c);
}

void forget(Window* w) {
    auto& s = state();
    const HWND h = w->handle;
    if (s.focus == h) s.focus = nullptr;
    if (s.active == h) s.active = nullptr;
    if (s.capture == h) s.capture = nullptr;
    if (s.lastClickWindow == h) s.lastClickWindow = nullptr;
    if (s.lastMouseWindow == h) s.lastMouseWindow = nullptr;
    std::erase_if(s.timers, [&](const Timer& t) { return t.hwnd == h; });
    std::erase_if(s.posted, [&](const MSG& m) { return m.hwnd == h; });
    for (auto& [hh, other] : s.windows)
        if (other->owner == h) other->owner = nullptr;
    dropSurface(h);
}

LONG_PTR readExtra(Window* w, int index, std::size_t bytes) {
    if (index < 0 || static_cast<std::size_t>(index) + bytes > w->extra.size()) return 0;
    if (bytes == 4) {
        std::int32_t v;
        std::memcpy(&v, &w->extra[static_cast<std::size_t>(index)], 4);
        return v;
    }
    if (bytes == 2) {
        std::uint16_t v;
        std::memcpy(&v, &w->extra[static_cast<std::size_t>(index)], 2);
        return v;
    }
    std::int64_t v;
    std::memcpy(&v, &w->extra[static_cast<std::size_t>(index)], 8);
    return static_cast<LONG_PTR>(v);
}

LONG_PTR writeExtra(Window* w, int index, std::size_t bytes, LONG_PTR value) {
    const LONG_PTR old = readExtra(w, index, bytes);
    if (index < 0 || static_cast<std::size_t>(index) + bytes > w->extra.size()) return 0;
    if (bytes == 4) {
        const auto v = static_cast<std::int32_t>(value);
        std::memcpy(&w->extra[static_cast<std::size_t>(index)], &v, 4);
    } else {
        const auto v = static_cast<std::int64_t>(value);
        std::memcpy(&w->extra[static_cast<std::size_t>(index)], &v, 8);
    }
    return old;
}

LONG_PTR setStyle(Window* w, int index, DWORD value) {
    STYLESTRUCT ss;
    ss.styleOld = index == GWL_STYLE ? w->style : w->exStyle;
    ss.styleNew = value;
    sendMessage(w, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    if (!findWindow(w->handle)) return 0;
    if (index == GWL_STYLE)
        w->style = ss.styleNew;
    else
        w->exStyle = ss.styleNew;
    sendMessage(w, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    return ss.styleOld;
}

LONG_PTR windowLong(HWND hwnd, int index, const LONG_PTR* value, std::size_t extraBytes) {
    Window* w = findWindow(hwnd);
    if (!w || w == state().desktop) return 0;
    LONG_PTR old = 0;
    switch (index) {
        case GWL_WNDPROC:
            old = reinterpret_cast<LONG_PTR>(w->proc);
            if (value) w->proc = reinterpret_cast<WNDPROC>(*value);
            return old;
        case GWL_STYLE:
            if (value) return setStyle(w, GWL_STYLE, static_cast<DWORD>(*value));
            return static_cast<LONG>(w->style);
        case GWL_EXSTYLE:
            if (value) return setStyle(w, GWL_EXSTYLE, static_cast<DWORD>(*value));
            return static_cast<LONG>(w->exStyle);
        case GWL_USERDATA:
            old = w->userData;
            if (value) w->userData = *value;
            return old;
        case GWL_ID:
            old = static_cast<LONG_PTR>(w->id);
            if (value) w->id = static_cast<UINT_PTR>(*value);
            return old;
        case GWL_HINSTANCE:
            old = reinterpret_cast<LONG_PTR>(w->instance);
            if (value) w->instance = reinterpret_cast<HINSTANCE>(*value);
            return old;
        case GWL_HWNDPARENT:
            if (w->style & WS_CHILD) return reinterpret_cast<LONG_PTR>(w->parent->handle);
            old = reinterpret_cast<LONG_PTR>(w->owner);
            if (value) w->owner = reinterpret_cast<HWND>(*value);
            return old;
        default:
            return value ? writeExtra(w, index, extraBytes, *value)
                         : readExtra(w, index, extraBytes);
    }
}

Window* ownerTopLevel(HWND owner) {
    Window* o = findWindow(owner);
    return o ? topLevelOf(o) : nullptr;
}

Window* childFromPoint(Window* parent, POINT screenPt, bool skipHiddenDisabled) {
    for (Window* c : parent->children) {
        if (!(c->style & WS_VISIBLE)) continue;
        if (!pointIn(windowRectOnScreen(c), screenPt)) continue;
        if (skipHiddenDisabled && (c->style & WS_DISABLED)) return parent;
        return c;
    }
    return nullptr;
}

}  // namespace

Window* windowFromScreenPoint(POINT pt) {
    auto& s = state();
    Window* w = childFromPoint(s.desktop, pt, false);
    if (!w) return nullptr;
    for (;;) {
        if (!pointIn(offsetRect(clientRectInWindow(w), windowRectOnScreen(w).left,
                                windowRectOnScreen(w).top),
                     pt))
            return w;
        Window* c = childFromPoint(w, pt, true);
        if (!c || c == w) return w;
        w = c;
    }
}

}  // namespace detail

using namespace detail;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parentHandle, HMENU menu, HINSTANCE instance,
                     void* param) {
    auto& s = state();
    WindowClass* cls = findClass(className);
    if (!cls) return nullptr;
    Window* parent = s.desktop;
    HWND owner = nullptr;
    if (style & WS_CHILD) {
        parent = findWindow(parentHandle);
        if (!parent) return nullptr;
    } else if (parentHandle) {
        Window* o = ownerTopLevel(parentHandle);
        owner = o ? o->handle : nullptr;
    }
    if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_CAPTION | WS_CLIPSIBLINGS;

    const ScreenConfig& sc = screenConfig();
    if (x == CW_USEDEFAULT) {
        if (style & WS_CHILD) {
            x = y = 0;
        } else {
            const int step = (cascadeCount++ % 8) * 26;
            x = 26 + step;
            y = 26 + step;
        }
    }
    if (width == CW_USEDEFAULT) {
        if (style & WS_CHILD) {
            width = height = 0;
        } else {
            width = sc.width * 3 / 4;
            height = sc.height * 3 / 4;
        }
    }

    auto owned = std::make_unique<Window>();
    Window* w = owned.get();
    w->handle = reinterpret_cast<HWND>(s.nextHandle);
    s.nextHandle += 4;
    w->cls = cls;
    w->proc = cls->proc;
    const DWORD initialStyle = style;
    w->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    w->exStyle = exStyle;
    w->owner = owner;
    w->instance = instance;
    w->extra.assign(static_cast<std::size_t>(std::max(0, cls->wndExtra)), 0);
    if (style & WS_CHILD)
        w->id = reinterpret_cast<UINT_PTR>(menu);
    else if (menu)
        w->menu = menu;
    else if (cls->menuName || !cls->menuNameText.empty())
        w->menu = LoadMenuA(instance,
                            cls->menuNameText.empty() ? cls->menuName : cls->menuNameText.c_str());
    w->rect = {x, y, x + width, y + height};
    w->normalRect = w->rect;
    s.windows.emplace(w->handle, std::move(owned));
    w->clientCache = clientRectInWindow(w);
    linkToParent(w, parent, (style & WS_CHILD) ? HWND_BOTTOM : HWND_TOP);

    if ((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD))) {
        MINMAXINFO mmi;
        mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        mmi.ptMaxTrackSize = {sc.width + 8, sc.height + 8};
        mmi.ptMaxSize = mmi.ptMaxTrackSize;
        sendMessage(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        if (!findWindow(w->handle)) return nullptr;
        width = std::clamp<int>(width, mmi.ptMinTrackSize.x,
                                std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
        height = std::clamp<int>(height, mmi.ptMinTrackSize.y,
                                 std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
        w->rect = {x, y, x + width, y + height};
        w->normalRect = w->rect;
        w->clientCache = clientRectInWindow(w);
    }

    CREATESTRUCTA cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parentHandle;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(initialStyle);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    const HWND h = w->handle;
    if (!sendMessage(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (findWindow(h)) {
            sendMessage(w, WM_NCDESTROY, 0, 0);
            forget(w);
            unlinkFromParent(w);
            s.windows.erase(h);
        }
        return nullptr;
    }
    if (!findWindow(h)) return nullptr;
    w->created = true;
    if (sendMessage(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    if (!findWindow(h)) return nullptr;
    const RECT cr = clientRectInWindow(w);
    w->clientCache = cr;
    sendMessage(
        w, WM_SIZE, SIZE_RESTORED,
        MAKELPARAM(static_cast<WORD>(cr.right - cr.left), static_cast<WORD>(cr.bottom - cr.top)));
    if (!findWindow(h)) return nullptr;
    sendMessage(w, WM_MOVE, 0,
                MAKELPARAM(static_cast<WORD>(w->rect.left + cr.left),
                           static_cast<WORD>(w->rect.top + cr.top)));
    if (!findWindow(h)) return nullptr;
    notifyParents(w, static_cast<WORD>(WM_CREATE));
    if (!findWindow(h)) return nullptr;
    if (initialStyle & WS_MINIMIZE)
        ShowWindow(h, SW_SHOWMINNOACTIVE);
    else if (initialStyle & WS_MAXIMIZE)
        ShowWindow(h, (initialStyle & WS_VISIBLE) ? SW_SHOWMAXIMIZED : SW_MAXIMIZE);
    if (findWindow(h) && (initialStyle & WS_VISIBLE) && !(w->style & WS_VISIBLE))
        ShowWindow(h, SW_SHOW);
    return findWindow(h) ? h : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
    auto& s = state();
    Window* w = findWindow(hwnd);
    if (!w || w == s.desktop || w->destroying) return FALSE;
    notifyParents(w, static_cast<WORD>(WM_DESTROY));
    if (!findWindow(hwnd)) return TRUE;
    // Owned windows go first, as they would be useless without their owner.
    std::vector<HWND> ownedWindows;
    for (auto& [h, other] : s.windows)
        if (other->owner == hwnd) ownedWindows.push_back(h);
    for (HWND h : ownedWindows)
        DestroyWindow(h);
    w = findWindow(hwnd);
    if (!w) return TRUE;
    if (w->style & WS_VISIBLE)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    w = findWindow(hwnd);
    if (!w) return TRUE;
    std::vector<HWND> tree;
    collectPostOrder(w, tree);
    if (s.capture && std::ranges::find(tree, s.capture) != tree.end()) ReleaseCapture();
    if (std::ranges::find(tree, s.focus) != tree.end()) s.focus = nullptr;
    if (s.active == hwnd) activateOtherWindow(w);
    sendDestroy(w);
    for (HWND h : tree)
        if (Window* t = findWindow(h)) sendMessage(t, WM_NCDESTROY, 0, 0);
    for (HWND h : tree) {
        Window* t = findWindow(h);
        if (!t) continue;
        if (!(t->style & WS_CHILD) && t->menu && IsMenu(t->menu)) DestroyMenu(t->menu);
        if (t->systemMenu && IsMenu(t->systemMenu)) DestroyMenu(t->systemMenu);
        forget(t);
    }
    w = findWindow(hwnd);
    if (!w) return TRUE;
    if (Window* p = w->parent; p && p != s.desktop && isVisibleOnScreen(p)) {
        RECT r = w->rect;
        invalidateWindow(p, &r, true, false);
    }
    unlinkFromParent(w);
    for (HWND h : tree)
        s.windows.erase(h);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    return findWindow(hwnd) != nullptr;
}

LONG_PTR GetWindowLongA(HWND hwnd, int index) {
    return windowLong(hwnd, index, nullptr, 4);
}
LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value) {
    return windowLong(hwnd, index, &value, 4);
}
LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
    return windowLong(hwnd, index, nullptr, 8);
}
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    return windowLong(hwnd, index, &value, 8);
}
WORD GetWindowWord(HWND hwnd, int index) {
    Window* w = findWindow(hwnd);
    return w ? static_cast<WORD>(readExtra(w, index, 2)) : 0;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

HWND GetDesktopWindow() {
    return state().desktop->handle;
}

HWND GetParent(HWND hwnd) {
    Window* w = findWindow(hwnd);
    if (!w || w == state().desktop) return nullptr;
    if (w->style & WS_CHILD) return w->parent->handle;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
    Window* w = findWindow(child);
    Window* p = windowOrDesktop(newParent);
    if (!w || !p || w == state().desktop) return nullptr;
    for (Window* a = p; a; a = a->parent)
        if (a == w) return nullptr;  // would make a loop
    Window* old = w->parent;
    const bool visible = (w->style & WS_VISIBLE) != 0;
    if (visible && old != state().desktop) invalidateWindow(old, &w->rect, true, false);
    unlinkFromParent(w);
    linkToParent(w, p, HWND_TOP);
    if (visible) invalidateWindow(w, nullptr, true, true);
    return old ? old->handle : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    Window* w = findWindow(hwnd);
    if (!w || w == state().desktop) return nullptr;
    switch (flags) {
        case GA_PARENT:
            return w->parent ? w->parent->handle : nullptr;
        case GA_ROOT:
            return topLevelOf(w)->handle;
        case GA_ROOTOWNER: {
            Window* t = topLevelOf(w);
            while (t->owner && findWindow(t->owner))
                t = findWindow(t->owner);
            return t->handle;
        }
        default:
            return nullptr;
    }
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    Window* w = findWindow(hwnd);
    if (!w) return nullptr;
    if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
    if (cmd == GW_OWNER) return (w->style & WS_CHILD) ? nullptr : w->owner;
    if (!w->parent) return nullptr;
    const auto& sib = w->parent->children;
    const auto it = std::find(sib.begin(), sib.end(), w);
    switch (cmd) {
        case GW_HWNDFIRST:
            return sib.front()->handle;
        case GW_HWNDLAST:
            return sib.back()->handle;
        case GW_HWNDNEXT:
            return (it + 1 == sib.end()) ? nullptr : (*(it + 1))->handle;
        case GW_HWNDPREV:
            return (it == sib.begin()) ? nullptr : (*(it - 1))->handle;
        default:
            return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) {
    Window* w = windowOrDesktop(hwnd);
    return (w && !w->children.empty()) ? w->children.front()->handle : nullptr;
}

HWND GetDlgItem(HWND dialog, int id) {
    Window* w = findWindow(dialog);
    if (!w) return nullptr;
    for (Window* c : w->children)
        if (static_cast<int>(c->id) == id) return c->handle;
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Window* w = findWindow(hwnd);
    return (w && (w->style & WS_CHILD)) ? static_cast<int>(w->id) : 0;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    Window* w = findWindow(hwnd);
    while (w && (w->style & WS_CHILD)) {
        w = w->parent;
        if (w && w->handle == parent) return TRUE;
    }
    return FALSE;
}

HWND WindowFromPoint(POINT pt) {
    Window* w = windowFromScreenPoint(pt);
    return w ? w->handle : nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
    Window* p = findWindow(parent);
    if (!p) return nullptr;
    const POINT o = clientOriginOnScreen(p);
    const POINT screenPt{pt.x + o.x, pt.y + o.y};
    RECT cr = clientRectInWindow(p);
    cr = offsetRect(cr, -cr.left, -cr.top);
    if (!pointIn(cr, pt)) return nullptr;
    for (Window* c : p->children)
        if ((c->style & WS_VISIBLE) && pointIn(windowRectOnScreen(c), screenPt)) return c->handle;
    return parent;
}

namespace {
bool enumTree(Window* w, WNDENUMPROC proc, LPARAM lParam) {
    for (Window* c : std::vector<Window*>(w->children)) {
        if (!findWindow(c->handle)) continue;
        if (!proc(c->handle, lParam)) return false;
        if (findWindow(c->handle) && !enumTree(c, proc, lParam)) return false;
    }
    return true;
}
}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    Window* p = windowOrDesktop(parent);
    if (!p || !proc) return FALSE;
    enumTree(p, proc, lParam);
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    for (Window* c : std::vector<Window*>(state().desktop->children))
        if (findWindow(c->handle) && !proc(c->handle, lParam)) break;
    return TRUE;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    WindowClass* cls = className ? findClass(className) : nullptr;
    if (className && !cls) return nullptr;
    for (Window* c : state().desktop->children) {
        if (cls && c->cls != cls) continue;
        if (windowName && c->text != windowName) continue;
        return c->handle;
    }
    return nullptr;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    Window* w = findWindow(hwnd);
    if (!w) return FALSE;
    return sendMessage(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
    Window* w = findWindow(hwnd);
    if (!w || !buffer || size <= 0) return 0;
    buffer[0] = 0;
    return static_cast<int>(
        sendMessage(w, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND hwnd) {
    Window* w = findWindow(hwnd);
    return w ? static_cast<int>(sendMessage(w, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

}  // namespace win
