#pragma once
// XYZ column files: survey lines introduced by LINE lines, one record of
// numbers per station, "/" comment lines anywhere. Every survey line with at
// least two stations becomes a complete new profile of the database.

#include <string>
#include <string_view>
#include <vector>

#include "files/text_lines.h"
#include "model/profile_database.h"

namespace files {

// Asks for the file and its columns and stores its survey lines. STATUS is 0
// when a survey line was stored (or one ended with records), else -1.
void XYZINGRAVMAGVLF(model::ProfileDatabase& db, int& status, std::string_view key);

// The same for a file already chosen.
void importXyzFile(model::ProfileDatabase& db, const ChosenFile& file, std::string_view key,
                   int& status);

// Stores the survey lines of lines already read under the chosen columns;
// the import's status.
int readXyzLines(model::ProfileDatabase& db, const std::vector<std::string>& lines,
                 const ChosenFile& file, std::string_view key);

// Puts a blank before every minus sign that is not the sign of an exponent,
// so that "12.5-3.0" gives two words and "1.5E-03" stays one.
std::string separateMinusSigns(std::string_view line);

}  // namespace files
