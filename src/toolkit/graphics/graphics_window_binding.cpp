#include "toolkit/graphics/graphics_window_binding.h"

#include "toolkit/core/window_api.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/core/window_table.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_driver.h"

namespace tk {

namespace {

template <typename Hook, typename Routine>
void bindIfUnbound(Hook& hook, Routine routine) {
    if (!hook) hook = routine;
}

// The new output window is the graphics window; while the graphics draw on
// a window it is also their target and its client context their surface.
void outputWindowSelected(int window, win::HWND client, win::HDC dc, int width, int height) {
    GraphicsState& g = graphicsState();
    g.graphicsWindow = window;
    g.graphicsWindowWidth = width;
    g.graphicsWindowHeight = height;
    if (g.targetType != WindowTarget) return;
    DrawingSurface& surface = drawingSurface();
    surface = DrawingSurface{};
    surface.dc = dc;
    surface.window = client;
    ScreenSurfaceChanged();
}

void windowTargetResized(win::HWND window, int width, int height) {
    const int n = WindowSlotOfHandle(window);
    if (n >= 0) WindowTargetResized(n, width, height);
}

bool selectOutputWindow(int window) {
    if (!windowIsOpen(window)) return false;
    OutputWindowSelect(window);
    return true;
}

// Both sides ask for the window-text character size; the window side's hook
// is the one the text layer binds.
void windowTextSizeUpdate() {
    if (auto& update = windowGraphicsHooks().windowTextSizeUpdate) update();
}

}  // namespace

void GraphicsWindowBind() {
    WindowGraphicsHooks& h = windowGraphicsHooks();
    bindIfUnbound(h.deviceToWorld, DeviceToWorld);
    bindIfUnbound(h.targetResized, GraphicsTargetResized);
    bindIfUnbound(h.windowTargetResized, windowTargetResized);
    bindIfUnbound(h.dialogFieldTargetResized, DialogFieldTargetResized);
    bindIfUnbound(h.buildDefaultColourTable, BuildDefaultColourTable);
    bindIfUnbound(h.resetGraphicsState, [] { ResetGraphicsState(""); });
    bindIfUnbound(h.scaleDashTables, ScaleDashTables);
    bindIfUnbound(h.outputWindowSelected, outputWindowSelected);
    GraphicsServices& s = graphicsServices();
    bindIfUnbound(s.outputWindowSelect, selectOutputWindow);
    bindIfUnbound(s.windowTextSizeUpdate, windowTextSizeUpdate);
    bindIfUnbound(s.gradientFillSupport, [] {
        int support = 1;
        GradientFillSupport(support);
        return support;
    });
    bindIfUnbound(s.systemWindowColour, [](int code) {
        int colour = 0;
        SystemWindowColour(code, colour);
        return colour;
    });
}

}  // namespace tk
