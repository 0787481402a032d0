// Tool bars with the common controls' own pictures and text labels, and the
// image lists they draw from.

#include <set>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "platform/resources/resource_api.h"
#include "platform/window/image_api.h"
#include "window_test_ids.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

const HINSTANCE kProgram = reinterpret_cast<HINSTANCE>(0x400000);

class ToolbarImagesTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        host = CreateWindowExA(0, "RECORDER", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640,
                               240, nullptr, nullptr, nullptr, nullptr);
    }
    HWND toolbar(DWORD style, int id) {
        HWND bar = CreateWindowExA(
            0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, host,
            reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr, nullptr);
        SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        return bar;
    }
    static TBBUTTON button(int image, int command, INT_PTR text = -1) {
        TBBUTTON b;
        b.iBitmap = image;
        b.idCommand = command;
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = TBSTYLE_BUTTON;
        b.iString = text;
        return b;
    }
    static RECT itemRect(HWND bar, int index) {
        RECT r;
        SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    // The colours seen on the screen inside a button (less its edges).
    static std::vector<COLORREF> pixelsOf(HWND bar, const RECT& r) {
        POINT o{0, 0};
        ClientToScreen(bar, &o);
        std::vector<COLORREF> out;
        HDC screen = GetDC(nullptr);
        for (int y = r.top + 2; y < r.bottom - 2; ++y)
            for (int x = r.left + 2; x < r.right - 2; ++x)
                out.push_back(GetPixel(screen, o.x + x, o.y + y));
        ReleaseDC(nullptr, screen);
        return out;
    }
    HWND host = nullptr;
};

std::string text(HWND bar, int command) {
    char buf[64] = "unchanged";
    const LRESULT n = SendMessageA(bar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(command),
                                   reinterpret_cast<LPARAM>(buf));
    return n < 0 ? "(none)" : std::string(buf) + "/" + std::to_string(n);
}

}  // namespace

// The small standard strip is added whole even when fewer pictures are asked
// for (later indices such as STD_PRINT are still used); every picture is our
// own, distinct, and drawn without its clear background.
TEST_F(ToolbarImagesTest, StandardPicturesAreAddedWholeAndDrawnClear) {
    HWND bar = toolbar(TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, 1001);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELONG(16, 15));
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELONG(22, 21));
    TBADDBITMAP add;
    add.hInst = HINST_COMMCTRL;
    add.nID = IDB_STD_SMALL_COLOR;
    EXPECT_EQ(SendMessageA(bar, TB_ADDBITMAP, 11, reinterpret_cast<LPARAM>(&add)), 0);
    auto list = reinterpret_cast<HIMAGELIST>(SendMessageA(bar, TB_GETIMAGELIST, 0, 0));
    ASSERT_TRUE(list);
    EXPECT_EQ(ImageList_GetImageCount(list), 15);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 15);
    std::vector<TBBUTTON> buttons;
    for (int i = STD_CUT; i <= STD_PRINT; ++i)
        buttons.push_back(button(i, 32100 + i));
    ASSERT_TRUE(SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(),
                             reinterpret_cast<LPARAM>(buttons.data())));
    SendMessageA(bar, TB_AUTOSIZE, 0, 0);
    pumpUntilIdle();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    std::set<std::vector<COLORREF>> seenPictures;
    for (int i = 0; i < 15; ++i) {
        const RECT r = itemRect(bar, i);
        EXPECT_EQ(r.right - r.left, 22) << i;
        const std::vector<COLORREF> px = pixelsOf(bar, r);
        int drawn = 0, clear = 0;
        for (COLORREF c : px) {
            drawn += c != face;
            clear += c == RGB(255, 0, 255);
        }
        EXPECT_GT(drawn, 12) << "picture " << i;
        EXPECT_EQ(clear, 0) << "picture " << i;
        seenPictures.insert(px);
    }
    EXPECT_EQ(seenPictures.size(), 15u);
    ASSERT_TRUE(robot::saveWindowPng(host, screenshotPath("toolbar_standard_images")));

    // The large strip, into an empty tool bar, sets the picture size.
    HWND large = toolbar(CCS_NOPARENTALIGN | CCS_NORESIZE, 1002);
    EXPECT_EQ(SendMessageA(large, TB_LOADIMAGES, IDB_STD_LARGE_COLOR,
                           reinterpret_cast<LPARAM>(HINST_COMMCTRL)),
              15);
    EXPECT_EQ(SendMessageA(large, TB_LOADIMAGES, IDB_VIEW_LARGE_COLOR,
                           reinterpret_cast<LPARAM>(HINST_COMMCTRL)),
              27);
    list = reinterpret_cast<HIMAGELIST>(SendMessageA(large, TB_GETIMAGELIST, 0, 0));
    ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 24);
    EXPECT_EQ(cy, 24);
    EXPECT_EQ(SendMessageA(large, TB_LOADIMAGES, 77, reinterpret_cast<LPARAM>(HINST_COMMCTRL)),
              27);  // an unknown strip adds nothing
}

