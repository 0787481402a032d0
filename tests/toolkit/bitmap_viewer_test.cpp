// Bitmap viewer windows on the headless desktop: the frame fitted to the
// bitmap, scrolling by keys, wheel and dragging with one event per move,
// the refusals of the open operation, and a screenshot of a viewer.

#include <filesystem>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/robot/screenshot.h"
#include "platform/window/scroll_api.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/graphics_window_binding.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/output/bitmap_store.h"
#include "toolkit/output/bitmap_viewer.h"
#include "toolkit/output/raster_binding.h"
#include "raster_window_test_support.h"

namespace tk::test {
namespace {

class BitmapViewerTest : public RasterWindowTest {
  protected:
    // A bitmap with a red left half and a blue frame, drawn by the graphics.
    static int picture(int w, int h) {
        int n = 0;
        BitmapCreate(n, w, h, 0xFFFFFF);
        GrSelect(BitmapTarget, n);
        GrColourN(31);
        SetFillPattern(4);
        GrRectangle(0.0f, 0.0f, 0.5f, 1.0f);
        GrColourN(159);
        DrawLineUnits(0.02f, 0.02f, 0.98f, 0.02f);
        DrawLineUnits(0.98f, 0.02f, 0.98f, 0.98f);
        DrawLineUnits(0.98f, 0.98f, 0.02f, 0.98f);
        GrSelect(WindowTarget, 0);
        return n;
    }
    static int child(int w, int h) {
        int n = 0;
        WindowOpenChildArgs a;
        a.width = w, a.height = h, a.title = "Viewer";
        WindowOpenChild(n, a);
        return n;
    }
    static win::HWND view(int window) {
        return reinterpret_cast<win::HWND>(slot(window).record->words[5]);
    }
    static int position(int window, int bar) {
        win::SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = win::SIF_ALL;
        win::GetScrollInfo(view(window), bar, &si);
        return bar == win::SB_HORZ ? si.nPos : si.nPos;
    }
};

TEST_F(BitmapViewerTest, TheFrameShrinksToTheWholeBitmap) {
    const int number = picture(300, 200);
    const int n = child(500, 400);
    int mode = 2, status = -1;
    BitmapViewerOpen(number - 1, 0, 0, mode, 0, status);
    ASSERT_EQ(status, 0);
    EXPECT_FALSE(win::IsWindowVisible(slot(n).client));
    EXPECT_EQ(BitmapViewerInfo(n, 101), 300);
    EXPECT_EQ(BitmapViewerInfo(n, 102), 200);
    EXPECT_EQ(BitmapViewerInfo(n, 3), number);
    EXPECT_EQ(BitmapViewerFind(number - 1), n);
    EXPECT_EQ(graphicsServices().bitmapViewerInfo(101, n), 300);
    // The view shows the bitmap from its top-left pixel: red, then blue frame.
    win::HDC dc = win::GetDC(view(n));
    EXPECT_EQ(win::GetPixel(dc, 20, 100), win::RGB(255, 0, 0));
    EXPECT_EQ(win::GetPixel(dc, 250, 100), win::RGB(255, 255, 255));
    win::ReleaseDC(view(n), dc);
    const win::SIZE c = clientSize(view(n));
    EXPECT_EQ(c.cx, 300);
    EXPECT_EQ(c.cy, 200);
    int deleted = -1;
    BitmapDelete(number - 1, deleted);
    EXPECT_EQ(deleted, 1036);

    const std::string dir = PELK_SCREENSHOT_DIR;
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(win::robot::saveWindowPng(slot(0).frame, dir + "/toolkit_bitmap_viewer.png"));
}

TEST_F(BitmapViewerTest, KeysWheelAndDraggingScrollWithOneEventEach) {
    const int number = picture(900, 240);
    const int n = child(400, 300);
    int mode = 2, status = -1;
    BitmapViewerOpen(number - 1, 0, 0, mode, 3, status);
    ASSERT_EQ(status, 0);
    win::SetFocus(view(n));
    const int page = clientSize(view(n)).cx;
    EXPECT_LT(page, 900);
    EventTypeEnable(BitmapScrolled, 1);
    EventRecord rec;
    int type = 0;
    win::robot::play(win::robot::Script()
                         .key(win::VK_RIGHT)
                         .check([&] { EXPECT_EQ(position(n, win::SB_HORZ), 1); })
                         .key(win::VK_END)
                         .check([&] { EXPECT_EQ(position(n, win::SB_HORZ), 1 + page / 2); })
                         .keyDown(win::VK_CONTROL)
                         .key(win::VK_END)
                         .keyUp(win::VK_CONTROL)
                         .check([&] { EXPECT_EQ(position(n, win::SB_HORZ), 900 - page); })
                         .dragAt(win::robot::clientPoint([&] { return view(n); }, 200, 50),
                                 win::robot::clientPoint([&] { return view(n); }, 210, 50))
                         .check([&] { EXPECT_EQ(position(n, win::SB_HORZ), 900 - page - 10); })
                         .key(win::VK_LEFT));
    int scrolled = 0;
    while (win::robot::playing()) {
        EventWait(type, rec);
        if (type == BitmapScrolled) ++scrolled;
    }
    EXPECT_GE(scrolled, 4);
    EXPECT_EQ(position(n, win::SB_HORZ), 900 - page - 11);
}

// A click in a scrolled viewer is reported at the place of the picture it
// falls on: the scroll offsets are added before the graphics units are found.
TEST_F(BitmapViewerTest, ClicksAreReportedWhereThePictureIsAfterScrolling) {
    const int number = picture(900, 240);
    const int n = child(400, 300);
    int mode = 2, status = -1;
    BitmapViewerOpen(number - 1, 0, 0, mode, 3, status);
    ASSERT_EQ(status, 0);
    GrSelect(BitmapTarget, number);
    GrUnits(0.0f, 0.0f, 900.0f, 240.0f);
    win::SetFocus(view(n));
    EventTypeEnable(MouseButtonDown, 1);
    EventTypeEnable(BitmapScrolled, 1);
    EventRecord rec;
    int type = 0;
    std::vector<float> clicked;
    win::robot::play(win::robot::Script()
                         .clickAt(win::robot::clientPoint([&] { return view(n); }, 10, 20),
                                  win::robot::Button::Right)
                         .key(win::VK_END)
                         .check([&] { EXPECT_GT(position(n, win::SB_HORZ), 100); })
                         .clickAt(win::robot::clientPoint([&] { return view(n); }, 10, 20),
                                  win::robot::Button::Right)
                         .key(win::VK_LEFT));  // a last scroll event ends the waiting
    std::vector<int> offsets;
    while (win::robot::playing()) {
        EventWait(type, rec);
        if (type == MouseButtonDown) {
            clicked.push_back(eventReal(rec, 9));
            offsets.push_back(position(n, win::SB_HORZ));
        }
    }
    ASSERT_EQ(clicked.size(), 2u);
    EXPECT_NEAR(clicked[0], 10.5f, 1.0f);
    EXPECT_NEAR(clicked[1], static_cast<float>(offsets[1]) + 10.5f, 1.0f);
    GrSelect(WindowTarget, 0);
}

TEST_F(BitmapViewerTest, OpenRefusals) {
    const int number = picture(50, 40);
    int mode = 2, status = -1;
    OutputWindowSelect(0);
    BitmapViewerOpen(number - 1, 0, 0, mode, 0, status);
    EXPECT_EQ(status, 1);
    child(200, 150);
    BitmapViewerOpen(7, 0, 0, mode, 0, status);
    EXPECT_EQ(status, 2);
    GrSelect(BitmapTarget, number);
    BitmapViewerOpen(number - 1, 0, 0, mode, 0, status);
    EXPECT_EQ(status, 3);
    GrSelect(WindowTarget, 0);
}

}  // namespace
}  // namespace tk::test
