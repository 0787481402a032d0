// Pictures drawn into a device context from image files (stretched, in
// their own size, turned with the page) and rectangles of the drawing
// surface saved as files that independent readers read.

#include <gtest/gtest.h>

#include "graphics_test_support.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/surface_dc.h"
#include "platform/window/clipboard_api.h"
#include "raster_support.h"
#include "toolkit/output/image_transfer.h"
#include "toolkit/output/image_writers.h"

namespace tk::test {
namespace {

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// A 2 x 2 picture file: red, green on top; blue, white below.
class ImageTransferTest : public GraphicsTest {
  protected:
    win::Surface surface{20, 16, 0};
    fs::path folder;
    void SetUp() override {
        GraphicsTest::SetUp();
        folder = privateFolder("transfer");
        drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
        ImageToWrite image;
        image.width = image.height = 2;
        image.depth = 24;
        image.pixel = [](int x, int y) -> std::uint32_t {
            static const std::uint32_t packed[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
            return packed[y * 2 + x];
        };
        writeBytes(folder / "quad.png", PngFileBytes(image));
        writeBytes(folder / "quad.bmp", BmpFileBytes(image, false));
        writeBytes(folder / "quad.pcx", PcxFileBytes(image));
    }
    void TearDown() override {
        win::DeleteDC(drawingSurface().dc);
        fs::remove_all(folder);
        GraphicsTest::TearDown();
    }
    int draw(const ImageTransfer& t, const std::string& name) {
        int error = -1, os = -1;
        ImageFileToDC(t, 0, error, os, (folder / name).string());
        return error;
    }
};

TEST_F(ImageTransferTest, EachKindIsStretchedIntoTheRectangle) {
    const std::pair<int, const char*> files[] = {{15, "quad.png"}, {1, "quad.bmp"}, {2, "quad.pcx"}};
    for (const auto& [kind, name] : files) {
        SCOPED_TRACE(name);
        surface.pixels.assign(surface.pixels.size(), 0);
        ImageTransfer t;
        t.kind = kind;
        t.x1 = 2, t.y1 = 2, t.x2 = 9, t.y2 = 9;
        ASSERT_EQ(draw(t, name), 0);
        EXPECT_EQ(surface.at(2, 2), kRed);
        EXPECT_EQ(surface.at(9, 2), kGreen);
        EXPECT_EQ(surface.at(2, 9), kBlue);
        EXPECT_EQ(surface.at(9, 9), kWhite);
        EXPECT_EQ(surface.at(10, 10), 0u);
    }
    ImageTransfer wrongKind;
    wrongKind.kind = 2;
    EXPECT_EQ(draw(wrongKind, "quad.png"), 27);
    EXPECT_EQ(draw(wrongKind, "missing.pcx"), 1);
}

TEST_F(ImageTransferTest, UnstretchedAndTurnedPictures) {
    ImageTransfer t;
    t.kind = 15;
    t.x1 = 4, t.y1 = 3, t.x2 = 15, t.y2 = 12;
    t.stretch = false;
    ASSERT_EQ(draw(t, "quad.png"), 0);
    EXPECT_EQ(surface.at(4, 3), kRed);
    EXPECT_EQ(surface.at(5, 4), kWhite);
    EXPECT_EQ(surface.at(6, 3), 0u);
    // A quarter turn: the picture's top-right corner becomes its top-left,
    // drawn where the turn about the offsets puts the rectangle.
    surface.pixels.assign(surface.pixels.size(), 0);
    t.stretch = true;
    t.rotation = 90;
    t.x1 = 0, t.y1 = 0, t.x2 = 7, t.y2 = 9;  // turned to columns 0-9, rows 10-17
    t.offsetX = 0, t.offsetY = 17;
    ASSERT_EQ(draw(t, "quad.png"), 0);
    EXPECT_EQ(surface.at(0, 10), kGreen);
    EXPECT_EQ(surface.at(9, 10), kWhite);
    EXPECT_EQ(surface.at(0, 15), kRed);
}

TEST_F(ImageTransferTest, SavedRectanglesAreReadByIndependentReaders) {
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x)
            surface.at(x, y) = x < 3 ? kRed : kBlue;
    const std::pair<int, const char*> files[] = {{1, "saved.bmp"}, {2, "saved.pcx"}, {15, "saved.png"}};
    for (const auto& [kind, name] : files) {
        SCOPED_TRACE(name);
        int error = -1, os = -1;
        ImageSaveFromDC(kind, 1, 2, 5, 7, error, os, (folder / name).string());
        ASSERT_EQ(error, 0);
        const Pixmap read = readWithNetpbm(folder / name);
        ASSERT_EQ(read.width, 5);
        ASSERT_EQ(read.height, 6);
        EXPECT_EQ(read.at(0, 0), kRed);
        EXPECT_EQ(read.at(4, 5), kBlue);
    }
    const std::vector<std::uint8_t> pcx = fileBytes(folder / "saved.pcx");
    EXPECT_EQ(pcx[66], 6);  // bytes per line of a 5-pixel row, even
    EXPECT_EQ(pcx[8], 4);
    int error = -1, os = -1;
    ImageSaveFromDC(1, 0, 0, 3, 3, error, os, (folder / "no" / "such.bmp").string());
    EXPECT_EQ(error, 1);
}

TEST_F(ImageTransferTest, TheClipboardNeedsABitmap) {
    ASSERT_TRUE(win::OpenClipboard(nullptr));
    win::EmptyClipboard();
    win::CloseClipboard();
    ImageTransfer t;
    t.kind = 0;
    EXPECT_EQ(draw(t, ""), 1095);
    int error = -1, os = -1;
    ImageSaveFromDC(0, 0, 0, 1, 1, error, os, "");
    EXPECT_EQ(error, 0);
    t.x1 = 10, t.y1 = 10, t.x2 = 13, t.y2 = 13;
    surface.at(0, 0) = kGreen;
    surface.at(1, 1) = kGreen;
    ImageSaveFromDC(0, 0, 0, 1, 1, error, os, "");
    EXPECT_EQ(draw(t, ""), 0);
    EXPECT_EQ(surface.at(10, 10), kGreen);
}

}  // namespace
}  // namespace tk::test
