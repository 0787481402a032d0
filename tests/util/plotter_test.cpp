#include <array>
#include <string>
#include <vector>

#include "plotter_test_support.h"
#include "toolkit/graphics/colour_table.h"
#include "util/axis_copy.h"
#include "util/plotter_text.h"
#include "util/rubber_bands.h"

namespace util::test {
namespace {

TEST_F(PlotterTest, PenMovesLandOnThePageThroughOriginAndFactor) {
    float ox = -1.0f, oy = -1.0f;
    PLOTXY(2.0f, 3.0f, -3, ox, oy);
    EXPECT_FLOAT_EQ(ox, 2.0f);
    EXPECT_FLOAT_EQ(oy, 3.0f);
    PLOTXY(1.0f, 1.0f, 2);
    ASSERT_EQ(strokes().size(), 1u);
    EXPECT_TRUE(sameLine(strokes()[0], 2.0f, 3.0f, 3.0f, 4.0f));

    // A new origin is absolute, not added to the old one.
    PLOTXY(5.0f, 5.0f, -3);
    PLOTXY(1.0f, -1.0f, 2);
    ASSERT_EQ(strokes().size(), 2u);
    EXPECT_TRUE(sameLine(strokes()[1], 5.0f, 5.0f, 6.0f, 4.0f));

    // The factor applies after the origin.
    PLOTFACTOR(0.5f, 0.5f);
    PLOTXY(1.0f, 1.0f, 2);
    EXPECT_TRUE(sameLine(strokes().back(), 6.0f, 4.0f, 3.0f, 3.0f));

    // Codes other than 2 and 3 draw nothing; initialising resets origin and factor.
    clear();
    PLOTXY(9.0f, 9.0f, 5);
    PLOTXY(0.0f, 0.0f, 1);
    PLOTXY(1.0f, 1.0f, 3);
    PLOTXY(2.0f, 1.0f, 2);
    ASSERT_EQ(strokes().size(), 1u);
    EXPECT_TRUE(sameLine(strokes()[0], 1.0f, 1.0f, 2.0f, 1.0f));
    float x = 0, y = 0, f = 0;
    WHERE(x, y, f);
    EXPECT_FLOAT_EQ(x, 2.0f);
    EXPECT_FLOAT_EQ(f, 1.0f);
}

TEST_F(PlotterTest, InitialisingDefinesThePensOnceAndStartsHardcopyOnRequest) {
    int hardcopyStarts = 0;
    plotterServices().hardcopySwitch = [&](std::string_view, std::string_view) {
        ++hardcopyStarts;
    };
    EXPECT_TRUE(plotterState().palettePending);
    PLOTXY(1.0f, 0.0f, 16);
    EXPECT_FALSE(plotterState().palettePending);
    EXPECT_EQ(hardcopyStarts, 0);
    struct Pen {
        int pen, hue, lightness, saturation;
    };
    for (const Pen& p : {Pen{0, 0, 0, 100}, Pen{4, 0, 50, 100}, Pen{8, 240, 50, 100},
                         Pen{11, 120, 50, 100}, Pen{13, 0, 33, 0}, Pen{15, 0, 100, 0}}) {
        int got = -1;
        tk::ColourNumberRgb(p.pen, got);
        EXPECT_EQ(got, tk::HlsToRgb(p.hue, p.lightness, p.saturation)) << "pen " << p.pen;
    }
    int black = -1, white = -1;
    tk::ColourNumberRgb(0, black);
    tk::ColourNumberRgb(15, white);
    EXPECT_EQ(black & 0xFFFFFF, 0);
    EXPECT_EQ(white & 0xFFFFFF, 0xFFFFFF);
    // A later screen initialisation leaves a redefined pen alone.
    tk::PaletteEntryFromHLS(4, 120, 50, 100);
    PLOTXY(1.0f, 0.0f, 1);
    int pen4 = 0;
    tk::ColourNumberRgb(4, pen4);
    EXPECT_EQ(pen4, tk::HlsToRgb(120, 50, 100));

    XORON();
    ERASEON();
    PLOTXY(0.0f, 1.0f, 1);
    EXPECT_EQ(hardcopyStarts, 1);
    EXPECT_FALSE(L_XOR());
    EXPECT_FALSE(L_ERASE());
}

TEST_F(PlotterTest, PensAndModesChooseColourAndPlotMode) {
    SETPEN(4);
    SETPEN(16);
    SETPEN(-1);
    std::int32_t pen = 0;
    GETPEN(pen);
    EXPECT_EQ(pen, 4);
    PLOTXY(1.0f, 1.0f, 3);
    PLOTXY(2.0f, 1.0f, 2);
    ERASEON();
    PLOTXY(3.0f, 1.0f, 2);
    ERASEOFF();
    PLOTXY(4.0f, 1.0f, 2);
    ASSERT_EQ(strokes().size(), 3u);
    EXPECT_EQ(strokes()[0].colour, 4);
    EXPECT_EQ(strokes()[1].colour, 15);
    EXPECT_EQ(strokes()[2].colour, 4);
    EXPECT_EQ(strokes()[2].mode, 0);

    XORON();
    SAVEXOR();
    XOROFF();
    EXPECT_EQ(tk::graphicsState().drawingMode, 0);
    RESTOREXOR();
    EXPECT_TRUE(L_XOR());
    EXPECT_EQ(tk::graphicsState().drawingMode, 3);
    PLOTXY(5.0f, 1.0f, 2);
    EXPECT_EQ(strokes().back().mode, 3);
    EXPECT_TRUE(sameLine(strokes().back(), 4.0f, 1.0f, 5.0f, 1.0f));
}

TEST_F(PlotterTest, RubberBandsDrawInExclusiveOrFromWindowUnits) {
    SETPEN(2);
    RUBBERBOX(0, 10000, 5000, 5000);
    const auto box = strokes();
    ASSERT_EQ(box.size(), 4u);
    EXPECT_TRUE(sameLine(box[0], 0.0f, 0.0f, 0.0f, 4.0f));
    EXPECT_TRUE(sameLine(box[1], 0.0f, 4.0f, 5.0f, 4.0f));
    EXPECT_TRUE(sameLine(box[2], 5.0f, 4.0f, 5.0f, 0.0f));
    EXPECT_TRUE(sameLine(box[3], 5.0f, 0.0f, 0.0f, 0.0f));
    for (const DrawnLine& l : box)
        EXPECT_EQ(l.mode, 3);
    // The caller's normal mode comes back.
    EXPECT_FALSE(L_XOR());
    EXPECT_EQ(tk::graphicsState().drawingMode, 0);

    // They ignore the plotter's origin.
    clear();
    PLOTXY(3.0f, 3.0f, -3);
    RUBBERPOLY(1000, 5000, 2000, 2500, 3000, 5000);
    ASSERT_EQ(strokes().size(), 2u);
    EXPECT_TRUE(sameLine(strokes()[0], 1.0f, 4.0f, 2.0f, 6.0f));
    EXPECT_TRUE(sameLine(strokes()[1], 2.0f, 6.0f, 3.0f, 4.0f));
}

struct MaknumCase {
    float x;
    std::int32_t nd;
    const char* text;
    std::int32_t length;
};

TEST_F(PlotterTest, NumbersBecomeTextWithTheirLength) {
    const std::vector<MaknumCase> cases = {
        {12.4f, 0, "12.", 3},        {12.4f, -1, "12.", 2},         {12.4f, 2, "12.40", 5},
        {-0.5f, 3, "-0.500", 6},     {3.0f, 12, "3.000000000", 11}, {0.0f, -1, "0.", 1},
        {49800.0f, -1, "49800.", 5},
    };
    for (const MaknumCase& c : cases) {
        std::array<char, 20> text{};
        text.fill('#');
        std::int32_t nd = c.nd;
        MAKNUM(c.x, text, 20, nd);
        EXPECT_EQ(nd, c.length) << c.x << " " << c.nd;
        EXPECT_EQ(std::string(text.data(), std::string(c.text).size()), c.text) << c.x;
        EXPECT_EQ(text[std::string(c.text).size()], ' ') << c.x;
    }
}

TEST_F(PlotterTest, TextIsPlacedByHeightJustificationAndAngle) {
    PLOTXY(1.0f, 1.0f, -3);
    SYMBOL(2.0f, 3.0f, 0.2f, "Depth", 0.0f, 5);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Depth");
    EXPECT_EQ(texts[0].justification, 0);
    DrawnText at = reference(3.0f, 4.1f, "Depth");  // raised by half the height
    EXPECT_NEAR(texts[0].x, at.x, 1e-4);
    EXPECT_NEAR(texts[0].y, at.y, 1e-4);
    EXPECT_NEAR(texts[0].widthFraction, 0.8f * 0.0108f, 1e-6);
    EXPECT_NEAR(texts[0].heightFraction, 0.8f * 0.04f, 1e-6);

    clear();
    SYMBOL(2.0f, 3.0f, 0.2f, "Depth", 90.0f, 5);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NEAR(texts[0].angle, 90.0f, 1e-3);
    at = reference(3.1f, 4.0f, "Depth");  // moved across the direction
    EXPECT_NEAR(texts[0].x, at.x, 1e-4);
    EXPECT_NEAR(texts[0].y, at.y, 1e-4);

    clear();
    CENTSY(2.0f, 3.0f, 0.2f, "mGal", 0.0f, 4);
    SYMBOR(2.0f, 3.0f, 0.2f, "nT", 0.0f, 2);
    SYMBOL(2.0f, 3.0f, 0.2f, "none", 0.0f, 0);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].justification, 1);
    EXPECT_NEAR(texts[0].widthFraction, 0.8f * 0.0114f, 1e-6);
    EXPECT_EQ(texts[1].justification, 2);
    // Right-justified text sits on the point without the half-height shift.
    at = reference(3.0f, 4.0f, "nT");
    EXPECT_NEAR(texts[1].x, at.x, 1e-4);
    EXPECT_NEAR(texts[1].y, at.y, 1e-4);
    // The width grows with the characters and the height.
    const float w = STRINGWIDTH(0.2f, "mGal", 0.0f, 4);
    EXPECT_GT(w, 0.0f);
    EXPECT_NEAR(STRINGWIDTH(0.4f, "mGal", 0.0f, 4), 2.0f * w, 1e-4);

