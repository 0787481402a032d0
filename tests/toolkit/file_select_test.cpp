// The file selector in a temporary folder, the robot playing the user: the
// proposed name, the caption, the current directory afterwards, failures.

#include "toolkit/dialogs/file_select.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "core_test_support.h"
#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/controls/controls_api.h"
#include "platform/robot/finder.h"
#include "toolkit/core/error_report.h"
#include "window_test_support.h"

namespace tk {
namespace {

namespace fs = std::filesystem;
using win::robot::Script;

win::HWND dialog() {
    return win::robot::findTopLevelByClass("#32770");
}

std::string itemText(int id) {
    return win::robot::windowText(win::GetDlgItem(dialog(), id));
}

std::string field(const char* text, std::size_t n) {
    return std::string(trimRight(std::string_view(text, n)));
}

// Records what the selector asks of the modal frame; freezing fails.
struct Frame : ModalFrame {
    void begin(win::HWND) override { log += "begin "; }
    void end(win::HWND) override { log += "end "; }
    int freeze(int mode, int) override {
        log += "freeze" + std::to_string(mode) + " ";
        return mode == 1 ? 1063 : 0;
    }
    std::string log;
};

class FileSelectTest : public test::WindowTest {
  protected:
    void SetUp() override {
        test::WindowTest::SetUp();
        fs::create_directory(dir.file("sub"));
        std::ofstream(dir.file("sub/x.dat")) << "1";
        std::ofstream(dir.file("sub/y.dat")) << "2";
        std::ofstream(dir.file("sub/z.csv")) << "3";
    }
    test::TempDir dir;  // the current directory while the test runs
};

TEST_F(FileSelectTest, TheCurrentFolderComesBackUnlessKeepingItWasAskedAndConfirmed) {
    struct Case {
        int flags;
        bool confirm;
        bool staysInSub;
    };
    const Case cases[] = {{0, true, false}, {8, true, true}, {8, false, false}, {2, true, false}};
    for (const Case& c : cases) {
        fs::current_path(dir.path());
        Script s;
        s.check([&] {
            ASSERT_TRUE(dialog());
            EXPECT_EQ(win::robot::windowText(dialog()), "Select File");
            EXPECT_EQ(itemText(win::kFolderText), dir.file("sub"));
            EXPECT_EQ(itemText(win::kFileNameEdit), "x.dat");
        });
        s.key(c.confirm ? win::VK_RETURN : win::VK_ESCAPE);
        win::robot::play(std::move(s));
        char name[256];
        putText(TextOut(name), "sub/x.dat");
        SelectFileFront("Data|*.dat|", c.flags, TextOut(name));
        EXPECT_EQ(DialogInfoQuery(4), c.confirm ? 1 : 0) << c.flags;
        EXPECT_EQ(field(name, sizeof name), c.confirm ? dir.file("sub/x.dat") : "sub/x.dat");
        EXPECT_EQ(fs::current_path(),
                  c.staysInSub ? fs::path(dir.file("sub")) : fs::path(dir.path()))
            << c.flags << c.confirm;
        EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    }
}

TEST_F(FileSelectTest, TitleFilterIndexAndAPlainNameOpenInTheCurrentFolder) {
    fs::current_path(dir.file("sub"));
    Script s;
    s.check([&] {
        EXPECT_EQ(win::robot::windowText(dialog()), "Load Data");
        EXPECT_EQ(itemText(win::kFolderText), dir.file("sub"));
        win::HWND combo = win::GetDlgItem(dialog(), win::kFilterCombo);
        EXPECT_EQ(win::SendMessageA(combo, win::CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(win::SendMessageA(combo, win::CB_GETCURSEL, 0, 0), 1);  // index 2 shown first
    });
    s.chord({win::VK_CONTROL, 'A'}).text("z.csv").key(win::VK_RETURN);
    win::robot::play(std::move(s));
    char name[256];
    putText(TextOut(name), "x.dat");
    int option = 2;
    SelectFileFront("CSV Files|*.csv|All Files|*.*|      ", 128, TextOut(name), "Load Data",
                    &option);
    EXPECT_EQ(field(name, sizeof name), dir.file("sub/z.csv"));
    EXPECT_EQ(option, 2);

    // A blank filter shows no filter at all.
    Script t;
    t.check([] {
        EXPECT_EQ(
            win::SendMessageA(win::GetDlgItem(dialog(), win::kFilterCombo), win::CB_GETCOUNT, 0, 0),
            0);
    });
    t.key(win::VK_ESCAPE);
    win::robot::play(std::move(t));
    SelectFileFront("   ", 0, TextOut(name));
    EXPECT_EQ(DialogInfoQuery(4), 0);
}

TEST_F(FileSelectTest, SeveralFilesComeBackAsFolderAndNamesBetweenNuls) {
    Script s;
    s.chord({win::VK_CONTROL, 'A'}).text("\"x.dat\" \"y.dat\"").key(win::VK_RETURN);
    win::robot::play(std::move(s));
    char name[256];
    putText(TextOut(name), dir.file("sub") + "/");
    SelectFileFront("Data|*.dat|", 16, TextOut(name));
    ASSERT_EQ(DialogInfoQuery(4), 1);
    const std::string expected = dir.file("sub") + std::string("\0x.dat\0y.dat", 12);
    EXPECT_EQ(field(name, sizeof name), expected);
}

TEST_F(FileSelectTest, APlatformFailureIsReportedAndAFailedFreezeDoesNotStopTheDialog) {
    Frame frame;
    seams().modalFrame = &frame;
    Script s;
    s.check([] { ASSERT_TRUE(dialog()); });
    s.key(win::VK_RETURN);
    win::robot::play(std::move(s));
    // The chosen path does not fit the caller's 12 characters.
    char name[12];
    putText(TextOut(name), "sub/x.dat");
    SelectFileFront("", 0, TextOut(name));
    EXPECT_EQ(DialogInfoQuery(4), 0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1004);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "FileSelect");
    EXPECT_EQ(field(name, sizeof name), "sub/x.dat");
    EXPECT_EQ(frame.log, "freeze1 begin end freeze0 ");
    EXPECT_EQ(fs::current_path(), fs::path(dir.path()));
}

TEST_F(FileSelectTest, TheChoiceForTheFileLayerIsThePathOrNothing) {
    Script s;
    s.key(win::VK_RETURN);
    s.check([] {});
    s.key(win::VK_ESCAPE);
    win::robot::play(std::move(s));
    const std::string proposed = dir.file("sub/y.dat");
    EXPECT_EQ(SelectFileChoice("Data|*.dat|", 42, proposed, "Open"), proposed);
    EXPECT_EQ(SelectFileChoice("Data|*.dat|", 42, proposed, "Open"), std::nullopt);
}

}  // namespace
}  // namespace tk
