#pragma once
// The program's own database file (*.TQM): the whole profile database and
// the map's axes in one binary file of tagged sections.

#include <string>
#include <string_view>

#include "base/fixed_string.h"
#include "files/database_image.h"
#include "model/profile_database.h"
#include "util/axis_record.h"

namespace files {

// The only entry: reads or writes the whole database.
// action: "RELOAD", "LOAD", "OPEN" read; "SAVE" and "SAVEAS" write (the
//   small letters of "Reload", "Load", "Open", "Save", "SaveAs" may be left
//   off or given in either case; anything else writes as SaveAs).
// fileName: the file to read, for Load only.
// status: -1 when nothing was attempted (selector cancelled, blank name,
//   file to read not found); 0 when the file was read or written whole, or
//   read up to a cut after at least one whole profile (the database then
//   holds those profiles and is marked unsaved); 1 when it failed otherwise,
//   in which case the database, its name and the file on disk are as they
//   were before the call.
void BIOPELK(model::ProfileDatabase& database, util::AxisRecord& mapAxis, std::string_view action,
             std::string_view fileName, int& status);

// The database name a file name gives: the file's name cut before its first
// "." (the whole name when it has none or begins with one), with the folder
// kept, at most 24 characters.
base::FixedString<24> databaseNameOf(std::string_view fileName);

// The file's name with the folder removed (after the last "/" or "\").
std::string bareFileName(std::string_view fileName);

}  // namespace files
