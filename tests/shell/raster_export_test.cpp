// The profile window of the running program exported as BMP, PNG and PCX
// files through the hardcopy output (the bitmap-file driver), each read by
// an independent reader, and the PNG shown again in a bitmap viewer window.

#include "program_test_support.h"
#include "shell/window_views.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/output/bitmap_store.h"
#include "toolkit/output/bitmap_viewer.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/image_loading.h"
#include "toolkit/output/image_transfer.h"

namespace shell::test {
namespace {

std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

win::SIZE clientOf(int window) {
    win::RECT r{};
    win::GetClientRect(tk::windowSystem().slots[static_cast<std::size_t>(window)].client, &r);
    return {r.right, r.bottom};
}

// Draws the profile window again with the bitmap-file driver switched on.
void exportProfileWindow(int format, const fs::path& file) {
    const int window = profileWindow();
    tk::OutputWindowSelect(window);
    const win::SIZE size = clientOf(window);
    tk::HardcopySelectDriver(1, tk::hc::BitImageDriverNumber);
    tk::HardcopyOptionSet(tk::hc::PageWidth, size.cx);
    tk::HardcopyOptionSet(tk::hc::PageHeight, size.cy);
    tk::HardcopyOptionSet(tk::hc::ColourDepth, 24);
    tk::HardcopyOptionSet(tk::hc::BitmapFormat, format);
    tk::HardcopySwitch(file.string(), "Profile");
    ASSERT_EQ(tk::graphicsState().hardcopyDriver, tk::hc::BitImageDriverNumber);
    refreshProfileWindow();
    tk::HardcopySwitch("S");
}

TEST_F(ProgramTest, TheProfileWindowIsExportedAsImagesAndShownInABitmapViewer) {
    writeDatabase("SITE");
    Script s;
    s.check([&] {
        ASSERT_GT(profileWindow(), 0);
        const win::SIZE size = clientOf(profileWindow());
        const std::pair<int, const char*> files[] = {
            {1, "profile.bmp"}, {3, "profile.png"}, {0, "profile.pcx"}};
        for (const auto& [format, name] : files) {
            SCOPED_TRACE(name);
            const fs::path file = dir_ / name;
            exportProfileWindow(format, file);
            const std::string reader = format == 1 ? "bmptopnm" : format == 3 ? "pngtopnm" : "pcxtoppm";
            const std::string ppm = commandOutput(reader + " '" + file.string() + "' 2>/dev/null");
            EXPECT_EQ(ppm.rfind("P6\n" + std::to_string(size.cx) + " " + std::to_string(size.cy), 0), 0u);
            EXPECT_EQ(commandOutput("identify -format '%w %h' '" + file.string() + "' 2>&1"),
                      std::to_string(size.cx) + " " + std::to_string(size.cy));
            // The file is the window's picture: what was drawn, where the
            // screen drew it.
            tk::ImagePixelArray image;
            tk::GrLoadImageData(file.string(), image);
            ASSERT_EQ(image.width, size.cx);
            ASSERT_EQ(image.height, size.cy);
            win::HWND client = tk::windowSystem().slots[static_cast<std::size_t>(profileWindow())].client;
            win::HDC screen = win::GetDC(client);
            int drawn = 0, same = 0;
            for (int y = 0; y < size.cy; ++y)
                for (int x = 0; x < size.cx; ++x) {
                    drawn += image.at(x, y) != 0xFFFFFFu;
                    same += win::GetPixel(screen, x, y) == image.at(x, y);
                }
            win::ReleaseDC(client, screen);
            EXPECT_GT(drawn, 50);
            EXPECT_GT(same, size.cx * size.cy * 99 / 100);
        }
        EXPECT_EQ(commandOutput("pngcheck -q '" + (dir_ / "profile.png").string() + "'; echo $?"), "0\n");

        // The PNG file drawn into a stored bitmap, shown in a viewer window.
        int number = 0;
        tk::BitmapCreate(number, size.cx, size.cy, 0xFFFFFF);
        ASSERT_EQ(number, 1);
        tk::GrSelect(tk::BitmapTarget, number);
        tk::ImageTransfer t;
        t.kind = tk::image_kind::Png;
        t.x2 = size.cx - 1, t.y2 = size.cy - 1;
        int error = -1, os = -1;
        tk::ImageFileToDC(t, 0, error, os, (dir_ / "profile.png").string());
        EXPECT_EQ(error, 0);
        tk::GrSelect(tk::WindowTarget, profileWindow());
        int viewer = 0;
        tk::WindowOpenChildArgs a;
        a.x = 40, a.y = 40, a.width = 520, a.height = 420, a.title = "profile.png";
        tk::WindowOpenChild(viewer, a);
        int mode = 2, status = -1;
        tk::BitmapViewerOpen(number - 1, 0, 0, mode, 3, status);
        ASSERT_EQ(status, 0);
        EXPECT_EQ(tk::BitmapViewerInfo(viewer, 3), number);
        // The viewer shows the file's pixels from its top-left corner.
        tk::ImagePixelArray image;
        tk::GrLoadImageData((dir_ / "profile.png").string(), image);
        win::HWND view = reinterpret_cast<win::HWND>(
            tk::windowSystem().slots[static_cast<std::size_t>(viewer)].record->words[5]);
        win::HDC dc = win::GetDC(view);
        const win::SIZE shown = {std::min<int>(clientOf(viewer).cx, size.cx), 0};
        int same = 0, coloured = 0;
        for (int y = 0; y < std::min<int>(image.height, 300); ++y)
            for (int x = 0; x < shown.cx && x < 300; ++x) {
                const std::uint32_t p = image.at(x, y);
                const win::COLORREF c = win::GetPixel(dc, x, y);
                same += c == p;
                coloured += p != 0xFFFFFFu;
            }
        win::ReleaseDC(view, dc);
        EXPECT_GT(coloured, 10);
        EXPECT_EQ(same, std::min(image.height, 300) * std::min<int>(shown.cx, 300));
        fs::create_directories(PELK_SCREENSHOT_DIR);
        EXPECT_TRUE(win::robot::saveScreenPng(PELK_SCREENSHOT_DIR "/shell_profile_png_viewer.png"));
        fs::copy_file(dir_ / "profile.png", PELK_SCREENSHOT_DIR "/shell_profile_export.png",
                      fs::copy_options::overwrite_existing);
        tk::WindowCloseChild(viewer);
        tk::ResetBitmapStore();
        tk::OutputWindowSelect(0);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
