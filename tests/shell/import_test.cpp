// Imports from the File menus and the toolbar, played as a user would, with
// the files of the example survey and files the program itself exported.

#include <cmath>

#include "program_test_support.h"

namespace shell::test {
namespace {

win::HWND profileFrame() {
    return tk::windowSystem().slots[static_cast<std::size_t>(profileWindow())].frame;
}

// Opens FILE > MENU > ITEM of the window (the main window or the profile
// window) and types NAME into the file selector titled TITLE.
void chooseFile(Script& s, std::function<win::HWND()> window, const std::string& menu,
                const std::string& item, const std::string& title, const std::string& name) {
    s.clickAt([window] {
        win::RECT r{};
        if (!win::robot::menuBarItemRect(window(), "File", r))
            throw std::runtime_error("no File menu");
        return win::robot::centreOf(r);
    });
    if (!menu.empty()) s.clickMenuItem(menu);
    s.clickMenuItem(item);
    s.check([title] { ASSERT_TRUE(dialogTitled(title)) << title; });
    s.chord({win::VK_CONTROL, 'A'}).text(name).key(win::VK_RETURN);
    // The first click after the selector only brings the main window back.
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
}

model::ProfileLine exampleProfile(int index) {
    model::ProfileDatabase db;
    util::AxisRecord axis{};
    int status = 0;
    files::BIOPELK(db, axis, "LOAD", PELK_SOURCE_DIR "/examples/BASIN.TQM", status);
    EXPECT_EQ(status, 0);
    model::ProfileLine p = db.profile(index);
    model::CLEARDB(db);
    return p;
}

TEST_F(ProgramTest, AModelExportedFromOneProfileIsImportedIntoAnother) {
    fs::copy_file(PELK_SOURCE_DIR "/examples/BASIN.TQM", dir_ / "BASIN.TQM");
    writeDatabase("SITE");
    Script s;
    chooseFile(s, profileFrame, "Export", "Model", "Kervo/Pelk-GM ASCII Model File", "l3.mdl");
    s.check([this] { ASSERT_TRUE(fs::exists(dir_ / "l3.mdl")); });
    chooseMenu(s, "File", "Open");
    s.check([] { ASSERT_TRUE(win::robot::findTopLevelByClass("#32770")); });
    s.chord({win::VK_CONTROL, 'A'}).text("SITE.TQM").key(win::VK_RETURN);
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    s.check([] {
        ASSERT_EQ(workingProfile().PNAME, std::string_view("North Line"));
        EXPECT_EQ(workingProfile().MODEL.NBOD, 0);
    });
    s.answerMessageBox(win::IDOK);  // "READ SUCCESSFUL WITH ..."
    chooseFile(s, profileFrame, "Import", "ASCII Model File", "Kervo/Pelk-GM ASCII Model File",
               "l3.mdl");
    s.check([] {
        const model::ProfileLine source = exampleProfile(3);
        const model::PolygonModel& a = source.MODEL;
        const model::PolygonModel& b = workingProfile().MODEL;
        EXPECT_EQ(workingProfile().PNAME, std::string_view("North Line"));
        EXPECT_FALSE(workingProfile().LSAVED);
        ASSERT_EQ(b.NBOD, a.NBOD);
        ASSERT_EQ(b.vertexCount(), a.vertexCount());
        EXPECT_FLOAT_EQ(b.DBKG, a.DBKG);
        for (int k = 1; k <= a.NBOD; ++k) {
            EXPECT_FLOAT_EQ(b.DENS(k), a.DENS(k));
            EXPECT_EQ(b.LAYER(k), a.LAYER(k));
            EXPECT_EQ(b.IV2(k), a.IV2(k));
        }
        for (int v = 1; v <= a.vertexCount(); ++v) {
            EXPECT_NEAR(b.XVRT(v), a.XVRT(v), 1.0E-6f * std::fabs(a.XVRT(v)) + 1.0E-3f) << v;
            EXPECT_NEAR(b.ZVRT(v), a.ZVRT(v), 1.0E-6f * std::fabs(a.ZVRT(v)) + 1.0E-3f) << v;
        }
    });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm BASIN.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, ADatabaseCutShortOpensWithItsWholeProfilesUnsaved) {
    const std::string whole = readFile(PELK_SOURCE_DIR "/examples/BASIN.TQM");
    // Cut in the middle of the file: the profiles before the cut are whole.
    std::ofstream(dir_ / "CUT.TQM", std::ios::binary) << whole.substr(0, whole.size() / 2);
    // "READ ERROR OR END OF FILE AT BYTE ..." while reading the profile's data
    // and the profile block: two boxes while the program starts.
    win::testing::queueMessageBoxAnswer(win::IDOK);
    win::testing::queueMessageBoxAnswer(win::IDOK);
    Script s;
    s.check([] {
        EXPECT_GT(database().NPROF, 2);
        EXPECT_LT(database().NPROF, 10);
        EXPECT_FALSE(database().LDBSAV);
        EXPECT_EQ(listEntry(1), "L1-Gravity");
    });
    chooseMenu(s, "File", "Exit");
    // Asked whether to save: No keeps the file as it is.
    s.clickOn([] {
        return win::robot::findDescendantById(dialogTitled("Save Changes Dialog"), IDNOBUTTON);
    });
    ASSERT_EQ(run("pelk-gm CUT.TQM", std::move(s)), 0);
    ASSERT_FALSE(win::testing::messageBoxes().empty());
    EXPECT_NE(win::testing::messageBoxes().front().text.find("READ ERROR OR END OF FILE"),
              std::string::npos);
}

}  // namespace
}  // namespace shell::test
