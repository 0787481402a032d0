// Menus of toolkit windows: attaching them from resources with their
// identifier tables and help texts, switching items (and the toolbar
// buttons of the same command), deleting items, floating menus, and the
// help texts shown in the status bar while an item is highlighted.

#include <string>

#include "menu_test_ids.h"
#include "platform/controls/common_controls_api.h"
#include "toolkit/core/menu_resources.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/status_bar_codes.h"
#include "toolkit/core/toolbars.h"
#include "window_test_support.h"

namespace tk::test {
namespace {

using win::robot::Script;

class MenuTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        MenuBarsBind();
    }
    static win::UINT itemState(win::HMENU menu, int command) {
        win::HMENU holder = nullptr;
        const int at = MenuItemFind(menu, command, holder);
        return at < 0 ? ~0u
                      : win::GetMenuState(holder, static_cast<win::UINT>(at), win::MF_BYPOSITION);
    }
    static int buttonState(int side, int command) {
        return static_cast<int>(win::SendMessageA(slot(0).toolbars[side], win::TB_GETSTATE,
                                                  static_cast<win::WPARAM>(command), 0));
    }
    static std::string simpleText(win::HWND bar) {
        char text[256] = {};
        win::SendMessageA(bar, win::SB_GETTEXTA, kSimplePart, reinterpret_cast<win::LPARAM>(text));
        return text;
    }
    static int lastError() { return toolkitState().LastErrorNumber; }
    // The next event that is not a repaint or a size change (attaching a
    // menu resizes the client area).
    static int nextCommand(EventRecord& rec) {
        int type = 0;
        do
            EventWait(type, rec);
        while (type == Expose || type == Resize);
        return type;
    }
};

TEST_F(MenuTest, AttachAppliesIdentifierTableAndGreysDisabledItems) {
    openRoot();
    MenuAttach(IDM_MENUMAIN);
    win::HMENU menu = slot(0).menu;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(win::GetMenu(slot(0).frame), menu);
    EXPECT_NE(slot(0).accelerators, nullptr);
    EXPECT_FALSE(slot(0).menuHelp.empty());
    win::HMENU holder = nullptr;
    // The pop-up "File" took an identifier of its own; "Open" replaced 1.
    EXPECT_EQ(MenuItemFind(menu, IDC_MFILE, holder), 0);
    EXPECT_EQ(holder, menu);
    EXPECT_EQ(MenuItemFind(menu, IDC_MOPEN, holder), 0);
    EXPECT_EQ(holder, win::GetSubMenu(menu, 0));
    EXPECT_EQ(MenuItemFind(menu, 1, holder), -1);
    EXPECT_EQ(MenuItemFind(menu, IDC_MZOOM, holder), 1);
    EXPECT_TRUE(itemState(menu, IDC_MPRINT) & win::MF_GRAYED);
    EXPECT_FALSE(itemState(menu, IDC_MSAVE) & win::MF_GRAYED);

    // Attaching another menu replaces it; 0 removes it.
    MenuAttach(IDM_MENUOTHER, 0);
    EXPECT_NE(slot(0).menu, menu);
    EXPECT_EQ(win::GetMenu(slot(0).frame), slot(0).menu);
    EXPECT_TRUE(slot(0).menuHelp.empty());
    MenuAttach(0);
    EXPECT_EQ(slot(0).menu, nullptr);
    EXPECT_EQ(win::GetMenu(slot(0).frame), nullptr);
}

TEST_F(MenuTest, AttachErrors) {
    openRoot();
    struct Case {
        int menu, window, error;
    } cases[] = {{IDM_MENUMAIN, 51, 1003},
                 {IDM_MENUMAIN, -1, 1003},
                 {IDM_MENUMAIN, 7, 1003},
                 {31999, 0, 1002}};
    for (const Case& c : cases) {
        toolkitState().LastErrorNumber = 0;
        MenuAttach(c.menu, c.window);
        EXPECT_EQ(lastError(), c.error) << c.menu << " " << c.window;
    }
    EXPECT_EQ(slot(0).menu, nullptr);
}

TEST_F(MenuTest, ChosenItemArrivesAsMenuSelect) {
    openRoot();
    MenuAttach(IDM_MENUMAIN);
    Script s;
    s.clickMenuBar(slot(0).frame, "File").clickMenuItem("Open").chord({win::VK_CONTROL, 'S'});
    win::robot::play(std::move(s));
    EventRecord rec{};
    ASSERT_EQ(nextCommand(rec), MenuSelect);
    EXPECT_EQ(rec[0], 0);
    EXPECT_EQ(rec[1], IDC_MOPEN);
    ASSERT_EQ(nextCommand(rec), MenuSelect);
    EXPECT_EQ(rec[1], IDC_MSAVE);
}

