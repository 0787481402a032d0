// Edit > Regional, Edit > Geometry and View > Colors: the regional control
// points, the geometry tying the profile to the map, and the plot colours;
// and every editor of the profile refusing what it cannot store.

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// Escape closes the regional editor as its Cancel does, also with the grid
// keeping the keys.
TEST_F(ProgramTest, EscapeClosesTheRegionalEditorAndKeepsTheRegional) {
    writeModelDatabase();
    Script s;
    chooseProfileMenu(s, "Edit", "Regional");
    s.check([] { ASSERT_TRUE(dialogTitled(kRegional)); });
    typeIntoCell(s, kRegional, IDC_REGIONALGRID, 2, 1, "0");
    s.key(win::VK_ESCAPE);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kRegional));
        EXPECT_EQ(workingProfile().NREG, 0);
    });
    chooseMenu(s, "File", "Exit");
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

// Each editor of the working profile refuses what it cannot store: the
// message, the editor still open, the profile untouched; Cancel after the
// edits then leaves the profile exactly as it was.
struct Refusal {
    std::string title;
    std::function<void(Script&)> open;
    std::function<void(Script&)> spoil;
    std::string message;  // empty: refused by the field itself, without a box
};

std::vector<Refusal> refusals() {
    const auto menu = [](const char* item) {
        return [=](Script& s) { chooseProfileMenu(s, "Edit", item); };
    };
    const auto command = [](int id, int body) {
        return [=](Script& s) {
            s.check([=] {
                shellSession().PopupBody = body;
                postCommand(profileFrame(), id);
            });
        };
    };
    const std::string data = "Gravity/Magnetics Data Entry/Edit";
    const std::string model = "Edit Model Parameters";
    const std::string body = "Edit Body";
    const std::string background = "Edit Background";
    return {
        {data, menu("Data"),
         [=](Script& s) {
             typeIntoCell(s, data, IDC_DATAGRID, 2, 1, "999");
             typeInto(s, data, IDC_DATASETNAME, "Line *");
         },
         "Please enter valid data set name"},
        {model, menu("Model Parameters"),
         [=](Script& s) {
             typeIntoCell(s, model, IDC_BODYGRID, 2, 1, "9");
             s.clickAt([=] { return gridCell(dialogTitled(model), IDC_BODYGRID, 4, 2); });
             s.chord({win::VK_CONTROL, 'A'}).key(win::VK_DELETE).key(win::VK_TAB);
         },
         "Not all cells contain valid values"},
        {kRegional, menu("Regional"),
         [](Script& s) { typeIntoCell(s, kRegional, IDC_REGIONALGRID, 2, 1, "100"); },
         "Not all cells contain valid values."},
        {body, command(CMD_EDITBODYPOPUP, 1),
         [=](Script& s) {
             typeIntoCell(s, body, IDC_BODYGRID, 2, 1, "60");
             typeInto(s, body, IDC_PROPERTY, "EE");
         },
         "Please enter a valid number instead of \"EE\""},
        {background, command(CMD_EDITBACKGROUND, 0),
         [=](Script& s) { typeInto(s, background, IDC_PROPERTY, "EE"); },
         "Please enter a valid number instead of \"EE\""},
        {kGeometry, menu("Geometry"),
         [](Script& s) {
             typeInto(s, kGeometry, IDC_STRIKE, "-10");
             typeInto(s, kGeometry, IDC_AZIMUTH, "400");  // beyond 360
         },
         ""},
    };
}

TEST_F(ProgramTest, EveryEditorRefusesWhatItCannotStoreAndCancelKeepsTheProfile) {
    writeModelDatabase();
    auto before = std::make_shared<model::ProfileLine>();
    auto driven = std::make_shared<int>(0);
    Script s;
    s.check([before] { *before = workingProfile(); });
    for (const Refusal& r : refusals()) {
        r.open(s);
        s.check([=] { ASSERT_TRUE(dialogTitled(r.title)) << r.title; });
        r.spoil(s);
        if (!r.message.empty()) s.answerMessageBox(win::IDOK);
        clickField(s, r.title, win::IDOK);
        s.check([=] {
            ASSERT_TRUE(dialogTitled(r.title)) << r.title;
            if (!r.message.empty()) {
                ASSERT_TRUE(win::testing::lastMessageBox());
                EXPECT_EQ(win::testing::lastMessageBox()->text, r.message);
            }
            EXPECT_TRUE(workingProfile() == *before) << r.title;
        });
        clickField(s, r.title, win::IDCANCEL);
        s.check([=] {
            EXPECT_FALSE(dialogTitled(r.title)) << r.title;
            EXPECT_TRUE(workingProfile() == *before) << r.title;
            ++*driven;
        });
    }
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
    EXPECT_EQ(*driven, static_cast<int>(refusals().size()));  // every editor was driven
}

}  // namespace
}  // namespace shell::test
