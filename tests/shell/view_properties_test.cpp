// View > Properties of both windows and the map's own view dialog: axis
// pages, inches and centimetres kept in step, Apply, OK and Cancel.

#include <memory>
#include <string>

#include "dialog_test_support.h"
#include "shell/map_view_dialog.h"
#include "toolkit/dialogs/dialog_table.h"
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

}  // namespace
}  // namespace shell::test
