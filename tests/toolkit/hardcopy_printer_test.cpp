// The printer driver: a drawing made with the ordinary graphics routines
// comes out of the "PDF file" printer (checked with poppler's tools), and
// the printer context applies the page set-up's overrides it supports.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "graphics_test_support.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/printing.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/polygon_fill.h"
#include "toolkit/graphics/text_output.h"
#include "toolkit/graphics/text_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/printer_device_context.h"
#include "toolkit/output/printer_driver.h"

namespace tk {
namespace {

namespace fs = std::filesystem;

// The page count of pdfinfo's report.
int pageCount(const std::string& report) {
    const std::size_t at = report.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(report.c_str() + at + 6);
}

std::string run(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        pclose(p);
    }
    return out;
}

// A grey picture read from a binary PGM file.
struct Grey {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    int at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 255;
        return pixels[static_cast<std::size_t>(y * width + x)];
    }
    // The darkest pixel within r of (x, y).
    int darkest(int x, int y, int r) const {
        int v = 255;
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx)
                v = std::min(v, at(x + dx, y + dy));
        return v;
    }
};

Grey readPgm(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    Grey g;
    in >> magic >> g.width >> g.height >> maxValue;
    in.get();
    g.pixels.resize(static_cast<std::size_t>(g.width * g.height));
    in.read(reinterpret_cast<char*>(g.pixels.data()),
            static_cast<std::streamsize>(g.pixels.size()));
    return g;
}

