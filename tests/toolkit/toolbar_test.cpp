// Toolbars of toolkit windows: built from a bitmap and a button table, laid
// out on the four sides, pressed by the robot (a MenuSelect event) and
// answering tips from the window's tip table or the string table.

#include <string>

#include "menu_test_ids.h"
#include "platform/controls/common_controls_api.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/toolbars.h"
#include "window_test_support.h"

namespace tk::test {
namespace {

using win::robot::Script;

class ToolbarTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        MenuBarsBind();
    }
    static int buttonCount(int side) {
        return static_cast<int>(
            win::SendMessageA(slot(0).toolbars[side], win::TB_BUTTONCOUNT, 0, 0));
    }
    // The screen centre of a toolbar button by its index.
    static win::robot::Target button(int side, int index) {
        return [side, index] {
            win::HWND bar = slot(0).toolbars[side];
            win::RECT r{};
            win::SendMessageA(bar, win::TB_GETITEMRECT, static_cast<win::WPARAM>(index),
                              reinterpret_cast<win::LPARAM>(&r));
            win::POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            win::ClientToScreen(bar, &p);
            return p;
        };
    }
    static std::string askTip(int side, int command) {
        win::NMTTDISPINFOA info;
        info.hdr.hwndFrom = reinterpret_cast<win::HWND>(
            win::SendMessageA(slot(0).toolbars[side], win::TB_GETTOOLTIPS, 0, 0));
        info.hdr.idFrom = static_cast<win::UINT_PTR>(command);
        info.hdr.code = win::TTN_NEEDTEXTA;
        win::SendMessageA(slot(0).frame, win::WM_NOTIFY, info.hdr.idFrom,
                          reinterpret_cast<win::LPARAM>(&info));
        return info.szText;
    }
    static int nextCommand(EventRecord& rec) {
        int type = 0;
        do
            EventWait(type, rec);
        while (type == Expose || type == Resize);
        return type;
    }
};

TEST_F(ToolbarTest, PressedButtonArrivesAsMenuSelectAndItsTipComesFromTheStringTable) {
    openRoot(400, 300);
    MenuAttach(IDM_MENUMAIN);
    MenuSetState(IDC_MSAVE, MenuStateEnabled, 0);
    const int heightBefore = clientSize(slot(0).client).cy;
    MenuToolbar(IDB_MENUTOOLS);
    ASSERT_NE(slot(0).toolbars[0], nullptr);
    EXPECT_EQ(buttonCount(0), 4);
    EXPECT_EQ(slot(0).toolbarExtents[0], 16 + 6 + 6);
    EXPECT_EQ(clientSize(slot(0).client).cy, heightBefore - 28);
    EXPECT_EQ(windowSystem().CurrentHeight, heightBefore - 28);
    // The first states follow the menu: Save is greyed there.
    const auto state = [](int command) {
        return win::SendMessageA(slot(0).toolbars[0], win::TB_GETSTATE,
                                 static_cast<win::WPARAM>(command), 0);
    };
    EXPECT_FALSE(state(IDC_MSAVE) & win::TBSTATE_ENABLED);
    EXPECT_TRUE(state(IDC_MTOOLONLY) & win::TBSTATE_ENABLED);

    std::string shownTip;
    Script s;
    s.moveTo(button(0, 3)).wait(700).check([&] {
        win::HWND tip = reinterpret_cast<win::HWND>(
            win::SendMessageA(slot(0).toolbars[0], win::TB_GETTOOLTIPS, 0, 0));
        char text[100] = {};
        win::GetWindowTextA(tip, text, sizeof text);
        shownTip = text;
    });
    s.clickAt(button(0, 2)).clickAt(button(0, 0));  // the greyed one gives nothing
    win::robot::play(std::move(s));
    EventRecord rec{};
    ASSERT_EQ(nextCommand(rec), MenuSelect);
    EXPECT_EQ(rec[1], IDC_MOPEN);
    EXPECT_EQ(shownTip, "Only on the toolbar");
}

TEST_F(ToolbarTest, TipsComeFromTheTipTableBeforeTheStringTableExceptAtTheBottom) {
    openRoot();
    MenuToolbar(IDB_MENUTOOLS, 0, 1);
    MenuToolbar(IDB_MENUSIDE, 0, 4);
    EXPECT_EQ(askTip(0, IDC_MSAVE), "Save the model");
    EXPECT_EQ(askTip(0, IDC_MOPEN), "");  // no string: the request stays as it was
    ASSERT_EQ(ToolbarTipSet(IDC_MSAVE, "From the table", 14), 0);
    EXPECT_EQ(askTip(0, IDC_MSAVE), "From the table");
    EXPECT_EQ(askTip(3, IDC_MSAVE), "Save the model");
    EXPECT_EQ(ToolbarTipSet(IDC_MSAVE, "x", 1), 0);  // frees the entry
    EXPECT_EQ(askTip(0, IDC_MSAVE), "Save the model");
    EXPECT_EQ(ToolbarTipSet(42999, "none", 4), -1);
    EXPECT_EQ(slot(0).toolTips.size(), 7u);
}

