// The keyboard in dialogs: Tab and Shift+Tab through the tab stops, arrows
// within a group, mnemonics, Enter for the default button and Escape for
// Cancel.

#include <cctype>
#include <string>
#include <vector>

#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_internal.h"

namespace win::dialogs {
namespace {

DWORD styleOf(HWND h) {
    return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
}
DWORD exStyleOf(HWND h) {
    return static_cast<DWORD>(GetWindowLongA(h, GWL_EXSTYLE));
}

bool usable(HWND h) {
    return IsWindowVisible(h) && IsWindowEnabled(h);
}

// The controls of a dialog in z-order, going into child dialogs that hold
// controls of their own (WS_EX_CONTROLPARENT).
void collect(HWND parent, std::vector<HWND>& out) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((exStyleOf(c) & WS_EX_CONTROLPARENT) && (styleOf(c) & WS_VISIBLE)) {
            collect(c, out);
            continue;
        }
        out.push_back(c);
    }
}

// The control (or the control parent) of `dialog` that holds `h`.
HWND controlOf(HWND dialog, HWND h) {
    while (h && GetParent(h) && GetParent(h) != dialog) {
        HWND p = GetParent(h);
        if (exStyleOf(p) & WS_EX_CONTROLPARENT) break;
        h = p;
    }
    return h;
}

LRESULT dlgCode(HWND h, const MSG* m) {
    return SendMessageA(h, WM_GETDLGCODE, m ? m->wParam : 0, reinterpret_cast<LPARAM>(m));
}

// The text of a control with its mnemonic character, upper-cased, or 0.
char mnemonicOf(HWND h) {
    char buf[256];
    GetWindowTextA(h, buf, sizeof buf);
    for (int i = 0; buf[i]; ++i) {
        if (buf[i] != '&') continue;
        if (buf[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(buf[i + 1])));
    }
    return 0;
}

void pressButton(HWND dialog, HWND button) {
    const LRESULT code = SendMessageA(button, WM_GETDLGCODE, 0, 0);
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
        focusControl(dialog, button);
        SendMessageA(button, BM_CLICK, 0, 0);
    } else if (code & DLGC_BUTTON) {
        focusControl(dialog, button);
        SendMessageA(button, BM_CLICK, 0, 0);
    }
}

// A mnemonic: a button is pressed, a label passes the focus to the next
// control that can take it.
bool mnemonic(HWND dialog, char ch) {
    const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    std::vector<HWND> all;
    collect(dialog, all);
    HWND focus = GetFocus();
    std::size_t start = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i] == controlOf(dialog, focus)) start = i + 1;
    for (std::size_t k = 0; k < all.size(); ++k) {
        HWND c = all[(start + k) % all.size()];
        if (!usable(c) && !(IsWindowVisible(c) && (dlgCode(c, nullptr) & DLGC_STATIC))) continue;
        if (mnemonicOf(c) != key) continue;
        const LRESULT code = dlgCode(c, nullptr);
        if (code & DLGC_STATIC) {
            if (styleOf(c) & 0x80) continue;  // SS_NOPREFIX
            const std::size_t at = (start + k) % all.size();
            for (std::size_t j = 1; j < all.size(); ++j) {
                HWND n = all[(at + j) % all.size()];
                if (usable(n) && !(dlgCode(n, nullptr) & DLGC_STATIC)) {
                    focusControl(dialog, n);
                    return true;
                }
            }
            return true;
        }
        if (code & DLGC_BUTTON) {
            pressButton(dialog, c);
            return true;
        }
        focusControl(dialog, c);
        return true;
    }
    return false;
}

