#include "toolkit/editors/editor_operations.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/window/user_api.h"
#include "toolkit/editors/editor_files.h"
#include "toolkit/editors/editor_menus.h"
#include "toolkit/editors/editor_open.h"
#include "toolkit/editors/editor_text.h"
#include "toolkit/editors/editor_title.h"

namespace tk {
namespace {

win::LRESULT send(const EditorWindowRecord& r, win::UINT msg, win::WPARAM wp = 0,
                  win::LPARAM lp = 0) {
    return win::SendMessageA(r.editControl, msg, wp, lp);
}

win::HWND frameOf(const EditorWindowRecord& r) {
    return windowSystem().slots[static_cast<std::size_t>(r.window)].frame;
}

win::CHARRANGE selection(const EditorWindowRecord& r) {
    win::CHARRANGE sel;
    send(r, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    return sel;
}

void select(const EditorWindowRecord& r, win::LONG a, win::LONG b) {
    win::CHARRANGE sel{a, b};
    send(r, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
}

// Runs a range operation on a selection of the range, then puts the
// selection and the first visible line back (the display-frozen state does
// this itself).
template <typename Work>
void onRange(EditorWindowRecord& r, win::LONG a, win::LONG b, Work work) {
    const win::CHARRANGE kept = selection(r);
    const auto first = send(r, win::EM_GETFIRSTVISIBLELINE);
    if (!r.displayFrozen) send(r, win::EM_HIDESELECTION, win::TRUE);
    select(r, a, b);
    work();
    select(r, kept.cpMin, kept.cpMax);
    const auto now = send(r, win::EM_GETFIRSTVISIBLELINE);
    if (now != first) send(r, win::EM_LINESCROLL, 0, first - now);
    if (!r.displayFrozen) send(r, win::EM_HIDESELECTION, win::FALSE);
}

win::DWORD streamBack(win::UINT_PTR cookie, win::BYTE* buffer, win::LONG count, win::LONG* done) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<char*>(buffer),
                                                   static_cast<std::size_t>(count));
    *done = count;
    return 0;
}

struct Source {
    const char* data;
    std::size_t size;
    std::size_t at = 0;
};

win::DWORD streamFrom(win::UINT_PTR cookie, win::BYTE* buffer, win::LONG count, win::LONG* done) {
    auto* s = reinterpret_cast<Source*>(cookie);
    const std::size_t n = std::min(static_cast<std::size_t>(count), s->size - s->at);
    std::memcpy(buffer, s->data + s->at, n);
    s->at += n;
    *done = static_cast<win::LONG>(n);
    return 0;
}

win::WPARAM fileForm(const EditorWindowRecord& r) {
    return r.richText ? win::SF_RTF : win::SF_TEXT;
}

int infoValue(EditorWindowRecord& r, int selector, bool& known) {
    known = true;
    const win::CHARRANGE sel = selection(r);
    switch (selector) {
        case 1:
            return editorIsModified(r) ? 0 : 1;
        case 2:
            return EditorTextLength(r.editControl, r.displayFrozen) +
                   (editorConverts(r) || editorControlVersion(r) < 2
                        ? 0
                        : 1 - static_cast<int>(send(r, win::EM_GETLINECOUNT)));
        case 3:
            return r.changed;
        case 4:
            return editorProgramPosition(r, sel.cpMin) + 1;
        case 5: {
            bool k = false;
            return std::min(editorProgramPosition(r, sel.cpMax), infoValue(r, 2, k));
        }
        case 6:
            return r.currentFile;
        case 7:
            return r.fileCount;
        case 9:
            return static_cast<int>(send(r, win::EM_GETFIRSTVISIBLELINE));
        case 10:
            return r.commandControl && r.commandControl != r.commandEdit
                       ? static_cast<int>(
                             win::SendMessageA(r.commandControl, win::CB_GETCOUNT, 0, 0))
                       : 0;
        case 11:
            return r.fontNumber;
        case 12:
            return r.fontSize;
        case 102: {
            win::RECT rc{};
            win::GetClientRect(r.editControl, &rc);
            return static_cast<int>(send(r, win::EM_GETFIRSTVISIBLELINE)) +
                   (r.lineHeight > 0 ? (rc.bottom - rc.top) / r.lineHeight : 0);
        }
        case 103:
            return static_cast<int>(send(r, win::EM_GETLINECOUNT));
        case 104:
            return r.nativePositions ? 1 : 0;
        default:
            known = false;
            return 0;
    }
}

int closedValue(int selector, bool& known) {
    const EditorClosedState& c = editorClosedState();
    known = true;
    switch (selector) {
        case 1: return c.notModified;
        case 2: return c.length;
        case 3: return c.changed;
        case 4: return c.selectionStart;
        case 5: return c.selectionEnd;
        case 6: return c.currentFile;
        case 7: return c.fileCount;
        case 9: return c.firstVisibleLine;
        case 10: return 0;
        case 11: return c.fontNumber;
        case 12: return c.fontSize;
        default: known = false; return 0;
    }
}

}  // namespace

EditorClosedState& editorClosedState() {
    static EditorClosedState state;
    return state;
}

void editorRecordClosedState(EditorWindowRecord& r) {
    EditorClosedState& c = editorClosedState();
    bool known = false;
    c.notModified = infoValue(r, 1, known);
    c.length = infoValue(r, 2, known);
    c.changed = r.changed;
    c.selectionStart = infoValue(r, 4, known);
    c.selectionEnd = infoValue(r, 5, known);
    c.currentFile = r.currentFile;
    c.fileCount = r.fileCount;
    c.firstVisibleLine = infoValue(r, 9, known);
    c.fontNumber = r.fontNumber;
    c.fontSize = r.fontSize;
    c.findText = r.findText;
    c.replaceText = r.replaceText;
    c.fileName = r.fileName;
}

void EditorPutText(int& status, const std::string& text) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) {
        status = 1;
        return;
    }
    r->editGuard = 0;
    send(*r, win::WM_SETTEXT, 0, reinterpret_cast<win::LPARAM>(text.c_str()));
    r->editGuard = 1;
    status = 0;
}

