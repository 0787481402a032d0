// Request 38 (an image file over the page) in the Windows printer, Windows
// metafile, CGM and PostScript drivers: the picture arrives, and a file that
// cannot be read is answered as a failure.

#include <gtest/gtest.h>

#include "cgm_test_support.h"
#include "graphics_test_support.h"
#include "platform/gdi/printing.h"
#include "raster_support.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/image_loading.h"
#include "toolkit/output/image_writers.h"
#include "toolkit/output/printer_device_context.h"
#include "toolkit/output/printer_driver.h"

namespace tk::test {
namespace {

class ImageRequest : public GraphicsTest {
  protected:
    fs::path folder;
    void SetUp() override {
        GraphicsTest::SetUp();
        setenv("PELK_PRINTER", "pdf", 1);
        folder = privateFolder("imagerequest");
        setenv("PELK_PRINT_DIR", folder.c_str(), 1);
        ResetHardcopyOptions();
        ResetPrinterDeviceContext();
        ResetPrinterDriver();
        HardcopyOutputBind();
        recordScreen();
        useTarget(800, 600);
        // 3 x 2: a red top row with one green cell, a blue bottom row.
        ImageToWrite image;
        image.width = 3, image.height = 2, image.depth = 24;
        image.pixel = [](int x, int y) -> std::uint32_t {
            return y == 1 ? 0xFF0000u : x == 2 ? 0x00FF00u : 0x0000FFu;
        };
        writeBytes(folder / "picture.png", PngFileBytes(image));
    }
    void TearDown() override {
        HardcopySwitch("S");
        ResetPrinterDriver();
        ResetPrinterDeviceContext();
        ResetHardcopyOptions();
        fs::remove_all(folder);
        GraphicsTest::TearDown();
    }
    // Sends request 38 for a file and answers its value word.
    static int image(const fs::path& file) {
        deviceTextBuffer().assign(file.string());
        DeviceParameterBlock& b = deviceBlock();
        b.pixX[1] = 15, b.pixX[2] = 3, b.pixY[2] = 2;
        b.value = -1;
        SendHardcopyRequest(38);
        return deviceBlock().value;
    }
};

TEST_F(ImageRequest, TheCgmFileHoldsTheImageAsACellArray) {
    HardcopySelectDriver(1, hc::CgmDriverNumber);
    const fs::path file = folder / "image.cgm";
    HardcopySwitch(file.string());
    ASSERT_EQ(image(folder / "picture.png"), 0);
    EXPECT_NE(image(folder / "missing.png"), 0);
    HardcopySwitch("S");
    const std::vector<std::uint8_t> bytes = fileBytes(file);
    const auto es = decodeCgm(std::string(bytes.begin(), bytes.end()));
    const auto cells = find(es, 4, 9);
    ASSERT_EQ(cells.size(), 1u);
    const DecodedElement& e = *cells[0];
    EXPECT_EQ(e.word(6), 3);  // cells per row
    EXPECT_EQ(e.word(7), 2);  // rows
    EXPECT_EQ(e.word(8), 8);
    // First row: two red cells, one green; second row one run of blue.
    EXPECT_EQ(hex(e.params.substr(20, 10)), "00 02 FF 00 00 00 01 00 FF 00");
    EXPECT_EQ(hex(e.params.substr(30, 5)), "00 03 00 00 FF");
}

TEST_F(ImageRequest, ThePrintedPageShowsTheImageOverTheGraphicsArea) {
    HardcopySelectDriver(1, hc::PrinterDriverNumber);
    HardcopySwitch("", "Image");
    ASSERT_EQ(graphicsState().hardcopyDriver, hc::PrinterDriverNumber);
    EXPECT_EQ(image(folder / "missing.png"), 1);
    EXPECT_EQ(image(folder / "picture.png"), 0);
    HardcopySwitch("S");
    const std::string pdf = win::lastPrintedFile();
    ASSERT_FALSE(pdf.empty());
    const fs::path base = folder / "page";
    runCommand("pdftoppm -r 36 -png -singlefile '" + pdf + "' '" + base.string() + "'");
    ImagePixelArray page;
    GrLoadImageData(base.string() + ".png", page);
    ASSERT_GT(page.width, 100);
    // Inside the one-inch margin (36 pixels at 36 dpi) the top left is red,
    // the top right green and the bottom right blue; the margin is paper.
    EXPECT_EQ(page.at(60, 60), 0x0000FFu);
    EXPECT_EQ(page.at(page.width - 60, 60), 0x00FF00u);
    EXPECT_EQ(page.at(page.width - 60, page.height - 60), 0xFF0000u);
    EXPECT_EQ(page.at(10, 10), 0xFFFFFFu);
}

TEST_F(ImageRequest, TheMetafileRecordsTheImage) {
    HardcopySelectDriver(1, hc::MetafileDriverNumber);
    const fs::path file = folder / "image.wmf";
    HardcopySwitch(file.string());
    ASSERT_EQ(image(folder / "picture.png"), 0);
    HardcopySwitch("S");
    const std::vector<std::uint8_t> bytes = fileBytes(file);
    // A StretchDIB record (function 0x0F43) among the records after the
    // placeable and standard headers.
    const std::string record = {0x43, 0x0F};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), record.begin(), record.end()), bytes.end());
    const CommandResult svg = runCommand("wmf2svg '" + file.string() + "' 2>&1");
    EXPECT_NE(svg.out.find("<image"), std::string::npos) << svg.out.substr(0, 400);
}

