#include "toolkit/editors/editor_command_line.h"

#include <algorithm>
#include <vector>

#include "platform/controls/controls_api.h"
#include "platform/gdi/gdi.h"
#include "platform/window/scroll_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/editors/editor_layout.h"

namespace tk {
namespace {

win::LRESULT sendCombo(const EditorWindowRecord& r, win::UINT msg, win::WPARAM wp = 0,
                       win::LPARAM lp = 0) {
    return win::SendMessageA(r.commandControl, msg, wp, lp);
}

bool hasHistory(const EditorWindowRecord& r) {
    return r.commandControl && r.commandControl != r.commandEdit;
}

std::string windowText(win::HWND h) {
    const int n = win::GetWindowTextLengthA(h);
    std::string t(static_cast<std::size_t>(n) + 1, '\0');
    win::GetWindowTextA(h, t.data(), n + 1);
    t.resize(static_cast<std::size_t>(n));
    return t;
}

std::string historyEntry(const EditorWindowRecord& r, int index) {
    const auto n = sendCombo(r, win::CB_GETLBTEXTLEN, static_cast<win::WPARAM>(index));
    if (n < 0) return {};
    std::string t(static_cast<std::size_t>(n) + 1, '\0');
    sendCombo(r, win::CB_GETLBTEXT, static_cast<win::WPARAM>(index),
              reinterpret_cast<win::LPARAM>(t.data()));
    t.resize(static_cast<std::size_t>(n));
    return t;
}

EditorWindowRecord* recordOfEdit(win::HWND edit) {
    for (win::HWND h = win::GetParent(edit); h; h = win::GetParent(h))
        if (EditorWindowRecord* r = editorRecordOf(h)) return r;
    return nullptr;
}

win::HWND frameOf(const EditorWindowRecord& r) {
    return windowSystem().slots[static_cast<std::size_t>(r.window)].frame;
}

void statusPart(const EditorWindowRecord& r, int part, const char* text) {
    if (r.statusBar)
        win::SendMessageA(r.statusBar, win::SB_SETTEXTA, static_cast<win::WPARAM>(part),
                          reinterpret_cast<win::LPARAM>(text));
}

// Up and Down walk the history list from the entry matching the typed text.
void historyStep(EditorWindowRecord& r, int step) {
    if (sendCombo(r, win::CB_GETDROPPEDSTATE)) return;
    const int count = static_cast<int>(sendCombo(r, win::CB_GETCOUNT));
    int at = static_cast<int>(sendCombo(r, win::CB_GETCURSEL));
    if (at < 0) {
        const std::string typed = windowText(r.commandEdit);
        at = static_cast<int>(sendCombo(r, win::CB_FINDSTRINGEXACT, static_cast<win::WPARAM>(-1),
                                        reinterpret_cast<win::LPARAM>(typed.c_str())));
        if (at < 0) at = step > 0 ? -1 : 0;
        else if (step < 0) at += 1;
    }
    int next = std::max(0, at + step);
    if (next >= count) next = -1;
    sendCombo(r, win::CB_SETCURSEL, static_cast<win::WPARAM>(next));
}

void entered(EditorWindowRecord& r) {
    if (hasHistory(r)) {
        const std::string text = windowText(r.commandEdit);
        const bool blank = text.find_first_not_of(' ') == std::string::npos;
        if (!blank && (sendCombo(r, win::CB_GETCOUNT) == 0 || historyEntry(r, 0) != text)) {
            if (sendCombo(r, win::CB_GETCOUNT) >= kEditorHistoryLimit)
                sendCombo(r, win::CB_DELETESTRING, kEditorHistoryLimit - 1);
            sendCombo(r, win::CB_INSERTSTRING, 0, reinterpret_cast<win::LPARAM>(text.c_str()));
            sendCombo(r, win::CB_SETCURSEL, 0);
        }
    }
    EventPost(EditorCommandEntered, 0, 0, 0, frameOf(r));
}

// A key of the command line; true when the editor took it.
bool commandKey(EditorWindowRecord& r, win::WPARAM key) {
    switch (static_cast<int>(key)) {
        case win::VK_CAPITAL:
            statusPart(r, 1, (win::GetKeyState(win::VK_CAPITAL) & 1) ? "\tCAPS" : "");
            return false;
        case win::VK_NUMLOCK:
            statusPart(r, 2, (win::GetKeyState(win::VK_NUMLOCK) & 1) ? "\tNUM" : "");
            return false;
        case win::VK_PRIOR:
        case win::VK_NEXT:
            win::SendMessageA(r.editControl, win::WM_VSCROLL,
                              key == win::VK_PRIOR ? win::SB_PAGEUP : win::SB_PAGEDOWN, 0);
            return true;
        case win::VK_UP:
        case win::VK_DOWN:
            if (hasHistory(r))
                historyStep(r, key == win::VK_UP ? -1 : 1);
            else
                win::SendMessageA(r.editControl, win::WM_VSCROLL,
                                  key == win::VK_UP ? win::SB_LINEUP : win::SB_LINEDOWN, 0);
            return true;
        default:
            return false;
    }
}

bool commandCharacter(EditorWindowRecord& r, win::WPARAM c) {
    switch (static_cast<int>(c)) {
        case 1:  // Ctrl+A
            win::SendMessageA(r.commandEdit, win::EM_SETSEL, 0, -1);
            return true;
        case '\t':
            win::SetFocus(r.editControl);
            windowSystem().FocusWindow = frameOf(r);
            return true;
        case '\r':
            entered(r);
            return true;
        case 27:
            if (hasHistory(r) && sendCombo(r, win::CB_GETDROPPEDSTATE)) return false;
            win::SetWindowTextA(r.commandEdit, "");
            return true;
        default:
            return false;
    }
}

int textWidth(win::HWND h, win::HFONT font, const std::string& text) {
    if (text.empty()) return 0;
    win::HDC dc = win::GetDC(h);
    win::HGDIOBJ old = font ? win::SelectObject(dc, font) : nullptr;
    win::SIZE size{};
    win::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (old) win::SelectObject(dc, old);
    win::ReleaseDC(h, dc);
    return size.cx;
}

win::HWND child(win::HWND frame, const char* cls, win::DWORD style, win::DWORD ex, int id) {
    return win::CreateWindowExA(ex, cls, "", win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPSIBLINGS | style,
                                0, 0, 0, 0, frame,
                                reinterpret_cast<win::HMENU>(static_cast<win::INT_PTR>(id)), nullptr,
                                nullptr);
}

}  // namespace

win::LRESULT EditorCommandLineProc(win::HWND edit, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    const auto previous =
        reinterpret_cast<win::WNDPROC>(win::GetWindowLongPtrA(edit, win::GWLP_USERDATA));
    EditorWindowRecord* r = recordOfEdit(edit);
    if (r && msg == win::WM_KEYDOWN && commandKey(*r, wp)) return 0;
    if (r && msg == win::WM_CHAR && commandCharacter(*r, wp)) return 0;
    return previous ? win::CallWindowProcA(previous, edit, msg, wp, lp)
                    : win::DefWindowProcA(edit, msg, wp, lp);
}

void EditorCommandLine(win::HWND frame, EditorWindowRecord& r, bool history) {
    win::RECT probe{0, 0, 100, r.lineHeight > 0 ? r.lineHeight : 16};
    win::AdjustWindowRectEx(&probe, win::WS_CHILD, win::FALSE, win::WS_EX_CLIENTEDGE);
    r.commandHeight = probe.bottom - probe.top + 2;
    if (history) {
        r.commandControl = child(frame, "COMBOBOX",
                                 win::CBS_DROPDOWN | win::CBS_HASSTRINGS | win::CBS_AUTOHSCROLL |
                                     win::WS_VSCROLL,
                                 win::WS_EX_CLIENTEDGE, kEditorCommandLineId);
        r.commandEdit = win::GetWindow(r.commandControl, win::GW_CHILD);
        if (!r.commandEdit) r.commandEdit = r.commandControl;
    } else {
        r.commandControl = child(frame, "EDIT", win::ES_AUTOHSCROLL, win::WS_EX_CLIENTEDGE,
                                 kEditorCommandLineId);
        r.commandEdit = r.commandControl;
    }
    r.promptFrame = child(frame, "STATIC", win::SS_CENTER, 0, kEditorPromptId);
    // The text lies inside its frame, so the frame never covers it.
    r.promptText = child(r.promptFrame, "STATIC", win::SS_LEFT, 0, kEditorPromptId);
    for (win::HWND h : {r.commandControl, r.promptFrame, r.promptText})
        if (h && r.font) win::SendMessageA(h, win::WM_SETFONT, reinterpret_cast<win::WPARAM>(r.font), 0);
    if (r.commandEdit) {
        const auto old = win::SetWindowLongPtrA(r.commandEdit, win::GWLP_WNDPROC,
                                                reinterpret_cast<win::LONG_PTR>(&EditorCommandLineProc));
        win::SetWindowLongPtrA(r.commandEdit, win::GWLP_USERDATA, old);
    }
}

int editorCommandLineLayout(EditorWindowRecord& r, int left, int bottom, int width) {
    if (!r.commandControl) return 0;
    const int top = bottom - r.commandHeight;
    const int promptWidth = r.promptWidth;
    win::MoveWindow(r.promptFrame, left, top, promptWidth, r.commandHeight, win::TRUE);
    win::MoveWindow(r.promptText, 0, r.promptOffset, promptWidth,
                    r.commandHeight - r.promptOffset, win::TRUE);
    const int listHeight = r.commandControl != r.commandEdit ? 10 * r.commandHeight : r.commandHeight;
    win::MoveWindow(r.commandControl, left + promptWidth, top, std::max(0, width - promptWidth),
                    listHeight, win::TRUE);
    return r.commandHeight;
}

void EditorSetPrompt(int& status, const std::string& text) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r) {
        status = 1;
        return;
    }
    if (!r->commandControl) {
        status = 2;
        return;
    }
    r->promptWidth = text.empty() ? 0 : textWidth(r->promptText, r->font, text) + 6;
    r->promptOffset =
        std::max(0, (r->commandHeight - (r->lineHeight > 0 ? r->lineHeight : 16)) / 2);
    win::SetWindowTextA(r->promptText, text.c_str());
    editorLayout(frameOf(*r), *r);
    status = 0;
}

