// Enhanced metafiles recorded from drawing calls and played back.

#include <gtest/gtest.h>

#include <cstring>

#include "gdi_test_support.h"
#include "platform/gdi/metafile.h"

using namespace win;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kSize = 192;  // 5080 hundredths of a millimetre at 96 dpi

void drawPicture(HDC dc) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(200, 0, 0));
    HPEN wide = CreatePen(PS_SOLID, 3, RGB(0, 0, 160));
    HBRUSH brush = CreateSolidBrush(RGB(0, 150, 0));
    HFONT font =
        CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS, 0, 0, 0, "Arial");
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, 10, 10, nullptr);
    LineTo(dc, 180, 40);
    LineTo(dc, 20, 100);
    SelectObject(dc, wide);
    MoveToEx(dc, 5, 120, nullptr);
    LineTo(dc, 185, 120);
    SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    const POINT tri[] = {{100, 50}, {170, 110}, {90, 105}};
    Polygon(dc, tri, 3);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 255));
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    TextOutA(dc, 20, 170, "Gravity", 7);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(font);
    DeleteObject(brush);
    DeleteObject(wide);
    DeleteObject(pen);
}

HENHMETAFILE recordPicture() {
    const RECT frame{0, 0, 5080, 5080};
    HDC rec = CreateEnhMetaFileA(nullptr, nullptr, &frame, "Pelk\0Test\0");
    EXPECT_NE(rec, nullptr);
    drawPicture(rec);
    return CloseEnhMetaFile(rec);
}

// A memory bitmap with a white background.
struct Bitmap {
    HDC dc;
    HBITMAP bm;
    HGDIOBJ old;
    explicit Bitmap(int size) {
        dc = CreateCompatibleDC(nullptr);
        bm = CreateBitmap(size, size, 1, 32, nullptr);
        old = SelectObject(dc, bm);
        RECT r{0, 0, size, size};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Bitmap() {
        SelectObject(dc, old);
        DeleteObject(bm);
        DeleteDC(dc);
    }
    Surface& pixels() { return *GetDCSurface(dc); }
};

void expectSameDrawing(Surface& a, Surface& b) {
    // Lines and the polygon match exactly; text (rows 150 and below) within a pixel.
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < kSize; ++x)
            ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;
    for (int y = 150; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            if (a.at(x, y) == kWhite) continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = b.contains(x + dx, y + dy) && b.at(x + dx, y + dy) == a.at(x, y);
            ASSERT_TRUE(near) << "text pixel " << x << "," << y;
        }
}

TEST(GdiMetafile, PlaybackMatchesDirectDrawing) {
    gdi_test::Canvas direct(kSize, kSize);
    drawPicture(direct.dc);
    HENHMETAFILE emf = recordPicture();
    ASSERT_NE(emf, nullptr);
    Bitmap played(kSize);
    const RECT all{0, 0, kSize, kSize};
    ASSERT_TRUE(PlayEnhMetaFile(played.dc, emf, &all));
    EXPECT_GT(direct.countNot(kWhite), 500);
    expectSameDrawing(direct.surface, played.pixels());

    // The bytes survive a round trip through SetEnhMetaFileBits.
    const UINT n = GetEnhMetaFileBits(emf, 0, nullptr);
    std::vector<BYTE> bytes(n);
    ASSERT_EQ(GetEnhMetaFileBits(emf, n, bytes.data()), n);
    EXPECT_EQ(bytes[40], 0x20);  // " EMF" signature
    EXPECT_EQ(std::memcmp(&bytes[41], "EMF", 3), 0);
    HENHMETAFILE copy = SetEnhMetaFileBits(n, bytes.data());
    ASSERT_NE(copy, nullptr);
    Bitmap again(kSize);
    PlayEnhMetaFile(again.dc, copy, &all);
    EXPECT_EQ(again.pixels().pixels, played.pixels().pixels);
    ENHMETAHEADER h;
    ASSERT_EQ(GetEnhMetaFileHeader(copy, sizeof h, &h), sizeof h);
    EXPECT_EQ(h.rclFrame.right, 5080);
    EXPECT_EQ(h.nBytes, n);
    EXPECT_GT(h.nHandles, 1);
    EXPECT_GE(h.rclBounds.right, 180);
    EXPECT_TRUE(DeleteEnhMetaFile(copy));
    EXPECT_TRUE(DeleteEnhMetaFile(emf));
    EXPECT_FALSE(DeleteEnhMetaFile(emf));
    EXPECT_EQ(SetEnhMetaFileBits(10, bytes.data()), nullptr);
}

