#include "toolkit/editors/editors_bind.h"

#include "platform/dialogs/dialog_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_split.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/editors/editor_command_run.h"
#include "toolkit/editors/editor_files.h"
#include "toolkit/editors/editor_record.h"
#include "toolkit/editors/editor_window_proc.h"
#include "toolkit/editors/grid_editor_window.h"

namespace tk {
namespace {

// The frame whose editor serves the keys: the frame itself, or the command
// pane a split container names.
win::HWND keyFrame(win::HWND frame, bool& pane) {
    pane = false;
    const FrameUserRecord* r = frameRecord(frame);
    while (r && r->kind() == KindSplit) {
        const int n = static_cast<int>(r->words[SplitCommandPane]);
        if (n <= 0 || !windowIsOpen(n)) return nullptr;
        frame = windowSystem().slots[static_cast<std::size_t>(n)].frame;
        pane = true;
        r = frameRecord(frame);
    }
    return frame;
}

bool translate(win::HWND frame, win::HACCEL table, win::MSG& msg) {
    return table && win::TranslateAcceleratorA(frame, table, &msg) != 0;
}

// The open find or replace box of a text editor takes the keys meant for
// it (Enter presses Find Next, Tab moves between its fields).
bool findDialogTakes(const EditorWindowRecord& r, win::MSG& msg) {
    win::HWND box = r.findDialog;
    if (!box || !win::IsWindow(box) || (msg.hwnd != box && !win::IsChild(box, msg.hwnd)))
        return false;
    return win::IsDialogMessageA(box, &msg) != 0;
}

bool translateAccelerator(win::HWND frame, win::MSG& msg) {
    bool pane = false;
    win::HWND target = keyFrame(frame, pane);
    if (!target) return false;
    if (EditorWindowRecord* r = editorRecordOf(target)) {
        if (findDialogTakes(*r, msg)) return true;
        if (pane && translate(target, r->paneAccelerators, msg)) return true;
        if (translate(target, r->editorAccelerators, msg)) return true;
        return pane && translate(target, r->programAccelerators, msg);
    }
    if (GridEditorRecord* g = gridEditorRecordOf(target)) {
        if (translate(target, g->editorAccelerators, msg)) return true;
        return pane && translate(target, g->programAccelerators, msg);
    }
    return false;
}

}  // namespace

void EditorsBind() {
    WindowEditorHooks& h = windowEditorHooks();
    h.translateAccelerator = translateAccelerator;
    h.closeCheck = [](win::HWND pane) {
        if (EditorWindowRecord* r = editorRecordOf(pane)) return editorPaneCloseCheck(pane, *r);
        if (GridEditorRecord* g = gridEditorRecordOf(pane)) return gridEditorPaneCloseCheck(*g);
        return true;
    };
    gridEditorTextSource() = [](int slot, int item, std::string& text) {
        const GridEditorRecord* g = gridEditorRecordOfWindow(slot);
        if (!g) return false;
        text = item == 1 ? g->findText : item == 2 ? g->replaceText : g->fileName;
        return true;
    };
    h.extraBarHeight = [](win::HWND frame) {
        const EditorWindowRecord* r = editorRecordOf(frame);
        if (!r || !r->editorToolbar) return 0;
        win::RECT bar{};
        win::GetWindowRect(r->editorToolbar, &bar);
        return static_cast<int>(bar.bottom - bar.top);
    };
    h.menuHelp = [](win::HWND pane, win::HWND bar, win::WPARAM wp, win::LPARAM lp) {
        EditorWindowRecord* r = editorRecordOf(pane);
        return r && editorMenuHelp(*r, bar, wp, lp);
    };
}

}  // namespace tk
