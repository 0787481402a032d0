// Directory listings in list and combo boxes and the dialog helpers that go
// from folder to folder with them.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "platform/kernel/files.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

namespace fs = std::filesystem;

class ListDirTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        before = fs::current_path();
        folder = fs::temp_directory_path() / ("pelk_list_dir_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "sub");
        fs::create_directories(folder / ".cache");
        for (const char* name : {"a.txt", "B.TXT", "c.dat", "ro.txt", ".hidden.txt"})
            std::ofstream(folder / name) << "x";
        ::chmod((folder / "ro.txt").c_str(), 0444);
        host = CreateWindowExA(0, "RECORDER", "Dir", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400,
                               300, nullptr, nullptr, nullptr, nullptr);
        list = make("ListBox", WS_VSCROLL, 10, 200);
        combo = make("ComboBox", CBS_DROPDOWNLIST, 11, 100);
        path = make("Static", 0, 12, 20);
    }
    void TearDown() override {
        fs::current_path(before);
        fs::remove_all(folder);
        WindowTest::TearDown();
    }
    HWND make(const char* cls, DWORD style, int id, int height) {
        return CreateWindowExA(
            0, cls, "", WS_CHILD | WS_VISIBLE | style, 10, 10 + id * 5, 200, height, host,
            reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr, nullptr);
    }
    std::vector<std::string> items(HWND control, UINT countMsg = LB_GETCOUNT,
                                   UINT textMsg = LB_GETTEXT) {
        std::vector<std::string> out;
        const LRESULT n = SendMessageA(control, countMsg, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            char buf[256] = {};
            SendMessageA(control, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
            out.emplace_back(buf);
        }
        return out;
    }
    fs::path before, folder;
    HWND host = nullptr, list = nullptr, combo = nullptr, path = nullptr;
};

using Names = std::vector<std::string>;

}  // namespace

// Which names each set of flags lists; folders whatever the pattern, in
// brackets, and the one drive as "[-c-]".
TEST_F(ListDirTest, FlagsChooseTheFilesFoldersAndDrives) {
    const std::string spec = folder.string() + "/*.TXT";
    struct Case {
        UINT flags;
        Names expected;
    };
    const Case cases[] = {
        {DDL_READWRITE, {"a.txt", "B.TXT"}},
        {DDL_READONLY, {"a.txt", "B.TXT", "ro.txt"}},
        {DDL_DIRECTORY, {"[..]", "a.txt", "B.TXT", "[sub]"}},
        {DDL_DIRECTORY | DDL_EXCLUSIVE, {"[..]", "[sub]"}},
        {DDL_READONLY | DDL_EXCLUSIVE, {"ro.txt"}},
        {DDL_HIDDEN | DDL_DIRECTORY,
         {"[..]", "[.cache]", ".hidden.txt", "a.txt", "B.TXT", "[sub]"}},
        {DDL_DRIVES | DDL_EXCLUSIVE, {"[-c-]"}},
        {DDL_DRIVES, {"a.txt", "B.TXT", "[-c-]"}},
    };
    for (const Case& c : cases) {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        const LRESULT last =
            SendMessageA(list, LB_DIR, c.flags, reinterpret_cast<LPARAM>(spec.c_str()));
        EXPECT_EQ(items(list), c.expected) << "flags " << c.flags;
        EXPECT_EQ(last, static_cast<LRESULT>(c.expected.size()) - 1) << "flags " << c.flags;
    }
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(list, LB_DIR, 0,
                           reinterpret_cast<LPARAM>((folder.string() + "/missing/*").c_str())),
              LB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_DIR, DDL_READWRITE,
                           reinterpret_cast<LPARAM>((folder.string() + "/*.dat").c_str())),
              0);
    EXPECT_EQ(items(combo, CB_GETCOUNT, CB_GETLBTEXT), Names{"c.dat"});
}

// The dialog helpers enter the folder of the path pattern, show where they
// are, and tell folders and drives from files in the selection.
TEST_F(ListDirTest, DialogHelpersEnterFoldersAndReadTheSelection) {
    char spec[260];
    std::snprintf(spec, sizeof spec, "%s/*.txt", folder.string().c_str());
    ASSERT_TRUE(DlgDirListA(host, spec, 10, 12, DDL_DIRECTORY));
    EXPECT_STREQ(spec, "*.txt");
    EXPECT_EQ(fs::current_path(), fs::canonical(folder));
    EXPECT_EQ(robot::windowText(path), fs::canonical(folder).string());
    EXPECT_EQ(items(list), (Names{"[..]", "a.txt", "B.TXT", "[sub]"}));
    char out[64];
    SendMessageA(list, LB_SETCURSEL, 3, 0);
    EXPECT_TRUE(DlgDirSelectExA(host, out, sizeof out, 10));
    EXPECT_STREQ(out, "sub\\");
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    EXPECT_FALSE(DlgDirSelectExA(host, out, sizeof out, 10));
    EXPECT_STREQ(out, "a.txt");
    // Going into the chosen folder: a path naming a folder lists it all.
    std::snprintf(spec, sizeof spec, "sub");
    ASSERT_TRUE(DlgDirListA(host, spec, 10, 12, DDL_DIRECTORY));
    EXPECT_EQ(fs::current_path(), fs::canonical(folder / "sub"));
    EXPECT_EQ(items(list), Names{"[..]"});
    std::snprintf(spec, sizeof spec, "*.*");
    ASSERT_TRUE(DlgDirListComboBoxA(host, spec, 11, 0, DDL_DRIVES | DDL_EXCLUSIVE));
    EXPECT_EQ(items(combo, CB_GETCOUNT, CB_GETLBTEXT), Names{"[-c-]"});
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    EXPECT_TRUE(DlgDirSelectComboBoxExA(host, out, sizeof out, 11));
    EXPECT_STREQ(out, "c:");
    std::snprintf(spec, sizeof spec, "%s/nowhere/*.txt", folder.string().c_str());
    EXPECT_FALSE(DlgDirListA(host, spec, 10, 12, DDL_DIRECTORY));
}
