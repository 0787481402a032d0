// A real profile (data graph, model section with its colour fill and bar,
// labels) drawn on the screen and at the same time into the PostScript, SVG
// and HP-GL drivers: the pictures that ghostscript, rsvg-convert and hp2xx
// render from the files have the screen's layout.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "util/axis_copy.h"
#include "util/axis_scaling.h"
#include "view_fixtures.h"
#include "view_picture_support.h"
#include "views/colour_fill.h"
#include "views/colour_ramp.h"
#include "views/data_graph.h"
#include "views/model_section.h"
#include "views/profile_layout.h"
#include "views/profile_scaling.h"

namespace {

namespace fs = std::filesystem;
using views_test::makeProfile;
using views_test::rect;

// An RGB picture of any origin.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::array<int, 3>> pixels;
    const std::array<int, 3>& at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y * width + x)];
    }
};

// A box in fractions of the picture; empty when nothing was found.
struct Box {
    double left = 1, top = 1, right = 0, bottom = 0;
    bool empty() const { return right < left; }
};

bool inked(const std::array<int, 3>& p) {
    return std::min({p[0], p[1], p[2]}) < 160;
}

bool coloured(const std::array<int, 3>& p) {
    return std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) > 80;
}

template <typename Test>
Box boxOf(const Picture& pic, double fromRow, double toRow, Test test) {
    Box b;
    const int r0 = static_cast<int>(fromRow * pic.height), r1 = static_cast<int>(toRow * pic.height);
    for (int y = std::max(r0, 0); y < std::min(r1, pic.height); ++y)
        for (int x = 0; x < pic.width; ++x) {
            if (!test(pic.at(x, y))) continue;
            b.left = std::min(b.left, static_cast<double>(x) / pic.width);
            b.right = std::max(b.right, static_cast<double>(x + 1) / pic.width);
            b.top = std::min(b.top, static_cast<double>(y) / pic.height);
            b.bottom = std::max(b.bottom, static_cast<double>(y + 1) / pic.height);
        }
    return b;
}

// A PNG read back through ImageMagick's plain PPM output.
Picture readPng(const fs::path& png) {
    const fs::path ppm = fs::path(png).replace_extension(".ppm");
    const std::string command = "convert '" + png.string() +
                                "' -background white -flatten -depth 8 -compress none 'ppm:" +
                                ppm.string() + "' 2>&1";
    Picture pic;
    if (std::system(command.c_str()) != 0) return pic;
    std::ifstream in(ppm);
    std::string magic;
    int maximum = 0;
    in >> magic >> pic.width >> pic.height >> maximum;
    if (magic != "P3" || maximum != 255) return Picture{};
    pic.pixels.resize(static_cast<std::size_t>(pic.width * pic.height));
    for (auto& p : pic.pixels)
        in >> p[0] >> p[1] >> p[2];
    return pic;
}

int runQuietly(const std::string& command) {
    return std::system((command + " > /dev/null 2>&1").c_str());
}

class ProfileHardcopyTest : public views_test::ViewPictureTest {
  protected:
    model::ProfileLine p;
    fs::path folder;

    void SetUp() override {
        ViewPictureTest::SetUp();
        folder = fs::path(PELK_BINARY_DIR) / "screenshots" / "profile-hardcopy";
        fs::create_directories(folder);
        p = makeProfile("Ridge",
                        {{0, 0, 0, 20, 1.0f, 1.2f},
                         {0, 0, 100, 22, 2.0f, 2.1f},
                         {0, 0, 200, 25, 2.6f, 3.0f},
                         {0, 0, 300, 22, 2.5f, 2.2f},
                         {0, 0, 400, 20, 1.5f, 1.4f}},
                        true);
        p.MODEL = views_test::makeModel({rect(50, -150, 150, -50), rect(250, -200, 350, -100)},
                                        {2.9f, 2.4f}, 2.67f);
        views::DATARESCALEPL(p);
        views::SCALE_BY(p.AXES[4], p.MODEL, p);
        tk::ResetHardcopyOptions();
        tk::HardcopyOutputBind();
        useSurface();
    }
    void TearDown() override {
        tk::HardcopySwitch("S");
        tk::ResetHardcopyOptions();
        ViewPictureTest::TearDown();
    }

    void drawProfile() {
        std::fill(surface.pixels.begin(), surface.pixels.end(), 0xFFFFFFu);
        drawProfilePicture(p);
    }

