#include <cmath>
#include <string>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/graphics/stroke_font.h"
#include "toolkit/graphics/stroke_font_builtin.h"
#include "toolkit/graphics/text_output.h"
#include "toolkit/graphics/text_state.h"

namespace tk::test {
namespace {

// Stroke text on a 400 x 300 window target whose requests are recorded
// (hardcopy registered but off), with the standard font installed.
class StrokeFontTest : public GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ResetStrokeFontState();
        useTarget(400, 300);
        GrUnits(0, 0, 400, 300);
        recordBoth(false);
    }
    void TearDown() override {
        ResetStrokeFontState();
        GraphicsTest::TearDown();
    }
    // The sizes of the runs drawn on the screen: 2 for a line request, the
    // point count for a polyline, the point count for a filled polygon.
    std::vector<int> drawnRuns() const {
        std::vector<int> out;
        for (const Sent& s : sent) {
            if (s.side != 1) continue;
            if (s.code == 2) out.push_back(2);
            if (s.code == 32 || s.code == 15 || s.code == 16) out.push_back(s.block.count);
        }
        return out;
    }
};

TEST_F(StrokeFontTest, StandardFontIsInstalledAfterResetWithTheEuroInSlot127) {
    InstallStrokeFont(1, 1, 1, 1, 8, 0, 1, 0, "other.chr", "0011", {}, {});
    ResetGraphicsState();
    const StrokeFontGlyphs& f = installedStrokeFont();
    EXPECT_EQ(f.fontName, "standard.chr");
    EXPECT_EQ(f.hasCode127, 1);
    EXPECT_EQ(f.drawnAsStrokes, 1);
    EXPECT_EQ(f.preferredTextMode, 0);
    EXPECT_EQ(f.installedFontBold, 0);
    EXPECT_EQ(MapCharacterCode(128), 127);
    EXPECT_EQ(GlyphOfCode(127), "63522214192B5B6Au0656u0767");
    EXPECT_EQ(GlyphOfCode(33), "3233u363B");
    EXPECT_EQ(GlyphOfCode(65), "023B62u1555");
}

TEST_F(StrokeFontTest, EachCodeDrawsTheRunsOfItsGlyph) {
    struct Case {
        const char* text;
        std::vector<int> runs;
    };
    const Case cases[] = {
        {"!", {2, 2}},          {"A", {3, 2}},
        {"g", {4, 8}},          {"\x80", {8, 2, 2}},  // code 128 is the euro of slot 127
        {"\x7f", {}},           {"\x05", {}},         // blanks
        {"\xc4", {3, 2, 5, 5}},                       // capital A with diaeresis
        {"!A", {2, 2, 3, 2}},
    };
    GrTextFont(1);
    for (const Case& c : cases) {
        clearLogs();
        DrawTextAt(200.0f, 150.0f, c.text);
        EXPECT_EQ(drawnRuns(), c.runs) << c.text;
    }
}

TEST_F(StrokeFontTest, GlyphPointsAreScaledIntoTheCell) {
    GrTextFont(1);
    SetTextAttributes(0);
    const GraphicsState& g = graphicsState();
    DrawTextAt(100.0f, 100.0f, "!");
    const float W = g.charWidthFraction * g.rotDevSpanX, H = g.charHeightFraction * g.rotDevSpanY;
    const float sx = W / 7.68f, sy = H / 11.88f;
    float px = 0, py = 0;
    WorldToDevice(100.0f, 100.0f, px, py);
    // The 6-unit design box is centred in the cell, its origin half a
    // character height below the middle line.
    const float gx = px + 0.5f * (W - 6.0f * sx), gy = py - 0.5f * H;
    const auto drawn = lines(1);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_NEAR(drawn[0].block.fx[1], gx + 3 * sx, 1e-3);
    EXPECT_NEAR(drawn[0].block.fy[1], gy + 2 * sy, 1e-3);
    EXPECT_NEAR(drawn[1].block.fy[2], gy + 11 * sy, 1e-3);
}

TEST_F(StrokeFontTest, ItalicShearsTheTopOfAGlyph) {
    GrTextFont(1, 2);
    SetTextAttributes(0);
    const GraphicsState& g = graphicsState();
    EXPECT_FLOAT_EQ(g.textSlant, 0.4663f);
    DrawTextAt(100.0f, 100.0f, "!");
    const float W = g.charWidthFraction * g.rotDevSpanX, H = g.charHeightFraction * g.rotDevSpanY;
    const auto bar = lines(1)[1].block;  // (3,6)-(3,11)
    const float rise = bar.fy[2] - bar.fy[1];
    EXPECT_NEAR(bar.fx[2] - bar.fx[1], 0.4663f * W / H * rise, 1e-3);
}

