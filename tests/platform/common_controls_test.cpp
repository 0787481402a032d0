// Tool bar (with tool tips), status bar, track bar and progress bar in a
// window, driven by the robot.

#include <algorithm>
#include <cstddef>
#include <string>

#include "dialog_test_support.h"
#include "platform/resources/resource_api.h"
#include "platform/window/image_api.h"
#include "platform/window/scroll_api.h"
#include "window_test_ids.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

std::vector<int> commands;
std::vector<WORD> scrolls;

LRESULT hostProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    hear(msg, wp, lp);
    if (msg == WM_COMMAND) commands.push_back(LOWORD(wp));
    if (msg == WM_HSCROLL || msg == WM_VSCROLL) scrolls.push_back(LOWORD(wp));
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == TTN_NEEDTEXTA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lp);
        std::snprintf(info->szText, sizeof info->szText, "Tip %d",
                      static_cast<int>(info->hdr.idFrom));
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

class CommonControlsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        heard().clear();
        commands.clear();
        scrolls.clear();
        WNDCLASSA wc;
        wc.lpfnWndProc = hostProc;
        wc.lpszClassName = "CONTROLHOST";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
        ASSERT_TRUE(RegisterClassA(&wc));
        host = CreateWindowExA(0, "CONTROLHOST", "Host",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50, 500, 300,
                               nullptr, nullptr, nullptr, nullptr);
    }
    HWND child(const char* cls, DWORD style, int id, int x, int y, int w, int h) {
        return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, host,
                               reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr,
                               nullptr);
    }
    HWND host = nullptr;
};

POINT buttonCentre(HWND bar, int index) {
    RECT r;
    SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &p);
    return p;
}

}  // namespace

#ifdef PELK_HAS_TEST_RESOURCES
TEST_F(CommonControlsTest, ToolBarButtonsCommandCheckAndShowTips) {
    HWND bar = child(TOOLBARCLASSNAMEA, TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, 50, 0, 0, 0, 0);
    ASSERT_TRUE(bar);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELONG(1, 2));
    TBADDBITMAP add;
    add.hInst = nullptr;
    add.nID = reinterpret_cast<UINT_PTR>(
        LoadImageA(nullptr, MAKEINTRESOURCEA(IDB_TOOL), IMAGE_BITMAP, 0, 0, 0));
    EXPECT_EQ(SendMessageA(bar, TB_ADDBITMAP, 3, reinterpret_cast<LPARAM>(&add)), 0);
    TBBUTTON buttons[5];
    const int ids[5] = {100, 0, 101, 102, 103};
    const BYTE styles[5] = {TBSTYLE_BUTTON, TBSTYLE_SEP, TBSTYLE_CHECK, TBSTYLE_CHECKGROUP,
                            TBSTYLE_CHECKGROUP};
    for (int i = 0; i < 5; ++i) {
        buttons[i].iBitmap = i % 3;
        buttons[i].idCommand = ids[i];
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = styles[i];
    }
    ASSERT_TRUE(SendMessageA(bar, TB_ADDBUTTONSA, 5, reinterpret_cast<LPARAM>(buttons)));
    SendMessageA(bar, TB_AUTOSIZE, 0, 0);
    EXPECT_EQ(robot::screenRect(bar).right - robot::screenRect(bar).left, [&] {
        RECT r;
        GetClientRect(host, &r);
        return static_cast<int>(r.right);
    }());
    robot::Script s;
    clickAt(s, [=] { return buttonCentre(bar, 0); });
    clickAt(s, [=] { return buttonCentre(bar, 2); });
    clickAt(s, [=] { return buttonCentre(bar, 3); });
    clickAt(s, [=] { return buttonCentre(bar, 4); });
    s.check([=] {
        EXPECT_EQ(commands, (std::vector<int>{100, 101, 102, 103}));
        EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONCHECKED, 101, 0));
        // One of a check group at a time.
        EXPECT_FALSE(SendMessageA(bar, TB_ISBUTTONCHECKED, 102, 0));
        EXPECT_EQ(SendMessageA(bar, TB_GETSTATE, 103, 0), TBSTATE_ENABLED | TBSTATE_CHECKED);
        EXPECT_EQ(SendMessageA(bar, TB_GETSTATE, 999, 0), -1);
        SendMessageA(bar, TB_ENABLEBUTTON, 100, FALSE);
        commands.clear();
    });
    clickAt(s, [=] { return buttonCentre(bar, 0); });
    // Resting on a button shows its tip, with the text the parent gives.
    s.steps.push_back([=] {
        const POINT p = buttonCentre(bar, 2);
        injectMouseMove(p.x, p.y);
    });
    s.wait(600);
    s.check([=] {
        EXPECT_TRUE(commands.empty());  // a disabled button does nothing
        EXPECT_EQ(countOf(101, WM_NOTIFY, TTN_NEEDTEXTA), 1);
        HWND tip = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
        ASSERT_TRUE(tip);
        EXPECT_TRUE(IsWindowVisible(tip));
        EXPECT_EQ(robot::windowText(tip), "Tip 101");
    });
    robot::play(std::move(s));
    pumpUntilIdle();
}
#endif

