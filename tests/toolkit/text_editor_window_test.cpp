// The text editor window: what EditorCreate refuses, the menus and toolbar
// buttons each set of options gives, the status-bar fields, and opening
// further files in a multi-file editor.

#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/window/menu_api.h"
#include "text_editor_test_support.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/editors/editor_command_table.h"
#include "toolkit/editors/editor_commands.h"
#include "toolkit/editors/editor_create.h"
#include "toolkit/editors/editor_open.h"

namespace tk::test {
namespace {

class EditorWindowTest : public EditorTest {
  protected:
    void TearDown() override {
        for (int n = 1; n < kWindowSlots; ++n)
            if (editorRecordOfWindow(n) && slot(n).frame) win::DestroyWindow(slot(n).frame);
        EditorTest::TearDown();
    }
    // Opens window 1 (with a status bar when asked) and makes it an editor.
    EditorWindowRecord* create(int options, int& status, int mode = 2, bool statusBar = false,
                               const std::string& file = {}) {
        if (!slot(0).frame) openRoot();
        int n = 0;
        if (!slot(1).frame) {
            WindowOpenChildArgs a;
            a.title = "Edit";
            if (statusBar) a.flags = kDefaultWindowFlags | kFlagStatusBar;
            WindowOpenChild(n, a);
        }
        OutputWindowSelect(1);
        EditorCreateArgs args;
        args.options = options;
        args.fileName = file;
        EditorCreate(status, mode, args);
        frame = slot(1).frame;
        return editorRecordOfWindow(1);
    }
    static std::vector<std::string> items(win::HMENU menu) {
        std::vector<std::string> out;
        for (int i = 0; i < win::GetMenuItemCount(menu); ++i) {
            char text[128] = {};
            win::GetMenuStringA(menu, static_cast<win::UINT>(i), text, sizeof text,
                                win::MF_BYPOSITION);
            out.push_back(text[0] ? text : "-");
        }
        return out;
    }
    // The toolbar's commands in order (0 for a separator), with "off" marks
    // for disabled buttons.
    static std::vector<std::string> buttons(win::HWND bar) {
        std::vector<std::string> out;
        const auto count = win::SendMessageA(bar, win::TB_BUTTONCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            win::TBBUTTON b;
            win::SendMessageA(bar, win::TB_GETBUTTON, static_cast<win::WPARAM>(i),
                              reinterpret_cast<win::LPARAM>(&b));
            if (b.fsStyle & win::TBSTYLE_SEP) {
                out.push_back("|");
                continue;
            }
            const EditorCommandEntry* e = editorCommand(b.idCommand);
            std::string name = e && e->tip ? e->tip : std::to_string(b.idCommand);
            if (!(b.fsState & win::TBSTATE_ENABLED)) name += " off";
            out.push_back(name);
        }
        return out;
    }
    static std::string statusText(win::HWND bar, int part) {
        char text[128] = {};
        win::SendMessageA(bar, win::SB_GETTEXTA, static_cast<win::WPARAM>(part),
                          reinterpret_cast<win::LPARAM>(text));
        return text;
    }
};

using Items = std::vector<std::string>;

TEST_F(EditorWindowTest, PlainEditorHasFileEditAndSearchMenusAndTheStandardButtons) {
    int status = 0;
    EditorWindowRecord* r = create(0, status);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(r->mode, 2);
    win::HMENU bar = win::GetMenu(frame);
    ASSERT_EQ(bar, r->mainMenu);
    EXPECT_EQ(items(bar), (Items{"&File", "&Edit", "&Search"}));
    EXPECT_EQ(items(r->filePopup),
              (Items{"&New\tCtrl+N", "&Open\tCtrl+O", "&Save\tCtrl+S", "Save &As\tF12", "-",
                     "&Print\tCtrl+P", "Prin&t Selection\tCtrl+Shift+P", "-", "E&xit"}));
    EXPECT_EQ(items(r->editPopup),
              (Items{"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C",
                     "&Paste\tCtrl+V", "&Delete\tDel", "-", "Select &All\tCtrl+A"}));
    EXPECT_EQ(items(r->searchPopup), (Items{"&Find\tCtrl+F", "Find &Next\tF3", "&Replace\tCtrl+H",
                                            "-", "&Set Bookmark\tShift+F2", "Goto &Bookmark\tF2"}));
    EXPECT_EQ(r->formatPopup, nullptr);
    EXPECT_EQ(r->viewPopup, nullptr);
    EXPECT_EQ(buttons(r->editorToolbar),
              (Items{"New", "Open", "Save", "|", "Print", "|", "Find", "|", "Cut off", "Copy off",
                     "Paste", "Undo off", "Redo off"}));
    EXPECT_EQ(win::GetDlgCtrlID(r->editControl), kEditorControlId);
    EXPECT_TRUE(win::IsWindowVisible(r->editControl));
    EXPECT_FALSE(win::IsWindowVisible(slot(1).client));
    EXPECT_EQ(win::GetFocus(), r->editControl);
    EXPECT_EQ(editorHelpText(*r, kCmdExit), "Closes the editor; prompts you to save changes");
}

// A text editor's own toolbar lies above its text: a placed size is the
// text area's, the window grows by the bar.
TEST_F(EditorWindowTest, PlacingAnEditorAddsItsToolbarToTheAskedSize) {
    int status = 0;
    EditorWindowRecord* r = create(0, status);
    ASSERT_NE(r, nullptr);
    ASSERT_TRUE(r->editorToolbar);
    const int bar = screenRect(r->editorToolbar).bottom - screenRect(r->editorToolbar).top;
    ASSERT_GT(bar, 0);
    WindowPlacement p;
    p.width = 300;
    p.height = 200;
    WindowPlacementSet(p);
    EXPECT_EQ(clientSize(slot(1).client).cx, 300);
    EXPECT_EQ(clientSize(slot(1).client).cy, 200 + bar);
}

TEST_F(EditorWindowTest, ReadOnlyBrowserOffersNoEditingOrSaving) {
    int status = 0;
    EditorWindowRecord* r = create(kEditorReadOnly, status);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(items(r->filePopup), (Items{"&Open\tCtrl+O", "Save &As\tF12", "-", "&Print\tCtrl+P",
                                          "Prin&t Selection\tCtrl+Shift+P", "-", "E&xit"}));
    EXPECT_EQ(items(r->editPopup), (Items{"&Copy\tCtrl+C", "-", "Select &All\tCtrl+A"}));
    EXPECT_EQ(items(r->searchPopup), (Items{"&Find\tCtrl+F", "Find &Next\tF3", "-",
                                            "&Set Bookmark\tShift+F2", "Goto &Bookmark\tF2"}));
    EXPECT_EQ(buttons(r->editorToolbar),
              (Items{"Open", "|", "Print", "|", "Find", "|", "Copy off"}));
    EXPECT_EQ(editorHelpText(*r, kCmdExit), "Closes the browser");
    EXPECT_TRUE(win::GetWindowLongA(r->editControl, win::GWL_STYLE) & win::ES_READONLY);
}

TEST_F(EditorWindowTest, RefusesTheRootWindowAndWindowsOfAnotherKind) {
    openRoot();
    OutputWindowSelect(0);
    int status = 0, mode = 2;
    EditorCreate(status, mode, EditorCreateArgs{});
    EXPECT_EQ(status, kEditorCreateRoot);

    int n = 0;
    WindowOpenChild(n, WindowOpenChildArgs{});
    auto other = std::make_unique<FrameUserRecord>();
    other->words[0] = KindBitmapViewer;
    setFrameRecord(n, std::move(other));
    status = 0;
    OutputWindowSelect(n);
    EditorCreate(status, mode, EditorCreateArgs{});
    EXPECT_EQ(status, kEditorCreateOtherKind);
    EXPECT_EQ(editorRecordOfWindow(n), nullptr);
    setFrameRecord(n, nullptr);
}

TEST_F(EditorWindowTest, StatusBarShowsPositionAndInsertModeAndTitleTheFile) {
    const std::string file = writeFile("s.txt", "ab\r\ncdefg\r\nhijklmn");
    int status = 0;
    EditorWindowRecord* r = create(kEditorModifiedMark, status, 2, true, file);
    ASSERT_NE(r, nullptr);
    ASSERT_NE(r->statusBar, nullptr);
    EXPECT_EQ(statusText(r->statusBar, 3), "\tINS");
    EXPECT_EQ(editorControlText(*r), "ab\r\ncdefg\r\nhijklmn");
    char title[300] = {};
    win::GetWindowTextA(frame, title, sizeof title);
    EXPECT_EQ(std::string(title), "Edit - [" + file + "]");
    // The end of the selection at the fifth character of the third line.
    win::CHARRANGE sel{0, editorControlVersion(*r) >= 2 ? 13 : 15};
    win::SendMessageA(r->editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    EXPECT_EQ(statusText(r->statusBar, 0), "Line:3   Col:5");
    // Insert switches overwriting, and the status bar says so.
    win::SendMessageA(r->editControl, win::WM_KEYDOWN, win::VK_INSERT, 0);
    EXPECT_EQ(statusText(r->statusBar, 3), "\tOVR");
    EXPECT_EQ(r->insertMode, 0);
    win::SendMessageA(r->editControl, win::WM_KEYDOWN, win::VK_INSERT, 0);
    EXPECT_EQ(statusText(r->statusBar, 3), "\tINS");
    // Highlighted items and popups show their help in the simple part.
    win::SendMessageA(frame, win::WM_MENUSELECT, win::MAKEWPARAM(kCmdSaveAs, 0),
                      reinterpret_cast<win::LPARAM>(r->filePopup));
    EXPECT_EQ(statusText(r->statusBar, win::SB_SIMPLEID),
              "Saves the active document with a new name");
    win::SendMessageA(frame, win::WM_MENUSELECT, win::MAKEWPARAM(1, win::MF_POPUP),
                      reinterpret_cast<win::LPARAM>(r->mainMenu));
    EXPECT_EQ(statusText(r->statusBar, win::SB_SIMPLEID), "Commands for editing text");
}

TEST_F(EditorWindowTest, MultiFileEditorListsItsFilesInTheViewMenu) {
    const std::string a = writeFile("a.txt", "first");
    const std::string b = writeFile("b.txt", "second");
    int status = 0;
    EditorWindowRecord* r = create(kEditorSeveralFiles | kEditorRichText, status);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(items(win::GetMenu(frame)), (Items{"&File", "&Edit", "&Search", "F&ormat", "&View"}));
    EXPECT_EQ(items(r->viewPopup), (Items{"&1\tUntitled"}));
    // The blank first file gives way to the first file opened.
    create(kEditorSeveralFiles, status, 2, false, a);
    create(kEditorSeveralFiles, status, 2, false, b);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(r->fileCount, 2);
    EXPECT_EQ(r->currentFile, 2);
    EXPECT_EQ(items(r->viewPopup), (Items{"&1\t" + a, "&2\t" + b}));
    EXPECT_EQ(editorControlText(*r), "second");
    // Opening a file already open makes it current again.
    create(kEditorSeveralFiles, status, 2, false, a);
    EXPECT_EQ(r->fileCount, 2);
    EXPECT_EQ(r->currentFile, 1);
    EXPECT_EQ(editorControlText(*r), "first");
    EXPECT_EQ(r->fileName, a);
    EXPECT_TRUE(win::GetMenuState(r->viewPopup, kCmdViewBase + 1, win::MF_BYCOMMAND) &
                win::MF_CHECKED);
    EXPECT_FALSE(win::GetMenuState(r->viewPopup, kCmdViewBase + 2, win::MF_BYCOMMAND) &
                 win::MF_CHECKED);
}

TEST_F(EditorWindowTest, ClosingTheMiddleFileRenumbersTheOthers) {
    const std::string a = writeFile("a.txt", "first");
    const std::string b = writeFile("b.txt", "second");
    const std::string c = writeFile("c.txt", "third");
    int status = 0;
    EditorWindowRecord* r = create(kEditorSeveralFiles, status);
    ASSERT_NE(r, nullptr);
    for (const std::string& f : {a, b, c})
        create(kEditorSeveralFiles, status, 2, false, f);
    ASSERT_EQ(r->fileCount, 3);
    EditorSelectFile(frame, 2);
    ASSERT_EQ(editorControlText(*r), "second");
    win::SendMessageA(frame, win::WM_COMMAND, kCmdClose, 0);
    EXPECT_EQ(r->fileCount, 2);
    EXPECT_EQ(r->currentFile, 2);
    EXPECT_EQ(r->fileName, c);
    EXPECT_EQ(editorControlText(*r), "third");
    EXPECT_EQ(items(r->viewPopup), (Items{"&1\t" + a, "&2\t" + c}));
    EXPECT_TRUE(win::GetMenuState(r->viewPopup, kCmdViewBase + 2, win::MF_BYCOMMAND) &
                win::MF_CHECKED);
    // The file kept open is the third one's, now under number 2.
    EXPECT_NE(r->keptFile[2], nullptr);
    EXPECT_EQ(r->keptFile[3], nullptr);
    EditorSelectFile(frame, 1);
    EXPECT_EQ(editorControlText(*r), "first");
}

}  // namespace
}  // namespace tk::test
