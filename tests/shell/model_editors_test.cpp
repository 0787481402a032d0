// Edit > Model Parameters and Edit Background Properties: the parameters of
// every body in one grid, and the background property.

#include <string>

#include "dialog_test_support.h"
#include "survey_fixture.h"

namespace shell::test {
namespace {

constexpr const char* kModel = "Edit Model Parameters";
constexpr const char* kBackground = "Edit Background";

// A box that refuses the edit is the active window: Return closes it, and
// the edit dialog under it is whole again at once.
TEST_F(ProgramTest, TheBoxOverAnEditDialogTakesReturnAndLeavesTheDialogDrawn) {
    writeModelDatabase();
    auto dialogBefore = std::make_shared<std::vector<std::uint32_t>>();
    Script s;
    chooseProfileMenu(s, "Edit", "Model Parameters");
    s.check([] { ASSERT_TRUE(dialogTitled(kModel)); });
    s.clickAt([] { return gridCell(dialogTitled(kModel), IDC_BODYGRID, 5, 1); });
    s.chord({win::VK_CONTROL, 'A'}).key(win::VK_DELETE).key(win::VK_TAB);
    s.check([dialogBefore] { *dialogBefore = windowPixels(dialogTitled(kModel)); });
    clickField(s, kModel, win::IDOK);
    s.check([] {
        win::HWND box = win::GetActiveWindow();
        ASSERT_TRUE(box);
        EXPECT_NE(box, dialogTitled(kModel));
        EXPECT_TRUE(win::robot::findDescendantByText(box, "Not all cells contain valid values"));
        saveShot(box, "message_box_over_edit_dialog.png");
        saveShot(profileFrame(), "profile_with_message_box_over_edit_dialog.png");
        saveShot(mainWindow(), "main_with_message_box_over_edit_dialog.png");
    });
    s.key(win::VK_RETURN);
    s.check([dialogBefore] {
        win::HWND d = dialogTitled(kModel);
        ASSERT_TRUE(d);
        EXPECT_EQ(win::GetActiveWindow(), d);
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Not all cells contain valid values");
        EXPECT_TRUE(windowPixels(d) == *dialogBefore) << "the dialog is not drawn whole";
    });
    clickField(s, kModel, win::IDCANCEL);
    s.check([] { EXPECT_FALSE(dialogTitled(kModel)); });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, ModelParametersMultiplyAColumnAndRefuseAnEmptyCell) {
    writeModelDatabase();
    auto before = std::make_shared<model::PolygonModel>();
    Script s;
    s.check([before] { *before = workingProfile().MODEL; });
    chooseProfileMenu(s, "Edit", "Model Parameters");
    s.check([] {
        win::HWND d = dialogTitled(kModel);
        ASSERT_TRUE(d);
        const tk::GridRecord* g = gridOf(kModel, IDC_BODYGRID);
        EXPECT_EQ(g->rowCount, 3);  // one row per body
        EXPECT_FLOAT_EQ(g->columns[1].reals[1], -0.2f);
        EXPECT_FLOAT_EQ(std::stof(win::robot::windowText(field(kModel, IDC_PROPERTY))), 2.67f);
        EXPECT_TRUE(shootDialog(d, "105_edit_model_parameters"));
    });
    // Bodies 2 and 3 multiplied; the free column asks and changes nothing.
    columnMathOnCell(s, kModel, IDC_BODYGRID, 2, 2, IDC_MULTIPLYBY, "1000");
    columnMathOnCell(s, kModel, IDC_BODYGRID, 3, 1, IDC_ADDTO, "5");
    // An emptied extent is refused and nothing is stored.
    s.clickAt([] { return gridCell(dialogTitled(kModel), IDC_BODYGRID, 5, 1); });
    s.chord({win::VK_CONTROL, 'A'}).key(win::VK_DELETE).key(win::VK_TAB);
    s.answerMessageBox(win::IDOK);
    clickField(s, kModel, win::IDOK);
    s.check([before] {
        ASSERT_TRUE(dialogTitled(kModel));
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Not all cells contain valid values");
        EXPECT_TRUE(workingProfile().MODEL == *before);
    });
    typeIntoCell(s, kModel, IDC_BODYGRID, 5, 1, "1000");
    s.clickAt([] { return gridCell(dialogTitled(kModel), IDC_BODYGRID, 3, 2); });
    clickField(s, kModel, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kModel));
        const model::PolygonModel& m = workingProfile().MODEL;
        EXPECT_FLOAT_EQ(m.DENS(1), 0.3f);
        EXPECT_FLOAT_EQ(m.DENS(2), -200.0f);
        EXPECT_FLOAT_EQ(m.DENS(3), 100.0f);
        EXPECT_FLOAT_EQ(m.XTENT1(1), 1000.0f);
        EXPECT_TRUE(m.LVFIX(1));  // the clicks on the free column checked both
        EXPECT_TRUE(m.LVFIX(2));
        EXPECT_FALSE(m.LVFIX(3));
        EXPECT_FALSE(m.LVFIX(0));  // the background's flag is not touched
        EXPECT_FALSE(workingProfile().LSAVED);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, MagneticModelParametersAndBackgroundKeepTheirRanges) {
    writeModelDatabase();
    Script s;
    s.check([] {
        shellSession().MapHitProfile = 2;
        postCommand(mainWindow(), CMD_SELECTPROFILE);
    });
    chooseProfileMenu(s, "Edit", "Model Parameters");
    s.check([] {
        win::HWND d = dialogTitled(kModel);
        ASSERT_TRUE(d);
        EXPECT_EQ(gridOf(kModel, IDC_BODYGRID)->headerLabels[7], "Inclin.");
        EXPECT_TRUE(shootDialog(d, "134_edit_model_parameters_magnetics"));
    });
    typeIntoCell(s, kModel, IDC_BODYGRID, 6, 1, "0.5");
    clickField(s, kModel, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kModel));
        EXPECT_FLOAT_EQ(workingProfile().MODEL.REMS(1), 0.5f);
        // The background's editor from the background's context menu.
        postCommand(profileFrame(), CMD_EDITBACKGROUND);
    });
    s.check([] {
        win::HWND d = dialogTitled(kBackground);
        ASSERT_TRUE(d);
        EXPECT_TRUE(shootDialog(d, "129_edit_background_magnetics"));
    });
    typeInto(s, kBackground, IDC_INCLINATION, "200");  // beyond 180
    clickField(s, kBackground, win::IDOK);
    s.check([] {
        ASSERT_TRUE(dialogTitled(kBackground));
        EXPECT_FLOAT_EQ(workingProfile().MODEL.BKINC, 0.0f);
    });
    typeInto(s, kBackground, IDC_INCLINATION, "30");
    typeInto(s, kBackground, IDC_KRATIO, "1.5");
    clickField(s, kBackground, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kBackground));
        EXPECT_FLOAT_EQ(workingProfile().MODEL.BKINC, 30.0f);
        EXPECT_FLOAT_EQ(workingProfile().MODEL.BKRAT, 1.5f);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, ModelParametersOfAModelWithoutBodiesEditTheBackground) {
    writeModelDatabase();
    Script s;
    s.check([] { workingProfile().MODEL.NBOD = 0; });
    chooseProfileMenu(s, "Edit", "Model Parameters");
    s.check([] {
        win::HWND d = dialogTitled(kBackground);
        ASSERT_TRUE(d);
        EXPECT_FALSE(win::robot::stateOf(field(kBackground, IDC_PROPERTYFREE)).enabled);
        EXPECT_TRUE(shootDialog(d, "128_edit_background"));
    });
    typeInto(s, kBackground, IDC_PROPERTY, "2.5");
    clickField(s, kBackground, win::IDCANCEL);
    s.check([] { EXPECT_FLOAT_EQ(workingProfile().MODEL.DBKG, 2.67f); });
    chooseProfileMenu(s, "Edit", "Model Parameters");
    typeInto(s, kBackground, IDC_PROPERTY, "2.5");
    clickField(s, kBackground, win::IDOK);
    s.check([] { EXPECT_FLOAT_EQ(workingProfile().MODEL.DBKG, 2.5f); });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// A sign or an exponent letter alone is no number: OK, clicked or pressed
// by Enter, says so like for any other bad number, the field keeps its text
// and the background its property.
TEST_F(ProgramTest, TheBackgroundRefusesATextWithoutDigits) {
    writeModelDatabase();
    Script s;
    s.check([] { workingProfile().MODEL.NBOD = 0; });
    chooseProfileMenu(s, "Edit", "Model Parameters");
    s.check([] { ASSERT_TRUE(dialogTitled(kBackground)); });
    const auto refused = [](const std::string& text, const std::string& shot) {
        return [text, shot] {
            win::HWND d = dialogTitled(kBackground);
            ASSERT_TRUE(d);
            ASSERT_TRUE(win::testing::lastMessageBox());
            EXPECT_EQ(win::testing::lastMessageBox()->text,
                      "Please enter a valid number instead of \"" + text + "\"");
            EXPECT_EQ(win::robot::windowText(field(kBackground, IDC_PROPERTY)), text);
            EXPECT_EQ(win::GetFocus(), field(kBackground, IDC_PROPERTY));
            EXPECT_FLOAT_EQ(workingProfile().MODEL.DBKG, 2.67f);
            EXPECT_TRUE(shootDialog(d, "128_edit_background_refuses_" + shot));
        };
    };
    typeInto(s, kBackground, IDC_PROPERTY, "-");
    s.answerMessageBox(win::IDOK);
    clickField(s, kBackground, win::IDOK);
    s.check(refused("-", "a_sign"));
    s.chord({win::VK_CONTROL, 'A'}).text("E");
    s.answerMessageBox(win::IDOK);
    s.key(win::VK_RETURN);
    s.check(refused("E", "an_exponent"));
    clickField(s, kBackground, win::IDCANCEL);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kBackground));
        EXPECT_FLOAT_EQ(workingProfile().MODEL.DBKG, 2.67f);
    });
    chooseMenu(s, "File", "Exit");  // nothing was changed
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