TEST_F(CommonControlsTest, StatusBarPartsTextAndAnImmediateRepaint) {
    HWND bar = child(STATUSCLASSNAMEA, SBARS_SIZEGRIP, 60, 0, 0, 0, 0);
    ASSERT_TRUE(bar);
    RECT client, r;
    GetClientRect(host, &client);
    GetWindowRect(bar, &r);
    POINT bottom{0, client.bottom};
    ClientToScreen(host, &bottom);
    EXPECT_EQ(r.bottom, bottom.y);  // along the bottom of the parent
    const int edges[3] = {100, 200, -1};
    ASSERT_TRUE(SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
    pumpUntilIdle();
    RECT part;
    SendMessageA(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&part), 2);
    auto darkPixels = [&] {
        int n = 0;
        const Surface& screen = robot::screen();
        for (int y = part.top + 2; y < part.bottom - 2; ++y)
            for (int x = part.left + 2; x < part.right - 2; ++x)
                n += (screen.at(x, y) & 0xFFFFFF) == 0 ? 1 : 0;
        return n;
    };
    EXPECT_EQ(darkPixels(), 0);
    SendMessageA(bar, SB_SETTEXTA, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("Ready"));
    EXPECT_GT(darkPixels(), 0);  // drawn at once, without the message loop
    char buf[32];
    const auto info = SendMessageA(bar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "Ready");
    EXPECT_EQ(LOWORD(static_cast<DWORD>(info)), 5);
    EXPECT_EQ(HIWORD(static_cast<DWORD>(info)), SBT_POPOUT);
    SendMessageA(bar, SB_SIMPLE, TRUE, 0);
    SendMessageA(bar, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>("Menu help"));
    EXPECT_EQ(LOWORD(static_cast<DWORD>(SendMessageA(bar, SB_GETTEXTLENGTHA, SB_SIMPLEID, 0))), 9);
    EXPECT_TRUE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
}

TEST_F(CommonControlsTest, TrackBarMovesByKeysAndMouseAndKeepsItsSettings) {
    HWND track = child(TRACKBAR_CLASSA, TBS_AUTOTICKS | TBS_ENABLESELRANGE | WS_TABSTOP, 70, 20, 60,
                       200, 30);
    SendMessageA(track, TBM_SETRANGE, TRUE, MAKELONG(0, 10));
    SendMessageA(track, TBM_SETTICFREQ, 2, 0);
    SendMessageA(track, TBM_SETPOS, TRUE, 4);
    SendMessageA(track, TBM_SETPAGESIZE, 0, 3);
    SendMessageA(track, TBM_SETSELSTART, FALSE, 2);
    SendMessageA(track, TBM_SETSELEND, TRUE, 6);
    EXPECT_EQ(SendMessageA(track, TBM_GETNUMTICS, 0, 0), 6);
    EXPECT_EQ(SendMessageA(track, TBM_GETSELSTART, 0, 0), 2);
    EXPECT_EQ(SendMessageA(track, TBM_GETSELEND, 0, 0), 6);
    SetFocus(track);
    robot::Script s;
    s.key(VK_RIGHT).check([=] {
        EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 5);
        EXPECT_EQ(scrolls, (std::vector<WORD>{TB_LINEDOWN, TB_ENDTRACK}));
        scrolls.clear();
    });
    s.key(VK_NEXT).key(VK_END).check([=] { EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 10); });
    // A click beside the thumb moves a page towards the click.
    s.steps.push_back([=] {
        const RECT r = robot::screenRect(track);
        injectMouseMove(r.left + 20, (r.top + r.bottom) / 2 - 4);
        injectMouseButton(r.left + 20, (r.top + r.bottom) / 2 - 4, 0, true);
        injectMouseButton(r.left + 20, (r.top + r.bottom) / 2 - 4, 0, false);
    });
    s.check([=] { EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 7); });
    robot::play(std::move(s));
    pumpUntilIdle();
    SendMessageA(track, TBM_CLEARSEL, TRUE, 0);
    EXPECT_EQ(SendMessageA(track, TBM_GETSELEND, 0, 0), 0);
}

