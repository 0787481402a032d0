// The profile window as a user meets it: opened for the selected profile with
// its status bar and toolbar, moved, closed, and opened again where it was
// left, in the same run and in the next one; and the map's profile menu.

#include "survey_fixture.h"

namespace shell::test {
namespace {

using ProfileWindowTest = ProgramTest;

win::HWND toolbarOf(win::HWND frame) {
    return win::robot::findDescendantByClass(frame, "ToolbarWindow32");
}

std::string statusText(win::HWND frame, int part) {
    win::HWND bar = win::robot::findDescendantByClass(frame, "msctls_statusbar32");
    char text[128] = {};
    win::SendMessageA(bar, win::SB_GETTEXTA, static_cast<win::WPARAM>(part),
                      reinterpret_cast<win::LPARAM>(text));
    return text;
}

// Opens the map's menu of a profile line, as a right click on it does, and
// chooses an item.
void chooseFromMapMenu(Script& s, int profile, const std::string& item) {
    s.check([profile] {
        shellSession().MapHitProfile = profile;
        tk::OutputWindowSelect(0);
        tk::MenuFloating(IDM_MAPPROFILE, 5000, 5000);
    });
    s.clickMenuItem(item);
}

TEST_F(ProfileWindowTest, OpensWhereItWasClosedInThisRunAndTheNext) {
    writeSurvey("SITE");
    win::RECT moved{};
    Script s;
    s.check([] {
        win::HWND frame = profileFrame();
        ASSERT_TRUE(frame);
        tk::OutputWindowSelect(profileWindow());
        EXPECT_EQ(tk::WindowInfoQuery(3), 295);
        EXPECT_EQ(win::robot::windowText(frame), "Profile: [Block Line]");
        // Five status-bar parts, the points and the misfit in the first two.
        win::HWND bar = win::robot::findDescendantByClass(frame, "msctls_statusbar32");
        ASSERT_TRUE(bar);
        EXPECT_EQ(win::SendMessageA(bar, win::SB_GETPARTS, 0, 0), 5);
        EXPECT_EQ(statusText(frame, 0), "41 Points");
        // The toolbar of the profile window's commands, tips included.
        win::HWND tools = toolbarOf(frame);
        ASSERT_TRUE(tools);
        EXPECT_EQ(win::SendMessageA(tools, win::TB_BUTTONCOUNT, 0, 0), 18);  // 13 and 5 gaps
        EXPECT_GE(win::SendMessageA(tools, win::TB_COMMANDTOINDEX, CMD_MULTIITER, 0), 0);
        EXPECT_GT(views::viewState().ProfileToolbarHeight, 0);
        saveShot(frame, "shell_profile_window.png");
    });
    // The user moves the window by its title bar.
    s.dragAt(
        [] {
            return win::POINT{win::robot::screenRect(profileFrame()).left + 60,
                              win::robot::screenRect(profileFrame()).top + 10};
        },
        [] {
            return win::POINT{win::robot::screenRect(profileFrame()).left + 160,
                              win::robot::screenRect(profileFrame()).top + 90};
        });
    s.check([&] { moved = win::robot::screenRect(profileFrame()); });
    chooseProfileMenu(s, "File", "Exit");
    s.check([&] {
        EXPECT_FALSE(profileWindowOpen());
        EXPECT_EQ(currentProfile(), 0);
        EXPECT_EQ(files::viewSettings().ProfileWindowPlacement.state, 1);
    });
    // Another profile opens in the same place and size.
    chooseFromMapMenu(s, 2, "Select Profile");
    s.check([&] {
        ASSERT_TRUE(profileWindowOpen());
        EXPECT_EQ(workingProfile().PNAME, std::string_view("Side Line"));
        const win::RECT r = win::robot::screenRect(profileFrame());
        EXPECT_EQ(r.left, moved.left);
        EXPECT_EQ(r.top, moved.top);
        EXPECT_EQ(r.right, moved.right);
        EXPECT_EQ(r.bottom, moved.bottom);
    });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
    EXPECT_NE(readFile(settingsFile()).find("ProfLine X="), std::string::npos);

    // The next run opens the profile window there again.
    resetAll();
    Script next;
    next.check([&] {
        ASSERT_TRUE(profileWindowOpen());
        const win::RECT r = win::robot::screenRect(profileFrame());
        EXPECT_EQ(r.left, moved.left);
        EXPECT_EQ(r.top, moved.top);
        EXPECT_EQ(r.right - r.left, moved.right - moved.left);
        EXPECT_EQ(r.bottom - r.top, moved.bottom - moved.top);
    });
    chooseMenu(next, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(next)), 0);
}

TEST_F(ProfileWindowTest, TheMapMenuRenamesAndDeletesTheProfileUnderTheCursor) {
    writeSurvey("SITE");
    Script s;
    chooseFromMapMenu(s, 2, "Rename Profile");
    s.check([] { ASSERT_TRUE(dialogTitled("Get Character String")); });
    s.clickOn(
        [] { return win::GetDlgItem(dialogTitled("Get Character String"), IDC_STRINGVALUE); });
    s.chord({win::VK_CONTROL, 'A'}).text("Far Line").key(win::VK_RETURN);
    s.check([] {
        EXPECT_EQ(database().profile(2).PNAME, std::string_view("Far Line"));
        EXPECT_EQ(listEntry(2).substr(0, 8), "Far Line");
        EXPECT_EQ(shellSession().MapHitProfile, 0);
    });
    chooseFromMapMenu(s, 1, "Delete Profile");
    s.check([] {
        win::HWND box = dialogTitled("Proceed?");
        ASSERT_TRUE(box);
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(box, IDC_PROMPT)),
                  "Delete Profile Block Line from database?");
    });
    s.key(win::VK_RETURN);
    s.check([] {
        EXPECT_EQ(database().NPROF, 1);
        EXPECT_FALSE(profileWindowOpen());  // the deleted one was open
        EXPECT_EQ(currentProfile(), 0);
    });
    // Cancel in the map's menu does nothing.
    chooseFromMapMenu(s, 1, "Cancel");
    s.check([] { EXPECT_EQ(database().NPROF, 1); });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
