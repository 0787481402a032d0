#include <vector>

#include "graphics_test_support.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/polygon_fill.h"

namespace tk::test {
namespace {

class GraphicsPolygonTest : public GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        useTarget(800, 600);
        ApplyPageOrientation();
    }
    void polygon(const std::vector<float>& x, const std::vector<float>& y) {
        YYPLYGON(x.data(), y.data(), static_cast<int>(x.size()), true);
    }
    // Hatch lines sent to the hardcopy side (the pass without pixel centres).
    std::vector<Sent> hatch(std::size_t outlineLines) const {
        std::vector<Sent> drawn = lines(2);
        drawn.erase(drawn.begin(), drawn.begin() + static_cast<long>(outlineLines));
        return drawn;
    }
};

TEST_F(GraphicsPolygonTest, SolidPolygonGoesToTheScreenWithItsBoundingBox) {
    recordBoth(false);
    SetFillPattern(4);
    const std::vector<float> x{0.1f, 0.5f, 0.3f, 0.1f}, y{0.1f, 0.2f, 0.6f, 0.1f};
    PolygonUserUnits(x.data(), y.data(), 4);
    ASSERT_EQ(codes(1), std::vector<int>{16});
    const DeviceParameterBlock& b = sent[0].block;
    EXPECT_EQ(b.count, 3);  // the repeated first point is dropped
    EXPECT_EQ(b.pixX[2], 79);
    EXPECT_EQ(b.pixY[2], 59);
    EXPECT_EQ(b.pixX[3], 399);
    EXPECT_EQ(b.pixY[3], 359);
    EXPECT_TRUE(devicePointArrays().x.empty());
    EXPECT_FLOAT_EQ(GraphicsInfoReal(1), 0.1f);
}

TEST_F(GraphicsPolygonTest, FigureEightIsHatchedByTheEvenOddRule) {
    recordBoth();
    graphicsState().pageRotation = 0;
    SetFillPattern(-1, 2, 3);
    // Two triangles meeting at (200, 200); spacing on the hardcopy side is 15.
    polygon({100, 300, 300, 100}, {100, 300, 100, 300});
    const std::vector<Sent> drawn = hatch(0);
    ASSERT_FALSE(drawn.empty());
    int atLevel = 0;
    for (const Sent& s : drawn) {
        const float y = s.block.fy[1];
        const float half = std::abs(y - 200.0f);
        // Each line covers one lobe: from the outer edge to the crossing edge.
        const bool leftLobe = s.block.fx[1] < 200.0f;
        EXPECT_NEAR(leftLobe ? s.block.fx[2] : s.block.fx[1], leftLobe ? 200 - half : 200 + half,
                    1e-2)
            << y;
        if (std::abs(y - (100.0f + 599.99f / 40.0f)) < 1e-3f) ++atLevel;
    }
    EXPECT_EQ(atLevel, 2);  // two separate spans on one scan line
}

TEST_F(GraphicsPolygonTest, FlatPolygonGivesOneLineAcrossItsExtent) {
    recordBoth(false);
    SetFillPattern(1, 2, 3);
    polygon({50, 90, 20}, {40, 40, 40});
    const std::vector<Sent> drawn = lines(1);
    ASSERT_EQ(drawn.size(), 3u + 1u);
    EXPECT_EQ(drawn[3].block.fx[1], 20.0f);
    EXPECT_EQ(drawn[3].block.fx[2], 90.0f);
    EXPECT_EQ(drawn[3].block.fy[1], 40.0f);
}

TEST_F(GraphicsPolygonTest, AVertexOnAScanLineCountsOnce) {
    recordBoth();
    SetFillPattern(-1, 2, 3);
    const float spacing = 599.99f / 40.0f;
    // A diamond whose side vertices lie exactly on the third scan line.
    const float mid = 100 + 2 * spacing;
    polygon({200, 260, 200, 140}, {100, mid, 100 + 4 * spacing, mid});
    const std::vector<Sent> drawn = hatch(0);
    ASSERT_EQ(drawn.size(), 4u);  // 100 + k x spacing for k = 0..3
    EXPECT_NEAR(drawn[2].block.fx[1], 140.0f, 1e-2);
    EXPECT_NEAR(drawn[2].block.fx[2], 260.0f, 1e-2);
}