// Labels come from a list of strings, from a resource split at its first
// character, or from the button itself; every button grows to the widest.
TEST_F(ToolbarImagesTest, TextLabelsWidenTheButtonsBelowOrBesideThePictures) {
    HWND below = toolbar(CCS_NOPARENTALIGN | CCS_NORESIZE, 1003);
    HWND beside = toolbar(TBSTYLE_LIST | CCS_NOPARENTALIGN | CCS_NORESIZE, 1004);
    MoveWindow(below, 0, 0, 600, 60, TRUE);
    MoveWindow(beside, 0, 80, 600, 40, TRUE);
    for (HWND bar : {below, beside}) {
        SendMessageA(bar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR,
                     reinterpret_cast<LPARAM>(HINST_COMMCTRL));
        EXPECT_EQ(SendMessageA(bar, TB_ADDSTRINGA, 0,
                               reinterpret_cast<LPARAM>("New\0Open\0A rather long label\0")),
                  0);
        // With an instance the number names a string resource.
        EXPECT_EQ(
            SendMessageA(bar, TB_ADDSTRINGA, reinterpret_cast<WPARAM>(kProgram), IDS_TOOL_LABELS),
            3);
        EXPECT_EQ(SendMessageA(bar, TB_ADDSTRINGA, reinterpret_cast<WPARAM>(kProgram), 9999), -1);
        const TBBUTTON buttons[] = {button(STD_FILENEW, 1, 0),
                                    button(STD_FILEOPEN, 2, 1),
                                    button(STD_FIND, 3, 2),
                                    button(STD_CUT, 4, 3),
                                    button(STD_PRINT, 5, reinterpret_cast<INT_PTR>("Print")),
                                    button(STD_HELP, 6)};
        ASSERT_TRUE(SendMessageA(bar, TB_ADDBUTTONSA, 6, reinterpret_cast<LPARAM>(buttons)));
    }
    pumpUntilIdle();
    EXPECT_EQ(text(below, 2), "Open/4");
    EXPECT_EQ(text(below, 4), "Cut/3");
    EXPECT_EQ(text(below, 5), "Print/5");
    EXPECT_EQ(text(below, 6), "(none)");
    EXPECT_EQ(text(below, 99), "(none)");
    EXPECT_EQ(SendMessageA(below, TB_GETBUTTONTEXTA, 3, 0), 19);  // length only
    TBBUTTON got;
    ASSERT_TRUE(SendMessageA(below, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&got)));
    EXPECT_EQ(got.iString, 1);

    HDC dc = GetDC(below);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE widest;
    GetTextExtentPoint32A(dc, "A rather long label", 19, &widest);
    ReleaseDC(below, dc);
    const RECT b0 = itemRect(below, 0), b5 = itemRect(below, 5);
    const RECT l0 = itemRect(beside, 0);
    EXPECT_EQ(b0.right - b0.left, b5.right - b5.left);  // all as wide as the widest
    EXPECT_GE(b0.right - b0.left, widest.cx + 4);
    EXPECT_LT(b0.right - b0.left, widest.cx + 20);
    // Beside the picture: wider by the picture, lower by the text line.
    EXPECT_GE(l0.right - l0.left, widest.cx + 16 + 4);
    EXPECT_LT(l0.bottom - l0.top, b0.bottom - b0.top);
    EXPECT_EQ(SendMessageA(below, TB_GETBUTTONSIZE, 0, 0),
              MAKELONG(b0.right - b0.left, b0.bottom - b0.top));
    // The label "Open" is drawn under its picture, in the button text colour.
    auto darkRows = [&](HWND bar, const RECT& r, int fromY, int toY, int fromX, int toX) {
        POINT o{0, 0};
        ClientToScreen(bar, &o);
        HDC screen = GetDC(nullptr);
        int dark = 0;
        for (int y = fromY; y < toY; ++y)
            for (int x = fromX; x < toX; ++x)
                dark += GetPixel(screen, o.x + r.left + x, o.y + r.top + y) ==
                        GetSysColor(COLOR_BTNTEXT);
        ReleaseDC(nullptr, screen);
        return dark;
    };
    const RECT b1 = itemRect(below, 1), l1 = itemRect(beside, 1);
    EXPECT_GT(darkRows(below, b1, 15 + 4, b1.bottom - b1.top, 0, b1.right - b1.left), 5);
    EXPECT_GT(darkRows(beside, l1, 0, l1.bottom - l1.top, 16 + 6, l1.right - l1.left), 5);
    ASSERT_TRUE(robot::saveWindowPng(host, screenshotPath("toolbar_text_labels")));
    // Without text rows the labels go and the buttons shrink back.
    SendMessageA(below, TB_SETMAXTEXTROWS, 0, 0);
    EXPECT_EQ(itemRect(below, 0).right - itemRect(below, 0).left, 23);
}

