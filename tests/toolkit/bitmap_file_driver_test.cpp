// The bitmap-file driver: a picture drawn with the ordinary graphics
// routines while the screen draws it too, written as BMP, PNG and PCX at
// each depth and read back by independent readers.

#include <gtest/gtest.h>

#include "graphics_test_support.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/surface_dc.h"
#include "raster_support.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/screen_primitives.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/image_loading.h"
#include "toolkit/output/raster_state.h"

namespace tk::test {
namespace {

constexpr int kWidth = 64, kHeight = 48;

// The screen draws on a white memory surface of the page's size while the
// bitmap-file driver draws the same requests into its page.
class BitmapFileDriver : public GraphicsTest {
  protected:
    win::Surface surface{kWidth, kHeight, 0xFFFFFF};
    fs::path folder;

    void SetUp() override {
        GraphicsTest::SetUp();
        ResetHardcopyOptions();
        ResetRasterState();
        folder = privateFolder("bitmap");
        HardcopyOutputBind();
        drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
        recordScreen(true);
        useTarget(kWidth, kHeight);
        YYGAPI(1);
        ScreenSurfaceChanged();
        HardcopySelectDriver(1, hc::BitImageDriverNumber);
        HardcopyOptionSet(hc::PageWidth, kWidth);
        HardcopyOptionSet(hc::PageHeight, kHeight);
    }
    void TearDown() override {
        HardcopySwitch("S");
        win::DeleteDC(drawingSurface().dc);
        fs::remove_all(folder);
        GraphicsTest::TearDown();
    }

    // A filled rectangle, a frame of lines, a polygon and a dashed line in
    // three colours.
    void drawPicture() {
        SetColourMode(24);
        GrColourN(0x0000FF);  // red
        SetFillPattern(4);
        GrRectangle(0.1f, 0.1f, 0.4f, 0.5f);
        GrColourN(0xFF0000);  // blue
        LineBetweenUnits(0.05f, 0.9f, 0.95f, 0.9f);
        LineBetweenUnits(0.95f, 0.9f, 0.95f, 0.05f);
        GrColourN(0x008000);  // green
        GrRectangle(0.6f, 0.2f, 0.8f, 0.4f);
    }

