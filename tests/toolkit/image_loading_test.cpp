// Reading BMP, PCX and PNG files into packed colours: the layouts the
// loader must understand, and damaged or unsupported files.

#include <gtest/gtest.h>
#include <zlib.h>

#include "raster_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/output/image_loading.h"
#include "toolkit/output/image_writers.h"

namespace tk::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k)
        b[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v >> (8 * k));
}

// A BMP header of 54 bytes for the given size and depth.
Bytes bmpHeader(int width, int height, int bits, std::uint32_t dataOffset = 54,
                std::uint32_t compression = 0) {
    Bytes b(54, 0);
    b[0] = 'B', b[1] = 'M';
    put32(b, 10, dataOffset);
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(width));
    put32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<std::uint8_t>(bits);
    put32(b, 30, compression);
    return b;
}

// A PCX header for one 8-bit plane.
Bytes pcxHeader(int width, int height, int bytesPerLine) {
    Bytes b(128, 0);
    b[0] = 10, b[1] = 5, b[2] = 1, b[3] = 8;
    b[8] = static_cast<std::uint8_t>(width - 1);
    b[10] = static_cast<std::uint8_t>(height - 1);
    b[65] = 1;
    b[66] = static_cast<std::uint8_t>(bytesPerLine);
    return b;
}

ImageToWrite rgbImage(int width, int height) {
    ImageToWrite image;
    image.width = width, image.height = height, image.depth = 24;
    image.pixel = [](int x, int y) { return static_cast<std::uint32_t>(x * 40 + y * 0x4000); };
    return image;
}

int decode(const Bytes& b, ImagePixelArray& image) {
    return DecodeImage(b.data(), b.size(), image);
}

TEST(ImageLoading, BmpRowsArePaddedAndStoredBottomUp) {
    Bytes b = bmpHeader(3, 2, 24);
    // Bottom row first: blue, green, red bytes and three pad bytes.
    const Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 20, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    b.insert(b.end(), rows.begin(), rows.end());
    ImagePixelArray image;
    ASSERT_EQ(decode(b, image), 0);
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(image.at(0, 1), 0x010203u);  // red 3, green 2, blue 1
    EXPECT_EQ(image.at(2, 1), 0x070809u);
    EXPECT_EQ(image.at(0, 0), 0x0A141Eu);
    // Stored top-down (negative height) the same rows swap places.
    put32(b, 22, static_cast<std::uint32_t>(-2));
    ASSERT_EQ(decode(b, image), 0);
    EXPECT_EQ(image.at(0, 0), 0x010203u);
}

TEST(ImageLoading, BmpColourTableAndRunLengthCoding) {
    // 8 bits, colour table of two entries, run-length coded: a run of 3 of
    // colour 1, a literal run of 3 pixels, end of line; the next row a
    // delta and one pixel; end of bitmap.
    Bytes b = bmpHeader(6, 2, 8, 54 + 8, 1);
    const Bytes table = {0, 0, 255, 0, 255, 0, 0, 0};  // red, blue
    b.insert(b.end(), table.begin(), table.end());
    const Bytes data = {3, 1, 0, 3, 0, 1, 0, 0, 0, 0, 0, 2, 4, 0, 1, 1, 0, 1};
    b.insert(b.end(), data.begin(), data.end());
    ImagePixelArray image;
    ASSERT_EQ(decode(b, image), 0);
    EXPECT_EQ(image.at(0, 1), 0xFF0000u);  // bottom row: colour 1 is blue
    EXPECT_EQ(image.at(3, 1), 0x0000FFu);
    EXPECT_EQ(image.at(4, 1), 0xFF0000u);
    EXPECT_EQ(image.at(4, 0), 0xFF0000u);
    EXPECT_EQ(image.at(3, 0), 0u);
}

