#pragma once
// The 128-byte head of a polygon model as the database file stores it.

#include <cstddef>
#include <span>

#include "base/little_endian.h"
#include "model/polygon_model.h"

namespace model {

inline constexpr std::size_t kModelHeaderSize = 128;

// Appends the 128 bytes of the head.
void writeModelHeader(base::ByteWriter& out, const ModelHeader& head);

// Reads the fields whose bytes are present in `bytes` (at most 128 are used);
// fields beyond a short block keep their values. Answers whether the whole
// head was present.
bool readModelHeader(std::span<const std::uint8_t> bytes, ModelHeader& head);

// Before a model head is read: the sibling values 12, 0, 100, 0, the profile
// direction 90 and the strike 0.
void presetModelHeaderForReading(ModelHeader& head);

}  // namespace model
