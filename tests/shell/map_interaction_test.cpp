// The mouse on the map: the line under the cursor, choosing a profile on the
// map and in the profile list, and the zoom boxes of both windows.

#include "editing_test_support.h"
#include "shell/rubber_bands.h"
#include "util/graph_zoom.h"

namespace shell::test {
namespace {

TEST_F(EditingTest, AProfileLineChosenOnTheMapBecomesTheProfileShown) {
    writeTwoProfiles();
    Script s;
    clickAside(s);
    // The first click on the main window only brings it to the front.
    s.clickAt(atMap(500100, 6000700));
    s.moveTo(atMap(502000, 5998500));
    s.check([] {
        EXPECT_EQ(shellSession().MapHoverProfile, 2);
        EXPECT_EQ(statusText(0, 3), "Profile: South Line");
        EXPECT_NE(statusText(0, 1).find("E:"), std::string::npos);
        saveShot(mainWindow(), "map_hover_line.png");
    });
    s.clickAt(atMap(502000, 5998500));
    s.check([] {
        EXPECT_EQ(currentProfile(), 2);
        EXPECT_EQ(workingProfile().PNAME, std::string_view("South Line"));
        EXPECT_EQ(win::robot::windowText(profileFrame()), "Profile: [South Line]");
        EXPECT_EQ(win::SendMessageA(profileList(), win::CB_GETCURSEL, 0, 0), 2);
        saveShot(mainWindow(), "map_selected_line.png");
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, ZoomBoxesZoomTheMapAndTheProfileGraphs) {
    writeTwoProfiles();
    auto before = std::make_shared<util::AxisRecord>();
    Script s;
    clickAside(s);
    s.check([before] {
        files::sessionState().LZOOM = true;
        *before = mainLoop().MapAxis;
    });
    s.clickAt(atMap(500100, 6000700));
    s.pressAt(atMap(501000, 6000500));
    s.wait(250);
    s.moveTo(atMap(502000, 5999500)).moveTo(atMap(503000, 5998000));
    s.check([] {
        EXPECT_TRUE(shellSession().RubberBoxShown);
        saveShot(mainWindow(), "map_zoom_box.png");
    });
    s.releaseAt(atMap(503000, 5998000));
    s.check([before] {
        const util::AxisRecord& a = mainLoop().MapAxis;
        EXPECT_EQ(mainLoop().MapAxisBackup, *before);
        // A closer look at the box's middle.
        EXPECT_LT(a.stepX * a.divCountX, before->stepX * before->divCountX);
        EXPECT_TRUE(util::LINGRAPH(502000.0f, 5999250.0f, a));
        EXPECT_FALSE(database().LDBSAV);
        EXPECT_FALSE(shellSession().RubberBoxShown);
        saveShot(mainWindow(), "map_zoomed.png");
    });
    // In the profile window the box zooms the data graph, and the section
    // keeps its distance axis.
    s.pressAt(atData(1000, 1.8f));
    s.wait(250);
    s.moveTo(atData(2000, 1.0f)).moveTo(atData(3000, 0.2f));
    s.releaseAt(atData(3000, 0.2f));
    s.check([] {
        const util::AxisRecord& d = dataAxis();
        EXPECT_NEAR(d.startX, 1000.0f, 150.0f);
        EXPECT_EQ(sectionAxis().startX, d.startX);
        EXPECT_EQ(sectionAxis().stepX, d.stepX);
        EXPECT_EQ(mainLoop().ProfileAxisBackup[0].startX, 0.0f);
        EXPECT_FALSE(workingProfile().LSAVED);
        saveShot(profileFrame(), "profile_zoomed.png");
        expectSameAsFreshRedraw();
    });
    exitWithoutSaving(s);
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, TheProfileListOpensTheProfileChosenInIt) {
    writeTwoProfiles();
    Script s;
    clickAside(s);
    s.clickOn(profileList);
    s.key(win::VK_DOWN).key(win::VK_RETURN);
    s.check([] {
        EXPECT_EQ(currentProfile(), 2);
        EXPECT_EQ(workingProfile().PNAME, std::string_view("South Line"));
        EXPECT_EQ(mainLoop().PropertyLabel, std::string_view("dens: "));
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, APolylineTracedOnTheMapKeepsItsPointsAndLeavesNoTrace) {
    writeTwoProfiles();
    auto fresh = std::make_shared<win::Surface>();
    Script s;
    clickAside(s);
    s.check([] { files::viewSettings().LPOLYLINE = true; });
    s.clickAt(atMap(500100, 6000700));
    s.check([fresh] {
        refreshMap();
        *fresh = capture(tk::windowSystem().slots[0].client);
    });
    s.pressAt(atMap(500500, 6000500));
    s.wait(250);
    for (int k = 1; k <= 6; ++k)
        s.moveTo(atMap(500500.0f + 500.0f * static_cast<float>(k), 6000500.0f - 250.0f * k));
    s.check([fresh] {
        EXPECT_TRUE(shellSession().RubberPolyShown);
        EXPECT_GE(editState().NewLine.count, 2);
        EXPECT_GT(differingPixels(*fresh, capture(tk::windowSystem().slots[0].client)), 0);
        saveShot(mainWindow(), "map_polyline.png");
    });
    s.releaseAt(atMap(503500, 5999000));
    // The line stays through the next press on the map; the loop's erasing
    // (at a command, for one) takes it away with the points it was drawn with.
    s.moveTo(atMap(500100, 6000700)).clickAt(atMap(500100, 6000700));
    s.check([fresh] {
        EXPECT_TRUE(shellSession().RubberPolyShown);
        eraseRubberBands();
        EXPECT_FALSE(shellSession().RubberPolyShown);
        EXPECT_GE(editState().NewLine.count, 2);  // the points stay
        EXPECT_EQ(differingPixels(*fresh, capture(tk::windowSystem().slots[0].client)), 0);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
