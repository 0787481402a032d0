// Menus driven by the robot: the menu bar by mouse and by keyboard, pop-up
// menus, and the caption and frame of a window dragged with the mouse.

#include "platform/robot/finder.h"
#include "window_test_support.h"

using namespace win;
using namespace wintest;

namespace {

HMENU demoMenu(HMENU* filePopup = nullptr) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 201, "&Open\tCtrl+O");
    AppendMenuA(file, MF_STRING | MF_GRAYED, 202, "&Save");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, 203, "E&xit");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 301, "&Copy");
    HMENU more = CreatePopupMenu();
    AppendMenuA(more, MF_STRING, 311, "&Deep");
    AppendMenuA(edit, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&More");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    if (filePopup) *filePopup = file;
    return bar;
}

std::vector<WPARAM> commands() {
    std::vector<WPARAM> out;
    for (const Seen& s : seenOf(WM_COMMAND))
        out.push_back(s.wParam);
    return out;
}

}  // namespace

TEST_F(WindowTest, MenuStateCallsAnswerWindowsValues) {
    HMENU file = nullptr;
    HMENU bar = demoMenu(&file);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetSubMenu(bar, 0), file);
    EXPECT_EQ(EnableMenuItem(bar, 202, MF_ENABLED), static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(EnableMenuItem(bar, 999, MF_GRAYED), static_cast<UINT>(-1));
    EXPECT_EQ(CheckMenuItem(bar, 201, MF_CHECKED), 0u);
    EXPECT_EQ(GetMenuState(bar, 201, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    char text[32];
    EXPECT_EQ(GetMenuStringA(bar, 311, text, sizeof text, MF_BYCOMMAND), 5);
    EXPECT_STREQ(text, "&Deep");
    MENUITEMINFOA info;
    info.fMask = MIIM_ID;
    info.wID = 4000;
    ASSERT_TRUE(SetMenuItemInfoA(file, 0, TRUE, &info));
    EXPECT_EQ(GetMenuItemID(file, 0), 4000u);
    EXPECT_TRUE(DeleteMenu(bar, 203, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(file), 3);
    DestroyMenu(bar);
    EXPECT_FALSE(IsMenu(file));
}

TEST_F(WindowTest, ClickingATitleThenAnItemPostsItsCommand) {
    HWND w = topLevel("Demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, demoMenu());
    seen().clear();
    robot::play(robot::Script().clickMenuBar(w, "File").clickMenuItem("Open"));
    pumpUntilIdle();
    EXPECT_EQ(commands(), (std::vector<WPARAM>{MAKEWPARAM(201, 0)}));
    EXPECT_EQ(seenOf(WM_COMMAND)[0].lParam, 0);
    ASSERT_EQ(seenOf(WM_ENTERMENULOOP).size(), 1u);
    EXPECT_EQ(seenOf(WM_ENTERMENULOOP)[0].wParam, static_cast<WPARAM>(FALSE));
    ASSERT_EQ(seenOf(WM_INITMENUPOPUP).size(), 1u);
    EXPECT_EQ(seenOf(WM_INITMENUPOPUP)[0].wParam,
              reinterpret_cast<WPARAM>(GetSubMenu(GetMenu(w), 0)));
    const auto selects = seenOf(WM_MENUSELECT);
    ASSERT_GE(selects.size(), 2u);
    EXPECT_EQ(LOWORD(selects[selects.size() - 2].wParam), 201);  // the item under the pointer
    EXPECT_EQ(HIWORD(selects.back().wParam), 0xFFFF);            // the menu closed
    EXPECT_LT(indexOf(w, WM_EXITMENULOOP), indexOf(w, WM_COMMAND));
    EXPECT_TRUE(robot::openPopupMenus().empty());
}

TEST_F(WindowTest, GreyedItemsAndClicksOutsideGiveNoCommand) {
    HWND w = topLevel("Demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, demoMenu());
    seen().clear();
    robot::play(robot::Script()
                    .clickMenuBar(w, "File")
                    .clickMenuItem("Save")
                    .check([] { EXPECT_EQ(robot::openPopupMenus().size(), 1u); })
                    .click(5, 900)
                    .check([] { EXPECT_TRUE(robot::openPopupMenus().empty()); }));
    pumpUntilIdle();
    EXPECT_TRUE(commands().empty());
}

TEST_F(WindowTest, AltAndMnemonicsChooseItemsAndReachSubmenus) {
    HWND w = topLevel("Demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, demoMenu());
    SetFocus(w);
    seen().clear();
    robot::play(robot::Script()
                    .chord({VK_MENU, 'F'})
                    .check([] { EXPECT_EQ(robot::openPopupMenus().size(), 1u); })
                    .key('X')
                    .chord({VK_MENU, 'E'})
                    .key('M')
                    .check([] { EXPECT_EQ(robot::openPopupMenus().size(), 2u); })
                    .key('D')
                    .key(VK_MENU)   // Alt alone selects the first title
                    .key(VK_RIGHT)  // to Edit
                    .key(VK_DOWN)   // opens it on its first item
                    .key(VK_RETURN));
    pumpUntilIdle();
    EXPECT_EQ(commands(),
              (std::vector<WPARAM>{MAKEWPARAM(203, 0), MAKEWPARAM(311, 0), MAKEWPARAM(301, 0)}));
}

TEST_F(WindowTest, TrackPopupMenuPostsTheChosenCommandOrReturnsIt) {
    HWND w = topLevel("popup");
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 501, "&First");
    AppendMenuA(popup, MF_STRING | MF_CHECKED, 502, "&Second");
    robot::play(robot::Script().clickMenuItem("Second"));
    EXPECT_TRUE(TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, 300, 300, 0, w, nullptr));
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(m.hwnd, w);
    EXPECT_EQ(m.wParam, MAKEWPARAM(502, 0));
    ASSERT_FALSE(seenOf(WM_ENTERMENULOOP).empty());
    EXPECT_EQ(seenOf(WM_ENTERMENULOOP)[0].wParam, static_cast<WPARAM>(TRUE));

    robot::play(robot::Script().key(VK_DOWN).key(VK_RETURN));
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 300, 300, 0, w, nullptr), 501);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));

    robot::play(robot::Script().key(VK_ESCAPE));
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 300, 300, 0, w, nullptr), 0);
}

