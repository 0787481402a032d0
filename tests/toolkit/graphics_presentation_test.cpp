#include <algorithm>
#include <array>
#include <cstdint>

#include "graphics_test_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/contour_fill.h"
#include "toolkit/graphics/presentation_plot.h"

namespace tk {
namespace {

class PresentationTest : public test::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ResetPresentationPlot();
        toolkitState().LastErrorNumber = 0;
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
    // Expects a rectangle covering user units x1..x2, y1..y2 within a pixel.
    static void expectAt(const Rect& got, float x1, float y1, float x2, float y2) {
        int px1 = 0, py1 = 0, px2 = 0, py2 = 0;
        WorldToPixels(x1, y1, px1, py1);
        WorldToPixels(x2, y2, px2, py2);
        EXPECT_NEAR(got.left, std::min(px1, px2), 1) << got.colour;
        EXPECT_NEAR(got.right, std::max(px1, px2), 1) << got.colour;
        EXPECT_NEAR(got.top, std::min(py1, py2), 1) << got.colour;
        EXPECT_NEAR(got.bottom, std::max(py1, py2), 1) << got.colour;
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
    SetUpPresentationPlot(8, 3, std::array<int, 2>{4, 8}, 1 + 16 + 512 + 2048);
    EXPECT_TRUE(p.threeD);
    EXPECT_EQ(p.fillMode, 3);
    EXPECT_TRUE(p.gradientFill);
    EXPECT_FLOAT_EQ(p.viewAspect, 4 * 0.5f / 8);
    SetUpPresentationPlot(1, 3, std::array<int, 1>{4}, 1 + 32 + 1024);
    EXPECT_FALSE(p.threeD);
    EXPECT_EQ(p.optionBits & 1024, 0);
}

TEST_F(PresentationTest, ResetGivesEverySetItsResetStyle) {
    SetDataSetAttributes(7, 1, 2, 3, 4, 5);
    SetDataSetLabel(7, "seven");
    SetPgLabelDecimals(3);
    ResetPresentationPlot();
    const DataSetStyle& s = dataSetStyle(7);
    EXPECT_EQ(s.style, 4);
    EXPECT_EQ(s.param1, 2);
    EXPECT_EQ(s.colour1, 32 * (7 % 6) + 32);
    EXPECT_EQ(s.colour2, 32 * (7 % 6) + 64);
    EXPECT_EQ(s.marker, -1);
    EXPECT_TRUE(s.label.blank());
    EXPECT_EQ(dataSetStyle(500).colour1, 32 * (500 % 6) + 32);
    const PresentationPlotSettings& p = presentationPlotSettings();
    EXPECT_EQ(p.labelDecimals, -1);
    EXPECT_EQ(p.plotType, 4);
    EXPECT_EQ(p.dataSetCount, 500);
    EXPECT_FALSE(p.missingTest);
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
    toolkitState().LastErrorNumber = 0;
    PgUnitsZ(3, 3);
    EXPECT_EQ(toolkitState().LastErrorNumber, 16);
    EXPECT_EQ(p.zSpan, 1.0f);
    PgUnitsZ(-2, 6);
    EXPECT_EQ(p.zFirst, -2.0f);
    EXPECT_EQ(p.zSpan, 8.0f);
    toolkitState().LastErrorNumber = 0;
    PgUnitsPolar(-1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 16);
    EXPECT_EQ(p.polarUnit, 1.0f);
}

TEST_F(PresentationTest, LogarithmicAxisMapsDecadesEvenlyAndZeroFarBelow) {
    GrUnits(0, 0, 10, 10);
    SetPlotFrameFractions(0.1f, 0.1f, 0.9f, 0.9f);
    SetUpPresentationPlot(8, 1, std::array<int, 2>{3, 3});
    PgArea(1, 0, 1000, 1);
    SetPgAxisScaleTypes("log", "linear");
    EXPECT_TRUE(presentationPlotSettings().xLog);
    EXPECT_FALSE(presentationPlotSettings().yLog);
    EXPECT_NEAR(PgXToUnits(1), 1.0f, 1e-5);
    EXPECT_NEAR(PgXToUnits(10), 1.0f + 8.0f / 3, 1e-5);
    EXPECT_NEAR(PgXToUnits(-100), 1.0f + 2 * 8.0f / 3, 1e-5);  // by its magnitude
    EXPECT_LT(PgXToUnits(0), -80.0f);                          // log10 taken as -38
    EXPECT_NEAR(PgYToUnits(0.5f), 5.0f, 1e-5);
    // Three-dimensional plots never have logarithmic axes.
    SetUpPresentationPlot(8, 1, std::array<int, 2>{3, 3}, 1);
    EXPECT_FALSE(presentationPlotSettings().xLog);
    EXPECT_EQ(SafeLog10(0), -38.0f);
    EXPECT_FLOAT_EQ(SafeLog10(-0.01f), -2.0f);
}

TEST_F(PresentationTest, SettersStoreWithTheirRules) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    struct Rotation {
        float given, stored;
    };
    for (const Rotation& r : {Rotation{-90, 270}, {360, 0}, {-360, 0}, {45, 45}}) {
        SetPlotRotationAngle(r.given);
        EXPECT_EQ(p.rotationAngle, r.stored) << r.given;
    }
    SetPlotRotationAngle(90);
    EXPECT_NEAR(p.rotationCosMinus45, 0.7071068f, 1e-6);
    EXPECT_NEAR(p.rotationCosPlus45, -0.7071068f, 1e-6);
    SetPlotTiltAngle(60);
    EXPECT_EQ(p.tiltFraction, 1.0f);
    SetPlotTiltAngle(-5);
    EXPECT_EQ(p.tiltFraction, 0.0f);
    SetPlotTiltAngle(9);
    EXPECT_FLOAT_EQ(p.tiltFraction, 0.2f);
    SetDataSetLabel(3, "fourteen chars");
    EXPECT_EQ(dataSetStyle(3).label, "fourteen c");
    SetDataSetLabel(501, "none");
    SetDataSetAttributes(0, 1);
    SetDataSetMarker(501, 9);
    SetDataSetAttributes(2, std::nullopt, 6, std::nullopt, 99);
    EXPECT_EQ(dataSetStyle(2).style, 4);
    EXPECT_EQ(dataSetStyle(2).param1, 6);
    EXPECT_EQ(dataSetStyle(2).colour1, 99);
    SetPgFraction1(1.5f);
    SetPgFraction2(1.5f);
    SetPgFraction7(-1);
    EXPECT_EQ(p.fractions[0], 1.0f);
    EXPECT_EQ(p.fractions[1], 1.5f);
    EXPECT_EQ(p.fractions[6], 0.0f);
    SetPgRange1(1, 5);
    EXPECT_TRUE(p.ranges[0].on);
    SetPgRange1(5, 1);
    EXPECT_FALSE(p.ranges[0].on);
    EXPECT_EQ(p.ranges[0].high, 5.0f);
    SetConFillCount(0);
    EXPECT_EQ(p.conFillCount, 1);
    SetConFillCount(6);
    EXPECT_EQ(p.conFillCount, 6);
    SetPgStepCounts(0, 7);
    EXPECT_EQ(p.stepCountB, 1);
    EXPECT_EQ(p.stepCountA, 7);
    SetPgNonNegative2(-3);
    EXPECT_EQ(p.nonNegative[1], 0.0f);
    SetPgAxisAngle3(90, 91);
    EXPECT_NEAR(p.axisAngleRadians[2], 1.5707963f, 1e-6);
    EXPECT_EQ(p.axisAngleDegrees[2], 91.0f);
    SetPgColour(31);
    EXPECT_EQ(p.plotColourRgb, 255);
    SetPgOptionLetters("xp");
    EXPECT_TRUE(p.frameClip);
    SetPgMissingValue(-1, 1);
    EXPECT_FALSE(PgValueIsPresent(-1));
    EXPECT_TRUE(PgValueIsPresent(0));
    SetPgMissingValue(-1, 0);
    EXPECT_TRUE(PgValueIsPresent(-1));
}

TEST_F(PresentationTest, DefaultsFollowThePlotTypeAndOptions) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    // Filled contours (option bit 3): solid bands whose colours walk the palette.
    SetUpPresentationPlot(8, 3, std::array<int, 2>{31, 11}, 8, 1);
    EXPECT_EQ(p.styleKind, 1);
    EXPECT_EQ(p.conFillCount, 150 / 31);
    EXPECT_EQ(dataSetStyle(1).style, 4);
    EXPECT_EQ(dataSetStyle(1).colour1, 32);
    EXPECT_EQ(dataSetStyle(1).colour2, 64);
    EXPECT_EQ(dataSetStyle(2).colour1, 38 + 32);  // h = 0 + 2 + 36
    EXPECT_EQ(dataSetStyle(3).colour1, 77 + 32);  // h = 38 + 3 + 36
    // Contour lines: solid lines labelled with their values.
    SetUpPresentationPlot(8, 2, std::array<int, 2>{5, 5}, 0, 1);
    EXPECT_EQ(p.styleKind, 8);
    EXPECT_EQ(dataSetStyle(2).style, 0);
    EXPECT_EQ(dataSetStyle(2).param1, 5);
    // The 3-D ramp: sets 1 and 2 from red to yellow, the 3-D view.
    SetUpPresentationPlot(8, 4, std::array<int, 2>{10, 20}, 1 + 16, 1);
    EXPECT_EQ(p.styleKind, 3);
    EXPECT_EQ(p.conFillCount, 7);
    EXPECT_EQ(dataSetStyle(1).colour1, 31);
    EXPECT_EQ(dataSetStyle(2).colour1, 63);
    EXPECT_EQ(p.shadeOption, 3);
    EXPECT_EQ(p.outlineColour, -3);
    EXPECT_FLOAT_EQ(p.fractions[6], 0.6f);
    EXPECT_EQ(p.axisAngleDegrees[0], -45.0f);
    EXPECT_EQ(p.axisAngleDegrees[1], 45.0f);
    EXPECT_EQ(p.viewColours[0], 255);
    // Line plots: markers and dashes per set, label steps for many values.
    struct Steps {
        int nx, step;
    };
    for (const Steps& s : {Steps{12, 1}, {13, 2}, {50, 5}, {90, 10}, {150, 20}}) {
        SetUpPresentationPlot(4, 9, std::array<int, 1>{s.nx}, 0, 1);
        EXPECT_EQ(p.stepCountA, s.step) << s.nx;
        EXPECT_EQ(p.stepCountB, s.step) << s.nx;
    }
    EXPECT_EQ(dataSetStyle(9).marker, 9);
    EXPECT_EQ(dataSetStyle(9).style, -1);
    // RGB mode gives RGB colours.
    SetColourMode(24);
    SetUpPresentationPlot(8, 2, std::array<int, 2>{5, 5}, 8, 1);
    const int g = (1 % 9) * 4096 + 0x7F00, b = ((1 % 5) * 32 + 127) * 65536;
    const int t = (256 - 1) / 32 - (1 % 4) * 32 + 223;
    EXPECT_EQ(dataSetStyle(1).colour1, g + b + t);
    EXPECT_EQ(dataSetStyle(1).colour2, g + b - t + 255);
}

