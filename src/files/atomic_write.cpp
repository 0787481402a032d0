#include "files/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace files {

namespace {

// The permissions a newly created file would get, or those of the file being
// replaced, so that the rename does not change them.
mode_t permissionsFor(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string folderOf(const std::string& path) {
    auto parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

AtomicWriteResult failure(AtomicWriteResult r, const std::string& what) {
    r.ok = false;
    r.error = what + ": " + std::strerror(errno);
    return r;
}

// A link is followed, so that the file it names is replaced and the link stays.
std::string targetOf(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    auto target = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : target.string();
}

}  // namespace

AtomicWriteResult writeFileAtomically(const std::string& linkOrPath,
                                      std::span<const std::uint8_t> data) {
    AtomicWriteResult r;
    const std::string path = targetOf(linkOrPath);
    std::string name = std::filesystem::path(path).filename().string();
    std::string pattern = folderOf(path) + "/." + name + ".XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return failure(r, "cannot create a temporary file beside " + path);
    const std::string temp = pattern;
    r.created = true;
    ::fchmod(fd, permissionsFor(path));

    while (r.bytesWritten < data.size()) {
        ssize_t n = ::write(fd, data.data() + r.bytesWritten, data.size() - r.bytesWritten);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            r = failure(r, "cannot write " + path);
            ::close(fd);
            ::unlink(temp.c_str());
            return r;
        }
        r.bytesWritten += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        r = failure(r, "cannot write " + path);
        ::unlink(temp.c_str());
        return r;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        r = failure(r, "cannot replace " + path);
        ::unlink(temp.c_str());
        return r;
    }
    r.ok = true;
    return r;
}

AtomicWriteResult writeFileAtomically(const std::string& path, std::string_view text) {
    return writeFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

StagedFile stageFile(const std::string& linkOrPath) {
    StagedFile f;
    f.target = targetOf(linkOrPath);
    const std::filesystem::path path(f.target);
    const std::string ext = path.extension().string();
    std::string pattern = folderOf(f.target) + "/." + path.stem().string() + ".XXXXXX" + ext;
    const int fd = ::mkstemps(pattern.data(), static_cast<int>(ext.size()));
    if (fd < 0) {
        f.error = "cannot write in the folder " + folderOf(f.target) + ": " + std::strerror(errno);
        return f;
    }
    ::fchmod(fd, permissionsFor(f.target));
    ::close(fd);
    f.temp = pattern;
    return f;
}

bool commitStagedFile(StagedFile& f) {
    if (f.temp.empty()) return false;
    struct stat st;
    if (::stat(f.temp.c_str(), &st) != 0 || st.st_size == 0) {
        f.error = "nothing was written to " + f.target;
        ::unlink(f.temp.c_str());
        return false;
    }
    if (std::rename(f.temp.c_str(), f.target.c_str()) != 0) {
        f = StagedFile{f.target, f.temp, "cannot replace " + f.target + ": " + std::strerror(errno)};
        ::unlink(f.temp.c_str());
        return false;
    }
    return true;
}

void discardStagedFile(const StagedFile& f) {
    if (!f.temp.empty()) ::unlink(f.temp.c_str());
}

}  // namespace files
