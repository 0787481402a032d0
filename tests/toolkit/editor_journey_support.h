#pragma once
// The text and grid editors on the headless desktop with the dialog manager
// bound, the "PDF file" printer writing into a scratch folder, and the robot
// playing the user through the toolkit's own event loop.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "dialog_test_support.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/gdi/printing.h"
#include "platform/robot/screenshot.h"
#include "toolkit/dialogs/grid_window.h"
#include "toolkit/editors/editor_create.h"
#include "toolkit/editors/editor_print.h"
#include "toolkit/editors/editor_record.h"
#include "toolkit/editors/grid_print.h"
#include "toolkit/editors/editors_bind.h"
#include "toolkit/editors/grid_editor_record.h"

namespace tk::test {

// What a command prints on its standard output.
inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, p))
            out += buffer;
        pclose(p);
    }
    return out;
}

class EditorJourney : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        GridDialogHooksBind();
        EditorsBind();
        resetEditorPrintDefaults();
        // A short folder name: the windows show the paths in their titles.
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir = std::filesystem::temp_directory_path() /
              ("pe" + std::to_string(::getpid() % 100000) + "_" +
               std::to_string(std::hash<std::string>{}(test) % 1000));
        std::filesystem::create_directories(dir / "prints");
        setenv("PELK_PRINTER", "pdf", 1);
        setenv("PELK_PRINT_DIR", (dir / "prints").c_str(), 1);
    }
    void TearDown() override {
        for (int n = 1; n < kWindowSlots; ++n)
            if (slot(n).frame) win::DestroyWindow(slot(n).frame);
        resetEditorRecords();
        resetGridEditorRecords();
        resetEditorPrintDefaults();
        resetGridPrintRecords();
        unsetenv("PELK_PRINTER");
        unsetenv("PELK_PRINT_DIR");
        DialogTest::TearDown();
        std::filesystem::remove_all(dir);
    }
    // Plays the script through the toolkit's event loop until every step
    // has run and nothing is left to dispatch; the events the program would
    // have seen are kept in `events`.
    void play(win::robot::Script script) {
        win::robot::play(std::move(script));
        for (int guard = 0; guard < 200000; ++guard) {
            int type = 0;
            EventRecord rec{};
            EventPeek(type, rec);
            if (type > 0) events.push_back({type, rec});
            if (type == -1 && !win::robot::step()) return;
        }
        ADD_FAILURE() << "the script never ended";
    }
    // The kept events of a type.
    std::vector<EventRecord> eventsOf(int type) const {
        std::vector<EventRecord> out;
        for (const auto& [t, rec] : events)
            if (t == type) out.push_back(rec);
        return out;
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::string writeFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return path(name);
    }
    std::string readFile(const std::string& name) const {
        std::ifstream in(dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The text of the last printed document, as pdftotext reads it.
    static std::string printedText() {
        const std::string pdf = win::lastPrintedFile();
        if (pdf.empty()) return {};
        return commandOutput("pdftotext -layout '" + pdf + "' - 2>/dev/null");
    }
    // Saves a window's picture under the screenshot folder.
    static std::string screenshot(win::HWND window, const std::string& name) {
        const std::string folder = PELK_SCREENSHOT_DIR;
        std::filesystem::create_directories(folder);
        const std::string file = folder + "/" + name;
        EXPECT_TRUE(win::robot::saveWindowPng(window, file));
        return file;
    }
    // How many pixels of a colour a window's rectangle of the screen holds.
    static int pixelsOf(win::HWND window, win::COLORREF colour) {
        const win::Surface& s = win::robot::screen();
        const win::RECT r = win::robot::screenRect(window);
        const std::uint32_t wanted = win::pixelFromColorRef(colour);
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (s.contains(x, y) && s.at(x, y) == wanted) ++count;
        return count;
    }
    // The edit control's selection in control positions.
    static win::CHARRANGE selection(const EditorWindowRecord& r) {
        win::CHARRANGE sel{};
        win::SendMessageA(r.editControl, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
        return sel;
    }
    // Window 1, a child window with a status bar, current.
    int openEditorWindow(const char* title) {
        int n = 0;
        WindowOpenChildArgs a;
        a.title = title;
        a.width = 520;
        a.height = 340;
        a.flags = kDefaultWindowFlags | kFlagStatusBar;
        WindowOpenChild(n, a);
        OutputWindowSelect(n);
        return n;
    }

    // Window 1 (opened when none is) made a text editor; Arial 11.
    EditorWindowRecord* textEditor(int options, int& status, int mode = 2,
                                   const std::string& file = {}) {
        if (!window) window = openEditorWindow("Notes");
        OutputWindowSelect(window);
        EditorCreateArgs args;
        args.options = options;
        args.fontNumber = 3;
        args.fontSize = 11;
        args.fileName = file;
        EditorCreate(status, mode, args);
        frame = slot(window).frame;
        return editorRecordOfWindow(window);
    }

    std::filesystem::path dir;
    std::vector<std::pair<int, EventRecord>> events;
    int window = 0;
    win::HWND frame = nullptr;
};

}  // namespace tk::test
