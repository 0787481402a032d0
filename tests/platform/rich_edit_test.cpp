// The rich-edit control: text and its formats, selection events, find,
// streaming as text and RTF, and drawing a range on a page.

#include <cstring>
#include <string>
#include <tuple>

#include "dialog_test_support.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/gdi/gdi.h"
#include "platform/window/scroll_api.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

class RichEditTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        host = topLevel("Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN);
        rich = make();
        seen().clear();
    }
    HWND make() {
        return CreateWindowExA(
            WS_EX_CLIENTEDGE, RICHEDIT_CLASSA, "",
            WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL, 10,
            10, 300, 200, host, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(1002)), nullptr,
            nullptr);
    }
    void select(HWND h, LONG a, LONG b) {
        CHARRANGE cr{a, b};
        SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    }
    HWND host = nullptr;
    HWND rich = nullptr;
};

struct Buffer {
    std::string data;
    std::size_t read = 0;
};

DWORD collect(UINT_PTR cookie, BYTE* buf, LONG n, LONG* done) {
    reinterpret_cast<Buffer*>(cookie)->data.append(reinterpret_cast<const char*>(buf),
                                                   static_cast<std::size_t>(n));
    *done = n;
    return 0;
}

DWORD supply(UINT_PTR cookie, BYTE* buf, LONG n, LONG* done) {
    auto* b = reinterpret_cast<Buffer*>(cookie);
    const std::size_t k =
        std::min<std::size_t>(static_cast<std::size_t>(n), b->data.size() - b->read);
    std::memcpy(buf, b->data.data() + b->read, k);
    b->read += k;
    *done = static_cast<LONG>(k);
    return 0;
}

std::string textOf(HWND h) {
    char buf[512];
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

}  // namespace

TEST_F(RichEditTest, FormatsSelectionEventsAndFind) {
    SetWindowTextA(rich, "Hello world\r\nSecond line");
    EXPECT_EQ(textOf(rich), "Hello world\r\nSecond line");
    select(rich, 1, 2);
    EXPECT_TRUE(seenOf(WM_NOTIFY).empty());  // not asked for yet
    SendMessageA(rich, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
    select(rich, 0, 5);
    EXPECT_EQ(seenOf(WM_NOTIFY).size(), 1u);
    select(rich, 0, 5);
    EXPECT_EQ(seenOf(WM_NOTIFY).size(), 1u);  // no change, no event
    CHARFORMATA bold;
    bold.dwMask = CFM_BOLD | CFM_COLOR;
    bold.dwEffects = CFE_BOLD;
    bold.crTextColor = RGB(200, 0, 0);
    EXPECT_TRUE(
        SendMessageA(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold)));
    CHARFORMATA got;
    SendMessageA(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&got));
    EXPECT_TRUE(got.dwMask & CFM_BOLD);
    EXPECT_TRUE(got.dwEffects & CFE_BOLD);
    EXPECT_EQ(got.crTextColor, RGB(200, 0, 0));
    select(rich, 3, 8);  // half bold, half not
    SendMessageA(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&got));
    EXPECT_FALSE(got.dwMask & CFM_BOLD);
    EXPECT_TRUE(got.dwMask & CFM_FACE);
    char sel[16];
    EXPECT_EQ(SendMessageA(rich, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(sel)), 5);
    EXPECT_STREQ(sel, "lo wo");
    FINDTEXTEXA ft;
    ft.chrg = {0, -1};
    ft.lpstrText = "WORLD";
    EXPECT_EQ(SendMessageA(rich, EM_FINDTEXTEX, 0x1, reinterpret_cast<LPARAM>(&ft)), 6);
    EXPECT_EQ(ft.chrgText.cpMax, 11);
    EXPECT_EQ(SendMessageA(rich, EM_FINDTEXTEX, 0x1 | 0x4, reinterpret_cast<LPARAM>(&ft)),
              -1);  // match case
    ft.lpstrText = "line";
    ft.chrg = {25, 0};
    EXPECT_EQ(SendMessageA(rich, EM_FINDTEXTEX, 0, reinterpret_cast<LPARAM>(&ft)),
              19);  // searching up
    ft.lpstrText = "Sec";
    ft.chrg = {0, -1};
    EXPECT_EQ(SendMessageA(rich, EM_FINDTEXTEX, 0x1 | 0x2, reinterpret_cast<LPARAM>(&ft)),
              -1);  // whole word
    TEXTRANGEA tr;
    char part[16];
    tr.chrg = {12, 18};
    tr.lpstrText = part;
    EXPECT_EQ(SendMessageA(rich, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr)), 6);
    EXPECT_STREQ(part, "Second");
    // Typing replaces the selection and reports the change.
    SetFocus(rich);
    select(rich, 0, 5);
    seen().clear();
    robot::Script s;
    s.text("Hi");
    robot::play(std::move(s));
    pumpUntilIdle();
    EXPECT_EQ(textOf(rich), "Hi world\r\nSecond line");
    // What is typed over bold text is bold as well.
    select(rich, 0, 2);
    SendMessageA(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&got));
    EXPECT_TRUE((got.dwMask & CFM_BOLD) && (got.dwEffects & CFE_BOLD));
    select(rich, 2, 2);
    int changes = 0;
    for (const Seen& m : seenOf(WM_COMMAND))
        changes += HIWORD(m.wParam) == EN_CHANGE ? 1 : 0;
    EXPECT_EQ(changes, 2);
    SendMessageA(rich, EM_UNDO, 0, 0);  // the typing is one step
    EXPECT_EQ(textOf(rich), "Hello world\r\nSecond line");
    // A long text scrolls: the bar's range is the text's height.
    std::string many;
    for (int i = 0; i < 60; ++i)
        many += "row\r\n";
    SetWindowTextA(rich, many.c_str());
    SendMessageA(rich, WM_VSCROLL, SB_PAGEDOWN, 0);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(rich, SB_VERT, &si);
    EXPECT_GT(si.nMax, 200);
    EXPECT_GT(si.nPos, 0);
    pumpUntilIdle();
    robot::saveWindowPng(rich, screenshotPath("rich_edit"));
}

