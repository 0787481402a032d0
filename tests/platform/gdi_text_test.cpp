// Text drawn with real fonts: placement against the measured extent,
// rotation, alignment and the face mapping.

#include <gtest/gtest.h>

#include <cstring>

#include "gdi_test_support.h"
#include "platform/gdi/font_engine.h"

using namespace win;
using gdi_test::Canvas;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

HFONT arial(int height, int weight, int escapement = 0) {
    return CreateFontA(height, 0, escapement, escapement, weight, 0, 0, 0, ANSI_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, "Arial");
}

TEST(GdiText, GlyphsLieInsideTheMeasuredBox) {
    Canvas c(200, 60);
    HFONT font = arial(-16, FW_BOLD);
    SelectObject(c.dc, font);
    SetBkMode(c.dc, TRANSPARENT);
    SetTextAlign(c.dc, TA_BASELINE | TA_LEFT);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(c.dc, &tm));
    SIZE ext;
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc, "Gravity", 7, &ext));
    EXPECT_EQ(ext.cy, tm.tmHeight);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 16) << "negative height is the em height";
    EXPECT_GT(ext.cx, 40);
    EXPECT_LT(ext.cx, 90);
    const int x = 20, y = 40;
    TextOutA(c.dc, x, y, "Gravity", 7);
    const RECT ink = c.inkBox(kWhite);
    ASSERT_GT(c.countNot(kWhite), 50);
    EXPECT_GE(ink.left, x);
    EXPECT_LE(ink.right, x + ext.cx);
    EXPECT_GE(ink.top, y - tm.tmAscent);
    EXPECT_LE(ink.bottom, y - tm.tmAscent + ext.cy);
    // The glyphs fill most of the box: capital height and descender of "y".
    EXPECT_LE(ink.top, y - 10);
    EXPECT_GE(ink.bottom, y + 2);
    EXPECT_GE(ink.right, x + ext.cx - 3);
    // Only two colours: aliased glyphs.
    for (std::uint32_t p : c.surface.pixels)
        ASSERT_TRUE(p == kWhite || p == 0);
    SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST(GdiText, EscapementNinetyRunsUpwards) {
    Canvas c(80, 200);
    HFONT font = arial(-16, FW_BOLD, 900);
    SelectObject(c.dc, font);
    SetBkMode(c.dc, TRANSPARENT);
    SetTextAlign(c.dc, TA_BASELINE | TA_LEFT);
    SIZE ext;
    GetTextExtentPoint32A(c.dc, "Gravity", 7, &ext);
    TextOutA(c.dc, 40, 170, "Gravity", 7);
    const RECT ink = c.inkBox(kWhite);
    EXPECT_GE(ink.bottom, 165);
    EXPECT_LE(ink.bottom, 171);
    EXPECT_LE(ink.top, 170 - ext.cx + 4);
    EXPECT_GE(ink.top, 170 - ext.cx - 1);
    EXPECT_LT(ink.right - ink.left, 22) << "a column as wide as the text is high";
    EXPECT_LE(ink.right, 40 + 5) << "glyph tops point left of the baseline";
    SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST(GdiText, AlignmentAndOpaqueBackground) {
    Canvas c(200, 40);
    HFONT font = arial(-14, FW_NORMAL);
    SelectObject(c.dc, font);
    SIZE ext;
    GetTextExtentPoint32A(c.dc, "Model", 5, &ext);
    SetTextAlign(c.dc, TA_BASELINE | TA_RIGHT);
    SetBkMode(c.dc, OPAQUE);
    SetBkColor(c.dc, RGB(0, 255, 0));
    TextOutA(c.dc, 150, 30, "Model", 5);
    const RECT ink = c.inkBox(kWhite);
    EXPECT_EQ(ink.right, 150);
    EXPECT_EQ(ink.left, 150 - ext.cx);
    EXPECT_EQ(ink.bottom - ink.top, ext.cy);

    // TA_UPDATECP continues where the previous text ended.
    Canvas d(200, 40);
    SelectObject(d.dc, font);
    SetTextAlign(d.dc, TA_UPDATECP | TA_BASELINE);
    MoveToEx(d.dc, 10, 30, nullptr);
    TextOutA(d.dc, 0, 0, "Model", 5);
    POINT cp;
    GetCurrentPositionEx(d.dc, &cp);
    EXPECT_EQ(cp.x, 10 + ext.cx);
    EXPECT_EQ(cp.y, 30);
    SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
    SelectObject(d.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST(GdiText, ClippedTextStaysInsideItsRectangle) {
    Canvas c(200, 40);
    HFONT font = arial(-20, FW_BOLD);
    SelectObject(c.dc, font);
    SetBkMode(c.dc, TRANSPARENT);
    SetTextAlign(c.dc, TA_TOP);
    RECT r{10, 0, 30, 40};
    ExtTextOutA(c.dc, 5, 5, ETO_CLIPPED, &r, "WWWW", 4, nullptr);
    const RECT ink = c.inkBox(kWhite);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 30);
    SetBkColor(c.dc, RGB(0, 0, 255));
    RECT o{100, 5, 150, 25};
    ExtTextOutA(c.dc, 0, 0, ETO_OPAQUE, &o, nullptr, 0, nullptr);
    EXPECT_EQ(c.at(100, 5), 0x0000FFu);
    EXPECT_EQ(c.at(149, 24), 0x0000FFu);
    EXPECT_EQ(c.at(150, 24), kWhite);
    SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST(GdiText, FacesMapToInstalledFamilies) {
    struct Case {
        const char* face;
        BYTE charset;
        const char* family;
    };
    const Case cases[] = {{"Arial", ANSI_CHARSET, "Liberation Sans"},
                          {"MS Sans Serif", ANSI_CHARSET, "Liberation Sans"},
                          {"Times New Roman", ANSI_CHARSET, "Liberation Serif"},
                          {"Courier New", ANSI_CHARSET, "Liberation Mono"},
                          {"Symbol", SYMBOL_CHARSET, "DejaVu Sans"}};
    for (const Case& k : cases) {
        LOGFONTA lf;
        lf.lfHeight = -12;
        lf.lfCharSet = k.charset;
        std::strcpy(lf.lfFaceName, k.face);
        EXPECT_EQ(gdi::mappedFamily(lf), k.family) << k.face;
    }
    LOGFONTA sym;
    sym.lfHeight = -12;
    std::strcpy(sym.lfFaceName, "Symbol");
    auto f = gdi::realizeFont(sym);
    EXPECT_EQ(f->codePoint('a'), U'\u03B1');
    EXPECT_EQ(f->codePoint('W'), U'\u03A9');
    LOGFONTA wd;
    wd.lfHeight = -12;
    std::strcpy(wd.lfFaceName, "Wingdings");
    auto w = gdi::realizeFont(wd);
    EXPECT_EQ(w->codePoint(0xFC), U'\u2713');
    EXPECT_EQ(w->codePoint(0xFB), U'\u2717');
    EXPECT_NE(w->glyphIndex(0xFC), 0u) << "the check mark has a glyph";
    LOGFONTA arialLf;
    arialLf.lfHeight = -12;
    std::strcpy(arialLf.lfFaceName, "Arial");
    auto a = gdi::realizeFont(arialLf);
    EXPECT_EQ(a->codePoint(0x80), U'\u20AC') << "CP1252 bytes are shown as their characters";
    EXPECT_NE(a->glyphIndex(0xE9), 0u);
}

TEST(GdiText, DrawTextCentresASingleLine) {
    Canvas c(200, 40);
    HFONT font = arial(-12, FW_NORMAL);
    SelectObject(c.dc, font);
    SetBkMode(c.dc, TRANSPARENT);
    RECT r{0, 0, 200, 40};
    DrawTextA(c.dc, "&Open", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SIZE ext;
    GetTextExtentPoint32A(c.dc, "Open", 4, &ext);
    const RECT ink = c.inkBox(kWhite);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 20, 4);
    RECT calc{0, 0, 0, 0};
    DrawTextA(c.dc, "Open", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.right, ext.cx);
    SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST(GdiText, DrawTextBreaksWordsToFitTheRectangle) {
    Canvas c(120, 100);
    HFONT font = arial(-12, FW_NORMAL);
    SelectObject(c.dc, font);
    TEXTMETRICA tm;
    GetTextMetricsA(c.dc, &tm);
    RECT calc{0, 0, 60, 0};
    const char* text = "model of the gravity profile";
    const int height = DrawTextA(c.dc, text, -1, &calc, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_GE(height, 3 * tm.tmHeight);
    EXPECT_EQ(calc.bottom, height);
    EXPECT_LE(calc.right, 60);
    RECT r{0, 0, 60, 100};
    SetBkMode(c.dc, TRANSPARENT);
    DrawTextA(c.dc, text, -1, &r, DT_WORDBREAK);
    const RECT ink = c.inkBox(kWhite);
    EXPECT_LE(ink.right, 60);
    EXPECT_GT(ink.bottom, 2 * tm.tmHeight);
    EXPECT_LE(ink.bottom, height);
    SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

}  // namespace
