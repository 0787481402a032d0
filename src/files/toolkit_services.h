#pragma once
// The few toolkit services the file layer needs: the current folder, the
// file selector and the spelling of a file's name. Each is a function object so that tests can
// answer the selector and keep the process's folder alone; the program binds them to the toolkit's
// own routines.

#include <functional>
#include <optional>
#include <string>

namespace files {

// Flags of the file selector: open an existing file, or choose a name to save
// under; both leave the chosen folder as the current folder.
inline constexpr int kSelectOpenFlags = 42;
inline constexpr int kSelectSaveFlags = 47;

struct FileSelection {
    std::string filter;  // pairs of label and pattern, each ended by "|"
    int flags = kSelectOpenFlags;
    std::string proposedName;
    std::string title;
};

struct ToolkitServices {
    // The current folder (blank when it cannot be had).
    std::function<std::string()> currentFolder;
    // Makes a folder current; a failure is reported by the toolkit and the
    // current folder stays.
    std::function<void(const std::string&)> changeFolder;
    // Shows the file selector; the chosen path when the choice was confirmed,
    // nothing when it was cancelled.
    std::function<std::optional<std::string>(const FileSelection&)> selectFile;
    // The name as the system's files spell it (names given in another case
    // find their file).
    std::function<std::string(const std::string&)> hostName;
};

ToolkitServices& toolkitServices();
void resetToolkitServices();

}  // namespace files