TEST_F(MenuTest, SetStateChangesMenuItemAndToolbarButton) {
    openRoot();
    MenuAttach(IDM_MENUMAIN);
    MenuToolbar(IDB_MENUTOOLS);
    ASSERT_NE(slot(0).toolbars[0], nullptr);
    win::HMENU menu = slot(0).menu;

    MenuSetState(IDC_MSAVE, MenuStateEnabled, 0);
    EXPECT_TRUE(itemState(menu, IDC_MSAVE) & win::MF_GRAYED);
    EXPECT_FALSE(buttonState(0, IDC_MSAVE) & win::TBSTATE_ENABLED);
    MenuSetState(IDC_MSAVE, MenuStateEnabled, 1);
    EXPECT_FALSE(itemState(menu, IDC_MSAVE) & win::MF_GRAYED);
    EXPECT_TRUE(buttonState(0, IDC_MSAVE) & win::TBSTATE_ENABLED);
    MenuSetState(IDC_MSAVE, MenuStateChecked, 1);
    EXPECT_TRUE(itemState(menu, IDC_MSAVE) & win::MF_CHECKED);
    EXPECT_TRUE(buttonState(0, IDC_MSAVE) & win::TBSTATE_CHECKED);
    // A pop-up item with an identifier of its own can be greyed too.
    MenuSetState(IDC_MFILE, MenuStateEnabled, 0);
    EXPECT_TRUE(itemState(menu, IDC_MFILE) & win::MF_GRAYED);

    // Only on the toolbar: greyed there, no error.
    toolkitState().LastErrorNumber = 0;
    MenuSetState(IDC_MTOOLONLY, MenuStateEnabled, 0);
    EXPECT_FALSE(buttonState(0, IDC_MTOOLONLY) & win::TBSTATE_ENABLED);
    EXPECT_EQ(lastError(), 0);
    MenuSetState(42999, MenuStateEnabled, 0);
    EXPECT_EQ(lastError(), 1001);

    // Kind or value out of range: nothing at all.
    toolkitState().LastErrorNumber = 0;
    for (auto [kind, value] : {std::pair{0, 1}, {3, 1}, {1, 2}, {2, -1}}) {
        MenuSetState(42999, kind, value);
        MenuSetState(IDC_MSAVE, kind, value);
    }
    EXPECT_EQ(lastError(), 0);
    EXPECT_TRUE(itemState(menu, IDC_MSAVE) & win::MF_CHECKED);
    EXPECT_FALSE(itemState(menu, IDC_MSAVE) & win::MF_GRAYED);
}

TEST_F(MenuTest, StateRoutinesActOnTheCurrentWindowWhenItHasAMenu) {
    openRoot();
    MenuAttach(IDM_MENUMAIN);
    int child = -1;
    WindowOpenChildArgs a;
    a.width = 200;
    a.height = 100;
    WindowOpenChild(child, a);
    ASSERT_GT(child, 0);
    // Without a menu of its own the child's state changes go to window 0.
    MenuSetState(IDC_MSAVE, MenuStateChecked, 1);
    EXPECT_TRUE(itemState(slot(0).menu, IDC_MSAVE) & win::MF_CHECKED);
    MenuAttach(IDM_MENUOTHER, child);
    ASSERT_NE(slot(child).menu, nullptr);
    toolkitState().LastErrorNumber = 0;
    MenuSetState(IDC_MSAVE, MenuStateChecked, 0);
    EXPECT_EQ(lastError(), 1001);
    MenuSetState(IDC_MOTHER, MenuStateChecked, 1);
    EXPECT_TRUE(itemState(slot(child).menu, IDC_MOTHER) & win::MF_CHECKED);
}

