#pragma once
// Conversion between device-independent bitmaps (the packed header, colour
// table and rows of the Windows format) and surfaces.

#include <cstdint>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"

namespace win::gdi {

struct DibFormat {
    int width = 0;
    int height = 0;  // rows
    bool topDown = false;
    int bitCount = 0;
    DWORD compression = BI_RGB;
    std::vector<RGBQUAD> colours;
    DWORD masks[3] = {0, 0, 0};
    std::size_t stride() const {
        return ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    }
};

// Reads the header and colour table (core or info header); false when unsupported.
bool readDibFormat(const BITMAPINFO* info, UINT usage, DibFormat& out);
// Size of the colour table that follows a header, in bytes.
std::size_t dibColourTableBytes(const BITMAPINFOHEADER& header);
// Decodes rows [first, first + count) of the bits (counted in the DIB's own
// row order from its bottom for bottom-up DIBs) into surface rows.
void decodeDibRows(const DibFormat& f, const void* bits, int firstScan, int scans, Surface& out);
// Encodes the surface into the format's layout (colour table chosen for <= 8 bits).
void encodeDib(const Surface& s, DibFormat& f, std::vector<std::uint8_t>& bits);
// The colour table used when a surface is converted to 1, 4 or 8 bits.
std::vector<RGBQUAD> standardColours(int bitCount, bool monochromeSource);

}  // namespace win::gdi
