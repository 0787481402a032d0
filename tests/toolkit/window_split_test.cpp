// Windows split into two panes: layout on creation and on resize by the
// split flags, fixed panes, dragging the bar, menus of panes, closing a pane
// and turning the window back into a plain one.

#include "toolkit/core/window_split.h"
#include "menu_test_ids.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/window_placement.h"
#include "window_test_support.h"

namespace tk::test {
namespace {

class WindowSplitTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        MenuBarsBind();
    }
    // A pane's or the bar's extent along the split, in the container's client.
    static std::pair<int, int> span(win::HWND h, bool rows) {
        win::RECT r = screenRect(h);
        win::RECT c = screenRect(slot(0).client);
        return rows ? std::pair<int, int>(r.top - c.top, r.bottom - r.top)
                    : std::pair<int, int>(r.left - c.left, r.right - r.left);
    }
    static void growRoot(int dx, int dy) {
        win::RECT f = screenRect(slot(0).frame);
        win::SetWindowPos(slot(0).frame, nullptr, 0, 0, f.right - f.left + dx,
                          f.bottom - f.top + dy, win::SWP_NOMOVE | win::SWP_NOZORDER);
    }
    static FrameUserRecord* record() { return frameRecord(slot(0).frame); }
};

TEST_F(WindowSplitTest, PanesFollowTheSplitFlagsOnResize) {
    struct Case {
        int flags;
        std::optional<int> firstSize, secondSize;
        int secondPaneFlags;
        int grow;
        std::pair<int, int> firstBefore, secondBefore, firstAfter, secondAfter;
    } cases[] = {
        // Side by side, the first pane keeps its width.
        {0, 3000, {}, 0, 100, {0, 118}, {122, 278}, {0, 118}, {122, 378}},
        // The second pane keeps its width (by flag, or because it is fixed).
        {kSplitKeepSecond, 3000, {}, 0, 100, {0, 118}, {122, 278}, {0, 218}, {222, 278}},
        {0, 3000, {}, kPaneFixed, 100, {0, 118}, {122, 278}, {0, 218}, {222, 278}},
        // Stacked and proportional: both heights grow in their ratio.
        {kSplitStacked | kSplitProportional,
         2500,
         7500,
         0,
         100,
         {0, 74},
         {78, 222},
         {0, 99},
         {103, 297}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        resetAll();
        MenuBarsBind();
        openRoot(400, 300);
        std::array<SplitPaneArgs, 2> panes{};
        panes[0].size = c.firstSize;
        panes[1].size = c.secondSize;
        panes[1].paneFlags = c.secondPaneFlags;
        int first = -1, second = -1;
        ASSERT_EQ(WindowSplitCreate(c.flags, panes, first, second), 0);
        ASSERT_EQ(first, 1);
        ASSERT_EQ(second, 2);
        ASSERT_NE(record(), nullptr);
        EXPECT_EQ(record()->kind(), KindSplit);
        const bool rows = (c.flags & kSplitStacked) != 0;
        EXPECT_EQ(span(slot(first).frame, rows), c.firstBefore);
        EXPECT_EQ(span(slot(second).frame, rows), c.secondBefore);
        EXPECT_EQ(span(record()->handle(SplitBar), rows).second, kSplitBarThickness);
        growRoot(rows ? 0 : c.grow, rows ? c.grow : 0);
        EXPECT_EQ(span(slot(first).frame, rows), c.firstAfter);
        EXPECT_EQ(span(slot(second).frame, rows), c.secondAfter);
        // Across the split both panes fill the container.
        EXPECT_EQ(span(slot(first).frame, !rows).second,
                  rows ? clientSize(slot(0).client).cx : clientSize(slot(0).client).cy);
    }
}

TEST_F(WindowSplitTest, DraggingTheBarResizesBothPanes) {
    openRoot(400, 300);
    int first = -1, second = -1;
    ASSERT_EQ(WindowSplitCreate(0, {}, first, second), 0);
    win::HWND bar = record()->handle(SplitBar);
    EXPECT_EQ(win::SendMessageA(bar, win::WM_NCHITTEST, 0, 0), win::HTCAPTION);
    win::SendMessageA(bar, win::WM_ENTERSIZEMOVE, 0, 0);
    win::MoveWindow(bar, 250, 0, kSplitBarThickness, 300, win::TRUE);
    win::SendMessageA(bar, win::WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(span(slot(first).frame, false), (std::pair<int, int>(0, 250)));
    EXPECT_EQ(span(slot(second).frame, false), (std::pair<int, int>(254, 146)));
    EXPECT_EQ(record()->words[SplitFirstSize], 250);
    EXPECT_EQ(record()->words[SplitDragPosition], kNoRememberedRect);
}

TEST_F(WindowSplitTest, PlacingAPaneMovesTheBarInsteadOfThePane) {
    openRoot(400, 300);
    std::array<SplitPaneArgs, 2> panes{};
    panes[0].size = 3000;
    int first = -1, second = -1;
    ASSERT_EQ(WindowSplitCreate(0, panes, first, second), 0);
    ASSERT_EQ(span(slot(first).frame, false), (std::pair<int, int>(0, 118)));
    OutputWindowSelect(first);
    WindowPlacement p;
    p.width = 5000;  // half the container: 200 pixels of client
    WindowPlacementSet(p);
    const auto pane = span(slot(first).frame, false);
    const auto bar = span(record()->handle(SplitBar), false);
    EXPECT_EQ(pane.first, 0);
    EXPECT_GT(pane.second, 200);
    EXPECT_EQ(bar.first, pane.second);
    EXPECT_EQ(span(slot(second).frame, false).first, bar.first + kSplitBarThickness);
    EXPECT_EQ(record()->words[SplitDragPosition], kNoRememberedRect);
    EXPECT_EQ(record()->words[SplitPlacing], 0);
}

TEST_F(WindowSplitTest, FixedPanesFixTheContainerAndItsBorders) {
    openRoot(400, 300);
    std::array<SplitPaneArgs, 2> panes{};
    panes[0].paneFlags = panes[1].paneFlags = kPaneFixed;
    int first = -1, second = -1;
    ASSERT_EQ(WindowSplitCreate(0, panes, first, second), 0);
    FrameUserRecord& r = *record();
    EXPECT_TRUE(SplitPaneFixed(r, 0, 0));
    EXPECT_FALSE(SplitPaneFixed(r, 0, 1));
    EXPECT_TRUE(SplitContainerFixed(r, 0));
    EXPECT_FALSE(SplitContainerFixed(r, 1));
    win::MINMAXINFO info{};
    win::SendMessageA(slot(0).frame, win::WM_GETMINMAXINFO, 0,
                      reinterpret_cast<win::LPARAM>(&info));
    const win::RECT f = screenRect(slot(0).frame);
    EXPECT_EQ(info.ptMaxTrackSize.x, f.right - f.left);
    EXPECT_EQ(info.ptMinTrackSize.x, f.right - f.left);
    EXPECT_EQ(win::SendMessageA(r.handle(SplitBar), win::WM_NCHITTEST, 0, 0), win::HTBORDER);
    // The right border no longer sizes; the bottom one still does.
    auto hitAt = [&](int x, int y) {
        return win::SendMessageA(slot(0).frame, win::WM_NCHITTEST, 0, win::MAKELPARAM(x, y));
    };
    EXPECT_EQ(hitAt(f.right - 1, (f.top + f.bottom) / 2), win::HTBORDER);
    EXPECT_EQ(hitAt((f.left + f.right) / 2, f.bottom - 1), win::HTBOTTOM);
    EXPECT_EQ(hitAt(f.right - 1, f.bottom - 1), win::HTBOTTOM);
}

TEST_F(WindowSplitTest, RefusalsAndPaneMenus) {
    openRoot(400, 300);
    int first = -1, second = -1;
    int inside = -1;
    WindowOpenChildArgs a;
    a.flags = 7 | kFlagInsideParent;
    WindowOpenChild(inside, a);
    ASSERT_GT(inside, 0);
    OutputWindowSelect(0);
    EXPECT_EQ(WindowSplitCreate(0, {}, first, second), -6);
    WindowCloseChild(inside);
    auto viewer = std::make_unique<FrameUserRecord>();
    viewer->words[0] = KindBitmapViewer;
    setFrameRecord(0, std::move(viewer));
    EXPECT_EQ(WindowSplitCreate(0, {}, first, second), -4);
    setFrameRecord(0, nullptr);

    std::array<SplitPaneArgs, 2> panes{};
    panes[0].menuId = IDM_MENUMAIN;
    panes[1].menuId = IDM_MENUOTHER;
    ASSERT_EQ(WindowSplitCreate(0, panes, first, second), 0);
    ASSERT_NE(slot(first).menu, nullptr);
    ASSERT_NE(slot(second).menu, nullptr);
    // The frame shows the focused pane's menu; a command goes to that pane.
    EXPECT_EQ(win::GetMenu(slot(0).frame), slot(first).menu);
    // A new menu of the pane without the focus does not replace it; one of
    // the focused pane does.
    MenuAttach(IDM_MENUMAIN, second);
    EXPECT_EQ(win::GetMenu(slot(0).frame), slot(first).menu);
    MenuAttach(IDM_MENUOTHER, first);
    EXPECT_EQ(win::GetMenu(slot(0).frame), slot(first).menu);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    win::SetFocus(slot(second).client);
    EXPECT_EQ(win::GetMenu(slot(0).frame), slot(second).menu);
    win::PostMessageA(slot(0).frame, win::WM_COMMAND, IDC_MSAVE, 0);
    EventRecord rec{};
    int type = 0;
    do
        EventWait(type, rec);
    while (type == Expose || type == Resize);
    EXPECT_EQ(type, MenuSelect);
    EXPECT_EQ(rec[0], second);
    EXPECT_EQ(rec[1], IDC_MSAVE);
}

TEST_F(WindowSplitTest, ClosingAPaneOrRevertingUndoesTheSplit) {
    openRoot(400, 300);
    int first = -1, second = -1;
    ASSERT_EQ(WindowSplitCreate(kSplitStacked, {}, first, second), 0);
    win::HWND bar = record()->handle(SplitBar);
    WindowCloseChild(second);
    EXPECT_EQ(record(), nullptr);
    EXPECT_FALSE(windowIsOpen(first));
    EXPECT_FALSE(windowIsOpen(second));
    EXPECT_FALSE(win::IsWindow(bar));

    ASSERT_EQ(WindowSplitCreate(0, {}, first, second), 0);
    bar = record()->handle(SplitBar);
    EXPECT_EQ(WindowConversionRevert(), 0);
    EXPECT_EQ(record(), nullptr);
    EXPECT_FALSE(windowIsOpen(first));
    EXPECT_FALSE(win::IsWindow(bar));
    EXPECT_EQ(WindowConversionRevert(), 2);
    EXPECT_EQ(FreeChildSlot(), 1);
}

}  // namespace
}  // namespace tk::test
