#include <gtest/gtest.h>

#include "util/nice_axis.h"
#include "view_fixtures.h"
#include "views/map_scaling.h"

namespace {

using views_test::makeDatabase;
using views_test::makeProfile;

model::ProfileDatabase twoProfiles() {
    return makeDatabase(
        {makeProfile("A", {{1000, 5000, 0, 0, 1, 0}, {2000, 5000, 1000, 0, 2, 0}}),
         makeProfile("B", {{1000, 5400, 0, 0, 1, 0}, {2000, 5600, 1020, 0, 2, 0}})});
}

TEST(MapScaling, ScaleMapAddsOnePercentMarginsAndRoundNumbers) {
    model::ProfileDatabase db = twoProfiles();
    util::AxisRecord axis;
    views::SCALE_MAP(db, axis);
    // Easting 1000..2000 and northing 5000..5600 widened by 1 % of each range.
    float start = 0, step = 0;
    std::int32_t n = 0, k = 0;
    util::LINNX(990.0f, 2010.0f, start, step, n, k);
    EXPECT_EQ(axis.startX, start);
    EXPECT_EQ(axis.stepX, step);
    EXPECT_EQ(axis.divCountX, n);
    util::LINNX(4994.0f, 5606.0f, start, step, n, k);
    EXPECT_EQ(axis.startY, start);
    EXPECT_EQ(axis.stepY, step);
    EXPECT_EQ(axis.divCountY, n);
    EXPECT_EQ(axis.originX, 1.25f);
    EXPECT_FALSE(axis.logX || axis.logY);
}

TEST(MapScaling, ScaleMapWidensDegenerateRanges) {
    struct Case {
        std::vector<views_test::Station> stations;
        float emin, emax, nmin, nmax;
    };
    const std::vector<Case> cases = {
        // All stations at one point: both margins become 1.
        {{{500, 700, 0, 0, 0, 0}, {500, 700, 0, 0, 0, 0}}, 499, 501, 699, 701},
        // North-south line: easting widened by 5 x (northing range / 100).
        {{{500, 0, 0, 0, 0, 0}, {500, 1000, 0, 0, 0, 0}},
         500 - 50 - 0.001f,
         500 + 50 + 0.001f,
         -10,
         1010},
        // A missing easting is skipped.
        {{{100, 0, 0, 0, 0, 0}, {1.0E20f, 50, 0, 0, 0, 0}, {300, 100, 0, 0, 0, 0}},
         98,
         302,
         -1,
         101},
    };
    for (const Case& c : cases) {
        model::ProfileDatabase db = makeDatabase({makeProfile("P", c.stations)});
        util::AxisRecord axis;
        views::SCALE_MAP(db, axis);
        float start = 0, step = 0;
        std::int32_t n = 0, k = 0;
        util::LINNX(c.emin, c.emax, start, step, n, k);
        EXPECT_EQ(axis.startX, start) << c.emin;
        EXPECT_EQ(axis.divCountX, n) << c.emin;
        util::LINNX(c.nmin, c.nmax, start, step, n, k);
        EXPECT_EQ(axis.startY, start) << c.nmin;
        EXPECT_EQ(axis.divCountY, n) << c.nmin;
    }
}

TEST(MapScaling, RescaleKeepsAspectAndBoxForEveryWindow) {
    struct Window {
        int w, h;
    };
    const Window windows[] = {{800, 600}, {1600, 400}, {400, 1000}, {1000, 1000}, {1280, 1024}};
    for (const Window& win : windows) {
        model::ProfileDatabase db = twoProfiles();
        util::AxisRecord axis;
        views::rescaleMap(db, axis, win.w, win.h);
        const float lx = axis.divCountX * axis.divLengthX;
        const float ly = axis.divCountY * axis.divLengthY;
        // Metres per inch across times the height equal metres per inch up
        // times the width.
        const float ux = axis.stepX / axis.divLengthX, uy = axis.stepY / axis.divLengthY;
        EXPECT_NEAR(ux * win.h / (uy * win.w), 1.0f, 1.0E-4f) << win.w << "x" << win.h;
        EXPECT_FLOAT_EQ(axis.clipXMax, lx + 0.01f);
        EXPECT_FLOAT_EQ(axis.clipYMax, ly + 0.01f);
        EXPECT_EQ(axis.clipXMin, -0.01f);
        EXPECT_EQ(axis.clipYMin, -0.01f);
        EXPECT_FLOAT_EQ(axis.originX, std::max(9.5f - lx, 1.25f));
        EXPECT_EQ(axis.originY, 1.25f);
        EXPECT_TRUE(axis.xLabelsBelow && axis.yLabelsLeft && !axis.yLabelsRight);
    }
}

TEST(MapScaling, RescaleDivisionLengthsByWindow) {
    // One profile 0..1000 east, 0..500 north.
    struct Window {
        int w, h;
    };
    for (const Window win : {Window{1000, 800}, Window{1600, 400}, Window{300, 900}}) {
        model::ProfileDatabase db =
            makeDatabase({makeProfile("P", {{0, 0, 0, 0, 0, 0}, {1000, 500, 0, 0, 0, 0}})});
        util::AxisRecord axis;
        views::rescaleMap(db, axis, win.w, win.h);
        // Margins 10 and 5: easting -10..1010 and northing -5..505.
        float sx = 0, stx = 0, sy = 0, sty = 0;
        std::int32_t nx = 0, ny = 0, k = 0;
        util::LINNX(-10, 1010, sx, stx, nx, k);
        util::LINNX(-5, 505, sy, sty, ny, k);
        // Box 8.5 / nx across, 6 / ny up; the aspect rule then shortens the axis
        // with more metres per inch, and the result must fit the 8.5 x 6 box.
        float dx = 8.5f / nx, dy = 6.0f / ny;
        const float w = static_cast<float>(win.w), h = static_cast<float>(win.h);
        if (stx / dx / h < sty / dy / w)
            dx = dy * (stx / sty) * (h / w);
        else if (stx / dx / h > sty / dy / w)
            dy = dx * (sty / stx) * (w / h);
        float f = 1.0f;
        if (nx * dx + 0.01f > 8.5f)
            f = 8.5f / (nx * dx + 0.01f);
        else if (ny * dy + 0.01f > 6.0f)
            f = 6.0f / (ny * dy + 0.01f);
        EXPECT_FLOAT_EQ(axis.divLengthX, dx * f) << win.w << "x" << win.h;
        EXPECT_FLOAT_EQ(axis.divLengthY, dy * f) << win.w << "x" << win.h;
    }
}

TEST(MapScaling, RedrawLayoutFitsBothSidesOfTheBox) {
    // The redraw corrects width and height independently, so the graph always
    // fits 8.5 x 6 inches whatever the window.
    model::ProfileDatabase db =
        makeDatabase({makeProfile("P", {{0, 0, 0, 0, 0, 0}, {1000, 500, 0, 0, 0, 0}})});
    for (const auto& [w, h] : {std::pair{300, 900}, std::pair{1600, 400}, std::pair{800, 800}}) {
        util::AxisRecord axis;
        views::rescaleMap(db, axis, 800, 600);
        views::layoutMap(axis, w, h);
        const float lx = axis.divCountX * axis.divLengthX;
        const float ly = axis.divCountY * axis.divLengthY;
        EXPECT_LE(lx, 8.5f) << w << "x" << h;
        EXPECT_LE(ly, 6.0f) << w << "x" << h;
        EXPECT_FLOAT_EQ(axis.clipXMax, lx + 0.01f);
        EXPECT_FLOAT_EQ(axis.clipYMax, ly + 0.01f);
        EXPECT_FLOAT_EQ(axis.originX, std::max(9.5f - lx, 1.25f));
        const float ux = axis.stepX / axis.divLengthX, uy = axis.stepY / axis.divLengthY;
        EXPECT_NEAR(ux * h / (uy * w), 1.0f, 1.0E-4f) << w << "x" << h;
    }
}

TEST(MapScaling, EmptyDatabaseChangesNothing) {
    model::ProfileDatabase db = makeDatabase({});
    util::AxisRecord axis;
    axis.startX = 42.0f;
    const util::AxisRecord before = axis;
    views::rescaleMap(db, axis, 800, 600);
    EXPECT_EQ(axis, before);
}

}  // namespace
