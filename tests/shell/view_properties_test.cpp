// View > Properties of both windows and the map's own view dialog: axis
// pages, inches and centimetres kept in step, Apply, OK and Cancel.

#include <memory>
#include <string>

#include "dialog_test_support.h"
#include "shell/map_view_dialog.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_values.h"
#include "views/axis_pages.h"
#include "views/view_properties.h"

namespace shell::test {
namespace {

constexpr const char* kMapTitle = "View Properties - Map";
constexpr const char* kProfileTitle = "View Properties";

win::HWND page(int id) {
    return tk::dialogWindowOf(id);
}

win::HWND pageField(int pageId, int field) {
    return win::GetDlgItem(page(pageId), field);
}

std::string pageText(int pageId, int field) {
    return win::robot::windowText(pageField(pageId, field));
}

bool enabled(win::HWND h) {
    return win::robot::stateOf(h).enabled;
}

// The centre of tab `index` of a dialog's tab control, on the screen.
win::POINT tab(const std::string& title, int control, int index) {
    win::HWND t = field(title, control);
    win::RECT r{};
    win::SendMessageA(t, win::TCM_GETITEMRECT, static_cast<win::WPARAM>(index),
                      reinterpret_cast<win::LPARAM>(&r));
    win::POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    win::ClientToScreen(t, &p);
    return p;
}

void typeIntoPage(Script& s, int pageId, int id, const std::string& text) {
    s.clickOn([=] { return pageField(pageId, id); });
    s.chord({win::VK_CONTROL, 'A'}).text(text);
}

float axisLengthY(const util::AxisRecord& a) {
    return static_cast<float>(a.divCountY) * a.divLengthY;
}

TEST_F(ProgramTest, MapViewPropertiesKeepInchesAndCentimetresInStepAndApplyTheAxes) {
    writeModelDatabase();
    auto before = std::make_shared<util::AxisRecord>();
    Script s;
    chooseMenu(s, "View", "Properties");
    s.check([before] {
        win::HWND d = dialogTitled(kMapTitle);
        ASSERT_TRUE(d);
        ASSERT_TRUE(views::viewPropertiesState().ViewDialogOpen);
        *before = mainLoop().MapAxis;
        // Centimetres at start: the inch fields are disabled.
        EXPECT_EQ(win::robot::stateOf(field(kMapTitle, IDC_UNITSCM)).checked, 1);
        EXPECT_FALSE(enabled(field(kMapTitle, IDC_NAMESIZEINCH)));
        EXPECT_FALSE(enabled(pageField(IDD_NORTHINGPAGE, IDC_TITLEHEIGHTINCH)));
        EXPECT_EQ(pageText(IDD_NORTHINGPAGE, IDC_AXISTITLE), "Northing (m)");
        EXPECT_EQ(std::stoi(pageText(IDD_NORTHINGPAGE, IDC_MAJORDIVISIONS)),
                  mainLoop().MapAxis.divCountY);
        EXPECT_TRUE(shootDialog(d, "176_view_properties_map_northing"));
    });
    clickField(s, kMapTitle, IDC_UNITSINCHES);
    s.check([] {
        EXPECT_TRUE(views::viewPropertiesState().ViewDialogInches);
        EXPECT_TRUE(enabled(field(kMapTitle, IDC_NAMESIZEINCH)));
        EXPECT_FALSE(enabled(field(kMapTitle, IDC_NAMESIZECM)));
        EXPECT_TRUE(enabled(pageField(IDD_NORTHINGPAGE, IDC_TITLEHEIGHTINCH)));
    });
    // One inch of title height is 2.54 cm beside it; one more division keeps
    // the axis as long as it was.
    typeIntoPage(s, IDD_NORTHINGPAGE, IDC_TITLEHEIGHTINCH, "1");
    typeIntoPage(s, IDD_NORTHINGPAGE, IDC_MAJORDIVISIONS, "9");
    s.check([] {
        EXPECT_FLOAT_EQ(std::stof(pageText(IDD_NORTHINGPAGE, IDC_TITLEHEIGHTCM)), 2.54f);
        EXPECT_FLOAT_EQ(files::viewSettings().HIMAPV, 0.18f);  // not before Apply
    });
    s.clickAt([] { return tab(kMapTitle, IDC_MAPTABS, 1); });
    s.check([] {
        ASSERT_TRUE(win::robot::stateOf(page(IDD_EASTINGPAGE)).visible);
        EXPECT_EQ(pageText(IDD_EASTINGPAGE, IDC_AXISTITLE), "Easting (m)");
        EXPECT_TRUE(shootDialog(dialogTitled(kMapTitle), "176_view_properties_map_easting"));
    });
    clickField(s, kMapTitle, IDC_APPLY);
    s.check([before] {
        ASSERT_TRUE(dialogTitled(kMapTitle));
        const util::AxisRecord& a = mainLoop().MapAxis;
        EXPECT_EQ(a.divCountY, 9);
        EXPECT_NEAR(axisLengthY(a), axisLengthY(*before), 1e-4);
        EXPECT_FLOAT_EQ(files::viewSettings().HIMAPV, 1.0f);
    });
    // A height changed and then Cancel: the settings stay as applied.
    s.clickAt([] { return tab(kMapTitle, IDC_MAPTABS, 0); });
    typeIntoPage(s, IDD_NORTHINGPAGE, IDC_TITLEHEIGHTINCH, "2");
    clickField(s, kMapTitle, win::IDCANCEL);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kMapTitle));
        EXPECT_FALSE(views::viewPropertiesState().ViewDialogOpen);
        EXPECT_FLOAT_EQ(files::viewSettings().HIMAPV, 1.0f);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, ProfileViewPropertiesGiveTheModelSectionTheDataGraphsDistanceAxis) {
    writeModelDatabase();
    auto before = std::make_shared<util::AxisRecord>();
    Script s;
    chooseProfileMenu(s, "View", "Properties");
    s.check([before] {
        win::HWND d = dialogTitled(kProfileTitle);
        ASSERT_TRUE(d);
        *before = workingProfile().AXES[0];
        EXPECT_EQ(pageText(IDD_DATAPAGE, IDC_AXISTITLE), "Gravity Data (mgal)");
        EXPECT_TRUE(shootDialog(d, "193_view_properties_distance"));
    });
    s.clickAt([] { return tab(kProfileTitle, IDC_PROFILETABS, 1); });
    s.check([] {
        EXPECT_TRUE(win::robot::stateOf(page(IDD_DATAPAGE)).visible);
        EXPECT_TRUE(shootDialog(dialogTitled(kProfileTitle), "193_view_properties_data"));
    });
    typeIntoPage(s, IDD_DATAPAGE, IDC_MAJORDIVISIONS, "7");
    s.clickAt([] { return tab(kProfileTitle, IDC_PROFILETABS, 2); });
    s.check([] {
        EXPECT_EQ(pageText(IDD_ELEVATIONPAGE, IDC_AXISTITLE), "Elevation (m)");
        EXPECT_TRUE(shootDialog(dialogTitled(kProfileTitle), "193_view_properties_elevation"));
    });
    typeIntoPage(s, IDD_ELEVATIONPAGE, IDC_AXISTITLE, "Depth below sea (m)");
    clickField(s, kProfileTitle, win::IDOK);
    s.check([before] {
        EXPECT_FALSE(dialogTitled(kProfileTitle));
        const model::ProfileLine& w = workingProfile();
        EXPECT_EQ(w.AXES[0].divCountY, 7);
        EXPECT_NEAR(axisLengthY(w.AXES[0]), axisLengthY(*before), 1e-4);
        EXPECT_EQ(w.AXES[4].divCountX, w.AXES[0].divCountX);
        EXPECT_EQ(w.AXES[4].startX, w.AXES[0].startX);
        EXPECT_EQ(files::viewSettings().AxisLabels(4), std::string_view("Depth below sea (m)"));
        EXPECT_FALSE(w.LSAVED);
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, MapViewDialogTakesTitlesAtOnceAndCancelGivesBackTheAxesOfTheLastApply) {
    writeModelDatabase();
    auto applied = std::make_shared<util::AxisRecord>();
    auto status = std::make_shared<int>(1);
    Script s;
    // A right click on the map away from its lines opens it; here the
    // routine is called as that click does.
    s.check([status] { VIEWDLGMAP(database(), mainLoop().MapAxis, *status); });
    s.check([] {
        ASSERT_TRUE(dialogTitled(kMapTitle));
        EXPECT_FALSE(enabled(field(kMapTitle, IDC_APPLY)));
    });
    typeIntoPage(s, IDD_NORTHINGPAGE, IDC_AXISTITLE, "Grid North (m)");
    typeIntoPage(s, IDD_NORTHINGPAGE, IDC_MAJORDIVISIONS, "6");
    s.check([] {
        EXPECT_EQ(files::viewSettings().AxisLabels(7), std::string_view("Grid North (m)"));
        EXPECT_TRUE(enabled(field(kMapTitle, IDC_APPLY)));
    });
    clickField(s, kMapTitle, IDC_APPLY);
    s.check([applied] {
        EXPECT_EQ(mainLoop().MapAxis.divCountY, 6);
        EXPECT_FALSE(enabled(field(kMapTitle, IDC_APPLY)));
        *applied = mainLoop().MapAxis;
    });
    typeIntoPage(s, IDD_NORTHINGPAGE, IDC_MAJORDIVISIONS, "3");
    clickField(s, kMapTitle, win::IDCANCEL);
    s.check([applied, status] {
        EXPECT_EQ(*status, -1);
        EXPECT_FALSE(dialogTitled(kMapTitle));
        EXPECT_TRUE(mainLoop().MapAxis == *applied);
        EXPECT_EQ(files::viewSettings().AxisLabels(7), std::string_view("Grid North (m)"));
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, ARightClickOnTheMapAwayFromTheLinesOpensTheMapViewDialog) {
    writeModelDatabase();
    Script s;
    // Left of the map's frame, below the profile list and above the hints.
    const auto awayFromLines = [] {
        win::RECT r{};
        win::HWND map = tk::windowSystem().slots[0].client;
        win::GetClientRect(map, &r);
        win::POINT p{r.right * 3 / 10, r.bottom * 4 / 10};
        win::ClientToScreen(map, &p);
        return p;
    };
    s.moveTo(awayFromLines).clickAt(awayFromLines, win::robot::Button::Right);
    s.check([] {
        ASSERT_TRUE(dialogTitled(kMapTitle));
        EXPECT_EQ(shellSession().MapHitProfile, 0);
        // Its own loop: the semi-modeless View Properties are not open.
        EXPECT_FALSE(views::viewPropertiesState().ViewDialogOpen);
    });
    typeIntoPage(s, IDD_NORTHINGPAGE, IDC_MAJORDIVISIONS, "6");
    clickField(s, kMapTitle, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kMapTitle));
        EXPECT_EQ(mainLoop().MapAxis.divCountY, 6);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// The page routines by their own names: a linear page filled from one half
// of a record and read back into the other in centimetres, a log page read
// as its first decade, and the unit switches of a page and of a dialog.
TEST_F(ProgramTest, AxisPageRoutinesFillAndReadAPageInEitherUnit) {
    writeModelDatabase();
    Script s;
    s.check([] {
        constexpr int kPage = 3000 + IDD_DISTANCEPAGE;
        tk::DlgLoad(IDD_DISTANCEPAGE, kPage);
        util::AxisRecord a;
        a.startX = 100.0f;
        a.stepX = 250.0f;
        a.divCountX = 4;
        a.firstDecadeX = 5;
        const views::AxisTitle title("Distance (m)");
        views::PUTLINAXISX(kPage, a, title, 0.2f, 0.1f);
        EXPECT_FLOAT_EQ(std::stof(pageText(kPage, IDC_AXISSTEP)), 250.0f);
        EXPECT_NEAR(std::stof(pageText(kPage, IDC_TITLEHEIGHTCM)), 0.508f, 1e-4);
        EXPECT_EQ(pageText(kPage, IDC_AXISTITLE), "Distance (m)");
        tk::DlgPutReal(IDC_TITLEHEIGHTCM, 1.27f);
        util::AxisRecord b;
        views::AxisTitle back;
        float height = 0.0f, offset = 0.0f;
        views::GETLINAXISY(kPage, b, back, height, offset, false);
        EXPECT_FLOAT_EQ(b.startY, 100.0f);
        EXPECT_FLOAT_EQ(b.stepY, 250.0f);
        EXPECT_EQ(b.divCountY, 4);
        EXPECT_EQ(b.firstDecadeY, 5);
        EXPECT_EQ(b.divCountX, 0);  // the other half is left alone
        EXPECT_EQ(back, "Distance (m)");
        EXPECT_NEAR(height, 0.5f, 1e-5);
        EXPECT_NEAR(offset, 0.1f, 1e-5);
        EXPECT_NEAR(std::stof(pageText(kPage, IDC_TITLEHEIGHTINCH)), 0.5f, 1e-4);

        a.logY = true;
        a.firstDecadeY = 2;
        views::PUTLOGAXISY(kPage, a, title, 0.2f, 0.1f);
        EXPECT_FLOAT_EQ(std::stof(pageText(kPage, IDC_AXISSTART)), 100.0f);
        tk::DlgPutReal(IDC_AXISSTART, 1000.0f);
        views::GETLOGAXISY(kPage, b, back, height, offset, true);
        EXPECT_EQ(b.firstDecadeY, 3);

        for (const bool inches : {true, false}) {
            views::INCHORCMAX(kPage, inches);
            EXPECT_EQ(enabled(pageField(kPage, IDC_TITLEHEIGHTINCH)), inches);
            EXPECT_EQ(enabled(pageField(kPage, IDC_TITLEOFFSETINCH)), inches);
            EXPECT_EQ(enabled(pageField(kPage, IDC_TITLEHEIGHTCM)), !inches);
            EXPECT_EQ(enabled(pageField(kPage, IDC_TITLEOFFSETCM)), !inches);
        }
        tk::DlgSelect(kPage);
        tk::DlgUnload();

        constexpr int kDialog = 3000 + IDD_PROFILEPROPERTIES;
        tk::DlgLoad(IDD_PROFILEPROPERTIES, kDialog);
        for (const bool inches : {true, false}) {
            views::INCHORCM(kDialog, inches);
            EXPECT_EQ(enabled(pageField(kDialog, IDC_NAMESIZEINCH)), inches);
            EXPECT_EQ(enabled(pageField(kDialog, IDC_NAMESIZECM)), !inches);
            EXPECT_EQ(win::robot::stateOf(pageField(kDialog, IDC_UNITSINCHES)).checked,
                      inches ? 1 : 0);
            EXPECT_EQ(win::robot::stateOf(pageField(kDialog, IDC_UNITSCM)).checked, inches ? 0 : 1);
        }
        tk::DlgSelect(kDialog);
        tk::DlgUnload();
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
