#include "base/little_endian.h"

#include <gtest/gtest.h>

using base::ByteReader;
using base::ByteWriter;

TEST(LittleEndian, WritesFieldsInLittleEndianOrder) {
    ByteWriter w;
    w.i16(0x0102);
    w.i32(-2);
    w.f32(1.0f);
    w.logical(true);
    w.text("AB", 4);
    std::vector<std::uint8_t> want = {0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80,
                                      0x3F, 0xFF, 0xFF, 0xFF, 0xFF, 'A',  'B',  ' ',  ' '};
    EXPECT_EQ(w.buffer(), want);
}

TEST(LittleEndian, ReadsBackWhatWasWritten) {
    ByteWriter w;
    w.i16(-300);
    w.i32(123456789);
    w.f32(-2.5f);
    w.f64(1.0e-300);
    w.logical(false);
    w.text(base::FixedString<6>("NAME"));
    auto bytes = w.take();
    ByteReader r(bytes);
    EXPECT_EQ(r.i16(), -300);
    EXPECT_EQ(r.i32(), 123456789);
    EXPECT_EQ(r.f32(), -2.5f);
    EXPECT_EQ(r.f64(), 1.0e-300);
    EXPECT_FALSE(r.logical());
    EXPECT_EQ(r.fixed<6>(), base::FixedString<6>("NAME"));
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(LittleEndian, LogicalIsTestedOnItsLowestBit) {
    std::vector<std::uint8_t> bytes = {1, 0, 0, 0, 2, 0, 0, 0};
    ByteReader r(bytes);
    EXPECT_TRUE(r.logical());
    EXPECT_FALSE(r.logical());
}

TEST(LittleEndian, ReadingPastTheEndFailsAndStaysFailed) {
    std::vector<std::uint8_t> bytes = {1, 2, 3};
    ByteReader r(bytes);
    EXPECT_EQ(r.i32(), 0);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.i16(), 0);  // would fit, but the reader has failed
    EXPECT_TRUE(r.bytes(1).empty());
}
