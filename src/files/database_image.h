#pragma once
// A whole database as its file holds it, and the conversion between the two.
// Nothing here touches the program's state or the disk, so a file can be
// read completely before anything of the open database is given up.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/fixed_string.h"
#include "model/profile_database.h"
#include "util/axis_record.h"

namespace files {

// Reads a database image from the bytes of a file without touching any
// state of the program: the records, the map axis and the selected profile
// it holds (the map axis keeps its value when the file's is skipped).
// Messages are shown as the reading goes. True when the file was read to its
// "ENDFILE " section.
struct DatabaseImage {
    model::ProfileDatabase database;
    util::AxisRecord mapAxis;
    int currentProfile = 0;
};
// `fileName` names the file in the messages.
bool readDatabaseImage(std::span<const std::uint8_t> file, std::string_view fileName,
                       DatabaseImage& image);

// The bytes of the file for a database, under the name `databaseName`.
std::vector<std::uint8_t> databaseFileBytes(const model::ProfileDatabase& database,
                                            const util::AxisRecord& mapAxis, int currentProfile,
                                            const base::FixedString<24>& databaseName);

}  // namespace files
