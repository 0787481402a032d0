#pragma once
// The fixture of the end-to-end tests: the whole program runs in the test's
// process on the headless screen, in a folder of its own with its own
// settings, while the robot plays the user.

#include "shell/program.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "calc/inversion_host.h"
#include "calc/inversion_iterations.h"
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
#include "toolkit/core/event_queue.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/control_atoms.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/bitmap_store.h"
#include "toolkit/output/bitmap_viewer.h"
#include "util/abort_poll.h"
#include "util/pen_plotter.h"
#include "views/view_state.h"

namespace shell::test {

namespace fs = std::filesystem;
using win::robot::Script;

inline std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes DB as NAME.TQM into the current folder with profile 1 current, by
// the program's own writer, and frees it.
inline void saveDatabase(model::ProfileDatabase& db, const std::string& name) {
    db.DBNAME.assign(name);
    util::AxisRecord axis{};
    model::sessionState().CurrentProfile = 1;
    int status = 0;
    files::BIOPELK(db, axis, "SAVE", "", status);
    ASSERT_EQ(status, 0);
    model::CLEARDB(db);
}

// A database of two short profiles written by the program's own writer.
inline void writeDatabase(const std::string& name) {
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
        p.EFIRST = p.EAST(1);
        p.NFIRST = p.NORT(1);
        p.ELAST = p.EAST(3);
        p.NLAST = p.NORT(3);
        db.name(i) = model::listName(p.PNAME);
    }
    db.NPROF = 2;
    saveDatabase(db, name);
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
        if (const char* state = std::getenv("XDG_STATE_HOME")) oldState_ = state;
        ::setenv("XDG_STATE_HOME", (dir_ / "state").c_str(), 1);
        resetAll();
    }
    void TearDown() override {
        EXPECT_EQ(win::robot::stop(), 0u) << "robot steps were never played";
        resetAll();
        win::testing::setCommandLine("");
        win::testing::setModuleFileName("");
        if (hadConfig_)
            ::setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        if (oldState_)
            ::setenv("XDG_STATE_HOME", oldState_->c_str(), 1);
        else
            ::unsetenv("XDG_STATE_HOME");
        fs::current_path(oldCwd_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    static void resetAll() {
        win::robot::stop();
        tk::ResetBitmapViewers();
        tk::ResetBitmapStore();
        tk::resetDialogTable();
        tk::controlClassAtoms() = tk::ControlClassAtoms{};
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
        views::viewState().reset();
        util::resetPlotterState();
        util::resetAbortPollState();
        calc::resetInversionHost();
        calc::resetInversionDialogPlace();
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
    std::optional<std::string> oldState_;
};

// The main window's title names the database once the map is drawn, so the
// window is found through the toolkit's window table.
inline win::HWND mainWindow() {
    return tk::windowSystem().slots[0].frame;
}

inline win::HWND profileList() {
    return win::robot::findDescendantById(mainWindow(), IDC_PROFILELIST);
}

inline std::string listEntry(int index) {
    char text[64] = {};
    win::SendMessageA(profileList(), win::CB_GETLBTEXT, static_cast<win::WPARAM>(index),
                      reinterpret_cast<win::LPARAM>(text));
    return text;
}

inline win::HWND dialogTitled(const std::string& title) {
    return win::robot::findTopLevelByTitle(title);
}

// A click on a menu title of the window that WINDOW finds when the step
// plays (the windows exist only once the program runs).
inline void clickMenuTitle(Script& s, std::function<win::HWND()> window, const std::string& menu) {
    s.clickAt([window, menu] {
        win::RECT r{};
        if (!win::robot::menuBarItemRect(window(), menu, r))
            throw std::runtime_error("no menu title " + menu);
        return win::robot::centreOf(r);
    });
}

inline void chooseMenu(Script& s, const std::string& menu, const std::string& item) {
    clickMenuTitle(s, [] { return mainWindow(); }, menu);
    s.clickMenuItem(item);
}

// What a command of an independent reader prints on its standard output.
inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n = 0;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

// The exit status of a reader's command run on a file; what it said
// (standard output and error) in `output`.
inline int readerStatus(const std::string& command, std::string& output) {
    output.clear();
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) return -1;
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) output.append(buf, n);
    return ::pclose(p);
}

