#include <algorithm>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/markers.h"

namespace tk::test {
namespace {

class GraphicsMarkerTest : public GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        useTarget(800, 600);
        GrUnits(0, 0, 100, 100);
        recordBoth(false);
    }
    int count(int code) const {
        const std::vector<int> c = codes(1);
        return static_cast<int>(std::count(c.begin(), c.end(), code));
    }
};

TEST_F(GraphicsMarkerTest, CodesOutsideTheRangeDrawThePlus) {
    for (int code : {0, 41, 1}) {
        sent.clear();
        DrawMarker(50, 50, code);
        ASSERT_EQ(codes(1), (std::vector<int>{2, 2})) << code;
        EXPECT_EQ(sent[0].block.fy[1], sent[0].block.fy[2]);  // the horizontal stroke first
    }
}

TEST_F(GraphicsMarkerTest, StarsAreStrokesOnly) {
    SetFillPattern(1);
    DrawMarker(50, 50, 27);
    EXPECT_EQ(codes(1), std::vector<int>(4, 2));
    sent.clear();
    DrawMarker(50, 50, 28);
    EXPECT_EQ(codes(1), std::vector<int>(8, 2));
    sent.clear();
    DrawMarker(50, 50, 10);  // two triangles
    EXPECT_EQ(codes(1), std::vector<int>(6, 2));
}

TEST_F(GraphicsMarkerTest, FilledMarkersUseSolidFillAndRestoreTheStyle) {
    SetFillPattern(2);
    DrawMarker(50, 50, 13);
    EXPECT_EQ(codes(1), std::vector<int>{10});
    EXPECT_EQ(graphicsState().fillStyle, 2);
    sent.clear();
    DrawMarker(50, 50, 19);
    EXPECT_EQ(codes(1), (std::vector<int>{12, 12}));
    sent.clear();
    DrawMarker(50, 50, 22);
    ASSERT_EQ(codes(1), std::vector<int>{16});
    EXPECT_EQ(sent[0].block.count, 6);
}

TEST_F(GraphicsMarkerTest, CircleRadiusIsThreeEighthsOfACharacterWidth) {
    DrawMarker(50, 50, 14);
    ASSERT_EQ(codes(1), std::vector<int>{6});
    const float w = 0.375f * 100.0f * graphicsState().charWidthFraction;
    EXPECT_NEAR(sent[0].block.fx[2], w * 799.99f / 100.0f, 1e-3);
}

TEST_F(GraphicsMarkerTest, MarkerOutsideTheWindowSendsNothing) {
    MoveToUnits(5, 5);
    DrawMarker(150, 50, 13);
    DrawMarker(50, -20, 2);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(GraphicsInfoReal(1), 5.0f);
    MarkerAtCurrent(3);
    EXPECT_EQ(codes(1), std::vector<int>(4, 2));
}

}  // namespace
}  // namespace tk::test
