#pragma once
// Words as the edit controls see them for Ctrl+arrows and double clicks:
// letters, digits, "_" and every character above 127.

#include <cstddef>
#include <string>
#include <utility>

namespace win::controls {

bool isWordChar(char c);
// The start of the word before p (skipping the gap before it).
std::size_t wordLeft(const std::string& t, std::size_t p);
// The start of the word after the one at p (skipping the gap after it).
std::size_t wordRight(const std::string& t, std::size_t p);
// The word around position p, as [first, last) positions.
std::pair<std::size_t, std::size_t> wordAround(const std::string& t, std::size_t p);

}  // namespace win::controls
