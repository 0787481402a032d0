#include "files/database_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "database_fixtures.h"
#include "files/session_state.h"
#include "model/model_array.h"
#include "model/profile_header_layout.h"
#include "model/session_state.h"
#include "test_support.h"

namespace {

using files_test::FileBuilder;
using files_test::integers;
using files_test::MessageLog;
using files_test::readBytes;
using files_test::reals;
using files_test::sectionsOf;
using files_test::TempFolder;
using files_test::writeBytes;

std::string field256(std::string name) {
    name.resize(std::max<std::size_t>(name.size(), 256), ' ');
    return name;
}

std::string readError(std::size_t at, std::string_view keyword) {
    char pos[16];
    std::snprintf(pos, sizeof pos, "%8zu", at);
    return "READ ERROR OR END OF FILE AT BYTE " + std::string(pos) + "\r\nWHILE READING " +
           std::string(keyword);
}

#define EXPECT_SAME(got, want, field) EXPECT_TRUE((got).field == (want).field) << #field

void expectSameProfile(const model::ProfileLine& got, const model::ProfileLine& want) {
    EXPECT_TRUE(static_cast<const model::ProfileHeader&>(got) ==
                static_cast<const model::ProfileHeader&>(want))
        << "profile head";
    EXPECT_SAME(got, want, LSAVED);
    EXPECT_SAME(got, want, AXES);
    EXPECT_SAME(got, want, LABELS);
    EXPECT_SAME(got, want, EAST);
    EXPECT_SAME(got, want, NORT);
    EXPECT_SAME(got, want, STAT);
    EXPECT_SAME(got, want, ELEV);
    EXPECT_SAME(got, want, DAT);
    EXPECT_SAME(got, want, MASK);
    EXPECT_SAME(got, want, SYN);
    EXPECT_SAME(got, want, REG);
    const model::PolygonModel& m = got.MODEL;
    const model::PolygonModel& w = want.MODEL;
    EXPECT_TRUE(static_cast<const model::ModelHeader&>(m) ==
                static_cast<const model::ModelHeader&>(w))
        << "model head";
    EXPECT_SAME(m, w, XTOPO);
    EXPECT_SAME(m, w, ZTOPO);
    EXPECT_SAME(m, w, XPIVOT);
    EXPECT_SAME(m, w, ZPIVOT);
    EXPECT_SAME(m, w, DENS);
    EXPECT_SAME(m, w, REMS);
    EXPECT_SAME(m, w, DIPS);
    EXPECT_SAME(m, w, DECS);
    EXPECT_SAME(m, w, XVRT);
    EXPECT_SAME(m, w, ZVRT);
    EXPECT_SAME(m, w, XTENT1);
    EXPECT_SAME(m, w, XTENT2);
    EXPECT_SAME(m, w, AREAS);
    EXPECT_SAME(m, w, IV1);
    EXPECT_SAME(m, w, IV2);
    EXPECT_SAME(m, w, ILEVL);
    EXPECT_SAME(m, w, INCLBD);
    EXPECT_SAME(m, w, IPOINT);
    EXPECT_SAME(m, w, LAYER);
    EXPECT_SAME(m, w, LVFIX);
    EXPECT_SAME(m, w, LXFIX);
    EXPECT_SAME(m, w, LZFIX);
    EXPECT_SAME(m, w, LHIDE);
}

void expectSameDatabase(const model::ProfileDatabase& got, const model::ProfileDatabase& want) {
    EXPECT_TRUE(static_cast<const model::DatabaseHeader&>(got) ==
                static_cast<const model::DatabaseHeader&>(want))
        << "database head";
    EXPECT_TRUE(got.LNAMES == want.LNAMES) << "list names";
    ASSERT_EQ(got.PROFS.size(), want.PROFS.size());
    for (std::size_t i = 0; i < got.PROFS.size(); ++i) {
        SCOPED_TRACE("profile " + std::to_string(i + 1));
        expectSameProfile(got.PROFS[i], want.PROFS[i]);
    }
}

class DatabaseFile : public ::testing::Test {
  protected:
    void SetUp() override {
        model::resetSessionState();
        files::sessionState().reset();
    }
    void TearDown() override {
        model::resetSessionState();
        files::sessionState().reset();
    }
    // Writes `db` to the named file with Save (the database name gives the file).
    std::string save(model::ProfileDatabase& db, const util::AxisRecord& axis, int& status) {
        util::AxisRecord a = axis;
        std::string path = temp.file(db.DBNAME.str() + ".TQM");
        files::sessionState().DatabasePath = path;
        files::BIOPELK(db, a, "SAVE", "", status);
        return path;
    }
    // The built file written into the test's folder under `name`: its path.
    std::string written(const FileBuilder& f, const std::string& name) {
        const std::string path = temp.file(name);
        writeBytes(path, f.bytes());
        return path;
    }

