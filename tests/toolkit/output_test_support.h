#pragma once
// Shared by the tests of the text-file drivers: a drawing target of 800 x
// 600 pixels with the hardcopy layer bound, a folder of the test's own, and
// the tools that read the files back (independent readers run as commands).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/ellipse.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/polygon_fill.h"
#include "toolkit/graphics/text_output.h"
#include "toolkit/graphics/text_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "ink_support.h"
#include "toolkit/output/image_loading.h"

namespace tk::test {

namespace fs = std::filesystem;

// Runs a command; its standard output (and what the command redirects) and
// its exit status.
struct CommandResult {
    std::string output;
    int status = -1;
};

inline CommandResult runCommand(const std::string& command) {
    CommandResult r;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        while (std::fgets(buf, sizeof buf, p))
            r.output += buf;
        r.status = pclose(p);
    }
    return r;
}

inline std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The file's lines without their CR LF ends.
inline std::vector<std::string> fileLines(const fs::path& p) {
    std::vector<std::string> lines;
    std::istringstream in(slurp(p));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline std::size_t countOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

inline std::size_t countStarting(const std::vector<std::string>& lines, const std::string& start) {
    return static_cast<std::size_t>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(start); }));
}

inline std::string quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

// A small drawing with every kind of request a view sends: a frame of
// lines, a dashed polyline, a solid and a half-tone polygon, a filled
// rectangle, a circle outline and a text.
inline void drawSample() {
    GrColourN(223);
    LineBetweenUnits(0.0f, 0.0f, 1.0f, 0.0f);
    LineBetweenUnits(1.0f, 0.0f, 1.0f, 1.0f);
    LineBetweenUnits(1.0f, 1.0f, 0.0f, 1.0f);
    LineBetweenUnits(0.0f, 1.0f, 0.0f, 0.0f);
    SetLineStyle(2);
    const float px[] = {0.1f, 0.3f, 0.5f, 0.7f}, py[] = {0.8f, 0.9f, 0.8f, 0.9f};
    PolylineClipped(px, py, 4, false);
    SetLineStyle(0);
    GrColourN(40);
    SetFillPattern(4);
    const float ax[] = {0.1f, 0.4f, 0.25f}, ay[] = {0.1f, 0.1f, 0.4f};
    YYPLYGON(ax, ay, 3, false);
    GrColourN(100);
    GrRectangle(0.5f, 0.1f, 0.7f, 0.3f);
    SetFillPattern(0);
    GrColourN(200);
    CircleAt(0.8f, 0.6f, 0.1f);
    GrColourN(223);
    DrawTextAt(0.5f, 0.5f, "Profile A", 9);
}

// What no sane drawing holds: coordinates far beyond the page, polygons of
// no point and of one, a circle far larger than the page, and line and
// polyline requests of such words sent straight to the driver. Then an
// image request, which a driver without images answers "not available".
inline void drawAbsurd(const std::function<void(int)>& driver) {
    LineBetweenUnits(-1.0e30f, -1.0e30f, 1.0e30f, 1.0e30f);
    SetFillPattern(4);
    const float x[] = {0.5f}, y[] = {0.5f};
    YYPLYGON(x, y, 0, false);
    YYPLYGON(x, y, 1, false);
    CircleAt(0.5f, 0.5f, 1.0e30f);
    DeviceParameterBlock& b = deviceBlock();
    b.fx[1] = 1.0e30f, b.fy[1] = -1.0e30f, b.fx[2] = 3.0e38f, b.fy[2] = 0.0f;
    driver(2);
    devicePointArrays().x = {-3.0e38f, 3.0e38f};
    devicePointArrays().y = {0.0f, 1.0e30f};
    b.count = 2;
    driver(32);
    b.value = 0;
    b.count = 5;
    deviceTextBuffer().assign("picture.png");
    driver(38);
    // A failure either way: images not available (27), or no such file (1).
    EXPECT_TRUE(b.value == 27 || b.value == 1) << b.value;
}

class OutputFileTest : public GraphicsTest {
  protected:
    fs::path folder;
    void SetUp() override {
        GraphicsTest::SetUp();
        ResetHardcopyOptions();
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = fs::temp_directory_path() /
                 ("pelk-out-" + std::to_string(::getpid()) + "-" + name);
        fs::create_directories(folder);
        HardcopyOutputBind();
        recordScreen();
        useTarget(800, 600);
    }
    void TearDown() override {
        HardcopySwitch("S");
        ResetHardcopyOptions();
        if (!std::getenv("PELK_KEEP_OUTPUT")) fs::remove_all(folder);
        GraphicsTest::TearDown();
    }
    // Selects the driver and starts output into a file of the folder.
    fs::path start(int driver, const std::string& name) {
        HardcopySelectDriver(1, driver);
        const fs::path file = folder / name;
        HardcopySwitch(file.string());
        return file;
    }
};

// Pixels of a rendered page that are not white, 0 when the file cannot be
// read: a picture test checks the drawing came through, not only a file.
inline int inkPixels(const fs::path& png) {
    std::ifstream in(png, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    ImagePixelArray image;
    if (bytes.empty() || DecodeImage(bytes.data(), bytes.size(), image) != 0) return 0;
    return static_cast<int>(std::count_if(image.pixels.begin(), image.pixels.end(),
                                          [](std::uint32_t p) { return p != 0xFFFFFF; }));
}

}  // namespace tk::test
