#include <vector>

#include "graphics_test_support.h"
#include "toolkit/graphics/lines.h"

namespace tk::test {
namespace {

class GraphicsLinesTest : public GraphicsTest {
  protected:
    // Device area 10..90 x 20..60 on a 100 x 100 target.
    void SetUp() override {
        GraphicsTest::SetUp();
        useTarget(100, 100);
        ApplyGraphicsArea(10, 20, 90, 60);
    }
};

struct ClipCase {
    const char* what;
    float x1, y1, x2, y2;
    bool visible;
    float cx1, cy1, cx2, cy2;
};

TEST_F(GraphicsLinesTest, SegmentsAreClippedToTheArea) {
    const std::vector<ClipCase> cases = {
        {"inside", 20, 30, 80, 50, true, 20, 30, 80, 50},
        {"inside to right", 50, 40, 130, 40, true, 50, 40, 90, 40},
        {"crossing left to right", 0, 40, 100, 40, true, 10, 40, 90, 40},
        {"wholly left", 0, 30, 5, 50, false, 0, 30, 5, 50},
        {"above", 20, 70, 80, 95, false, 20, 70, 80, 95},
        {"on the right edge", 90, 25, 90, 55, true, 90, 25, 90, 55},
        {"vertical through top and bottom", 50, 0, 50, 100, true, 50, 20, 50, 60},
        {"vertical downward through both", 50, 100, 50, 0, true, 50, 60, 50, 20},
        {"diagonal leaving through the top", 50, 40, 70, 80, true, 50, 40, 60, 60},
        {"diagonal entering from the bottom", 40, 0, 60, 40, true, 50, 20, 60, 40},
        {"diagonal through two edges", 0, 25, 100, 75, true, 10, 30, 70, 60},
        {"diagonal passing the corner", 80, 90, 100, 50, false, 80, 90, 100, 50},
        {"diagonal inside to left", 30, 40, 0, 10, true, 30, 40, 10, 20},
    };
    for (const ClipCase& c : cases) {
        float x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        bool visible = !c.visible;
        ClipSegment(x1, y1, x2, y2, visible);
        EXPECT_EQ(visible, c.visible) << c.what;
        if (!c.visible) continue;
        EXPECT_NEAR(x1, c.cx1, 1e-3) << c.what;
        EXPECT_NEAR(y1, c.cy1, 1e-3) << c.what;
        EXPECT_NEAR(x2, c.cx2, 1e-3) << c.what;
        EXPECT_NEAR(y2, c.cy2, 1e-3) << c.what;
    }
}

TEST_F(GraphicsLinesTest, VisibleSegmentsGoToBothSidesInvisibleToNone) {
    recordScreen();
    DrawLineDevice(0, 30, 5, 50);
    recordHardcopy();
    DrawLineDevice(0, 30, 5, 50);
    EXPECT_TRUE(screenLog.empty());
    EXPECT_TRUE(hardcopyLog.empty());
    DrawLineDevice(50.7f, 40.2f, 130, 40.9f);
    EXPECT_EQ(screenLog, std::vector<int>{2});
    EXPECT_EQ(hardcopyLog, std::vector<int>{2});
    const DeviceParameterBlock& b = deviceBlock();
    EXPECT_EQ(b.pixX[1], 50);
    EXPECT_EQ(b.pixY[1], 40);
    EXPECT_EQ(b.pixX[2], 90);
    EXPECT_FLOAT_EQ(b.fx[2], 90.0f);
    graphicsState().screenOutput = 0;
    DrawLineDevice(20, 30, 40, 50);
    EXPECT_EQ(screenLog, std::vector<int>{2});
    EXPECT_EQ(hardcopyLog, (std::vector<int>{2, 2}));
}

TEST_F(GraphicsLinesTest, LineAttributesAreCheckedAndSent) {
    recordScreen();
    recordHardcopy();
    SetLineStyle(5);
    EXPECT_EQ(graphicsState().lineStyle, 5);
    SetLineStyle(9);
    EXPECT_EQ(graphicsState().lineStyle, 0);
    SetLineStyle(5);
    SetLineStyle();
    EXPECT_EQ(graphicsState().lineStyle, 0);
    EXPECT_EQ(screenLog, (std::vector<int>{29, 29, 29, 29}));
    EXPECT_EQ(hardcopyLog, (std::vector<int>{29, 29, 29, 29}));
    clearLogs();
    SetLineThickness(0, -1, 0);
    EXPECT_TRUE(screenLog.empty());
    EXPECT_TRUE(hardcopyLog.empty());
    int hardcopyWidth = 0;
    graphicsServices().setHardcopyLineWidth = [&](int w) { hardcopyWidth = w; };
    SetLineThickness(3, 7, 9);
    EXPECT_EQ(graphicsState().lineWidthScreen, 3);
    EXPECT_EQ(graphicsState().lineWidthMetafile, 9);
    EXPECT_EQ(hardcopyWidth, 7);
    EXPECT_EQ(screenLog, std::vector<int>{30});  // not a metafile target
    EXPECT_EQ(hardcopyLog, std::vector<int>{30});
}

TEST_F(GraphicsLinesTest, PlotModeLetters) {
    recordScreen();
    recordHardcopy();
    const std::vector<std::pair<char, int>> cases = {
        {'N', 0}, {'O', 1}, {'o', 1}, {'A', 2}, {'a', 2}, {'E', 3}, {'e', 3}, {'X', 0}, {'n', 0}};
    for (auto [letter, mode] : cases) {
        graphicsState().drawingMode = 9;
        SetPlotModeLetter(letter);
        EXPECT_EQ(graphicsState().drawingMode, mode) << letter;
    }
    SetPlotModeLetter();
    EXPECT_EQ(graphicsState().drawingMode, 0);
    EXPECT_EQ(screenLog.size(), cases.size() + 1);
    EXPECT_TRUE(hardcopyLog.empty());
}

TEST_F(GraphicsLinesTest, ClearingTheWholeTargetSendsOnlyTheClear) {
    ApplyGraphicsArea(0, 0, 100, 100);
    recordScreen();
    ClearGraphicsArea();
    EXPECT_EQ(screenLog, std::vector<int>{17});
}

TEST_F(GraphicsLinesTest, ClearingPartOfTheTargetRestoresModeColourAndFill) {
    GrColourN(31);
    GraphicsState& g = graphicsState();
    g.drawingMode = 3;
    g.fillStyle = 2;
    recordScreen();
    int fillAt10 = -1, colourAt10 = -1, modeAt10 = -1;
    SetScreenDriver([&](int code) {
        screenLog.push_back(code);
        if (code == 10)
            fillAt10 = g.fillStyle, colourAt10 = g.colourNumber, modeAt10 = g.drawingMode;
    });
    ClearGraphicsArea();
    EXPECT_EQ(screenLog, (std::vector<int>{27, 3, 10, 27, 3}));
    EXPECT_EQ(fillAt10, 4);
    EXPECT_EQ(colourAt10, 0);
    EXPECT_EQ(modeAt10, 0);
    EXPECT_EQ(deviceBlock().pixX[1], 10);
    EXPECT_EQ(deviceBlock().pixY[2], 60);
    EXPECT_EQ(g.drawingMode, 3);
    EXPECT_EQ(g.colourNumber, 31);
    EXPECT_EQ(g.rgb, 255);
    EXPECT_EQ(g.previousColourNumber, 223);
    EXPECT_EQ(g.fillStyle, 2);
    // In copy mode with colour 0 current nothing needs changing around it.
    GrColourN(0);
    g.drawingMode = 0;
    clearLogs();
    ClearGraphicsArea();
    EXPECT_EQ(screenLog, std::vector<int>{10});
}

}  // namespace
}  // namespace tk::test
