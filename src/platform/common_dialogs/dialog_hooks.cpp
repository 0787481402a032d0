// The common dialogs' host procedure, template choice and extended error.

#include "platform/common_dialogs/dialog_hooks.h"

#include <iterator>
#include <unordered_map>

#include "platform/resources/resource_api.h"

namespace win {
namespace commdlg {
namespace {

DWORD& lastError() {
    static DWORD error = 0;
    return error;
}

std::unordered_map<HWND, Host>& hosts() {
    static std::unordered_map<HWND, Host> map;
    return map;
}

const Host* hostOf(HWND dialog) {
    const auto it = hosts().find(dialog);
    return it == hosts().end() ? nullptr : &it->second;
}

}  // namespace

INT_PTR hostProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        const Host host = *reinterpret_cast<const Host*>(lp);
        hosts()[h] = host;
        const INT_PTR own =
            host.own ? host.own(h, msg, wp, reinterpret_cast<LPARAM>(host.state)) : FALSE;
        if (!host.hook || !IsWindow(h)) return own;
        return static_cast<INT_PTR>(host.hook(h, msg, wp, host.hookParam));
    }
    const Host* host = hostOf(h);
    if (!host) return FALSE;
    const Host copy = *host;  // the hook may end the dialog
    if (copy.hook) {
        if (const UINT_PTR r = copy.hook(h, msg, wp, lp)) {
            if (msg == WM_NCDESTROY) hosts().erase(h);
            return static_cast<INT_PTR>(r);
        }
        if (!hostOf(h)) return FALSE;
    }
    const INT_PTR r = copy.own ? copy.own(h, msg, wp, lp) : FALSE;
    if (msg == WM_NCDESTROY) hosts().erase(h);
    return r;
}

void* stateOf(HWND dialog) {
    const Host* host = hostOf(dialog);
    return host ? host->state : nullptr;
}

const void* chooseTemplate(bool byName, bool byHandle, HINSTANCE instance, LPCSTR name,
                           const void* handle, const std::vector<BYTE>& ours) {
    if (byHandle) {
        // A handle of global memory or of a loaded resource: both are the bytes.
        if (!handle) setError(CDERR_NOTEMPLATE);
        return handle;
    }
    if (!byName) return ours.data();
    if (!name) {
        setError(CDERR_NOTEMPLATE);
        return nullptr;
    }
    HRSRC found = FindResourceA(instance, name, MAKEINTRESOURCEA(RT_DIALOG_ID));
    if (!found) {
        setError(CDERR_FINDRESFAILURE);
        return nullptr;
    }
    const void* bytes = LockResource(LoadResource(instance, found));
    if (!bytes) setError(CDERR_LOADRESFAILURE);
    return bytes;
}

bool beginCall(bool hookEnabled, const void* hook) {
    setError(0);
    for (auto it = hosts().begin(); it != hosts().end();)
        it = IsWindow(it->first) ? std::next(it) : hosts().erase(it);
    if (hookEnabled && !hook) {
        setError(CDERR_NOHOOK);
        return false;
    }
    return true;
}

void sendHelp(HWND dialog, HWND owner, const void* request) {
    if (owner && IsWindow(owner))
        SendMessageA(owner, RegisterWindowMessageA(HELPMSGSTRINGA),
                     reinterpret_cast<WPARAM>(dialog), reinterpret_cast<LPARAM>(request));
}

void setError(DWORD code) {
    lastError() = code;
}

}  // namespace commdlg

DWORD CommDlgExtendedError() {
    return commdlg::lastError();
}

}  // namespace win
