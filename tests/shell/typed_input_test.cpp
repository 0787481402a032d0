// What the user types where the program expects a number or a file name:
// an unreadable number in a grid cell is refused, and a file name typed
// without extension gets the one of the chosen filter.

#include "dialog_test_support.h"
#include "export_test_support.h"
#include "toolkit/dialogs/grid_public.h"

namespace shell::test {
namespace {

constexpr const char* kDataTitle = "Gravity/Magnetics Data Entry/Edit";

TEST_F(ProgramTest, AnUnreadableNumberInTheDataEditorIsRefusedAndTheProfileKeepsItsStations) {
    writeModelDatabase();
    Script s;
    chooseProfileMenu(s, "Edit", "Data");
    s.check([] { ASSERT_TRUE(dialogTitled(kDataTitle)); });
    // Each typo in the East cell of row 2: Tab beeps and leaves the cell
    // current with the text as typed.
    for (const char* typo : {"1.2.3", "-", "."}) {
        s.check([] { win::testing::resetMessageBoxes(); });
        typeIntoCell(s, kDataTitle, IDC_DATAGRID, 2, 2, typo);
        s.check([typo] {
            const tk::GridRecord* g = gridOf(kDataTitle, IDC_DATAGRID);
            ASSERT_TRUE(g);
            EXPECT_EQ(g->currentColumn, 1) << typo;
            EXPECT_EQ(g->currentRow, 1) << typo;
            EXPECT_EQ(win::robot::windowText(win::GetFocus()), typo);
            EXPECT_GE(win::testing::beepCount(), 1) << typo;
        });
    }
    // OK does not take the typo either; Cancel leaves the profile as it was.
    clickField(s, kDataTitle, win::IDOK);
    s.check([] {
        ASSERT_TRUE(dialogTitled(kDataTitle));
        EXPECT_FLOAT_EQ(workingProfile().EAST(2), 1100.0f);
    });
    s.chord({win::VK_CONTROL, 'A'}).text("1105").key(win::VK_TAB);
    clickField(s, kDataTitle, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kDataTitle));
        EXPECT_FLOAT_EQ(workingProfile().EAST(2), 1105.0f);
        EXPECT_FLOAT_EQ(workingProfile().EAST(3), 1200.0f);
    });
    exitWithoutSaving(s);
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, AnExportNamedWithoutExtensionGetsTheExtensionOfItsFilter) {
    writeDatabase("SITE");
    Script s;
    exportFrom(s, mainWindow, "DXF Graphics File", "DXF graphics file", "map");
    exportFrom(s, profileFrame, "PNG Image File", "PNG image file", "profile");
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
    EXPECT_FALSE(fs::exists(dir_ / "map"));
    EXPECT_FALSE(fs::exists(dir_ / "profile"));
    ASSERT_TRUE(fs::exists(dir_ / "map.DXF"));
    EXPECT_NE(readFile(dir_ / "map.DXF").find("SECTION"), std::string::npos);
    ASSERT_TRUE(fs::exists(dir_ / "profile.PNG"));
    std::string output;
    EXPECT_EQ(readerStatus("pngtopnm '" + (dir_ / "profile.PNG").string() + "' >/dev/null", output),
              0)
        << output;
}

}  // namespace
}  // namespace shell::test
