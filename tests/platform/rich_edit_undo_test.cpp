// Undo and redo of the rich-edit control: steps of several levels, typing
// grouped into one step, the limit, format changes, and the keys.

#include <string>

#include "dialog_test_support.h"
#include "platform/controls/rich_edit_api.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

class RichEditUndoTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        host = topLevel("Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN);
        rich = CreateWindowExA(WS_EX_CLIENTEDGE, RICHEDIT_CLASSA, "",
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 10, 10, 300, 200,
                               host, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(1002)),
                               nullptr, nullptr);
        SetFocus(rich);
    }
    void type(robot::Script s) {
        robot::play(std::move(s));
        pumpUntilIdle();
    }
    void replaceSel(const char* s) {
        SendMessageA(rich, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(s));
    }
    void caretTo(LONG at) { SendMessageA(rich, EM_SETSEL, static_cast<WPARAM>(at), at); }
    LRESULT send(UINT msg, WPARAM wp = 0) { return SendMessageA(rich, msg, wp, 0); }
    std::string text() { return robot::windowText(rich); }
    HWND host = nullptr;
    HWND rich = nullptr;
};

}  // namespace

TEST_F(RichEditUndoTest, UndoAndRedoWalkTheStepsBothWays) {
    robot::Script s;
    s.text("abc");
    type(std::move(s));
    caretTo(3);
    replaceSel("XY");
    EXPECT_EQ(text(), "abcXY");
    EXPECT_FALSE(send(EM_CANREDO));
    EXPECT_TRUE(send(EM_UNDO));
    EXPECT_EQ(text(), "abc");
    EXPECT_TRUE(send(EM_CANREDO));
    EXPECT_TRUE(send(EM_UNDO));  // the typing was one step
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(send(EM_CANUNDO));
    EXPECT_FALSE(send(EM_UNDO));
    EXPECT_TRUE(send(EM_REDO));
    EXPECT_EQ(text(), "abc");
    EXPECT_TRUE(send(EM_REDO));
    EXPECT_EQ(text(), "abcXY");
    EXPECT_FALSE(send(EM_REDO));
    // A new edit after an undo drops what could be redone.
    send(EM_UNDO);
    replaceSel("Z");
    EXPECT_EQ(text(), "abcZ");
    EXPECT_FALSE(send(EM_CANREDO));
    EXPECT_TRUE(send(EM_CANUNDO));
    send(EM_EMPTYUNDOBUFFER);
    EXPECT_FALSE(send(EM_CANUNDO));
}

TEST_F(RichEditUndoTest, TypingGroupsUntilTheCaretMovesOrTheGroupIsStopped) {
    robot::Script s;
    s.text("hello").key(VK_LEFT).text("X");
    type(std::move(s));
    EXPECT_EQ(text(), "hellXo");
    send(EM_UNDO);
    EXPECT_EQ(text(), "hello");
    send(EM_UNDO);
    EXPECT_EQ(text(), "");
    robot::Script more;
    more.text("ab").check([&] { send(EM_STOPGROUPTYPING); }).text("cd");
    type(std::move(more));
    send(EM_UNDO);
    EXPECT_EQ(text(), "ab");
    // Ctrl+Z and Ctrl+Y are undo and redo.
    robot::Script keys;
    keys.chord({VK_CONTROL, 'Z'});
    type(std::move(keys));
    EXPECT_EQ(text(), "");
    robot::Script again;
    again.chord({VK_CONTROL, 'Y'});
    type(std::move(again));
    EXPECT_EQ(text(), "ab");
}

TEST_F(RichEditUndoTest, TheLimitKeepsTheNewestStepsAndFormatsUndoToo) {
    EXPECT_EQ(send(EM_SETUNDOLIMIT, 2), 2);
    for (const char* piece : {"1", "2", "3"})
        replaceSel(piece);
    EXPECT_TRUE(send(EM_UNDO));
    EXPECT_TRUE(send(EM_UNDO));
    EXPECT_FALSE(send(EM_UNDO));
    EXPECT_EQ(text(), "1");
    // Bold on a selection is a step of its own.
    SetWindowTextA(rich, "plain");
    SendMessageA(rich, EM_SETSEL, 0, 5);
    CHARFORMATA bold;
    bold.dwMask = CFM_BOLD;
    bold.dwEffects = CFE_BOLD;
    SendMessageA(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold));
    auto isBold = [&] {
        SendMessageA(rich, EM_SETSEL, 0, 5);
        CHARFORMATA got;
        SendMessageA(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&got));
        return (got.dwMask & CFM_BOLD) && (got.dwEffects & CFE_BOLD);
    };
    EXPECT_TRUE(isBold());
    EXPECT_TRUE(send(EM_UNDO));
    EXPECT_FALSE(isBold());
    EXPECT_TRUE(send(EM_REDO));
    EXPECT_TRUE(isBold());
    EXPECT_EQ(text(), "plain");
    // No limit, no undo.
    EXPECT_EQ(send(EM_SETUNDOLIMIT, 0), 0);
    replaceSel("x");
    EXPECT_FALSE(send(EM_CANUNDO));
}
