#pragma once
// What the common dialogs share: the procedure that gives a caller's hook
// each message before the dialog's own procedure, the caller's own
// templates, and the error that CommDlgExtendedError reports.

#include <vector>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/dialogs/dialog_api.h"

namespace win::commdlg {

using Hook = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// How one of our dialogs starts; a pointer to it is the creation parameter
// of hostProc. `own` gets the state pointer as WM_INITDIALOG's lParam and
// finds it later with stateOf; the hook gets `hookParam` (the caller's
// structure) with WM_INITDIALOG.
struct Host {
    DLGPROC own = nullptr;
    void* state = nullptr;
    Hook hook = nullptr;
    LPARAM hookParam = 0;
};

// The hook sees every message first and a non-zero answer ends it there.
// WM_INITDIALOG goes to the dialog's own procedure first, so the hook finds
// the controls filled; the hook's answer then decides the focus.
// The dialog's extra words (DWLP_USER) are left to the hook.
INT_PTR hostProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

void* stateOf(HWND dialog);
template <class T>
T* stateOf(HWND dialog) {
    return static_cast<T*>(stateOf(dialog));
}

// The template a dialog is made from: the caller's (a named dialog resource
// of `instance`, or the bytes `handle` points to) when the flags ask for it,
// else ours. Null, with the extended error set, when the caller's is missing.
const void* chooseTemplate(bool byName, bool byHandle, HINSTANCE instance, LPCSTR name,
                           const void* handle, const std::vector<BYTE>& ours);

// Starts a dialog call: clears the extended error, forgets dialogs that went
// without WM_NCDESTROY (their handles may come back), and checks the hook
// flag: false, with CDERR_NOHOOK, when the hook is missing.
bool beginCall(bool hookEnabled, const void* hook);

void setError(DWORD code);

// The Help button: HELPMSGSTRINGA to the owner.
void sendHelp(HWND dialog, HWND owner, const void* request);

}  // namespace win::commdlg
