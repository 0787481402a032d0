#include "toolkit/editors/editor_buffers.h"

#include <algorithm>
#include <utility>

namespace tk {
namespace {

std::vector<EditorBufferSlot>& table() {
    static std::vector<EditorBufferSlot> entries(kWindowSlots * kEditorMaxFiles);
    return entries;
}

bool valid(int window, int file) {
    return window >= 0 && window < kWindowSlots && file >= 1 && file <= kEditorMaxFiles;
}

}  // namespace

EditorBufferSlot& editorBufferSlot(int window, int file) {
    static EditorBufferSlot none;
    if (!valid(window, file)) {
        none = EditorBufferSlot{};
        return none;
    }
    return table()[static_cast<std::size_t>(window * kEditorMaxFiles + file - 1)];
}

void resetEditorBuffers() {
    for (EditorBufferSlot& e : table())
        e = EditorBufferSlot{};
}

void EditorBufferSetName(int window, int file, const std::string& name) {
    if (!valid(window, file)) return;
    EditorBufferSlot& e = editorBufferSlot(window, file);
    e.name = name.substr(0, 259);
    e.namePresent = true;
}

void EditorBufferGetName(int window, int file, std::string& name, int length) {
    std::string stored;
    if (valid(window, file) && editorBufferSlot(window, file).namePresent)
        stored = editorBufferSlot(window, file).name;
    name.assign(static_cast<std::size_t>(std::max(0, length)), ' ');
    std::copy_n(stored.begin(), std::min(stored.size(), name.size()), name.begin());
}

void EditorBufferGetFlag(int window, int file, int& state) {
    if (valid(window, file)) state = editorBufferSlot(window, file).notModified;
}

void EditorBufferFree(int window, int file) {
    if (!valid(window, file)) return;
    for (int n = file; n < kEditorMaxFiles; ++n)
        editorBufferSlot(window, n) = std::move(editorBufferSlot(window, n + 1));
    editorBufferSlot(window, kEditorMaxFiles) = EditorBufferSlot{};
}

}  // namespace tk

#include "toolkit/core/window_api.h"
#include "toolkit/editors/editor_operations.h"

namespace tk {
namespace {

// The program operations act on the current window: the window with the
// buffer is made current for the time of a buffer call.
class CurrentWindowFor {
  public:
    explicit CurrentWindowFor(int window) : previous_(windowSystem().CurrentWindow) {
        switched_ = window != previous_;
        if (switched_) YYWINSEL(window, 1);
    }
    ~CurrentWindowFor() {
        if (switched_ && windowIsOpen(previous_)) YYWINSEL(previous_, 1);
    }
    CurrentWindowFor(const CurrentWindowFor&) = delete;
    CurrentWindowFor& operator=(const CurrentWindowFor&) = delete;

  private:
    int previous_;
    bool switched_ = false;
};

}  // namespace

void EditorBufferClose(int window, int file) {
    EditorWindowRecord* r = editorRecordOfWindow(window);
    if (!r || !valid(window, file) || !r->editControl) return;
    EditorBufferSlot& e = editorBufferSlot(window, file);
    e.text.clear();
    e.textPresent = false;
    CurrentWindowFor current(window);
    std::string text;
    EditorCopyTextOut(text);
    e.text.assign(text.begin(), text.end());
    e.textLength = static_cast<int>(e.text.size());
    e.textPresent = true;
    // Lengths and the selection as the program counts them.
    EditorInfo(window, 2, e.length);
    EditorInfo(window, 4, e.selectionStart);
    EditorInfo(window, 5, e.selectionEnd);
    EditorInfo(window, 1, e.notModified);
    EditorInfo(window, 3, e.changed);
    EditorInfo(window, 9, e.firstVisibleLine);
}

void EditorBufferOpen(int window, int file) {
    EditorWindowRecord* r = editorRecordOfWindow(window);
    if (!r || !valid(window, file) || !r->editControl) return;
    EditorBufferSlot& e = editorBufferSlot(window, file);
    CurrentWindowFor current(window);
    EditorCopyTextIn(e.textLength, std::string(e.text.begin(), e.text.end()));
    r->cacheControl = r->cacheProgram = -1;
    int start = e.selectionStart - 1;
    EditorSetSelection(start, e.selectionEnd);
    EditorScrollToLine(e.firstVisibleLine);
    EditorSetModified(e.notModified, e.changed);
    EditorEmptyUndo();
    e.text.clear();
    e.text.shrink_to_fit();
    e.textPresent = false;
}

void EditorBufferSwitch(int window, int from, int to) {
    if (from == to) return;
    EditorBufferClose(window, from);
    EditorBufferOpen(window, to);
}

}  // namespace tk
