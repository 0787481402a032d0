#pragma once
// The program keeps text as Windows code page 1252 bytes; the desktop speaks
// UTF-8. These convert at that boundary (display, clipboard, file names).

#include <string>
#include <string_view>

namespace base {

// The Unicode code point of one CP1252 byte. The five bytes the code page
// leaves undefined map to the C1 control of the same value.
char32_t cp1252ToUnicode(unsigned char byte);

// The CP1252 byte of a code point, or 0 when the code page has none.
unsigned char unicodeToCp1252(char32_t cp);

std::string cp1252ToUtf8(std::string_view text);

// Characters the code page cannot hold, and malformed UTF-8, become `replacement`.
std::string utf8ToCp1252(std::string_view text, char replacement = '?');

}  // namespace base