TEST_F(WindowTest, DraggingTheCaptionMovesAndTheFrameSizes) {
    HWND w = topLevel("drag");
    seen().clear();
    // Caption at window y 4 .. 22; the bottom-right corner of the sizing frame.
    robot::play(robot::Script()
                    .drag(250, 110, 300, 170)
                    .check([w] {
                        RECT r;
                        GetWindowRect(w, &r);
                        EXPECT_EQ(r.left, 150);
                        EXPECT_EQ(r.top, 160);
                        EXPECT_EQ(r.right - r.left, 400);
                    })
                    .drag(548, 458, 598, 478));
    pumpUntilIdle();
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 150);
    EXPECT_EQ(r.right - r.left, 450);
    EXPECT_EQ(r.bottom - r.top, 320);
    EXPECT_EQ(seenOf(WM_ENTERSIZEMOVE).size(), 2u);
    EXPECT_EQ(seenOf(WM_EXITSIZEMOVE).size(), 2u);
    EXPECT_FALSE(seenOf(WM_SIZING).empty());
    EXPECT_FALSE(seenOf(WM_MOVING).empty());
}

TEST_F(WindowTest, CaptionBoxesMinimiseMaximiseAndClose) {
    HWND w = topLevel("boxes");
    // Boxes of a 400-wide window: close at window x 378..394, maximise
    // 360..376, minimise 344..360, all at y 6..20.
    robot::play(robot::Script()
                    .click(100 + 368, 100 + 12)
                    .check([w] { EXPECT_TRUE(IsZoomed(w)); })
                    .check([w] {
                        RECT r;
                        GetWindowRect(w, &r);
                        EXPECT_EQ(r.left, -4);
                        EXPECT_EQ(r.right, 1280 + 4);
                    }));
    pumpUntilIdle();
    ShowWindow(w, SW_RESTORE);
    seen().clear();
    robot::play(
        robot::Script().click(100 + 352, 100 + 12).check([w] { EXPECT_TRUE(IsIconic(w)); }));
    pumpUntilIdle();
    ShowWindow(w, SW_RESTORE);
    robot::play(robot::Script().click(100 + 386, 100 + 12));
    pumpUntilIdle();
    EXPECT_FALSE(IsWindow(w));
    const auto sys = seenOf(WM_SYSCOMMAND);
    ASSERT_FALSE(sys.empty());
    EXPECT_EQ(sys.back().wParam & 0xFFF0, SC_CLOSE);
}

TEST_F(WindowTest, HitTestCodesCoverFrameCaptionMenuAndClient) {
    HWND w = topLevel("hits", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL, demoMenu());
    struct Case {
        int x, y;
        LRESULT code;
    };
    const Case cases[] = {
        {101, 200, HTLEFT},      {498, 200, HTRIGHT},     {250, 101, HTTOP},
        {250, 398, HTBOTTOM},    {101, 101, HTTOPLEFT},   {498, 398, HTBOTTOMRIGHT},
        {250, 110, HTCAPTION},   {110, 110, HTSYSMENU},   {486, 112, HTCLOSE},
        {468, 112, HTMAXBUTTON}, {452, 112, HTMINBUTTON}, {250, 130, HTMENU},
        {250, 250, HTCLIENT},    {488, 250, HTVSCROLL},   {50, 50, HTNOWHERE}};
    for (const Case& c : cases)
        EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)), c.code)
            << c.x << "," << c.y;
}

