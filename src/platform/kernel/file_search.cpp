#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "platform/kernel/kernel_objects.h"

namespace win {
namespace {

// Fills the record of one entry; false when the entry vanished meanwhile.
bool describe(const detail::FindEntry& entry, WIN32_FIND_DATAA* data) {
    struct stat st;
    if (::stat(entry.path.c_str(), &st) != 0) return false;
    *data = WIN32_FIND_DATAA{};
    data->dwFileAttributes = detail::attributesOf(st, entry.name);
    data->ftCreationTime = detail::changeTime(st);
    data->ftLastAccessTime = detail::lastAccessTime(st);
    data->ftLastWriteTime = detail::lastWriteTime(st);
    auto size = S_ISDIR(st.st_mode) ? 0u : static_cast<std::uint64_t>(st.st_size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFF);
    std::size_t n = std::min<std::size_t>(entry.name.size(), MAX_PATH - 1);
    std::memcpy(data->cFileName, entry.name.data(), n);
    data->cFileName[n] = '\0';
    return true;
}

bool nextEntry(detail::SearchObject& search, WIN32_FIND_DATAA* data) {
    while (search.next < search.entries.size())
        if (describe(search.entries[search.next++], data)) return true;
    return false;
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) {
    std::string text = pattern ? pattern : "";
    std::size_t cut = text.find_last_of("\\/");
    if (cut == std::string::npos && text.size() >= 2 && text[1] == ':') cut = 1;
    std::string dirPart = cut == std::string::npos ? "" : text.substr(0, cut + 1);
    std::string namePart = cut == std::string::npos ? text : text.substr(cut + 1);
    if (namePart.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::string dir = dirPart.empty() ? "." : hostPath(dirPart);
    if (dir.empty()) dir = ".";
    DIR* d = ::opendir(dir.c_str());
    if (!d) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_unique<detail::SearchObject>();
    std::string prefix = dir.back() == '/' ? dir : dir + "/";
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (wildcardMatch(namePart, name)) search->entries.push_back({name, prefix + name});
    }
    ::closedir(d);
    // A stable order, so that runs and tests see the same sequence.
    std::sort(search->entries.begin(), search->entries.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    WIN32_FIND_DATAA first;
    if (!nextEntry(*search, &first)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (data) *data = first;
    detail::KernelObject object;
    object.search = std::move(search);
    SetLastError(ERROR_SUCCESS);
    return detail::addObject(std::move(object));
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA* data) {
    detail::SearchObject* search = detail::findSearch(handle);
    if (!search) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    WIN32_FIND_DATAA next;
    if (!nextEntry(*search, &next)) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    if (data) *data = next;
    return TRUE;
}

BOOL FindClose(HANDLE handle) {
    if (!detail::findSearch(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return CloseHandle(handle);
}

}  // namespace win
