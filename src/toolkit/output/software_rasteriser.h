#pragma once
// The drawing engine of the raster printer and bitmap-file drivers: it
// carries out the device requests into the page raster (raster_state.h).
// The drivers handle initialisation, the page allocation and the page end
// themselves and pass every other request here.

namespace tk {

void SoftwareRasteriser(int request);

// What a raster driver does itself: request 1 after the probe, 18, 19 (the
// rasteriser's own close when null) and 20.
struct RasterDriver {
    int number;
    void (*initialise)();
    void (*begin)();
    void (*end)();
    void (*endPage)();
};
// The entry of a raster driver: the probe answers its number; every other
// request reaches the rasteriser, drawing ones only while a page exists.
void RasterDriverRequest(const RasterDriver& driver, int request);

}  // namespace tk
