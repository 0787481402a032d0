#include "platform/x11/backend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/window/screen.h"
#include "platform/x11/x11_presenter.h"

namespace win {
namespace {
std::unique_ptr<x11::X11Presenter> running;
}

Backend startBackend() {
    // PELK_SCREEN=WIDTHxHEIGHT sets the size of the virtual screen.
    if (const char* size = std::getenv("PELK_SCREEN")) {
        int w = 0, h = 0;
        if (std::sscanf(size, "%dx%d", &w, &h) == 2 && w >= 320 && h >= 200 && w <= 8192 &&
            h <= 8192) {
            ScreenConfig sc = screenConfig();
            sc.width = w;
            sc.height = h;
            configureScreen(sc);
        }
    }
    const char* forced = std::getenv("PELK_BACKEND");
    if (forced && std::strcmp(forced, "headless") == 0) return Backend::Headless;
    const char* display = std::getenv("DISPLAY");
    const bool wantX11 = (forced && std::strcmp(forced, "x11") == 0) || (display && *display);
    if (!wantX11) return Backend::Headless;
    running = x11::X11Presenter::open();
    if (!running) {
        std::fprintf(stderr, "Cannot open the X display; running without a window.\n");
        return Backend::Headless;
    }
    setPresenter(running.get());
    return Backend::X11;
}

void stopBackend() {
    if (!running) return;
    setPresenter(nullptr);
    running.reset();
}

}  // namespace win
