#include "toolkit/core/file_services.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "platform/kernel/shell.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/os_wrappers.h"
#include "toolkit/core/toolkit_state.h"

namespace tk {
namespace {

constexpr int kPathLength = 260;

int osError() {
    return static_cast<int>(win::GetLastError());
}

void reportOs(int error, std::string_view routine) {
    toolkitState().OsErrorCode = error;
    ReportLibraryError(13, routine);
}

int capped(std::uint64_t v) {
    return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

std::uint64_t sizeOf(const win::WIN32_FIND_DATAA& d) {
    return (std::uint64_t{d.nFileSizeHigh} << 32) | d.nFileSizeLow;
}

// The directory part of a name: up to and including its last ":", "\" or "/".
std::string directoryPart(std::string_view name) {
    std::size_t cut = name.find_last_of(":\\/");
    return cut == std::string_view::npos ? std::string() : std::string(name.substr(0, cut + 1));
}

bool hasWildcard(std::string_view s) {
    return s.find_first_of("*?") != std::string_view::npos;
}

bool endsInSeparator(std::string_view s) {
    return !s.empty() && (s.back() == ':' || s.back() == '\\' || s.back() == '/');
}

// The one search the toolkit keeps open at a time.
win::HANDLE& searchHandle() {
    static win::HANDLE handle = win::INVALID_HANDLE_VALUE;
    return handle;
}

struct Found {
    std::string name;
    int attributes = 0;
    int dosDateTime = 0;
    int size = 0;
};

// One step of a search through the wrapper; false at its end or failure.
bool findStep(int next, const std::string& pattern, Found& found, int& error) {
    std::vector<char> buffer(std::max<std::size_t>(pattern.size() + 1, kPathLength + 1), '\0');
    std::memcpy(buffer.data(), pattern.c_str(), pattern.size() + 1);
    Win32FindFile(next, buffer.data(), static_cast<int>(buffer.size()), found.attributes,
                  found.dosDateTime, found.size, error);
    if (error != 0) return false;
    found.name = buffer.data();
    return true;
}

enum class ListMode { Count, Names, Details };

void listDirectory(ListMode mode, std::string_view directory, std::string_view pattern,
                   std::span<TextOut> names, int& count, std::span<int> dates,
                   std::span<int> sizes) {
    const int capacity = std::min<int>(count, static_cast<int>(names.size()));
    const ToolkitState& s = toolkitState();
    std::string path(trimBoth(directory));
    if (!path.empty() && !endsInSeparator(path)) path += '\\';
    std::string_view p = trimBoth(pattern);
    path += p.empty() ? std::string_view("*.*") : p;

    count = 0;
    Found found;
    int error = 0;
    if (!findStep(0, path, found, error)) {
        if (error != static_cast<int>(win::ERROR_FILE_NOT_FOUND)) reportOs(error, "OsDirInfo");
        return;
    }
    struct Entry {
        std::string name;
        int date, size;
    };
    std::vector<Entry> listed;
    do {
        bool isDirectory =
            (found.attributes & static_cast<int>(win::FILE_ATTRIBUTE_DIRECTORY)) != 0;
        if (isDirectory ? !s.ListDirectories : !s.ListFiles) continue;
        if (mode != ListMode::Count && count == capacity) {
            ReportLibraryError(40, "OsDirInfo");
            break;
        }
        ++count;
        if (mode != ListMode::Count) listed.push_back({found.name, found.dosDateTime, found.size});
    } while (findStep(1, path, found, error));
    Win32FindClose();
    if (mode == ListMode::Count) return;

    for (std::size_t i = 0; i < listed.size(); ++i)
        putText(names[i], listed[i].name);
    // Selection sort on the stored, upper-cased, blank-padded names: the
    // first of equal names stays first.
    auto key = [&](std::size_t i) {
        std::string k(names[i].data(), names[i].size());
        for (char& c : k)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return k;
    };
    for (std::size_t i = 0; i + 1 < listed.size(); ++i) {
        std::size_t smallest = i;
        for (std::size_t j = i + 1; j < listed.size(); ++j)
            if (key(j) < key(smallest)) smallest = j;
        if (smallest == i) continue;
        std::swap_ranges(names[i].begin(), names[i].end(), names[smallest].begin());
        std::swap(listed[i], listed[smallest]);
    }
    if (mode == ListMode::Details) {
        for (std::size_t i = 0; i < listed.size(); ++i) {
            if (i < dates.size()) dates[i] = listed[i].date;
            if (i < sizes.size()) sizes[i] = listed[i].size;
        }
    }
}

}  // namespace

// --- platform side -------------------------------------------------------

void Win32DirChange(const char* directory, int& error) {
    error = win::SetCurrentDirectoryA(directory) ? 0 : osError();
}

void Win32DirName(char* buffer, int length, int& error, int& tooSmall) {
    error = 0;
    tooSmall = 0;
    win::DWORD n = win::GetCurrentDirectoryA(static_cast<win::DWORD>(length), buffer);
    if (n == 0)
        error = osError();
    else if (n > static_cast<win::DWORD>(length - 1))
        tooSmall = 1;
}

void Win32DirMake(const char* directory, int& error) {
    error = win::CreateDirectoryA(directory, nullptr) ? 0 : osError();
}

void Win32DirRemove(const char* directory, int& error) {
    error = win::RemoveDirectoryA(directory) ? 0 : osError();
}

void Win32FileDelete(const char* name, int& error) {
    error = win::DeleteFileA(name) ? 0 : osError();
}

void Win32FileMove(int& error, const char* oldName, const char* newName) {
    error = win::MoveFileA(oldName, newName) ? 0 : osError();
}

void Win32FileCopy(const char* source, const char* target, int& error) {
    error = win::CopyFileA(source, target, win::FALSE) ? 0 : osError();
}

void Win32FileAttributesSet(int attributes, int& error, const char* name) {
    error = win::SetFileAttributesA(name, static_cast<win::DWORD>(attributes)) ? 0 : osError();
}

void Win32FileInfo(int& size, int& year, int& month, int& day, int& hour, int& minute, int& second,
                   int& attributes, int& kilobytes, const char* name) {
    win::WIN32_FIND_DATAA data;
    win::HANDLE h = win::FindFirstFileA(name, &data);
    if (h == win::INVALID_HANDLE_VALUE) {
        size = -1;
        return;
    }
    win::FindClose(h);
    win::FILETIME local;
    win::SYSTEMTIME t;
    win::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    win::FileTimeToSystemTime(&local, &t);
    std::uint64_t bytes = sizeOf(data);
    size = capped(bytes);
    year = t.wYear;
    month = t.wMonth;
    day = t.wDay;
    hour = t.wHour;
    minute = t.wMinute;
    second = t.wSecond;
    attributes = static_cast<int>(data.dwFileAttributes);
    kilobytes = capped(bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0));
}

void Win32FindFile(int next, char* buffer, int length, int& attributes, int& dosDateTime, int& size,
                   int& error) {
    win::WIN32_FIND_DATAA data;
    win::HANDLE& h = searchHandle();
    if (next == 0) {
        if (h != win::INVALID_HANDLE_VALUE) win::FindClose(h);
        h = win::FindFirstFileA(buffer, &data);
        if (h == win::INVALID_HANDLE_VALUE) {
            error = osError();
            return;
        }
    } else if (h == win::INVALID_HANDLE_VALUE || !win::FindNextFileA(h, &data)) {
        error = 1;
        return;
    }
    error = 0;
    std::size_t n = std::min(std::strlen(data.cFileName), static_cast<std::size_t>(length - 1));
    std::memcpy(buffer, data.cFileName, n);
    buffer[n] = '\0';
    attributes = static_cast<int>(data.dwFileAttributes);
    win::FILETIME local;
    win::WORD fatDate = 0, fatTime = 0;
    win::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    win::FileTimeToDosDateTime(&local, &fatDate, &fatTime);
    dosDateTime = static_cast<int>((static_cast<std::uint32_t>(fatDate) << 16) | fatTime);
    size = capped(sizeOf(data));
}

void Win32FindClose() {
    win::HANDLE& h = searchHandle();
    if (h != win::INVALID_HANDLE_VALUE) win::FindClose(h);
    h = win::INVALID_HANDLE_VALUE;
}

void Win32FullPathName(int& error, const char* name, char* buffer, int length) {
    win::DWORD n = win::GetFullPathNameA(name, static_cast<win::DWORD>(length), buffer, nullptr);
    if (n == 0)
        error = osError();
    else if (n >= static_cast<win::DWORD>(length))
        error = static_cast<int>(win::ERROR_INSUFFICIENT_BUFFER);
    else
        error = 0;
}

void Win32FindExecutable(int& result, const char* file, char* buffer, int length) {
    char found[win::MAX_PATH] = {};
    auto code = reinterpret_cast<std::intptr_t>(win::FindExecutableA(file, nullptr, found));
    if (code == 2) {
        result = 1;
        return;
    }
    if (code < 32) {
        result = -1;
        return;
    }
    std::size_t n = std::strlen(found);
    if (length <= 0 || n + 1 > static_cast<std::size_t>(length)) {
        result = 1023;
        return;
    }
    std::memcpy(buffer, found, n + 1);
    result = 0;
}

namespace {
bool fileTimes(const char* name, bool write, win::FILETIME t[3], bool set) {
    win::HANDLE h =
        win::CreateFileA(name, write ? win::GENERIC_WRITE : win::GENERIC_READ, win::FILE_SHARE_READ,
                         nullptr, win::OPEN_EXISTING, win::FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == win::INVALID_HANDLE_VALUE) return false;
    bool ok = set ? win::SetFileTime(h, &t[0], &t[1], &t[2]) != 0
                  : win::GetFileTime(h, &t[0], &t[1], &t[2]) != 0;
    win::CloseHandle(h);
    return ok;
}
win::FILETIME fileTime(int low, int high) {
    return {static_cast<win::DWORD>(low), static_cast<win::DWORD>(high)};
}
}  // namespace

void Win32FileTimesGet(int& creationLow, int& creationHigh, int& accessLow, int& accessHigh,
                       int& writeLow, int& writeHigh, const char* name) {
    win::FILETIME t[3];
    fileTimes(name, false, t, false);
    creationLow = static_cast<int>(t[0].dwLowDateTime);
    creationHigh = static_cast<int>(t[0].dwHighDateTime);
    accessLow = static_cast<int>(t[1].dwLowDateTime);
    accessHigh = static_cast<int>(t[1].dwHighDateTime);
    writeLow = static_cast<int>(t[2].dwLowDateTime);
    writeHigh = static_cast<int>(t[2].dwHighDateTime);
}

void Win32FileTimesSet(int creationLow, int creationHigh, int accessLow, int accessHigh,
                       int writeLow, int writeHigh, const char* name) {
    win::FILETIME t[3] = {fileTime(creationLow, creationHigh), fileTime(accessLow, accessHigh),
                          fileTime(writeLow, writeHigh)};
    fileTimes(name, true, t, true);
}

void Win32FileTimesCopy(const char* source, const char* target) {
    win::FILETIME t[3];
    if (fileTimes(source, false, t, false)) fileTimes(target, true, t, true);
}

// --- public routines -----------------------------------------------------

void OsDirChange(std::string_view directory) {
    int error = 0;
    Win32DirChange(osText(directory).c_str(), error);
    if (error != 0) reportOs(error, "OsDirChange");
}

void OsDirName(TextOut directory) {
    std::vector<char> buffer(directory.size() + 1, '\0');
    int error = 0, tooSmall = 0;
    Win32DirName(buffer.data(), static_cast<int>(buffer.size()), error, tooSmall);
    putText(directory, "");
    if (tooSmall != 0) {
        ReportLibraryError(1023, "OsDirName");
    } else if (error != 0) {
        reportOs(error, "OsDirName");
    } else {
        putText(directory, fromOs(buffer.data(), buffer.size()));
    }
}

void OsDirMake(std::string_view directory) {
    int error = 0;
    Win32DirMake(osText(directory).c_str(), error);
    if (error != 0) reportOs(error, "OsDirMake");
}

void OsDeleteFile(std::string_view name) {
    if (isBlankText(name)) return;
    std::string pattern = osText(name);
    std::string dir = directoryPart(pattern);
    Found found;
    int error = 0;
    if (!findStep(0, pattern, found, error)) {
        reportOs(error, "OsDeleteFile");
        return;
    }
    do {
        if (found.attributes & static_cast<int>(win::FILE_ATTRIBUTE_DIRECTORY)) continue;
        int deleteError = 0;
        Win32FileDelete((dir + found.name).c_str(), deleteError);
        if (deleteError != 0) reportOs(deleteError, "OsDeleteFile");
    } while (findStep(1, pattern, found, error));
    Win32FindClose();
}

void OsRenameFile(std::string_view oldName, std::string_view newName) {
    if (isBlankText(oldName) || isBlankText(newName)) return;
    int error = 0;
    Win32FileMove(error, osText(oldName).c_str(), osText(newName).c_str());
    if (error != 0) reportOs(error, "OsRenameFile");
}

void OsCopyFile(std::string_view source, std::string_view target) {
    if (isBlankText(source)) return;
    std::string from = osText(source);
    std::string dir = directoryPart(from);
    std::string to = osText(target);
    int error = 0;
    if (!hasWildcard(from)) {
        if (to.empty() || endsInSeparator(to)) to += from.substr(dir.size());
        if (from == to) {
            ReportLibraryError(55, "OsCopyFile");
            return;
        }
        Win32FileCopy(from.c_str(), to.c_str(), error);
        if (error != 0) reportOs(error, "OsCopyFile");
        return;
    }
    if (!endsInSeparator(to)) to += '\\';
    Found found;
    if (!findStep(0, from, found, error)) {
        reportOs(error, "OsCopyFile");
        return;
    }
    do {
        if (found.attributes & static_cast<int>(win::FILE_ATTRIBUTE_DIRECTORY)) continue;
        Win32FileCopy((dir + found.name).c_str(), (to + found.name).c_str(), error);
        if (error != 0) {
            reportOs(error, "OsCopyFile");
            break;
        }
    } while (findStep(1, from, found, error));
    Win32FindClose();
}

void OsDirInfo(std::string_view directory, std::string_view pattern, std::span<TextOut> names,
               int& count) {
    listDirectory(ListMode::Names, directory, pattern, names, count, {}, {});
}

void DirEntryCount(std::string_view directory, std::string_view pattern, int& count) {
    count = 0;
    listDirectory(ListMode::Count, directory, pattern, {}, count, {}, {});
}

void DirEntryDetails(std::string_view directory, std::string_view pattern, std::span<TextOut> names,
                     int& count, std::span<int> dates, std::span<int> sizes) {
    listDirectory(ListMode::Details, directory, pattern, names, count, dates, sizes);
}

void ParseAttributeLetters(std::string_view text) {
    ToolkitState& s = toolkitState();
    s.ListFiles = text.find_first_of("Ff") != std::string_view::npos;
    s.ListDirectories = text.find_first_of("Dd") != std::string_view::npos;
}

void FormatAttributeLetters(TextOut text) {
    putText(text, "");
    if (text.size() >= 1 && toolkitState().ListFiles) text[0] = 'F';
    if (text.size() >= 2 && toolkitState().ListDirectories) text[1] = 'D';
}

bool DirectoryExists(std::string_view path) {
    std::string_view p = trimBoth(path);
    if (p.empty()) return false;
    if (p == "\\" || p == "/") return true;
    if (p.size() == 3 && p[1] == ':' && p[2] == '\\') {
        int type = 0;
        Win32DriveType(type, std::string(p).c_str());
        return type != static_cast<int>(win::DRIVE_UNKNOWN) &&
               type != static_cast<int>(win::DRIVE_NO_ROOT_DIR);
    }
    ToolkitState& s = toolkitState();
    const bool files = s.ListFiles, directories = s.ListDirectories;
    const int mode = s.ErrorReportMode, last = s.LastErrorNumber;
    s.ListFiles = false;
    s.ListDirectories = true;
    s.ErrorReportMode = 0;
    char one = ' ';
    TextOut slot(&one, 1);
    int count = 1;
    OsDirInfo(p, ".", std::span<TextOut>(&slot, 1), count);
    s.ListFiles = files;
    s.ListDirectories = directories;
    s.ErrorReportMode = mode;
    s.LastErrorNumber = last;
    return count == 1;
}

void FileInfoQuery(std::string_view name, std::span<int> info, int n) {
    if (info.empty()) return;
    if (isBlankText(name)) {
        info[0] = -1;
        return;
    }
    std::array<int, 9> values{};
    Win32FileInfo(values[0], values[1], values[2], values[3], values[4], values[5], values[6],
                  values[7], values[8], osText(name).c_str());
    info[0] = values[0];
    if (values[0] == -1) return;
    const int items = std::min<int>({std::max(n, 1), 9, static_cast<int>(info.size())});
    for (int i = 1; i < items; ++i)
        info[static_cast<std::size_t>(i)] = values[static_cast<std::size_t>(i)];
}

std::string OsHostPath(std::string_view name) {
    return win::hostPath(name);
}

}  // namespace tk
