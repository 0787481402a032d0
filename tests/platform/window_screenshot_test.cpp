// What the layer draws: frames, captions and menu bars, saved by the robot.

#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/robot/screenshot.h"
#include "window_test_support.h"

using namespace win;
using namespace wintest;

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

// Reads back an 8-bit RGB PNG without filters, as the writer makes them.
struct Png {
    int width = 0, height = 0;
    std::vector<unsigned char> rows;
    Rgb at(int x, int y) const {
        const std::size_t o =
            static_cast<std::size_t>(y) * (1 + 3 * width) + 1 + 3 * static_cast<std::size_t>(x);
        return {rows[o], rows[o + 1], rows[o + 2]};
    }
};

Png readPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> f((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    auto u32 = [&](std::size_t o) {
        return static_cast<unsigned>(f[o] << 24 | f[o + 1] << 16 | f[o + 2] << 8 | f[o + 3]);
    };
    Png png;
    std::vector<unsigned char> packed;
    for (std::size_t o = 8; o + 8 <= f.size();) {
        const unsigned len = u32(o);
        const std::string type(f.begin() + static_cast<long>(o) + 4,
                               f.begin() + static_cast<long>(o) + 8);
        if (type == "IHDR") {
            png.width = static_cast<int>(u32(o + 8));
            png.height = static_cast<int>(u32(o + 12));
        } else if (type == "IDAT") {
            packed.insert(packed.end(), f.begin() + static_cast<long>(o) + 8,
                          f.begin() + static_cast<long>(o + 8 + len));
        }
        o += 12 + len;
    }
    uLongf size = static_cast<uLongf>(png.height) * (1 + 3 * static_cast<uLongf>(png.width));
    png.rows.resize(size);
    if (uncompress(png.rows.data(), &size, packed.data(), static_cast<uLong>(packed.size())) !=
        Z_OK)
        png.rows.clear();
    return png;
}

}  // namespace

TEST_F(WindowTest, RobotSavesAWindowWithCaptionAndMenuBar) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1, "&Open");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_STRING, 2, "&Help");
    HWND w = topLevel("Demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, bar);
    pumpUntilIdle();
    const std::string path =
        (std::filesystem::temp_directory_path() / "pelk_window_demo.png").string();
    ASSERT_TRUE(robot::saveWindowPng(w, path));
    const Png png = readPng(path);
    std::remove(path.c_str());
    ASSERT_EQ(png.width, 400);
    ASSERT_EQ(png.height, 300);
    ASSERT_FALSE(png.rows.empty());
    // The caption of the active window, between the icon place and the boxes.
    EXPECT_EQ(png.at(300, 10), (Rgb{10, 36, 106}));
    EXPECT_EQ(png.at(300, 21), (Rgb{10, 36, 106}));
    // The caption text "Demo" in white near its left end.
    int white = 0;
    for (int y = 5; y < 20; ++y)
        for (int x = 20; x < 60; ++x)
            white += png.at(x, y) == Rgb{255, 255, 255};
    EXPECT_GT(white, 10);
    // The menu bar: the menu colour with dark text pixels where "File" stands.
    const int barTop = 4 + 19;
    EXPECT_EQ(png.at(380, barTop + 9), (Rgb{212, 208, 200}));
    int dark = 0;
    for (int y = barTop; y < barTop + 19; ++y)
        for (int x = 4; x < 40; ++x) {
            const Rgb p = png.at(x, y);
            dark += p.r < 100 && p.g < 100 && p.b < 100;
        }
    EXPECT_GT(dark, 15);
    // Inactive windows show the inactive caption colour.
    CreateWindowExA(0, "RECORDER", "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500, 300, 200,
                    nullptr, nullptr, nullptr, nullptr);
    const Surface& s = robot::screen();
    EXPECT_EQ(colorOfPixel(s.at(100 + 300, 100 + 10)), GetSysColor(COLOR_INACTIVECAPTION));
}