TEST_F(MenuTest, ItemDeleteAndTheRarelyUsedMembers) {
    openRoot();
    MenuAttach(IDM_MENUMAIN);
    win::HMENU menu = slot(0).menu;
    MenuItemDelete(IDC_MSAVE);
    win::HMENU holder = nullptr;
    EXPECT_EQ(MenuItemFind(menu, IDC_MSAVE, holder), -1);
    EXPECT_EQ(win::GetMenuItemCount(win::GetSubMenu(menu, 0)), 2);
    toolkitState().LastErrorNumber = 0;
    MenuItemDelete(IDC_MSAVE);
    EXPECT_EQ(lastError(), 1001);

    EXPECT_EQ(MenuItemInsert(IDC_MPRINT, 1, IDC_MSAVE, "Save &again"), 0);
    EXPECT_EQ(MenuItemFind(menu, IDC_MSAVE, holder), 1);
    EXPECT_EQ(MenuItemInsert(IDC_MPRINT, 9, 0, ""), 0);  // a separator at the end
    EXPECT_EQ(win::GetMenuItemCount(win::GetSubMenu(menu, 0)), 4);
    EXPECT_EQ(MenuItemInsert(42999, 1, 1, "x"), -1);

    EXPECT_EQ(MenuItemTextSet(IDC_MSAVE, "Keep"), 0);
    char text[32] = {};
    win::GetMenuStringA(menu, IDC_MSAVE, text, sizeof text, win::MF_BYCOMMAND);
    EXPECT_STREQ(text, "Keep");
    int value = -5;
    EXPECT_EQ(MenuItemStateGet(IDC_MPRINT, MenuStateEnabled, value), 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(MenuItemStateGet(42999, MenuStateEnabled, value), -1);

    EXPECT_EQ(MenuItemHelpSet(IDC_MSAVE, "Own help"), 0);
    EXPECT_EQ(slot(0).menuItemHelpCount, 1);
    EXPECT_EQ(MenuItemHelpSet(IDC_MSAVE, ""), 0);
    EXPECT_EQ(slot(0).menuItemHelpCount, 0);
    EXPECT_EQ(MenuItemHelpSet(IDC_MOPEN, "Another"), 0);
    MenuItemDelete(IDC_MOPEN);  // frees its text
    EXPECT_EQ(slot(0).menuItemHelpCount, 0);
}

TEST_F(MenuTest, FloatingMenuChoiceArrivesLaterAndDismissalGivesNothing) {
    openRoot();
    MenuAttach(IDM_MENUMAIN);
    MenuSetState(IDC_MGRID, MenuStateChecked, 1);
    bool popupShown = false;
    Script s;
    s.check([&] {
        win::HWND popup = win::FindWindowA("#32768", nullptr);
        popupShown = popup != nullptr;
    });
    s.clickMenuItem("Grid");
    win::robot::play(std::move(s));
    MenuFloating(IDM_MENUPOPUP, 5000, 5000);
    EXPECT_EQ(lastError(), 0);
    EXPECT_TRUE(popupShown);
    EXPECT_TRUE(windowSystem().SharedMenuHelp.empty());
    EventRecord rec{};
    ASSERT_EQ(nextCommand(rec), MenuSelect);
    EXPECT_EQ(rec[1], IDC_MGRID);

    Script dismiss;
    dismiss.key(win::VK_ESCAPE);
    win::robot::play(std::move(dismiss));
    MenuFloating(IDM_MENUPOPUP, 100, 100, 1);
    int type = 0;
    do
        EventPeek(type, rec);
    while (type == Expose || type == Resize);
    EXPECT_EQ(type, -1);

    MenuFloating(31999, 0, 0);
    EXPECT_EQ(lastError(), 1002);
}

TEST_F(MenuTest, CopyStatesTakesStateAndTextOfTheWindowMenu) {
    win::HMENU window = MenuLoadResource(IDM_MENUMAIN);
    win::HMENU popup = MenuLoadResource(IDM_MENUPOPUP);
    ASSERT_TRUE(window && popup);
    win::CheckMenuItem(window, IDC_MGRID, win::MF_CHECKED);
    MenuCopyStates(popup, window);
    EXPECT_EQ(win::GetMenuState(popup, IDC_MGRID, win::MF_BYCOMMAND) & win::MF_CHECKED,
              win::MF_CHECKED);
    EXPECT_EQ(win::GetMenuState(popup, IDC_MCANCEL, win::MF_BYCOMMAND) & win::MF_CHECKED, 0u);
    win::DestroyMenu(window);
    win::DestroyMenu(popup);
}

TEST(MenuHelpResource, EntriesAtOddOffsetsAndCutResources) {
    const std::uint8_t bytes[] = {0x01, 0x00, 'a',  'b',  'c', 0, 0x02, 0x00,
                                  'x',  0,    0x01, 0x00, 'z', 0, 0,    0};
    std::span<const std::uint8_t> all(bytes);
    EXPECT_EQ(MenuHelpTextFind(all, 1).value_or("-"), "abc");
    EXPECT_EQ(MenuHelpTextFind(all, 2).value_or("-"), "x");
    EXPECT_FALSE(MenuHelpTextFind(all, 3).has_value());
    // A resource cut inside an entry finds nothing past the cut.
    EXPECT_FALSE(MenuHelpTextFind(all.first(9), 2).has_value());
    EXPECT_FALSE(MenuHelpTextFind({}, 1).has_value());
}

TEST_F(MenuTest, HighlightedItemShowsItsHelpTextInTheStatusBar) {
    WindowOpenArgs a;
    a.flags = 7 | kFlagStatusBar;
    a.width = 400;
    a.height = 300;
    WindowOpen(a);
    MenuAttach(IDM_MENUMAIN);
    MenuItemHelpSet(IDC_MSAVE, "Own text of Save");
    win::HWND bar = slot(0).statusBar;
    std::string openText, saveText, printText;
    Script s;
    s.clickMenuBar(slot(0).frame, "File")
        .key(win::VK_DOWN)
        .check([&] { openText = simpleText(bar); })
        .key(win::VK_DOWN)
        .check([&] { saveText = simpleText(bar); })
        .key(win::VK_DOWN)
        .check([&] { printText = simpleText(bar); })
        .key(win::VK_ESCAPE)
        .key(win::VK_ESCAPE)
        .chord({win::VK_CONTROL, 'S'});
    win::robot::play(std::move(s));
    EventRecord rec{};
    ASSERT_EQ(nextCommand(rec), MenuSelect);
    EXPECT_EQ(openText, "Opens a model");
    EXPECT_EQ(saveText, "Own text of Save");  // the item's own text comes first
    EXPECT_EQ(printText, "");
    EXPECT_FALSE(win::SendMessageA(bar, win::SB_ISSIMPLE, 0, 0));
}

}  // namespace
}  // namespace tk::test