// Image lists on their own: pictures cut from a strip, masks by colour, the
// background colour and the selection blend.
TEST_F(ToolbarImagesTest, ImageListsCutMaskAndBlend) {
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP strip = CreateCompatibleBitmap(screen, 8, 4);
    HGDIOBJ old = SelectObject(mem, strip);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            SetPixelV(mem, x, y,
                      (x == 0 || x == 4) ? RGB(255, 0, 255)
                      : x < 4            ? RGB(0, 0, 200)
                                         : RGB(0, 150, 0));
    SelectObject(mem, old);
    HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2);
    EXPECT_EQ(ImageList_AddMasked(list, strip, RGB(255, 0, 255)), 0);
    EXPECT_EQ(ImageList_Add(list, strip, nullptr), 2);
    EXPECT_EQ(ImageList_GetImageCount(list), 4);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 40, 4);
    old = SelectObject(mem, canvas);
    const RECT all{0, 0, 40, 4};
    HBRUSH grey = CreateSolidBrush(RGB(90, 90, 90));
    FillRect(mem, &all, grey);
    DeleteObject(grey);
    struct Case {
        int image, x;
        UINT style;
        COLORREF background;
        COLORREF atColumn0, atColumn1;
    };
    const COLORREF blended = RGB(5, 18, 153);  // half blue, half the highlight (10, 36, 106)
    const Case cases[] = {
        {0, 0, ILD_NORMAL, CLR_NONE, RGB(90, 90, 90), RGB(0, 0, 200)},
        {1, 5, ILD_NORMAL, RGB(255, 255, 0), RGB(255, 255, 0), RGB(0, 150, 0)},
        {1, 10, ILD_TRANSPARENT, RGB(255, 255, 0), RGB(90, 90, 90), RGB(0, 150, 0)},
        {2, 15, ILD_NORMAL, CLR_NONE, RGB(255, 0, 255), RGB(0, 0, 200)},  // no mask was given
        {0, 20, ILD_SELECTED, CLR_NONE, RGB(90, 90, 90), blended},
        {0, 25, ILD_MASK, CLR_NONE, RGB(255, 255, 255), RGB(0, 0, 0)},
    };
    for (const Case& c : cases) {
        ImageList_SetBkColor(list, c.background);
        ASSERT_TRUE(ImageList_Draw(list, c.image, mem, c.x, 0, c.style));
        EXPECT_EQ(GetPixel(mem, c.x, 1), c.atColumn0) << c.x;
        EXPECT_EQ(GetPixel(mem, c.x + 1, 1), c.atColumn1) << c.x;
    }
    EXPECT_FALSE(ImageList_Draw(list, 4, mem, 0, 0, ILD_NORMAL));
    // An icon keeps its shape.
    HICON icon = LoadIconA(nullptr, IDI_ASTERISK);
    if (icon) {
        EXPECT_EQ(ImageList_ReplaceIcon(list, -1, icon), 4);
        EXPECT_EQ(ImageList_ReplaceIcon(list, 1, icon), 1);
        EXPECT_EQ(ImageList_GetImageCount(list), 5);
    }
    EXPECT_TRUE(ImageList_Remove(list, 0));
    EXPECT_EQ(ImageList_GetImageCount(list), icon ? 4 : 3);
    SelectObject(mem, old);
    DeleteObject(canvas);
    DeleteObject(strip);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_FALSE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
}
