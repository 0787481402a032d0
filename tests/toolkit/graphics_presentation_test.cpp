#include <algorithm>
#include <array>
#include <cstdint>

#include "graphics_test_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/presentation_plot.h"

namespace tk {
namespace {

class PresentationTest : public test::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        presentationPlotSettings().reset();
    }
    void TearDown() override {
        presentationPlotSettings().reset();
        GraphicsTest::TearDown();
    }
    struct Rect {
        int colour, left, right, top, bottom;
    };
    std::vector<Rect> rects() const {
        std::vector<Rect> out;
        for (const Sent& s : sent)
            if (s.side == 1 && s.code == 10)
                out.push_back({s.colourNumber, std::min(s.block.pixX[1], s.block.pixX[2]),
                               std::max(s.block.pixX[1], s.block.pixX[2]),
                               std::min(s.block.pixY[1], s.block.pixY[2]),
                               std::max(s.block.pixY[1], s.block.pixY[2])});
        return out;
    }
};

TEST_F(PresentationTest, SetUpClampsCountsAndChoosesFillMode) {
    const std::array<int, 2> counts{1, 0};
    SetUpPresentationPlot(8, 0, counts, 264);
    const PresentationPlotSettings& p = presentationPlotSettings();
    EXPECT_EQ(p.dataSetCount, 1);
    EXPECT_EQ(p.valueCount, 2);
    EXPECT_EQ(p.rowCount, 2);
    EXPECT_EQ(p.columnStepsReal, 1.0f);
    EXPECT_EQ(p.fillMode, 2);
    EXPECT_FALSE(p.threeD);
    SetUpPresentationPlot(12, 600, counts);
    EXPECT_EQ(p.plotType, 4);
    EXPECT_EQ(p.dataSetCount, 500);
    EXPECT_EQ(p.fillMode, 0);
}

TEST_F(PresentationTest, PgAreaRefusesEmptyAxesAndKeepsReversedOnes) {
    PgArea(5, 0, 5, 10);
    const PresentationPlotSettings& p = presentationPlotSettings();
    EXPECT_EQ(toolkitState().LastErrorNumber, 16);
    EXPECT_EQ(p.xFirst, 0.0f);
    EXPECT_EQ(p.xLast, 1.0f);
    EXPECT_EQ(p.yLast, 10.0f);
    PgArea(10, 0, 0, 1);
    EXPECT_EQ(p.xMin, 0.0f);
    EXPECT_EQ(p.xMax, 10.0f);
    EXPECT_EQ(p.xSpan, -10.0f);
}

TEST_F(PresentationTest, CellColourMapMergesRunsAndSkipsEmptyCells) {
    useTarget(1000, 800);
    GrUnits(0, 0, 10, 8);
    recordBoth(false);
    const std::array<int, 2> counts{4, 3};
    SetUpPresentationPlot(8, 1, counts, 264);
    PgArea(1, 3, 4, 1);  // row 1 at the top
    SetPlotFrameFractions(0.1f, 0.1f, 0.9f, 0.9f);
    // 4 x 3 nodes, 3 x 2 cells; the last column and row are not used.
    const std::array<std::int32_t, 12> colours{5,  5,  7,  99,  //
                                               -1, 6,  -1, 99,  //
                                               99, 99, 99, 99};
    sent.clear();
    ContourFillKey(colours, 4, 3);
    std::vector<Rect> r = rects();
    ASSERT_EQ(r.size(), 3u);
    std::sort(r.begin(), r.end(), [](const Rect& a, const Rect& b) { return a.colour < b.colour; });
    // Frame 1..9 across and 0.8..7.2 up in user units; cells 2.667 wide and
    // 3.2 high; row 1 of the matrix on top.
    auto expectAt = [&](const Rect& got, float x1, float y1, float x2, float y2) {
        int px1 = 0, py1 = 0, px2 = 0, py2 = 0;
        WorldToPixels(x1, y1, px1, py1);
        WorldToPixels(x2, y2, px2, py2);
        EXPECT_NEAR(got.left, std::min(px1, px2), 1) << got.colour;
        EXPECT_NEAR(got.right, std::max(px1, px2), 1) << got.colour;
        EXPECT_NEAR(got.top, std::min(py1, py2), 1) << got.colour;
        EXPECT_NEAR(got.bottom, std::max(py1, py2), 1) << got.colour;
    };
    EXPECT_EQ(r[0].colour, 5);
    expectAt(r[0], 1.0f, 4.0f, 1.0f + 2 * 8.0f / 3, 7.2f);
    EXPECT_EQ(r[1].colour, 6);
    expectAt(r[1], 1.0f + 8.0f / 3, 0.8f, 1.0f + 2 * 8.0f / 3, 4.0f);
    EXPECT_EQ(r[2].colour, 7);
    expectAt(r[2], 1.0f + 2 * 8.0f / 3, 4.0f, 9.0f, 7.2f);

    // Not a cell colour map: nothing is drawn.
    SetUpPresentationPlot(8, 1, counts, 8);
    sent.clear();
    ContourFillKey(colours, 4, 3);
    EXPECT_TRUE(rects().empty());
}

}  // namespace
}  // namespace tk