TEST_F(CommonControlsTest, ProgressBarKeepsItsPositionInRange) {
    HWND bar = child(PROGRESS_CLASSA, 0, 80, 20, 120, 200, 16);
    SendMessageA(bar, PBM_SETRANGE32, 0, 200);
    EXPECT_EQ(SendMessageA(bar, PBM_SETPOS, 50, 0), 0);
    EXPECT_EQ(SendMessageA(bar, PBM_DELTAPOS, 25, 0), 50);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 75);
    EXPECT_EQ(SendMessageA(bar, PBM_SETPOS, 500, 0), 75);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 200);
    PBRANGE range;
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 0);
    EXPECT_EQ(range.iHigh, 200);
    SendMessageA(bar, PBM_SETSTEP, 30, 0);
    SendMessageA(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 30);  // past the end it starts again
    pumpUntilIdle();
    // Drawn: the filled part in the highlight colour, the rest in the face.
    const RECT r = robot::screenRect(bar);
    EXPECT_EQ(robot::screen().at(r.left + 10, r.top + 8) & 0xFFFFFF,
              pixelOf(GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_EQ(robot::screen().at(r.right - 10, r.top + 8) & 0xFFFFFF,
              pixelOf(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(CommonControlsTest, ScrollBarControlReportsScrollingAndTheSizeGripSizesTheWindow) {
    HWND bar = child("ScrollBar", 0x1 /* SBS_VERT */, 90, 300, 10, 17, 150);
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 100;
    si.nPage = 10;
    si.nPos = 20;
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 20);
    SetScrollPos(bar, SB_CTL, 500, TRUE);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 91);  // the last page starts at max - page + 1
    SetScrollPos(bar, SB_CTL, 0, TRUE);
    RECT client;
    GetClientRect(host, &client);
    HWND grip = child("ScrollBar", 0x10 | 0x4 /* SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN */, 91,
                      0, 0, client.right, client.bottom);
    const RECT g = robot::screenRect(grip);
    EXPECT_EQ(g.right - g.left, GetSystemMetrics(SM_CXVSCROLL));
    const RECT before = robot::screenRect(host);
    robot::Script s;
    clickAt(s, [=] {
        const RECT r = robot::screenRect(bar);
        return POINT{(r.left + r.right) / 2, r.bottom - 4};
    });
    s.check([] {
        EXPECT_EQ(scrolls, (std::vector<WORD>{SB_LINEDOWN, SB_ENDSCROLL}));
        scrolls.clear();
    });
    // Dragging the thumb tracks it, then gives its place.
    s.steps.push_back([=] {
        const RECT r = robot::screenRect(bar);
        const int x = (r.left + r.right) / 2, y = r.top + 20;
        injectMouseMove(x, y);
        injectMouseButton(x, y, 0, true);
        injectMouseMove(x, y + 40);
        injectMouseButton(x, y + 40, 0, false);
    });
    s.check([=] {
        ASSERT_GE(scrolls.size(), 3u);
        EXPECT_EQ(scrolls.front(), SB_THUMBTRACK);
        EXPECT_EQ(scrolls[scrolls.size() - 2], SB_THUMBPOSITION);
        EXPECT_EQ(scrolls.back(), SB_ENDSCROLL);
    });
    s.drag((g.left + g.right) / 2, (g.top + g.bottom) / 2, (g.left + g.right) / 2 + 40,
           (g.top + g.bottom) / 2 + 30);
    robot::play(std::move(s));
    pumpUntilIdle();
    const RECT after = robot::screenRect(host);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 40);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 30);
}

