#include "files/ascii_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "files/regional_file.h"
#include "import_fixtures.h"
#include "model/model_services.h"
#include "test_support.h"

namespace {

// Hands out a fixed cycle of deviates and counts the draws.
class Deviates {
  public:
    explicit Deviates(std::vector<float> cycle) : cycle_(std::move(cycle)) {
        model::modelServices().gaussianDeviate = [this](std::int16_t& seed) {
            ++draws;
            seed = static_cast<std::int16_t>(seed + 1);
            return cycle_[static_cast<std::size_t>(draws - 1) % cycle_.size()];
        };
    }
    ~Deviates() { model::modelServices().gaussianDeviate = nullptr; }
    int draws = 0;

  private:
    std::vector<float> cycle_;
};

class AsciiExport : public ::testing::Test {
  protected:
    files_test::TempFolder folder;
    files_test::MessageLog log;
    files_test::FakeToolkit toolkit;
    model::ProfileLine profile = files_test::newSlot();

    void SetUp() override {
        profile.NSTA = 3;
        profile.NCOMP = 1;
        int status = 0;
        model::ALLOCPF(profile, status);
        ASSERT_EQ(status, 0);
        for (int i = 1; i <= 3; ++i) {
            profile.STAT(i) = 250.0f * static_cast<float>(i - 1);
            profile.EAST(i) = 1000.0f + static_cast<float>(i);
            profile.NORT(i) = 2000.5f;
            profile.ELEV(i) = 10.0f + static_cast<float>(i);
            profile.DAT(i, 1) = 0.5f * static_cast<float>(i);
            profile.SYN(i, 1) = 100.0f * static_cast<float>(i);
        }
        profile.LSYN = true;  // the synthetics were calculated for this model
        profile.MODEL.NTOPO = 2;
        profile.MODEL.ZTOPO.allocate(6);
        profile.MODEL.ZTOPO(1) = -5.0f;
        profile.MODEL.ZTOPO(2) = -6.0f;
    }

    std::vector<std::string> written(const std::string& name) {
        bool crlf = false;
        auto lines = files_test::crlfLines(files_test::readText(folder.file(name)), crlf);
        EXPECT_TRUE(crlf);
        return lines;
    }
};

TEST_F(AsciiExport, DataOfThreeStationsInFiveLines) {
    toolkit.selection = folder.file("d.dat");
    files::ASCIIOUT(profile, 0.0f, "", false);
    const auto lines = written("d.dat");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0],
              "  No. Profile Dist. Easting      Northing      Field      Elevation     Sensor");
    EXPECT_EQ(lines[1], files::titleLine("         (M)          (M)          (M)          "
                                         "(mgal)       (M)          (M)  "));
    EXPECT_EQ(lines[2],
              "    1    0.0000    1001.0000    2000.5000       0.5000      -5.0000      11.0000");
    // The topography holds two points: the third station has none.
    EXPECT_EQ(lines[4],
              "    3  500.0000    1003.0000    2000.5000       1.5000       0.0000      13.0000");
    EXPECT_TRUE(log.all().empty());
}

TEST_F(AsciiExport, BlankUnitsGiveEmptyParenthesesAndControlBytesAreCleaned) {
    profile.XUNIT = std::string_view();
    profile.ZUNIT[0] = '\x01';
    files::ASCIIOUT(profile, 0.0f, folder.file("u.dat"), false);
    const auto lines = written("u.dat");
    EXPECT_EQ(lines[1], files::titleLine("         ()           ()           ()           "
                                         "(mgal)       ()           ()   "));
    EXPECT_EQ(profile.ZUNIT[0], ' ');
}

TEST_F(AsciiExport, SyntheticsWithoutNoiseDrawTwoDeviatesPerStation) {
    Deviates g({3.0f, -7.0f});
    files::ASCIIOUT(profile, 0.0f, folder.file("s.dat"), true);
    EXPECT_EQ(g.draws, 6);
    EXPECT_EQ(files::exportNoiseSeed(), 6);  // the seed carries on to the next export
    const auto lines = written("s.dat");
    EXPECT_EQ(lines[3].substr(41, 13), "     200.0000");
    files::exportNoiseSeed() = 0;
}

TEST_F(AsciiExport, NoiseIsRelativeToEachValueAndUsesTheFirstDeviate) {
    Deviates g({1.0f, 50.0f, -2.0f, 50.0f});
    files::ASCIIOUT(profile, 10.0f, folder.file("n.dat"), true);
    const auto lines = written("n.dat");
    EXPECT_EQ(lines[2].substr(41, 13), "     110.0000");  // 100 x (1 + 1.0 x 0.1)
    EXPECT_EQ(lines[3].substr(41, 13), "     160.0000");  // 200 x (1 - 2.0 x 0.1)
    files::exportNoiseSeed() = 0;
}

TEST_F(AsciiExport, LargeDistancesLoseDecimalsAndAnOldFileIsReplaced) {
    profile.STAT(3) = 12000.0f;
    files_test::writeText(folder.file("x.dat"), std::string(5000, 'x'));
    files::ASCIIOUT(profile, 0.0f, folder.file("x.dat"), false);
    const auto lines = written("x.dat");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4].substr(0, 15), "    3 12000.000");
}

// Synthetics never calculated, or left stale by a change, are not written:
// the user is told, no file is asked for and no noise is drawn.
TEST_F(AsciiExport, SyntheticsThatAreNotValidAreNotWritten) {
    Deviates g({1.0f});
    profile.LSYN = false;
    files::ASCIIOUT(profile, 5.0f, "", true);
    EXPECT_TRUE(toolkit.selectorCalls.empty());
    EXPECT_EQ(g.draws, 0);
    EXPECT_EQ(log.information, std::vector<std::string>{"Synthetics not available for output"});
    files::ASCIIOUT(profile, 0.0f, folder.file("v.dat"), true);
    EXPECT_FALSE(std::filesystem::exists(folder.file("v.dat")));
    // The data are written all the same.
    files::ASCIIOUT(profile, 0.0f, folder.file("d.dat"), false);
    EXPECT_EQ(written("d.dat").size(), 5u);
}

TEST_F(AsciiExport, CancelledSelectorWritesNothing) {
    files::ASCIIOUT(profile, 0.0f, "   ", false);
    EXPECT_EQ(toolkit.selectorCalls.size(), 1u);
    EXPECT_TRUE(log.all().empty());
}

}  // namespace
