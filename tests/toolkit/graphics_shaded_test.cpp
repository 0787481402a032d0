// Shaded projected surfaces: the projection, the line intersection, and the
// cells as they reach the devices.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/presentation_plot.h"
#include "toolkit/graphics/shaded_surface.h"

namespace tk {
namespace {

class ShadedTest : public test::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ResetPresentationPlot();
        toolkitState().LastErrorNumber = 0;
        useTarget(1000, 800);
        GrUnits(0, 0, 10, 8);
        recordBoth(false);
    }
    void TearDown() override {
        presentationPlotSettings().reset();
        GraphicsTest::TearDown();
    }
    // A 3-D plot of nx x ny nodes over data 0..10 x 0..8, values 0..1.
    void surface(int sets, int nx, int ny, int options) {
        SetUpPresentationPlot(8, sets, std::array<int, 2>{nx, ny}, options);
        PgArea(0, 0, 10, 8);
        PgUnitsZ(0, 1);
    }
    std::vector<Sent> polygons() const {
        std::vector<Sent> out;
        for (const Sent& s : sent)
            if (s.side == 1 && (s.code == 15 || s.code == 16)) out.push_back(s);
        return out;
    }
    std::size_t outlines() const {
        return static_cast<std::size_t>(std::count_if(sent.begin(), sent.end(), [](const Sent& s) {
            return s.side == 1 && (s.code == 2 || s.code == 32);
        }));
    }
};

TEST_F(ShadedTest, DefaultViewLeansColumnsUpAndRowsDownInsideTheFrame) {
    surface(1, 5, 5, 1);
    float p = 0, q = 0, r = 0, s = 0, zScale = 0, x0 = 0, y0 = 0;
    ShadedGridProjection(p, q, r, s, zScale, x0, y0);
    EXPECT_GT(p, 0.0f);  // columns to the right
    EXPECT_GT(s, 0.0f);  // and up
    EXPECT_GT(q, 0.0f);  // rows to the right
    EXPECT_GT(r, 0.0f);  // and down
    EXPECT_FLOAT_EQ(zScale, 4.0f);
    // The box's corners, at the lowest and highest values, stay in the frame.
    for (float i : {0.0f, 4.0f})
        for (float j : {0.0f, 4.0f})
            for (float z : {0.0f, 1.0f}) {
                const float x = p * i + q * j + x0, y = s * i - r * j + y0 + z * zScale;
                EXPECT_GE(x, -1e-4f);
                EXPECT_LE(x, 10.0f + 1e-4f);
                EXPECT_GE(y, -1e-4f);
                EXPECT_LE(y, 8.0f + 1e-4f);
            }
}

TEST_F(ShadedTest, IntersectionCodesTellWhereTheLinesMeet) {
    float x = 0, y = 0;
    int code = -1;
    IntersectLines(0, 0, 2, 2, 0, 2, 2, 0, x, y, code);
    EXPECT_EQ(code, 5);
    EXPECT_FLOAT_EQ(x, 1.0f);
    EXPECT_FLOAT_EQ(y, 1.0f);
    IntersectLines(0, 0, 1, 1, 3, 0, 4, -1, x, y, code);  // meet at (1.5, 1.5)
    EXPECT_EQ(code, 2);
    IntersectLines(0, 0, 1, 1, 0, 4, 4, 0, x, y, code);  // (2, 2) on the second only
    EXPECT_EQ(code, 4);
    IntersectLines(0, 0, 1, 0, 0, 1, 1, 1, x, y, code);
    EXPECT_EQ(code, 1);
    IntersectLines(0, 0, 1, 1, 2, 2, 3, 3, x, y, code);
    EXPECT_EQ(code, 0);
}

TEST_F(ShadedTest, OnlyThreeDimensionalGridPlotsAreDrawn) {
    const std::array<float, 4> z{0, 1, 1, 0};
    const std::array<std::int32_t, 4> c{};
    surface(2, 2, 2, 0);  // flat plot
    DrawShadedGrid(z, 2, 2, c);
    EXPECT_TRUE(codes(1).empty());
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    // Bands need increasing levels; the level list of zeros fails with three sets.
    surface(3, 2, 2, 1);
    DrawShadedGrid(z, 2, 2, c);
    EXPECT_EQ(toolkitState().LastErrorNumber, 43);
    EXPECT_TRUE(codes(1).empty());
}