TEST_F(PresentationTest, ColourRampEndsAreValidatedAndSplit) {
    int r = 0, g = 0, b = 0, dr = 0, dg = 0, db = 0;
    YYGRADCOL(31, 63, r, g, b, dr, dg, db);  // red to yellow
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(dg, 255);
    YYGRADCOL(-1, 300, r, g, b, dr, dg, db);  // both replaced: yellow to red
    EXPECT_EQ(toolkitState().LastErrorNumber, 42);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(dg, -255);
    SetColourMode(24);
    YYGRADCOL(0x1000000, 0x0000FF, r, g, b, dr, dg, db);
    EXPECT_EQ(r + 256 * g + 65536 * b, 0xFFFF);
    SetDataSetAttributes(1, std::nullopt, std::nullopt, std::nullopt, 0x000000);
    SetDataSetAttributes(2, std::nullopt, std::nullopt, std::nullopt, 0x0000FF);
    PgUnitsZ(0, 10);
    const ColourRamp ramp = ColourRamp::fromPlotSets();
    EXPECT_EQ(ramp.colourOfValue(5), 127);
    EXPECT_EQ(ramp.colourOfValue(20), 255);  // held at the ramp's end
}

TEST_F(PresentationTest, FrameClippingMakesTheFrameTheAreaForOnePlot) {
    useTarget(1000, 800);
    GrUnits(0, 0, 10, 8);
    SetPlotFrameFractions(0.2f, 0.25f, 0.7f, 0.75f);
    SetUpPresentationPlot(8, 1, std::array<int, 2>{3, 3});
    PgArea(0, 0, 1, 1);
    const float x = PgXToUnits(0.5f), y = PgYToUnits(0.5f);
    SetPgOptionLetters("P");
    PgDrawBegin();
    const GraphicsState& g = graphicsState();
    EXPECT_NEAR(g.areaX1, 0.2f, 1e-4);
    EXPECT_NEAR(g.areaX2, 0.7f, 1e-4);
    EXPECT_NEAR(g.areaY1, 0.25f, 1e-4);
    EXPECT_EQ(g.frameXStart, 0.0f);
    float dx = 0, dy = 0, ex = 0, ey = 0;
    WorldToDevice(PgXToUnits(0.5f), PgYToUnits(0.5f), dx, dy);
    PgDrawEnd();
    WorldToDevice(x, y, ex, ey);
    EXPECT_NEAR(dx, ex, 0.05f);  // data values stay where they were
    EXPECT_NEAR(dy, ey, 0.05f);
    EXPECT_EQ(g.areaX1, 0.0f);
    EXPECT_EQ(g.frameXStart, 0.2f);
    EXPECT_EQ(g.unitsX2, 10.0f);
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

TEST_F(PresentationTest, CellColourMapPlacesCellsByGivenNodePositions) {
    useTarget(1000, 800);
    GrUnits(0, 0, 10, 8);
    recordBoth(false);
    SetUpPresentationPlot(8, 1, std::array<int, 2>{3, 2}, 264);
    PgArea(0, 0, 3, 1);
    SetPlotFrameFractions(0.0f, 0.0f, 1.0f, 1.0f);
    const std::array<std::int32_t, 6> colours{5, 6, 0, 0, 0, 0};
    const std::array<float, 3> x{0, 1, 3};  // cells 1 and 2 wide
    sent.clear();
    DrawCellColourMap(colours, 3, 2, x);
    std::vector<Rect> r = rects();
    ASSERT_EQ(r.size(), 2u);
    expectAt(r[0], 0.0f, 0.0f, 10.0f / 3, 8.0f);
    expectAt(r[1], 10.0f / 3, 0.0f, 10.0f, 8.0f);
    // An X array too short for the grid draws nothing.
    sent.clear();
    DrawCellColourMap(colours, 3, 2, std::span<const float>(x.data(), 2));
    EXPECT_TRUE(rects().empty());
}

}  // namespace
}  // namespace tk