    int load(model::ProfileDatabase& db, util::AxisRecord& axis, const std::string& path) {
        int status = 99;
        files::BIOPELK(db, axis, "LOAD", path, status);
        return status;
    }

    TempFolder temp;
    files_test::FakeToolkit toolkit;
};

TEST_F(DatabaseFile, EmptyDatabaseIs264BytesAndReadsBack) {
    model::ProfileDatabase db = files_test::emptyDatabase("EMPTY");
    util::AxisRecord axis = files_test::sampleAxis(2.0f);
    int status = 99;
    std::string path = save(db, axis, status);
    ASSERT_EQ(status, 0);
    auto bytes = readBytes(path);
    EXPECT_EQ(bytes.size(), 264u);
    std::vector<std::string> keywords;
    for (const auto& s : sectionsOf(bytes))
        keywords.push_back(s.keyword);
    EXPECT_EQ(keywords, (std::vector<std::string>{"DATAHEAD", "MAPAXIS ", "ENDFILE "}));

    model::ProfileDatabase back = files_test::emptyDatabase("OTHER");
    util::AxisRecord backAxis;
    model::sessionState().CurrentProfile = 5;
    MessageLog log;
    EXPECT_EQ(load(back, backAxis, path), 0);
    EXPECT_TRUE(log.all().empty());
    EXPECT_EQ(back.NPROF, 0);
    EXPECT_EQ(back.DBNAME, base::FixedString<24>("EMPTY"));
    EXPECT_TRUE(back.LDBSAV);
    EXPECT_EQ(backAxis, axis);
    EXPECT_EQ(model::sessionState().CurrentProfile, 0);
}

TEST_F(DatabaseFile, RichDatabaseRoundTripsFieldByField) {
    model::ProfileDatabase db = files_test::richDatabase();
    util::AxisRecord axis = files_test::sampleAxis(7.0f);
    model::sessionState().CurrentProfile = 2;
    int status = 99;
    std::string path = save(db, axis, status);
    ASSERT_EQ(status, 0);
    ::chmod(path.c_str(), 0444);  // a read-only file loads all the same

    model::ProfileDatabase back = files_test::emptyDatabase("OTHER");
    util::AxisRecord backAxis;
    model::sessionState().CurrentProfile = 0;
    MessageLog log;
    ASSERT_EQ(load(back, backAxis, path), 0);
    EXPECT_TRUE(log.all().empty());

    model::ProfileDatabase want = files_test::richDatabase();
    want.LDBSAV = true;
    want.profile(1).LSAVED = true;
    want.profile(2).LSAVED = true;
    // Not carried: the synthetics and the regional field of a profile without
    // a valid calculation (read back as the fresh zeros), and the
    // background's free flag of a model without bodies (free).
    std::fill(want.profile(2).SYN.values().begin(), want.profile(2).SYN.values().end(), 0.0f);
    std::fill(want.profile(2).REG.values().begin(), want.profile(2).REG.values().end(), 0.0f);
    want.profile(2).MODEL.LVFIX(0) = true;
    // The head's reserved words are written as zeros and read as zeros.
    want.reserved24 = {};
    want.reserved36 = {};
    want.reserved44 = {};
    ASSERT_NE(db.reserved24, want.reserved24);
    const auto bytes = readBytes(path);
    const std::size_t head = 8 + 20;  // the magic and the section header
    for (std::size_t at : {24u, 28u, 36u, 44u})
        EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + head + at, bytes.begin() + head + at + 4),
                  std::vector<std::uint8_t>(4, 0))
            << at;
    expectSameDatabase(back, want);
    EXPECT_EQ(backAxis, axis);
    EXPECT_EQ(model::sessionState().CurrentProfile, 2);
    EXPECT_EQ(files::sessionState().LastFile, files::databaseNameOf(path));
}