    clear();
    CENTSYLIMIT(5.0f, 5.0f, 0.2f, "0123456789", 0.0f, 10, 0.5f);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NEAR(texts[0].heightFraction, 4.0f * 0.1f * 0.04f, 1e-6);

    clear();
    NUMBER(0.0f, 0.0f, 0.1f, 12.4f, 0.0f, 1);
    CENTNM(0.0f, 0.0f, 0.1f, 250.0f, 0.0f, -1);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "12.4");
    EXPECT_EQ(texts[1].text, "250");
}

// A small window shrinks the page and its text with it; on the screen the
// characters keep a readable size, with their feet where they were asked,
// while hardcopy keeps the page's sizes.
TEST_F(PlotterTest, ScreenTextInASmallWindowStaysReadable) {
    struct Case {
        int width, height;  // the window in pixels
        bool hardcopy;
        float leastHeightPixels, leastWidthPixels;
    };
    const Case cases[] = {
        {400, 300, false, 12.0f, 8.0f},   // enlarged
        {1000, 800, false, 12.8f, 8.0f},  // high enough as asked, widened
        {400, 300, true, 4.8f, 1.7f},     // hardcopy: as asked
    };
    for (const Case& c : cases) {
        useTarget(c.width, c.height);
        PLOTXY(0.0f, 0.0f, -3);
        tk::graphicsState().hardcopyDriver = c.hardcopy ? 1 : 0;
        clear();
        SYMBOL(2.0f, 3.0f, 0.1f, "100", 0.0f, 3);
        tk::graphicsState().hardcopyDriver = 0;
        ASSERT_EQ(texts.size(), 1u);
        const tk::GraphicsState& g = tk::graphicsState();
        const float heightPixels = texts[0].heightFraction * g.rotDevSpanY;
        const float widthPixels = texts[0].widthFraction * g.rotDevSpanX;
        EXPECT_NEAR(heightPixels, c.leastHeightPixels, 0.1f) << c.width << " " << c.hardcopy;
        EXPECT_GE(widthPixels, c.leastWidthPixels - 0.1f) << c.width << " " << c.hardcopy;
        if (c.hardcopy) EXPECT_NEAR(widthPixels, 0.4f * 0.0108f * 400.0f, 0.01f);
        // The foot stays at y = 3: the anchor is raised by half the drawn height.
        const float drawnHeight = 0.1f * heightPixels / (4.0f * 0.1f * 0.04f * g.rotDevSpanY);
        const DrawnText at = reference(2.0f, 3.0f + 0.5f * drawnHeight, "100");
        EXPECT_NEAR(texts[0].y, at.y, 1e-3) << c.width << " " << c.hardcopy;
    }
    // The graph frame spaces its labels by the same magnification.
    EXPECT_GT(screenTextMagnification(0.1f), 1.0f);
    useTarget(1000, 800);
    EXPECT_FLOAT_EQ(screenTextMagnification(0.1f), 1.0f);
}