void EditorReplaceRange(int& start, int end, const std::string& text) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) {
        start = -1;
        return;
    }
    if (!text.empty() || start != end) send(*r, win::EM_STOPGROUPTYPING);
    int a = 0, b = 0;
    editorToControlPositions(*r, start, end, a, b);
    send(*r, win::EM_HIDESELECTION, win::TRUE);
    select(*r, a, b);
    r->editGuard = 0;
    send(*r, win::EM_REPLACESEL, win::TRUE, reinterpret_cast<win::LPARAM>(text.c_str()));
    r->editGuard = 1;
    send(*r, win::EM_HIDESELECTION, win::FALSE);
    send(*r, win::EM_SCROLLCARET);
    win::InvalidateRect(r->editControl, nullptr, win::TRUE);
    start = 0;
}

void EditorGetText(int& status, int size, std::string& text) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) {
        status = 1;
        return;
    }
    const std::string all = editorControlText(*r);
    const std::size_t room = static_cast<std::size_t>(std::max(size, 1)) - 1;
    status = all.size() < static_cast<std::size_t>(std::max(size, 0)) ? 0 : 2;
    text = all.substr(0, status == 0 ? all.size() : room);
}

void EditorGetTextRange(int& start, int count, std::string& text) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) {
        start = -1;
        return;
    }
    int a = 0, b = 0;
    editorToControlPositions(*r, start, start + count - 1, a, b);
    onRange(*r, a, b, [&] { text = editorControlRange(*r, a, b); });
    start = 0;
}

void EditorInfo(int window, int selector, int& value) {
    bool known = false;
    if (selector == 8) {
        value = editorRichEditVersion();
        return;
    }
    if (window == -1) {
        const int v = closedValue(selector, known);
        if (known) value = v;
        return;
    }
    EditorWindowRecord* r = editorRecordOfWindow(window);
    if (!r || !r->editControl) return;
    const int v = infoValue(*r, selector, known);
    if (known) value = v;
}

