#include "platform/kernel/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/kernel_objects.h"

namespace win {
namespace {

using detail::FileObject;

bool conflicts(const FileObject& open, DWORD access, DWORD share) {
    if ((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ)) return true;
    if ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE)) return true;
    if ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return true;
    if ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return true;
    return false;
}

bool sharingViolation(const struct stat& st, DWORD access, DWORD share) {
    for (const FileObject* f : detail::openFiles())
        if (f->device == st.st_dev && f->inode == st.st_ino && conflicts(*f, access, share))
            return true;
    return false;
}

bool openWithoutDeleteShare(const struct stat& st) {
    for (const FileObject* f : detail::openFiles())
        if (f->device == st.st_dev && f->inode == st.st_ino && !(f->share & FILE_SHARE_DELETE))
            return true;
    return false;
}

BOOL fail(DWORD code) {
    SetLastError(code);
    return FALSE;
}

BOOL failErrno() {
    setLastErrorFromErrno(errno);
    return FALSE;
}

// Missing files and missing folders answer differently, as the callers test.
DWORD missingCode(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return ERROR_FILE_NOT_FOUND;
    struct stat st;
    if (::stat(path.substr(0, slash).c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return ERROR_PATH_NOT_FOUND;
    return ERROR_FILE_NOT_FOUND;
}

constexpr std::int64_t kUnixEpochIn100ns = 116444736000000000LL;

FILETIME toFileTime(const timespec& ts) {
    std::int64_t v =
        kUnixEpochIn100ns + static_cast<std::int64_t>(ts.tv_sec) * 10000000LL + ts.tv_nsec / 100;
    return FILETIME{static_cast<DWORD>(v & 0xFFFFFFFF), static_cast<DWORD>(v >> 32)};
}

std::int64_t fileTimeValue(const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                     t.dwLowDateTime);
}

timespec toTimespec(const FILETIME& t) {
    std::int64_t v = fileTimeValue(t) - kUnixEpochIn100ns;
    timespec ts;
    ts.tv_sec = static_cast<time_t>(v / 10000000LL);
    ts.tv_nsec = static_cast<long>((v % 10000000LL) * 100);
    return ts;
}

bool copyContents(int in, int out) {
    std::vector<char> buf(1 << 16);
    for (;;) {
        ssize_t n = ::read(in, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(out, buf.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += w;
        }
    }
}

std::string nameOrEmpty(LPCSTR name) {
    return name ? std::string(name) : std::string();
}

}  // namespace

namespace detail {
DWORD attributesOf(const struct stat& st, std::string_view name) {
    DWORD a = 0;
    if (S_ISDIR(st.st_mode))
        a |= FILE_ATTRIBUTE_DIRECTORY;
    else
        a |= FILE_ATTRIBUTE_ARCHIVE;
    if ((st.st_mode & S_IWUSR) == 0) a |= FILE_ATTRIBUTE_READONLY;
    if (name.size() > 1 && name[0] == '.' && name != "..") a |= FILE_ATTRIBUTE_HIDDEN;
    return a;
}
FILETIME lastWriteTime(const struct stat& st) {
    return toFileTime(st.st_mtim);
}
FILETIME lastAccessTime(const struct stat& st) {
    return toFileTime(st.st_atim);
}
FILETIME changeTime(const struct stat& st) {
    return toFileTime(st.st_ctim);
}
}  // namespace detail

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES*, DWORD creation,
                   DWORD, HANDLE) {
    if (name == nullptr || *name == '\0') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (creation < CREATE_NEW || creation > TRUNCATE_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string path = hostPath(name);
    struct stat st;
    bool present = ::stat(path.c_str(), &st) == 0;
    if (present && S_ISDIR(st.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (present && creation == CREATE_NEW) {
        SetLastError(ERROR_FILE_EXISTS);
        return INVALID_HANDLE_VALUE;
    }
    if (!present && (creation == OPEN_EXISTING || creation == TRUNCATE_EXISTING)) {
        SetLastError(missingCode(path));
        return INVALID_HANDLE_VALUE;
    }
    if (present && sharingViolation(st, access, shareMode)) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    int flags = O_CLOEXEC;
    bool wantRead = (access & GENERIC_READ) != 0;
    bool wantWrite = (access & GENERIC_WRITE) != 0;
    flags |= wantRead && wantWrite ? O_RDWR : wantWrite ? O_WRONLY : O_RDONLY;
    if (!present) flags |= O_CREAT | O_EXCL;
    if (present && (creation == CREATE_ALWAYS || creation == TRUNCATE_EXISTING)) flags |= O_TRUNC;
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        if (errno == ENOENT)
            SetLastError(missingCode(path));
        else
            setLastErrorFromErrno(errno);
        return INVALID_HANDLE_VALUE;
    }
    ::fstat(fd, &st);
    auto file = std::make_unique<FileObject>();
    file->fd = fd;
    file->access = access;
    file->share = shareMode;
    file->device = st.st_dev;
    file->inode = st.st_ino;
    detail::KernelObject object;
    object.file = std::move(file);
    // Windows tells a caller that asked to create that the file was already there.
    SetLastError(present && (creation == CREATE_ALWAYS || creation == OPEN_ALWAYS)
                     ? ERROR_ALREADY_EXISTS
                     : ERROR_SUCCESS);
    return detail::addObject(std::move(object));
}

BOOL ReadFile(HANDLE handle, void* buffer, DWORD count, DWORD* read, OVERLAPPED*) {
    if (read) *read = 0;
    FileObject* f = detail::findFile(handle);
    if (!f) return fail(ERROR_INVALID_HANDLE);
    if (!(f->access & GENERIC_READ)) return fail(ERROR_ACCESS_DENIED);
    DWORD done = 0;
    auto* p = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::read(f->fd, p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (read) *read = done;
            return failErrno();
        }
        if (n == 0) break;
        done += static_cast<DWORD>(n);
    }
    if (read) *read = done;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WriteFile(HANDLE handle, const void* buffer, DWORD count, DWORD* written, OVERLAPPED*) {
    if (written) *written = 0;
    FileObject* f = detail::findFile(handle);
    if (!f) return fail(ERROR_INVALID_HANDLE);
    if (!(f->access & GENERIC_WRITE)) return fail(ERROR_ACCESS_DENIED);
    DWORD done = 0;
    const auto* p = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::write(f->fd, p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (written) *written = done;
            return failErrno();
        }
        done += static_cast<DWORD>(n);
    }
    if (written) *written = done;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
    FileObject* f = detail::findFile(handle);
    if (!f) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_SET_FILE_POINTER;
    }
    if (method > FILE_END) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    std::int64_t move = distance;
    if (distanceHigh)
        move = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(*distanceHigh)) << 32) |
            static_cast<std::uint32_t>(distance));
    off_t base = 0;
    if (method == FILE_CURRENT) base = ::lseek(f->fd, 0, SEEK_CUR);
    if (method == FILE_END) {
        struct stat st;
        ::fstat(f->fd, &st);
        base = st.st_size;
    }
    std::int64_t target = static_cast<std::int64_t>(base) + move;
    if (target < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    // Without a high part only positions that one 32-bit value holds are allowed.
    if (!distanceHigh && target >= static_cast<std::int64_t>(INVALID_SET_FILE_POINTER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (::lseek(f->fd, static_cast<off_t>(target), SEEK_SET) < 0) {
        setLastErrorFromErrno(errno);
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh) *distanceHigh = static_cast<LONG>(target >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(target & 0xFFFFFFFF);
}

DWORD GetFileSize(HANDLE handle, DWORD* sizeHigh) {
    FileObject* f = detail::findFile(handle);
    struct stat st;
    if (!f || ::fstat(f->fd, &st) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0xFFFFFFFFu;
    }
    auto size = static_cast<std::uint64_t>(st.st_size);
    if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size & 0xFFFFFFFF);
}

BOOL GetFileTime(HANDLE handle, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite) {
    FileObject* f = detail::findFile(handle);
    struct stat st;
    if (!f || ::fstat(f->fd, &st) != 0) return fail(ERROR_INVALID_HANDLE);
    if (creation) *creation = detail::changeTime(st);
    if (lastAccess) *lastAccess = detail::lastAccessTime(st);
    if (lastWrite) *lastWrite = detail::lastWriteTime(st);
    return TRUE;
}

BOOL SetFileTime(HANDLE handle, const FILETIME*, const FILETIME* lastAccess,
                 const FILETIME* lastWrite) {
    FileObject* f = detail::findFile(handle);
    if (!f) return fail(ERROR_INVALID_HANDLE);
    timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_nsec = UTIME_OMIT;
    if (lastAccess) times[0] = toTimespec(*lastAccess);
    if (lastWrite) times[1] = toTimespec(*lastWrite);
    // Linux keeps no creation time that a program may set.
    if (::futimens(f->fd, times) != 0) return failErrno();
    return TRUE;
}

BOOL CloseHandle(HANDLE object) {
    if (!detail::removeObject(object)) return fail(ERROR_INVALID_HANDLE);
    return TRUE;
}

BOOL DeleteFileA(LPCSTR name) {
    std::string path = hostPath(nameOrEmpty(name));
    struct stat st;
    if (path.empty() || ::lstat(path.c_str(), &st) != 0) return fail(missingCode(path));
    if (S_ISDIR(st.st_mode)) return fail(ERROR_ACCESS_DENIED);
    // A read-only file is protected from deletion, as on Windows.
    if (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0) return fail(ERROR_ACCESS_DENIED);
    if (openWithoutDeleteShare(st)) return fail(ERROR_SHARING_VIOLATION);
    if (::unlink(path.c_str()) != 0) return failErrno();
    return TRUE;
}

BOOL MoveFileExA(LPCSTR existing, LPCSTR newName, DWORD flags) {
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return MoveFileA(existing, newName);
    const std::string from = hostPath(nameOrEmpty(existing));
    const std::string to = hostPath(nameOrEmpty(newName));
    struct stat src;
    if (from.empty() || ::lstat(from.c_str(), &src) != 0) return fail(missingCode(from));
    if (to.empty()) return fail(ERROR_PATH_NOT_FOUND);
    if (::rename(from.c_str(), to.c_str()) == 0) return TRUE;
    return failErrno();
}

BOOL MoveFileA(LPCSTR existing, LPCSTR newName) {
    std::string from = hostPath(nameOrEmpty(existing));
    std::string to = hostPath(nameOrEmpty(newName));
    struct stat src, dst;
    if (from.empty() || ::lstat(from.c_str(), &src) != 0) return fail(missingCode(from));
    if (to.empty()) return fail(ERROR_PATH_NOT_FOUND);
    bool sameFile =
        ::lstat(to.c_str(), &dst) == 0 && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino;
    if (::lstat(to.c_str(), &dst) == 0 && !sameFile) return fail(ERROR_ALREADY_EXISTS);
    if (sameFile && from == to) return TRUE;
    if (::rename(from.c_str(), to.c_str()) == 0) return TRUE;
    if (errno != EXDEV || S_ISDIR(src.st_mode)) return failErrno();
    // Another file system: copy, then remove the original.
    if (!CopyFileA(existing, newName, TRUE)) return FALSE;
    if (::unlink(from.c_str()) != 0) return failErrno();
    return TRUE;
}

BOOL CopyFileA(LPCSTR existing, LPCSTR newName, BOOL failIfExists) {
    std::string from = hostPath(nameOrEmpty(existing));
    std::string to = hostPath(nameOrEmpty(newName));
    struct stat src, dst;
    if (from.empty() || ::stat(from.c_str(), &src) != 0) return fail(missingCode(from));
    if (S_ISDIR(src.st_mode)) return fail(ERROR_ACCESS_DENIED);
    if (to.empty()) return fail(ERROR_PATH_NOT_FOUND);
    bool present = ::stat(to.c_str(), &dst) == 0;
    if (present && failIfExists) return fail(ERROR_FILE_EXISTS);
    if (present && (S_ISDIR(dst.st_mode) || (dst.st_mode & S_IWUSR) == 0))
        return fail(ERROR_ACCESS_DENIED);
    if (present && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino)
        return fail(ERROR_SHARING_VIOLATION);
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return failErrno();
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, src.st_mode & 0777);
    if (out < 0) {
        int err = errno;
        ::close(in);
        if (err == ENOENT) return fail(ERROR_PATH_NOT_FOUND);
        setLastErrorFromErrno(err);
        return FALSE;
    }
    bool ok = copyContents(in, out);
    int err = errno;
    // The copy keeps the time of the last write, as callers compare it.
    timespec times[2] = {src.st_atim, src.st_mtim};
    ::futimens(out, times);
    ::close(in);
    ::close(out);
    if (!ok) {
        setLastErrorFromErrno(err);
        return FALSE;
    }
    return TRUE;
}

BOOL CreateDirectoryA(LPCSTR name, SECURITY_ATTRIBUTES*) {
    std::string path = hostPath(nameOrEmpty(name));
    if (path.empty()) return fail(ERROR_PATH_NOT_FOUND);
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return fail(ERROR_ALREADY_EXISTS);
    if (::mkdir(path.c_str(), 0777) != 0)
        return errno == ENOENT ? fail(ERROR_PATH_NOT_FOUND) : failErrno();
    return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR name) {
    std::string path = hostPath(nameOrEmpty(name));
    if (path.empty()) return fail(ERROR_PATH_NOT_FOUND);
    if (::rmdir(path.c_str()) != 0) return errno == ENOENT ? fail(missingCode(path)) : failErrno();
    return TRUE;
}

DWORD GetFileAttributesA(LPCSTR name) {
    std::string path = hostPath(nameOrEmpty(name));
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0) {
        SetLastError(missingCode(path));
        return INVALID_FILE_ATTRIBUTES;
    }
    std::size_t slash = path.find_last_of('/');
    return detail::attributesOf(st, slash == std::string::npos ? path : path.substr(slash + 1));
}

