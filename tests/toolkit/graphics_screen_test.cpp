#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics_test_support.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/surface_dc.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/screen_primitives.h"
#include "toolkit/graphics/screen_text.h"

namespace tk::test {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF;

// The screen driver drawing on a memory surface of 40 x 30 pixels that is
// the whole graphics area, white at first, with red as current colour.
class GraphicsScreenTest : public GraphicsTest {
  protected:
    win::Surface surface{40, 30, kWhite};

    void SetUp() override {
        GraphicsTest::SetUp();
        drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
        useTarget(40, 30);
        YYGAPI(1);
        ScreenSurfaceChanged();
        GrColourN(31);
    }
    void TearDown() override {
        ResetScreenDriver();
        win::DeleteDC(drawingSurface().dc);
        GraphicsTest::TearDown();
    }
    // Pixel at device position (x, y), y counted upwards.
    std::uint32_t at(int x, int y) const { return surface.at(x, 29 - y); }
    int count(std::uint32_t colour) const {
        int n = 0;
        for (std::uint32_t p : surface.pixels)
            n += p == colour;
        return n;
    }
    void polygon(const std::vector<std::pair<float, float>>& points, int code) {
        DevicePointArrays& a = devicePointArrays();
        a.allocate(static_cast<int>(points.size()));
        for (std::size_t i = 0; i < points.size(); ++i)
            a.x[i] = points[i].first, a.y[i] = points[i].second;
        deviceBlock().count = static_cast<int>(points.size());
        SendScreenRequest(code);
    }
    void rectangle(int x1, int y1, int x2, int y2, int code) {
        DeviceParameterBlock& b = deviceBlock();
        b.pixX[1] = x1, b.pixY[1] = y1, b.pixX[2] = x2, b.pixY[2] = y2;
        SendScreenRequest(code);
    }
};

TEST_F(GraphicsScreenTest, LineCoversBothEndPixelsInTheCurrentColour) {
    DrawLineDevice(5.6f, 5.2f, 20.9f, 5.7f);
    for (int x = 5; x <= 20; ++x)
        EXPECT_EQ(at(x, 5), kRed) << x;
    EXPECT_EQ(at(4, 5), kWhite);
    EXPECT_EQ(at(21, 5), kWhite);
    EXPECT_EQ(count(kRed), 16);
    DrawLineDevice(30, 2, 30, 12);
    EXPECT_EQ(at(30, 2), kRed);
    EXPECT_EQ(at(30, 12), kRed);
    EXPECT_EQ(count(kRed), 16 + 11);
}

TEST_F(GraphicsScreenTest, OnePixelLineSetsExactlyThatPixel) {
    DrawLineDevice(7.5f, 9.5f, 7.5f, 9.5f);
    EXPECT_EQ(count(kRed), 1);
    EXPECT_EQ(at(7, 9), kRed);
}

TEST_F(GraphicsScreenTest, LineOutsideTheAreaIsCutAtItsEdge) {
    ApplyGraphicsArea(10, 10, 20, 20);
    DrawLineDevice(0, 15, 39, 15);
    EXPECT_EQ(at(10, 15), kRed);
    EXPECT_EQ(at(20, 15), kRed);
    EXPECT_EQ(at(9, 15), kWhite);
    EXPECT_EQ(at(21, 15), kWhite);
}

TEST_F(GraphicsScreenTest, SolidPolygonFillsItsInsideAndItsEdge) {
    polygon({{5, 5}, {25, 5}, {25, 15}, {5, 15}}, 16);
    EXPECT_EQ(at(5, 5), kRed);
    EXPECT_EQ(at(25, 15), kRed);
    EXPECT_EQ(at(15, 10), kRed);
    EXPECT_EQ(at(4, 10), kWhite);
    EXPECT_EQ(at(26, 10), kWhite);
    EXPECT_EQ(at(15, 16), kWhite);
    EXPECT_EQ(count(kRed), 21 * 11);
}

TEST_F(GraphicsScreenTest, SolidRectangleCoversItsCornersInclusive) {
    GrColourN(159);
    rectangle(2, 3, 10, 8, 10);
    EXPECT_EQ(count(kBlue), 9 * 6);
    EXPECT_EQ(at(2, 3), kBlue);
    EXPECT_EQ(at(10, 8), kBlue);
    EXPECT_EQ(at(11, 8), kWhite);
    EXPECT_EQ(at(10, 9), kWhite);
}

TEST_F(GraphicsScreenTest, HalftoneRectangleAlternatesCurrentAndPreviousColour) {
    GrColourN(159);  // previous red, current blue
    rectangle(0, 0, 7, 7, 9);
    EXPECT_EQ(count(kBlue), 32);
    EXPECT_EQ(count(kRed), 32);
    EXPECT_NE(at(0, 0), at(1, 0));
    EXPECT_EQ(at(0, 0), at(1, 1));
}

TEST_F(GraphicsScreenTest, ExclusiveOrDrawingIsUndoneByDrawingAgain) {
    for (std::size_t i = 0; i < surface.pixels.size(); ++i)
        surface.pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
    const std::vector<std::uint32_t> before = surface.pixels;
    SetPlotModeLetter('E');
    for (int pass = 0; pass < 2; ++pass) {
        DrawLineDevice(1, 1, 38, 27);
        DrawLineDevice(3, 20, 3, 20);
        polygon({{5, 5}, {30, 8}, {12, 25}}, 16);
        rectangle(20, 2, 35, 9, 10);
        if (pass == 0) {
            EXPECT_NE(surface.pixels, before);
        }
    }
    EXPECT_EQ(surface.pixels, before);
}

TEST_F(GraphicsScreenTest, ClearFillsTheWholeTargetWithColourZero) {
    DrawLineDevice(0, 0, 39, 29);
    SendScreenRequest(17);
    EXPECT_EQ(count(kWhite), 40 * 30);
}

TEST_F(GraphicsScreenTest, PixelsAreSetAndReadBack) {
    DeviceParameterBlock& b = deviceBlock();
    b.pixX[1] = 3, b.pixY[1] = 4;
    SendScreenRequest(26);
    EXPECT_EQ(at(3, 4), kRed);
    SendScreenRequest(31);
    EXPECT_EQ(b.pixX[1], 255);
    b.pixX[1] = 4, b.pixY[1] = 4;
    SendScreenRequest(31);
    EXPECT_EQ(b.pixX[1], 16777215);
    graphicsState().targetType = MetafileTarget;
    SendScreenRequest(31);
    EXPECT_EQ(b.pixX[1], -1);
}

TEST_F(GraphicsScreenTest, ClipRegionOnlyWhereTheAreaIsNotTheWholeWindow) {
    SendScreenRequest(24);
    EXPECT_EQ(screen::primitives().clip, nullptr);
    graphicsState().targetType = DialogFieldTarget;
    SendScreenRequest(24);
    EXPECT_NE(screen::primitives().clip, nullptr);
    graphicsState().targetType = WindowTarget;
    ApplyGraphicsArea(10, 10, 20, 20);
    EXPECT_NE(screen::primitives().clip, nullptr);
    // A polygon larger than the area stays inside it, its last column included.
    polygon({{0, 0}, {39, 0}, {39, 29}, {0, 29}}, 16);
    EXPECT_EQ(count(kRed), 11 * 11);
    EXPECT_EQ(at(20, 20), kRed);
}

TEST_F(GraphicsScreenTest, DashesOfWidePensGrowTheirGaps) {
    SetLineStyle(2);
    SetLineThickness(3);
    EXPECT_EQ(ScaledDashPattern(2), (std::vector<win::DWORD>{8, 8}));
    EXPECT_EQ(ScaledDashPattern(4), (std::vector<win::DWORD>{1, 6, 1, 6, 8, 6}));
    SetLineThickness(1);
    EXPECT_EQ(ScaledDashPattern(2), (std::vector<win::DWORD>{8, 6}));
    // A dashed horizontal line leaves gaps of the pattern's length.
    DrawLineDevice(0, 10, 39, 10);
    int lit = 0;
    for (int x = 0; x < 40; ++x)
        lit += at(x, 10) == kRed;
    EXPECT_GT(lit, 14);
    EXPECT_LT(lit, 30);
}

TEST_F(GraphicsScreenTest, RepeatedFontSelectionCreatesNoNewFont) {
    SendScreenRequest(21);
    const int created = screen::FontsCreated();
    EXPECT_GT(created, 0);
    SendScreenRequest(21);
    SendScreenRequest(33);
    EXPECT_EQ(screen::FontsCreated(), created);
    graphicsState().fontStyle = 1;
    SendScreenRequest(21);
    EXPECT_GT(screen::FontsCreated(), created);
    deviceTextBuffer().assign("WWWW");
    deviceBlock().value = 4;
    deviceBlock().count = 0;
    SendScreenRequest(25);
    EXPECT_EQ(deviceBlock().count, 1);
    EXPECT_GT(deviceBlock().fx[1], 0.0f);
}

TEST_F(GraphicsScreenTest, SmallPieWithCoincidentEndsStaysAThinSector) {
    DeviceParameterBlock& b = deviceBlock();
    auto pie = [&](float startDegrees, float sweep) {
        b.pixX[1] = 20, b.pixY[1] = 15;
        b.fx[2] = 4.0f, b.fy[2] = 4.0f;
        b.fx[3] = startDegrees * 0.017453292f;
        b.fy[3] = (startDegrees + sweep) * 0.017453292f;
        b.fx[4] = startDegrees, b.fy[4] = sweep;
        SendScreenRequest(14);
    };
    pie(10.0f, 2.0f);  // both ends truncate to (3, 0) from the centre
    const int thin = count(kRed);
    EXPECT_GT(thin, 0);
    SendScreenRequest(17);
    b.pixX[1] = 20, b.pixY[1] = 15, b.pixX[2] = 4, b.pixY[2] = 4;
    SendScreenRequest(6);
    EXPECT_LT(thin * 3, count(kRed));
}

TEST_F(GraphicsScreenTest, TextIsDrawnAtItsAnchorAndPlainModeIgnoresAlignment) {
    graphicsState().charHeightFraction = 0.3f;
    graphicsState().charWidthFraction = 0.1f;
    ApplyPageOrientation();
    SendScreenRequest(21);
    auto draw = [&](int justification) {
        SendScreenRequest(17);
        graphicsState().textJustification = justification;
        deviceTextBuffer().assign("HI");
        DeviceParameterBlock& b = deviceBlock();
        b.fx[1] = 8, b.fy[1] = 15, b.fx[3] = 30, b.fy[3] = 15;
        b.pixX[1] = 2, b.pixX[4] = 1;
        SendScreenRequest(22);
        EXPECT_EQ(b.pixX[4], 0);
        int left = 40;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                if (surface.at(x, y) == kRed) left = std::min(left, x);
        return left;
    };
    const int leftAligned = draw(0);
    EXPECT_GE(leftAligned, 8);
    EXPECT_LT(leftAligned, 12);
    EXPECT_GT(draw(2), leftAligned + 5);
    graphicsState().textMode = 1;
    SendScreenRequest(21);
    const int plain = draw(0);
    EXPECT_EQ(draw(2), plain);
}

TEST_F(GraphicsScreenTest, ImageRequestFillsTheAreaThroughTheLoader) {
    ImageRequest seen;
    std::string file;
    graphicsServices().imageFileToDC = [&](const ImageRequest& r) {
        seen = r;
        file = std::string(r.file);
    };
    ApplyGraphicsArea(5, 6, 25, 16);
    deviceTextBuffer().assign("PICTURE.BMP");
    SendScreenRequest(38);
    EXPECT_EQ(file, "PICTURE.BMP");
    EXPECT_EQ(seen.left, 5);
    EXPECT_EQ(seen.right, 25);
    EXPECT_EQ(seen.top, 29 - 16);
    EXPECT_EQ(seen.bottom, 29 - 6);
    graphicsState().pageRotation = 180;
    SendScreenRequest(38);
    EXPECT_EQ(seen.offsetX, 30);
    EXPECT_EQ(seen.offsetY, 60 - 16 - 6);
}

}  // namespace
}  // namespace tk::test
