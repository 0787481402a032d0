#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/window/menu_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/frame_procs.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/message_box.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_clipboard.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/grid_window.h"
#include "toolkit/editors/editor_modal.h"
#include "toolkit/editors/grid_editor_commands.h"
#include "toolkit/editors/grid_editor_files.h"
#include "toolkit/editors/grid_editor_menus.h"
#include "toolkit/editors/grid_editor_window.h"

namespace tk {
namespace {

// The font every grid editor window answers WM_GETFONT with.
win::HFONT& keptFont() {
    static win::HFONT font = nullptr;
    return font;
}

win::LRESULT passOn(const GridEditorRecord* r, win::HWND h, win::UINT msg, win::WPARAM wp,
                    win::LPARAM lp) {
    if (r && r->previousProc) return win::CallWindowProcA(r->previousProc, h, msg, wp, lp);
    return FrameWindowProcedure(h, msg, wp, lp);
}

GridRecord* gridOf(const GridEditorRecord& r) {
    return gridRecordOfWindow(r.grid);
}

void statusText(const GridEditorRecord& r, int part, const std::string& text) {
    if (r.statusBar)
        win::SendMessageA(r.statusBar, win::SB_SETTEXTA,
                          static_cast<win::WPARAM>(part | win::SBT_NOBORDERS),
                          reinterpret_cast<win::LPARAM>(text.c_str()));
}

void cellChanged(GridEditorRecord& r, win::LPARAM lp) {
    const int cell = static_cast<int>(lp);
    char text[32];
    std::snprintf(text, sizeof text, "\t\t%u", static_cast<unsigned>(cell & 0x3FFFF));
    statusText(r, 1, text);
    std::snprintf(text, sizeof text, "\t\t%u", static_cast<unsigned>(cell >> 18));
    statusText(r, 3, text);
    if (r.statusBar) win::UpdateWindow(r.statusBar);
    EventQueueState& s = eventQueue();
    if (r.showType != 1 && s.enable[FieldChanged - 1]) {
        StoredEvent& e = s.current;
        const bool continuing = e.type == FieldChanged && e.window == r.window;
        e.type = FieldChanged;
        e.window = r.window;
        e.values = {0, 0, 0, -1};
        if (!continuing) e.x = r.lastCell;
        e.y = cell;
        e.time = static_cast<int>(win::GetMessageTime());
        s.waitState = 0;
    }
    r.lastCell = cell;
}

// Lays the editor's toolbar and the grid over the area the frame left for
// its hidden drawing window.
void layout(win::HWND frame, GridEditorRecord& r) {
    win::HWND client = windowSystem().slots[static_cast<std::size_t>(r.window)].client;
    if (!client) return;
    win::RECT area{};
    win::GetWindowRect(client, &area);
    win::POINT corner{area.left, area.top};
    win::ScreenToClient(frame, &corner);
    int top = corner.y, height = area.bottom - area.top;
    const int width = area.right - area.left;
    if (r.editorToolbar) {
        win::SendMessageA(r.editorToolbar, win::TB_AUTOSIZE, 0, 0);
        win::RECT bar{};
        win::GetWindowRect(r.editorToolbar, &bar);
        win::MoveWindow(r.editorToolbar, corner.x, top, width, bar.bottom - bar.top, win::TRUE);
        top += bar.bottom - bar.top;
        height -= bar.bottom - bar.top;
    }
    if (r.grid) win::MoveWindow(r.grid, corner.x, top, width, std::max(0, height), win::TRUE);
}

void enable(win::HMENU menu, int id, bool on) {
    win::EnableMenuItem(menu, static_cast<win::UINT>(id),
                        win::MF_BYCOMMAND | (on ? win::MF_ENABLED : win::MF_GRAYED));
}

bool anyLocked(const GridRecord& g, int firstRow, int lastRow) {
    for (const GridColumnRecord& c : g.columns)
        for (int row = std::max(0, firstRow); row <= lastRow && row < static_cast<int>(c.flags.size()); ++row)
            if (c.flags[static_cast<std::size_t>(row)] & CellLocked) return true;
    return false;
}

bool editorHasSelection(const GridRecord& g) {
    win::HWND e = GridEditorControlCheck(g);
    if (!e) return false;
    win::DWORD a = 0, b = 0;
    win::SendMessageA(e, win::EM_GETSEL, reinterpret_cast<win::WPARAM>(&a),
                      reinterpret_cast<win::LPARAM>(&b));
    return b > a;
}

bool editorReadOnly(const GridRecord& g) {
    win::HWND e = GridEditorControlCheck(g);
    return !e || (win::GetWindowLongA(e, win::GWL_STYLE) & win::ES_READONLY);
}

void initPopup(const GridEditorRecord& r, win::HMENU popup) {
    const GridRecord* g = gridOf(r);
    if (!g) return;
    const bool block = g->hasSelection();
    if (popup == r.filePopup) {
        enable(popup, kGridCmdSaveSelection, block);
        enable(popup, kGridCmdPrintSelection, block);
    } else if (popup == r.editPopup) {
        const bool locked = !r.ignoreLocks;
        const bool writable = !g->readOnly() && !editorReadOnly(*g);
        enable(popup, kGridCmdCut, block ? GridSelectionEditable(*g) : editorHasSelection(*g) && writable);
        enable(popup, kGridCmdDelete, block ? GridSelectionEditable(*g) : editorHasSelection(*g) && writable);
        enable(popup, kGridCmdCopy, block || editorHasSelection(*g));
        const int shape = GridClipboardShape();
        enable(popup, kGridCmdPaste, shape == 2 ? GridPasteTargetEditable(*g) : shape == 1 && writable);
        enable(popup, kGridCmdSort, !g->readOnly() && !(locked && anyLocked(*g, 0, g->rowCount - 1)));
        const int row = g->currentRow;
        const bool last = row == g->rowCount - 1;
        enable(popup, kGridCmdInsertAfter,
               !g->readOnly() && !(locked && anyLocked(*g, row + 1, g->rowCapacity - 1)) &&
                   row + 1 < g->rowCapacity && !(last && !r.rowsFollow));
        const bool rowFree = !g->readOnly() && !(locked && anyLocked(*g, row, row));
        enable(popup, kGridCmdInsertBefore, rowFree);
        enable(popup, kGridCmdDeleteRow, rowFree);
    } else if (popup == r.searchPopup) {
        enable(popup, kGridCmdFindNext, !r.findText.empty());
    }
}

int highlighted(const GridEditorRecord& r, win::WPARAM wp, win::LPARAM lp) {
    const int item = win::LOWORD(wp);
    if (!(win::HIWORD(wp) & win::MF_POPUP)) return item;
    const win::HMENU popup = win::GetSubMenu(reinterpret_cast<win::HMENU>(lp), item);
    if (popup == r.filePopup) return kGridPopupFile;
    if (popup == r.editPopup) return kGridPopupEdit;
    if (popup == r.searchPopup) return kGridPopupSearch;
    return -1;
}

bool menuSelect(const GridEditorRecord& r, win::WPARAM wp, win::LPARAM lp) {
    if (!r.statusBar || !lp) return false;
    const std::string help = gridEditorHelpText(highlighted(r, wp, lp));
    if (help.empty()) return false;
    win::SendMessageA(r.statusBar, win::SB_SIMPLE, win::TRUE, 0);
    win::SendMessageA(r.statusBar, win::SB_SETTEXTA, win::SB_SIMPLEID | win::SBT_NOBORDERS,
                      reinterpret_cast<win::LPARAM>(help.c_str()));
    return true;
}

void clearChanged(GridRecord* g) {
    if (g) g->changedFlagA = g->changedFlagB = 0;
}

bool savePrompt(GridEditorRecord& r) {
    if (!r.allowSave) return true;
    const GridRecord* g = gridOf(r);
    int status = 1;
    GridEditorSavePrompt(r.window, g ? g->changedFlagA : 0, status, r.filterIndex, r.backup,
                         r.labelsInFiles, r.fileName, r.filter);
    return status == 1;
}

// The file commands; true when the command counts as done.
bool fileCommand(win::HWND frame, GridEditorRecord& r, int id) {
    GridRecord* g = gridOf(r);
    int status = 0;
    switch (id) {
        case kGridCmdNew:
            if (!r.allowNew || !savePrompt(r) || !g) return false;
            GridClearAll(*g, false);
            r.fileName.clear();
            GridEditorTitle(frame);
            clearChanged(g);
            return true;
        case kGridCmdOpen:
            if (!r.allowOpen || !savePrompt(r)) return false;
            GridEditorLoadCsv(r.window, 1, r.rowsFollow, status, r.filterIndex, r.labelsInFiles,
                              r.fileName, r.filter);
            if (status == 0) return false;
            clearChanged(gridOf(r));
            GridEditorTitle(frame);
            return true;
        case kGridCmdSave:
        case kGridCmdSaveAs:
            if (id == kGridCmdSave ? !r.allowSave : !r.allowSaveAs) return false;
            GridEditorSaveCsv(r.window, id == kGridCmdSaveAs, status, r.filterIndex, r.backup,
                              r.labelsInFiles, -1, -1, -1, -1, r.fileName, r.filter);
            if (status != 1) return false;
            if (g) g->changedFlagA = 0;
            GridEditorTitle(frame);
            return true;
        case kGridCmdSaveSelection:
            if (r.allowSaveAs && g && g->hasSelection()) {
                std::string name = r.fileName;
                GridEditorSaveCsv(r.window, 1, status, r.filterIndex, r.backup, r.labelsInFiles,
                                  g->selFirstRow, g->selLastRow, g->selFirstColumn,
                                  g->selLastColumn, name, r.filter);
            }
            return false;
        case kGridCmdSaveHtml:
            if (!r.allowHtml || !g) return false;
            GridEditorSaveHtml(r.window, g->selFirstRow, g->selLastRow, g->selFirstColumn,
                               g->selLastColumn, status, r.backup, r.fileName);
            return status == 1;
        case kGridCmdPrint:
        case kGridCmdPrintSelection:
            if (!r.allowPrint || !g) return false;
            if (id == kGridCmdPrint)
                GridEditorPrint(r.window, 0, g->rowCount - 1, 0, g->columnCount - 1, status);
            else if (g->hasSelection())
                GridEditorPrint(r.window, g->selFirstRow, g->selLastRow, g->selFirstColumn,
                                g->selLastColumn, status);
            return status == 1;
        default:
            return false;
    }
}

void editCommand(GridEditorRecord& r, int id) {
    GridRecord* g = gridOf(r);
    if (!g) return;
    win::HWND e = GridEditorControlCheck(*g);
    switch (id) {
        case kGridCmdCut:
            if (!g->hasSelection()) {
                if (e) win::SendMessageA(e, win::WM_CUT, 0, 0);
            } else if (GridCopySelection(*g)) {
                GridClearSelection(*g);
            }
            return;
        case kGridCmdCopy:
            if (!g->hasSelection()) {
                if (e) win::SendMessageA(e, win::WM_COPY, 0, 0);
            } else {
                GridCopySelection(*g);
            }
            return;
        case kGridCmdPaste: {
            const int shape = GridClipboardShape();
            if (shape == 1 && e) win::SendMessageA(e, win::WM_PASTE, 0, 0);
            if (shape == 2) GridPasteClipboard(*g);
            return;
        }
        case kGridCmdDelete:
            if (!g->hasSelection()) {
                if (e) win::SendMessageA(e, win::WM_CLEAR, 0, 0);
            } else {
                GridClearSelection(*g);
            }
            return;
        case kGridCmdSelectAll:
            GridSetSelection(*g, 0, g->rowCount - 1, 0, g->columnCount - 1);
            return;
        default:
            return;
    }
}

// The commands that change rows; true when one ran.
bool rowCommand(GridEditorRecord& r, int id) {
    int status = 0;
    switch (id) {
        case kGridCmdSort:
            if (r.readOnly) return false;
            GridEditorSort(r.window, r.labelsMove, status);
            return status == 1;
        case kGridCmdInsertBefore:
        case kGridCmdInsertAfter:
        case kGridCmdDeleteRow:
            if (!r.allowRows) return false;
            if (id == kGridCmdDeleteRow)
                GridEditorDeleteRow(r.window, r.labelsMove, r.rowsFollow);
            else
                GridEditorInsertRow(r.window, r.labelsMove, r.rowsFollow,
                                    id == kGridCmdInsertAfter ? 1 : 0);
            if (GridRecord* g = gridOf(r)) g->changedFlagA = g->changedFlagB = 1;
            return true;
        default:
            return false;
    }
}

void searchCommand(GridEditorRecord& r, int id) {
    switch (id) {
        case kGridCmdFind:
        case kGridCmdFindNext:
            if (r.allowFind && (id == kGridCmdFind || !r.findText.empty()))
                GridEditorFind(r.window, id == kGridCmdFind ? 1 : 2, r.matchCase,
                               r.numericColumns, r.findText);
            return;
        case kGridCmdGotoCell:
        case kGridCmdGotoRow:
        case kGridCmdGotoColumn:
            GridEditorGoto(r.window, id - kGridCmdGotoCell + 1);
            return;
        default:
            return;
    }
}

win::LRESULT command(win::HWND frame, GridEditorRecord& r, win::WPARAM wp, win::LPARAM lp) {
    const int code = win::HIWORD(wp);
    const int id = win::LOWORD(wp);
    if (code != 0 && code != 1) return win::DefWindowProcA(frame, win::WM_COMMAND, wp, lp);
    const bool known = id >= kGridCmdNew && id <= kGridCmdGotoColumn;
    bool report = !known;
    if (id == kGridCmdExit) {
        win::SendMessageA(frame, win::WM_CLOSE, 0, 0);
    } else if (known) {
        const int window = r.window;
        report = fileCommand(frame, r, id) || rowCommand(r, id);
        // A command may have closed the window; the record tells.
        if (!gridEditorRecordOfWindow(window)) return 0;
        editCommand(r, id);
        searchCommand(r, id);
    }
    if (report) EventPost(MenuSelect, 0, static_cast<std::intptr_t>(wp), lp, frame);
    return 0;
}

void close(win::HWND frame, GridEditorRecord& r) {
    if (!savePrompt(r)) return;
    if (r.showType != 1) {
        EventPost(CloseRequest, 0, 0, 0, frame);
        return;
    }
    r.closed = 1;
    const GridRecord* g = gridOf(r);
    GridEditorWindowFlags& result = gridEditorWindowFlags();
    result.changedA = g ? g->changedFlagA : 0;
    result.changedB = g ? g->changedFlagB : 0;
    result.findText = r.findText;
    result.replaceText = r.replaceText;
    result.fileName = r.fileName;
    win::DestroyWindow(frame);
}

void destroyed(win::HWND frame, GridEditorRecord& r) {
    if (r.showType == 3) {
        dialogTable().semiModelessCount -= 1;
        if (seams().modalFrame) seams().modalFrame->end(frame);
    }
    if (r.editorAccelerators) win::DestroyAcceleratorTable(r.editorAccelerators);
    r.editorAccelerators = nullptr;
    MenuFreeItemData(r.window);
}

win::LRESULT notify(win::HWND frame, GridEditorRecord& r, win::LPARAM lp) {
    auto& n = *reinterpret_cast<win::NMHDR*>(lp);
    if (n.code == win::TTN_NEEDTEXTA) {
        auto& tip = *reinterpret_cast<win::NMTTDISPINFOA*>(lp);
        if (n.hwndFrom != r.toolbarTips) return passOn(&r, frame, win::WM_NOTIFY, 0, lp);
        static std::string text;
        text = gridEditorTipText(static_cast<int>(n.idFrom));
        tip.lpszText = const_cast<char*>(text.c_str());
        return 0;
    }
    return passOn(&r, frame, win::WM_NOTIFY, 0, lp);
}

}  // namespace

win::HWND GridEditorControlCheck(const GridRecord& g) {
    win::HWND e = g.editor ? g.editor->window() : nullptr;
    if (!e) return nullptr;
    char cls[32] = {};
    win::GetClassNameA(e, cls, sizeof cls);
    for (const char* name : {"EDIT", "INTEGEREDIT", "INTEGERSPIN", "REALEDIT", "REALSPIN",
                             "DOUBLEEDIT", "DOUBLESPIN"})
        if (std::string_view(cls) == name || std::string(cls) == std::string(name)) return e;
    return nullptr;
}

void GridEditorTitle(win::HWND frame) {
    GridEditorRecord* r = gridEditorRecordOf(frame);
    if (!r) return;
    const bool caption =
        (win::GetWindowLongA(frame, win::GWL_STYLE) & win::WS_CAPTION) == win::WS_CAPTION;
    if (caption) {
        std::string title = r->caption;
        if (!r->fileName.empty()) title += " - [" + r->fileName + "]";
        win::SetWindowTextA(frame, title.substr(0, 1023).c_str());
    } else if (r->statusBar) {
        win::SendMessageA(r->statusBar, win::SB_SETTEXTA, 4,
                          reinterpret_cast<win::LPARAM>(r->fileName.c_str()));
    }
}

void GridEditorSavePrompt(int window, int changed, int& status, int& filterIndex, int backup,
                          int labelsInFiles, std::string& fileName, const std::string& filter) {
    status = 1;
    if (changed != 1) return;
    const std::string text = fileName.empty() ? "Do you want to save changes?"
                                              : "Do you want to save changes to " + fileName + "?";
    MsgBox(4, 3, 1, text, "Veraziderad Grid Editor");
    switch (toolkitState().MessageBoxResult) {
        case 1:
            GridEditorSaveCsv(window, 0, status, filterIndex, backup, labelsInFiles, -1, -1, -1, -1,
                              fileName, filter);
            return;
        case 2:
            status = 1;
            return;
        default:
            status = 0;
            return;
    }
}

bool gridEditorPaneCloseCheck(GridEditorRecord& r) {
    const GridRecord* g = gridOf(r);
    if (!g || !g->changedFlagA) return true;
    return savePrompt(r);
}

win::LRESULT GridEditorWindowProc(win::HWND frame, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    GridEditorRecord* r = gridEditorRecordOf(frame);
    if (!r) return win::DefWindowProcA(frame, msg, wp, lp);
    if (msg == gridCellChangeMessage()) {
        cellChanged(*r, lp);
        return 0;
    }
    switch (msg) {
        case win::WM_SIZE: {
            const win::LRESULT result = passOn(r, frame, msg, wp, lp);
            if (wp != win::SIZE_MINIMIZED) layout(frame, *r);
            return result;
        }
        case win::WM_INITMENUPOPUP:
            initPopup(*r, reinterpret_cast<win::HMENU>(wp));
            return 0;
        case win::WM_MENUSELECT:
            if (menuSelect(*r, wp, lp)) return 0;
            return passOn(r, frame, msg, wp, lp);
        case win::WM_ENTERMENULOOP:
        case win::WM_EXITMENULOOP:
            if (r->statusBar) {
                win::SendMessageA(r->statusBar, win::SB_SIMPLE, msg == win::WM_ENTERMENULOOP, 0);
                if (msg == win::WM_ENTERMENULOOP)
                    win::SendMessageA(r->statusBar, win::SB_SETTEXTA, win::SB_SIMPLEID | win::SBT_NOBORDERS,
                                      reinterpret_cast<win::LPARAM>(""));
            }
            return 0;
        case win::WM_COMMAND:
            return command(frame, *r, wp, lp);
        case win::WM_NOTIFY:
            return notify(frame, *r, lp);
        case win::WM_SETFONT:
            keptFont() = reinterpret_cast<win::HFONT>(wp);
            return passOn(r, frame, msg, wp, lp);
        case win::WM_GETFONT:
            return reinterpret_cast<win::LRESULT>(keptFont());
        case win::WM_SETFOCUS:
            windowSystem().FocusWindow = frame;
            if (r->grid) win::SetFocus(r->grid);
            return 0;
        case win::WM_ERASEBKGND:
            return 1;
        case win::WM_CLOSE:
            close(frame, *r);
            return 0;
        case win::WM_DESTROY: {
            destroyed(frame, *r);
            const win::WNDPROC previous = r->previousProc;
            if (r->showType == 1)
                setFrameRecord(r->window, nullptr);
            else
                gridEditorDetach(r->window);
            return previous ? win::CallWindowProcA(previous, frame, msg, wp, lp)
                            : FrameWindowProcedure(frame, msg, wp, lp);
        }
        default:
            return passOn(r, frame, msg, wp, lp);
    }
}

void GridEditorModalLoop() {
    const int window = windowSystem().CurrentWindow;
    GridEditorRecord* r = gridEditorRecordOfWindow(window);
    if (!r) return;
    clearChanged(gridOf(*r));
    if (r->showType != 1) return;
    r->closed = 0;
    win::MSG m;
    for (;;) {
        GridEditorRecord* now = gridEditorRecordOfWindow(window);
        if (!now || now->closed || win::GetMessageA(&m, nullptr, 0, 0) <= 0) break;
        win::HWND frame = windowSystem().slots[static_cast<std::size_t>(window)].frame;
        if (now->editorAccelerators && frame &&
            win::TranslateAcceleratorA(frame, now->editorAccelerators, &m))
            continue;
        win::TranslateMessage(&m);
        if (m.message == 0x0118 && win::LOWORD(m.wParam) == 0xFFF6) continue;
        win::DispatchMessageA(&m);
    }
    gridEditorDetach(window);
    editorModalWindowGone(window);
}

}  // namespace tk
