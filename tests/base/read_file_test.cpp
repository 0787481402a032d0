#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "base/little_endian.h"

namespace {

namespace fs = std::filesystem;

// Bytes no two neighbouring pages or huge pages share.
std::vector<std::uint8_t> pattern(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::uint8_t>((i * 7919 + i / 4096) % 251);
    return v;
}

class ReadFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("pelk-read-file-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string file(const char* name) const { return (dir_ / name).string(); }
    fs::path dir_;
};

TEST_F(ReadFile, DeliversEveryByteOfFilesSmallAndLarge) {
    // Empty, one byte, past the read chunk, and across several huge pages at
    // an odd length.
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65536 + 3},
                             std::size_t{5 * 1024 * 1024 + 7}}) {
        const std::vector<std::uint8_t> want = pattern(size);
        ASSERT_TRUE(base::writeFile(file("f.bin"), want));
        base::ByteBuffer got;
        got.assign(3, 0xEE);  // what the buffer held before goes
        ASSERT_TRUE(base::readFile(file("f.bin"), got)) << size;
        EXPECT_TRUE(std::equal(got.begin(), got.end(), want.begin(), want.end())) << size;
    }
}

TEST_F(ReadFile, ReadsAPipeToItsEnd) {
    ASSERT_EQ(::mkfifo(file("pipe").c_str(), 0600), 0);
    const std::vector<std::uint8_t> want = pattern(300 * 1024);
    std::thread writer([&] {
        std::ofstream out(file("pipe"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(want.data()),
                  static_cast<std::streamsize>(want.size()));
    });
    base::ByteBuffer got;
    const bool read = base::readFile(file("pipe"), got);
    writer.join();
    ASSERT_TRUE(read);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), want.begin(), want.end()));
}

TEST_F(ReadFile, KeepsOnlyWhatAFileShorterThanItsSizeHolds) {
    // The system's files state a page as their size and hold a line.
    const std::string path = "/sys/kernel/mm/transparent_hugepage/enabled";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) GTEST_SKIP() << "no such file here";
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    base::ByteBuffer got;
    ASSERT_TRUE(base::readFile(path, got));
    EXPECT_EQ(std::string(got.begin(), got.end()), line + "\n");
    EXPECT_LT(static_cast<long long>(got.size()), static_cast<long long>(info.st_size));
}

TEST_F(ReadFile, AnswersFalseForWhatCannotBeRead) {
    base::ByteBuffer got;
    EXPECT_FALSE(base::readFile(file("missing"), got));
    EXPECT_FALSE(base::readFile(dir_.string(), got));  // a folder
}

}  // namespace
