#include "platform/kernel/errors.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace win {
namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

constexpr DWORD kCustomerBit = 0x20000000;

struct ErrnoMapping {
    int err;
    DWORD code;
};

// The first entry for a code gives the errno whose text stands for it.
constexpr ErrnoMapping kMappings[] = {
    {ENOENT, ERROR_FILE_NOT_FOUND},      {ENOTDIR, ERROR_PATH_NOT_FOUND},
    {EMFILE, ERROR_TOO_MANY_OPEN_FILES}, {EACCES, ERROR_ACCESS_DENIED},
    {EPERM, ERROR_ACCESS_DENIED},        {EISDIR, ERROR_ACCESS_DENIED},
    {EROFS, ERROR_ACCESS_DENIED},        {EBADF, ERROR_INVALID_HANDLE},
    {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},   {EBUSY, ERROR_SHARING_VIOLATION},
    {EEXIST, ERROR_ALREADY_EXISTS},      {EINVAL, ERROR_INVALID_PARAMETER},
    {EPIPE, ERROR_BROKEN_PIPE},          {ENOSPC, ERROR_DISK_FULL},
    {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},    {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
    {ERANGE, ERROR_INSUFFICIENT_BUFFER}, {ETIMEDOUT, WAIT_TIMEOUT},
    {ENOSYS, ERROR_NOT_SUPPORTED},       {EIO, ERROR_GEN_FAILURE},
};

// Windows numbers that no errno stands for.
struct OwnText {
    DWORD code;
    std::string_view text;
};
constexpr OwnText kOwnTexts[] = {
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified"},
    {ERROR_NO_MORE_FILES, "There are no more files"},
    {ERROR_NOT_READY, "The device is not ready"},
    {ERROR_HANDLE_EOF, "Reached the end of the file"},
    {ERROR_FILE_EXISTS, "The file exists"},
    {ERROR_INVALID_NAME, "The file name, directory name, or volume label syntax is incorrect"},
    {ERROR_NEGATIVE_SEEK,
     "An attempt was made to move the file pointer before the beginning of the file"},
    {ERROR_BAD_PATHNAME, "The specified path is invalid"},
    {ERROR_ENVVAR_NOT_FOUND, "The system could not find the environment option that was entered"},
    {ERROR_MORE_DATA, "More data is available"},
    {ERROR_INVALID_FUNCTION, "Incorrect function"},
};

}  // namespace

DWORD GetLastError() {
    return lastError;
}
void SetLastError(DWORD code) {
    lastError = code;
}

DWORD errorFromErrno(int err) {
    if (err == 0) return ERROR_SUCCESS;
    for (const auto& m : kMappings)
        if (m.err == err) return m.code;
    return kCustomerBit | static_cast<DWORD>(err);
}

void setLastErrorFromErrno(int err) {
    lastError = errorFromErrno(err);
}

std::string systemErrorText(DWORD code) {
    if (code == ERROR_SUCCESS) return "The operation completed successfully";
    for (const auto& t : kOwnTexts)
        if (t.code == code) return std::string(t.text);
    int err = 0;
    if ((code & kCustomerBit) != 0) {
        err = static_cast<int>(code & ~kCustomerBit);
    } else {
        for (const auto& m : kMappings)
            if (m.code == code) {
                err = m.err;
                break;
            }
    }
    if (err == 0) return {};
    // strerror_r of glibc's GNU flavour may return a static string.
    char buf[256];
    const char* text = strerror_r(err, buf, sizeof buf);
    return text ? std::string(text) : std::string();
}

DWORD FormatMessageA(DWORD flags, const void*, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                     void*) {
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || buffer == nullptr) {
        lastError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    std::string text = systemErrorText(messageId);
    if (text.empty()) {
        lastError = 317;  // ERROR_MR_MID_NOT_FOUND
        return 0;
    }
    if (text.size() + 1 > size) {
        lastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

}  // namespace win
