#pragma once
// Hardcopy driver 2: the device requests written as a PostScript document
// with structuring comments, or (PostScriptKind non-zero) as one EPS picture
// with its bounding box, through the PostScript line writer.

#include "toolkit/graphics/device_protocol.h"

namespace tk {

void PostScriptDriver(DeviceRequest request);

}  // namespace tk
