#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/png_writer.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/surface_dc.h"
#include "plotter_test_support.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/screen_driver.h"
#include "util/axis_scaling.h"
#include "util/graph_curves.h"
#include "util/graph_frame.h"
#include "util/graph_zoom.h"
#include "util/plotter_text.h"

namespace util::test {
namespace {

// A data graph drawn by the real screen driver into a picture a person can
// look at: frame and labels, a curve with a gap, markers and a title.
TEST_F(PlotterTest, SampleGraphOnTheScreenDriver) {
    win::Surface surface(800, 640, 0xFFFFFF);
    tk::drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
    useTarget(surface.width, surface.height);
    tk::SetScreenDriver(nullptr);
    tk::ResetScreenDriver();
    tk::YYGAPI(1);
    tk::ScreenSurfaceChanged();
    resetPlotterState();
    PLOTXY(1.0f, 0.0f, 1);  // the page with the pen palette

    AxisRecord a{};
    a.originX = 1.5f, a.originY = 1.2f;
    a.divLengthX = 1.5f, a.divLengthY = 1.2f;
    a.startX = 0, a.stepX = 200, a.divCountX = 5, a.firstDecadeX = 4;
    a.startY = -20, a.stepY = 10, a.divCountY = 5, a.firstDecadeY = 2;
    a.xLabelsBelow = a.yLabelsLeft = true;
    a.markerType = 9;
    FINDAS(a);
    PLOTXY(a.originX, a.originY, -3, a);
    SETPEN(0);
    GNGRID(a);

    float x[41], y[41];
    for (int i = 0; i <= 40; ++i) {
        x[i] = 25.0f * static_cast<float>(i);
        y[i] = 8.0f + 25.0f * std::sin(static_cast<float>(i) * 0.2f);
    }
    y[20] = 1.0e20f;  // a gap
    SETPEN(4);
    GNPLOT(x, y, 41, false, a);
    SETPEN(8);
    GNPLOT(x, y, 41, true, a);
    SETPEN(0);
    CENTSY(3.75f, 6.4f, 0.2f, "Bouguer anomaly (mGal)", 0.0f, 22);

    std::filesystem::create_directories(PELK_BINARY_DIR "/screenshots");
    const std::string path = PELK_BINARY_DIR "/screenshots/pelk_graph_sample.png";
    ASSERT_TRUE(win::savePng(surface, path));
    std::printf("graph sample: %s\n", path.c_str());

    // Window rows run downwards: page y = 8 (1 - row / 640).
    auto count = [&](int x0, int x1, int y0, int y1, auto&& want) {
        int n = 0;
        for (int r = y0; r < y1; ++r)
            for (int c = x0; c < x1; ++c)
                n += want(surface.at(c, r));
        return n;
    };
    auto dark = [](unsigned v) { return (v & 0xFFFFFF) == 0; };
    // Pen 4 as the surface holds it (colour references are 0x00BBGGRR).
    int pen4 = 0;
    tk::ColourNumberRgb(4, pen4);
    const auto curveColour =
        static_cast<unsigned>(((pen4 & 0xFF) << 16) | (pen4 & 0xFF00) | ((pen4 >> 16) & 0xFF));
    auto curve = [&](unsigned v) { return (v & 0xFFFFFF) == curveColour; };
    // The frame's left edge at page x 1.5 (pixel 120), its bottom at page y 1.2 (row 544).
    EXPECT_GT(count(119, 122, 300, 540, dark), 200);
    EXPECT_GT(count(130, 850 - 130, 543, 546, dark), 400);
    // Labels below the frame and left of it.
    EXPECT_GT(count(100, 760, 560, 620, dark), 100);
    EXPECT_GT(count(20, 115, 80, 540, dark), 100);
    // The curve in pen 4 inside the frame, nothing of it outside.
    EXPECT_GT(count(125, 745, 90, 540, curve), 300);
    EXPECT_EQ(count(760, 800, 0, 640, curve), 0);

    EXPECT_EQ(tk::toolkitState().LastErrorNumber, 0) << tk::toolkitState().LastErrorRoutine;

    // The exclusive-or cross-hair changes the picture once and restores it
    // when drawn again.
    // (Exclusive-or with black changes nothing, so the cursor takes pen 4.)
    SETCURSORPEN(4);
    const auto before = surface.pixels;
    GRFCUR(500, 0, a);
    const auto once = surface.pixels;
    GRFCUR(500, 0, a);
    const auto twice = surface.pixels;
    EXPECT_NE(once, before);
    EXPECT_EQ(twice, before);

    tk::ResetScreenDriver();
    win::DeleteDC(tk::drawingSurface().dc);
    tk::drawingSurface() = tk::DrawingSurface{};
}

// Strings justified at one point by the real screen driver: the left one's
// ink starts there, the right one's ends there, the centred one's spans it,
// and each is drawn as wide as its characters were asked to be.
TEST_F(PlotterTest, JustifiedStringsOnTheScreenDriver) {
    win::Surface surface(400, 120, 0xFFFFFF);
    tk::drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
    useTarget(surface.width, surface.height);
    tk::SetScreenDriver(nullptr);
    tk::ResetScreenDriver();
    tk::YYGAPI(1);
    tk::ScreenSurfaceChanged();
    tk::GrUnits(0, 0, 400, 120);
    tk::GrColourN(223);
    tk::GrTextFont(std::nullopt, std::nullopt, 0.03f, 0.15f);
    // The characters are laid out one by one from the width table.
    ASSERT_EQ(tk::graphicsState().textMode, 1);
    const float cell = tk::graphicsState().charWidthFraction * tk::graphicsState().rotDevSpanX;
    LEFTSTRING(95.0f, 200.0f, "Left", 4);
    CENTSTRING(60.0f, 200.0f, "Centre", 6);
    RIGHTSTRING(25.0f, 200.0f, "Right", 5);
    // Ink columns of one band of rows (window rows run downwards).
    auto inkColumns = [&](int yTop, int yBottom) {
        int first = surface.width, last = -1;
        for (int y = yTop; y < yBottom; ++y)
            for (int x = 0; x < surface.width; ++x)
                if (surface.at(x, y) != 0xFFFFFF)
                    first = std::min(first, x), last = std::max(last, x);
        return std::pair<int, int>{first, last};
    };
    const auto left = inkColumns(5, 38), centre = inkColumns(42, 78), right = inkColumns(82, 115);
    // Each string's ink is as wide as the layout asks: its characters'
    // table widths in cells of the requested width, a pixel or so each.
    for (const auto& [ink, text] :
         {std::pair{left, std::string("Left")}, std::pair{centre, std::string("Centre")},
          std::pair{right, std::string("Right")}}) {
        const int n = static_cast<int>(text.size());
        EXPECT_NEAR(ink.second - ink.first + 1, tk::StringWidthInUnits(text, n, 1) * cell, n)
            << text;
    }
    EXPECT_GE(left.first, 199);
    EXPECT_GT(left.second, 215);
    EXPECT_LT(centre.first, 190);
    EXPECT_GT(centre.second, 210);
    EXPECT_NEAR((centre.first + centre.second) / 2.0, 200.0, 3.0);
    EXPECT_LT(right.first, 185);
    EXPECT_LE(right.second, 201);
    tk::ResetScreenDriver();
    win::DeleteDC(tk::drawingSurface().dc);
    tk::drawingSurface() = tk::DrawingSurface{};
}

}  // namespace
}  // namespace util::test
