#include "files/xyz_import.h"

#include <gtest/gtest.h>

#include "files/survey_line_store.h"
#include "files/view_settings.h"
#include "import_fixtures.h"
#include "model/session_state.h"
#include "test_support.h"

namespace {

std::string records(int count, int first = 1, const char* eol = "\n") {
    std::string text;
    for (int i = first; i < first + count; ++i) {
        const std::string v = std::to_string(i);
        text += v + "0 " + v + "00 " + v + " " + v + "5 0." + v + eol;
    }
    return text;
}

class XyzImport : public ::testing::Test {
  protected:
    files_test::SettingsGuard settings;
    files_test::TempFolder folder;
    files_test::MessageLog log;
    files_test::FakeToolkit toolkit;
    files_test::FakeDialog dialog;
    files_test::ViewLog views;
    std::unique_ptr<model::ProfileDatabase> db = files_test::database();
    int status = 99;

    void import(const std::string& text, std::string_view key = "Grav") {
        files_test::writeText(folder.file("survey.xyz"), text);
        toolkit.selection = folder.file("survey.xyz");
        files::XYZINGRAVMAGVLF(*db, status, key);
    }
};

// The new-profile dialogs fill the first free slot; every survey line of the
// file takes their values, not only the first, whatever the later slots held.
TEST_F(XyzImport, EverySurveyLineTakesTheDialogsValues) {
    model::ProfileLine& dialogSlot = db->profile(1);
    dialogSlot.FIELD = 52000.0f;
    dialogSlot.FINCL = 60.0f;
    dialogSlot.FDECL = 5.0f;
    dialogSlot.IELEV = 2;
    dialogSlot.SENSHT = 1.5f;
    dialogSlot.ISUSUN = 2;
    dialogSlot.XUNIT.assign("M");
    dialogSlot.ZUNIT.assign("FT");
    // A slot left behind by an earlier profile.
    db->profile(2).LABELS.NLAB = 3;
    db->profile(2).NREG = 2;
    db->profile(2).RMSERR = 9.0f;
    import("LINE 1000N\n" + records(5) + "LINE 1100N\n" + records(5, 11) + "LINE 1200N\n" +
           records(4, 21));
    ASSERT_EQ(status, 0);
    ASSERT_EQ(db->NPROF, 3);
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        const model::ProfileLine& p = db->profile(k);
        EXPECT_EQ(p.FIELD, 52000.0f);
        EXPECT_EQ(p.FINCL, 60.0f);
        EXPECT_EQ(p.FDECL, 5.0f);
        EXPECT_EQ(p.IELEV, 2);
        EXPECT_EQ(p.SENSHT, 1.5f);
        EXPECT_EQ(p.ISUSUN, 2);
        EXPECT_EQ(p.XUNIT, base::FixedString<8>("M"));
        EXPECT_EQ(p.ZUNIT, base::FixedString<8>("FT"));
        EXPECT_EQ(p.LABELS.NLAB, 0);
        EXPECT_EQ(p.NREG, 0);
        EXPECT_EQ(p.RMSERR, 0.0f);
    }
}

TEST_F(XyzImport, TwoSurveyLinesBecomeTwoCompleteProfiles) {
    import("LINE 1000N\n" + records(5) + "LINE 1100N\r\n" + records(5, 11, "\r\n"));
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(log.all().empty());
    ASSERT_EQ(db->NPROF, 2);
    EXPECT_EQ(model::sessionState().CurrentProfile, 2);
    const auto& a = db->profile(1);
    const auto& b = db->profile(2);
    EXPECT_EQ(a.PNAME, "1000N");
    EXPECT_EQ(b.PNAME, "1100N");
    EXPECT_EQ(db->name(2), "1100N");
    ASSERT_EQ(a.NSTA, 5);
    EXPECT_EQ(a.EAST(2), 20.0f);
    EXPECT_EQ(a.NORT(2), 200.0f);
    EXPECT_EQ(a.ELEV(2), 2.0f);
    EXPECT_EQ(a.STAT(2), 25.0f);
    EXPECT_FLOAT_EQ(a.DAT(2, 1), 0.2f);
    EXPECT_EQ(b.EAST(5), 150.0f);
    EXPECT_EQ(a.SYN(1, 1), 1.0E20f);
    EXPECT_EQ(a.REG(5), 1.0E20f);
    EXPECT_EQ(a.DTYPE, "Gravity Data");
    EXPECT_EQ(a.CUNIT, "m");
    // An empty model under topography that follows the stations.
    EXPECT_EQ(a.MODEL.NBOD, 0);
    EXPECT_EQ(a.MODEL.NTOPO, 5);
    EXPECT_EQ(a.MODEL.XTOPO(3), 35.0f);
    EXPECT_EQ(a.MODEL.ZTOPO(3), 3.0f);
    EXPECT_EQ(a.MODEL.ZTOPO(6), 5.0f);
    EXPECT_EQ(a.MODEL.ZTOPO(9), 1.0f);
    EXPECT_EQ(a.NLGRAF, 1);
    EXPECT_FALSE(a.LSYN);
    EXPECT_EQ(a.MODEL.TIEEAS, 10.0f);
    EXPECT_EQ(a.MODEL.BASELN, 15.0f);
    EXPECT_NEAR(a.MODEL.AZIM, 5.71f, 0.01f);  // from station 1 to station 5
    EXPECT_NEAR(a.MODEL.STRIKE, a.MODEL.AZIM - 90.0f, 1e-4f);
    EXPECT_EQ(views.rescales, 4);  // the store and the import each fit the data graph
    EXPECT_EQ(views.sectionScales, 2);
}

