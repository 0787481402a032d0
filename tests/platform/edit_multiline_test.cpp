// Multi-line edit fields: word wrap at the formatting rectangle, the lines
// seen through the line messages, scroll bars and scrolling; and where the
// characters of aligned single-line fields are drawn.

#include <cstdlib>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "platform/gdi/gdi.h"
#include "platform/window/scroll_api.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

class EditMultiLineTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        host = topLevel("Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN);
        font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS, 0, 0, 0,
                           "Arial");
        seen().clear();
    }
    void TearDown() override {
        WindowTest::TearDown();
        DeleteObject(font);
    }
    HWND make(DWORD style, int width, int height, const char* text = "") {
        HWND e = CreateWindowExA(
            WS_EX_CLIENTEDGE, "Edit", text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
            host, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(5)), nullptr, nullptr);
        SendMessageA(e, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return e;
    }
    int measure(const std::string& s) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size;
        GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
        SelectObject(dc, old);
        DeleteDC(dc);
        return size.cx;
    }
    // A formatting rectangle just wide enough for `fits`.
    void narrowTo(HWND e, const std::string& fits) {
        RECT rc{2, 0, 2 + measure(fits) + 1, 200};
        SendMessageA(e, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&rc));
    }
    std::vector<LRESULT> lineStarts(HWND e) {
        std::vector<LRESULT> out;
        const LRESULT n = SendMessageA(e, EM_GETLINECOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i)
            out.push_back(SendMessageA(e, EM_LINEINDEX, static_cast<WPARAM>(i), 0));
        return out;
    }
    static int vscrolls() {
        int n = 0;
        for (const Seen& s : seenOf(WM_COMMAND))
            n += HIWORD(s.wParam) == EN_VSCROLL ? 1 : 0;
        return n;
    }
    HWND host = nullptr;
    HFONT font = nullptr;
};

SCROLLINFO barOf(HWND h, int bar) {
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(h, bar, &si);
    return si;
}

}  // namespace

