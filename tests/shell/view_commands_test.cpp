// The View menus as a user works them: every view switch and grid changes
// what the window shows and choosing it again brings the picture back; the
// letter keys do the same; zoom, unzoom and last zoom; the fill range.

#include "survey_fixture.h"

namespace shell::test {
namespace {

using ViewCommandsTest = ProgramTest;

struct Switch {
    const char* item;
    int command;  // 0: no check mark to look at
    const char* picture;
};

int differingPixels(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        n += a[i] != b[i];
    return n;
}

// Chooses the item, expects the drawing area to change and saves it, then
// chooses it again and expects the picture of before.
void toggleAndCompare(Script& s, std::function<win::HWND()> area,
                      std::function<void(Script&)> choose, const std::string& picture,
                      std::function<void(bool on)> checkOn) {
    auto before = std::make_shared<std::vector<std::uint32_t>>();
    s.check([=] { *before = windowPixels(area()); });
    choose(s);
    s.check([=] {
        EXPECT_GT(differingPixels(windowPixels(area()), *before), 0) << picture;
        saveShot(area(), picture);
        checkOn(true);
    });
    choose(s);
    s.check([=] {
        EXPECT_EQ(differingPixels(windowPixels(area()), *before), 0) << picture;
        checkOn(false);
    });
}

using MenuChooser = void (*)(Script&, const std::string&, const std::string&);

// A grid pair: the major lines change the picture, the minor lines change it
// again and bring the major ones along; minor off leaves the major picture,
// major off the first one; and major off takes the minor lines with it.
void gridPair(Script& s, std::function<win::HWND()> area, MenuChooser choose,
              std::function<int()> window, const std::string& graph, int major, int minor) {
    auto pictures = std::make_shared<std::array<std::vector<std::uint32_t>, 3>>();
    auto pick = [=](const std::string& which) {
        return [=](Script& sc) {
            choose(sc, "View", "Grid");
            sc.clickMenuItem(which + " on " + graph);
        };
    };
    auto ticks = [=](int majorOn, int minorOn) {
        EXPECT_EQ(menuState(window(), major, 2), majorOn) << graph;
        EXPECT_EQ(menuState(window(), minor, 2), minorOn) << graph;
    };
    s.check([=] { (*pictures)[0] = windowPixels(area()); });
    pick("Major")(s);
    s.check([=] {
        (*pictures)[1] = windowPixels(area());
        EXPECT_GT(differingPixels((*pictures)[1], (*pictures)[0]), 0) << graph;
        ticks(1, 0);
    });
    pick("Minor")(s);
    s.check([=] {
        (*pictures)[2] = windowPixels(area());
        EXPECT_GT(differingPixels((*pictures)[2], (*pictures)[1]), 0) << graph;
        ticks(1, 1);
        saveShot(area(), "view_grid_" + graph + ".png");
    });
    pick("Minor")(s);
    s.check([=] {
        EXPECT_EQ(differingPixels(windowPixels(area()), (*pictures)[1]), 0) << graph;
        ticks(1, 0);
    });
    pick("Major")(s);
    s.check([=] {
        EXPECT_EQ(differingPixels(windowPixels(area()), (*pictures)[0]), 0) << graph;
        ticks(0, 0);
    });
    // Minor alone switches both on; major off switches both off.
    pick("Minor")(s);
    s.check([=] {
        EXPECT_EQ(differingPixels(windowPixels(area()), (*pictures)[2]), 0) << graph;
        ticks(1, 1);
    });
    pick("Major")(s);
    s.check([=] {
        EXPECT_EQ(differingPixels(windowPixels(area()), (*pictures)[0]), 0) << graph;
        ticks(0, 0);
    });
}

TEST_F(ViewCommandsTest, EveryViewSwitchAndGridChangesThePictureAndBackAgain) {
    Survey survey;
    survey.regional = 0.3f;
    writeSurvey("SITE", survey);
    Script s;
    enlargeProfileWindow(s);
    chooseProfileMenu(s, "Calculate", "Forward");  // synthetics and regional to show
    const Switch switches[] = {
        {"Data", CMD_VIEWDATA, "view_data_off.png"},
        {"Model", CMD_VIEWMODEL, "view_model_off.png"},
        {"Labels (B)", 0, "view_labels.png"},
        {"Locks (L)", CMD_VIEWLOCKS, "view_locks.png"},
        {"Free Vertices (F)", CMD_VIEWFREE, "view_free_off.png"},
        {"Vertices (V)", CMD_VIEWVERTICES, "view_vertices_off.png"},
        {"Pivots (I)", CMD_VIEWPIVOTS, "view_pivots.png"},
        {"Regional (R)", CMD_VIEWREGIONAL, "view_regional_off.png"},
        {"Color Fill Bodies (C)", CMD_COLORFILL, "view_colour_fill_off.png"},
    };
    for (const Switch& sw : switches) {
        const std::string item = sw.item;
        const int command = sw.command;
        auto first = std::make_shared<int>(-1);
        s.check([=] {
            if (command) *first = menuState(profileWindow(), command, 2);
        });
        toggleAndCompare(
            s, profileClient, [item](Script& sc) { chooseProfileMenu(sc, "View", item); },
            sw.picture,
            [=](bool changed) {
                if (command == 0) return;
                ASSERT_TRUE(*first == 0 || *first == 1) << item;
                EXPECT_EQ(menuState(profileWindow(), command, 2), changed ? 1 - *first : *first)
                    << item;
            });
    }
    gridPair(s, profileClient, chooseProfileMenu, profileWindow, "Data", CMD_GRIDMAJORDATA,
             CMD_GRIDMINORDATA);
    gridPair(s, profileClient, chooseProfileMenu, profileWindow, "Model", CMD_GRIDMAJORMODEL,
             CMD_GRIDMINORMODEL);
    gridPair(
        s, mainClient, chooseMenu, [] { return 0; }, "Map", CMD_GRIDMAJORMAP, CMD_GRIDMINORMAP);
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test

namespace shell::test {
namespace {

TEST_F(ViewCommandsTest, LetterKeysToggleTheViewsWithTheirTicksFromEitherWindow) {
    writeSurvey("SITE");
    Script s;
    s.check([] {
        EXPECT_FALSE(files::sessionState().LVLabels);
        EXPECT_FALSE(views::viewState().ShowLocks);  // off at start, as every switch
        EXPECT_EQ(menuState(profileWindow(), CMD_VIEWLOCKS, 2), 0);
        EXPECT_TRUE(mainLoop().HintShown);
    });
    // A click in the profile window where the hints do not cover it.
    s.clickAt(win::robot::clientPoint(profileClient, 20, 20)).key('B');
    s.check([] {
        EXPECT_TRUE(files::sessionState().LVLabels);
        EXPECT_FALSE(mainLoop().HintShown);  // any key puts the hints away
    });
    s.key('L');
    s.check([] {
        EXPECT_TRUE(views::viewState().ShowLocks);
        EXPECT_EQ(menuState(profileWindow(), CMD_VIEWLOCKS, 2), 1);
    });
    // In the main window the keys act on the profile window too.
    s.clickOn(mainClient).text("l").key('R');
    s.check([] {
        EXPECT_FALSE(views::viewState().ShowLocks);
        EXPECT_EQ(menuState(profileWindow(), CMD_VIEWLOCKS, 2), 0);
        EXPECT_FALSE(files::viewSettings().LVIEWREG);
        EXPECT_EQ(menuState(profileWindow(), CMD_VIEWREGIONAL, 2), 0);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ViewCommandsTest, UnzoomRescalesAndLastZoomGoesBackInBothWindows) {
    writeSurvey("SITE");
    Script s;
    s.check([] {
        // Before any rescale there is nothing to go back to.
        postCommand(profileFrame(), CMD_LASTZOOM);
    });
    s.check([] {
        EXPECT_EQ(mainLoop().ProfileAxisBackup[0], util::AxisRecord{});
        EXPECT_TRUE(workingProfile().LSAVED);
        // A view the user narrowed, then Unzoom fits the data again.
        workingProfile().AXES[0].startX = 400.0f;
        workingProfile().AXES[0].divCountX = 2;
    });
    chooseProfileMenu(s, "View", "Unzoom Data");
    s.check([] {
        EXPECT_EQ(workingProfile().AXES[0].startX, 0.0f);
        EXPECT_EQ(mainLoop().ProfileAxisBackup[0].startX, 400.0f);
        EXPECT_FALSE(workingProfile().LSAVED);
    });
    chooseProfileMenu(s, "View", "Last Zoom");
    s.check([] { EXPECT_EQ(workingProfile().AXES[0].startX, 400.0f); });
    chooseProfileMenu(s, "View", "Last Zoom");  // the backup stays: the same view again
    s.check([] {
        EXPECT_EQ(workingProfile().AXES[0].startX, 400.0f);
        workingProfile().AXES[4].startY = -5000.0f;
    });
    chooseProfileMenu(s, "View", "Unzoom Model");
    s.check([] { EXPECT_GT(workingProfile().AXES[4].startY, -5000.0f); });
    // The map: Unzoom fits it, Last Zoom brings back what it showed.
    s.check([] { mainLoop().MapAxis.startX = 9000.0f; });
    chooseMenu(s, "View", "Unzoom");
    s.check([] {
        EXPECT_GT(mainLoop().MapAxis.startX, 9000.0f);
        EXPECT_FALSE(database().LDBSAV);
    });
    chooseMenu(s, "View", "Last Zoom");
    s.check([] { EXPECT_EQ(mainLoop().MapAxis.startX, 9000.0f); });
    // Zoom mode ticks in both windows' menus.
    chooseMenu(s, "View", "Zoom");
    s.check([] {
        EXPECT_TRUE(files::sessionState().LZOOM);
        EXPECT_EQ(menuState(0, CMD_ZOOM, 2), 1);
        EXPECT_EQ(menuState(profileWindow(), CMD_ZOOM, 2), 1);
    });
    chooseMenu(s, "File", "Exit");
    // The profile's changes, then the database's.
    for (int question = 0; question < 2; ++question)
        s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ViewCommandsTest, AutoscaleFillColoursCoversTheModelsItIsAskedFor) {
    Survey survey;
    survey.startDensity = 3.4f;
    writeSurvey("SITE", survey);
    Script s;
    chooseProfileMenu(s, "View", "Autoscale Fill Colors");
    s.check([] {
        // Background 2.67 and the block's 3.4 in a nice range.
        EXPECT_LE(files::viewSettings().FILL_MIN, 2.67f);
        EXPECT_GE(files::viewSettings().FILL_MAX, 3.4f);
        EXPECT_LT(files::viewSettings().FILL_MAX - files::viewSettings().FILL_MIN, 2.0f);
        database().profile(2).MODEL.DENS(1) = 1.2f;
    });
    // From the main window: every profile's model counts.
    s.check([] { postCommand(mainWindow(), CMD_AUTOSCALEFILL); });
    s.check([] {
        EXPECT_LE(files::viewSettings().FILL_MIN, 1.2f);
        EXPECT_GE(files::viewSettings().FILL_MAX, 3.4f);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
