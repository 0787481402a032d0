// Edit fields and lists outside dialogs: limits, read-only, clipboard, undo,
// lines of a multi-line field, and list searching.

#include <algorithm>

#include "dialog_test_support.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

class EditListTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        host = topLevel("Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN);
        seen().clear();
    }
    HWND make(const char* cls, DWORD style, int id, int h = 24) {
        return CreateWindowExA(
            WS_EX_CLIENTEDGE, cls, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10, 200, h,
            host, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr, nullptr);
    }
    static std::vector<WORD> editCodes() {
        std::vector<WORD> out;
        for (const Seen& s : seenOf(WM_COMMAND))
            out.push_back(HIWORD(s.wParam));
        return out;
    }
    static std::string text(HWND h) { return robot::windowText(h); }
    HWND host = nullptr;
};

}  // namespace

TEST_F(EditListTest, LimitReadOnlyUndoAndTheClipboard) {
    HWND e = make("Edit", ES_AUTOHSCROLL, 5);
    SendMessageA(e, EM_LIMITTEXT, 5, 0);
    SetFocus(e);
    robot::Script s;
    s.text("abcdefg");
    robot::play(std::move(s));
    pumpUntilIdle();
    EXPECT_EQ(text(e), "abcde");
    // Each accepted character changes the text; the refused ones report the limit.
    const auto codes = editCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_CHANGE), 5);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_MAXTEXT), 2);
    EXPECT_TRUE(SendMessageA(e, EM_GETMODIFY, 0, 0));
    SendMessageA(e, EM_SETSEL, 1, 3);
    SendMessageA(e, WM_CUT, 0, 0);
    EXPECT_EQ(text(e), "ade");
    SendMessageA(e, EM_SETSEL, 3, 3);
    SendMessageA(e, WM_PASTE, 0, 0);
    EXPECT_EQ(text(e), "adebc");
    EXPECT_TRUE(SendMessageA(e, EM_CANUNDO, 0, 0));
    SendMessageA(e, WM_UNDO, 0, 0);
    EXPECT_EQ(text(e), "ade");
    SendMessageA(e, WM_UNDO, 0, 0);  // the undo of the undo
    EXPECT_EQ(text(e), "adebc");
    SendMessageA(e, EM_SETREADONLY, TRUE, 0);
    SendMessageA(e, EM_SETSEL, 0, -1);
    SendMessageA(e, WM_CLEAR, 0, 0);
    SendMessageA(e, WM_CHAR, 'x', 0);
    EXPECT_EQ(text(e), "adebc");
    // Setting the text forgets the undo and the modified flag.
    SetWindowTextA(e, "new");
    EXPECT_FALSE(SendMessageA(e, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(SendMessageA(e, EM_GETMODIFY, 0, 0));
}

TEST_F(EditListTest, MultiLineFieldsKeepLinesWithCarriageReturns) {
    HWND e = make("Edit", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 6, 80);
    SetFocus(e);
    robot::Script s;
    s.text("one").key(VK_RETURN).text("two").key(VK_UP).key(VK_END).text("!");
    robot::play(std::move(s));
    pumpUntilIdle();
    EXPECT_EQ(text(e), "one!\r\ntwo");
    EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, 1, 0), 6);
    EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, 7, 0), 1);
    EXPECT_EQ(SendMessageA(e, EM_LINELENGTH, 6, 0), 3);
    char line[16] = {};
    *reinterpret_cast<WORD*>(line) = sizeof line;
    EXPECT_EQ(SendMessageA(e, EM_GETLINE, 1, reinterpret_cast<LPARAM>(line)), 3);
    EXPECT_EQ(std::string(line, 3), "two");
    // A single-line field keeps the first line of what it is given.
    HWND single = make("Edit", ES_UPPERCASE, 7);
    SetWindowTextA(single, "first\r\nsecond");
    EXPECT_EQ(text(single), "FIRST");
    const LRESULT pos = SendMessageA(e, EM_POSFROMCHAR, 6, 0);
    EXPECT_GT(GET_Y_LPARAM(pos), 0);  // the second line is lower
    // Tab stops in dialog units place what follows a tab.
    SetWindowTextA(e, "a\tb");
    const int stops[1] = {16};
    SendMessageA(e, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops));
    const int near = GET_X_LPARAM(SendMessageA(e, EM_POSFROMCHAR, 2, 0));
    const int wide[1] = {64};
    SendMessageA(e, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(wide));
    const int far = GET_X_LPARAM(SendMessageA(e, EM_POSFROMCHAR, 2, 0));
    EXPECT_EQ(far - near, (near - GET_X_LPARAM(SendMessageA(e, EM_POSFROMCHAR, 0, 0))) * 3);
}

TEST_F(EditListTest, ListsSortFindAndAnswerForSingleSelection) {
    HWND list = make("ListBox", LBS_SORT | LBS_NOTIFY | WS_VSCROLL, 8, 60);
    for (const char* s : {"pear", "Apple", "fig", "apricot"})
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    char buf[16];
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "Apple");
    EXPECT_EQ(
        SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("AP")),
        0);
    EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, 0, reinterpret_cast<LPARAM>("ap")), 1);
    EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>("FIG")),
              2);
    EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>("fi")),
              LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), -1);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    // Typing a letter selects the next item that starts with it.
    SetFocus(list);
    robot::Script s;
    s.text("a").text("a");
    robot::play(std::move(s));
    pumpUntilIdle();
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    const int tabs[1] = {40};
    EXPECT_TRUE(SendMessageA(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(tabs)));
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
}