class PrinterDriver : public test::GraphicsTest {
  protected:
    fs::path folder;
    void SetUp() override {
        GraphicsTest::SetUp();
        setenv("PELK_PRINTER", "pdf", 1);
        folder = fs::temp_directory_path() / ("pelk-hcprint-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        setenv("PELK_PRINT_DIR", folder.c_str(), 1);
        ResetHardcopyOptions();
        ResetPrinterDeviceContext();
        ResetPrinterDriver();
        HardcopyOutputBind();
        recordScreen();
        useTarget(800, 600);
    }
    void TearDown() override {
        HardcopySwitch("S");
        ResetPrinterDriver();
        ResetPrinterDeviceContext();
        ResetHardcopyOptions();
        fs::remove_all(folder);
        GraphicsTest::TearDown();
    }
};

TEST_F(PrinterDriver, SelectingTheDriverReadsThePrinter) {
    HardcopySelectDriver(1, 10);
    const HardcopyOptions& o = hardcopyOptions();
    ASSERT_EQ(PrinterDriverQueryStatus(), 0);
    EXPECT_EQ(o.printerAvailable, 1);
    EXPECT_GT(o.sheetWidth, o.sheetHeight);
    EXPECT_EQ(o[hc::PageWidth], o.sheetWidth - 144);
    EXPECT_EQ(o[hc::PageHeight], o.sheetHeight - 144);
    EXPECT_EQ(o[hc::PageOffsetX], 72);
    EXPECT_EQ(o[hc::Orientation], 1);
    EXPECT_EQ(o[hc::Copies], 1);
    EXPECT_EQ(o[hc::LineWidthOption], 5);
    EXPECT_EQ(hardcopyDeviceState().activeDriver, 10);
    EXPECT_EQ(hardcopyDeviceState().printCommandAllowed, 0);
    EXPECT_EQ(hardcopyDeviceInfo().capabilities.str(), "00000111111111100010011011110");
    // The printer driver leaves the default file name alone.
    EXPECT_TRUE(o.defaultFileName.blank());

    // A probe only answers the number; a reset keeps the page options.
    hardcopyOptions()[hc::PageWidth] = 1234;
    deviceBlock().count = -999;
    XXWIN(1);
    EXPECT_EQ(deviceBlock().count, 10);
    deviceBlock().count = 0;
    deviceBlock().value = -998;
    hardcopyDeviceInfo().capabilities.assign("");
    XXWIN(1);
    EXPECT_EQ(hardcopyOptions()[hc::PageWidth], 1234);
    EXPECT_EQ(hardcopyDeviceInfo().capabilities.str(), "00000111111111100010011011110");
}

TEST_F(PrinterDriver, DrawingComesOutOfThePrinter) {
    HardcopySelectDriver(1, 10);
    HardcopySwitch("", "Map of the profile");
    ASSERT_EQ(graphicsState().hardcopyDriver, 10);
    LineBetweenUnits(0.05f, 0.05f, 0.45f, 0.45f);
    SetFillPattern(4);
    const float x[] = {0.6f, 0.95f, 0.775f}, y[] = {0.05f, 0.05f, 0.45f};
    PolygonUserUnits(x, y, 3);
    SetFillPattern(0);
    SetTextModeLetter("H");
    DrawTextAt(0.2f, 0.8f, "Hello printer", 13);
    HardcopySwitch("S");
    EXPECT_EQ(graphicsState().hardcopyDriver, 0);

    const std::string pdf = win::lastPrintedFile();
    ASSERT_FALSE(pdf.empty());
    ASSERT_TRUE(fs::exists(pdf));
    const std::string info = run("pdfinfo '" + pdf + "' 2>/dev/null");
    EXPECT_EQ(pageCount(info), 1) << info;
    EXPECT_NE(run("pdftotext '" + pdf + "' - 2>/dev/null").find("Hello printer"),
              std::string::npos);

    // Rendered at 36 dots per inch one pixel is two points; the target is
    // stretched over the page inside the one-inch margin.
    const fs::path base = folder / "page";
    run("pdftoppm -r 36 -gray -singlefile '" + pdf + "' '" + base.string() + "'");
    const Grey page = readPgm(base.string() + ".pgm");
    ASSERT_GT(page.width, page.height);
    const float w = static_cast<float>(hardcopyOptions()[hc::PageWidth]);
    const float h = static_cast<float>(hardcopyOptions()[hc::PageHeight]);
    const auto px = [&](float u) { return static_cast<int>((72.0f + u * w) / 2.0f); };
    const auto py = [&](float v) { return static_cast<int>((72.0f + (1.0f - v) * h) / 2.0f); };
    EXPECT_LT(page.darkest(px(0.25f), py(0.25f), 1), 200) << "line";
    EXPECT_LT(page.at(px(0.775f), py(0.18f)), 100) << "filled triangle";
    EXPECT_GT(page.at(px(0.3f), py(0.6f)), 240) << "blank paper";
    EXPECT_GT(page.at(px(0.65f), py(0.4f)), 240) << "outside the triangle";

    // Output is off: the screen alone gets the drawing again.
    screenLog.clear();
    LineBetweenUnits(0.1f, 0.1f, 0.2f, 0.2f);
    EXPECT_EQ(screenLog, (std::vector<int>{2}));
}

TEST_F(PrinterDriver, AnEndedPageWithoutDrawingLeavesNoBlankPage) {
    HardcopySelectDriver(1, 10);
    HardcopySwitch("", "Pages");
    LineBetweenUnits(0.1f, 0.1f, 0.9f, 0.9f);
    NewGraphicsPage();
    LineBetweenUnits(0.1f, 0.9f, 0.9f, 0.1f);
    NewGraphicsPage();
    HardcopySwitch("S");
    const std::string info = run("pdfinfo '" + win::lastPrintedFile() + "' 2>/dev/null");
    EXPECT_EQ(pageCount(info), 2) << info;
}

// Several outputs while a PrinterDocument lives make one job: each output's
// pages follow in the same PDF, an output that draws nothing adds no page,
// and the document is printed when the holder ends.
TEST_F(PrinterDriver, OutputsOfOneDocumentArePrintedAsOneJob) {
    HardcopySelectDriver(1, 10);
    const std::string before = win::lastPrintedFile();
    {
        PrinterDocument document;
        HardcopySwitch("", "Report");
        LineBetweenUnits(0.1f, 0.1f, 0.9f, 0.9f);
        HardcopySwitch("S");
        HardcopySwitch("", "Report");
        DrawTextAt(0.2f, 0.8f, "second page", 11);
        NewGraphicsPage();
        DrawTextAt(0.2f, 0.8f, "third page", 10);
        HardcopySwitch("S");
        HardcopySwitch("", "Report");
        HardcopySwitch("S");
        EXPECT_EQ(win::lastPrintedFile(), before) << "printed before the document ended";
    }
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(folder))
        files.push_back(e.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].string(), win::lastPrintedFile());
    const std::string pdf = files[0].string();
    EXPECT_EQ(pageCount(run("pdfinfo '" + pdf + "' 2>/dev/null")), 3);
    EXPECT_NE(run("pdftotext -f 2 -l 2 '" + pdf + "' - 2>/dev/null").find("second page"),
              std::string::npos);
    EXPECT_NE(run("pdftotext -f 3 -l 3 '" + pdf + "' - 2>/dev/null").find("third page"),
              std::string::npos);
    // Without a holder every output is a job of its own again.
    HardcopySwitch("", "Alone");
    LineBetweenUnits(0.1f, 0.1f, 0.9f, 0.9f);
    HardcopySwitch("S");
    EXPECT_NE(win::lastPrintedFile(), pdf);
    EXPECT_EQ(pageCount(run("pdfinfo '" + win::lastPrintedFile() + "' 2>/dev/null")), 1);
}

