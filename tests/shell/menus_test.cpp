// The program's context menus: each resource loads with its items in order,
// its separators and its status-bar help texts; the toolbar's Import Data
// button opens its menu; and putting a progress dialog away.

#include <vector>

#include "calc/inversion_iterations.h"
#include "survey_fixture.h"
#include "toolkit/core/menu_resources.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "util/abort_poll.h"

namespace shell::test {
namespace {

using MenusTest = ProgramTest;

struct ContextMenu {
    int id;
    std::vector<int> items;                         // 0 = separator, -1 = a submenu
    std::vector<std::pair<int, const char*>> help;  // a few of its help texts
};

const std::vector<ContextMenu>& contextMenus() {
    static const std::vector<ContextMenu> menus = {
        {IDM_VERTEX,
         {40001, 40014, 40016, 40017, 0, 40018, 0, 40136, 40042, 0, 40064, 40066, 40065, 40125, 0,
          40140},
         {{40125, "Move vertex to coincide with nearest and lock to it"}, {40140, "Cancel"}}},
        {IDM_IMPORTPOPUP,
         {-1, -1, 40076, 0, 40140},
         {{40033, "Import Data from ASCII File"}, {40086, "Import Magnetics data from XYZ file"}}},
        {IDM_POINTSBOX, {40031, 40036, 40048, 0, 40140}, {{40048, "Delete these Data Points"}}},
        {IDM_NEWPROFILEPOPUP, {40121, 40160, 0, 40140}, {}},
        {IDM_DATAPOINT, {40053, 40137, 40114, 0, 40140}, {{40137, "Unmask this Data Point"}}},
        {IDM_IMPORTMENU, {-1, -1, 40076}, {{40076, "Import Kervo Fiel"}}},
        {IDM_LEADER,
         {40001, 40014, 40016, 40017, 0, 40018, 40066, 40073, 0, 40136, 0, 40140},
         {{40073, "Unlock All Vertices Locked To It"}}},
        {IDM_FOLLOWER, {40018, 40074, 0, 40136, 0, 40140}, {{40074, "Unlock This Vertex"}}},
        {IDM_LABEL,
         {40143, 40142, 0, 40140, 40141, 0, 2},
         {{40140, "Add Arrow to this Label"}, {2, "Cancel the Arrow Operation"}}},
        {IDM_EDGE,
         {40084, 40085, 40088, 40089, 0, 40090, 40083, 40110, 0, 40140},
         {{40090, "Insert vertex on edge"}}},
        {IDM_MAGBODY,
         {40108, 40109, 0, 40098, 40103, 40104, 40105, 0, 40146, 40087, 40093, 40136, 40092, 0,
          2002, 0, 40140},
         {{40108, "Fix Susceptibilityfor this body"}, {2002, "Set pivot location for this body"}}},
        {IDM_DATAGRAPH, {40067, 40060, 0, 40140}, {{40067, "Add a label to the display"}}},
        {IDM_MODELAREA,
         {40040, 40054, 40067, 0, 40060, 40079, 0, 40140},
         {{40079, "Edit color fill bodies properties"}}},
        {IDM_BACKGROUND,
         {40094, 0, 40040, 40054, 40082, 0, 40140},
         {{40094, "Edit Background Properties"}}},
        {IDM_MAPPROFILE,
         {40107, 0, 40139, 40058, 0, 40060, 0, 40140},
         {{40139, "Select this profile for profile window"}}},
        {IDM_GRAVBODY,
         {40108, 40109, 0, 40098, 40103, 40104, 40105, 0, 40146, 40087, 40093, 40136, 40092, 0,
          2002, 0, 40140},
         {{40108, "Fix Density for this body"}}},
        {IDM_VERTICESBOX,
         {40116, 40118, 40119, 40124, 0, 40075, 40112, 40115, 0, 40140},
         {{40115, "Lock these vertices together"}}},
    };
    return menus;
}

TEST(ContextMenuResources, EveryMenuLoadsWithItsItemsAndHelpTexts) {
    ASSERT_EQ(contextMenus().size(), 17u);
    for (const ContextMenu& c : contextMenus()) {
        win::HMENU menu = tk::MenuLoadResource(c.id);
        ASSERT_TRUE(menu) << c.id;
        ASSERT_EQ(win::GetMenuItemCount(menu), static_cast<int>(c.items.size())) << c.id;
        for (std::size_t k = 0; k < c.items.size(); ++k) {
            const int position = static_cast<int>(k);
            if (c.items[k] == -1) {
                EXPECT_TRUE(win::GetSubMenu(menu, position)) << c.id << " at " << k;
                continue;
            }
            EXPECT_EQ(static_cast<int>(win::GetMenuItemID(menu, position)), c.items[k])
                << c.id << " at " << k;
        }
        for (const auto& [command, text] : c.help) {
            EXPECT_EQ(tk::MenuHelpTextFind(tk::MenuHelpResourceLoad(c.id), command), text)
                << c.id << " " << command;
        }
        win::DestroyMenu(menu);
    }
    // The submenus of the import menus carry their own identifiers.
    for (int id : {IDM_IMPORTPOPUP, IDM_IMPORTMENU}) {
        win::HMENU menu = tk::MenuLoadResource(id);
        win::HMENU holder = nullptr;
        EXPECT_EQ(tk::MenuItemFind(menu, CMD_ASCIIDATA, holder), 0) << id;
        EXPECT_EQ(tk::MenuItemFind(menu, CMD_XYZDATA, holder), 1) << id;
        EXPECT_GE(tk::MenuItemFind(menu, 40069, holder), 0) << id;
        win::DestroyMenu(menu);
    }
}

TEST_F(MenusTest, TheToolbarsImportButtonOpensTheImportMenu) {
    writeSurvey("SITE");
    Script s;
    s.clickAt([] {
        win::HWND tools = win::robot::findDescendantByClass(mainWindow(), "ToolbarWindow32");
        const auto index = win::SendMessageA(tools, win::TB_COMMANDTOINDEX, CMD_IMPORTDATA, 0);
        win::RECT r{};
        win::SendMessageA(tools, win::TB_GETITEMRECT, static_cast<win::WPARAM>(index),
                          reinterpret_cast<win::LPARAM>(&r));
        win::MapWindowPoints(tools, nullptr, reinterpret_cast<win::POINT*>(&r), 2);
        return win::robot::centreOf(r);
    });
    s.check([] {
        // The import menu, with its two submenus and the Kervo file.
        ASSERT_EQ(win::robot::openPopupMenus().size(), 1u);
        win::RECT r{};
        EXPECT_TRUE(win::robot::openMenuItemRect("ASCII Data File", r));
        EXPECT_TRUE(win::robot::openMenuItemRect("KERVO File (*.ZAF)", r));
    });
    s.clickMenuItem("Cancel");
    s.check([] { EXPECT_TRUE(win::robot::openPopupMenus().empty()); });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(MenusTest, BatchCleanupPutsTheProgressDialogAwayWhereItWas) {
    writeSurvey("SITE");
    Script s;
    s.check([] {
        tk::DlgLoad(IDD_INVERSION);
        tk::DlgSelect(IDD_INVERSION);
        tk::DlgShow(120, 140, 0, 3);
        util::abortPollState().latch = true;
        BATCHCLEANUP(0, 0, IDD_INVERSION);
        EXPECT_FALSE(util::abortPollState().latch);
        EXPECT_FALSE(win::IsWindowVisible(dialogTitled("Inversion Progress....")));
        EXPECT_EQ(calc::inversionDialogPlace().x, 120);
        EXPECT_EQ(calc::inversionDialogPlace().y, 140);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
