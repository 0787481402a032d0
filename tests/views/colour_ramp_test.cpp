#include <gtest/gtest.h>

#include "view_fixtures.h"
#include "views/colour_ramp.h"

namespace {

TEST(ColourRamp, ValuesMapOntoTheRampAndAreHeldAtItsEnds) {
    struct Case {
        float v;
        bool reversed;
        int want;
    };
    const Case cases[] = {{0.0f, false, 16},   {5.0f, false, 255}, {2.5f, false, 136},
                          {0.0f, true, 255},   {5.0f, true, 16},   {-3.0f, false, 16},
                          {99.0f, false, 255}, {99.0f, true, 16}};
    for (const Case& c : cases)
        EXPECT_EQ(views::rampColour(c.v, 0.0f, 5.0f, c.reversed), c.want) << c.v;
}

TEST(ColourRamp, ScaleColorsUsesBackgroundAndBodies) {
    using views_test::rect;
    float lo = 0, hi = 0;
    model::PolygonModel none = views_test::makeModel({}, {}, 2.2f);
    views::SCALECOLORS(none, lo, hi);
    EXPECT_EQ(lo, 2.2f);
    EXPECT_EQ(hi, 2.2f);
    model::PolygonModel two =
        views_test::makeModel({rect(0, -10, 10, 0), rect(20, -10, 30, 0)}, {2.4f, 3.1f}, 2.67f);
    views::SCALECOLORS(two, lo, hi);
    EXPECT_LE(lo, 2.4f);
    EXPECT_GE(hi, 3.1f);
    EXPECT_LT(hi - lo, 2.0f);
}

TEST(ColourRamp, FillGridSamplesBodiesBackgroundAndSky) {
    using views_test::rect;
    // Section 0..100 across, -100..100 up; a body 0..50 by -100..-50.
    model::PolygonModel m = views_test::makeModel({rect(0, -100, 50, -50)}, {4.0f}, 1.0f);
    util::AxisRecord a;
    a.startX = 0;
    a.stepX = 50;
    a.divCountX = 2;
    a.startY = -100;
    a.stepY = 100;
    a.divCountY = 2;
    views::FillGrid g;
    ASSERT_TRUE(views::sampleFillGrid(a, m, 5, 5, 0.0f, 4.0f, false, g));
    // Cells are 25 wide and 50 high; column i at x = 25 (i - 0.5), row j at
    // z = -100 + 50 (5 - j - 0.5): rows 1, 2 lie above the topography.
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(g.colourAt(i, 1), -1);
        EXPECT_EQ(g.colourAt(i, 2), -1);
        EXPECT_EQ(g.colourAt(i, 3), views::rampColour(1.0f, 0, 4, false)) << i;
    }
    EXPECT_EQ(g.colourAt(1, 4), 255);  // x 12.5, z -75: in the body
    EXPECT_EQ(g.colourAt(2, 4), 255);
    EXPECT_EQ(g.colourAt(3, 4), views::rampColour(1.0f, 0, 4, false));
    EXPECT_EQ(g.valueAt(1, 4), 4.0f);

    int nx = 0, nz = 0;
    views::fillGridSize(0, 75, nx, nz);
    EXPECT_EQ(nx, 500);
    EXPECT_EQ(nz, 250);
    views::fillGridSize(150, 75, nx, nz);
    EXPECT_EQ(nx, 150);
    EXPECT_EQ(nz, 75);
}

}  // namespace
