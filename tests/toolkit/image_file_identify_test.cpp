// Graphics file identification: hand-made headers of the sixteen formats,
// the files of this program's own drivers with their sizes, devices and
// pages, and the CGM and picture-file counters.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "output_test_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/output/image_file_identify.h"

namespace tk {
namespace {

namespace fs = std::filesystem;
using test::drawSample;

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// Little-endian 16- and 32-bit words.
std::string le16(int v) {
    return bytes({v & 0xFF, v >> 8 & 0xFF});
}
std::string le32(long long v) {
    return le16(static_cast<int>(v & 0xFFFF)) + le16(static_cast<int>(v >> 16 & 0xFFFF));
}
std::string be16(int v) {
    return bytes({v >> 8 & 0xFF, v & 0xFF});
}
std::string be32(long long v) {
    return be16(static_cast<int>(v >> 16 & 0xFFFF)) + be16(static_cast<int>(v & 0xFFFF));
}
std::string padded(std::string s, std::size_t n = 128) {
    s.resize(std::max(s.size(), n), '\0');
    return s;
}

// A CGM element in the short form.
std::string cgm(int cls, int id, const std::string& parameters = {}) {
    std::string e = be16(cls << 12 | id << 5 | static_cast<int>(parameters.size()));
    e += parameters;
    if (parameters.size() % 2) e += '\0';
    return e;
}

class Identify : public test::OutputFileTest {
  protected:
    fs::path write(const std::string& name, const std::string& content) {
        const fs::path p = folder / name;
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }
    ImageFileInfo identify(const fs::path& p, int wanted = 6) {
        ImageFileInfo info;
        ImageFileIdentify(p.string(), info, wanted);
        return info;
    }
};

TEST_F(Identify, HeadersOfEveryKind) {
    struct Case {
        const char* name;
        std::string content;
        std::array<int, 6> expected;
    };
    const std::string bmp = "BM" + le32(0) + le32(0) + le32(54) + le32(40) + le32(640) +
                            le32(480) + le16(1) + le16(32) + le32(1);
    const std::string pcx = bytes({10, 5, 1, 8}) + le16(0) + le16(0) + le16(99) + le16(49);
    std::string pcx128 = padded(pcx);
    pcx128[65] = 3;
    const std::string placeable = le32(0x9AC6CDD7LL) + le16(0) + le16(0) + le16(0) + le16(1439) +
                                  le16(719) + le16(1440);
    std::string emf = padded(le32(1) + le32(108) + le32(0) + le32(0) + le32(99) + le32(99) +
                             le32(0) + le32(0) + le32(25399) + le32(12699));
    emf.replace(40, 4, " EMF");
    const std::string png = bytes({137, 'P', 'N', 'G', 13, 10, 26, 10}) + be32(13) + "IHDR" +
                            be32(300) + be32(200) + bytes({8, 0, 0, 0, 1});
    const std::string svg =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE svg SYSTEM \"\">\n<svg width=\"300.7\" height=\"90\">\n";
    const Case cases[] = {
        {"a.bmp", padded(bmp), {1, 640, 480, 16777216, 1, 32}},
        {"a.pcx", pcx128, {2, 100, 50, 16777216, 5, 24}},
        {"a.wmf", padded(placeable), {3, 72, 36, 1, -1, -1}},
        {"b.emf", emf, {3, 720, 360, 2, -1, -1}},
        {"c.wmf", padded(bytes({1, 0, 9, 0, 0, 3})), {3, -1, -1, 0, -1, -1}},
        {"a.pic", padded(bytes({1, 0, 0, 0, 1, 0, 8, 0, 68, 0, 0, 0, 0, 12}) + bytes({100})),
         {7, 3201, 2312, 1, -1, -1}},
        {"a.drw", padded("Draw" + std::string(28, '\0') + le32(6400) + le32(3200)),
         {8, 10, 5, -1, -1, -1}},
        {"a.trm", padded("\x1b[?38h"), {9, -1, -1, -1, -1, -1}},
        {"a.pcl", padded("\x1b" "E\x1b&l0O\x1b*t300R\x1b(s-3u1A"), {11, -1, -1, 8, 300, -1}},
        {"a.esc", padded(bytes({27, 64, 27, 'r', 4, 27, '(', 'U', 1, 0, 10})),
         {12, -1, -1, 8, 360, -1}},
        {"b.esc", padded(bytes({27, 'U', 1})), {13, -1, -1, 0, -1, -1}},
        {"a.png", padded(png), {15, 300, 200, -1, 1, -1}},
        {"a.svg", svg, {16, 300, 90, -1, -1, -1}},
        {"a.ps", "%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 0 0 540 756\r\n", {10, 540, 756, 1, -1, -1}},
        {"b.ps", "  %!PS\nshowpage\n", {10, -1, -1, 0, -1, -1}},
        {"a.dxf", "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n", {14, -1, -1, -1, -1, -1}},
        {"b.dxf", "999\r\nmade by hand\r\n  0\r\nSECTION\r\n", {14, -1, -1, -1, -1, -1}},
        {"c.dxf", "999\r\nmade by hand\r\n  0\r\nEOF\r\n", {0, -1, -1, -1, -1, -1}},
        {"a.txt", "Just some words.\n", {0, -1, -1, -1, -1, -1}},
        // A line of one character among the commands.
        {"a.plt", "\x1b%0B\r\nC\r\nIN;\r\n", {5, -1, -1, -1, -1, 1}},
        {"short", "abc", {-1, -1, -1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        const ImageFileInfo info = identify(write(c.name, c.content));
        EXPECT_EQ(info.entries, c.expected) << c.name;
    }
    // Only the kind for fewer entries; nothing at all without a file.
    EXPECT_EQ(identify(folder / "a.bmp", 1).entries,
              (std::array<int, 6>{1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(identify(folder / "none.bmp")[1], -1);
    EXPECT_EQ(identify("")[1], -1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

TEST_F(Identify, FilesOfTheProgramsOwnDrivers) {
    struct Case {
        int driver;
        const char* name;
        std::array<int, 6> expected;
    };
    HardcopySelectDriver(1, 2);
    HardcopyOptionSet(22, 1);
    const fs::path eps = folder / "view.eps";
    HardcopySwitch(eps.string());
    drawSample();
    HardcopySwitch("S");
    EXPECT_EQ(identify(eps).entries, (std::array<int, 6>{10, 540, 756, 1, -1, -1}));
    const Case cases[] = {
        {3, "view.svg", {16, 640, 480, -1, -1, -1}},
        {8, "view.dxf", {14, 756, 540, -1, -1, -1}},
        {9, "view.cgm", {6, 1000, 714, 1, -1, -1}},
        {11, "view.wmf", {3, 756, 540, 1, -1, -1}},
    };
    for (const Case& c : cases) {
        const fs::path file = start(c.driver, c.name);
        drawSample();
        HardcopySwitch("S");
        EXPECT_EQ(identify(file).entries, c.expected) << c.name;
    }
}

TEST_F(Identify, PlotterFilesTellTheirDeviceAndPages) {
    for (int driver : {1, 12}) {
        toolkitState().PrinterColourMode = 2;
        const fs::path file = start(driver, "pages.plt");
        for (int page = 0; page < 3; ++page) {
            drawSample();
            if (page < 2) NewGraphicsPage();
        }
        HardcopySwitch("S");
        const ImageFileInfo info = identify(file);
        if (driver == 1)
            EXPECT_EQ(info.entries, (std::array<int, 6>{4, 742, 530, 4, 1, 3}));
        else
            EXPECT_EQ(info.entries, (std::array<int, 6>{5, 769, 561, 256, 2, 3}));
        int pages = 0;
        YYCNTHPG(file.string(), pages);
        EXPECT_EQ(pages, 3);
    }
    toolkitState().PrinterColourMode = 0;
    // A file without page records is one page.
    int pages = 0;
    YYCNTHPG(write("one.plt", "IN;SP1;PU0 0;PD100 100;\r\n").string(), pages);
    EXPECT_EQ(pages, 1);
}

// A plotter size near the largest number a file can give is turned into
// points without overflowing.
TEST_F(Identify, PlotterFilesOfTheLargestSizes) {
    const ImageFileInfo hpgl =
        identify(write("wide.plt", "IN;\r\nSC-13 1;\r\nIP 0 0 2147483646 2147483646;\r\n"));
    EXPECT_EQ(hpgl[1], 4);
    EXPECT_EQ(hpgl[2], 152183880);
    EXPECT_EQ(hpgl[3], 152183880);
    const ImageFileInfo hpgl2 = identify(
        write("wide2.plt", "\x1b%0B\r\nIN;\r\nCO\"13 3 1.2 9\";\r\nIP 0 0 2147483646 2147483646;\r\n"));
    EXPECT_EQ(hpgl2[1], 5);
    EXPECT_EQ(hpgl2[2], 152183880);
    EXPECT_EQ(hpgl2[5], 3);
}

TEST_F(Identify, CgmCountersTakeTheMaximumExtentFirst) {
    const std::string header = cgm(0, 1, "\x03" "abc") + cgm(1, 1, be16(1));
    const std::string extent = cgm(2, 6, be16(0) + be16(0) + be16(400) + be16(100));
    const std::string maximum = cgm(1, 17, be16(0) + be16(0) + be16(300) + be16(100));
    const std::string picture = cgm(0, 3, "\x01p") + cgm(0, 4) + cgm(4, 1, be32(0) + be32(0)) +
                                cgm(0, 5);
    int pictures = 0;
    float aspect = 0;
    YYINFOCGM(write("a.cgm", header + extent + maximum + picture + picture + cgm(0, 2)).string(),
              pictures, aspect);
    EXPECT_EQ(pictures, 2);
    EXPECT_FLOAT_EQ(aspect, 3.0f);
    // Real VDC: the type and the extents as IEEE singles, inside the
    // defaults replacement, in long form.
    auto real = [](float v) {
        std::uint32_t w = 0;
        std::memcpy(&w, &v, 4);
        return be32(w);
    };
    const std::string body = cgm(2, 6, real(0) + real(0) + real(2.5f) + real(1));
    const std::string replacement =
        be16(1 << 12 | 12 << 5 | 31) + be16(static_cast<int>(body.size())) + body;
    YYINFOCGM(write("b.cgm", header + cgm(1, 3, be16(1)) + replacement + picture + cgm(0, 2))
                  .string(),
              pictures, aspect);
    EXPECT_EQ(pictures, 1);
    EXPECT_FLOAT_EQ(aspect, 2.5f);
    // Cut short: what was read counts, and the short read is reported.
    toolkitState().LastErrorNumber = 0;
    YYINFOCGM(write("c.cgm", header + extent + picture.substr(0, 5)).string(), pictures, aspect);
    EXPECT_EQ(pictures, 1);
    EXPECT_FLOAT_EQ(aspect, 4.0f);
    EXPECT_EQ(toolkitState().LastErrorNumber, 2);
}

TEST_F(Identify, PictureFilesCountTheirPictures) {
    const std::string head =
        bytes({1, 0, 0, 0, 1, 0, 8, 0, 68, 0, 0, 0, 0, 12, 0, 0, 0});
    const std::string body = bytes({96, 160, 1, 2, 3, 4, 168, 9, 'a', 'b', 0, 100, 48}) + le32(1) +
                             std::string(8, '\x60') + bytes({111});
    int pictures = 0;
    YYCNTPIC(write("a.pic", head + body).string(), pictures);
    EXPECT_EQ(pictures, 3);
    YYCNTPIC(write("b.pic", head).string(), pictures);
    EXPECT_EQ(pictures, 1);
    toolkitState().LastErrorNumber = 0;
    YYCNTPIC(write("c.pic", head + bytes({160, 1})).string(), pictures);
    EXPECT_EQ(toolkitState().LastErrorNumber, 2);
    YYCNTPIC((folder / "none.pic").string(), pictures);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1);
}

}  // namespace
}  // namespace tk
