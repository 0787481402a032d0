// Window scroll bars and the clipboard.

#include <cstring>

#include "platform/window/clipboard_api.h"
#include "platform/window/scroll_api.h"
#include "window_test_support.h"

using namespace win;
using namespace wintest;

TEST_F(WindowTest, ScrollInfoShowsTheBarClampsThePositionAndResizesTheClient) {
    HWND w = topLevel("scroll");
    RECT before;
    GetClientRect(w, &before);
    seen().clear();
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 200;
    EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, TRUE), 90);  // the last page starts at 90
    EXPECT_NE(GetWindowLongA(w, GWL_STYLE) & static_cast<LONG_PTR>(WS_VSCROLL), 0);
    ASSERT_FALSE(seenOf(WM_SIZE).empty());
    RECT after;
    GetClientRect(w, &after);
    EXPECT_EQ(after.right, before.right - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(SetScrollPos(w, SB_VERT, -5, TRUE), 90);
    EXPECT_EQ(GetScrollPos(w, SB_VERT), 0);
    si.fMask = SIF_RANGE;
    si.nMax = 5;  // everything fits: the bar goes away
    SetScrollInfo(w, SB_VERT, &si, TRUE);
    EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & static_cast<LONG_PTR>(WS_VSCROLL), 0);
}

TEST_F(WindowTest, MouseOnTheScrollBarSendsScrollCodes) {
    HWND w = topLevel("scroll");
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMax = 99;
    si.nPage = 10;
    SetScrollInfo(w, SB_VERT, &si, TRUE);
    RECT wr;
    GetWindowRect(w, &wr);
    const int x = wr.right - 4 - 8;    // the bar, inside the frame
    const int top = wr.top + 4 + 19;   // client top
    const int bottom = wr.bottom - 4;  // client bottom
    seen().clear();
    robot::play(robot::Script()
                    .click(x, bottom - 8)               // down arrow
                    .click(x, bottom - 30)              // the track below the thumb
                    .drag(x, top + 20, x, top + 120));  // the thumb, at the top
    pumpUntilIdle();
    std::vector<WORD> codes;
    for (const Seen& s : seenOf(WM_VSCROLL))
        codes.push_back(LOWORD(s.wParam));
    ASSERT_GE(codes.size(), 6u);
    EXPECT_EQ(codes[0], SB_LINEDOWN);
    EXPECT_EQ(codes[1], SB_ENDSCROLL);
    EXPECT_EQ(codes[2], SB_PAGEDOWN);
    EXPECT_EQ(codes[3], SB_ENDSCROLL);
    EXPECT_EQ(codes[4], SB_THUMBTRACK);
    EXPECT_EQ(codes[codes.size() - 2], SB_THUMBPOSITION);
    EXPECT_EQ(codes.back(), SB_ENDSCROLL);
    const auto last = seenOf(WM_VSCROLL)[seenOf(WM_VSCROLL).size() - 2];
    EXPECT_GT(HIWORD(last.wParam), 30);  // dragged a good way down
    EXPECT_LE(HIWORD(last.wParam), 90);
}

TEST_F(WindowTest, ClipboardKeepsTextAndRegisteredFormats) {
    HWND w = topLevel("clip");
    EXPECT_FALSE(SetClipboardData(CF_TEXT, nullptr));  // not open
    ASSERT_TRUE(OpenClipboard(w));
    EXPECT_FALSE(OpenClipboard(w));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 12);
    std::memcpy(GlobalLock(text), "one\r\ntwo", 9);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    const UINT cgm = RegisterClipboardFormatA("Veraziderad CGM");
    EXPECT_GE(cgm, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormatA("Veraziderad CGM"), cgm);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4);
    EXPECT_EQ(GlobalSize(data), 4u);
    EXPECT_EQ(static_cast<unsigned char*>(GlobalLock(data))[3], 0);
    GlobalUnlock(data);
    SetClipboardData(cgm, data);
    CloseClipboard();
    EXPECT_EQ(GetClipboardOwner(), w);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(cgm));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "one\r\ntwo");
    GlobalUnlock(GetClipboardData(CF_TEXT));
    EXPECT_EQ(GetClipboardData(cgm), data);
    EXPECT_EQ(CountClipboardFormats(), 2);
    EmptyClipboard();  // frees the blocks the clipboard owned
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    CloseClipboard();
}
