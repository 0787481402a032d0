#pragma once
// A clean toolkit on a clean headless desktop with a fake clock, for the
// window and event tests; the robot plays the user.

#include <gtest/gtest.h>

#include "platform/robot/robot.h"
#include "platform/window/clock.h"
#include "platform/window/presenter.h"
#include "platform/window/user_api.h"
#include "platform/window/window_system.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/event_wait.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_units.h"
#include "toolkit/graphics/graphics_state.h"

namespace tk::test {

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetAll();
        win::setClock(&clock);
    }
    void TearDown() override {
        EXPECT_EQ(win::robot::stop(), 0u) << "robot steps were never played";
        resetAll();
        win::setClock(nullptr);
    }
    static void resetAll() {
        win::robot::stop();
        resetWindowSystem();
        resetEventQueue();
        windowDialogHooks() = WindowDialogHooks{};
        windowGraphicsHooks() = WindowGraphicsHooks{};
        windowBarHooks() = WindowBarHooks{};
        toolkitState().reset();
        graphicsState().reset();
        seams() = ToolkitSeams{};
        win::resetWindowSystem();
    }

    static WindowSlot& slot(int n) { return windowSystem().slots[n]; }
    static win::RECT screenRect(win::HWND h) {
        win::RECT r{};
        win::GetWindowRect(h, &r);
        return r;
    }
    static win::SIZE clientSize(win::HWND h) {
        win::RECT r{};
        win::GetClientRect(h, &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    // A screen point of window n's client area.
    static win::POINT clientToScreen(int n, int x, int y) {
        win::POINT p{x, y};
        win::ClientToScreen(slot(n).client, &p);
        return p;
    }
    // Waits for the next event, skipping the exposes of freshly shown windows.
    static int waitSkippingExpose(EventRecord& rec) {
        int type = 0;
        do
            EventWait(type, rec);
        while (type == Expose);
        return type;
    }
    static void openRoot(int width = 400, int height = 300) {
        WindowOpenArgs a;
        a.x = 100;
        a.y = 50;
        a.width = width;
        a.height = height;
        a.title = "Root";
        WindowOpen(a);
    }

    win::FakeClock clock;
};

}  // namespace tk::test
