#pragma once
// The screen side of the device requests: executes each request on the
// current drawing surface with the window system's drawing calls. Device
// units (y up) become window pixels (y down) here: every y passed on is
// targetHeight - 1 - y.

#include <array>
#include <vector>

#include "platform/win_types.h"

namespace tk {

void YYGAPI(int code);

// A new drawing surface: recreate the halftone bitmap, reselect the pen, the
// font and the palette, and rescale the dash tables.
void ScreenSurfaceChanged();
void ScaleDashTables();
// Forgets every window-system object of the driver (tests and shut-down).
void ResetScreenDriver();

// The dash pattern of a line style as scaled for the current surface and pen
// width (empty for solid lines).
std::vector<win::DWORD> ScaledDashPattern(int style);

// The point buffer shared with the printer and metafile drivers.
void PointBufferAlloc(int n);
void PointBufferSet(int x, int y, int i);
void PointBufferFree();

}  // namespace tk
