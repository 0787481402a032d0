#include "util/file_name_text.h"

#include <algorithm>

#include "util/text_edit.h"

namespace util {

namespace {
// Paths here may be written with either separator.
bool isSeparator(char c) {
    return c == '\\' || c == '/';
}
}  // namespace

void FILENAMEEXTONLY(std::span<char> path) {
    auto last = std::find_if(path.rbegin(), path.rend(), isSeparator);
    if (last == path.rend()) return;
    // Everything up to and including the last separator goes; a separator in
    // the last place of the field leaves no name at all.
    const int drop = static_cast<int>(path.rend() - last);
    if (drop >= static_cast<int>(path.size()))
        std::fill(path.begin(), path.end(), ' ');
    else
        SHFSTR(path, static_cast<int>(path.size()), -drop);
}

void FILENAMEONLY(std::span<char> path) {
    FILENAMEEXTONLY(path);
    auto dot = std::find(path.begin(), path.end(), '.');
    std::fill(dot, path.end(), ' ');
}

}  // namespace util
