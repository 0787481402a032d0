#pragma once
// The resource statements and the binary layouts they compile to; the
// layouts are Windows' own, since the program reads and edits these bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "rc_lexer.h"

namespace rcc {

// A type or name: a number, or an upper-case string.
struct ResourceKey {
    bool isNumber = true;
    std::uint16_t number = 0;
    std::string text;
};

struct Resource {
    ResourceKey type;
    ResourceKey name;
    std::vector<unsigned char> data;
};

std::vector<Resource> compileScript(Lexer& lexer);

}  // namespace rcc