TEST_F(DatabaseFile, ProfileSectionsFollowTheRecord) {
    model::ProfileDatabase db = files_test::richDatabase();
    auto bytes = files::databaseFileBytes(db, util::AxisRecord{}, 1, "RICH");
    std::vector<files_test::SectionEntry> a, b;
    int heads = 0;
    for (const auto& s : sectionsOf(bytes)) {
        if (s.keyword == "PFLHEAD ") ++heads;
        (heads < 2 ? a : b).push_back(s);
    }
    auto find = [](const std::vector<files_test::SectionEntry>& v, std::string_view k) {
        std::vector<files_test::SectionEntry> out;
        for (const auto& s : v)
            if (s.keyword == k) out.push_back(s);
        return out;
    };
    ASSERT_EQ(find(a, "PLINSYN ").size(), 1u);
    EXPECT_EQ(find(a, "PCREG   ").at(0).length, 4 * 7);
    EXPECT_EQ(find(a, "LVFIX   ").at(0).length, 16) << "background first, then three bodies";
    EXPECT_EQ(find(a, "XVRT    ").at(0).length, 4 * 14);
    EXPECT_EQ(find(a, "XTOPO   ").at(0).length, 4 * 7);
    EXPECT_EQ(find(a, "CMODL   ").at(0).length, 100);
    EXPECT_EQ(find(a, "IPARAM  ").at(0).length, 8);
    int axes = 0;
    for (const char* k : {"PFLSAXIS", "PFLMAXIS", "PFLEAXIS"})
        for (const auto& s : find(a, k)) {
            axes += s.index;
            EXPECT_EQ(s.length, 148);
        }
    EXPECT_EQ(axes, 9) << "indexes 1 and 2 of three kinds";

    EXPECT_TRUE(find(b, "PLINSYN ").empty()) << "no valid synthetics";
    EXPECT_TRUE(find(b, "PCREG   ").empty());
    EXPECT_EQ(find(b, "PLINDAT ").at(0).length, 8 * 3) << "two components";
    EXPECT_EQ(find(b, "PLINMASK").at(0).length, 8 * 3);
    EXPECT_TRUE(find(b, "DENS    ").empty()) << "no bodies";
    EXPECT_TRUE(find(b, "CMODL   ").empty());
    EXPECT_EQ(b.back().keyword, "ENDFILE ");
}

TEST_F(DatabaseFile, StoredRegionalFieldTravelsWithoutSynthetics) {
    model::ProfileDatabase db = files_test::richDatabase();
    db.profile(1).LSYN = false;
    int status = 99;
    std::string path = save(db, util::AxisRecord{}, status);
    ASSERT_EQ(status, 0);
    model::ProfileDatabase back = files_test::emptyDatabase("OTHER");
    util::AxisRecord axis;
    ASSERT_EQ(load(back, axis, path), 0);
    EXPECT_TRUE(back.profile(1).REG == db.profile(1).REG);
    EXPECT_FALSE(back.profile(1).SYN == db.profile(1).SYN) << "synthetics are not carried";
}

struct Cut {
    const char* what;
    std::size_t at;  // bytes kept
    std::vector<std::string> messages;
};

TEST_F(DatabaseFile, CutFilesGiveTheirMessagesAndLeaveTheDatabase) {
    model::ProfileDatabase written = files_test::richDatabase();
    auto whole = files::databaseFileBytes(written, util::AxisRecord{}, 1, "RICH");
    std::size_t plindat = 0;
    for (const auto& s : sectionsOf(whole))
        if (s.keyword == "PLINDAT " && plindat == 0) plindat = s.offset;
    ASSERT_GT(plindat, 0u);
    const std::size_t inHeader = 8 + 20 + 48 + 12;  // inside the map axis header
    const std::size_t inData = plindat + 20 + 6;
    const Cut cuts[] = {
        {"empty file", 0, {readError(0, "NOTHING ")}},
        {"inside the magic", 5, {readError(0, "NOTHING ")}},
        {"inside a section header", inHeader, {readError(inHeader, "MAPAXIS ")}},
        {"inside the data", inData, {readError(inData, "PLINDAT "), readError(inData, "PROFILE ")}},
    };
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(cut.what);
        std::string path = temp.file("cut.TQM");
        writeBytes(path, std::vector<std::uint8_t>(whole.begin(), whole.begin() + cut.at));
        model::ProfileDatabase db = files_test::richDatabase();
        db.DBNAME.assign("BEFORE");
        util::AxisRecord axis = files_test::sampleAxis(3.0f);
        model::sessionState().CurrentProfile = 2;
        files::sessionState().LastFile.assign("BEFORE");
        MessageLog log;
        EXPECT_EQ(load(db, axis, path), 1);
        EXPECT_EQ(log.information, cut.messages);
        model::ProfileDatabase want = files_test::richDatabase();
        want.DBNAME.assign("BEFORE");
        expectSameDatabase(db, want);
        EXPECT_EQ(axis, files_test::sampleAxis(3.0f));
        EXPECT_EQ(model::sessionState().CurrentProfile, 2);
        EXPECT_EQ(files::sessionState().LastFile, base::FixedString<24>("BEFORE"));
    }
}

