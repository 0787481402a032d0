#include "toolkit/editors/editor_record.h"

#include <utility>

namespace tk {
namespace {

std::array<std::unique_ptr<EditorWindowRecord>, kWindowSlots>& records() {
    static std::array<std::unique_ptr<EditorWindowRecord>, kWindowSlots> table;
    return table;
}

}  // namespace

void EditorApplyOptions(EditorWindowRecord& r, int options) {
    r.readOnly = (options & kEditorReadOnly) != 0;
    r.allowNew = !(options & kEditorNoNewOpen) && !r.readOnly;
    r.allowOpen = !(options & kEditorNoNewOpen);
    r.allowSave = !(options & kEditorNoSaving) && !r.readOnly;
    r.allowSaveAs = !(options & (kEditorNoSaveAs | kEditorNoSaving));
    r.allowPrint = !(options & kEditorNoPrint);
    r.richText = (options & kEditorRichText) != 0;
    r.formatting = r.richText && !r.readOnly;
    r.severalFiles = (options & kEditorSeveralFiles) != 0;
    r.closeItem = r.severalFiles && !(options & kEditorNoClose);
    r.hideFileName = (options & kEditorHideFileName) != 0;
    r.quietOpenErrors = (options & kEditorQuietOpenErrors) != 0;
    r.programPrints = (options & kEditorProgramPrints) != 0;
    r.underlineReserved = (options & kEditorUnderlineReserved) != 0;
    r.nativePositions = (options & kEditorNativePositions) != 0;
    r.backupCopies = (options & kEditorBackupCopies) != 0;
    r.modifiedMark = (options & kEditorModifiedMark) != 0;
    r.wordWrap = (options & kEditorWordWrap) != 0;
}

EditorWindowRecord* editorRecordOfWindow(int window) {
    if (window < 0 || window >= kWindowSlots) return nullptr;
    return records()[static_cast<std::size_t>(window)].get();
}

EditorWindowRecord* editorOfCurrentWindow() {
    const WindowSystem& w = windowSystem();
    if (w.CurrentSlot < 0 || w.CurrentSlot >= kWindowSlots) return nullptr;
    return editorRecordOf(w.slots[static_cast<std::size_t>(w.CurrentSlot)].frame);
}

EditorWindowRecord* editorRecordOf(win::HWND frame) {
    const FrameUserRecord* fr = frameRecord(frame);
    if (!fr || fr->kind() != KindTextEditor) return nullptr;
    return reinterpret_cast<EditorWindowRecord*>(fr->words[1]);
}

EditorWindowRecord& editorAttach(int window, std::unique_ptr<EditorWindowRecord> record) {
    EditorWindowRecord& r = *record;
    r.window = window;
    records()[static_cast<std::size_t>(window)] = std::move(record);
    auto fr = std::make_unique<FrameUserRecord>();
    fr->words[0] = KindTextEditor;
    fr->words[1] = reinterpret_cast<std::intptr_t>(&r);
    setFrameRecord(window, std::move(fr));
    return r;
}

void editorDetach(int window) {
    if (window < 0 || window >= kWindowSlots) return;
    if (windowSystem().slots[static_cast<std::size_t>(window)].record)
        setFrameRecord(window, nullptr);
    records()[static_cast<std::size_t>(window)].reset();
}

void resetEditorRecords() {
    for (auto& r : records())
        r.reset();
}

}  // namespace tk
