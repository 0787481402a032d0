// The toolkit core's hooks that the window half provides: the frame around
// modal boxes, the root status bar, painting while a process is awaited,
// the screen metrics and destroying every window at shutdown.

#include <vector>

#include "platform/window/screen.h"
#include "platform/window/user_api.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/status_bar_codes.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_classes.h"
#include "toolkit/core/window_table.h"

namespace tk {
namespace {

// Disables the other visible toolkit frames while a box is up and gives the
// focus back afterwards.
class WindowModalFrame : public ModalFrame {
  public:
    win::HWND owner() override {
        const WindowSystem& w = windowSystem();
        if (w.ActiveModelessDialog && win::IsWindowVisible(w.ActiveModelessDialog))
            return w.ActiveModelessDialog;
        return w.ActiveFrame;
    }
    void begin(win::HWND except) override {
        focus_.push_back(win::GetFocus());
        std::vector<win::HWND> disabled;
        for (const WindowSlot& slot : windowSystem().slots)
            if (slot.frame && slot.frame != except && win::IsWindowVisible(slot.frame) &&
                win::IsWindowEnabled(slot.frame)) {
                win::EnableWindow(slot.frame, win::FALSE);
                disabled.push_back(slot.frame);
            }
        disabled_.push_back(std::move(disabled));
    }
    void end(win::HWND) override {
        if (disabled_.empty()) return;
        for (win::HWND h : disabled_.back())
            if (win::IsWindow(h)) win::EnableWindow(h, win::TRUE);
        disabled_.pop_back();
        win::HWND focus = focus_.back();
        focus_.pop_back();
        if (focus && win::IsWindow(focus)) win::SetFocus(focus);
    }

  private:
    std::vector<std::vector<win::HWND>> disabled_;
    std::vector<win::HWND> focus_;
};

void rootStatusText(std::string_view text) {
    win::HWND bar = windowSystem().slots[0].statusBar;
    if (!bar) return;
    std::string copy(text);
    win::SendMessageA(bar, kSbSetTextA, 0, reinterpret_cast<win::LPARAM>(copy.c_str()));
    win::UpdateWindow(bar);
}

void dispatchPaint() {
    win::MSG m;
    while (win::PeekMessageA(&m, nullptr, win::WM_PAINT, win::WM_PAINT, win::PM_REMOVE))
        win::DispatchMessageA(&m);
}

ScreenMetrics screenMetrics() {
    const win::ScreenConfig& c = win::screenConfig();
    ScreenMetrics m;
    m.width = c.width;
    m.height = c.height;
    m.logPixelsX = c.dpi;
    m.bitsPerPixel = c.bitsPerPixel;
    return m;
}

}  // namespace

void WindowSeamsBind() {
    static WindowModalFrame frame;
    ToolkitSeams& s = seams();
    if (!s.modalFrame) s.modalFrame = &frame;
    if (!s.rootStatusText) s.rootStatusText = rootStatusText;
    if (!s.dispatchPaint) s.dispatchPaint = dispatchPaint;
    if (!s.screenMetrics) s.screenMetrics = screenMetrics;
    if (!s.windowDestroyAll) s.windowDestroyAll = WindowDestroyAll;
    eventQueue().pushedBackType = 0;
}

}  // namespace tk
