#pragma once
// Files and directories with Windows-shaped calls over the Linux file system.
// Names may use "\" or "/" and a drive prefix ("C:"), which is dropped; when a
// name component does not exist exactly, an existing entry that differs only
// in case is used, because the program upper-cases names. New files and
// folders are created with the case given.

#include <string>
#include <string_view>

#include "platform/kernel/handles.h"
#include "platform/win_types.h"

namespace win {

constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD FILE_SHARE_READ = 1;
constexpr DWORD FILE_SHARE_WRITE = 2;
constexpr DWORD FILE_SHARE_DELETE = 4;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;

constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFFu;

constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;

constexpr DWORD MAX_PATH = 260;

struct SECURITY_ATTRIBUTES;
struct OVERLAPPED;

struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;
    WORD wDayOfWeek = 0;
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes = 0;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
    DWORD dwReserved0 = 0;
    DWORD dwReserved1 = 0;
    CHAR cFileName[MAX_PATH] = {};
    CHAR cAlternateFileName[14] = {};
};

struct ULARGE_INTEGER {
    std::uint64_t QuadPart = 0;
};

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                   DWORD creation, DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, OVERLAPPED* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* written,
               OVERLAPPED* overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method);
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);
BOOL GetFileTime(HANDLE file, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite);
BOOL SetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* lastAccess,
                 const FILETIME* lastWrite);

BOOL DeleteFileA(LPCSTR name);
BOOL MoveFileA(LPCSTR existing, LPCSTR newName);
// MOVEFILE_REPLACE_EXISTING puts the file in place of an existing one in one
// step (within a folder); without flags as MoveFileA.
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
BOOL MoveFileExA(LPCSTR existing, LPCSTR newName, DWORD flags);
BOOL CopyFileA(LPCSTR existing, LPCSTR newName, BOOL failIfExists);
BOOL CreateDirectoryA(LPCSTR name, SECURITY_ATTRIBUTES* security);
BOOL RemoveDirectoryA(LPCSTR name);
DWORD GetFileAttributesA(LPCSTR name);
BOOL SetFileAttributesA(LPCSTR name, DWORD attributes);
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
BOOL SetCurrentDirectoryA(LPCSTR name);
DWORD GetFullPathNameA(LPCSTR name, DWORD size, LPSTR buffer, LPSTR* filePart);
DWORD GetTempPathA(DWORD size, LPSTR buffer);
UINT GetDriveTypeA(LPCSTR root);
BOOL GetDiskFreeSpaceExA(LPCSTR directory, ULARGE_INTEGER* freeToCaller, ULARGE_INTEGER* total,
                         ULARGE_INTEGER* totalFree);
BOOL GetDiskFreeSpaceA(LPCSTR root, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                       DWORD* freeClusters, DWORD* totalClusters);
BOOL GetVolumeInformationA(LPCSTR root, LPSTR volumeName, DWORD volumeNameSize, DWORD* serial,
                           DWORD* maxComponentLength, DWORD* fileSystemFlags, LPSTR fileSystemName,
                           DWORD fileSystemNameSize);
UINT SetErrorMode(UINT mode);
constexpr UINT SEM_FAILCRITICALERRORS = 1;

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
BOOL FindClose(HANDLE search);

BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local);
BOOL FileTimeToSystemTime(const FILETIME* time, SYSTEMTIME* out);
BOOL FileTimeToDosDateTime(const FILETIME* time, WORD* fatDate, WORD* fatTime);
void GetLocalTime(SYSTEMTIME* out);

// Our own helpers for the rest of the platform layer: the Linux path that a
// Windows-shaped name stands for, resolved against what exists.
std::string hostPath(std::string_view name);
// Windows-style wildcard match: "*" and "?", case-insensitive, and a pattern
// ending in ".*" (or ".") also matches a name without a dot.
bool wildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace win