TEST_F(StrokeFontTest, ProportionalModeNarrowsTheSmallStandardGlyphs) {
    GrTextFont(1);
    SetTextAttributes(0);
    const GraphicsState& g = graphicsState();
    const float W = g.charWidthFraction * g.rotDevSpanX;
    auto crossbar = [&] {
        clearLogs();
        DrawTextAt(100.0f, 100.0f, "A");
        const auto b = lines(1).back().block;  // (1,5)-(5,5)
        return b.fx[2] - b.fx[1];
    };
    EXPECT_NEAR(crossbar(), 4 * W / 7.68f, 1e-3);
    graphicsState().textMode = 1;
    EXPECT_NEAR(crossbar(), 0.75f * 4 * W / 7.68f, 1e-3);
}

TEST_F(StrokeFontTest, BoldStrokesUseDoubledWidthsOnlyForTheString) {
    std::vector<int> widthsAtLines;
    int widthRequests = 0;
    SetScreenDriver([&](int code) {
        if (code == 2 || code == 32) widthsAtLines.push_back(graphicsState().lineWidthScreen);
        if (code == 30) ++widthRequests;
    });
    GrTextFont(1, 1);
    DrawTextAt(100.0f, 100.0f, "!");
    EXPECT_EQ(widthsAtLines, (std::vector<int>{2, 2}));
    EXPECT_EQ(widthRequests, 2);
    EXPECT_EQ(graphicsState().lineWidthScreen, 1);
}

TEST_F(StrokeFontTest, UnderlineOfStrokeTextSpansTheString) {
    GrTextFont(1, 4);
    SetTextAttributes(0);
    const GraphicsState& g = graphicsState();
    DrawTextAt(100.0f, 100.0f, "--");
    const float W = g.charWidthFraction * g.rotDevSpanX, H = g.charHeightFraction * g.rotDevSpanY;
    const auto line = lines(1).back().block;
    float px = 0, py = 0;
    WorldToDevice(100.0f, 100.0f, px, py);
    EXPECT_NEAR(line.fx[1], px, 1e-3);
    EXPECT_NEAR(line.fx[2], px + 2 * W, 1e-3);
    EXPECT_NEAR(line.fy[1], py - 0.45f * H, 1e-3);
}

TEST_F(StrokeFontTest, FilledFontsFillEachOutlineAndFollowTheBoldBit) {
    StrokeFontSwiss();
    GrTextFont(1, 1);  // bold: the family's bold member is installed
    EXPECT_EQ(installedStrokeFont().fontName, "swissbld.chr");
    EXPECT_EQ(installedStrokeFont().installedFontBold, 1);
    EXPECT_EQ(graphicsState().textMode, 1);
    std::vector<int> fillAtPolygons;
    SetScreenDriver([&](int code) {
        if (code == 15 || code == 16) fillAtPolygons.push_back(graphicsState().textFill);
    });
    graphicsState().fillStyle = 2;
    DrawTextAt(200.0f, 150.0f, "o!");
    EXPECT_EQ(fillAtPolygons, (std::vector<int>{1, 1, 1}));  // "o" one outline, "!" two
    EXPECT_EQ(graphicsState().fillStyle, 2);
    EXPECT_EQ(graphicsState().textFill, 0);
    GrTextFont(std::nullopt, 0);
    EXPECT_EQ(installedStrokeFont().fontName, "swiss.chr");
    EXPECT_EQ(installedStrokeFont().installedFontBold, 0);
    // The standard font is drawn with strokes and has no bold variant.
    DefaultStrokeFont();
    GrTextFont(std::nullopt, 1);
    EXPECT_EQ(installedStrokeFont().fontName, "standard.chr");
}