TEST_F(PlotterTest, FilledPolygonLeavesTheCallersArraysInPageUnits) {
    PLOTXY(1.0f, 2.0f, -3);
    PLOTFACTOR(2.0f, 1.0f);
    std::array<float, 3> x{0.0f, 1.0f, 0.0f}, y{0.0f, 0.0f, 1.0f};
    PLOTFILLPOLY(x, y, 3, 5);
    EXPECT_EQ(x, (std::array<float, 3>{2.0f, 4.0f, 2.0f}));
    EXPECT_EQ(y, (std::array<float, 3>{2.0f, 2.0f, 3.0f}));
    EXPECT_EQ(tk::graphicsState().colourNumber, 5);
}

TEST_F(PlotterTest, PixelConversionsRoundTripThroughOriginFactorAndPixelScale) {
    PLOTXY(1.0f, 2.0f, -3);
    PLOTFACTOR(0.5f, 0.5f);
    int px = 0, py = 0;
    IPIXXY(3.0f, 2.0f, px, py);
    float x = 0, y = 0;
    XYIPIX(x, y, px, py);
    EXPECT_NEAR(x, 3.0f, 0.03f);
    EXPECT_NEAR(y, 2.0f, 0.03f);
    int qx = 0, qy = 0;
    tk::WorldToPixels(2.0f, 2.0f, qx, qy);  // (3 + 1) x 0.5, (2 + 2) x 0.5
    EXPECT_EQ(px, qx);
    EXPECT_EQ(py, qy);

    SET_SCL(2.0f, 2.0f);
    IPIXXY(1.5f, 1.0f, px, py);
    EXPECT_EQ(px, qx);
    XYIPIX(x, y, px, py);
    EXPECT_NEAR(x, 1.5f, 0.02f);
    SET_SCL(0.0f, 1.0f);
    EXPECT_FALSE(plotterState().pixelScaleOn);
    IPIXXY2(2.0f, 2.0f, px, py);  // factor before origin: 2, 3
    tk::WorldToPixels(2.0f, 3.0f, qx, qy);
    EXPECT_EQ(px, qx);
    EXPECT_EQ(py, qy);
}