TEST_F(RichEditTest, RtfAndTextStreamOutAndBackIn) {
    SetWindowTextA(rich, "Bold {and} plain\r\nCaf\xe9");
    select(rich, 0, 4);
    CHARFORMATA cf;
    cf.dwMask = CFM_BOLD | CFM_COLOR | CFM_SIZE | CFM_FACE;
    cf.dwEffects = CFE_BOLD;
    cf.crTextColor = RGB(0, 0, 255);
    cf.yHeight = 280;
    std::strcpy(cf.szFaceName, "Times New Roman");
    SendMessageA(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    Buffer out;
    EDITSTREAM es;
    es.dwCookie = reinterpret_cast<UINT_PTR>(&out);
    es.pfnCallback = collect;
    EXPECT_GT(SendMessageA(rich, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es)), 0);
    EXPECT_EQ(out.data.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(out.data.find("\\{and\\}"), std::string::npos);
    EXPECT_NE(out.data.find("\\'e9"), std::string::npos);
    EXPECT_NE(out.data.find("Times New Roman"), std::string::npos);

    HWND other = make();
    Buffer in{out.data};
    es.dwCookie = reinterpret_cast<UINT_PTR>(&in);
    es.pfnCallback = supply;
    SendMessageA(other, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
    EXPECT_EQ(textOf(other), "Bold {and} plain\r\nCaf\xe9");
    select(other, 0, 4);
    CHARFORMATA got;
    SendMessageA(other, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&got));
    EXPECT_TRUE(got.dwEffects & CFE_BOLD);
    EXPECT_EQ(got.crTextColor, RGB(0, 0, 255));
    EXPECT_EQ(got.yHeight, 280);
    EXPECT_STREQ(got.szFaceName, "Times New Roman");
    select(other, 5, 9);
    SendMessageA(other, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&got));
    EXPECT_FALSE(got.dwEffects & CFE_BOLD);

    // Plain text: LF or CR LF lines in, CR LF lines out.
    Buffer plain{"one\ntwo\r\nthree"};
    es.dwCookie = reinterpret_cast<UINT_PTR>(&plain);
    EXPECT_EQ(SendMessageA(other, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&es)), 13);
    Buffer back;
    es.dwCookie = reinterpret_cast<UINT_PTR>(&back);
    es.pfnCallback = collect;
    SendMessageA(other, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&es));
    EXPECT_EQ(back.data, "one\r\ntwo\r\nthree");
}

TEST_F(RichEditTest, FormatRangeDrawsWhatFitsAndAnswersWhereToGoOn) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Line number " + std::to_string(i) + "\r\n";
    SetWindowTextA(rich, text.c_str());
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP page = CreateCompatibleBitmap(dc, 400, 400);
    HGDIOBJ old = SelectObject(dc, page);
    RECT all{0, 0, 400, 400};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    FORMATRANGE fr;
    fr.hdc = fr.hdcTarget = dc;
    fr.rc = {0, 0, 400 * 1440 / dpi, 200 * 1440 / dpi};  // the upper half of the bitmap
    fr.rcPage = fr.rc;
    fr.chrg = {0, -1};
    const LRESULT next = SendMessageA(rich, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&fr));
    const LRESULT length = GetWindowTextLengthA(rich) - 40;  // paragraph marks count once
    EXPECT_GT(next, 0);
    EXPECT_LT(next, length);
    int inked = 0, below = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            const bool dark = GetPixel(dc, x, y) == RGB(0, 0, 0);
            (y < 200 ? inked : below) += dark ? 1 : 0;
        }
    EXPECT_GT(inked, 100);
    EXPECT_EQ(below, 0);
    // The next page starts where this one stopped; measuring draws nothing.
    fr.chrg = {static_cast<LONG>(next), -1};
    const LRESULT after = SendMessageA(rich, EM_FORMATRANGE, FALSE, reinterpret_cast<LPARAM>(&fr));
    EXPECT_GT(after, next);
    SelectObject(dc, old);
    DeleteObject(page);
    DeleteDC(dc);
}

