#include "toolkit/core/file_services.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "platform/kernel/errors.h"
#include "toolkit/core/error_report.h"

namespace tk {
namespace {

namespace fs = std::filesystem;

class FileServicesTest : public test::CoreTest {
  protected:
    test::TempDir dir;

    // OsDirInfo into fields of the given width; the names without padding.
    std::vector<std::string> listing(std::string_view directory, std::string_view pattern,
                                     int capacity, std::size_t width = 20) {
        std::vector<std::string> storage(static_cast<std::size_t>(capacity),
                                         std::string(width, '?'));
        std::vector<TextOut> fields;
        for (auto& s : storage)
            fields.emplace_back(s.data(), s.size());
        int count = capacity;
        OsDirInfo(directory, pattern, fields, count);
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i)
            out.push_back(test::trimmed(storage[static_cast<std::size_t>(i)]));
        return out;
    }
    std::vector<std::string> reports;
    void captureReports() {
        seams().rootStatusText = [this](std::string_view t) { reports.emplace_back(t); };
        SetErrorReportMode(3);
    }
};

TEST_F(FileServicesTest, WildcardDeleteSkipsMatchingFolders) {
    fs::create_directory("data");
    for (const char* name : {"one.dat", "TWO.DAT", "three.txt"})
        test::writeFile("data/" + std::string(name), "x");
    fs::create_directory("data/keep.dat");
    OsDeleteFile("data\\*.dat");
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    EXPECT_FALSE(fs::exists("data/one.dat"));
    EXPECT_FALSE(fs::exists("data/TWO.DAT"));
    EXPECT_TRUE(fs::exists("data/three.txt"));
    EXPECT_TRUE(fs::is_directory("data/keep.dat"));
}

TEST_F(FileServicesTest, DeletingWhatIsNotThereReportsTheSystemText) {
    captureReports();
    OsDeleteFile("nothing.tqm");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Routine:OsDeleteFile Error=  13:Operating system error: " +
                              win::systemErrorText(win::ERROR_FILE_NOT_FOUND));
    OsDeleteFile("   ");  // blank: nothing at all
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(FileServicesTest, DeleteGoesOnAfterOneFailure) {
    test::writeFile("a.tmp", "x");
    test::writeFile("b.tmp", "x");
    fs::permissions("a.tmp", fs::perms::owner_read);
    OsDeleteFile("*.tmp");
    EXPECT_EQ(toolkitState().LastErrorNumber, 13);
    EXPECT_EQ(toolkitState().OsErrorCode, static_cast<int>(win::ERROR_ACCESS_DENIED));
    EXPECT_TRUE(fs::exists("a.tmp"));
    EXPECT_FALSE(fs::exists("b.tmp"));
}

TEST_F(FileServicesTest, CopyRules) {
    test::writeFile("src.txt", "content");
    fs::create_directory("out");
    OsCopyFile("src.txt", "src.txt");
    EXPECT_EQ(toolkitState().LastErrorNumber, 55);
    toolkitState().LastErrorNumber = 0;
    OsCopyFile("src.txt", "SRC.TXT");  // the same file in other case: the system refuses
    EXPECT_EQ(toolkitState().LastErrorNumber, 13);
    toolkitState().LastErrorNumber = 0;
    OsCopyFile("src.txt", "out\\");
    EXPECT_EQ(test::readFile("out/src.txt"), "content");
    test::writeFile("a.dat", "A");
    test::writeFile("b.dat", "B");
    fs::create_directory("c.dat");
    OsCopyFile("*.dat", "out");
    EXPECT_EQ(test::readFile("out/a.dat"), "A");
    EXPECT_EQ(test::readFile("out/b.dat"), "B");
    EXPECT_FALSE(fs::exists("out/c.dat"));
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    OsRenameFile("out\\a.dat", "out\\z.dat");
    EXPECT_TRUE(fs::exists("out/z.dat"));
    OsRenameFile("out\\b.dat", "out\\z.dat");
    EXPECT_EQ(toolkitState().LastErrorNumber, 13);
}

TEST_F(FileServicesTest, ListingIsSortedIgnoringCase) {
    for (const char* name : {"b1", "A2", "a3", "B0.x"})
        test::writeFile(name, "");
    fs::create_directory("sub");
    EXPECT_EQ(listing("", "", 10), (std::vector<std::string>{"A2", "a3", "B0.x", "b1"}));
    EXPECT_EQ(listing(dir.path(), "*.x", 10), (std::vector<std::string>{"B0.x"}));
    EXPECT_EQ(listing(dir.path() + "/", "nomatch*", 10), std::vector<std::string>{});
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    ParseAttributeLetters("d");
    EXPECT_EQ(listing(".", "*.*", 10), (std::vector<std::string>{".", "..", "sub"}));
    ParseAttributeLetters("fD");
    EXPECT_EQ(listing(".", "*.*", 10).size(), 7u);
    listing("nodir", "", 10);
    EXPECT_EQ(toolkitState().LastErrorNumber, 13);
}

TEST_F(FileServicesTest, ListingBeyondTheCapacityKeepsWhatFits) {
    for (const char* name : {"e", "D", "c", "B", "a"})
        test::writeFile(name, "");
    auto names = listing("", "", 2);
    EXPECT_EQ(names.size(), 2u);
    EXPECT_LE(test::trimmed(names[0]), names[1]);
    EXPECT_EQ(toolkitState().LastErrorNumber, 40);
    int count = 0;
    DirEntryCount("", "", count);
    EXPECT_EQ(count, 5);
}

TEST_F(FileServicesTest, DetailsFollowTheirNames) {
    test::writeFile("zz.bin", "12345");
    test::writeFile("aa.bin", "1");
    std::string a(10, ' '), b(10, ' ');
    std::vector<TextOut> fields = {TextOut(a.data(), 10), TextOut(b.data(), 10)};
    std::vector<int> dates(2), sizes(2);
    int count = 2;
    DirEntryDetails("", "*.BIN", fields, count, dates, sizes);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(test::trimmed(a), "aa.bin");
    EXPECT_EQ(sizes, (std::vector<int>{1, 5}));
    EXPECT_GT(dates[0] >> 25, 40);  // years since 1980
}

TEST_F(FileServicesTest, AttributeLetters) {
    char text[2];
    FormatAttributeLetters(text);
    EXPECT_EQ(test::text(text), "F ");
    ParseAttributeLetters("fd");
    FormatAttributeLetters(text);
    EXPECT_EQ(test::text(text), "FD");
    ParseAttributeLetters("D");
    FormatAttributeLetters(text);
    EXPECT_EQ(test::text(text), " D");
}

TEST_F(FileServicesTest, DirectoryExistsQuietly) {
    fs::create_directory("Folder");
    test::writeFile("file.txt", "");
    SetErrorReportMode(4);
    toolkitState().LastErrorNumber = 77;
    EXPECT_TRUE(DirectoryExists(dir.path() + "/Folder"));
    EXPECT_TRUE(DirectoryExists("FOLDER"));
    EXPECT_FALSE(DirectoryExists("file.txt"));
    EXPECT_FALSE(DirectoryExists("missing"));
    EXPECT_FALSE(DirectoryExists("   "));
    EXPECT_TRUE(DirectoryExists("C:\\"));
    EXPECT_FALSE(DirectoryExists("Q:\\"));
    EXPECT_TRUE(DirectoryExists("\\"));
    EXPECT_EQ(toolkitState().LastErrorNumber, 77);
    EXPECT_EQ(toolkitState().ErrorReportMode, 4);
    EXPECT_TRUE(toolkitState().ListFiles);
    EXPECT_FALSE(toolkitState().ListDirectories);
    EXPECT_TRUE(win::testing::messageBoxes().empty());
}

TEST_F(FileServicesTest, FileInformation) {
    test::writeFile("k.bin", std::string(1025, 'x'));
    int info[9] = {};
    FileInfoQuery("K.BIN", info, 9);
    EXPECT_EQ(info[0], 1025);
    EXPECT_GE(info[1], 2020);
    EXPECT_TRUE(info[7] & 0x20);
    EXPECT_EQ(info[8], 2);
    int few[9] = {0, -5, -5, -5, -5, -5, -5, -5, -5};
    FileInfoQuery("k.bin", few, 0);
    EXPECT_EQ(few[0], 1025);
    EXPECT_EQ(few[1], -5);
    FileInfoQuery("none.bin", info, 9);
    EXPECT_EQ(info[0], -1);
    FileInfoQuery("  ", info, 9);
    EXPECT_EQ(info[0], -1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

TEST_F(FileServicesTest, HugeFileSizesAreCappedNotWrapped) {
    {
        std::FILE* f = std::fopen("huge.bin", "wb");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
        fs::resize_file("huge.bin", (std::uintmax_t{1} << 32) + 17);  // sparse
    }
    int info[9] = {};
    FileInfoQuery("huge.bin", info, 9);
    EXPECT_EQ(info[0], 2147483647);
    EXPECT_EQ(info[8], 4194305);
}

TEST_F(FileServicesTest, CurrentDirectory) {
    OsDirMake("Made");
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    OsDirMake("made");
    EXPECT_EQ(toolkitState().LastErrorNumber, 13);
    toolkitState().LastErrorNumber = 0;
    OsDirChange("MADE");
    char name[300];
    OsDirName(name);
    EXPECT_EQ(test::trimmed(test::text(name)), dir.path() + "/Made");
    char small[4];
    OsDirName(small);
    EXPECT_EQ(test::text(small), "    ");
    EXPECT_EQ(toolkitState().LastErrorNumber, 1023);
    OsDirChange("no such folder");
    EXPECT_EQ(toolkitState().LastErrorNumber, 13);
    EXPECT_EQ(toolkitState().OsErrorCode, static_cast<int>(win::ERROR_PATH_NOT_FOUND));
}

}  // namespace
}  // namespace tk
