#pragma once
// The record that makes a toolkit child window a text editor: the controls,
// menus and accelerators the editor made, its permissions, and the state of
// every file it keeps open. The frame's own user record (kind 1) points here;
// the records live in a table by window number so that the window table's
// fixed-size frame records need not grow.

#include <array>
#include <memory>
#include <string>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/window_table.h"

namespace tk {

inline constexpr int kEditorMaxFiles = 20;
inline constexpr int kEditorTextLimit = 104857500;

// Control identifiers inside the editor frame.
inline constexpr int kEditorToolbarId = 1001;
inline constexpr int kEditorControlId = 1002;
inline constexpr int kEditorCommandLineId = 1004;
inline constexpr int kEditorPromptId = 1005;

// The option bits given to EditorCreate.
inline constexpr int kEditorWordWrap = 0x1;
inline constexpr int kEditorReadOnly = 0x4;
inline constexpr int kEditorCommandLine = 0x8;
inline constexpr int kEditorCommandHistory = 0x10;
inline constexpr int kEditorNoToolbar = 0x20;
inline constexpr int kEditorRichText = 0x40;
inline constexpr int kEditorModifiedMark = 0x80;
inline constexpr int kEditorNoNewOpen = 0x100;
inline constexpr int kEditorNoSaveAs = 0x200;
inline constexpr int kEditorNoPrint = 0x400;
inline constexpr int kEditorNoSaving = 0x2000;
inline constexpr int kEditorSeveralFiles = 0x4000;
inline constexpr int kEditorNoClose = 0x8000;
inline constexpr int kEditorNativePositions = 0x10000;
inline constexpr int kEditorBackupCopies = 0x20000;
inline constexpr int kEditorHideFileName = 0x400000;
inline constexpr int kEditorNoMenu = 0x800000;
inline constexpr int kEditorQuietOpenErrors = 0x1000000;
inline constexpr int kEditorProgramPrints = 0x4000000;
inline constexpr int kEditorUnderlineReserved = 0x8000000;

struct EditorWindowRecord {
    int kind = KindTextEditor;
    std::array<win::HWND, 4> windowToolbars{};
    win::HWND editControl = nullptr;
    win::HWND editorToolbar = nullptr;
    win::HWND toolbarTips = nullptr;
    win::HWND statusBar = nullptr;
    win::HWND commandControl = nullptr;
    win::HWND commandEdit = nullptr;
    win::HWND promptFrame = nullptr;
    win::HWND promptText = nullptr;
    win::HWND findDialog = nullptr;
    win::HWND focusControl = nullptr;
    win::HMENU mainMenu = nullptr;
    win::HMENU filePopup = nullptr;
    win::HMENU editPopup = nullptr;
    win::HMENU searchPopup = nullptr;
    win::HMENU formatPopup = nullptr;
    win::HMENU viewPopup = nullptr;
    win::HACCEL editorAccelerators = nullptr;
    win::HACCEL programAccelerators = nullptr;
    win::HACCEL paneAccelerators = nullptr;
    int mode = 0;  // 1 modal, 2 modeless, 3 semi-modeless
    int textLimit = kEditorTextLimit;
    int commandHeight = 0;
    int promptOffset = 0;
    int promptWidth = 0;
    int changed = 0;
    int editGuard = 1;
    std::array<int, kEditorMaxFiles + 1> filterIndex{};  // by file number 1..20
    int currentFile = 1;
    int fileCount = 1;
    std::string fileName;  // full path of the shown file, empty = untitled (at most 259)
    std::string title;     // the frame's title before the editor took it
    std::string findText;
    std::string replaceText;
    // The find request's own buffers: the dialogs write into them.
    std::array<char, 1024> findBuffer{};
    std::array<char, 1024> replaceBuffer{};
    win::FINDREPLACEA findRequest;
    std::string fileFilter;  // NUL-separated pairs ending in an empty string; empty = defaults
    int closed = 0;
    int insertMode = 1;
    // Permissions and options fixed at creation.
    bool allowNew = false, readOnly = false, allowOpen = false, allowSave = false,
         allowSaveAs = false, allowPrint = false, formatting = false, severalFiles = false,
         hideFileName = false, quietOpenErrors = false, programPrints = false,
         underlineReserved = false;
    bool colourCoding = false;
    bool displayFrozen = false;
    std::array<int, 2> frozenSelection{};  // kept while the display is frozen
    int frozenFirstLine = 0;
    bool nativePositions = false, backupCopies = false, modifiedMark = false;
    bool richText = false;
    bool wordWrap = false;
    bool closeItem = false;
    win::HFONT font = nullptr;
    int fontNumber = 0, fontSize = 0;
    int lineHeight = 0;
    int characterHeight = 0;
    std::array<win::HANDLE, kEditorMaxFiles + 1> keptFile{};  // by file number
    int cacheControl = -1, cacheProgram = -1;
    std::array<int, kEditorMaxFiles + 1> bookmark{};
    std::array<int, kEditorMaxFiles + 1> bookmarkLength{};
    int window = 0;                       // the window number of the frame
    win::WNDPROC previousProc = nullptr;  // the frame procedure the editor replaced
};

// Sets the permissions and options of a fresh record from the option bits.
void EditorApplyOptions(EditorWindowRecord& record, int options);

// The editor record of a frame, or null when the frame is no text editor.
EditorWindowRecord* editorRecordOf(win::HWND frame);
// The editor record of the toolkit's current window, or null.
EditorWindowRecord* editorOfCurrentWindow();
// The editor record of window n (0-50), or null.
EditorWindowRecord* editorRecordOfWindow(int window);
// Makes window n an editor with the record (the table owns it) and marks
// its frame as kind 1.
EditorWindowRecord& editorAttach(int window, std::unique_ptr<EditorWindowRecord> record);
// Forgets the editor of window n and clears its frame's record.
void editorDetach(int window);
// Forgets every editor record (tests).
void resetEditorRecords();

}  // namespace tk
