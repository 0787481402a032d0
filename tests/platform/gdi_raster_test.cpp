// The raster engine seen through the drawing calls: coverage, raster
// operations, fill modes, dashes, blits and clipping.

#include <gtest/gtest.h>

#include <functional>

#include "gdi_test_support.h"
#include "platform/gdi/raster.h"

using namespace win;
using gdi_test::Canvas;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

TEST(GdiRaster, ShapesDrawnTwiceWithXorOrNotLeaveTheSurfaceUnchanged) {
    const POINT poly[] = {{5, 5}, {60, 12}, {30, 70}, {70, 50}, {8, 40}};
    const std::vector<std::pair<const char*, std::function<void(HDC)>>> shapes = {
        {"line",
         [](HDC dc) {
             MoveToEx(dc, 3, 4, nullptr);
             LineTo(dc, 71, 33);
         }},
        {"polyline", [&](HDC dc) { Polyline(dc, poly, 5); }},
        {"polygon", [&](HDC dc) { Polygon(dc, poly, 5); }},
        {"rectangle", [](HDC dc) { Rectangle(dc, 10, 12, 60, 50); }},
        {"ellipse", [](HDC dc) { Ellipse(dc, 7, 9, 66, 58); }},
        {"pie", [](HDC dc) { Pie(dc, 7, 9, 66, 58, 70, 30, 10, 0); }},
        {"wide line",
         [](HDC dc) {
             HPEN pen = CreatePen(PS_SOLID, 5, RGB(10, 200, 30));
             HGDIOBJ old = SelectObject(dc, pen);
             Polyline(dc, std::array<POINT, 3>{{{4, 4}, {60, 30}, {20, 70}}}.data(), 3);
             SelectObject(dc, old);
             DeleteObject(pen);
         }},
    };
    for (int rop : {R2_XORPEN, R2_NOT}) {
        for (const auto& [name, draw] : shapes) {
            Canvas c(80, 80);
            gdi_test::fillNoise(c.surface, 7);
            const std::vector<std::uint32_t> before = c.surface.pixels;
            HPEN pen = CreatePen(PS_SOLID, 1, RGB(200, 100, 50));
            HBRUSH brush = CreateSolidBrush(RGB(20, 90, 160));
            SelectObject(c.dc, pen);
            SelectObject(c.dc, brush);
            SetROP2(c.dc, rop);
            draw(c.dc);
            EXPECT_NE(c.surface.pixels, before) << name << " drew nothing";
            draw(c.dc);
            EXPECT_EQ(c.surface.pixels, before) << name << " with ROP2 " << rop;
            SelectObject(c.dc, GetStockObject(BLACK_PEN));
            SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
            DeleteObject(pen);
            DeleteObject(brush);
        }
    }
}

TEST(GdiRaster, EveryBinaryRasterOperationCombinesPenAndDestination) {
    const std::uint32_t d = 0x00C3A5;  // destination pixel
    const COLORREF pen = RGB(0x5A, 0x0F, 0xF0);
    const std::uint32_t p = pixelFromColorRef(pen);
    const std::uint32_t expected[17] = {0,      0,     ~(p | d), ~p & d, ~p,       p & ~d,
                                        ~d,     p ^ d, ~(p & d), p & d,  ~(p ^ d), d,
                                        ~p | d, p,     p | ~d,   p | d,  0xFFFFFF};
    for (int rop = R2_BLACK; rop <= R2_WHITE; ++rop) {
        Canvas c(4, 4, d);
        SetROP2(c.dc, rop);
        HPEN hp = CreatePen(PS_SOLID, 1, pen);
        SelectObject(c.dc, hp);
        MoveToEx(c.dc, 0, 1, nullptr);
        LineTo(c.dc, 3, 1);
        EXPECT_EQ(c.at(1, 1), expected[rop] & 0xFFFFFF) << "ROP2 " << rop;
        EXPECT_EQ(c.at(3, 1), d) << "end pixel is left out";
        SelectObject(c.dc, GetStockObject(BLACK_PEN));
        DeleteObject(hp);
    }
}