TEST_F(PlotterTest, AxisHalvesCopyBetweenRecords) {
    AxisRecord src{};
    src.originX = 1, src.divLengthX = 2, src.startX = 3, src.stepX = 4, src.offsetX = 5;
    src.scaleX = 6, src.divCountX = 7, src.firstDecadeX = 8, src.logX = true;
    src.originY = -1, src.divLengthY = -2, src.startY = -3, src.stepY = -4, src.offsetY = -5;
    src.scaleY = -6, src.divCountY = -7, src.firstDecadeY = -8, src.logY = false;
    src.yExtra1 = {1, 2, 3, 4};
    src.markerType = 9;
    AxisRecord d{};
    COPYXAXIS(d, src);
    EXPECT_EQ(d.divCountX, 7);
    EXPECT_TRUE(d.logX);
    EXPECT_EQ(d.divCountY, 0);
    EXPECT_EQ(d.markerType, 0);
    COPYYAXIS(d, src);
    EXPECT_EQ(d.startY, -3);
    EXPECT_EQ(d.yExtra1, src.yExtra1);
    AxisRecord e{};
    COPYXAXISY(e, src);
    EXPECT_EQ(e.originX, -1);
    EXPECT_EQ(e.firstDecadeX, -8);
    EXPECT_FALSE(e.logX);
    COPYYAXISX(e, src);
    EXPECT_EQ(e.scaleY, 6);
    EXPECT_TRUE(e.logY);
    EXPECT_EQ(e.yExtra1, (std::array<std::uint8_t, 4>{}));
}

TEST_F(PlotterTest, StringsAreJustifiedAtTheirPointLineFirst) {
    struct Case {
        void (*draw)(float, float, std::string_view, int);
        int justification;
    };
    for (const Case& c : {Case{CENTSTRING, 1}, Case{RIGHTSTRING, 2}, Case{LEFTSTRING, 0}}) {
        clear();
        c.draw(3.0f, 2.0f, "Station 12", 7);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, "Station");
        EXPECT_EQ(texts[0].justification, c.justification);
        EXPECT_EQ(tk::graphicsState().textJustification, c.justification);  // stays set
        const DrawnText at = reference(2.0f, 3.0f, "Station");
        EXPECT_NEAR(texts[0].x, at.x, 1e-4);
        EXPECT_NEAR(texts[0].y, at.y, 1e-4);
    }
    clear();
    CENTSTRING(3.0f, 2.0f, "none", -1);
    LEFTSTRING(3.0f, 2.0f, "cut", 99);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "cut");
}

}  // namespace
}  // namespace util::test