    fs::path writePicture(int format, int depth, const std::string& name) {
        HardcopyOptionSet(hc::BitmapFormat, format);
        HardcopyOptionSet(hc::ColourDepth, depth);
        const fs::path file = folder / name;
        HardcopySwitch(file.string());
        EXPECT_EQ(graphicsState().hardcopyDriver, hc::BitImageDriverNumber);
        drawPicture();
        HardcopySwitch("S");
        return file;
    }
};

// Each format and depth is read by netpbm and ImageMagick; PNG files pass
// pngcheck too.
TEST_F(BitmapFileDriver, EveryFormatAndDepthIsReadByIndependentReaders) {
    struct Case {
        int format, depth;
        const char* name;
        const char* depthSeen;  // identify's depth: per sample, per PCX plane
    };
    const Case cases[] = {
        {1, 1, "mono.bmp", "1"},    {1, 4, "nibble.bmp", "4"},  {1, 8, "byte.bmp", "8"},
        {1, 24, "rgb.bmp", "8"},    {2, 4, "rle4.bmp", "4"},    {2, 8, "rle8.bmp", "8"},
        {3, 1, "mono.png", "1"},    {3, 4, "nibble.png", "4"},  {3, 8, "byte.png", "8"},
        {3, 24, "rgb.png", "8"},    {0, 1, "mono.pcx", "1"},    {0, 4, "nibble.pcx", "1"},
        {0, 8, "byte.pcx", "8"},    {0, 24, "rgb.pcx", "8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = writePicture(c.format, c.depth, c.name);
        const Pixmap read = readWithNetpbm(file);
        ASSERT_EQ(read.width, kWidth);
        ASSERT_EQ(read.height, kHeight);
        // The top-right corner of the blue frame is dark in every depth,
        // the page's corner is white, the rectangle's inside is not white.
        const int right = static_cast<int>(0.95f * (kWidth - 0.01f));
        const int top = kHeight - 1 - static_cast<int>(0.9f * (kHeight - 0.01f));
        EXPECT_NE(read.at(right, top), 0xFFFFFFu);
        EXPECT_EQ(read.at(0, 0), 0xFFFFFFu);
        int inked = 0;
        for (int y = kHeight - 24; y < kHeight - 5; ++y)
            for (int x = 7; x < 25; ++x)
                inked += read.at(x, y) != 0xFFFFFFu;
        EXPECT_GT(inked, 60);
        const std::string depth = c.format == 3 ? "%[png:IHDR.bit-depth-orig]" : "%z";
        const CommandResult id =
            runCommand("identify -format '%w %h " + depth + "' '" + file.string() + "' 2>&1");
        EXPECT_EQ(id.out, std::to_string(kWidth) + " " + std::to_string(kHeight) + " " + c.depthSeen);
        if (c.format == 3) {
            EXPECT_EQ(runCommand("pngcheck -q '" + file.string() + "'").status, 0);
        }
    }
}

// Where the screen and the rasteriser draw the same pixels (solid
// rectangles and horizontal and vertical one-pixel lines) the PNG file is
// the screen picture.
TEST_F(BitmapFileDriver, TrueColourPngEqualsTheScreenPicture) {
    const fs::path file = writePicture(3, 24, "screen.png");
    const Pixmap read = readWithNetpbm(file);
    ASSERT_EQ(read.width, kWidth);
    int differ = 0, coloured = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            differ += read.at(x, y) != surface.at(x, y);
            coloured += read.at(x, y) != 0xFFFFFFu;
        }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(coloured, 200);
}

// The files the driver writes load back into the same pixels, and a second
// page follows the first in the same file.
TEST_F(BitmapFileDriver, WrittenFilesLoadBackAndPagesAppend) {
    const std::pair<int, const char*> files[] = {
        {1, "back.bmp"}, {2, "backrle.bmp"}, {3, "back.png"}, {0, "back.pcx"}};
    for (const auto& [format, name] : files) {
        SCOPED_TRACE(name);
        const fs::path file = writePicture(format, 8, name);
        ImagePixelArray image;
        GrLoadImageData(file.string(), image);
        EXPECT_EQ(toolkitState().LastErrorNumber, 0);
        ASSERT_EQ(image.width, kWidth);
        ASSERT_EQ(image.height, kHeight);
        int red = 0;
        for (std::uint32_t p : image.pixels)
            red += p == 0x0000FFu;
        EXPECT_GT(red, 100);
    }
    HardcopyOptionSet(hc::BitmapFormat, 0);
    const fs::path file = folder / "two.pcx";
    HardcopySwitch(file.string());
    drawPicture();
    NewGraphicsPage("");
    drawPicture();
    HardcopySwitch("S");
    const std::vector<std::uint8_t> bytes = fileBytes(file);
    const fs::path one = writePicture(0, 8, "one.pcx");
    EXPECT_EQ(bytes.size(), 2 * fs::file_size(one));
}

TEST_F(BitmapFileDriver, DefaultsAndAnEmptyPage) {
    HardcopySelectDriver(1, hc::BitImageDriverNumber);
    const HardcopyOptions& o = hardcopyOptions();
    EXPECT_EQ(o[hc::PageWidth], 640);
    EXPECT_EQ(o[hc::PageHeight], 480);
    EXPECT_EQ(o[hc::ColourDepth], 8);
    EXPECT_EQ(o.defaultFileName.str(), "doredere.pcx");
    deviceBlock().count = -999;
    HardcopyDriverRequest(1);
    EXPECT_EQ(deviceBlock().count, 6);
    const fs::path file = folder / "empty.pcx";
    HardcopySwitch(file.string());
    HardcopySwitch("S");
    EXPECT_EQ(fs::file_size(file), 0u);
}

}  // namespace
}  // namespace tk::test
