// Imports from the File menus and the toolbar, played as a user would, with
// the files of the example survey and files the program itself exported.

#include <cmath>

#include "dialog_test_support.h"
#include "editing_test_support.h"
#include "model/model_check.h"
#include "files/mog_import.h"
#include "files/survey_line_store.h"
#include "zaf_fixtures.h"

namespace shell::test {
namespace {

// Opens FILE > MENU > ITEM of the window (the main window or the profile
// window) and types NAME into the file selector titled TITLE.
void chooseFile(Script& s, std::function<win::HWND()> window, const std::string& menu,
                const std::string& item, const std::string& title, const std::string& name) {
    clickMenuTitle(s, window, "File");
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

// The screen centre of the main window's toolbar button of COMMAND.
win::robot::Target toolbarButton(int command) {
    return [command] {
        win::HWND bar = win::robot::findDescendantByClass(mainWindow(), "ToolbarWindow32");
        if (!bar) throw std::runtime_error("no toolbar");
        const auto index = win::SendMessageA(bar, win::TB_COMMANDTOINDEX,
                                             static_cast<win::WPARAM>(command), 0);
        win::RECT r{};
        win::SendMessageA(bar, win::TB_GETITEMRECT, static_cast<win::WPARAM>(index),
                          reinterpret_cast<win::LPARAM>(&r));
        win::POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        win::ClientToScreen(bar, &p);
        return p;
    };
}

TEST_F(ProgramTest, TheExampleXyzFileImportsIntoAnEmptyDatabaseAsFiveProfiles) {
    Script s;
    s.check([] { ASSERT_EQ(database().NPROF, 0); });
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Import");
    s.clickMenuItem("XYZ Data File");
    s.clickMenuItem("Gravity Data");
    s.check([] { ASSERT_TRUE(dialogTitled("New Profile Parameters")); });
    s.key(win::VK_RETURN);
    s.check([] {
        win::HWND box = dialogTitled("ASCII XYZ-Format Data File");
        ASSERT_TRUE(box);
        // Over the window it was opened from, not at the screen's corner.
        const win::RECT r = win::robot::screenRect(box), main = win::robot::screenRect(mainWindow());
        const win::POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        EXPECT_TRUE(centre.x > main.left && centre.x < main.right && centre.y > main.top &&
                    centre.y < main.bottom)
            << r.left << "," << r.top << " over " << main.left << "," << main.top;
    });
    s.chord({win::VK_CONTROL, 'A'})
        .text(PELK_SOURCE_DIR "/examples/BASIN-GRAVITY.XYZ")
        .key(win::VK_RETURN);
    s.check([] {
        ASSERT_TRUE(dialogTitled("XYZ File Columns"));
        EXPECT_TRUE(shootDialog(dialogTitled("XYZ File Columns"), "182_xyz_file_columns"));
        win::HWND preview =
            win::robot::findDescendantById(dialogTitled("XYZ File Columns"), IDC_FILEPREVIEW);
        EXPECT_NE(win::robot::windowText(preview).find("LINE L1-Gravity"), std::string::npos);
    });
    s.key(win::VK_RETURN);  // the columns as the file has them: E N Z distance value
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    s.check([] {
        ASSERT_EQ(database().NPROF, 5);
        for (int k = 1; k <= 5; ++k) {
            EXPECT_EQ(database().profile(k).PNAME.trimmed(), "L" + std::to_string(k) + "-GRAVITY");
            EXPECT_EQ(database().profile(k).NSTA, 81);
            EXPECT_EQ(listEntry(k), "L" + std::to_string(k) + "-GRAVITY");
        }
        EXPECT_FLOAT_EQ(database().profile(3).NORT(1), 43000.0f);
        EXPECT_EQ(currentProfile(), 5);
        EXPECT_EQ(workingProfile().PNAME.trimmed(), "L5-GRAVITY");
        EXPECT_GT(profileWindow(), 0);
        EXPECT_FALSE(database().LDBSAV);
        win::robot::saveScreenPng(PELK_SCREENSHOT_DIR "/shell_xyz_import.png");
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] {
        return win::robot::findDescendantById(dialogTitled("Save Changes Dialog"), IDNOBUTTON);
    });
    ASSERT_EQ(run("pelk-gm", std::move(s)), 0);
}

TEST_F(ProgramTest, AColumnFileImportsThroughTheToolbarAndTheNewProfileDialogs) {
    writeDatabase("SITE");
    Script s;
    // The profile window is active: the first click brings the main window up.
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    s.clickAt(toolbarButton(CMD_IMPORTDATA));
    s.clickMenuItem("ASCII Data File");
    s.clickMenuItem("Gravity Data");
    s.check([] {
        win::HWND d = dialogTitled("New Profile Parameters");
        ASSERT_TRUE(d);
        // Densities in kg/m3, then OK.
        win::SendMessageA(win::robot::findDescendantById(d, IDC_DENSKGM3), win::BM_CLICK, 0, 0);
    });
    s.key(win::VK_RETURN);
    s.check([] { ASSERT_TRUE(dialogTitled("ASCII Data File")); });
    s.chord({win::VK_CONTROL, 'A'})
        .text(PELK_SOURCE_DIR "/examples/LINE3-GRAVITY.DAT")
        .key(win::VK_RETURN);
    s.check([] { ASSERT_TRUE(dialogTitled("XYZ File Columns")); });
    s.key(win::VK_RETURN);
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    s.check([] {
        ASSERT_EQ(database().NPROF, 3);
        const model::ProfileLine& p = database().profile(3);
        EXPECT_EQ(p.DTYPE.trimmed(), "Gravity Data");
        EXPECT_EQ(p.IDENUN, 2);
        ASSERT_EQ(p.NSTA, 81);
        EXPECT_FLOAT_EQ(p.STAT(81), 8000.0f);
        EXPECT_FLOAT_EQ(p.EAST(2), 20100.0f);
        EXPECT_EQ(currentProfile(), 3);
        EXPECT_EQ(workingProfile().PNAME, p.PNAME);
        EXPECT_EQ(listEntry(3), std::string(p.PNAME.trimmed()));
        // The new profile's model follows its stations' elevations.
        EXPECT_EQ(p.MODEL.NTOPO, 81);
        EXPECT_FLOAT_EQ(p.MODEL.ZTOPO(81), p.ELEV(81));
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] {
        return win::robot::findDescendantById(dialogTitled("Save Changes Dialog"), IDNOBUTTON);
    });
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, ANewMagneticProfileTypedInTheDataEditorJoinsTheDatabase) {
    constexpr const char* kEditor = "Gravity/Magnetics Data Entry/Edit";
    writeDatabase("SITE");
    Script s;
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    s.clickAt(toolbarButton(CMD_NEWPROFILE));
    s.clickMenuItem("Magnetics Profile");
    s.check([] { ASSERT_TRUE(dialogTitled("New Profile Parameters")); });
    clickField(s, "New Profile Parameters", IDC_MAGVERTGRAD);
    clickField(s, "New Profile Parameters", win::IDOK);
    s.check([=] { ASSERT_TRUE(dialogTitled(kEditor)); });
    const char* rows[][5] = {{"5000", "100", "0", "20", "3.5"},
                             {"5050", "100", "50", "21", "4.25"},
                             {"5100", "100", "100", "22", "2.75"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) typeIntoCell(s, kEditor, IDC_DATAGRID, c + 2, r + 1, rows[r][c]);
    typeInto(s, kEditor, IDC_DATASETNAME, "Gradient Test");
    clickField(s, kEditor, win::IDOK);
    s.check([=] {
        ASSERT_FALSE(dialogTitled(kEditor));
        ASSERT_EQ(database().NPROF, 3);
        const model::ProfileLine& p = database().profile(3);
        EXPECT_EQ(p.PNAME.trimmed(), "Gradient Test");
        EXPECT_EQ(p.DTYPE.view(), "Magnetics Vert Grad ");
        ASSERT_EQ(p.NSTA, 3);
        EXPECT_FLOAT_EQ(p.DAT(2, 1), 4.25f);
        EXPECT_FLOAT_EQ(p.STAT(3), 100.0f);
        EXPECT_EQ(currentProfile(), 3);
        EXPECT_EQ(listEntry(3), "Gradient Test");
        EXPECT_EQ(workingProfile().PNAME, p.PNAME);
        EXPECT_GT(profileWindow(), 0);
        EXPECT_FALSE(database().LDBSAV);
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] {
        return win::robot::findDescendantById(dialogTitled("Save Changes Dialog"), IDNOBUTTON);
    });
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
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

// Types NAME into the file selector titled TITLE that the last step opened.
void typeFileName(Script& s, const std::string& title, const std::string& name) {
    s.check([title] { ASSERT_TRUE(dialogTitled(title)) << title; });
    s.chord({win::VK_CONTROL, 'A'}).text(name).key(win::VK_RETURN);
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
}

// The ASCII file written by the sibling file's own writer from line 3 of the
// example (L3.MOG), and a small binary file of one body over three stations
// (SMALL.ZAF).
void writeSiblingFiles(const fs::path& dir) {
    model::ProfileLine copy = exampleProfile(3);
    std::string name = (dir / "L3.MOG").string();
    int status = -1;
    files::ASCIO(copy, 'W', name, status);
    ASSERT_EQ(status, 0);
    const std::vector<std::uint8_t> zaf = files_test::zafFile(files_test::ZafSpec{});
    std::ofstream(dir / "SMALL.ZAF", std::ios::binary)
        .write(reinterpret_cast<const char*>(zaf.data()), static_cast<std::streamsize>(zaf.size()));
}

TEST_F(ProgramTest, TheSiblingProductsFilesImportIntoTheMainWindow) {
    writeDatabase("SITE");
    const model::ProfileLine line3 = exampleProfile(3);
    writeSiblingFiles(dir_);
    Script s;
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Import");
    s.clickMenuItem("ASCII Data File");
    s.clickMenuItem("KERVO ASCII Data File");
    typeFileName(s, "Kervo/Pelk-GM ASCII Data File", "L3.MOG");
    s.check([line3] {
        ASSERT_EQ(database().NPROF, 3);
        const model::ProfileLine& p = database().profile(3);
        EXPECT_EQ(p.PNAME.trimmed(), "L3-Gravi");  // the file keeps eight characters
        EXPECT_EQ(p.DTYPE.trimmed(), "Gravity Data");
        ASSERT_EQ(p.NSTA, 81);
        for (int i : {1, 9, 81}) {
            EXPECT_FLOAT_EQ(p.STAT(i), line3.STAT(i)) << i;
            EXPECT_FLOAT_EQ(p.EAST(i), line3.EAST(i)) << i;
            EXPECT_NEAR(p.DAT(i, 1), line3.DAT(i, 1), 1.0E-4f) << i;
            EXPECT_NEAR(p.ELEV(i), line3.ELEV(i), 1.0E-4f) << i;
        }
        EXPECT_EQ(currentProfile(), 3);
        EXPECT_EQ(listEntry(3), "L3-Gravi");
        EXPECT_EQ(workingProfile().PNAME, p.PNAME);
        EXPECT_GT(profileWindow(), 0);
        EXPECT_FALSE(database().LDBSAV);
    });
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Import");
    s.clickMenuItem("KERVO File (*.ZAF)");
    typeFileName(s, "Kervo File", "SMALL.ZAF");
    s.check([] {
        ASSERT_EQ(database().NPROF, 4);
        const model::ProfileLine& p = database().profile(4);
        EXPECT_EQ(p.NSTA, 3);
        EXPECT_EQ(p.MODEL.NBOD, 1);
        EXPECT_EQ(currentProfile(), 4);
        EXPECT_EQ(workingProfile().PNAME, p.PNAME);
        EXPECT_EQ(workingProfile().MODEL.NBOD, 1);
        EXPECT_EQ(listEntry(4), std::string(p.PNAME.trimmed()));
        fs::create_directories(PELK_SCREENSHOT_DIR);
        win::robot::saveScreenPng(PELK_SCREENSHOT_DIR "/shell_sibling_import.png");
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] {
        return win::robot::findDescendantById(dialogTitled("Save Changes Dialog"), IDNOBUTTON);
    });
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
    EXPECT_TRUE(win::testing::messageBoxes().empty());
}

// A profile read from a sibling product's file is shown with the bad-model
// flag of its own model, not of the crossed model shown before it (which
// left the calculation refusing a legal model).
TEST_F(ProgramTest, AProfileImportedAfterABadModelIsJudgedByItsOwnModel) {
    writeSiblingFiles(dir_);
    const std::pair<const char*, const char*> kinds[] = {{"ASCII Data File", "L3.MOG"},
                                                         {"KERVO File (*.ZAF)", "SMALL.ZAF"}};
    for (const auto& [item, file] : kinds) {
        resetAll();
        // The body under 1300-1900 m has corners inside and outside the first.
        writeProfiles("SITE", {[](model::ProfileLine& p) {
                          makeProfile(p, "Crossed Line", 21, 4000.0f,
                                      {box(1000, -800, 1600, -200),
                                       {{1300, -500}, {1600, -200}, {1900, -500}, {1600, -800}}});
                      }});
        Script s;
        s.check([] { EXPECT_TRUE(model::sessionState().BadModel); });
        clickMenuTitle(s, mainWindow, "File");
        s.clickMenuItem("Import");
        s.clickMenuItem(item);
        if (std::string(file) == "L3.MOG") {
            s.clickMenuItem("KERVO ASCII Data File");
            typeFileName(s, "Kervo/Pelk-GM ASCII Data File", file);
        } else {
            typeFileName(s, "Kervo File", file);
        }
        s.check([file] {
            ASSERT_EQ(currentProfile(), 2) << file;
            EXPECT_FALSE(model::LBADMODEL(workingProfile().MODEL)) << file;
            EXPECT_FALSE(model::sessionState().BadModel) << file;
        });
        chooseMenu(s, "File", "Exit");
        s.clickOn([] {
            return win::robot::findDescendantById(dialogTitled("Save Changes Dialog"), IDNOBUTTON);
        });
        ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0) << file;
    }
}

// A database of the full hundred profiles, each a copy of line 3 of the example.
void writeFullDatabase(const std::string& name) {
    model::ProfileDatabase db;
    ASSERT_TRUE(model::allocateDatabase(db));
    const model::ProfileLine line3 = exampleProfile(3);
    for (int k = 1; k <= model::kProfileLimit; ++k) {
        db.profile(k) = line3;
        db.name(k) = model::listName(line3.PNAME);
    }
    db.NPROF = model::kProfileLimit;
    saveDatabase(db, name);
}

TEST_F(ProgramTest, AFullDatabaseRefusesEveryCommandThatAddsAProfile) {
    writeFullDatabase("FULL");
    Script s;
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    const std::vector<std::vector<std::string>> commands = {
        {"Import", "XYZ Data File", "Gravity Data"},
        {"Import", "ASCII Data File", "Magnetics Data"},
        {"Import", "ASCII Data File", "KERVO ASCII Data File"},
        {"Import", "KERVO File (*.ZAF)"},
        {"New", "Profile", "Gravity Profile"},
    };
    for (std::size_t k = 0; k < commands.size(); ++k) {
        const std::vector<std::string>& items = commands[k];
        s.answerMessageBox(win::IDOK);
        clickMenuTitle(s, mainWindow, "File");
        for (const std::string& item : items) s.clickMenuItem(item);
        s.check([items, k] {
            // One warning for each command.
            ASSERT_EQ(win::testing::messageBoxes().size(), k + 1) << items.back();
            EXPECT_EQ(win::testing::lastMessageBox()->text, files::kTooManyProfiles) << items.back();
            EXPECT_EQ(database().NPROF, model::kProfileLimit);
            // Neither a parameters dialog nor a file selector is left open.
            EXPECT_FALSE(win::robot::findTopLevelByClass("#32770")) << items.back();
        });
    }
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm FULL.TQM", std::move(s)), 0);
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
