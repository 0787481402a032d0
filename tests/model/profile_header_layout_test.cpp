#include "model/profile_header_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

model::ProfileHeader sampleHeader() {
    model::ProfileHeader h;
    h.PNAME.assign("LINE 7");
    h.DTYPE.assign("Gravity/Mag Data");
    h.SRCNAME.assign("VLF-3");
    h.CUNIT.assign("m");
    h.DUNIT = {base::FixedString<4>("mgal"), base::FixedString<4>("nT")};
    h.NSTA = 41;
    h.NCOMP = 2;
    h.NDGRAF = 2;
    h.NLGRAF = 1;
    h.NVSTA = 5;
    h.NVLIN = 6;
    h.MVLIN = 7;
    h.MVSTA = 8;
    h.reserved104.fill(0xA5);
    h.LSYN = true;
    h.LVDIR = true;
    h.EFIRST = 1000.5f;
    h.NFIRST = 2000.25f;
    h.ELAST = 3000.0f;
    h.NLAST = -4000.0f;
    h.reserved148.fill(0x5A);
    h.TUNIT.assign("SECS");
    h.reserved164.fill(0x11);
    h.RMSERR = 0.75f;
    h.RMSERR2 = 0.75f;
    h.XREG = {1, 2, 3, 4, 5};
    h.YREG = {-1, -2, -3, -4, -5};
    h.reserved260.fill(0x22);
    h.NREG = 3;
    h.XUNIT.assign("KM");
    h.ZUNIT.assign("M");
    h.FIELD = 50000.0f;
    h.FINCL = 65.0f;
    h.FDECL = -3.5f;
    h.ISUSUN = 2;
    h.IDENUN = 3;
    h.IELEV = 4;
    h.SENSHT = 1.5f;
    h.LMASKU = true;
    return h;
}

}  // namespace

TEST(ProfileHeaderLayout, FieldsSitAtTheirOffsets) {
    base::ByteWriter w;
    model::writeProfileHeader(w, sampleHeader());
    const auto& b = w.buffer();
    ASSERT_EQ(b.size(), model::kProfileHeaderSize);
    base::ByteReader r(b);
    EXPECT_EQ(r.text(20), "LINE 7              ");
    r.seek(64);
    EXPECT_EQ(r.text(8), "mgalnT  ");
    EXPECT_EQ(r.i32(), 41);
    r.seek(88);
    EXPECT_EQ(r.i32(), 5);
    r.seek(104);
    EXPECT_EQ(r.u32(), 0xA5A5A5A5u);
    r.seek(124);
    EXPECT_EQ(r.i32(), -1);
    r.seek(132);
    EXPECT_EQ(r.f32(), 1000.5f);
    r.seek(160);
    EXPECT_EQ(r.text(4), "SECS");
    r.seek(212);
    EXPECT_EQ(r.f32(), 0.75f);
    r.seek(240);
    EXPECT_EQ(r.f32(), -1.0f);
    r.seek(280);
    EXPECT_EQ(r.i32(), 3);
    EXPECT_EQ(r.text(8), "KM      ");
    r.seek(300);
    EXPECT_EQ(r.f32(), 50000.0f);
    r.seek(320);
    EXPECT_EQ(r.i32(), 4);
    EXPECT_EQ(r.f32(), 1.5f);
    EXPECT_EQ(r.i32(), -1);
}

TEST(ProfileHeaderLayout, RoundTripsEveryFieldAndReservedByte) {
    base::ByteWriter w;
    model::writeProfileHeader(w, sampleHeader());
    model::ProfileHeader back;
    EXPECT_TRUE(model::readProfileHeader(w.buffer(), back));
    EXPECT_EQ(back, sampleHeader());
}

TEST(ProfileHeaderLayout, TheDefaultRecordIsAllZeroBytes) {
    base::ByteWriter w;
    model::writeProfileHeader(w, model::ProfileHeader{});
    EXPECT_TRUE(std::all_of(w.buffer().begin(), w.buffer().end(), [](auto c) { return c == 0; }));
}

TEST(ProfileHeaderLayout, AShortBlockKeepsTheReadingDefaults) {
    base::ByteWriter w;
    model::writeProfileHeader(w, sampleHeader());
    std::vector<std::uint8_t> older(w.buffer().begin(), w.buffer().begin() + 284);
    model::ProfileHeader h;
    model::presetProfileHeaderForReading(h);
    EXPECT_FALSE(model::readProfileHeader(older, h));
    EXPECT_EQ(h.NREG, 3);
    EXPECT_EQ(h.XUNIT, "KM");
    EXPECT_EQ(h.ZUNIT, "KM");
    EXPECT_EQ(h.FIELD, 50000.0f);
    EXPECT_EQ(h.FINCL, 65.0f);
    EXPECT_EQ(h.IELEV, 1);
}

TEST(DatabaseHeaderLayout, FieldsSitAtTheirOffsetsAndRoundTrip) {
    model::DatabaseHeader h;
    h.DBNAME.assign("SITE");
    h.reserved24.fill(7);
    h.NPROF = 12;
    h.reserved36.fill(8);
    h.LDBSAV = true;
    h.reserved44.fill(9);
    base::ByteWriter w;
    model::writeDatabaseHeader(w, h);
    const auto& b = w.buffer();
    ASSERT_EQ(b.size(), model::kDatabaseHeaderSize);
    base::ByteReader r(b);
    EXPECT_EQ(r.text(24), "SITE                    ");
    EXPECT_EQ(r.u32(), 0x07070707u);
    r.seek(32);
    EXPECT_EQ(r.i32(), 12);
    r.seek(40);
    EXPECT_EQ(r.i32(), -1);
    model::DatabaseHeader back;
    EXPECT_TRUE(model::readDatabaseHeader(b, back));
    EXPECT_EQ(back, h);
}
