// Window objects, classes, message order, focus, sizing and timers.

#include <limits>
#include <utility>

#include "window_test_support.h"

using namespace win;
using namespace wintest;

namespace {

WNDPROC baseProc = nullptr;
WNDPROC middleProc = nullptr;
std::vector<int> chain;

LRESULT outerSubclass(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER + 5) chain.push_back(3);
    return CallWindowProcA(middleProc, h, m, w, l);
}
LRESULT middleSubclass(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER + 5) {
        chain.push_back(2);
        if (w == 99) return 7;  // a subclass may answer without passing on
    }
    return CallWindowProcA(baseProc, h, m, w, l);
}
LRESULT superProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER + 5) chain.push_back(10);
    return CallWindowProcA(baseProc, h, m, w, l);
}

}  // namespace

TEST_F(WindowTest, SubclassChainsRunOutermostFirstAndSuperclassKeepsTheBase) {
    HWND w = topLevel("chain");
    baseProc = reinterpret_cast<WNDPROC>(GetWindowLongA(w, GWL_WNDPROC));
    EXPECT_EQ(baseProc, &recordingProc);
    middleProc = reinterpret_cast<WNDPROC>(
        SetWindowLongA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(middleSubclass)));
    EXPECT_EQ(middleProc, baseProc);
    middleProc = reinterpret_cast<WNDPROC>(
        SetWindowLongA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(outerSubclass)));
    EXPECT_EQ(middleProc, &middleSubclass);
    chain.clear();
    seen().clear();
    SendMessageA(w, WM_USER + 5, 0, 0);
    EXPECT_EQ(chain, (std::vector<int>{3, 2}));
    ASSERT_EQ(seenOf(WM_USER + 5).size(), 1u);  // the class procedure came last
    chain.clear();
    EXPECT_EQ(SendMessageA(w, WM_USER + 5, 99, 0), 7);
    EXPECT_EQ(seenOf(WM_USER + 5).size(), 1u);

    // Superclass: the new class takes the base class's settings and procedure.
    WNDCLASSA wc;
    ASSERT_NE(GetClassInfoA(nullptr, "recorder", &wc), 0);  // names ignore case
    wc.lpfnWndProc = superProc;
    wc.lpszClassName = "SUPERREC";
    const ATOM atom = RegisterClassA(&wc);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(RegisterClassA(&wc), 0);  // a second class of that name is refused
    HWND s = CreateWindowExA(0, "SUPERREC", "s", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                             nullptr);
    EXPECT_EQ(GetClassLongA(s, GCW_ATOM), atom);
    EXPECT_EQ(GetClassLongA(s, GCL_STYLE), static_cast<LONG_PTR>(CS_DBLCLKS));
    chain.clear();
    SendMessageA(s, WM_USER + 5, 0, 0);
    EXPECT_EQ(chain, (std::vector<int>{10}));
}

TEST_F(WindowTest, CreationSendsTheSequenceAndStoresTextStylesAndWords) {
    WNDCLASSA wc;
    wc.lpfnWndProc = recordingProc;
    wc.lpszClassName = "WORDS";
    wc.cbWndExtra = 16;
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "WORDS", "Title", WS_POPUP | WS_CAPTION, 5, 6, 200,
                             100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    const UINT expected[] = {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE};
    std::vector<UINT> got;
    for (const Seen& s : seen())
        if (s.msg == WM_NCCREATE || s.msg == WM_CREATE || s.msg == WM_SIZE || s.msg == WM_MOVE)
            got.push_back(s.msg);
    EXPECT_EQ(got, std::vector<UINT>(std::begin(expected), std::end(expected)));
    char buf[32];
    EXPECT_EQ(GetWindowTextA(w, buf, sizeof buf), 5);
    EXPECT_STREQ(buf, "Title");
    EXPECT_EQ(GetWindowTextA(w, buf, 3), 2);
    EXPECT_STREQ(buf, "Ti");
    EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE), static_cast<LONG_PTR>(WS_EX_TOOLWINDOW));
    EXPECT_EQ(SetWindowLongA(w, 4, -5), 0);
    EXPECT_EQ(GetWindowLongA(w, 4), -5);
    int marker = 0;
    SetWindowLongPtrA(w, 8, reinterpret_cast<LONG_PTR>(&marker));
    EXPECT_EQ(GetWindowLongPtrA(w, 8), reinterpret_cast<LONG_PTR>(&marker));
    EXPECT_EQ(GetWindowLongA(w, 14), 0);  // past the end of the extra words
    SetWindowLongA(w, GWL_USERDATA, 1234);
    EXPECT_EQ(GetWindowLongA(w, GWL_USERDATA), 1234);
    seen().clear();
    SetWindowLongA(w, GWL_STYLE, static_cast<LONG_PTR>(WS_POPUP));
    ASSERT_EQ(seenOf(WM_STYLECHANGED).size(), 1u);
    EXPECT_EQ(seenOf(WM_STYLECHANGED)[0].wParam, static_cast<WPARAM>(GWL_STYLE));
    RECT r;
    GetClientRect(w, &r);
    EXPECT_EQ(r.right, 200);  // no caption any more
}

