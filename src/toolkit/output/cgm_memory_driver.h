#pragma once
// The memory CGM driver: while a memory-CGM metafile slot is the drawing
// target, the screen-side device requests are written as CGM elements in
// pixel coordinates into the slot's buffer.

#include "toolkit/graphics/device_protocol.h"

namespace tk {

void MemoryCgmDriver(DeviceRequest request);
// Forgets every slot's attribute cache (tests, shutdown).
void ResetMemoryCgmDriver();

}  // namespace tk
