#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics_test_support.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/png_writer.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/surface_dc.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/graphics/stroke_font.h"
#include "toolkit/graphics/stroke_font_builtin.h"
#include "toolkit/graphics/text_output.h"
#include "toolkit/graphics/text_state.h"

namespace tk::test {
namespace {

// Text on a 400 x 300 window target in user units 0..400 x 0..300. The
// recording screen driver answers the font request with the nominal size
// and the extent request with a width of 10 device units per character.
class TextTest : public GraphicsTest {
  protected:
    bool answerExtent = false;

    void SetUp() override {
        GraphicsTest::SetUp();
        ResetStrokeFontState();
        useTarget(400, 300);
        GrUnits(0, 0, 400, 300);
        recordBoth(false);
        SetScreenDriver([this](int code) {
            GraphicsState& g = graphicsState();
            if (code == 21) {
                g.charScaleX = g.rotPlotExtentX / (g.charWidthFraction * g.rotDevSpanX);
                g.charScaleY = g.rotPlotExtentY / (g.charHeightFraction * g.rotDevSpanY);
            }
            if (code == 25 && answerExtent) {
                deviceBlock().count = 1;
                deviceBlock().fx[1] = 10.0f * static_cast<float>(deviceBlock().value);
            }
            sent.push_back({1, code, deviceBlock(), g.colourNumber, {}, {}});
        });
        screenDeviceInfo().capabilities.assign(ScreenCapabilities);
        screenDeviceInfo().textAngleCapability = 360;
        screenDeviceInfo().deviceTextThreshold = 1.7e38f;
        UpdateCharacterScale();
        clearLogs();
    }
    void TearDown() override {
        ResetStrokeFontState();
        GraphicsTest::TearDown();
    }
    float W() const { return graphicsState().charWidthFraction * graphicsState().rotDevSpanX; }
    float H() const { return graphicsState().charHeightFraction * graphicsState().rotDevSpanY; }
    // Device position of a point in user units.
    float devX(float x) const {
        float dx = 0, dy = 0;
        WorldToDevice(x, 0, dx, dy);
        return dx;
    }
    float devY(float y) const {
        float dx = 0, dy = 0;
        WorldToDevice(0, y, dx, dy);
        return dy;
    }
    // Requests that draw glyph strokes or filled glyph outlines.
    std::size_t strokes(int side) const {
        std::size_t n = 0;
        for (const Sent& s : sent)
            n += s.side == side && (s.code == 2 || s.code == 32 || s.code == 15 || s.code == 16);
        return n;
    }
    std::vector<Sent> requests(int side, int code) const {
        std::vector<Sent> out;
        for (const Sent& s : sent)
            if (s.side == side && s.code == code) out.push_back(s);
        return out;
    }
    // Hardcopy output on, with the text words of a driver.
    void hardcopyText(const char* capabilities, float threshold, int angles = 360) {
        DeviceInfo& info = hardcopyDeviceInfo();
        info.capabilities.assign(capabilities);
        info.deviceTextThreshold = threshold;
        info.textAngleCapability = angles;
        graphicsState().hardcopyDriver = 2;
    }
};

TEST_F(TextTest, DirectionIsReducedToOneTurnAndFollowsThePage) {
    struct Case {
        int rotation;
        float angle, textAngle, deviceAngle;
    };
    const Case cases[] = {
        {0, -90, 270, 270}, {0, 360, 0, 0}, {0, 725.5f, 5.5f, 5.5f}, {90, 300, 300, 30}};
    for (const Case& c : cases) {
        graphicsState().pageRotation = c.rotation;
        SetCharacterDirection(c.angle);
        EXPECT_NEAR(graphicsState().textAngle, c.textAngle, 1e-4) << c.angle;
        EXPECT_NEAR(graphicsState().deviceTextAngle, c.deviceAngle, 1e-4) << c.angle;
    }
    graphicsState().pageRotation = 0;
    SetCharacterDirection(90);
    EXPECT_NEAR(graphicsState().dirCos, 0.0f, 1e-6);
    EXPECT_EQ(requests(1, 33).size(), 5u);
}

TEST_F(TextTest, StringWidthComesFromModeTableOrDevice) {
    EXPECT_FLOAT_EQ(StringWidthInUnits("Wi.,!", 5), 5.0f);
    graphicsState().textMode = 1;
    EXPECT_NEAR(StringWidthInUnits("il", 2), 0.92f, 1e-6);
    EXPECT_NEAR(StringWidthInUnits("\x80", 1), 0.74f, 1e-6);  // as code 127
    EXPECT_NEAR(StringWidthInUnits("\x7f\x81\x1f", 3), 3 * 0.7f, 1e-6);
    EXPECT_FLOAT_EQ(StringWidthInUnits("il", 0), 0.0f);
    SymbolFontSelect(1);
    EXPECT_NEAR(StringWidthInUnits("\x80", 1), 0.7f, 1e-6);  // no slot 127: a blank
    SymbolFontSelect(0);
    // Device layout asks the device for the extent.
    graphicsState().textMode = 2;
    answerExtent = true;
    const GraphicsState& g = graphicsState();
    EXPECT_NEAR(StringWidthInUnits("abcd", 4), 40.0f * g.charScaleX / g.rotPlotExtentX, 1e-5);
    EXPECT_NEAR(StringWidthInUnits("abcd", 4, 1), 0.74f + 0.84f + 0.74f + 0.84f, 1e-5);
}

TEST_F(TextTest, FontNumberSelectsFamilyAndStyle) {
    for (int k = 1; k <= 12; ++k) {
        for (int mode : {0, 2}) {
            graphicsState().textMode = mode;
            graphicsState().fontStyle = 4 + 8 + 16;  // underline kept, box and others cleared
            SelectFontNumber(k);
            const int face = mode == 0 ? 1 : (k <= 4 ? 2 : (k <= 8 ? 3 : 4));
            EXPECT_EQ(graphicsState().deviceFontKind, face) << k;
            const int bold = (k - 1) % 4 >= 2 ? 1 : 0, italic = k % 2 == 0 ? 2 : 0;
            EXPECT_EQ(graphicsState().fontStyle, 4 + bold + italic) << k;
        }
    }
}

TEST_F(TextTest, TextModeLettersSetModeAndFace) {
    struct Case {
        const char* letter;
        int face, mode, face2;
    };
    const Case cases[] = {{"x", 1, 0, 1}, {"h", 1, 2, 2}, {"H", 3, 2, 3}, {"Pz", 1, 1, 2}};
    for (const Case& c : cases) {
        graphicsState().deviceFontKind = c.face;
        SetTextModeLetter(c.letter);
        EXPECT_EQ(graphicsState().textMode, c.mode) << c.letter;
        EXPECT_EQ(graphicsState().deviceFontKind, c.face2) << c.letter;
    }
}

TEST_F(TextTest, TextFontKindsAndTheMissingUserFaceName) {
    GrTextFont(102, 1, 0.013f, 0.04f, std::nullopt, 2);
    const GraphicsState& g = graphicsState();
    EXPECT_EQ(g.deviceFontKind, 2);
    EXPECT_EQ(g.fontStyle, 1);
    EXPECT_EQ(g.textMode, 1);
    EXPECT_FLOAT_EQ(g.charWidthFraction, 0.013f);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    GrTextFont(100);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1058);
    EXPECT_EQ(g.effectiveFontKind, 2);
    GrTextFont(std::nullopt, std::nullopt, std::nullopt, std::nullopt, "Courier");
    EXPECT_EQ(g.textFontName, "Courier");
    SetCharacterSize(0.02f, 0.0f);  // a size <= 0 is the default
    EXPECT_FLOAT_EQ(g.charWidthFraction, 0.02f);
    EXPECT_FLOAT_EQ(g.charHeightFraction, 0.04f);
    // Selecting the stroke font adopts its preferred mode without a font request.
    clearLogs();
    GrTextFont(1);
    EXPECT_EQ(g.strokeFontSelected, 1);
    EXPECT_EQ(g.textMode, 0);
    EXPECT_TRUE(requests(1, 21).empty());
}

// The point given is the start, middle or end of the string; the current
// position moves past it.
TEST_F(TextTest, JustificationPlacesTheStringAndMovesThePosition) {
    for (int j = 0; j <= 2; ++j) {
        clearLogs();
        SetTextAttributes(j);
        DrawTextAt(100.0f, 100.0f, "abcd");
        const auto text = requests(1, 22);
        ASSERT_EQ(text.size(), 1u);
        const float jf = 0.5f * static_cast<float>(j);
        EXPECT_NEAR(text[0].block.fx[1], devX(100.0f) - jf * 4 * W(), 1e-3) << j;
        EXPECT_NEAR(text[0].block.fy[1], devY(100.0f), 1e-3) << j;
        EXPECT_EQ(text[0].block.pixX[1], 4);
        EXPECT_NEAR(devX(graphicsState().currentX), devX(100.0f) + (1 - jf) * 4 * W() + jf * W(),
                    1e-3)
            << j;
    }
    EXPECT_EQ(deviceTextBuffer().trimmed(), "abcd");
}

TEST_F(TextTest, JustificationCodesComeInThreeGroupsOfFour) {
    for (int code = 0; code <= 13; ++code) {
        clearLogs();
        SetTextAttributes(1);
        SetTextJustification(code);
        const int expected = code >= 1 && code <= 12 ? (code - 1) / 4 : 1;
        EXPECT_EQ(graphicsState().textJustification, expected) << code;
        DrawTextAt(100.0f, 100.0f, "ab");
        const auto text = requests(1, 22);
        ASSERT_EQ(text.size(), 1u);
        EXPECT_NEAR(text[0].block.fx[1], devX(100.0f) - 0.5f * expected * 2 * W(), 1e-3) << code;
    }
}

TEST_F(TextTest, CharactersOutsideTheAreaAreDroppedWhole) {
    SetTextAttributes(0);
    // Starts 1.5 characters left of the area: the first two characters go.
    DrawTextAt(-1.5f * W(), 100.0f, "abcdef");
    auto text = requests(1, 22);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].block.pixX[1], 4);
    EXPECT_NEAR(text[0].block.fx[1], 0.5f * W(), 1e-3);
    EXPECT_EQ(deviceTextBuffer().trimmed(), "cdef");
    // Wholly outside: nothing at all, but the position still moves.
    clearLogs();
    DrawTextAt(500.0f, 100.0f, "abc");
    EXPECT_TRUE(requests(1, 22).empty());
    EXPECT_NEAR(graphicsState().currentX, 500.0f + 3 * W(), 1e-3);
}

