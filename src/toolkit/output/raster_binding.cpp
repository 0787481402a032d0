#include "toolkit/output/raster_binding.h"

#include "toolkit/graphics/device_protocol.h"
#include "toolkit/output/bitmap_file_driver.h"
#include "toolkit/output/hardcopy_dispatch.h"

namespace tk {

void BindRasterOutput() {
    RegisterHardcopyDriver(hc::BitImageDriverNumber, XXIMAG);
}

}  // namespace tk
