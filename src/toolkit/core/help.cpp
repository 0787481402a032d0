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
constexpr int kMissing = 1;
constexpr int kViewerError = 1030;

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

// Where an installation keeps the program's documents: share/<program>
// beside the program's bin folder.
std::string installedDocumentFolder() {
    std::array<char, 260> buffer;
    CommandLineArgument(0, TextOut(buffer));
    std::string program(trimRight(std::string_view(buffer.data(), buffer.size())));
    std::string stem = lower(program.substr(program.find_last_of("\\/") + 1));
    if (endsWith(stem, ".exe")) stem.resize(stem.size() - 4);
    return programFolder() + "../share/" + stem + "/";
}

// The file as given, else beside the program, else in the installation's
// document folder, as this system's files spell it (a viewer knows nothing
// of names in another case); empty when none exists.
std::string locate(const std::string& name) {
    const std::string bare = name.substr(name.find_last_of("\\/") + 1);
    for (const std::string& candidate :
         {name, programFolder() + name, installedDocumentFolder() + bare}) {
        const std::string full = fullPath(candidate);
        if (!full.empty() && isFile(full)) return win::hostPath(full);
    }
    return {};
}

// The web-page twin of an old help file: the same name with ".html".
std::string twinPage(std::string_view file) {
    const std::size_t dot = file.find_last_of('.');
    if (dot == std::string_view::npos) return {};
    return locate(std::string(file.substr(0, dot)) + ".html");
}

// Opens a document or address with the desktop's viewer, from an argument
// vector (no shell between); 0 when it started.
int openWithViewer(const std::string& target) {
    return seams().openDocument ? seams().openDocument(target)
                                : win::spawnDetached({"xdg-open", target});
}

int showPage(const std::string& page, std::string_view anchor) {
    std::string target = "file://" + page;
    if (!anchor.empty()) target += "#" + std::string(anchor);
    return openWithViewer(target) == 0 ? 0 : kViewerError;
}

// A keyword as an anchor: lower case, blanks as hyphens.
std::string keywordAnchor(std::string_view keyword) {
    std::string a = lower(trimBoth(keyword));
    for (char& c : a)
        if (c == ' ') c = '-';
    return a;
}

// The old help file's twin page at the anchor, else the file itself.
int showThroughTwin(std::string_view file, std::string_view anchor) {
    const std::string page = twinPage(file);
    if (!page.empty()) return showPage(page, anchor);
    const std::string itself = locate(std::string(file));
    if (itself.empty()) return kMissing;
    return openWithViewer(itself) == 0 ? 0 : kViewerError;
}

std::string topicAnchor(int topic) {
    return std::to_string(topic);
}

