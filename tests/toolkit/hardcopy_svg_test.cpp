// The SVG driver: the document, its line, fill and text groups, clip paths,
// text content, and pictures that xmllint finds well formed and
// rsvg-convert renders.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "output_test_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/output/svg_driver.h"

namespace tk {
namespace {

namespace fs = std::filesystem;
using test::drawSample;
using test::countStarting;
using test::fileLines;
using test::quoted;
using test::runCommand;

const char* kBlackGroup =
    "<g style=\"fill:none;stroke:#000000;stroke-dasharray:none;stroke-width:1;"
    "stroke-linejoin:miter;stroke-linecap:butt\">";

class SvgOutput : public test::OutputFileTest {
  protected:
    // xmllint's and rsvg-convert's complaints, empty when both are content.
    std::string readersComplain(const fs::path& file) {
        const auto lint = runCommand("xmllint --noout " + quoted(file) + " 2>&1");
        const auto png = folder / "picture.png";
        const auto render =
            runCommand("rsvg-convert -o " + quoted(png) + " " + quoted(file) + " 2>&1");
        std::string complaints = lint.output + render.output;
        if (lint.status != 0) complaints += "xmllint failed\n";
        if (render.status != 0 || !fs::exists(png)) complaints += "rsvg-convert failed\n";
        return complaints;
    }
};

TEST_F(SvgOutput, DocumentHeadsOneGroupAndNewGroupsOnlyForChanges) {
    const auto file = start(3, "groups.svg");
    EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "doredere.svg");
    GrColourN(223);
    LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
    GrColourN(223);
    LineBetweenUnits(0.0f, 1.0f, 1.0f, 0.0f);
    HardcopyOptionSet(9, 10);
    LineBetweenUnits(0.0f, 0.5f, 1.0f, 0.5f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    const std::vector<std::string> expected = {
        "<?xml version=\"1.0\"?>",
        "<!DOCTYPE svg SYSTEM \"\">",
        "<svg width=\"640\" height=\"480\" xmlns=\"http://www.w3.org/2000/svg\">",
        kBlackGroup,
        "<line x1=\"0\" y1=\"480\" x2=\"640\" y2=\"0\"/>",
        "<line x1=\"0\" y1=\"0\" x2=\"640\" y2=\"480\"/>",
        "</g>",
        "<g style=\"fill:none;stroke:#000000;stroke-dasharray:none;stroke-width:2;"
        "stroke-linejoin:miter;stroke-linecap:butt\">",
        "<line x1=\"0\" y1=\"240\" x2=\"640\" y2=\"240\"/>",
        "</g></svg>"};
    EXPECT_EQ(lines, expected);
}

TEST_F(SvgOutput, FillsTakeTheirGroupClipPathAndHalfToneColour) {
    const auto file = start(3, "fills.svg");
    GrArea(0.1f, 0.1f, 0.9f, 0.9f);
    SetColourMode(24);
    GrColourN(0xFFFFFF);
    GrColourN(0x000000);
    SetFillPattern(3);
    GrRectangle(0.0f, 0.0f, 0.5f, 0.5f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    EXPECT_EQ(countStarting(lines, "<defs><clipPath id=\"clip1\"><rect width=\"512.01\" "
                                   "height=\"384.01\" x=\"64\" y=\"47.99\"/></clipPath>"
                                   "</defs>"),
              1u)
        << test::slurp(file);
    const auto fill = std::find(lines.begin(), lines.end(),
                                "<g style=\"stroke:none;fill:#7f7f7f;clip-path:url(#clip1);"
                                "shape-rendering:crispEdges\">");
    ASSERT_NE(fill, lines.end()) << test::slurp(file);
    EXPECT_TRUE((fill + 1)->starts_with("<polygon points=\"64,432 320,432 320,240 64,240\"/>"))
        << *(fill + 1);
    EXPECT_EQ(*(fill + 2), "</g>");
    EXPECT_EQ(readersComplain(file), "");
}

TEST_F(SvgOutput, LongPolylinesBreakBetweenPairsAndPixelsAreZeroLines) {
    const auto file = start(3, "long.svg");
    std::vector<float> x(200), y(200);
    for (std::size_t k = 0; k < x.size(); ++k) {
        x[k] = static_cast<float>(k) / 200.0f;
        y[k] = k % 2 == 0 ? 0.123f : 0.877f;
    }
    PolylineClipped(x.data(), y.data(), 200, false);
    DeviceParameterBlock& b = deviceBlock();
    b.fx[1] = 400.0f, b.fy[1] = 300.0f;
    SvgDriver(26);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    std::size_t pairs = 0;
    bool closed = false;
    for (const auto& l : lines) {
        EXPECT_LE(l.size(), 256u);
        if (l.starts_with("<") && !l.starts_with("<polyline")) continue;
        pairs += static_cast<std::size_t>(std::count(l.begin(), l.end(), ','));
        EXPECT_FALSE(l.starts_with(" ") || l.starts_with(","));
        closed = closed || l.ends_with("\"/>");
    }
    EXPECT_EQ(pairs, 200u);
    EXPECT_TRUE(closed);
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "<line x1=\"320\" y1=\"240\" x2=\"320\" y2=\"240\" />"),
              1);
    EXPECT_EQ(readersComplain(file), "");
}

TEST_F(SvgOutput, TextIsEscapedPlacedAndTurned) {
    const auto file = start(3, "text.svg");
    DrawTextAt(0.5f, 0.5f, "A&B<\xE9\x80\x01", 7);
    SetCharacterDirection(30.0f);
    DrawTextAt(0.2f, 0.2f, "up", 2);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    const std::string all = test::slurp(file);
    EXPECT_NE(all.find(">A&#38;B&#60;&#233;&#8364;</text>"), std::string::npos) << all;
    EXPECT_NE(all.find(" rotate(-30)\">up</text>"), std::string::npos) << all;
    EXPECT_EQ(countStarting(lines, "<g style=\"fill:#000000;stroke:none;font-family:"
                                   "'Courier New',Courier;text-anchor:middle;font-size:"),
              2u)
        << all;
    EXPECT_EQ(readersComplain(file), "");
}

TEST_F(SvgOutput, ATextOfOneCharacterInPiecesClosesItsGroup) {
    const auto file = start(3, "piece.svg");
    SetTextModeLetter("P");
    DrawTextAt(0.5f, 0.5f, "0", 1);
    LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    const auto text = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& l) { return l.ends_with(">0</text>"); });
    ASSERT_NE(text, lines.end());
    // The line is drawn with the line group's stroke, not inside the text's.
    EXPECT_EQ(*(text + 1), "</g>");
    EXPECT_TRUE((text + 2)->starts_with("<line")) << *(text + 2);
    EXPECT_EQ(lines.back(), "</g></svg>");
}

