// The window table, window units and the application's window routines on
// the headless desktop.

#include <map>

#include "platform/robot/finder.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/window_classes.h"
#include "window_test_support.h"

using win::robot::className;

namespace tk::test {
namespace {

TEST(WindowUnits, ConvertBothWaysWithTheRoundingOfTheTable) {
    struct Case {
        int pixels, size, units;
    };
    for (Case c : {Case{0, 500, 9}, Case{499, 500, 9989}, Case{250, 500, 5009}, Case{0, 2, 2499},
                   Case{7, 1, 0}, Case{0, 0, 0}})
        EXPECT_EQ(unitsFromPixels(c.pixels, c.size), c.units) << c.pixels << " of " << c.size;
    EXPECT_EQ(pixelsFromUnits(9999, 500), 499);
    EXPECT_EQ(pixelsFromUnits(5000, 500), 249);
    EXPECT_EQ(pixelsFromUnits(0, 500), 0);
}

using WindowApi = WindowTest;

TEST_F(WindowApi, RootWindowHasTheAskedClientSizeAndPositionAndOpensOnlyOnce) {
    openRoot(400, 300);
    ASSERT_TRUE(windowIsOpen(0));
    EXPECT_EQ(className(slot(0).frame), "VERAZIDERAD");
    EXPECT_EQ(className(slot(0).client), "VIRADERIZA");
    EXPECT_EQ(clientSize(slot(0).client).cx, 400);
    EXPECT_EQ(clientSize(slot(0).client).cy, 300);
    EXPECT_EQ(screenRect(slot(0).frame).left, 100);
    EXPECT_EQ(screenRect(slot(0).frame).top, 50);
    EXPECT_EQ(WindowInfoQuery(1), 400);
    EXPECT_EQ(WindowInfoQuery(2), 300);
    EXPECT_EQ(WindowInfoQuery(3), 7);
    EXPECT_EQ(WindowInfoQuery(4), 0);
    EXPECT_EQ(WindowInfoQuery(5), 100);
    EXPECT_EQ(WindowInfoQuery(6), 50);
    EXPECT_EQ(WindowInfoQuery(9), ShowNormal);
    win::POINT origin = clientToScreen(0, 0, 0);
    EXPECT_EQ(WindowInfoQuery(7), origin.x);
    EXPECT_EQ(WindowInfoQuery(8), origin.y);
    EXPECT_TRUE(toolkitState().RootWindowOpen);
    char title[32] = {};
    win::GetWindowTextA(slot(0).frame, title, sizeof title);
    EXPECT_STREQ(title, "Root");

    win::HWND frame = slot(0).frame;
    WindowOpenArgs again;
    again.width = 100;
    again.title = "Other";
    WindowOpen(again);
    EXPECT_EQ(slot(0).frame, frame);
    EXPECT_EQ(clientSize(slot(0).client).cx, 400);
}

TEST_F(WindowApi, AbsentPositionCentresAndAbsentSizeTakesEightyPercentOfTheScreen) {
    WindowOpen();
    const int sw = win::GetSystemMetrics(win::SM_CXSCREEN);
    const int sh = win::GetSystemMetrics(win::SM_CYSCREEN);
    EXPECT_EQ(clientSize(slot(0).client).cx, sw * 8 / 10);
    EXPECT_EQ(clientSize(slot(0).client).cy, sh * 8 / 10);
    win::RECT r = screenRect(slot(0).frame);
    EXPECT_EQ(r.left, (sw - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (sh - (r.bottom - r.top)) / 2);
}

TEST_F(WindowApi, RootSettingsRecordTurnsNegativesIntoDefaults) {
    WindowSettingsRecord rec;
    rec.words = {7, -5, 20, 300, 0, 0};
    rec.title = "Main window";
    RootWindowOpen(rec);
    win::RECT r = screenRect(slot(0).frame);
    EXPECT_EQ(r.left, (win::GetSystemMetrics(win::SM_CXSCREEN) - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(clientSize(slot(0).client).cx, 300);
    EXPECT_EQ(clientSize(slot(0).client).cy, win::GetSystemMetrics(win::SM_CYSCREEN) * 8 / 10);
}

TEST_F(WindowApi, ChildInsideParentIsPlacedInTheParentsWindowUnits) {
    openRoot(500, 400);
    int n = 0;
    WindowOpenChildArgs a;
    a.flags = 7 | kFlagInsideParent;
    a.x = 5000;
    a.y = 2500;
    a.width = 4000;
    a.height = 2000;
    WindowOpenChild(n, a);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(className(slot(1).frame), "DODAVAZED");
    EXPECT_EQ(win::GetParent(slot(1).frame), slot(0).client);
    EXPECT_EQ(clientSize(slot(1).client).cx, 500 * 4000 / 9999);
    EXPECT_EQ(clientSize(slot(1).client).cy, 400 * 2000 / 9999);
    win::RECT r = screenRect(slot(1).frame);
    win::POINT parentOrigin = clientToScreen(0, 0, 0);
    EXPECT_EQ(r.left - parentOrigin.x, 499 * 5000 / 9999);
    EXPECT_EQ(r.top - parentOrigin.y, 399 * 2500 / 9999);
    // The new window is current; its position reads back in the parent's units.
    EXPECT_EQ(WindowInfoQuery(4), 1);
    EXPECT_EQ(WindowInfoQuery(1), 500 * 4000 / 9999);
    EXPECT_EQ(WindowInfoQuery(5), unitsFromPixels(499 * 5000 / 9999, 500));
    EXPECT_EQ(WindowInfoQuery(6), unitsFromPixels(399 * 2500 / 9999, 400));
    EXPECT_EQ(WindowInfoQuery(3), 7 | kFlagInsideParent);
    EXPECT_EQ(WindowInfoQuery(4), 1);
}

// The caption look each frame was last told (WM_NCACTIVATE), by frame.
std::map<win::HWND, win::WPARAM>& captionLooks() {
    static std::map<win::HWND, win::WPARAM> looks;
    return looks;
}
std::map<win::HWND, win::WNDPROC>& frameProcedures() {
    static std::map<win::HWND, win::WNDPROC> procedures;
    return procedures;
}
win::LRESULT recordCaptionLook(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    if (m == win::WM_NCACTIVATE) captionLooks()[h] = w;
    return win::CallWindowProcA(frameProcedures()[h], h, m, w, l);
}
void watchCaption(win::HWND frame) {
    frameProcedures()[frame] = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtrA(
        frame, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(recordCaptionLook)));
}

TEST_F(WindowApi, AMinimisedChildLooksInactiveAndItsParentActive) {
    openRoot(500, 400);
    int n = 0;
    WindowOpenChildArgs a;
    a.flags = 7 | kFlagInsideParent;
    WindowOpenChild(n, a);
    ASSERT_EQ(n, 1);
    captionLooks().clear();
    watchCaption(slot(0).frame);
    watchCaption(slot(1).frame);
    win::ShowWindow(slot(1).frame, win::SW_MINIMIZE);
    ASSERT_TRUE(win::IsIconic(slot(1).frame));
    EXPECT_EQ(captionLooks()[slot(1).frame], 0u);
    EXPECT_EQ(captionLooks()[slot(0).frame], 1u);
    for (auto& [frame, procedure] : frameProcedures())
        if (win::IsWindow(frame))
            win::SetWindowLongPtrA(frame, win::GWLP_WNDPROC,
                                   reinterpret_cast<win::LONG_PTR>(procedure));
    frameProcedures().clear();
}

TEST_F(WindowApi, APressOnAClientsBordersBringsItsFrameToTheTopWithTheFocus) {
    openRoot(500, 400);
    int first = 0, second = 0;
    WindowOpenChildArgs a;
    a.width = 200;
    a.height = 150;
    WindowOpenChild(first, a);
    WindowOpenChild(second, a);
    ASSERT_EQ(first, 1);
    ASSERT_EQ(second, 2);
    const win::POINT centre = win::robot::centreOf(slot(1).client);
    ASSERT_EQ(win::WindowFromPoint(centre), slot(2).client);
    win::SendMessageA(slot(1).client, win::WM_NCLBUTTONDOWN, win::HTBORDER, 0);
    EXPECT_EQ(win::WindowFromPoint(centre), slot(1).client);
    EXPECT_EQ(win::GetFocus(), slot(1).client);
}

TEST_F(WindowApi, ChildInsideParentWithoutSizeTakesEightTenthsCentred) {
    openRoot(500, 400);
    int n = 0;
    WindowOpenChildArgs a;
    a.flags = 7 | kFlagInsideParent;
    WindowOpenChild(n, a);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(clientSize(slot(1).client).cx, 500 * 8000 / 9999);
    EXPECT_EQ(clientSize(slot(1).client).cy, 400 * 8000 / 9999);
    win::RECT r = screenRect(slot(1).frame);
    win::POINT o = clientToScreen(0, 0, 0);
    EXPECT_EQ(r.left - o.x, (500 - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top - o.y, (400 - (r.bottom - r.top)) / 2);
}

TEST_F(WindowApi, PopUpChildUsesScreenPixelsAndIsOwnedOnlyWithItsFlag) {
    openRoot();
    int a = 0, b = 0;
    WindowOpenChildArgs args;
    args.x = 30;
    args.y = 40;
    args.width = 200;
    args.height = 120;
    args.title = "Profile";
    WindowOpenChild(a, args);
    args.flags = 7 | kFlagOwned;
    WindowOpenChild(b, args);
    ASSERT_EQ(a, 1);
    ASSERT_EQ(b, 2);
    EXPECT_EQ(screenRect(slot(1).frame).left, 30);
    EXPECT_EQ(screenRect(slot(1).frame).top, 40);
    EXPECT_EQ(clientSize(slot(1).client).cx, 200);
    EXPECT_EQ(clientSize(slot(1).client).cy, 120);
    EXPECT_EQ(win::GetWindow(slot(1).frame, win::GW_OWNER), nullptr);
    EXPECT_EQ(win::GetWindow(slot(2).frame, win::GW_OWNER), slot(0).frame);
    EXPECT_EQ(WindowInfoQuery(5), 30);
}

TEST_F(WindowApi, ClosingTheCurrentChildSelectsTheRootAndClosingAnotherKeepsIt) {
    openRoot();
    int a = 0, b = 0;
    WindowOpenChild(a);
    WindowOpenChild(b);
    ASSERT_EQ(WindowInfoQuery(4), 2);
    WindowCloseChild(1);
    EXPECT_FALSE(windowIsOpen(1));
    EXPECT_EQ(WindowInfoQuery(4), 2);
    WindowCloseChild(2);
    EXPECT_FALSE(windowIsOpen(2));
    EXPECT_EQ(WindowInfoQuery(4), 0);
    EXPECT_EQ(WindowInfoQuery(1), 400);
    EXPECT_EQ(windowSystem().WindowFlags[2], -1);
    // Freed numbers are used again, lowest first.
    int c = 0;
    WindowOpenChild(c);
    EXPECT_EQ(c, 1);
}

TEST_F(WindowApi, BadWindowNumbersAreReportedAndChangeNothing) {
    openRoot();
    WindowCloseChild(0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1003);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "WindowCloseChild");
    EXPECT_TRUE(windowIsOpen(0));
    toolkitState().LastErrorNumber = 0;
    OutputWindowSelect(7);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1003);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "YYWINSEL");
    EXPECT_EQ(WindowInfoQuery(4), 0);
    toolkitState().LastErrorNumber = 0;
    int n = 0;
    WindowOpenChildArgs a;
    a.flags = 7 | kFlagInsideParent;
    a.parent = 9;
    WindowOpenChild(n, a);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1003);
}

TEST_F(WindowApi, HiddenParentAndMissingDialogAreReported) {
    openRoot();
    int hidden = 0;
    WindowOpenChildArgs h;
    h.flags = 7 | kFlagHidden;
    WindowOpenChild(hidden, h);
    ASSERT_EQ(hidden, 1);
    EXPECT_FALSE(win::IsWindowVisible(slot(1).frame));
    int n = 0;
    WindowOpenChildArgs inside;
    inside.flags = 7 | kFlagInsideParent;
    inside.parent = 1;
    WindowOpenChild(n, inside);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1016);
    // A child whose dialog is not in the resources is still created.
    WindowOpenChildArgs withDialog;
    withDialog.dialogId = 4321;
    WindowOpenChild(n, withDialog);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1007);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "WindowOpenChild");
}

