#include "toolkit/editors/editor_open.h"

#include <algorithm>
#include <strings.h>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/kernel/files.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/seams.h"
#include "toolkit/editors/editor_commands.h"

#include "platform/window/user_api.h"
#include "toolkit/editors/editor_buffers.h"
#include "toolkit/editors/editor_files.h"
#include "toolkit/editors/editor_text.h"
#include "toolkit/editors/editor_title.h"
#include "toolkit/editors/editor_view_menu.h"

namespace tk {
namespace {

win::HWND frameOf(const EditorWindowRecord& r) {
    return windowSystem().slots[static_cast<std::size_t>(r.window)].frame;
}

// The open file with the name (ignoring case), 0 when none.
int openFileNamed(const EditorWindowRecord& r, const std::string& name) {
    for (int n = 1; n <= r.fileCount; ++n) {
        std::string stored = n == r.currentFile ? r.fileName : editorBufferSlot(r.window, n).name;
        if (!stored.empty() && ::strcasecmp(stored.c_str(), name.c_str()) == 0) return n;
    }
    return 0;
}

void loadQuietly(EditorWindowRecord& r) {
    if (!EditorLoadFile(frameOf(r), 1)) {
        editorClearText(r);
        editorSetModified(r, false);
    }
}

void openInMultiFile(int& status, EditorWindowRecord& r, const std::string& name) {
    if (editorHoldsOnlyBlank(r)) {
        r.fileName = name;
        editorViewItemSet(r, 1, name);
        loadQuietly(r);
        return;
    }
    if (const int hit = openFileNamed(r, name)) {
        EditorSelectFile(frameOf(r), hit);
        return;
    }
    if (r.fileCount >= kEditorMaxFiles) {
        status = 12;
        return;
    }
    editorViewItemCheck(r, r.currentFile, false);
    EditorBufferSetName(r.window, r.currentFile, r.fileName);
    EditorBufferClose(r.window, r.currentFile);
    r.fileCount += 1;
    r.currentFile = r.fileCount;
    r.fileName = name;
    EditorBufferSetName(r.window, r.currentFile, name);
    r.bookmark[static_cast<std::size_t>(r.currentFile)] = -1;
    loadQuietly(r);
    editorViewItemAppend(r, r.currentFile, name);
}

const char kRichFilter[] =
    "Rich Text Files (*.RTF)\0*.RTF\0Text Files (*.TXT)\0*.TXT\0All Files (*.*)\0*.*\0";
const char kPlainFilter[] = "Text Files (*.TXT)\0*.TXT\0All Files (*.*)\0*.*\0";

// The open dialog on a copy of the current name; empty when cancelled.
std::string chooseOpenName(win::HWND frame, EditorWindowRecord& r) {
    char name[win::MAX_PATH] = {};
    win::OPENFILENAMEA ofn = editorFileDialogRequest(frame, r, name, sizeof name);
    ofn.Flags = win::OFN_FILEMUSTEXIST | win::OFN_HIDEREADONLY | win::OFN_NOCHANGEDIR;
    const bool modeless = r.mode == 2;
    if (modeless && seams().modalFrame) seams().modalFrame->begin(frame);
    const bool ok = win::GetOpenFileNameA(&ofn) != 0;
    if (modeless && seams().modalFrame) seams().modalFrame->end(frame);
    if (hasChildStyle(frame)) FocusWindowActivate(frame);
    if (!ok) return {};
    r.filterIndex[static_cast<std::size_t>(r.currentFile)] = static_cast<int>(ofn.nFilterIndex);
    return name;
}

}  // namespace

win::OPENFILENAMEA editorFileDialogRequest(win::HWND frame, const EditorWindowRecord& r,
                                           char* name, win::DWORD size) {
    r.fileName.copy(name, size - 1);
    win::OPENFILENAMEA ofn;
    ofn.hwndOwner = frame;
    ofn.lpstrFilter =
        !r.fileFilter.empty() ? r.fileFilter.c_str() : r.richText ? kRichFilter : kPlainFilter;
    ofn.nFilterIndex = static_cast<win::DWORD>(
        std::max(1, r.filterIndex[static_cast<std::size_t>(r.currentFile)]));
    ofn.lpstrFile = name;
    ofn.nMaxFile = size;
    ofn.lpstrDefExt = "";
    return ofn;
}

bool editorOpenCommand(win::HWND frame, EditorWindowRecord& r) {
    if (!r.allowOpen) return false;
    const bool adding = r.severalFiles && !editorHoldsOnlyBlank(r);
    if (adding ? r.fileCount >= kEditorMaxFiles : (!r.severalFiles && !EditorSavePrompt(frame, r)))
        return false;
    const int filter = r.filterIndex[static_cast<std::size_t>(r.currentFile)];
    const std::string name = chooseOpenName(frame, r);
    if (name.empty()) return false;
    const int chosenFilter = r.filterIndex[static_cast<std::size_t>(r.currentFile)];
    r.filterIndex[static_cast<std::size_t>(r.currentFile)] = filter;
    if (adding) {
        if (const int hit = openFileNamed(r, name)) {
            EditorSelectFile(frame, hit);
            EventPost(MenuSelect, 0, kCmdViewBase + hit, 0, frame);
            return true;
        }
    }
    const int previousFile = r.currentFile;
    const std::string previousName = r.fileName;
    if (adding) {
        editorViewItemCheck(r, r.currentFile, false);
        EditorBufferSetName(r.window, r.currentFile, r.fileName);
        EditorBufferClose(r.window, r.currentFile);
        r.fileCount += 1;
        r.currentFile = r.fileCount;
        r.bookmark[static_cast<std::size_t>(r.currentFile)] = -1;
    } else {
        EditorCloseFileHandle(frame);
    }
    r.fileName = name;
    r.filterIndex[static_cast<std::size_t>(r.currentFile)] = chosenFilter;
    if (EditorLoadFile(frame, 0)) {
        if (adding)
            editorViewItemAppend(r, r.currentFile, name);
        else
            editorViewItemSet(r, 1, name);
        EditorBufferSetName(r.window, r.currentFile, name);
        EditorUpdateTitle(frame);
        EventPost(MenuSelect, 0, kCmdOpen, 0, frame);
        return true;
    }
    if (adding) {
        r.fileCount -= 1;
        r.currentFile = previousFile;
        EditorBufferOpen(r.window, previousFile);
        editorViewItemCheck(r, previousFile, true);
    }
    r.fileName = previousName;
    EditorUpdateTitle(frame);
    return false;
}

bool editorHoldsOnlyBlank(const EditorWindowRecord& r) {
    return r.fileCount == 1 && r.fileName.empty() && editorControlText(r).empty() &&
           !editorIsModified(r) && !r.keptFile[1];
}

void editorOpenAnother(int& status, EditorWindowRecord& r, const std::string& name,
                       int filterIndex) {
    if (r.severalFiles) {
        openInMultiFile(status, r, name);
        if (status == 12) return;
    } else {
        r.fileName = name;
        if (!name.empty()) {
            EditorCloseFileHandle(frameOf(r));
            if (!EditorLoadFile(frameOf(r), 1)) r.fileName.clear();
        }
    }
    r.filterIndex[static_cast<std::size_t>(r.currentFile)] = filterIndex == -1 ? 1 : filterIndex;
    EditorUpdateTitle(frameOf(r));
}

void EditorSelectFile(win::HWND frame, int file) {
    EditorWindowRecord* r = editorRecordOf(frame);
    if (!r || file < 1 || file > r->fileCount) return;
    editorViewItemCheck(*r, r->currentFile, false);
    editorViewItemCheck(*r, file, true);
    const int old = r->currentFile;
    r->currentFile = file;
    EditorBufferSwitch(r->window, old, file);
    EditorBufferSetName(r->window, old, r->fileName);
    std::string name;
    EditorBufferGetName(r->window, file, name, 260);
    name.erase(name.find_last_not_of(' ') + 1);
    r->fileName = name;
    EditorUpdateTitle(frame);
    if (r->editControl) {
        win::RECT rc{};
        win::GetWindowRect(r->editControl, &rc);
        win::SetWindowPos(r->editControl, nullptr, 0, 0, 1, 1,
                          win::SWP_NOMOVE | win::SWP_NOZORDER | win::SWP_NOREDRAW);
        win::SetWindowPos(r->editControl, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                          win::SWP_NOMOVE | win::SWP_NOZORDER);
    }
}

}  // namespace tk
