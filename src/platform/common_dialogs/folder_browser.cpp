// The folder browser: a heading, the folders of the current folder (a
// double click goes in, "[..]" goes up), a field for a typed name when asked
// for, and OK for the folder shown; a callback hears when the dialog starts
// and whenever the choice changes.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/common_dialogs/dialog_hooks.h"
#include "platform/common_dialogs/dialog_items.h"

namespace win {

// An item list is a path in one block from malloc.
struct ITEMIDLIST {
    char path[1];
};

namespace {

namespace fs = std::filesystem;

LPITEMIDLIST makeList(const std::string& path) {
    auto* block = static_cast<char*>(std::malloc(path.size() + 1));
    std::memcpy(block, path.c_str(), path.size() + 1);
    return reinterpret_cast<LPITEMIDLIST>(block);
}

struct Browser {
    BROWSEINFOA* info = nullptr;
    std::string folder;
    std::string chosen;
    int changes = 0;  // BFFM_SELCHANGED told so far
};

std::string selectedFolder(HWND h, const Browser& b) {
    const auto i = SendDlgItemMessageA(h, kBrowseFolders, LB_GETCURSEL, 0, 0);
    if (i < 0) return b.folder;
    char buf[1024];
    SendDlgItemMessageA(h, kBrowseFolders, LB_GETTEXT, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(buf));
    const std::string name(buf + 1, std::strlen(buf) - 2);
    if (name == "..") return fs::path(b.folder).parent_path().string();
    return (fs::path(b.folder) / name).string();
}

void tell(HWND h, Browser& b, UINT what, const std::string& path) {
    if (!b.info->lpfn) return;
    if (what == BFFM_SELCHANGED && (b.info->ulFlags & BIF_EDITBOX))
        SetDlgItemTextA(h, kBrowseEdit, fs::path(path).filename().string().c_str());
    if (what == BFFM_SELCHANGED) {
        ++b.changes;
        LPITEMIDLIST list = makeList(path);
        b.info->lpfn(h, what, reinterpret_cast<LPARAM>(list), b.info->lParam);
        std::free(list);
    } else {
        b.info->lpfn(h, what, 0, b.info->lParam);
    }
}

void fill(HWND h, Browser& b) {
    HWND list = GetDlgItem(h, kBrowseFolders);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    if (fs::path(b.folder) != fs::path(b.folder).root_path())
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("[..]"));
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e :
         fs::directory_iterator(b.folder, fs::directory_options::skip_permission_denied, ec)) {
        std::error_code e2;
        const std::string n = e.path().filename().string();
        if (!n.empty() && n[0] != '.' && e.is_directory(e2)) names.push_back(n);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& n : names)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("[" + n + "]").c_str()));
    SetDlgItemTextA(h, kBrowseStatus, b.folder.c_str());
}

void go(HWND h, Browser& b, const std::string& path) {
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(path, ec);
    if (ec || !fs::is_directory(p, ec)) return;
    b.folder = p.string();
    fill(h, b);
    tell(h, b, BFFM_SELCHANGED, b.folder);
}

// OK: the selected folder, or the one whose name was typed. A typed name
// that is no folder is the callback's to judge with BIF_VALIDATE, else the
// selection stands.
void choose(HWND h, Browser& b) {
    const std::string selected = selectedFolder(h, b);
    char typed[260] = {};
    if (b.info->ulFlags & BIF_EDITBOX) GetDlgItemTextA(h, kBrowseEdit, typed, sizeof typed);
    const std::string name = typed;
    if (name.empty() || name == fs::path(selected).filename().string()) {
        b.chosen = selected;
        EndDialog(h, IDOK);
        return;
    }
    std::error_code ec;
    const fs::path candidate = name.front() == '/' ? fs::path(name) : fs::path(b.folder) / name;
    if (fs::is_directory(candidate, ec)) {
        b.chosen = fs::weakly_canonical(candidate, ec).string();
        EndDialog(h, IDOK);
    } else if ((b.info->ulFlags & BIF_VALIDATE) && b.info->lpfn) {
        if (!b.info->lpfn(h, BFFM_VALIDATEFAILEDA, reinterpret_cast<LPARAM>(typed), b.info->lParam))
            EndDialog(h, IDCANCEL);
    } else {
        b.chosen = selected;
        EndDialog(h, IDOK);
    }
}