TEST(ImageLoading, PcxRunsAndPalette) {
    Bytes b = pcxHeader(4, 1, 4);
    const Bytes data = {0xC3, 0x05, 0xC0, 0x09, 0x07};
    b.insert(b.end(), data.begin(), data.end());
    Bytes palette(769, 0);
    palette[0] = 12;
    palette[1 + 3 * 5] = 200;      // colour 5 is red 200
    palette[1 + 3 * 7 + 2] = 100;  // colour 7 is blue 100
    b.insert(b.end(), palette.begin(), palette.end());
    ImagePixelArray image;
    ASSERT_EQ(decode(b, image), 0);
    EXPECT_EQ(image.at(0, 0), 200u);
    EXPECT_EQ(image.at(2, 0), 200u);
    EXPECT_EQ(image.at(3, 0), 100u << 16);  // the empty run 0xC0 added no pixel
    b[b.size() - 769] = 11;
    EXPECT_EQ(decode(b, image), 2);
}

TEST(ImageLoading, PngKindsTheLoaderRefusesAndOneItReads) {
    const Bytes png = PngFileBytes(rgbImage(5, 4));
    ImagePixelArray image;
    ASSERT_EQ(decode(png, image), 0);
    EXPECT_EQ(image.at(3, 2), 3u * 40 + 2 * 0x4000);
    // A long ancillary chunk before the image data is skipped.
    Bytes withText(png.begin(), png.begin() + 33);
    Bytes chunk = {0, 1, 0x86, 0xA0, 't', 'E', 'X', 't'};
    chunk.resize(8 + 100000, 'a');
    chunk[8] = 'k', chunk[9] = 0;
    const uLong crc = crc32(0, chunk.data() + 4, 4 + 100000);
    for (int k = 3; k >= 0; --k)
        chunk.push_back(static_cast<std::uint8_t>(crc >> (8 * k)));
    withText.insert(withText.end(), chunk.begin(), chunk.end());
    withText.insert(withText.end(), png.begin() + 33, png.end());
    ASSERT_EQ(decode(withText, image), 0);
    EXPECT_EQ(image.at(4, 3), 4u * 40 + 3 * 0x4000);
    for (const auto& [offset, value] : {std::pair{25, 0}, {25, 4}, {28, 1}}) {
        Bytes changed = png;
        changed[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
        EXPECT_EQ(decode(changed, image), 27) << offset << " " << value;
    }
}

TEST(ImageLoading, DamagedAndOversizedFiles) {
    ImagePixelArray image;
    // Data that ends early keeps the rows read so far, without an error.
    Bytes shortBmp = bmpHeader(2, 2, 24);
    const Bytes oneRow = {9, 9, 9, 9, 9, 9, 0, 0};
    shortBmp.insert(shortBmp.end(), oneRow.begin(), oneRow.end());
    EXPECT_EQ(decode(shortBmp, image), 0);
    EXPECT_EQ(image.at(0, 1), 0x090909u);
    const Bytes png = PngFileBytes(rgbImage(40, 30));
    EXPECT_EQ(decode(Bytes(png.begin(), png.end() - 40), image), 0);
    // Sizes past the limit are refused before anything is allocated.
    Bytes huge = bmpHeader(60000, 60000, 24);
    EXPECT_EQ(decode(huge, image), 27);
    EXPECT_TRUE(image.pixels.empty());
    Bytes hugePcx = pcxHeader(1, 1, 2);
    hugePcx[9] = hugePcx[11] = 0xFF;
    EXPECT_EQ(decode(hugePcx, image), 27);
    EXPECT_EQ(decode(Bytes{'G', 'I', 'F', '8'}, image), 27);
}

TEST(ImageLoading, LoadReportsUnreadableFilesUnderItsName) {
    const fs::path folder = privateFolder("load");
    ToolkitState& t = toolkitState();
    t.reset();
    writeBytes(folder / "text.bmp", {'h', 'e', 'l', 'l', 'o'});
    ImagePixelArray image;
    GrLoadImageData((folder / "text.bmp").string(), image);
    EXPECT_EQ(t.LastErrorNumber, 27);
    EXPECT_EQ(t.LastErrorRoutine, "GrLoadImageData");
    t.LastErrorNumber = 0;
    GrLoadImageData((folder / "missing.png").string(), image);
    EXPECT_EQ(t.LastErrorNumber, 1);
    EXPECT_TRUE(image.pixels.empty());
    fs::remove_all(folder);
}

}  // namespace
}  // namespace tk::test
