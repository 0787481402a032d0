// The program end to end on the headless screen: the robot plays the user
// while the main program runs in this process, from start-up to exit.

#include "shell/program.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "files/database_file.h"
#include "files/session_state.h"
#include "files/view_settings.h"
#include "model/profile_database.h"
#include "model/session_state.h"
#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/kernel/environment.h"
#include "platform/message_box.h"
#include "platform/robot/finder.h"
#include "platform/robot/robot.h"
#include "platform/robot/screenshot.h"
#include "platform/window/window_system.h"
#include "shell/menus.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/view_calls.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/graphics/graphics_state.h"

namespace shell {
namespace {

namespace fs = std::filesystem;
using win::robot::Script;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A database of two short profiles written by the program's own writer.
void writeDatabase(const std::string& name) {
    model::ProfileDatabase db;
    ASSERT_TRUE(model::allocateDatabase(db));
    const char* names[] = {"North Line", "South Line"};
    for (int i = 1; i <= 2; ++i) {
        model::ProfileLine& p = db.profile(i);
        p.PNAME.assign(names[i - 1]);
        p.DTYPE.assign(i == 1 ? "Gravity" : "Magnetic Total Field");
        p.NSTA = 3;
        p.NCOMP = 1;
        int status = 0;
        model::ALLOCPF(p, status);
        ASSERT_EQ(status, 0);
        for (int k = 1; k <= 3; ++k) {
            p.EAST(k) = 100.0f * static_cast<float>(k);
            p.NORT(k) = 50.0f * static_cast<float>(i);
            p.STAT(k) = 100.0f * static_cast<float>(k - 1);
            p.DAT(k, 1) = static_cast<float>(k + i);
        }
        db.name(i) = model::listName(p.PNAME);
    }
    db.NPROF = 2;
    db.DBNAME.assign(name);
    util::AxisRecord axis{};
    model::sessionState().CurrentProfile = 1;
    int status = 0;
    files::BIOPELK(db, axis, "SAVE", "", status);
    ASSERT_EQ(status, 0);
    model::CLEARDB(db);
}

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string base = (fs::temp_directory_path() / "pelk-shell-XXXXXX").string();
        dir_ = ::mkdtemp(base.data());
        oldCwd_ = fs::current_path();
        fs::current_path(dir_);
        const char* old = std::getenv("XDG_CONFIG_HOME");
        if (old) oldConfig_ = old, hadConfig_ = true;
        ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        resetAll();
    }
    void TearDown() override {
        EXPECT_EQ(win::robot::stop(), 0u) << "robot steps were never played";
        resetAll();
        win::testing::setCommandLine("");
        if (hadConfig_)
            ::setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        fs::current_path(oldCwd_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    static void resetAll() {
        win::robot::stop();
        tk::resetDialogTable();
        tk::resetWindowSystem();
        tk::resetEventQueue();
        tk::windowDialogHooks() = tk::WindowDialogHooks{};
        tk::windowGraphicsHooks() = tk::WindowGraphicsHooks{};
        tk::windowBarHooks() = tk::WindowBarHooks{};
        tk::toolkitState().reset();
        tk::graphicsState().reset();
        tk::seams() = tk::ToolkitSeams{};
        win::resetWindowSystem();
        win::testing::resetMessageBoxes();
        files::viewSettings().reset();
        resetShellState();
        resetSmallDialogs();
        resetViewCalls();
    }
    fs::path settingsFile() const { return dir_ / "config" / "pelk-gm" / "PELK-GM.INI"; }

    // Runs the program with a command line while the robot plays `script`.
    int run(const std::string& commandLine, Script script) {
        win::testing::setCommandLine(commandLine);
        win::robot::play(std::move(script));
        return PELK();
    }

    fs::path dir_;
    fs::path oldCwd_;
    std::string oldConfig_;
    bool hadConfig_ = false;
};

// The main window's title names the database once the map is drawn, so the
// window is found through the toolkit's window table.
win::HWND mainWindow() {
    return tk::windowSystem().slots[0].frame;
}

win::HWND profileList() {
    return win::robot::findDescendantById(mainWindow(), IDC_PROFILELIST);
}

std::string listEntry(int index) {
    char text[64] = {};
    win::SendMessageA(profileList(), win::CB_GETLBTEXT, static_cast<win::WPARAM>(index),
                      reinterpret_cast<win::LPARAM>(text));
    return text;
}

win::HWND dialogTitled(const std::string& title) {
    return win::robot::findTopLevelByTitle(title);
}

void chooseMenu(Script& s, const std::string& menu, const std::string& item) {
    // The main window exists only once the program runs: its title is found
    // when the step plays.
    s.clickAt([menu] {
        win::RECT r{};
        if (!win::robot::menuBarItemRect(mainWindow(), menu, r))
            throw std::runtime_error("no menu title " + menu);
        return win::robot::centreOf(r);
    });
    s.clickMenuItem(item);
}

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
        EXPECT_TRUE(win::robot::findTopLevelByTitle("Hints") ||
                    win::robot::findDescendantByText(main, "Hints"));
        fs::create_directories(PELK_SCREENSHOT_DIR);
        EXPECT_TRUE(win::robot::saveWindowPng(main, PELK_SCREENSHOT_DIR "/shell_main_window.png"));
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
    // The first click after the file selector closed only brings the main
    // window back (the platform eats it); a click on the map does that here.
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm", std::move(s)), 0);
    // The database last opened is the one the settings remember.
    EXPECT_NE(readFile(settingsFile()).find("AREA"), std::string::npos);
}

TEST_F(ProgramTest, ExitWithUnsavedChangesAsksAndCancelReturnsToTheLoop) {
    writeDatabase("SITE");
    const std::string before = readFile(dir_ / "SITE.TQM");
    Script s;
    // Paste Model to All only marks the database changed.
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

// A command as the menus and the map's context menu send it.
void postCommand(win::HWND window, int command) {
    win::PostMessageA(window, win::WM_COMMAND, static_cast<win::WPARAM>(command), 0);
}

int menuState(int window, int command, int kind) {
    tk::OutputWindowSelect(window);
    int value = -1;
    tk::MenuItemStateGet(command, kind, value);
    return value;
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
}  // namespace shell
