// The HP-GL/2 driver: its files are checked by a reader of our own that
// knows the command grammar (no independent HP-GL/2 reader is packaged), and
// its pens, fills, fonts, encoded polylines and pages.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hpgl2_reader.h"
#include "output_test_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/output/hpgl2_driver.h"

namespace tk {
namespace {

namespace fs = std::filesystem;
using test::drawSample;
using test::fileLines;
using test::Hpgl2Reader;
using test::Instruction;
using test::kEsc;

class Hpgl2Output : public test::OutputFileTest {
  protected:
    void TearDown() override {
        toolkitState().PrinterColourMode = 0;
        test::OutputFileTest::TearDown();
    }
    fs::path startDevice(int device, const std::string& name) {
        toolkitState().PrinterColourMode = device;
        return start(12, name);
    }
};

TEST_F(Hpgl2Output, LaserJetHeaderAsThePrinterExpectsIt) {
    const auto file = startDevice(3, "page.plt");
    EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "doredere.plt");
    EXPECT_EQ(hardcopyOptions()[hc::PageWidth], 769);
    EXPECT_EQ(hardcopyOptions()[hc::PageHeight], 561);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    const std::vector<std::string> head = {"\x1b%0B",
                                           "IN; IP 0 0 10851 7916",
                                           "RO90; IP 0 0 10851 7916",
                                           "DT\x04",
                                           "DI1. 0.",
                                           "TR0",
                                           "AD1,14;SA",
                                           "CO\"13 3 1.2 9\";",
                                           "CO\"2 0\";",
                                           "SC0 32760 0 32760"};
    ASSERT_GE(lines.size(), head.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 10), head);
    EXPECT_EQ(lines.back(), "\x1b%0A");
    EXPECT_TRUE(Hpgl2Reader(test::slurp(file)).faults.empty());
}

TEST_F(Hpgl2Output, SampleDrawingsFollowTheGrammarOnEveryDevice) {
    for (int device = 1; device <= 5; ++device) {
        SCOPED_TRACE(device);
        const auto file = startDevice(device, "sample" + std::to_string(device) + ".plt");
        HardcopySwitch(file.string(), "Section \"A\" of the survey line, with a long title");
        drawSample();
        SetCharacterDirection(30.0f);
        DrawTextAt(0.2f, 0.2f, "S\xE9ismique", 9);
        HardcopySwitch("S");
        const Hpgl2Reader reader(test::slurp(file));
        EXPECT_EQ(reader.faults, std::vector<std::string>{});
        const auto m = reader.mnemonics();
        EXPECT_EQ(std::count(m.begin(), m.end(), "FP") + std::count(m.begin(), m.end(), "RA"), 2)
            << "two solid fills";
        EXPECT_TRUE(std::count(m.begin(), m.end(), "LB") >= 2);
        EXPECT_EQ(reader.pages + (device == 4 ? std::count(m.begin(), m.end(), "PG") : 0), 1);
        const auto title = std::find_if(reader.instructions.begin(), reader.instructions.end(),
                                        [](const Instruction& i) { return i.mnemonic == "CO"; });
        ASSERT_NE(title, reader.instructions.end());
        EXPECT_EQ(title->parameters, ": Section 'A' of the survey line, with a long ");
    }
}

// hp2xx draws the whole sample of every device, its fills and lines as well
// as its labels.
TEST_F(Hpgl2Output, Hp2xxDrawsTheWholeSampleOnEveryDevice) {
    for (int device = 1; device <= 5; ++device) {
        SCOPED_TRACE(device);
        const auto file = startDevice(device, "drawn" + std::to_string(device) + ".plt");
        HardcopySwitch(file.string(), "Section A");
        drawSample();
        NewGraphicsPage();
        drawSample();
        HardcopySwitch("S");
        const fs::path png = folder / ("drawn" + std::to_string(device) + ".png");
        const auto r = test::runCommand("timeout 60 hp2xx -q -m png -f " + test::quoted(png) + " " +
                                        test::quoted(file) + " 2>&1");
        EXPECT_EQ(r.status, 0) << r.output;
        // The fills and lines come to about 3 % of the page; the labels
        // alone, a comment having swallowed the rest, to 0.01 %.
        const std::vector<double> ink = test::inkByQuarter(png);
        ASSERT_EQ(ink.size(), 4u);
        EXPECT_GT((ink[0] + ink[1] + ink[2] + ink[3]) / 4, 0.01);
    }
}