TEST_F(WindowTest, ChildrenKeepCreationOrderAndDestructionReachesEveryone) {
    HWND top = topLevel("tree");
    HWND a = child(top, 1), b = child(top, 2), c = child(a, 3);
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
    EXPECT_EQ(GetDlgItem(top, 2), b);
    EXPECT_EQ(GetDlgCtrlID(c), 3);
    EXPECT_TRUE(IsChild(top, c));
    EXPECT_EQ(GetParent(c), a);
    seen().clear();
    DestroyWindow(top);
    EXPECT_FALSE(IsWindow(c));
    // WM_DESTROY goes parent first, WM_NCDESTROY children first.
    EXPECT_LT(indexOf(top, WM_DESTROY), indexOf(a, WM_DESTROY));
    EXPECT_LT(indexOf(a, WM_DESTROY), indexOf(c, WM_DESTROY));
    EXPECT_LT(indexOf(c, WM_NCDESTROY), indexOf(a, WM_NCDESTROY));
    EXPECT_LT(indexOf(a, WM_NCDESTROY), indexOf(top, WM_NCDESTROY));
}

// A parent that destroys one of its children from its own WM_DESTROY (as
// controls with helper windows do) must not leave the tree walk with a freed
// record.
HWND g_childToDestroy = nullptr;
LRESULT destroyChildOnDestroy(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY && g_childToDestroy) DestroyWindow(std::exchange(g_childToDestroy, nullptr));
    return recordingProc(h, m, w, l);
}

TEST_F(WindowTest, AParentMayDestroyItsChildrenWhileItIsBeingDestroyed) {
    HWND top = topLevel("tree");
    HWND a = child(top, 1), b = child(a, 2), c = child(top, 3);
    SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(destroyChildOnDestroy));
    g_childToDestroy = a;
    seen().clear();
    EXPECT_TRUE(DestroyWindow(top));
    for (HWND h : {top, a, b, c}) {
        EXPECT_FALSE(IsWindow(h));
        int destroys = 0, finals = 0;
        for (const Seen& s : seen()) {
            destroys += s.hwnd == h && s.msg == WM_DESTROY;
            finals += s.hwnd == h && s.msg == WM_NCDESTROY;
        }
        EXPECT_EQ(destroys, 1);
        EXPECT_EQ(finals, 1);
    }
}

TEST_F(WindowTest, SentMessagesRunAtOncePostedOnesInOrderAndInputAfterPosted) {
    HWND w = topLevel("queue");
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&m);
    seen().clear();
    injectMouseMove(150, 200);
    PostMessageA(w, WM_USER + 1, 1, 0);
    SendMessageA(w, WM_USER + 2, 2, 0);
    ASSERT_EQ(seen().size(), 1u);
    EXPECT_EQ(seen()[0].msg, WM_USER + 2);
    PostMessageA(w, WM_USER + 3, 3, 0);
    std::vector<UINT> order;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
        order.push_back(m.message);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 3, WM_MOUSEMOVE}));
    EXPECT_EQ(GET_X_LPARAM(m.lParam), 150 - 104);  // client coordinates
    PostQuitMessage(3);
    EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.wParam, 3u);
}

