// The Open and Save As dialogs in a temporary folder, driven by the robot.

#include <fstream>

#include "dialog_test_support.h"
#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/message_box.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;
namespace fs = std::filesystem;

namespace {

const char kFilter[] = "Models (*.TQM)\0*.TQM\0All files (*.*)\0*.*\0";

class FileDialogTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        win::testing::resetMessageBoxes();
        startFolder = fs::current_path();
        folder = fs::temp_directory_path() / ("pelk_file_dialog_" + std::to_string(::getpid()));
        fs::create_directories(folder / "sub");
        std::ofstream(folder / "site.tqm") << "x";
        std::ofstream(folder / "other.dat") << "y";
        owner = topLevel("Owner");
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = kFilter;
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = buffer;
        ofn.nMaxFile = sizeof buffer;
        ofn.lpstrInitialDir = initial.c_str();
        initial = folder.string();
        ofn.lpstrInitialDir = initial.c_str();
        ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    }
    void TearDown() override {
        fs::current_path(startFolder);
        fs::remove_all(folder);
        win::testing::resetMessageBoxes();
        WindowTest::TearDown();
    }
    static HWND dialog() { return robot::findTopLevelByClass("#32770"); }
    static std::vector<std::string> listed(int id) {
        std::vector<std::string> out;
        HWND list = GetDlgItem(dialog(), id);
        const auto n = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; ++i) {
            char buf[256];
            SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
            out.push_back(buf);
        }
        return out;
    }
    fs::path startFolder, folder;
    std::string initial;
    HWND owner = nullptr;
    char buffer[512] = {};
    OPENFILENAMEA ofn;
};

}  // namespace

TEST_F(FileDialogTest, TheFilterListsMatchingFilesAndOpenGivesTheFullPath) {
    robot::Script s;
    s.check([&] {
        ASSERT_TRUE(dialog());
        EXPECT_EQ(robot::windowText(dialog()), "Open");
        // "*.TQM" matches "site.tqm" whatever the case; folders are listed apart.
        EXPECT_EQ(listed(kFileList), (std::vector<std::string>{"site.tqm"}));
        EXPECT_EQ(listed(kFolderList), (std::vector<std::string>{"[..]", "[sub]"}));
        ASSERT_TRUE(robot::saveWindowPng(dialog(), screenshotPath("file_dialog")));
    });
    clickAt(s, [] { return listItemCentre(GetDlgItem(dialog(), kFileList), 0); });
    s.check([] { EXPECT_EQ(robot::windowText(GetDlgItem(dialog(), kFileNameEdit)), "site.tqm"); });
    s.clickOn([] { return GetDlgItem(dialog(), IDOK); });
    robot::play(std::move(s));
    ofn.Flags |= OFN_FILEMUSTEXIST;
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(std::string(buffer), (folder / "site.tqm").string());
    EXPECT_STREQ(buffer + ofn.nFileOffset, "site.tqm");
    EXPECT_STREQ(buffer + ofn.nFileExtension, "tqm");
    EXPECT_EQ(ofn.nFilterIndex, 1u);
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    // The chosen file's folder is the current folder now.
    EXPECT_EQ(fs::current_path(), folder);
}

TEST_F(FileDialogTest, AnotherFilterAndTypedNamesAndFoldersChangeWhatIsListed) {
    robot::Script s;
    s.check([] { heard().clear(); });
    clickAt(s, [] { return centreOfControl(dialog(), kFilterCombo); });
    clickAt(s, [] { return listItemCentre(robot::findTopLevelByClass("ComboLBox"), 1); });
    s.check([] {
        EXPECT_EQ(listed(kFileList), (std::vector<std::string>{"other.dat", "site.tqm"}));
    });
    // A pattern typed in the name field becomes the filter.
    s.check([] { SetFocus(GetDlgItem(dialog(), kFileNameEdit)); });
    s.text("*.DAT").key(VK_RETURN).check(
        [] { EXPECT_EQ(listed(kFileList), (std::vector<std::string>{"other.dat"})); });
    // A folder's name opens it.
    s.chord({VK_CONTROL, 'A'}).text("sub").key(VK_RETURN).check([&] {
        EXPECT_EQ(robot::windowText(GetDlgItem(dialog(), kFolderText)), (folder / "sub").string());
        EXPECT_TRUE(listed(kFileList).empty());
    });
    s.text("missing.tqm").key(VK_RETURN);
    robot::play(std::move(s));
    ofn.Flags |= OFN_NOCHANGEDIR;
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(std::string(buffer), (folder / "sub" / "missing.tqm").string());
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    EXPECT_EQ(fs::current_path(), startFolder);
}