TEST_F(TextTest, StrokeTextWidthInUserUnits) {
    GrTextFont(1);
    SetTextAttributes(0);
    graphicsState().textMode = 1;
    DrawTextAt(100.0f, 100.0f, "il");
    // Units equal device units here: the position moves 0.92 character widths.
    EXPECT_NEAR(graphicsState().currentX, 100.0f + 0.92f * W(), 1e-3);
    EXPECT_TRUE(requests(1, 22).empty());
    EXPECT_FALSE(lines(1).empty());
}

TEST_F(TextTest, HardcopyDeviceTextDependsOnCapability27) {
    struct Case {
        const char* capabilities;
        bool deviceText;
    };
    const Case cases[] = {{"00000000000000000000000000100", true},
                          {"11111111111111111111111111011", false}};
    graphicsState().textMode = 1;
    graphicsState().deviceFontKind = 2;
    graphicsState().screenOutput = 0;
    for (const Case& c : cases) {
        clearLogs();
        hardcopyText(c.capabilities, 100.0f);
        DrawTextAt(100.0f, 100.0f, "ab");
        const auto text = requests(2, 22);
        EXPECT_EQ(text.size(), c.deviceText ? 2u : 0u) << c.capabilities;  // one per character
        EXPECT_EQ(strokes(2) == 0, c.deviceText) << c.capabilities;
        if (c.deviceText) {
            EXPECT_EQ(text[0].block.pixX[2], 1);
            EXPECT_EQ(text[1].block.pixX[2], 2);
        }
        EXPECT_TRUE(requests(1, 22).empty());
    }
    // The substitution left the installed font and the selection alone.
    EXPECT_EQ(installedStrokeFont().fontName, "standard.chr");
    EXPECT_EQ(graphicsState().strokeFontSelected, 0);
}

