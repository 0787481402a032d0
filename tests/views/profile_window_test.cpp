#include <gtest/gtest.h>

#include "platform/message_box.h"

#include "util/axis_copy.h"
#include "util/axis_scaling.h"
#include "view_fixtures.h"
#include "view_picture_support.h"
#include "views/colour_fill.h"
#include "views/colour_ramp.h"
#include "views/data_graph.h"
#include "views/model_section.h"
#include "views/profile_layout.h"
#include "views/profile_scaling.h"
#include "views/profile_window.h"

namespace {

using views_test::makeProfile;
using views_test::rect;

class ProfileViewTest : public views_test::ViewPictureTest {
  protected:
    model::ProfileLine p;

    void SetUp() override {
        ViewPictureTest::SetUp();
        p = makeProfile("Ridge",
                        {{0, 0, 0, 20, 1.0f, 1.2f},
                         {0, 0, 100, 22, 2.0f, 2.1f},
                         {0, 0, 200, 25, 1.0E20f, 3.0f},  // missing datum
                         {0, 0, 300, 22, 2.5f, 1.0E20f},  // missing synthetic
                         {0, 0, 400, 20, 1.5f, 1.4f}},
                        true);
        p.MASK(2, 1) = model::Logical{true};
        p.NREG = 2;
        p.XREG = {0, 400, 0, 0, 0};
        p.YREG = {0.5f, 1.0f, 0, 0, 0};
        p.MODEL = views_test::makeModel({rect(50, -150, 150, -50), rect(250, -200, 350, -100)},
                                        {2.9f, 2.4f}, 2.67f);
        views::DATARESCALEPL(p);
        views::SCALE_BY(p.AXES[4], p.MODEL, p);
    }

