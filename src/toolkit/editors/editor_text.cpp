#include "toolkit/editors/editor_text.h"

#include <algorithm>
#include <string>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/editors/editor_commands.h"
#include "toolkit/editors/editor_positions.h"

namespace tk {

void editorClearText(const EditorWindowRecord& r) {
    if (!r.editControl) return;
    win::SendMessageA(r.editControl, win::EM_SETSEL, 0, -1);
    win::SendMessageA(r.editControl, win::EM_REPLACESEL, win::FALSE,
                      reinterpret_cast<win::LPARAM>(""));
}

void editorInsertText(const EditorWindowRecord& r, long position, std::string_view text) {
    if (!r.editControl) return;
    const std::string t(text);
    win::SendMessageA(r.editControl, win::EM_SETSEL, static_cast<win::WPARAM>(position), position);
    win::SendMessageA(r.editControl, win::EM_REPLACESEL, win::FALSE,
                      reinterpret_cast<win::LPARAM>(t.c_str()));
}

void editorCaretToStart(const EditorWindowRecord& r) {
    if (!r.editControl) return;
    win::SendMessageA(r.editControl, win::EM_SETSEL, 0, 0);
    win::SendMessageA(r.editControl, win::EM_SCROLLCARET, 0, 0);
}

namespace {

void enableButton(win::HWND bar, int command, bool on) {
    if (bar) win::SendMessageA(bar, win::TB_ENABLEBUTTON, static_cast<win::WPARAM>(command), on);
}

void setUndoButtons(const EditorWindowRecord& r, bool undo, bool redo) {
    for (win::HWND bar : {r.editorToolbar, r.windowToolbars[0]}) {
        enableButton(bar, kCmdUndo, undo);
        enableButton(bar, kCmdRedo, redo);
    }
}

}  // namespace

void editorEmptyUndo(const EditorWindowRecord& r) {
    if (r.editControl) win::SendMessageA(r.editControl, win::EM_EMPTYUNDOBUFFER, 0, 0);
    setUndoButtons(r, false, false);
}

void editorSyncUndoButtons(const EditorWindowRecord& r) {
    if (!r.editControl) return;
    const bool undo = win::SendMessageA(r.editControl, win::EM_CANUNDO, 0, 0) != 0;
    const bool redo = win::SendMessageA(r.editControl, win::EM_CANREDO, 0, 0) != 0;
    setUndoButtons(r, undo, redo);
}

void editorSetModified(const EditorWindowRecord& r, bool modified) {
    if (r.editControl) win::SendMessageA(r.editControl, win::EM_SETMODIFY, modified, 0);
}

bool editorIsModified(const EditorWindowRecord& r) {
    return r.editControl && win::SendMessageA(r.editControl, win::EM_GETMODIFY, 0, 0) != 0;
}

std::string editorControlText(const EditorWindowRecord& r) {
    if (!r.editControl) return {};
    const auto n = win::SendMessageA(r.editControl, win::WM_GETTEXTLENGTH, 0, 0);
    std::string t(static_cast<std::size_t>(n) + 1, '\0');
    win::SendMessageA(r.editControl, win::WM_GETTEXT, t.size(),
                      reinterpret_cast<win::LPARAM>(t.data()));
    t.resize(static_cast<std::size_t>(n));
    return t;
}

std::string editorControlRange(const EditorWindowRecord& r, long from, long to) {
    if (!r.editControl || to <= from) return {};
    std::string t(static_cast<std::size_t>(to - from) * 2 + 1, '\0');
    win::TEXTRANGEA range;
    range.chrg = {static_cast<win::LONG>(from), static_cast<win::LONG>(to)};
    range.lpstrText = t.data();
    const auto n = win::SendMessageA(r.editControl, win::EM_GETTEXTRANGE, 0,
                                     reinterpret_cast<win::LPARAM>(&range));
    t.resize(static_cast<std::size_t>(std::max<win::LRESULT>(0, n)));
    return t;
}

}  // namespace tk

namespace tk {

int editorControlVersion(const EditorWindowRecord& r) {
    if (!r.editControl) return 0;
    char name[32] = {};
    win::GetClassNameA(r.editControl, name, sizeof name);
    return std::string_view(name) == win::RICHEDIT_CLASS10A ? 1 : 2;
}

void editorSyncFormatButtons(const EditorWindowRecord& r) {
    if (!r.formatting || !r.editorToolbar || !r.editControl) return;
    win::CHARFORMATA cf;
    win::SendMessageA(r.editControl, win::EM_GETCHARFORMAT, win::SCF_SELECTION,
                      reinterpret_cast<win::LPARAM>(&cf));
    win::PARAFORMAT pf;
    win::SendMessageA(r.editControl, win::EM_GETPARAFORMAT, 0, reinterpret_cast<win::LPARAM>(&pf));
    const auto check = [&](int command, bool on) {
        win::SendMessageA(r.editorToolbar, win::TB_CHECKBUTTON, static_cast<win::WPARAM>(command),
                          on);
    };
    // A style is shown pressed only when the whole selection carries it.
    check(kCmdBold, (cf.dwMask & win::CFM_BOLD) && (cf.dwEffects & win::CFE_BOLD));
    check(kCmdItalic, (cf.dwMask & win::CFM_ITALIC) && (cf.dwEffects & win::CFE_ITALIC));
    check(kCmdUnderline, (cf.dwMask & win::CFM_UNDERLINE) && (cf.dwEffects & win::CFE_UNDERLINE));
    const bool aligned = (pf.dwMask & win::PFM_ALIGNMENT) != 0;
    check(kCmdAlignLeft, aligned && (pf.wAlignment == win::PFA_LEFT || pf.wAlignment == 0));
    check(kCmdAlignCentre, aligned && pf.wAlignment == win::PFA_CENTER);
    check(kCmdAlignRight, aligned && pf.wAlignment == win::PFA_RIGHT);
    check(kCmdBullet, (pf.dwMask & win::PFM_NUMBERING) && pf.wNumbering == win::PFN_BULLET);
}

long editorControlEnd(const EditorWindowRecord& r) {
    const int length = EditorTextLength(r.editControl, r.displayFrozen);
    if (editorControlVersion(r) < 2) return length;
    const auto lines = win::SendMessageA(r.editControl, win::EM_GETLINECOUNT, 0, 0);
    return static_cast<long>(length + 1 - lines);
}

}  // namespace tk
