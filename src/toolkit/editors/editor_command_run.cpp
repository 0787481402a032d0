#include "toolkit/editors/editor_command_run.h"

#include <string>

#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/menu_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/editors/editor_buffers.h"
#include "toolkit/editors/editor_commands.h"
#include "toolkit/editors/editor_files.h"
#include "toolkit/editors/editor_format.h"
#include "toolkit/editors/editor_operations.h"
#include "toolkit/editors/editor_print.h"
#include "toolkit/editors/editor_search.h"
#include "toolkit/editors/editor_open.h"
#include "toolkit/editors/editor_text.h"
#include "toolkit/editors/editor_title.h"
#include "toolkit/editors/editor_view_menu.h"

namespace tk {
namespace {

void report(win::HWND frame, int id) {
    EventPost(MenuSelect, 0, id, 0, frame);
}

win::LRESULT send(const EditorWindowRecord& r, win::UINT msg, win::WPARAM wp = 0,
                  win::LPARAM lp = 0) {
    return r.editControl ? win::SendMessageA(r.editControl, msg, wp, lp) : 0;
}

// The control's length with line breaks counted as one position, as the
// bookmarks count.
int controlLength(const EditorWindowRecord& r) {
    const auto length = static_cast<int>(send(r, win::WM_GETTEXTLENGTH));
    if (editorControlVersion(r) < 2) return length;
    const auto lines = static_cast<int>(send(r, win::EM_GETLINECOUNT));
    return length + 1 - lines;
}

void emptyCurrent(win::HWND frame, EditorWindowRecord& r) {
    editorClearText(r);
    editorSetModified(r, false);
    editorSyncFormatButtons(r);
    r.changed = 0;
    r.bookmark[static_cast<std::size_t>(r.currentFile)] = -1;
    EditorUpdateTitle(frame);
}

void newFile(win::HWND frame, EditorWindowRecord& r) {
    if (!r.allowNew) return;
    if (r.severalFiles) {
        if (r.fileCount >= kEditorMaxFiles) return;
        editorViewItemCheck(r, r.currentFile, false);
        EditorBufferSetName(r.window, r.currentFile, r.fileName);
        EditorBufferClose(r.window, r.currentFile);
        r.editGuard = 0;
        const int filter = r.filterIndex[static_cast<std::size_t>(r.currentFile)];
        r.fileCount += 1;
        r.currentFile = r.fileCount;
        r.filterIndex[static_cast<std::size_t>(r.currentFile)] = filter;
        r.fileName.clear();
        EditorBufferSetName(r.window, r.currentFile, r.fileName);
        emptyCurrent(frame, r);
        report(frame, kCmdNew);
        r.editGuard = 1;
        editorViewItemAppend(r, r.currentFile, r.fileName);
        return;
    }
    if (!EditorSavePrompt(frame, r)) return;
    r.editGuard = 0;
    EditorCloseFileHandle(frame);
    r.fileName.clear();
    emptyCurrent(frame, r);
    report(frame, kCmdNew);
    r.editGuard = 1;
}

// Shifts the per-file words of the files after `file` down by one.
void shiftFileWords(EditorWindowRecord& r, int file) {
    for (int n = file; n < r.fileCount; ++n) {
        const auto at = static_cast<std::size_t>(n);
        r.keptFile[at] = r.keptFile[at + 1];
        r.filterIndex[at] = r.filterIndex[at + 1];
        r.bookmark[at] = r.bookmark[at + 1];
        r.bookmarkLength[at] = r.bookmarkLength[at + 1];
    }
    const auto last = static_cast<std::size_t>(r.fileCount);
    r.keptFile[last] = nullptr;
    r.filterIndex[last] = 0;
    r.bookmark[last] = -1;
    r.bookmarkLength[last] = 0;
}

void closeFile(win::HWND frame, EditorWindowRecord& r) {
    if (!r.severalFiles || !EditorSavePrompt(frame, r)) return;
    if (r.fileCount == 1) {
        r.editGuard = 0;
        EditorCloseFileHandle(frame);
        r.fileName.clear();
        emptyCurrent(frame, r);
        r.editGuard = 1;
        editorViewItemSet(r, 1, r.fileName);
        report(frame, kCmdClose);
        return;
    }
    EditorCloseFileHandle(frame);
    EditorBufferFree(r.window, r.currentFile);
    shiftFileWords(r, r.currentFile);
    for (int n = r.currentFile; n < r.fileCount; ++n)
        editorViewItemSet(r, n, editorBufferSlot(r.window, n).name);
    win::DeleteMenu(r.viewPopup, static_cast<win::UINT>(kCmdViewBase + r.fileCount),
                    win::MF_BYCOMMAND);
    r.fileCount -= 1;
    if (r.currentFile > r.fileCount) {
        r.currentFile = r.fileCount;
        editorViewItemCheck(r, r.currentFile, true);
    }
    EditorBufferOpen(r.window, r.currentFile);
    std::string name;
    EditorBufferGetName(r.window, r.currentFile, name, 260);
    name.erase(name.find_last_not_of(' ') + 1);
    r.fileName = name;
    EditorUpdateTitle(frame);
    report(frame, kCmdClose);
}

void setBookmark(EditorWindowRecord& r) {
    win::CHARRANGE sel;
    send(r, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    r.bookmark[static_cast<std::size_t>(r.currentFile)] = sel.cpMax;
    r.bookmarkLength[static_cast<std::size_t>(r.currentFile)] = controlLength(r);
}

void gotoBookmark(const EditorWindowRecord& r) {
    const int at = r.bookmark[static_cast<std::size_t>(r.currentFile)];
    if (at < 0) return;
    win::CHARRANGE sel{at, at};
    send(r, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    send(r, win::EM_SCROLLCARET);
}

bool editCommand(EditorWindowRecord& r, int id) {
    switch (id) {
        case kCmdUndo:
            if (!r.readOnly) send(r, win::EM_UNDO);
            return true;
        case kCmdRedo:
            if (!r.readOnly) send(r, win::EM_REDO);
            return true;
        case kCmdCut:
            if (!r.readOnly) send(r, win::WM_CUT);
            return true;
        case kCmdCopy:
            send(r, win::WM_COPY);
            return true;
        case kCmdPaste:
            EditorPaste(r);
            return true;
        case kCmdDelete:
            if (!r.readOnly) send(r, win::WM_CLEAR);
            return true;
        case kCmdSelectAll:
            send(r, win::EM_SETSEL, 0, -1);
            send(r, win::EM_SCROLLCARET);
            return true;
        case kCmdSetBookmark:
            setBookmark(r);
            return true;
        case kCmdGotoBookmark:
            gotoBookmark(r);
            return true;
        default:
            return false;
    }
}

void enable(win::HMENU menu, int id, bool on) {
    win::EnableMenuItem(menu, static_cast<win::UINT>(id),
                        win::MF_BYCOMMAND | (on ? win::MF_ENABLED : win::MF_GRAYED));
}

}  // namespace

// Only a selection that the control reports as protected counts: a control
// that keeps no protection leaves the flag out of its answer, and the
// control refuses edits of protected text by itself anyway.
bool editorSelectionProtected(const EditorWindowRecord& r) {
    win::CHARFORMATA cf;
    send(r, win::EM_GETCHARFORMAT, win::SCF_SELECTION, reinterpret_cast<win::LPARAM>(&cf));
    return (cf.dwMask & win::CFM_PROTECTED) && (cf.dwEffects & win::CFE_PROTECTED);
}

namespace {

// Find, Replace and the formatting commands; true when the id was one.
bool searchOrFormatCommand(win::HWND frame, EditorWindowRecord& r, int id) {
    switch (id) {
        case kCmdFind:
        case kCmdReplace:
            editorOpenFindDialog(frame, r, id == kCmdReplace);
            return true;
        case kCmdFindNext:
            if (!r.findText.empty()) EditorFindNext(frame, r, r.findRequest);
            return true;
        case kCmdFont:
            EditorChooseFont(frame, r);
            return true;
        case kCmdBullet:
            EditorToggleBullet(r);
            return true;
        case kCmdAlignLeft:
        case kCmdAlignCentre:
        case kCmdAlignRight:
            EditorSetAlignment(r, id);
            return true;
        case kCmdBold:
        case kCmdItalic:
        case kCmdUnderline:
            EditorToggleCharStyle(r, id);
            return true;
        default:
            return false;
    }
}

void print(win::HWND frame, EditorWindowRecord& r, int id) {
    if (!r.allowPrint) return;
    if (r.programPrints || EditorPrint(frame, r, id == kCmdPrintSelection ? 1 : 0, 1, 0, 0, {}))
        report(frame, id);
}

}  // namespace

void editorRunCommand(win::HWND frame, EditorWindowRecord& r, int id) {
    if (editCommand(r, id) || searchOrFormatCommand(frame, r, id)) return;
    switch (id) {
        case kCmdNew:
            newFile(frame, r);
            return;
        case kCmdSave:
        case kCmdSaveAs:
            if (id == kCmdSave ? !r.allowSave : !r.allowSaveAs) return;
            if (EditorSaveFile(frame, id == kCmdSaveAs ? 1 : 0)) report(frame, id);
            return;
        case kCmdOpen:
            editorOpenCommand(frame, r);
            return;
        case kCmdPrint:
        case kCmdPrintSelection:
            print(frame, r, id);
            return;
        case kCmdClose:
            closeFile(frame, r);
            return;
        case kCmdExit:
            win::SendMessageA(frame, win::WM_CLOSE, 0, 0);
            return;
        default:
            break;
    }
    if (id > kCmdViewBase && id <= kCmdViewBase + kEditorMaxFiles) {
        EditorSelectFile(frame, id - kCmdViewBase);
        report(frame, id);
        return;
    }
    if (id < kCmdNew || id > kCmdViewBase + kEditorMaxFiles) report(frame, id);
}

void editorTextChanged(win::HWND frame, EditorWindowRecord& r) {
    editorSyncUndoButtons(r);
    r.changed = 1;
    r.cacheControl = r.cacheProgram = -1;
    if (r.modifiedMark) EditorUpdateTitle(frame);
    const auto f = static_cast<std::size_t>(r.currentFile);
    if (r.bookmark[f] < 0) return;
    const int now = controlLength(r);
    const int d = now - r.bookmarkLength[f];
    win::CHARRANGE sel;
    send(r, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    if (r.bookmark[f] >= sel.cpMin - d) r.bookmark[f] += d;
    r.bookmarkLength[f] = now;
}

bool editorPaneCloseCheck(win::HWND frame, EditorWindowRecord& r) {
    bool go = EditorSavePrompt(frame, r) != 0;
    for (int n = 1; go && r.severalFiles && n <= r.fileCount; ++n) {
        if (n == r.currentFile) continue;
        int notModified = 1;
        EditorBufferGetFlag(r.window, n, notModified);
        if (notModified) continue;
        EditorSelectFile(frame, n);
        go = EditorSavePrompt(frame, r) != 0;
    }
    return go;
}

void editorCloseRequest(win::HWND frame, EditorWindowRecord& r) {
    const int start = r.currentFile;
    const bool go = editorPaneCloseCheck(frame, r);
    if (!go) {
        if (r.currentFile != start) EditorSelectFile(frame, start);
        return;
    }
    if (r.mode != 1) {
        EventPost(CloseRequest, 0, 0, 0, frame);
        return;
    }
    r.closed = 1;
    editorRecordClosedState(r);
    win::DestroyWindow(frame);
}

void editorInitPopup(const EditorWindowRecord& r, win::HMENU popup) {
    win::CHARRANGE sel;
    send(r, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    const bool some = sel.cpMax > sel.cpMin;
    const bool guarded = editorSelectionProtected(r);
    if (popup == r.filePopup) {
        enable(popup, kCmdPrintSelection, some);
    } else if (popup == r.editPopup) {
        enable(popup, kCmdUndo, send(r, win::EM_CANUNDO) != 0);
        enable(popup, kCmdRedo, send(r, win::EM_CANREDO) != 0);
        enable(popup, kCmdCut, some && !guarded);
        enable(popup, kCmdCopy, some);
        enable(popup, kCmdDelete, some && !guarded);
        enable(popup, kCmdPaste, win::IsClipboardFormatAvailable(win::CF_TEXT) && !guarded);
    } else if (popup == r.searchPopup) {
        enable(popup, kCmdFindNext, !r.findText.empty());
        enable(popup, kCmdGotoBookmark, r.bookmark[static_cast<std::size_t>(r.currentFile)] >= 0);
    } else if (popup == r.formatPopup) {
        enable(popup, kCmdFont, !guarded);
        enable(popup, kCmdBullet, !guarded);
    }
}

}  // namespace tk