void enter(HWND dialog) {
    HWND focus = GetFocus();
    if (focus && IsChild(dialog, focus) &&
        (dlgCode(focus, nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        if (IsWindowEnabled(focus)) SendMessageA(focus, BM_CLICK, 0, 0);
        return;
    }
    const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    int id = IDOK;
    if (HIWORD(static_cast<std::uintptr_t>(def)) == DC_HASDEFID)
        id = LOWORD(static_cast<std::uintptr_t>(def));
    HWND button = GetDlgItem(dialog, id);
    if (button && !IsWindowEnabled(button)) {
        MessageBeep(0);
        return;
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void escape(HWND dialog) {
    HWND button = GetDlgItem(dialog, IDCANCEL);
    if (button && !IsWindowEnabled(button)) {
        MessageBeep(0);
        return;
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

bool keyDown(HWND dialog, MSG* m) {
    HWND focus = GetFocus();
    const LRESULT code = focus ? dlgCode(focus, m) : 0;
    if (code & (DLGC_WANTMESSAGE)) return false;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (m->wParam) {
        case VK_TAB:
            if (code & DLGC_WANTTAB) return false;
            SendMessageA(dialog, WM_NEXTDLGCTL, shift ? 1 : 0, 0);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            if (code & DLGC_WANTARROWS) return false;
            const bool back = m->wParam == VK_LEFT || m->wParam == VK_UP;
            HWND next = GetNextDlgGroupItem(dialog, focus, back ? TRUE : FALSE);
            if (!next || next == focus) return true;
            focusControl(dialog, next);
            // Moving onto an automatic radio button chooses it.
            if ((dlgCode(next, nullptr) & DLGC_RADIOBUTTON) &&
                (styleOf(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                SendMessageA(next, BM_CLICK, 0, 0);
            return true;
        }
        case VK_RETURN:
            enter(dialog);
            return true;
        case VK_ESCAPE:
            escape(dialog);
            return true;
        default:
            return false;
    }
}

}  // namespace
}  // namespace win::dialogs

namespace win {

using namespace dialogs;

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> all;
    collect(dialog, all);
    if (all.empty()) return nullptr;
    const int n = static_cast<int>(all.size());
    int at = previous ? 0 : n - 1;
    if (control) {
        HWND c = controlOf(dialog, control);
        for (int i = 0; i < n; ++i)
            if (all[static_cast<std::size_t>(i)] == c) at = i;
    }
    for (int k = 1; k <= n; ++k) {
        const int i = ((at + (previous ? -k : k)) % n + n) % n;
        HWND c = all[static_cast<std::size_t>(i)];
        if (usable(c) && (styleOf(c) & WS_TABSTOP)) return c;
    }
    return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    if (!control) return GetNextDlgTabItem(dialog, nullptr, FALSE);
    HWND c = controlOf(dialog, control);
    HWND parent = GetParent(c);
    // The group: from the nearest WS_GROUP at or before the control to the
    // next WS_GROUP.
    std::vector<HWND> siblings;
    for (HWND s = GetWindow(parent, GW_CHILD); s; s = GetWindow(s, GW_HWNDNEXT))
        siblings.push_back(s);
    int at = -1;
    for (std::size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i] == c) at = static_cast<int>(i);
    // A window that is no control of the dialog (the dialog itself holding
    // the focus) belongs to no group: the arrow keys leave it where it is.
    if (at < 0) return c;
    int first = at;
    while (first > 0 && !(styleOf(siblings[static_cast<std::size_t>(first)]) & WS_GROUP))
        --first;
    int last = at + 1;
    while (last < static_cast<int>(siblings.size()) &&
           !(styleOf(siblings[static_cast<std::size_t>(last)]) & WS_GROUP))
        ++last;
    const int size = last - first;
    for (int k = 1; k <= size; ++k) {
        const int i = first + (((at - first) + (previous ? -k : k)) % size + size) % size;
        HWND s = siblings[static_cast<std::size_t>(i)];
        if (usable(s)) return s;
    }
    return c;
}

BOOL IsDialogMessageA(HWND dialog, MSG* m) {
    if (!m || !dialog) return FALSE;
    if (m->hwnd != dialog && !IsChild(dialog, m->hwnd)) return FALSE;
    switch (m->message) {
        case WM_KEYDOWN:
            if (keyDown(dialog, m)) return TRUE;
            break;
        case WM_CHAR: {
            HWND focus = GetFocus();
            const LRESULT code = focus ? dlgCode(focus, m) : 0;
            if (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) break;
            if (m->wParam == '\t' || m->wParam == '\r' || m->wParam == 27) return TRUE;
            if (m->wParam > ' ' && mnemonic(dialog, static_cast<char>(m->wParam))) return TRUE;
            break;
        }
        case WM_SYSCHAR:
            if (mnemonic(dialog, static_cast<char>(m->wParam))) return TRUE;
            break;
        default:
            break;
    }
    TranslateMessage(m);
    DispatchMessageA(m);
    return TRUE;
}

}  // namespace win
