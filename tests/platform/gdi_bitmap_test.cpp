// Bitmaps and device-independent bitmaps: the copy-out and stretch-back
// path the printer uses, DIB sections, rotated images and context state.

#include <gtest/gtest.h>

#include <cstring>

#include "gdi_test_support.h"

using namespace win;
using gdi_test::Canvas;

namespace {

TEST(GdiBitmap, ScreenAreaGoesThroughA24BitDibAndBack) {
    Canvas screen(40, 30);
    gdi_test::fillNoise(screen.surface, 5);
    const int w = 7, h = 5;  // odd width: rows are padded to 4 bytes
    HDC mem = CreateCompatibleDC(screen.dc);
    HBITMAP bm = CreateCompatibleBitmap(screen.dc, w, h);
    HGDIOBJ old = SelectObject(mem, bm);
    ASSERT_TRUE(BitBlt(mem, 0, 0, w, h, screen.dc, 10, 12, SRCCOPY));
    SelectObject(mem, old);
    BITMAP info;
    ASSERT_EQ(GetObjectA(bm, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, w);
    EXPECT_EQ(info.bmPlanes * info.bmBitsPixel, 32);

    std::vector<std::uint8_t> block(sizeof(BITMAPINFOHEADER) + 16);
    auto* bi = reinterpret_cast<BITMAPINFO*>(block.data());
    bi->bmiHeader = BITMAPINFOHEADER{};
    bi->bmiHeader.biWidth = w;
    bi->bmiHeader.biHeight = h;
    bi->bmiHeader.biBitCount = 24;
    ASSERT_NE(GetDIBits(mem, bm, 0, h, nullptr, bi, DIB_RGB_COLORS), 0);
    const int rowBytes = (w * 24 + 31) / 32 * 4;
    EXPECT_EQ(bi->bmiHeader.biSizeImage, static_cast<DWORD>(rowBytes * h));
    std::vector<std::uint8_t> bits(bi->bmiHeader.biSizeImage);
    ASSERT_EQ(GetDIBits(mem, bm, 0, h, bits.data(), bi, DIB_RGB_COLORS), h);
    // Bottom-up rows of blue, green, red.
    const std::uint32_t topLeft = screen.at(10, 12);
    const std::uint8_t* lastRow = bits.data() + rowBytes * (h - 1);
    EXPECT_EQ(lastRow[0], topLeft & 0xFF);
    EXPECT_EQ(lastRow[2], (topLeft >> 16) & 0xFF);

    Canvas page(14, 10);
    ASSERT_EQ(
        StretchDIBits(page.dc, 0, 0, 14, 10, 0, 0, w, h, bits.data(), bi, DIB_RGB_COLORS, SRCCOPY),
        h);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 14; ++x)
            ASSERT_EQ(page.at(x, y), screen.at(10 + x / 2, 12 + y / 2)) << x << "," << y;
    DeleteObject(bm);
    DeleteDC(mem);
}

TEST(GdiBitmap, DibSectionBitsAndDrawingStayInStep) {
    std::vector<std::uint8_t> block(sizeof(BITMAPINFOHEADER) + 256 * 4);
    auto* bi = reinterpret_cast<BITMAPINFO*>(block.data());
    bi->bmiHeader = BITMAPINFOHEADER{};
    bi->bmiHeader.biWidth = 4;
    bi->bmiHeader.biHeight = -2;  // top-down
    bi->bmiHeader.biBitCount = 8;
    bi->bmiHeader.biClrUsed = 2;
    bi->bmiColors[0] = {0, 0, 255, 0};  // red
    auto* second = reinterpret_cast<RGBQUAD*>(block.data() + sizeof(BITMAPINFOHEADER) + 4);
    *second = {255, 0, 0, 0};  // blue
    void* raw = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, bi, DIB_RGB_COLORS, &raw, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    auto* bits = static_cast<std::uint8_t*>(raw);
    bits[1] = 1;  // row 0, column 1: blue
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, dib);
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(mem, 1, 0), RGB(0, 0, 255));
    SetPixel(mem, 2, 1, RGB(0, 0, 250));
    EXPECT_EQ(bits[4 + 2], 1) << "drawing writes the nearest table entry";
    Canvas c(4, 2);
    BitBlt(c.dc, 0, 0, 4, 2, mem, 0, 0, SRCCOPY);
    EXPECT_EQ(c.at(1, 0), 0x0000FFu);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
}

// Unscaled copies between two surfaces, checked pixel by pixel: the source
// shifted by its own origin, the part of the rectangle off the source's
// edge black, the destination's clip and origin kept, each raster
// operation applied to what was there.
struct Transfer {
    const char* name;
    DWORD rop;
    int sx, sy;                    // source rectangle's corner (logical)
    POINT sourceOrigin{0, 0};      // the source's window origin
    POINT destinationOrigin{0, 0};  // the destination's viewport origin
    RECT clip{0, 0, 0, 0};         // the destination's clip (device), none when empty
};

