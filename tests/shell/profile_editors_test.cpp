// Edit > Regional, Edit > Geometry and View > Colors: the regional control
// points, the geometry tying the profile to the map, and the plot colours.

#include <string>

#include "dialog_test_support.h"

namespace shell::test {
namespace {

constexpr const char* kRegional = "Edit Regional Field";
constexpr const char* kGeometry = "Edit Profile/Strike Geometry";
constexpr const char* kColours = "Plot Colors";

TEST_F(ProgramTest, RegionalEditorTakesTheControlPointsOfTheFilledRows) {
    writeModelDatabase();
    Script s;
    chooseProfileMenu(s, "Edit", "Regional");
    s.check([] {
        win::HWND d = dialogTitled(kRegional);
        ASSERT_TRUE(d);
        EXPECT_EQ(gridOf(kRegional, IDC_REGIONALGRID)->rowCount, 5);
        EXPECT_TRUE(shootDialog(d, "146_edit_regional_field"));
    });
    typeIntoCell(s, kRegional, IDC_REGIONALGRID, 2, 1, "0");
    typeIntoCell(s, kRegional, IDC_REGIONALGRID, 3, 1, "5");
    typeIntoCell(s, kRegional, IDC_REGIONALGRID, 2, 2, "400");
    // A station without its regional value is refused; the cell is shown.
    s.answerMessageBox(win::IDOK);
    clickField(s, kRegional, win::IDOK);
    s.check([] {
        ASSERT_TRUE(dialogTitled(kRegional));
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Not all cells contain valid values.");
        const tk::GridRecord* g = gridOf(kRegional, IDC_REGIONALGRID);
        EXPECT_EQ(g->currentColumn, 2);
        EXPECT_EQ(g->currentRow, 1);
        EXPECT_EQ(workingProfile().NREG, 0);
    });
    typeIntoCell(s, kRegional, IDC_REGIONALGRID, 3, 2, "7");
    // Add To on the regional column from row 1: both values rise by one.
    s.clickAt([] { return gridCell(dialogTitled(kRegional), IDC_REGIONALGRID, 3, 1); });
    clickField(s, kRegional, IDC_ADDTO);
    typeInto(s, "Get Floating Point Number", IDC_NUMBERVALUE, "1");
    clickField(s, "Get Floating Point Number", win::IDOK);
    clickField(s, kRegional, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kRegional));
        const model::ProfileLine& w = workingProfile();
        EXPECT_EQ(w.NREG, 2);
        EXPECT_EQ(w.XREG[1], 400.0f);
        EXPECT_EQ(w.YREG[0], 6.0f);
        EXPECT_EQ(w.YREG[1], 8.0f);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, GeometryEditorShowsHelpAndSetsTheGeometryFromTheData) {
    writeModelDatabase();
    Script s;
    chooseProfileMenu(s, "Edit", "Geometry");
    s.check([] {
        win::HWND d = dialogTitled(kGeometry);
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(field(kGeometry, IDC_GEOMETRYHELP)).substr(0, 18),
                  "Profile direction ");
        EXPECT_EQ(win::robot::stateOf(field(kGeometry, IDC_PROFILECOORDS)).checked, 1);
        // The help line is black on yellow.
        EXPECT_GT(pixelsOfColour(field(kGeometry, IDC_GEOMETRYHELP), win::RGB(255, 255, 0)), 1000);
        EXPECT_TRUE(shootDialog(d, "149_edit_profile_strike_geometry"));
    });
    clickField(s, kGeometry, IDC_STRIKE);
    s.check([] {
        EXPECT_EQ(win::robot::windowText(field(kGeometry, IDC_GEOMETRYHELP)).substr(0, 17),
                  "Strike direction ");
    });
    // Set from the data, then Cancel: what it set stays.
    clickField(s, kGeometry, IDC_SETGEOMETRY);
    s.check([] {
        EXPECT_NEAR(workingProfile().MODEL.AZIM, 90.0f, 1e-3);
        EXPECT_EQ(workingProfile().MODEL.ICOORD, 2);
        EXPECT_EQ(win::robot::stateOf(field(kGeometry, IDC_MAPCOORDS)).checked, 1);
        EXPECT_FLOAT_EQ(std::stof(win::robot::windowText(field(kGeometry, IDC_TIEEAST))), 1000.0f);
    });
    // The close box counts as Cancel.
    s.check([] { win::PostMessageA(dialogTitled(kGeometry), win::WM_CLOSE, 0, 0); });
    s.check([] {
        EXPECT_FALSE(dialogTitled(kGeometry));
        EXPECT_NEAR(workingProfile().MODEL.AZIM, 90.0f, 1e-3);
        EXPECT_TRUE(database().LDBSAV);  // Cancel: the map is left alone
    });
    chooseProfileMenu(s, "Edit", "Geometry");
    typeInto(s, kGeometry, IDC_GRIDROTATION, "2.5");
    typeInto(s, kGeometry, IDC_STRIKE, "-10");
    clickField(s, kGeometry, IDC_PROFILECOORDS);
    clickField(s, kGeometry, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kGeometry));
        const model::PolygonModel& m = workingProfile().MODEL;
        EXPECT_FLOAT_EQ(m.GRIDROT, 2.5f);
        EXPECT_FLOAT_EQ(m.STRIKE, -10.0f);
        EXPECT_EQ(m.ICOORD, 1);
        EXPECT_FALSE(database().LDBSAV);
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, PlotColoursAreChosenFromTheListsAndTheCloseBoxCancels) {
    writeModelDatabase();
    Script s;
    chooseMenu(s, "View", "Colors");
    s.check([] {
        win::HWND d = dialogTitled(kColours);
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(field(kColours, IDC_COLOURAXES)), "Light Blue");
        EXPECT_EQ(win::robot::windowText(field(kColours, IDC_COLOURDATA)), "Light Magenta");
        EXPECT_TRUE(shootDialog(d, "253_plot_colors"));
    });
    clickField(s, kColours, IDC_COLOURDATA);
    s.key(win::VK_DOWN).key(win::VK_RETURN);
    s.clickAt([] { return gridCell(dialogTitled(kColours), IDC_COLOURBODIES, 1, 1); });
    s.text("C").key(win::VK_RETURN);  // the first colour of that letter: Cyan
    clickField(s, kColours, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kColours));
        EXPECT_EQ(files::viewSettings().K_DATA, 4);
        EXPECT_EQ(files::viewSettings().K_BODY[0], 5);
        EXPECT_EQ(files::viewSettings().K_BODY[1], 3);
    });
    chooseMenu(s, "View", "Colors");
    clickField(s, kColours, IDC_COLOURAXES);
    s.key(win::VK_DOWN).key(win::VK_RETURN);
    s.check([] { win::PostMessageA(dialogTitled(kColours), win::WM_CLOSE, 0, 0); });
    s.check([] {
        EXPECT_FALSE(dialogTitled(kColours));
        EXPECT_EQ(files::viewSettings().K_GRID, 4);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
