#pragma once
// The process's surroundings: environment, command line, program path, user,
// system version, locale and clock. The answers are those of an NT-family
// system; the locale is always the "C" locale, so the decimal point is ".".

#include <cstdint>
#include <functional>
#include <string>

#include "platform/win_types.h"

namespace win {

DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size);
BOOL SetEnvironmentVariableA(LPCSTR name, LPCSTR value);
LPSTR GetCommandLineA();
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
BOOL GetUserNameA(LPSTR buffer, DWORD* size);
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize = 148;
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
    CHAR szCSDVersion[128] = {};
};
BOOL GetVersionExA(OSVERSIONINFOA* info);
DWORD GetVersion();

using LCID = DWORD;
using LCTYPE = DWORD;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCTYPE LOCALE_SDECIMAL = 0x0000000E;
constexpr LCTYPE LOCALE_STHOUSAND = 0x0000000F;
constexpr LCTYPE LOCALE_IMEASURE = 0x0000000D;
int GetLocaleInfoA(LCID locale, LCTYPE type, LPSTR buffer, int size);

// Milliseconds since an arbitrary start, from the monotonic clock.
DWORD GetTickCount();

// Our own hooks: the clock behind GetTickCount can be replaced (the window
// manager's injectable clock, tests); an empty function restores the real one.
void setTickCountSource(std::function<DWORD()> source);

namespace testing {
// Replaces the command line that GetCommandLineA answers; empty restores the
// real one.
void setCommandLine(const std::string& commandLine);
// Replaces the program's path that GetModuleFileNameA answers (what lies
// beside the program is then looked for there); empty restores the real one.
void setModuleFileName(const std::string& path);
}  // namespace testing

}  // namespace win