TEST_F(DatabaseFile, AFileCutInALaterProfileGivesTheWholeProfilesUnsaved) {
    model::ProfileDatabase written = files_test::richDatabase();
    ASSERT_GE(written.NPROF, 2);
    auto whole = files::databaseFileBytes(written, files_test::sampleAxis(2.0f), 1, "RICH");
    std::vector<std::size_t> plindat;
    for (const auto& s : sectionsOf(whole))
        if (s.keyword == "PLINDAT ") plindat.push_back(s.offset);
    ASSERT_GE(plindat.size(), 2u);
    const std::size_t at = plindat[1] + 20 + 6;  // inside the second profile's data
    std::string path = temp.file("CUT.TQM");
    writeBytes(path, std::vector<std::uint8_t>(whole.begin(), whole.begin() + at));
    model::ProfileDatabase db = files_test::emptyDatabase("BEFORE");
    util::AxisRecord axis;
    MessageLog log;
    EXPECT_EQ(load(db, axis, path), 0);
    ASSERT_FALSE(log.information.empty());
    EXPECT_EQ(log.information.front(), readError(at, "PLINDAT "));
    ASSERT_EQ(db.NPROF, 1);
    EXPECT_EQ(db.profile(1).PNAME, written.profile(1).PNAME);
    EXPECT_TRUE(db.profile(1).DAT == written.profile(1).DAT);
    EXPECT_FALSE(db.LDBSAV) << "the user decides where to keep what was read";
    EXPECT_EQ(db.DBNAME, base::FixedString<24>("CUT"));
    EXPECT_EQ(axis, files_test::sampleAxis(2.0f));
}

