#pragma once
// Taking file names apart inside a blank-padded path field.

#include <span>

namespace util {

// Leaves only the file name with its extension (the directory part removed).
void FILENAMEEXTONLY(std::span<char> path);
// Leaves only the file name, without its extension.
void FILENAMEONLY(std::span<char> path);

}  // namespace util
