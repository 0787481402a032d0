// Pictures of the presentation plots drawn by the screen driver into a real
// toolkit window, kept as screenshots and checked for what each plot draws.

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/robot/screenshot.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/contour_fill.h"
#include "toolkit/graphics/contour_lines.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/graphics_window_binding.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/presentation_plot.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/graphics/shaded_surface.h"
#include "toolkit/graphics/text_output.h"
#include "toolkit/graphics/text_state.h"
#include "window_test_support.h"

namespace tk::test {
namespace {

constexpr int kNx = 25, kNy = 19;

float hill(float x, float y) {
    const float a = (x - 13.3f) * (x - 13.3f) + (y - 9.6f) * (y - 9.6f);
    const float b = (x - 5.2f) * (x - 5.2f) + (y - 14.1f) * (y - 14.1f);
    return 10.0f * std::exp(-a / 28.0f) + 4.0f * std::exp(-b / 9.0f);
}

class PresentationPictureTest : public WindowTest {
  protected:
    std::vector<float> grid;

    void SetUp() override {
        WindowTest::SetUp();
        resetGraphics();
        GraphicsWindowBind();
        openRoot(560, 460);
        OutputWindowSelect(0);
        GrUnits(0, 0, 10, 8);
        ClearGraphicsArea();
        ResetPresentationPlot();
        for (int j = 1; j <= kNy; ++j)
            for (int i = 1; i <= kNx; ++i)
                grid.push_back(hill(static_cast<float>(i), static_cast<float>(j)));
    }
    void TearDown() override {
        WindowTest::TearDown();
        resetGraphics();
        presentationPlotSettings().reset();
    }
    static void resetGraphics() {
        ResetScreenDriver();
        drawingSurface() = DrawingSurface{};
        graphicsServices() = GraphicsServices{};
        ResetDeviceProtocol();
        graphicsState().reset();
    }

