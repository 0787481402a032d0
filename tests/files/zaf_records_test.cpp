#include "files/zaf_records.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"
#include "util/binary_file.h"

namespace {

// The writers' records, written one after the other with the library's
// file routines, are read back by the import's readers in the same order.
TEST(ZafWriters, WrittenRecordsReadBackThroughTheReaders) {
    files_test::TempFolder folder;
    files::resetSiblingHeader();
    files::SiblingHeader& h = files::siblingHeader();
    for (std::size_t k = 0; k < h.windowRecord.size(); ++k)
        h.windowRecord[k] = static_cast<std::uint8_t>(k * 7);
    for (std::size_t k = 0; k < 7; ++k) {
        h.axis.start[k] = 10.0f * static_cast<float>(k) - 5.0f;
        h.axis.step[k] = 0.5f + static_cast<float>(k);
        h.axis.divisions[k] = static_cast<std::int16_t>(k + 3);
        h.axis.decade[k] = static_cast<std::int16_t>(-static_cast<int>(k));
    }
    for (std::size_t k = 0; k < 20; ++k) {
        h.extraReals[k] = 1.25f * static_cast<float>(k);
        h.extraInts[k] = static_cast<std::int16_t>(100 - static_cast<int>(k));
        h.extraFlags[k] = static_cast<std::uint8_t>(k % 2);
    }
    h.extraText.fill('x');
    const files::SiblingHeader written = h;

    model::ProfileLine p;
    p.FIELD = 52000.0f;
    p.FINCL = 68.5f;
    p.FDECL = -3.25f;
    p.MODEL.SGEO[0] = 7.5f;
    p.MODEL.AZIM = 91.0f;
    p.MODEL.TIEPRF = 150.0f;
    p.MODEL.TIEEAS = 20100.0f;
    p.MODEL.TIENOR = 43000.0f;
    p.MODEL.STRIKE = 1.0f;
    p.MODEL.BASELN = 150.0f;
    p.MODEL.GRIDROT = 2.5f;
    p.MODEL.ICOORD = 2;

    const std::string path = folder.file("records.zaf");
    const int handle = util::MAKEFIL(path);
    ASSERT_GT(handle, 0);
    int ierr = -1;
    files::RITGEO(handle, ierr, p);
    EXPECT_EQ(ierr, 0);
    files::RITWIN(handle, ierr);
    EXPECT_EQ(ierr, 0);
    files::RITAXS(handle, ierr);
    EXPECT_EQ(ierr, 0);
    files::RITXTR(handle, ierr);
    EXPECT_EQ(ierr, 0);
    files::RITMRK(handle);
    util::ICLSFIL(handle);

    base::ByteBuffer bytes;
    ASSERT_TRUE(base::readFile(path, bytes));
    EXPECT_EQ(bytes.size(), 64u + 118u + 140u + 8u + 80u + 40u + 20u + 256u + 2u);
    files::resetSiblingHeader();
    base::ByteReader r(bytes);
    const int version = files::zafVer('G');
    util::AxisRecord mapAxis{};
    bool noAxis = true;
    files::REDGEO(r, version, ierr);
    EXPECT_EQ(ierr, 0);
    files::REDWIN(r, version, false, ierr);
    EXPECT_EQ(ierr, 0);
    files::REDAXS(r, version, noAxis, ierr, mapAxis);
    EXPECT_EQ(ierr, 0);
    EXPECT_FALSE(noAxis);
    files::REDXTR(r, version, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(r.i16(), files::kZafMarker);
    EXPECT_TRUE(r.ok());

    const files::SiblingHeader& back = files::siblingHeader();
    const files::SiblingGeometry& g = back.geometry;
    EXPECT_EQ(g.sgeo1, 7.5f);
    EXPECT_EQ(g.field, 52000.0f);
    EXPECT_EQ(g.inclination, 68.5f);
    EXPECT_EQ(g.declination, -3.25f);
    EXPECT_EQ(g.azimuth, 91.0f);
    EXPECT_EQ(g.tieDistance, 150.0f);
    EXPECT_EQ(g.tieEasting, 20100.0f);
    EXPECT_EQ(g.tieNorthing, 43000.0f);
    EXPECT_EQ(g.strike, 1.0f);
    EXPECT_EQ(g.baseline, 150.0f);
    EXPECT_EQ(g.gridRotation, 2.5f);
    EXPECT_EQ(g.coordinateMode, 2);
    EXPECT_EQ(back.windowRecord, written.windowRecord);
    EXPECT_EQ(back.axis.start, written.axis.start);
    EXPECT_EQ(back.axis.step, written.axis.step);
    EXPECT_EQ(back.axis.divisions, written.axis.divisions);
    EXPECT_EQ(back.axis.decade, written.axis.decade);
    EXPECT_EQ(back.extraReals, written.extraReals);
    EXPECT_EQ(back.extraInts, written.extraInts);
    EXPECT_EQ(back.extraFlags, written.extraFlags);
    EXPECT_EQ(back.extraText, written.extraText);
}

TEST(ZafWriters, AWriteThatFailsSetsTheError) {
    files_test::TempFolder folder;
    const std::string path = folder.file("closed.zaf");
    const int handle = util::MAKEFIL(path);
    ASSERT_GT(handle, 0);
    util::ICLSFIL(handle);
    int ierr = 0;
    files::RITWIN(handle, ierr);
    EXPECT_EQ(ierr, 1);
}

}  // namespace