TEST_F(CommonControlsTest, HeaderReportsClicksAndDividerDrags) {
    HWND header = child(WC_HEADERA, HDS_BUTTONS, 95, 10, 10, 400, 22);
    for (const char* title : {"Name", "Value", "Unit"}) {
        HDITEMA it;
        it.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        it.pszText = const_cast<char*>(title);
        it.cxy = 80;
        it.fmt = HDF_LEFT | HDF_STRING;
        SendMessageA(header, HDM_INSERTITEMA, 99, reinterpret_cast<LPARAM>(&it));
    }
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 3);
    HDITEMA set;
    set.mask = HDI_TEXT;
    set.pszText = const_cast<char*>("Size");
    SendMessageA(header, HDM_SETITEMA, 1, reinterpret_cast<LPARAM>(&set));
    char text[16];
    HDITEMA get;
    get.mask = HDI_TEXT | HDI_WIDTH;
    get.pszText = text;
    get.cchTextMax = sizeof text;
    SendMessageA(header, HDM_GETITEMA, 1, reinterpret_cast<LPARAM>(&get));
    EXPECT_STREQ(text, "Size");
    EXPECT_EQ(get.cxy, 80);
    const RECT r = robot::screenRect(header);
    robot::Script s;
    s.check([] { heard().clear(); });
    s.click(r.left + 120, r.top + 10);  // on the second title
    s.drag(r.left + 80, r.top + 10, r.left + 110,
           r.top + 10);  // the first divider, 30 to the right
    s.check([=] {
        const auto codes = codesFrom(95, WM_NOTIFY);
        ASSERT_FALSE(codes.empty());
        EXPECT_EQ(codes.front(), HDN_ITEMCLICKA);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), HDN_BEGINTRACKA), 1);
        EXPECT_GE(std::count(codes.begin(), codes.end(), HDN_TRACKA), 1);
        EXPECT_EQ(codes.back(), HDN_ITEMCHANGEDA);
        RECT first;
        SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
        EXPECT_EQ(first.right, 110);
    });
    robot::play(std::move(s));
    pumpUntilIdle();
}

