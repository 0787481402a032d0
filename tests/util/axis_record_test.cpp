#include "util/axis_record.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

using util::AxisRecord;

namespace {

std::vector<std::uint8_t> bytesOf(const AxisRecord& a) {
    base::ByteWriter w;
    util::writeAxisRecord(w, a);
    return w.take();
}

std::uint32_t wordAt(const std::vector<std::uint8_t>& b, std::size_t offset) {
    return static_cast<std::uint32_t>(b.at(offset)) |
           (static_cast<std::uint32_t>(b.at(offset + 1)) << 8) |
           (static_cast<std::uint32_t>(b.at(offset + 2)) << 16) |
           (static_cast<std::uint32_t>(b.at(offset + 3)) << 24);
}

float realAt(const std::vector<std::uint8_t>& b, std::size_t offset) {
    return std::bit_cast<float>(wordAt(b, offset));
}

// Every field gets a value of its own so that a swapped pair shows.
AxisRecord distinctRecord() {
    AxisRecord a;
    float* reals[] = {&a.originX,      &a.originY,  &a.divLengthX, &a.divLengthY, &a.startX,
                      &a.startY,       &a.stepX,    &a.stepY,      &a.offsetX,    &a.offsetY,
                      &a.scaleX,       &a.scaleY,   &a.tickLength, &a.extentLeft, &a.extentRight,
                      &a.extentLabelY, &a.clipXMin, &a.clipXMax,   &a.clipYMin,   &a.clipYMax};
    float v = 1.5f;
    for (float* r : reals)
        *r = (v += 1.25f);
    a.divCountX = -4;
    a.divCountY = 7;
    a.firstDecadeX = -2;
    a.firstDecadeY = 5;
    a.markerType = 11;
    a.yExtra1 = {0xDE, 0xAD, 0xBE, 0xEF};
    a.yExtra2 = {0x01, 0x00, 0x80, 0x7F};
    a.logX = true;
    a.tickLengthSwitch = true;
    a.noTurningBreaks = true;
    a.xLabelsBelow = true;
    a.yLabelsRight = true;
    return a;
}

}  // namespace

TEST(AxisRecord, FieldsSitAtTheirFixedOffsets) {
    AxisRecord a = distinctRecord();
    auto b = bytesOf(a);
    ASSERT_EQ(b.size(), util::kAxisRecordSize);
    struct RealAt {
        std::size_t offset;
        float value;
    };
    for (auto [offset, value] :
         {RealAt{0, a.originX},       RealAt{4, a.originY},     RealAt{8, a.divLengthX},
          RealAt{12, a.divLengthY},   RealAt{16, a.startX},     RealAt{20, a.startY},
          RealAt{24, a.stepX},        RealAt{28, a.stepY},      RealAt{32, a.offsetX},
          RealAt{36, a.offsetY},      RealAt{40, a.scaleX},     RealAt{44, a.scaleY},
          RealAt{48, a.tickLength},   RealAt{52, a.extentLeft}, RealAt{56, a.extentRight},
          RealAt{60, a.extentLabelY}, RealAt{64, a.clipXMin},   RealAt{68, a.clipXMax},
          RealAt{72, a.clipYMin},     RealAt{76, a.clipYMax}})
        EXPECT_EQ(realAt(b, offset), value) << "offset " << offset;
    EXPECT_EQ(wordAt(b, 80), static_cast<std::uint32_t>(-4));
    EXPECT_EQ(wordAt(b, 84), 7u);
    EXPECT_EQ(wordAt(b, 88), static_cast<std::uint32_t>(-2));
    EXPECT_EQ(wordAt(b, 92), 5u);
    EXPECT_EQ(wordAt(b, 96), 11u);
    EXPECT_EQ(wordAt(b, 100), 0xEFBEADDEu);
    EXPECT_EQ(wordAt(b, 104), 0x7F800001u);
    const std::uint32_t T = 0xFFFFFFFFu, F = 0;
    std::uint32_t logicals[] = {T, F, T, F, T, F, T, F, T, F};
    for (std::size_t k = 0; k < 10; ++k)
        EXPECT_EQ(wordAt(b, 108 + 4 * k), logicals[k]) << "offset " << 108 + 4 * k;
}

TEST(AxisRecord, BytesRoundTripExactly) {
    // Any block whose logicals are 0 or all ones comes back byte for byte;
    // the extra words of the y half are carried whatever they hold.
    std::vector<std::uint8_t> block(util::kAxisRecordSize);
    for (std::size_t k = 0; k < 108; ++k)
        block[k] = static_cast<std::uint8_t>(37 * k + 11);
    for (std::size_t k = 108; k < 148; ++k)
        block[k] = ((k - 108) / 4) % 3 == 0 ? 0xFF : 0;
    base::ByteReader r(block);
    AxisRecord a = util::readAxisRecord(r);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_EQ(bytesOf(a), block);
    EXPECT_EQ(a.yExtra1[0], block[100]);

    AxisRecord d = distinctRecord();
    auto b = bytesOf(d);
    base::ByteReader r2(b);
    EXPECT_EQ(util::readAxisRecord(r2), d);
}

TEST(AxisRecord, DefaultIsAllZeroAndLogicalsAreTestedOnBitZero) {
    EXPECT_EQ(bytesOf(AxisRecord{}), std::vector<std::uint8_t>(util::kAxisRecordSize, 0));

    std::vector<std::uint8_t> block(util::kAxisRecordSize, 0);
    block[112] = 1;  // log y written elsewhere as 1
    block[116] = 2;  // bit 0 clear: false
    base::ByteReader r(block);
    AxisRecord a = util::readAxisRecord(r);
    EXPECT_TRUE(a.logY);
    EXPECT_FALSE(a.tickLengthSwitch);
}

TEST(AxisRecord, ShortBufferFailsTheReader) {
    std::vector<std::uint8_t> block(util::kAxisRecordSize - 1, 0);
    base::ByteReader r(block);
    (void)util::readAxisRecord(r);
    EXPECT_FALSE(r.ok());
}
