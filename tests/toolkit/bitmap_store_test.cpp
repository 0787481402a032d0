// The memory bitmap store on the headless desktop: the table of 50 slots,
// pixel arrays, flips, turns and resizes, and a bitmap as the graphics'
// drawing target through the real target selection.

#include <vector>

#include "platform/gdi/gdi.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/graphics_window_binding.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/output/bitmap_store.h"
#include "toolkit/output/bitmap_viewer.h"
#include "toolkit/output/raster_binding.h"
#include "raster_window_test_support.h"

namespace tk::test {
namespace {

constexpr int kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

class BitmapStoreTest : public RasterWindowTest {
  protected:
    static int create(int w, int h, int colour) {
        int n = 0;
        BitmapCreate(n, w, h, colour);
        return n;
    }
    static std::vector<std::int32_t> pixels(int index, int x1, int y1, int x2, int y2) {
        std::vector<std::int32_t> out(static_cast<std::size_t>((x2 - x1 + 1) * (y2 - y1 + 1)));
        int status = -1;
        BitmapGetPixels(index, out.data(), x1, y1, x2, y2, status);
        EXPECT_EQ(status, 0);
        return out;
    }
    static void put(int index, int x, int y, int colour) {
        int status = -1;
        BitmapPutPixels(index, &colour, x, y, x, y, status);
        EXPECT_EQ(status, 0);
    }
    static int at(int index, int x, int y) { return pixels(index, x, y, x, y)[0]; }
};

TEST_F(BitmapStoreTest, FiftySlotsNumberedFromOne) {
    for (int k = 1; k <= kBitmapSlots; ++k)
        ASSERT_EQ(create(2, 2, kWhite), k);
    EXPECT_EQ(create(2, 2, kWhite), 0);
    int status = -1;
    BitmapDelete(6, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(create(3, 1, kRed), 7);
    BitmapDelete(6, status);
    BitmapDelete(6, status);
    EXPECT_EQ(status, 1021);
    int w = -1, h = -1;
    for (int index : {-1, 50, 6}) {
        BitmapInfo(index, w, h);
        EXPECT_EQ(w, 0);
        EXPECT_EQ(h, 0);
    }
    BitmapInfo(0, w, h);
    EXPECT_EQ(w, 2);
}

TEST_F(BitmapStoreTest, PixelArraysFlipsTurnsAndResizes) {
    ASSERT_EQ(create(1, 1, kGreen), 1);
    EXPECT_EQ(at(0, 0, 0), kGreen);
    ASSERT_EQ(create(6, 8, kWhite), 2);
    const std::vector<std::int32_t> in = {1, 2, 3, 4, 5, 6};
    int status = -1;
    BitmapPutPixels(1, in.data(), 2, 5, 4, 6, status);
    EXPECT_EQ(pixels(1, 2, 5, 4, 6), in);
    EXPECT_EQ(pixels(1, 2, 5, 4, 6)[4], at(1, 3, 6));

    // A 4 x 2 bitmap with distinct corners.
    ASSERT_EQ(create(4, 2, kWhite), 3);
    const int index = 2;
    put(index, 0, 0, 10), put(index, 3, 0, 20), put(index, 0, 1, 30), put(index, 3, 1, 40);
    int viewer = -1, w = 0, h = 0;
    BitmapFlip(index, 1, viewer, status);
    EXPECT_EQ(at(index, 0, 0), 30);
    BitmapFlip(index, 1, viewer, status);
    EXPECT_EQ(at(index, 0, 0), 10);
    BitmapFlip(index, 0, viewer, status);
    EXPECT_EQ(at(index, 0, 0), 20);
    BitmapFlip(index, 0, viewer, status);
    EXPECT_EQ(viewer, 0);
    struct Turn {
        int angle, width, topLeft;
    };
    for (const Turn& t : {Turn{90, 2, 20}, Turn{270, 4, 10}, Turn{180, 4, 40}}) {
        BitmapRotate(index, t.angle, viewer, status);
        ASSERT_EQ(status, 0);
        BitmapInfo(index, w, h);
        EXPECT_EQ(w, t.width) << t.angle;
        EXPECT_EQ(at(index, 0, 0), t.topLeft) << t.angle;
    }
    // Resizing copies with the transfer mode: AND into the black new bitmap
    // is black; a mode outside 0-3 keeps the last one.
    BitmapRasterOp(2);
    BitmapRasterOp(4);
    BitmapResize(1, 3, 4, viewer, status);
    EXPECT_EQ(status, 0);
    BitmapInfo(1, w, h);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(at(1, 2, 3), 0);
    BitmapRasterOp(0);
    BitmapResize(0, 2, 2, viewer, status);
    EXPECT_EQ(at(0, 1, 1), kGreen);
    BitmapResize(9, 2, 2, viewer, status);
    EXPECT_EQ(status, 1021);
}

// GrSelect of a bitmap makes the graphics draw into it; a free slot falls
// back to the window with error 1019.
TEST_F(BitmapStoreTest, TheGraphicsDrawIntoASelectedBitmap) {
    ASSERT_EQ(create(40, 20, kWhite), 1);
    GrSelect(BitmapTarget, 1);
    EXPECT_EQ(graphicsState().targetType, BitmapTarget);
    EXPECT_EQ(graphicsState().targetWidth, 40);
    EXPECT_EQ(BitmapTargetIndex(), 0);
    GrColourN(31);
    SetFillPattern(4);
    GrRectangle(0.0f, 0.0f, 0.5f, 1.0f);
    GrSelect(WindowTarget, 0);
    EXPECT_EQ(BitmapTargetIndex(), -1);
    EXPECT_EQ(drawingSurface().window, slot(0).client);
    EXPECT_EQ(at(0, 5, 10), kRed);
    EXPECT_EQ(at(0, 35, 10), kWhite);

    toolkitState().LastErrorNumber = 0;
    GrSelect(BitmapTarget, 9);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1019);
    EXPECT_EQ(graphicsState().targetType, WindowTarget);
    EXPECT_EQ(drawingSurface().dc, windowSystem().ClientDC);
    int status = -1, w = 0, h = 0;
    BitmapSelectTarget(50, status, w, h);
    EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace tk::test
