// The HP-GL driver and its command writers: the header of a plotter model,
// pens by colour, pen moves, shape records, pages, labels, and files that
// hp2xx reads.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "output_test_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hpgl_commands.h"
#include "toolkit/output/hpgl_driver.h"

namespace tk {
namespace {

namespace fs = std::filesystem;
using test::drawSample;
using test::countOf;
using test::fileLines;
using test::quoted;
using test::runCommand;

class HpglOutput : public test::OutputFileTest {
  protected:
    // hp2xx's complaints about the file (it reports unknown commands and
    // errors on its error output); the picture goes to a PNG.
    test::CommandResult readBack(const fs::path& file, const fs::path& png) {
        return runCommand("timeout 60 hp2xx -q -m png -f " + quoted(png) + " " + quoted(file) + " 2>&1");
    }
};

TEST_F(HpglOutput, ModelOneStartsWithItsFrameLabelsAndRecords) {
    const auto file = start(1, "plot.plt");
    EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "doredere.plt");
    const HardcopyOptions& o = hardcopyOptions();
    EXPECT_EQ(o[hc::PageOffsetX], 28);
    EXPECT_EQ(o[hc::PageWidth], 742);
    EXPECT_EQ(o[hc::PageHeight], 530);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    const std::vector<std::string> head = {
        "IN; IP 395 0 10865 7478", "RO0; IP 395 0 10865 7478", "DT\x04", "DI1. 0.",
        "SC-2 9 0 32760",          "SC-13 1 0 32760",          "SC0 32760 0 32760",
        // The direction and the font from the page set-up of the graphics
        // layer, then the current state.
        "DI1.000 0.000",           "SC-10 1 0 32760 ;SC0 32760 0 32760",
        "PW0.142",                 "LT",                       "SC",
        "IW395 0 10865 7478",      "SC0 32760 0 32760",        "SC-10 1 0 32760 ;SC0 32760 0 32760",
        "PU;SP4",                  "SC-1 0 0 32760 ;SC0 32760 0 32760"};
    ASSERT_GE(lines.size(), head.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 17), head);
}

TEST_F(HpglOutput, PensByColourJoinedLinesPagesAndLabels) {
    toolkitState().HardcopyDriverNumber = 7;  // HP 7550A, 8 pens
    HardcopySelectDriver(1, 1);
    HardcopyOptionSet(17, 1);  // a blank before every line
    HardcopyOptionSet(5, 0);
    const auto file = folder / "pages.plt";
    HardcopySwitch(file.string());
    GrColourN(20);
    LineBetweenUnits(0.0f, 0.0f, 0.5f, 0.5f);
    LineBetweenUnits(0.5f, 0.5f, 1.0f, 0.0f);
    NewGraphicsPage();
    DrawTextAt(0.5f, 0.5f, "Lab\x04" "el", 6);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    EXPECT_EQ(lines[1], " RO90; IP 0 0 10865 7591");
    EXPECT_EQ(countOf(lines, " PU;SP3"), 1u);
    const auto first = std::find(lines.begin(), lines.end(), " PU0 0");
    ASSERT_NE(first, lines.end());
    EXPECT_EQ(*(first + 1), " PD16380 16380");
    EXPECT_EQ(*(first + 2), " PD32760 0");
    EXPECT_EQ(countOf(lines, " PU;SP0 ;PG;"), 2u);
    // The pen comes back for the label on the second page.
    const auto label = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.starts_with(" LB"); });
    ASSERT_NE(label, lines.end());
    EXPECT_EQ(*label, " LBLabel\x04");
    EXPECT_EQ(std::count(lines.begin(), label, " SP3"), 1);
}

TEST_F(HpglOutput, ShapeRecordsDescribeFillsAndCanBeLeftOut) {
    const auto file = start(1, "fills.plt");
    SetFillPattern(4);
    GrRectangle(0.25f, 0.25f, 0.5f, 0.5f);
    EXPECT_EQ(graphicsState().lineFillHardcopy, 0) << "cleared once the lines are drawn";
    HardcopyOptionSet(18, 0);
    GrRectangle(0.5f, 0.5f, 0.75f, 0.75f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    EXPECT_EQ(countOf(lines, "SC-6 4 2 32773"), 1u);
    EXPECT_EQ(countOf(lines, "SC-9 8190 8190 0"), 1u);
    EXPECT_EQ(countOf(lines, "SC-6 -1 0 32760 ;SC0 32760 0 32760"), 1u);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("SC-6"); }),
              2);
    // Both rectangles are filled with lines by the graphics layer.
    EXPECT_GT(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("PD"); }),
              20);
}

TEST_F(HpglOutput, Hp2xxReadsTheDrawing) {
    const auto file = start(1, "sample.plt");
    drawSample();
    HardcopySwitch("S");
    const auto png = folder / "sample.png";
    const auto r = readBack(file, png);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");
    EXPECT_GT(test::inkPixels(png), 1000) << "the page rendered has the sample's fills and lines";
}

