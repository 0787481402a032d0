#include <gtest/gtest.h>

#include "util/axis_scaling.h"
#include "view_fixtures.h"
#include "view_picture_support.h"
#include "views/grid_lines.h"
#include "views/map_scaling.h"
#include "views/map_view.h"

namespace {

using views_test::makeDatabase;
using views_test::makeProfile;

class MapViewTest : public views_test::ViewPictureTest {
  protected:
    model::ProfileDatabase db = makeDatabase({makeProfile("North", {{1000, 5000, 0, 0, 1, 0},
                                                                    {1500, 5100, 510, 0, 2, 0},
                                                                    {2000, 5200, 1020, 0, 3, 0}}),
                                              makeProfile("South", {{1200, 4600, 0, 0, 1, 0},
                                                                    {1.0E20f, 4700, 100, 0, 2, 0},
                                                                    {1800, 4800, 632, 0, 3, 0}})});
    util::AxisRecord axis;

    void SetUp() override {
        ViewPictureTest::SetUp();
        for (int i = 1; i <= 2; ++i) {
            model::PolygonModel& m = db.profile(i).MODEL;
            m.AZIM = 80.0f;
            m.STRIKE = -10.0f;  // perpendicular: no baseline
        }
        views::rescaleMap(db, axis, 800, 640);
        util::FINDAS(axis);
    }
};

TEST_F(MapViewTest, StationsLinesAndTitlesInTheirPens) {
    views::PLOT_MAP(db, axis);
    const files::ViewSettings& v = files::viewSettings();
    int stations = 0, lines = 0;
    for (const auto& l : strokes()) {
        stations += l.colour == v.K_PNTS;
        lines += l.colour == v.K_PLIN;
    }
    // Profile North: 2 station segments; South: the missing easting breaks
    // it into nothing (one station either side). Frame lines share pen 4.
    EXPECT_GE(stations, 2);
    EXPECT_EQ(lines, 2) << "one straight line per profile";
    std::vector<std::string> words;
    for (const auto& t : texts)
        words.push_back(t.text);
    EXPECT_NE(std::find(words.begin(), words.end(), "Test Base"), words.end());
    EXPECT_NE(std::find(words.begin(), words.end(), "Easting (m)"), words.end());
    EXPECT_NE(std::find(words.begin(), words.end(), "Northing (m)"), words.end());
}

TEST_F(MapViewTest, KilometreFrameKeepsStoredSteps) {
    model::ProfileDatabase wide =
        makeDatabase({makeProfile("W", {{0, 0, 0, 0, 0, 0}, {40000, 30000, 50000, 0, 0, 0}})});
    util::AxisRecord a;
    views::rescaleMap(wide, a, 800, 640);
    ASSERT_GE(a.stepX, 1000.0f);
    const util::AxisRecord before = a;
    views::PLOT_MAP(wide, a);
    EXPECT_EQ(a.stepX, before.stepX);
    EXPECT_EQ(a.startY, before.startY);
    bool km = false;
    for (const auto& t : texts)
        km |= t.text == "Easting (km)";
    EXPECT_TRUE(km);
}

TEST_F(MapViewTest, ObliqueStrikeDrawsTheBaselineInPenZero) {
    model::PolygonModel& m = db.profile(1).MODEL;
    m.AZIM = 80.0f;
    m.STRIKE = 20.0f;  // 60 degrees off the profile
    m.TIEEAS = 1000.0f;
    m.TIENOR = 5000.0f;
    m.TIEPRF = 0.0f;
    m.BASELN = 0.0f;
    clear();
    views::PLOTPLINEONMAP(db.profile(1), axis);
    int pen0 = 0;
    for (const auto& l : strokes())
        pen0 += l.colour == 0;
    EXPECT_GE(pen0, 1);
    EXPECT_EQ(m.STRIKE, 20.0f);

    m.STRIKE = -10.0f;
    util::SETPEN(9);
    clear();
    views::PLOTPLINEONMAP(db.profile(1), axis);
    pen0 = 0;
    for (const auto& l : strokes())
        pen0 += l.colour == 0;
    EXPECT_EQ(pen0, 0);
}

TEST_F(MapViewTest, MapPictureAndMarkTwiceRestoresIt) {
    useSurface();
    files::sessionState().LGRIDJMP = true;
    files::sessionState().LGRIDNMP = true;
    views::layoutMap(axis, surface.width, surface.height);
    views::PLOT_MAP(db, axis);
    views::DRAWGRID(axis, true, 13);
    savePicture("pelk_map_view.png");
    // Stations of profile North in pen K_PNTS inside the graph.
    EXPECT_GT(count(col(axis.originX), col(axis.originX + 8.5f), 0, surface.height,
                    surfaceColour(files::viewSettings().K_PNTS)),
              20);
    // The current profile's mark (pen 0) and the hover highlight (pen 3) both
    // show, and drawing either again restores the picture.
    for (int pen : {0, 3}) {
        const auto before = surface.pixels;
        views::MARKPFLONMAP(db.profile(1), axis, pen);
        EXPECT_NE(surface.pixels, before) << pen;
        views::MARKPFLONMAP(db.profile(1), axis, pen);
        EXPECT_EQ(surface.pixels, before) << pen;
    }
}

TEST_F(MapViewTest, TheCurrentMarkIsDrawnOnceAndErasedOnlyWhereItStands) {
    useSurface();
    views::layoutMap(axis, surface.width, surface.height);
    views::PLOT_MAP(db, axis);
    const auto clean = surface.pixels;
    // Asked for twice (a redraw, then the command that selected the
    // profile), the mark still shows.
    views::showProfileMark(db, axis, 1);
    const auto marked = surface.pixels;
    EXPECT_NE(marked, clean);
    views::showProfileMark(db, axis, 1);
    EXPECT_EQ(surface.pixels, marked);
    // Moving it to another profile takes the first one away.
    views::showProfileMark(db, axis, 2);
    views::showProfileMark(db, axis, 0);
    EXPECT_EQ(surface.pixels, clean);
    // Erasing a mark that does not stand draws nothing.
    views::hideProfileMark(db, axis);
    EXPECT_EQ(surface.pixels, clean);
}

}  // namespace
