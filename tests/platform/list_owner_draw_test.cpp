// Owner-drawn list and combo boxes (measured, drawn, compared and deleted by
// their owner) and lists of several columns.

#include <algorithm>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "platform/window/scroll_api.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

struct Drawn {
    UINT type, id, item, action, state;
    RECT rect;
    HWND control;
};
std::vector<MEASUREITEMSTRUCT> measured;
std::vector<Drawn> drawn;
std::vector<COMPAREITEMSTRUCT> compared;
std::vector<DELETEITEMSTRUCT> deletedItems;

LRESULT ownerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            measured.push_back(*m);
            // The field of a combo box 24, fixed items 20, varying items 10 + their data.
            m->itemHeight = m->itemID == static_cast<UINT>(-1) ? 24
                            : m->itemData                      ? 10 + static_cast<UINT>(m->itemData)
                                                               : 20;
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            drawn.push_back({d->CtlType, d->CtlID, d->itemID, d->itemAction, d->itemState,
                             d->rcItem, d->hwndItem});
            return TRUE;
        }
        case WM_COMPAREITEM: {
            const auto* c = reinterpret_cast<const COMPAREITEMSTRUCT*>(lp);
            compared.push_back(*c);
            return c->itemData1 < c->itemData2 ? -1 : c->itemData1 > c->itemData2 ? 1 : 0;
        }
        case WM_DELETEITEM:
            deletedItems.push_back(*reinterpret_cast<const DELETEITEMSTRUCT*>(lp));
            return TRUE;
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

class ListOwnerDrawTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        measured.clear();
        drawn.clear();
        compared.clear();
        deletedItems.clear();
        WNDCLASSA wc;
        wc.lpfnWndProc = ownerProc;
        wc.lpszClassName = "LISTOWNER";
        ASSERT_TRUE(RegisterClassA(&wc));
        host = CreateWindowExA(0, "LISTOWNER", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30,
                               420, 320, nullptr, nullptr, nullptr, nullptr);
    }
    HWND control(const char* cls, DWORD style, int id, int x, int y, int w, int h) {
        return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, host,
                               reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr,
                               nullptr);
    }
    HWND host = nullptr;
};

struct Step {
    UINT item, action, state;
    bool operator==(const Step&) const = default;
};
std::vector<Step> steps() {
    std::vector<Step> out;
    for (const Drawn& d : drawn)
        out.push_back({d.item, d.action, d.state});
    return out;
}

}  // namespace

// A fixed list asks its height once, has each shown item drawn whole, and
// then has only the changes drawn: the selection and the focus rectangle.
TEST_F(ListOwnerDrawTest, FixedListIsMeasuredOnceAndDrawsWhatChanged) {
    HWND list = control("ListBox", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | WS_VSCROLL,
                        40, 10, 10, 150, 100);
    ASSERT_EQ(measured.size(), 1u);
    EXPECT_EQ(measured[0].CtlType, ODT_LISTBOX);
    EXPECT_EQ(measured[0].CtlID, 40u);
    EXPECT_EQ(measured[0].itemID, 0u);
    for (const char* s : {"Zero", "One", "Two", "Three", "Four", "Five", "Six", "Seven"})
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 20);
    // Created empty, the list hid its scroll bar; eight rows bring it back.
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
    char text[16];
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(text)), 5);
    EXPECT_STREQ(text, "Three");
    pumpUntilIdle();
    // Five rows of twenty in a hundred pixels.
    EXPECT_EQ(steps(), (std::vector<Step>{{0, ODA_DRAWENTIRE, 0},
                                          {1, ODA_DRAWENTIRE, 0},
                                          {2, ODA_DRAWENTIRE, 0},
                                          {3, ODA_DRAWENTIRE, 0},
                                          {4, ODA_DRAWENTIRE, 0}}));
    EXPECT_EQ(drawn[2].rect.top, 40);
    EXPECT_EQ(drawn[2].rect.bottom, 60);
    EXPECT_EQ(drawn[2].control, list);
    robot::Script s;
    s.check([] { drawn.clear(); });
    clickAt(s, [=] { return listItemCentre(list, 2); });
    s.check([=] {
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
        EXPECT_EQ(steps(), (std::vector<Step>{{2, ODA_SELECT, ODS_SELECTED | ODS_FOCUS},
                                              {2, ODA_FOCUS, ODS_SELECTED | ODS_FOCUS}}));
        drawn.clear();
    });
    s.key(VK_DOWN).check([=, this] {
        EXPECT_EQ(steps(), (std::vector<Step>{{2, ODA_FOCUS, 0},
                                              {2, ODA_SELECT, 0},
                                              {3, ODA_SELECT, ODS_SELECTED | ODS_FOCUS},
                                              {3, ODA_FOCUS, ODS_SELECTED | ODS_FOCUS}}));
        drawn.clear();
        SetFocus(host);
    });
    s.check([=] {
        EXPECT_EQ(steps(), (std::vector<Step>{{3, ODA_FOCUS, ODS_SELECTED}}));
        EXPECT_EQ(measured.size(), 1u);
        EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), 7);
        ASSERT_EQ(deletedItems.size(), 1u);
        EXPECT_EQ(deletedItems[0].itemID, 0u);
        EXPECT_EQ(deletedItems[0].CtlType, ODT_LISTBOX);
    });
    robot::play(std::move(s));
    pumpUntilIdle();
}