TEST(GdiMetafile, PlaybackStretchesTheFrameOverTheRectangle) {
    HENHMETAFILE emf = recordPicture();
    Bitmap half(kSize);
    const RECT r{0, 0, kSize / 2, kSize / 2};
    ASSERT_TRUE(PlayEnhMetaFile(half.dc, emf, &r));
    Surface& s = half.pixels();
    // The wide line at y = 120 lands near y = 60, its blue spanning x = 3 .. 92.
    EXPECT_EQ(s.at(40, 60) & 0xFF, 160u);
    EXPECT_EQ(s.at(40, 66), kWhite);
    for (int y = 96; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            ASSERT_EQ(s.at(x, y), kWhite);
    DeleteEnhMetaFile(emf);
}

TEST(GdiMetafile, ClipAndStateInsidePlaybackStayInside) {
    const RECT frame{0, 0, 5080, 5080};
    HDC rec = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    IntersectClipRect(rec, 0, 0, 50, 50);
    SetROP2(rec, R2_NOT);
    RECT r{0, 0, 100, 100};
    FillRect(rec, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HENHMETAFILE emf = CloseEnhMetaFile(rec);
    Bitmap target(kSize);
    const RECT all{0, 0, kSize, kSize};
    PlayEnhMetaFile(target.dc, emf, &all);
    EXPECT_EQ(target.pixels().at(49, 49), 0u);
    EXPECT_EQ(target.pixels().at(50, 49), kWhite);
    EXPECT_EQ(GetROP2(target.dc), R2_COPYPEN) << "the recording's modes end with the playback";
    RECT box;
    GetClipBox(target.dc, &box);
    EXPECT_EQ(box.right, kSize);
    DeleteEnhMetaFile(emf);
}

TEST(GdiMetafile, DamagedRecordsAreReadSafely) {
    HENHMETAFILE emf = recordPicture();
    std::vector<BYTE> good(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(good.size()), good.data());
    DeleteEnhMetaFile(emf);
    Bitmap target(64);
    const RECT all{0, 0, 64, 64};
    std::uint32_t seed = 99;
    for (int round = 0; round < 150; ++round) {
        std::vector<BYTE> bad = good;
        for (int k = 0; k < 6; ++k) {
            seed = seed * 1664525u + 1013904223u;
            const std::size_t at = 108 + (seed >> 8) % (bad.size() - 108);
            seed = seed * 1664525u + 1013904223u;
            bad[at] = static_cast<BYTE>(seed >> 24);
        }
        HENHMETAFILE h = SetEnhMetaFileBits(static_cast<UINT>(bad.size()), bad.data());
        ASSERT_NE(h, nullptr);
        PlayEnhMetaFile(target.dc, h, &all);
        DeleteEnhMetaFile(h);
    }
    EXPECT_EQ(GetCurrentObject(target.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
}

TEST(GdiMetafile, PlayedIntoARecordingTheMetafileKeepsItsPicture) {
    HENHMETAFILE inner = recordPicture();
    const RECT frame{0, 0, 5080, 5080};
    HDC outer = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    const RECT all{0, 0, kSize, kSize};
    ASSERT_TRUE(PlayEnhMetaFile(outer, inner, &all));
    HENHMETAFILE both = CloseEnhMetaFile(outer);
    Bitmap played(kSize);
    // A background that the played picture must leave visible where it does not draw.
    RECT r{0, 0, kSize, kSize};
    HBRUSH grey = CreateSolidBrush(RGB(90, 90, 90));
    FillRect(played.dc, &r, grey);
    PlayEnhMetaFile(played.dc, both, &all);
    gdi_test::Canvas direct(kSize, kSize, 0x5A5A5A);
    drawPicture(direct.dc);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < kSize; ++x)
            ASSERT_EQ(played.pixels().at(x, y), direct.at(x, y)) << x << "," << y;
    DeleteObject(grey);
    DeleteEnhMetaFile(both);
    DeleteEnhMetaFile(inner);
}

}  // namespace
