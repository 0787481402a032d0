#include "util/binary_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "toolkit/core/toolkit_state.h"

namespace util {
namespace {

class BinaryFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tk::toolkitState().reset();
        std::string base = (std::filesystem::temp_directory_path() / "pelk-util-XXXXXX").string();
        dir_ = ::mkdtemp(base.data());
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string file(const std::string& name) const { return dir_ + "/" + name; }
    std::string contents(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string dir_;
};

TEST_F(BinaryFileTest, HeaderIsExactlyTwentyLittleEndianBytes) {
    int ih = MAKEFIL(file("db.tqm"));
    ASSERT_NE(ih, -1);
    EXPECT_EQ(IRITHEAD(ih, "MAP", 1, -2, 0x01020304), 0);
    ICLSFIL(ih);
    const std::string expected("MAP     \x01\x00\x00\x00\xFE\xFF\xFF\xFF\x04\x03\x02\x01", 20);
    EXPECT_EQ(contents("db.tqm"), expected);
}

TEST_F(BinaryFileTest, HeaderStopsAtTheFirstIncompleteTransfer) {
    { std::ofstream(file("ro.tqm")) << "x"; }
    int ih = IOPNRLY(file("ro.tqm"));
    EXPECT_EQ(IRITHEAD(ih, "PelkFile", 1, 2, 3), 9);  // 8 + 1: the failed tag write
    ICLSFIL(ih);
}

TEST_F(BinaryFileTest, ShortfallsOfReadsAndWrites) {
    int ih = MAKEFIL(file("d.bin"));
    EXPECT_EQ(IRITFIL(ih, "abcdefghij", 10), 0);
    const std::int32_t values[2] = {7, 8};
    EXPECT_EQ(JRITFIL2(ih, values, 8), 0);
    ICLSFIL(ih);

    ih = IOPNFIL(file("d.bin"));
    EXPECT_EQ(ISETFIL(ih, 0), 0);
    int pos = -5;
    EXPECT_EQ(IADVFIL(ih, 0, pos), 0);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(IADVFIL(ih, 13, pos), 0);
    EXPECT_EQ(pos, 13);
    char buf[8];
    EXPECT_EQ(IREDFIL(ih, buf, 8), 3);  // five bytes before the end
    EXPECT_EQ(ISETFIL(ih, 10), 0);
    std::int32_t back[2] = {};
    EXPECT_EQ(JREDFIL3(ih, back, 8), 0);
    EXPECT_EQ(back[0], 7);
    EXPECT_EQ(back[1], 8);
    ICLSFIL(ih);

    EXPECT_EQ(IREDFIL(-1, buf, 8), 9);
    EXPECT_EQ(ICREDFIL(-1, buf, 4), 5);
    EXPECT_EQ(tk::toolkitState().LastErrorNumber, 2);
    EXPECT_EQ(IOPNRLY(file("none.bin")), -1);
}

TEST_F(BinaryFileTest, SwapsAndNibbles) {
    unsigned char a[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    F4SWAP(a, 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(a), 8),
              std::string("\x04\x03\x02\x01\x05\x06\x07\x08"));
    unsigned char b[4] = {1, 2, 3, 4};
    I2SWAP(b, 2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 4), std::string("\x02\x01\x04\x03"));
    unsigned char c[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    F8SWAP(c, 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(c), 8),
              std::string("\x08\x07\x06\x05\x04\x03\x02\x01"));
    F8SWAP(c, 0);
    EXPECT_EQ(c[0], 8);

    const std::uint8_t bytes[2] = {0xF7, 0x18};
    int k[4];
    SPLEXP(bytes, k);
    EXPECT_EQ(k[0], 7);
    EXPECT_EQ(k[1], -1);
    EXPECT_EQ(k[2], -8);
    EXPECT_EQ(k[3], 1);
}

}  // namespace
}  // namespace util
