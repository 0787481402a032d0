#include "platform/kernel/shell.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/kernel/files.h"

namespace win {
namespace {

HINSTANCE code(std::intptr_t v) {
    return reinterpret_cast<HINSTANCE>(v);
}

std::string onPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

}  // namespace

HINSTANCE FindExecutableA(LPCSTR file, LPCSTR directory, LPSTR result) {
    if (result) result[0] = '\0';
    std::string name = file ? file : "";
    if (directory && *directory && !name.empty() && name[0] != '/' && name[0] != '\\')
        name = std::string(directory) + "/" + name;
    struct stat st;
    if (name.empty() || ::stat(hostPath(name).c_str(), &st) != 0) return code(SE_ERR_FNF);
    std::string opener = onPath("xdg-open");
    if (opener.empty() || opener.size() >= MAX_PATH) return code(SE_ERR_NOASSOC);
    if (result) std::memcpy(result, opener.c_str(), opener.size() + 1);
    return code(42);
}

}  // namespace win
