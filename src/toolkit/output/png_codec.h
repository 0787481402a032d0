#pragma once
// PNG images through libpng: decoding into packed colours and encoding
// palette or RGB rows.

#include <cstdint>
#include <vector>

namespace tk {

// The rows of an image to encode: 1, 2, 4 or 8 bits per index with a
// palette of packed colours, or 24 bits as red, green, blue bytes; each
// row packed as PNG stores it (first pixel in the high bits).
struct PngRows {
    int width = 0, height = 0;
    int bitDepth = 8;             // bits per index, or 8 for RGB
    bool rgb = false;
    std::vector<std::uint32_t> palette;  // packed colours of the indices
    std::vector<std::vector<std::uint8_t>> rows;  // top row first
};

// The PNG file of the rows; empty when libpng fails.
std::vector<std::uint8_t> EncodePng(const PngRows& image);

}  // namespace tk
