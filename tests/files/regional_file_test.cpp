#include "files/regional_file.h"

#include <gtest/gtest.h>

#include "files/view_settings.h"
#include "import_fixtures.h"
#include "test_support.h"

namespace {

class RegionalImport : public ::testing::Test {
  protected:
    files_test::SettingsGuard settings;
    files_test::TempFolder folder;
    files_test::MessageLog log;
    files_test::FakeToolkit toolkit;
    files_test::FakeDialog dialog;
    model::ProfileLine profile = files_test::newSlot();
    int status = 99;

    void SetUp() override { files::regionalSkipLines() = 0; }
    void TearDown() override { files::regionalSkipLines() = 0; }

    void import(const std::string& text, int station = 1, int regional = 2, int skip = 0) {
        files_test::writeText(folder.file("reg.txt"), text);
        toolkit.selection = folder.file("reg.txt");
        dialog.user = [=](files_test::FakeDialog& d) {
            d.integers[1227] = station;
            d.integers[1226] = regional;
            d.integers[1225] = skip;
        };
        files::ACIINREGIONAL(profile, status);
    }
};

TEST_F(RegionalImport, SkipCountLeavesOnePointOfThreeLines) {
    profile.YREG = {9, 9, 9, 9, 9};
    import("10 1.5\n20 2.5\n30 3.5\n", 1, 2, 5);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(profile.NREG, 1);
    EXPECT_EQ(profile.XREG[0], 10.0f);
    EXPECT_EQ(profile.YREG[0], 1.5f);
    EXPECT_EQ(profile.YREG[1], 9.0f);
    EXPECT_EQ(files::regionalSkipLines(), 5);  // kept for the next import of the run
}

TEST_F(RegionalImport, SkipTwoTakesEveryOtherLine) {
    import("1 10\n2 20\n3 30\n4 40\n5 50\n", 1, 2, 2);
    ASSERT_EQ(profile.NREG, 3);
    EXPECT_EQ(profile.XREG[1], 3.0f);
    EXPECT_EQ(profile.YREG[2], 50.0f);
}

TEST_F(RegionalImport, NoSkipTakesTheFirstFiveNonBlankLines) {
    import("1 10\n\n2 20\n3 30\r\n4 40\n5 50\n6 60\n");
    ASSERT_EQ(status, 0);
    EXPECT_EQ(profile.NREG, 5);
    EXPECT_EQ(profile.XREG[4], 5.0f);
    EXPECT_EQ(profile.YREG[4], 50.0f);
}

TEST_F(RegionalImport, ChosenColumnsAndATitleLine) {
    profile.XREG[1] = -1.0f;
    profile.YREG[1] = -2.0f;
    // The title is no control point; a line with one of its two numbers is,
    // and keeps the other value as it was.
    import("DIST,X,Y,REGIONAL\n0,5,6,1.5E-1\n0,ABC,6,7\n", 2, 4);
    ASSERT_EQ(profile.NREG, 2);
    EXPECT_EQ(profile.XREG[0], 5.0f);
    EXPECT_FLOAT_EQ(profile.YREG[0], 0.15f);
    EXPECT_EQ(profile.XREG[1], -1.0f);
    EXPECT_EQ(profile.YREG[1], 7.0f);
}

TEST_F(RegionalImport, EmptyFileShowsTheDialogThenFindsNoData) {
    const model::ProfileLine before = profile;
    import("");
    EXPECT_EQ(dialog.shows, 1);
    EXPECT_EQ(dialog.loaded, std::vector<int>{147});
    ASSERT_EQ(log.information.size(), 1u);
    EXPECT_EQ(log.information[0].substr(0, 26), "FILE HAS NO LENGTH:reg.txt");
    EXPECT_EQ(log.warnings, std::vector<std::string>{"NO DATA FOUND"});
    EXPECT_EQ(status, -1);
    EXPECT_EQ(profile, before);
}

TEST_F(RegionalImport, DialogShowsAndStoresColumnsAndRows) {
    auto& vs = files::viewSettings();
    vs.SpaceColumn = 3;
    vs.FirstRow = 4;
    vs.LastRow = -9;
    dialog.user = [](files_test::FakeDialog& d) {
        EXPECT_EQ(d.integers[1227], 3);
        EXPECT_EQ(d.integers[1047], 4);
        EXPECT_EQ(d.checks[1046], 1);
        EXPECT_EQ(d.integers[1049], 9);
        EXPECT_EQ(d.checks[1048], 0);
        d.integers[1226] = 6;
        d.checks[1048] = 1;
    };
    files_test::writeText(folder.file("r.dat"), "1\n");
    int station = 3, regional = 2, skip = 0;
    files::GETCOLSREGIONAL(station, regional, skip, files::chosenFile(folder.file("r.dat")),
                           status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(regional, 6);
    EXPECT_EQ(vs.LastRow, 9);
}

TEST(DistanceDecimals, FollowTheRangeOfTheDistances) {
    struct Case {
        std::vector<float> values;
        int decimals;
    };
    const Case cases[] = {{{0, 12000}, 3},    {{-1500, 500}, 3}, {{0, 500}, 4},
                          {{0, 10000000}, 0}, {{0, 1000000}, 1}, {{-100000, 0}, 1},
                          {{0, 100000}, 2},   {{1.0E20f}, 4},    {{}, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(files::distanceDecimals(c.values, static_cast<int>(c.values.size())), c.decimals);
}

class RegionalExport : public ::testing::Test {
  protected:
    files_test::TempFolder folder;
    files_test::MessageLog log;
    files_test::FakeToolkit toolkit;
    model::ProfileLine profile = files_test::newSlot();
};

TEST_F(RegionalExport, MatchesTheGoldenFileForKilometresAndMilligal) {
    profile.XUNIT = std::string_view("KM");
    profile.DUNIT[0] = std::string_view("mgal");
    profile.NREG = 3;
    profile.XREG = {0.5f, 12.25f, 30.0f, 0, 0};
    profile.YREG = {1.5f, -2.25f, 3.125f, 0, 0};
    toolkit.selection = folder.file("out.dat");
    files::REGIONALOUT(profile, "");
    EXPECT_TRUE(log.all().empty());
    EXPECT_EQ(files_test::readText(folder.file("out.dat")),
              files_test::readText(files_test::goldenPath("regional_km_mgal.dat")));
    ASSERT_EQ(toolkit.selectorCalls.size(), 1u);
    EXPECT_EQ(toolkit.selectorCalls[0].filter, "Flat ASCII Data File|*.DAT|");
}

TEST_F(RegionalExport, WithoutControlPointsOnlyTheHeadIsWritten) {
    profile.DUNIT[0] = std::string_view();
    files_test::writeText(folder.file("old.dat"), "old contents\n");
    files::REGIONALOUT(profile, folder.file("old.dat"));
    bool crlf = false;
    const auto lines = files_test::crlfLines(files_test::readText(folder.file("old.dat")), crlf);
    EXPECT_TRUE(crlf);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], files::titleLine("         (M)          ()"));
}

TEST_F(RegionalExport, RoundTripThroughTheImport) {
    files_test::SettingsGuard settings;
    files_test::FakeDialog dialog;
    files::regionalSkipLines() = 0;
    profile.NREG = 4;
    profile.XREG = {-1500.0f, 0.125f, 250.5f, 9999.5f, 0};
    profile.YREG = {1.0E-3f, -4.5f, 12345.6789f, 0.0f, 0};
    files::REGIONALOUT(profile, folder.file("r.dat"));
    model::ProfileLine back = files_test::newSlot();
    toolkit.selection = folder.file("r.dat");
    dialog.user = [](files_test::FakeDialog& d) {
        d.integers[1227] = 2;
        d.integers[1226] = 3;
    };
    int status = 99;
    files::ACIINREGIONAL(back, status);
    ASSERT_EQ(status, 0);
    // The two head lines hold no numbers and are passed over: the points
    // come back as they were written.
    ASSERT_EQ(back.NREG, 4);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(back.XREG[k], profile.XREG[k]);
        EXPECT_NEAR(back.YREG[k], profile.YREG[k], 5.0E-5f);
    }
}

TEST_F(RegionalExport, AFolderThatDoesNotExistCannotBeOpened) {
    files::REGIONALOUT(profile, folder.file("no/such/folder.dat"));
    ASSERT_EQ(log.information.size(), 1u);
    EXPECT_EQ(log.information[0], "Error opening file:" + folder.file("no/such/folder.dat"));
}

}  // namespace
