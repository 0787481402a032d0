#include <array>
#include <cstdint>
#include <vector>

#include "platform/gdi/gdi.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/graphics_window_binding.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/screen_driver.h"
#include "window_test_support.h"

namespace tk::test {
namespace {

// Windows opened through the toolkit with the graphics bound to them.
class GraphicsWindowBindingTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        resetGraphics();
        GraphicsWindowBind();
    }
    void TearDown() override {
        WindowTest::TearDown();
        resetGraphics();
    }
    static void resetGraphics() {
        ResetScreenDriver();
        drawingSurface() = DrawingSurface{};
        graphicsServices() = GraphicsServices{};
        ResetDeviceProtocol();
        graphicsState().reset();
    }
    // The rows of column x of window n's client area in the given colour.
    static std::vector<int> rowsOf(int n, int x, win::COLORREF colour) {
        win::HDC dc = win::GetDC(slot(n).client);
        std::vector<int> rows;
        for (int y = 0; y < clientSize(slot(n).client).cy; ++y)
            if (win::GetPixel(dc, x, y) == colour) rows.push_back(y);
        win::ReleaseDC(slot(n).client, dc);
        return rows;
    }
};

TEST_F(GraphicsWindowBindingTest, LineDrawnThroughTheGraphicsLandsOnTheSelectedWindow) {
    openRoot(400, 300);
    int n = 0;
    WindowOpenChildArgs a;
    a.width = 200;
    a.height = 100;
    WindowOpenChild(n, a);
    ASSERT_EQ(n, 1);
    const win::SIZE size = clientSize(slot(n).client);
    const GraphicsState& g = graphicsState();
    EXPECT_EQ(g.graphicsWindow, 1);
    EXPECT_EQ(g.targetId, 1);
    EXPECT_EQ(g.graphicsWindowWidth, size.cx);
    EXPECT_EQ(g.targetHeight, size.cy);
    EXPECT_EQ(drawingSurface().window, slot(n).client);

    const win::COLORREF red = win::RGB(255, 0, 0);
    GrColourN(31);
    DrawLineUnits(0.25f, 0.5f, 0.75f, 0.5f);
    // One row across the middle, from a quarter to three quarters of the width.
    const std::vector<int> middle = rowsOf(n, size.cx / 2, red);
    ASSERT_EQ(middle.size(), 1u);
    EXPECT_NEAR(middle[0], size.cy / 2, 1);
    EXPECT_TRUE(rowsOf(n, size.cx / 8, red).empty());
    EXPECT_TRUE(rowsOf(n, size.cx * 7 / 8, red).empty());
    EXPECT_TRUE(rowsOf(0, 200, red).empty());

    // Selecting the root again moves the drawing there.
    OutputWindowSelect(0);
    EXPECT_EQ(g.graphicsWindow, 0);
    EXPECT_EQ(g.targetWidth, clientSize(slot(0).client).cx);
    DrawLineUnits(0.25f, 0.5f, 0.75f, 0.5f);
    const std::vector<int> rootRows = rowsOf(0, 200, red);
    ASSERT_EQ(rootRows.size(), 1u);
    EXPECT_NEAR(rootRows[0], clientSize(slot(0).client).cy / 2, 1);
    EXPECT_EQ(rowsOf(n, size.cx / 2, red), middle);
}

// The graphics answer the window system's colours and gradient fill as the
// window layer finds them.
TEST_F(GraphicsWindowBindingTest, SystemColoursAndGradientFillComeFromTheWindowLayer) {
    openRoot(200, 100);
    EXPECT_EQ(GraphicsInfoValue(45), static_cast<int>(win::GetSysColor(win::COLOR_WINDOWTEXT)));
    EXPECT_EQ(GraphicsInfoValue(46), static_cast<int>(win::GetSysColor(win::COLOR_WINDOW)));
    EXPECT_NE(GraphicsInfoValue(45), GraphicsInfoValue(46));
    for (bool found : {false, true}) {
        windowSystem().GradientFillFound = found;
        SendScreenRequest(1);
        EXPECT_EQ(GraphicsInfoValue(49), found ? 2 : 1);
    }
}

// An event of a window that is not the drawing target converts in that
// window's pixels, a bitmap viewer's through its scroll offset; the drawing
// target's own conversion is left as it was.
TEST_F(GraphicsWindowBindingTest, EventPositionsConvertInTheirOwnTargetsPixels) {
    openRoot(400, 300);
    int n = 0;
    WindowOpenChildArgs a;
    a.width = 200;
    a.height = 100;
    WindowOpenChild(n, a);
    ASSERT_EQ(n, 1);
    OutputWindowSelect(0);
    ASSERT_EQ(graphicsState().targetId, 0);
    const float span = graphicsState().devSpanX;
    const win::SIZE child = clientSize(slot(1).client);
    EventRecord rec{};
    rec[0] = 1;
    rec[3] = 0;
    rec[5] = 50;
    rec[6] = 25;
    EventCoordinates(MouseButtonDown, rec);
    EXPECT_NEAR(eventReal(rec, 9), 50.5f / (static_cast<float>(child.cx) - 0.01f), 1e-4f);
    EXPECT_NEAR(
        eventReal(rec, 10),
        (static_cast<float>(child.cy - 25 - 1) + 0.5f) / (static_cast<float>(child.cy) - 0.01f),
        1e-4f);
    EXPECT_EQ(rec[5], unitsFromPixels(50, child.cx));
    EXPECT_EQ(graphicsState().devSpanX, span);
    EXPECT_EQ(WindowInfoQuery(1), 400);

    // A bitmap viewer scrolled 30 pixels to the right.
    graphicsServices().bitmapViewerInfo = [](int code, int) {
        return code == 101 ? 200 : code == 102 ? 100 : code == 4 ? 30 : 0;
    };
    EventRecord view{};
    view[0] = 1;
    view[3] = 2;
    view[5] = 50;
    view[6] = 25;
    EventCoordinates(MouseButtonDown, view);
    EXPECT_NEAR(eventReal(view, 9), (30.0f + 50.5f) / 200.0f, 1e-4f);

    // A hidden dialog's field resized: no event, but the graphics layer
    // hears of the new size.
    ASSERT_TRUE(windowGraphicsHooks().dialogFieldTargetResized);
    std::vector<int> heard;
    windowGraphicsHooks().dialogFieldTargetResized = [&](int d, int f, int w, int h) {
        heard = {d, f, w, h};
    };
    static std::array<std::int32_t, 20> words{};
    words[0] = 55;
    words[11] = 3;
    windowDialogHooks().recordOf = [](win::HWND) { return words.data(); };
    win::HWND hidden = win::CreateWindowExA(0, "STATIC", "", win::WS_POPUP, 0, 0, 40, 40, nullptr,
                                            nullptr, nullptr, nullptr);
    eventQueue().current = StoredEvent{};
    EventPost(108, 0, 0, win::MAKELPARAM(30, 20), hidden);
    EXPECT_EQ(heard, (std::vector<int>{55, 3, 30, 20}));
    EXPECT_EQ(eventQueue().current.type, 0);
    win::DestroyWindow(hidden);
}

}  // namespace
}  // namespace tk::test
