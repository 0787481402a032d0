#pragma once
// A small PNG encoder (8-bit RGB or palette images, one IDAT, no filtering)
// used for screenshots of surfaces and by the image-file writers.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"

namespace win {

// CRC-32 of the PNG chunks, continued from `crc` (start with 0).
std::uint32_t pngCrc(std::uint32_t crc, std::span<const std::uint8_t> bytes);

struct PngImage {
    int width = 0;
    int height = 0;
    // 8 bits per sample: colour type 2 (RGB) or 3 (palette); 4 is allowed for palettes.
    int bitDepth = 8;
    int colourType = 2;
    // Rows top first, each of the packed bytes of one row without a filter byte.
    std::vector<std::uint8_t> rows;
    // Palette entries as red, green, blue triples (colour type 3 only).
    std::vector<std::uint8_t> palette;
};

// The file bytes, or an empty vector when compression fails.
std::vector<std::uint8_t> encodePng(const PngImage& image);
std::vector<std::uint8_t> encodePng(const Surface& surface);

// Writes the surface as an RGB PNG file; false when the file cannot be written.
bool savePng(const Surface& surface, const std::string& path);

}  // namespace win
