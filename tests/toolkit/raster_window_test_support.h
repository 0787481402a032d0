#pragma once
// Toolkit windows with the graphics and the raster output bound to them:
// the fixture of the memory bitmap and viewer tests, and the reset of the
// graphics binding that the dialog target tests share.

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/graphics_window_binding.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/output/bitmap_store.h"
#include "toolkit/output/bitmap_viewer.h"
#include "toolkit/output/raster_binding.h"
#include "window_test_support.h"

namespace tk::test {

inline void resetGraphicsBinding() {
    ResetScreenDriver();
    drawingSurface() = DrawingSurface{};
    graphicsServices() = GraphicsServices{};
    ResetDeviceProtocol();
    graphicsState().reset();
}

inline void bindGraphicsAndRasterOutput() {
    GraphicsWindowBind();
    BindRasterOutput();
    BuildDefaultColourTable();
}

class RasterWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        resetGraphicsBinding();
        bindGraphicsAndRasterOutput();
        openRoot(700, 500);
    }
    void TearDown() override {
        ResetBitmapViewers();
        ResetBitmapStore();
        WindowTest::TearDown();
        resetGraphicsBinding();
    }
};

}  // namespace tk::test
