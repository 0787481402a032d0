#include "toolkit/core/os_services.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/kernel/environment.h"
#include "platform/kernel/files.h"
#include "platform/message_box.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/message_box.h"
#include "toolkit/core/os_wrappers.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/string_conversion.h"
#include "toolkit/core/toolkit_state.h"

namespace tk {
namespace {

constexpr std::size_t kCommandLineLength = 2048;
constexpr std::size_t kPathLength = 260;

const std::string& commandLineCopy() {
    ToolkitState& s = toolkitState();
    if (!s.CommandLineCopied) {
        std::vector<char> buffer(kCommandLineLength + 1, '\0');
        Win32CommandLine(buffer.data(), static_cast<int>(buffer.size()));
        std::string copy(fromOs(buffer.data(), kCommandLineLength));
        copy.resize(kCommandLineLength, ' ');
        s.CommandLineCopy = std::move(copy);
        s.CommandLineCopied = true;
    }
    return s.CommandLineCopy;
}

std::string modulePath() {
    std::array<char, kPathLength + 1> buffer{};
    Win32ModulePath(buffer.data(), static_cast<int>(buffer.size()));
    return std::string(fromOs(buffer.data(), kPathLength));
}

std::string environmentValue(const char* name) {
    std::array<char, kPathLength + 1> value{};
    OsVariable(name, TextOut(value.data(), kPathLength));
    return std::string(trimRight(std::string_view(value.data(), kPathLength)));
}

// TMPDIR, then TEMP, then TMP, else /tmp: the Linux order of temporary folders.
std::string temporaryDirectory() {
    for (const char* name : {"TMPDIR", "TEMP", "TMP"}) {
        std::string v = environmentValue(name);
        if (!v.empty()) return withSeparator(v);
    }
    return "/tmp/";
}

bool fileExists(const std::string& name) {
    return win::GetFileAttributesA(name.c_str()) != win::INVALID_FILE_ATTRIBUTES;
}

std::string newTemporaryFileName() {
    std::string dir = InfoFilenameText(TemporaryDirectoryName);
    int ticks = 0;
    TickCountQuery(ticks);
    long long seed = ticks;
    for (;;) {
        char name[32];
        std::snprintf(name, sizeof name, "xx%010lld.tmp", seed % 10000000000LL);
        if (!fileExists(dir + name)) return dir + name;
        ++seed;
    }
}

// The name stored for a kind, without trailing blanks.
std::string storedName(int kind) {
    const ToolkitState& s = toolkitState();
    switch (kind) {
        case PrinterDumpFile:
            return s.PrinterDumpFileName;
        case HardcopyOutputFile:
            return s.HardcopyOutputFileName;
        case CharsetFile:
            return s.CharsetFileName;
        case CharsetDirectory:
            return s.CharsetDirectory;
        case ToolkitDirectoryName:
            return s.ToolkitDirectory;
        case SystemDirectoryName:
            return s.SystemDirectory;
        case StrokeFontFile:
            return s.StrokeFontFileName.empty() ? " " : s.StrokeFontFileName;
        case TemporaryDirectoryName:
            return temporaryDirectory();
        default:
            return {};
    }
}

int volumeSerial(char letter) {
    char root[4] = {letter, ':', '\\', '\0'};
    int serial = 0;
    Win32VolumeSerial(serial, root);
    return serial;
}

bool currentDirectoryIsRoot() {
    std::array<char, kPathLength + 1> buffer{};
    win::DWORD n = win::GetCurrentDirectoryA(static_cast<win::DWORD>(buffer.size()), buffer.data());
    std::string_view dir(buffer.data(), n < buffer.size() ? n : 0);
    return dir == "/" || (dir.size() == 3 && dir.substr(1) == ":\\");
}

}  // namespace

std::string withSeparator(std::string_view directory) {
    std::string dir(directory);
    if (dir.empty() || dir.back() == '\\' || dir.back() == '/') return dir;
    bool windowsStyle = dir.find('\\') != std::string::npos && dir.find('/') == std::string::npos;
    return dir + (windowsStyle ? '\\' : '/');
}

int CommandLineSplit(int n, TextOut argument) {
    const std::string& line = commandLineCopy();
    const int length = static_cast<int>(line.size());
    int counter = -1;
    int pos = 1;
    while (pos <= length) {
        int first = 0, last = 0;
        std::string_view rest(line.data() + pos - 1, static_cast<std::size_t>(length - pos + 1));
        NonBlankRange(rest, static_cast<int>(rest.size()), first, last);
        if (first == 0) break;
        const int a = pos - 1 + first;  // 1-based start of the word
        const int b = pos - 1 + last;
        std::string_view arg;
        bool counts = true;
        if (line[static_cast<std::size_t>(a - 1)] != '"') {
            arg = std::string_view(line.data() + a - 1, static_cast<std::size_t>(b - a + 1));
            pos = b + 2;
        } else {
            std::size_t close = line.find('"', static_cast<std::size_t>(a));
            if (close != std::string::npos) {
                arg = std::string_view(line.data() + a, close - static_cast<std::size_t>(a));
                counts = !arg.empty();
                pos = static_cast<int>(close) + 1 + 2;
            } else {
                arg = std::string_view(line.data() + a, line.size() - static_cast<std::size_t>(a));
                counts = !isBlankText(arg);
                pos = length + 1;
            }
        }
        if (!counts) continue;
        ++counter;
        if (counter == n) {
            putText(argument, arg);
            break;
        }
    }
    if (n == 0) putText(argument, modulePath());
    return counter;
}

void CommandLineArgument(int n, TextOut argument) {
    putText(argument, "");
    if (n >= 0) CommandLineSplit(n, argument);
}

void OsExecute(std::string_view command) {
    if (isBlankText(command)) {
        ReportLibraryError(23, "OsExecute");
        return;
    }
    ToolkitShutdown();
    int result = 0;
    Win32ProgramStart(result, osText(command).c_str());
    if (result >= 32) AbnormalExit(" ", 0);
    AbnormalExit("Failed to execute program", 2);
}

void BeepSwitch(std::string_view text) {
    std::array<char, 3> word = {' ', ' ', ' '};
    std::copy_n(text.begin(), std::min<std::size_t>(3, text.size()), word.begin());
    UpperCaseString(word, 3);
    std::string_view w(word.data(), 3);
    if (w == "ON ")
        toolkitState().BeepEnabled = true;
    else if (w == "OFF")
        toolkitState().BeepEnabled = false;
    else if (toolkitState().BeepEnabled)
        win::MessageBeep(0);
}

void InfoFilename(int kind, TextOut name) {
    if (kind == NewTemporaryFile) {
        // The new name when at least its first character fits, else the
        // directory alone; either way without a report.
        std::string dir = storedName(TemporaryDirectoryName);
        putText(name, name.size() > dir.size() ? newTemporaryFileName() : dir);
        return;
    }
    std::string value = storedName(kind);
    putText(name, value);
    if (trimRight(value).size() > name.size()) ReportLibraryError(1023, "InfoFilename");
}

std::string InfoFilenameText(int kind) {
    std::array<char, kPathLength> buffer;
    InfoFilename(kind, TextOut(buffer));
    return std::string(trimRight(std::string_view(buffer.data(), buffer.size())));
}

int SystemInfoValue(int selector) {
    if (selector >= 65 && selector <= 90) {
        char root[4] = {static_cast<char>(selector), ':', '\\', '\0'};
        int type = 0;
        Win32DriveType(type, root);
        return type >= 2 ? type - 1 : 0;
    }
    if (selector >= 165 && selector <= 190) return volumeSerial(static_cast<char>(selector - 100));
    switch (selector) {
        case 1:
            return 6;
        case 2: {
            char one = ' ';
            return CommandLineSplit(-1, TextOut(&one, 1));
        }
        case 3: {
            int major = 0, minor = 0;
            Win32VersionNumbers(major, minor);
            return 100 * major + minor;
        }
        case 6:
            return 92;
        case 9:
            return currentDirectoryIsRoot() ? 1 : 0;
        case 15: {
            int ms = 0;
            TickCountQuery(ms);
            return ms;
        }
        case 16: {
            int kind = 0;
            WindowsPlatformQuery(kind);
            return kind;
        }
        case 18:
            return 1;
        case 20:
            return static_cast<unsigned char>(toolkitState().DecimalSeparator);
        case 21: {
            int mb = 0;
            Win32DiskFreeMegabytes(mb);
            return mb;
        }
        default:
            return 0;
    }
}

int SystemInfoQuery(int selector) {
    if (selector == 10 || selector == 11) return SystemInfoValue(selector + 155) != 0 ? 1 : 0;
    if (selector == 17) {
        int bytes = 0;
        Win32DiskFreeBytes(bytes);
        return bytes;
    }
    return SystemInfoValue(selector);
}

void OsVariable(std::string_view name, TextOut value) {
    putText(value, "");
    std::vector<char> buffer(value.size() + 1, '\0');
    int result = 0;
    Win32EnvironmentGet(result, osText(name).c_str(), buffer.data(),
                        static_cast<int>(buffer.size()));
    if (result >= static_cast<int>(buffer.size())) {
        ReportLibraryError(1023, "OsVariable");
        return;
    }
    if (result > 0)
        putText(value, std::string_view(buffer.data(), static_cast<std::size_t>(result)));
}

void OsUserName(TextOut name) {
    putText(name, "");
    std::vector<char> buffer(name.size() + 1, '\0');
    int error = 0, tooSmall = 0;
    Win32UserName(error, tooSmall, buffer.data(), static_cast<int>(buffer.size()));
    if (tooSmall != 0) {
        ReportLibraryError(1023, "OsUserName");
        return;
    }
    if (error != 0) {
        toolkitState().OsErrorCode = error;
        ReportLibraryError(13, "OsUserName");
        return;
    }
    putText(name, fromOs(buffer.data(), buffer.size()));
}

void TickCountQuery(int& milliseconds) {
    milliseconds = static_cast<int>(win::GetTickCount() & 0x7FFFFFFFu);
}

void ToolkitDirectoryInit() {
    ToolkitState& s = toolkitState();
    s.PathSeparator = '\\';
    char decimal[8] = {};
    s.DecimalSeparator =
        win::GetLocaleInfoA(win::LOCALE_USER_DEFAULT, win::LOCALE_SDECIMAL, decimal, 8) > 0
            ? decimal[0]
            : '.';
    s.DecimalSeparatorMode = 0;
    std::string dir = environmentValue("RUDORU");
    if (!dir.empty()) {
        s.ToolkitDirectory = withSeparator(dir);
    } else if (std::string vadi = environmentValue("VADI"); !vadi.empty()) {
        int p = IndexNoCase(vadi, static_cast<int>(vadi.size()), "VADI", 4, true);
        s.ToolkitDirectory = p > 0 ? vadi.substr(0, static_cast<std::size_t>(p - 1)) : vadi;
    } else {
        // No drive letters here: the toolkit's files live beside the program.
        std::string program = modulePath();
        std::size_t cut = program.find_last_of("\\/");
        s.ToolkitDirectory = cut == std::string::npos ? std::string() : program.substr(0, cut + 1);
    }
    s.GeneralFileUnit = 40;
}

void TemporaryFileNamesInit() {
    ToolkitState& s = toolkitState();
    s.TemporaryDirectory = temporaryDirectory();
    auto firstFree = [&](const char* extension) {
        std::string name;
        for (int nn = 0; nn <= 99; ++nn) {
            char part[32];
            std::snprintf(part, sizeof part, "zaz$$%02d%s", nn, extension);
            name = s.TemporaryDirectory + part;
            if (!fileExists(name)) break;
        }
        return name;
    };
    s.TemporaryPlotFileName = firstFree(".plt");
    s.TemporaryDumpFileName = firstFree(".dmp");
}

}  // namespace tk
