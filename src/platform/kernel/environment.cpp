#include "platform/kernel/environment.h"

#include <langinfo.h>
#include <locale.h>
#include <pwd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/kernel/errors.h"

namespace win {
namespace {

std::function<DWORD()>& tickSource() {
    static std::function<DWORD()> source;
    return source;
}

std::string& commandLineOverride() {
    static std::string text;
    return text;
}

std::string& moduleFileOverride() {
    static std::string path;
    return path;
}

// The command line as Windows would hand it over: the arguments joined by
// blanks, each one that holds a blank (or is empty) in double quotes.
std::string realCommandLine() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string line;
    std::size_t start = 0;
    while (start < raw.size()) {
        std::size_t end = raw.find('\0', start);
        if (end == std::string::npos) end = raw.size();
        std::string arg = raw.substr(start, end - start);
        if (!line.empty()) line += ' ';
        if (arg.empty() || arg.find_first_of(" \t") != std::string::npos)
            line += '"' + arg + '"';
        else
            line += arg;
        start = end + 1;
    }
    return line;
}

std::string userName() {
    if (passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
    for (const char* var : {"USER", "LOGNAME"})
        if (const char* v = std::getenv(var); v && *v) return v;
    return {};
}

}  // namespace

DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size) {
    const char* value = name ? std::getenv(name) : nullptr;
    if (!value) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    std::size_t n = std::strlen(value);
    if (n + 1 > size || buffer == nullptr) return static_cast<DWORD>(n + 1);
    std::memcpy(buffer, value, n + 1);
    return static_cast<DWORD>(n);
}

BOOL SetEnvironmentVariableA(LPCSTR name, LPCSTR value) {
    if (!name || !*name || std::strchr(name, '=')) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int rc = value ? ::setenv(name, value, 1) : ::unsetenv(name);
    if (rc != 0) {
        setLastErrorFromErrno(errno);
        return FALSE;
    }
    return TRUE;
}

LPSTR GetCommandLineA() {
    static std::string line;
    line = commandLineOverride().empty() ? realCommandLine() : commandLineOverride();
    return line.data();
}

DWORD GetModuleFileNameA(HMODULE, LPSTR buffer, DWORD size) {
    std::vector<char> path(PATH_MAX + 1);
    ssize_t n = 0;
    if (const std::string& given = moduleFileOverride(); !given.empty()) {
        n = static_cast<ssize_t>(std::min<std::size_t>(given.size(), PATH_MAX));
        std::memcpy(path.data(), given.data(), static_cast<std::size_t>(n));
    } else {
        n = ::readlink("/proc/self/exe", path.data(), PATH_MAX);
    }
    if (n < 0) {
        setLastErrorFromErrno(errno);
        return 0;
    }
    if (size == 0 || buffer == nullptr) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    auto len = static_cast<DWORD>(n);
    if (len + 1 > size) {
        // Cut to the buffer, NUL included, as the Windows call does.
        std::memcpy(buffer, path.data(), size - 1);
        buffer[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(buffer, path.data(), len);
    buffer[len] = '\0';
    SetLastError(ERROR_SUCCESS);
    return len;
}

BOOL GetUserNameA(LPSTR buffer, DWORD* size) {
    if (!size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string name = userName();
    auto needed = static_cast<DWORD>(name.size() + 1);
    if (buffer == nullptr || *size < needed) {
        *size = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(buffer, name.c_str(), needed);
    *size = needed;
    return TRUE;
}

UINT GetSystemDirectoryA(LPSTR buffer, UINT size) {
    static const char kDir[] = "/usr/lib";
    UINT n = sizeof kDir - 1;
    if (buffer == nullptr || n + 1 > size) return n + 1;
    std::memcpy(buffer, kDir, n + 1);
    return n;
}

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    if (!info || info->dwOSVersionInfoSize < 148) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    info->dwMajorVersion = 5;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 2600;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    info->szCSDVersion[0] = '\0';
    return TRUE;
}

DWORD GetVersion() {
    OSVERSIONINFOA info;
    GetVersionExA(&info);
    // Low byte major, next byte minor, build in the high word (top bit clear: NT).
    return info.dwMajorVersion | (info.dwMinorVersion << 8) | (info.dwBuildNumber << 16);
}

namespace {

// One item of the user's locale for one category, as the environment names
// it (LC_ALL, then the category's own variable, then LANG); the C locale's
// item when no locale is named or the named one is not installed. The
// process's own locale stays "C", so that numbers in files keep their ".".
std::string userLocaleItem(int mask, nl_item item) {
    locale_t user = newlocale(mask, "", static_cast<locale_t>(nullptr));
    if (!user) user = newlocale(mask, "C", static_cast<locale_t>(nullptr));
    if (!user) return {};
    std::string value = nl_langinfo_l(item, user);
    freelocale(user);
    return value;
}

}  // namespace

int GetLocaleInfoA(LCID, LCTYPE type, LPSTR buffer, int size) {
    std::string text;
    switch (type) {
        case LOCALE_SDECIMAL:
            text = userLocaleItem(LC_NUMERIC_MASK, RADIXCHAR);
            if (text.empty()) text = ".";
            break;
        case LOCALE_STHOUSAND:
            text = userLocaleItem(LC_NUMERIC_MASK, THOUSEP);
            break;
        case LOCALE_IMEASURE: {
            // The C library answers 1 metric, 2 U.S.; Windows "0" and "1".
            const std::string m = userLocaleItem(LC_MEASUREMENT_MASK, _NL_MEASUREMENT_MEASUREMENT);
            text = !m.empty() && m[0] == 2 ? "1" : "0";
            break;
        }
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
    }
    const char* value = text.c_str();
    int needed = static_cast<int>(std::strlen(value)) + 1;
    if (size == 0) return needed;
    if (!buffer || size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, value, static_cast<std::size_t>(needed));
    return needed;
}

DWORD GetTickCount() {
    if (tickSource()) return tickSource()();
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    std::uint64_t ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                       static_cast<std::uint64_t>(ts.tv_nsec / 1000000);
    return static_cast<DWORD>(ms & 0xFFFFFFFFu);
}

void setTickCountSource(std::function<DWORD()> source) {
    tickSource() = std::move(source);
}

namespace testing {
void setCommandLine(const std::string& commandLine) {
    commandLineOverride() = commandLine;
}

void setModuleFileName(const std::string& path) {
    moduleFileOverride() = path;
}
}  // namespace testing

}  // namespace win
