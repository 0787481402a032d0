#pragma once
// The page raster that the raster printer and the bitmap-file drivers draw
// into, and the pixel operations on it. Row 0 is the bottom of the page
// (device y = 0), column 0 its left edge. Every write outside the raster is
// dropped; callers clip to the drawing limits themselves.

#include <array>
#include <cstdint>
#include <vector>

#include "toolkit/output/grey_dither.h"

namespace tk {

struct RasterState {
    std::vector<std::uint32_t> buffer;  // TotalWords + 1 words while a page exists
    int bitsPerPixel = 1;               // 1, 3, 4, 8 or 24
    int storageKind = 1;                // 1 bits, 2 bit planes, 3 bytes, 4 words
    int planes = 1;
    int rowLength = 0, rowCount = 0;
    int lastColumn = 0, lastRow = 0;
    int wordsPerRow = 0, wordsPerPlane = 0, totalWords = 0, clearWords = 0;
    std::uint32_t clearValue = 0;
    float horizontalResolution = 150, verticalResolution = 150;
    int colourScheme = 0;  // 0 none, 1 red/green/blue, 2 cyan/magenta/yellow planes
    int clipColumnMin = 0, clipColumnMax = 0, clipRowMin = 0, clipRowMax = 0;
    int lineWidthColumns = 0, lineWidthRows = 0, halfColumns = 0, halfRows = 0;
    int lineStyle = 0;
    int dashPattern = 0xFFF, dashLength = 12, dashBit = 0, dashCount = 1;
    int dashStepRows = 1, dashStepColumns = 1;
    std::uint32_t pixelValue = 0, previousPixelValue = 0;
    ColourPatternTriple colourPatterns{}, previousPatterns{};
    std::uint32_t fillPatternEven = 0, fillPatternOdd = 0;
    bool mixedFill = false;
    int lastPointColumn = -9999, lastPointRow = -9999;
    // Something was drawn since the page was last cleared (the page end of
    // the drivers writes only such pages).
    bool pageDrawn = false;
    std::array<std::vector<std::uint32_t>, 3> channelDither;  // 4096 patterns each
};

RasterState& rasterState();
void ResetRasterState();

// Words of the page for the current depth and size: row, plane and total
// counts (pixels per word by storage kind).
void RasterLayout(int bitsPerPixel, int rowLength, int rowCount, int planes);
// Allocates TotalWords + 1 words; false when the page does not fit.
bool RasterAllocate();
void RasterRelease();

// The raster value of one pixel (0 outside the raster).
std::uint32_t RasterGetPixel(int column, int row);
void RasterSetPixel(std::uint32_t value, int column, int row);
void RasterSetRun(std::uint32_t value, int column1, int row, int column2);
void RasterFillSpan(int column1, int column2, int row);
void RasterDrawLine(int column1, int row1, int column2, int row2, bool skipFirst);
int RasterEdgeIntersect(int column1, int row1, int column2, int row2, int row);
void RasterImagePixel(int column, int row, int rgb);
void RasterDitherTable();

// The 4-bit value of colour numbers 16k to 16k + 15.
int NibbleColour(int colourNumber);

}  // namespace tk