TEST_F(TextTest, HardcopyThresholdDecidesBySizeInFixedPitch) {
    graphicsState().screenOutput = 0;
    for (float threshold : {1.0f, 1000.0f}) {
        clearLogs();
        hardcopyText("00000000000000000000000000000", threshold);
        DrawTextAt(100.0f, 100.0f, "ab");
        const bool stroke = threshold < W();
        EXPECT_EQ(requests(2, 22).empty(), stroke) << threshold;
        EXPECT_EQ(strokes(2) == 0, !stroke) << threshold;
    }
}

TEST_F(TextTest, ScreenStrokeSubstituteThenHardcopyDeviceText) {
    // A screen that cannot rotate text gets stroke text, the hardcopy then
    // its own device text.
    screenDeviceInfo().textAngleCapability = 0;
    screenDeviceInfo().deviceTextThreshold = 1.0e6f;
    hardcopyText("00000000000000000000000000100", 1.0e6f);
    DrawTextAt(100.0f, 100.0f, "ab");
    EXPECT_TRUE(requests(1, 22).empty());
    EXPECT_GT(strokes(1), 0u);
    EXPECT_EQ(strokes(2), 0u);
    EXPECT_EQ(requests(2, 22).size(), 1u);
    EXPECT_EQ(graphicsState().hardcopyDriver, 2);
    EXPECT_EQ(graphicsState().screenOutput, 1);
    EXPECT_EQ(installedStrokeFont().fontName, "standard.chr");
}