// A command as the menus and the map's context menu send it.
inline void postCommand(win::HWND window, int command) {
    win::PostMessageA(window, win::WM_COMMAND, static_cast<win::WPARAM>(command), 0);
}

// The profile window, its drawing area (no bars) and its menu bar.
inline win::HWND profileFrame() {
    const int n = profileWindow();
    return n > 0 ? tk::windowSystem().slots[static_cast<std::size_t>(n)].frame : nullptr;
}

inline win::HWND profileClient() {
    const int n = profileWindow();
    return n > 0 ? tk::windowSystem().slots[static_cast<std::size_t>(n)].client : nullptr;
}

// The width in pixels that the text of status-bar part `index` (from 0) of a
// frame takes beyond the room of its part (0 or less when it fits).
inline int statusOverflow(win::HWND frame, int index) {
    win::HWND bar = win::robot::findDescendantByClass(frame, "msctls_statusbar32");
    win::RECT r{};
    win::SendMessageA(bar, win::SB_GETRECT, static_cast<win::WPARAM>(index),
                      reinterpret_cast<win::LPARAM>(&r));
    char text[256] = {};
    win::SendMessageA(bar, win::SB_GETTEXTA, static_cast<win::WPARAM>(index),
                      reinterpret_cast<win::LPARAM>(text));
    win::HDC dc = win::GetDC(bar);
    auto font = reinterpret_cast<win::HFONT>(win::SendMessageA(bar, win::WM_GETFONT, 0, 0));
    win::SelectObject(dc, font ? font : win::GetStockObject(win::DEFAULT_GUI_FONT));
    win::SIZE size{};
    win::GetTextExtentPoint32A(dc, text, static_cast<int>(std::string_view(text).size()), &size);
    win::ReleaseDC(bar, dc);
    const int padding = 2 * 3;  // the bar's inset on either side of a text
    return size.cx - (r.right - r.left - padding);
}

inline void chooseProfileMenu(Script& s, const std::string& menu, const std::string& item) {
    s.clickAt([menu] {
        win::RECT r{};
        if (!win::robot::menuBarItemRect(profileFrame(), menu, r))
            throw std::runtime_error("no profile menu title " + menu);
        return win::robot::centreOf(r);
    });
    s.clickMenuItem(item);
}

// Walks a menu path of WINDOW's menu bar (its title, then the items of the
// pop-ups) to a command that asks for a file, and types NAME into the file
// selector titled TITLE; the step fails when the selector never opened.
inline void chooseFileThroughMenus(Script& s, std::function<win::HWND()> window,
                                   const std::vector<std::string>& path,
                                   const std::string& title, const std::string& name) {
    clickMenuTitle(s, window, path.front());
    for (std::size_t i = 1; i < path.size(); ++i) s.clickMenuItem(path[i]);
    s.check([title] { ASSERT_TRUE(dialogTitled(title)) << title; });
    s.chord({win::VK_CONTROL, 'A'}).text(name).key(win::VK_RETURN);
    // The first click after the selector only brings the main window back.
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
}

// File > Exit of the main window, answering No to saving the changed profile.
inline void exitWithoutSaving(Script& s) {
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
}

inline void saveShot(win::HWND w, const std::string& name) {
    fs::create_directories(PELK_SCREENSHOT_DIR);
    EXPECT_TRUE(win::robot::saveWindowPng(w, PELK_SCREENSHOT_DIR "/" + name));
}

inline int menuState(int window, int command, int kind) {
    tk::OutputWindowSelect(window);
    int value = -1;
    tk::MenuItemStateGet(command, kind, value);
    return value;
}

}  // namespace shell::test
