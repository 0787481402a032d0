// Printing the screen picture: a rectangle of the drawing surface comes
// out stretched over the page area on the "PDF file" printer.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/printing.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/printer_device_context.h"
#include "toolkit/output/screen_picture_print.h"

namespace tk {
namespace {

namespace fs = std::filesystem;

std::string output(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        pclose(p);
    }
    return out;
}

class ScreenPicturePrint : public ::testing::Test {
  protected:
    fs::path folder;
    void SetUp() override {
        setenv("PELK_PRINTER", "pdf", 1);
        folder = fs::temp_directory_path() / ("pelk-screenprint-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        setenv("PELK_PRINT_DIR", folder.c_str(), 1);
        ResetPrinterDeviceContext();
        PrinterGetDefault();
        drawingSurface() = DrawingSurface{};
        toolkitState().PageWords = {842, 595, 698, 451, 72, 72};
    }
    void TearDown() override {
        drawingSurface() = DrawingSurface{};
        ResetPrinterDeviceContext();
        toolkitState().reset();
        fs::remove_all(folder);
    }
};

TEST_F(ScreenPicturePrint, RectangleIsStretchedOverThePage) {
    // A 40 x 20 surface, white with its left half black.
    win::HDC surface = win::CreateCompatibleDC(nullptr);
    win::HBITMAP bitmap = win::CreateBitmap(40, 20, 1, 32, nullptr);
    win::HGDIOBJ kept = win::SelectObject(surface, bitmap);
    const win::RECT all{0, 0, 40, 20}, left{0, 0, 20, 20};
    win::FillRect(surface, &all, static_cast<win::HBRUSH>(win::GetStockObject(win::WHITE_BRUSH)));
    win::FillRect(surface, &left, static_cast<win::HBRUSH>(win::GetStockObject(win::BLACK_BRUSH)));
    drawingSurface().dc = surface;
    EXPECT_EQ(PrintScreenPicture("Screen", 0, 0, 39, 19), 0);
    const std::string pdf = win::lastPrintedFile();
    ASSERT_TRUE(fs::exists(pdf));
    const fs::path base = folder / "page";
    output("pdftoppm -r 36 -gray -singlefile '" + pdf + "' '" + base.string() + "'");
    // At 36 dpi a pixel is two points: the picture spans 72..770 by 72..523.
    const std::string probe =
        output("/usr/bin/convert '" + base.string() +
               ".pgm' -format '%[pixel:p{100,150}] %[pixel:p{300,150}] %[pixel:p{20,20}]' info:");
    EXPECT_EQ(probe, "gray(0) gray(255) gray(255)") << probe;

    drawingSurface() = DrawingSurface{};
    win::SelectObject(surface, kept);
    win::DeleteObject(bitmap);
    win::DeleteDC(surface);
}

TEST_F(ScreenPicturePrint, NoSurfaceFailsAfterTheStart) {
    EXPECT_EQ(PrintScreenPicture("Screen", 0, 0, 9, 9), 64);
}

TEST_F(ScreenPicturePrint, StartUpSeamsAreBound) {
    const GraphicsServices keptServices = graphicsServices();
    const ToolkitSeams keptSeams = seams();
    HardcopyOutputBind();
    ASSERT_TRUE(seams().printerQueryCaps);
    const PrinterCaps caps = seams().printerQueryCaps();
    EXPECT_EQ(caps.osError, 0);
    EXPECT_EQ(caps.usableLong, caps.longSide - 144);
    EXPECT_EQ(caps.marginX, 72);
    ASSERT_TRUE(graphicsServices().printPicture);
    EXPECT_EQ(graphicsServices().printPicture("Screen", 0, 0, 9, 9), 64);
    graphicsServices() = keptServices;
    seams() = keptSeams;
}

}  // namespace
}  // namespace tk