    // The profile drawn with hardcopy output on into a file of the driver,
    // its page set to the screen's proportions.
    fs::path drawInto(int driver, const std::string& name, int pageWidth, int pageHeight,
                      int orientation) {
        tk::HardcopySelectDriver(1, driver);
        tk::HardcopyOptionSet(3, 0);
        tk::HardcopyOptionSet(4, 0);
        tk::HardcopyOptionSet(1, pageWidth);
        tk::HardcopyOptionSet(2, pageHeight);
        tk::hardcopyOptions()[tk::hc::Orientation] = orientation;
        if (driver == 2) tk::HardcopyOptionSet(22, 1);
        const fs::path file = folder / name;
        tk::HardcopySwitch(file.string());
        EXPECT_EQ(tk::graphicsState().hardcopyDriver, driver);
        drawProfile();
        tk::HardcopySwitch("S");
        return file;
    }

    Picture screen() const {
        Picture pic{surface.width, surface.height, {}};
        for (int y = 0; y < surface.height; ++y)
            for (int x = 0; x < surface.width; ++x) {
                const unsigned v = surface.at(x, y);
                pic.pixels.push_back({static_cast<int>(v & 0xFF), static_cast<int>(v >> 8 & 0xFF),
                                      static_cast<int>(v >> 16 & 0xFF)});
            }
        return pic;
    }

    // The row fraction between the data graph and the section: the middle
    // of the longest run of empty rows in the middle of the screen picture.
    static double splitRow(const Picture& pic) {
        int best = 0, bestStart = pic.height / 2, run = 0;
        for (int y = pic.height / 5; y < 4 * pic.height / 5; ++y) {
            bool empty = true;
            for (int x = 0; x < pic.width && empty; ++x) empty = !inked(pic.at(x, y));
            run = empty ? run + 1 : 0;
            if (run > best) best = run, bestStart = y - run + 1;
        }
        return (bestStart + best / 2.0) / pic.height;
    }

    static void expectSameLayout(const Picture& reference, const Picture& pic, bool colours,
                                 const std::string& what) {
        ASSERT_GT(pic.width, 0) << what;
        const double split = splitRow(reference);
        const double tolerance = 0.02;
        const auto compare = [&](const Box& a, const Box& b, const std::string& part) {
            ASSERT_FALSE(a.empty()) << part;
            ASSERT_FALSE(b.empty()) << what << " " << part;
            EXPECT_NEAR(b.left, a.left, tolerance) << what << " " << part << " left";
            EXPECT_NEAR(b.right, a.right, tolerance) << what << " " << part << " right";
            EXPECT_NEAR(b.top, a.top, tolerance) << what << " " << part << " top";
            EXPECT_NEAR(b.bottom, a.bottom, tolerance) << what << " " << part << " bottom";
        };
        compare(boxOf(reference, 0, split, inked), boxOf(pic, 0, split, inked), "data graph");
        compare(boxOf(reference, split, 1, inked), boxOf(pic, split, 1, inked), "section");
        if (colours)
            compare(boxOf(reference, 0, 1, coloured), boxOf(pic, 0, 1, coloured), "colour fill");
    }
};

TEST_F(ProfileHardcopyTest, PostScriptSvgAndHpglPicturesHaveTheScreensLayout) {
    // 800 x 640 pixels on the screen: pages of the same proportions.
    const fs::path eps = drawInto(2, "profile.eps", 800, 640, 0);
    const fs::path svg = drawInto(3, "profile.svg", 800, 640, 0);
    const fs::path plt = drawInto(1, "profile.plt", 700, 560, 1);
    savePicture("profile-hardcopy/profile_screen.png");
    const Picture reference = screen();

    ASSERT_EQ(runQuietly("gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r72 -sDEVICE=png16m "
                         "-sOutputFile='" + (folder / "profile_eps.png").string() + "' '" +
                         eps.string() + "'"),
              0);
    expectSameLayout(reference, readPng(folder / "profile_eps.png"), true, "EPS");

    ASSERT_EQ(runQuietly("rsvg-convert -b white -o '" + (folder / "profile_svg.png").string() +
                         "' '" + svg.string() + "'"),
              0);
    expectSameLayout(reference, readPng(folder / "profile_svg.png"), true, "SVG");

    // The plotter frame P1 to P2 becomes the picture (700 x 560 points).
    ASSERT_EQ(runQuietly("timeout 60 hp2xx -q -m png -c 12345671 -d 72 -x 0 -X 9877 -y 0 -Y 7902 -w 246.94 "
                         "-h 197.56 -f '" + (folder / "profile_hpgl.png").string() + "' '" +
                         plt.string() + "'"),
              0);
    expectSameLayout(reference, readPng(folder / "profile_hpgl.png"), false, "HP-GL");
}

}  // namespace
