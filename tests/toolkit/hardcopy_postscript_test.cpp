// The PostScript and EPS driver: the document's structure, the path and
// attribute economy, text, fills, pages, and files that ghostscript renders
// and ps2pdf converts.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "output_test_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/postscript_driver.h"
#include "toolkit/output/postscript_writer.h"

namespace tk {
namespace {

namespace fs = std::filesystem;
using test::drawSample;
using test::countOf;
using test::fileLines;
using test::quoted;
using test::runCommand;

// The lines from the first that equals `from` on, `n` of them.
std::vector<std::string> after(const std::vector<std::string>& lines, const std::string& from,
                               std::size_t n) {
    auto at = std::find(lines.begin(), lines.end(), from);
    if (at == lines.end()) return {};
    const auto end = std::min(lines.end(), at + static_cast<std::ptrdiff_t>(n + 1));
    return std::vector<std::string>(at + 1, end);
}

class PostScriptOutput : public test::OutputFileTest {};

TEST_F(PostScriptOutput, DocumentStartsWithHeaderPrologFontsAndTheCurrentState) {
    const auto file = start(2, "page.ps");
    EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "doredere.ps");
    ASSERT_EQ(graphicsState().hardcopyDriver, 2);
    LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    ASSERT_GT(lines.size(), 90u);
    EXPECT_EQ(lines[0], "%!PS-Adobe-3.0");
    EXPECT_EQ(lines[1], "%%Creator: Z.A.Z. PostScript driver");
    EXPECT_EQ(lines[2], "%%EndComments");
    EXPECT_EQ(lines[3], "/l {lineto} def/m {moveto} def/g {setrgbcolor} def/w {setlinewidth} def");
    EXPECT_EQ(lines[8], "%%EndProlog");
    EXPECT_EQ(lines[9], "/Courier ff");
    EXPECT_EQ(lines[13], "currentdict end /Courier-1 exch definefont pop");
    EXPECT_EQ(countOf(lines, "/Times-BoldItalic ff"), 1u);
    EXPECT_EQ(countOf(lines, "currentdict end /Helvetica-3 exch definefont pop"), 1u);
    EXPECT_EQ(countOf(lines, "/Encoding ISOLatin1Encoding def"), 12u);
    EXPECT_EQ(after(lines, "currentdict end /Symbol exch definefont pop", 15),
              (std::vector<std::string>{"90.0 ro", "42.0 -560.0 translate", "newpath",
                                        "%%Page: 1 1", "0.50 w", "0 setlinejoin",
                                        "5.0 setmiterlimit", "0 setlinecap", "initclip",
                                        "0.0 0.0 m", "756.01 0.0 l", "756.01 540.01 l",
                                        "0.0 540.01 l", "clip", "newpath"}));
    // The line from corner to corner of the page is painted at the page end,
    // in the colour the document has not written yet.
    const std::vector<std::string> tail(lines.end() - 9, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"0.0 0.0 m", "756.0 540.0 l", "0.0 0.0 0.0 g",
                                              "s", "/#copies 1 def",
                                              "gsave showpage grestore", "%%EOF",
                                              "initgraphics", " \x04"}));
    EXPECT_TRUE(test::slurp(file).ends_with("initgraphics\r\n \x04"));
}

TEST_F(PostScriptOutput, EpsHasItsBoundingBoxAndNeitherClipNorPageEject) {
    HardcopySelectDriver(1, 2);
    HardcopyOptionSet(22, 1);
    EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "doredere.eps");
    const auto file = folder / "picture.eps";
    HardcopySwitch(file.string(), "Section A");
    SetFillPattern(4);
    GrRectangle(-1.0f, -1.0f, 0.5f, 0.5f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    ASSERT_GT(lines.size(), 80u);
    EXPECT_EQ(lines[0], "%!PS-Adobe-3.0 EPSF-3.0");
    EXPECT_EQ(lines[1], "%%BoundingBox: 0 0 540 756");
    EXPECT_EQ(lines[2], "%%Title: Section A");
    EXPECT_EQ(countOf(lines, "0.0 -540.0 translate"), 1u);
    for (const char* absent : {"initclip", "clip", "gsave showpage grestore", "initgraphics"})
        EXPECT_EQ(countOf(lines, absent), 0u) << absent;
    // The rectangle is cut to the clip limits by the driver.
    EXPECT_EQ(after(lines, "0 setlinecap", 6),
              (std::vector<std::string>{"0.0 0.0 m", "378.0 0.0 l", "378.0 270.0 l",
                                        "0.0 270.0 l", "0.0 0.0 0.0 g", "cf"}));
    EXPECT_EQ(lines.back(), "%%EOF");
}

