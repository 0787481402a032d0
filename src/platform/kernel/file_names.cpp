#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cctype>
#include <string>
#include <vector>

#include "platform/kernel/files.h"

namespace win {
namespace {

bool exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `dir` whose name equals `name` but for the case of ASCII
// letters; the first in byte order when several do, so the choice is stable.
std::string caseInsensitiveEntry(const std::string& dir, const std::string& name) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return {};
    std::string best;
    while (dirent* e = ::readdir(d)) {
        if (::strcasecmp(e->d_name, name.c_str()) == 0 && (best.empty() || e->d_name < best))
            best = e->d_name;
    }
    ::closedir(d);
    return best;
}

bool matchFrom(std::string_view p, std::string_view n) {
    std::size_t pi = 0, ni = 0, starP = std::string_view::npos, starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && p[pi] == '*') {
            starP = pi++;
            starN = ni;
        } else if (pi < p.size() &&
                   (p[pi] == '?' || std::toupper(static_cast<unsigned char>(p[pi])) ==
                                        std::toupper(static_cast<unsigned char>(n[ni])))) {
            ++pi;
            ++ni;
        } else if (starP != std::string_view::npos) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*')
        ++pi;
    return pi == p.size();
}

}  // namespace

std::string hostPath(std::string_view name) {
    std::string s(name);
    for (char& c : s)
        if (c == '\\') c = '/';
    bool absolute = false;
    if (s.size() >= 2 && s[1] == ':' && std::isalpha(static_cast<unsigned char>(s[0]))) {
        s.erase(0, 2);
        // "C:" alone and "C:\..." both start at the root: there is one drive.
        absolute = s.empty() || s[0] == '/';
    }
    if (!s.empty() && s[0] == '/') absolute = true;

    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find('/', start);
        if (end == std::string::npos) end = s.size();
        if (end > start) parts.push_back(s.substr(start, end - start));
        start = end + 1;
    }

    std::string path = absolute ? "/" : "";
    bool resolving = true;
    for (const std::string& part : parts) {
        std::string dir = path;
        if (!path.empty() && path.back() != '/') path += '/';
        std::string candidate = path + part;
        if (resolving && part != "." && part != ".." && !exists(candidate)) {
            std::string match = caseInsensitiveEntry(dir.empty() ? "." : dir, part);
            if (!match.empty()) {
                candidate = path + match;
            } else {
                resolving = false;  // nothing below a missing folder can exist
            }
        }
        path = candidate;
    }
    if (path.empty() && !s.empty()) path = ".";
    if (!s.empty() && s.back() == '/' && !path.empty() && path.back() != '/') path += '/';
    return path;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    if (matchFrom(pattern, name)) return true;
    if (name.find('.') != std::string_view::npos) return false;
    // "*.*" and "name.*" also take names without an extension, as does "name.".
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*")
        return matchFrom(pattern.substr(0, pattern.size() - 2), name);
    if (!pattern.empty() && pattern.back() == '.')
        return matchFrom(pattern.substr(0, pattern.size() - 1), name);
    return false;
}

}  // namespace win