TEST_F(ShadedTest, TwoBandsSplitAtZeroAndCellsComeFromTheBack) {
    // 3 x 2 nodes: the left cell below zero, the right one above.
    const std::array<float, 6> z{-1, -1, 1, -1, -1, 1};
    const std::array<std::int32_t, 6> c{};
    surface(2, 3, 2, 1);
    SetDataSetAttributes(1, 4, 2, 3, 31);
    SetDataSetAttributes(2, 4, 2, 3, 159);
    SetShadedGridOptions(-2);  // no outlines
    DrawShadedGrid(z, 3, 2, c);
    const std::vector<Sent> cells = polygons();
    ASSERT_EQ(cells.size(), 2u);
    // With no rotation the columns go from right to left: the right cell
    // (mean 0) first, in band 2, then the left one (mean -1) in band 1.
    EXPECT_EQ(cells[0].colourNumber, 159);
    EXPECT_EQ(cells[1].colourNumber, 31);
    EXPECT_GT(cells[0].x[0], cells[1].x[0]);
    EXPECT_EQ(outlines(), 0u);
}

TEST_F(ShadedTest, ColourGridCellsWithoutColourStayEmptyAndUnoutlined) {
    const std::array<float, 6> z{0, 0.5f, 1, 0, 0.5f, 1};
    const std::array<std::int32_t, 6> colours{-1, 95, 0, 0, 0, 0};
    surface(1, 3, 2, 1 + 256);  // colour grid with empty cells
    SetShadedGridOptions(223, 0);
    SetShadeOption(3);
    DrawShadedGrid(z, 3, 2, colours);
    const std::vector<Sent> cells = polygons();
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].colourNumber, 95);
    // One closed outline, in the outline colour, around the filled cell.
    std::vector<Sent> frames;
    for (const Sent& s : sent)
        if (s.side == 1 && s.code == 32) frames.push_back(s);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].colourNumber, 223);
    EXPECT_EQ(frames[0].x.size(), 5u);
    // With empty cells outlined the other cell gets its frame too.
    sent.clear();
    SetShadedGridOptions(223, 1);
    DrawShadedGrid(z, 3, 2, colours);
    EXPECT_EQ(outlines(), 2u);
}

TEST_F(ShadedTest, CellColourOutlinesOverCellsFilledWithColourZero) {
    const std::array<float, 4> z{0, 1, 0, 1};
    const std::array<std::int32_t, 4> colours{31, 0, 0, 0};
    surface(1, 2, 2, 1 + 4);  // colour grid
    SetShadedGridOptions(-1);
    DrawShadedGrid(z, 2, 2, colours);
    const std::vector<Sent> cells = polygons();
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].colourNumber, 0);
    ASSERT_EQ(outlines(), 1u);
    EXPECT_EQ(graphicsState().fillOutline, 1);  // put back after the plot
}

// Outlined by cell (code -1) in fill mode 0, every cell is filled solid in
// colour 0 whatever its band's fill style, and framed in the band's colour.
TEST_F(ShadedTest, CellColourOutlinesFillEveryBandSolidWithColourZero) {
    const std::array<float, 6> z{-1, -1, 1, -1, -1, 1};
    const std::array<std::int32_t, 6> c{};
    surface(2, 3, 2, 1);
    SetDataSetAttributes(1, 0, 2, 3, 31);
    SetDataSetAttributes(2, 3, 2, 3, 159, 95);
    SetShadedGridOptions(-1);
    DrawShadedGrid(z, 3, 2, c);
    const std::vector<Sent> cells = polygons();
    ASSERT_EQ(cells.size(), 2u);
    for (const Sent& cell : cells) {
        EXPECT_EQ(cell.code, 16);
        EXPECT_EQ(cell.colourNumber, 0);
    }
    std::vector<int> frames;
    for (const Sent& s : sent)
        if (s.side == 1 && (s.code == 2 || s.code == 32)) frames.push_back(s.colourNumber);
    EXPECT_EQ(frames, (std::vector<int>{159, 31}));
}

TEST_F(ShadedTest, TwistedGradientCellIsDrawnAsTwoTriangles) {
    // Two columns, three rows: rows advance less across than columns, so the
    // first cell, whose near edge rises while its far edge falls, is seen
    // crossed; the second is an ordinary quadrilateral.
    const std::array<float, 6> z{0, 0.5f, 1, 0, 0, 0};
    const std::array<std::int32_t, 6> colours{};
    surface(1, 2, 3, 1 + 16 + 2048);  // ramp, gradient
    SetDataSetAttributes(1, 4, 2, 3, 31);
    SetDataSetAttributes(2, 4, 2, 3, 63);
    SetShadedGridOptions(-2);
    DrawShadedGrid(z, 2, 3, colours);
    int triangles = 0, quads = 0;
    for (const Sent& s : sent)
        if (s.side == 1 && s.code == 40) (s.block.count == 3 ? triangles : quads) += 1;
    EXPECT_EQ(triangles, 2);
    EXPECT_EQ(quads, 1);
    EXPECT_EQ(graphicsState().colourMode, 1);
}

}  // namespace
}  // namespace tk