    static void title(const char* text) {
        GrColourN(223);
        SetTextAttributes(1);
        DrawTextAt(5.0f, 7.55f, text);
    }
    static std::string save(const char* name) {
        const std::string dir = PELK_SCREENSHOT_DIR;
        std::filesystem::create_directories(dir);
        const std::string path = dir + "/" + name;
        EXPECT_TRUE(win::robot::saveWindowPng(slot(0).frame, path));
        return path;
    }
    static int rgbOf(int colourNumber) {
        int rgb = 0;
        ColourNumberRgb(colourNumber, rgb);
        return rgb;
    }
    // The client pixel of a data point of the plot.
    static win::POINT pixelOf(float x, float y) {
        int px = 0, py = 0;
        WorldToPixels(PgXToUnits(x), PgYToUnits(y), px, py);
        return {px, graphicsState().targetHeight - 1 - py};
    }
    // Pixels of the client area in the colour within `radius` of p.
    static int countNear(win::POINT p, int radius, int rgb) {
        win::HDC dc = win::GetDC(slot(0).client);
        int n = 0;
        for (int y = p.y - radius; y <= p.y + radius; ++y)
            for (int x = p.x - radius; x <= p.x + radius; ++x)
                n += static_cast<int>(win::GetPixel(dc, x, y)) == rgb ? 1 : 0;
        win::ReleaseDC(slot(0).client, dc);
        return n;
    }
    static int countAll(int rgb) {
        const win::SIZE size = clientSize(slot(0).client);
        return countNear({size.cx / 2, size.cy / 2}, std::max(size.cx, size.cy) / 2, rgb);
    }
};

TEST_F(PresentationPictureTest, ContourLinesWithValueLabels) {
    const std::array<float, 6> levels{1, 2.5f, 4, 5.5f, 7, 8.5f};
    const std::array<int, 6> colours{159, 127, 95, 63, 191, 31};
    SetUpPresentationPlot(8, 6, std::array<int, 2>{kNx, kNy}, 0, 1);
    PgArea(1, 1, kNx, kNy);
    SetPlotFrameFractions(0.06f, 0.06f, 0.94f, 0.9f);
    for (int k = 1; k <= 6; ++k)
        SetDataSetAttributes(k, 0, 5, 0, colours[static_cast<std::size_t>(k - 1)], 223);
    GrTextFont(std::nullopt, std::nullopt, 0.012f, 0.03f);
    DrawContourPlot(grid, kNx, kNy, levels);
    title("Contour lines");
    save("toolkit_contour_lines.png");
    // The level 4 line crosses the row through the hill's top where linear
    // interpolation between its nodes puts it.
    const int j = 10;
    int i = 13;
    while (hill(static_cast<float>(i), j) >= 4.0f)
        ++i;
    const float a = hill(static_cast<float>(i - 1), j), b = hill(static_cast<float>(i), j);
    const float x = static_cast<float>(i - 1) + (4.0f - a) / (b - a);
    EXPECT_GT(countNear(pixelOf(x, j), 1, rgbOf(95)), 0);
    EXPECT_EQ(countNear(pixelOf(13.3f, 9.6f), 3, rgbOf(95)), 0);  // not at the top
    EXPECT_GT(countAll(rgbOf(223)), 100);                         // the labels
}

TEST_F(PresentationPictureTest, FilledContourBands) {
    const std::array<float, 5> levels{1, 2.5f, 4, 5.5f, 7};
    const std::array<int, 6> colours{148, 120, 88, 56, 24, 31};
    SetUpPresentationPlot(8, 6, std::array<int, 2>{kNx, kNy}, 8, 1);
    PgArea(1, 1, kNx, kNy);
    SetPlotFrameFractions(0.06f, 0.06f, 0.94f, 0.9f);
    SetConFillCount(6);
    for (int k = 1; k <= 6; ++k)
        SetDataSetAttributes(k, 4, 2, 3, colours[static_cast<std::size_t>(k - 1)]);
    PgContourFill(grid, kNx, kNy, levels);
    // The band edges as black lines of a contour plot over the same frame.
    SetUpPresentationPlot(8, 5, std::array<int, 2>{kNx, kNy});
    for (int k = 1; k <= 5; ++k)
        SetDataSetAttributes(k, 0, 0, 0, 223);
    DrawContourPlot(grid, kNx, kNy, levels);
    title("Filled contours");
    save("toolkit_filled_contours.png");
    // The top of the hill lies in the highest band, the far corner in the lowest.
    EXPECT_GT(countNear(pixelOf(13.3f, 9.6f), 2, rgbOf(31)), 20);
    EXPECT_GT(countNear(pixelOf(24.5f, 1.5f), 2, rgbOf(148)), 20);
    // Every band is painted, and the lines lie on their edges.
    for (int c : colours)
        EXPECT_GT(countAll(rgbOf(c)), 50) << c;
    EXPECT_GT(countAll(rgbOf(223)), 500);
}

TEST_F(PresentationPictureTest, ShadedSurfaceSeenObliquely) {
    const std::array<float, 5> levels{1, 2.5f, 4, 5.5f, 7};
    const std::array<int, 6> colours{148, 120, 88, 56, 24, 31};
    SetUpPresentationPlot(8, 6, std::array<int, 2>{kNx, kNy}, 1, 1);
    PgArea(0, 0, 10, 8);
    PgUnitsZ(0, 11);
    SetPlotFrameFractions(0.05f, 0.05f, 0.95f, 0.9f);
    SetPlotRotationAngle(30);
    for (int k = 1; k <= 6; ++k)
        SetDataSetAttributes(k, 4, 2, 3, colours[static_cast<std::size_t>(k - 1)]);
    SetShadedGridOptions(223);
    YYCON3(nullptr, grid, kNx, kNy, levels, {});
    title("Shaded surface");
    save("toolkit_shaded_surface.png");
    // Every band shows on the surface, with its outlines.
    for (int c : colours)
        EXPECT_GT(countAll(rgbOf(c)), 30) << c;
    EXPECT_GT(countAll(rgbOf(223)), 500);
    // The highest band stands above the middle of the plot: the surface is raised.
    float p = 0, q = 0, r = 0, s = 0, zScale = 0, x0 = 0, y0 = 0;
    ShadedGridProjection(p, q, r, s, zScale, x0, y0);
    const float i = 13.3f - 1, j = 9.6f - 1;
    const win::POINT top = pixelOf(p * i + q * j + x0, s * i - r * j + y0 + 10.0f * zScale);
    EXPECT_GT(countNear(top, 4, rgbOf(31)), 5);
}

}  // namespace
}  // namespace tk::test
