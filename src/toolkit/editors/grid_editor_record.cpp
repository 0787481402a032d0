#include "toolkit/editors/grid_editor_record.h"

#include <utility>

namespace tk {
namespace {

std::array<std::unique_ptr<GridEditorRecord>, kWindowSlots>& records() {
    static std::array<std::unique_ptr<GridEditorRecord>, kWindowSlots> table;
    return table;
}

}  // namespace

void gridEditorApplyOptions(GridEditorRecord& r, int o, bool gridReadOnly) {
    r.readOnly = gridReadOnly;
    r.allowNew = !(o & kGridEditorNoNewOpen) && !gridReadOnly;
    r.allowOpen = !(o & kGridEditorNoNewOpen);
    r.allowSave = !(o & kGridEditorNoSaving) && !gridReadOnly;
    r.allowSaveAs = !(o & (kGridEditorNoSaveAs | kGridEditorNoSaving));
    r.allowHtml = !(o & (kGridEditorNoHtml | kGridEditorNoSaving));
    r.allowPrint = !(o & kGridEditorNoPrint);
    r.allowFind = !(o & kGridEditorNoFind);
    r.allowRows = !(o & kGridEditorNoRowCommands) && !gridReadOnly;
    r.labelsMove = (o & kGridEditorLabelsMove) ? 1 : 0;
    r.rowsFollow = (o & kGridEditorRowsFollow) ? 1 : 0;
    r.labelsInFiles = (o & kGridEditorLabelsInFiles) ? 1 : 0;
    r.ignoreLocks = (o & kGridEditorIgnoreLocks) ? 1 : 0;
    r.backup = (o & kGridEditorBackup) ? 1 : 0;
}

GridEditorRecord* gridEditorRecordOfWindow(int window) {
    if (window < 0 || window >= kWindowSlots) return nullptr;
    return records()[static_cast<std::size_t>(window)].get();
}

GridEditorRecord* gridEditorRecordOf(win::HWND frame) {
    const FrameUserRecord* fr = frameRecord(frame);
    if (!fr || fr->kind() != KindGridEditor) return nullptr;
    GridEditorRecord* r = gridEditorRecordOfWindow(WindowSlotOfHandle(frame));
    return r && windowSystem().slots[static_cast<std::size_t>(r->window)].frame == frame ? r
                                                                                          : nullptr;
}

GridEditorRecord& gridEditorAttach(int window, std::unique_ptr<GridEditorRecord> record) {
    GridEditorRecord& r = *record;
    r.window = window;
    records()[static_cast<std::size_t>(window)] = std::move(record);
    auto fr = std::make_unique<FrameUserRecord>();
    fr->words[0] = KindGridEditor;
    setFrameRecord(window, std::move(fr));
    return r;
}

void gridEditorNameWindows(const GridEditorRecord& r) {
    FrameUserRecord* fr = frameRecord(windowSystem().slots[static_cast<std::size_t>(r.window)].frame);
    if (!fr) return;
    for (std::size_t i = 0; i < 4; ++i)
        fr->words[1 + i] = reinterpret_cast<std::intptr_t>(r.windowToolbars[i]);
    fr->words[5] = reinterpret_cast<std::intptr_t>(r.grid);
}

void gridEditorDetach(int window) {
    if (window < 0 || window >= kWindowSlots) return;
    if (windowSystem().slots[static_cast<std::size_t>(window)].record) setFrameRecord(window, nullptr);
    records()[static_cast<std::size_t>(window)].reset();
}

void resetGridEditorRecords() {
    for (auto& r : records())
        r.reset();
}

}  // namespace tk
