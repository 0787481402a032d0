#pragma once
// Hardcopy driver 12: the device requests written as HP-GL/2 for laser
// printers and a large-format plotter: pens defined by colour, solid areas
// filled in polygon mode (through raster fill patterns on printers of two
// pens), device fonts, encoded polylines, and pages framed by the printer's
// page eject. Its descriptive records are comments.

#include <cstdint>

#include "toolkit/graphics/device_protocol.h"

namespace tk {

void Hpgl2Driver(DeviceRequest request);

// An 8 x 4 cell pattern of the current colour: bit (column + 8 x row) is set
// for a light cell, so the set bits grow with the lightness. One pattern for
// two-colour devices, else one per colour plane; `scheme` 2 inverts the
// planes of colour devices once more.
struct ColourPatternTriple {
    std::uint32_t first = 0, second = 0, third = 0;
};
ColourPatternTriple ColourToGreyDither(int scheme);

// Pens of HP-GL/2 device 1-5 (the first for other numbers).
int Hpgl2DevicePens(int device);

}  // namespace tk
