#pragma once
// The regional field's control points from a column file, and their export as
// a flat text file; with the row layout that the ASCII exports share.

#include <span>
#include <string>
#include <string_view>

#include "files/text_lines.h"
#include "model/profile_line.h"

namespace files {

// Lines to skip after each control point: 0 at start-up, then the last value
// confirmed in the dialog for the rest of the run.
int& regionalSkipLines();

// Dialog 147 for the file; the columns, the lines to skip and the start and
// stop rows take the user's values after OK. STATUS 0 after OK, -1 else.
void GETCOLSREGIONAL(int& stationColumn, int& regionalColumn, int& skip, const ChosenFile& file,
                     int& status);

// Asks for a file and reads up to five control points into the profile.
void ACIINREGIONAL(model::ProfileLine& profile, int& status);
void importRegionalFile(model::ProfileLine& profile, const ChosenFile& file, int& status);
// Reads up to five control points from lines already read: the words in the
// two columns of every non-blank line, SKIP - 1 lines left out after each.
void readRegionalLines(model::ProfileLine& profile, const std::vector<std::string>& lines,
                       int stationColumn, int regionalColumn, int skip, int& status);

// Writes the control points; a blank name asks for one.
void REGIONALOUT(model::ProfileLine& profile, std::string_view fileName);

// Decimals (0..4) of a distance field that holds values of A(1:N).
int distanceDecimals(std::span<const float> a, int n);

// "(unit)" written over TOKEN and the blanks after it in the 80-character
// title LINE; no other character moves.
void replaceUnitToken(std::string& line, std::string_view token, std::string_view unit);

// The title line of an export from its template.
std::string titleLine(std::string_view templ);

// The file name an export writes to: the given one, or the save selector's
// answer (empty when cancelled).
std::string exportFileName(std::string_view given, std::string_view filter, std::string_view title);

// Writes LINES to PATH and reports a failure the way both flat exports do.
void writeFlatExport(const std::string& path, const std::vector<std::string>& lines);

}  // namespace files