TEST_F(WindowApi, ClosingAWindowTakesItsInsideWindowsAndRepointsReturnFocus) {
    openRoot(600, 500);
    int outer = 0, inner = 0, other = 0;
    WindowOpenChild(outer);
    WindowOpenChildArgs in;
    in.flags = 7 | kFlagInsideParent;
    in.parent = outer;
    WindowOpenChild(inner, in);
    WindowOpenChild(other);
    ASSERT_EQ(outer, 1);
    ASSERT_EQ(inner, 2);
    ASSERT_EQ(other, 3);
    slot(3).returnFocus = slot(1).frame;
    const win::HWND outersReturn = slot(1).returnFocus;
    ASSERT_NE(outersReturn, nullptr);
    win::HWND innerFrame = slot(2).frame;
    WindowCloseChild(1);
    EXPECT_FALSE(windowIsOpen(1));
    EXPECT_FALSE(windowIsOpen(2));
    EXPECT_FALSE(win::IsWindow(innerFrame));
    EXPECT_TRUE(windowIsOpen(3));
    EXPECT_EQ(slot(3).returnFocus, outersReturn);
}

TEST_F(WindowApi, SlotLookupsFindFramesAndClients) {
    openRoot();
    int n = 0;
    WindowOpenChild(n);
    EXPECT_EQ(WindowSlotOfHandle(slot(1).frame), 1);
    EXPECT_EQ(WindowSlotOfHandle(slot(1).client), 1);
    EXPECT_EQ(WindowSlotOfHandle(slot(0).client), 0);
    EXPECT_EQ(WindowSlotOfHandle(nullptr), -1);
    EXPECT_EQ(FreeChildSlot(), 2);
    int open = -1;
    WindowIsOpen(1, open);
    EXPECT_EQ(open, 1);
    WindowIsOpen(51, open);
    EXPECT_EQ(open, 0);
}

