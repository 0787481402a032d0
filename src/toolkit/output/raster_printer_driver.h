#pragma once
// Hardcopy driver 4: pages drawn into the page raster and sent to directly
// attached raster printers ("doredere.prn" by default) in the printer's
// language: PCL raster graphics for page printers, ESC/P bit images for
// dot-matrix printers, ESC/P2 raster graphics with run-length coding.

#include <array>
#include <string>
#include <vector>

namespace tk {

void XXRAST(int request);

// The byte sequences of one page, prepared at each page end.
struct PrinterJobState {
    int dotsPerLine = 0, printLines = 0;
    int passes = 1, planes = 1, compression = 0, offsetBytes = 0;
    int currentPlane = 0;  // 0-2, or -1 for the composite black pass
    std::string pageStart;
    std::array<std::string, 3> lineHeader;
    std::array<std::string, 4> colourSelect;
    std::array<std::string, 2> passSpacing;
    std::string lineAdvance, pageEnd;
};
PrinterJobState& printerJob();

void RasterPrinterControl(int dotsPerLine, int printLines);
// Writes the page to the plot output file.
void YYDUMP(int unit);
// Whether the dot at a position of a printed line (line 0 first) prints.
bool RasterFetch(int position, int line);

// PCL row compression by the method (1 pairs of count and byte, 2 TIFF
// PackBits); the count goes into the header slot.
void PclCompressRow(std::vector<unsigned char>& row, int slot);
// ESC/P2 run-length coding; true when the coded line replaced the raw one.
bool PackBitsRow(std::vector<unsigned char>& row);
// The column count of a dot-matrix band line of `count` bytes (raised to
// whole columns on 24-pin printers).
int BandHeaderCount(int& count);

}  // namespace tk