BOOL SetFileAttributesA(LPCSTR name, DWORD attributes) {
    std::string path = hostPath(nameOrEmpty(name));
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return fail(missingCode(path));
    mode_t mode = st.st_mode & 07777;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        mode &= ~static_cast<mode_t>(0222);
    else
        mode |= S_IWUSR;
    if (::chmod(path.c_str(), mode) != 0) return failErrno();
    return TRUE;
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    std::vector<char> buf(PATH_MAX);
    if (!::getcwd(buf.data(), buf.size())) {
        setLastErrorFromErrno(errno);
        return 0;
    }
    std::size_t n = std::strlen(buf.data());
    if (n + 1 > size || buffer == nullptr) return static_cast<DWORD>(n + 1);
    std::memcpy(buffer, buf.data(), n + 1);
    return static_cast<DWORD>(n);
}

BOOL SetCurrentDirectoryA(LPCSTR name) {
    std::string path = hostPath(nameOrEmpty(name));
    if (path.empty()) return fail(ERROR_PATH_NOT_FOUND);
    if (::chdir(path.c_str()) != 0)
        return errno == ENOENT || errno == ENOTDIR ? fail(ERROR_PATH_NOT_FOUND) : failErrno();
    return TRUE;
}

DWORD GetFullPathNameA(LPCSTR name, DWORD size, LPSTR buffer, LPSTR* filePart) {
    std::string path = hostPath(nameOrEmpty(name));
    if (path.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    if (path[0] != '/') {
        std::vector<char> cwd(PATH_MAX);
        if (!::getcwd(cwd.data(), cwd.size())) {
            setLastErrorFromErrno(errno);
            return 0;
        }
        path = std::string(cwd.data()) + "/" + path;
    }
    // Fold "." and ".." the way Windows does, without asking the file system.
    std::vector<std::string> parts;
    std::size_t start = 1;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string full;
    for (const auto& p : parts)
        full += "/" + p;
    if (full.empty()) full = "/";
    if (full.size() + 1 > size || buffer == nullptr) return static_cast<DWORD>(full.size() + 1);
    std::memcpy(buffer, full.c_str(), full.size() + 1);
    if (filePart) {
        std::size_t slash = full.find_last_of('/');
        *filePart = slash + 1 < full.size() ? buffer + slash + 1 : nullptr;
    }
    return static_cast<DWORD>(full.size());
}

DWORD GetTempPathA(DWORD size, LPSTR buffer) {
    std::string dir = "/tmp";
    for (const char* var : {"TMPDIR", "TEMP", "TMP"}) {
        const char* v = std::getenv(var);
        if (v && *v) {
            dir = v;
            break;
        }
    }
    if (dir.back() != '/' && dir.back() != '\\') dir += '/';
    if (dir.size() + 1 > size || buffer == nullptr) return static_cast<DWORD>(dir.size() + 1);
    std::memcpy(buffer, dir.c_str(), dir.size() + 1);
    return static_cast<DWORD>(dir.size());
}

UINT GetDriveTypeA(LPCSTR root) {
    std::string r = nameOrEmpty(root);
    if (r.empty()) return DRIVE_FIXED;  // the current drive
    // The whole file system is drive C:; other letters name no drive.
    if (r.size() >= 2 && r[1] == ':' && std::isalpha(static_cast<unsigned char>(r[0])))
        return (r[0] == 'C' || r[0] == 'c') ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
    struct stat st;
    std::string path = hostPath(r);
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
}

BOOL GetDiskFreeSpaceExA(LPCSTR directory, ULARGE_INTEGER* freeToCaller, ULARGE_INTEGER* total,
                         ULARGE_INTEGER* totalFree) {
    std::string path = directory ? hostPath(directory) : std::string(".");
    if (path.empty()) path = ".";
    struct statvfs vs;
    if (::statvfs(path.c_str(), &vs) != 0) return failErrno();
    std::uint64_t unit = vs.f_frsize;
    if (freeToCaller) freeToCaller->QuadPart = unit * vs.f_bavail;
    if (total) total->QuadPart = unit * vs.f_blocks;
    if (totalFree) totalFree->QuadPart = unit * vs.f_bfree;
    return TRUE;
}

BOOL GetDiskFreeSpaceA(LPCSTR root, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                       DWORD* freeClusters, DWORD* totalClusters) {
    std::string path = root ? hostPath(root) : std::string(".");
    if (path.empty()) path = ".";
    struct statvfs vs;
    if (::statvfs(path.c_str(), &vs) != 0) return failErrno();
    // Clusters of the block size; counts beyond 32 bits are capped, as the old call did.
    auto cap = [](std::uint64_t v) {
        return static_cast<DWORD>(v > 0xFFFFFFFFu ? 0xFFFFFFFFu : v);
    };
    if (sectorsPerCluster) *sectorsPerCluster = 1;
    if (bytesPerSector) *bytesPerSector = static_cast<DWORD>(vs.f_frsize);
    if (freeClusters) *freeClusters = cap(vs.f_bavail);
    if (totalClusters) *totalClusters = cap(vs.f_blocks);
    return TRUE;
}

BOOL GetVolumeInformationA(LPCSTR root, LPSTR volumeName, DWORD volumeNameSize, DWORD* serial,
                           DWORD* maxComponentLength, DWORD* fileSystemFlags, LPSTR fileSystemName,
                           DWORD fileSystemNameSize) {
    if (GetDriveTypeA(root) != DRIVE_FIXED) return fail(ERROR_NOT_READY);
    std::string path = root ? hostPath(root) : std::string("/");
    if (path.empty()) path = "/";
    struct statvfs vs;
    if (::statvfs(path.c_str(), &vs) != 0) return failErrno();
    auto copy = [](LPSTR out, DWORD size, const char* text) {
        if (out && size > 0) {
            std::strncpy(out, text, size - 1);
            out[size - 1] = '\0';
        }
    };
    copy(volumeName, volumeNameSize, "");
    copy(fileSystemName, fileSystemNameSize, "LINUX");
    DWORD id = static_cast<DWORD>(vs.f_fsid & 0xFFFFFFFFu);
    if (serial) *serial = id != 0 ? id : 1;
    if (maxComponentLength) *maxComponentLength = static_cast<DWORD>(vs.f_namemax);
    if (fileSystemFlags) *fileSystemFlags = 0;
    return TRUE;
}

UINT SetErrorMode(UINT mode) {
    // There are no critical-error boxes to suppress; the mode is only kept.
    static UINT current = 0;
    UINT old = current;
    current = mode;
    return old;
}

BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local) {
    if (!utc || !local) return fail(ERROR_INVALID_PARAMETER);
    timespec ts = toTimespec(*utc);
    tm parts;
    localtime_r(&ts.tv_sec, &parts);
    std::int64_t v = fileTimeValue(*utc) + static_cast<std::int64_t>(parts.tm_gmtoff) * 10000000LL;
    *local = FILETIME{static_cast<DWORD>(v & 0xFFFFFFFF), static_cast<DWORD>(v >> 32)};
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* time, SYSTEMTIME* out) {
    if (!time || !out) return fail(ERROR_INVALID_PARAMETER);
    std::int64_t v = fileTimeValue(*time) - kUnixEpochIn100ns;
    std::int64_t seconds = v / 10000000LL;
    std::int64_t rest = v % 10000000LL;
    if (rest < 0) {
        rest += 10000000LL;
        --seconds;
    }
    time_t t = static_cast<time_t>(seconds);
    tm parts;
    gmtime_r(&t, &parts);
    out->wYear = static_cast<WORD>(parts.tm_year + 1900);
    out->wMonth = static_cast<WORD>(parts.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
    out->wDay = static_cast<WORD>(parts.tm_mday);
    out->wHour = static_cast<WORD>(parts.tm_hour);
    out->wMinute = static_cast<WORD>(parts.tm_min);
    out->wSecond = static_cast<WORD>(parts.tm_sec);
    out->wMilliseconds = static_cast<WORD>(rest / 10000);
    return TRUE;
}

BOOL FileTimeToDosDateTime(const FILETIME* time, WORD* fatDate, WORD* fatTime) {
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(time, &st)) return FALSE;
    if (st.wYear < 1980 || st.wYear > 2107) return fail(ERROR_INVALID_PARAMETER);
    if (fatDate)
        *fatDate = static_cast<WORD>(((st.wYear - 1980) << 9) | (st.wMonth << 5) | st.wDay);
    if (fatTime)
        *fatTime = static_cast<WORD>((st.wHour << 11) | (st.wMinute << 5) | (st.wSecond / 2));
    return TRUE;
}

void GetLocalTime(SYSTEMTIME* out) {
    if (!out) return;
    timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm parts;
    localtime_r(&now.tv_sec, &parts);
    out->wYear = static_cast<WORD>(parts.tm_year + 1900);
    out->wMonth = static_cast<WORD>(parts.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
    out->wDay = static_cast<WORD>(parts.tm_mday);
    out->wHour = static_cast<WORD>(parts.tm_hour);
    out->wMinute = static_cast<WORD>(parts.tm_min);
    out->wSecond = static_cast<WORD>(parts.tm_sec);
    out->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

}  // namespace win