TEST_F(HpglOutput, UnwritableFileAndAbsurdInput) {
    const auto missing = start(1, "missing/folder.plt");
    EXPECT_EQ(graphicsState().hardcopyDriver, 0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1);
    EXPECT_FALSE(fs::exists(missing));

    const auto file = start(1, "absurd.plt");
    test::drawAbsurd(HpglDriver);
    HardcopySwitch("S");
    EXPECT_EQ(test::slurp(file).find('*'), std::string::npos);
    const auto r = readBack(file, folder / "absurd.png");
    EXPECT_EQ(r.status, 0) << r.output;
}

TEST_F(HpglOutput, ArcsRunUnderAnIsotropicScale) {
    useTarget(600, 600);
    HardcopySelectDriver(1, 1);
    HardcopyOptionSet(1, 500);
    HardcopyOptionSet(2, 500);
    const auto file = folder / "arcs.plt";
    HardcopySwitch(file.string());
    GraphicsState& g = graphicsState();
    DeviceParameterBlock& b = deviceBlock();
    g.fillStyle = 0;
    g.fillDensity = 3;
    b.fx[1] = 300.0f, b.fy[1] = 300.0f, b.fx[2] = 100.0f, b.fx[3] = 0.0f, b.fy[3] = 1.5708f;
    b.fx[4] = 0.0f, b.fy[4] = 90.0f;
    HpglDriver(34);
    g.fillDensity = 2;
    HpglDriver(34);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    const auto arc = std::find(lines.begin(), lines.end(), "AA16380 16380 90.0");
    ASSERT_NE(arc, lines.end());
    // A square area on a square page: the scale stays as it is.
    EXPECT_EQ(std::vector<std::string>(arc - 3, arc + 2),
              (std::vector<std::string>{"SC0 32760 0 32760", "PU21840 16380", "PD",
                                        "AA16380 16380 90.0", "SC0 32760 0 32760"}));
    EXPECT_EQ(countOf(lines, "EW5460 0.0 90.0"), 1u);
}

// Every colour takes its pen from the pen table, except white: it is the
// paper, and a white fill drawn with a pen would come out in that pen's ink.
TEST_F(HpglOutput, EveryColourDrawsWithThePenOfItsBandAndWhiteWithNone) {
    const std::pair<int, const char*> pens[] = {{0, "PU;SP0"}, {20, "PU;SP3"}, {100, "PU;SP2"},
                                                {223, "PU;SP4"}};
    for (auto [colour, selection] : pens) {
        SCOPED_TRACE(colour);
        const auto file = start(1, "pen" + std::to_string(colour) + ".plt");
        GrColourN(colour == 0 ? 20 : 0);
        GrColourN(colour);
        LineBetweenUnits(0.0f, 0.0f, 0.5f, 0.5f);
        HardcopySwitch("S");
        // The pen selected last before the line is drawn.
        const auto lines = fileLines(file);
        const auto line = std::find(lines.begin(), lines.end(), "PU0 0");
        ASSERT_NE(line, lines.end());
        const auto pen = std::find_if(std::make_reverse_iterator(line), lines.rend(),
                                      [](const std::string& l) { return l.starts_with("PU;SP"); });
        ASSERT_NE(pen, lines.rend());
        EXPECT_EQ(*pen, selection);
    }
}

// Resetting the graphics state clears the options the driver does not set
// itself; with "P" they are kept.
TEST_F(HpglOutput, ResetGraphicsStateClearsTheOptionsUnlessAskedToKeepThem) {
    for (const char* options : {"", "P"}) {
        SCOPED_TRACE(options);
        const bool keep = *options != 0;
        HardcopySelectDriver(1, 1);
        HardcopyOptionSet(hc::PostScriptKind, 1);
        HardcopyOptionSet(hc::BitmapFormat, 2);
        HardcopyOptionSet(hc::Copies, 3);
        ResetGraphicsState(options);
        EXPECT_EQ(hardcopyOptions()[hc::PostScriptKind], keep ? 1 : 0);
        EXPECT_EQ(hardcopyOptions()[hc::BitmapFormat], keep ? 2 : 0);
        EXPECT_EQ(hardcopyOptions()[hc::Copies], keep ? 3 : 1);
    }
}

TEST(HpglCommands, SqueezeRecordsAndPens) {
    const std::pair<const char*, const char*> squeezed[] = {
        {"SC0 32760 0 32760", "SC0 32760 0 32760"},
        {"PU;SP0 ;", "PU;SP0 ;"},
        {"RO 90; IP     10     20", "RO90; IP 10 20"},
        {"IP     -1     20    300 400000", "IP-1 20 300 400000"},
        {"", "  "}};
    for (auto [in, out] : squeezed)
        EXPECT_EQ(HpglSqueeze(in), out) << in;
    for (int c : {0, 15})
        EXPECT_EQ(HpglPenFromColour(c, 4), '1') << c;
    for (int c : {16, 47})
        EXPECT_EQ(HpglPenFromColour(c, 4), '3') << c;
    for (int c : {240, 255})
        EXPECT_EQ(HpglPenFromColour(c, 4), '1') << c;
    EXPECT_EQ(HpglPenFromColour(112, 8), '6');
}

}  // namespace
}  // namespace tk