    int countPen(int pen) const {
        int n = 0;
        for (const auto& l : strokes())
            n += l.colour == pen;
        return n;
    }
};

TEST_F(ProfileViewTest, DataGraphDrawsEachSeriesInItsPenAndSkipsMissingValues) {
    const files::ViewSettings& v = files::viewSettings();
    util::AxisRecord& a = p.AXES[0];
    views::layoutDataGraph(a, true, false);
    util::FINDAS(a);  // as the last full redraw left it
    clear();
    views::PLOT_PROF(a, p, false);
    // Synthetics: stations 1-2-3 joined, 4 missing, 5 alone: two segments.
    std::vector<util::test::DrawnLine> syn;
    for (const auto& l : strokes())
        if (l.colour == v.K_SYNT) syn.push_back(l);
    EXPECT_EQ(syn.size(), 2u);
    // Data markers: four stations have values; the missing one has none.
    EXPECT_GT(countPen(v.K_DATA), 0);
    // Regional line and its control points.
    EXPECT_GT(countPen(v.K_REG), 0);

    // A model that fails the legality test shows its synthetics in K_BADB.
    model::sessionState().BadModel = true;
    clear();
    views::PLOT_PROF(a, p, false);
    EXPECT_EQ(countPen(v.K_SYNT), 0);
    EXPECT_GT(countPen(v.K_BADB), 0);

    // Without valid synthetics neither the synthetic nor the regional line.
    model::sessionState().BadModel = false;
    p.LSYN = false;
    clear();
    views::PLOT_PROF(a, p, false);
    EXPECT_EQ(countPen(v.K_SYNT), 0);
}

TEST_F(ProfileViewTest, TitlesByDataType) {
    struct Case {
        const char* type;
        int panel, graphs, left, right;
    };
    const Case cases[] = {
        {"Gravity Data", 1, 1, 22, 22},      {"Magnetics Total Fld", 1, 1, 21, 21},
        {"Gravity/Mag Data", 1, 2, 22, 21},  {"Gravity/Mag Data", 2, 2, 21, 21},
        {"VLF In-Phase/Quad", 1, 1, 15, 15}, {"Mystery", 1, 1, 0, 0},
        // Every type the new-profile dialogs give has its family's title.
        {"Microgravity Data", 1, 1, 22, 22}, {"Gravity Gradient", 1, 1, 22, 22},
        {"Magnetics Vert Grad ", 1, 1, 21, 21}, {"Magnetics Z-V Grad  ", 1, 1, 21, 21}, {"Magnetics Z-Comp", 1, 1, 21, 21}};
    for (const Case& c : cases) {
        const views::DataTitles t = views::dataTitles(c.type, c.panel, c.graphs);
        EXPECT_EQ(t.left, c.left) << c.type << c.panel;
        EXPECT_EQ(t.right, c.right) << c.type << c.panel;
    }
    EXPECT_EQ(views::distanceTitle("Profile Distance (m)", "km      "), "Profile Distance (km)");
    // Unit fields never filled keep the table's unit.
    EXPECT_EQ(views::distanceTitle("Profile Distance (m)", std::string(8, '\0')),
              "Profile Distance (m)");
    EXPECT_EQ(views::distanceTitle("Depth (m)", "        "), "Depth (m)");
    EXPECT_EQ(views::unitText(std::string("mgal\0\0\0\0", 8)), "mgal");
}

TEST_F(ProfileViewTest, SectionDrawsBodiesInTheirColoursAndVertices) {
    const files::ViewSettings& v = files::viewSettings();
    util::AxisRecord& s = p.AXES[4];
    views::layoutSection(s, true, false);
    util::COPYXAXIS(s, p.AXES[0]);
    files::viewSettings().LCOLFILL = false;
    clear();
    views::PLOTBODIES(s, p.MODEL, p.LABELS, 0, "m", "m");
    EXPECT_GE(countPen(v.K_BODY[0]), 4) << "body 1 outline and closing edge";
    EXPECT_GE(countPen(v.K_BODY[1]), 4);
    // Body 2 selected during a drag: drawn grey (pen 13).
    views::viewState().DragBody = true;
    clear();
    views::PLOTBODIES(s, p.MODEL, p.LABELS, 2, "m", "m");
    EXPECT_GE(countPen(13), 4);
    EXPECT_EQ(countPen(v.K_BODY[1]), 0);
}

TEST_F(ProfileViewTest, ProfilePictureWithColourFill) {
    useSurface();
    drawProfilePicture(p);
    savePicture("pelk_profile_view.png");
    util::AxisRecord& s = p.AXES[4];

    // Body 1 (2.9) painted in its ramp colour at its centre (100, -100).
    util::FINDAS(s);
    const int cx = col(s.originX + util::PLOFX(100.0f, s));
    const int cy = row(s.originY + util::PLOFY(-100.0f, s));
    const files::ViewSettings& v = files::viewSettings();
    const unsigned body1 = surfaceColour(views::rampColour(2.9f, v.FILL_MIN, v.FILL_MAX, false));
    EXPECT_GT(count(cx - 5, cx + 5, cy - 5, cy + 5, body1), 50);
    // Above the topography stays white.
    const int sky = row(s.originY + util::PLOFY(s.startY + s.divCountY * s.stepY - 1.0f, s)) + 3;
    EXPECT_GT(count(cx - 5, cx + 5, sky, sky + 3, 0xFFFFFF), 20);
    // The colour bar right of the section holds both ends of the ramp.
    const util::AxisRecord& bar = views::colourBarAxis();
    EXPECT_FLOAT_EQ(bar.originX, s.originX + 8.01f);
    const int bx0 = col(bar.originX), bx1 = col(bar.originX + 0.1f);
    // 75 rows of values make 74 rows of cells: the bottom one in colour 16,
    // the top one in the colour of the last value but one.
    const float top = v.FILL_MIN + 73.0f * (v.FILL_MAX - v.FILL_MIN) / 74.0f;
    EXPECT_GT(count(bx0, bx1 + 1, 0, surface.height, surfaceColour(16)), 0);
    EXPECT_GT(count(bx0, bx1 + 1, 0, surface.height,
                    surfaceColour(views::rampColour(top, v.FILL_MIN, v.FILL_MAX, false))),
              0);
}

TEST_F(ProfileViewTest, EveryTypeTheProgramMakesHasTitlesAndAnUnknownOneWarnsOnce) {
    for (const char* type :
         {"Gravity Data", "Microgravity Data", "Gravity Gradient", "Magnetics Data",
          "Magnetics Total Fld", "Magnetics Vert Grad", "Magnetics X-Comp.", "Magnetics Y-Ccomp",
          "Magnetics Z-Comp", "Magnetics X-V Grad", "Magnetics Y-V Grad", "Magnetics Z-V Grad"})
        EXPECT_NE(views::dataTitles(type, 1, 1).left, 0) << type;
    win::testing::resetMessageBoxes();
    util::AxisRecord& a = p.AXES[0];
    views::layoutDataGraph(a, true, false);
    p.DTYPE.assign("Seismic Data");
    for (int redraw = 0; redraw < 3; ++redraw)
        views::PLOT_PROF(a, p, true);
    ASSERT_EQ(win::testing::messageBoxes().size(), 1u);
    EXPECT_EQ(win::testing::messageBoxes()[0].text,
              "UNKNOWN GRAPH TYPE IN SUBROUTINE PLOT_Prof: \"Seismic Data\"");
    win::testing::resetMessageBoxes();
}

}  // namespace