TEST_F(ImageRequest, ThePostScriptPageShowsTheImageAsHexColours) {
    HardcopySelectDriver(1, hc::PostScriptDriverNumber);
    HardcopyOptionSet(hc::Orientation, 0);  // the sheet upright, as the picture
    HardcopyOptionSet(hc::PageWidth, 480);
    HardcopyOptionSet(hc::PageHeight, 360);
    const fs::path file = folder / "image.ps";
    HardcopySwitch(file.string());
    EXPECT_EQ(image(folder / "missing.png"), 1);
    EXPECT_EQ(image(folder / "picture.png"), 0);
    HardcopySwitch("S");
    const std::vector<std::uint8_t> bytes = fileBytes(file);
    const std::string ps(bytes.begin(), bytes.end());
    // One image: the top row red, red, green, then a blue row, in one line.
    const std::size_t at = ps.find("/picstr 9 string def");
    ASSERT_NE(at, std::string::npos) << ps;
    EXPECT_NE(ps.find("3 2 8 [3 0 0 -2 0 2]", at), std::string::npos);
    EXPECT_NE(ps.find("colorimage", at), std::string::npos);
    EXPECT_NE(ps.find("ff0000ff000000ff000000ff0000ff0000ff\r\n", at), std::string::npos);
    EXPECT_EQ(ps.find("/picstr", at + 1), std::string::npos);

    // Ghostscript draws it: red above blue, green right of red.
    const fs::path png = folder / "image.png";
    const CommandResult gs = runCommand("gs -q -dSAFER -dNOPAUSE -dBATCH -r36 -sDEVICE=png16m -sOutputFile='" +
                                        png.string() + "' '" + file.string() + "' 2>&1");
    EXPECT_EQ(gs.out, "");
    fs::create_directories(PELK_SCREENSHOT_DIR);
    fs::copy_file(png, PELK_SCREENSHOT_DIR "/toolkit_postscript_image.png",
                  fs::copy_options::overwrite_existing);
    ImagePixelArray page;
    GrLoadImageData(png.string(), page);
    ASSERT_GT(page.width, 100);
    struct Mean { double x = 0, y = 0; int n = 0; };
    Mean red, green, blue;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x) {
            const std::uint32_t p = page.at(x, y);
            Mean* m = p == 0x0000FFu ? &red : p == 0x00FF00u ? &green : p == 0xFF0000u ? &blue : nullptr;
            if (m) m->x += x, m->y += y, ++m->n;
        }
    ASSERT_GT(red.n, 100);
    ASSERT_GT(green.n, 50);
    ASSERT_GT(blue.n, 100);
    EXPECT_LT(red.y / red.n, blue.y / blue.n);
    EXPECT_GT(green.x / green.n, red.x / red.n);
    EXPECT_NEAR(red.n, 2.0 * green.n, 0.1 * red.n);  // two cells of red, one of green
}

}  // namespace
}  // namespace tk::test
