#pragma once
// One profile as an XYZ column file that the XYZ import reads back.

#include <string>

#include "model/profile_line.h"

namespace files {

// Writes the profile: its inducing field, direction, data type and unit as
// comments, a LINE line and one record per station (the synthetics or the
// data; long records add topography and sensor elevation). A blank name, or
// one holding "*" or "?", asks for one; FILENAME returns the name used.
void XYZOUT(const model::ProfileLine& profile, std::string& fileName, bool synthetics,
            bool longRecords);

}  // namespace files
