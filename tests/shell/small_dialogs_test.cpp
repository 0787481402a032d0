// The small questions of the shell through the commands that ask them: a
// number, a text, the colour-fill settings, and the name of a new line.

#include <array>

#include "dialog_test_support.h"

namespace shell::test {
namespace {

float fieldNumber(const std::string& title, int id) {
    return std::stof(win::robot::windowText(field(title, id)));
}

TEST_F(ProgramTest, ColourFillPropertiesOfferTheModelRangeAndStoreOnlyOnOk) {
    writeModelDatabase();
    constexpr const char* kTitle = "Color Fill Properties";
    Script s;
    chooseProfileMenu(s, "View", "Color Fill Properties");
    s.check([=] {
        win::HWND d = dialogTitled(kTitle);
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(field(kTitle, IDC_FILLGRIDX)), "150");
        EXPECT_EQ(win::robot::windowText(field(kTitle, IDC_FILLGRIDY)), "75");
        EXPECT_FLOAT_EQ(fieldNumber(kTitle, IDC_FILLTO), 5.0f);
        // The hint is drawn on yellow.
        EXPECT_GT(pixelsOfColour(field(kTitle, IDC_FILLHINT), win::RGB(255, 255, 0)), 1000);
        EXPECT_TRUE(shootDialog(d, "102_color_fill_properties"));
    });
    clickField(s, kTitle, IDC_AUTOSCALE);
    s.check([=] {
        ASSERT_TRUE(dialogTitled(kTitle));
        // The background 2.67 and the bodies 0.3, -0.2 and 0.1.
        EXPECT_NEAR(fieldNumber(kTitle, IDC_FILLFROM), -0.2f, 1e-4);
        EXPECT_NEAR(fieldNumber(kTitle, IDC_FILLTO), 2.67f, 1e-4);
    });
    clickField(s, kTitle, win::IDCANCEL);
    s.check([] {
        EXPECT_FLOAT_EQ(files::viewSettings().FILL_MIN, 0.0f);
        EXPECT_FLOAT_EQ(files::viewSettings().FILL_MAX, 5.0f);
    });
    chooseProfileMenu(s, "View", "Color Fill Properties");
    typeInto(s, kTitle, IDC_FILLGRIDX, "10");  // below 25
    clickField(s, kTitle, win::IDOK);
    s.check([=] {
        ASSERT_TRUE(dialogTitled(kTitle));
        EXPECT_EQ(files::viewSettings().ColorGridX, 150);
    });
    typeInto(s, kTitle, IDC_FILLGRIDX, "300");
    typeInto(s, kTitle, IDC_FILLTO, "3.5");
    clickField(s, kTitle, IDC_REVERSEFILL);
    clickField(s, kTitle, win::IDOK);
    s.check([=] {
        EXPECT_FALSE(dialogTitled(kTitle));
        EXPECT_EQ(files::viewSettings().ColorGridX, 300);
        EXPECT_EQ(files::viewSettings().ColorGridY, 75);
        EXPECT_FLOAT_EQ(files::viewSettings().FILL_MAX, 3.5f);
        EXPECT_TRUE(files::sessionState().LREDTOBLUE);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, ANumberAndATextAreAskedAndCancelKeepsThem) {
    writeModelDatabase();
    Script s;
    // Transfer Synthetic to Data asks for the noise in per cent.
    s.check([] { workingProfile().LSYN = true; });
    chooseProfileMenu(s, "File", "Transfer Synthetic to Data");
    s.check([] {
        win::HWND d = dialogTitled("Get Floating Point Number");
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(field("Get Floating Point Number", IDC_PROMPT)),
                  "Add random noise to Synthetic (%)");
        EXPECT_TRUE(shootDialog(d, "118_get_floating_point_number"));
        // Moved by the user: it opens there again for the rest of the run.
        win::RECT r{};
        win::GetWindowRect(d, &r);
        win::MoveWindow(d, 40, 60, r.right - r.left, r.bottom - r.top, win::TRUE);
    });
    typeInto(s, "Get Floating Point Number", IDC_NUMBERVALUE, "2.5");
    clickField(s, "Get Floating Point Number", win::IDCANCEL);
    s.check([] {
        EXPECT_FLOAT_EQ(shellSession().NoisePercent, 0.0f);
        EXPECT_TRUE(workingProfile().LSYN);  // nothing transferred
    });
    chooseProfileMenu(s, "File", "Transfer Synthetic to Data");
    s.check([] {
        win::HWND d = dialogTitled("Get Floating Point Number");
        ASSERT_TRUE(d);
        win::RECT r{};
        win::GetWindowRect(d, &r);
        EXPECT_EQ(r.left, 40);
        EXPECT_EQ(r.top, 60);
    });
    typeInto(s, "Get Floating Point Number", IDC_NUMBERVALUE, "2.5");
    clickField(s, "Get Floating Point Number", win::IDOK);
    s.check([] {
        EXPECT_FLOAT_EQ(shellSession().NoisePercent, 2.5f);
        EXPECT_FALSE(workingProfile().LSYN);
    });
    // Rename Profile asks for the new name.
    chooseProfileMenu(s, "File", "Rename Profile");
    s.check([] {
        win::HWND d = dialogTitled("Get Character String");
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(field("Get Character String", IDC_PROMPT)),
                  "Enter new name for Profile (old name is Gravity Line):");
        EXPECT_TRUE(shootDialog(d, "201_get_character_string"));
    });
    typeInto(s, "Get Character String", IDC_STRINGVALUE, "Other Name");
    clickField(s, "Get Character String", win::IDCANCEL);
    s.check([] { EXPECT_EQ(database().profile(1).PNAME, std::string_view("Gravity Line")); });
    chooseProfileMenu(s, "File", "Rename Profile");
    typeInto(s, "Get Character String", IDC_STRINGVALUE, "Ridge Line");
    clickField(s, "Get Character String", win::IDOK);
    s.check([] {
        EXPECT_EQ(database().profile(1).PNAME, std::string_view("Ridge Line"));
        EXPECT_EQ(workingProfile().PNAME, std::string_view("Ridge Line"));
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, TheNameOfANewLineMustBeGivenAndUnique) {
    writeModelDatabase();
    constexpr const char* kTitle = "Profile Line Finish";
    auto name = std::make_shared<std::array<char, 20>>();
    auto status = std::make_shared<int>(1);
    Script s;
    // No command asks for it: the routine is called as a command would.
    s.check([=] {
        name->fill(' ');
        CLNAMEINDLG(*name, database(), *status);
    });
    s.check([=] {
        win::HWND d = dialogTitled(kTitle);
        ASSERT_TRUE(d);
        EXPECT_TRUE(shootDialog(d, "189_profile_line_finish"));
    });
    s.answerMessageBox(win::IDOK);
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Profile name must not be blank");
    });
    typeInto(s, kTitle, IDC_LINENAME, "Magnetic Line");
    s.answerMessageBox(win::IDOK);
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        EXPECT_EQ(win::testing::lastMessageBox()->text,
                  "Profile name must be unique. Magnetic Line        already used");
    });
    typeInto(s, kTitle, IDC_LINENAME, "East Line");
    clickField(s, kTitle, win::IDOK);
    s.check([=] {
        EXPECT_FALSE(dialogTitled(kTitle));
        EXPECT_EQ(*status, 0);
        EXPECT_EQ(std::string(name->data(), name->size()), "East Line           ");
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// The profile list follows the database: hidden while it holds no profile,
// and the events it holds back while refilling arrive again either way.
TEST_F(ProgramTest, TheProfileListIsHiddenForAnEmptyDatabaseAndShownAgain) {
    writeModelDatabase();
    Script s;
    s.check([] {
        ASSERT_EQ(shellSession().ListDialog, IDD_PROFILELIST);
        win::HWND list = tk::dialogWindowOf(IDD_PROFILELIST);
        ASSERT_TRUE(list);
        EXPECT_TRUE(shootDialog(list, "186_profile_list"));

        const model::ProfileDatabase empty;
        SHOWLISTS(empty, shellSession().ListDialog);
        EXPECT_EQ(shellSession().ListDialog, 0);
        EXPECT_FALSE(win::IsWindowVisible(list));
        for (const int type : {tk::FieldChanged, tk::Resize, tk::Expose}) {
            int on = 0;
            tk::EventTypeSetting(type, on);
            EXPECT_EQ(on, 1) << "event type " << type;
        }

        SHOWLISTS(database(), shellSession().ListDialog);
        EXPECT_EQ(shellSession().ListDialog, IDD_PROFILELIST);
        EXPECT_TRUE(win::IsWindowVisible(list));
        EXPECT_EQ(win::SendMessageA(profileList(), win::CB_GETCOUNT, 0, 0), database().NPROF + 1);
        EXPECT_EQ(win::SendMessageA(profileList(), win::CB_GETCURSEL, 0, 0),
                  model::sessionState().CurrentProfile);
        EXPECT_EQ(listEntry(0), "no profile selected");
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