TEST_F(GraphicsPolygonTest, CrossHatchScansBothDirectionsAndAngleFourIsVertical) {
    recordBoth(false);
    SetFillPattern(-2, 2, 3);
    polygon({100, 300, 300, 100}, {100, 100, 300, 300});
    int horizontal = 0, vertical = 0;
    for (const Sent& s : lines(1)) {
        horizontal += s.block.fy[1] == s.block.fy[2];
        vertical += s.block.fx[1] == s.block.fx[2];
    }
    EXPECT_EQ(horizontal, 14);  // 100.5 + 15 k below 300
    EXPECT_EQ(vertical, 13);    // 100.5 + 16 k below 300
    sent.clear();
    SetFillPattern(-1, 2, 4);
    polygon({100, 300, 300, 100}, {100, 100, 300, 300});
    for (const Sent& s : lines(1))
        EXPECT_EQ(s.block.fx[1], s.block.fx[2]);
    sent.clear();
    SetFillPattern(-1, 2, 1);
    polygon({100, 300, 300, 100}, {100, 100, 300, 300});
    for (const Sent& s : lines(1))
        EXPECT_EQ(s.block.fy[1], s.block.fy[2]);
}

TEST_F(GraphicsPolygonTest, SpansMeetingInOnePixelAreJoinedOnTheScreen) {
    recordBoth(false);
    SetFillPattern(-1, 2, 3);
    // A "U": the gap between the prongs is narrower than a pixel.
    polygon({100, 150.2f, 150.2f, 150.6f, 150.6f, 200, 200, 100},
            {100, 100, 200, 200, 100, 100, 250, 250});
    for (const Sent& s : lines(1)) {
        EXPECT_EQ(s.block.fx[1], 100.0f) << s.block.fy[1];
        EXPECT_EQ(s.block.fx[2], 200.0f) << s.block.fy[1];
    }
}

TEST_F(GraphicsPolygonTest, TooManyCrossingsAbandonTheFillButEndTheShape) {
    recordBoth();
    SetFillPattern(-1, 2, 3);
    std::vector<float> x, y;
    for (int k = 0; k < 60; ++k) {  // a comb of 60 teeth: 120 edges cross y = 50
        x.push_back(10.0f + 10.0f * static_cast<float>(k));
        y.push_back(10.0f);
        x.push_back(12.0f + 10.0f * static_cast<float>(k));
        y.push_back(90.0f);
        x.push_back(14.0f + 10.0f * static_cast<float>(k));
        y.push_back(90.0f);
        x.push_back(16.0f + 10.0f * static_cast<float>(k));
        y.push_back(10.0f);
    }
    x.push_back(700), y.push_back(5);
    x.push_back(10), y.push_back(5);
    polygon(x, y);
    EXPECT_EQ(toolkitState().LastErrorNumber, 49);
    EXPECT_TRUE(lines(2).empty());
    EXPECT_EQ(codes(2), (std::vector<int>{15, 15}));
    EXPECT_EQ(sent.back().block.value, -1);
}

TEST_F(GraphicsPolygonTest, PolylineLeavingAndReenteringIsSentAsTwoRuns) {
    recordBoth();
    ApplyGraphicsArea(100, 100, 300, 300);
    sent.clear();
    const std::vector<float> x{150, 200, 400, 250, 200}, y{150, 200, 200, 200, 150};
    PolylineClipped(x.data(), y.data(), 5, true);
    EXPECT_EQ(codes(1), (std::vector<int>{32, 32}));
    EXPECT_EQ(codes(2), (std::vector<int>{32, 32}));
    EXPECT_EQ(sent[0].block.count, 3);  // (150,150) (200,200) (300,200)
    EXPECT_EQ(sent[2].block.count, 3);  // (300,200) (250,200) (200,150)
    EXPECT_TRUE(PointInClipRect(300.0005f, 100));
    EXPECT_FALSE(PointInClipRect(300.01f, 100));
    EXPECT_TRUE(PointOnSegmentInClip(150, 150, 100, 100, 200, 200));
    EXPECT_FALSE(PointOnSegmentInClip(250, 250, 100, 100, 200, 200));
    float a = 0, b = 0, d = 0;
    LineCoefficients(0, 1, 2, 5, a, b, d);
    EXPECT_EQ(a * 1 + b * 3 + d, 0.0f);
}

}  // namespace
}  // namespace tk::test
