// Request 38 (an image file over the page) in the Windows printer, Windows
// metafile and CGM drivers: the picture arrives, and a file that cannot be
// read is answered as a failure.

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

}  // namespace
}  // namespace tk::test
