// The software rasteriser on a small page: lines that share an end,
// opaque and two-colour fills, triangles, images and the dither patterns.

#include <gtest/gtest.h>

#include "graphics_test_support.h"
#include "raster_support.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/image_writers.h"
#include "toolkit/output/raster_state.h"
#include "toolkit/output/software_rasteriser.h"

namespace tk::test {
namespace {

// A page of 20 x 10 pixels at the given depth, one raster pixel per device
// unit, clipped to the whole page.
class RasteriserTest : public GraphicsTest {
  protected:
    void page(int bits) {
        ResetHardcopyOptions();
        ResetRasterState();
        useTarget(20, 10);
        hardcopyOptions()[hc::LineWidthOption] = 1;
        RasterLayout(bits, 20, 10, 1);
        ASSERT_TRUE(RasterAllocate());
        GraphicsState& g = graphicsState();
        g.hardcopyScaleX = g.hardcopyScaleY = 1;
        RasterState& r = rasterState();
        r.clipColumnMax = 19, r.clipRowMax = 9;
        hardcopyDeviceState().colourCount = bits == 1 ? 2 : 256;
        RasterDitherTable();
        SoftwareRasteriser(29);
        SoftwareRasteriser(30);
    }
    void colour(int number) {
        GraphicsState& g = graphicsState();
        g.previousColourNumber = g.colourNumber;
        g.colourNumber = number;
        SoftwareRasteriser(3);
    }
    void line(float x1, float y1, float x2, float y2) {
        DeviceParameterBlock& b = deviceBlock();
        b.fx[1] = x1, b.fy[1] = y1, b.fx[2] = x2, b.fy[2] = y2;
        SoftwareRasteriser(2);
    }
    void filled(int code, std::initializer_list<std::pair<float, float>> corners) {
        DeviceParameterBlock& b = deviceBlock();
        int k = 1;
        for (const auto& [x, y] : corners)
            b.fx[k] = x, b.fy[k] = y, ++k;
        b.value = 1;
        SoftwareRasteriser(code);
    }
    int count(std::uint32_t value) const {
        int n = 0;
        for (int j = 0; j < 10; ++j)
            for (int i = 0; i < 20; ++i)
                n += RasterGetPixel(i, j) == value;
        return n;
    }
};

TEST_F(RasteriserTest, ALineThatContinuesTheLastOneLeavesTheSharedPixel) {
    page(8);
    colour(31);
    line(3, 3, 7, 3);
    colour(159);
    line(7, 3, 7, 8);
    EXPECT_EQ(RasterGetPixel(7, 3), 31u);
    EXPECT_EQ(RasterGetPixel(7, 4), 159u);
    // After a line-style request the next line draws its first pixel.
    SoftwareRasteriser(29);
    colour(95);
    line(7, 8, 7, 9);
    EXPECT_EQ(RasterGetPixel(7, 8), 95u);
    // A one-pixel line continuing the last one draws nothing.
    colour(63);
    line(7, 9, 7, 9);
    EXPECT_EQ(RasterGetPixel(7, 9), 95u);
}

TEST_F(RasteriserTest, FillsAreOpaqueAndStyleThreeAlternatesTwoColours) {
    page(1);
    graphicsState().fillStyle = 4;
    colour(223);
    filled(9, {{0, 0}, {19, 9}});
    EXPECT_EQ(count(1), 200);
    colour(0);
    graphicsState().previousColourNumber = 0;
    filled(9, {{2, 2}, {5, 4}});
    EXPECT_EQ(count(0), 12);

    page(8);
    graphicsState().fillStyle = 3;
    colour(31);
    colour(159);
    filled(9, {{0, 0}, {3, 1}});
    EXPECT_EQ(RasterGetPixel(0, 0), 31u);  // i + j even: the previous colour
    EXPECT_EQ(RasterGetPixel(1, 0), 159u);
    EXPECT_EQ(RasterGetPixel(1, 1), 31u);
    // The same colour twice is a plain fill.
    colour(159);
    filled(9, {{0, 0}, {3, 1}});
    EXPECT_EQ(count(159), 8);
}

TEST_F(RasteriserTest, TrianglesFillTheirRowsAndUnsortedOnesNothing) {
    page(8);
    graphicsState().fillStyle = 4;
    colour(31);
    filled(11, {{2, 1}, {12, 5}, {2, 8}});
    EXPECT_EQ(RasterGetPixel(2, 5), 31u);
    EXPECT_EQ(RasterGetPixel(11, 5), 31u);
    EXPECT_EQ(RasterGetPixel(13, 5), 0u);
    const int drawn = count(31);
    EXPECT_GT(drawn, 30);
    colour(95);
    filled(11, {{2, 8}, {12, 5}, {2, 1}});
    EXPECT_EQ(count(95), 0);
    // Below fill style 3 an ellipse is declined, other shapes are left alone.
    graphicsState().fillStyle = 0;
    filled(5, {{10, 5}, {3, 3}});
    EXPECT_EQ(deviceBlock().value, -1);
}

TEST_F(RasteriserTest, ImagesStretchOverTheClipRectangleOrReportTheirError) {
    page(24);
    const fs::path folder = privateFolder("rasterimage");
    ImageToWrite image;
    image.width = 2, image.height = 2, image.depth = 24;
    image.pixel = [](int x, int y) { return y == 0 ? (x == 0 ? 0x0000FFu : 0x00FF00u) : 0xFF0000u; };
    writeBytes(folder / "quad.png", PngFileBytes(image));
    deviceTextBuffer().assign((folder / "quad.png").string());
    SoftwareRasteriser(38);
    EXPECT_EQ(deviceBlock().value, 0);
    EXPECT_EQ(RasterGetPixel(0, 9), 0x0000FFu);   // top left of the page: red
    EXPECT_EQ(RasterGetPixel(19, 9), 0x00FF00u);  // top right: green
    EXPECT_EQ(RasterGetPixel(10, 0), 0xFF0000u);  // bottom: blue
    RasterSetPixel(7, 0, 0);
    deviceTextBuffer().assign((folder / "missing.png").string());
    SoftwareRasteriser(38);
    EXPECT_EQ(deviceBlock().value, 1);
    EXPECT_EQ(RasterGetPixel(0, 0), 7u);
    fs::remove_all(folder);
}

TEST(GreyDither, PatternsOfGreysAndColours) {
    ResetHardcopyOptions();
    graphicsState().reset();
    BuildDefaultColourTable();
    SetColourMode(24);
    graphicsState().rgb = 128 * 0x010101;
    hardcopyDeviceState().colourCount = 2;
    EXPECT_EQ(ColourToGreyDither(0).first, 0xD555AA55u);
    hardcopyDeviceState().colourCount = 8;
    const ColourPatternTriple grey = ColourToGreyDither(1);
    EXPECT_EQ(grey.second, grey.first);
    EXPECT_EQ(grey.third, grey.first);
    graphicsState().rgb = 0x0000FF;
    const ColourPatternTriple red = ColourToGreyDither(1);
    EXPECT_EQ(red.first, 0xFFFFFFFFu);
    EXPECT_EQ(red.second, 0u);
}

}  // namespace
}  // namespace tk::test
