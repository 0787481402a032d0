#pragma once
// Hardcopy driver 12: the device requests written as HP-GL/2 for laser
// printers and a large-format plotter: pens defined by colour, solid areas
// filled in polygon mode (through raster fill patterns on printers of two
// pens), device fonts, encoded polylines, and pages framed by the printer's
// page eject. Its descriptive records are comments.

#include <cstdint>

#include "toolkit/graphics/device_protocol.h"
#include "toolkit/output/grey_dither.h"

namespace tk {

void Hpgl2Driver(DeviceRequest request);

// Pens of HP-GL/2 device 1-5 (the first for other numbers).
int Hpgl2DevicePens(int device);

}  // namespace tk
