#include "platform/controls/text_words.h"

#include <cctype>

namespace win::controls {

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
           static_cast<unsigned char>(c) > 127;
}

std::size_t wordLeft(const std::string& t, std::size_t p) {
    while (p > 0 && !isWordChar(t[p - 1]))
        --p;
    while (p > 0 && isWordChar(t[p - 1]))
        --p;
    return p;
}

std::size_t wordRight(const std::string& t, std::size_t p) {
    while (p < t.size() && isWordChar(t[p]))
        ++p;
    while (p < t.size() && !isWordChar(t[p]))
        ++p;
    return p;
}

std::pair<std::size_t, std::size_t> wordAround(const std::string& t, std::size_t p) {
    std::size_t a = p, b = p;
    while (a > 0 && isWordChar(t[a - 1]))
        --a;
    while (b < t.size() && isWordChar(t[b]))
        ++b;
    return {a, b};
}

}  // namespace win::controls
