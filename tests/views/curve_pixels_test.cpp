// The plotter hands connected draws to the screen as polylines inside a pen
// run; the pixels must be those of the same curve drawn line by line.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/graphics/lines.h"
#include "view_picture_support.h"

namespace {

struct Curve {
    std::string name;
    std::vector<float> x, y;  // page units
};

Curve denseWave() {
    // Several points to a pixel, and both ends beyond the page.
    Curve c{"dense wave", {}, {}};
    for (int i = 0; i <= 4000; ++i) {
        const float x = -1.0f + 12.0f * static_cast<float>(i) / 4000.0f;
        c.x.push_back(x);
        c.y.push_back(4.0f + 3.0f * std::sin(7.0f * x) + 0.01f * static_cast<float>(i % 7));
    }
    return c;
}

// Many points along one straight line, going on as it went or turning back.
Curve straightRun(std::string name, float dx, float dy, int turnAt) {
    Curve c{std::move(name), {}, {}};
    float x = 1.0f, y = 2.0f;
    for (int i = 0; i <= 600; ++i) {
        c.x.push_back(x);
        c.y.push_back(y);
        const float sign = i < turnAt ? 1.0f : -1.0f;
        x += sign * dx;
        y += sign * dy;
    }
    return c;
}

std::vector<Curve> curves() {
    return {
        denseWave(),
        straightRun("flat run", 0.01f, 0.0f, 1000),
        straightRun("upright run", 0.0f, 0.008f, 1000),
        straightRun("diagonal run", 0.01f, 0.01f, 1000),
        straightRun("slanting run", 0.013f, 0.0041f, 1000),
        straightRun("flat run and back", 0.01f, 0.0f, 400),
        {"closed square", {2, 3, 3, 2, 2}, {2, 2, 3, 3, 2}},
        {"one point", {5, 5, 5}, {4, 4, 4}},
        {"steps of a hair", {5.0f, 5.001f, 5.002f, 5.003f}, {4.0f, 4.001f, 4.0f, 4.001f}},
        {"out and back in", {5, 12, 6, 4, 7}, {1, 5, 9, 7, -2}},
        {"sharp zigzag", {1, 1.5f, 1.6f, 2.2f, 2.3f}, {6, 7.5f, 6, 7.5f, 6}},
    };
}

class CurvePixelsTest : public views_test::ViewPictureTest {
  protected:
    std::vector<std::uint32_t> draw(const Curve& c, bool inRun) {
        std::fill(surface.pixels.begin(), surface.pixels.end(), 0xFFFFFFu);
        util::SETPEN(4);
        {
            std::optional<util::PenRun> run;
            if (inRun) run.emplace();
            util::PLOTXY(c.x[0], c.y[0], 3);
            for (std::size_t i = 1; i < c.x.size(); ++i)
                util::PLOTXY(c.x[i], c.y[i], 2);
        }
        return surface.pixels;
    }
};

TEST_F(CurvePixelsTest, RunsDrawTheSamePixelsAsLineByLine) {
    useSurface();
    const unsigned ink = surfaceColour(4);
    for (const int width : {1, 3}) {
        for (const int style : {0, 2}) {
            tk::SetLineThickness(width);
            tk::SetLineStyle(style);
            for (const Curve& c : curves()) {
                const std::string what =
                    c.name + ", width " + std::to_string(width) + ", style " + std::to_string(style);
                const std::vector<std::uint32_t> lines = draw(c, false);
                const std::vector<std::uint32_t> run = draw(c, true);
                int inked = 0, differ = 0;
                for (std::size_t i = 0; i < run.size(); ++i) {
                    inked += (run[i] & 0xFFFFFF) == ink;
                    differ += run[i] != lines[i];
                }
                // A dashed line of no length shows nothing either way.
                if (style == 0) EXPECT_GT(inked, 0) << what;
                EXPECT_EQ(differ, 0) << what;
            }
        }
    }
    tk::SetLineStyle(0);
    tk::SetLineThickness(1);
}

}  // namespace