void EditorSetCommandText(int& status, const std::string& text, int caret) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r) {
        status = 1;
        return;
    }
    if (!r->commandControl) {
        status = 2;
        return;
    }
    if (hasHistory(*r)) sendCombo(*r, win::CB_SETCURSEL, static_cast<win::WPARAM>(-1));
    win::SetWindowTextA(r->commandEdit, text.c_str());
    win::SendMessageA(r->commandEdit, win::EM_SETSEL, static_cast<win::WPARAM>(caret), caret);
    win::SendMessageA(r->commandEdit, win::EM_SCROLLCARET, 0, 0);
    status = 0;
}

void EditorCheckHistory(int& status) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    status = !r ? 1 : hasHistory(*r) ? 0 : 2;
}

void EditorClearHistory(int& status) {
    EditorCheckHistory(status);
    if (status == 0) sendCombo(*editorOfCurrentWindow(), win::CB_RESETCONTENT);
}

void EditorAddHistory(int index, const std::string& text) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !hasHistory(*r)) return;
    sendCombo(*r, win::CB_INSERTSTRING, static_cast<win::WPARAM>(index),
              reinterpret_cast<win::LPARAM>(text.c_str()));
}

void EditorGetHistoryEntry(int index, std::string& text) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r || !hasHistory(*r)) return;
    text = historyEntry(*r, index);
}

void EditorGetCommandText(int& status, std::string& text, int size) {
    EditorWindowRecord* r = editorOfCurrentWindow();
    if (!r) {
        status = 1;
        return;
    }
    if (!r->commandControl) {
        status = 3;
        return;
    }
    const std::string all = windowText(r->commandEdit);
    const std::size_t room = static_cast<std::size_t>(std::max(size - 1, 0));
    status = all.size() <= room ? 0 : 2;
    text = all.substr(0, room);
}

}  // namespace tk
