// The default window procedure: what a window does with a message its own
// procedure passes on.

#include <cstring>
#include <functional>

#include "platform/gdi/gdi.h"
#include "platform/window/menu_internal.h"
#include "platform/window/window_internal.h"

namespace win {
namespace detail {
namespace {

bool altPressedAlone = false;

LRESULT toParent(Window* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if ((w->style & WS_CHILD) && w->parent) return sendMessage(w->parent, msg, wParam, lParam);
    return 0;
}

// Fills what is to be erased with the class brush (a brush handle, or a
// system colour index + 1).
void eraseBackground(Window* w, HDC given) {
    HDC dc = given ? given : GetDC(w->handle);
    if (!dc) return;
    RECT area = w->eraseRect;
    if (isEmpty(area)) GetClientRect(w->handle, &area);
    FillRect(dc, &area, w->cls->background);
    if (!given) ReleaseDC(w->handle, dc);
}

}  // namespace
}  // namespace detail

using namespace detail;

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(hwnd);
    if (!w) return 0;
    switch (msg) {
        case WM_NCCREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
            return TRUE;
        }
        case WM_NCHITTEST:
            return nonClientHitTest(w, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        case WM_NCPAINT:
            paintNonClient(w);
            return 0;
        case WM_NCACTIVATE:
            w->ncActive = wParam ? TRUE : FALSE;
            w->frameDirty = true;
            return TRUE;
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
            if ((w->style & WS_CAPTION) == WS_CAPTION) w->frameDirty = true;
            return TRUE;
        case WM_GETTEXT: {
            if (!wParam || !lParam) return 0;
            const std::size_t n = std::min<std::size_t>(wParam - 1, w->text.size());
            std::memcpy(reinterpret_cast<char*>(lParam), w->text.data(), n);
            reinterpret_cast<char*>(lParam)[n] = 0;
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            if (!w->cls->background) return 0;
            eraseBackground(w, reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_WINDOWPOSCHANGED:
            windowPosChangedDefault(w, reinterpret_cast<const WINDOWPOS*>(lParam));
            return 0;
        case WM_SETCURSOR: {
            if (w->style & WS_CHILD) {
                const LRESULT r = toParent(w, msg, wParam, lParam);
                if (r) return r;
            }
            return setCursorDefault(w,
                                    static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                                    HIWORD(static_cast<std::uintptr_t>(lParam)));
        }
        case WM_MOUSEACTIVATE:
            if (w->style & WS_CHILD) {
                const LRESULT r = toParent(w, msg, wParam, lParam);
                if (r) return r;
            }
            return MA_ACTIVATE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hwnd);
            return 0;
        case WM_NCLBUTTONDOWN:
            nonClientButtonDown(w, static_cast<LRESULT>(wParam), lParam);
            return 0;
        case WM_NCLBUTTONDBLCLK:
            if (wParam == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
                sendMessage(w, WM_SYSCOMMAND,
                            IsZoomed(hwnd) || IsIconic(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
            else if (wParam == HTSYSMENU && (w->style & WS_SYSMENU))
                sendMessage(w, WM_SYSCOMMAND, SC_CLOSE, lParam);
            return 0;
        case WM_RBUTTONUP: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(hwnd, &p);
            sendMessage(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                        MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
            return 0;
        }
        case WM_NCRBUTTONUP:
            sendMessage(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
            return 0;
        case WM_CONTEXTMENU:
        case WM_MOUSEWHEEL:
        case WM_HELP:
            return toParent(w, msg, wParam, lParam);
        case WM_SYSCOMMAND:
            sysCommand(w, wParam, lParam);
            return 0;
        case WM_SYSKEYDOWN:
            altPressedAlone =
                wParam == static_cast<WPARAM>(VK_MENU) || wParam == static_cast<WPARAM>(VK_F10);
            if (wParam == static_cast<WPARAM>(VK_F10) && GetKeyState(VK_SHIFT) < 0) {
                // Shift+F10 asks for the context menu from the keyboard.
                altPressedAlone = false;
                sendMessage(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
                return 0;
            }
            if (wParam == static_cast<WPARAM>(VK_F4) && (lParam & (1 << 29))) {
                Window* top = topLevelOf(w);
                if (top) postMessage(top->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        case WM_KEYDOWN:
            altPressedAlone = wParam == static_cast<WPARAM>(VK_F10);
            if (wParam == static_cast<WPARAM>(VK_F1) && GetKeyState(VK_SHIFT) >= 0 &&
                GetKeyState(VK_CONTROL) >= 0) {
                // F1 asks the focused window (and through it its parents) for help.
                HELPINFO info;
                info.iContextType = HELPINFO_WINDOW;
                info.iCtrlId = (w->style & WS_CHILD) ? static_cast<int>(w->id) : 0;
                info.hItemHandle = hwnd;
                GetCursorPos(&info.MousePos);
                sendMessage(w, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
            }
            if (wParam == static_cast<WPARAM>(VK_F10) && GetKeyState(VK_SHIFT) < 0) {
                altPressedAlone = false;
                sendMessage(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
            }
            return 0;
        case WM_SYSKEYUP:
        case WM_KEYUP:
            if (altPressedAlone &&
                (wParam == static_cast<WPARAM>(VK_MENU) || wParam == static_cast<WPARAM>(VK_F10))) {
                altPressedAlone = false;
                sendMessage(w, WM_SYSCOMMAND, SC_KEYMENU, 0);
            }
            altPressedAlone = false;
            return 0;
        case WM_SYSCHAR:
            altPressedAlone = false;
            if (wParam == '\r' || wParam == 27) return 0;
            sendMessage(w, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
            return 0;
        case WM_CANCELMODE:
            if (state().capture == hwnd) ReleaseCapture();
            return 0;
        case WM_SETREDRAW:
            w->redrawEnabled = wParam != 0;
            return 0;
        case WM_GETICON:
            return reinterpret_cast<LRESULT>(wParam == ICON_SMALL ? w->iconSmall : w->iconBig);
        case WM_SETICON: {
            HICON& slot = wParam == ICON_SMALL ? w->iconSmall : w->iconBig;
            HICON old = slot;
            slot = reinterpret_cast<HICON>(lParam);
            w->frameDirty = true;
            return reinterpret_cast<LRESULT>(old);
        }
        default:
            return 0;
    }
}

}  // namespace win