TEST_F(StrokeFontTest, SymbolFontsHaveNoCode127AndRestoreTheFontBefore) {
    GrTextFont(1);
    SymbolFontSelect(1);
    EXPECT_EQ(installedStrokeFont().fontName, "symbols.chr");
    EXPECT_EQ(installedStrokeFont().hasCode127, 0);
    EXPECT_EQ(MapCharacterCode(128), 32);
    DrawTextAt(200.0f, 150.0f, "\x80");
    EXPECT_TRUE(drawnRuns().empty());
    SymbolFontSelect(1);  // still selected: nothing saved again
    installedStrokeFont().installedFontBold = 1;
    SymbolFontSelect(0);
    EXPECT_EQ(installedStrokeFont().fontName, "standard.chr");
    EXPECT_EQ(installedStrokeFont().hasCode127, 1);
    EXPECT_EQ(installedStrokeFont().installedFontBold, 0);
    EXPECT_EQ(graphicsState().strokeFontSelected, 1);
    StrokeFontSymbol();
    EXPECT_EQ(installedStrokeFont().fontName, "symbol.chr");
    EXPECT_EQ(installedStrokeFont().hasCode127, 0);
}

TEST_F(StrokeFontTest, RestoringWithNothingSavedKeepsTheInstalledFont) {
    FontStateSaveRestore(false);
    EXPECT_EQ(installedStrokeFont().fontName, "standard.chr");
    EXPECT_GT(installedStrokeFont().cellWidth, 0.0f);
}

TEST_F(StrokeFontTest, WidthTableResetsByCode) {
    charWidths()[65] = 3.0f;
    charWidths()[127] = 3.0f;
    charWidths()[200] = 3.0f;
    YYCHSPACE(65);
    YYCHSPACE(128);
    EXPECT_FLOAT_EQ(charWidths()[65], 1.11f);
    EXPECT_FLOAT_EQ(charWidths()[127], 0.74f);
    EXPECT_FLOAT_EQ(charWidths()[200], 3.0f);
    for (int bad : {127, 31, 160, 256, -1}) {
        toolkitState().LastErrorNumber = 0;
        YYCHSPACE(bad);
        EXPECT_EQ(toolkitState().LastErrorNumber, 66) << bad;
    }
    YYCHSPACE(0);
    EXPECT_FLOAT_EQ(charWidths()[200], 1.02f);
}

// Every glyph of every built-in font follows the glyph grammar: runs of 2 to
// 100 points of two coordinate characters, single separators between runs
// (one trailing separator allowed), and it has at least one run.
TEST(StrokeFontData, EveryGlyphOfEveryFontFollowsTheGrammar) {
    ASSERT_EQ(BuiltinStrokeFonts().size(), 9u);
    for (const BuiltinStrokeFont& font : BuiltinStrokeFonts()) {
        SCOPED_TRACE(std::string(font.name));
        const bool has127 = (font.flags & 2) != 0;
        ASSERT_EQ(font.lowerStarts.size(), has127 ? 96u : 95u);
        ASSERT_EQ(font.upperStarts.size(), 96u);
        EXPECT_LE(font.glyphs.size(), static_cast<std::size_t>(kGlyphTextSize));
        EXPECT_EQ(font.lowerStarts.front(), 1);
        EXPECT_EQ(static_cast<std::size_t>(font.upperStarts.back()), font.glyphs.size() + 1);
        std::vector<std::string_view> glyphs;
        for (std::size_t i = 0; i + 1 < font.lowerStarts.size(); ++i)
            glyphs.push_back(font.glyphs.substr(font.lowerStarts[i] - 1,
                                                font.lowerStarts[i + 1] - font.lowerStarts[i]));
        for (std::size_t i = 0; i + 1 < font.upperStarts.size(); ++i)
            glyphs.push_back(font.glyphs.substr(font.upperStarts[i] - 1,
                                                font.upperStarts[i + 1] - font.upperStarts[i]));
        ASSERT_EQ(glyphs.size(), has127 ? 190u : 189u);
        for (std::string_view glyph : glyphs) {
            SCOPED_TRACE(std::string(glyph));
            std::size_t runs = 0, p = 0;
            while (p < glyph.size()) {
                std::size_t points = 0;
                while (p + 1 < glyph.size() && GlyphCoordinate(glyph[p]) >= 0 &&
                       GlyphCoordinate(glyph[p + 1]) >= 0) {
                    p += 2;
                    ++points;
                }
                EXPECT_GE(points, 2u);
                EXPECT_LE(points, 100u);
                ++runs;
                if (p < glyph.size()) {
                    EXPECT_LT(GlyphCoordinate(glyph[p]), 0) << "odd coordinate count";
                    ++p;  // the separator
                }
            }
            EXPECT_GE(runs, 1u);
            EXPECT_EQ(GlyphRuns(glyph).size(), runs);
        }
    }
}

}  // namespace
}  // namespace tk::test
