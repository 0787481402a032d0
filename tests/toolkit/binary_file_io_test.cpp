#include "toolkit/core/binary_file_io.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core_test_support.h"
#include "platform/kernel/errors.h"
#include "toolkit/core/error_report.h"

namespace tk {
namespace {

class BinFileTest : public test::CoreTest {
  protected:
    test::TempDir dir;
    const std::string eight = std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
};

std::string bytesOf(const std::array<unsigned char, 8>& a) {
    return std::string(reinterpret_cast<const char*>(a.data()), a.size());
}

TEST_F(BinFileTest, ReadReversesWholeItems) {
    test::writeFile(dir.file("in.bin"), eight + "\x09");
    struct Case {
        int itemSize;
        std::string expected;
    };
    const Case cases[] = {
        {4, "\x04\x03\x02\x01\x08\x07\x06\x05\x09"},
        {2, "\x02\x01\x04\x03\x06\x05\x08\x07\x09"},
        {1, eight + "\x09"},
        {0, eight + "\x09"},
    };
    for (const auto& c : cases) {
        FileHandle h = -1;
        BinFileOpen("  in.bin  ", OpenRead, h);
        ASSERT_NE(h, -1);
        std::array<char, 9> buf{};
        int n = 0;
        BinFileRead(h, buf.data(), 9, n, c.itemSize);
        EXPECT_EQ(n, 9);
        // The odd ninth byte is no whole item and stays where it is.
        EXPECT_EQ(std::string(buf.data(), 9), c.expected) << c.itemSize;
        BinFileRead(h, buf.data(), 9, n, c.itemSize);
        EXPECT_EQ(n, 0);
        FileHandleClose(h);
    }
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

TEST_F(BinFileTest, WriteReversesInTheFileAndRestoresTheBuffer) {
    for (int itemSize : {4, 2}) {
        FileHandle h = -1;
        BinFileOpen(dir.file("out.bin"), OpenCreate, h);
        std::array<unsigned char, 8> buf = {1, 2, 3, 4, 5, 6, 7, 8};
        int n = 0;
        BinFileWrite(h, buf.data(), 8, n, itemSize);
        EXPECT_EQ(n, 8);
        EXPECT_EQ(bytesOf(buf), eight);
        FileHandleClose(h);
        EXPECT_EQ(test::readFile(dir.file("out.bin")), itemSize == 4
                                                           ? "\x04\x03\x02\x01\x08\x07\x06\x05"
                                                           : "\x02\x01\x04\x03\x06\x05\x08\x07");
    }
}

TEST_F(BinFileTest, FailedWriteStillRestoresTheBuffer) {
    test::writeFile(dir.file("ro.bin"), "x");
    FileHandle h = -1;
    BinFileOpen("ro.bin", OpenRead, h);
    std::array<unsigned char, 8> buf = {1, 2, 3, 4, 5, 6, 7, 8};
    int n = 0;
    BinFileWrite(h, buf.data(), 8, n, 4);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(bytesOf(buf), eight);
    EXPECT_EQ(toolkitState().LastErrorNumber, 2);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "BinFileWrite");
    EXPECT_EQ(toolkitState().ErrorCategory, 2);
    FileHandleClose(h);
}

TEST_F(BinFileTest, OpenFailures) {
    struct Case {
        std::string name;
        int mode;
        int osCode;
    };
    const Case cases[] = {
        {"x.bin", 3, 0},
        {"x.bin", -1, 0},
        {"      ", 0, 0},
        {"missing.bin", 0, static_cast<int>(win::ERROR_FILE_NOT_FOUND)},
        {"missing.bin", 2, static_cast<int>(win::ERROR_FILE_NOT_FOUND)},
    };
    for (const auto& c : cases) {
        toolkitState().LastErrorNumber = 0;
        FileHandle h = 7;
        BinFileOpen(c.name, c.mode, h);
        EXPECT_EQ(h, -1);
        EXPECT_EQ(toolkitState().LastErrorNumber, 1);
        EXPECT_EQ(toolkitState().FileOsErrorCode, c.osCode) << c.name << c.mode;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.bin")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.bin")));
}

TEST_F(BinFileTest, CreateTruncatesAndSharingFollowsTheMode) {
    test::writeFile(dir.file("f.bin"), "old contents");
    FileHandle writer = -1;
    BinFileOpen("f.bin", OpenCreate, writer);
    EXPECT_EQ(std::filesystem::file_size(dir.file("f.bin")), 0u);
    FileHandle other = -1;
    BinFileOpen("f.bin", OpenReadWrite, other);  // a writer allows readers only
    EXPECT_EQ(other, -1);
    EXPECT_EQ(toolkitState().FileOsErrorCode, static_cast<int>(win::ERROR_SHARING_VIOLATION));
    FileHandleClose(writer);

    FileHandle reader = -1;
    BinFileOpen("f.bin", OpenRead, reader);
    BinFileOpen("f.bin", OpenReadWrite, other);  // a reader shares writing
    EXPECT_NE(other, -1);
    FileHandleClose(other);
    FileHandleClose(reader);
}

