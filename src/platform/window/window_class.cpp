// The class registry: names and atoms, superclassing through GetClassInfoA
// and the class longs.

#include <cstring>

#include "platform/controls/control_classes.h"
#include "platform/window/menu_internal.h"
#include "platform/window/screen.h"
#include "platform/window/window_state.h"

namespace win {
namespace detail {
namespace {

LRESULT desktopProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

ATOM addClass(const WNDCLASSEXA& wc, bool system) {
    if (!wc.lpszClassName || !wc.lpfnWndProc || IS_INTRESOURCE(wc.lpszClassName)) return 0;
    if (findClass(wc.lpszClassName)) return 0;  // Windows refuses a second class of a name
    auto& s = state();
    auto c = std::make_unique<WindowClass>();
    c->name = wc.lpszClassName;
    c->atom = s.nextAtom++;
    c->style = wc.style;
    c->proc = wc.lpfnWndProc;
    c->clsExtra = wc.cbClsExtra;
    c->wndExtra = wc.cbWndExtra;
    c->instance = wc.hInstance;
    c->icon = wc.hIcon;
    c->iconSmall = wc.hIconSm;
    c->cursor = wc.hCursor;
    c->background = wc.hbrBackground;
    if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName)) {
        c->menuNameText = wc.lpszMenuName;
        c->menuName = nullptr;
    } else {
        c->menuName = wc.lpszMenuName;
    }
    c->extra.assign(static_cast<std::size_t>(std::max(0, wc.cbClsExtra)), 0);
    c->system = system;
    const ATOM atom = c->atom;
    s.classes.push_back(std::move(c));
    return atom;
}

void fillInfo(const WindowClass& c, WNDCLASSEXA* wc) {
    wc->style = c.style;
    wc->lpfnWndProc = c.proc;
    wc->cbClsExtra = c.clsExtra;
    wc->cbWndExtra = c.wndExtra;
    wc->hInstance = c.instance;
    wc->hIcon = c.icon;
    wc->hIconSm = c.iconSmall;
    wc->hCursor = c.cursor;
    wc->hbrBackground = c.background;
    wc->lpszMenuName = c.menuNameText.empty() ? c.menuName : c.menuNameText.c_str();
    wc->lpszClassName = c.name.c_str();
}

LONG_PTR classLong(WindowClass& c, int index, const LONG_PTR* newValue) {
    LONG_PTR old = 0;
    auto swap = [&](auto& field) {
        old = reinterpret_cast<LONG_PTR>(field);
        if (newValue) field = reinterpret_cast<std::remove_reference_t<decltype(field)>>(*newValue);
    };
    switch (index) {
        case GCL_WNDPROC:
            swap(c.proc);
            break;
        case GCL_HCURSOR:
            swap(c.cursor);
            break;
        case GCL_HICON:
            swap(c.icon);
            break;
        case GCL_HBRBACKGROUND:
            swap(c.background);
            break;
        case GCL_HMODULE:
            swap(c.instance);
            break;
        case GCL_STYLE:
            old = c.style;
            if (newValue) c.style = static_cast<UINT>(*newValue);
            break;
        case GCL_CBWNDEXTRA:
            old = c.wndExtra;
            break;
        case GCL_CBCLSEXTRA:
            old = c.clsExtra;
            break;
        case GCW_ATOM:
            old = c.atom;
            break;
        default:
            if (index >= 0 && static_cast<std::size_t>(index) + 4 <= c.extra.size()) {
                std::int32_t v;
                std::memcpy(&v, &c.extra[static_cast<std::size_t>(index)], 4);
                old = v;
                if (newValue) {
                    v = static_cast<std::int32_t>(*newValue);
                    std::memcpy(&c.extra[static_cast<std::size_t>(index)], &v, 4);
                }
            }
    }
    return old;
}

}  // namespace

void registerSystemClasses() {
    auto& s = state();
    WNDCLASSEXA wc;
    wc.lpfnWndProc = desktopProc;
    wc.lpszClassName = "#32769";
    addClass(wc, true);
    wc.lpfnWndProc = menuPopupProc;
    wc.lpszClassName = "#32768";
    wc.style = CS_SAVEBITS;
    addClass(wc, true);

    auto desk = std::make_unique<Window>();
    desk->handle = reinterpret_cast<HWND>(s.nextHandle);
    s.nextHandle += 4;
    desk->cls = findClass("#32769");
    desk->proc = desk->cls->proc;
    desk->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    desk->rect = {0, 0, screenConfig().width, screenConfig().height};
    desk->created = true;
    s.desktop = desk.get();
    s.windows.emplace(desk->handle, std::move(desk));
    registerControlClasses();
}

}  // namespace detail

using namespace detail;

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (!wc) return 0;
    WNDCLASSEXA ex;
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszMenuName = wc->lpszMenuName;
    ex.lpszClassName = wc->lpszClassName;
    return addClass(ex, false);
}

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
    return wc ? addClass(*wc, false) : 0;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
    WindowClass* c = findClass(className);
    if (!c || c->system) return FALSE;
    auto& s = state();
    for (auto& [h, w] : s.windows)
        if (w->cls == c) return FALSE;  // still in use
    std::erase_if(s.classes, [&](const auto& p) { return p.get() == c; });
    return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR className, WNDCLASSEXA* wc) {
    WindowClass* c = findClass(className);
    if (!c || !wc) return FALSE;
    fillInfo(*c, wc);
    return c->atom;
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* wc) {
    WNDCLASSEXA ex;
    const BOOL ok = GetClassInfoExA(instance, className, &ex);
    if (!ok || !wc) return ok;
    wc->style = ex.style;
    wc->lpfnWndProc = ex.lpfnWndProc;
    wc->cbClsExtra = ex.cbClsExtra;
    wc->cbWndExtra = ex.cbWndExtra;
    wc->hInstance = ex.hInstance;
    wc->hIcon = ex.hIcon;
    wc->hCursor = ex.hCursor;
    wc->hbrBackground = ex.hbrBackground;
    wc->lpszMenuName = ex.lpszMenuName;
    wc->lpszClassName = ex.lpszClassName;
    return ok;
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
    Window* w = findWindow(hwnd);
    if (!w || !buffer || size <= 0) return 0;
    const int n = std::min<int>(size - 1, static_cast<int>(w->cls->name.size()));
    std::memcpy(buffer, w->cls->name.data(), static_cast<std::size_t>(n));
    buffer[n] = 0;
    return n;
}

LONG_PTR GetClassLongA(HWND hwnd, int index) {
    Window* w = findWindow(hwnd);
    return w ? classLong(*w->cls, index, nullptr) : 0;
}

LONG_PTR SetClassLongA(HWND hwnd, int index, LONG_PTR value) {
    Window* w = findWindow(hwnd);
    return w ? classLong(*w->cls, index, &value) : 0;
}

LONG_PTR GetClassLongPtrA(HWND hwnd, int index) {
    return GetClassLongA(hwnd, index);
}
LONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    return SetClassLongA(hwnd, index, value);
}

}  // namespace win
