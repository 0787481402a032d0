#include "toolkit/core/message_box.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "core_test_support.h"
#include "toolkit/core/error_report.h"

namespace tk {
namespace {

class MsgBoxTest : public test::CoreTest {};

struct Frame : ModalFrame {
    win::HWND owner() override { return reinterpret_cast<win::HWND>(0x1234); }
    void begin(win::HWND o) override { log += o == owner() ? "begin " : "begin? "; }
    void end(win::HWND) override { log += "end "; }
    int freeze(int mode, int) override {
        log += "freeze" + std::to_string(mode) + " ";
        return 0;
    }
    std::string log;
};

TEST_F(MsgBoxTest, DefaultButtonFollowsEachSet) {
    struct Case {
        int buttons, defaultButton;
        win::UINT style;
        int result;  // the default button's answer
    };
    const Case cases[] = {
        {0, 2, win::MB_OK, 1},
        {1, 1, win::MB_OKCANCEL, 1},
        {1, 3, win::MB_OKCANCEL | win::MB_DEFBUTTON2, 0},
        {3, 2, win::MB_YESNO | win::MB_DEFBUTTON2, 2},
        {4, 2, win::MB_YESNOCANCEL | win::MB_DEFBUTTON2, 2},
        {4, 7, win::MB_YESNOCANCEL | win::MB_DEFBUTTON3, 0},
        {5, 1, win::MB_ABORTRETRYIGNORE | win::MB_DEFBUTTON2, 1},  // Retry
        {5, 2, win::MB_ABORTRETRYIGNORE, 2},                       // Abort
        {5, 3, win::MB_ABORTRETRYIGNORE | win::MB_DEFBUTTON3, 0},  // Ignore
        {9, 3, win::MB_OK, 1},
    };
    for (const auto& c : cases) {
        MsgBox(c.buttons, 0, c.defaultButton, "text", "caption");
        EXPECT_EQ(win::testing::lastMessageBox()->style, c.style) << c.buttons << c.defaultButton;
        EXPECT_EQ(toolkitState().MessageBoxResult, c.result) << c.buttons << c.defaultButton;
    }
}

TEST_F(MsgBoxTest, AnswersAndIconsMapToResults) {
    struct Case {
        int icon;
        win::UINT iconStyle;
        int answer, result;
    };
    const Case cases[] = {
        {1, win::MB_ICONSTOP, win::IDRETRY, 1},
        {2, win::MB_ICONQUESTION, win::IDABORT, 2},
        {3, win::MB_ICONEXCLAMATION, win::IDIGNORE, 0},
        {4, win::MB_ICONINFORMATION, win::IDYES, 1},
        {5, 0, win::IDNO, 2},
        {0, 0, win::IDCANCEL, 0},
    };
    for (const auto& c : cases) {
        win::testing::queueMessageBoxAnswer(c.answer);
        MsgBox(5, c.icon, 1, "text   ", "caption  ");
        auto box = win::testing::lastMessageBox();
        EXPECT_EQ(box->style & win::MB_ICONMASK, c.iconStyle);
        EXPECT_EQ(box->text, "text");
        EXPECT_EQ(box->caption, "caption");
        EXPECT_EQ(toolkitState().MessageBoxResult, c.result);
    }
}

TEST_F(MsgBoxTest, RunsInsideTheModalFrameAndClearsTheChangedField) {
    Frame frame;
    seams().modalFrame = &frame;
    toolkitState().LastDialogChangedField = 5;
    MsgBox(0, 4, 1, "hello", "Varendal Library Message");
    EXPECT_EQ(frame.log, "freeze1 begin end freeze0 ");
    EXPECT_EQ(win::testing::lastMessageBox()->owner, frame.owner());
    EXPECT_EQ(toolkitState().LastDialogChangedField, 0);
}

TEST_F(MsgBoxTest, FailedBoxStoresMinusOneAndReports1004) {
    toolkitState().MessageBoxResult = 1;
    win::testing::queueMessageBoxAnswer(0);
    MsgBox(3, 2, 1, "q", "c");
    EXPECT_EQ(toolkitState().MessageBoxResult, -1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1004);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "MsgBox");
}

void printLastBox() {
    if (auto box = win::testing::lastMessageBox())
        std::fprintf(stderr, "[%s|%s]", box->caption.c_str(), box->text.c_str());
}

TEST_F(MsgBoxTest, AbnormalExitShowsTheCodeAndEnds) {
    EXPECT_EXIT(
        {
            std::atexit(printLastBox);
            AbnormalExit("Failed to execute program", 2);
        },
        ::testing::ExitedWithCode(2),
        "\\[Veraziderad\\|Abnormal exit \\(code 2\\) : Failed to execute program\\]");
}

TEST_F(MsgBoxTest, AbnormalExitWithABlankMessageEndsSilently) {
    EXPECT_EXIT(
        {
            std::atexit(printLastBox);
            AbnormalExit("   ", 5);
        },
        ::testing::ExitedWithCode(5), "^$");
}

}  // namespace
}  // namespace tk
