#include "toolkit/core/help.h"

#include <array>
#include <string>
#include <vector>

#include "platform/kernel/files.h"
#include "platform/kernel/processes.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/file_services.h"
#include "toolkit/core/os_services.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"

namespace tk {
namespace {

constexpr std::size_t kFullPathLength = 1024;

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool endsWith(const std::string& s, std::string_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool startsWith(const std::string& s, std::string_view head) {
    return s.compare(0, head.size(), head) == 0;
}

bool isFile(const std::string& name) {
    win::DWORD a = win::GetFileAttributesA(name.c_str());
    return a != win::INVALID_FILE_ATTRIBUTES && (a & win::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string fullPath(const std::string& name) {
    std::array<char, kFullPathLength> buffer;
    OsFullPathname(name, TextOut(buffer));
    return std::string(trimRight(std::string_view(buffer.data(), buffer.size())));
}

std::string programFolder() {
    std::array<char, 260> buffer;
    CommandLineArgument(0, TextOut(buffer));
    std::string program(trimRight(std::string_view(buffer.data(), buffer.size())));
    std::size_t cut = program.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : program.substr(0, cut + 1);
}

// The file as given, else beside the program; empty when neither exists.
std::string locate(const std::string& name) {
    std::string full = fullPath(name);
    if (!full.empty() && isFile(full)) return full;
    std::string besideProgram = programFolder() + name;
    if (isFile(besideProgram)) return fullPath(besideProgram);
    return {};
}

// Opens a document or address with the desktop's viewer, from an argument
// vector (no shell between).
void openWithViewer(const std::string& target) {
    int rc = seams().openDocument ? seams().openDocument(target)
                                  : win::spawnDetached({"xdg-open", target});
    if (rc != 0) ReportLibraryError(1030, "HelpFile");
}

std::string anchor(int topicNumber, std::string_view topicText) {
    if (topicNumber <= 0) return {};
    return "#" + std::string(trimBoth(topicText));
}

// Opens the file where it is found (as given, else beside the program);
// error 1 when it is found nowhere.
void openLocated(const std::string& name, std::string_view scheme, std::string_view mark = "") {
    std::string file = locate(name);
    if (file.empty()) {
        ReportLibraryError(1, "HelpFile");
        return;
    }
    openWithViewer(std::string(scheme) + file + std::string(mark));
}

}  // namespace

void OsFullPathname(std::string_view name, TextOut fullName) {
    putText(fullName, "");
    std::string text = osText(name);
    if (trimBoth(text).empty()) return;
    std::vector<char> buffer(kFullPathLength + 1, '\0');
    int error = 0;
    Win32FullPathName(error, text.c_str(), buffer.data(), static_cast<int>(kFullPathLength));
    if (error != 0) {
        toolkitState().OsErrorCode = error;
        ReportLibraryError(13, "OsFullPathname");
        return;
    }
    putText(fullName, fromOs(buffer.data(), buffer.size()));
}

void HelpTopicShow(std::string_view fileName, int topicNumber, int popup) {
    HelpFile(fileName, topicNumber, std::to_string(topicNumber), popup, 1);
}

void HelpCloseAll() {
    // The viewers run as programs of their own, which the user closes; the
    // toolkit holds no help window or help library to release.
}

void HelpFile(std::string_view fileName, int topicNumber, std::string_view topicText, int, int) {
    std::string name(trimBoth(fileName));
    if (name.empty()) {
        HelpCloseAll();
        return;
    }
    const std::string key = lower(name);
    const std::string mark = anchor(topicNumber, topicText);
    if (startsWith(key, "ms-its:") && key.find(".chm::/") != std::string::npos) {
        openLocated(name.substr(7, key.find("::/") - 7), "");
    } else if (endsWith(key, ".hlp")) {
        // A Linux viewer cannot show the old help format: the same name as a
        // web page is preferred, the file itself is the fallback.
        std::string page = locate(name.substr(0, name.size() - 4) + ".html");
        if (!page.empty())
            openWithViewer("file://" + page + mark);
        else
            openLocated(name, "");
    } else if (endsWith(key, ".chm") || endsWith(key, ".col")) {
        openLocated(name, "");
    } else if (startsWith(key, "http://")) {
        openWithViewer(name + mark);
    } else if (endsWith(key, ".htm") || endsWith(key, ".html")) {
        openLocated(startsWith(key, "file://") ? name.substr(7) : name, "file://", mark);
    } else if (endsWith(key, ".pdf")) {
        openLocated(name, "");
    } else {
        ReportLibraryError(1031, "HelpFile");
    }
}

}  // namespace tk
