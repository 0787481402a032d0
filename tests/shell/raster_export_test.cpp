// The profile window of the running program exported as BMP, PNG and PCX
// files from its File > Export menu, each read by independent readers and
// compared with the screen, and the PNG shown again in a bitmap viewer window.

#include "export_test_support.h"
#include "shell/window_views.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/output/bitmap_store.h"
#include "toolkit/output/bitmap_viewer.h"
#include "toolkit/output/image_loading.h"
#include "toolkit/output/image_transfer.h"

namespace shell::test {
namespace {

win::SIZE clientOf(int window) {
    win::RECT r{};
    win::GetClientRect(tk::windowSystem().slots[static_cast<std::size_t>(window)].client, &r);
    return {r.right, r.bottom};
}

struct ImageExport {
    const char* item;
    const char* title;
    const char* file;
    const char* reader;  // netpbm's converter to PPM
};

constexpr ImageExport kImageExports[] = {
    {"BMP Image File", "BMP image file", "profile.bmp", "bmptopnm"},
    {"PNG Image File", "PNG image file", "profile.png", "pngtopnm"},
    {"PCX Image File", "PCX image file", "profile.pcx", "pcxtoppm"},
};

// The file is the picture of the toolkit window: what was drawn, where the
// screen drew it.
void expectScreenPicture(const fs::path& file, int window) {
    SCOPED_TRACE(file.string());
    const win::SIZE size = clientOf(window);
    tk::ImagePixelArray image;
    tk::GrLoadImageData(file.string(), image);
    ASSERT_EQ(image.width, size.cx);
    ASSERT_EQ(image.height, size.cy);
    win::HWND client = tk::windowSystem().slots[static_cast<std::size_t>(window)].client;
    win::HDC screen = win::GetDC(client);
    int drawn = 0, same = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            drawn += image.at(x, y) != 0xFFFFFFu;
            same += win::GetPixel(screen, x, y) == image.at(x, y);
        }
    win::ReleaseDC(client, screen);
    EXPECT_GT(drawn, 50);
    // The rasteriser draws at 150 dots an inch, so the strokes of bold labels
    // come out two pixels wide where the screen draws one: the rest is equal.
    EXPECT_GT(same, size.cx * size.cy * 97 / 100);
}

// View > Image File with the file's name typed into the selector.
void showImage(Script& s, const std::string& name) {
    chooseMenu(s, "View", "Image File...");
    s.check([] { ASSERT_TRUE(dialogTitled("Show image file")); });
    s.chord({win::VK_CONTROL, 'A'}).text(name).key(win::VK_RETURN);
}

win::HWND frameOf(int window) {
    return tk::windowSystem().slots[static_cast<std::size_t>(window)].frame;
}

// The windows of the open bitmap viewers.
std::vector<int> openViewers() {
    std::vector<int> found;
    for (int n = 1; n < static_cast<int>(tk::windowSystem().slots.size()); ++n)
        if (frameOf(n) && tk::BitmapViewerInfo(n, 3) > 0) found.push_back(n);
    return found;
}

// The viewer shows the file's pixels (or those of a reference picture) from
// its top-left corner.
void expectViewerShows(int viewer, const fs::path& file, const fs::path& reference = {}) {
    tk::ImagePixelArray image;
    tk::GrLoadImageData((reference.empty() ? file : reference).string(), image);
    win::HWND view = reinterpret_cast<win::HWND>(
        tk::windowSystem().slots[static_cast<std::size_t>(viewer)].record->words[5]);
    win::RECT r{};
    win::GetClientRect(view, &r);
    const int w = std::min<int>(r.right, image.width), h = std::min<int>(r.bottom, image.height);
    ASSERT_GT(w * h, 10000);
    win::HDC dc = win::GetDC(view);
    int same = 0, coloured = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            same += win::GetPixel(dc, x, y) == image.at(x, y);
            coloured += image.at(x, y) != 0xFFFFFFu;
        }
    win::ReleaseDC(view, dc);
    EXPECT_GT(coloured, 50);
    EXPECT_EQ(same, w * h);
}