TEST_F(XyzImport, LineCoordinateStandsInForAMissingEastingColumn) {
    dialog.chooseColumns(0, 2, 0, 0, 3);
    import("LINE 500W\n1 7 0.5\n2 9 0.6\n");
    ASSERT_EQ(db->NPROF, 1);
    EXPECT_EQ(db->profile(1).EAST(1), -500.0f);
    EXPECT_EQ(db->profile(1).EAST(2), -500.0f);
    EXPECT_EQ(db->profile(1).STAT(2), 2.0f);  // distance along the stations
}

TEST_F(XyzImport, CommentsBetweenLinesEndThemAndTheWorkArraysAreReused) {
    import("/ DATE : 2024-05-01\nLINE 1\n" + records(3) + "/ end of line one\n/ UNIT FT\nLINE 2\n" +
           records(2, 7) + "/ trailing comment\n");
    ASSERT_EQ(status, 0);
    ASSERT_EQ(db->NPROF, 2);
    EXPECT_EQ(db->profile(1).NSTA, 3);
    EXPECT_EQ(db->profile(1).CUNIT, "m");
    EXPECT_EQ(db->profile(2).NSTA, 2);
    EXPECT_EQ(db->profile(2).EAST(1), 70.0f);
    // The unit comment holds for the lines after it: the letter f and three blanks.
    EXPECT_EQ(db->profile(2).CUNIT.view(), "f   ");
    EXPECT_TRUE(log.all().empty());
}

TEST_F(XyzImport, DataBeforeAnyLineIsIgnored) {
    import(records(4));
    EXPECT_EQ(status, -1);
    EXPECT_EQ(db->NPROF, 0);
    EXPECT_EQ(log.warnings, std::vector<std::string>{"NO LINE KEYWORD EXISTS FOR INPUT DATA"});
}

TEST_F(XyzImport, TwoLineLinesInARowAtTheStartEndTheImport) {
    import("LINE 1\nLINE 2\n" + records(3));
    EXPECT_EQ(status, -1);
    EXPECT_EQ(db->NPROF, 0);
    EXPECT_EQ(log.warnings.size(), 1u);
}

TEST_F(XyzImport, AnyTextHoldingLineStartsASurveyLineButACommentDoesNot) {
    import("/ COMMENT ON LINE 4\nPIPELINE SURVEY\n" + records(2));
    ASSERT_EQ(db->NPROF, 1);
    EXPECT_EQ(db->profile(1).PNAME, "SURVEY");
    EXPECT_EQ(db->profile(1).EAST(1), 10.0f);  // no line coordinate from SURVEY
}

TEST_F(XyzImport, OneRecordLineIsDroppedWithAWarningAndTheImportGoesOn) {
    import("LINE 1\n" + records(1) + "LINE 2\n" + records(2));
    EXPECT_EQ(status, 0);
    ASSERT_EQ(db->NPROF, 1);
    EXPECT_EQ(db->profile(1).PNAME, "2");
    EXPECT_EQ(log.warnings, std::vector<std::string>{"NO LINE KEYWORD EXISTS FOR INPUT DATA"});
}

TEST_F(XyzImport, TwentyFiveHundredRecordsAreAllStored) {
    std::string text = "LINE 9\n";
    for (int i = 1; i <= 2500; ++i)
        text += std::to_string(i) + " 0 0 " + std::to_string(i) + " 1\n";
    import(text);
    ASSERT_EQ(db->NPROF, 1);
    EXPECT_EQ(db->profile(1).NSTA, 2500);
    EXPECT_EQ(db->profile(1).STAT(2500), 2500.0f);
}

