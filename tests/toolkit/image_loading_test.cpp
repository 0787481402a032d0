// Reading BMP, PCX and PNG files into packed colours: the layouts the
// loader must understand, and damaged or unsupported files.

#include <gtest/gtest.h>
#include <zlib.h>

#include "raster_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/output/image_file_identify.h"
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

// Rows of an uncompressed BMP turned top-down: the height negated and the
// rows stored in the opposite order.
Bytes topDown(const Bytes& bmp) {
    const std::uint32_t offset = bmp[10] | bmp[11] << 8 | bmp[12] << 16 | bmp[13] << 24;
    const int width = bmp[18] | bmp[19] << 8, height = bmp[22] | bmp[23] << 8, bits = bmp[28];
    const std::size_t rowBytes = (static_cast<std::size_t>(bits) * width + 31) / 32 * 4;
    Bytes out = bmp;
    put32(out, 22, static_cast<std::uint32_t>(-height));
    for (int k = 0; k < height; ++k)
        std::copy_n(bmp.begin() + offset + k * rowBytes, rowBytes,
                    out.begin() + offset + (height - 1 - k) * rowBytes);
    return out;
}

// BMP files as ImageMagick writes them (info headers of 40, 108 and 124
// bytes, colour tables of their own length, the pixels where the header says)
// read as ImageMagick reads them.
TEST(ImageLoading, BmpFilesOfEveryHeaderAndDepthMatchImageMagick) {
    const fs::path folder = privateFolder("bmp-headers");
    const fs::path source = folder / "source.png";
    ASSERT_EQ(runCommand("/usr/bin/convert -size 23x11 -seed 3 plasma: '" + source.string() + "'").status, 0);
    struct Case {
        const char* options;
        int bits, header;
    };
    const Case cases[] = {
        {"-type bilevel", 1, 108},
        {"-colors 16 -type palette -compress none", 4, 124},
        {"-colors 16 -type palette -compress none -define bmp:format=bmp3", 4, 40},
        {"-colors 200 -type palette -compress none", 8, 124},
        {"-colors 200 -type palette", 8, 124},
        {"-colors 200 -type palette -define bmp:format=bmp3", 8, 40},
        {"-type truecolor", 24, 124},
        {"-alpha set", 32, 124},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const fs::path bmp = folder / "image.bmp";
        ASSERT_EQ(runCommand("/usr/bin/convert '" + source.string() + "' " + c.options + " '" +
                             bmp.string() + "'").status, 0);
        const Bytes bytes = fileBytes(bmp);
        ASSERT_GT(bytes.size(), 54u);
        EXPECT_EQ(bytes[28], c.bits);
        EXPECT_EQ(bytes[14], c.header);
        const Pixmap expected =
            parsePpm(runCommand("/usr/bin/convert '" + bmp.string() + "' -alpha off -depth 8 ppm:-").out);
        ASSERT_EQ(expected.width, 23);
        const bool compressed = bytes[30] != 0 && bytes[30] != 3;
        std::vector<Bytes> files{bytes};
        if (!compressed) files.push_back(topDown(bytes));
        for (const Bytes& file : files) {
            ImagePixelArray image;
            ASSERT_EQ(decode(file, image), 0);
            ASSERT_EQ(image.width, expected.width);
            ASSERT_EQ(image.height, expected.height);
            int wrong = 0;
            for (int y = 0; y < image.height; ++y)
                for (int x = 0; x < image.width; ++x) {
                    const std::uint32_t p = image.at(x, y);
                    const std::uint32_t rgb = (p & 255u) << 16 | (p & 0xFF00u) | p >> 16;
                    wrong += rgb != expected.at(x, y);
                }
            EXPECT_EQ(wrong, 0);
        }
    }
    fs::remove_all(folder);
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

// A chunk that claims far more bytes than the file holds is refused as
// damaged before libpng sets aside memory for it (a 115-byte file used to
// make it allocate 721 MB and then pass as an empty image).
TEST(ImageLoading, PngChunkLongerThanTheFileIsRefused) {
    const Bytes png = PngFileBytes(rgbImage(1, 7));
    for (const char* name : {"sPLT", "iCCP", "zTXt", "iTXt", "tEXt", "eXIf"}) {
        Bytes damaged(png.begin(), png.begin() + 33);
        const Bytes chunk = {0x2B, 0, 0, 0, static_cast<std::uint8_t>(name[0]),
                             static_cast<std::uint8_t>(name[1]), static_cast<std::uint8_t>(name[2]),
                             static_cast<std::uint8_t>(name[3]), 'p', 0, 8, 0, 0, 0, 0, 0};
        damaged.insert(damaged.end(), chunk.begin(), chunk.end());
        ImagePixelArray image;
        EXPECT_EQ(decode(damaged, image), 2) << name;
        EXPECT_TRUE(image.pixels.empty()) << name;
    }
}

// The loader takes a file for an image exactly when the toolkit's
// identification says it is a BMP, PCX or PNG file.
TEST(ImageLoading, TheLoaderReadsWhatIdentificationTakesForAnImage) {
    const fs::path folder = privateFolder("identified");
    Bytes bmp = bmpHeader(2, 2, 24);
    bmp.resize(bmp.size() + 16, 0x40);
    Bytes reserved = bmp;
    reserved[7] = 1;  // the reserved word of the file header is not 0
    Bytes core = bmp;
    put32(core, 14, 12);  // an information header of 12 bytes
    const Bytes png = PngFileBytes(rgbImage(3, 2));
    Bytes pcx = pcxHeader(2, 2, 2);
    pcx.insert(pcx.end(), {1, 2, 3, 4, 12});
    pcx.resize(pcx.size() + 768, 7);
    struct File {
        const char* name;
        const Bytes* bytes;
        bool image;
    };
    const File files[] = {{"plain.bmp", &bmp, true},      {"reserved.bmp", &reserved, false},
                          {"core.bmp", &core, false},     {"plain.png", &png, true},
                          {"plain.pcx", &pcx, true}};
    ToolkitState& t = toolkitState();
    for (auto [name, bytes, expected] : files) {
        SCOPED_TRACE(name);
        const fs::path file = folder / name;
        writeBytes(file, *bytes);
        ImageFileInfo info;
        ImageFileIdentify(file.string(), info, 1);
        const bool image = info[1] == ImageBmp || info[1] == ImagePcx || info[1] == ImagePng;
        EXPECT_EQ(image, expected);
        t.LastErrorNumber = 0;
        ImagePixelArray loaded;
        GrLoadImageData(file.string(), loaded);
        EXPECT_EQ(t.LastErrorNumber, image ? 0 : 27);
        EXPECT_EQ(loaded.pixels.empty(), !image);
    }
    EXPECT_EQ(ImageKindOf(reserved.data(), reserved.size()), -1);
    fs::remove_all(folder);
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
