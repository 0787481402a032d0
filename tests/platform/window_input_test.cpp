// Mouse and keyboard input as the window system delivers it: activation by
// clicking, double clicks, disabled windows, capture, wheel and help.

#include "platform/kernel/environment.h"
#include "platform/message_box.h"
#include "platform/robot/finder.h"
#include "window_test_support.h"

using namespace win;
using namespace wintest;

namespace {

LRESULT plainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    seen().push_back({h, m, w, l});
    return DefWindowProcA(h, m, w, l);
}

}  // namespace

TEST_F(WindowTest, ClickingAnInactiveWindowActivatesItBeforeTheButtonMessage) {
    HWND back = topLevel("back");
    HWND front = CreateWindowExA(0, "RECORDER", "front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 100,
                                 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(GetActiveWindow(), front);
    seen().clear();
    robot::play(robot::Script().click(200, 200));
    pumpUntilIdle();
    EXPECT_EQ(GetActiveWindow(), back);
    EXPECT_EQ(GetTopWindow(nullptr), back);
    const int mouseActivate = indexOf(back, WM_MOUSEACTIVATE);
    const int activate = indexOf(back, WM_ACTIVATE);
    int setCursor = -1;  // the one that names the button press
    for (std::size_t i = 0; i < seen().size(); ++i)
        if (seen()[i].msg == WM_SETCURSOR &&
            HIWORD(static_cast<std::uintptr_t>(seen()[i].lParam)) == WM_LBUTTONDOWN)
            setCursor = static_cast<int>(i);
    const int down = indexOf(back, WM_LBUTTONDOWN);
    ASSERT_GE(mouseActivate, 0);
    EXPECT_LT(mouseActivate, activate);
    EXPECT_LT(activate, setCursor);
    EXPECT_LT(setCursor, down);
    EXPECT_EQ(LOWORD(seenOf(WM_ACTIVATE).back().wParam), WA_CLICKACTIVE);
    EXPECT_EQ(seenOf(WM_LBUTTONDOWN)[0].wParam, MK_LBUTTON);
    EXPECT_EQ(seenOf(WM_LBUTTONDOWN)[0].lParam, MAKELPARAM(200 - 104, 200 - 123));
}

TEST_F(WindowTest, DoubleClicksNeedTheClassStyleAndAShortInterval) {
    HWND w = topLevel("double");
    WNDCLASSA wc;
    wc.lpfnWndProc = plainProc;
    wc.lpszClassName = "PLAIN";
    RegisterClassA(&wc);
    HWND plain = CreateWindowExA(0, "PLAIN", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, w, nullptr,
                                 nullptr, nullptr);
    (void)plain;
    seen().clear();
    robot::play(robot::Script()
                    .doubleClick(300, 300)  // the RECORDER window has CS_DBLCLKS
                    .click(300, 300)
                    .wait(600)
                    .click(300, 300)
                    .doubleClick(150, 150));  // the child without it
    pumpUntilIdle();
    std::vector<UINT> recorder, child;
    for (const Seen& s : seen()) {
        if (s.msg != WM_LBUTTONDOWN && s.msg != WM_LBUTTONDBLCLK) continue;
        (s.hwnd == w ? recorder : child).push_back(s.msg);
    }
    EXPECT_EQ(recorder, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN,
                                           WM_LBUTTONDOWN}));
    EXPECT_EQ(child, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
}

