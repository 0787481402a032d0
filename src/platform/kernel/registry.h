#pragma once
// The registry: keys below the predefined roots, each holding named values
// of a type and some bytes. Linux has none, so the keys and values live in a
// small text file in the user's configuration folder ("registry" beside the
// program's settings), read on every call and rewritten after every change.
// Key paths and value names are compared without regard to case.

#include <string>

#include "platform/win_types.h"

namespace win {

struct HKEY__;
using HKEY = HKEY__*;
using LSTATUS = LONG;
using REGSAM = DWORD;

inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(std::uintptr_t{0x80000003});

constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                        REGSAM access, void* security, HKEY* result, DWORD* disposition);
LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, HKEY* result);
LSTATUS RegCloseKey(HKEY key);
// Without data only the size (and type) are given back; a buffer too small
// answers ERROR_MORE_DATA with the size needed.
LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, DWORD* reserved, DWORD* type, BYTE* data,
                         DWORD* size);
LSTATUS RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size);
LSTATUS RegDeleteValueA(HKEY key, LPCSTR name);
// A key with subkeys is not deleted (ERROR_ACCESS_DENIED), as on NT.
LSTATUS RegDeleteKeyA(HKEY key, LPCSTR subKey);

// Our own helpers: the user's configuration folder of this program
// ($XDG_CONFIG_HOME/pelk-gm, else ~/.config/pelk-gm) and the registry file in it.
std::string userConfigFolder();
std::string registryFileName();

}  // namespace win
