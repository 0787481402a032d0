#include "files/column_chooser.h"

#include <gtest/gtest.h>

#include <cmath>

#include "files/dialog_calls.h"
#include "files/view_settings.h"
#include "import_fixtures.h"
#include "test_support.h"

namespace {

using files_test::FakeDialog;

struct WordCase {
    const char* line;
    bool bad;
    float value;
};

TEST(NumericWords, ReadsWholeWordsWithStarAsMissing) {
    const WordCase cases[] = {
        {"1.5E3", false, 1500.0f},
        {"12*", false, 1.0E20f},
        {"12A", true, 0.0f},
        {"-2.5E-03", false, -0.0025f},
        {"42", false, 42.0f},
        // A long number keeps every digit, not only its first 20 characters.
        {"1234567890123456789012345", false, 1.2345678901234567890E24f},
    };
    for (const auto& c : cases) {
        const std::string line = std::string("  ") + c.line + "  7";
        int pos = 1;
        float v = -1.0f;
        EXPECT_EQ(files::LFRXYZ(line, static_cast<int>(line.size()), pos, v), c.bad) << c.line;
        if (!c.bad) {
            EXPECT_FLOAT_EQ(v, c.value) << c.line;
            EXPECT_FALSE(files::LFRXYZ(line, static_cast<int>(line.size()), pos, v));
            EXPECT_EQ(v, 7.0f) << "the next word follows " << c.line;
        }
    }
}

TEST(NumericWords, PastTheLastWordReadsZero) {
    const std::string line = "5";
    int pos = 1;
    float v = 0.0f;
    ASSERT_FALSE(files::LFRXYZ(line, 1, pos, v));
    v = 9.0f;
    EXPECT_FALSE(files::LFRXYZ(line, 1, pos, v));
    EXPECT_EQ(v, 0.0f);
}

TEST(NumericWords, CoordinateWordsTakeDirectionLetters) {
    EXPECT_FLOAT_EQ(*files::readCoordinateWord("123W"), -123.0f);
    EXPECT_FLOAT_EQ(*files::readCoordinateWord("250S"), -250.0f);
    EXPECT_FLOAT_EQ(*files::readCoordinateWord("1000N"), 1000.0f);
    EXPECT_FLOAT_EQ(*files::readCoordinateWord("1.5E5"), 150000.0f);
    EXPECT_FLOAT_EQ(*files::readCoordinateWord("12345678901"), 12345678901.0f);
    EXPECT_EQ(*files::readCoordinateWord("NESW"), 0.0f);
    EXPECT_FALSE(files::readCoordinateWord("12X").has_value());
}

TEST(NumericWords, CleaningTurnsCommasTabsAndCaseIntoWords) {
    const std::string line = files::cleanImportLine("1.5,2e3\t-7,abc");
    int pos = 1;
    const int n = static_cast<int>(line.size());
    EXPECT_EQ(files::nextWord(line, n, pos), "1.5");
    EXPECT_EQ(files::nextWord(line, n, pos), "2E3");
    EXPECT_EQ(files::nextWord(line, n, pos), "-7");
    EXPECT_EQ(files::nextWord(line, n, pos), "ABC");
    EXPECT_EQ(files::nextWord(line, n, pos), "");
    EXPECT_EQ(std::string(files::cleanImportLine(std::string(2000, '9'))).size(), 1024u);
}

TEST(KeywordFinder, TakesTheTextAfterTheColonOrEquals) {
    char text[6];
    int pos = 0;
    EXPECT_TRUE(files::LFINDK("DATE :  2024/05/01", "DATE", "DATE", pos, text, 6));
    EXPECT_EQ(pos, 9);
    EXPECT_EQ(std::string(text, 6), "2024/0");
    EXPECT_TRUE(files::LFINDK("UNIT = FT", "UNITS", "UNIT", pos, text, 6));
    EXPECT_EQ(std::string(text, 6), "FT    ");
    pos = -5;
    EXPECT_FALSE(files::LFINDK("LINE 10", "LINE", "UNIT", pos, text, 6));
    EXPECT_EQ(pos, -5);
}

class ColumnChooser : public ::testing::Test {
  protected:
    files_test::SettingsGuard settings;
    files_test::TempFolder folder;
    files_test::MessageLog log;
    FakeDialog dialog;
    int cols[6] = {1, 2, 3, 4, 5, 0};
    int lines = -1, status = 99;

