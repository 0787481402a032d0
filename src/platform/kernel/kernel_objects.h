#pragma once
// The table behind the kernel handles of files, searches and processes. A
// handle is the slot number times four, so it is never null, never -1 and
// always fits the 32-bit file handles the toolkit keeps.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel/files.h"
#include "platform/win_types.h"

namespace win::detail {

struct FileObject {
    int fd = -1;
    DWORD access = 0;
    DWORD share = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

struct FindEntry {
    std::string name;
    std::string path;
};

struct SearchObject {
    std::vector<FindEntry> entries;
    std::size_t next = 0;
};

struct ProcessObject {
    pid_t pid = -1;
    bool ended = false;
    int exitCode = 0;
    // A child still running when its last handle goes is reaped later, so it
    // never stays a zombie.
    ~ProcessObject();
};

struct KernelObject {
    std::unique_ptr<FileObject> file;
    std::unique_ptr<SearchObject> search;
    std::shared_ptr<ProcessObject> process;
};

HANDLE addObject(KernelObject object);
KernelObject* findObject(HANDLE handle);
FileObject* findFile(HANDLE handle);
SearchObject* findSearch(HANDLE handle);
std::shared_ptr<ProcessObject> findProcess(HANDLE handle);
bool removeObject(HANDLE handle);
// Every open file object, for the sharing checks.
std::vector<const FileObject*> openFiles();

// What a file's status says in Windows terms.
DWORD attributesOf(const struct stat& st, std::string_view name);
FILETIME lastWriteTime(const struct stat& st);
FILETIME lastAccessTime(const struct stat& st);
FILETIME changeTime(const struct stat& st);

}  // namespace win::detail