TEST_F(BinFileTest, SeekReportsPositions) {
    test::writeFile(dir.file("s.bin"), "0123456789");
    FileHandle h = -1;
    BinFileOpen("s.bin", OpenRead, h);
    int offset = 0;
    BinFileSeek(h, offset, SeekEnd);
    EXPECT_EQ(offset, 10);
    offset = 3;
    BinFileSeek(h, offset, SeekStart);
    offset = 0;
    BinFileSeek(h, offset, SeekCurrent);
    EXPECT_EQ(offset, 3);
    offset = 5;
    BinFileSeek(h, offset, 3);  // no such origin: nothing happens
    EXPECT_EQ(offset, 5);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    offset = -20;
    BinFileSeek(h, offset, SeekCurrent);
    EXPECT_EQ(offset, -1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 2);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "BinFileSeek");
    FileHandleClose(h);
}

TEST_F(BinFileTest, SeekBeyondThirtyTwoBitsIsRefusedNotWrapped) {
    FileHandle h = -1;
    BinFileOpen("big.bin", OpenCreate, h);
    int offset = 0x7FFFFFF0;
    BinFileSeek(h, offset, SeekStart);
    EXPECT_EQ(offset, 0x7FFFFFF0);
    offset = 0x20;
    BinFileSeek(h, offset, SeekCurrent);
    EXPECT_EQ(offset, -1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 2);
    offset = 0;
    BinFileSeek(h, offset, SeekCurrent);
    EXPECT_EQ(offset, 0x7FFFFFF0);  // where it was
    FileHandleClose(h);
}

TEST_F(BinFileTest, ReadOnAnInvalidHandleReportsOnce) {
    std::array<char, 4> buf{};
    int n = 0;
    SetErrorReportMode(3);
    int reports = 0;
    seams().rootStatusText = [&](std::string_view) { ++reports; };
    BinFileReadChar(-1, buf.data(), 4, n);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "BinFileReadChar");
    EXPECT_EQ(toolkitState().FileOsErrorCode, static_cast<int>(win::ERROR_INVALID_HANDLE));
}

// Every read and write entry moves the same bytes the same way and reports
// under its family's name.
TEST_F(BinFileTest, EveryByteEntryReadsAndWritesAlike) {
    using Entry = void (*)(FileHandle, void*, int, int&, int);
    const std::array<std::pair<Entry, Entry>, 8> entries{{
        {ReadBytesEntry1, WriteBytesEntry1}, {ReadBytesEntry2, WriteBytesEntry2},
        {ReadBytesEntry3, WriteBytesEntry3}, {ReadBytesEntry4, WriteBytesEntry4},
        {ReadBytesEntry5, WriteBytesEntry5}, {ReadBytesEntry6, WriteBytesEntry6},
        {ReadBytesEntry7, WriteBytesEntry7}, {ReadBytesEntry8, WriteBytesEntry8},
    }};
    for (std::size_t k = 0; k < entries.size(); ++k) {
        SCOPED_TRACE(k + 1);
        const auto [read, write] = entries[k];
        FileHandle h = -1;
        BinFileOpen(dir.file("entry.bin"), OpenCreate, h);
        std::array<unsigned char, 8> buf = {1, 2, 3, 4, 5, 6, 7, 8};
        int n = 0;
        write(h, buf.data(), 8, n, 4);
        EXPECT_EQ(n, 8);
        FileHandleClose(h);
        EXPECT_EQ(test::readFile(dir.file("entry.bin")), "\x04\x03\x02\x01\x08\x07\x06\x05");
        BinFileOpen(dir.file("entry.bin"), OpenRead, h);
        std::array<unsigned char, 8> back{};
        read(h, back.data(), 8, n, 4);
        EXPECT_EQ(bytesOf(back), eight);
        FileHandleClose(h);
        read(-1, back.data(), 8, n, 0);
        EXPECT_EQ(n, -1);
        EXPECT_EQ(toolkitState().LastErrorRoutine, "BinFileRead");
        write(-1, buf.data(), 8, n, 0);
        EXPECT_EQ(n, -1);
        EXPECT_EQ(toolkitState().LastErrorRoutine, "BinFileWrite");
    }
}

}  // namespace
}  // namespace tk