TEST_F(WindowTest, DisabledChildrenPassClicksToTheirParentAndCaptureKeepsTheMouse) {
    HWND w = topLevel("disabled");
    HWND c = child(w, 5, 10, 10);
    seen().clear();
    EXPECT_FALSE(EnableWindow(c, FALSE));
    EXPECT_EQ(seenOf(WM_ENABLE).size(), 1u);
    EXPECT_TRUE(EnableWindow(c, FALSE));  // it was disabled already
    POINT inChild{20, 20};
    ClientToScreen(w, &inChild);
    EXPECT_EQ(WindowFromPoint(inChild), w);
    robot::play(robot::Script().clickAt(robot::control(w, 5)));
    pumpUntilIdle();
    ASSERT_EQ(seenOf(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(seenOf(WM_LBUTTONDOWN)[0].hwnd, w);
    EnableWindow(c, TRUE);
    EXPECT_EQ(WindowFromPoint(inChild), c);
    EXPECT_TRUE(robot::stateOf(c).enabled);

    // With the capture, the mouse far to the left arrives with negative coordinates.
    SetCapture(c);
    seen().clear();
    robot::play(robot::Script().move(10, 200).release(10, 200));
    pumpUntilIdle();
    ASSERT_FALSE(seenOf(WM_MOUSEMOVE).empty());
    EXPECT_EQ(seenOf(WM_MOUSEMOVE)[0].hwnd, c);
    EXPECT_LT(GET_X_LPARAM(seenOf(WM_MOUSEMOVE)[0].lParam), 0);
    ReleaseCapture();
    EXPECT_EQ(seenOf(WM_CAPTURECHANGED).size(), 1u);
}

TEST_F(WindowTest, WheelGoesToTheFocusAndF1AsksForHelpUpTheParents) {
    HWND w = topLevel("wheel");
    HWND c = child(w, 7);
    SetFocus(c);
    seen().clear();
    robot::play(robot::Script().wheel(300, 300, -120).key(VK_F1));
    pumpUntilIdle();
    const auto wheels = seenOf(WM_MOUSEWHEEL);
    ASSERT_EQ(wheels.size(), 2u);  // the child, then its parent through the default processing
    EXPECT_EQ(wheels[0].hwnd, c);
    EXPECT_EQ(static_cast<SHORT>(HIWORD(wheels[0].wParam)), -120);
    EXPECT_EQ(wheels[1].hwnd, w);
    const auto help = seenOf(WM_HELP);
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help[1].hwnd, w);
    EXPECT_EQ(help[0].hwnd, c);
    EXPECT_EQ(help[0].lParam, help[1].lParam);  // the same request, passed on
}

TEST_F(WindowTest, KeyRepeatAndSystemKeysCarryWindowsFlags) {
    HWND w = topLevel("keys");
    SetFocus(w);
    seen().clear();
    robot::play(robot::Script().keyDown('Q').keyDown('Q').keyUp('Q').chord({VK_MENU, 'Z'}));
    pumpUntilIdle();
    const auto downs = seenOf(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].lParam & (1 << 30), 0);
    EXPECT_NE(downs[1].lParam & (1 << 30), 0);  // already down: a repeat
    const auto up = seenOf(WM_KEYUP);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_NE(static_cast<std::uint32_t>(up[0].lParam) & 0x80000000u, 0u);
    const auto sys = seenOf(WM_SYSKEYDOWN);
    ASSERT_EQ(sys.size(), 2u);
    EXPECT_EQ(sys[1].wParam, static_cast<WPARAM>('Z'));
    EXPECT_NE(sys[1].lParam & (1 << 29), 0);  // Alt held
    ASSERT_EQ(seenOf(WM_SYSCHAR).size(), 1u);
    EXPECT_EQ(seenOf(WM_SYSCHAR)[0].wParam, static_cast<WPARAM>('z'));
}

namespace {
int boxAnswer = 0;
LRESULT askingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_LBUTTONDOWN) boxAnswer = MessageBoxA(h, "Save the model?", "Demo", MB_YESNO);
    return DefWindowProcA(h, m, w, l);
}
}  // namespace

TEST_F(WindowTest, TheRobotAnswersMessageBoxesAndTheTickCountFollowsTheClock) {
    WNDCLASSA wc;
    wc.lpfnWndProc = askingProc;
    wc.lpszClassName = "ASKING";
    RegisterClassA(&wc);
    CreateWindowExA(0, "ASKING", "ask", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                    nullptr, nullptr, nullptr, nullptr);
    win::testing::resetMessageBoxes();
    robot::play(robot::Script().answerMessageBox(IDNO).click(200, 200));
    pumpUntilIdle();
    EXPECT_EQ(boxAnswer, IDNO);
    ASSERT_TRUE(win::testing::lastMessageBox().has_value());
    EXPECT_EQ(win::testing::lastMessageBox()->text, "Save the model?");
    const DWORD before = GetTickCount();
    clock.advance(1234);
    EXPECT_EQ(GetTickCount() - before, 1234u);
}
