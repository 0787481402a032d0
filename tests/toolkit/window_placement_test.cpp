// Placing, titling and filling the current window, the cursor shapes and the
// small text routines.

#include "toolkit/core/window_placement.h"
#include "platform/gdi/gdi.h"
#include "toolkit/core/window_front_scroll.h"
#include "toolkit/graphics/drawing_targets.h"
#include "window_test_ids.h"
#include "window_test_support.h"

namespace tk::test {
namespace {

class PlacementTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        openRoot(400, 300);
    }
};

TEST_F(PlacementTest, SizeAndPositionOfATopLevelWindowArePixels) {
    WindowPlacement p;
    p.width = 320;
    p.height = 200;
    p.x = 40;
    p.y = 60;
    WindowPlacementSet(p);
    EXPECT_EQ(clientSize(slot(0).client).cx, 320);
    EXPECT_EQ(clientSize(slot(0).client).cy, 200);
    EXPECT_EQ(screenRect(slot(0).frame).left, 40);
    EXPECT_EQ(screenRect(slot(0).frame).top, 60);
    EXPECT_EQ(WindowInfoQuery(1), 320);
    EXPECT_EQ(WindowInfoQuery(2), 200);
    // Absent values keep what the window has.
    WindowPlacement onlyX;
    onlyX.x = 10;
    WindowPlacementSet(onlyX);
    EXPECT_EQ(screenRect(slot(0).frame).left, 10);
    EXPECT_EQ(screenRect(slot(0).frame).top, 60);
    EXPECT_EQ(clientSize(slot(0).client).cx, 320);
}

TEST_F(PlacementTest, MaximiseKeepsTheRestoredRectangleAndHidingHides) {
    const win::RECT before = screenRect(slot(0).frame);
    WindowPlacement max;
    max.state = ShowMaximised;
    WindowPlacementSet(max);
    EXPECT_TRUE(win::IsZoomed(slot(0).frame));
    EXPECT_EQ(WindowInfoQuery(9), ShowMaximised);
    EXPECT_GT(WindowInfoQuery(1), 400);
    EXPECT_EQ(WindowInfoQuery(11), 400);
    EXPECT_EQ(WindowInfoQuery(12), 300);
    EXPECT_EQ(WindowInfoQuery(13), before.left);
    EXPECT_EQ(WindowInfoQuery(14), before.top);
    WindowPlacement normal;
    normal.state = ShowNormal;
    WindowPlacementSet(normal);
    EXPECT_EQ(screenRect(slot(0).frame).left, before.left);
    EXPECT_EQ(clientSize(slot(0).client).cx, 400);
    WindowPlacement hide;
    hide.state = ShowHidden;
    WindowPlacementSet(hide);
    EXPECT_FALSE(win::IsWindowVisible(slot(0).frame));
    EXPECT_EQ(WindowInfoQuery(9), ShowHidden);
    EXPECT_TRUE(windowSystem().RootHidden);
}

TEST_F(PlacementTest, WindowInsideAParentIsPlacedInTheParentsUnits) {
    int n = 0;
    WindowOpenChildArgs a;
    a.flags = 7 | kFlagInsideParent;
    WindowOpenChild(n, a);
    ASSERT_EQ(n, 1);
    WindowPlacement p;
    p.width = 5000;
    p.height = 5000;
    p.x = 0;
    p.y = 9999;
    WindowPlacementSet(p);
    EXPECT_EQ(clientSize(slot(1).client).cx, 400 * 5000 / 9999);
    EXPECT_EQ(clientSize(slot(1).client).cy, 300 * 5000 / 9999);
    const win::RECT r = screenRect(slot(1).frame);
    const win::POINT o = clientToScreen(0, 0, 0);
    EXPECT_EQ(r.left - o.x, 0);
    EXPECT_EQ(r.top - o.y, 299);
    EXPECT_EQ(WindowInfoQuery(4), 1);
    EXPECT_EQ(WindowInfoQuery(1), 400 * 5000 / 9999);
}

TEST_F(PlacementTest, TitleDropsTrailingBlanksAndAMissingIconIsReported) {
    WindowTitle(std::string("Profile 3   "));
    char text[32] = {};
    win::GetWindowTextA(slot(0).frame, text, sizeof text);
    EXPECT_STREQ(text, "Profile 3");
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    WindowTitle(std::string("Other"), IDI_TKMISSING);
    win::GetWindowTextA(slot(0).frame, text, sizeof text);
    EXPECT_STREQ(text, "Other");
    EXPECT_EQ(toolkitState().LastErrorNumber, 1015);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "WindowTitle");
}