TEST_F(XyzImport, BadWordsUpToOneAfterTheLastColumnEndTheImport) {
    // Data in column 5: N/A in column 6 is still read; text in column 7 is not.
    import("LINE 1\n" + records(2) + "LINE 2\n1 2 3 4 5 6 TEXT\n1 2 3 4 5 N/A\n1 2 3 4 5 6\n");
    EXPECT_EQ(db->NPROF, 1);
    ASSERT_EQ(log.warnings.size(), 1u);
    const std::string name(files::chosenFile(folder.file("survey.xyz")).name.view());
    EXPECT_EQ(log.warnings[0], "READ ERROR OR BAD DATA IN FILE;" + name + " LINE:    6");
    EXPECT_EQ(status, 0);
}

TEST_F(XyzImport, NegativeExponentsKeepTheirSignAndMinusSignsSeparateWords) {
    dialog.chooseColumns(1, 2, 0, 0, 3, 4);
    import("LINE 1\n1.5E-03 2.5-3.0 -7\n2 1.0E+02-4 8\n");
    ASSERT_EQ(db->NPROF, 1);
    const auto& p = db->profile(1);
    EXPECT_FLOAT_EQ(p.EAST(1), 0.0015f);
    EXPECT_EQ(p.NORT(1), 2.5f);
    EXPECT_EQ(p.DAT(1, 1), -3.0f);
    EXPECT_EQ(p.NORT(2), 100.0f);
    EXPECT_EQ(p.DAT(2, 1), -4.0f);
}

TEST_F(XyzImport, ColumnHeadersEndALineOnlyAfterItsData) {
    import("LINE 1\nX Y Z D G\n" + records(3) + "X Y Z D G\n" + records(2, 5));
    ASSERT_EQ(db->NPROF, 1);
    EXPECT_EQ(db->profile(1).NSTA, 3);
    // The records after the second header have no LINE of their own.
    EXPECT_EQ(log.warnings.size(), 0u);
    EXPECT_EQ(status, 0);
}

TEST_F(XyzImport, TheHundredAndFirstProfileIsRefused) {
    db = files_test::database(99);
    import("LINE 1\n" + records(2) + "LINE 2\n" + records(2));
    EXPECT_EQ(db->NPROF, 100);
    EXPECT_EQ(db->profile(100).PNAME, "1");
    EXPECT_EQ(log.warnings, std::vector<std::string>{std::string(files::kTooManyProfiles)});
    EXPECT_EQ(status, 0);
}

TEST_F(XyzImport, SelectorAndChooserCancelled) {
    files::XYZINGRAVMAGVLF(*db, status, "Grav");
    EXPECT_EQ(status, -1);
    dialog.button = 2;
    import("LINE 1\n" + records(2));
    EXPECT_EQ(status, -1);
    EXPECT_EQ(db->NPROF, 0);
    EXPECT_TRUE(log.all().empty());
}

TEST(SurveyLineStore, NamesUnitsAndComponentsByKey) {
    files_test::MessageLog log;
    auto db = files_test::database(11);
    files::SurveyLine line;
    line.append(1, 2, 3, 4, 5, 6);
    line.append(7, 8, 9, 10, 11, 12);
    db->profile(12).DTYPE = std::string_view("Magnetics Vert Grad");
    ASSERT_TRUE(files::STOREPROFILE(*db, line, base::FixedString<20>(), "Mag ", "FT"));
    auto& p = db->profile(12);
    EXPECT_EQ(db->NPROF, 11);  // counting the slot in is the caller's
    EXPECT_EQ(p.PNAME, "Untitled012");
    EXPECT_EQ(db->name(12), "Untitled012");
    EXPECT_EQ(p.DTYPE, "Magnetics Data");
    EXPECT_EQ(p.DUNIT[0], "nT");
    EXPECT_EQ(p.CUNIT.view(), "F   ");
    EXPECT_EQ(p.ELAST, 7.0f);
    EXPECT_EQ(p.NLAST, 8.0f);

    db->NPROF = 12;
    ASSERT_TRUE(files::STOREPROFILE(*db, line, "G1", "GMag", base::FixedString<4>()));
    auto& g = db->profile(13);
    EXPECT_EQ(g.NCOMP, 2);
    EXPECT_EQ(g.NDGRAF, 2);
    EXPECT_EQ(g.DUNIT[1], "nT");
    EXPECT_EQ(g.DAT(2, 2), 12.0f);
    EXPECT_EQ(g.SYN(2, 2), 1.0E20f);
    EXPECT_TRUE(g.AXES[1].yLabelsRight);

    db->NPROF = 13;
    const model::ProfileLine before = db->profile(14);
    EXPECT_FALSE(files::STOREPROFILE(*db, line, "X", "Bad!", base::FixedString<4>()));
    EXPECT_EQ(db->profile(14), before);
    EXPECT_EQ(log.warnings.back(), "UNKNOWN CASE SELECTION IN SUBROUTINE StoreProfile: Bad!");
}

}  // namespace
