// Every file the program writes, written from the example survey and read
// back into a fresh database: whatever the format carries comes back as it
// was, to the precision the format writes.

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>

#include "files/ascii_export.h"
#include "files/column_import.h"
#include "files/database_file.h"
#include "files/model_file.h"
#include "files/mog_import.h"
#include "files/regional_file.h"
#include "files/session_state.h"
#include "files/text_lines.h"
#include "files/view_settings.h"
#include "files/xyz_export.h"
#include "files/xyz_import.h"
#include "import_fixtures.h"
#include "model/session_state.h"
#include "test_support.h"

namespace {

class RoundTrip : public ::testing::Test {
  protected:
    void SetUp() override {
        util::AxisRecord axis{};
        int status = 99;
        files::BIOPELK(survey, axis, "LOAD", PELK_SOURCE_DIR "/examples/BASIN.TQM", status);
        ASSERT_EQ(status, 0);
        ASSERT_EQ(survey.NPROF, 10);  // five lines of gravity, five of magnetics
    }
    void TearDown() override {
        model::CLEARDB(survey);
        model::resetSessionState();
        files::sessionState().reset();
    }

    std::vector<std::string> linesOf(const std::string& name) {
        files::TextFile f = files::readTextLines(folder.file(name), 256);
        EXPECT_EQ(f.status, files::TextFile::Status::Read) << name;
        return f.lines;
    }

    // The stations of a written column file read back under the columns.
    model::ProfileLine columnsBack(const std::string& name, int east, int north, int elev,
                                   int dist, int data) {
        auto& vs = files::viewSettings();
        vs.EastingColumn = east;
        vs.NorthingColumn = north;
        vs.ElevationColumn = elev;
        vs.PDistColumn = dist;
        vs.DataColumn = data;
        model::ProfileLine back = files_test::newSlot();
        int status = 99;
        files::readColumnLines(back, linesOf(name), base::FixedString<256>(name), status);
        EXPECT_EQ(status, 0) << name;
        return back;
    }

