#include "toolkit/core/os_wrappers.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/kernel/environment.h"
#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "platform/kernel/processes.h"
#include "platform/kernel/registry.h"
#include "platform/message_box.h"
#include "toolkit/core/seams.h"

namespace tk {
namespace {

int osError() {
    return static_cast<int>(win::GetLastError());
}

constexpr int kAboveTwoGigabytes = 2147155968;  // 7FFB0000 hexadecimal

}  // namespace

void Win32ErrorBox(const char* caption, const char* text) {
    win::MessageBoxA(nullptr, text, caption, win::MB_TASKMODAL | win::MB_ICONERROR);
}

void Win32VersionNumbers(int& major, int& minor) {
    win::DWORD v = win::GetVersion();
    major = static_cast<int>(v & 0xFF);
    minor = static_cast<int>((v >> 8) & 0xFF);
}

void Win32EnvironmentGet(int& result, const char* name, char* buffer, int size) {
    result = static_cast<int>(
        win::GetEnvironmentVariableA(name, buffer, static_cast<win::DWORD>(size < 0 ? 0 : size)));
}

void Win32EnvironmentSet(const char* name, const char* value) {
    win::SetEnvironmentVariableA(name, value);
}

void Win32ProgramStart(int& result, const char* command) {
    result = static_cast<int>(win::WinExec(command, win::SW_SHOWNORMAL));
}

namespace {

// Waits until the process ends, keeping the program's windows painted
// meanwhile: 32 when it ended, else the OS error.
int awaitProcess(win::HANDLE process) {
    for (;;) {
        if (seams().dispatchPaint) seams().dispatchPaint();
        const win::DWORD w = win::WaitForSingleObject(process, 100);
        if (w == win::WAIT_OBJECT_0) return 32;
        if (w == win::WAIT_FAILED) return osError();
    }
}

bool startProcess(std::string line, int show, win::PROCESS_INFORMATION& info) {
    win::STARTUPINFOA startup;
    startup.dwFlags = win::STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<win::WORD>(show);
    return win::CreateProcessA(nullptr, line.data(), nullptr, nullptr, win::FALSE,
                               win::CREATE_NEW_CONSOLE | win::NORMAL_PRIORITY_CLASS, nullptr,
                               nullptr, &startup, &info);
}

}  // namespace

void Win32RunProcess(const char* command, int hide, int wait, int timeoutSeconds, int& result) {
    const int show = hide == 0 ? win::SW_SHOWNORMAL : win::SW_HIDE;
    if (wait == 0) {
        result = static_cast<int>(win::WinExec(command, static_cast<win::UINT>(show)));
        return;
    }
    win::PROCESS_INFORMATION info;
    if (!startProcess(command ? command : "", show, info)) {
        result = osError();
        return;
    }
    if (timeoutSeconds < 0) {
        result = awaitProcess(info.hProcess);
    } else {
        win::DWORD w = win::WaitForSingleObject(info.hProcess,
                                                static_cast<win::DWORD>(timeoutSeconds) * 1000u);
        result = w == win::WAIT_OBJECT_0 ? 32 : w == win::WAIT_TIMEOUT ? -1 : osError();
    }
    win::CloseHandle(info.hProcess);
    win::CloseHandle(info.hThread);
}

void Win32RunProgram(const std::vector<std::string>& argv, int& result, int& exitCode) {
    exitCode = 0;
    win::PROCESS_INFORMATION info;
    if (!startProcess(win::argumentsToCommandLine(argv), win::SW_SHOWNORMAL, info)) {
        result = osError();
        return;
    }
    result = awaitProcess(info.hProcess);
    win::DWORD code = 0;
    if (result == 32 && win::GetExitCodeProcess(info.hProcess, &code))
        exitCode = static_cast<int>(code);
    win::CloseHandle(info.hProcess);
    win::CloseHandle(info.hThread);
}

void Win32LocalDate(int& year, int& month, int& day) {
    win::SYSTEMTIME t;
    win::GetLocalTime(&t);
    year = t.wYear;
    month = t.wMonth;
    day = t.wDay;
}

void Win32LocalTime(int& hour, int& minute, int& second, int& milliseconds) {
    win::SYSTEMTIME t;
    win::GetLocalTime(&t);
    hour = t.wHour;
    minute = t.wMinute;
    second = t.wSecond;
    milliseconds = t.wMilliseconds;
}

void Win32DiskFreeBytes(int& bytes) {
    win::ULARGE_INTEGER free;
    if (win::GetDiskFreeSpaceExA(nullptr, &free, nullptr, nullptr) &&
        (free.QuadPart >> 20) >= 2048) {
        bytes = kAboveTwoGigabytes;
        return;
    }
    win::DWORD spc = 0, bps = 0, freeClusters = 0, total = 0;
    if (!win::GetDiskFreeSpaceA(nullptr, &spc, &bps, &freeClusters, &total)) {
        bytes = 0;
        return;
    }
    std::uint64_t product = std::uint64_t{spc} * bps * freeClusters;
    bytes = product > kAboveTwoGigabytes ? kAboveTwoGigabytes : static_cast<int>(product);
}

void Win32DiskFreeMegabytes(int& megabytes) {
    win::ULARGE_INTEGER free;
    if (!win::GetDiskFreeSpaceExA(nullptr, &free, nullptr, nullptr)) {
        megabytes = 0;
        return;
    }
    std::uint64_t mb = free.QuadPart >> 20;
    megabytes = mb > INT_MAX ? INT_MAX : static_cast<int>(mb);
}

void Win32ProcessExit(int code) {
    win::ExitProcess(static_cast<win::UINT>(code));
}

void Win32VolumeSerial(int& serial, const char* root) {
    win::UINT old = win::SetErrorMode(win::SEM_FAILCRITICALERRORS);
    win::DWORD value = 0;
    if (!win::GetVolumeInformationA(root, nullptr, 0, &value, nullptr, nullptr, nullptr, 0))
        value = 0;
    win::SetErrorMode(old);
    serial = static_cast<int>(value);
}

void Win32SystemDirectory(char* buffer, int size, int& error) {
    win::UINT n = win::GetSystemDirectoryA(buffer, static_cast<win::UINT>(size));
    error = n == 0 || n >= static_cast<win::UINT>(size) ? 1 : 0;
}

void Win32CommandLine(char* buffer, int size) {
    if (size <= 0) return;
    const char* line = win::GetCommandLineA();
    std::size_t n = std::min<std::size_t>(std::strlen(line), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, line, n);
    buffer[n] = '\0';
}

void Win32ModulePath(char* buffer, int size) {
    if (size <= 0) return;
    buffer[0] = '\0';
    win::GetModuleFileNameA(nullptr, buffer, static_cast<win::DWORD>(size));
}

void Win32DriveType(int& type, const char* root) {
    type = static_cast<int>(win::GetDriveTypeA(root));
}

void Win32UserName(int& error, int& tooSmall, char* buffer, int size) {
    error = 0;
    tooSmall = 0;
    char area[257] = {};
    win::DWORD n = sizeof area;
    if (!win::GetUserNameA(area, &n)) {
        error = osError();
        return;
    }
    std::size_t len = std::strlen(area);
    if (len + 1 > static_cast<std::size_t>(size)) {
        tooSmall = 1;
        if (size > 0) {
            std::memcpy(buffer, area, static_cast<std::size_t>(size - 1));
            buffer[size - 1] = '\0';
        }
        return;
    }
    std::memcpy(buffer, area, len + 1);
}

void Win32ErrorText(int code, char* buffer, int size) {
    if (size <= 0) return;
    buffer[0] = '\0';
    win::FormatMessageA(win::FORMAT_MESSAGE_FROM_SYSTEM | win::FORMAT_MESSAGE_IGNORE_INSERTS,
                        nullptr, static_cast<win::DWORD>(code), 1024, buffer,
                        static_cast<win::DWORD>(size), nullptr);
}

void WindowsPlatformQuery(int& kind) {
    win::OSVERSIONINFOA info;
    win::GetVersionExA(&info);
    kind = info.dwPlatformId == win::VER_PLATFORM_WIN32s     ? 2
           : info.dwPlatformId == win::VER_PLATFORM_WIN32_NT ? 4
                                                             : 3;
}

namespace {

win::HKEY rootKeyOf(int rootKey) {
    return reinterpret_cast<win::HKEY>(
        static_cast<std::uintptr_t>(static_cast<std::uint32_t>(rootKey)));
}

}  // namespace

void Win32RegistryKeyDelete(int rootKey, int& result, const char* subKey) {
    result = static_cast<int>(win::RegDeleteKeyA(rootKeyOf(rootKey), subKey));
}

void Win32RegistryValueDelete(int rootKey, int& result, const char* subKey, const char* name) {
    win::HKEY key = nullptr;
    if (win::RegOpenKeyExA(rootKeyOf(rootKey), subKey, 0, win::KEY_WRITE, &key) != 0) {
        result = 2;
        return;
    }
    result = static_cast<int>(win::RegDeleteValueA(key, name));
    win::RegCloseKey(key);
}

void Win32RegistryValueRead(int rootKey, int& type, int& size, const char* subKey, const char* name,
                            void* data) {
    win::HKEY key = nullptr;
    win::LSTATUS error = win::RegOpenKeyExA(rootKeyOf(rootKey), subKey, 0, win::KEY_READ, &key);
    if (error == 0) {
        win::DWORD t = 0, n = static_cast<win::DWORD>(std::max(size, 0));
        error = win::RegQueryValueExA(key, name, nullptr, &t,
                                      size > 0 ? static_cast<win::BYTE*>(data) : nullptr, &n);
        win::RegCloseKey(key);
        type = static_cast<int>(t);
        size = static_cast<int>(n);
    }
    if (error != 0 && error != static_cast<win::LSTATUS>(win::ERROR_MORE_DATA)) {
        type = -2;
        size = 0;
    }
}

void Win32RegistryValueWrite(int rootKey, int type, int& result, const char* subKey,
                             const char* name, const void* data, int dataSize) {
    win::HKEY key = nullptr;
    result = static_cast<int>(win::RegCreateKeyExA(rootKeyOf(rootKey), subKey, 0, nullptr,
                                                   win::REG_OPTION_NON_VOLATILE, win::KEY_WRITE,
                                                   nullptr, &key, nullptr));
    if (result != 0) return;
    result = static_cast<int>(win::RegSetValueExA(key, name, 0, static_cast<win::DWORD>(type),
                                                  static_cast<const win::BYTE*>(data),
                                                  static_cast<win::DWORD>(std::max(dataSize, 0))));
    win::RegCloseKey(key);
}

}  // namespace tk
