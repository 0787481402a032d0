// Edit > Data of the profile window: the grid of stations, its arithmetic
// and cell operations, the station geometry files and the profile rebuilt
// on OK.

#include <cmath>

#include "dialog_test_support.h"
#include "editing_test_support.h"
#include "model/model_check.h"
#include "shell/station_geometry_file.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/grid_public.h"

namespace shell::test {
namespace {

constexpr const char* kTitle = "Gravity/Magnetics Data Entry/Edit";

void clickCell(Script& s, int grid, int column, int row) {
    s.clickAt([=] { return gridCell(dialogTitled(kTitle), grid, column, row); });
}

std::vector<float> values(const model::RealArray& a) {
    return a.values();
}

TEST_F(ProgramTest, DataEditorAddToShiftsAColumnAndOkRebuildsTheStations) {
    writeModelDatabase();
    Script s;
    chooseProfileMenu(s, "Edit", "Data");
    s.check([] {
        win::HWND d = dialogTitled(kTitle);
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(field(kTitle, IDC_DATASETNAME)), "Gravity Line");
        EXPECT_FALSE(win::robot::stateOf(field(kTitle, IDC_SENSORHEIGHT)).visible);
        EXPECT_EQ(gridOf(kTitle, IDC_DATAGRID)->headerLabels[6], "Gravity");
        EXPECT_TRUE(shootDialog(d, "137_data_entry_edit"));
    });
    // East from row 2 on moves 10 m, the data from row 4 on doubles.
    columnMathOnCell(s, kTitle, IDC_DATAGRID, 2, 2, IDC_ADDTO, "10");
    columnMathOnCell(s, kTitle, IDC_DATAGRID, 6, 4, IDC_MULTIPLYBY, "2");
    // A row inserted at row 2 holds a copy of row 2; deleting it again
    // leaves the column as it was; a cell inserted into the mask column.
    clickCell(s, IDC_DATAGRID, 3, 2);
    clickField(s, kTitle, IDC_INSERTROW);
    s.check([] { EXPECT_EQ(gridOf(kTitle, IDC_DATAGRID)->columns[1].reals[5], 1410.0f); });
    clickField(s, kTitle, IDC_DELETEROW);
    clickCell(s, IDC_DATAGRID, 7, 1);
    s.check([] {
        // The click checked the mask of row 1.
        int state = 0;
        tk::DlgSelect(IDD_DATAEDIT);
        tk::GrdGetCellCheckBox(IDC_DATAGRID, 7, 1, state);
        EXPECT_EQ(state, 1);
    });
    clickField(s, kTitle, IDC_INSERTCELL);
    // The first surface typed in; a name with "*" is refused.
    s.clickAt([] { return gridCell(dialogTitled(kTitle), IDC_DATAGRID, 5, 1); });
    s.chord({win::VK_CONTROL, 'A'}).text("12.5").key(win::VK_TAB);
    typeInto(s, kTitle, IDC_DATASETNAME, "New*");
    s.answerMessageBox(win::IDOK);
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        ASSERT_TRUE(dialogTitled(kTitle));
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Please enter valid data set name");
        EXPECT_EQ(workingProfile().PNAME, std::string_view("Gravity Line"));
    });
    typeInto(s, kTitle, IDC_DATASETNAME, "Edited Line");
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kTitle));
        const model::ProfileLine& w = workingProfile();
        EXPECT_EQ(w.PNAME, std::string_view("Edited Line"));
        ASSERT_EQ(w.NSTA, 5);
        EXPECT_EQ(values(w.EAST), (std::vector<float>{1000, 1110, 1210, 1310, 1410}));
        EXPECT_EQ(w.DAT.values(), (std::vector<float>{1, 2, 3, 8, 10}));
        EXPECT_EQ(w.MASK.values(), (std::vector<model::Logical>{false, true, false, false, false}));
        EXPECT_FLOAT_EQ(w.MODEL.ZTOPO(1), 12.5f);
        EXPECT_FLOAT_EQ(w.ELEV(1), 12.5f);  // same as the surface
        EXPECT_FLOAT_EQ(w.MODEL.XTOPO(5), 400.0f);
        EXPECT_EQ(w.MODEL.NTOPO, 5);
        EXPECT_FALSE(w.LSYN);
        EXPECT_FALSE(w.LSAVED);
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, DataEditorWithSensorHeightsKeepsTheProfileOnCancelAndFillsGeometryFiles) {
    writeModelDatabase();
    // Record 3 has a negative easting: only the first two stations load.
    ASSERT_TRUE(writeStationGeometry((dir_ / "OTHER.GEO").string(),
                                     {{500, 600, 0}, {510, 610, 14.14f}, {-1, 620, 28.28f}}));
    auto before = std::make_shared<model::ProfileLine>();
    Script s;
    s.check([before] {
        workingProfile().IELEV = 3;
        *before = workingProfile();
    });
    chooseProfileMenu(s, "Edit", "Data");
    s.check([] {
        win::HWND d = dialogTitled(kTitle);
        ASSERT_TRUE(d);
        EXPECT_EQ(gridOf(kTitle, IDC_DATASENSORGRID)->headerLabels[5], "Sensor");
        EXPECT_TRUE(shootDialog(d, "131_data_entry_edit_sensor"));
    });
    // Save Geometry asks for the name the first time.
    clickField(s, kTitle, IDC_SAVEGEOMETRY);
    s.check([] { ASSERT_TRUE(dialogTitled("Varendal Geometry File")); });
    s.chord({win::VK_CONTROL, 'A'}).text("LINE.GEO").key(win::VK_RETURN);
    s.check([this] {
        ASSERT_TRUE(fs::exists(dir_ / "LINE.GEO"));
        EXPECT_EQ(readFile(dir_ / "LINE.GEO").substr(0, 64),
                  "   1000.00   5000.00      0.00\r\n   1100.00   5000.00    100.00\r\n");
    });
    clickField(s, kTitle, IDC_OPENGEOMETRY);
    s.check([] { ASSERT_TRUE(dialogTitled("Varendal Geometry File")); });
    s.chord({win::VK_CONTROL, 'A'}).text("OTHER.GEO").key(win::VK_RETURN);
    s.check([] {
        const tk::GridRecord* g = gridOf(kTitle, IDC_DATASENSORGRID);
        ASSERT_TRUE(g);
        EXPECT_EQ(g->columns[1].reals[1], 510.0f);
        EXPECT_EQ(g->columns[2].reals[0], 600.0f);
        // The rows after those read are emptied.
        EXPECT_EQ(g->columns[1].flags[2] & tk::CellHasValue, 0);
    });
    clickField(s, kTitle, win::IDCANCEL);
    s.check([before] {
        EXPECT_FALSE(dialogTitled(kTitle));
        EXPECT_TRUE(workingProfile() == *before);
    });
    // Sensor 10 over a surface of 100 is 110; an empty sensor cell is missing.
    chooseProfileMenu(s, "Edit", "Data");
    s.clickAt([] { return gridCell(dialogTitled(kTitle), IDC_DATASENSORGRID, 5, 1); });
    s.chord({win::VK_CONTROL, 'A'}).text("10").key(win::VK_TAB).chord({win::VK_CONTROL, 'A'});
    s.text("100").key(win::VK_TAB);
    s.clickAt([] { return gridCell(dialogTitled(kTitle), IDC_DATASENSORGRID, 5, 2); });
    s.chord({win::VK_CONTROL, 'A'}).key(win::VK_DELETE).key(win::VK_TAB);
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kTitle));
        const model::ProfileLine& w = workingProfile();
        EXPECT_FLOAT_EQ(w.ELEV(1), 110.0f);
        EXPECT_GT(w.ELEV(2), 1.0E10f);
        EXPECT_FLOAT_EQ(w.ELEV(3), 0.0f);
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, DataEditorLeavesATwoComponentProfileWithItsFirstComponent) {
    writeModelDatabase();
    Script s;
    s.check([] {
        model::ProfileLine& w = workingProfile();
        w.NCOMP = 2;
        ASSERT_TRUE(w.DAT.allocate(5, 2) && w.MASK.allocate(5, 2) && w.SYN.allocate(5, 2));
        for (int k = 1; k <= 5; ++k) {
            w.DAT(k, 1) = static_cast<float>(k);
            w.DAT(k, 2) = 100.0f + static_cast<float>(k);
            w.MASK(k, 1) = k == 2;
            w.MASK(k, 2) = true;
        }
    });
    chooseProfileMenu(s, "Edit", "Data");
    s.check([] {
        const tk::GridRecord* g = gridOf(kTitle, IDC_DATAGRID);
        ASSERT_TRUE(g);
        EXPECT_EQ(g->columns[5].reals[4], 5.0f);  // the first component is shown
    });
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kTitle));
        const model::ProfileLine& w = workingProfile();
        EXPECT_EQ(w.NCOMP, 1);
        EXPECT_EQ(w.NDGRAF, 1);
        EXPECT_EQ(w.DAT.values(), (std::vector<float>{1, 2, 3, 4, 5}));
        EXPECT_EQ(w.MASK.values(), (std::vector<model::Logical>{false, true, false, false, false}));
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// The surface column is the model's topography: a surface typed down into a
// body leaves the model illegal, drawn as bad; typed back up, legal again.
TEST_F(ProgramTest, DataEditorSurfaceThroughABodyLeavesTheModelBad) {
    // Stations every 400 m; the first body lies under 1000-1600 m, 200-800 m deep.
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                      makeProfile(p, "Short Line", 11, 4000.0f, twoBodies());
                  }});
    Script s;
    for (const auto& [surface, bad] : {std::pair{"-500", true}, std::pair{"0", false}}) {
        chooseProfileMenu(s, "Edit", "Data");
        typeIntoCell(s, kTitle, IDC_DATAGRID, 5, 4, surface);
        clickField(s, kTitle, win::IDOK);
        s.check([surface, bad] {
            EXPECT_FALSE(dialogTitled(kTitle));
            const model::ProfileLine& w = workingProfile();
            EXPECT_FLOAT_EQ(w.MODEL.ZTOPO(4), std::stof(surface));
            EXPECT_EQ(model::LBADMODEL(w.MODEL), bad) << surface;
            EXPECT_EQ(model::sessionState().BadModel, bad) << surface;
        });
    }
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST(StationGeometryFiles, CountLeadingRunsWithNaNContinuing) {
    const float nan = std::nanf("");
    EXPECT_EQ(KOUNTVALUES(std::vector<float>{3, nan, 1, 0, 5}, 5), 3);
    EXPECT_EQ(KOUNTVALUES(std::vector<float>{0, 1}, 2), 0);
    EXPECT_EQ(KOUNTVALUESLT(std::vector<float>{0, 2, -1, 4}, 4), 2);
    EXPECT_EQ(KOUNTVALUESLT(std::vector<float>{1, 2}, 1), 1);
}

TEST(StationGeometryFiles, FieldsWithoutPointHaveTwoImpliedDecimals) {
    const fs::path file = fs::temp_directory_path() / ("geo-" + std::to_string(::getpid()));
    {
        std::ofstream out(file, std::ios::binary);
        out << "    123456   1000.5       250\n"
            << "     10.00     20.00\n"
            << "abc\n";
    }
    std::vector<StationPosition> records;
    ASSERT_TRUE(readStationGeometry(file.string(), 1000, records));
    fs::remove(file);
    ASSERT_EQ(records.size(), 2u);  // the third record does not read
    EXPECT_FLOAT_EQ(records[0][0], 1234.56f);
    EXPECT_FLOAT_EQ(records[0][1], 1000.5f);
    EXPECT_FLOAT_EQ(records[0][2], 2.5f);
    EXPECT_FLOAT_EQ(records[1][2], 0.0f);  // a blank field reads as 0
    EXPECT_EQ(usableStations(records), 2);
    records[1][0] = -10.0f;
    EXPECT_EQ(usableStations(records), 1);
}

}  // namespace
}  // namespace shell::test