INT_PTR browseProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* b = commdlg::stateOf<Browser>(h);
    switch (msg) {
        case WM_INITDIALOG:
            b = reinterpret_cast<Browser*>(lp);
            fill(h, *b);
            tell(h, *b, BFFM_INITIALIZED, {});
            // The first selection is told too, unless the callback already chose one.
            if (b->changes == 0) tell(h, *b, BFFM_SELCHANGED, b->folder);
            return TRUE;
        case BFFM_SETSELECTIONA:
            if (b && lp)
                go(h, *b,
                   wp ? reinterpret_cast<const char*>(lp)
                      : reinterpret_cast<const ITEMIDLIST*>(lp)->path);
            return TRUE;
        case BFFM_ENABLEOK:
            EnableWindow(GetDlgItem(h, IDOK), lp ? TRUE : FALSE);
            return TRUE;
        case BFFM_SETSTATUSTEXTA:
            SetDlgItemTextA(h, kBrowseStatus, reinterpret_cast<const char*>(lp));
            return TRUE;
        case WM_COMMAND:
            if (!b) return FALSE;
            if (LOWORD(wp) == kBrowseFolders && HIWORD(wp) == LBN_SELCHANGE) {
                tell(h, *b, BFFM_SELCHANGED, selectedFolder(h, *b));
            } else if (LOWORD(wp) == kBrowseFolders && HIWORD(wp) == LBN_DBLCLK) {
                go(h, *b, selectedFolder(h, *b));
            } else if (LOWORD(wp) == IDOK) {
                choose(h, *b);
            } else if (LOWORD(wp) == IDCANCEL) {
                EndDialog(h, IDCANCEL);
            } else {
                return FALSE;
            }
            return TRUE;
        default:
            return FALSE;
    }
}

struct ShellAllocator : IMalloc {
    void* Alloc(std::size_t bytes) override { return std::malloc(bytes); }
    void Free(void* block) override { std::free(block); }
    ULONG Release() override { return 1; }
};

}  // namespace

LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info) {
    if (!info) return nullptr;
    Browser b;
    b.info = info;
    std::error_code ec;
    b.folder = fs::current_path(ec).string();
    if (info->pidlRoot) b.folder = info->pidlRoot->path;
    commdlg::beginCall(false, nullptr);
    using commdlg::item;
    const bool typing = (info->ulFlags & BIF_EDITBOX) != 0;
    dialogs::DialogTemplate t = commdlg::frame("Browse for Folder", 200, 170);
    t.items = {
        item("Static", info->lpszTitle ? info->lpszTitle : "", kBrowseHeading,
             SS_LEFT | SS_NOPREFIX, 6, 6, 188, 18),
        item("Static", "", kBrowseStatus, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 6, 26, 188, 9),
        item("ListBox", "", kBrowseFolders, WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, 6, 38,
             188, typing ? 86 : 104),
        item("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 88, 150, 50, 14),
        item("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 144, 150, 50, 14),
    };
    if (typing) {
        t.items.push_back(item("Static", "F&older:", kBrowseEditLabel, SS_LEFT, 6, 130, 28, 9));
        t.items.push_back(item("Edit", "", kBrowseEdit,
                               WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 36, 128, 158,
                               12));
    }
    const auto bytes = dialogs::buildTemplate(t);
    commdlg::Host host{browseProc, &b, nullptr, 0};
    if (DialogBoxIndirectParamA(nullptr, bytes.data(), info->hwndOwner, commdlg::hostProc,
                                reinterpret_cast<LPARAM>(&host)) != IDOK)
        return nullptr;
    if (info->pszDisplayName) {
        const std::string name = fs::path(b.chosen).filename().string();
        std::snprintf(info->pszDisplayName, 260, "%s", name.c_str());
    }
    return makeList(b.chosen);
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
    if (!list || !path) return FALSE;
    std::snprintf(path, 260, "%s", list->path);
    return TRUE;
}

HRESULT SHGetMalloc(IMalloc** allocator) {
    static ShellAllocator shell;
    if (!allocator) return -1;
    *allocator = &shell;
    return S_OK;
}

void CoTaskMemFree(void* block) {
    std::free(block);
}

}  // namespace win
