#pragma once
// The record that makes a toolkit child window a stand-alone grid editor: a
// copy of a dialog's grid field fills the window, with its own menus, keys,
// toolbar and file commands. The frame's user record (kind 4) names the
// toolbars in words 1-4 and the grid in word 5; the full record lives in a
// table by window number.

#include <array>
#include <memory>
#include <string>

#include "platform/window/user_api.h"
#include "toolkit/core/window_table.h"

namespace tk {

// Option bits of GridEditorCreate.
inline constexpr int kGridEditorNoToolbar = 0x20;
inline constexpr int kGridEditorNoNewOpen = 0x100;
inline constexpr int kGridEditorNoSaveAs = 0x200;
inline constexpr int kGridEditorNoPrint = 0x400;
inline constexpr int kGridEditorLabelsMove = 0x800;
inline constexpr int kGridEditorNoFind = 0x1000;
inline constexpr int kGridEditorNoSaving = 0x2000;
inline constexpr int kGridEditorBackup = 0x20000;
inline constexpr int kGridEditorNoHtml = 0x40000;
inline constexpr int kGridEditorIgnoreLocks = 0x80000;
inline constexpr int kGridEditorRowsFollow = 0x100000;
inline constexpr int kGridEditorNoRowCommands = 0x200000;
inline constexpr int kGridEditorNoMenu = 0x800000;
inline constexpr int kGridEditorLabelsInFiles = 0x2000000;

inline constexpr int kGridEditorToolbarId = 1001;
inline constexpr int kGridEditorGridId = 1002;

// Commands (menu items, keys and buttons share them).
inline constexpr int kGridCmdNew = 32101, kGridCmdOpen = 32102, kGridCmdSave = 32103,
                     kGridCmdSaveAs = 32104, kGridCmdPrint = 32105, kGridCmdPrintSelection = 32106,
                     kGridCmdExit = 32107, kGridCmdSaveHtml = 32108, kGridCmdSaveSelection = 32109;
inline constexpr int kGridCmdCut = 32122, kGridCmdCopy = 32123, kGridCmdPaste = 32124,
                     kGridCmdDelete = 32125, kGridCmdSelectAll = 32126, kGridCmdSort = 32127,
                     kGridCmdInsertBefore = 32128, kGridCmdInsertAfter = 32129,
                     kGridCmdDeleteRow = 32130;
inline constexpr int kGridCmdFind = 32141, kGridCmdFindNext = 32142, kGridCmdGotoCell = 32144,
                     kGridCmdGotoRow = 32145, kGridCmdGotoColumn = 32146;
inline constexpr int kGridPopupFile = 32100, kGridPopupEdit = 32120, kGridPopupSearch = 32140;

struct GridEditorRecord {
    std::array<win::HWND, 4> windowToolbars{};
    win::HWND grid = nullptr;
    win::HWND editorToolbar = nullptr;
    win::HWND toolbarTips = nullptr;
    win::HWND statusBar = nullptr;
    win::HMENU mainMenu = nullptr, filePopup = nullptr, editPopup = nullptr, searchPopup = nullptr;
    win::HACCEL editorAccelerators = nullptr;
    win::HACCEL programAccelerators = nullptr;
    int showType = 2;  // 1 modal, 2 modeless, 3 semi-modeless
    int labelsMove = 0, rowsFollow = 0, labelsInFiles = 0;
    std::string fileName;  // empty = untitled
    std::string caption;
    std::string findText;
    std::string replaceText;  // no command fills it
    std::string filter;       // '|'-separated pairs; empty = CSV and all files
    int filterIndex = 1;
    int matchCase = 0, numericColumns = 0;
    int closed = 0;
    bool allowNew = false, readOnly = false, allowOpen = false, allowSave = false,
         allowSaveAs = false, allowHtml = false, allowPrint = false, allowFind = false,
         allowRows = false;
    int ignoreLocks = 0;
    int backup = 0;
    int lastCell = 0x40001;
    int window = 0;
    win::WNDPROC previousProc = nullptr;
};

// Permissions and option fields from the option bits and the template
// grid's read-only style.
void gridEditorApplyOptions(GridEditorRecord& record, int options, bool gridReadOnly);

GridEditorRecord* gridEditorRecordOf(win::HWND frame);
GridEditorRecord* gridEditorRecordOfWindow(int window);
// Makes window n a grid editor; the table owns the record.
GridEditorRecord& gridEditorAttach(int window, std::unique_ptr<GridEditorRecord> record);
// The frame's user record names the grid and the toolbars.
void gridEditorNameWindows(const GridEditorRecord& record);
// Forgets the record of window n and clears its frame's user record.
void gridEditorDetach(int window);
void resetGridEditorRecords();

}  // namespace tk
