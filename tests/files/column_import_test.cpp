#include "files/column_import.h"

#include <gtest/gtest.h>

#include "files/view_settings.h"
#include "import_fixtures.h"
#include "test_support.h"

namespace {

class ColumnImport : public ::testing::Test {
  protected:
    files_test::SettingsGuard settings;
    files_test::TempFolder folder;
    files_test::MessageLog log;
    files_test::FakeToolkit toolkit;
    files_test::FakeDialog dialog;
    model::ProfileLine profile = files_test::newSlot();
    int status = 99;

    void import(const std::string& name, const std::string& text) {
        files_test::writeText(folder.file(name), text);
        toolkit.selection = folder.file(name);
        files::ACIINGRAVMAGVLF(profile, status, "Grav");
    }
};

TEST_F(ColumnImport, TitleLineIsSkippedAndTenStationsRead) {
    std::string text = "EASTING NORTHING ELEV DIST GRAV\r\n";
    for (int i = 1; i <= 10; ++i)
        text += std::to_string(100 * i) + " " + std::to_string(5000 + i) + " " + std::to_string(i) +
                " " + std::to_string(10 * i) + " " + std::to_string(i) + ".25\r\n";
    import("line7.dat", text);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(log.all().empty());
    ASSERT_EQ(profile.NSTA, 10);
    EXPECT_EQ(profile.NCOMP, 1);
    EXPECT_EQ(profile.NDGRAF, 1);
    EXPECT_EQ(profile.EAST(3), 300.0f);
    EXPECT_EQ(profile.NORT(10), 5010.0f);
    EXPECT_EQ(profile.ELEV(4), 4.0f);
    EXPECT_EQ(profile.STAT(10), 100.0f);
    EXPECT_EQ(profile.DAT(2, 1), 2.25f);
    EXPECT_FALSE(profile.MASK(5, 1));
    EXPECT_EQ(profile.PNAME, "line7");
    EXPECT_EQ(profile.DTYPE, "Gravity Data");  // the slot's header stays
    ASSERT_EQ(toolkit.selectorCalls.size(), 1u);
    EXPECT_EQ(toolkit.selectorCalls[0].filter, "ASCII Data File|*.DAT|");
}

TEST_F(ColumnImport, CommasTabsAndBlanksSeparateAlike) {
    import("a.dat", "1,2,3,4,5\n6\t7\t8\t9\t10\n11 12 13 14 15\n");
    ASSERT_EQ(profile.NSTA, 3);
    EXPECT_EQ(profile.DAT(1, 1), 5.0f);
    EXPECT_EQ(profile.EAST(2), 6.0f);
    EXPECT_EQ(profile.DAT(2, 1), 10.0f);
    EXPECT_EQ(profile.NORT(3), 12.0f);
}

TEST_F(ColumnImport, EastingWordsKeepTheirWholeValue) {
    import("a.dat",
           "123W 200S 0 0 1\n"
           "1.5E5 2.5e2 0 0 2\n"
           "12345678901 7N 0 0 3\n");
    ASSERT_EQ(profile.NSTA, 3);
    EXPECT_EQ(profile.EAST(1), -123.0f);
    EXPECT_EQ(profile.NORT(1), -200.0f);
    EXPECT_EQ(profile.EAST(2), 150000.0f);
    EXPECT_EQ(profile.NORT(2), 250.0f);
    EXPECT_EQ(profile.EAST(3), 12345678901.0f);
    EXPECT_EQ(profile.NORT(3), 7.0f);
}

TEST_F(ColumnImport, ShortRowsReadZeroAndTextWordsRejectTheirRow) {
    dialog.chooseColumns(1, 2, 0, 0, 4);
    import("a.dat",
           "N E X Y\n"         // letters in the coordinate columns read 0; X rejects
           "1 2\n"             // missing words read 0.0
           "3 4 TEXT 9\n"      // text in a column no choice names rejects the row
           "5 6 0 7 TAIL\n");  // a word after the last chosen column is not read
    ASSERT_EQ(status, 0);
    ASSERT_EQ(profile.NSTA, 2);
    EXPECT_EQ(profile.EAST(1), 1.0f);
    EXPECT_EQ(profile.DAT(1, 1), 0.0f);
    EXPECT_EQ(profile.DAT(2, 1), 7.0f);
    EXPECT_EQ(profile.ELEV(2), 0.0f);
}

TEST_F(ColumnImport, WithoutDistanceColumnStationsAreSpacedAlongTheLine) {
    dialog.chooseColumns(1, 2, 0, 0, 3);
    import("a.dat", "0 0 1\n3 4 2\n3 10 3\n");
    ASSERT_EQ(profile.NSTA, 3);
    EXPECT_EQ(profile.STAT(1), 0.0f);
    EXPECT_EQ(profile.STAT(2), 5.0f);
    EXPECT_EQ(profile.STAT(3), 11.0f);
}

TEST_F(ColumnImport, DataColumnNotChosenIsMissing) {
    dialog.chooseColumns(1, 2, 0, 0, 0);
    import("a.dat", "1 2\n3 4\n");
    ASSERT_EQ(profile.NSTA, 2);
    EXPECT_EQ(profile.DAT(1, 1), 1.0E20f);
}

TEST_F(ColumnImport, SingleRowFindsNoDataAndLeavesTheSlot) {
    const model::ProfileLine before = profile;
    import("one.dat", "TITLE\n1 2 3 4 5\n");
    EXPECT_EQ(status, -1);
    EXPECT_EQ(log.warnings, std::vector<std::string>{"NO DATA FOUND"});
    EXPECT_EQ(profile, before);
}

TEST_F(ColumnImport, NameIsCutAtTheFirstDot) {
    import("survey.line.2.dat", "1 2 3 4 5\n6 7 8 9 10\n");
    EXPECT_EQ(profile.PNAME, "survey");
}

TEST_F(ColumnImport, CancelAndMissingFile) {
    files::ACIINGRAVMAGVLF(profile, status, "Grav");  // selector cancelled
    EXPECT_EQ(status, -1);
    EXPECT_TRUE(log.all().empty());
    toolkit.selection = folder.file("gone.dat");
    files::ACIINGRAVMAGVLF(profile, status, "Grav");
    EXPECT_EQ(status, -1);
    ASSERT_EQ(log.information.size(), 1u);
    EXPECT_EQ(log.information[0].substr(0, 24), "FILE NOT FOUND: gone.dat");
    dialog.button = 2;
    import("a.dat", "1 2 3 4 5\n6 7 8 9 10\n");
    EXPECT_EQ(status, -1);
    EXPECT_EQ(profile.NSTA, 0);
}

}  // namespace
