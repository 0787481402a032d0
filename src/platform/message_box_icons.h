#pragma once
// The pictures of the system icons (the message boxes' error, question,
// warning and information signs, and the plain application window), drawn
// by the layer in its own design.

#include <cstdint>
#include <vector>

#include "platform/win_types.h"

namespace win {

struct IconPicture {
    static constexpr int kSize = 32;
    std::vector<std::uint32_t> colour;  // 0xRRGGBB, row by row
    std::vector<std::uint8_t> alpha;    // 255 opaque, 0 transparent
};

// The picture for IDI_APPLICATION_ID .. IDI_ASTERISK_ID; empty for others.
IconPicture systemIconPicture(WORD id);

}  // namespace win
