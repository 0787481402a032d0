#include <cmath>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/graphics/area_fill.h"

namespace tk::test {
namespace {

class GraphicsAreaTest : public GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        useTarget(800, 600);
        hardcopyDeviceInfo().hardcopyColourCount = 256;
        ApplyPageOrientation();
    }
};

TEST_F(GraphicsAreaTest, FillPatternArgumentsAreCheckedWithoutErrors) {
    SetFillPattern(5);
    const GraphicsState& g = graphicsState();
    EXPECT_EQ(g.fillStyle, 0);
    EXPECT_EQ(g.fillOutline, 1);
    SetFillPattern(-2, 9, 0);
    EXPECT_EQ(g.fillStyle, 2);
    EXPECT_EQ(g.fillOutline, 0);
    EXPECT_EQ(g.fillDensity, 2);
    EXPECT_EQ(g.fillAngle, 3);
    SetFillPattern(1, 5, 4);
    EXPECT_EQ(g.fillDensity, 5);
    EXPECT_EQ(g.fillAngle, 4);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

TEST_F(GraphicsAreaTest, HatchSpacingFollowsDensityAndTargetSize) {
    SetFillPattern(1, 2);
    HatchLayout h = HatchSpacing(1, 2);
    EXPECT_EQ(h.gridY, 15);
    EXPECT_EQ(h.gridX, 16);
    EXPECT_FALSE(h.alternate);
    h = HatchSpacing(1, 0);  // before any pattern was set
    EXPECT_EQ(h.gridY, 30);
    EXPECT_EQ(h.gridX, 40);
    h = HatchSpacing(2, 2);
    EXPECT_FLOAT_EQ(h.spacingY, 599.99f / 40.0f);
    EXPECT_EQ(h.gridY, 14);
    EXPECT_TRUE(h.alternate);
    graphicsState().drawingMode = 3;
    EXPECT_EQ(HatchSpacing(1, 2).inset, 1.0f);
    EXPECT_EQ(GridStart(-7, 5), -10);
    EXPECT_EQ(GridStart(10, 5), 10);
}

TEST_F(GraphicsAreaTest, SolidRectangleIsOneScreenRequestWithClampedCorners) {
    recordBoth(false);
    GrArea(0.25f, 0.25f, 0.75f, 0.75f);
    GrUnits(0, 0, 10, 10);
    SetFillPattern(4);
    sent.clear();
    GrRectangle(5, 5, 12, -3);
    ASSERT_EQ(codes(1), std::vector<int>{10});
    EXPECT_TRUE(codes(2).empty());
    const DeviceParameterBlock& b = sent[0].block;
    EXPECT_EQ(b.pixX[1], 400);
    EXPECT_EQ(b.pixX[2], graphicsState().devIX2);
    EXPECT_EQ(b.pixY[1], graphicsState().devIY1);
    EXPECT_GT(b.fx[2], graphicsState().devX2);
    EXPECT_LT(b.fy[1], graphicsState().devY1);
    EXPECT_EQ(GraphicsInfoReal(1), 5.0f);
    EXPECT_EQ(GraphicsInfoReal(2), 5.0f);
}

TEST_F(GraphicsAreaTest, HalftoneOfOneColourIsSentAsSolid) {
    recordBoth(false);
    SetFillPattern(3);
    GrColourN(0);
    GrColourN(31);
    GrRectangle(0.1f, 0.1f, 0.2f, 0.2f);
    GrColourN(31);
    GrRectangle(0.1f, 0.1f, 0.2f, 0.2f);
    EXPECT_EQ(codes(1), (std::vector<int>{3, 3, 9, 3, 10}));
}

TEST_F(GraphicsAreaTest, ZeroSizeRectangleIsRefused) {
    recordBoth();
    MoveToUnits(0.5f, 0.5f);
    GrRectangle(0.1f, 0.1f, 0.1f, 0.3f);
    EXPECT_EQ(toolkitState().LastErrorNumber, 22);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(GraphicsInfoReal(1), 0.5f);
    RectangleRelative(0.2f, 0.0f);
    EXPECT_EQ(toolkitState().LastErrorNumber, 22);
    EXPECT_TRUE(sent.empty());
}

TEST_F(GraphicsAreaTest, HorizontalHatchLiesOnTheGlobalGridBelowTheTopEdge) {
    recordBoth(false);
    SetFillPattern(1, 2, 3);
    RectangleInDeviceUnits(100, 100, 400, 300);
    const std::vector<Sent> drawn = lines(1);
    ASSERT_EQ(drawn.size(), 4u + 13u);  // outline, then lines at 105 .. 285
    for (std::size_t i = 4; i < drawn.size(); ++i) {
        const float y = drawn[i].block.fy[1];
        EXPECT_EQ(std::fmod(y, 15.0f), 0.0f) << y;
        EXPECT_EQ(drawn[i].block.fy[2], y);
        EXPECT_LT(y, 300.0f);
        EXPECT_EQ(drawn[i].block.fx[1], 400.0f);  // drawn from right to left
    }
    EXPECT_EQ(drawn[4].block.fy[1], 105.0f);
}

TEST_F(GraphicsAreaTest, CrossHatchAndDiagonalsStayInsideTheRectangle) {
    recordBoth(false);
    SetFillPattern(-2, 3, 1);  // rising and falling diagonals, no outline
    RectangleInDeviceUnits(200, 100, 300, 250);
    const std::vector<Sent> drawn = lines(1);
    ASSERT_GT(drawn.size(), 10u);
    for (const Sent& s : drawn) {
        for (int k : {1, 2}) {
            EXPECT_GE(s.block.fx[k], 200.0f - 1e-3f);
            EXPECT_LE(s.block.fx[k], 300.0f + 1e-3f);
            EXPECT_GE(s.block.fy[k], 100.0f - 1e-3f);
            EXPECT_LE(s.block.fy[k], 250.0f + 1e-3f);
        }
    }
    // The area is back as it was.
    EXPECT_EQ(graphicsState().devIX2, 799);
}

TEST_F(GraphicsAreaTest, TwoColourLineFillOfAHardcopyDriverAlternatesColours) {
    recordBoth();
    GrColourN(31);  // previous black (223), current red (31)
    SetFillPattern(3);
    hardcopyAnswer = [](int code) {
        if (code == 9 && deviceBlock().value == 1) {
            graphicsState().lineFillHardcopy = 2;
            graphicsState().lineFillSpacing = 20.0f;
        }
    };
    sent.clear();
    RectangleInDeviceUnits(0, 0, 100, 100);
    EXPECT_EQ(codes(1), std::vector<int>{9});
    const std::vector<int> hardcopy = codes(2);
    ASSERT_GE(hardcopy.size(), 4u);
    EXPECT_EQ(hardcopy.front(), 9);
    EXPECT_EQ(hardcopy.back(), 9);
    EXPECT_EQ(sent.back().block.value, -1);
    const std::vector<Sent> drawn = lines(2);
    std::vector<float> black, red;
    for (const Sent& s : drawn)
        (s.colourNumber == 223 ? black : red).push_back(s.block.fy[1]);
    // The first run in the current colour, the run midway in the previous one.
    EXPECT_EQ(red, (std::vector<float>{20, 40, 60, 80}));
    EXPECT_EQ(black, (std::vector<float>{30, 50, 70, 90}));
    EXPECT_EQ(drawn[0].colourNumber, 31);
    // Fill lines do not alternate: each runs from right to left.
    EXPECT_GT(drawn[0].block.fx[1], drawn[0].block.fx[2]);
    EXPECT_GT(drawn[1].block.fx[1], drawn[1].block.fx[2]);
    EXPECT_EQ(graphicsState().colourNumber, 31);
    EXPECT_EQ(graphicsState().previousColourNumber, 223);
    EXPECT_EQ(graphicsState().lineFillHardcopy, 0);
}

TEST_F(GraphicsAreaTest, RectangleOutsideTheAreaSendsNothingButMoves) {
    recordBoth();
    SetFillPattern(4);
    GrRectangle(1.5f, 0.2f, 2.0f, 0.4f);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(GraphicsInfoReal(1), 1.5f);
}

TEST_F(GraphicsAreaTest, OutlineUnderARasterOperationDrawsNoCornerTwice) {
    recordBoth(false);
    graphicsState().drawingMode = 3;
    RectangleOutline(10, 10, 20, 30);
    const std::vector<Sent> drawn = lines(1);
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].block.fx[1], 11.0f);
    EXPECT_EQ(drawn[1].block.fy[1], 11.0f);
    EXPECT_EQ(drawn[2].block.fx[1], 19.0f);
    EXPECT_EQ(drawn[3].block.fy[1], 29.0f);
}

TEST_F(GraphicsAreaTest, EdgeIntercepts) {
    EXPECT_FLOAT_EQ(EdgeXAtY(0, 0, 10, 20, 5), 2.5f);
    EXPECT_FLOAT_EQ(EdgeXAtY(10, 20, 0, 0, 5), 2.5f);
    EXPECT_EQ(EdgeXAtY(0, 3, 10, 3, 5), 2147480064.0f);
    EXPECT_FLOAT_EQ(EdgeYAtX(0, 0, 10, 20, 5), 10.0f);
    float a = 1, b = 2;
    SwapReals(a, b);
    EXPECT_EQ(a, 2.0f);
}

}  // namespace
}  // namespace tk::test
