#pragma once
// A new profile from a text file of numbers in columns, one station per line,
// the columns chosen by the user.

#include <string>
#include <string_view>
#include <vector>

#include "files/text_lines.h"
#include "model/profile_line.h"

namespace files {

// Asks for the file and its columns and fills PROFILE (the next free slot,
// whose data type, units and elevation mode the caller has set). STATUS is 0
// when a profile was made; otherwise -1 and the profile is as it was.
void ACIINGRAVMAGVLF(model::ProfileLine& profile, int& status, std::string_view key);

// The same for a file already chosen.
void importColumnFile(model::ProfileLine& profile, const ChosenFile& file, std::string_view key,
                      int& status);

// The stations of lines already read, under the chosen columns; STATUS 0
// when at least two were found (without a message otherwise).
void readColumnLines(model::ProfileLine& profile, const std::vector<std::string>& lines,
                     const base::FixedString<256>& name, int& status);

}  // namespace files
