#pragma once
// Databases and hand-made database files for the tests and the fuzzing seeds.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/little_endian.h"
#include "model/profile_database.h"
#include "util/axis_record.h"

namespace files_test {

// A database of two profiles: "LINE A" (gravity, 7 stations, valid
// synthetics, a stored regional field, a layer and two bodies with locks, a
// topography, two labels) and "LINE B" (gravity and magnetics, 3 stations,
// no bodies).
model::ProfileDatabase richDatabase();
model::ProfileDatabase emptyDatabase(std::string_view name);
util::AxisRecord sampleAxis(float seed);

// Appends sections one by one; headers may carry any version and length.
class FileBuilder {
  public:
    FileBuilder();
    FileBuilder& section(std::string_view keyword, const std::vector<std::uint8_t>& payload,
                         std::int32_t version = 1, std::int32_t index = 0,
                         std::optional<std::int32_t> length = std::nullopt);
    // The usual file start: database head announcing `profiles`, map axis and,
    // when there are profiles, the selected one.
    FileBuilder& start(std::int32_t profiles, std::int32_t current = 1);
    FileBuilder& end() { return section("ENDFILE ", {}); }
    std::vector<std::uint8_t> bytes() const { return out_.buffer(); }

  private:
    base::ByteWriter out_;
};

std::vector<std::uint8_t> reals(std::initializer_list<float> values);
std::vector<std::uint8_t> integers(std::initializer_list<std::int32_t> values);
// A profile head of `size` bytes (332 for a whole one).
std::vector<std::uint8_t> profileHead(std::string_view name, std::int32_t nsta, std::int32_t ncomp,
                                      std::size_t size = 332);
std::vector<std::uint8_t> modelHead(std::int32_t nbod, std::int32_t ntopo);

// The sections of a database file in order, walked independently of the reader.
struct SectionEntry {
    std::string keyword;
    std::int32_t version, index, length;
    std::size_t offset;  // of the header
};
std::vector<SectionEntry> sectionsOf(const std::vector<std::uint8_t>& file);

}  // namespace files_test
