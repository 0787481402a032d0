#include "toolkit/core/memory_compression.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "core_test_support.h"
#include "toolkit/core/error_report.h"

namespace tk {
namespace {

class MemCompressTest : public test::CoreTest {};

std::vector<unsigned char> sample() {
    std::vector<unsigned char> v;
    for (int i = 0; i < 5000; ++i)
        v.push_back(static_cast<unsigned char>((i * 7) % 251));
    return v;
}

TEST_F(MemCompressTest, RoundTripWithHeaderAndChecksum) {
    auto data = sample();
    std::vector<unsigned char> packed(data.size() + 64);
    int packedLength = static_cast<int>(packed.size());
    MemCompress(data.data(), packed.data(), static_cast<int>(data.size()), packedLength);
    ASSERT_GT(packedLength, 6);
    EXPECT_EQ(packed[0], 0x78);
    EXPECT_EQ(packed[1], 0x9C);
    uLong sum = adler32(adler32(0, nullptr, 0), data.data(), static_cast<uInt>(data.size()));
    std::size_t end = static_cast<std::size_t>(packedLength);
    EXPECT_EQ((uLong{packed[end - 4]} << 24) | (uLong{packed[end - 3]} << 16) |
                  (uLong{packed[end - 2]} << 8) | packed[end - 1],
              sum);

    std::vector<unsigned char> back(data.size());
    int backLength = static_cast<int>(back.size());
    MemUncompress(packed.data(), back.data(), packedLength, backLength);
    EXPECT_EQ(backLength, static_cast<int>(data.size()));
    EXPECT_EQ(back, data);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

TEST_F(MemCompressTest, DestinationOneByteShortIsABufferError) {
    auto data = sample();
    std::vector<unsigned char> packed(data.size() + 64);
    int packedLength = static_cast<int>(packed.size());
    MemCompress(data.data(), packed.data(), static_cast<int>(data.size()), packedLength);

    std::vector<std::string> shown;
    seams().rootStatusText = [&](std::string_view t) { shown.emplace_back(t); };
    SetErrorReportMode(3);
    std::vector<unsigned char> back(data.size() - 1);
    int backLength = static_cast<int>(back.size());
    MemUncompress(packed.data(), back.data(), packedLength, backLength);
    EXPECT_EQ(backLength, 0);
    EXPECT_EQ(toolkitState().OsErrorCode, Z_BUF_ERROR);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(
        shown[0],
        "Routine:MemUncompress Error=1044:Zlib compression/decompression error: buffer error");
}

TEST_F(MemCompressTest, GarbageIsADataError) {
    const unsigned char junk[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    unsigned char out[64];
    int outLength = sizeof out;
    MemUncompress(junk, out, sizeof junk, outLength);
    EXPECT_EQ(outLength, 0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1044);
    EXPECT_EQ(toolkitState().OsErrorCode, Z_DATA_ERROR);
}

TEST_F(MemCompressTest, SecondEntriesCompressAndReportAlike) {
    auto data = sample();
    std::vector<unsigned char> packed(data.size() + 64);
    int packedLength = static_cast<int>(packed.size());
    CompressEntry2(data.data(), packed.data(), static_cast<int>(data.size()), packedLength);
    std::vector<unsigned char> back(data.size());
    int backLength = static_cast<int>(back.size());
    UncompressEntry2(packed.data(), back.data(), packedLength, backLength);
    EXPECT_EQ(back, data);
    backLength = 10;
    UncompressEntry2(packed.data(), back.data(), packedLength, backLength);
    EXPECT_EQ(backLength, 0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1044);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "MemUncompress");
}

}  // namespace
}  // namespace tk