TEST_F(EditMultiLineTest, WrapsAtTheFormattingRectangleWithoutChangingTheText) {
    struct Case {
        const char* text;
        const char* fits;  // the widest line the rectangle holds
        std::vector<LRESULT> starts;
    };
    const Case cases[] = {
        // Blanks after a word hang past the edge and stay on its line.
        {"aaaa bbbb cccc dddd eeee ffff\r\ngggg", "aaaa bbbb", {0, 10, 20, 31}},
        // A word wider than the rectangle breaks where it stops fitting.
        {"abcdefghijkl mn", "abcdef", {0, 6, 13}},
        // Line breaks of the text still end lines; empty lines count.
        {"ab\r\n\r\ncd ef", "abcdefgh", {0, 4, 6}},
    };
    HWND e = make(ES_MULTILINE | WS_VSCROLL, 300, 120);
    for (const Case& c : cases) {
        SetWindowTextA(e, c.text);
        narrowTo(e, c.fits);
        EXPECT_EQ(lineStarts(e), c.starts) << c.text;
        EXPECT_EQ(robot::windowText(e), c.text);  // soft breaks are not in the text
    }
    // Line length, line text and the line of a character follow the wrap.
    SetWindowTextA(e, cases[0].text);
    narrowTo(e, cases[0].fits);
    EXPECT_EQ(SendMessageA(e, EM_LINELENGTH, 12, 0), 10);
    EXPECT_EQ(SendMessageA(e, EM_LINELENGTH, 22, 0), 9);
    EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, 25, 0), 2);
    EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, 10, 0), 1);  // the soft break starts line 1
    char line[16] = {};
    *reinterpret_cast<WORD*>(line) = sizeof line;
    EXPECT_EQ(SendMessageA(e, EM_GETLINE, 1, reinterpret_cast<LPARAM>(line)), 10);
    EXPECT_EQ(std::string(line, 10), "cccc dddd ");
    RECT got;
    SendMessageA(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.right, 2 + measure("aaaa bbbb") + 1);
    // Character positions follow the shown lines: line 1 starts at the left.
    const LRESULT p10 = SendMessageA(e, EM_POSFROMCHAR, 10, 0);
    EXPECT_EQ(GET_X_LPARAM(p10), 2);
    EXPECT_EQ(GET_Y_LPARAM(p10), GET_Y_LPARAM(SendMessageA(e, EM_POSFROMCHAR, 0, 0)) +
                                     GET_Y_LPARAM(SendMessageA(e, EM_POSFROMCHAR, 20, 0)) -
                                     GET_Y_LPARAM(p10));
    const LRESULT hit = SendMessageA(e, EM_CHARFROMPOS, 0, MAKELPARAM(3, GET_Y_LPARAM(p10) + 2));
    EXPECT_EQ(LOWORD(hit), 10);
    EXPECT_EQ(HIWORD(hit), 1);
    // Sideways scrolling, by style or by a horizontal bar, turns wrap off.
    for (DWORD style : {ES_MULTILINE | ES_AUTOHSCROLL, ES_MULTILINE | WS_HSCROLL}) {
        HWND wide = make(style, 300, 120, cases[0].text);
        narrowTo(wide, cases[0].fits);
        EXPECT_EQ(SendMessageA(wide, EM_GETLINECOUNT, 0, 0), 2) << style;
    }
    // A null rectangle gives the client area's one back; a larger font in
    // it wraps again.
    SendMessageA(e, EM_SETRECT, 0, 0);
    EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 2);
    HFONT big = CreateFontA(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS, 0, 0, 0,
                            "Arial");
    SendMessageA(e, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
    EXPECT_GT(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 2);
    SendMessageA(e, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    DeleteObject(big);
}

TEST_F(EditMultiLineTest, ScrollBarsFollowTheTextAndScrollIt) {
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "line " + std::to_string(i) + (i < 29 ? "\r\n" : "");
    HWND e = make(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 200, 100, text.c_str());
    SCROLLINFO si = barOf(e, SB_VERT);
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 29);
    const int page = static_cast<int>(si.nPage);
    ASSERT_GT(page, 2);
    ASSERT_LT(page, 10);
    struct Step {
        WORD code;
        int thumb;
        int first;
    };
    const Step steps[] = {{SB_LINEDOWN, 0, 1},           {SB_PAGEDOWN, 0, 1 + page},
                          {SB_LINEUP, 0, page},          {SB_THUMBTRACK, 12, 12},
                          {SB_BOTTOM, 0, 30 - page},     {SB_PAGEDOWN, 0, 30 - page},
                          {SB_PAGEUP, 0, 30 - 2 * page}, {SB_TOP, 0, 0}};
    for (const Step& s : steps) {
        SendMessageA(e, WM_VSCROLL, MAKEWPARAM(s.code, s.thumb), 0);
        EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), s.first) << s.code;
        EXPECT_EQ(barOf(e, SB_VERT).nPos, s.first) << s.code;
    }
    EXPECT_EQ(vscrolls(), 8);  // the parent hears of each use of the bar
    // Three lines to a notch of the wheel; halves add up.
    SendMessageA(e, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-60)), 0);
    EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessageA(e, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-60)), 0);
    EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
    EXPECT_EQ(SendMessageA(e, EM_LINESCROLL, 0, 4), TRUE);
    EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 7);
    EXPECT_EQ(SendMessageA(e, EM_SCROLL, SB_LINEDOWN, 0), MAKELONG(1, TRUE));
    // Moving the caret brings it into view, the bar following.
    SetFocus(e);
    const auto line20 = SendMessageA(e, EM_LINEINDEX, 20, 0);
    SendMessageA(e, EM_SETSEL, static_cast<WPARAM>(line20), line20);
    EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 20 - page + 1);
    robot::Script s;
    s.key(VK_DOWN).key(VK_DOWN);
    robot::play(std::move(s));
    pumpUntilIdle();
    EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 22 - page + 1);
    EXPECT_EQ(barOf(e, SB_VERT).nPos, 22 - page + 1);
    EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 22);
    // A single-line field has nothing to scroll by lines.
    HWND single = make(ES_AUTOHSCROLL, 100, 24, "text");
    EXPECT_EQ(SendMessageA(single, EM_LINESCROLL, 0, 1), FALSE);

    // Sideways: the bar spans the widest line and moves the text.
    HWND wide = make(ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL, 120, 100,
                     "a rather long first line that does not fit\r\nshort");
    si = barOf(wide, SB_HORZ);
    EXPECT_EQ(si.nMax, measure("a rather long first line that does not fit") - 1);
    const int x0 = GET_X_LPARAM(SendMessageA(wide, EM_POSFROMCHAR, 0, 0));
    SendMessageA(wide, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40), 0);
    EXPECT_EQ(barOf(wide, SB_HORZ).nPos, 40);
    EXPECT_EQ(GET_X_LPARAM(SendMessageA(wide, EM_POSFROMCHAR, 0, 0)), x0 - 40);

    // The picture: a wrapped field with its bar, scrolled part-way.
    HWND shot = make(ES_MULTILINE | WS_VSCROLL, 180, 90,
                     "Word wrap breaks long lines at blanks, and the scroll bar follows the "
                     "lines shown.\r\nA second paragraph has a few more words to wrap over "
                     "several lines.");
    SendMessageA(shot, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessageA(shot, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    EXPECT_GT(SendMessageA(shot, EM_GETLINECOUNT, 0, 0), 4);
    pumpUntilIdle();
    EXPECT_TRUE(robot::saveWindowPng(shot, screenshotPath("edit_multiline_wrapped")));
}

TEST_F(EditMultiLineTest, AlignedSingleLineFieldsDrawWherePositionsSay) {
    // The text's first column of ink lies at EM_POSFROMCHAR of its first
    // character; its last one before the position after the last character.
    for (DWORD align : {ES_LEFT, ES_CENTER, ES_RIGHT}) {
        HWND e = make(align, 160, 24, "IIII");
        RECT fr;
        SendMessageA(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fr));
        RECT client;
        GetClientRect(e, &client);
        EXPECT_GE(fr.left, client.left);
        EXPECT_LE(fr.right, client.right);
        const int x0 = GET_X_LPARAM(SendMessageA(e, EM_POSFROMCHAR, 0, 0));
        const int x4 = GET_X_LPARAM(SendMessageA(e, EM_POSFROMCHAR, 4, 0));
        EXPECT_EQ(x4 - x0, measure("IIII")) << align;
        UpdateWindow(e);
        HDC dc = GetDC(e);
        int first = -1, last = -1;
        for (int x = 0; x < client.right; ++x)
            for (int y = 0; y < client.bottom; ++y)
                if (const COLORREF c = GetPixel(dc, x, y);
                    GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128) {
                    if (first < 0) first = x;
                    last = x;
                }
        ReleaseDC(e, dc);
        ASSERT_GE(first, 0) << align;
        EXPECT_GE(first, x0) << align;
        EXPECT_LE(first, x0 + 2) << align;
        EXPECT_LT(last, x4) << align;
        const int room = fr.right - fr.left;
        const int expectedStart = align == ES_LEFT    ? fr.left
                                  : align == ES_RIGHT ? fr.right - 1 - (x4 - x0)
                                                      : x0;
        EXPECT_EQ(x0, expectedStart) << align;
        if (align == ES_CENTER) {
            EXPECT_LE(std::abs((x0 - fr.left) - (fr.right - x4)), 1);
        }
        EXPECT_LT(x4 - x0, room);
        // A hidden field (as a grid's column control is) answers the same.
        HWND hidden = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "IIII", WS_CHILD | align, 10, 40,
                                      160, 24, host, nullptr, nullptr, nullptr);
        SendMessageA(hidden, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        EXPECT_EQ(SendMessageA(hidden, EM_POSFROMCHAR, 0, 0),
                  SendMessageA(e, EM_POSFROMCHAR, 0, 0));
        RECT hiddenRect;
        SendMessageA(hidden, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&hiddenRect));
        EXPECT_EQ(hiddenRect.right - hiddenRect.left, room);
        // The character under a point is the one drawn there.
        EXPECT_EQ(LOWORD(SendMessageA(e, EM_CHARFROMPOS, 0, MAKELPARAM(x0, 5))), 0);
        EXPECT_EQ(LOWORD(SendMessageA(e, EM_CHARFROMPOS, 0, MAKELPARAM(x4 + 5, 5))), 4);
    }
}
