#pragma once
// The drawing engine of the raster printer and bitmap-file drivers: it
// carries out the device requests into the page raster (raster_state.h).
// The drivers handle initialisation, the page allocation and the page end
// themselves and pass every other request here.

namespace tk {

void SoftwareRasteriser(int request);

}  // namespace tk