TEST_F(TextTest, StackedTextGoesDownFromTheTopOfTheFirstCell) {
    SetTextAttributes(0, std::nullopt, 1);
    DrawTextAt(100.0f, 200.0f, "abc");
    const auto screen = requests(1, 22);
    ASSERT_EQ(screen.size(), 1u);
    EXPECT_EQ(screen[0].block.pixX[1], 3);
    // Anchor: bottom left of the first cell, whose top centre is the point.
    EXPECT_NEAR(screen[0].block.fx[1], devX(100.0f) - 0.5f * W(), 1e-3);
    EXPECT_NEAR(screen[0].block.fy[1], devY(200.0f) - H(), 1e-3);
    EXPECT_NEAR(devY(graphicsState().currentY), devY(200.0f) - 3 * W(), 1e-3);
    // The hardcopy gets one request per character, one cell lower each.
    clearLogs();
    graphicsState().screenOutput = 0;
    hardcopyText("00000000000000000000000000100", 1.7e38f);
    DrawTextAt(100.0f, 200.0f, "abc");
    const auto hardcopy = requests(2, 22);
    ASSERT_EQ(hardcopy.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(hardcopy[k].block.fy[1], devY(200.0f) - (k + 1) * H(), 1e-3) << k;
        EXPECT_EQ(hardcopy[k].block.pixX[2], k == 0 ? 1 : (k == 2 ? 2 : 0)) << k;
    }
}

TEST_F(TextTest, ScreenIgnoresTheRenderingChoice) {
    SetCharacterDirection(45);
    DrawTextAt(100.0f, 100.0f, "ab");
    EXPECT_EQ(requests(1, 22).size(), 1u);
    EXPECT_TRUE(lines(1).empty());
}