TEST_F(Hpgl2Output, PensAreDefinedOnceAndMixedFillsGetTheirOwnPen) {
    const auto file = startDevice(2, "pens.plt");
    GrColourN(5);
    LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
    GrColourN(223);
    GrColourN(5);
    LineBetweenUnits(0.0f, 1.0f, 1.0f, 0.0f);
    GrColourN(12);
    SetFillPattern(3);
    GrRectangle(0.2f, 0.2f, 0.4f, 0.4f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("PC5 "); }),
              1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "PU;SP 5"), 2);
    // The half-tone fill's pen 255 - 12 carries the mean of colours 5 and 12.
    const auto pen = std::find(lines.begin(), lines.end(), "PU;SP243");
    ASSERT_NE(pen, lines.end());
    EXPECT_TRUE((pen - 1)->starts_with("PC243 ")) << *(pen - 1);
    EXPECT_NE(std::find(pen, lines.end(), "PU;SP 12"), lines.end()) << "the closing call";
    EXPECT_TRUE(Hpgl2Reader(test::slurp(file)).faults.empty());
}

TEST_F(Hpgl2Output, LaserJetFillsWithOneRasterPatternPerColour) {
    const auto file = startDevice(3, "raster.plt");
    SetFillPattern(4);
    GrColourN(40);
    GrRectangle(0.1f, 0.1f, 0.2f, 0.2f);
    GrRectangle(0.3f, 0.3f, 0.4f, 0.4f);
    GrColourN(100);
    GrRectangle(0.5f, 0.5f, 0.6f, 0.6f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "RF1,8,4,"), 2);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "FT11 1"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "RA"), 0);
    EXPECT_TRUE(Hpgl2Reader(test::slurp(file)).faults.empty());
}

TEST_F(Hpgl2Output, PolylinesAreEncodedRelativeMoves) {
    const auto file = startDevice(5, "encoded.plt");
    std::vector<float> x(300), y(300);
    for (std::size_t k = 0; k < x.size(); ++k) {
        x[k] = static_cast<float>(k) / 300.0f;
        y[k] = k % 2 == 0 ? 0.2f : 0.8f;
    }
    PolylineClipped(x.data(), y.data(), 300, false);
    HardcopySwitch("S");
    const Hpgl2Reader reader(test::slurp(file));
    EXPECT_TRUE(reader.faults.empty());
    ASSERT_EQ(reader.encoded.size(), 2u * 299u);
    // The moves add up to the distance between the ends in plotter units.
    long long dx = 0;
    for (std::size_t k = 0; k < reader.encoded.size(); k += 2)
        dx += reader.encoded[k];
    const GraphicsState& g = graphicsState();
    const auto last = static_cast<long long>(g.hardcopyScaleX * (299.0f / 300.0f) *
                                             g.plotExtentX);
    EXPECT_NEAR(static_cast<double>(dx), static_cast<double>(last), 2.0);
    for (const auto& l : fileLines(file)) EXPECT_LE(l.size(), 255u);
}

TEST_F(Hpgl2Output, PagesEndWithTheEjectOrPg) {
    for (int device : {1, 4}) {
        const auto file = startDevice(device, "pages.plt");
        HardcopyOptionSet(8, 3);
        for (int page = 0; page < 3; ++page) {
            LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
            if (page < 2) NewGraphicsPage();
        }
        HardcopySwitch("S");
        const std::string text = test::slurp(file);
        const Hpgl2Reader reader(text);
        EXPECT_TRUE(reader.faults.empty());
        const auto m = reader.mnemonics();
        if (device == 4) {
            EXPECT_EQ(std::count(m.begin(), m.end(), "PG"), 3);
            EXPECT_EQ(text.find(kEsc), std::string::npos);
        } else {
            EXPECT_EQ(reader.pages, 3);
            EXPECT_NE(text.find("\x1b&l03X"), std::string::npos);
        }
    }
}

TEST_F(Hpgl2Output, UnwritableFileAndAbsurdInput) {
    const auto missing = startDevice(2, "missing/folder.plt");
    EXPECT_EQ(graphicsState().hardcopyDriver, 0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1);
    EXPECT_FALSE(fs::exists(missing));

    const auto file = startDevice(2, "absurd.plt");
    test::drawAbsurd(Hpgl2Driver);
    HardcopySwitch("S");
    const Hpgl2Reader reader(test::slurp(file));
    EXPECT_EQ(reader.faults, std::vector<std::string>{});
}

TEST(Hpgl2Dither, GreyWhiteAndBlackPatterns) {
    graphicsState().reset();
    BuildDefaultColourTable();
    ResetHardcopyOptions();
    hardcopyDeviceState().colourCount = 2;
    graphicsState().colourMode = 2;
    const std::pair<int, std::uint32_t> cases[] = {
        {0x808080, 0xD555AA55u}, {0xFFFFFF, 0xFFFFFFFFu}, {0x000000, 0u}};
    for (auto [rgb, pattern] : cases) {
        graphicsState().rgb = rgb;
        const ColourPatternTriple t = ColourToGreyDither(1);
        EXPECT_EQ(t.first, pattern) << std::hex << rgb;
        EXPECT_EQ(t.second, pattern);
    }
    ResetHardcopyOptions();
}

}  // namespace
}  // namespace tk