TEST_F(PostScriptOutput, ConnectedLinesShareAPathAndColoursWaitForThePaint) {
    const auto file = start(2, "paths.ps");
    SetColourMode(24);
    GrColourN(0x0000FF);
    LineBetweenUnits(0.0f, 0.0f, 0.5f, 0.5f);
    LineBetweenUnits(0.5f, 0.5f, 1.0f, 0.0f);
    LineBetweenUnits(0.0f, 1.0f, 0.5f, 1.0f);
    GrColourN(0x00FF00);
    LineBetweenUnits(0.0f, 0.5f, 1.0f, 0.5f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    const auto body = after(lines, "0 setlinecap", 20);
    EXPECT_EQ(std::vector<std::string>(body.begin() + 7, body.end()),
              (std::vector<std::string>{"0.0 0.0 m", "378.0 270.0 l", "756.0 0.0 l",
                                        "0.0 540.0 m", "378.0 540.0 l", "1.0 0.0 0.0 g", "s",
                                        "0.0 270.0 m", "756.0 270.0 l", "0.0 1.0 0.0 g", "s",
                                        "/#copies 1 def", "gsave showpage grestore"}));
}

TEST_F(PostScriptOutput, LongPolylinesAreCutIntoPathsThatJoin) {
    const auto file = start(2, "long.ps");
    std::vector<float> x(600), y(600);
    for (std::size_t k = 0; k < x.size(); ++k) {
        x[k] = static_cast<float>(k) / 600.0f;
        y[k] = k % 2 == 0 ? 0.25f : 0.75f;
    }
    PolylineClipped(x.data(), y.data(), 600, false);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    std::vector<std::size_t> strokes;
    for (std::size_t k = 0; k < lines.size(); ++k)
        if (lines[k] == "s") strokes.push_back(k);
    ASSERT_EQ(strokes.size(), 3u);
    // Each later path begins where the previous one ended (the first paint
    // also writes the colour).
    EXPECT_EQ(lines[strokes[0] - 1], "0.0 0.0 0.0 g");
    for (std::size_t k = 0; k + 1 < strokes.size(); ++k) {
        const std::string last = lines[strokes[k] - (k == 0 ? 2 : 1)];
        EXPECT_EQ(lines[strokes[k] + 1], last.substr(0, last.size() - 1) + "m");
    }
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.ends_with(" l"); }),
              599 + 3);  // and the clip rectangle's three sides
}

TEST_F(PostScriptOutput, TextIsEscapedTurnedAndJustified) {
    const auto file = start(2, "text.ps");
    SetTextJustification(5);  // centred
    DrawTextAt(0.5f, 0.5f, "a(b)\\c", 6);
    SetCharacterDirection(30.0f);
    SetTextJustification(1);  // left
    DrawTextAt(0.2f, 0.2f, "tilt", 4);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    EXPECT_EQ(countOf(lines, "(a\\(b\\)\\\\c) csh"), 1u);
    const auto turned = std::find(lines.begin(), lines.end(), "(tilt) lsh");
    ASSERT_NE(turned, lines.end());
    EXPECT_EQ(*(turned - 1), "30.0 ro");
    EXPECT_EQ(*(turned + 1), "330.0 ro");
    // One font line: a new direction needs no new font.
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("/Courier-1 ff ["); }),
              1);
}

TEST_F(PostScriptOutput, HalfToneFillIsTheMeanAndBlackLinesSpareAreas) {
    const auto file = start(2, "fills.ps");
    HardcopyOptionSet(7, 1);  // BlackLines
    SetColourMode(24);
    GrColourN(0xFFFFFF);
    GrColourN(0x000000);
    SetFillPattern(3);
    const float x[] = {0.1f, 0.9f, 0.5f}, y[] = {0.1f, 0.1f, 0.9f};
    YYPLYGON(x, y, 3, false);
    GrColourN(0x0000FF);
    SetFillPattern(4);
    YYPLYGON(x, y, 3, false);
    LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    EXPECT_EQ(countOf(lines, "0.50 0.50 0.50 g"), 1u);
    EXPECT_EQ(countOf(lines, "1.0 0.0 0.0 g"), 1u) << "the solid fill keeps its red";
    // The line is drawn black: its colour comes last, before its stroke.
    EXPECT_EQ(lines[lines.size() - 7], "0.0 0.0 0.0 g");
    EXPECT_EQ(lines[lines.size() - 6], "s");
}

TEST_F(PostScriptOutput, PagesCopiesAndASecondDocument) {
    HardcopySelectDriver(1, 2);
    HardcopyOptionSet(8, 1500);
    const auto file = folder / "pages.ps";
    HardcopySwitch(file.string());
    LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
    NewGraphicsPage();
    LineBetweenUnits(0.0f, 1.0f, 1.0f, 0.0f);
    HardcopySwitch("S");
    auto lines = fileLines(file);
    EXPECT_EQ(countOf(lines, "/#copies 999 def"), 2u);
    EXPECT_EQ(countOf(lines, "%%Page: 2 2"), 1u);
    EXPECT_EQ(countOf(lines, "%%Page: 3 3"), 0u);

    const auto second = folder / "again.ps";
    HardcopySwitch(second.string());
    LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
    HardcopySwitch("S");
    lines = fileLines(second);
    EXPECT_EQ(countOf(lines, "%%Page: 1 1"), 1u);
    EXPECT_EQ(countOf(lines, "0.0 0.0 0.0 g"), 1u) << "the colour is written again";
}