TEST_F(RichEditTest, ParagraphAlignmentAndBulletsStayWithTheirParagraphs) {
    SetWindowTextA(rich, "Title\r\nfirst point\r\nsecond point");
    PARAFORMAT pf;
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = PFA_CENTER;
    select(rich, 1, 1);
    ASSERT_TRUE(SendMessageA(rich, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf)));
    pf.dwMask = PFM_NUMBERING;
    pf.wNumbering = PFN_BULLET;
    select(rich, 8, 20);  // from the second paragraph into the third
    SendMessageA(rich, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    PARAFORMAT got;
    select(rich, 2, 2);
    SendMessageA(rich, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.wAlignment, PFA_CENTER);
    EXPECT_EQ(got.wNumbering, 0);
    select(rich, 20, 20);
    SendMessageA(rich, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.wAlignment, PFA_LEFT);
    EXPECT_EQ(got.wNumbering, PFN_BULLET);
    // Typing inside a paragraph keeps its layout; the RTF carries it over.
    select(rich, 3, 3);
    SendMessageA(rich, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("xx"));
    Buffer out;
    EDITSTREAM es;
    es.dwCookie = reinterpret_cast<UINT_PTR>(&out);
    es.pfnCallback = collect;
    SendMessageA(rich, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
    EXPECT_NE(out.data.find("\\qc"), std::string::npos);
    EXPECT_NE(out.data.find("\\pnlvlblt"), std::string::npos);
    HWND other = make();
    Buffer in{out.data};
    es.dwCookie = reinterpret_cast<UINT_PTR>(&in);
    es.pfnCallback = supply;
    SendMessageA(other, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
    EXPECT_EQ(textOf(other), "Titxxle\r\nfirst point\r\nsecond point");
    for (const auto& [at, align, bullet] :
         {std::tuple{0, PFA_CENTER, 0}, std::tuple{10, PFA_LEFT, 1}, std::tuple{24, PFA_LEFT, 1}}) {
        select(other, at, at);
        SendMessageA(other, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&got));
        EXPECT_EQ(got.wAlignment, align) << at;
        EXPECT_EQ(got.wNumbering, bullet) << at;
    }
    pumpUntilIdle();
    robot::saveWindowPng(other, screenshotPath("rich_edit_paragraphs"));
}

TEST_F(RichEditTest, KeysMoveByWordAndPageAndInsertSwitchesOverwriting) {
    std::string text = "alpha beta, gamma\r\n";
    for (int i = 0; i < 40; ++i)
        text += "filler line\r\n";
    SetWindowTextA(rich, text.c_str());
    SetFocus(rich);
    auto caret = [&] {
        CHARRANGE cr;
        SendMessageA(rich, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
        return cr.cpMax;
    };
    auto press = [&](std::initializer_list<int> chord) {
        robot::Script s;
        s.chord(chord);
        robot::play(std::move(s));
        pumpUntilIdle();
    };
    const struct {
        std::initializer_list<int> keys;
        LONG caret;
    } moves[] = {{{VK_CONTROL, VK_RIGHT}, 6},
                 {{VK_CONTROL, VK_RIGHT}, 12},
                 {{VK_CONTROL, VK_LEFT}, 6},
                 {{VK_CONTROL, VK_LEFT}, 0}};
    for (const auto& m : moves) {
        press(m.keys);
        EXPECT_EQ(caret(), m.caret);
    }
    // A page down moves the caret and the view by about a window's height.
    press({VK_NEXT});
    const LRESULT line = SendMessageA(rich, EM_EXLINEFROMCHAR, 0, caret());
    EXPECT_GT(line, 5);
    EXPECT_GT(SendMessageA(rich, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    press({VK_PRIOR});
    EXPECT_EQ(SendMessageA(rich, EM_EXLINEFROMCHAR, 0, caret()), 0);
    // Insert switches to overwriting; the overwritten letters come back on undo.
    select(rich, 0, 0);
    robot::Script s;
    s.key(VK_INSERT).text("OMEGA!!");
    robot::play(std::move(s));
    pumpUntilIdle();
    EXPECT_EQ(textOf(rich).substr(0, 19), "OMEGA!!eta, gamma\r\n");
    SendMessageA(rich, EM_UNDO, 0, 0);
    EXPECT_EQ(textOf(rich).substr(0, 17), "alpha beta, gamma");
    // Typing at a line's end does not swallow the line break.
    select(rich, 17, 17);
    robot::Script end;
    end.text("xy");
    robot::play(std::move(end));
    pumpUntilIdle();
    EXPECT_EQ(textOf(rich).substr(0, 21), "alpha beta, gammaxy\r\n");
    // A double click selects the word under the pointer.
    const LRESULT at = SendMessageA(rich, EM_POSFROMCHAR, 7, 0);
    SendMessageA(rich, WM_LBUTTONDBLCLK, 0, MAKELPARAM(GET_X_LPARAM(at) + 1, GET_Y_LPARAM(at) + 2));
    char word[16] = {};
    SendMessageA(rich, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(word));
    EXPECT_STREQ(word, "beta");
}