void EditorGetString(int window, int selector, std::string& text, int length) {
    std::string value;
    if (window == -1) {
        const EditorClosedState& c = editorClosedState();
        value = selector == 1 ? c.findText : selector == 2 ? c.replaceText : c.fileName;
    } else if (EditorWindowRecord* r = editorRecordOfWindow(window)) {
        value = selector == 1 ? r->findText : selector == 2 ? r->replaceText : r->fileName;
    } else {
        return;
    }
    if (selector < 1 || selector > 3) return;
    text = value.substr(0, static_cast<std::size_t>(std::max(length, 0)));
}

void EditorLinePosition(int selector, int value, int& result) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) {
        result = -2;
        return;
    }
    if (selector == 1) {
        int a = 0, b = 0;
        editorToControlPositions(*r, value, value, a, b);
        result = static_cast<int>(send(*r, win::EM_EXLINEFROMCHAR, 0, a));
        return;
    }
    const auto start = static_cast<int>(send(*r, win::EM_LINEINDEX, static_cast<win::WPARAM>(value)));
    result = editorConverts(*r) ? start + value : start;
}

void EditorSetSelection(int& start, int end) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) {
        start = -1;
        return;
    }
    int a = 0, b = 0;
    editorToControlPositions(*r, start, end, a, b);
    select(*r, a, b);
    send(*r, win::EM_SCROLLCARET);
}

void EditorSetCaret(int position) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) return;
    int a = 0, b = 0;
    editorToControlPositions(*r, position, position, a, b);
    select(*r, a, a);
    send(*r, win::EM_SCROLLCARET);
    win::InvalidateRect(r->editControl, nullptr, win::TRUE);
}

void EditorScrollToLine(int line) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) return;
    const auto first = send(*r, win::EM_GETFIRSTVISIBLELINE);
    send(*r, win::EM_LINESCROLL, 0, line - first);
}

void EditorSetModified(int notModified, int changed) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r) return;
    editorSetModified(*r, notModified == 0);
    r->changed = changed;
    EditorUpdateTitle(frameOf(*r));
}

void EditorEmptyUndo() {
    if (EditorWindowRecord* r = editorOfCurrentWindow()) editorEmptyUndo(*r);
}

void EditorTextSize(int& size) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) {
        size = 1;
        return;
    }
    std::string out;
    EditorCopyTextOut(out);
    size = static_cast<int>(out.size());
}

void EditorCopyTextOut(std::string& buffer) {
    buffer.clear();
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) return;
    win::EDITSTREAM es;
    es.dwCookie = reinterpret_cast<win::UINT_PTR>(&buffer);
    es.pfnCallback = streamBack;
    send(*r, win::EM_STREAMOUT, fileForm(*r), reinterpret_cast<win::LPARAM>(&es));
}

void EditorCopyTextIn(int length, const std::string& buffer) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) return;
    Source source{buffer.data(), std::min(buffer.size(), static_cast<std::size_t>(std::max(length, 0)))};
    win::EDITSTREAM es;
    es.dwCookie = reinterpret_cast<win::UINT_PTR>(&source);
    es.pfnCallback = streamFrom;
    const int guard = r->editGuard;
    r->editGuard = 0;
    send(*r, win::EM_STREAMIN, fileForm(*r), reinterpret_cast<win::LPARAM>(&es));
    r->editGuard = guard;
}

void EditorSwitchFile(int number, int& status) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r) {
        status = 1;
        return;
    }
    if (!r->severalFiles || number < 1 || number > r->fileCount) {
        status = 2;
        return;
    }
    EditorSelectFile(frameOf(*r), number);
    status = 0;
}

void EditorSetBackup(int flag) {
    if (EditorWindowRecord* r = editorOfCurrentWindow()) r->backupCopies = flag == 1;
}

