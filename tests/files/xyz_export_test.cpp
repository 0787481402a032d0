#include "files/xyz_export.h"

#include <gtest/gtest.h>

#include "files/view_settings.h"
#include "files/xyz_import.h"
#include "import_fixtures.h"
#include "test_support.h"

namespace {

class XyzExport : public ::testing::Test {
  protected:
    files_test::TempFolder folder;
    files_test::MessageLog log;
    files_test::FakeToolkit toolkit;
    model::ProfileLine profile = files_test::newSlot();

    void SetUp() override {
        profile.PNAME = std::string_view("L200E");
        profile.FIELD = 50000.0f;
        profile.FINCL = -65.5f;
        profile.FDECL = 2.25f;
        profile.MODEL.AZIM = 90.0f;
        profile.NSTA = 3;
        profile.NCOMP = 2;
        int status = 0;
        model::ALLOCPF(profile, status);
        const float data[3] = {1234.5f, -1.5E-3f, 1.0E20f};
        for (int i = 1; i <= 3; ++i) {
            profile.EAST(i) = 500.0f + 10.0f * static_cast<float>(i);
            profile.NORT(i) = -20.5f;
            profile.STAT(i) = 10.0f * static_cast<float>(i - 1);
            profile.ELEV(i) = 101.5f;
            profile.DAT(i, 1) = data[i - 1];
            profile.DAT(i, 2) = 7.0f;
            profile.SYN(i, 1) = 3.0f * static_cast<float>(i);
        }
        profile.MODEL.NTOPO = 3;
        profile.MODEL.ZTOPO.allocate(7);
        for (int i = 1; i <= 3; ++i)
            profile.MODEL.ZTOPO(i) = 100.0f + static_cast<float>(i);
    }

    std::vector<std::string> written(const std::string& name) {
        bool crlf = false;
        auto lines = files_test::crlfLines(files_test::readText(folder.file(name)), crlf);
        EXPECT_TRUE(crlf);
        return lines;
    }
};

TEST_F(XyzExport, LongRecordsOfThreeStations) {
    std::string name = folder.file("p.xyz");
    files::XYZOUT(profile, name, false, true);
    const auto lines = written("p.xyz");
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "/ INDUCING FIELD :    50000.000");
    EXPECT_EQ(lines[1], "/ INCLINATION    :      -65.500");
    EXPECT_EQ(lines[3], "/ PROFILE DIRECT.:       90.000");
    EXPECT_EQ(lines[4], "/ TYPE OF DATA   : Gravity Data        ");
    EXPECT_EQ(lines[5], "/ DISTANCE UNITS : M   ");
    EXPECT_EQ(lines[6], "LINE L200E               ");
    EXPECT_EQ(lines[7], "    510.0     -20.5       0.0     101.0  1.0150E+02  1.2345E+03 ");
    EXPECT_EQ(lines[8].substr(52), "-1.5000E-03 ");
    EXPECT_EQ(lines[9].substr(52), " 1.0000E+20 ");
    EXPECT_TRUE(log.all().empty());
    EXPECT_TRUE(toolkit.selectorCalls.empty());
}

TEST_F(XyzExport, ShortRecordsAndFieldsThatDoNotFit) {
    profile.EAST(1) = 12345678.9f;
    profile.XUNIT = std::string_view("KFT");
    profile.LSYN = true;
    std::string name = folder.file("s.xyz");
    files::XYZOUT(profile, name, true, false);
    const auto lines = written("s.xyz");
    EXPECT_EQ(lines[5], "/ DISTANCE UNITS : KFT ");
    EXPECT_EQ(lines[7], "********* " + std::string("    -20.5       0.0  3.0000E+00 "));
}

TEST_F(XyzExport, InvalidSyntheticsWriteNothing) {
    std::string name = folder.file("none.xyz");
    files::XYZOUT(profile, name, true, true);
    EXPECT_EQ(log.information, std::vector<std::string>{"Synthetics not available for output"});
    EXPECT_EQ(files::fileSize(name), -1);
}

TEST_F(XyzExport, AWildcardInTheNameAsksForOne) {
    std::string name = folder.file("p?.xyz");
    toolkit.selection = folder.file("chosen.xyz");
    files::XYZOUT(profile, name, false, true);
    ASSERT_EQ(toolkit.selectorCalls.size(), 1u);
    EXPECT_EQ(toolkit.selectorCalls[0].filter, "XYZ Data File|*.XYZ|");
    EXPECT_EQ(name, folder.file("chosen.xyz"));
    EXPECT_EQ(written("chosen.xyz").size(), 10u);
    toolkit.selection.reset();
    name = "";
    files::XYZOUT(profile, name, false, true);
    EXPECT_EQ(toolkit.selectorCalls.size(), 2u);
}

TEST_F(XyzExport, AFolderThatDoesNotExistCannotBeOpened) {
    std::string name = folder.file("missing/p.xyz");
    files::XYZOUT(profile, name, false, true);
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_EQ(log.warnings[0],
              "CANNOT OPEN OUTPUT FILE:;" + std::string(base::FixedString<256>(name).view()));
}

TEST_F(XyzExport, TheImportReadsBackTheSameNumbers) {
    files_test::SettingsGuard settings;
    files_test::FakeDialog dialog;
    profile.DAT(3, 1) = 6.5432E-07f;
    profile.NORT(2) = -1234.5f;
    std::string name = folder.file("round.xyz");
    files::XYZOUT(profile, name, false, true);
    // East 1, north 2, distance 3, sensor elevation 5, data 6.
    dialog.user = [](files_test::FakeDialog& d) {
        d.integers[1275] = 1;
        d.integers[1277] = 2;
        d.integers[1280] = 3;
        d.integers[1281] = 5;
        d.integers[1283] = 6;
    };
    auto db = files_test::database();
    toolkit.selection = name;
    int status = 99;
    files::XYZINGRAVMAGVLF(*db, status, "Grav");
    ASSERT_EQ(status, 0);
    ASSERT_EQ(db->NPROF, 1);
    const auto& back = db->profile(1);
    EXPECT_EQ(back.PNAME, "L200E");
    ASSERT_EQ(back.NSTA, 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(back.EAST(i), profile.EAST(i));
        EXPECT_EQ(back.NORT(i), profile.NORT(i));
        EXPECT_EQ(back.STAT(i), profile.STAT(i));
        EXPECT_EQ(back.ELEV(i), profile.ELEV(i));
    }
    EXPECT_EQ(back.DAT(1, 1), 1234.5f);
    EXPECT_EQ(back.DAT(2, 1), -1.5E-3f);
    EXPECT_EQ(back.DAT(3, 1), 6.5432E-07f);
    EXPECT_TRUE(log.all().empty());
}

}  // namespace