TEST_F(TextTest, UnderlineAndBoxAroundProportionalScreenText) {
    graphicsState().textMode = 1;
    graphicsState().deviceFontKind = 2;
    graphicsState().fontStyle = 4 + 8;
    SetTextAttributes(0);
    const int colour = graphicsState().colourNumber, fill = graphicsState().fillStyle;
    DrawTextAt(100.0f, 100.0f, "ab");
    EXPECT_EQ(requests(1, 22).size(), 2u);
    EXPECT_EQ(requests(1, 15).size() + requests(1, 16).size(), 1u);  // the box
    ASSERT_FALSE(lines(1).empty());
    const auto underline = lines(1).back().block;
    const float lv = (0.74f + 0.84f) * W();
    EXPECT_NEAR(underline.fx[2] - underline.fx[1], lv, 1e-3);
    EXPECT_NEAR(underline.fy[1], devY(100.0f) - 0.45f * H(), 1e-3);
    EXPECT_EQ(graphicsState().colourNumber, colour);
    EXPECT_EQ(graphicsState().fillStyle, fill);
}

// A sample of stroke and device text drawn by the real screen driver.
TEST_F(TextTest, SampleOnTheScreenDriver) {
    win::Surface surface(240, 80, 0xFFFFFF);
    drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
    useTarget(240, 80);
    GrUnits(0, 0, 240, 80);
    SetScreenDriver(nullptr);
    ResetScreenDriver();
    YYGAPI(1);
    ScreenSurfaceChanged();
    GrColourN(31);
    UpdateCharacterScale();
    SetTextAttributes(0);
    GrTextFont(1, std::nullopt, 0.035f, 0.2f);
    DrawTextAt(10.0f, 60.0f, "Pelk-GM \x80 1.5 g/cm\xb3");
    // Dropping the stroke font alone keeps the screen font chosen before;
    // giving the size again makes the screen choose one.
    GrTextFont(2, std::nullopt, 0.035f, 0.2f);
    DrawTextAt(10.0f, 20.0f, "Profile 7");
    const std::string path = ::testing::TempDir() + "pelk_text_sample.png";
    ASSERT_TRUE(win::savePng(surface, path));
    std::printf("text sample: %s\n", path.c_str());
    auto inked = [&](int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < surface.width; ++x)
                n += surface.at(x, y) != 0xFFFFFF;
        return n;
    };
    EXPECT_GT(inked(10, 30), 40);  // the stroke line (window rows run downwards)
    EXPECT_GT(inked(50, 70), 40);  // the device text line
    EXPECT_EQ(inked(33, 46), 0);   // nothing between them
    ResetScreenDriver();
    win::DeleteDC(drawingSurface().dc);
    drawingSurface() = DrawingSurface{};
}