TEST_F(PostScriptOutput, GhostscriptRendersThePageAndPs2pdfConvertsIt) {
    const auto file = start(2, "sample.ps");
    drawSample();
    HardcopySwitch("S");
    const auto png = folder / "sample.png";
    const auto r = runCommand("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=png16m -r36 -sOutputFile=" +
                              quoted(png) + " " + quoted(file) + " 2>&1");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");
    EXPECT_GT(test::inkPixels(png), 1000) << "the page rendered has the sample's fills and lines";
    const auto pdf = folder / "sample.pdf";
    const auto c = runCommand("ps2pdf " + quoted(file) + " " + quoted(pdf) + " 2>&1");
    EXPECT_EQ(c.status, 0) << c.output;
    EXPECT_GT(fs::file_size(pdf), 500u);
}

TEST_F(PostScriptOutput, EpsMarksStayInsideItsBoundingBox) {
    HardcopySelectDriver(1, 2);
    HardcopyOptionSet(22, 1);
    const auto file = folder / "sample.eps";
    HardcopySwitch(file.string());
    drawSample();
    HardcopySwitch("S");
    // The bbox device measures what the file really draws.
    const auto r = runCommand("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=bbox " + quoted(file) +
                              " 2>&1");
    ASSERT_EQ(r.status, 0) << r.output;
    int x1 = -1, y1 = -1, x2 = -1, y2 = -1;
    ASSERT_EQ(std::sscanf(r.output.c_str(), "%%%%BoundingBox: %d %d %d %d", &x1, &y1, &x2, &y2), 4)
        << r.output;
    // The frame of the drawing runs along the edges of the box.
    EXPECT_LE(std::abs(x1), 2);
    EXPECT_LE(std::abs(y1), 2);
    EXPECT_NEAR(x2, 540, 2);
    EXPECT_NEAR(y2, 756, 2);
}

TEST_F(PostScriptOutput, UnwritableFileSwitchesOutputOffAndWritesNothing) {
    const auto file = start(2, "missing/folder.ps");
    EXPECT_EQ(graphicsState().hardcopyDriver, 0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1);
    LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
    HardcopySwitch("S");
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(PostScriptOutput, AbsurdInputAndZeroPagesStayValid) {
    const auto file = start(2, "absurd.ps");
    test::drawAbsurd(PostScriptDriver);
    HardcopySwitch("S");
    const std::string text = test::slurp(file);
    EXPECT_EQ(text.find('*'), std::string::npos);
    const auto r = runCommand("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=nullpage " +
                              quoted(file) + " 2>&1");
    EXPECT_EQ(r.status, 0) << r.output;

    // A drawing target without size gives a page where everything is at 0.
    useTarget(0, 0);
    const auto empty = start(2, "empty.ps");
    LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
    HardcopySwitch("S");
    EXPECT_EQ(runCommand("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=nullpage " + quoted(empty) +
                         " 2>&1")
                  .status,
              0);
}

TEST_F(PostScriptOutput, ArcsAreOpenOrClosedByTheFillPattern) {
    const auto file = start(2, "arcs.ps");
    GraphicsState& g = graphicsState();
    DeviceParameterBlock& b = deviceBlock();
    for (int density : {3, 2}) {
        g.fillStyle = 0;
        g.fillDensity = density;
        b.fx[1] = 400.0f, b.fy[1] = 300.0f, b.fx[2] = 100.0f, b.fx[3] = 0.0f, b.fy[3] = 3.14159f;
        PostScriptDriver(34);
    }
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    const auto open = std::find(lines.begin(), lines.end(), "gsave 1.0 1.0000 scale newpath");
    ASSERT_NE(open, lines.end());
    EXPECT_EQ(std::vector<std::string>(open + 1, open + 5),
              (std::vector<std::string>{"378.0 270.0 94.50 0.0 180.0 arc", "0.0 0.0 0.0 g", "s",
                                        "grestore"}));
    EXPECT_EQ(std::vector<std::string>(open + 5, open + 11),
              (std::vector<std::string>{"gsave 1.0 1.0000 scale newpath", "378.0 270.0 m",
                                        "378.0 270.0 94.50 0.0 180.0 arc", "0.0 0.0 0.0 g", "cs",
                                        "grestore"}));
}

TEST(PostScriptWriter, NumbersColoursAndArcs) {
    graphicsState().reset();
    BuildDefaultColourTable();
    EXPECT_EQ(PsSqueeze("  100.00    50.50 m  "), "100.00 50.50 m");
    EXPECT_EQ(ColourToHex(255, 128, 0), "ff8000");
    HardcopyOptions& o = hardcopyOptions();
    o[hc::ColourHandling] = 2;
    graphicsState().colourMode = 2;
    EXPECT_EQ(PsColourComponents(0xFFFFFF), (PsColour{0, 0, 0}));
    EXPECT_EQ(PsColourComponents(0x0A0AFA).red, 250.0f / 255.0f);
    o[hc::ColourHandling] = 1;
    EXPECT_EQ(PsColourComponents(0x0000FF), (PsColour{0, 1, 1}));
    EXPECT_EQ(PsColourComponents(-1), (PsColour{0, 0, 0}));
    ResetHardcopyOptions();
}

}  // namespace
}  // namespace tk
