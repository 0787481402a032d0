// A small program for the presenter test: it opens a window on the X11
// presenter, reports where its client area is, and exits 0 once it has seen a
// left click at client point (30, 25) followed by the character "k".

#include <unistd.h>

#include <cstdio>

#include "platform/window/user_api.h"
#include "platform/x11/backend.h"

namespace {

int clickX = -1, clickY = -1;

win::LRESULT probeProc(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    switch (m) {
        case win::WM_LBUTTONDOWN:
            clickX = win::GET_X_LPARAM(l);
            clickY = win::GET_Y_LPARAM(l);
            std::printf("click %d %d\n", clickX, clickY);
            std::fflush(stdout);
            return 0;
        case win::WM_CHAR:
            std::printf("char %d\n", static_cast<int>(w));
            std::fflush(stdout);
            if (w == 'k') win::PostQuitMessage(clickX == 30 && clickY == 25 ? 0 : 1);
            return 0;
        default:
            return win::DefWindowProcA(h, m, w, l);
    }
}

}  // namespace

int main() {
    alarm(30);  // never outlive a broken test
    if (win::startBackend() != win::Backend::X11) {
        std::fprintf(stderr, "no X display\n");
        return 3;
    }
    win::WNDCLASSA wc;
    wc.lpfnWndProc = probeProc;
    wc.lpszClassName = "PROBE";
    wc.hbrBackground =
        reinterpret_cast<win::HBRUSH>(static_cast<std::uintptr_t>(win::COLOR_WINDOW + 1));
    win::RegisterClassA(&wc);
    win::HWND w =
        win::CreateWindowExA(0, "PROBE", "Probe", win::WS_OVERLAPPEDWINDOW | win::WS_VISIBLE, 20,
                             20, 200, 150, nullptr, nullptr, nullptr, nullptr);
    win::POINT origin{0, 0};
    win::ClientToScreen(w, &origin);
    win::MSG msg;
    // Show the window before telling the driver where to click.
    while (win::PeekMessageA(&msg, nullptr, 0, 0, win::PM_REMOVE))
        win::DispatchMessageA(&msg);
    win::UpdateWindow(w);
    std::printf("READY %ld %ld\n", static_cast<long>(origin.x), static_cast<long>(origin.y));
    std::fflush(stdout);
    while (win::GetMessageA(&msg, nullptr, 0, 0)) {
        win::TranslateMessage(&msg);
        win::DispatchMessageA(&msg);
    }
    win::stopBackend();
    return static_cast<int>(msg.wParam);
}