    files::ChosenFile file(const std::string& name, const std::string& text) {
        files_test::writeText(folder.file(name), text);
        return files::chosenFile(folder.file(name));
    }
    void choose(const files::ChosenFile& f, std::string_view key = "Grav", int ielev = 1) {
        files::GETCOLSXYZGRAVMAGVLF({cols[0], cols[1], cols[2], cols[3], cols[4], cols[5]}, f, key,
                                    ielev, lines, status);
    }
};

TEST_F(ColumnChooser, PreviewsTheStartAndCountsEveryLine) {
    std::string text;
    while (text.size() < 40000)
        text += "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19\n";
    choose(file("big.dat", text));
    EXPECT_EQ(dialog.loaded, std::vector<int>{182});
    EXPECT_EQ(dialog.texts[1043], text.substr(0, 32767));
    EXPECT_EQ(lines, static_cast<int>(std::count(text.begin(), text.end(), '\n')));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(dialog.hides, 1);
}

TEST_F(ColumnChooser, NegativeColumnShowsTemplateDefaultAndOkStoresTheFields) {
    cols[1] = -1;
    cols[4] = 7;
    dialog.user = [](FakeDialog& d) {
        EXPECT_EQ(d.integers[1277], 2);
        EXPECT_EQ(d.integers[1283], 7);
        d.integers[1275] = 9;
    };
    choose(file("a.dat", "1 2\n"));
    EXPECT_EQ(cols[0], 9);
    EXPECT_EQ(cols[1], 2);
    EXPECT_EQ(cols[4], 7);
}

TEST_F(ColumnChooser, LabelsAndFieldStatesFollowKeyAndElevationMode) {
    const auto f = file("a.dat", "1 2\n");
    choose(f, "Mag ", 2);
    EXPECT_EQ(dialog.texts[1282], "Column for Mag:");
    EXPECT_EQ(dialog.texts[1278], "Column for Elevation:");
    EXPECT_EQ(dialog.states[1245], files::kFieldHidden);
    EXPECT_EQ(dialog.states[1335], files::kFieldHidden);
    choose(f, "Grav", 3);
    EXPECT_EQ(dialog.texts[1282], "Column for Grav:");
    EXPECT_EQ(dialog.texts[1278], "Col for Sensor Height:");
    EXPECT_EQ(dialog.states[1245], files::kFieldEnabled);
    choose(f, "VLF ", 4);
    EXPECT_EQ(dialog.texts[1282], "Col for Tilt Angle:");
    EXPECT_EQ(dialog.texts[1278], "Col for Sensor Elev:");
    EXPECT_EQ(dialog.states[1098], files::kFieldEnabled);
}

TEST_F(ColumnChooser, HiddenSixthColumnIsStillReadBack) {
    dialog.user = [](FakeDialog& d) { d.integers[1245] = 6; };
    choose(file("a.dat", "1\n"), "Grav", 2);
    EXPECT_EQ(cols[5], 6);
}

TEST_F(ColumnChooser, RowCheckBoxesTravelAsSigns) {
    const auto f = file("a.dat", "1\n");
    dialog.user = [](FakeDialog& d) {
        d.integers[1047] = 25;
        d.checks[1046] = 0;
        d.integers[1049] = 40;
        d.checks[1048] = 1;
    };
    choose(f);
    EXPECT_EQ(files::viewSettings().FirstRow, -25);
    EXPECT_EQ(files::viewSettings().LastRow, 40);
    dialog.user = [](FakeDialog& d) {
        EXPECT_EQ(d.integers[1047], 25);
        EXPECT_EQ(d.checks[1046], 0);
        EXPECT_EQ(d.integers[1049], 40);
        EXPECT_EQ(d.checks[1048], 1);
    };
    choose(f);
}

TEST_F(ColumnChooser, CancelLeavesEverythingAsItWas) {
    dialog.button = 2;
    dialog.user = [](FakeDialog& d) { d.integers[1275] = 8; };
    choose(file("a.dat", "1\n"));
    EXPECT_EQ(status, -1);
    EXPECT_EQ(cols[0], 1);
    EXPECT_EQ(dialog.hides, 1);
}

TEST_F(ColumnChooser, EmptyFileWarnsAndStillShowsTheDialog) {
    choose(file("empty.dat", ""));
    ASSERT_EQ(log.information.size(), 1u);
    EXPECT_EQ(log.information[0],
              "FILE HAS NO LENGTH:" +
                  std::string(files::chosenFile(folder.file("empty.dat")).name.view()));
    EXPECT_EQ(dialog.texts[1043], " ");
    EXPECT_EQ(status, 0);
}

TEST_F(ColumnChooser, MissingFileCannotBeOpened) {
    choose(files::chosenFile(folder.file("none.dat")));
    EXPECT_EQ(status, -1);
    ASSERT_EQ(log.information.size(), 2u);
    EXPECT_EQ(log.information[1].substr(0, 18), "CANNOT OPEN FILE: ");
    EXPECT_EQ(log.information[1].size(), 18u + 256u);
    EXPECT_EQ(dialog.shows, 0);
}

}  // namespace
