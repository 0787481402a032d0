// The rich-edit control's parent at work: input offered first (EN_MSGFILTER),
// protected text guarded (EN_PROTECTED); the version-1 class and its
// counting of line breaks; positions in both forms; wrap against scrolling.

#include <cstdlib>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/window/scroll_api.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

// What the parent answers and what it was asked.
struct Parent {
    std::vector<MSGFILTER> filters;
    std::vector<ENPROTECTED> guards;
    std::vector<CHARRANGE> selections;
    WPARAM swallowChar = 0;               // WM_CHAR of this character is refused
    WPARAM changeFrom = 0, changeTo = 0;  // and this one turned into another
    bool swallowClicks = false;
    LRESULT protectAnswer = 1;
};

Parent& parent() {
    static Parent p;
    return p;
}

LRESULT parentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_NOTIFY) return DefWindowProcA(h, msg, wp, lp);
    Parent& p = parent();
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    if (hdr->code == EN_MSGFILTER) {
        auto* mf = reinterpret_cast<MSGFILTER*>(lp);
        p.filters.push_back(*mf);
        if (mf->msg == WM_CHAR && mf->wParam == p.swallowChar) return 1;
        if (mf->msg == WM_CHAR && mf->wParam == p.changeFrom) mf->wParam = p.changeTo;
        if (mf->msg == WM_LBUTTONDOWN && p.swallowClicks) return 1;
        return 0;
    }
    if (hdr->code == EN_PROTECTED) {
        p.guards.push_back(*reinterpret_cast<const ENPROTECTED*>(lp));
        return p.protectAnswer;
    }
    if (hdr->code == EN_SELCHANGE)
        p.selections.push_back(reinterpret_cast<const SELCHANGE*>(lp)->chrg);
    return 0;
}

class RichEditNotifyTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        parent() = Parent{};
        WNDCLASSA wc;
        wc.lpfnWndProc = parentProc;
        wc.lpszClassName = "RICHPARENT";
        ASSERT_NE(RegisterClassA(&wc), 0);
        host = CreateWindowExA(0, "RICHPARENT", "Host",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50, 420, 320,
                               nullptr, nullptr, nullptr, nullptr);
    }
    HWND make(const char* cls, DWORD style = WS_VSCROLL, int width = 300) {
        return CreateWindowExA(WS_EX_CLIENTEDGE, cls, "",
                               WS_CHILD | WS_VISIBLE | ES_MULTILINE | style, 10, 10, width, 200,
                               host, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(1002)),
                               nullptr, nullptr);
    }
    static std::string text(HWND h) { return robot::windowText(h); }
    void pump(robot::Script s) {
        robot::play(std::move(s));
        pumpUntilIdle();
    }
    HWND host = nullptr;
};

