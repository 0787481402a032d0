// Find and Replace: modeless dialogs. Each button press copies the fields
// into the caller's structure and sends the owner the registered message
// "commdlg_FindReplace"; closing sends it once more with FR_DIALOGTERM.
// A caller's hook hears every message first; a caller's template replaces
// ours and keeps working as long as it uses the standard control numbers.

#include <algorithm>
#include <cstring>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/common_dialogs/dialog_hooks.h"
#include "platform/common_dialogs/dialog_items.h"

namespace win {
namespace {

void copyField(HWND h, int id, LPSTR buffer, WORD size) {
    if (buffer && size) GetDlgItemTextA(h, id, buffer, size);
}

void report(HWND h, FINDREPLACEA* fr, DWORD action) {
    copyField(h, kFindWhatEdit, fr->lpstrFindWhat, fr->wFindWhatLen);
    if (GetDlgItem(h, kReplaceWithEdit))
        copyField(h, kReplaceWithEdit, fr->lpstrReplaceWith, fr->wReplaceWithLen);
    DWORD f = fr->Flags & ~(FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM | FR_DOWN |
                            FR_MATCHCASE | FR_WHOLEWORD);
    if (IsDlgButtonChecked(h, kMatchCaseCheck)) f |= FR_MATCHCASE;
    if (IsDlgButtonChecked(h, kWholeWordCheck)) f |= FR_WHOLEWORD;
    // Without the direction buttons (Replace) the search goes down.
    if (!GetDlgItem(h, kUpRadio) || IsDlgButtonChecked(h, kDownRadio)) f |= FR_DOWN;
    fr->Flags = f | action;
    SendMessageA(fr->hwndOwner, RegisterWindowMessageA(FINDMSGSTRINGA), 0,
                 reinterpret_cast<LPARAM>(fr));
}

void enableButtons(HWND h) {
    const bool any = GetWindowTextLengthA(GetDlgItem(h, kFindWhatEdit)) > 0;
    for (int id : {IDOK, kReplaceButton, kReplaceAllButton})
        if (HWND b = GetDlgItem(h, id)) EnableWindow(b, any ? TRUE : FALSE);
}

INT_PTR findProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* fr = commdlg::stateOf<FINDREPLACEA>(h);
    switch (msg) {
        case WM_INITDIALOG:
            fr = reinterpret_cast<FINDREPLACEA*>(lp);
            if (fr->lpstrFindWhat) SetDlgItemTextA(h, kFindWhatEdit, fr->lpstrFindWhat);
            if (fr->lpstrReplaceWith && GetDlgItem(h, kReplaceWithEdit))
                SetDlgItemTextA(h, kReplaceWithEdit, fr->lpstrReplaceWith);
            CheckDlgButton(h, kMatchCaseCheck,
                           (fr->Flags & FR_MATCHCASE) ? BST_CHECKED : BST_UNCHECKED);
            CheckDlgButton(h, kWholeWordCheck,
                           (fr->Flags & FR_WHOLEWORD) ? BST_CHECKED : BST_UNCHECKED);
            if (GetDlgItem(h, kUpRadio))
                CheckRadioButton(h, kUpRadio, kDownRadio,
                                 (fr->Flags & FR_DOWN) ? kDownRadio : kUpRadio);
            if (fr->Flags & FR_NOMATCHCASE) EnableWindow(GetDlgItem(h, kMatchCaseCheck), FALSE);
            if (fr->Flags & FR_NOWHOLEWORD) EnableWindow(GetDlgItem(h, kWholeWordCheck), FALSE);
            if (fr->Flags & FR_NOUPDOWN)
                for (int id : {kUpRadio, kDownRadio})
                    if (HWND r = GetDlgItem(h, id)) EnableWindow(r, FALSE);
            enableButtons(h);
            return TRUE;
        case WM_COMMAND:
            if (!fr) return FALSE;
            switch (LOWORD(wp)) {
                case kFindWhatEdit:
                    if (HIWORD(wp) == EN_CHANGE) enableButtons(h);
                    return TRUE;
                case IDOK:
                    report(h, fr, FR_FINDNEXT);
                    return TRUE;
                case kReplaceButton:
                    report(h, fr, FR_REPLACE);
                    return TRUE;
                case kReplaceAllButton:
                    report(h, fr, FR_REPLACEALL);
                    return TRUE;
                case pshHelp:
                    commdlg::sendHelp(h, fr->hwndOwner, fr);
                    return TRUE;
                case IDCANCEL:
                    report(h, fr, FR_DIALOGTERM);
                    DestroyWindow(h);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

std::vector<BYTE> ourTemplate(const FINDREPLACEA* fr, bool replace) {
    using commdlg::item;
    dialogs::DialogTemplate t =
        commdlg::frame(replace ? "Replace" : "Find", 236, replace ? 94 : 62);
    t.style |= WS_VISIBLE;
    t.x = 30;
    t.y = 20;
    t.items.push_back(item("Static", "Fi&nd what:", -1, SS_LEFT, 5, 9, 44, 8));
    t.items.push_back(item("Edit", "", kFindWhatEdit,
                           WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 52, 7, 114, 12));
    int y = 26;
    if (replace) {
        t.items.push_back(item("Static", "Re&place with:", -1, SS_LEFT, 5, 26, 46, 8));
        t.items.push_back(item("Edit", "", kReplaceWithEdit,
                               WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 52, 24, 114,
                               12));
        y = 44;
    }
    if (!(fr->Flags & FR_HIDEWHOLEWORD))
        t.items.push_back(item("Button", "Match &whole word only", kWholeWordCheck,
                               BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 5, y, 100, 12));
    if (!(fr->Flags & FR_HIDEMATCHCASE))
        t.items.push_back(item("Button", "Match &case", kMatchCaseCheck,
                               BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 5, y + 14, 60, 12));
    if (!replace && !(fr->Flags & FR_HIDEUPDOWN)) {
        t.items.push_back(item("Button", "Direction", kDirectionGroup, BS_GROUPBOX | WS_GROUP, 107,
                               y - 4, 60, 30));
        t.items.push_back(item("Button", "&Up", kUpRadio,
                               BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 111, y + 8, 25, 12));
        t.items.push_back(
            item("Button", "&Down", kDownRadio, BS_AUTORADIOBUTTON, 138, y + 8, 28, 12));
    }
    t.items.push_back(item("Button", "&Find Next", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
                           174, 5, 56, 14));
    if (replace) {
        t.items.push_back(item("Button", "&Replace", kReplaceButton, BS_PUSHBUTTON | WS_TABSTOP,
                               174, 22, 56, 14));
        t.items.push_back(item("Button", "Replace &All", kReplaceAllButton,
                               BS_PUSHBUTTON | WS_TABSTOP, 174, 39, 56, 14));
    }
    t.items.push_back(item("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 174,
                           replace ? 56 : 22, 56, 14));
    if (fr->Flags & FR_SHOWHELP)
        t.items.push_back(item("Button", "&Help", pshHelp, BS_PUSHBUTTON | WS_TABSTOP, 174,
                               replace ? 73 : 39, 56, 14));
    return dialogs::buildTemplate(t);
}

HWND create(FINDREPLACEA* fr, bool replace) {
    commdlg::setError(0);
    if (!fr || fr->lStructSize != sizeof(FINDREPLACEA)) {
        commdlg::setError(CDERR_STRUCTSIZE);
        return nullptr;
    }
    if (!fr->hwndOwner || !IsWindow(fr->hwndOwner) || !fr->lpstrFindWhat ||
        (replace && !fr->lpstrReplaceWith)) {
        commdlg::setError(CDERR_INITIALIZATION);
        return nullptr;
    }
    if (!fr->wFindWhatLen || (replace && !fr->wReplaceWithLen)) {
        commdlg::setError(FRERR_BUFFERLENGTHZERO);
        return nullptr;
    }
    const bool hooked = (fr->Flags & FR_ENABLEHOOK) != 0;
    if (!commdlg::beginCall(hooked, reinterpret_cast<const void*>(fr->lpfnHook))) return nullptr;
    const auto ours = ourTemplate(fr, replace);
    const void* bytes = commdlg::chooseTemplate(
        (fr->Flags & FR_ENABLETEMPLATE) != 0, (fr->Flags & FR_ENABLETEMPLATEHANDLE) != 0,
        fr->hInstance, fr->lpTemplateName, fr->hInstance, ours);
    if (!bytes) return nullptr;
    commdlg::Host host{findProc, fr, hooked ? fr->lpfnHook : nullptr, reinterpret_cast<LPARAM>(fr)};
    // A caller's template may come without WS_VISIBLE; the dialog is shown anyway.
    HINSTANCE instance = (fr->Flags & FR_ENABLETEMPLATEHANDLE) ? nullptr : fr->hInstance;
    HWND h = CreateDialogIndirectParamA(instance, bytes, fr->hwndOwner, commdlg::hostProc,
                                        reinterpret_cast<LPARAM>(&host));
    if (!h) {
        commdlg::setError(CDERR_DIALOGFAILURE);
        return nullptr;
    }
    if (!IsWindowVisible(h)) ShowWindow(h, SW_SHOWNORMAL);
    return h;
}

}  // namespace

HWND FindTextA(FINDREPLACEA* fr) {
    return create(fr, false);
}
HWND ReplaceTextA(FINDREPLACEA* fr) {
    return create(fr, true);
}

}  // namespace win
