#include <cmath>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/triangle_trapezium.h"

namespace tk::test {
namespace {

// Units are device pixels on a 401 x 301 target: one unit per device unit.
class GraphicsShapesTest : public GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        useTarget(401, 301);
        GrUnits(0, 0, 400.99f, 300.99f);
        recordBoth(false);
    }
    bool allHorizontal() const {
        for (const Sent& s : lines(1))
            if (s.block.fy[1] != s.block.fy[2]) return false;
        return !lines(1).empty();
    }
    bool allVertical() const {
        for (const Sent& s : lines(1))
            if (std::abs(s.block.fx[1] - s.block.fx[2]) > 1e-3f) return false;
        return !lines(1).empty();
    }
};

TEST_F(GraphicsShapesTest, SolidTriangleSendsItsVerticesSortedByHeight) {
    SetFillPattern(4);
    GrTriangle(100, 200, 50, 20, 300, 120);
    ASSERT_EQ(codes(1), std::vector<int>{12});
    const DeviceParameterBlock& b = sent[0].block;
    EXPECT_NEAR(b.fy[1], 20, 1e-3);
    EXPECT_NEAR(b.fy[2], 120, 1e-3);
    EXPECT_NEAR(b.fy[3], 200, 1e-3);
    EXPECT_NEAR(b.fx[1], 50, 1e-3);
    EXPECT_EQ(b.pixY[3], static_cast<int>(b.fy[3]));
    EXPECT_FLOAT_EQ(GraphicsInfoReal(1), 100.0f);
}

TEST_F(GraphicsShapesTest, TriangleHatchFollowsTheAngle) {
    SetFillPattern(-1, 2, 1);
    GrTriangle(100, 200, 50, 20, 300, 120);
    EXPECT_TRUE(allHorizontal());
    for (const Sent& s : lines(1)) {
        // Every line lies inside the triangle: its ends on two of the edges.
        EXPECT_GE(s.block.fy[1], 20.0f);
        EXPECT_LE(s.block.fy[1], 200.0f);
        EXPECT_EQ(static_cast<int>(s.block.fy[1]) % 7, 0);  // 300 div 40 = 7
    }
    sent.clear();
    SetFillPattern(-1, 2, 4);
    GrTriangle(100, 200, 50, 20, 300, 120);
    EXPECT_TRUE(allVertical());
}

TEST_F(GraphicsShapesTest, FlatTriangleWithoutOutlineIsSilentlySkipped) {
    SetFillPattern(-1);
    GrTriangle(10, 10, 10, 50, 10, 90);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    EXPECT_TRUE(sent.empty());
    SetFillPattern(1);
    MoveToUnits(3, 3);
    GrTriangle(10, 10, 10, 50, 10, 90);
    EXPECT_EQ(toolkitState().LastErrorNumber, 22);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(GraphicsInfoReal(1), 3.0f);
}

TEST_F(GraphicsShapesTest, RectangularTrapeziumHasVerticalSlantedLines) {
    SetFillPattern(-1, 2, 1);
    GrTrapezium(100, 50, 200, 150, 100, 2);  // x2 - side = x1: a rectangle
    ASSERT_TRUE(allVertical());
    const std::vector<Sent> drawn = lines(1);
    for (std::size_t i = 1; i < drawn.size(); ++i)
        EXPECT_NEAR(drawn[i].block.fx[1] - drawn[i - 1].block.fx[1], 8.0f, 1e-3);  // 401 div 50
}

TEST_F(GraphicsShapesTest, TrapeziumWithUnequalSidesIsHatchedHorizontally) {
    SetFillPattern(-1, 2, 1);
    GrTrapezium(100, 50, 200, 150, 100, 40, 2);
    EXPECT_TRUE(allHorizontal());
    for (const Sent& s : lines(1)) {
        // Each line runs between the left side P1-P4 and the right side P2-P3.
        const float y = s.block.fy[1];
        const float t = (y - 50.0f) / 100.0f;
        EXPECT_NEAR(s.block.fx[1], 100.0f + t * (160.0f - 100.0f), 0.05);
        EXPECT_NEAR(s.block.fx[2], 200.0f, 0.05);
    }
}

TEST_F(GraphicsShapesTest, TrapeziumCornersInEitherOrderDrawTheSame) {
    SetFillPattern(1, 2, 3);
    GrTrapezium(50, 40, 150, 90, 60, 1);
    const std::vector<Sent> first = lines(1);
    const float x = GraphicsInfoReal(1);
    sent.clear();
    GrTrapezium(150, 90, 50, 40, 60, 1);
    const std::vector<Sent> second = lines(1);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].block.fx[1], second[i].block.fx[1]);
        EXPECT_EQ(first[i].block.fy[2], second[i].block.fy[2]);
    }
    EXPECT_EQ(x, 50.0f);
    EXPECT_EQ(GraphicsInfoReal(1), 50.0f);
    GrTrapezium(50, 40, 150, 90, 0, 1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 21);
    GrTrapezium(50, 40, 50, 90, 10, 1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 22);
}

}  // namespace
}  // namespace tk::test
