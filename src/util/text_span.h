#pragma once
// How the text routines see their arguments: a read-only text is a
// std::string_view, a text they change is a std::span<char> over the field.
// Counts passed alongside (STR(1:N)) never reach past the field itself.

#include <algorithm>
#include <cstddef>
#include <span>
#include <string_view>

#include "base/fixed_string.h"

namespace util {

// The whole of a fixed-length field, for routines that change text in place.
template <std::size_t N>
std::span<char> chars(base::FixedString<N>& s) {
    return std::span<char>(s.data(), N);
}

// A count N of a routine, limited to what the field holds; 0 for N <= 0.
inline int usable(int n, std::size_t size) {
    if (n <= 0) return 0;
    return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(n), size));
}

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
inline bool isLower(char c) {
    return c >= 'a' && c <= 'z';
}
inline char toUpper(char c) {
    return isLower(c) ? static_cast<char>(c - 32) : c;
}
inline char toLower(char c) {
    return isUpper(c) ? static_cast<char>(c + 32) : c;
}

}  // namespace util
