#include <vector>

#include "graphics_test_support.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/ellipse.h"

namespace tk::test {
namespace {

class GraphicsEllipseTest : public GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        useTarget(400, 400);
        GrUnits(0, 0, 100, 100);
    }
};

TEST_F(GraphicsEllipseTest, CircleOutsideTheAreaSendsNothingButMoves) {
    recordBoth();
    CircleAt(150, 50, 10);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(GraphicsInfoReal(1), 150.0f);
    CircleAt(50, 50, 0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 20);
    EXPECT_EQ(GraphicsInfoReal(1), 150.0f);
}

TEST_F(GraphicsEllipseTest, OutlineOnTheScreenIsOneRequest) {
    recordBoth(false);
    SetFillPattern(0);
    CircleAt(50, 50, 10);
    ASSERT_EQ(codes(1), std::vector<int>{4});
    const DeviceParameterBlock& b = sent[0].block;
    EXPECT_EQ(b.pixX[1], 199);
    EXPECT_EQ(b.pixX[2], 39);
    EXPECT_EQ(b.pixY[2], 39);  // a circle on a square target
}

TEST_F(GraphicsEllipseTest, HardcopyAskingForTheOutlineGetsItAsLines) {
    recordBoth();
    SetFillPattern(0);
    hardcopyAnswer = [](int code) {
        if (code == 5 && deviceBlock().value == 1) deviceBlock().value = -1;
    };
    CircleAt(50, 50, 20);
    const int n = 75 * 79 / 400 + 25;
    EXPECT_EQ(static_cast<int>(lines(2).size()), 2 * n);
    EXPECT_EQ(codes(2).front(), 5);
    EXPECT_EQ(codes(2).back(), 5);
    EXPECT_EQ(codes(1), std::vector<int>{4});
}

TEST_F(GraphicsEllipseTest, HatchStopsAtTheClippedRange) {
    recordBoth(false);
    SetFillPattern(-1, 2, 3);
    CircleAt(50, 95, 10);
    const std::vector<Sent> drawn = lines(1);
    ASSERT_FALSE(drawn.empty());
    for (const Sent& s : drawn) {
        EXPECT_LT(s.block.fy[1], graphicsState().devY2);
        EXPECT_EQ(static_cast<int>(s.block.fy[1]) % 10, 0);  // on the global grid
    }
    EXPECT_TRUE(codes(1) == std::vector<int>(drawn.size(), 2));
}

TEST_F(GraphicsEllipseTest, RatioStretchesAlongTheDeviceXAxisOnARotatedPage) {
    recordBoth(false);
    SetFillPattern(4);
    CircleAt(50, 50, 10);
    const float upright = sent[0].block.fx[2];
    graphicsState().pageRotation = 90;
    ApplyPageOrientation();
    sent.clear();
    YYELIP(50, 50, 10, 2.0f);
    ASSERT_EQ(codes(1), std::vector<int>{6});
    EXPECT_NEAR(sent[0].block.fx[2], 2.0f * upright, 1e-2);
    EXPECT_NEAR(sent[0].block.fy[2], upright, 1e-2);
}

}  // namespace
}  // namespace tk::test
