// The file selector over the platform's Open and Save As dialogs.

#include "toolkit/dialogs/file_select.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "toolkit/core/common_dialogs.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/file_services.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"

namespace tk {
namespace {

constexpr int kWorkText = 256;
constexpr std::size_t kTitleLimit = 260;

int freezeWindows(int mode) {
    return seams().modalFrame ? seams().modalFrame->freeze(mode, -1) : 0;
}

// Text up to its last non-blank, NUL-terminated, in at most limit bytes.
std::string cText(std::string_view text, std::size_t limit) {
    std::string s(trimRight(text));
    if (s.size() > limit - 1) s.resize(limit - 1);
    return s;
}

// The chosen name as the platform left it: up to the first NUL, or for a
// multiple selection up to the first pair of NULs (folder, NUL, names).
std::string_view chosenName(const std::vector<char>& work, bool multiple) {
    const std::string_view all(work.data(), work.size());
    if (multiple) {
        const std::size_t end = all.find(std::string_view("\0\0", 2));
        if (end != std::string_view::npos) return all.substr(0, end);
    }
    return all.substr(0, std::min(all.find('\0'), all.size()));
}

}  // namespace

void FileSelect(int filterSource, std::string_view filterText, int flags, TextOut fileName,
                std::string_view title, int& filterIndex, int freeze) {
    if (freeze != 0)
        if (int error = freezeWindows(1); error != 0) ReportLibraryError(error, "FileSelect");

    // Folder and name of the proposed file.
    char folder[kWorkText];
    char name[kWorkText];
    putText(TextOut(folder),
            std::string_view(fileName.data(), std::min<std::size_t>(fileName.size(), kWorkText)));
    SplitPathName(TextOut(folder), TextOut(name));
    std::vector<char> work(fileName.size() + 1, '\0');
    const std::string proposed = osText(std::string_view(name, kWorkText));
    std::copy_n(proposed.begin(), std::min(proposed.size(), fileName.size()), work.begin());

    char saved[kWorkText] = {};
    int error = 0, tooSmall = 0;
    Win32DirName(saved, kWorkText, error, tooSmall);
    std::string initial = osText(std::string_view(folder, kWorkText));
    if (initial.empty()) initial = saved;
    std::string caption = cText(title, kWorkText);
    if (caption.empty()) caption = "Select File";

    const bool save = (flags & kSelectSave) != 0;
    int result = 0, extendedError = 0;
    FileDialogRun(filterSource, filterIndex, save ? 1 : 0, (flags & kSelectPrompt) ? 1 : 0,
                  (flags & kSelectPathMayBeMissing) ? 1 : 0, (flags & kSelectMultiple) ? 1 : 0,
                  (flags & kSelectDefaultExtension) ? 1 : 0, (flags & kSelectMustExist) ? 1 : 0,
                  result, extendedError, caption.c_str(), work.data(),
                  static_cast<int>(fileName.size()), initial.c_str(), filterText);
    toolkitState().MessageBoxResult = result;

    if (result == 1)
        putText(fileName, chosenName(work, !save && (flags & kSelectMultiple)));
    else if (extendedError > 0)
        ReportLibraryError(1004, "FileSelect");
    if (result != 1 || !(flags & kSelectKeepFolder)) Win32DirChange(saved, error);
    if (freeze != 0) freezeWindows(0);
    toolkitState().LastDialogChangedField = 0;
}

void SelectFileFront(std::string_view filter, int flags, TextOut name,
                     std::optional<std::string_view> title, int* option) {
    std::string_view text = trimRight(filter);
    if (text.size() > kSelectFilterLimit) text = text.substr(0, kSelectFilterLimit);
    char caption[kTitleLimit];
    putText(TextOut(caption), title.value_or(""));
    int index = option ? *option : 1;
    FileSelect(-1, text, flags, name, std::string_view(caption, kTitleLimit), index, 1);
    if (option) *option = index;
}

std::optional<std::string> SelectFileChoice(std::string_view filter, int flags,
                                            std::string_view proposedName, std::string_view title) {
    char name[kWorkText];
    putText(TextOut(name), proposedName);
    SelectFileFront(filter, flags, TextOut(name), title);
    if (toolkitState().MessageBoxResult != 1) return std::nullopt;
    return osText(std::string_view(name, kWorkText));
}

}  // namespace tk