// Without strings the items are the owner's numbers: a sorted list orders
// them by WM_COMPAREITEM, each item has the height the owner gave it, and
// every item that goes is reported with its number.
TEST_F(ListOwnerDrawTest, SortedListWithoutStringsAsksTheOwnerToCompare) {
    HWND list = control("ListBox", LBS_OWNERDRAWVARIABLE | LBS_SORT, 41, 10, 10, 150, 120);
    for (LPARAM v : {30, 10, 20, 10})
        SendMessageA(list, LB_ADDSTRING, 0, v);
    ASSERT_FALSE(compared.empty());
    for (const COMPAREITEMSTRUCT& c : compared) {
        EXPECT_EQ(c.itemID1, static_cast<UINT>(-1));
        EXPECT_EQ(c.hwndItem, list);
    }
    std::vector<LRESULT> order, heights;
    for (WPARAM i = 0; i < 4; ++i) {
        order.push_back(SendMessageA(list, LB_GETITEMDATA, i, 0));
        heights.push_back(SendMessageA(list, LB_GETITEMHEIGHT, i, 0));
    }
    EXPECT_EQ(order, (std::vector<LRESULT>{10, 10, 20, 30}));
    EXPECT_EQ(heights, (std::vector<LRESULT>{20, 20, 30, 40}));
    LPARAM data = 0;
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(&data)),
              static_cast<LRESULT>(sizeof(LPARAM)));
    EXPECT_EQ(data, 30);
    EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), 20), 2);
    RECT r;
    SendMessageA(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, 70);
    EXPECT_EQ(r.bottom, 110);
    EXPECT_EQ(SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELONG(5, 45)), 2);
    SendMessageA(list, LB_SETITEMHEIGHT, 0, 12);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 12);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 3, 0), 3);
    DestroyWindow(list);
    std::vector<ULONG_PTR> gone;
    for (const DELETEITEMSTRUCT& d : deletedItems)
        gone.push_back(d.itemData);
    EXPECT_EQ(gone, (std::vector<ULONG_PTR>{30, 20, 10, 10}));
}

// An owner-drawn drop-down list: the field is measured as item -1, the list
// items as item 0, and the owner draws the selection in the field.
TEST_F(ListOwnerDrawTest, ComboBoxFieldAndItemsAreTheOwners) {
    HWND combo = control("ComboBox", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 42, 10,
                         10, 150, 150);
    ASSERT_EQ(measured.size(), 2u);
    EXPECT_EQ(measured[0].itemID, static_cast<UINT>(-1));
    EXPECT_EQ(measured[1].itemID, 0u);
    for (const MEASUREITEMSTRUCT& m : measured) {
        EXPECT_EQ(m.CtlType, ODT_COMBOBOX);
        EXPECT_EQ(m.CtlID, 42u);
    }
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 24);
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0), 20);
    EXPECT_EQ(robot::screenRect(combo).bottom - robot::screenRect(combo).top, 30);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Gravity"));
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Magnetics"));
    SendMessageA(combo, CB_SETITEMDATA, 1, 77);
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    drawn.clear();
    pumpUntilIdle();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().item, 1u);
    EXPECT_EQ(drawn.back().state & ODS_COMBOBOXEDIT, ODS_COMBOBOXEDIT);
    EXPECT_EQ(drawn.back().control, combo);
    EXPECT_EQ(drawn.back().type, ODT_COMBOBOX);
    // Opened, the list's items are drawn by the owner as the combo box's.
    drawn.clear();
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    pumpUntilIdle();
    std::vector<UINT> items;
    for (const Drawn& d : drawn)
        if (!(d.state & ODS_COMBOBOXEDIT)) {
            items.push_back(d.item);
            EXPECT_EQ(d.id, 42u);
        }
    EXPECT_EQ(items, (std::vector<UINT>{0, 1}));
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(deletedItems.size(), 2u);
    EXPECT_EQ(deletedItems[0].CtlType, ODT_COMBOBOX);
}

// Several columns: items run down a column and on into the next; the mouse
// finds them by column and row, and the list scrolls a column at a time.
TEST_F(ListOwnerDrawTest, MultiColumnListPlacesFindsAndScrollsByColumns) {
    HWND list = control("ListBox", LBS_MULTICOLUMN | LBS_NOTIFY | WS_HSCROLL, 43, 10, 10, 200, 110);
    SendMessageA(list, LB_SETITEMHEIGHT, 0, 16);
    SendMessageA(list, LB_SETCOLUMNWIDTH, 60, 0);
    for (int i = 0; i < 23; ++i)
        SendMessageA(list, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(("Item " + std::to_string(i)).c_str()));
    RECT rc;
    GetClientRect(list, &rc);
    const int rows = rc.bottom / 16;  // below the scroll bar
    ASSERT_GE(rows, 3);
    RECT r;
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(rows + 2), reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.top, 32);
    EXPECT_EQ(r.right, 120);
    EXPECT_EQ(SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELONG(130, 20)), 2 * rows + 1);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(list, SB_HORZ, &si);
    EXPECT_EQ(si.nMax, (23 + rows - 1) / rows - 1);
    EXPECT_EQ(si.nPage, 3u);
    robot::Script s;
    clickAt(s, [=] {
        POINT p{70, 8};
        ClientToScreen(list, &p);
        return p;
    });
    s.check([=] { EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), rows); });
    s.key(VK_RIGHT).check([=] {
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2 * rows);
        SendMessageA(list, WM_HSCROLL, SB_LINEDOWN, 0);
        EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), rows);
        RECT first;
        SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
        EXPECT_EQ(first.left, -60);
        // Choosing the last item brings its column into view.
        SendMessageA(list, LB_SETTOPINDEX, 0, 0);
        SendMessageA(list, LB_SETCURSEL, 22, 0);
        const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
        EXPECT_EQ(top % rows, 0);
        EXPECT_LE(top, 22);
        EXPECT_GT(top + 3 * rows, 22);
    });
    robot::play(std::move(s));
    pumpUntilIdle();
}
