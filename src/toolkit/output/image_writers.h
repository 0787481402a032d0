#pragma once
// The bytes of BMP, PCX and PNG files of one image: 1, 4 or 8 bits of
// palette index per pixel, or 24 bits of packed colour.

#include <cstdint>
#include <functional>
#include <vector>

namespace tk {

struct ImageToWrite {
    int width = 0, height = 0;
    int depth = 24;                      // 1, 4, 8 or 24
    std::vector<std::uint32_t> palette;  // 2, 16 or 256 packed colours below 24 bits
    // The palette index or packed colour (red in the low byte) of a pixel;
    // row 0 is the top row.
    std::function<std::uint32_t(int column, int row)> pixel;
};

// A BMP file; with runLength, 4- and 8-bit images are run-length coded
// (the size fields of such a file are completed by BmpCompleteSizes once
// every image of the file is written).
std::vector<std::uint8_t> BmpFileBytes(const ImageToWrite& image, bool runLength);
// A PCX file: bit planes for 1 and 4 bits, one byte plane with a palette
// trailer for 8 bits, red, green and blue planes for 24 bits.
std::vector<std::uint8_t> PcxFileBytes(const ImageToWrite& image);
// A PNG file; empty when encoding fails.
std::vector<std::uint8_t> PngFileBytes(const ImageToWrite& image);

// One PCX plane line run-length coded: runs of equal bytes of up to 63,
// a lone byte below 192 as itself.
void PcxEncodeRow(const std::uint8_t* row, int count, std::vector<std::uint8_t>& out);

// Completes the file size and image size fields of a run-length coded BMP
// file of `fileSize` bytes whose colour table has `tableBytes` bytes.
void BmpCompleteSizes(std::vector<std::uint8_t>& header, std::uint32_t fileSize,
                      std::uint32_t tableBytes);

}  // namespace tk