TEST_F(WindowTest, PaintComesOnlyWhenTheQueueIsEmptyAndTimersLast) {
    HWND w = topLevel("paint");
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&m);
    SetTimer(w, 1, 50, nullptr);
    clock.advance(60);
    InvalidateRect(w, nullptr, TRUE);
    PostMessageA(w, WM_USER, 0, 0);
    std::vector<UINT> order;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(m.message);
        DispatchMessageA(&m);
        if (order.size() > 5) break;
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_PAINT, WM_TIMER}));
    RECT r;
    EXPECT_FALSE(GetUpdateRect(w, &r, FALSE));  // the default painting validated it
}

TEST_F(WindowTest, FocusMovesWithKillFocusBeforeSetFocusNamingTheOtherWindow) {
    HWND top = topLevel("focus");
    HWND a = child(top, 1), b = child(top, 2);
    EXPECT_EQ(GetActiveWindow(), top);
    SetFocus(a);
    seen().clear();
    EXPECT_EQ(SetFocus(b), a);
    ASSERT_EQ(seen().size(), 2u);
    EXPECT_EQ(seen()[0].hwnd, a);
    EXPECT_EQ(seen()[0].msg, WM_KILLFOCUS);
    EXPECT_EQ(seen()[0].wParam, reinterpret_cast<WPARAM>(b));
    EXPECT_EQ(seen()[1].hwnd, b);
    EXPECT_EQ(seen()[1].msg, WM_SETFOCUS);
    EXPECT_EQ(seen()[1].wParam, reinterpret_cast<WPARAM>(a));
    EXPECT_EQ(GetFocus(), b);

    // Activating another top-level window: the old one is told first.
    HWND other = topLevel("other");
    EXPECT_EQ(GetActiveWindow(), other);
    const int deactivate = indexOf(top, WM_ACTIVATE);
    const int activate = indexOf(other, WM_ACTIVATE);
    ASSERT_GE(deactivate, 0);
    EXPECT_LT(deactivate, activate);
    EXPECT_LT(indexOf(b, WM_KILLFOCUS), indexOf(other, WM_SETFOCUS));
    EXPECT_EQ(GetFocus(), other);
    // Hiding a window that has the focus gives it back to its parent.
    SetFocus(b);
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
}

TEST_F(WindowTest, SetWindowPosSendsWmSizeBeforeReturning) {
    HWND w = topLevel("size");
    seen().clear();
    SetWindowPos(w, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    const auto sizes = seenOf(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    RECT c;
    GetClientRect(w, &c);
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(sizes[0].lParam)), c.right);
    EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(sizes[0].lParam)), c.bottom);
    EXPECT_EQ(c.right, 500 - 8);
    EXPECT_EQ(c.bottom, 400 - 8 - 19);
    EXPECT_LT(indexOf(w, WM_WINDOWPOSCHANGING), indexOf(w, WM_SIZE));
    EXPECT_TRUE(seenOf(WM_MOVE).empty());  // nothing moved

    seen().clear();
    ShowWindow(w, SW_MINIMIZE);
    ASSERT_FALSE(seenOf(WM_SIZE).empty());
    EXPECT_EQ(seenOf(WM_SIZE).back().wParam, SIZE_MINIMIZED);
    EXPECT_TRUE(IsIconic(w));
    ShowWindow(w, SW_RESTORE);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 500);  // back to its normal rectangle
    WINDOWPLACEMENT wp;
    GetWindowPlacement(w, &wp);
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    ShowWindow(w, SW_MAXIMIZE);
    EXPECT_EQ(seenOf(WM_SIZE).back().wParam, SIZE_MAXIMIZED);
    GetWindowPlacement(w, &wp);
    EXPECT_EQ(wp.rcNormalPosition.right - wp.rcNormalPosition.left, 500);
}

// Points far outside every window (a vertex dragged to 1e39 comes to the
// pixels as INT_MIN) keep their side instead of wrapping round.
TEST_F(WindowTest, PointConversionsSaturateFarPoints) {
    HWND w = topLevel("far");
    SetWindowPos(w, nullptr, -200, -100, 300, 200, SWP_NOZORDER);
    const int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    POINT a{lo, hi};
    ClientToScreen(w, &a);
    EXPECT_EQ(a.x, lo);
    POINT b{hi, lo};
    ScreenToClient(w, &b);
    EXPECT_EQ(b.x, hi);
    EXPECT_EQ(b.y, lo + 100 - 4 - 19);  // still inside the range: moved as usual
    POINT c[2] = {{lo, lo}, {5, 5}};
    MapWindowPoints(w, nullptr, c, 2);
    EXPECT_EQ(c[0].x, lo);
    EXPECT_EQ(c[1].x, 5 - 200 + 4);
}

