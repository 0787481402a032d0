#include "platform/kernel/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/kernel/errors.h"

namespace win {
namespace {

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string base = (std::filesystem::temp_directory_path() / "pelk-win-XXXXXX").string();
        dir_ = ::mkdtemp(base.data());
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    std::string dir_;
    std::filesystem::path old_;
};

std::string readAll(HANDLE h) {
    char buf[64];
    DWORD n = 0;
    ReadFile(h, buf, sizeof buf, &n, nullptr);
    return std::string(buf, n);
}

TEST_F(FilesTest, NamesResolveWhateverTheirCase) {
    HANDLE h = CreateFileA("site.tqm", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    WriteFile(h, "data", 4, &n, nullptr);
    CloseHandle(h);
    std::filesystem::create_directory("Sub");
    std::ofstream("Sub/Inner.Dat") << "inner";

    for (const std::string& name : std::vector<std::string>{
             "SITE.TQM", ".\\SITE.TQM", dir_ + "\\Site.Tqm", "C:" + dir_ + "/SITE.tqm"}) {
        h = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                        nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << name;
        EXPECT_EQ(readAll(h), "data");
        CloseHandle(h);
    }
    h = CreateFileA("SUB\\INNER.DAT", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(readAll(h), "inner");
    CloseHandle(h);
    // The file was created with the case given, and only once.
    EXPECT_TRUE(std::filesystem::exists("site.tqm"));
    std::set<std::string> names;
    for (auto& e : std::filesystem::directory_iterator("."))
        names.insert(e.path().filename());
    EXPECT_EQ(names, (std::set<std::string>{"Sub", "site.tqm"}));

    EXPECT_EQ(CreateFileA("none\\x.tqm", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(CreateFileA("nofile.tqm", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FilesTest, WildcardsFollowWindowsRules) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"*.*", "README", true},
        {"*.*", "a.b.c", true},
        {"*.TQM", "site.tqm", true},
        {"*.tqm", "site.tqm.bak", false},
        {"s?te.*", "SITE", true},
        {"s?te", "ste", false},
        {"*.", "noext", true},
        {"*.", "has.ext", false},
        {"a*b*c", "aXbYc", true},
        {"a*b*c", "aXbY", false},
        {"*", ".", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST_F(FilesTest, FindListsMatchesWithDetails) {
    std::ofstream("b.dat") << "12345";
    std::ofstream("A.DAT") << "1";
    std::ofstream("c.txt") << "";
    std::filesystem::create_directory("d.dat");
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(".\\*.DAT", &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::vector<std::string> found;
    do {
        found.push_back(data.cFileName);
        if (found.back() == "b.dat") {
            EXPECT_EQ(data.nFileSizeLow, 5u);
        }
        if (found.back() == "d.dat") {
            EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        }
    } while (FindNextFileA(h, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    FindClose(h);
    EXPECT_EQ(found, (std::vector<std::string>{"A.DAT", "b.dat", "d.dat"}));

    EXPECT_EQ(FindFirstFileA("*.xyz", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirstFileA("nodir\\*.*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FilesTest, DeleteMoveCopyAndDirectories) {
    std::ofstream("one.txt") << "1";
    EXPECT_TRUE(CopyFileA("ONE.TXT", "two.txt", FALSE));
    EXPECT_FALSE(CopyFileA("one.txt", "two.txt", TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_FALSE(MoveFileA("one.txt", "TWO.TXT"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(MoveFileA("one.txt", "three.txt"));
    EXPECT_TRUE(SetFileAttributesA("three.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(GetFileAttributesA("three.txt") & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(DeleteFileA("three.txt"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(SetFileAttributesA("three.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileA("THREE.TXT"));
    EXPECT_FALSE(DeleteFileA("three.txt"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    EXPECT_TRUE(CreateDirectoryA("NewDir", nullptr));
    EXPECT_FALSE(CreateDirectoryA("newdir", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(SetCurrentDirectoryA("NEWDIR"));
    char buf[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    EXPECT_EQ(std::string(buf, n), dir_ + "/NewDir");
    EXPECT_EQ(GetCurrentDirectoryA(3, buf), n + 1);
    EXPECT_TRUE(SetCurrentDirectoryA(".."));
    EXPECT_TRUE(RemoveDirectoryA("newdir"));
}

TEST_F(FilesTest, FullPathsAndDrives) {
    char buf[MAX_PATH];
    LPSTR part = nullptr;
    DWORD n = GetFullPathNameA("a\\..\\b\\.\\c.txt", sizeof buf, buf, &part);
    EXPECT_EQ(std::string(buf, n), dir_ + "/b/c.txt");
    EXPECT_STREQ(part, "c.txt");
    EXPECT_EQ(GetDriveTypeA("C:\\"), DRIVE_FIXED);
    EXPECT_EQ(GetDriveTypeA("Q:\\"), DRIVE_NO_ROOT_DIR);
    DWORD serial = 0;
    EXPECT_FALSE(GetVolumeInformationA("A:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
    EXPECT_TRUE(GetVolumeInformationA("C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
    EXPECT_NE(serial, 0u);
}

TEST_F(FilesTest, SizesBeyondTwoGigabytesAreReportedWhole) {
    HANDLE h = CreateFileA("big.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LONG high = 1;  // 4 GiB + 16: a sparse file, nothing is written in between
    SetFilePointer(h, 16, &high, FILE_BEGIN);
    DWORD n = 0;
    WriteFile(h, "x", 1, &n, nullptr);
    DWORD sizeHigh = 0;
    EXPECT_EQ(GetFileSize(h, &sizeHigh), 17u);
    EXPECT_EQ(sizeHigh, 1u);
    // Without a high part the position does not fit: refused, not wrapped.
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    CloseHandle(h);
    WIN32_FIND_DATAA data;
    HANDLE f = FindFirstFileA("big.bin", &data);
    EXPECT_EQ(data.nFileSizeHigh, 1u);
    EXPECT_EQ(data.nFileSizeLow, 17u);
    FindClose(f);
}

TEST(ErrorTexts, ComeFromTheSystemAndSurviveUnmappedErrors) {
    char buf[256];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, buf,
                             sizeof buf, nullptr);
    EXPECT_EQ(std::string(buf, n), "No such file or directory");
    DWORD code = errorFromErrno(EXDEV);
    EXPECT_EQ(systemErrorText(code), "Invalid cross-device link");
    EXPECT_EQ(
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 99999, 0, buf, sizeof buf, nullptr),
        0u);
}

}  // namespace
}  // namespace win
