#include "toolkit/editors/editor_search.h"

#include <algorithm>
#include <strings.h>

#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/message_box.h"
#include "platform/window/user_api.h"
#include "toolkit/core/window_table.h"
#include "toolkit/editors/editor_text.h"

namespace tk {
namespace {

win::LRESULT send(const EditorWindowRecord& r, win::UINT msg, win::WPARAM wp = 0,
                  win::LPARAM lp = 0) {
    return win::SendMessageA(r.editControl, msg, wp, lp);
}

win::CHARRANGE selection(const EditorWindowRecord& r) {
    win::CHARRANGE sel;
    send(r, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    return sel;
}

// The texts the dialogs left in the request's buffers.
void takeTexts(EditorWindowRecord& r) {
    r.findText = r.findBuffer.data();
    r.replaceText = r.replaceBuffer.data();
}

void prepareRequest(win::HWND frame, EditorWindowRecord& r) {
    win::FINDREPLACEA& q = r.findRequest;
    const win::DWORD kept = q.Flags & (win::FR_DOWN | win::FR_MATCHCASE | win::FR_WHOLEWORD);
    q = win::FINDREPLACEA{};
    q.hwndOwner = frame;
    q.lpstrFindWhat = r.findBuffer.data();
    q.lpstrReplaceWith = r.replaceBuffer.data();
    q.wFindWhatLen = q.wReplaceWithLen = static_cast<win::WORD>(r.findBuffer.size());
    q.Flags = kept ? kept : win::FR_DOWN;
    if (hasChildStyle(frame)) {
        q.Flags |= win::FR_ENABLEHOOK;
        q.lpfnHook = EditorFindDialogHook;
    }
    if (editorControlVersion(r) < 2) q.Flags |= win::FR_NOUPDOWN | win::FR_HIDEUPDOWN;
}

// The "End of text reached" box; while a find dialog is open it belongs to
// the dialog and the editor frame stays disabled meanwhile.
void endOfText(win::HWND frame, const EditorWindowRecord& r) {
    win::HWND owner = r.findDialog && win::IsWindow(r.findDialog) ? r.findDialog : frame;
    if (owner != frame) win::EnableWindow(frame, win::FALSE);
    win::MessageBoxA(owner, "End of text reached", "Find", win::MB_OK | win::MB_ICONINFORMATION);
    if (owner != frame) win::EnableWindow(frame, win::TRUE);
}

void showFound(const EditorWindowRecord& r, win::LONG at, win::LONG length) {
    const auto before = send(r, win::EM_GETFIRSTVISIBLELINE);
    win::CHARRANGE sel{at, at + length};
    send(r, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    send(r, win::EM_SCROLLCARET);
    if (send(r, win::EM_GETFIRSTVISIBLELINE) != before) {
        // A found text that made the view scroll is shown with some context.
        send(r, win::EM_LINESCROLL, 0, 6);
        send(r, win::EM_SCROLLCARET);
    }
}

}  // namespace

win::UINT editorFindMessage() {
    static const win::UINT message = win::RegisterWindowMessageA(win::FINDMSGSTRINGA);
    return message;
}

void editorOpenFindDialog(win::HWND frame, EditorWindowRecord& r, bool replace) {
    if (replace && r.readOnly) return;
    if (r.findDialog && win::IsWindow(r.findDialog)) win::DestroyWindow(r.findDialog);
    r.findDialog = nullptr;
    prepareRequest(frame, r);
    r.findRequest.Flags &= ~win::FR_DIALOGTERM;
    r.findDialog = replace ? win::ReplaceTextA(&r.findRequest) : win::FindTextA(&r.findRequest);
}

int EditorFindNext(win::HWND frame, EditorWindowRecord& r, const win::FINDREPLACEA& q) {
    takeTexts(r);
    if (!r.editControl || r.findText.empty()) return 0;
    const win::WPARAM flags = q.Flags & (win::FR_DOWN | win::FR_WHOLEWORD | win::FR_MATCHCASE);
    const win::CHARRANGE sel = selection(r);
    const bool some = sel.cpMax > sel.cpMin;
    win::FINDTEXTEXA find;
    find.lpstrText = r.findText.c_str();
    if ((flags & win::FR_DOWN) || editorControlVersion(r) < 2)
        find.chrg = {sel.cpMin + (some ? 1 : 0), -1};
    else
        find.chrg = {sel.cpMax - (some ? 1 : 0), 0};
    const win::WPARAM direction = editorControlVersion(r) < 2 ? (flags | win::FR_DOWN) : flags;
    const auto at = send(r, win::EM_FINDTEXTEX, direction, reinterpret_cast<win::LPARAM>(&find));
    if (at < 0) {
        endOfText(frame, r);
        return 0;
    }
    showFound(r, static_cast<win::LONG>(at), find.chrgText.cpMax - find.chrgText.cpMin);
    return 1;
}

int EditorReplaceNext(win::HWND frame, EditorWindowRecord& r, const win::FINDREPLACEA& q) {
    takeTexts(r);
    if (!r.editControl || r.readOnly) return 0;
    std::array<char, 1024> selected{};
    const win::CHARRANGE sel = selection(r);
    if (sel.cpMax - sel.cpMin < static_cast<win::LONG>(selected.size()))
        send(r, win::EM_GETSELTEXT, 0, reinterpret_cast<win::LPARAM>(selected.data()));
    const bool same = (q.Flags & win::FR_MATCHCASE)
                          ? r.findText == selected.data()
                          : ::strcasecmp(r.findText.c_str(), selected.data()) == 0;
    if (same && !r.findText.empty()) {
        const int guard = r.editGuard;
        r.editGuard = 0;
        send(r, win::EM_REPLACESEL, win::TRUE, reinterpret_cast<win::LPARAM>(r.replaceText.c_str()));
        r.editGuard = guard;
    }
    return EditorFindNext(frame, r, q);
}

void editorFindNotification(win::HWND frame, EditorWindowRecord& r, const win::FINDREPLACEA& q) {
    takeTexts(r);
    if (q.Flags & win::FR_DIALOGTERM) {
        r.findDialog = nullptr;
        return;
    }
    if (q.Flags & win::FR_FINDNEXT) {
        EditorFindNext(frame, r, q);
    } else if (q.Flags & win::FR_REPLACE) {
        EditorReplaceNext(frame, r, q);
    } else if (q.Flags & win::FR_REPLACEALL) {
        win::CHARRANGE start{0, 0};
        send(r, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&start));
        while (EditorReplaceNext(frame, r, q)) {
        }
    }
}

win::UINT_PTR EditorFindDialogHook(win::HWND dialog, win::UINT msg, win::WPARAM wp, win::LPARAM) {
    if (msg == win::WM_INITDIALOG) return 1;
    if (msg == win::WM_COMMAND && win::LOWORD(wp) == win::IDCANCEL) {
        if (win::HWND owner = win::GetWindow(dialog, win::GW_OWNER)) FocusWindowActivate(owner);
    }
    return 0;
}

}  // namespace tk