TEST_F(FileDialogTest, SaveAsksBeforeReplacingAnExistingFile) {
    robot::Script s;
    s.text("other.dat").key(VK_RETURN);
    s.check([] {
        auto box = win::testing::messageBoxes();
        EXPECT_TRUE(box.empty());  // the box is still up: recorded when answered
        HWND question = nullptr;
        for (HWND w : robot::topLevelWindows())
            if (GetDlgItem(w, IDNO)) question = w;
        ASSERT_TRUE(question);
        EXPECT_NE(robot::windowText(GetDlgItem(question, 0xFFFF)).find("already exists"),
                  std::string::npos);
    });
    s.key(VK_RETURN);  // Yes is the question's default button
    robot::play(std::move(s));
    ofn.Flags |= OFN_OVERWRITEPROMPT;
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(std::string(buffer), (folder / "other.dat").string());
    ASSERT_EQ(win::testing::messageBoxes().size(), 1u);
    EXPECT_EQ(win::testing::messageBoxes()[0].answer, IDYES);
}

TEST_F(FileDialogTest, NoToTheReplaceQuestionKeepsTheDialogAndCancelGivesZero) {
    robot::Script s;
    s.text("other.dat").key(VK_RETURN);
    s.clickOn([] {
        for (HWND w : robot::topLevelWindows())
            if (HWND no = GetDlgItem(w, IDNO)) return no;
        return HWND{};
    });
    s.check([] { EXPECT_TRUE(IsWindowVisible(dialog())); });
    s.key(VK_ESCAPE);
    robot::play(std::move(s));
    ofn.Flags |= OFN_OVERWRITEPROMPT;
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(win::testing::lastMessageBox()->answer, IDNO);
}

TEST_F(FileDialogTest, SeveralFilesComeBackAsFolderAndNames) {
    std::ofstream(folder / "b.tqm") << "z";
    robot::Script s;
    clickAt(s, [] { return listItemCentre(GetDlgItem(dialog(), kFileList), 0); });
    s.keyDown(VK_CONTROL);
    clickAt(s, [] { return listItemCentre(GetDlgItem(dialog(), kFileList), 1); });
    s.keyUp(VK_CONTROL).check([] {
        EXPECT_EQ(robot::windowText(GetDlgItem(dialog(), kFileNameEdit)), "\"b.tqm\" \"site.tqm\"");
    });
    s.key(VK_RETURN);
    robot::play(std::move(s));
    ofn.Flags |= OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST;
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(std::string(buffer), folder.string());
    EXPECT_STREQ(buffer + ofn.nFileOffset, "b.tqm");
    EXPECT_STREQ(buffer + ofn.nFileOffset + 6, "site.tqm");
    EXPECT_EQ(buffer[ofn.nFileOffset + 6 + 9], '\0');
}

TEST_F(FileDialogTest, MissingFilesAreRefusedOrOfferedForCreation) {
    robot::Script s;
    s.text("new.tqm").key(VK_RETURN);
    s.check([] {
        const std::string text = robot::windowText(GetDlgItem(GetActiveWindow(), 0xFFFF));
        EXPECT_NE(text.find("File not found"), std::string::npos) << text;
    });
    s.key(VK_RETURN).key(VK_ESCAPE);
    robot::play(std::move(s));
    ofn.Flags |= OFN_FILEMUSTEXIST;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);

    robot::Script t;
    t.text("new").answerMessageBox(IDYES).key(VK_RETURN);
    robot::play(std::move(t));
    ofn.Flags = OFN_HIDEREADONLY | OFN_CREATEPROMPT;
    ofn.lpstrDefExt = "tqm";
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(std::string(buffer), (folder / "new.tqm").string());
    EXPECT_NE(win::testing::lastMessageBox()->text.find("Do you want to create it?"),
              std::string::npos);
}

// An empty default extension asks for the chosen filter's: "*.TQM" gives
// ".TQM", "*.*" names none.
TEST_F(FileDialogTest, AnEmptyDefaultExtensionTakesTheChosenFiltersExtension) {
    ofn.lpstrDefExt = "";
    struct Case {
        DWORD filter;
        const char* typed;
        const char* saved;
    };
    for (const Case& c :
         {Case{1, "plan", "plan.TQM"}, Case{2, "plan", "plan"}, Case{1, "plan.dat", "plan.dat"}}) {
        robot::Script s;
        s.text(c.typed).key(VK_RETURN);
        robot::play(std::move(s));
        ofn.nFilterIndex = c.filter;
        ASSERT_TRUE(GetSaveFileNameA(&ofn)) << c.typed;
        EXPECT_EQ(std::string(buffer), (folder / c.saved).string());
    }
}

TEST_F(FileDialogTest, ASmallBufferOrAWrongSizeFails) {
    char small[8] = {};
    ofn.lpstrFile = small;
    ofn.nMaxFile = sizeof small;
    robot::Script s;
    s.text("site.tqm").key(VK_RETURN);
    robot::play(std::move(s));
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    ofn.lStructSize = 12;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
}