TEST_F(ToolbarTest, SidesRemovalAndErrors) {
    openRoot(400, 300);
    MenuToolbar(IDB_MENUSIDE, 0, 2);
    ASSERT_NE(slot(0).toolbars[1], nullptr);
    EXPECT_EQ(slot(0).toolbarExtents[1], 16 + 6 + 3);
    EXPECT_EQ(clientSize(slot(0).client).cx, 400 - 25);
    EXPECT_EQ(windowSystem().CurrentWidth, 400 - 25);
    MenuToolbar(IDB_MENUSIDE, 0, 3);
    EXPECT_EQ(clientSize(slot(0).client).cx, 400 - 50);
    win::RECT right = screenRect(slot(0).toolbars[2]);
    win::RECT client = screenRect(slot(0).client);
    EXPECT_EQ(right.left, client.right);

    // Removing the left toolbar widens the client area again.
    MenuToolbar(0, 0, 2);
    EXPECT_EQ(slot(0).toolbars[1], nullptr);
    EXPECT_EQ(clientSize(slot(0).client).cx, 400 - 25);
    EXPECT_EQ(windowSystem().CurrentWidth, 400 - 25);
    // A table without buttons makes an empty toolbar.
    MenuToolbar(IDB_MENUEMPTY, 0, 4);
    ASSERT_NE(slot(0).toolbars[3], nullptr);
    EXPECT_EQ(buttonCount(3), 0);

    struct Case {
        int id, window, error;
    } cases[] = {{IDB_MENUNOBITMAP, 0, 1002},
                 {31999, 0, 1002},
                 {IDB_MENUTOOLS, 9, 1003},
                 {IDB_MENUTOOLS, 51, 1003}};
    for (const Case& c : cases) {
        toolkitState().LastErrorNumber = 0;
        MenuToolbar(c.id, c.window);
        EXPECT_EQ(toolkitState().LastErrorNumber, c.error) << c.id;
    }
    EXPECT_EQ(slot(0).toolbars[0], nullptr);

    // A maximised window grows by the toolbar: its client keeps its size.
    win::ShowWindow(slot(0).frame, win::SW_MAXIMIZE);
    const win::SIZE before = clientSize(slot(0).client);
    MenuToolbar(IDB_MENUTOOLS);
    EXPECT_EQ(clientSize(slot(0).client).cy, before.cy);
}

TEST_F(ToolbarTest, WindowsOpenWithToolbarsAndTheFrameLaysThemOut) {
    WindowOpenArgs a;
    a.flags = 7 | kFlagStatusBar;
    a.width = 400;
    a.height = 300;
    a.menuId = IDM_MENUMAIN;
    a.toolbarIds = {IDB_MENUTOOLS, 0, 0, IDB_MENUSIDE};
    WindowOpen(a);
    ASSERT_NE(slot(0).toolbars[0], nullptr);
    ASSERT_NE(slot(0).toolbars[3], nullptr);
    EXPECT_EQ(clientSize(slot(0).client).cx, 400);
    EXPECT_EQ(clientSize(slot(0).client).cy, 300);
    // The bottom toolbar sits right above the status bar, the top one above
    // the client area; both follow a resize of the frame.
    win::RECT f = screenRect(slot(0).frame);
    win::SetWindowPos(slot(0).frame, nullptr, 0, 0, f.right - f.left + 100, f.bottom - f.top,
                      win::SWP_NOMOVE | win::SWP_NOZORDER);
    win::RECT top = screenRect(slot(0).toolbars[0]);
    win::RECT bottom = screenRect(slot(0).toolbars[3]);
    win::RECT client = screenRect(slot(0).client);
    win::RECT status = screenRect(slot(0).statusBar);
    EXPECT_EQ(top.bottom, client.top);
    EXPECT_EQ(top.right - top.left, 500);
    EXPECT_EQ(bottom.top, client.bottom);
    EXPECT_EQ(bottom.bottom, status.top);
    EXPECT_EQ(bottom.right - bottom.left, 500);
}

}  // namespace
}  // namespace tk::test