TEST_F(CommonControlsTest, TreeViewSelectsExpandsAndWalksItsItems) {
    HWND tree =
        child(WC_TREEVIEWA,
              TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP, 96,
              10, 40, 250, 200);
    auto add = [&](HTREEITEM parent, const char* text, LPARAM param) {
        TVINSERTSTRUCTA ins;
        ins.hParent = parent;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM;
        ins.item.pszText = const_cast<char*>(text);
        ins.item.lParam = param;
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    };
    HTREEITEM bodies = add(TVI_ROOT, "Bodies", 1);
    HTREEITEM first = add(bodies, "Basement", 2);
    add(bodies, "Dyke", 3);
    HTREEITEM stations = add(TVI_ROOT, "Stations", 4);
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD,
                                                       reinterpret_cast<LPARAM>(bodies))),
              first);
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(
                  SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(bodies))),
              stations);
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT,
                                                       reinterpret_cast<LPARAM>(first))),
              bodies);
    auto rowCentre = [=](HTREEITEM item) {
        RECT r;
        *reinterpret_cast<HTREEITEM*>(&r) = item;
        SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        POINT p{r.left + 5, (r.top + r.bottom) / 2};
        ClientToScreen(tree, &p);
        return p;
    };
    robot::Script s;
    s.check([] { heard().clear(); });
    clickAt(s, [=] { return rowCentre(stations); });
    s.check([=] {
        EXPECT_EQ(codesFrom(96, WM_NOTIFY),
                  (std::vector<UINT>{static_cast<UINT>(NM_SETFOCUS), TVN_SELCHANGINGA,
                                     TVN_SELCHANGEDA, static_cast<UINT>(NM_CLICK)}));
        EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)),
                  stations);
        heard().clear();
    });
    // The button before "Bodies" opens it; its children become visible rows.
    clickAt(s, [=] {
        POINT p = rowCentre(bodies);
        p.x -= 14;
        return p;
    });
    s.check([=] {
        EXPECT_EQ(codesFrom(96, WM_NOTIFY),
                  (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA,
                                     static_cast<UINT>(NM_CLICK)}));
        TVITEMA it;
        it.mask = TVIF_STATE | TVIF_PARAM;
        it.hItem = bodies;
        it.stateMask = TVIS_EXPANDED;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
        EXPECT_EQ(it.state, TVIS_EXPANDED);
        EXPECT_EQ(it.lParam, 1);
    });
    // Keys: up to the last child of the open branch, left to its parent, left closes it.
    s.key(VK_UP).check([=] {
        HTREEITEM sel =
            reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        char text[16];
        TVITEMA it;
        it.mask = TVIF_TEXT;
        it.hItem = sel;
        it.pszText = text;
        it.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
        EXPECT_STREQ(text, "Dyke");
    });
    s.key(VK_LEFT).key(VK_LEFT).check([=] {
        EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)),
                  bodies);
        EXPECT_FALSE(
            SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(bodies)));
    });
    robot::play(std::move(s));
    pumpUntilIdle();
    EXPECT_TRUE(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(bodies)));
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 1);
}

TEST_F(CommonControlsTest, ThePageBeneathATabControlTakesTheClicksAwayFromTheTabs) {
    HWND tabs = child(WC_TABCONTROLA, WS_TABSTOP, 98, 10, 10, 300, 100);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("Page");
    SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    // The page lies behind the tab control, as dialogs place their pages.
    HWND page = child("EDIT", 0, 99, 40, 60, 100, 20);
    SetWindowPos(page, tabs, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    POINT inside{90, 70};
    ClientToScreen(host, &inside);
    EXPECT_EQ(WindowFromPoint(inside), tabs);  // on top where it lies
    RECT tabRect{};
    SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tabRect));
    POINT onTab{(tabRect.left + tabRect.right) / 2, (tabRect.top + tabRect.bottom) / 2};
    ClientToScreen(tabs, &onTab);
    robot::Script s;
    s.click(inside.x, inside.y).check([=] { EXPECT_EQ(GetFocus(), page); });
    s.click(onTab.x, onTab.y).check([=] { EXPECT_NE(GetFocus(), page); });
    robot::play(std::move(s));
    pumpUntilIdle();
    EXPECT_FALSE(robot::playing());
}

TEST_F(CommonControlsTest, TabItemsKeepTheExtraBytesTheyAreGiven) {
    HWND tabs = child(WC_TABCONTROLA, 0, 97, 10, 10, 300, 100);
    ASSERT_TRUE(SendMessageA(tabs, TCM_SETITEMEXTRA, 8, 0));
    struct PageItem {
        TCITEMHEADERA head;
        int page;
        int disabled;
    };
    static_assert(offsetof(PageItem, page) == offsetof(TCITEMA, lParam));
    PageItem item{};
    item.head.mask = TCIF_TEXT | TCIF_PARAM;
    item.head.pszText = const_cast<char*>("Page");
    item.page = 705;
    item.disabled = 1;
    EXPECT_EQ(SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_FALSE(SendMessageA(tabs, TCM_SETITEMEXTRA, 16, 0));  // too late once items exist
    PageItem back{};
    back.head.mask = TCIF_PARAM;
    ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&back)));
    EXPECT_EQ(back.page, 705);
    EXPECT_EQ(back.disabled, 1);
    RECT r{0, 0, 300, 100};
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    RECT again = r;
    SendMessageA(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&again));
    EXPECT_EQ(again.left, 0);
    EXPECT_EQ(again.bottom, 100);
    EXPECT_GT(r.top, 10);
}