void protect(HWND rich, LONG a, LONG b) {
    SendMessageA(rich, EM_SETSEL, static_cast<WPARAM>(a), b);
    CHARFORMATA cf;
    cf.dwMask = CFM_PROTECTED;
    cf.dwEffects = CFE_PROTECTED;
    SendMessageA(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

// Runs a test body with the version-2 class hidden, as on a system without it.
class RichEditVersionOneTest : public RichEditNotifyTest {
  protected:
    void SetUp() override {
        setenv("PELK_RICHEDIT_VERSION", "1", 1);
        RichEditNotifyTest::SetUp();
    }
    void TearDown() override {
        unsetenv("PELK_RICHEDIT_VERSION");
        RichEditNotifyTest::TearDown();
    }
};

}  // namespace

TEST_F(RichEditNotifyTest, TheParentFiltersKeysAndClicksWhenItAsks) {
    HWND rich = make(RICHEDIT_CLASSA);
    SetFocus(rich);
    parent().swallowChar = 'x';
    parent().changeFrom = 'y';
    parent().changeTo = 'z';
    robot::Script before;
    before.text("x");
    pump(std::move(before));
    EXPECT_EQ(text(rich), "x");  // not asked for: nothing filtered
    EXPECT_TRUE(parent().filters.empty());
    SendMessageA(rich, EM_SETEVENTMASK, 0, ENM_KEYEVENTS | ENM_MOUSEEVENTS);
    robot::Script s;
    s.text("axyb");
    pump(std::move(s));
    EXPECT_EQ(text(rich), "xazb");
    bool sawKeyDown = false;
    for (const MSGFILTER& mf : parent().filters) {
        EXPECT_EQ(mf.nmhdr.hwndFrom, rich);
        EXPECT_EQ(mf.nmhdr.code, EN_MSGFILTER);
        sawKeyDown = sawKeyDown || mf.msg == WM_KEYDOWN;
    }
    EXPECT_TRUE(sawKeyDown);
    // A click the parent swallows does not move the caret.
    parent().swallowClicks = true;
    SendMessageA(rich, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3));
    SendMessageA(rich, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    CHARRANGE sel;
    SendMessageA(rich, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    EXPECT_EQ(sel.cpMin, 4);
    parent().swallowClicks = false;
    SendMessageA(rich, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3));
    SendMessageA(rich, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    SendMessageA(rich, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    EXPECT_EQ(sel.cpMin, 0);
}

TEST_F(RichEditNotifyTest, ProtectedTextChangesOnlyWithTheParentsConsent) {
    HWND rich = make(RICHEDIT_CLASSA);
    SetWindowTextA(rich, "keep this safe");
    protect(rich, 5, 9);  // "this"
    SendMessageA(rich, EM_SETEVENTMASK, 0, ENM_PROTECTED);
    struct Attempt {
        LONG a, b;
        UINT msg;
        WPARAM wp;
        bool asks;
        LONG askedMin, askedMax;
    };
    const Attempt attempts[] = {
        {5, 9, WM_CLEAR, 0, true, 5, 9},    // deleting it
        {9, 9, WM_CHAR, '\b', true, 8, 9},  // backspace into it
        {7, 7, WM_CHAR, 'x', true, 7, 7},   // typing inside it
        {5, 5, WM_KEYDOWN, VK_DELETE, true, 5, 6},
        {2, 7, WM_CUT, 0, true, 2, 7},
        {5, 9, WM_COPY, 0, true, 5, 9},     // copying asks as well
        {9, 9, WM_CHAR, 'x', false, 0, 0},  // typing after its end is free
        {0, 0, WM_KEYDOWN, VK_DELETE, false, 0, 0},
    };
    for (const Attempt& t : attempts) {
        const std::string before = text(rich);
        parent().guards.clear();
        SendMessageA(rich, EM_SETSEL, static_cast<WPARAM>(t.a), t.b);
        SendMessageA(rich, t.msg, t.wp, 0);
        if (!t.asks) {
            EXPECT_TRUE(parent().guards.empty()) << t.msg;
            EXPECT_NE(text(rich), before) << t.msg;
            continue;
        }
        ASSERT_FALSE(parent().guards.empty()) << t.msg;
        const ENPROTECTED& ep = parent().guards.front();
        EXPECT_EQ(ep.nmhdr.code, EN_PROTECTED);
        EXPECT_EQ(ep.chrg.cpMin, t.askedMin) << t.msg;
        EXPECT_EQ(ep.chrg.cpMax, t.askedMax) << t.msg;
        EXPECT_EQ(text(rich), before) << t.msg;  // refused
    }
    // Consent lets the change through.
    SetWindowTextA(rich, "keep this safe");
    protect(rich, 5, 9);
    parent().protectAnswer = 0;
    SendMessageA(rich, EM_SETSEL, 5, 10);
    SendMessageA(rich, WM_CLEAR, 0, 0);
    EXPECT_EQ(text(rich), "keep safe");
    ASSERT_EQ(parent().guards.size(), 1u);  // changing the protection itself is free
    EXPECT_EQ(parent().guards.back().msg, static_cast<UINT>(WM_CLEAR));
}

TEST_F(RichEditNotifyTest, VersionTwoCountsABreakOnceAndAnswersPackedPositions) {
    EXPECT_EQ(richEditNewestVersion(), 2);
    HWND rich = make(RICHEDIT_CLASSA);
    SetWindowTextA(rich, "pq\r\nrs");
    SendMessageA(rich, EM_SETEVENTMASK, 0, ENM_SELCHANGE);
    SendMessageA(rich, EM_SETSEL, 3, 5);
    char sel[8] = {};
    EXPECT_EQ(SendMessageA(rich, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(sel)), 2);
    EXPECT_STREQ(sel, "rs");
    ASSERT_EQ(parent().selections.size(), 1u);
    EXPECT_EQ(parent().selections[0].cpMin, 3);
    EXPECT_EQ(SendMessageA(rich, EM_LINEINDEX, 1, 0), 3);
    EXPECT_EQ(SendMessageA(rich, EM_EXLINEFROMCHAR, 0, 3), 1);
    const LRESULT packed = SendMessageA(rich, EM_POSFROMCHAR, 3, 0);
    POINTL pt;
    SendMessageA(rich, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&pt), 3);
    EXPECT_EQ(GET_X_LPARAM(packed), pt.x);
    EXPECT_EQ(GET_Y_LPARAM(packed), pt.y);
    EXPECT_GT(pt.y, 0);
    pt.x += 1;
    EXPECT_EQ(SendMessageA(rich, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&pt)), 3);
    // A larger first line pushes the second one down.
    SendMessageA(rich, EM_SETSEL, 0, 2);
    CHARFORMATA cf;
    cf.dwMask = CFM_SIZE;
    cf.yHeight = 720;
    SendMessageA(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    EXPECT_GT(GET_Y_LPARAM(SendMessageA(rich, EM_POSFROMCHAR, 3, 0)), pt.y);
}

TEST_F(RichEditVersionOneTest, VersionOneCountsCarriageReturnAndLineFeed) {
    EXPECT_EQ(richEditNewestVersion(), 1);
    EXPECT_FALSE(richEditVersionPresent(2));
    EXPECT_EQ(make(RICHEDIT_CLASSA), nullptr);  // not there
    HWND rich = make(RICHEDIT_CLASS10A);
    ASSERT_NE(rich, nullptr);
    SetWindowTextA(rich, "pq\r\nrs");
    SendMessageA(rich, EM_SETEVENTMASK, 0, ENM_SELCHANGE);
    SendMessageA(rich, EM_SETSEL, 4, 6);
    char sel[8] = {};
    EXPECT_EQ(SendMessageA(rich, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(sel)), 2);
    EXPECT_STREQ(sel, "rs");
    CHARRANGE got;
    SendMessageA(rich, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.cpMin, 4);
    EXPECT_EQ(got.cpMax, 6);
    ASSERT_EQ(parent().selections.size(), 1u);
    EXPECT_EQ(parent().selections[0].cpMin, 4);
    EXPECT_EQ(SendMessageA(rich, EM_LINEINDEX, 1, 0), 4);
    EXPECT_EQ(SendMessageA(rich, EM_EXLINEFROMCHAR, 0, 4), 1);
    char all[16] = {};
    TEXTRANGEA tr;
    tr.chrg = {0, -1};
    tr.lpstrText = all;
    EXPECT_EQ(SendMessageA(rich, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr)), 6);
    EXPECT_STREQ(all, "pq\r\nrs");
    FINDTEXTA ft;
    ft.chrg = {0, -1};
    ft.lpstrText = "rs";
    EXPECT_EQ(SendMessageA(rich, EM_FINDTEXT, 0x1, reinterpret_cast<LPARAM>(&ft)), 4);
    // Positions answer through a point; the second line is lower.
    POINTL pt;
    EXPECT_EQ(SendMessageA(rich, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&pt), 4), 0);
    EXPECT_GT(pt.y, 0);
    // One step of undo and no redo.
    SendMessageA(rich, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("A"));
    SendMessageA(rich, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("B"));
    EXPECT_TRUE(SendMessageA(rich, EM_UNDO, 0, 0));
    EXPECT_FALSE(SendMessageA(rich, EM_UNDO, 0, 0));
    EXPECT_EQ(text(rich), "pq\r\nA");
    EXPECT_FALSE(SendMessageA(rich, EM_CANREDO, 0, 0));
    EXPECT_FALSE(SendMessageA(rich, EM_REDO, 0, 0));
}

