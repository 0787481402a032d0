#pragma once
// Binary writes to the plot output file's handle, for the drivers that
// send raster data rather than text.

#include <cstdint>
#include <vector>

#include "toolkit/core/binary_file_io.h"

namespace tk {

// Writes count bytes, then CR LF when asked; a short write is reported as
// error 2 under "YYPRBU" and marks the plot file failed.
void YYPRBU(FileHandle handle, const void* bytes, int count, bool addLineEnd);
inline void YYPRBU(FileHandle handle, const std::vector<std::uint8_t>& bytes) {
    YYPRBU(handle, bytes.data(), static_cast<int>(bytes.size()), false);
}

}  // namespace tk
