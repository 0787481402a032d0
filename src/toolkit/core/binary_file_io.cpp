#include "toolkit/core/binary_file_io.h"

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/text_args.h"
#include "toolkit/core/toolkit_state.h"

namespace tk {
namespace {

win::HANDLE toHandle(FileHandle h) {
    return reinterpret_cast<win::HANDLE>(static_cast<std::intptr_t>(h));
}

FileHandle fromHandle(win::HANDLE h) {
    return static_cast<FileHandle>(reinterpret_cast<std::intptr_t>(h));
}

int osError() {
    return static_cast<int>(win::GetLastError());
}

win::DWORD byteCount(int count) {
    return count > 0 ? static_cast<win::DWORD>(count) : 0;
}

void reportFileError(int number, int osCode, std::string_view routine) {
    ToolkitState& s = toolkitState();
    s.FileOsErrorCode = osCode;
    s.ErrorCategory = 2;
    ReportLibraryError(number, routine);
}

}  // namespace

void reverseItems(void* buffer, int limit, int itemSize) {
    if (itemSize <= 1 || limit <= 0) return;
    auto* bytes = static_cast<unsigned char*>(buffer);
    // Whole items only: a partial item at the end is left as it is.
    for (int s = 0; s + itemSize <= limit; s += itemSize)
        std::reverse(bytes + s, bytes + s + itemSize);
}

void Win32FileOpen(const char* name, int, int mode, FileHandle& handle, int& error) {
    static constexpr win::DWORD kAccess[] = {win::GENERIC_READ, win::GENERIC_WRITE,
                                             win::GENERIC_READ | win::GENERIC_WRITE};
    static constexpr win::DWORD kShare[] = {win::FILE_SHARE_READ | win::FILE_SHARE_WRITE,
                                            win::FILE_SHARE_READ, win::FILE_SHARE_READ};
    static constexpr win::DWORD kCreation[] = {win::OPEN_EXISTING, win::CREATE_ALWAYS,
                                               win::OPEN_EXISTING};
    win::HANDLE h = win::CreateFileA(name, kAccess[mode], kShare[mode], nullptr, kCreation[mode],
                                     win::FILE_ATTRIBUTE_NORMAL, nullptr);
    handle = fromHandle(h);
    error = h == win::INVALID_HANDLE_VALUE ? osError() : 0;
}

void Win32FileClose(FileHandle handle) {
    win::CloseHandle(toHandle(handle));
}

void Win32FileReadBytes(FileHandle handle, void* buffer, int, int count, int& bytesRead,
                        int& error) {
    win::DWORD n = 0;
    if (win::ReadFile(toHandle(handle), buffer, byteCount(count), &n, nullptr)) {
        bytesRead = static_cast<int>(n);
        error = 0;
    } else {
        bytesRead = 0;
        error = osError();
    }
}

void Win32FileReadItems(FileHandle handle, void* buffer, int count, int& bytesRead, int itemSize,
                        int& error) {
    Win32FileReadBytes(handle, buffer, count, count, bytesRead, error);
    if (error == 0) reverseItems(buffer, bytesRead, itemSize);
}

void Win32FileWriteBytes(FileHandle handle, const void* buffer, int, int count, int& bytesWritten,
                         int& error) {
    win::DWORD n = 0;
    if (win::WriteFile(toHandle(handle), buffer, byteCount(count), &n, nullptr)) {
        bytesWritten = static_cast<int>(n);
        error = 0;
    } else {
        bytesWritten = 0;
        error = osError();
    }
}

void Win32FileWriteItems(FileHandle handle, void* buffer, int count, int& bytesWritten,
                         int itemSize, int& error) {
    reverseItems(buffer, count, itemSize);
    Win32FileWriteBytes(handle, buffer, count, count, bytesWritten, error);
    reverseItems(buffer, count, itemSize);
}

void Win32FileSeek(FileHandle handle, int& offset, int origin, int& error) {
    win::HANDLE h = toHandle(handle);
    // Ask with a high part, so that a position beyond what the 32-bit offset
    // holds is refused instead of coming back wrapped.
    win::DWORD before = win::SetFilePointer(h, 0, nullptr, win::FILE_CURRENT);
    win::LONG high = offset < 0 ? -1 : 0;
    win::DWORD low = win::SetFilePointer(h, offset, &high, static_cast<win::DWORD>(origin));
    if (low == win::INVALID_SET_FILE_POINTER && win::GetLastError() != win::ERROR_SUCCESS) {
        error = osError();
        offset = -1;
        return;
    }
    std::int64_t position = (static_cast<std::int64_t>(high) << 32) | low;
    if (position > INT_MAX) {
        if (before != win::INVALID_SET_FILE_POINTER)
            win::SetFilePointer(h, static_cast<win::LONG>(before), nullptr, win::FILE_BEGIN);
        error = static_cast<int>(win::ERROR_INVALID_PARAMETER);
        offset = -1;
        return;
    }
    error = 0;
    offset = static_cast<int>(position);
}

void BinFileOpen(std::string_view name, int mode, FileHandle& handle) {
    // Leading and trailing blanks (and NULs) are not part of the name.
    std::size_t first = name.find_first_not_of(std::string_view(" \0", 2));
    if (mode < 0 || mode > 2 || first == std::string_view::npos || isBlankText(name)) {
        handle = -1;
        reportFileError(1, 0, "BinFileOpen");
        return;
    }
    std::string osName(trimRight(name.substr(first)));
    int error = 0;
    Win32FileOpen(osName.c_str(), static_cast<int>(osName.size()), mode, handle, error);
    if (error != 0) {
        handle = -1;
        reportFileError(1, error, "BinFileOpen");
    }
}

void BinFileReadChar(FileHandle handle, char* buffer, int count, int& bytesRead) {
    int error = 0;
    Win32FileReadBytes(handle, buffer, count, count, bytesRead, error);
    if (error != 0) {
        reportFileError(2, error, "BinFileReadChar");
        bytesRead = -1;
    }
}

void BinFileRead(FileHandle handle, void* buffer, int count, int& bytesRead, int itemSize) {
    int error = 0;
    Win32FileReadItems(handle, buffer, count, bytesRead, itemSize, error);
    if (error != 0) {
        reportFileError(2, error, "BinFileRead");
        bytesRead = -1;
    }
}

void BinFileWriteChar(FileHandle handle, const char* buffer, int count, int& bytesWritten) {
    int error = 0;
    Win32FileWriteBytes(handle, buffer, count, count, bytesWritten, error);
    if (error != 0) {
        reportFileError(2, error, "BinFileWriteChar");
        bytesWritten = -1;
    }
}

void BinFileWrite(FileHandle handle, void* buffer, int count, int& bytesWritten, int itemSize) {
    int error = 0;
    Win32FileWriteItems(handle, buffer, count, bytesWritten, itemSize, error);
    if (error != 0) {
        reportFileError(2, error, "BinFileWrite");
        bytesWritten = -1;
    }
}

void BinFileSeek(FileHandle handle, int& offset, int origin) {
    if (origin < 0 || origin > 2) return;
    int error = 0;
    Win32FileSeek(handle, offset, origin, error);
    if (error != 0) {
        offset = -1;
        reportFileError(2, error, "BinFileSeek");
    }
}

void FileHandleClose(FileHandle handle) {
    Win32FileClose(handle);
}

}  // namespace tk