TEST_F(RichEditNotifyTest, AHorizontalBarTurnsWrapOffAndScrollsSideways) {
    const std::string longLine =
        "a line far too long for the narrow control, which wraps it unless it scrolls";
    HWND wrapping = make(RICHEDIT_CLASSA, WS_VSCROLL, 150);
    HWND scrolling = make(RICHEDIT_CLASSA, WS_VSCROLL | WS_HSCROLL, 150);
    for (HWND h : {wrapping, scrolling})
        SetWindowTextA(h, longLine.c_str());
    EXPECT_GT(SendMessageA(wrapping, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(scrolling, EM_GETLINECOUNT, 0, 0), 1);
    const int x0 = GET_X_LPARAM(SendMessageA(scrolling, EM_POSFROMCHAR, 0, 0));
    SendMessageA(scrolling, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50), 0);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(scrolling, SB_HORZ, &si);
    EXPECT_EQ(si.nPos, 50);
    EXPECT_GT(si.nMax, 150);
    EXPECT_EQ(GET_X_LPARAM(SendMessageA(scrolling, EM_POSFROMCHAR, 0, 0)), x0 - 50);
    // The caret at the end of the line brings its end into view.
    SendMessageA(scrolling, EM_SETSEL, longLine.size(), static_cast<LPARAM>(longLine.size()));
    RECT rc;
    GetClientRect(scrolling, &rc);
    const int xEnd = GET_X_LPARAM(SendMessageA(scrolling, EM_POSFROMCHAR, longLine.size(), 0));
    EXPECT_GE(xEnd, 0);
    EXPECT_LE(xEnd, rc.right);
    // Whole lines scroll with EM_LINESCROLL.
    const std::string many = longLine + "\r\n" + longLine + "\r\n" + longLine + "\r\n" + longLine;
    SetWindowTextA(wrapping, many.c_str());
    SendMessageA(wrapping, EM_LINESCROLL, 0, 2);
    EXPECT_EQ(SendMessageA(wrapping, EM_GETFIRSTVISIBLELINE, 0, 0), 2);
}