TEST(GdiRaster, StarIsHollowWithAlternateAndFullWithWinding) {
    // A five-pointed star drawn in one stroke.
    std::vector<POINT> star;
    for (int k = 0; k < 5; ++k) {
        const double a = -std::numbers::pi / 2 + k * 4 * std::numbers::pi / 5;
        star.push_back(
            {static_cast<LONG>(50 + 45 * std::cos(a)), static_cast<LONG>(50 + 45 * std::sin(a))});
    }
    for (int mode : {ALTERNATE, WINDING}) {
        Canvas c(100, 100);
        SelectObject(c.dc, GetStockObject(NULL_PEN));
        SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
        SetPolyFillMode(c.dc, mode);
        Polygon(c.dc, star.data(), 5);
        EXPECT_EQ(c.at(50, 52), mode == WINDING ? 0u : kWhite) << "centre, mode " << mode;
        EXPECT_EQ(c.at(50, 12), 0u) << "a point of the star";
        EXPECT_EQ(c.at(3, 3), kWhite);
    }
}

TEST(GdiRaster, RectangleCoversLeftToRightMinusOne) {
    Canvas c(40, 40);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(c.dc, red);
    Rectangle(c.dc, 5, 7, 25, 30);
    EXPECT_EQ(c.inkBox(kWhite).left, 5);
    EXPECT_EQ(c.inkBox(kWhite).top, 7);
    EXPECT_EQ(c.inkBox(kWhite).right, 25);
    EXPECT_EQ(c.inkBox(kWhite).bottom, 30);
    EXPECT_EQ(c.at(5, 7), 0u) << "outline in the pen colour";
    EXPECT_EQ(c.at(24, 29), 0u);
    EXPECT_EQ(c.at(6, 8), 0xFF0000u) << "inside in the brush colour";

    // Without a pen the filled area is one pixel smaller; FillRect is exact.
    Canvas d(40, 40);
    SelectObject(d.dc, GetStockObject(NULL_PEN));
    SelectObject(d.dc, red);
    Rectangle(d.dc, 5, 7, 25, 30);
    EXPECT_EQ(d.inkBox(kWhite).right, 24);
    EXPECT_EQ(d.inkBox(kWhite).bottom, 29);
    Canvas e(40, 40);
    RECT r{5, 7, 25, 30};
    FillRect(e.dc, &r, red);
    EXPECT_EQ(e.countNot(kWhite), 20 * 23);
    EXPECT_EQ(e.inkBox(kWhite).right, 25);
    SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
    SelectObject(d.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

TEST(GdiRaster, UserDashedGeometricPenDrawsRunsOfTheTable) {
    Canvas c(120, 10);
    LOGBRUSH lb{BS_SOLID, 0, 0};
    const DWORD dashes[] = {8, 6};
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL, 1, &lb,
                            2, dashes);
    ASSERT_NE(pen, nullptr);
    SelectObject(c.dc, pen);
    MoveToEx(c.dc, 0, 5, nullptr);
    LineTo(c.dc, 100, 5);
    std::vector<int> runs;
    int x = 0;
    while (x < 100) {
        const bool on = c.at(x, 5) == 0;
        int len = 0;
        while (x < 100 && (c.at(x, 5) == 0) == on)
            ++len, ++x;
        runs.push_back(on ? len : -len);
    }
    ASSERT_GE(runs.size(), 8u);
    for (std::size_t i = 0; i + 1 < runs.size(); ++i)
        EXPECT_EQ(runs[i], i % 2 == 0 ? 8 : -6) << i;
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(GdiRaster, SrcInvertTwiceIsTheIdentityAndSrcCopyCopies) {
    Canvas dst(50, 40), src(50, 40);
    gdi_test::fillNoise(dst.surface, 3);
    gdi_test::fillNoise(src.surface, 11);
    const std::vector<std::uint32_t> before = dst.surface.pixels;
    ASSERT_TRUE(BitBlt(dst.dc, 5, 6, 30, 20, src.dc, 2, 3, SRCINVERT));
    EXPECT_NE(dst.surface.pixels, before);
    EXPECT_EQ(dst.at(5, 6), before[6 * 50 + 5] ^ src.at(2, 3));
    BitBlt(dst.dc, 5, 6, 30, 20, src.dc, 2, 3, SRCINVERT);
    EXPECT_EQ(dst.surface.pixels, before);

    BitBlt(dst.dc, 0, 0, 10, 10, src.dc, 20, 20, SRCCOPY);
    EXPECT_EQ(dst.at(9, 9), src.at(29, 29));
    EXPECT_EQ(dst.at(10, 10), before[10 * 50 + 10]);
    // Copies within one surface read the source before writing.
    BitBlt(src.dc, 1, 0, 40, 1, src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(src.at(1, 0), src.at(0, 0));
}

TEST(GdiRaster, MaskBlitsKeepTheBackgroundWhereTheMaskIsWhite) {
    // The classic transparent blit: AND with a mask, then OR (paint) the image.
    Canvas dst(20, 10, 0x123456);
    HDC mem = CreateCompatibleDC(dst.dc);
    const std::uint8_t maskBits[20] = {0xF0, 0, 0xF0, 0, 0xF0, 0, 0xF0, 0, 0xF0, 0,
                                       0xF0, 0, 0xF0, 0, 0xF0, 0, 0xF0, 0, 0xF0, 0};
    HBITMAP mask = CreateBitmap(8, 10, 1, 1, maskBits);
    HGDIOBJ old = SelectObject(mem, mask);
    SetTextColor(dst.dc, 0);
    SetBkColor(dst.dc, 0xFFFFFF);
    BitBlt(dst.dc, 0, 0, 8, 10, mem, 0, 0, SRCAND);
    EXPECT_EQ(dst.at(0, 0), 0x123456u) << "white mask keeps the background";
    EXPECT_EQ(dst.at(5, 0), 0u) << "black mask clears";
    Canvas image(8, 10, 0x00FF00);
    BitBlt(dst.dc, 0, 0, 8, 10, image.dc, 0, 0, SRCPAINT);
    EXPECT_EQ(dst.at(5, 0), 0x00FF00u);
    SelectObject(mem, old);
    DeleteObject(mask);
    DeleteDC(mem);
}

TEST(GdiRaster, ClipRegionCutsAFilledRectangleExactly) {
    Canvas c(60, 60);
    HRGN clip = CreateRectRgn(10, 15, 40, 45);
    HRGN hole = CreateRectRgn(20, 20, 30, 30);
    CombineRgn(clip, clip, hole, RGN_DIFF);
    EXPECT_EQ(SelectClipRgn(c.dc, clip), COMPLEXREGION);
    RECT r{0, 0, 60, 25};
    FillRect(c.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(c.inkBox(kWhite).left, 10);
    EXPECT_EQ(c.inkBox(kWhite).right, 40);
    EXPECT_EQ(c.inkBox(kWhite).top, 15);
    EXPECT_EQ(c.inkBox(kWhite).bottom, 25);
    EXPECT_EQ(c.countNot(kWhite), 30 * 10 - 10 * 5);
    EXPECT_EQ(c.at(25, 22), kWhite);
    IntersectClipRect(c.dc, 0, 0, 12, 60);
    RECT all{0, 0, 60, 60};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(c.dc, &all, red);
    EXPECT_EQ(c.inkBox(0xFFFFFF).right, 40);
    EXPECT_EQ(c.at(11, 44), 0xFF0000u);
    EXPECT_EQ(c.at(12, 44), kWhite);
    SelectClipRgn(c.dc, nullptr);
    FillRect(c.dc, &all, red);
    EXPECT_EQ(c.countNot(0xFF0000), 0);
    DeleteObject(red);
    DeleteObject(clip);
    DeleteObject(hole);
}

TEST(GdiRaster, SurfaceContextHonoursOriginAndLimit) {
    Surface s(50, 50, kWhite);
    const RECT client{0, 0, 20, 10};
    HDC dc = CreateSurfaceDC(&s, {15, 25}, &client);
    RECT all{-100, -100, 100, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(s.at(15, 25), 0u);
    EXPECT_EQ(s.at(34, 34), 0u);
    EXPECT_EQ(s.at(35, 34), kWhite);
    EXPECT_EQ(s.at(14, 25), kWhite);
    EXPECT_EQ(GetPixel(dc, 0, 0), 0u);
    EXPECT_EQ(GetPixel(dc, 25, 0), CLR_INVALID);
    DeleteDC(dc);
}

TEST(GdiRaster, HatchAndPatternBrushesRepeatEveryEightPixels) {
    Canvas c(32, 32);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, 0);
    RECT r{0, 0, 32, 32};
    SetBkMode(c.dc, TRANSPARENT);
    FillRect(c.dc, &r, hatch);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_EQ(c.at(x, y), c.at(x + 8, y + 8));
    EXPECT_GT(c.countNot(kWhite), 0);
    EXPECT_LT(c.countNot(kWhite), 32 * 32 / 2);
    const std::uint8_t bits[16] = {0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0,
                                   0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0};
    HBITMAP bm = CreateBitmap(8, 8, 1, 1, bits);
    HBRUSH pattern = CreatePatternBrush(bm);
    SetTextColor(c.dc, RGB(255, 0, 0));
    SetBkColor(c.dc, RGB(0, 0, 255));
    FillRect(c.dc, &r, pattern);
    EXPECT_EQ(c.at(0, 0), 0xFF0000u) << "0 bits take the text colour";
    EXPECT_EQ(c.at(1, 0), 0x0000FFu) << "1 bits take the background colour";
    EXPECT_EQ(c.at(9, 0), 0x0000FFu);
    DeleteObject(pattern);
    DeleteObject(bm);
    DeleteObject(hatch);
}

TEST(GdiRaster, MappingModeScalesAndOffsetsLogicalCoordinates) {
    Canvas c(100, 100);
    SetMapMode(c.dc, MM_ANISOTROPIC);
    SetWindowOrgEx(c.dc, 100, 100, nullptr);
    SetWindowExtEx(c.dc, 1000, 1000, nullptr);
    SetViewportExtEx(c.dc, 100, -100, nullptr);
    SetViewportOrgEx(c.dc, 0, 99, nullptr);
    POINT p{600, 300};
    LPtoDP(c.dc, &p, 1);
    EXPECT_EQ(p.x, 50);
    EXPECT_EQ(p.y, 79);
    SetPixel(c.dc, 600, 300, RGB(0, 0, 255));
    EXPECT_EQ(c.at(50, 79), 0x0000FFu);
}

TEST(GdiRaster, GradientTriangleInterpolatesVertexColours) {
    Canvas c(60, 60);
    TRIVERTEX v[3] = {{0, 0, 0xFF00, 0, 0, 0}, {60, 0, 0, 0xFF00, 0, 0}, {0, 60, 0, 0, 0xFF00, 0}};
    GRADIENT_TRIANGLE t{0, 1, 2};
    ASSERT_TRUE(GradientFill(c.dc, v, 3, &t, 1, GRADIENT_FILL_TRIANGLE));
    EXPECT_GE((c.at(1, 1) >> 16) & 0xFF, 240u);
    EXPECT_GE((c.at(57, 1) >> 8) & 0xFF, 220u);
    EXPECT_EQ(c.at(59, 59), kWhite);
}

TEST(GdiRaster, SelectedObjectsCannotBeDeleted) {
    Canvas c(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HGDIOBJ old = SelectObject(c.dc, pen);
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(SelectObject(c.dc, old), pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(SelectObject(c.dc, pen), nullptr) << "a deleted handle is refused";
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN))) << "stock objects ignore deletion";
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), static_cast<DWORD>(OBJ_PEN));
}

// A wide round pen's polyline is one shape scanned at once, its segments
// drawn one by one are many: with a copying raster operation both must
// cover the same pixels, also where the line leaves the clip and where the
// mapping puts its corners between pixels.
TEST(GdiRaster, AWidePolylineCoversWhatItsSegmentsCoverOneByOne) {
    struct Case {
        const char* what;
        int width;
        std::vector<POINT> points;
        bool clipped;
        bool scaled;
    };
    const std::vector<Case> cases = {
        {"zigzag", 5, {{4, 4}, {60, 30}, {20, 70}, {75, 72}}, false, false},
        {"tiny steps", 3, {{10, 10}, {10, 11}, {11, 11}, {12, 11}, {12, 13}, {40, 13}}, false, false},
        {"doubling back", 7, {{10, 40}, {70, 40}, {20, 41}, {60, 60}}, false, false},
        {"through the clip", 6, {{-30, 20}, {40, 50}, {120, 10}, {40, -40}}, true, false},
        {"between pixels", 4, {{5, 7}, {50, 20}, {52, 80}, {90, 91}, {13, 100}}, false, true},
    };
    for (const Case& c : cases) {
        Canvas whole(80, 80), pieces(80, 80);
        for (Canvas* canvas : {&whole, &pieces}) {
            HDC dc = canvas->dc;
            if (c.clipped) {
                HRGN clip = CreateRectRgn(10, 15, 65, 60);
                SelectClipRgn(dc, clip);
                DeleteObject(clip);
            }
            if (c.scaled) {
                SetMapMode(dc, MM_ANISOTROPIC);
                SetWindowExtEx(dc, 3, 3, nullptr);
                SetViewportExtEx(dc, 2, 2, nullptr);
            }
            SelectObject(dc, CreatePen(PS_SOLID, c.width, RGB(0, 0, 0)));
        }
        Polyline(whole.dc, c.points.data(), static_cast<int>(c.points.size()));
        for (std::size_t i = 0; i + 1 < c.points.size(); ++i) {
            MoveToEx(pieces.dc, c.points[i].x, c.points[i].y, nullptr);
            LineTo(pieces.dc, c.points[i + 1].x, c.points[i + 1].y);
        }
        EXPECT_GT(whole.countNot(kWhite), 100) << c.what;
        EXPECT_EQ(whole.surface.pixels, pieces.surface.pixels) << c.what;
        for (Canvas* canvas : {&whole, &pieces})
            DeleteObject(SelectObject(canvas->dc, GetStockObject(BLACK_PEN)));
    }
}

TEST(GdiRaster, HugeShapesCostOnlyWhatShows) {
    Canvas c(50, 40);
    SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
    const int big = 100000000;
    Ellipse(c.dc, -big, -big, big, big);
    EXPECT_EQ(c.countNot(0), 0) << "the canvas lies inside the ellipse";
    SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
    Rectangle(c.dc, -big, -big, big, big);
    EXPECT_EQ(c.countNot(0xFFFFFF), 0);
    MoveToEx(c.dc, -big, 20, nullptr);
    LineTo(c.dc, big, 20);
    EXPECT_EQ(c.at(0, 20), 0u);
    EXPECT_EQ(c.at(49, 20), 0u);
    const POINT far[] = {{-big, -big}, {big, 0}, {-big, big}};
    Polygon(c.dc, far, 3);
    Pie(c.dc, -big, -big, big, big, big, 0, 0, -big);
    HPEN wide = CreatePen(PS_DASH, 9, RGB(0, 0, 255));
    SelectObject(c.dc, wide);
    LineTo(c.dc, -big, -big);
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    DeleteObject(wide);
    EXPECT_FALSE(StretchBlt(c.dc, 0, 0, 10, 10, c.dc, 0, 0, big, big, SRCCOPY));

    // Scaled beyond the range of a pixel column (a damaged metafile can ask
    // for that), the edges are clamped and the visible rows still fill.
    SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    SetGraphicsMode(c.dc, GM_ADVANCED);
    XFORM zoom{};
    zoom.eM11 = zoom.eM22 = 1000.0f;
    SetWorldTransform(c.dc, &zoom);
    const POINT scaled[] = {{0, 0}, {big, 0}, {big, 1}, {0, 1}};
    Polygon(c.dc, scaled, 4);
    EXPECT_EQ(c.at(49, 5), 0u);
    // An underlined text of an absurd size (a damaged metafile's font).
    HFONT huge = CreateFontA(-big, 0, 0, 0, 400, FALSE, TRUE, FALSE, 0, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldFont = SelectObject(c.dc, huge);
    TextOutA(c.dc, 0, 0, "Pelk", 4);
    SelectObject(c.dc, oldFont);
    DeleteObject(huge);
}

}  // namespace

// A two-pixel round pen along horizontal and vertical steps between pixel
// points (box markers, frames) has a shorter way to its pixels than the scan
// of its pieces: both must give the same pixels wherever the stroke lies,
// however the clip's window cuts it, and each pixel once (exclusive-or).
TEST(GdiRaster, TwoPixelGridStrokesCoverWhatTheScanOfTheirPiecesCovers) {
    using gdi::PointD;
    auto box = [](double x, double y, double half) {
        return std::vector<PointD>{
            {x - half, y - half}, {x + half, y - half}, {x + half, y + half}, {x - half, y + half},
            {x - half, y - half}};
    };
    struct Path {
        const char* what;
        std::vector<PointD> points;
        bool closed;
    };
    std::vector<Path> paths = {
        {"one point", {{20, 20}}, false},
        {"the same point twice", {{20, 20}, {20, 20}}, false},
        {"an L with a repeated corner", {{5, 30}, {30, 30}, {30, 30}, {30, 4}}, false},
        {"doubling back", {{10, 12}, {40, 12}, {25, 12}, {25, 50}, {25, 20}}, false},
        {"closed rectangle", {{3, 3}, {50, 3}, {50, 44}, {3, 44}}, true},
        {"far beyond the window", {{-100000, 7}, {100000, 7}, {100000, 9}, {-9, 9}, {-9, -5000}},
         false},
        {"negative corner", {{-1, -1}, {2, -1}, {2, 2}}, false},
    };
    for (double half : {0.0, 1.0, 2.0, 3.0, 4.0, 6.0, 10.0})
        for (const PointD& at : {PointD{20, 20}, PointD{1, 47}, PointD{59, 0}, PointD{-3, 30}})
            paths.push_back({"box marker", box(at.x, at.y, half), false});
    const std::vector<RECT> windows = {{0, 0, 60, 48}, {7, 5, 33, 29}, {21, 19, 22, 20}};
    gdi::WidePen pen;
    pen.width = 2;
    int checked = 0;
    for (const Path& p : paths)
        for (const RECT& w : windows) {
            const gdi::CoverageWindow window(w);
            std::vector<PointD> path = p.points;
            if (p.closed) path.push_back(p.points.front());
            std::vector<gdi::RowSpan> rows;
            EXPECT_TRUE(gdi::twoPixelGridStroke(path, pen, rows)) << p.what;
            gdi::Coverage quick, scanned;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const gdi::RowSpan& r = rows[i];
                const bool ordered = i == 0 || rows[i - 1].y < r.y || rows[i - 1].x1 < r.x0;
                EXPECT_TRUE(ordered) << p.what << ": rows in order, spans apart, at row " << r.y;
                quick.add(r.y, r.x0, r.x1);
            }
            gdi::widePolyline(p.points, p.closed, pen, scanned);
            const gdi::Region seen = gdi::Region::rect(w.left, w.top, w.right, w.bottom);
            const gdi::Region a = gdi::Region::combine(quick.toRegion(), seen, gdi::Region::Op::And);
            const gdi::Region b =
                gdi::Region::combine(scanned.toRegion(), seen, gdi::Region::Op::And);
            EXPECT_TRUE(a == b) << p.what << " in window " << w.left << "," << w.top;
            checked += b.empty() ? 0 : 1;
        }
    EXPECT_GT(checked, 40) << "the strokes show in their windows";
    // Other pens and paths take the scan.
    std::vector<gdi::RowSpan> none;
    gdi::WidePen square = pen;
    square.endCap = PS_ENDCAP_SQUARE;
    EXPECT_FALSE(gdi::twoPixelGridStroke(box(20, 20, 3), square, none));
    gdi::WidePen wider = pen;
    wider.width = 3;
    EXPECT_FALSE(gdi::twoPixelGridStroke(box(20, 20, 3), wider, none));
    EXPECT_FALSE(gdi::twoPixelGridStroke({{1, 1}, {9, 5}}, pen, none)) << "a slanted step";
    EXPECT_FALSE(gdi::twoPixelGridStroke({{1.5, 1}, {9.5, 1}}, pen, none)) << "between pixels";
    for (const PointD& off : {PointD{-3.5, 7}, PointD{7, -0.25}, PointD{20 + 1e-9, 7},
                              PointD{7, -1 - 1e-9}, PointD{4.0e6 + 0.5, 7}})
        EXPECT_FALSE(gdi::twoPixelGridStroke({off, off}, pen, none))
            << "a point off the pixels at " << off.x << "," << off.y;
    EXPECT_TRUE(none.empty());
}
