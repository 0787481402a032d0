#pragma once
// The drawing engine of the raster printer and bitmap-file drivers: it
// carries out the device requests into the page raster (raster_state.h).
// The drivers handle initialisation, the page allocation and the page end
// themselves and pass every other request here.

#include "toolkit/output/hardcopy_driver.h"

namespace tk {

void SoftwareRasteriser(int request);

// What a raster driver does itself: request 1 after the probe, 18, 19 (the
// rasteriser's own close when null) and 20.
struct RasterDriverSteps {
    void (*initialise)();
    void (*begin)();
    void (*end)();
    void (*endPage)();
};

// The raster drivers on the hardcopy skeleton: their own steps, and every
// drawing and attribute request handed to the rasteriser while a page
// exists.
class RasterHardcopyDriver final : public HardcopyDriver {
  public:
    RasterHardcopyDriver(int number, RasterDriverSteps steps)
        : HardcopyDriver(number), steps_(steps) {}

  protected:
    void initialise(DeviceParameterBlock&) override { steps_.initialise(); }
    void begin(DeviceParameterBlock&) override { steps_.begin(); }
    void end() override { steps_.end ? steps_.end() : SoftwareRasteriser(19); }
    bool documentOpen() const override;
    void line(const DeviceParameterBlock&) override { SoftwareRasteriser(2); }
    void point(const DeviceParameterBlock&) override { SoftwareRasteriser(26); }
    void polyline(const DeviceParameterBlock&) override { SoftwareRasteriser(32); }
    void gradient() override { SoftwareRasteriser(40); }
    void fill(DeviceRequest code, DeviceParameterBlock&) override { SoftwareRasteriser(code); }
    void image(DeviceParameterBlock&) override { SoftwareRasteriser(38); }
    void endPage(const DeviceParameterBlock&) override { steps_.endPage(); }
    void colour() override { SoftwareRasteriser(3); }
    void clip() override { SoftwareRasteriser(24); }
    void lineStyle() override { SoftwareRasteriser(29); }
    void lineWidth() override { SoftwareRasteriser(30); }

  private:
    RasterDriverSteps steps_;
};

}  // namespace tk
