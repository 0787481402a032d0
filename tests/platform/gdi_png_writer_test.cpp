// The PNG encoder, checked by decoding its output with zlib.

#include <gtest/gtest.h>
#include <zlib.h>

#include "platform/gdi/png_writer.h"

using namespace win;

namespace {

std::uint32_t be32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

TEST(GdiPngWriter, WritesChunksWithValidCrcsAndTheRowsOfTheSurface) {
    Surface s(3, 2);
    s.at(0, 0) = 0xFF0000;
    s.at(1, 0) = 0x00FF00;
    s.at(2, 1) = 0x0000FF;
    const std::vector<std::uint8_t> png = encodePng(s);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::vector<std::uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<std::uint8_t>{137, 80, 78, 71, 13, 10, 26, 10}));
    std::size_t at = 8;
    std::vector<std::uint8_t> idat;
    std::vector<std::string> types;
    while (at + 12 <= png.size()) {
        const std::uint32_t len = be32(png, at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        types.push_back(type);
        const std::uint32_t crc = be32(png, at + 8 + len);
        EXPECT_EQ(crc, pngCrc(0, std::span(png.data() + at + 4, len + 4))) << type;
        if (type == "IHDR") {
            EXPECT_EQ(be32(png, at + 8), 3u);
            EXPECT_EQ(be32(png, at + 12), 2u);
            EXPECT_EQ(png[at + 16], 8);
            EXPECT_EQ(png[at + 17], 2);
        }
        if (type == "IDAT")
            idat.insert(idat.end(), png.begin() + at + 8, png.begin() + at + 8 + len);
        at += 12 + len;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    std::vector<std::uint8_t> raw(2 * (1 + 9));
    uLongf n = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &n, idat.data(), idat.size()), Z_OK);
    EXPECT_EQ(raw, (std::vector<std::uint8_t>{0, 255, 0, 0, 0, 255, 0, 0, 0, 0,  //
                                              0, 0,   0, 0, 0, 0,   0, 0, 0, 255}));
    EXPECT_EQ(
        pngCrc(0, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>("IEND"), 4)),
        0xAE426082u);
}

}  // namespace