class GdiTransfer : public ::testing::TestWithParam<Transfer> {};

TEST_P(GdiTransfer, EveryPixelIsTheOperationOfSourceAndDestination) {
    const Transfer& t = GetParam();
    Canvas src(30, 20), dst(40, 30);
    gdi_test::fillNoise(src.surface, 7);
    gdi_test::fillNoise(dst.surface, 9);
    const std::vector<std::uint32_t> before = dst.surface.pixels;
    SetWindowOrgEx(src.dc, t.sourceOrigin.x, t.sourceOrigin.y, nullptr);
    SetViewportOrgEx(dst.dc, t.destinationOrigin.x, t.destinationOrigin.y, nullptr);
    if (t.clip.right > t.clip.left)
        IntersectClipRect(dst.dc, t.clip.left - t.destinationOrigin.x,
                          t.clip.top - t.destinationOrigin.y, t.clip.right - t.destinationOrigin.x,
                          t.clip.bottom - t.destinationOrigin.y);
    const int x = 3, y = 4, w = 16, h = 12;
    ASSERT_TRUE(BitBlt(dst.dc, x, y, w, h, src.dc, t.sx, t.sy, t.rop));
    for (int dy = 0; dy < dst.surface.height; ++dy)
        for (int dx = 0; dx < dst.surface.width; ++dx) {
            const int i = dx - t.destinationOrigin.x - x, j = dy - t.destinationOrigin.y - y;
            const bool clipped = t.clip.right > t.clip.left &&
                                 !(dx >= t.clip.left && dx < t.clip.right && dy >= t.clip.top &&
                                   dy < t.clip.bottom);
            const std::uint32_t old = before[static_cast<std::size_t>(dy * 40 + dx)];
            std::uint32_t want = old;
            if (i >= 0 && i < w && j >= 0 && j < h && !clipped) {
                const int px = t.sx - t.sourceOrigin.x + i, py = t.sy - t.sourceOrigin.y + j;
                const std::uint32_t s =
                    px >= 0 && px < 30 && py >= 0 && py < 20 ? src.at(px, py) : 0u;
                want = t.rop == SRCCOPY ? s
                       : t.rop == SRCAND ? (s & old)
                       : t.rop == SRCPAINT ? (s | old)
                                           : (s ^ old);
            }
            ASSERT_EQ(dst.at(dx, dy), want) << dx << "," << dy;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Copies, GdiTransfer,
    ::testing::Values(Transfer{"copy", SRCCOPY, 5, 2},
                      Transfer{"and", SRCAND, 5, 2},
                      Transfer{"or", SRCPAINT, 5, 2},
                      Transfer{"exclusive_or", SRCINVERT, 5, 2},
                      Transfer{"off_the_source_edge", SRCCOPY, 20, 12},
                      Transfer{"before_the_source_start", SRCCOPY, -4, -3},
                      Transfer{"source_origin", SRCCOPY, 9, 7, {6, 5}},
                      Transfer{"destination_origin_and_clip", SRCINVERT, 5, 2, {0, 0}, {7, 3},
                               {12, 10, 22, 17}}),
    [](const ::testing::TestParamInfo<Transfer>& info) { return std::string(info.param.name); });

TEST(GdiBitmap, QuarterTurnMovesTheTopLeftPixelWhereTheTransformSays) {
    // A 3 x 2 image whose top-left pixel is red, the rest green.
    std::vector<std::uint8_t> block(sizeof(BITMAPINFOHEADER));
    auto* bi = reinterpret_cast<BITMAPINFO*>(block.data());
    bi->bmiHeader = BITMAPINFOHEADER{};
    bi->bmiHeader.biWidth = 3;
    bi->bmiHeader.biHeight = 2;
    bi->bmiHeader.biBitCount = 24;
    std::vector<std::uint8_t> bits(2 * 12, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            bits[y * 12 + 3 * x + 1] = 255;
    bits[12 + 1] = 0;  // top row is stored last
    bits[12 + 2] = 255;
    Canvas c(40, 40);
    ASSERT_EQ(SetGraphicsMode(c.dc, GM_ADVANCED), GM_COMPATIBLE);
    const int x1 = 5, y1 = 7, offX = 10, offY = 30;
    XFORM turn{0, -1, 1, 0, offX, offY};
    ASSERT_TRUE(SetWorldTransform(c.dc, &turn));
    StretchDIBits(c.dc, x1, y1, 3, 2, 0, 0, 3, 2, bits.data(), bi, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(c.at(y1 + offX, -x1 + offY), 0xFF0000u);
    EXPECT_EQ(c.countNot(0xFFFFFF), 6);
    EXPECT_EQ(SetGraphicsMode(c.dc, GM_COMPATIBLE), 0) << "needs the identity first";
    ModifyWorldTransform(c.dc, nullptr, MWT_IDENTITY);
    EXPECT_EQ(SetGraphicsMode(c.dc, GM_COMPATIBLE), GM_ADVANCED);
}

TEST(GdiBitmap, SaveAndRestoreBringBackObjectsModesAndClip) {
    Canvas c(20, 20);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    const int level = SaveDC(c.dc);
    EXPECT_EQ(level, 1);
    SelectObject(c.dc, red);
    SetROP2(c.dc, R2_XORPEN);
    IntersectClipRect(c.dc, 0, 0, 5, 5);
    SetMapMode(c.dc, MM_ANISOTROPIC);
    SaveDC(c.dc);
    SetBkColor(c.dc, RGB(1, 2, 3));
    EXPECT_TRUE(RestoreDC(c.dc, -1));
    EXPECT_EQ(GetBkColor(c.dc), RGB(255, 255, 255));
    EXPECT_EQ(GetROP2(c.dc), R2_XORPEN);
    EXPECT_TRUE(RestoreDC(c.dc, level));
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetROP2(c.dc), R2_COPYPEN);
    EXPECT_EQ(GetMapMode(c.dc), MM_TEXT);
    RECT box;
    GetClipBox(c.dc, &box);
    EXPECT_EQ(box.right, 20);
    EXPECT_FALSE(RestoreDC(c.dc, 1));
    DeleteObject(red);
}

TEST(GdiBitmap, DeviceFactsOfScreenContexts) {
    Canvas c(10, 10);
    EXPECT_EQ(GetDeviceCaps(c.dc, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(c.dc, HORZRES), 1280);
    EXPECT_EQ(GetDeviceCaps(c.dc, VERTRES), 1024);
    EXPECT_EQ(GetDeviceCaps(c.dc, PLANES), 1);
    EXPECT_GT(GetDeviceCaps(c.dc, BITSPIXEL), 8);
    EXPECT_EQ(GetDeviceCaps(c.dc, NUMCOLORS), -1);
    EXPECT_EQ(GetDeviceCaps(c.dc, RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_NE(GetDeviceCaps(c.dc, RASTERCAPS) & RC_STRETCHDIB, 0);
    // Palettes are accepted and change nothing on true colour.
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + 4);
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 2;
    lp->palPalEntry[0] = {10, 20, 30, 0};
    reinterpret_cast<PALETTEENTRY*>(block.data() + sizeof(LOGPALETTE))[0] = {200, 0, 0, 0};
    HPALETTE pal = CreatePalette(lp);
    ASSERT_NE(SelectPalette(c.dc, pal, FALSE), nullptr);
    RealizePalette(c.dc);
    EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(190, 10, 0)), 1u);
    SetPixel(c.dc, 0, 0, PALETTEINDEX(1));
    EXPECT_EQ(c.at(0, 0), 0xC80000u);
    EXPECT_EQ(GetNearestColor(c.dc, RGB(1, 2, 3)), RGB(1, 2, 3));
    SelectPalette(c.dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    DeleteObject(pal);
}

TEST(GdiBitmap, DibScansGoToTheirRowsAndNoFurther) {
    // A bottom-up 1 x 4 image of which only scans 1 and 2 are given: red, then blue.
    std::vector<std::uint8_t> block(sizeof(BITMAPINFOHEADER));
    auto* bi = reinterpret_cast<BITMAPINFO*>(block.data());
    bi->bmiHeader = BITMAPINFOHEADER{};
    bi->bmiHeader.biWidth = 1;
    bi->bmiHeader.biHeight = 4;
    bi->bmiHeader.biBitCount = 24;
    const std::uint8_t scans[8] = {0, 0, 255, 0, 255, 0, 0, 0};
    Canvas c(3, 6);
    EXPECT_EQ(SetDIBitsToDevice(c.dc, 1, 1, 1, 4, 0, 0, 1, 2, scans, bi, DIB_RGB_COLORS), 2);
    // Scan 0 is the bottom row (device y 4), scan 3 the top (device y 1).
    EXPECT_EQ(c.at(1, 3), 0xFF0000u);
    EXPECT_EQ(c.at(1, 2), 0x0000FFu);
    EXPECT_EQ(c.at(1, 4), 0u);
    EXPECT_EQ(c.at(1, 1), 0u);
    EXPECT_EQ(c.at(1, 5), 0xFFFFFFu);
}

}  // namespace