TEST_F(SvgOutput, SampleDrawingIsWellFormedAndRenders) {
    const auto file = start(3, "sample.svg");
    drawSample();
    HardcopySwitch("S");
    EXPECT_EQ(readersComplain(file), "");
}

TEST_F(SvgOutput, AbsurdInputStaysWellFormed) {
    const auto file = start(3, "absurd.svg");
    test::drawAbsurd(SvgDriver);
    HardcopySwitch("S");
    EXPECT_EQ(readersComplain(file), "");
    EXPECT_EQ(test::slurp(file).find('*'), std::string::npos);
}

TEST_F(SvgOutput, UnwritableFileSwitchesOutputOff) {
    const auto file = start(3, "missing/folder.svg");
    EXPECT_EQ(graphicsState().hardcopyDriver, 0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(SvgOutput, ArcsTakeTheLargeArcFlagAndCloseIntoSectors) {
    const auto file = start(3, "arcs.svg");
    GraphicsState& g = graphicsState();
    DeviceParameterBlock& b = deviceBlock();
    for (int density : {3, 2}) {
        g.fillStyle = 0;
        g.fillDensity = density;
        b.fx[1] = 400.0f, b.fy[1] = 300.0f, b.fx[2] = 100.0f, b.fy[2] = 100.0f;
        b.fx[3] = 0.0f, b.fy[3] = density == 3 ? 3.2f : 1.0f;
        SvgDriver(34);
    }
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    const auto arcs = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& l) { return l.starts_with("<path"); });
    ASSERT_NE(arcs, lines.end());
    EXPECT_NE(arcs->find(" A 80,80 0 1 0 "), std::string::npos) << *arcs;
    EXPECT_EQ(arcs->find(" L "), std::string::npos) << *arcs;
    EXPECT_NE((arcs + 1)->find(" A 80,80 0 0 0 "), std::string::npos) << *(arcs + 1);
    EXPECT_NE((arcs + 1)->find(" L 320,240 L "), std::string::npos) << *(arcs + 1);
    EXPECT_EQ(readersComplain(file), "");
}

TEST(SvgNumbers, TrailingZerosGo) {
    const std::pair<float, const char*> cases[] = {
        {12.0f, "12"}, {12.5f, "12.5"}, {12.25f, "12.25"}, {-0.001f, "0"}, {-3.0f, "-3"},
        {0.5f, "0.5"}, {1.0e9f, "99999.99"}};
    for (auto [value, text] : cases)
        EXPECT_EQ(SvgFormatNumber(value), text) << value;
}

}  // namespace
}  // namespace tk