TEST_F(ProgramTest, TheProfileWindowIsExportedAsImagesAndShownInABitmapViewer) {
    writeDatabase("SITE");
    Script s;
    for (const ImageExport& e : kImageExports) exportFrom(s, profileFrame, e.item, e.title, e.file);
    exportFrom(s, mainWindow, "PNG Image File", "PNG image file", "map.png");
    win::SIZE size{}, mapSize{};
    s.check([&] {
        ASSERT_GT(profileWindow(), 0);
        size = clientOf(profileWindow());
        for (const ImageExport& e : kImageExports) expectScreenPicture(dir_ / e.file, profileWindow());
        mapSize = clientOf(0);

        // The map's picture has the main window's drawing area as its size.
    EXPECT_EQ(commandOutput("identify -format '%w %h' '" + (dir_ / "map.png").string() + "' 2>&1"),
              std::to_string(mapSize.cx) + " " + std::to_string(mapSize.cy));
    for (const char* png : {"profile.png", "map.png"})
            fs::copy_file(dir_ / png, fs::path(PELK_SCREENSHOT_DIR) / ("shell_export_" + std::string(png)),
                          fs::copy_options::overwrite_existing);
    });
    // The PNG file shown in a viewer window of its own.
    showImage(s, "profile.png");
    int viewer = 0;
    s.check([&] {
        ASSERT_EQ(openViewers().size(), 1u);
        viewer = openViewers().front();
        EXPECT_EQ(win::robot::windowText(frameOf(viewer)), "profile.png");
        EXPECT_EQ(tk::BitmapViewerInfo(viewer, 101), size.cx);
        EXPECT_EQ(tk::BitmapViewerInfo(viewer, 102), size.cy);
        expectViewerShows(viewer, dir_ / "profile.png");
        fs::create_directories(PELK_SCREENSHOT_DIR);
        EXPECT_TRUE(win::robot::saveScreenPng(PELK_SCREENSHOT_DIR "/shell_profile_png_viewer.png"));
        win::PostMessageA(frameOf(viewer), win::WM_CLOSE, 0, 0);
    });
    // Its window closed, its bitmap is given back before the next one is made.
    showImage(s, "profile.pcx");
    s.check([&] {
        ASSERT_EQ(openViewers().size(), 1u);
        viewer = openViewers().front();
        EXPECT_EQ(win::robot::windowText(frameOf(viewer)), "profile.pcx");
        EXPECT_EQ(tk::BitmapViewerInfo(viewer, 3), 1);
        expectViewerShows(viewer, dir_ / "profile.pcx");
    });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);

    const std::string dimensions = std::to_string(size.cx) + " " + std::to_string(size.cy);
    for (const ImageExport& e : kImageExports) {
        SCOPED_TRACE(e.file);
        const std::string file = "'" + (dir_ / e.file).string() + "'";
        EXPECT_EQ(commandOutput(std::string(e.reader) + " " + file + " 2>/dev/null").rfind("P6\n" + dimensions + "\n", 0), 0u);
        EXPECT_EQ(commandOutput("identify -format '%w %h %z' " + file + " 2>&1"), dimensions + " 8");
    }
    // The map's picture has the main window's drawing area as its size.
    EXPECT_EQ(commandOutput("identify -format '%w %h' '" + (dir_ / "map.png").string() + "' 2>&1"),
              std::to_string(mapSize.cx) + " " + std::to_string(mapSize.cy));
    for (const char* png : {"profile.png", "map.png"})
        EXPECT_EQ(commandOutput("pngcheck -q '" + (dir_ / png).string() + "'; echo $?"), "0\n") << png;
    for (const auto& e : fs::directory_iterator(dir_))
        EXPECT_NE(e.path().filename().string().front(), '.') << e.path();
}

