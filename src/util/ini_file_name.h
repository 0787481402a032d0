#pragma once
// The library's chooser of a settings-file path: beside the program when a
// usable file is there, else in a "Varendal" folder of the user's own.

#include <span>

namespace util {

// NAME: a field of 255 characters, blank-padded.
void INIFILENAME(std::span<char> name);

}  // namespace util
