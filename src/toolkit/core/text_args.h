#pragma once
// How texts cross the toolkit's interface: inputs are blank-padded and are cut
// after their last non-blank before they reach the operating system; outputs
// are fixed-length fields that receive a text blank-padded or cut.

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace tk {

// An output text field: the caller's characters, all of which are written.
using TextOut = std::span<char>;

inline std::string_view trimRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

inline std::string_view trimBoth(std::string_view s) {
    s = trimRight(s);
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

inline bool isBlankText(std::string_view s) {
    return trimRight(s).empty();
}

// The text as handed to the operating system (c_str() adds the NUL).
inline std::string osText(std::string_view s) {
    return std::string(trimRight(s));
}

// Copies value into the field, blank-padded or cut to its length.
inline void putText(TextOut out, std::string_view value) {
    std::size_t n = std::min(out.size(), value.size());
    std::copy_n(value.begin(), n, out.begin());
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(n), out.end(), ' ');
}

// A text received from the operating system: up to its NUL.
inline std::string_view fromOs(const char* s, std::size_t capacity) {
    return std::string_view(s, strnlen(s, capacity));
}

}  // namespace tk
