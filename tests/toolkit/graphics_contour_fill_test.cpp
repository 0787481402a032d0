// Filled contours: bands of values painted cell by cell, split cells
// subdivided or shaded, runs of one band merged into one rectangle.

#include <algorithm>
#include <array>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/contour_fill.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/presentation_plot.h"

namespace tk {
namespace {

class ContourFillTest : public test::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ResetPresentationPlot();
        toolkitState().LastErrorNumber = 0;
        useTarget(1000, 800);
        GrUnits(0, 0, 10, 8);
        SetPlotFrameFractions(0.0f, 0.0f, 1.0f, 1.0f);
        recordBoth(false);
    }
    void TearDown() override {
        presentationPlotSettings().reset();
        GraphicsTest::TearDown();
    }
    // A plot of N bands over nx x ny nodes; set k painted solid in colour 10 + k.
    void plot(int sets, int nx, int ny, int options = 8) {
        SetUpPresentationPlot(8, sets, std::array<int, 2>{nx, ny}, options);
        PgArea(1, 1, static_cast<float>(nx), static_cast<float>(ny));
        for (int k = 1; k <= sets; ++k)
            SetDataSetAttributes(k, 4, 2, 3, 10 + k);
    }
    // Filled rectangles as colour and user-unit extent.
    struct Rect {
        int colour;
        float left, right;
    };
    std::vector<Rect> rects() const {
        std::vector<Rect> out;
        for (const Sent& s : sent)
            if (s.side == 1 && s.code == 10) {
                float x1 = 0, y = 0, x2 = 0;
                DeviceToWorld(s.block.fx[1], s.block.fy[1], x1, y);
                DeviceToWorld(s.block.fx[2], s.block.fy[2], x2, y);
                out.push_back({s.colourNumber, std::min(x1, x2), std::max(x1, x2)});
            }
        return out;
    }
    static void expectRect(const Rect& r, int colour, float left, float right) {
        EXPECT_EQ(r.colour, colour);
        EXPECT_NEAR(r.left, left, 0.02f) << colour;
        EXPECT_NEAR(r.right, right, 0.02f) << colour;
    }
};

TEST_F(ContourFillTest, OneBandPaintsEachRowAsOneRectangle) {
    plot(1, 4, 3);
    const std::array<float, 12> z{0, 9, 2, 7, 1, 1, 5, 3, 8, 0, 4, 6};
    PgContourFill(z, 4, 3);
    const std::vector<Rect> r = rects();
    ASSERT_EQ(r.size(), 2u);
    for (const Rect& each : r)
        expectRect(each, 11, 0.0f, 10.0f);
}

TEST_F(ContourFillTest, WholeCellsMergeAndSplitCellsTakeTheBandOfTheirMean) {
    plot(3, 5, 2);
    const std::array<float, 2> levels{10, 20};
    // Cells 1 and 2 below 10, cell 3 from 5 to 25 (mean 15), cell 4 at 25.
    const std::array<float, 10> z{5, 5, 5, 25, 25, 5, 5, 5, 25, 25};
    PgContourFill(z, 5, 2, levels);
    const std::vector<Rect> r = rects();
    ASSERT_EQ(r.size(), 3u);
    expectRect(r[0], 11, 0.0f, 5.0f);
    expectRect(r[1], 12, 5.0f, 7.5f);
    expectRect(r[2], 13, 7.5f, 10.0f);
    // A value on a boundary belongs to the band above it.
    sent.clear();
    const std::array<float, 4> onBoundary{10, 10, 10, 10};
    plot(3, 2, 2);
    PgContourFill(onBoundary, 2, 2, levels);
    ASSERT_EQ(rects().size(), 1u);
    EXPECT_EQ(rects()[0].colour, 12);
}

TEST_F(ContourFillTest, BandWithoutStyleStaysUnpainted) {
    plot(3, 5, 2);
    SetDataSetAttributes(2, 0);
    const std::array<float, 2> levels{10, 20};
    const std::array<float, 10> z{5, 15, 15, 25, 25, 5, 15, 15, 25, 25};
    PgContourFill(z, 5, 2, levels);
    for (const Rect& r : rects())
        EXPECT_NE(r.colour, 12);
    ASSERT_FALSE(rects().empty());
    EXPECT_EQ(rects().back().colour, 13);
}

TEST_F(ContourFillTest, LevelsThatDoNotIncreaseReportAndDrawNothing) {
    const std::array<float, 4> z{1, 2, 3, 4};
    const std::array<float, 3> levels{1, 2, 2};
    plot(4, 2, 2);
    PgContourFill(z, 2, 2, levels);
    EXPECT_EQ(toolkitState().LastErrorNumber, 43);
    EXPECT_TRUE(codes(1).empty());
    // With three bands only the first two levels count.
    toolkitState().LastErrorNumber = 0;
    plot(3, 2, 2);
    PgContourFill(z, 2, 2, levels);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    EXPECT_FALSE(rects().empty());
}

TEST_F(ContourFillTest, SubCellsFollowEachCellsWidth) {
    plot(3, 3, 2);
    PgArea(0, 1, 3, 2);
    SetConFillCount(2);
    const std::array<float, 2> levels{5, 15};
    const std::array<float, 6> z{0, 10, 20, 0, 10, 20};
    const std::array<float, 3> x{0, 1, 3};
    PgContourFill(z, 3, 2, levels, x);
    const std::vector<Rect> r = rects();
    // Two sub-rows of two sub-cells in each cell: 0..0.5, 0.5..1, 1..2, 2..3.
    ASSERT_EQ(r.size(), 8u);
    const float u = 10.0f / 3;
    expectRect(r[0], 11, 0.0f, 0.5f * u);
    expectRect(r[1], 12, 0.5f * u, u);
    expectRect(r[2], 11, 0.0f, 0.5f * u);
    expectRect(r[4], 12, u, 2 * u);
    expectRect(r[5], 13, 2 * u, 3 * u);
}

TEST_F(ContourFillTest, MissingCornersLeaveTheirCellsEmpty) {
    plot(1, 4, 2);
    SetPgMissingValue(-99, 1);
    const std::array<float, 8> z{1, 1, -99, 1, 1, 1, 1, 1};
    PgContourFill(z, 4, 2);
    const std::vector<Rect> r = rects();
    ASSERT_EQ(r.size(), 1u);  // cells 2 and 3 touch the missing node
    expectRect(r[0], 11, 0.0f, 10.0f / 3);
}

TEST_F(ContourFillTest, GradientSplitCellsAreShadedPolygons) {
    plot(2, 3, 2, 8 + 2048);
    SetDataSetAttributes(1, 4, 2, 3, 31);  // red
    SetDataSetAttributes(2, 4, 2, 3, 63);  // yellow
    const std::array<float, 1> levels{5};
    const std::array<float, 6> z{0, 0, 10, 0, 0, 10};
    PgContourFill(z, 3, 2, levels);
    std::vector<Sent> gradients;
    for (const Sent& s : sent)
        if (s.side == 1 && s.code == 40) gradients.push_back(s);
    ASSERT_EQ(gradients.size(), 1u);
    EXPECT_EQ(gradients[0].block.count, 4);
    const GradientPolygon& g = gradientPolygon();
    EXPECT_EQ(g.colours[0], 255);          // lower left, red
    EXPECT_EQ(g.colours[1], 255 + 65280);  // lower right, yellow
    ASSERT_EQ(rects().size(), 1u);         // the whole cell on the left
    expectRect(rects()[0], 31, 0.0f, 5.0f);
}

}  // namespace
}  // namespace tk
