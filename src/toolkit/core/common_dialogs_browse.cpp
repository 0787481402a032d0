// The folder chooser: the shell's browser with an edit field in place of its
// heading, so that a folder can also be typed, and checks of the typed
// folder when OK is pressed.

#include <sys/stat.h>

#include <string>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/message_box.h"
#include "platform/window/user_api.h"
#include "toolkit/core/common_dialogs.h"
#include "toolkit/core/common_dialogs_frame.h"
#include "toolkit/core/file_services.h"

namespace tk {
namespace {

constexpr int kFolderTextLength = 260;

struct Browse {
    int flags = 0;
    std::string folder;
    win::HWND edit = nullptr;
    win::WNDPROC previous = nullptr;
};

// One browser is up at a time: the subclassed dialog finds its state here.
Browse* active = nullptr;

enum class PathKind { Missing, Folder, Other };

PathKind kindOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return PathKind::Missing;
    return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::Other;
}

int box(win::HWND owner, const char* text, const char* caption, win::UINT style) {
    return win::MessageBoxA(owner, text, caption, style);
}

// Whether the typed folder may close the dialog; creates it when asked to.
bool acceptFolder(win::HWND dialog, Browse& b) {
    const PathKind kind = kindOf(b.folder);
    if (kind == PathKind::Folder) return true;
    if (kind == PathKind::Other) {
        box(dialog, "The specified path is not a valid directory name.\nSpecify a valid directory.",
            "Invalid Directory", win::MB_OK | win::MB_ICONEXCLAMATION);
        return false;
    }
    if (b.flags & kBrowseOfferCreation) {
        if (box(dialog, "The specified directory does not exist.\nDo you wish to create it?",
                "Create Directory?", win::MB_YESNO | win::MB_ICONQUESTION) != win::IDYES)
            return false;
        int error = 0;
        Win32DirMake(b.folder.c_str(), error);
        if (error == 0) return true;
        box(dialog, "An error occurred creating\nthe specified directory.", "Error",
            win::MB_OK | win::MB_ICONEXCLAMATION);
        return false;
    }
    if (b.flags & kBrowseMissingAllowed) return true;
    box(dialog, "The specified directory does not exist.\nSpecify a valid directory.",
        "Invalid Directory", win::MB_OK | win::MB_ICONEXCLAMATION);
    return false;
}

win::LRESULT dialogProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    Browse& b = *active;
    if (msg == win::WM_COMMAND && win::LOWORD(wp) == win::IDOK && win::HIWORD(wp) == 0) {
        char text[kFolderTextLength + 1] = {};
        win::GetWindowTextA(b.edit, text, sizeof text);
        b.folder = text;
        win::SendMessageA(b.edit, win::EM_SETSEL, 0, -1);
        if (!acceptFolder(h, b)) return 0;
    }
    return win::CallWindowProcA(b.previous, h, msg, wp, lp);
}

void putEditInPlaceOfHeading(win::HWND dialog, Browse& b) {
    win::HWND heading = win::GetWindow(dialog, win::GW_CHILD);
    char caption[256] = {};
    win::RECT r{0, 0, 0, 13};
    win::MapDialogRect(dialog, &r);
    const int height = r.bottom;
    r = {};
    if (heading) {
        win::GetWindowTextA(heading, caption, sizeof caption);
        win::ShowWindow(heading, win::SW_HIDE);
        win::SetWindowTextA(dialog, caption);
        win::GetWindowRect(heading, &r);
        win::MapWindowPoints(nullptr, dialog, reinterpret_cast<win::POINT*>(&r), 2);
    }
    b.edit = win::CreateWindowExA(
        win::WS_EX_CLIENTEDGE, "EDIT", b.folder.c_str(),
        win::WS_CHILD | win::WS_VISIBLE | win::WS_TABSTOP | win::ES_AUTOHSCROLL, r.left, r.top,
        r.right - r.left, height, dialog, nullptr, nullptr, nullptr);
    win::SendMessageA(b.edit, win::EM_LIMITTEXT, kFolderTextLength, 0);
    if (heading)
        win::SendMessageA(b.edit, win::WM_SETFONT,
                          win::SendMessageA(heading, win::WM_GETFONT, 0, 0), 0);
}

int callback(win::HWND dialog, win::UINT what, win::LPARAM lp, win::LPARAM data) {
    Browse& b = *reinterpret_cast<Browse*>(data);
    if (what == win::BFFM_INITIALIZED) {
        putEditInPlaceOfHeading(dialog, b);
        win::SendMessageA(dialog, win::BFFM_SETSELECTIONA, win::TRUE,
                          reinterpret_cast<win::LPARAM>(b.folder.c_str()));
        if (b.flags & (kBrowseMissingAllowed | kBrowseOfferCreation))
            win::SendMessageA(dialog, win::BFFM_ENABLEOK, 0, 1);
        b.previous = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtrA(
            dialog, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(dialogProcedure)));
    } else if (what == win::BFFM_SELCHANGED) {
        char path[kFolderTextLength + 1] = {};
        if (win::SHGetPathFromIDListA(reinterpret_cast<win::LPCITEMIDLIST>(lp), path)) {
            b.folder = path;
            if (b.edit) win::SetWindowTextA(b.edit, path);
        } else {
            win::SendMessageA(dialog, win::BFFM_ENABLEOK, 0, 0);
        }
    }
    return 0;
}

}  // namespace

void DirectoryBrowseRun(int titleMode, int& result, int flags, TextOut folder,
                        std::string_view title) {
    Browse b;
    b.flags = flags;
    b.folder = osText(std::string_view(folder.data(), folder.size()));
    const std::string heading = titleMode == 1 ? osText(title) : "Select Directory";
    char displayName[kFolderTextLength] = {};
    win::BROWSEINFOA info;
    info.pszDisplayName = displayName;
    info.lpszTitle = heading.c_str();
    info.ulFlags = win::BIF_RETURNONLYFSDIRS;
    info.lpfn = callback;
    info.lParam = reinterpret_cast<win::LPARAM>(&b);

    Browse* outer = active;
    active = &b;
    win::LPITEMIDLIST list = nullptr;
    {
        ModalScope modal;
        info.hwndOwner = modal.owner();
        list = win::SHBrowseForFolderA(&info);
    }
    active = outer;
    if (!list) {
        result = 2;
        return;
    }
    win::IMalloc* allocator = nullptr;
    if (win::SHGetMalloc(&allocator) == win::S_OK && allocator) {
        allocator->Free(list);
        allocator->Release();
    }
    putText(folder, b.folder);
    result = 1;
}

}  // namespace tk
