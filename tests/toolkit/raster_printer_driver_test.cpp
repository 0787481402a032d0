// The raster printer driver: the PCL page of the default page printer
// decoded back to its dots, the dot-matrix passes, composite black, the
// one-plane colour option and the row compressions.

#include <gtest/gtest.h>

#include "graphics_test_support.h"
#include "raster_support.h"
#include "toolkit/core/startup.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/raster_printer_driver.h"
#include "toolkit/output/raster_state.h"

namespace tk::test {
namespace {

using Bytes = std::vector<unsigned char>;

// TIFF PackBits, as PCL method 2 and ESC/P2 code rows.
Bytes unpack(const Bytes& in) {
    Bytes out;
    for (std::size_t k = 0; k < in.size();) {
        const int h = static_cast<signed char>(in[k++]);
        if (h >= 0) {
            for (int n = 0; n <= h && k < in.size(); ++n)
                out.push_back(in[k++]);
        } else if (h != -128 && k < in.size()) {
            out.insert(out.end(), static_cast<std::size_t>(1 - h), in[k++]);
        }
    }
    return out;
}

bool contains(const Bytes& file, const std::string& part) {
    return std::search(file.begin(), file.end(), part.begin(), part.end()) != file.end();
}

class RasterPrinterTest : public GraphicsTest {
  protected:
    fs::path folder;
    void SetUp() override {
        GraphicsTest::SetUp();
        ResetHardcopyOptions();
        ResetRasterState();
        folder = privateFolder("prn");
        HardcopyOutputBind();
        recordScreen();
        useTarget(400, 300);
    }
    void TearDown() override {
        HardcopySwitch("S");
        RasterPrinterModelSet(28);
        fs::remove_all(folder);
        GraphicsTest::TearDown();
    }
    void model(int number) {
        RasterPrinterModelSet(number);
        HardcopySelectDriver(1, hc::RasterDriverNumber);
    }
    // A horizontal line across the page at a third of its height.
    Bytes printLine(const std::string& name) {
        const fs::path file = folder / name;
        HardcopySwitch(file.string());
        EXPECT_EQ(graphicsState().hardcopyDriver, hc::RasterDriverNumber);
        GrColourN(223);
        DrawLineDevice(0.0f, 100.0f, 399.0f, 100.0f);
        HardcopySwitch("S");
        return fileBytes(file);
    }
};

TEST_F(RasterPrinterTest, DefaultPclPageDecodesToTheDrawnDots) {
    model(28);
    const HardcopyOptions& o = hardcopyOptions();
    EXPECT_EQ(o[hc::PageWidth], 576);
    EXPECT_EQ(o[hc::PageOffsetX], 100);
    EXPECT_EQ(o[hc::Orientation], 1);
    EXPECT_EQ(o.defaultFileName.str(), "doredere.prn");
    const Bytes file = printLine("page.prn");
    // Landscape at 150 dpi: 1200 printed lines of 900 dots.
    const std::string start = "\x1b" "E\x1b&a0700h1000V\x1b*t150R\x1b*r0904s1A\x1b*b2M";
    ASSERT_GE(file.size(), start.size());
    EXPECT_EQ(std::string(file.begin(), file.begin() + static_cast<long>(start.size())), start);
    const std::string end = "\x1b&l01X\x1b*rB\x1b" "E";
    EXPECT_EQ(std::string(file.end() - static_cast<long>(end.size()), file.end()), end);
    int lines = 0, inked = 0;
    for (std::size_t k = start.size(); k + end.size() < file.size();) {
        ASSERT_EQ(file[k], 27);
        ASSERT_EQ(file[k + 1], '*');
        ASSERT_EQ(file[k + 2], 'b');
        std::size_t d = k + 3;
        int count = 0;
        while (std::isdigit(file[d]))
            count = count * 10 + (file[d++] - '0');
        ASSERT_EQ(file[d], 'W');
        const Bytes row = unpack(Bytes(file.begin() + static_cast<long>(d) + 1,
                                       file.begin() + static_cast<long>(d) + 1 + count));
        // The line is row 300 of the page: dot 899 - 300 of each printed line.
        for (std::size_t b = 0; b < row.size(); ++b)
            for (int bit = 0; bit < 8; ++bit)
                if (row[b] & (0x80 >> bit)) {
                    EXPECT_EQ(static_cast<int>(b) * 8 + bit, 599);
                    ++inked;
                }
        ++lines;
        k = d + 1 + static_cast<std::size_t>(count);
    }
    EXPECT_EQ(lines, 1200);
    EXPECT_EQ(inked, 1198);
}

TEST_F(RasterPrinterTest, UncompressedRowsEmptyPagesAndTheCompressedHeader) {
    model(28);
    hardcopyOptions()[hc::CompressionOption] = 0;
    const Bytes file = printLine("plain.prn");
    EXPECT_TRUE(contains(file, "\x1b*b000W\x1b*b000W"));
    EXPECT_FALSE(contains(file, "\x1b*b2M"));
    // A page with nothing drawn sends nothing.
    const fs::path empty = folder / "empty.prn";
    HardcopySwitch(empty.string());
    HardcopySwitch("S");
    EXPECT_EQ(fs::file_size(empty), 0u);
    // Method 2 of 45 distinct bytes: one literal of 46, header "45".
    printerJob().compression = 2;
    Bytes row(45);
    for (std::size_t k = 0; k < row.size(); ++k)
        row[k] = static_cast<unsigned char>(k * 3 + 1);
    const Bytes original = row;
    PclCompressRow(row, 0);
    EXPECT_EQ(printerJob().lineHeader[0], "\x1b*b46W");
    EXPECT_EQ(unpack(row), original);
    Bytes runs = {5, 5, 5, 5, 1, 2, 3, 3, 3, 9};
    const Bytes runsOriginal = runs;
    PclCompressRow(runs, 1);
    EXPECT_EQ(unpack(runs), runsOriginal);
    Bytes long129(129, 7);
    ASSERT_TRUE(PackBitsRow(long129));
    EXPECT_EQ(long129, (Bytes{static_cast<unsigned char>(-126), 7, static_cast<unsigned char>(-1), 7}));
}

TEST_F(RasterPrinterTest, DotMatrixPassesAndCompositeBlack) {
    model(2);  // 8 pins, 120 dpi: two interleaved passes
    const Bytes file = printLine("matrix.prn");
    EXPECT_TRUE(contains(file, "\x1bU\x01"));
    EXPECT_TRUE(contains(file, std::string("\x1b" "3\x01", 3)));
    EXPECT_TRUE(contains(file, "\x1b" "3\x16"));
    EXPECT_TRUE(contains(file, "\x1b" "L"));
    // The page ends with the line spacing reset and a form feed.
    EXPECT_EQ(std::string(file.end() - 3, file.end()), "\x1b" "2\f");

    model(23);  // three planes, cyan/magenta/yellow
    HardcopySwitch((folder / "colour.prn").string());
    GrColourN(223);
    DrawLineDevice(10.0f, 100.0f, 200.0f, 100.0f);
    const RasterState& r = rasterState();
    ASSERT_EQ(r.planes, 3);
    // Find the printed dot of the line (portrait: line = top row down).
    const int line = r.rowCount - 1 - static_cast<int>(100.0f * graphicsState().hardcopyScaleY);
    const int dot = static_cast<int>(50.0f * graphicsState().hardcopyScaleX);
    PrinterJobState& j = printerJob();
    for (int plane : {0, 1, 2}) {
        j.currentPlane = plane;
        EXPECT_FALSE(RasterFetch(dot, line)) << plane;
    }
    j.currentPlane = -1;
    EXPECT_TRUE(RasterFetch(dot, line));
    HardcopySwitch("S");
    EXPECT_TRUE(contains(fileBytes(folder / "colour.prn"), "\x1br\x04"));
}

TEST_F(RasterPrinterTest, OnePlaneForAColourModelWhenAsked) {
    model(13);  // PCL with three red/green/blue planes
    HardcopyOptionSet(hc::ColourHandling, 1);
    const Bytes file = printLine("mono.prn");
    EXPECT_EQ(rasterState().planes, 1);
    EXPECT_TRUE(contains(file, "1u1A"));
    hardcopyOptions()[hc::ColourHandling] = 0;
    const Bytes colour = printLine("rgb.prn");
    EXPECT_TRUE(contains(colour, "3u1A"));
    EXPECT_TRUE(contains(colour, "V"));
}

}  // namespace
}  // namespace tk::test
