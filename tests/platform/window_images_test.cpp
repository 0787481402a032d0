// Bitmaps and icons from compiled resources, drawn through device contexts
// and in window captions.

#include "platform/gdi/gdi.h"
#include "platform/robot/screenshot.h"
#include "platform/window/image_api.h"
#include "window_test_ids.h"
#include "window_test_support.h"

using namespace win;
using namespace wintest;

namespace {

// Selects a bitmap into a memory context to read its pixels.
struct Reader {
    explicit Reader(HBITMAP b) : dc(CreateCompatibleDC(nullptr)), old(SelectObject(dc, b)) {}
    ~Reader() {
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }
    HDC dc;
    HGDIOBJ old;
};

HBITMAP blank(int w, int h) {
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    Reader r(b);
    RECT all{0, 0, w, h};
    FillRect(r.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    return b;
}

}  // namespace

TEST_F(WindowTest, BitmapResourcesLoadWithSystemColoursMappedIn) {
    HBITMAP plain = static_cast<HBITMAP>(
        LoadImageA(nullptr, MAKEINTRESOURCEA(IDB_TOOL), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(plain, nullptr);
    BITMAP bm;
    ASSERT_NE(GetObjectA(plain, sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    {
        Reader r(plain);
        EXPECT_EQ(r.at(0, 0), RGB(255, 0, 0));  // the top row is the file's last
        EXPECT_EQ(r.at(2, 0), RGB(0, 0, 255));
        EXPECT_EQ(r.at(0, 1), RGB(255, 0, 255));
        EXPECT_EQ(r.at(2, 1), RGB(192, 192, 192));
    }
    HBITMAP mapped =
        static_cast<HBITMAP>(LoadImageA(nullptr, MAKEINTRESOURCEA(IDB_TOOL), IMAGE_BITMAP, 0, 0,
                                        LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT));
    Reader r(mapped);
    EXPECT_EQ(r.at(0, 1),
              GetSysColor(COLOR_BTNFACE));  // the first pixel's colour is the background
    EXPECT_EQ(r.at(2, 1), GetSysColor(COLOR_BTNFACE));  // silver follows the button face
    EXPECT_EQ(r.at(1, 0), RGB(0, 255, 0));
    DeleteObject(plain);
    DeleteObject(mapped);
    EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(IDB_TOOL + 1), IMAGE_BITMAP, 0, 0, 0), nullptr);
}

TEST_F(WindowTest, IconsLoadAtTheNearestSizeAndDrawWithTheirMask) {
    HICON big = LoadIconA(nullptr, "icon1");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(LoadIconA(nullptr, "ICON1"), big);  // shared, names ignore case
    HBITMAP canvas = blank(32, 32);
    {
        Reader r(canvas);
        ASSERT_TRUE(DrawIconEx(r.dc, 0, 0, big, 0, 0, 0, nullptr, DI_NORMAL));
        EXPECT_EQ(r.at(16, 16), RGB(0, 255, 0));
    }
    HICON small = static_cast<HICON>(LoadImageA(nullptr, "icon1", IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(small, nullptr);
    HBITMAP canvas2 = blank(16, 16);
    {
        Reader r(canvas2);
        ASSERT_TRUE(DrawIconEx(r.dc, 0, 0, small, 16, 16, 0, nullptr, DI_NORMAL));
        EXPECT_EQ(r.at(1, 1), RGB(255, 255, 255));  // transparent corner
        EXPECT_EQ(r.at(2, 8), RGB(255, 0, 0));
        EXPECT_EQ(r.at(12, 8), RGB(0, 0, 255));
    }
    HICON copy = static_cast<HICON>(CopyImage(small, IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_FALSE(DestroyIcon(copy));
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);

    // The small icon shows at the left end of the caption.
    HWND w = topLevel("icon");
    SendMessageA(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    const Surface& screen = robot::screen();
    EXPECT_EQ(colorOfPixel(screen.at(100 + 6 + 2, 100 + 5 + 8)), RGB(255, 0, 0));
    EXPECT_EQ(colorOfPixel(screen.at(100 + 6 + 12, 100 + 5 + 8)), RGB(0, 0, 255));
    EXPECT_EQ(colorOfPixel(screen.at(100 + 6 + 1, 100 + 5 + 1)), GetSysColor(COLOR_ACTIVECAPTION));
    DeleteObject(canvas);
    DeleteObject(canvas2);
}
