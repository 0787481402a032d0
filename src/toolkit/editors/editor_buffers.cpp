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

#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "toolkit/editors/editor_text.h"

namespace tk {
namespace {

win::DWORD collect(win::UINT_PTR cookie, win::BYTE* buffer, win::LONG count, win::LONG* done) {
    auto* out = reinterpret_cast<std::vector<char>*>(cookie);
    out->insert(out->end(), buffer, buffer + count);
    *done = count;
    return 0;
}

struct Source {
    const std::vector<char>* text;
    std::size_t at = 0;
};

win::DWORD supply(win::UINT_PTR cookie, win::BYTE* buffer, win::LONG count, win::LONG* done) {
    auto* s = reinterpret_cast<Source*>(cookie);
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(count), s->text->size() - s->at);
    std::copy_n(s->text->begin() + static_cast<long>(s->at), n, buffer);
    s->at += n;
    *done = static_cast<win::LONG>(n);
    return 0;
}

win::WPARAM fileForm(const EditorWindowRecord& r) {
    return r.richText ? win::SF_RTF : win::SF_TEXT;
}

}  // namespace

void EditorBufferClose(int window, int file) {
    EditorWindowRecord* r = editorRecordOfWindow(window);
    if (!r || !valid(window, file) || !r->editControl) return;
    EditorBufferSlot& e = editorBufferSlot(window, file);
    e.text.clear();
    win::EDITSTREAM es;
    es.dwCookie = reinterpret_cast<win::UINT_PTR>(&e.text);
    es.pfnCallback = collect;
    win::SendMessageA(r->editControl, win::EM_STREAMOUT, fileForm(*r),
                      reinterpret_cast<win::LPARAM>(&es));
    e.textLength = static_cast<int>(e.text.size());
    e.textPresent = true;
    win::CHARRANGE sel;
    win::SendMessageA(r->editControl, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    e.length = static_cast<int>(win::SendMessageA(r->editControl, win::WM_GETTEXTLENGTH, 0, 0));
    e.selectionStart = sel.cpMin + 1;
    e.selectionEnd = sel.cpMax;
    e.notModified = editorIsModified(*r) ? 0 : 1;
    e.changed = r->changed;
    e.firstVisibleLine =
        static_cast<int>(win::SendMessageA(r->editControl, win::EM_GETFIRSTVISIBLELINE, 0, 0));
}

void EditorBufferOpen(int window, int file) {
    EditorWindowRecord* r = editorRecordOfWindow(window);
    if (!r || !valid(window, file) || !r->editControl) return;
    EditorBufferSlot& e = editorBufferSlot(window, file);
    const int guard = r->editGuard;
    r->editGuard = 0;
    Source source{&e.text};
    win::EDITSTREAM es;
    es.dwCookie = reinterpret_cast<win::UINT_PTR>(&source);
    es.pfnCallback = supply;
    win::SendMessageA(r->editControl, win::EM_STREAMIN, fileForm(*r),
                      reinterpret_cast<win::LPARAM>(&es));
    win::CHARRANGE sel{std::max(0, e.selectionStart - 1), e.selectionEnd};
    win::SendMessageA(r->editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    const auto first = win::SendMessageA(r->editControl, win::EM_GETFIRSTVISIBLELINE, 0, 0);
    win::SendMessageA(r->editControl, win::EM_LINESCROLL, 0, e.firstVisibleLine - first);
    editorSetModified(*r, e.notModified == 0);
    r->changed = e.changed;
    r->cacheControl = r->cacheProgram = -1;
    editorEmptyUndo(*r);
    e.text.clear();
    e.text.shrink_to_fit();
    e.textPresent = false;
    r->editGuard = guard;
}

void EditorBufferSwitch(int window, int from, int to) {
    if (from == to) return;
    EditorBufferClose(window, from);
    EditorBufferOpen(window, to);
}

}  // namespace tk