TEST_F(PrinterDriver, ContextTakesTheSupportedOverrides) {
    ASSERT_EQ(PrinterQueryCaps().error, 0);
    printerOverrides().paperSize = win::DMPAPER_A4;
    printerOverrides().collate = 1;
    printerOverrides().scale = -1;
    win::HDC dc = PrinterCreateDC(1, 2);
    ASSERT_NE(dc, nullptr);
    const unsigned long fields = PrinterLastAppliedFields();
    EXPECT_TRUE(fields & win::DM_ORIENTATION);
    EXPECT_TRUE(fields & win::DM_COPIES);
    EXPECT_TRUE(fields & win::DM_PAPERSIZE);
    EXPECT_FALSE(fields & win::DM_SCALE);
    EXPECT_FALSE(fields & win::DM_MEDIATYPE);
    EXPECT_GT(win::GetDeviceCaps(dc, win::PHYSICALWIDTH),
              win::GetDeviceCaps(dc, win::PHYSICALHEIGHT));
    win::DeleteDC(dc);
    // A query forgets the overrides.
    ASSERT_EQ(PrinterQueryCaps().error, 0);
    EXPECT_EQ(printerOverrides().paperSize, -1);
    EXPECT_EQ(printerOverrides().mediaType, 99999);
}

TEST(PrinterTargetProfile, NamesAreSplitAtTheFirstTwoCommas) {
    struct Case {
        const char* value;
        const char* device;
        const char* driver;
        const char* port;
    };
    const Case cases[] = {
        {"Laser,winspool,LPT1:", "Laser", "winspool", "LPT1:"},
        {"Laser ,  winspool,   LPT1:", "Laser ", "winspool", "LPT1:"},
        {"Laser,winspool,Ne01:,x", "Laser", "winspool", "Ne01:,x"},
        {"Laser", "Laser", "", ""},
    };
    for (const Case& c : cases) {
        ResetPrinterDeviceContext();
        PrinterTargetFromProfile(c.value);
        EXPECT_EQ(printerTarget().device, c.device) << c.value;
        EXPECT_EQ(printerTarget().driver, c.driver) << c.value;
        EXPECT_EQ(printerTarget().port, c.port) << c.value;
        EXPECT_EQ(printerTarget().defaultRead, 1);
    }
    ResetPrinterDeviceContext();
}

TEST(DibColourTable, SizeByHeaderKind) {
    struct Case {
        int headerSize, bits, used, size;
    };
    const Case cases[] = {{12, 8, 0, 768}, {40, 8, 0, 1024}, {40, 8, 20, 80},
                          {40, 24, 0, 0},  {40, 1, 0, 8},    {12, 4, 0, 48}};
    for (const Case& c : cases) {
        unsigned char header[40] = {};
        std::memcpy(header, &c.headerSize, 4);
        const unsigned short bits = static_cast<unsigned short>(c.bits);
        std::memcpy(header + (c.headerSize == 12 ? 10 : 14), &bits, 2);
        if (c.headerSize == 40) std::memcpy(header + 32, &c.used, 4);
        EXPECT_EQ(DibColourTableSize(header), c.size) << c.headerSize << " " << c.bits;
    }
}

}  // namespace
}  // namespace tk
