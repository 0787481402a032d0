#pragma once
// One profile from the sibling product's fixed-column ASCII data file: eight
// header lines, then one line per station.

#include <string>
#include <vector>

#include "files/text_lines.h"
#include "model/profile_line.h"

namespace files {

inline constexpr int kMogStationLimit = 200;
inline constexpr int kMogCapacity = 1000;

// MODE 'R' reads the file (a blank name asks for one) into PROFILE; STATUS is
// 0 after a complete read, else -1 with the profile as it was. MODE 'W'
// writes the profile (an existing file only after "yes"); STATUS 0 when it
// was written. Another mode only reports itself.
void ASCIO(model::ProfileLine& profile, char mode, std::string& fileName, int& status);
// The write mode. Station lines carry the six columns that the reader reads,
// elevations with their sign turned back.
void writeMogFile(const model::ProfileLine& profile, std::string& fileName, int& status);

// The same for a file already chosen.
void importMogFile(model::ProfileLine& profile, const ChosenFile& file, int& status);

// Reads lines already taken from a file into PROFILE; STATUS as above.
void readMogLines(model::ProfileLine& profile, const std::vector<std::string>& lines, int& status);

}  // namespace files
