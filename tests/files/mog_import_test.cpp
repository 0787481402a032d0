#include "files/mog_import.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "files/zaf_records.h"
#include "import_fixtures.h"
#include "test_support.h"

namespace {

// Puts TEXT into LINE at column COL (1-based), widening the line as needed.
std::string& put(std::string& line, int col, std::string_view text) {
    const std::size_t at = static_cast<std::size_t>(col - 1);
    if (line.size() < at + text.size()) line.resize(at + text.size(), ' ');
    line.replace(at, text.size(), text);
    return line;
}

std::string field(double v, int width, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, v);
    return buf;
}

std::string stationLine(int i) {
    std::string line = field(i, 5, 0);
    const double values[6] = {25.0 * (i - 1), 1000.0 + i, 2000.0, 0.5 * i, 120.5, 121.5};
    for (double v : values)
        line += field(v, 13, 4);
    return line;
}

std::string mogFile(std::string_view key, int stations, const char* eol = "\n") {
    std::vector<std::string> lines(8);
    put(lines[0], 1, "NAME ");
    put(lines[0], 6, "LINE12AB");
    put(lines[0], 16, key);
    put(lines[0], 20, "  1000.000  2000.000");
    put(lines[1], 6, "First title line");
    put(lines[1], 46, "CLIENT1234");
    put(lines[2], 6, "Second title");
    put(lines[2], 46, "ABCDE");
    put(lines[3], 6, "Third");
    put(lines[4], 6, "Fourth");
    put(lines[5], 6, "     1.500     2.250    -3.000      4444");  // the last one implied decimals
    put(lines[5], 48, "M ");
    put(lines[5], 58, "FT");
    put(lines[6], 6, " 52000.000    65.000    -3.500    45.000");
    lines[7] = "  No.  DISTANCE   EASTING   NORTHING";
    std::string text;
    for (const auto& l : lines)
        text += l + eol;
    for (int i = 1; i <= stations; ++i)
        text += stationLine(i) + eol;
    return text;
}

class MogImport : public ::testing::Test {
  protected:
    files_test::TempFolder folder;
    files_test::MessageLog log;
    files_test::FakeToolkit toolkit;
    model::ProfileLine profile = files_test::newSlot();
    int status = 99;

    void read(const std::string& text) {
        files_test::writeText(folder.file("line.mog"), text);
        std::string name = folder.file("line.mog");
        files::ASCIO(profile, 'R', name, status);
    }
    // The profile must be untouched after a refused file.
    void expectRefused(const std::string& text, const std::string& message) {
        const model::ProfileLine before = profile;
        read(text);
        EXPECT_EQ(status, -1);
        EXPECT_EQ(log.information, std::vector<std::string>{message});
        EXPECT_EQ(profile, before);
    }
};

TEST_F(MogImport, ReadsHeaderAndStations) {
    read(mogFile("MAGN", 3, "\r\n"));
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(log.all().empty());
    EXPECT_EQ(profile.PNAME.view(), "LINE12AB            ");
    EXPECT_EQ(profile.DTYPE, "Magnetics Data");
    EXPECT_EQ(profile.DUNIT[0], "nT");
    EXPECT_EQ(profile.IELEV, 4);
    EXPECT_EQ(profile.NCOMP, 1);
    EXPECT_EQ(profile.NLGRAF, 1);
    EXPECT_EQ(profile.ZUNIT.view(), "M       ");
    EXPECT_EQ(profile.XUNIT.view(), "FT      ");
    EXPECT_EQ(profile.MODEL.SGEO[1], 2.25f);
    EXPECT_EQ(profile.MODEL.SGEO[3], 4.444f);
    EXPECT_EQ(profile.FIELD, 52000.0f);
    EXPECT_EQ(profile.FDECL, -3.5f);
    EXPECT_EQ(profile.MODEL.AZIM, 45.0f);
    EXPECT_EQ(files::siblingHeader().clientText[1], "Second title");
    EXPECT_EQ(files::siblingHeader().clientShort.view(), "ABCDE");
    ASSERT_EQ(profile.NSTA, 3);
    EXPECT_EQ(profile.STAT(3), 50.0f);
    EXPECT_EQ(profile.EAST(2), 1002.0f);
    EXPECT_EQ(profile.DAT(3, 1), 1.5f);
    // Ground 120.5 and sensor 121.5: the sensor stays 1 m above the ground.
    EXPECT_EQ(profile.MODEL.ZTOPO(2), 120.5f);
    EXPECT_EQ(profile.ELEV(2), 121.5f);
    EXPECT_EQ(profile.ELAST, 1003.0f);
    EXPECT_EQ(profile.MODEL.NTOPO, 3);
    EXPECT_EQ(profile.MODEL.XTOPO(3), 50.0f);
    EXPECT_EQ(profile.MODEL.XTOPO(4), 1.0E16f);
    EXPECT_EQ(profile.MODEL.XTOPO(7), -1.0E16f);
    EXPECT_EQ(profile.MODEL.ZTOPO(4), 120.5f);
    EXPECT_EQ(profile.MODEL.ZTOPO(5), -1.0E16f);
    EXPECT_EQ(profile.STAT.size(), 1000);
}