void EditorSetCharFormat(int& status, int start, int end, int bold, int italic, int underline,
                         int strikeOut, int size, int colour, int background,
                         const std::string& face) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) {
        status = -1;
        return;
    }
    if (!r->richText) {
        status = -2;
        return;
    }
    win::CHARFORMATA cf;
    const auto effect = [&](int v, win::DWORD mask, win::DWORD bit, bool positive) {
        if (v == -1) return;
        cf.dwMask |= mask;
        if (positive ? v > 0 : v == 1) cf.dwEffects |= bit;
    };
    effect(bold, win::CFM_BOLD, win::CFE_BOLD, false);
    effect(italic, win::CFM_ITALIC, win::CFE_ITALIC, false);
    effect(underline, win::CFM_UNDERLINE, win::CFE_UNDERLINE, true);
    effect(strikeOut, win::CFM_STRIKEOUT, win::CFE_STRIKEOUT, false);
    if (size != -1) cf.dwMask |= win::CFM_SIZE, cf.yHeight = size * 20;
    if (colour == -1) cf.dwMask |= win::CFM_COLOR, cf.dwEffects |= win::CFE_AUTOCOLOR;
    if (colour >= 0) cf.dwMask |= win::CFM_COLOR, cf.crTextColor = static_cast<win::COLORREF>(colour);
    // The control keeps one colour per character; a background colour has no
    // place in its format and is left as it is.
    (void)background;
    if (!face.empty()) {
        cf.dwMask |= win::CFM_FACE;
        std::strncpy(cf.szFaceName, face.c_str(), sizeof cf.szFaceName - 1);
    }
    cf.dwMask |= win::CFM_CHARSET;
    int a = 0, b = 0;
    editorToControlPositions(*r, start - 1, end, a, b);
    const int control = r->cacheControl, program = r->cacheProgram;
    onRange(*r, a, b, [&] {
        send(*r, win::EM_SETCHARFORMAT, win::SCF_SELECTION, reinterpret_cast<win::LPARAM>(&cf));
    });
    r->cacheControl = control, r->cacheProgram = program;
    status = 0;
}

void EditorSetParaFormat(int& status, int start, int end, int bullets, int alignment) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) {
        status = -1;
        return;
    }
    if (!r->richText) {
        status = -2;
        return;
    }
    win::PARAFORMAT pf;
    if (bullets != -1) pf.dwMask |= win::PFM_NUMBERING, pf.wNumbering = bullets ? win::PFN_BULLET : 0;
    if (alignment >= 0 && alignment <= 2) {
        static constexpr win::WORD kinds[] = {win::PFA_LEFT, win::PFA_CENTER, win::PFA_RIGHT};
        pf.dwMask |= win::PFM_ALIGNMENT;
        pf.wAlignment = kinds[alignment];
    }
    int a = 0, b = 0;
    editorToControlPositions(*r, start - 1, end, a, b);
    const int control = r->cacheControl, program = r->cacheProgram;
    onRange(*r, a, b, [&] {
        send(*r, win::EM_SETPARAFORMAT, 0, reinterpret_cast<win::LPARAM>(&pf));
    });
    r->cacheControl = control, r->cacheProgram = program;
    status = 0;
}

void EditorFreezeDisplay(int show) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !r->editControl) return;
    if (show == 0) {
        if (r->displayFrozen) return;
        const win::CHARRANGE sel = selection(*r);
        r->frozenSelection = {sel.cpMin, sel.cpMax};
        r->frozenFirstLine = static_cast<int>(send(*r, win::EM_GETFIRSTVISIBLELINE));
        win::ShowWindow(r->editControl, win::SW_HIDE);
        r->displayFrozen = true;
        return;
    }
    if (!r->displayFrozen) return;
    select(*r, r->frozenSelection[0], r->frozenSelection[1]);
    const auto now = send(*r, win::EM_GETFIRSTVISIBLELINE);
    send(*r, win::EM_LINESCROLL, 0, r->frozenFirstLine - now);
    win::ShowWindow(r->editControl, win::SW_SHOW);
    r->displayFrozen = false;
}

void EditorRepaint(int window) {
    if (EditorWindowRecord* r = editorRecordOfWindow(window); r && r->editControl)
        win::InvalidateRect(r->editControl, nullptr, win::TRUE);
}

void EditorSave(int saveAs) {
    if (EditorWindowRecord* r = editorOfCurrentWindow()) EditorSaveFile(frameOf(*r), saveAs);
}

}  // namespace tk
