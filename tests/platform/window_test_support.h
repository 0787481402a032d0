#pragma once
// A clean desktop on a fake clock for each test, and a window procedure that
// records what it is sent.

#include <gtest/gtest.h>

#include <vector>

#include "platform/robot/robot.h"
#include "platform/window/clock.h"
#include "platform/window/input_queue.h"
#include "platform/window/menu_api.h"
#include "platform/window/presenter.h"
#include "platform/window/user_api.h"
#include "platform/window/window_system.h"

namespace wintest {

struct Seen {
    win::HWND hwnd;
    win::UINT msg;
    win::WPARAM wParam;
    win::LPARAM lParam;
};

inline std::vector<Seen>& seen() {
    static std::vector<Seen> log;
    return log;
}

inline win::LRESULT recordingProc(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    seen().push_back({h, m, w, l});
    return win::DefWindowProcA(h, m, w, l);
}

// Messages of one kind that a window received, in order.
inline std::vector<Seen> seenOf(win::UINT msg) {
    std::vector<Seen> out;
    for (const Seen& s : seen())
        if (s.msg == msg) out.push_back(s);
    return out;
}

inline int indexOf(win::HWND h, win::UINT msg) {
    for (std::size_t i = 0; i < seen().size(); ++i)
        if (seen()[i].hwnd == h && seen()[i].msg == msg) return static_cast<int>(i);
    return -1;
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        win::resetWindowSystem();
        win::robot::stop();
        win::setClock(&clock);
        seen().clear();
        win::WNDCLASSA wc;
        wc.lpfnWndProc = recordingProc;
        wc.lpszClassName = "RECORDER";
        wc.style = win::CS_DBLCLKS;
        ASSERT_NE(win::RegisterClassA(&wc), 0);
    }
    void TearDown() override {
        EXPECT_EQ(win::robot::stop(), 0u) << "robot steps were never played";
        win::resetWindowSystem();
        win::setClock(nullptr);
    }
    win::HWND topLevel(const char* title,
                       win::DWORD style = win::WS_OVERLAPPEDWINDOW | win::WS_VISIBLE,
                       win::HMENU menu = nullptr) {
        return win::CreateWindowExA(0, "RECORDER", title, style, 100, 100, 400, 300, nullptr, menu,
                                    nullptr, nullptr);
    }
    win::HWND child(win::HWND parent, int id, int x = 10, int y = 10) {
        return win::CreateWindowExA(
            0, "RECORDER", "", win::WS_CHILD | win::WS_VISIBLE, x, y, 50, 20, parent,
            reinterpret_cast<win::HMENU>(static_cast<std::uintptr_t>(id)), nullptr, nullptr);
    }
    // Dispatches messages until the script has been played and nothing is left.
    void pumpUntilIdle() {
        win::MSG m;
        for (;;) {
            while (win::PeekMessageA(&m, nullptr, 0, 0, win::PM_REMOVE)) {
                win::TranslateMessage(&m);
                win::DispatchMessageA(&m);
            }
            if (!win::robot::step()) break;
        }
    }
    win::FakeClock clock;
};

}  // namespace wintest
