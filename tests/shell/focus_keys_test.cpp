// Where keys and clicks go: the window the user works in stays active after
// the dialogs it opens, a click in its drawing area makes it active, and Alt
// with a letter opens that window's own menus.

#include "export_test_support.h"
#include "survey_fixture.h"

namespace shell::test {
namespace {

using FocusKeysTest = ProgramTest;

bool profileActive() {
    return win::GetActiveWindow() == profileFrame();
}

// A point of the profile window's drawing area away from both graphs.
win::POINT profileMargin() {
    const win::RECT r = win::robot::screenRect(profileClient());
    return {r.left + 3, r.bottom - 3};
}

// Alt with LETTER opens a pop-up of the active window that holds ITEM.
void altOpensMenuWith(Script& s, int letter, const std::string& item) {
    s.chord({win::VK_MENU, letter});
    s.check([item] {
        win::RECT r{};
        ASSERT_FALSE(win::robot::openPopupMenus().empty()) << "no menu opened for " << item;
        EXPECT_TRUE(win::robot::openMenuItemRect(item, r)) << item;
        EXPECT_FALSE(win::robot::openMenuItemRect("Open Database", r)) << "the main window's menu";
    });
    s.key(win::VK_ESCAPE).key(win::VK_ESCAPE);
    s.check([] { EXPECT_TRUE(win::robot::openPopupMenus().empty()); });
}

TEST_F(FocusKeysTest, TheProfileWindowKeepsTheKeysAfterClicksMenusAndFileDialogs) {
    writeSurvey("SITE");
    Script s;
    // A click on the main window makes it active; one in the profile
    // window's drawing area makes that one active again.
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    s.check([] { ASSERT_EQ(win::GetActiveWindow(), mainWindow()); });
    s.clickAt(profileMargin);
    s.check([] { ASSERT_TRUE(profileActive()); });
    altOpensMenuWith(s, 'F', "New Model");
    altOpensMenuWith(s, 'C', "Forward");
    s.check([] { EXPECT_TRUE(profileActive()); });
    // A file dialog opened from the profile window gives the keys back to it.
    clickMenuTitle(s, profileFrame, "File");
    s.clickMenuItem("Export");
    s.clickMenuItem("WMF Graphics File");
    s.check([] { ASSERT_TRUE(dialogTitled("WMF graphics file")); });
    s.chord({win::VK_CONTROL, 'A'}).text("profile.wmf").key(win::VK_RETURN);
    s.check([] {
        EXPECT_TRUE(fs::exists("profile.wmf"));
        EXPECT_TRUE(profileActive());
    });
    altOpensMenuWith(s, 'F', "New Model");
    // So does the inversion with its progress dialog.
    chooseProfileMenu(s, "Calculate", "Inverse...");
    s.clickMenuItem("Multiple Iterations");
    s.check([] {
        EXPECT_FALSE(workingProfile().LSAVED);
        EXPECT_TRUE(profileActive());
    });
    // And the print selection with the printer's page set-up.
    clickMenuTitle(s, profileFrame, "File");
    s.clickMenuItem("Print");
    s.check([] { ASSERT_TRUE(dialogTitled("Print Selection")); });
    s.key(win::VK_RETURN);
    s.check([] { ASSERT_TRUE(win::robot::findTopLevelByClass("#32770")); });
    s.key(win::VK_RETURN);
    s.check([this] {
        EXPECT_FALSE(fs::is_empty(dir_ / "prints"));
        EXPECT_TRUE(profileActive());
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    fs::create_directories(dir_ / "prints");
    ::setenv("PELK_PRINTER", "pdf", 1);
    ::setenv("PELK_PRINT_DIR", (dir_ / "prints").c_str(), 1);
    const int code = run("pelk-gm SITE.TQM", std::move(s));
    ::unsetenv("PELK_PRINTER");
    ::unsetenv("PELK_PRINT_DIR");
    EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace shell::test
