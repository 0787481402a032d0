// Directory listings in list and combo boxes (LB_DIR, CB_DIR) and the
// dialog helpers built on them. Folders appear as "[name]" (with "[..]" for
// the parent), the one drive of this system as "[-c-]"; names match the
// pattern without regard to case, as in the file dialog.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/controls/controls_api.h"
#include "platform/controls/list_box_internal.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/kernel/files.h"

namespace win {
namespace controls {
namespace {

struct Entry {
    std::string name;
    DWORD attributes = 0;
};

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Splits "dir\\*.txt" into the folder (with its separator) and the pattern.
void splitSpec(const std::string& spec, std::string& folder, std::string& pattern) {
    const std::size_t cut = spec.find_last_of("/\\");
    folder = cut == std::string::npos ? std::string() : spec.substr(0, cut + 1);
    pattern = cut == std::string::npos ? spec : spec.substr(cut + 1);
    if (pattern.empty()) pattern = "*";
}

std::vector<Entry> entriesOf(const std::string& folder) {
    std::vector<Entry> out;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return out;
    do {
        out.push_back({data.cFileName, data.dwFileAttributes});
    } while (FindNextFileA(search, &data));
    FindClose(search);
    std::sort(out.begin(), out.end(),
              [](const Entry& a, const Entry& b) { return lower(a.name) < lower(b.name); });
    return out;
}

// A file is listed when its attributes beyond archive are all asked for
// (read-write files need nothing); with DDL_EXCLUSIVE only when it has one
// of the attributes asked for.
bool fileWanted(DWORD attributes, UINT flags) {
    const DWORD relevant = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | 0x4);
    if (flags & DDL_EXCLUSIVE) return (relevant & flags) != 0;
    return (relevant & ~static_cast<DWORD>(flags)) == 0;
}

bool folderWanted(const Entry& e, UINT flags) {
    if (!(flags & DDL_DIRECTORY) || e.name == ".") return false;
    if (e.name == "..") return true;
    return !(e.attributes & FILE_ATTRIBUTE_HIDDEN) || (flags & DDL_HIDDEN);
}

}  // namespace

LRESULT listDirectory(HWND list, UINT flags, const char* pathSpec) {
    std::string folder, pattern;
    splitSpec(pathSpec ? pathSpec : "*", folder, pattern);
    const DWORD attributes = GetFileAttributesA(folder.empty() ? "." : folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return LB_ERR;
    LRESULT last = LB_ERR;
    auto add = [&](const std::string& s) {
        last = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    };
    std::error_code error;
    const bool atRoot =
        std::filesystem::canonical(hostPath(folder.empty() ? "." : folder), error) == "/";
    for (const Entry& e : entriesOf(folder)) {
        if (e.attributes & FILE_ATTRIBUTE_DIRECTORY) {
            // Folders are listed whatever the pattern, so one can go into them;
            // the root has no parent.
            if (folderWanted(e, flags) && !(e.name == ".." && atRoot)) add("[" + e.name + "]");
        } else if (wildcardMatch(pattern, e.name) && fileWanted(e.attributes, flags)) {
            add(e.name);
        }
    }
    if (flags & DDL_DRIVES) add("[-c-]");
    return last;
}

}  // namespace controls

namespace {

// A list or combo entry as a path to go to: "[name]" a folder ("name\\"),
// "[-c-]" the drive ("c:"); true for those, false for a file name.
BOOL selectionPath(const std::string& text, LPSTR out, int size) {
    std::string path = text;
    BOOL folder = FALSE;
    if (text.size() >= 5 && text.compare(0, 2, "[-") == 0 &&
        text.compare(text.size() - 2, 2, "-]") == 0) {
        path = text.substr(2, text.size() - 4) + ":";
        folder = TRUE;
    } else if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
        path = text.substr(1, text.size() - 2) + "\\";
        folder = TRUE;
    }
    if (out && size > 0) {
        const std::size_t n =
            std::min<std::size_t>(path.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(out, path.data(), n);
        out[n] = 0;
    }
    return folder;
}

// The folder part of a path pattern becomes the current folder, and the
// pattern keeps only its name part; a path naming a folder lists all of it.
bool enterFolder(LPSTR pathSpec, std::string& pattern) {
    std::string spec = pathSpec && *pathSpec ? pathSpec : "*.*";
    const DWORD a = GetFileAttributesA(spec.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) &&
        spec.find_first_of("*?") == std::string::npos)
        spec += "\\*.*";
    std::string folder;
    controls::splitSpec(spec, folder, pattern);
    if (!folder.empty() && !SetCurrentDirectoryA(folder.c_str())) return false;
    if (pathSpec) std::strcpy(pathSpec, pattern.c_str());
    return true;
}

int fillAndLabel(HWND dialog, LPSTR pathSpec, int controlId, int staticPathId, UINT type,
                 UINT reset, UINT dir) {
    std::string pattern;
    if (!enterFolder(pathSpec, pattern)) return FALSE;
    if (controlId) {
        HWND control = GetDlgItem(dialog, controlId);
        if (!control) return FALSE;
        SendMessageA(control, reset, 0, 0);
        SendMessageA(control, dir, type & ~static_cast<UINT>(DDL_POSTMSGS),
                     reinterpret_cast<LPARAM>(pattern.c_str()));
    }
    if (staticPathId) {
        char here[1024];
        GetCurrentDirectoryA(sizeof here, here);
        SetDlgItemTextA(dialog, staticPathId, here);
    }
    return TRUE;
}

std::string selectedText(HWND control, UINT curSel, UINT textLen, UINT getText) {
    const LRESULT i = SendMessageA(control, curSel, 0, 0);
    if (i < 0) return {};
    const LRESULT n = SendMessageA(control, textLen, static_cast<WPARAM>(i), 0);
    if (n < 0) return {};
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    SendMessageA(control, getText, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<std::size_t>(n));
    return s;
}

}  // namespace

int DlgDirListA(HWND dialog, LPSTR pathSpec, int listId, int staticPathId, UINT type) {
    return fillAndLabel(dialog, pathSpec, listId, staticPathId, type, LB_RESETCONTENT, LB_DIR);
}

int DlgDirListComboBoxA(HWND dialog, LPSTR pathSpec, int comboId, int staticPathId, UINT type) {
    return fillAndLabel(dialog, pathSpec, comboId, staticPathId, type, CB_RESETCONTENT, CB_DIR);
}

BOOL DlgDirSelectExA(HWND dialog, LPSTR out, int size, int listId) {
    HWND list = GetDlgItem(dialog, listId);
    const LRESULT caret = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
    std::string text = selectedText(list, LB_GETCURSEL, LB_GETTEXTLEN, LB_GETTEXT);
    if (text.empty() && caret >= 0 &&
        SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(caret), 0) > 0) {
        // A list of several selections: the one with the caret.
        const LRESULT n = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(caret), 0);
        text.assign(static_cast<std::size_t>(std::max<LRESULT>(n, 0)) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(caret),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::max<LRESULT>(n, 0)));
    }
    return selectionPath(text, out, size);
}

BOOL DlgDirSelectComboBoxExA(HWND dialog, LPSTR out, int size, int comboId) {
    HWND combo = GetDlgItem(dialog, comboId);
    return selectionPath(selectedText(combo, CB_GETCURSEL, CB_GETLBTEXTLEN, CB_GETLBTEXT), out,
                         size);
}

}  // namespace win