TEST_F(WindowApi, ShutdownDestroysEveryWindowAndTheRootCanOpenAgain) {
    WindowSeamsBind();
    openRoot();
    int n = 0;
    WindowOpenChild(n);
    win::HWND root = slot(0).frame, child = slot(1).frame;
    ToolkitShutdown();
    EXPECT_FALSE(win::IsWindow(root));
    EXPECT_FALSE(win::IsWindow(child));
    EXPECT_FALSE(windowIsOpen(0));
    EXPECT_FALSE(toolkitState().RootWindowOpen);
    openRoot();
    EXPECT_TRUE(windowIsOpen(0));
}

TEST_F(WindowApi, StatusBarEdgesStretchOnePartFromTheRight) {
    openRoot(400, 300);
    StatusBarPartSet(1, 100, 1);
    StatusBarPartSet(2, -1, 1);
    StatusBarPartSet(3, 50, 1);
    StatusBarPartSet(4, 30, 0);
    int edges[4] = {};
    StatusBarPartEdges(0, 4, edges);
    const int width = clientSize(slot(0).frame).cx;
    EXPECT_EQ(edges[0], 100);
    EXPECT_EQ(edges[3], width);
    EXPECT_EQ(edges[2], width - 30);
    EXPECT_EQ(edges[1], width - 80);
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

// A status bar of fixed height that follows its parent's bottom edge, for
// desktops that have no status-bar control of their own.
win::LRESULT fixedStatusBarProc(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    if (m == win::WM_CREATE || m == win::WM_SIZE) {
        win::RECT pr{};
        win::GetClientRect(win::GetParent(h), &pr);
        win::MoveWindow(h, 0, pr.bottom - 20, pr.right, 20, win::TRUE);
        return 0;
    }
    if (m >= win::WM_USER) return 1;
    return win::DefWindowProcA(h, m, w, l);
}

TEST_F(WindowApi, CentredRootWithStatusBarIsCentredWithTheBar) {
    win::WNDCLASSA probe;
    if (!win::GetClassInfoA(nullptr, "msctls_statusbar32", &probe)) {
        win::WNDCLASSA wc;
        wc.lpfnWndProc = fixedStatusBarProc;
        wc.lpszClassName = "msctls_statusbar32";
        ASSERT_NE(win::RegisterClassA(&wc), 0);
    }
    WindowOpenArgs a;
    a.flags = 7 | kFlagStatusBar;
    a.width = 400;
    a.height = 300;
    WindowOpen(a);
    ASSERT_NE(slot(0).statusBar, nullptr);
    EXPECT_EQ(win::GetDlgCtrlID(slot(0).statusBar), 999);
    EXPECT_EQ(clientSize(slot(0).client).cx, 400);
    EXPECT_EQ(clientSize(slot(0).client).cy, 300);
    const win::RECT frame = screenRect(slot(0).frame);
    const int sh = win::GetSystemMetrics(win::SM_CYSCREEN);
    EXPECT_LE(std::abs(frame.top - (sh - (frame.bottom - frame.top)) / 2), 1);
    // The bar sits below the client area.
    const win::RECT bar = screenRect(slot(0).statusBar);
    const win::RECT client = screenRect(slot(0).client);
    EXPECT_EQ(bar.top, client.bottom);
}

}  // namespace
}  // namespace tk::test