TEST_F(WindowTest, ChildFramesMaximiseInsideTheirParentAndDragByTheirCaption) {
    HWND parent = topLevel("parent");
    HWND frame = CreateWindowExA(0, "RECORDER", "pane", WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 10, 10, 200, 150, parent, nullptr, nullptr, nullptr);
    RECT pc;
    GetClientRect(parent, &pc);
    ShowWindow(frame, SW_MAXIMIZE);
    RECT r;
    GetWindowRect(frame, &r);
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    EXPECT_EQ(r.left, origin.x - 4);  // the sizing frame lies outside the parent's client area
    EXPECT_EQ(r.right - r.left, pc.right + 8);
    SetWindowPos(parent, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(frame, SW_MAXIMIZE);
    GetClientRect(parent, &pc);
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.bottom - r.top, pc.bottom + 8);
    ShowWindow(frame, SW_RESTORE);
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.left, origin.x + 10);
    EXPECT_EQ(r.right - r.left, 200);

    // The caption of the child frame drags it within the parent.
    robot::play(robot::Script().drag(r.left + 100, r.top + 10, r.left + 130, r.top + 50));
    pumpUntilIdle();
    WINDOWPLACEMENT wp;
    GetWindowPlacement(frame, &wp);
    EXPECT_EQ(wp.rcNormalPosition.left, 40);
    EXPECT_EQ(wp.rcNormalPosition.top, 50);

    ShowWindow(frame, SW_MINIMIZE);
    GetWindowRect(frame, &r);
    GetClientRect(parent, &pc);
    EXPECT_EQ(r.left, origin.x);
    EXPECT_EQ(r.bottom, origin.y + pc.bottom);
    EXPECT_TRUE(IsIconic(frame));
}

TEST_F(WindowTest, HoveringOtherTitlesAndSubmenusOpensThem) {
    HWND w = topLevel("Demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, demoMenu());
    HMENU edit = GetSubMenu(GetMenu(w), 1);
    seen().clear();
    RECT editTitle;
    robot::play(robot::Script()
                    .clickMenuBar(w, "File")
                    .check([&] { ASSERT_TRUE(robot::menuBarItemRect(w, "Edit", editTitle)); })
                    .moveTo([&] { return robot::centreOf(editTitle); })
                    .check([&] {
                        ASSERT_EQ(robot::openPopupMenus().size(), 1u);
                        EXPECT_EQ(seenOf(WM_INITMENUPOPUP).back().wParam,
                                  reinterpret_cast<WPARAM>(edit));
                    })
                    .moveTo([] {
                        RECT r;
                        robot::openMenuItemRect("More", r);
                        return robot::centreOf(r);
                    })
                    .check([] { EXPECT_EQ(robot::openPopupMenus().size(), 2u); })
                    .clickMenuItem("Deep"));
    pumpUntilIdle();
    EXPECT_EQ(commands(), (std::vector<WPARAM>{MAKEWPARAM(311, 0)}));
    EXPECT_TRUE(robot::openPopupMenus().empty());
    EXPECT_EQ(seenOf(WM_EXITMENULOOP).size(), 1u);
}

TEST_F(WindowTest, AltSpaceOpensTheSystemMenuAndItsCommandsAreSystemCommands) {
    HWND w = topLevel("system");
    SetFocus(w);
    seen().clear();
    robot::play(robot::Script()
                    .chord({VK_MENU, VK_SPACE})
                    .check([w] {
                        HMENU sys = GetSystemMenu(w, FALSE);
                        EXPECT_EQ(GetMenuState(sys, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED,
                                  static_cast<UINT>(MF_GRAYED));
                        EXPECT_EQ(GetMenuState(sys, SC_MAXIMIZE, MF_BYCOMMAND) & MF_GRAYED, 0u);
                        EXPECT_EQ(robot::openPopupMenus().size(), 1u);
                    })
                    .key('X')  // Maximize
                    .check([w] { EXPECT_TRUE(IsZoomed(w)); })
                    .doubleClick(640, 10)  // the caption of the maximised window restores it
                    .check([w] { EXPECT_FALSE(IsZoomed(w)); })
                    .chord({VK_MENU, VK_SPACE})
                    .key('C'));
    pumpUntilIdle();
    const auto sys = seenOf(WM_SYSCOMMAND);
    ASSERT_GE(sys.size(), 3u);
    EXPECT_EQ(sys.back().wParam & 0xFFF0, SC_CLOSE);
    EXPECT_FALSE(IsWindow(w));
    const auto selects = seenOf(WM_MENUSELECT);
    bool sawSystemFlag = false;
    for (const Seen& s : selects)
        sawSystemFlag = sawSystemFlag || (HIWORD(s.wParam) & MF_SYSMENU) != 0;
    EXPECT_TRUE(sawSystemFlag);
}
