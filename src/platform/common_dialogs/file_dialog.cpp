// The Open and Save As dialogs: a folder list, a file list filtered by the
// chosen patterns (compared without regard to case), the name field and the
// filter list; the checks the flags ask for before a name is accepted.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/common_dialogs/dialog_hooks.h"
#include "platform/common_dialogs/dialog_items.h"
#include "platform/common_dialogs/explorer_child.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/dialogs/dialog_internal.h"
#include "platform/dialogs/dialog_template.h"

namespace win {
namespace {

namespace fs = std::filesystem;

struct FileDialog {
    OPENFILENAMEA* ofn = nullptr;
    bool save = false;
    HWND child = nullptr;  // the Explorer-style hook's dialog
    // Whether a name typed without extension gets one, and which: an empty
    // text means the extension of the chosen filter.
    std::optional<std::string> defaultExtension;
    std::string folder;
    std::vector<std::string> patterns;
    std::vector<std::pair<std::string, std::string>> filters;  // description, patterns
};

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Windows wildcards: * and ?, without regard to case; "*.*" matches every name.
bool wildMatch(const char* p, const char* n) {
    for (; *p; ++p, ++n) {
        if (*p == '*') {
            while (p[1] == '*')
                ++p;
            if (!p[1]) return true;
            for (const char* k = n; *k; ++k)
                if (wildMatch(p + 1, k)) return true;
            return wildMatch(p + 1, n + std::strlen(n));
        }
        if (!*n) return false;
        if (*p != '?' && std::tolower(static_cast<unsigned char>(*p)) !=
                             std::tolower(static_cast<unsigned char>(*n)))
            return false;
    }
    return !*n;
}

bool matchesAny(const std::vector<std::string>& patterns, const std::string& name) {
    for (const std::string& p : patterns) {
        if (p == "*.*" || p == "*") return true;
        if (wildMatch(p.c_str(), name.c_str())) return true;
    }
    return patterns.empty();
}

std::vector<std::string> splitPatterns(const std::string& text) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : text + ";") {
        if (c == ';') {
            const auto a = cur.find_first_not_of(' '), b = cur.find_last_not_of(' ');
            if (a != std::string::npos) out.push_back(cur.substr(a, b - a + 1));
            cur.clear();
        } else {
            cur += c;
        }
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> parseFilters(LPCSTR f) {
    std::vector<std::pair<std::string, std::string>> out;
    while (f && *f) {
        std::string description = f;
        f += description.size() + 1;
        if (!*f) break;
        std::string patterns = f;
        f += patterns.size() + 1;
        out.emplace_back(description, patterns);
    }
    return out;
}

std::string nativePath(std::string p) {
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':')
        p.erase(0, 2);
    return p;
}

// Tells the Explorer-style hook of an event; its answer (DWLP_MSGRESULT).
LRESULT notify(HWND h, FileDialog& d, UINT code) {
    if (!d.child || !IsWindow(d.child)) return 0;
    OFNOTIFYA n;
    n.hdr.hwndFrom = h;
    n.hdr.idFrom = 0;
    n.hdr.code = code;
    n.lpOFN = d.ofn;
    n.pszFile = code == CDN_FILEOK ? d.ofn->lpstrFile : nullptr;
    return SendMessageA(d.child, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
}

// Whether the caller's hook lets the chosen name go: CDN_FILEOK in Explorer
// style, the registered "commdlg_FileNameOK" message in the old style.
bool hookAccepts(HWND h, FileDialog& d) {
    if (d.child) {
        // The refusal is the hook window's DWLP_MSGRESULT, also when the hook
        // forgot to answer TRUE.
        const LRESULT answer = notify(h, d, CDN_FILEOK);
        return answer == 0 && GetWindowLongPtrA(d.child, DWLP_MSGRESULT) == 0;
    }
    if ((d.ofn->Flags & OFN_ENABLEHOOK) && d.ofn->lpfnHook)
        return d.ofn->lpfnHook(h, RegisterWindowMessageA("commdlg_FileNameOK"), 0,
                               reinterpret_cast<LPARAM>(d.ofn)) == 0;
    return true;
}

void fillLists(HWND h, FileDialog& d) {
    SetDlgItemTextA(h, kFolderText, d.folder.c_str());
    HWND files = GetDlgItem(h, kFileList), folders = GetDlgItem(h, kFolderList);
    SendMessageA(files, LB_RESETCONTENT, 0, 0);
    SendMessageA(folders, LB_RESETCONTENT, 0, 0);
    if (fs::path(d.folder) != fs::path(d.folder).root_path())
        SendMessageA(folders, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("[..]"));
    std::vector<std::string> dirs, names;
    std::error_code ec;
    for (const auto& entry :
         fs::directory_iterator(d.folder, fs::directory_options::skip_permission_denied, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code e2;
        if (entry.is_directory(e2))
            dirs.push_back(name);
        else if (matchesAny(d.patterns, name))
            names.push_back(name);
    }
    auto byName = [](const std::string& a, const std::string& b) { return lower(a) < lower(b); };
    std::sort(dirs.begin(), dirs.end(), byName);
    std::sort(names.begin(), names.end(), byName);
    for (const std::string& s : dirs)
        SendMessageA(folders, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("[" + s + "]").c_str()));
    for (const std::string& s : names)
        SendMessageA(files, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void chooseFilter(HWND h, FileDialog& d, int index) {
    if (index < 0 || index >= static_cast<int>(d.filters.size())) return;
    d.patterns = splitPatterns(d.filters[static_cast<std::size_t>(index)].second);
    fillLists(h, d);
    d.ofn->nFilterIndex = static_cast<DWORD>(index + 1);
    notify(h, d, CDN_TYPECHANGE);
}

void enterFolder(HWND h, FileDialog& d, const std::string& name) {
    std::error_code ec;
    fs::path p = name == ".." ? fs::path(d.folder).parent_path() : fs::path(d.folder) / name;
    p = fs::weakly_canonical(p, ec);
    if (ec || !fs::is_directory(p, ec)) return;
    d.folder = p.string();
    fillLists(h, d);
    notify(h, d, CDN_FOLDERCHANGE);
}

std::string listText(HWND list, int i) {
    char buf[1024];
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    return buf;
}

void filesSelected(HWND h, FileDialog& d) {
    HWND files = GetDlgItem(h, kFileList);
    std::vector<std::string> chosen;
    if (d.ofn->Flags & OFN_ALLOWMULTISELECT) {
        int items[512];
        const auto n = SendMessageA(files, LB_GETSELITEMS, 512, reinterpret_cast<LPARAM>(items));
        for (int i = 0; i < n; ++i)
            chosen.push_back(listText(files, items[i]));
    } else {
        const auto i = SendMessageA(files, LB_GETCURSEL, 0, 0);
        if (i >= 0) chosen.push_back(listText(files, static_cast<int>(i)));
    }
    std::string text;
    if (chosen.size() == 1)
        text = chosen[0];
    else
        for (const std::string& s : chosen)
            text += (text.empty() ? "\"" : " \"") + s + "\"";
    SetDlgItemTextA(h, kFileNameEdit, text.c_str());
    notify(h, d, CDN_SELCHANGE);
}

// The names typed: one name, or several in double quotes.
std::vector<std::string> typedNames(const std::string& text) {
    std::vector<std::string> out;
    if (text.find('"') == std::string::npos) {
        const auto a = text.find_first_not_of(' '), b = text.find_last_not_of(' ');
        if (a != std::string::npos) out.push_back(text.substr(a, b - a + 1));
        return out;
    }
    std::size_t at = 0;
    while ((at = text.find('"', at)) != std::string::npos) {
        const std::size_t end = text.find('"', at + 1);
        if (end == std::string::npos) break;
        if (end > at + 1) out.push_back(text.substr(at + 1, end - at - 1));
        at = end + 1;
    }
    return out;
}

bool ask(HWND h, const std::string& text, UINT type) {
    char title[256];
    GetWindowTextA(h, title, sizeof title);
    return MessageBoxA(h, text.c_str(), title, type) == IDYES;
}

void warn(HWND h, const std::string& text) {
    char title[256];
    GetWindowTextA(h, title, sizeof title);
    MessageBoxA(h, text.c_str(), title, MB_OK | MB_ICONEXCLAMATION);
}

// The extension a name typed without one gets: the caller's text, or for an
// empty text the first pattern of the chosen filter when it names one
// ("*.DXF" gives "DXF", "*.*" none).
std::string extensionToAdd(const FileDialog& d) {
    if (!d.defaultExtension) return {};
    if (!d.defaultExtension->empty()) return *d.defaultExtension;
    const std::size_t index = d.ofn->nFilterIndex ? d.ofn->nFilterIndex - 1 : 0;
    if (index >= d.filters.size()) return {};
    const std::vector<std::string> patterns = splitPatterns(d.filters[index].second);
    if (patterns.empty()) return {};
    const std::string& first = patterns.front();
    const auto dot = first.rfind('.');
    if (dot == std::string::npos) return {};
    const std::string extension = first.substr(dot + 1);
    return extension.find_first_of("*?") == std::string::npos ? extension : std::string();
}

// Checks one chosen file as the flags ask; false keeps the dialog open.
bool acceptable(HWND h, FileDialog& d, std::string& path) {
    const DWORD flags = d.ofn->Flags;
    std::error_code ec;
    fs::path p(path);
    const bool hasExtension = p.filename().string().find('.') != std::string::npos;
    const std::string extension = extensionToAdd(d);
    if (!hasExtension && !extension.empty() && !(!d.save && fs::exists(p, ec)))
        p += "." + extension;
    path = p.string();
    const std::string shown = p.filename().string();
    if ((flags & OFN_PATHMUSTEXIST) && !fs::is_directory(p.parent_path(), ec)) {
        warn(h, shown + "\nPath does not exist.\nCheck the path and try again.");
        return false;
    }
    const bool exists = fs::exists(p, ec);
    if (d.save) {
        if (exists && (flags & OFN_OVERWRITEPROMPT))
            return ask(h, shown + " already exists.\nDo you want to replace it?",
                       MB_YESNO | MB_ICONEXCLAMATION);
        return true;
    }
    if (!exists && (flags & OFN_FILEMUSTEXIST)) {
        warn(h, shown + "\nFile not found.\nCheck the file name and try again.");
        return false;
    }
    if (!exists && (flags & OFN_CREATEPROMPT))
        return ask(h, shown + "\nThis file does not exist.\nDo you want to create it?",
                   MB_YESNO | MB_ICONQUESTION);
    return true;
}

// Writes the result into the caller's buffers; false when they are too small.
bool storeResult(FileDialog& d, const std::vector<std::string>& paths) {
    OPENFILENAMEA* o = d.ofn;
    std::string out;
    WORD offset = 0, extension = 0;
    if (paths.size() == 1) {
        out = paths[0];
        const fs::path p(out);
        offset = static_cast<WORD>(out.size() - p.filename().string().size());
        const auto dot = out.find_last_of('.');
        if (dot != std::string::npos && dot > offset) extension = static_cast<WORD>(dot + 1);
    } else {
        // Several files: the folder, then each name, zero-separated (or
        // space-separated in the old style).
        const char sep = (o->Flags & OFN_EXPLORER) ? '\0' : ' ';
        out = d.folder;
        offset = static_cast<WORD>(out.size() + 1);
        for (const std::string& p : paths)
            out += sep + fs::path(p).filename().string();
    }
    out.push_back('\0');
    if ((o->Flags & OFN_ALLOWMULTISELECT) && (o->Flags & OFN_EXPLORER)) out.push_back('\0');
    if (!o->lpstrFile || out.size() > o->nMaxFile) {
        if (o->lpstrFile && o->nMaxFile >= 2) {
            const auto need = static_cast<WORD>(std::min<std::size_t>(out.size(), 0xFFFF));
            o->lpstrFile[0] = static_cast<char>(need & 0xFF);
            o->lpstrFile[1] = static_cast<char>(need >> 8);
        }
        commdlg::setError(FNERR_BUFFERTOOSMALL);
        return false;
    }
    std::memcpy(o->lpstrFile, out.data(), out.size());
    o->nFileOffset = offset;
    o->nFileExtension = extension;
    if (o->lpstrFileTitle && o->nMaxFileTitle > 0 && paths.size() == 1) {
        const std::string title = fs::path(paths[0]).filename().string();
        const std::size_t n = std::min<std::size_t>(title.size(), o->nMaxFileTitle - 1);
        std::memcpy(o->lpstrFileTitle, title.data(), n);
        o->lpstrFileTitle[n] = 0;
    }
    return true;
}

void ok(HWND h, FileDialog& d) {
    char buf[4096];
    GetDlgItemTextA(h, kFileNameEdit, buf, sizeof buf);
    std::vector<std::string> names = typedNames(buf);
    if (names.empty()) {
        MessageBeep(0);
        return;
    }
    // A pattern becomes the filter of the list.
    if (names.size() == 1 && names[0].find_first_of("*?") != std::string::npos) {
        d.patterns = splitPatterns(names[0]);
        fillLists(h, d);
        return;
    }
    std::vector<std::string> paths;
    for (const std::string& n : names) {
        std::string native = nativePath(n);
        fs::path p = native.front() == '/' ? fs::path(native) : fs::path(d.folder) / native;
        p = p.lexically_normal();
        std::error_code ec;
        if (names.size() == 1 && fs::is_directory(p, ec)) {
            d.folder = p.string();
            if (d.folder.size() > 1 && d.folder.back() == '/') d.folder.pop_back();
            SetDlgItemTextA(h, kFileNameEdit, "");
            fillLists(h, d);
            notify(h, d, CDN_FOLDERCHANGE);
            return;
        }
        paths.push_back(p.string());
    }
    if (names.size() > 1 && !(d.ofn->Flags & OFN_ALLOWMULTISELECT)) {
        warn(h, std::string(buf) + "\nThe file name is not valid.");
        return;
    }
    for (std::string& p : paths)
        if (!acceptable(h, d, p)) return;
    if (paths.size() == 1) d.folder = fs::path(paths[0]).parent_path().string();
    const auto filter = SendDlgItemMessageA(h, kFilterCombo, CB_GETCURSEL, 0, 0);
    if (filter >= 0) d.ofn->nFilterIndex = static_cast<DWORD>(filter + 1);
    if (!(d.ofn->Flags & OFN_HIDEREADONLY)) {
        if (IsDlgButtonChecked(h, kReadOnlyCheck))
            d.ofn->Flags |= OFN_READONLY;
        else
            d.ofn->Flags &= ~OFN_READONLY;
    }
    if (!storeResult(d, paths)) {
        EndDialog(h, IDABORT);
        return;
    }
    if (!hookAccepts(h, d)) return;
    // The folder of the chosen file becomes the current folder, as on Windows.
    if (!(d.ofn->Flags & OFN_NOCHANGEDIR)) {
        std::error_code ec;
        fs::current_path(d.folder, ec);
    }
    EndDialog(h, IDOK);
}

bool explorerHooked(const OPENFILENAMEA& o) {
    return (o.Flags & OFN_EXPLORER) &&
           (o.Flags & (OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE));
}

// Makes the Explorer-style child; false when the caller's template is missing.
bool makeChild(HWND h, FileDialog& d) {
    const OPENFILENAMEA& o = *d.ofn;
    const auto bytes = commdlg::explorerChildTemplate(o);
    if (bytes.empty()) return false;
    const bool hooked = (o.Flags & OFN_ENABLEHOOK) != 0;
    commdlg::Host host{nullptr, nullptr, hooked ? o.lpfnHook : nullptr,
                       reinterpret_cast<LPARAM>(d.ofn)};
    HINSTANCE instance = (o.Flags & OFN_ENABLETEMPLATEHANDLE) ? nullptr : o.hInstance;
    d.child = CreateDialogIndirectParamA(instance, bytes.data(), h, commdlg::hostProc,
                                         reinterpret_cast<LPARAM>(&host));
    if (!d.child) return false;
    commdlg::fitExplorerChild(h, d.child);
    ShowWindow(d.child, SW_SHOWNA);
    return true;
}

// Copies a text into a CDM_GET... buffer; the answer is the size it needs.
LRESULT giveText(const std::string& text, WPARAM size, LPARAM buffer) {
    if (buffer && size > 0) {
        const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
        std::memcpy(reinterpret_cast<char*>(buffer), text.data(), n);
        reinterpret_cast<char*>(buffer)[n] = 0;
    }
    return static_cast<LRESULT>(text.size() + 1);
}

std::string typedPath(HWND h, const FileDialog& d) {
    char buf[1024] = {};
    GetDlgItemTextA(h, kFileNameEdit, buf, sizeof buf);
    const std::string native = nativePath(buf);
    if (native.empty()) return d.folder;
    const fs::path p = native.front() == '/' ? fs::path(native) : fs::path(d.folder) / native;
    return p.lexically_normal().string();
}

// What a hook may ask of the dialog; false for other messages.
bool answerHook(HWND h, FileDialog& d, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = 0;
    switch (msg) {
        case CDM_GETSPEC: {
            char buf[1024] = {};
            GetDlgItemTextA(h, kFileNameEdit, buf, sizeof buf);
            r = giveText(buf, wp, lp);
            break;
        }
        case CDM_GETFILEPATH:
            r = giveText(typedPath(h, d), wp, lp);
            break;
        case CDM_GETFOLDERPATH:
            r = giveText(d.folder, wp, lp);
            break;
        case CDM_SETCONTROLTEXT:
            SetDlgItemTextA(h, static_cast<int>(wp), reinterpret_cast<LPCSTR>(lp));
            break;
        case CDM_HIDECONTROL:
            ShowWindow(GetDlgItem(h, static_cast<int>(wp)), SW_HIDE);
            break;
        case CDM_SETDEFEXT:
            if (lp)
                d.defaultExtension = reinterpret_cast<LPCSTR>(lp);
            else
                d.defaultExtension.reset();
            break;
        default:
            return false;
    }
    SetWindowLongPtrA(h, DWLP_MSGRESULT, r);
    return true;
}

INT_PTR fileProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* d = commdlg::stateOf<FileDialog>(h);
    if (d && d->child && answerHook(h, *d, msg, wp, lp)) return TRUE;
    switch (msg) {
        case WM_INITDIALOG: {
            d = reinterpret_cast<FileDialog*>(lp);
            for (const auto& f : d->filters)
                SendDlgItemMessageA(h, kFilterCombo, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(f.first.c_str()));
            int index = d->ofn->nFilterIndex ? static_cast<int>(d->ofn->nFilterIndex) - 1 : 0;
            if (index >= static_cast<int>(d->filters.size())) index = 0;
            SendDlgItemMessageA(h, kFilterCombo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            if (d->filters.empty())
                d->patterns = {"*.*"};
            else
                d->patterns = splitPatterns(d->filters[static_cast<std::size_t>(index)].second);
            if (d->ofn->lpstrFile && *d->ofn->lpstrFile) {
                const std::string given = nativePath(d->ofn->lpstrFile);
                const fs::path p(given);
                std::error_code ec;
                if (p.has_parent_path() && fs::is_directory(p.parent_path(), ec) &&
                    given.find('/') != std::string::npos) {
                    d->folder = fs::absolute(p.parent_path(), ec).lexically_normal().string();
                    SetDlgItemTextA(h, kFileNameEdit, p.filename().string().c_str());
                } else {
                    SetDlgItemTextA(h, kFileNameEdit, given.c_str());
                }
            }
            if (!(d->ofn->Flags & OFN_HIDEREADONLY))
                CheckDlgButton(h, kReadOnlyCheck,
                               (d->ofn->Flags & OFN_READONLY) ? BST_CHECKED : BST_UNCHECKED);
            fillLists(h, *d);
            if (explorerHooked(*d->ofn) && !makeChild(h, *d)) {
                EndDialog(h, -1);
                return FALSE;
            }
            dialogs::focusControl(h, GetDlgItem(h, kFileNameEdit));
            notify(h, *d, CDN_INITDONE);
            notify(h, *d, CDN_FOLDERCHANGE);
            return FALSE;
        }
        case WM_COMMAND: {
            if (!d) return FALSE;
            const int id = LOWORD(wp);
            const WORD code = HIWORD(wp);
            if (id == IDOK)
                ok(h, *d);
            else if (id == pshHelp) {
                // The Explorer-style hook hears of it, then the owner.
                notify(h, *d, CDN_HELP);
                commdlg::sendHelp(h, d->ofn->hwndOwner, d->ofn);
            } else if (id == IDCANCEL)
                EndDialog(h, IDCANCEL);
            else if (id == kFilterCombo && code == CBN_SELCHANGE)
                chooseFilter(
                    h, *d,
                    static_cast<int>(SendDlgItemMessageA(h, kFilterCombo, CB_GETCURSEL, 0, 0)));
            else if (id == kFileList && code == LBN_SELCHANGE)
                filesSelected(h, *d);
            else if (id == kFileList && code == LBN_DBLCLK) {
                filesSelected(h, *d);
                ok(h, *d);
            } else if (id == kFolderList && code == LBN_DBLCLK) {
                const auto i = SendDlgItemMessageA(h, kFolderList, LB_GETCURSEL, 0, 0);
                if (i >= 0) {
                    const std::string t = listText(GetDlgItem(h, kFolderList), static_cast<int>(i));
                    enterFolder(h, *d, t.substr(1, t.size() - 2));
                }
            } else {
                return FALSE;
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

std::vector<BYTE> ourTemplate(const FileDialog& d) {
    dialogs::DialogTemplate t = commdlg::frame(
        d.ofn->lpstrTitle ? d.ofn->lpstrTitle : (d.save ? "Save As" : "Open"), 290, 150);
    using commdlg::item;
    const DWORD multi = (d.ofn->Flags & OFN_ALLOWMULTISELECT) ? LBS_EXTENDEDSEL : 0;
    t.items = {
        item("Static", "File &name:", kFileNameLabel, SS_LEFT, 7, 6, 120, 9),
        item("Edit", "", kFileNameEdit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 16, 120, 12),
        item("ListBox", "", kFileList, WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | multi, 7,
             32, 120, 80),
        item("Static", "&Folders:", -1, SS_LEFT, 134, 6, 90, 9),
        item("Static", "", kFolderText, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 134, 18, 90, 9),
        item("ListBox", "", kFolderList, WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, 134, 32,
             90, 80),
        item("Static", "List files of &type:", kFileTypeLabel, SS_LEFT, 7, 116, 120, 9),
        item("ComboBox", "", kFilterCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 7, 126, 120,
             60),
        item("Button", d.save ? "&Save" : "&Open", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
             233, 6, 50, 14),
        item("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 233, 24, 50, 14),
    };
    if (d.ofn->Flags & OFN_SHOWHELP)
        t.items.push_back(
            item("Button", "&Help", pshHelp, BS_PUSHBUTTON | WS_TABSTOP, 233, 42, 50, 14));
    if (!(d.ofn->Flags & OFN_HIDEREADONLY))
        t.items.push_back(item("Button", "&Read only", kReadOnlyCheck, BS_AUTOCHECKBOX | WS_TABSTOP,
                               134, 126, 90, 12));
    return dialogs::buildTemplate(t);
}

BOOL runFileDialog(OPENFILENAMEA* ofn, bool save) {
    commdlg::setError(0);
    if (!ofn || (ofn->lStructSize != sizeof(OPENFILENAMEA) &&
                 ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A)) {
        commdlg::setError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    const bool hooked = (ofn->Flags & OFN_ENABLEHOOK) != 0;
    if (!commdlg::beginCall(hooked, reinterpret_cast<const void*>(ofn->lpfnHook))) return FALSE;
    FileDialog d;
    d.ofn = ofn;
    d.save = save;
    if (ofn->lpstrDefExt) d.defaultExtension = ofn->lpstrDefExt;
    d.filters = parseFilters(ofn->lpstrFilter);
    std::error_code ec;
    d.folder = fs::current_path(ec).string();
    if (ofn->lpstrInitialDir && *ofn->lpstrInitialDir) {
        const fs::path p = fs::absolute(nativePath(ofn->lpstrInitialDir), ec).lexically_normal();
        if (fs::is_directory(p, ec)) d.folder = p.string();
    }
    if (d.folder.size() > 1 && d.folder.back() == '/') d.folder.pop_back();
    // Old style: the caller's template replaces ours and the hook hears our
    // messages; Explorer style: both go to the child made at start.
    const bool oldStyle = !(ofn->Flags & OFN_EXPLORER);
    const bool byHandle = oldStyle && (ofn->Flags & OFN_ENABLETEMPLATEHANDLE);
    const auto ours = ourTemplate(d);
    const void* bytes =
        commdlg::chooseTemplate(oldStyle && (ofn->Flags & OFN_ENABLETEMPLATE), byHandle,
                                ofn->hInstance, ofn->lpTemplateName, ofn->hInstance, ours);
    if (!bytes) return FALSE;
    commdlg::Host host{fileProc, &d, oldStyle && hooked ? ofn->lpfnHook : nullptr,
                       reinterpret_cast<LPARAM>(ofn)};
    const INT_PTR r =
        DialogBoxIndirectParamA(byHandle ? nullptr : ofn->hInstance, bytes, ofn->hwndOwner,
                                commdlg::hostProc, reinterpret_cast<LPARAM>(&host));
    if (r == -1 && !CommDlgExtendedError()) commdlg::setError(CDERR_INITIALIZATION);
    return r == IDOK ? TRUE : FALSE;
}

}  // namespace

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) {
    return runFileDialog(ofn, false);
}
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) {
    return runFileDialog(ofn, true);
}

}  // namespace win