void report(int error) {
    if (error != 0) ReportLibraryError(error, "HelpFile");
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

void WinHelpShow(int command, int /*popup*/, int topic, int& error, std::string_view file,
                 std::string_view keyword) {
    std::string anchor;
    switch (command) {
        case HelpContext:
        case HelpContextPopup:  // no pop-up windows here: the topic in the page
            anchor = topicAnchor(topic);
            break;
        case HelpFinder:
            anchor = "contents";
            break;
        case HelpIndex:
            anchor = "index";
            break;
        default:
            anchor = keywordAnchor(keyword);
            break;
    }
    error = showThroughTwin(file, anchor);
}

void HtmlHelpShow(int command, int /*popup*/, int topic, int& error, std::string_view file,
                  std::string_view keyword) {
    std::string anchor;
    const std::string key(keyword);
    if (startsWith(key, "::/")) {
        // The page of an "ms-its:" reference: its name without the extension,
        // or its own anchor when it names one.
        std::string page = key.substr(3);
        const std::size_t hash = page.find('#');
        if (hash != std::string::npos) {
            anchor = page.substr(hash + 1);
        } else {
            const std::size_t dot = page.find_last_of('.');
            anchor = page.substr(0, dot);
            const std::size_t slash = anchor.find_last_of('/');
            if (slash != std::string::npos) anchor = anchor.substr(slash + 1);
        }
    } else if (command == HhHelpContext || command == HhDisplayTextPopup) {
        anchor = topicAnchor(topic);
    } else if (command == HhKeywordLookup) {
        anchor = keywordAnchor(keyword);
    } else {
        anchor = "contents";
    }
    error = showThroughTwin(file, anchor);
}

void BrowserShow(int kind, int topic, int& error, std::string_view fileOrAddress,
                 std::string_view anchor) {
    const bool web = kind >= 3;
    const bool withAnchor = (kind == 2 || kind == 4 || topic > 0) && !trimBoth(anchor).empty();
    std::string target(fileOrAddress);
    if (!web) {
        target = locate(target);
        if (target.empty()) {
            error = kMissing;
            return;
        }
        target = "file://" + target;
    }
    if (withAnchor) target += "#" + std::string(trimBoth(anchor));
    error = openWithViewer(target) == 0 ? 0 : kViewerError;
}

void DocumentOpen(int& error, std::string_view file) {
    const std::string found = locate(std::string(file));
    if (found.empty()) {
        error = kMissing;
        return;
    }
    error = openWithViewer(found) == 0 ? 0 : kViewerError;
}

void HelpTopicShow(std::string_view fileName, int topicNumber, int popup) {
    HelpFile(fileName, topicNumber, std::to_string(topicNumber), popup, 1);
}

void HelpCloseAll() {
    // The viewers run as programs of their own, which the user closes; the
    // toolkit holds no help window or help library to release.
}

bool HelpFileExists(std::string_view fileName) {
    const std::string name(trimBoth(fileName));
    if (name.empty()) return false;
    const std::string key = lower(name);
    if ((endsWith(key, ".hlp") || endsWith(key, ".chm")) && !twinPage(name).empty()) return true;
    return !locate(name).empty();
}

std::string HelpPageFound(std::string_view fileName) {
    const std::string name(trimBoth(fileName));
    if (name.empty()) return {};
    const std::string page = twinPage(name);
    return page.empty() ? locate(name) : page;
}

void HelpFile(std::string_view fileName, int topicNumber, std::string_view topicText, int popup,
              int commandMode) {
    std::string name(trimBoth(fileName));
    if (name.empty()) {
        HelpCloseAll();
        return;
    }
    const std::string key = lower(name);
    const bool topicGiven = topicNumber >= 0;
    int error = 0;
    if (startsWith(key, "ms-its:") && key.find(".chm::/") != std::string::npos) {
        const std::size_t parts = key.find("::/");
        HtmlHelpShow(HhDisplayTopic, popup, topicNumber, error, name.substr(7, parts - 7),
                     name.substr(parts));
    } else if (endsWith(key, ".hlp")) {
        int command = HelpKey;
        if (topicGiven)
            command = popup == 1 ? HelpContextPopup : HelpContext;
        else if (commandMode == 1)
            command =
                isFile(fullPath(name.substr(0, name.size() - 3) + "cnt")) ? HelpFinder : HelpIndex;
        WinHelpShow(command, popup, topicNumber, error, name, topicText);
    } else if (endsWith(key, ".chm") || endsWith(key, ".col")) {
        int command = HhKeywordLookup;
        if (topicGiven)
            command = popup == 1 ? HhDisplayTextPopup : HhHelpContext;
        else if (commandMode == 1)
            command = HhDisplayToc;
        HtmlHelpShow(command, popup, topicNumber, error, name, topicText);
    } else if (startsWith(key, "http://")) {
        BrowserShow(commandMode + 2, topicNumber, error, name, topicText);
    } else if (endsWith(key, ".htm") || endsWith(key, ".html")) {
        BrowserShow(commandMode, topicNumber, error,
                    startsWith(key, "file://") ? name.substr(7) : name, topicText);
    } else if (endsWith(key, ".pdf")) {
        DocumentOpen(error, name);
    } else {
        error = 1031;
    }
    report(error);
}

}  // namespace tk
