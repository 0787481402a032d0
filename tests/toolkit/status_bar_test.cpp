// The status bar's parts and texts, window text with its attribute codes,
// and a picture of a main window with menu, toolbar and status bar.

#include <filesystem>
#include <string>
#include <vector>

#include "menu_test_ids.h"
#include "platform/controls/common_controls_api.h"
#include "platform/robot/screenshot.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/status_bar.h"
#include "toolkit/core/toolbars.h"
#include "toolkit/core/window_text.h"
#include "window_test_support.h"

namespace tk::test {
namespace {

class StatusBarTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        MenuBarsBind();
        WindowTextBind();
        windowTextState() = WindowTextState{};
    }
    void openWithStatusBar(int width) {
        WindowOpenArgs a;
        a.flags = 7 | kFlagStatusBar;
        a.width = width;
        a.height = 200;
        WindowOpen(a);
    }
    static std::vector<int> edges() {
        std::vector<int> out(256, 0);
        const auto n = win::SendMessageA(slot(0).statusBar, win::SB_GETPARTS, 256,
                                         reinterpret_cast<win::LPARAM>(out.data()));
        out.resize(static_cast<std::size_t>(n));
        return out;
    }
    static std::string partText(int index, int* style = nullptr) {
        char text[256] = {};
        const auto r =
            win::SendMessageA(slot(0).statusBar, win::SB_GETTEXTA, static_cast<win::WPARAM>(index),
                              reinterpret_cast<win::LPARAM>(text));
        if (style) *style = win::HIWORD(static_cast<std::uintptr_t>(r));
        return text;
    }
};

TEST_F(StatusBarTest, PartWidthsInWindowUnitsWithOneStretchingPart) {
    openWithStatusBar(1000);
    const int widths[] = {2000, 2000, -1, 1500, 1500};
    StatusBarParts(5, widths);
    EXPECT_EQ(edges(), (std::vector<int>{199, 398, 702, 851, 1000}));
    // The stretching part follows the frame's width; the last two stay right.
    win::RECT f = screenRect(slot(0).frame);
    win::SetWindowPos(slot(0).frame, nullptr, 0, 0, f.right - f.left + 100, f.bottom - f.top,
                      win::SWP_NOMOVE | win::SWP_NOZORDER);
    EXPECT_EQ(edges(), (std::vector<int>{199, 398, 802, 951, 1100}));

    // Two stretching parts, or no parts, change nothing.
    const int twoRest[] = {-1, 3000, -1};
    StatusBarParts(3, twoRest);
    StatusBarParts(0, widths);
    EXPECT_EQ(edges().size(), 5u);
    // Without a stretching part the last part ends at the sum of the widths.
    const int fixed[] = {1000, 3000};
    StatusBarParts(2, fixed);
    EXPECT_EQ(edges(), (std::vector<int>{99, 398}));
}

TEST_F(StatusBarTest, TextsGoIntoTheirPartsWithTheirStyles) {
    openWithStatusBar(600);
    const int widths[] = {3000, 3000, -1};
    const int styles[] = {0, 2, 1};
    StatusBarText(1, "kept over the new parts");
    StatusBarParts(3, widths, std::span<const int>(styles));
    int style = -1;
    EXPECT_EQ(partText(0, &style), "kept over the new parts");
    EXPECT_EQ(style, static_cast<int>(win::SBT_NOBORDERS));  // rewritten with its new style
    StatusBarText(2, "Easting 12.5   ");
    EXPECT_EQ(partText(1, &style), "Easting 12.5");
    EXPECT_EQ(style, static_cast<int>(win::SBT_POPOUT));
    StatusBarText(3, "third");
    EXPECT_EQ(partText(2, &style), "third");
    EXPECT_EQ(style, 0);
    StatusBarText(0, "no");
    StatusBarText(256, "no");
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(partText(i), "no");

    // A window without a status bar ignores both routines.
    int child = -1;
    WindowOpenChild(child);
    ASSERT_GT(child, 0);
    StatusBarParts(3, widths);
    StatusBarText(1, "nowhere");
    OutputWindowSelect(0);
    EXPECT_EQ(partText(0), "kept over the new parts");
}