    files_test::SettingsGuard settings;
    files_test::TempFolder folder;
    files_test::MessageLog log;
    files_test::FakeToolkit toolkit;
    files_test::FakeDialog dialog;
    files_test::ViewLog views;
    model::ProfileDatabase survey;
};

// Within the last decimal the format writes, and a float's own precision.
void expectWithin(const model::RealArray& got, const model::RealArray& want, int n, float step,
                  const char* what) {
    ASSERT_GE(got.size(), n) << what;
    for (int i = 1; i <= n; ++i)
        EXPECT_NEAR(got(i), want(i), step + 1.0E-6f * std::fabs(want(i))) << what << " " << i;
}

void expectDataWithin(const model::ProfileLine& got, const model::Array2<float>& want, int n,
                      float relative, const char* what) {
    for (int i = 1; i <= n; ++i)
        EXPECT_NEAR(got.DAT(i, 1), want(i, 1), relative * std::fabs(want(i, 1)) + 1.0E-4f)
            << what << " " << i;
}

TEST_F(RoundTrip, TheDatabaseFileCarriesEveryProfileWhole) {
    util::AxisRecord axis{};
    model::sessionState().CurrentProfile = 3;
    survey.DBNAME.assign("COPY");
    files::sessionState().DatabasePath = folder.file("COPY.TQM");
    int status = 99;
    files::BIOPELK(survey, axis, "SAVE", "", status);
    ASSERT_EQ(status, 0);
    model::ProfileDatabase back;
    files::BIOPELK(back, axis, "LOAD", folder.file("COPY.TQM"), status);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(back.NPROF, survey.NPROF);
    for (int k = 1; k <= survey.NPROF; ++k) {
        SCOPED_TRACE(k);
        EXPECT_TRUE(back.profile(k) == survey.profile(k));
        EXPECT_EQ(back.name(k), survey.name(k));
    }
    EXPECT_EQ(model::sessionState().CurrentProfile, 3);
    model::CLEARDB(back);
}

TEST_F(RoundTrip, AsciiDataAndSyntheticsComeBackThroughTheColumnImport) {
    for (int k = 1; k <= survey.NPROF; ++k) {
        SCOPED_TRACE(k);
        model::ProfileLine p = survey.profile(k);
        const int n = p.NSTA;
        // Synthetics of a calculation, told apart from the data.
        for (int i = 1; i <= n; ++i)
            p.SYN(i, 1) = 0.75f * p.DAT(i, 1) + 0.125f;
        p.LSYN = true;
        files::ASCIIOUT(p, 0.0f, folder.file("data.dat"), false);
        files::ASCIIOUT(p, 0.0f, folder.file("syn.dat"), true);
        // No. distance easting northing value topography sensor
        const model::ProfileLine data = columnsBack("data.dat", 3, 4, 7, 2, 5);
        ASSERT_EQ(data.NSTA, n);
        expectWithin(data.STAT, p.STAT, n, 1.0E-4f, "distance");
        expectWithin(data.EAST, p.EAST, n, 1.0E-4f, "easting");
        expectWithin(data.NORT, p.NORT, n, 1.0E-4f, "northing");
        expectWithin(data.ELEV, p.ELEV, n, 1.0E-4f, "sensor");
        expectDataWithin(data, p.DAT, n, 1.0E-6f, "data");
        EXPECT_EQ(data.EFIRST, p.EAST(1));
        EXPECT_EQ(data.NLAST, p.NORT(n));
        // The topography column read as the elevation.
        const model::ProfileLine ground = columnsBack("data.dat", 3, 4, 6, 2, 5);
        for (int i = 1; i <= n; ++i)
            EXPECT_NEAR(ground.ELEV(i), files::stationTopography(p, i), 1.0E-4f) << i;
        const model::ProfileLine syn = columnsBack("syn.dat", 3, 4, 7, 2, 5);
        ASSERT_EQ(syn.NSTA, n);
        expectDataWithin(syn, p.SYN, n, 1.0E-6f, "synthetics");
    }
}

TEST_F(RoundTrip, TheRegionalControlPointsComeBack) {
    model::ProfileLine p = survey.profile(3);
    p.NREG = 4;
    p.XREG = {0.0f, 2500.0f, 5250.5f, 8000.0f, 0.0f};
    p.YREG = {-1.25f, 0.5f, 2.0625f, 3.0f, 0.0f};
    files::REGIONALOUT(p, folder.file("reg.dat"));
    model::ProfileLine back = files_test::newSlot();
    int status = 99;
    files::readRegionalLines(back, linesOf("reg.dat"), 2, 3, 0, status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(back.NREG, 4);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(back.XREG[k], p.XREG[k], 1.0E-4f) << k;
        EXPECT_NEAR(back.YREG[k], p.YREG[k], 1.0E-4f) << k;
    }
}

TEST_F(RoundTrip, EveryProfilesModelComesBack) {
    for (int k = 1; k <= survey.NPROF; ++k) {
        SCOPED_TRACE(k);
        model::ProfileLine p = survey.profile(k);
        const model::PolygonModel& a = p.MODEL;
        std::string name = folder.file("model.mdl");
        int status = 99;
        files::MODAIO(p, p.MODEL, 'W', name, status);
        ASSERT_EQ(status, 0);
        model::ProfileLine q = files_test::newSlot();
        files::MODAIO(q, q.MODEL, 'R', name, status);
        ASSERT_EQ(status, 0);
        const model::PolygonModel& b = q.MODEL;
        ASSERT_EQ(b.NBOD, a.NBOD);
        ASSERT_EQ(b.vertexCount(), a.vertexCount());
        auto near = [](float x, float y) { return std::fabs(x - y) <= 1.0E-4f * std::fabs(y) + 1.0E-3f; };
        EXPECT_TRUE(near(b.DBKG, a.DBKG));
        for (int j = 1; j <= a.NBOD; ++j) {
            EXPECT_TRUE(near(b.DENS(j), a.DENS(j))) << j;
            EXPECT_TRUE(near(b.XTENT1(j), a.XTENT1(j))) << j;
            EXPECT_TRUE(near(b.XTENT2(j), a.XTENT2(j))) << j;
            EXPECT_TRUE(near(b.REMS(j), a.REMS(j))) << j;
            EXPECT_TRUE(near(b.DIPS(j), a.DIPS(j))) << j;
            EXPECT_TRUE(near(b.DECS(j), a.DECS(j))) << j;
            EXPECT_EQ(b.LAYER(j), a.LAYER(j)) << j;
            EXPECT_EQ(b.LVFIX(j), a.LVFIX(j)) << j;
            EXPECT_EQ(b.IV1(j), a.IV1(j)) << j;
            EXPECT_EQ(b.IV2(j), a.IV2(j)) << j;
        }
        for (int v = 1; v <= a.vertexCount(); ++v) {
            EXPECT_TRUE(near(b.XVRT(v), a.XVRT(v))) << v;
            EXPECT_TRUE(near(b.ZVRT(v), a.ZVRT(v))) << v;
            EXPECT_EQ(b.IPOINT(v), a.IPOINT(v)) << v;
            EXPECT_EQ(b.LXFIX(v), a.LXFIX(v)) << v;
            EXPECT_EQ(b.LZFIX(v), a.LZFIX(v)) << v;
        }
    }
}

TEST_F(RoundTrip, TheXyzExportOfEveryProfileImportsAsThatProfile) {
    for (int k = 1; k <= survey.NPROF; ++k) {
        SCOPED_TRACE(k);
        const model::ProfileLine& p = survey.profile(k);
        std::string name = folder.file("line.xyz");
        files::XYZOUT(p, name, false, true);
        // Long records: easting northing distance topography sensor value.
        auto& vs = files::viewSettings();
        vs.EastingColumn = 1;
        vs.NorthingColumn = 2;
        vs.PDistColumn = 3;
        vs.ElevationColumn = 5;
        vs.DataColumn = 6;
        vs.ColumnIncrement = 0;
        auto db = files_test::database();
        ASSERT_EQ(files::readXyzLines(*db, linesOf("line.xyz"), files::chosenFile(name), "Grav"), 0);
        ASSERT_EQ(db->NPROF, 1);
        const model::ProfileLine& back = db->profile(1);
        // The import reads its lines in capitals.
        std::string name20(p.PNAME.view());
        for (char& c : name20) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(back.PNAME.view(), name20);
        const int n = p.NSTA;
        ASSERT_EQ(back.NSTA, n);
        expectWithin(back.EAST, p.EAST, n, 0.05f, "easting");
        expectWithin(back.NORT, p.NORT, n, 0.05f, "northing");
        expectWithin(back.STAT, p.STAT, n, 0.05f, "distance");
        expectWithin(back.ELEV, p.ELEV, n, 0.05f, "sensor");
        expectDataWithin(back, p.DAT, n, 5.0E-5f, "data");
        EXPECT_EQ(back.EFIRST, back.EAST(1));
        EXPECT_EQ(back.NLAST, back.NORT(n));
    }
}

TEST_F(RoundTrip, TheSiblingAsciiFileComesBackWithItsHeightsUpwards) {
    for (int k = 1; k <= survey.NPROF; ++k) {
        SCOPED_TRACE(k);
        model::ProfileLine p = survey.profile(k);
        std::string name = folder.file("line.mog");
        int status = 99;
        files::ASCIO(p, 'W', name, status);
        ASSERT_EQ(status, 0);
        model::ProfileLine back = files_test::newSlot();
        files::ASCIO(back, 'R', name, status);
        ASSERT_EQ(status, 0);
        const int n = p.NSTA;
        ASSERT_EQ(back.NSTA, n);
        EXPECT_EQ(back.PNAME.trimmed(), p.PNAME.trimmed().substr(0, 8));
        EXPECT_NEAR(back.FIELD, p.FIELD, 1.0E-3f);
        EXPECT_NEAR(back.FINCL, p.FINCL, 1.0E-3f);
        EXPECT_NEAR(back.FDECL, p.FDECL, 1.0E-3f);
        EXPECT_NEAR(back.MODEL.AZIM, p.MODEL.AZIM, 1.0E-3f);
        expectWithin(back.STAT, p.STAT, n, 1.0E-4f, "distance");
        expectWithin(back.EAST, p.EAST, n, 1.0E-4f, "easting");
        expectWithin(back.NORT, p.NORT, n, 1.0E-4f, "northing");
        expectWithin(back.ELEV, p.ELEV, n, 1.0E-4f, "sensor");
        expectDataWithin(back, p.DAT, n, 1.0E-6f, "data");
        for (int i = 1; i <= n; ++i)
            EXPECT_NEAR(back.MODEL.ZTOPO(i), files::stationTopography(p, i), 1.0E-4f) << i;
        EXPECT_EQ(back.EFIRST, p.EAST(1));
        EXPECT_EQ(back.NLAST, p.NORT(n));
    }
}

}  // namespace
