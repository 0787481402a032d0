// The program end to end on the headless screen: the robot plays the user
// while the main program runs in this process, from start-up to exit.

#include "program_test_support.h"

namespace shell::test {
namespace {

TEST_F(ProgramTest, StartsWithTheCommandLineDatabaseShowsItAndWritesTheSettingsAtExit) {
    writeDatabase("SITE");
    fs::rename(dir_ / "SITE.TQM", dir_ / "site.tqm");
    Script s;
    s.check([&] {
        win::HWND main = mainWindow();
        ASSERT_TRUE(main);
        // Five status-bar parts, the profile list with the database's names
        // and the stored current profile, its profile window open.
        win::HWND bar = win::robot::findDescendantByClass(main, "msctls_statusbar32");
        ASSERT_TRUE(bar);
        EXPECT_EQ(win::SendMessageA(bar, win::SB_GETPARTS, 0, 0), 5);
        ASSERT_TRUE(profileList());
        EXPECT_EQ(win::SendMessageA(profileList(), win::CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(listEntry(0), "no profile selected");
        EXPECT_EQ(listEntry(2), "South Line");
        EXPECT_EQ(win::SendMessageA(profileList(), win::CB_GETCURSEL, 0, 0), 1);
        EXPECT_GT(profileWindow(), 0);
        EXPECT_EQ(workingProfile().PNAME, std::string_view("North Line"));
        // The hint stands wholly on the screen and over neither window.
        win::HWND hint = win::robot::findTopLevelByTitle("Hints");
        ASSERT_TRUE(hint);
        const win::RECT h = win::robot::screenRect(hint);
        EXPECT_GE(h.left, 0);
        EXPECT_GE(h.top, 0);
        EXPECT_LE(h.right, win::GetSystemMetrics(win::SM_CXSCREEN));
        EXPECT_LE(h.bottom, win::GetSystemMetrics(win::SM_CYSCREEN));
        for (win::HWND w : {main, profileFrame()}) {
            const win::RECT r = win::robot::screenRect(w);
            const bool overlaps =
                h.left < r.right && r.left < h.right && h.top < r.bottom && r.top < h.bottom;
            EXPECT_FALSE(overlaps) << win::robot::windowText(w);
        }
        fs::create_directories(PELK_SCREENSHOT_DIR);
        EXPECT_TRUE(win::robot::saveWindowPng(main, PELK_SCREENSHOT_DIR "/shell_main_window.png"));
        EXPECT_TRUE(win::robot::saveScreenPng(PELK_SCREENSHOT_DIR "/shell_screen.png"));
    });
    chooseMenu(s, "File", "Exit");
    // The lower-case extension is found on the upper-cased argument.
    EXPECT_EQ(run("pelk-gm site.tqm", std::move(s)), 0);
    EXPECT_FALSE(win::robot::playing());
    const std::string settings = readFile(settingsFile());
    EXPECT_NE(settings.find("Window W="), std::string::npos);
    EXPECT_NE(settings.find("site"), std::string::npos);  // the last database
    EXPECT_EQ(database().NPROF, 0);                       // cleared by the exit
}

TEST_F(ProgramTest, OpenChosenInTheFileDialogLoadsTheDatabase) {
    writeDatabase("AREA");
    Script s;
    s.check([] {
        ASSERT_TRUE(mainWindow());
        EXPECT_FALSE(profileList() && win::robot::stateOf(profileList()).visible);
        EXPECT_EQ(database().NPROF, 0);
    });
    chooseMenu(s, "File", "Open");
    s.check([] { ASSERT_TRUE(win::robot::findTopLevelByClass("#32770")); });
    s.chord({win::VK_CONTROL, 'A'}).text("AREA.TQM").key(win::VK_RETURN);
    s.check([] {
        EXPECT_EQ(database().NPROF, 2);
        EXPECT_EQ(database().DBNAME, std::string_view("AREA"));
        ASSERT_TRUE(profileList());
        EXPECT_EQ(listEntry(1), "North Line");
        EXPECT_EQ(currentProfile(), 1);
        EXPECT_GT(profileWindow(), 0);
    });
    // The first click after the file selector closed goes where it is aimed.
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm", std::move(s)), 0);
    // The database last opened is the one the settings remember.
    EXPECT_NE(readFile(settingsFile()).find("AREA"), std::string::npos);
}

TEST_F(ProgramTest, ExitWithUnsavedChangesAsksAndCancelReturnsToTheLoop) {
    writeDatabase("SITE");
    const std::string before = readFile(dir_ / "SITE.TQM");
    Script s;
    // Paste Model to All, with the open profile's model copied, changes the database.
    chooseProfileMenu(s, "Edit", "Copy Model");
    chooseMenu(s, "Edit", "Paste Model to All");
    s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
    s.key(win::VK_RETURN);
    s.check([] { EXPECT_FALSE(database().LDBSAV); });
    chooseMenu(s, "File", "Exit");
    s.check([] {
        win::HWND box = dialogTitled("Save Changes Dialog");
        ASSERT_TRUE(box);
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(box, IDC_SAVENAME)), "SITE");
        EXPECT_TRUE(win::robot::findDescendantByText(box, "Save Changes To"));
    });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), 2); });
    s.check([] {
        // Back in the loop: the window and the database are still there.
        EXPECT_FALSE(dialogTitled("Save Changes Dialog"));
        ASSERT_TRUE(mainWindow());
        EXPECT_EQ(database().NPROF, 2);
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
    EXPECT_EQ(readFile(dir_ / "SITE.TQM"), before);  // No wrote nothing
    EXPECT_TRUE(fs::exists(settingsFile()));
}

TEST_F(ProgramTest, DeletingAnEarlierProfileKeepsTheSelectedOneAndItsWindow) {
    writeDatabase("SITE");
    Script s;
    s.check([] {
        // Select Profile from the map's menu on the second line.
        shellSession().MapHitProfile = 2;
        postCommand(mainWindow(), CMD_SELECTPROFILE);
    });
    s.check([] {
        EXPECT_EQ(currentProfile(), 2);
        EXPECT_EQ(workingProfile().PNAME, std::string_view("South Line"));
        EXPECT_EQ(mainLoop().PropertyLabel, std::string_view("susc: "));
        EXPECT_FALSE(mainLoop().HintShown);  // a command removes the hint
        shellSession().MapHitProfile = 1;
        postCommand(mainWindow(), CMD_DELETEPROFILE);
    });
    s.check([] {
        win::HWND box = dialogTitled("Proceed?");
        ASSERT_TRUE(box);
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(box, IDC_PROMPT)),
                  "Delete Profile North Line from database?");
    });
    s.key(win::VK_RETURN);
    s.check([] {
        EXPECT_EQ(database().NPROF, 1);
        EXPECT_EQ(currentProfile(), 1);  // the same profile, one slot lower
        EXPECT_EQ(workingProfile().PNAME, std::string_view("South Line"));
        EXPECT_GT(profileWindow(), 0);
        EXPECT_EQ(win::SendMessageA(profileList(), win::CB_GETCOUNT, 0, 0), 2);
        EXPECT_FALSE(database().LDBSAV);
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, ClickModesGreyTheMenusAndIgnoreCommandsOfTheMainWindow) {
    writeDatabase("SITE");
    Script s;
    s.check([] {
        shellSession().SplitBodyMode = true;
        MENUSOFF();
        EXPECT_EQ(menuState(0, CMD_FILE, 1), 0);
        EXPECT_EQ(menuState(0, CMD_OPEN, 1), 0);
        EXPECT_EQ(menuState(profileWindow(), CMD_CALCULATE, 1), 0);
        EXPECT_FALSE(win::robot::stateOf(profileList()).enabled);
        // Clear Data from the main window is ignored while the split waits.
        postCommand(mainWindow(), CMD_CLEARDATA);
        // A command without a handler does nothing either.
        postCommand(mainWindow(), 40002);
    });
    s.check([] {
        EXPECT_FALSE(dialogTitled("Proceed?"));
        EXPECT_EQ(database().NPROF, 2);
        MENUSON();
        shellSession().SplitBodyMode = false;
        EXPECT_EQ(menuState(0, CMD_FILE, 1), 1);
        EXPECT_EQ(menuState(profileWindow(), CMD_CALCULATE, 1), 1);
        EXPECT_TRUE(win::robot::stateOf(profileList()).enabled);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