TEST_F(MogImport, GravityKeyAndTheStationLimit) {
    std::string text = mogFile("GRAV", 250);
    text += "this line and everything after it is never looked at\n";
    read(text);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(profile.DTYPE, "Gravity Data");
    EXPECT_EQ(profile.DUNIT[0], "mgal");
    EXPECT_EQ(profile.NSTA, 200);
    EXPECT_TRUE(log.all().empty());
}

TEST_F(MogImport, LowerCaseKeyIsRefused) {
    std::string message = "Invalid data type for Kervo ASCII file \"";
    message.resize(40, ' ');
    message += "magn\". Be sure file type is correct or read as flat ASCII file";
    EXPECT_EQ(message.size(), 102u);
    expectRefused(mogFile("magn", 3), message);
}

TEST_F(MogImport, PrematureEndAfterLineFive) {
    std::string text = mogFile("GRAV", 0);
    std::size_t end = 0;
    for (int line = 0; line < 5; ++line)
        end = text.find('\n', end) + 1;
    text.resize(end);  // lines 1 to 5 only
    expectRefused(text, "PREMATURE END OF FILE AT LINE     6   ");
}

TEST_F(MogImport, NoStationLinesIsAPrematureEnd) {
    expectRefused(mogFile("GRAV", 0), "PREMATURE END OF FILE AT LINE     9   ");
}

TEST_F(MogImport, LetterInTheThirdStationLine) {
    std::string text = mogFile("GRAV", 3);
    const std::size_t at = text.find(stationLine(3));
    text[at + 10] = 'X';
    expectRefused(text, "READ ERROR AT LINE    11   ");
}

TEST_F(MogImport, AWrittenFileReadsBackIntoTheSameProfile) {
    read(mogFile("MAGN", 3, "\r\n"));
    ASSERT_EQ(status, 0);
    const model::ProfileLine written = profile;
    std::string name = folder.file("copy.mog");
    files::ASCIO(profile, 'W', name, status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(log.questions.empty());
    profile = files_test::newSlot();
    files::resetSiblingHeader();
    files::ASCIO(profile, 'R', name, status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(profile, written);
    EXPECT_EQ(files::siblingHeader().clientText[1], "Second title");
    EXPECT_EQ(files::siblingHeader().clientLong.view(), "CLIENT1234");
}

TEST_F(MogImport, WritingOverAFileAsksFirst) {
    read(mogFile("GRAV", 2));
    const std::string name = folder.file("old.mog");
    files_test::writeText(name, "old");
    log.answer = false;
    std::string given = name;
    files::ASCIO(profile, 'W', given, status);
    EXPECT_EQ(status, -1);
    EXPECT_EQ(files_test::readText(name), "old");
    ASSERT_EQ(log.questions.size(), 1u);
    EXPECT_EQ(log.questions[0], "FILE EXISTS: \r\n" + std::string(files::chosenFile(name).name.view()) +
                                    "\r\nDO YOU WANT TO WRITE OVER IT?");
    log.answer = true;
    files::ASCIO(profile, 'W', given, status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(files_test::readText(name).find("LINE12AB  GRAV"), std::string::npos);
}

TEST_F(MogImport, AnUnknownModeDoesNothing) {
    std::string name = folder.file("x.mog");
    files::ASCIO(profile, 'X', name, status);
    EXPECT_EQ(status, -1);
    EXPECT_EQ(files::fileSize(name), -1);
    name = "";
    files::ASCIO(profile, 'R', name, status);  // selector cancelled
    ASSERT_EQ(toolkit.selectorCalls.size(), 1u);
    EXPECT_EQ(toolkit.selectorCalls[0].filter, "Kervo/Pelk-GM ASCII Data File|*.MOG|");
    name = folder.file("gone.mog");
    files::ASCIO(profile, 'R', name, status);
    ASSERT_EQ(log.information.size(), 1u);
    EXPECT_EQ(log.information[0].size(), 16u + 256u);
}

}  // namespace
