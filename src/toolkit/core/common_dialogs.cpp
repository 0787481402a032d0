// The file dialog, the colour chooser, the locale's measuring system, the
// client origin on the screen and the path splitter.

#include "toolkit/core/common_dialogs.h"

#include <cstring>
#include <vector>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/kernel/environment.h"
#include "platform/resources/resource_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/common_dialogs_frame.h"
#include "toolkit/core/os_wrappers.h"
#include "toolkit/core/window_table.h"

namespace tk {
namespace {

// The platform's filter list: every occurrence of the text's last character
// (its separator) becomes a NUL, and a second NUL closes the list.
std::vector<char> filterList(std::string_view text) {
    std::vector<char> out(text.begin(), text.end());
    if (out.empty()) return out;
    const char separator = out.back();
    for (char& c : out)
        if (c == separator) c = '\0';
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

std::string filterText(int source, std::string_view given) {
    if (source == -1) return std::string(given);
    char buffer[kFilterTextLimit + 1] = {};
    win::LoadStringA(nullptr, static_cast<win::UINT>(source), buffer, sizeof buffer);
    return buffer;
}

win::DWORD fileDialogFlags(int saveDialog, int prompt, int pathMayBeMissing, int multipleSelection,
                           int mustExist) {
    win::DWORD flags = win::OFN_HIDEREADONLY;
    if (pathMayBeMissing == 0) flags |= win::OFN_PATHMUSTEXIST;
    if (saveDialog) {
        if (prompt) flags |= win::OFN_OVERWRITEPROMPT;
        return flags;
    }
    if (mustExist == 1)
        flags |= win::OFN_FILEMUSTEXIST;
    else if (prompt)
        flags |= win::OFN_CREATEPROMPT;
    if (multipleSelection) flags |= win::OFN_ALLOWMULTISELECT | win::OFN_EXPLORER;
    return flags;
}

bool isSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}

}  // namespace

void FileDialogRun(int filterSource, int& filterIndex, int saveDialog, int prompt,
                   int pathMayBeMissing, int multipleSelection, int defaultExtension, int mustExist,
                   int& result, int& extendedError, const char* title, char* fileName,
                   int fileNameLength, const char* initialFolder, std::string_view filterText_) {
    std::vector<char> filter;
    if (filterSource != 0) filter = filterList(filterText(filterSource, filterText_));

    win::OPENFILENAMEA ofn;
    ofn.lStructSize = win::OPENFILENAME_SIZE_VERSION_400A;
    ModalScope modal;
    ofn.hwndOwner = modal.owner();
    if (!filter.empty()) {
        ofn.lpstrFilter = filter.data();
        ofn.nFilterIndex = static_cast<win::DWORD>(filterIndex);
    }
    ofn.lpstrFile = fileName;
    ofn.nMaxFile = static_cast<win::DWORD>(fileNameLength);
    ofn.lpstrInitialDir = initialFolder;
    ofn.lpstrTitle = title;
    ofn.Flags = fileDialogFlags(saveDialog, prompt, pathMayBeMissing, multipleSelection, mustExist);
    int platform = 0;
    WindowsPlatformQuery(platform);
    // An empty default extension lets the platform add the chosen filter's.
    if (defaultExtension == 1 && platform != 3) ofn.lpstrDefExt = "";

    const win::BOOL chosen = saveDialog ? win::GetSaveFileNameA(&ofn) : win::GetOpenFileNameA(&ofn);
    modal.finish();
    if (chosen) {
        result = 1;
        extendedError = 0;
        if (!filter.empty()) filterIndex = static_cast<int>(ofn.nFilterIndex);
    } else {
        result = 0;
        extendedError = static_cast<int>(win::CommDlgExtendedError());
    }
}

void LocaleMeasureSystem(int& result) {
    char buffer[4] = {};
    win::GetLocaleInfoA(win::LOCALE_USER_DEFAULT, win::LOCALE_IMEASURE, buffer, sizeof buffer);
    result = std::strcmp(buffer, "1") == 0 ? 1 : 2;
}

std::array<win::COLORREF, 16>& customColours() {
    static std::array<win::COLORREF, 16> colours{};
    return colours;
}

void ColourDialogRun(int& red, int& green, int& blue, int& result, int& extendedError) {
    static bool seeded = false;
    if (!seeded) {
        const auto& pairs = windowSystem().ColourPairs;
        std::copy_n(pairs.begin(), 16, customColours().begin());
        seeded = true;
    }
    win::CHOOSECOLORA cc;
    ModalScope modal;
    cc.hwndOwner = modal.owner();
    cc.rgbResult =
        static_cast<win::COLORREF>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
    cc.lpCustColors = customColours().data();
    cc.Flags = win::CC_RGBINIT | win::CC_FULLOPEN;
    const win::BOOL ok = win::ChooseColorA(&cc);
    modal.finish();
    if (ok) {
        red = static_cast<int>(cc.rgbResult & 0xFF);
        green = static_cast<int>(cc.rgbResult >> 8 & 0xFF);
        blue = static_cast<int>(cc.rgbResult >> 16 & 0xFF);
        result = 1;
        extendedError = 0;
    } else {
        result = 0;
        extendedError = static_cast<int>(win::CommDlgExtendedError());
    }
}

void ClientOriginOnScreen(int window, int& x, int& y) {
    const WindowSystem& w = windowSystem();
    win::HWND h = nullptr;
    if (window >= 0 && window < kWindowSlots) {
        h = w.slots[window].client;
    } else {
        h = w.ActiveModelessDialog ? w.ActiveModelessDialog : w.FocusWindow;
        // A child window sits in its parent's client inside that parent's
        // frame: climb frame and client together up to the top level.
        while (h && hasChildStyle(h)) {
            win::HWND up = win::GetParent(win::GetParent(h));
            if (!up) break;
            h = up;
        }
    }
    win::POINT p{0, 0};
    if (h) win::ClientToScreen(h, &p);
    x = p.x;
    y = p.y;
}

void SplitPathName(TextOut path, TextOut fileName) {
    const std::string text(trimBoth(std::string_view(path.data(), path.size())));
    putText(path, text);
    const std::size_t n = text.size();
    if (n >= 2 && text.compare(n - 2, 2, "..") == 0) {
        putText(fileName, "");
        return;
    }
    std::size_t k = n;
    while (k > 0 && !isSeparator(text[k - 1]))
        --k;
    if (k == 0) {
        putText(fileName, text);
        putText(path, "");
        return;
    }
    const std::size_t at = k - 1;
    if (at + 1 < n) {
        putText(fileName, std::string_view(text).substr(at + 1));
        putText(path, std::string_view(text).substr(0, at + 1));
        return;
    }
    putText(fileName, "");
    // A trailing slash goes unless it is the path's first one (a root).
    const bool firstSlash = text.find_first_of("\\/") == at;
    if (text[at] != ':' && !firstSlash) putText(path, std::string_view(text).substr(0, at));
}

}  // namespace tk
