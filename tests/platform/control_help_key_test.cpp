// F1 in a focused control asks its dialog or window for help: the controls
// that handle keys themselves still let F1 through.

#include <cstdint>

#include "window_test_support.h"

using namespace win;
using namespace wintest;

namespace {

int g_helpControlId = -1;
LRESULT keepHelpControlId(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_HELP) g_helpControlId = reinterpret_cast<const HELPINFO*>(l)->iCtrlId;
    return recordingProc(h, m, w, l);
}

class ControlHelpKeyTest : public WindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ControlHelpKeyTest, F1ReachesTheParentAsHelpNamingTheControl) {
    HWND host = topLevel("Host");
    SetWindowLongPtrA(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keepHelpControlId));
    g_helpControlId = -1;
    HWND control = CreateWindowExA(
        0, GetParam(), "text", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 120, 60, host,
        reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(5)), nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    SetFocus(control);
    seen().clear();
    SendMessageA(control, WM_KEYDOWN, VK_F1, 1);
    std::vector<Seen> help = seenOf(WM_HELP);
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].hwnd, host);
    EXPECT_EQ(g_helpControlId, 5);
}

INSTANTIATE_TEST_SUITE_P(KeyHandlingControls, ControlHelpKeyTest,
                         ::testing::Values("Edit", "RichEdit20A", "ListBox"));

}  // namespace