TEST_F(StatusBarTest, WindowTextColoursAndLazyFonts) {
    openRoot(400, 300);
    WindowSystem& w = windowSystem();
    EXPECT_EQ(w.ForegroundIndex, 0);
    EXPECT_EQ(w.BackgroundIndex, 15);
    EXPECT_GT(windowTextState().charHeightUnits, 0);
    WindowTextColours(17, 16);
    EXPECT_EQ(w.ForegroundIndex, 0);
    EXPECT_EQ(w.BackgroundIndex, 17);
    WindowTextColours(16, 3);
    EXPECT_EQ(w.ForegroundIndex, 16);
    EXPECT_EQ(w.BackgroundIndex, 3);
    WindowTextColours(-1, 99);
    EXPECT_EQ(w.ForegroundIndex, 16);
    EXPECT_EQ(w.BackgroundIndex, 3);

    windowTextState().fontNumber = 3;
    WindowTextCharSize(200, 500);
    const int before = windowTextState().fontsCreated;
    WindowTextAt(1000, 5000, "twice");
    const int afterFirst = windowTextState().fontsCreated;
    WindowTextAt(1000, 6000, "twice");
    EXPECT_EQ(afterFirst, before + 1);
    EXPECT_EQ(windowTextState().fontsCreated, afterFirst);
    EXPECT_GT(w.TextPositionX, 1000);        // the next position is where the text ended
    EXPECT_NEAR(w.TextPositionY, 6000, 40);  // through pixels and back

    // Underlined text in red: a line two pixels below the baseline.
    WindowTextColours(9, 15);
    WindowTextUnderline(1);
    WindowTextAt(0, 8000, "under");
    int px = 0, py = 0;
    WindowUnitsToPixels(0, 8000, px, py);
    win::HDC dc = win::GetDC(slot(0).client);
    EXPECT_EQ(win::GetPixel(dc, px + 1, py + 2), win::RGB(255, 0, 0));
    EXPECT_EQ(win::GetPixel(dc, px + 1, py + 4), win::RGB(255, 255, 255));
    win::ReleaseDC(slot(0).client, dc);
}

TEST_F(StatusBarTest, AttributeCodesSwitchBoldAndColoursInsideOneText) {
    openRoot(400, 300);
    WindowTextState& s = windowTextState();
    WindowSystem& w = windowSystem();
    auto endOf = [&](char attribute, const char* text) {
        s.attributeChar = attribute;
        WindowTextAt(0, 5000, text);
        return w.TextPositionX;
    };
    // Codes take no room: "$$" draws one dollar sign, "$Z" nothing.
    EXPECT_EQ(endOf('$', "X$$"), endOf(' ', "X$"));
    EXPECT_EQ(endOf('$', "X$Z"), endOf(' ', "X"));
    EXPECT_EQ(endOf('$', "A$cB$0C   "), endOf(' ', "ABC"));
    // Bold B makes a font of its own; C goes back to the plain one.
    s.attributeChar = '$';
    const int before = s.fontsCreated;
    WindowTextAt(0, 5000, "A$1B$0C");
    EXPECT_EQ(s.fontsCreated, before + 2);
    EXPECT_EQ(s.bold, 0);
    EXPECT_EQ(w.ForegroundIndex, 0);
}

TEST_F(StatusBarTest, FrozenWindowsRepaintFromTheirCopyWithoutExpose) {
    openRoot(200, 100);
    int inside = -1;
    WindowOpenChildArgs a;
    a.flags = 7 | kFlagInsideParent;
    a.x = 0;
    a.y = 0;
    WindowOpenChild(inside, a);
    ASSERT_GT(inside, 0);
    // The root's copy is red; the child inside it has no copy of its own.
    win::HDC screen = win::GetDC(slot(0).client);
    win::HBITMAP copy = win::CreateCompatibleBitmap(screen, 200, 100);
    win::HDC mem = win::CreateCompatibleDC(screen);
    win::HGDIOBJ old = win::SelectObject(mem, copy);
    win::RECT all{0, 0, 200, 100};
    win::HBRUSH red = win::CreateSolidBrush(win::RGB(255, 0, 0));
    win::FillRect(mem, &all, red);
    win::SelectObject(mem, old);
    win::DeleteDC(mem);
    win::DeleteObject(red);
    win::ReleaseDC(slot(0).client, screen);
    slot(0).frozenBitmap = copy;
    windowSystem().ContentsFrozen = true;
    for (int n : {0, inside}) {
        win::InvalidateRect(slot(n).client, nullptr, win::TRUE);
        win::UpdateWindow(slot(n).client);
    }
    win::HDC dc = win::GetDC(slot(inside).client);
    EXPECT_EQ(win::GetPixel(dc, 5, 5), win::RGB(255, 0, 0));
    win::ReleaseDC(slot(inside).client, dc);
    int type = 0;
    EventRecord rec{};
    EventPeek(type, rec);
    EXPECT_EQ(type, -1);
    windowSystem().ContentsFrozen = false;
}

TEST_F(StatusBarTest, PictureOfAMainWindowWithMenuToolbarAndStatusBar) {
    WindowOpenArgs a;
    a.flags = 7 | kFlagStatusBar;
    a.width = 480;
    a.height = 240;
    a.title = "Pelk-GM";
    a.menuId = IDM_MENUMAIN;
    WindowOpen(a);
    MenuToolbar(IDB_MENUTOOLS);
    MenuSetState(IDC_MSAVE, MenuStateEnabled, 0);
    const int widths[] = {2000, 2000, -1, 1500, 1500};
    StatusBarParts(5, widths);
    StatusBarText(1, "X 1250.0");
    StatusBarText(2, "Y 310.5");
    StatusBarText(3, "Ready");
    WindowTextColours(9, 15);
    WindowTextAt(500, 3000, "Window text in red");
    const std::string dir = PELK_SCREENSHOT_DIR;
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/toolkit_main_window.png";
    ASSERT_TRUE(win::robot::saveWindowPng(slot(0).frame, path));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
}

}  // namespace
}  // namespace tk::test
