#pragma once
// Hardcopy driver 3: the device requests written as one SVG picture, one
// element a line: groups that carry the stroke or fill attributes, lines,
// polylines, polygons, ellipses, arcs and texts, and clip paths that keep
// fills inside the graphics area. Page ends write nothing.

#include <string>

#include "toolkit/graphics/device_protocol.h"

namespace tk {

void SvgDriver(DeviceRequest request);
// F8.2 of the value without its blanks and without zero decimals at the end
// (12.00 is 12, 12.50 is 12.5, 12.25 stays).
std::string SvgFormatNumber(float value);

}  // namespace tk