// Text laid out character by character on the real screen driver takes the
// room the same characters take when written together at the size drawn,
// and that is the room the layout asks for (the width table's widths of the
// requested character width, a pixel or so per character): each character
// advances by its own drawn width, a centred string is centred on its
// point, and a title up an axis takes its own length.
TEST_F(TextTest, CharacterLayoutOnTheScreenIsAsWideAsTheDrawnText) {
    win::Surface surface(320, 320, 0xFFFFFF);
    drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
    useTarget(surface.width, surface.height);
    GrUnits(0, 0, 320, 320);
    SetScreenDriver(nullptr);
    ResetScreenDriver();
    YYGAPI(1);
    ScreenSurfaceChanged();
    GrColourN(31);
    SetTextAttributes(0);
    GrTextFont(102, 0, 0.025f, 0.045f, std::nullopt, 2);
    ASSERT_EQ(graphicsState().textMode, 1);
    const std::string title = "Block Line Gravity Data";
    win::SIZE extent{};
    win::GetTextExtentPoint32A(drawingSurface().dc, title.c_str(), static_cast<int>(title.size()),
                               &extent);
    ASSERT_GT(extent.cx, 40);
    // The width the layout asks for: the table's widths in cells of the
    // requested character width.
    const GraphicsState& g = graphicsState();
    const float requested = StringWidthInUnits(title, static_cast<int>(title.size()), 1) *
                            g.charWidthFraction * g.rotDevSpanX;
    // A pixel or so per character.
    const float tolerance = static_cast<float>(title.size());
    EXPECT_NEAR(extent.cx, requested, tolerance) << "the screen font's own width";
    // The first and last inked column of rows from..to below column 280, or
    // the first and last inked row of columns from..to when `rows`.
    auto inkedSpan = [&](int from, int to, bool rows) {
        int first = 100000, last = -1;
        for (int a = from; a < to; ++a)
            for (int k = 0; k < (rows ? surface.height : 280); ++k)
                if ((rows ? surface.at(a, k) : surface.at(k, a)) != 0xFFFFFF)
                    first = std::min(first, k), last = std::max(last, k);
        return std::pair{first, last};
    };
    DrawTextAt(10.0f, 300.0f, title);  // left-justified, along the top
    SetTextAttributes(1);
    DrawTextAt(160.0f, 200.0f, title);  // centred
    SetCharacterDirection(90);
    DrawTextAt(305.0f, 100.0f, title);  // centred up the right edge
    const std::string path = ::testing::TempDir() + "pelk_character_layout.png";
    ASSERT_TRUE(win::savePng(surface, path));
    std::printf("character layout: %s\n", path.c_str());
    const auto [left, right] = inkedSpan(5, 35, false);
    EXPECT_NEAR(right - left + 1, extent.cx, 0.08 * extent.cx) << "letter-spaced along the top";
    EXPECT_NEAR(right - left + 1, requested, tolerance) << "drawn narrower or wider than asked";
    const auto [cLeft, cRight] = inkedSpan(100, 140, false);
    EXPECT_NEAR(right - left, cRight - cLeft, 2) << "the centred copy";
    EXPECT_NEAR(0.5 * (cLeft + cRight), 160.0, 4.0) << "centred on its point";
    const auto [top, bottom] = inkedSpan(285, 320, true);
    EXPECT_NEAR(bottom - top + 1, extent.cx, 0.08 * extent.cx) << "letter-spaced up the edge";
    EXPECT_NEAR(bottom - top + 1, requested, tolerance) << "up the edge as wide as asked";
    EXPECT_NEAR(0.5 * (top + bottom), 320 - 100.0, 4.0);
    ResetScreenDriver();
    win::DeleteDC(drawingSurface().dc);
    drawingSurface() = DrawingSurface{};
}

// Every built-in font drawn on the screen, one line each, with its name.
TEST_F(TextTest, EveryBuiltinFontOnTheScreenDriver) {
    const int lines = static_cast<int>(BuiltinStrokeFonts().size());
    win::Surface surface(360, 24 * lines, 0xFFFFFF);
    drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
    useTarget(surface.width, surface.height);
    GrUnits(0, 0, static_cast<float>(surface.width), static_cast<float>(surface.height));
    SetScreenDriver(nullptr);
    ResetScreenDriver();
    YYGAPI(1);
    ScreenSurfaceChanged();
    GrColourN(31);
    SetTextAttributes(0);
    GrTextFont(1, std::nullopt, 0.03f, 16.0f / static_cast<float>(surface.height));
    for (int k = 0; k < lines; ++k) {
        const BuiltinStrokeFont& font = BuiltinStrokeFonts()[static_cast<std::size_t>(k)];
        const std::string text = std::string(font.name) + " Ag\xe9\x80";
        InstallStrokeFont(font.cellWidth, font.cellHeight, font.glyphWidth, font.glyphHeight, 8,
                          font.flags, font.preferredTextMode, 0, font.name, font.glyphs,
                          font.lowerStarts, font.upperStarts);
        DrawTextAt(6.0f, static_cast<float>(surface.height - 12 - 24 * k), text);
    }
    const std::string path = ::testing::TempDir() + "pelk_stroke_fonts.png";
    ASSERT_TRUE(win::savePng(surface, path));
    std::printf("stroke fonts: %s\n", path.c_str());
    for (int k = 0; k < lines; ++k) {
        int inked = 0;
        for (int y = 24 * k; y < 24 * k + 24; ++y)
            for (int x = 0; x < surface.width; ++x)
                inked += surface.at(x, y) != 0xFFFFFF;
        EXPECT_GT(inked, 150) << k;
    }
    ResetScreenDriver();
    win::DeleteDC(drawingSurface().dc);
    drawingSurface() = DrawingSurface{};
}

}  // namespace
}  // namespace tk::test