// A file whose head announces more profiles than it holds before its end
// is reported, read as unsaved, and a plain Save then asks for the file to
// write rather than writing the shorter database over it.
TEST_F(DatabaseFile, AFileEndingBeforeItsAnnouncedProfilesIsNeverSavedOverUnasked) {
    FileBuilder f;
    f.start(2);
    f.section("PFLHEAD ", files_test::profileHead("FIRST", 2, 1));
    f.section("ENDPLINE", {});
    f.end();
    const std::string path = written(f, "SHORT.TQM");
    model::ProfileDatabase db = files_test::emptyDatabase("BEFORE");
    util::AxisRecord axis;
    MessageLog log;
    ASSERT_EQ(load(db, axis, path), 0);
    ASSERT_EQ(log.information.size(), 1u);
    EXPECT_EQ(log.information[0].rfind("READ ERROR OR END OF FILE AT BYTE ", 0), 0u);
    EXPECT_EQ(db.NPROF, 1);
    EXPECT_FALSE(db.LDBSAV);

    // Save: the message, then the selector; cancelled, the file is as it was.
    const auto before = readBytes(path);
    int status = 99;
    files::BIOPELK(db, axis, "SAVE", "", status);
    EXPECT_EQ(status, -1);
    ASSERT_EQ(toolkit.selectorCalls.size(), 1u);
    ASSERT_EQ(log.information.size(), 2u);
    EXPECT_EQ(log.information[1].rfind("THE DATABASE WAS READ FROM A DAMAGED FILE:", 0), 0u);
    EXPECT_EQ(readBytes(path), before);

    // Another file chosen: written there, and a later Save goes there unasked.
    const std::string other = temp.file("KEPT.TQM");
    toolkit.selection = other;
    files::BIOPELK(db, axis, "SAVE", "", status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readBytes(path), before);
    ASSERT_TRUE(std::filesystem::exists(other));
    files::BIOPELK(db, axis, "SAVE", "", status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(toolkit.selectorCalls.size(), 2u);
}

TEST_F(DatabaseFile, WrongMagicLeavesTheDatabase) {
    std::string path = temp.file("text.TQM");
    files_test::writeText(path, "Not a database at all");
    model::ProfileDatabase db = files_test::richDatabase();
    util::AxisRecord axis;
    MessageLog log;
    EXPECT_EQ(load(db, axis, path), 1);
    EXPECT_EQ(log.information, std::vector<std::string>{
                                   "File is not Pelk-GM Profile Data file:\r\n" + field256(path)});
    expectSameDatabase(db, files_test::richDatabase());
}

TEST_F(DatabaseFile, MissingFileIsNotAttempted) {
    model::ProfileDatabase db = files_test::emptyDatabase("KEEP");
    util::AxisRecord axis;
    MessageLog log;
    std::string path = temp.file("none.TQM");
    EXPECT_EQ(load(db, axis, path), -1);
    EXPECT_EQ(log.information, std::vector<std::string>{"CANNOT FIND FILE: " + field256(path)});
    EXPECT_EQ(db.DBNAME, base::FixedString<24>("KEEP"));
}

TEST_F(DatabaseFile, NewerVersionsAndUnknownSectionsAreSkipped) {
    FileBuilder f;
    model::DatabaseHeader head;
    head.NPROF = 1;
    base::ByteWriter w;
    model::writeDatabaseHeader(w, head);
    f.section("DATAHEAD", w.take());
    f.section("MAPAXIS ", std::vector<std::uint8_t>(148, 0xFF), 2);
    f.section("XYZZY\x01  ", reals({1, 2, 3}));
    f.section("PROFILE ", integers({1}));
    f.section("PFLHEAD ", files_test::profileHead("NEWER", 2, 1), 2);
    f.section("PFLHEAD ", files_test::profileHead("OLDER", 2, 1, 284));
    f.section("PLINEAST", reals({10, 20}));
    f.section("MYSTERY ", integers({7}));
    f.section("PLINNORT", reals({30, 40}));
    f.section("ENDPLINE", {});
    f.end();
    const std::string path = written(f, "mixed.TQM");

    model::ProfileDatabase db = files_test::emptyDatabase("X");
    util::AxisRecord axis = files_test::sampleAxis(4.0f);
    MessageLog log;
    ASSERT_EQ(load(db, axis, path), 0);
    EXPECT_EQ(log.information, (std::vector<std::string>{"SKIPPING NEW VERSION: MAPAXIS ",
                                                         "SKIPPING NEW VERSION: PFLHEAD "}));
    EXPECT_EQ(log.warnings,
              (std::vector<std::string>{
                  "DON'T KNOW HOW TO READ XYZZY    LAST SUCCESSFUL READ WAS DATAHEAD",
                  "DON'T KNOW HOW TO READ MYSTERY  LAST SUCCESSFUL READ WAS PLINEAST"}));
    EXPECT_EQ(axis, files_test::sampleAxis(4.0f)) << "the skipped record leaves the map axis";
    const model::ProfileLine& p = db.profile(1);
    EXPECT_EQ(db.NPROF, 1);
    EXPECT_EQ(p.PNAME, base::FixedString<20>("OLDER"));
    // The short head leaves the fields it does not reach at their presets.
    EXPECT_EQ(p.XUNIT, base::FixedString<8>("KM"));
    EXPECT_EQ(p.ZUNIT, base::FixedString<8>("KM"));
    EXPECT_EQ(p.FIELD, 50000.0f);
    EXPECT_EQ(p.FINCL, 65.0f);
    EXPECT_EQ(p.FDECL, 0.0f);
    EXPECT_EQ(p.IELEV, 1);
    EXPECT_EQ(p.SENSHT, 0.0f);
    EXPECT_EQ(p.EAST.values(), (std::vector<float>{10, 20}));
    EXPECT_EQ(p.NORT.values(), (std::vector<float>{30, 40}));
}

TEST_F(DatabaseFile, OlderAndShorterSectionsFillWhatTheyCan) {
    FileBuilder f;
    f.start(3, 0);
    // Profile 1: an older model head, no topography, two labels and a bit.
    f.section("PFLHEAD ", files_test::profileHead("ONE", 2, 2));
    f.section("PLINSTAT", reals({0, 50}));
    f.section("PLINELEV", reals({100, 110}));
    f.section("PCREG   ", reals({1, 2, 3, 4}));
    f.section("NBOD    ", integers({0}));
    f.section("XTOPO   ", reals({5, 6, 7, 8, 9, 10}));
    f.section("CMODL   ", std::vector<std::uint8_t>(120, 'a'));
    f.section("PSEUAXIS", std::vector<std::uint8_t>(20, 1));
    f.section("DBKG    ", reals({2.5f}));
    f.section("ENDPLINE", {});
    // Profile 2: a whole model head.
    f.section("PFLHEAD ", files_test::profileHead("TWO", 0, 1));
    f.section("MODLHEAD", files_test::modelHead(0, 0));
    f.section("ENDPLINE", {});
    // Profile 3: no name.
    f.section("PFLHEAD ", files_test::profileHead("", 0, 1));
    f.section("ENDPLINE", {});
    f.end();
    const std::string path = written(f, "older.TQM");

    model::ProfileDatabase db = files_test::emptyDatabase("X");
    util::AxisRecord axis;
    model::sessionState().CurrentProfile = 3;
    MessageLog log;
    ASSERT_EQ(load(db, axis, path), 0);
    EXPECT_TRUE(log.all().empty());
    EXPECT_EQ(db.NPROF, 3);
    EXPECT_EQ(model::sessionState().CurrentProfile, 0) << "a profile section of no value";

    const model::ProfileLine& one = db.profile(1);
    EXPECT_EQ(one.REG.values(), (std::vector<float>{1, 2})) << "the first NSTA values";
    EXPECT_EQ(one.MODEL.NBOD, 0);
    EXPECT_EQ(one.MODEL.AZIM, 90.0f);
    EXPECT_EQ(one.MODEL.STRIKE, 0.0f);
    EXPECT_EQ(one.MODEL.SGEO, (std::array<float, 4>{12.0f, 0.0f, 100.0f, 0.0f}));
    EXPECT_EQ(one.MODEL.DBKG, 2.5f);
    EXPECT_EQ(one.LABELS.NLAB, 2);
    EXPECT_EQ(one.LABELS.CMODL[2].view().substr(0, 20), std::string(20, 'a'));
    // Without "ZTOPO" the surface is built from the stations and closed.
    EXPECT_EQ(one.MODEL.NTOPO, 2);
    EXPECT_EQ(one.MODEL.XTOPO.values(), (std::vector<float>{0, 50, 1e16f, 1e16f, -1e16f, -1e16f}));
    EXPECT_EQ(one.MODEL.ZTOPO.values(), (std::vector<float>{100, 110, 110, -1e16f, -1e16f, 100}));

    EXPECT_EQ(db.profile(2).MODEL.AZIM, 30.0f);
    EXPECT_EQ(db.profile(2).LABELS.NLAB, 0);
    EXPECT_EQ(db.profile(3).PNAME, base::FixedString<20>("PROFILE     3"));
    EXPECT_EQ(db.name(3), base::FixedString<24>("PROFILE     3"));
}

// Station values come from their sections as they stand: a short section
// fills the front and leaves zeros, a repeated one replaces the front of the
// first, and an array no section brings holds zeros for every station.
TEST_F(DatabaseFile, StationArraysHoldTheirSectionsAndZerosElsewhere) {
    FileBuilder f;
    f.start(1);
    f.section("PFLHEAD ", files_test::profileHead("ONE", 3, 2));
    f.section("PLINEAST", reals({1, 2}));
    f.section("PLINSTAT", reals({10, 20, 30}));
    f.section("PLINSTAT", reals({11}));
    f.section("PLINDAT ", reals({5, 6, 7, 8, 9, 10, 99}));
    f.section("PLINMASK", integers({0, 1, 0, -1}));
    f.section("ENDPLINE", {});
    f.end();
    const std::string path = written(f, "stations.TQM");

    model::ProfileDatabase db = files_test::emptyDatabase("X");
    util::AxisRecord axis;
    MessageLog log;
    ASSERT_EQ(load(db, axis, path), 0);
    EXPECT_TRUE(log.all().empty());
    const model::ProfileLine& p = db.profile(1);
    using Reals = std::vector<float>;
    EXPECT_EQ(p.EAST.values(), (Reals{1, 2, 0}));
    EXPECT_EQ(p.STAT.values(), (Reals{11, 20, 30}));
    EXPECT_EQ(p.NORT.values(), (Reals{0, 0, 0}));
    EXPECT_EQ(p.ELEV.values(), (Reals{0, 0, 0}));
    EXPECT_EQ(p.DAT.values(), (Reals{5, 6, 7, 8, 9, 10}));
    using Flags = std::vector<model::Logical>;
    EXPECT_EQ(p.MASK.values(), (Flags{false, true, false, true, false, false}));
    ASSERT_EQ(p.SYN.rows(), 3);
    ASSERT_EQ(p.SYN.cols(), 2);
    EXPECT_EQ(p.SYN.values(), (Reals(6, 0.0f)));
    EXPECT_EQ(p.REG.values(), (Reals{0, 0, 0}));
}

// Storage that cannot be had for a profile's stations, whether a section
// brings them or not, ends the reading with the same message.
TEST_F(DatabaseFile, StationsWithoutStorageAreReported) {
    for (const bool withSection : {true, false}) {
        FileBuilder f;
        f.start(1);
        f.section("PFLHEAD ", files_test::profileHead("ONE", 2, 1));
        if (withSection) f.section("PLINEAST", reals({1, 2}));
        f.section("ENDPLINE", {});
        f.end();
        const std::string path = written(f, "short.TQM");

        model::ProfileDatabase db = files_test::emptyDatabase("KEPT");
        util::AxisRecord axis;
        MessageLog log;
        model::allocationFaults().countdown = 0;
        load(db, axis, path);
        model::allocationFaults().countdown = -1;
        ASSERT_FALSE(log.information.empty()) << withSection;
        EXPECT_EQ(log.information.front(), "CANNOT ALLOCATE PROFILE DATA") << withSection;
        EXPECT_EQ(db.DBNAME, base::FixedString<24>("KEPT")) << withSection;
        EXPECT_EQ(db.NPROF, 0) << withSection;
    }
}

TEST_F(DatabaseFile, ImpossibleCountsAreRefused) {
    auto withProfile = [](auto addSections) {
        FileBuilder f;
        f.start(1);
        addSections(f);
        f.section("ENDPLINE", {});
        f.end();
        return f.bytes();
    };
    auto headed = [&](std::int32_t nbod, std::int32_t ntopo, auto more) {
        return withProfile([&](FileBuilder& f) {
            f.section("PFLHEAD ", files_test::profileHead("P", 1, 1));
            f.section("MODLHEAD", files_test::modelHead(nbod, ntopo));
            more(f);
        });
    };
    auto nothing = [](FileBuilder&) {};
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
    };
    const Case cases[] = {
        {"negative profile count", FileBuilder().start(-1).end().bytes()},
        {"101 profiles", FileBuilder().start(101).end().bytes()},
        {"negative station count", withProfile([](FileBuilder& f) {
             f.section("PFLHEAD ", files_test::profileHead("P", -3, 1));
         })},
        {"a billion stations", withProfile([](FileBuilder& f) {
             f.section("PFLHEAD ", files_test::profileHead("P", 1 << 30, 1));
         })},
        {"three components", withProfile([](FileBuilder& f) {
             f.section("PFLHEAD ", files_test::profileHead("P", 1, 3));
         })},
        {"stations without a data component", withProfile([](FileBuilder& f) {
             f.section("PFLHEAD ", files_test::profileHead("P", 3, 0));
         })},
        {"negative payload length",
         withProfile([](FileBuilder& f) { f.section("PLINEAST", {}, 1, 0, -8); })},
        {"huge payload length",
         withProfile([](FileBuilder& f) { f.section("PLINEAST", {}, 1, 0, 0x7FFFFFF0); })},
        {"half a billion bodies", headed(1 << 29, 0, nothing)},
        {"negative topography", headed(0, -2, nothing)},
        {"huge vertex count",
         headed(1, 0, [](FileBuilder& f) { f.section("IV2     ", integers({1 << 28})); })},
        {"vertex range outside the vertices", headed(1, 0,
                                                     [](FileBuilder& f) {
                                                         f.section("IV1     ", integers({2}));
                                                         f.section("IV2     ", integers({1}));
                                                     })},
        {"lock to a vertex that is not there",
         headed(1, 0,
                [](FileBuilder& f) {
                    f.section("IV1     ", integers({1}));
                    f.section("IV2     ", integers({3}));
                    f.section("IPOINT  ", integers({1, 2, 9}));
                })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = temp.file("bad.TQM");
        writeBytes(path, c.file);
        model::ProfileDatabase db = files_test::richDatabase();
        util::AxisRecord axis;
        MessageLog log;
        EXPECT_EQ(load(db, axis, path), 1);
        ASSERT_FALSE(log.information.empty());
        EXPECT_EQ(log.information[0].rfind("READ ERROR OR END OF FILE AT BYTE ", 0), 0u)
            << log.information[0];
        expectSameDatabase(db, files_test::richDatabase());
    }
}

TEST_F(DatabaseFile, FailedSaveKeepsTheOldFileAndSaysSo) {
    model::ProfileDatabase db = files_test::richDatabase();
    int status = 99;
    std::string path = save(db, util::AxisRecord{}, status);
    ASSERT_EQ(status, 0);
    auto before = readBytes(path);

    // Files may not grow beyond 100 bytes for a moment: the save fails there.
    db.profile(1).PNAME.assign("CHANGED");
    db.LDBSAV = false;
    struct rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 100;
    auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    MessageLog log;
    util::AxisRecord axis;
    files::BIOPELK(db, axis, "SAVE", "", status);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(status, 1);
    EXPECT_EQ(log.information, std::vector<std::string>{"WRITE ERROR AT BYTE      100:        0"});
    EXPECT_EQ(readBytes(path), before);
    EXPECT_FALSE(db.LDBSAV);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(temp.path()))
        ++files;
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

TEST_F(DatabaseFile, UnnamedDatabaseAsksForANameAndThenKeepsItsFile) {
    model::ProfileDatabase db = files_test::richDatabase();
    db.DBNAME.assign("New *");
    util::AxisRecord axis;
    int status = 99;
    files::BIOPELK(db, axis, "SAVE", "", status);
    EXPECT_EQ(status, -1) << "cancelled";
    ASSERT_EQ(toolkit.selectorCalls.size(), 1u);
    EXPECT_EQ(toolkit.selectorCalls[0].filter, "Pelk-GM Binary File|*.TQM|");
    EXPECT_EQ(toolkit.selectorCalls[0].title, "Pelk-GM Binary File");
    EXPECT_EQ(toolkit.selectorCalls[0].flags, 47);
    EXPECT_EQ(db.DBNAME, base::FixedString<24>("New *"));

    std::filesystem::create_directories(temp.file("sub.d"));
    std::string chosen = temp.file("sub.d/SITE.TQM");
    toolkit.selection = chosen;
    files::BIOPELK(db, axis, "SAVE", "", status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(db.DBNAME, base::FixedString<24>("SITE"));
    EXPECT_TRUE(db.LDBSAV);
    EXPECT_EQ(files::sessionState().LastFile, base::FixedString<24>("SITE"));
    EXPECT_TRUE(std::filesystem::exists(chosen));

    // Save goes to the same file again, wherever the current folder is.
    toolkit.selection.reset();
    db.profile(1).PNAME.assign("RENAMED");
    files::BIOPELK(db, axis, "SAVE", "", status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(toolkit.selectorCalls.size(), 2u);
    model::ProfileDatabase back = files_test::emptyDatabase("X");
    model::sessionState().CurrentProfile = 0;
    files::BIOPELK(back, axis, "Open", "", status);
    EXPECT_EQ(status, -1) << "cancelled open";
    files::sessionState().DatabasePath.clear();
    toolkit.selection = chosen;
    files::BIOPELK(back, axis, "OPEN", "", status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(toolkit.selectorCalls.back().flags, 42);
    EXPECT_EQ(back.profile(1).PNAME, base::FixedString<20>("RENAMED"));
    EXPECT_EQ(back.DBNAME, base::FixedString<24>("SITE"));
    EXPECT_EQ(files::sessionState().LastFile, base::FixedString<24>("SITE"))
        << "a bare name after Open";

    // Reload reads the file the database came from.
    back.profile(1).PNAME.assign("EDITED");
    toolkit.selection.reset();
    files::BIOPELK(back, axis, "R", "", status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(back.profile(1).PNAME, base::FixedString<20>("RENAMED"));
}

TEST_F(DatabaseFile, ActionsFollowTheAbbreviationRule) {
    model::ProfileDatabase db = files_test::emptyDatabase("NOWHERE");
    util::AxisRecord axis;
    int status = 99;
    MessageLog log;
    files::BIOPELK(db, axis, "R", "", status);  // Reload of NOWHERE.TQM
    EXPECT_EQ(status, -1);
    EXPECT_EQ(log.information,
              std::vector<std::string>{"CANNOT FIND FILE: " + field256("NOWHERE.TQM")});
    EXPECT_TRUE(toolkit.selectorCalls.empty());
    files::BIOPELK(db, axis, "r", "", status);  // not a reading action: Save As
    ASSERT_EQ(toolkit.selectorCalls.size(), 1u);
    EXPECT_EQ(toolkit.selectorCalls[0].flags, 47);
    files::BIOPELK(db, axis, "lo", "", status);  // Load of a blank name
    EXPECT_EQ(status, -1);
    EXPECT_EQ(log.information.size(), 1u);
}

TEST(DatabaseNames, ComeFromTheFileName) {
    EXPECT_EQ(files::databaseNameOf("C:\\DATA\\SITE.TQM"), base::FixedString<24>("C:\\DATA\\SITE"));
    EXPECT_EQ(files::databaseNameOf(files::bareFileName("C:\\DATA\\SITE.TQM")),
              base::FixedString<24>("SITE"));
    EXPECT_EQ(files::databaseNameOf("A.B.TQM"), base::FixedString<24>("A"));
    EXPECT_EQ(files::databaseNameOf("/d/x.v2/SITE.TQM"), base::FixedString<24>("/d/x.v2/SITE"))
        << "a dot in a folder does not cut the name";
    EXPECT_EQ(files::databaseNameOf(".hidden"), base::FixedString<24>(".hidden"));
    EXPECT_EQ(files::databaseNameOf("A_VERY_LONG_DATABASE_NAME_INDEED.TQM"),
              base::FixedString<24>("A_VERY_LONG_DATABASE_NAM"));
}

}  // namespace