// BMP files as other programs write them (ImageMagick's headers of 108 and
// 124 bytes, a colour table, rows stored top-down) show the same picture as
// the PNG they were made from.
TEST_F(ProgramTest, BitmapFilesOfOtherProgramsShowTheirPicture) {
    writeDatabase("SITE");
    Script s;
    exportFrom(s, profileFrame, "PNG Image File", "PNG image file", "profile.png");
    const char* kinds[][2] = {{"truecolor.bmp", "-type truecolor"},
                              {"palette.bmp", "-colors 256 -type palette -compress none"},
                              {"topdown.bmp", "-type truecolor -flip"}};
    s.check([&] {
        for (const auto& [name, options] : kinds)
            ASSERT_EQ(std::system(("/usr/bin/convert '" + (dir_ / "profile.png").string() + "' " + options +
                                   " '" + (dir_ / name).string() + "'")
                                      .c_str()),
                      0)
                << name;
        // The flipped picture stored bottom-up is the picture stored top-down.
        std::string top = readFile(dir_ / "topdown.bmp");
        const int width = static_cast<unsigned char>(top[18]) | static_cast<unsigned char>(top[19]) << 8;
        const int height = static_cast<unsigned char>(top[22]) | static_cast<unsigned char>(top[23]) << 8;
        const std::uint32_t negative = static_cast<std::uint32_t>(-height);
        for (int k = 0; k < 4; ++k) top[22 + k] = static_cast<char>(negative >> (8 * k));
        ASSERT_GT(width, 0);
        std::ofstream(dir_ / "topdown.bmp", std::ios::binary) << top;
    });
    for (const auto& kind : kinds) {
        const std::string name = kind[0];
        showImage(s, name);
        s.check([&, name] {
            ASSERT_EQ(openViewers().size(), 1u) << name;
            const int viewer = openViewers().front();
            EXPECT_EQ(win::robot::windowText(frameOf(viewer)), name);
            if (name == "palette.bmp") {
                EXPECT_NE(readFile(dir_ / name).substr(14, 1), std::string(1, '\x28'));  // not 40 bytes
            }
            expectViewerShows(viewer, dir_ / name, dir_ / "profile.png");
            win::PostMessageA(frameOf(viewer), win::WM_CLOSE, 0, 0);
        });
    }
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, AFileThatIsNoImageIsReportedAndOpensNoViewer) {
    writeDatabase("SITE");
    std::ofstream(dir_ / "notes.png", std::ios::binary) << "plain text, not a picture";
    Script s;
    s.answerMessageBox(win::IDOK);
    showImage(s, "notes.png");
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        const std::string text = win::testing::lastMessageBox()->text;
        EXPECT_NE(text.find("notes.png CANNOT BE SHOWN:\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("not supported"), std::string::npos) << text;
        EXPECT_EQ(openViewers(), std::vector<int>{});
        EXPECT_EQ(tk::bitmapSlot(0)->handle, nullptr);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// The horizontal bands of the picture that hold a run of at least RUN
// pixels of COLOUR: one per straight line drawn across it in that colour.
int lineBands(const tk::ImagePixelArray& image, std::uint32_t colour, int run) {
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < image.height; ++y) {
        int longest = 0, current = 0;
        for (int x = 0; x < image.width; ++x) {
            current = image.at(x, y) == colour ? current + 1 : 0;
            longest = std::max(longest, current);
        }
        const bool hit = longest >= run;
        bands += hit && !inBand;
        inBand = hit;
    }
    return bands;
}

// The screen marks the current profile's line by exclusive-or; a picture
// cannot, and keeps every line as drawn.
TEST_F(ProgramTest, TheExportedMapShowsEveryProfileLineWithTheCurrentOne) {
    writeDatabase("SITE");
    Script s;
    exportFrom(s, mainWindow, "PNG Image File", "PNG image file", "map.png");
    s.check([this] {
        ASSERT_EQ(model::sessionState().CurrentProfile, 1);
        tk::ImagePixelArray image;
        tk::GrLoadImageData((dir_ / "map.png").string(), image);
        ASSERT_GT(image.width, 100);
        int lineColour = 0;
        tk::ColourNumberRgb(files::viewSettings().K_PLIN, lineColour);
        // The two profiles run east at different northings, both in the
        // profile lines' colour, although the first one's model baseline is
        // drawn in another pen.
        EXPECT_EQ(lineBands(image, static_cast<std::uint32_t>(lineColour), image.width / 4), 2);
        fs::copy_file(dir_ / "map.png", fs::path(PELK_SCREENSHOT_DIR) / "shell_export_map_lines.png",
                      fs::copy_options::overwrite_existing);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