TEST_F(PlacementTest, FillCoversExactlyTheGivenPixels) {
    win::HDC dc = windowSystem().ClientDC;
    ASSERT_NE(dc, nullptr);
    const win::COLORREF red = win::RGB(255, 0, 0);
    WindowFillRectangle(std::nullopt, std::nullopt, std::nullopt, std::nullopt, int(red));
    EXPECT_EQ(win::GetPixel(dc, 0, 0), red);
    EXPECT_EQ(win::GetPixel(dc, 399, 299), red);
    WindowFillRectangle(10, 20, 30, 40);
    const win::COLORREF white = win::RGB(255, 255, 255);
    EXPECT_EQ(win::GetPixel(dc, 10, 20), white);
    EXPECT_EQ(win::GetPixel(dc, 30, 40), white);
    EXPECT_EQ(win::GetPixel(dc, 31, 40), red);
    EXPECT_EQ(win::GetPixel(dc, 30, 41), red);
    EXPECT_EQ(win::GetPixel(dc, 9, 20), red);
}

TEST_F(PlacementTest, CursorShapesForEveryWindowOrOnlyThisOne) {
    int n = 0;
    WindowOpenChild(n);
    CursorShapeSet(CursorCross, 1);
    EXPECT_EQ(slot(1).cursorShape, CursorCross);
    EXPECT_NE(slot(1).cursor, nullptr);
    int shape = -1;
    CursorShapeQuery(shape, 1, 0);
    EXPECT_EQ(shape, CursorCross);
    CursorShapeSet(CursorHourglass);
    EXPECT_EQ(slot(1).cursor, nullptr);
    EXPECT_EQ(windowSystem().GlobalCursorShape, CursorHourglass);
    EXPECT_EQ(win::GetCursor(), win::LoadCursorA(nullptr, win::MAKEINTRESOURCEA(win::IDC_WAIT_ID)));
    CursorShapeQuery(shape, 1, 0);
    EXPECT_EQ(shape, CursorHourglass);
    graphicsState().targetType = BitmapTarget;
    CursorShapeSet(CursorArrow, 1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1097);
    EXPECT_EQ(windowSystem().GlobalCursorShape, CursorHourglass);
}

TEST(WindowTextRoutines, LengthsParsingAndFields) {
    EXPECT_EQ(CStringTrimLength("ab  "), 2);
    EXPECT_EQ(CStringTrimLength("   "), 0);
    EXPECT_EQ(CStringTokenLength("ab cd"), 2);
    EXPECT_EQ(CStringTokenLength("abc"), 3);
    EXPECT_EQ(ParseDecimalInteger("-12x"), -12);
    EXPECT_EQ(ParseDecimalInteger("x"), 0);
    EXPECT_EQ(ParseDecimalInteger("2147483647"), 2147483647);
    char field[6];
    CStringToField("abc", field, 6);
    EXPECT_EQ(std::string(field, 6), "abc   ");
    CStringToField("abcdefgh", field, 6);
    EXPECT_EQ(std::string(field, 6), "abcdef");
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

TEST_F(PlacementTest, ScrollingMovesThePictureAndFillsTheUncoveredStrip) {
    win::HDC dc = windowSystem().ClientDC;
    const win::COLORREF white = win::RGB(255, 255, 255), black = win::RGB(0, 0, 0);
    const win::COLORREF green = win::RGB(0, 255, 0);
    WindowFillRectangle();
    win::SetPixel(dc, 10, 10, black);
    WindowScrollContents(5, 0, int(green));
    EXPECT_EQ(win::GetPixel(dc, 15, 10), black);
    EXPECT_EQ(win::GetPixel(dc, 10, 10), white);
    EXPECT_EQ(win::GetPixel(dc, 4, 100), green);
    EXPECT_EQ(win::GetPixel(dc, 5, 100), white);
}

TEST_F(PlacementTest, BringingToFrontShowsTheWindowAndTheOnesAroundIt) {
    int outer = 0, inner = 0;
    WindowOpenChild(outer);
    WindowOpenChildArgs a;
    a.flags = 7 | kFlagInsideParent;
    a.parent = outer;
    WindowOpenChild(inner, a);
    ASSERT_EQ(inner, 2);
    win::ShowWindow(slot(1).frame, win::SW_HIDE);
    win::EnableWindow(slot(2).frame, win::FALSE);
    WindowBringToFront();
    EXPECT_TRUE(win::IsWindowVisible(slot(1).frame));
    EXPECT_TRUE(win::IsWindowVisible(slot(2).frame));
    EXPECT_TRUE(win::IsWindowEnabled(slot(2).frame));
    EXPECT_EQ(win::GetFocus(), slot(2).client);
}

}  // namespace
}  // namespace tk::test
