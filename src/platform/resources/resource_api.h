#pragma once
// The program's resources: the resource compiler turns the resource script
// into tables that register themselves here, and the Windows-shaped calls
// find them by type and name.

#include <cstdint>

#include "platform/win_types.h"

namespace win {

// One compiled resource. A type or name is either a string (upper case) or a
// 16-bit number (then the string is null).
struct ResourceEntry {
    const char* typeName;
    WORD typeId;
    const char* name;
    WORD nameId;
    const unsigned char* data;
    std::uint32_t size;
};

// Adds a table of compiled resources; later tables win over earlier ones.
void registerResources(const ResourceEntry* entries, std::size_t count);
// Forgets every registered table (tests).
void clearResources();

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
void* LockResource(HGLOBAL loaded);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL loaded);
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size);

}  // namespace win