TEST_F(WindowTest, TimerFiresOnTheFakeClock) {
    HWND w = topLevel("timer");
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&m);
    const std::uint64_t start = clock.nowMs();
    EXPECT_EQ(SetTimer(w, 7, 250, nullptr), 1u);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    clock.advance(249);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    clock.advance(1);
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.wParam, 7u);
    // With nothing else to do, the wait lets the clock run to the next timer.
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(clock.nowMs(), start + 500);
    EXPECT_TRUE(KillTimer(w, 7));
    EXPECT_THROW(GetMessageA(&m, nullptr, 0, 0), IdleWithoutInput);
}

TEST_F(WindowTest, TranslateMessageQueuesTheCharacterBeforeTheKeyRelease) {
    HWND w = topLevel("keys");
    SetFocus(w);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&m);
    injectText("A");  // Shift + a
    std::vector<std::pair<UINT, WPARAM>> got;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_KEYDOWN && m.wParam == 'A') {
            EXPECT_LT(GetKeyState(VK_SHIFT), 0);
        }
        TranslateMessage(&m);
        got.emplace_back(m.message, m.wParam);
    }
    const std::vector<std::pair<UINT, WPARAM>> expected = {{WM_KEYDOWN, VK_SHIFT},
                                                           {WM_KEYDOWN, 'A'},
                                                           {WM_CHAR, 'A'},
                                                           {WM_KEYUP, 'A'},
                                                           {WM_KEYUP, VK_SHIFT}};
    EXPECT_EQ(got, expected);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

TEST_F(WindowTest, AcceleratorKeyGivesWmCommand) {
    HWND w = topLevel("accel");
    SetFocus(w);
    ACCEL table[] = {{FVIRTKEY | FCONTROL, 'S', 101}, {FVIRTKEY, VK_F1 + 4, 102}};
    HACCEL acc = CreateAcceleratorTableA(table, 2);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&m);
    seen().clear();
    robot::play(robot::Script().chord({VK_CONTROL, 'S'}).key('S').key(VK_F1 + 4));
    int taken = 0;
    while (robot::playing() || PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (TranslateAcceleratorA(w, acc, &m)) {
            ++taken;
            continue;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    EXPECT_EQ(taken, 2);
    const auto commands = seenOf(WM_COMMAND);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(101, 1));
    EXPECT_EQ(commands[1].wParam, MAKEWPARAM(102, 1));
    ASSERT_EQ(seenOf(WM_CHAR).size(), 1u);  // the plain S was typed, not taken
    EXPECT_EQ(seenOf(WM_CHAR)[0].wParam, static_cast<WPARAM>('s'));
}

TEST_F(WindowTest, RegisteredMessagesAreSharedByName) {
    const UINT a = RegisterWindowMessageA("GM_CELLCHANGE");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageA("gm_cellchange"), a);
    EXPECT_NE(RegisterWindowMessageA("commdlg_FindReplace"), a);
}

TEST_F(WindowTest, OwnedWindowsStayInFrontOfTheirOwnerAndTopmostInFrontOfAll) {
    HWND top = CreateWindowExA(WS_EX_TOPMOST, "RECORDER", "topmost", WS_POPUP | WS_VISIBLE, 0, 0,
                               50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND owner = topLevel("owner");
    HWND owned = CreateWindowExA(0, "RECORDER", "owned", WS_POPUP | WS_CAPTION | WS_VISIBLE, 150,
                                 150, 100, 100, owner, nullptr, nullptr, nullptr);
    HWND other = topLevel("other");
    EXPECT_EQ(GetParent(owned), owner);  // a pop-up's parent is its owner
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    auto order = [] {
        std::vector<HWND> z;
        for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
            z.push_back(h);
        return z;
    };
    EXPECT_EQ(order(), (std::vector<HWND>{top, other, owned, owner}));
    SetActiveWindow(owner);
    EXPECT_EQ(order(), (std::vector<HWND>{top, owned, owner, other}));
    // Destroying the owner takes the owned window with it, and activation moves on.
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_NE(GetActiveWindow(), nullptr);
    EXPECT_TRUE(IsWindow(other));
}
