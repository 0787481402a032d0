#pragma once
// Drawing the views into a real surface through the screen driver, so the
// tests can look at pixels and save pictures a person can look at.

#include <cstdio>
#include <filesystem>
#include <string>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "model/session_state.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/png_writer.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/surface_dc.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/presentation_plot.h"
#include "toolkit/graphics/screen_driver.h"
#include "util/axis_copy.h"
#include "util/plotter_test_support.h"
#include "views/colour_fill.h"
#include "views/colour_ramp.h"
#include "views/data_graph.h"
#include "views/model_section.h"
#include "views/profile_layout.h"
#include "views/view_state.h"

namespace views_test {

class ViewPictureTest : public util::test::PlotterTest {
  protected:
    win::Surface surface{800, 640, 0xFFFFFF};

    void SetUp() override {
        PlotterTest::SetUp();
        files::viewSettings().reset();
        files::sessionState().reset();
        model::resetSessionState();
        views::viewState().reset();
        tk::presentationPlotSettings().reset();
    }
    void TearDown() override {
        if (tk::drawingSurface().dc) {
            tk::ResetScreenDriver();
            win::DeleteDC(tk::drawingSurface().dc);
            tk::drawingSurface() = tk::DrawingSurface{};
        }
        files::viewSettings().reset();
        files::sessionState().reset();
        model::resetSessionState();
        views::viewState().reset();
        PlotterTest::TearDown();
    }

    // Real pixels from here on.
    void useSurface() {
        tk::drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
        useTarget(surface.width, surface.height);
        tk::SetScreenDriver(nullptr);
        tk::ResetScreenDriver();
        tk::YYGAPI(1);
        tk::ScreenSurfaceChanged();
        util::resetPlotterState();
        util::PLOTXY(1.0f, 0.0f, 1);
    }

    // The profile window's picture of a profile: the data graph, and the
    // section with its colour fill, bar and elevations.
    static void drawProfilePicture(model::ProfileLine& p) {
        files::viewSettings().LCOLFILL = true;
        views::SCALECOLORS(p.MODEL);
        views::viewState().ColourBarTitle.assign("Density (gm/cc)");
        util::AxisRecord& d = p.AXES[0];
        util::AxisRecord& s = p.AXES[4];
        views::layoutWidth(d, true);
        views::layoutDataGraph(d, true, true);
        views::PLOT_PROF(d, p, true);
        views::layoutSection(s, true, true);
        util::COPYXAXIS(s, d);
        views::PLOTBODIES(s, p.MODEL, p.LABELS, 0, "m", "m");
        views::drawElevationsAndKeepScale(p, s);
    }

    void savePicture(const std::string& name) {
        std::filesystem::create_directories(PELK_BINARY_DIR "/screenshots");
        const std::string path = PELK_BINARY_DIR "/screenshots/" + name;
        ASSERT_TRUE(win::savePng(surface, path));
        std::printf("picture: %s\n", path.c_str());
    }

    // The surface value of palette colour N (surfaces hold 0x00BBGGRR).
    static unsigned surfaceColour(int n) {
        int rgb = 0;
        tk::ColourNumberRgb(n, rgb);
        return static_cast<unsigned>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    }
    int count(int x0, int x1, int y0, int y1, unsigned colour) const {
        int n = 0;
        for (int r = std::max(y0, 0); r < std::min(y1, surface.height); ++r)
            for (int c = std::max(x0, 0); c < std::min(x1, surface.width); ++c)
                n += (surface.at(c, r) & 0xFFFFFF) == colour;
        return n;
    }
    // Pixel column and row of a page point (10 x 8 plot inches).
    int col(float x) const {
        return static_cast<int>(x / 10.0f * static_cast<float>(surface.width));
    }
    int row(float y) const {
        return static_cast<int>((1.0f - y / 8.0f) * static_cast<float>(surface.height));
    }
};

}  // namespace views_test
