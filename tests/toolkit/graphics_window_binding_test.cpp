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

}  // namespace
}  // namespace tk::test
