// How the user's data move between files, the database's slots and the
// working profile: played as a user would, each journey checks that what
// went in comes out whole, and that nothing of one profile leaks into the
// next.

#include <algorithm>
#include <cmath>

#include "dialog_test_support.h"
#include "editing_test_support.h"
#include "shell/station_geometry_file.h"
#include "survey_fixture.h"

namespace shell::test {
namespace {

// Opens FILE > ITEMS of the main window and types NAME into the file
// selector titled TITLE.
void importThroughMenus(Script& s, const std::vector<std::string>& items,
                        const std::string& title, const std::string& name) {
    clickMenuTitle(s, mainWindow, "File");
    for (const std::string& item : items) s.clickMenuItem(item);
    s.check([title] { ASSERT_TRUE(dialogTitled(title)) << title; });
    s.chord({win::VK_CONTROL, 'A'}).text(name).key(win::VK_RETURN);
}

// Types PATH into the file selector titled TITLE that the last step opened
// and takes the columns the import offers as they stand.
void takeFileWithItsColumns(Script& s, const std::string& title, const std::string& path) {
    s.check([title] { ASSERT_TRUE(dialogTitled(title)) << title; });
    s.chord({win::VK_CONTROL, 'A'}).text(path).key(win::VK_RETURN);
    s.check([] { ASSERT_TRUE(dialogTitled("XYZ File Columns")); });
    s.key(win::VK_RETURN);
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
}

// The column import of the example line 3 through the menus, the dialogs
// confirmed as they stand.
void importColumnFile(Script& s) {
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Import");
    s.clickMenuItem("ASCII Data File");
    s.clickMenuItem("Gravity Data");
    s.check([] { ASSERT_TRUE(dialogTitled("New Profile Parameters")); });
    s.key(win::VK_RETURN);
    takeFileWithItsColumns(s, "ASCII Data File", PELK_SOURCE_DIR "/examples/LINE3-GRAVITY.DAT");
}

void clearData(Script& s) {
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("New");
    s.clickMenuItem("Clear Data");
    s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
    s.key(win::VK_RETURN);
}

// Nothing of an earlier occupant of the slot: no bodies, labels, regional
// control points, valid synthetics or misfit.
void expectCleanStart(const model::ProfileLine& p) {
    EXPECT_EQ(p.MODEL.NBOD, 0);
    EXPECT_EQ(p.LABELS.NLAB, 0);
    EXPECT_EQ(p.NREG, 0);
    EXPECT_FALSE(p.LSYN);
    EXPECT_EQ(p.RMSERR, 0.0f);
    EXPECT_EQ(p.YREG[0], 0.0f);
}

TEST_F(ProgramTest, AProfileWithStationsButNoDataComponentIsRefusedWhenRead) {
    writeProfiles("BROKEN", {[](model::ProfileLine& p) {
                                 makeProfile(p, "Good Line", 21, 2000.0f, twoBodies());
                             },
                             [](model::ProfileLine& p) {
                                 makeProfile(p, "Empty Line", 21, 2000.0f, {});
                                 p.NCOMP = 0;
                                 int status = 0;
                                 model::DEALLOCPF(p);
                                 model::ALLOCPF(p, status);
                             }});
    // The read error of the profile block and of the database, while the
    // program starts.
    win::testing::queueMessageBoxAnswer(win::IDOK);
    win::testing::queueMessageBoxAnswer(win::IDOK);
    Script s;
    s.check([] {
        ASSERT_EQ(database().NPROF, 1);
        EXPECT_EQ(listEntry(1), "Good Line");
        EXPECT_FALSE(database().LDBSAV);
        ASSERT_FALSE(win::testing::messageBoxes().empty());
        EXPECT_NE(win::testing::messageBoxes().front().text.find("READ ERROR OR END OF FILE"),
                  std::string::npos);
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    ASSERT_EQ(run("pelk-gm BROKEN.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, EveryLineOfAnXyzMagneticsFileGetsTheDialogsValues) {
    Script s;
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Import");
    s.clickMenuItem("XYZ Data File");
    s.clickMenuItem("Magnetics Data");
    s.check([] { ASSERT_TRUE(dialogTitled("New Profile Parameters")); });
    typeInto(s, "New Profile Parameters", IDC_FIELDSTRENGTH, "52000");
    typeInto(s, "New Profile Parameters", IDC_FIELDINCL, "60");
    typeInto(s, "New Profile Parameters", IDC_FIELDDECL, "5");
    clickField(s, "New Profile Parameters", win::IDOK);
    takeFileWithItsColumns(s, "ASCII XYZ-Format Data File",
                           PELK_SOURCE_DIR "/examples/BASIN-MAGNETICS.XYZ");
    s.check([] {
        ASSERT_EQ(database().NPROF, 5);
        const model::ProfileLine& first = database().profile(1);
        EXPECT_FLOAT_EQ(first.FIELD, 52000.0f);
        EXPECT_FLOAT_EQ(first.FINCL, 60.0f);
        for (int k = 1; k <= 5; ++k) {
            SCOPED_TRACE(k);
            const model::ProfileLine& p = database().profile(k);
            EXPECT_EQ(p.FIELD, first.FIELD);
            EXPECT_EQ(p.FINCL, first.FINCL);
            EXPECT_EQ(p.FDECL, first.FDECL);
            EXPECT_EQ(p.IELEV, first.IELEV);
            EXPECT_EQ(p.ISUSUN, first.ISUSUN);
            EXPECT_EQ(p.XUNIT, first.XUNIT);
            EXPECT_EQ(p.ZUNIT, first.ZUNIT);
            EXPECT_EQ(p.XUNIT.trimmed(), "M");
            EXPECT_EQ(p.DUNIT[0].trimmed(), "nT");
            // A magnetised block under the line gives an anomaly.
            model::ProfileLine q = p;
            fillBlockModel(q.MODEL, 0.01f, Survey{});
            calc::CALC(q, 0);
            float largest = 0.0f;
            for (int i = 1; i <= q.NSTA; ++i) largest = std::max(largest, std::fabs(q.SYN(i, 1)));
            EXPECT_GT(largest, 1.0f);
        }
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    ASSERT_EQ(run("pelk-gm", std::move(s)), 0);
}

TEST_F(ProgramTest, AnImportAfterClearDataStartsFromACleanSlot) {
    writeSurvey("SITE", Survey{.regional = 3.0f});
    Script s;
    s.check([] {
        // What the old first slot holds, so that a leak would show.
        ASSERT_GT(database().profile(1).MODEL.NBOD, 0);
        ASSERT_GT(database().profile(1).LABELS.NLAB, 0);
        ASSERT_GT(database().profile(1).NREG, 0);
    });
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    clearData(s);
    s.check([] { ASSERT_EQ(database().NPROF, 0); });
    importColumnFile(s);
    s.check([] {
        ASSERT_EQ(database().NPROF, 1);
        expectCleanStart(database().profile(1));
        expectCleanStart(workingProfile());
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, ANewProfileAfterDeletingTheLastStartsFromACleanSlot) {
    writeSurvey("SITE", Survey{.regional = 3.0f});
    Script s;
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    s.check([] {
        shellSession().MapHitProfile = 2;
        postCommand(mainWindow(), CMD_DELETEPROFILE);
    });
    s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
    s.key(win::VK_RETURN);
    s.check([] { ASSERT_EQ(database().NPROF, 1); });
    importColumnFile(s);
    s.check([] {
        ASSERT_EQ(database().NPROF, 2);
        expectCleanStart(database().profile(2));
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// Whether the map shows anything but its background within 3 pixels of the
// point (the background is the map's most common colour).
bool mapDrawnNear(float east, float north) {
    std::vector<std::uint32_t> px = windowPixels(mainClient());
    std::sort(px.begin(), px.end());
    std::uint32_t background = 0;
    std::size_t best = 0;
    for (auto run = px.begin(); run != px.end();) {
        const auto end = std::upper_bound(run, px.end(), *run);
        if (static_cast<std::size_t>(end - run) > best) {
            best = static_cast<std::size_t>(end - run);
            background = *run;
        }
        run = end;
    }
    const win::POINT c = atMap(east, north)();
    const win::Surface& screen = win::robot::screen();
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx)
            if ((screen.at(c.x + dx, c.y + dy) & 0xFFFFFF) != background) return true;
    return false;
}

TEST_F(ProgramTest, AColumnImportedLineIsOnTheMapAndInTheSavedFile) {
    writeSurvey("SITE");
    Script s;
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    importColumnFile(s);
    s.check([] {
        ASSERT_EQ(database().NPROF, 3);
        const model::ProfileLine& p = database().profile(3);
        ASSERT_EQ(p.NSTA, 81);
        EXPECT_EQ(p.EFIRST, p.EAST(1));
        EXPECT_EQ(p.NFIRST, p.NORT(1));
        EXPECT_EQ(p.ELAST, p.EAST(81));
        EXPECT_EQ(p.NLAST, p.NORT(81));
        EXPECT_NE(p.EFIRST, 0.0f);
        win::robot::saveScreenPng(PELK_SCREENSHOT_DIR "/data_flow_column_line_on_map.png");
    });
    // The line's middle station is drawn on the map.
    s.check([] {
        const model::ProfileLine& p = database().profile(3);
        EXPECT_TRUE(mapDrawnNear(p.EAST(41), p.NORT(41)));
    });
    chooseMenu(s, "File", "Save");
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
    // The saved file's header holds the line's end points.
    resetAll();
    model::ProfileDatabase db;
    util::AxisRecord axis{};
    int status = 0;
    files::BIOPELK(db, axis, "LOAD", (dir_ / "SITE.TQM").string(), status);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(db.NPROF, 3);
    EXPECT_EQ(db.profile(3).EFIRST, db.profile(3).EAST(1));
    EXPECT_EQ(db.profile(3).NLAST, db.profile(3).NORT(81));
    EXPECT_NE(db.profile(3).ELAST, 0.0f);
    model::CLEARDB(db);
}

TEST_F(ProgramTest, AnImportOffersToStoreTheEditedWorkingProfileFirst) {
    writeSurvey("SITE");
    Script s;
    s.check([] { ASSERT_EQ(workingProfile().MODEL.NBOD, 1); });
    chooseProfileMenu(s, "File", "New Model");
    s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
    s.key(win::VK_RETURN);
    s.check([] {
        ASSERT_EQ(workingProfile().MODEL.NBOD, 0);
        ASSERT_FALSE(workingProfile().LSAVED);
    });
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Import");
    s.clickMenuItem("ASCII Data File");
    s.clickMenuItem("Gravity Data");
    // Asked first, as Open asks: Yes stores the edit into its slot.
    s.check([] { ASSERT_TRUE(dialogTitled("Save Changes Dialog")); });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDYESBUTTON); });
    s.check([] {
        EXPECT_EQ(database().profile(1).MODEL.NBOD, 0);
        ASSERT_TRUE(dialogTitled("New Profile Parameters"));
    });
    s.key(win::VK_RETURN);
    takeFileWithItsColumns(s, "ASCII Data File", PELK_SOURCE_DIR "/examples/LINE3-GRAVITY.DAT");
    s.check([] {
        ASSERT_EQ(database().NPROF, 3);
        EXPECT_EQ(database().profile(1).MODEL.NBOD, 0);
        ASSERT_EQ(currentProfile(), 3);
    });
    // The new profile edited, then a sibling file's import: Cancel keeps the
    // edit where it is and imports nothing.
    chooseProfileMenu(s, "File", "New Model");
    s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
    s.key(win::VK_RETURN);
    s.check([] { ASSERT_FALSE(workingProfile().LSAVED); });
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Import");
    s.clickMenuItem("KERVO File (*.ZAF)");
    s.check([] { ASSERT_TRUE(dialogTitled("Save Changes Dialog")); });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), win::IDCANCEL); });
    s.check([] {
        EXPECT_FALSE(dialogTitled("Kervo File"));
        EXPECT_EQ(database().NPROF, 3);
        EXPECT_EQ(currentProfile(), 3);
        EXPECT_FALSE(workingProfile().LSAVED);
    });
    chooseMenu(s, "File", "Exit");
    // The working profile's edit, then the database: neither kept.
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, SavingADatabaseReadFromADamagedFileAsksWhereFirst) {
    const std::string whole = readFile(PELK_SOURCE_DIR "/examples/BASIN.TQM");
    const std::string cut = whole.substr(0, whole.size() / 2);
    std::ofstream(dir_ / "CUT.TQM", std::ios::binary) << cut;
    // The read errors while the program starts.
    win::testing::queueMessageBoxAnswer(win::IDOK);
    win::testing::queueMessageBoxAnswer(win::IDOK);
    Script s;
    s.check([] { ASSERT_GT(database().NPROF, 0); });
    s.answerMessageBox(win::IDOK);
    chooseMenu(s, "File", "Save");
    // Told why, then asked where: cancelled, the damaged file stays whole.
    s.check([] {
        ASSERT_TRUE(dialogTitled("Pelk-GM Binary File"));
        EXPECT_EQ(win::testing::lastMessageBox()->text.rfind(
                      "THE DATABASE WAS READ FROM A DAMAGED FILE:", 0),
                  0u);
    });
    s.key(win::VK_ESCAPE);
    s.check([this, cut] {
        EXPECT_FALSE(dialogTitled("Pelk-GM Binary File"));
        EXPECT_EQ(readFile(dir_ / "CUT.TQM"), cut);
        EXPECT_FALSE(database().LDBSAV);
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    ASSERT_EQ(run("pelk-gm CUT.TQM", std::move(s)), 0);
    EXPECT_EQ(readFile(dir_ / "CUT.TQM"), cut);
}

TEST_F(ProgramTest, ATypedProfileWithTheSensorAboveTheSurfaceKeepsTheTypedSurface) {
    constexpr const char* kEditor = "Gravity/Magnetics Data Entry/Edit";
    constexpr const char* kParameters = "New Profile Parameters";
    writeDatabase("SITE");
    Script s;
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("New");
    s.clickMenuItem("Profile");
    s.clickMenuItem("Gravity Profile");
    s.check([=] { ASSERT_TRUE(dialogTitled(kParameters)); });
    // The sensor a constant 2 m above the surface.
    clickField(s, kParameters, IDC_ELEVCONSTANTGRAV);
    typeInto(s, kParameters, IDC_SENSORHEIGHT, "2");
    clickField(s, kParameters, win::IDOK);
    s.check([=] { ASSERT_TRUE(dialogTitled(kEditor)); });
    const char* rows[][5] = {{"5000", "100", "0", "20", "3.5"},
                             {"5050", "100", "50", "21", "4.25"},
                             {"5100", "100", "100", "23", "2.75"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) typeIntoCell(s, kEditor, IDC_DATAGRID, c + 2, r + 1, rows[r][c]);
    typeInto(s, kEditor, IDC_DATASETNAME, "Typed Line");
    clickField(s, kEditor, win::IDOK);
    s.check([=] {
        ASSERT_FALSE(dialogTitled(kEditor));
        ASSERT_EQ(database().NPROF, 3);
        for (const model::ProfileLine* p : {&database().profile(3), &workingProfile()}) {
            ASSERT_EQ(p->NSTA, 3);
            EXPECT_EQ(p->IELEV, 2);
            const float surface[] = {20.0f, 21.0f, 23.0f};
            for (int i = 1; i <= 3; ++i) {
                EXPECT_FLOAT_EQ(p->MODEL.ZTOPO(i), surface[i - 1]) << i;
                EXPECT_FLOAT_EQ(p->ELEV(i), surface[i - 1] + 2.0f) << i;
            }
            EXPECT_FLOAT_EQ(p->MODEL.ZTOPO(4), 23.0f);  // the surface carried on out
            EXPECT_FLOAT_EQ(p->MODEL.ZTOPO(7), 20.0f);
        }
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, ADatabaseOpenedByALongPathOpensAgainAtTheNextStart) {
    writeDatabase("SITE");
    // A database name longer than a database's name, in a folder as deep as
    // the path comes to 200 characters.
    const std::string name = "A_SURVEY_DATABASE_NAMED_AT_LENGTH.TQM";
    const std::size_t folderLength = 200 - name.size() - 1;
    fs::path folder = dir_;
    while (folder.string().size() + 31 < folderLength) folder /= std::string(30, 'f');
    folder /= std::string(folderLength - folder.string().size() - 1, 'g');
    fs::create_directories(folder);
    const fs::path path = folder / name;
    ASSERT_EQ(path.string().size(), 200u);
    fs::rename(dir_ / "SITE.TQM", path);

    Script first;
    first.check([] { ASSERT_EQ(database().NPROF, 2); });
    chooseMenu(first, "File", "Exit");
    ASSERT_EQ(run("pelk-gm " + path.string(), std::move(first)), 0);
    ASSERT_EQ(win::robot::stop(), 0u);

    // The next start, from the folder the program was first started in.
    resetAll();
    fs::current_path(dir_);
    Script next;
    next.check([] {
        EXPECT_EQ(database().NPROF, 2);
        EXPECT_EQ(listEntry(1), "North Line");
        for (const auto& box : win::testing::messageBoxes())
            EXPECT_EQ(box.text.find("CANNOT FIND FILE"), std::string::npos) << box.text;
    });
    chooseMenu(next, "File", "Exit");
    ASSERT_EQ(run("pelk-gm", std::move(next)), 0);
}

// The station geometry file of the data editor, written from every profile
// of the example survey and read back: easting, northing and distance to
// the two decimals the file writes.
TEST(StationGeometryRoundTrip, EveryProfileOfTheExampleSurveyComesBack) {
    model::ProfileDatabase db;
    util::AxisRecord axis{};
    int status = 0;
    files::BIOPELK(db, axis, "LOAD", PELK_SOURCE_DIR "/examples/BASIN.TQM", status);
    ASSERT_EQ(status, 0);
    const std::string path = (fs::temp_directory_path() / "pelk-round-trip.GEO").string();
    for (int k = 1; k <= db.NPROF; ++k) {
        SCOPED_TRACE(k);
        const model::ProfileLine& p = db.profile(k);
        std::vector<StationPosition> written;
        for (int i = 1; i <= p.NSTA; ++i) written.push_back({p.EAST(i), p.NORT(i), p.STAT(i)});
        ASSERT_TRUE(writeStationGeometry(path, written));
        std::vector<StationPosition> back;
        ASSERT_TRUE(readStationGeometry(path, 999, back));
        ASSERT_EQ(back.size(), written.size());
        EXPECT_EQ(usableStations(back), p.NSTA);
        for (std::size_t i = 0; i < back.size(); ++i)
            for (std::size_t c = 0; c < 3; ++c)
                EXPECT_NEAR(back[i][c], written[i][c], 0.005f + 1.0E-6f * std::fabs(written[i][c]))
                    << i << " " << c;
    }
    fs::remove(path);
    model::CLEARDB(db);
    model::resetSessionState();
    files::sessionState().reset();
}

}  // namespace
}  // namespace shell::test
