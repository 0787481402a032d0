#pragma once
// The byte layouts of the profile head (332 bytes) and the database head
// (48 bytes) as the database file stores them.

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/little_endian.h"
#include "model/profile_header.h"

namespace model {

inline constexpr std::size_t kProfileHeaderSize = 332;
inline constexpr std::size_t kDatabaseHeaderSize = 48;

void writeProfileHeader(base::ByteWriter& out, const ProfileHeader& head);
// Reads the fields whose bytes are present (at most 332 are used); the others
// keep their values. Answers whether the whole head was present.
bool readProfileHeader(std::span<const std::uint8_t> bytes, ProfileHeader& head);

// Before a profile head is read: units "KM", field 50000 nT, inclination 65,
// declination 0, sensor elevation mode 1 and sensor height 0.
void presetProfileHeaderForReading(ProfileHeader& head);

void writeDatabaseHeader(base::ByteWriter& out, const DatabaseHeader& head);
bool readDatabaseHeader(std::span<const std::uint8_t> bytes, DatabaseHeader& head);

}  // namespace model
