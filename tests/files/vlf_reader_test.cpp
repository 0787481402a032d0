#include "files/vlf_reader.h"

#include <gtest/gtest.h>

#include "import_fixtures.h"
#include "test_support.h"

namespace {

std::string lineBlock(const std::string& line, float frequency,
                      const std::vector<std::array<float, 3>>& readings) {
    std::string text =
        line + "\n" + std::to_string(frequency) + " KHZ\n" + std::to_string(readings.size()) + "\n";
    for (const auto& r : readings)
        text +=
            std::to_string(r[0]) + " " + std::to_string(r[1]) + " " + std::to_string(r[2]) + "\n";
    return text;
}

class VlfReader : public ::testing::Test {
  protected:
    files_test::TempFolder folder;
    files_test::MessageLog log;
    files_test::FakeToolkit toolkit;
    files_test::ViewLog views;
    model::ProfileLine profile = files_test::newSlot();
    int status = 99;

    void read(const std::string& text) {
        files_test::writeText(folder.file("survey.wad"), text);
        toolkit.selection = folder.file("survey.wad");
        files::WADIIN(profile, status);
    }
};

TEST_F(VlfReader, LinesAndStationsAreSortedIntoTheGrids) {
    read("Survey of the north field, May\n" + lineBlock("100N", 16.4f, {{10, 1, 2}, {20, 3, 4}}) +
         lineBlock("200N", 17.0f, {{20, 5, 6}, {5, 7, 8}}) +
         lineBlock("150N", 18.0f, {{20, 9, 10}}));
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(log.all().empty());
    EXPECT_EQ(profile.PNAME, "Survey of the north");
    EXPECT_EQ(profile.DTYPE, "VLF In-Phase/Quad");
    EXPECT_EQ(profile.SRCNAME, "ABEM WADI");
    ASSERT_EQ(profile.NVLIN, 3);
    ASSERT_EQ(profile.NVSTA, 3);
    EXPECT_EQ(profile.MVLIN, 3);
    EXPECT_EQ(profile.NDGRAF, 2);
    EXPECT_FALSE(profile.LVDIR);
    EXPECT_EQ(profile.EAST(1), 100.0f);
    EXPECT_EQ(profile.EAST(2), 150.0f);
    EXPECT_EQ(profile.EAST(3), 200.0f);
    EXPECT_FLOAT_EQ(profile.VLFREQ(2), 18.0f);
    EXPECT_EQ(profile.NORT(1), 5.0f);
    EXPECT_EQ(profile.NORT(3), 20.0f);
    EXPECT_EQ(profile.VINPH(2, 1), 1.0f);  // station 10, line 100
    EXPECT_EQ(profile.VQUAD(3, 3), 6.0f);  // station 20, line 200
    EXPECT_EQ(profile.VINPH(1, 3), 7.0f);  // station 5, line 200
    EXPECT_EQ(profile.VINPH(3, 2), 9.0f);  // the inserted line 150
    EXPECT_EQ(profile.VINPH(1, 2), 1.0E20f);
    EXPECT_EQ(profile.VINPH(1, 1), 1.0E20f);  // opened by the inserted station 5
    EXPECT_EQ(profile.VTHRD(3, 2), 0.0f);
    EXPECT_EQ(profile.VTHRD(2, 2), 1.0E20f);
    EXPECT_EQ(views.rescales, 1);
}

TEST_F(VlfReader, DirectionLettersSignAndMarkTheLines) {
    read("T\n" + lineBlock("100W", 1, {{1, 1, 1}}) + lineBlock("100E", 1, {{1, 2, 2}}));
    EXPECT_TRUE(profile.LVDIR);
    ASSERT_EQ(profile.NVLIN, 2);
    EXPECT_EQ(profile.EAST(1), -100.0f);
    EXPECT_EQ(profile.EAST(2), 100.0f);
    EXPECT_EQ(profile.NVSTA, 1);  // an equal station fills its row
}

TEST_F(VlfReader, ChangingDirectionStopsTheRead) {
    const model::ProfileLine before = profile;
    read("T\n" + lineBlock("100N", 1, {{1, 1, 1}}) + lineBlock("100E", 1, {{1, 2, 2}}));
    ASSERT_EQ(log.information.size(), 1u);
    EXPECT_EQ(log.information[0],
              "CANNOT CHANGE DIRECTION OF LINES:\r\n100E       AT RECORD     6");
    EXPECT_EQ(profile.NVLIN, before.NVLIN);
    EXPECT_EQ(profile.PNAME, "T");
    EXPECT_FALSE(profile.LVDIR);  // the direction of the lines that were read
}

TEST_F(VlfReader, BadWordsAndShortFilesStopWithTheirMessages) {
    read("T\n100N\n1.5\n2\n10 ABC 2\n");
    ASSERT_EQ(log.information.size(), 1u);
    EXPECT_EQ(log.information[0].substr(0, 47), "READ ERROR OR BAD DATA WHILE READING IN-PHASE  ");
    EXPECT_NE(log.information[0].find("ERROR AT RECORD     5"), std::string::npos);
    EXPECT_NE(log.information[0].find("\"10 ABC 2\""), std::string::npos);
    log.information.clear();
    read("T\n100N\n1.5\n2\n10 1 2\n");
    EXPECT_EQ(log.information, std::vector<std::string>{
                                   "READ ERROR OR END OF FILE\r\nWHILE READING LINE 100N      "});
}

TEST(VlfTables, TheThousandAndFirstLineIsDropped) {
    files_test::MessageLog log;
    files::VlfTables work;
    ASSERT_TRUE(work.allocate(1000, 4));
    int status = 0;
    for (int k = 1; k <= 1001; ++k)
        files::PUTPNT(work, static_cast<float>(k), 1, 1, 1, 1, 0, status);
    EXPECT_EQ(work.NVLIN, 1000);
    EXPECT_EQ(log.information, std::vector<std::string>{"TOO MANY LINES IN DATA SET"});
    files::PUTPNT(work, 2.0E10f, 1, 1, 1, 1, 0, status);  // no line coordinate
    EXPECT_EQ(log.information.size(), 1u);
}

TEST(VlfTables, ShiftOpensRowsInEveryColumn) {
    std::vector<float> grid = {1, 2, 3, 4, 5, 6, 7, 8};  // 4 stations x 2 lines
    files::SHIFTVL(grid, 4, 2, 2, 1);
    EXPECT_EQ(grid, (std::vector<float>{1, 1.0E20f, 2, 3, 5, 1.0E20f, 6, 7}));
}

}  // namespace
