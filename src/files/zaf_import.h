#pragma once
// One profile with its polygon model from the sibling product's binary file.

#include <cstdint>
#include <span>

#include "files/text_lines.h"
#include "model/profile_line.h"
#include "util/axis_record.h"

namespace files {

// Asks for a file and reads it into PROFILE (the next free slot). STATUS is 0
// when the whole file was read; otherwise -1 and the profile is as it was.
void ZAFIMPORT(model::ProfileLine& profile, util::AxisRecord& mapAxis, int& status);

// The same for a file already chosen.
void importZafFile(model::ProfileLine& profile, util::AxisRecord& mapAxis, const ChosenFile& file,
                   int& status);

// Reads the bytes of a file into PROFILE and MAP AXIS; STATUS as above.
void readZafBytes(model::ProfileLine& profile, util::AxisRecord& mapAxis,
                  std::span<const std::uint8_t> bytes, const ChosenFile& file, int& status);

// Capacities of the import.
inline constexpr int kZafStationLimit = 1000;
inline constexpr int kZafVertexLimit = 2000;

}  // namespace files
