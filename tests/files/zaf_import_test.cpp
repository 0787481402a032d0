#include "files/zaf_import.h"

#include <gtest/gtest.h>

#include "files/view_settings.h"
#include "files/zaf_records.h"
#include "import_fixtures.h"
#include "test_support.h"
#include "zaf_fixtures.h"

namespace {

using files_test::ZafSpec;

class ZafImport : public ::testing::Test {
  protected:
    files_test::SettingsGuard settings;
    files_test::TempFolder folder;
    files_test::MessageLog log;
    files_test::FakeToolkit toolkit;
    files_test::ViewLog views;
    model::ProfileLine profile = files_test::newSlot();
    util::AxisRecord mapAxis;
    int status = 99;

    void SetUp() override { files::resetSiblingHeader(); }

    void import(const std::vector<std::uint8_t>& bytes, const std::string& name = "LINE12.ZAF") {
        files_test::writeBytes(folder.file(name), bytes);
        toolkit.selection = folder.file(name);
        files::ZAFIMPORT(profile, mapAxis, status);
    }
    // A refused or broken file leaves the slot and the map axis alone.
    void expectUnchanged(const std::vector<std::uint8_t>& bytes) {
        const model::ProfileLine before = profile;
        const util::AxisRecord axisBefore = mapAxis;
        files::viewSettings().LSHOWDATA = false;
        import(bytes);
        EXPECT_FALSE(files::viewSettings().LSHOWDATA);
        EXPECT_EQ(status, -1);
        EXPECT_EQ(profile, before);
        EXPECT_EQ(mapAxis, axisBefore);
    }
};

TEST_F(ZafImport, CurrentVersionFillsTheWholeProfile) {
    files::viewSettings().LSHOWMODEL = false;
    import(files_test::zafFile(ZafSpec{}));
    EXPECT_TRUE(files::viewSettings().LSHOWMODEL);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(log.all().empty());
    const auto& p = profile;
    const auto& m = p.MODEL;
    EXPECT_EQ(p.PNAME.view(), "LINE12              ");
    EXPECT_EQ(p.XUNIT, "KM");
    EXPECT_EQ(p.ZUNIT, "M");
    EXPECT_EQ(p.IELEV, 3);
    EXPECT_EQ(p.FIELD, 50000.0f);
    EXPECT_EQ(p.FINCL, 60.0f);
    EXPECT_EQ(p.FDECL, 5.0f);
    EXPECT_EQ(m.AZIM, 30.0f);
    EXPECT_EQ(m.TIEPRF, 7.0f);
    EXPECT_EQ(m.TIEEAS, 100.0f);
    EXPECT_EQ(m.TIENOR, 200.0f);
    EXPECT_EQ(m.STRIKE, 120.0f);
    EXPECT_EQ(m.BASELN, 8.0f);
    EXPECT_EQ(m.GRIDROT, 2.0f);
    EXPECT_EQ(m.SGEO[0], 9.0f);
    EXPECT_EQ(p.RMSERR, 2.5f);
    EXPECT_EQ(p.RMSERR2, 4.5f);
    EXPECT_EQ(m.DBKG, 0.5f);
    EXPECT_EQ(m.BKXT2, 12.0f);
    EXPECT_EQ(m.BKRAT, 0.25f);
    EXPECT_EQ(m.BKINC, 14.0f);
    ASSERT_EQ(m.NBOD, 1);
    EXPECT_EQ(m.DENS(1), 2.0f);
    EXPECT_EQ(m.XTENT1(1), 100.0f);
    EXPECT_EQ(m.REMS(1), 0.5f);
    EXPECT_EQ(m.DIPS(1), 20.0f);
    EXPECT_EQ(m.IV2(1), 3);
    EXPECT_EQ(m.XVRT(2), 10.0f);
    EXPECT_EQ(m.ZVRT(3), -6.0f);  // heights are positive upwards in the file and the model
    EXPECT_EQ(m.IPOINT(3), 3);
    EXPECT_TRUE(m.LXFIX(1));
    EXPECT_FALSE(m.LXFIX(2));
    EXPECT_FALSE(m.LVFIX(0));
    EXPECT_TRUE(m.LVFIX(1));
    EXPECT_EQ(m.XPIVOT(1), 1.0E20f);
    EXPECT_EQ(m.ILEVL(1), 1);
    EXPECT_NE(m.AREAS(1), 0.0f);
    ASSERT_EQ(p.LABELS.NLAB, 1);
    EXPECT_EQ(p.LABELS.CMODL[0].view(), "ABCDE" + std::string(45, ' '));
    EXPECT_EQ(p.LABELS.YARRO[0], 2.0f);
    EXPECT_EQ(p.LABELS.YCLAB[0], 4.0f);
    EXPECT_EQ(p.LABELS.WDLAB[0], 0.9f);
    EXPECT_EQ(p.LABELS.IWINDOW[0], 3);
    ASSERT_EQ(p.NSTA, 3);
    EXPECT_EQ(p.STAT(3), 50.0f);
    EXPECT_EQ(p.DAT(3, 1), 1.5f);
    EXPECT_EQ(p.SYN(1, 1), 0.25f);
    EXPECT_EQ(p.DTYPE, "Magnetics Data");
    EXPECT_EQ(p.DUNIT[0], "nT");
    // Ground 120.5 and sensor 121.5: the sensor stays 1 m above the ground,
    // and the surface closes downwards.
    EXPECT_EQ(m.ZTOPO(2), 120.5f);
    EXPECT_EQ(m.ZTOPO(5), -1.0E15f);
    EXPECT_EQ(p.ELEV(1), 121.5f);
    EXPECT_GT(p.ELEV(1), m.ZTOPO(1));
    EXPECT_EQ(m.NTOPO, 3);
    EXPECT_EQ(m.XTOPO(3), 50.0f);
    EXPECT_EQ(m.XTOPO(5), 1.0E15f);
    EXPECT_EQ(m.XTOPO(7), -1.0E15f);
    EXPECT_EQ(p.XREG[1], 10.0f);
    EXPECT_EQ(p.YREG[4], 5.0f);
    EXPECT_EQ(p.NREG, 3);
    EXPECT_EQ(p.EAST(2), 5001.0f);
    EXPECT_EQ(p.NORT(3), 6998.0f);
    EXPECT_EQ(p.REG(2), 0.0f);
    EXPECT_EQ(p.ISUSUN, 3);
    EXPECT_TRUE(p.MASK(2, 1));
    EXPECT_TRUE(p.LSYN);
    const auto& data = p.AXES[0];
    EXPECT_EQ(data.originX, 1.25f);
    EXPECT_EQ(data.divCountX, 2);
    EXPECT_EQ(data.divLengthX, 4.25f);
    EXPECT_EQ(data.startY, -30.0f);
    EXPECT_FLOAT_EQ(data.divLengthY, 0.6f);
    EXPECT_TRUE(data.yLabelsLeft);
    const auto& section = p.AXES[4];
    EXPECT_EQ(section.originY, 4.25f);
    EXPECT_EQ(section.startY, -20.0f);
    EXPECT_EQ(section.divLengthY, 0.75f);
    EXPECT_EQ(mapAxis, util::AxisRecord{});
    EXPECT_EQ(views.rescales, 0);
    EXPECT_TRUE(files::siblingHeader().flag(4));
}

TEST_F(ZafImport, EveryVersionOnItsOwnTerms) {
    for (const char* tag :
         {"VER3", "VER5", "VER7", "VER8", "VERA", "VERB", "VERD", "VERF", "VERG"}) {
        SCOPED_TRACE(tag);
        const int v = files_test::zafVersionOf(tag);
        ZafSpec spec;
        spec.tag = tag;
        profile = files_test::newSlot();
        mapAxis = util::AxisRecord{};
        views.rescales = 0;
        import(files_test::zafFile(spec));
        ASSERT_EQ(status, 0);
        EXPECT_TRUE(log.all().empty());
        const auto& m = profile.MODEL;
        const bool old = v <= 8;
        EXPECT_EQ(m.XTENT1(1), old ? 200.0f : 100.0f);
        EXPECT_EQ(m.REMS(1), old ? 0.25f : 0.5f);
        EXPECT_EQ(m.BKRAT, old ? 0.5f : 0.25f);
        EXPECT_EQ(profile.EAST(2), v >= 6 ? 5001.0f : 25.0f);
        EXPECT_EQ(profile.NORT(2), v >= 6 ? 6999.0f : 0.0f);
        EXPECT_EQ(profile.LSYN, v >= 10);
        EXPECT_EQ(profile.ISUSUN, v >= 13 ? 3 : 0);
        EXPECT_EQ(static_cast<bool>(profile.MASK(2, 1)), v >= 15);
        EXPECT_EQ(views.rescales, v < 10 ? 1 : 0);
        EXPECT_EQ(mapAxis.divCountX, v >= 4 && v <= 9 ? 6 : 0);
        EXPECT_EQ(mapAxis.stepY, v >= 4 && v <= 9 ? 25.0f : 0.0f);
        EXPECT_FLOAT_EQ(profile.LABELS.WDLAB[0], v >= 14 ? 0.9f : 0.65f);
        EXPECT_EQ(m.SGEO[0], v < 7 ? 25.0f : v >= 11 ? 9.0f : 0.0f);
        if (v <= 9) {
            EXPECT_EQ(m.TIEEAS, profile.EAST(1));
            EXPECT_EQ(m.AZIM, v >= 6 ? 90.0f : 30.0f);
            EXPECT_EQ(m.GRIDROT, v >= 6 ? 0.0f : 60.0f);
        } else {
            EXPECT_EQ(m.TIEEAS, 100.0f);
        }
        EXPECT_EQ(profile.FDECL, 5.0f);
    }
}

TEST_F(ZafImport, TagsOutsideTheRangeAreRefused) {
    for (const char* tag : {"VER1", "VERH", "VER:", "ABCD"}) {
        SCOPED_TRACE(tag);
        log.warnings.clear();
        ZafSpec spec;
        spec.tag = "VERG";
        auto bytes = files_test::zafFile(spec);
        std::copy(tag, tag + 4, bytes.begin());
        expectUnchanged(bytes);
        ASSERT_EQ(log.warnings.size(), 1u);
        EXPECT_EQ(log.warnings[0].size(), 379u);
        EXPECT_NE(log.warnings[0].find("LINE12.ZAF"), std::string::npos);
    }
}

TEST_F(ZafImport, AThousandStationsAreReadAndOneMoreIsRefused) {
    ZafSpec spec;
    spec.stations = 1000;
    import(files_test::zafFile(spec));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(profile.NSTA, 1000);
    profile = files_test::newSlot();
    spec.stations = 1001;
    expectUnchanged(files_test::zafFile(spec));
    ASSERT_EQ(log.warnings.size(), 2u);
    std::string first =
        "Cannot read file:  LINE12.ZAF      ;;File contains          1001 data points.;;"
        "Program can only read  1000 data points.;;";
    first.resize(128, ' ');
    EXPECT_EQ(log.warnings[0], first);
    EXPECT_EQ(log.warnings[1].size(), 70u);
    EXPECT_NE(log.warnings[1].find(';'), std::string::npos);
}

TEST_F(ZafImport, TooManyVerticesAreRefused) {
    ZafSpec spec;
    spec.extraVertices = 1999;
    expectUnchanged(files_test::zafFile(spec));
    ASSERT_EQ(log.warnings.size(), 2u);
    EXPECT_NE(log.warnings[0].find(" 2002 vertices.;;"), std::string::npos);
    EXPECT_NE(log.warnings[0].find(" 2000 vertices.;;"), std::string::npos);
}

TEST_F(ZafImport, EveryTruncationIsAReadErrorThatChangesNothing) {
    const auto full = files_test::zafFile(ZafSpec{});
    for (std::size_t cut = 0; cut < full.size(); cut += 7) {
        SCOPED_TRACE(cut);
        log.information.clear();
        expectUnchanged(std::vector<std::uint8_t>(full.begin(),
                                                  full.begin() + static_cast<std::ptrdiff_t>(cut)));
        ASSERT_EQ(log.information.size(), 1u);
        const std::string& text = log.information[0];
        EXPECT_EQ(text.size(), 66u);
        EXPECT_EQ(text.substr(0, 34), "READ ERROR IN BINARY FILE AT BYTE ");
        EXPECT_EQ(text.substr(34, 8), files::rightAligned(static_cast<long long>(cut), 8));
    }
}

TEST_F(ZafImport, ReadLabelsNameThePartBeingRead) {
    const auto full = files_test::zafFile(ZafSpec{});
    const std::pair<std::size_t, const char*> cases[] = {{2, "CTAG    "},
                                                         {6, "IMDPT2  "},
                                                         {100, "CLIENT  "},
                                                         {700, "LWENT   "},
                                                         {full.size() - 1, "LMASKF  "}};
    for (const auto& [cut, label] : cases) {
        log.information.clear();
        import(std::vector<std::uint8_t>(full.begin(),
                                         full.begin() + static_cast<std::ptrdiff_t>(cut)));
        ASSERT_EQ(log.information.size(), 1u);
        EXPECT_EQ(log.information[0].substr(58), label) << cut;
    }
}

TEST_F(ZafImport, BrokenVertexRangesAndLeadersAreReadErrors) {
    ZafSpec spec;
    spec.bodies = 2;
    auto bytes = files_test::zafFile(spec);
    // Body 2 of a VERG file starts at vertex 4; make it start at 9.
    const std::size_t iv1 = 4 + 4 + 151 + 6 + 64 + 118 + 16 + 24 + 2 + 2 * 6 * 4;
    ASSERT_EQ(bytes[iv1 + 2], 4);
    bytes[iv1 + 2] = 9;
    expectUnchanged(bytes);
    EXPECT_EQ(log.information.size(), 1u);
}

TEST_F(ZafImport, LabelsBeyondFiftyAreLeftOut) {
    ZafSpec spec;
    spec.labels.assign(52, "LAB");
    spec.labels[49] = "FIFTY";
    import(files_test::zafFile(spec));
    ASSERT_EQ(status, 0);
    EXPECT_EQ(profile.LABELS.NLAB, 50);
    EXPECT_EQ(profile.LABELS.CMODL[49], "FIFTY");
    EXPECT_EQ(profile.NSTA, 3);  // the items after the labels are read in their places
    EXPECT_EQ(profile.EAST(3), 5002.0f);
}

TEST_F(ZafImport, UnknownKeyWarnsAndGoesOn) {
    ZafSpec spec;
    spec.key = "MAGY";
    import(files_test::zafFile(spec));
    EXPECT_EQ(profile.DTYPE, "Magnetics Y-Ccomp");
    spec.key = "MAGV";
    import(files_test::zafFile(spec));
    EXPECT_EQ(profile.DUNIT[0], "nT/m");
    spec.key = "XXXX";
    import(files_test::zafFile(spec));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(profile.DTYPE, "Magnetics Vert Grad");
    EXPECT_EQ(log.warnings,
              std::vector<std::string>{"Unknown case selection in SUBROUTINE ZafImport: XXXX"});
}

TEST_F(ZafImport, MissingFileAndCancelledSelector) {
    files::ZAFIMPORT(profile, mapAxis, status);
    EXPECT_EQ(status, -1);
    EXPECT_TRUE(log.all().empty());
    toolkit.selection = folder.file("none.zaf");
    files::ZAFIMPORT(profile, mapAxis, status);
    ASSERT_EQ(log.information.size(), 1u);
    EXPECT_EQ(log.information[0],
              std::string(base::FixedString<256>("none.zaf").view()) + " NOT FOUND.");
}

class ZafRecords : public ::testing::Test {
  protected:
    void SetUp() override { files::resetSiblingHeader(); }
    static std::vector<std::uint8_t> counts(std::initializer_list<std::uint16_t> c,
                                            std::size_t body) {
        base::ByteWriter w;
        for (auto v : c)
            w.i16(static_cast<std::int16_t>(v));
        w.zeros(body);
        return w.take();
    }
};

TEST_F(ZafRecords, ExtraRecordCountsAreCheckedBeforeTheArrays) {
    int ierr = -1;
    auto over = counts({20, 20, 20, 257}, 2000);
    base::ByteReader a(over);
    files::REDXTR(a, files::zafVer('A'), ierr);
    EXPECT_EQ(ierr, 2);
    EXPECT_EQ(a.position(), 8u);
    auto minus = counts({0xFFFF, 0, 0, 0}, 0);
    base::ByteReader b(minus);
    files::REDXTR(b, files::zafVer('A'), ierr);
    EXPECT_EQ(ierr, 2);
    auto none = counts({0, 0, 0, 0}, 5);
    base::ByteReader c(none);
    files::REDXTR(c, files::zafVer('G'), ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(c.position(), 8u);
    auto full = counts({20, 20, 20, 256}, 80 + 40 + 20 + 256);
    base::ByteReader d(full);
    files::REDXTR(d, files::zafVer('B'), ierr);
    EXPECT_EQ(ierr, 0);
    auto shortOne = counts({20, 20, 20, 256}, 80);
    base::ByteReader e(shortOne);
    files::REDXTR(e, files::zafVer('B'), ierr);
    EXPECT_EQ(ierr, 1);
    base::ByteReader f(none);
    files::REDXTR(f, 9, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(f.position(), 0u);
}

TEST_F(ZafRecords, AxisRecordsByVersion) {
    const std::vector<std::uint8_t> bytes(140, 0);
    util::AxisRecord axis;
    axis.divCountX = 77;
    bool noAxis = false;
    int ierr = -1;
    base::ByteReader v3(bytes);
    files::REDAXS(v3, 3, noAxis, ierr, axis);
    EXPECT_TRUE(noAxis);
    EXPECT_EQ(v3.position(), 0u);
    EXPECT_EQ(axis.divCountX, 77);
    base::ByteReader v7(bytes);
    files::REDAXS(v7, 7, noAxis, ierr, axis);
    EXPECT_FALSE(noAxis);
    EXPECT_EQ(v7.position(), 130u);
    EXPECT_EQ(axis.divCountX, 0);
    axis.divCountX = 77;
    base::ByteReader va(bytes);
    files::REDAXS(va, files::zafVer('A'), noAxis, ierr, axis);
    EXPECT_EQ(va.position(), 140u);
    EXPECT_EQ(axis.divCountX, 77);
    base::ByteReader shortRead(std::span<const std::uint8_t>(bytes).first(100));
    files::REDAXS(shortRead, 7, noAxis, ierr, axis);
    EXPECT_EQ(ierr, 1);
}

TEST_F(ZafRecords, MissingTiePointClearsTheSyntheticsFlag) {
    auto& h = files::siblingHeader();
    model::ProfileLine p;
    h.geometry.tieEasting = 1.0E20f;
    h.setFlag(1, true);
    files::FIXGEO(files::zafVer('B'), p);
    EXPECT_FALSE(h.flag(1));
    EXPECT_EQ(h.geometry.tieEasting, 0.0f);
    h.setFlag(1, true);
    h.geometry.baseline = 12.0f;
    files::FIXGEO(files::zafVer('B'), p);
    EXPECT_TRUE(h.flag(1));
    EXPECT_EQ(h.geometry.baseline, 12.0f);
}

}  // namespace
