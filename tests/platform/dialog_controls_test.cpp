// The dialog manager and the standard and common controls, driven by the
// robot on a dialog that holds one control of every kind.

#include <algorithm>

#include "dialog_test_ids.h"
#include "dialog_test_support.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

HWND theDialog = nullptr;
bool refuseThirdTab = false;

INT_PTR allProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    hear(msg, wp, lp);
    switch (msg) {
        case WM_INITDIALOG: {
            theDialog = h;
            for (const char* s : {"Alpha", "Beta", "Gamma", "Delta"})
                SendDlgItemMessageA(h, IDC_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
            for (const char* s : {"one", "two", "three", "four", "five", "six"})
                SendDlgItemMessageA(h, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
            for (const char* s : {"First", "Second", "Third"}) {
                TCITEMA item;
                item.mask = TCIF_TEXT;
                item.pszText = const_cast<char*>(s);
                SendDlgItemMessageA(h, IDC_TABS, TCM_INSERTITEMA, 99,
                                    reinterpret_cast<LPARAM>(&item));
            }
            SendDlgItemMessageA(h, IDC_SPIN, UDM_SETRANGE32, 0, 1000);
            SendDlgItemMessageA(h, IDC_SPIN, UDM_SETPOS32, 0, 10);
            SendDlgItemMessageA(h, IDC_PROGRESS, PBM_SETPOS, 40, 0);
            CheckRadioButton(h, IDC_RED, IDC_BLUE, IDC_RED);
            return TRUE;
        }
        case WM_NOTIFY: {
            const auto* n = reinterpret_cast<const NMHDR*>(lp);
            if (n->code == TCN_SELCHANGING && refuseThirdTab &&
                SendMessageA(n->hwndFrom, TCM_GETCURSEL, 0, 0) == 1) {
                SetWindowLongPtrA(h, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) EndDialog(h, LOWORD(wp));
            if (LOWORD(wp) == IDC_APPLY) EndDialog(h, 42);
            return TRUE;
        default:
            return FALSE;
    }
}

class DialogTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        heard().clear();
        deltas().clear();
        theDialog = nullptr;
        refuseThirdTab = false;
        owner = topLevel("Owner");
    }
    INT_PTR run(robot::Script s) {
        robot::play(std::move(s));
        return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_ALL), owner, allProc, 0);
    }
    HWND owner = nullptr;
};

int checkedRadios() {
    int n = 0;
    for (int id : {IDC_RED, IDC_GREEN, IDC_BLUE})
        n += IsDlgButtonChecked(theDialog, id) == BST_CHECKED ? 1 : 0;
    return n;
}

}  // namespace

TEST_F(DialogTest, TabAndShiftTabFollowTheTemplateAndEscapeCancels) {
    std::vector<int> forward, backward;
    robot::Script s;
    s.check([&] { forward.push_back(focusedId()); });
    for (int i = 0; i < 11; ++i)
        s.key(VK_TAB).check([&] { forward.push_back(focusedId()); });
    s.keyDown(VK_SHIFT);
    for (int i = 0; i < 3; ++i)
        s.key(VK_TAB).check([&] { backward.push_back(focusedId()); });
    s.keyUp(VK_SHIFT).key(VK_ESCAPE);
    EXPECT_EQ(run(std::move(s)), IDCANCEL);
    const std::vector<int> order{IDC_EDIT, IDC_RED,   IDC_CHECK, IDC_COMBO, IDC_LIST,  IDC_NUMBER,
                                 IDC_TABS, IDC_TRACK, IDOK,      IDCANCEL,  IDC_APPLY, IDC_EDIT};
    EXPECT_EQ(forward, order);
    EXPECT_EQ(backward, (std::vector<int>{IDC_APPLY, IDCANCEL, IDOK}));
    // The owner was disabled while the dialog ran and is enabled again.
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindow(theDialog));
}

TEST_F(DialogTest, TypingIntoAnEditPostsChangesAndEnterPressesTheDefaultButton) {
    robot::Script s;
    s.text("Tq9");
    s.check([] {
        char buf[32];
        GetDlgItemTextA(theDialog, IDC_EDIT, buf, sizeof buf);
        EXPECT_STREQ(buf, "Tq9");
        EXPECT_EQ(countOf(IDC_EDIT, WM_COMMAND, EN_CHANGE), 3);
        EXPECT_EQ(SendMessageA(theDialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
    });
    s.key(VK_BACK).check(
        [] { EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(theDialog, IDC_EDIT)), 2); });
    s.chord({VK_CONTROL, 'Z'}).check([] {
        EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(theDialog, IDC_EDIT)), 3);
    });
    s.key(VK_RETURN);
    EXPECT_EQ(run(std::move(s)), IDOK);
    // EN_SETFOCUS came before the first EN_CHANGE.
    const auto codes = codesFrom(IDC_EDIT, WM_COMMAND);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), EN_SETFOCUS);
}

TEST_F(DialogTest, ARadioGroupKeepsOneChoiceByMouseAndArrows) {
    robot::Script s;
    clickAt(s, [] { return centreOfControl(theDialog, IDC_GREEN); });
    s.check([] {
        EXPECT_EQ(IsDlgButtonChecked(theDialog, IDC_GREEN), BST_CHECKED);
        EXPECT_EQ(checkedRadios(), 1);
        EXPECT_EQ(countOf(IDC_GREEN, WM_COMMAND, BN_CLICKED), 1);
    });
    s.key(VK_DOWN).check([] {
        EXPECT_EQ(focusedId(), IDC_BLUE);
        EXPECT_EQ(IsDlgButtonChecked(theDialog, IDC_BLUE), BST_CHECKED);
        EXPECT_EQ(checkedRadios(), 1);
    });
    // Arrows wrap round within the group and never leave it.
    s.key(VK_DOWN).check([] {
        EXPECT_EQ(focusedId(), IDC_RED);
        EXPECT_EQ(checkedRadios(), 1);
    });
    // Tab leaves the group from the checked button; Shift+Tab comes back to it.
    s.key(VK_TAB).check([] { EXPECT_EQ(focusedId(), IDC_CHECK); });
    s.chord({VK_SHIFT, VK_TAB}).check([] { EXPECT_EQ(focusedId(), IDC_RED); });
    // A mnemonic presses its button.
    s.chord({VK_MENU, 'U'}).check([] {
        EXPECT_EQ(IsDlgButtonChecked(theDialog, IDC_BLUE), BST_CHECKED);
    });
    s.key(VK_ESCAPE);
    EXPECT_EQ(run(std::move(s)), IDCANCEL);
}

TEST_F(DialogTest, ADropDownListSelectsByMouseAndByKeys) {
    robot::Script s;
    clickAt(s, [] { return centreOfControl(theDialog, IDC_COMBO); });
    s.check([] {
        EXPECT_TRUE(SendDlgItemMessageA(theDialog, IDC_COMBO, CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_EQ(codesFrom(IDC_COMBO, WM_COMMAND),
                  (std::vector<UINT>{CBN_SETFOCUS, CBN_DROPDOWN}));
        heard().clear();
    });
    clickAt(s, [] { return listItemCentre(robot::findTopLevelByClass("ComboLBox"), 2); });
    s.check([] {
        EXPECT_FALSE(SendDlgItemMessageA(theDialog, IDC_COMBO, CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_EQ(SendDlgItemMessageA(theDialog, IDC_COMBO, CB_GETCURSEL, 0, 0), 2);
        EXPECT_EQ(codesFrom(IDC_COMBO, WM_COMMAND),
                  (std::vector<UINT>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
        char buf[16];
        GetDlgItemTextA(theDialog, IDC_COMBO, buf, sizeof buf);
        EXPECT_STREQ(buf, "Gamma");
        heard().clear();
    });
    s.key(VK_DOWN).check([] {
        EXPECT_EQ(SendDlgItemMessageA(theDialog, IDC_COMBO, CB_GETCURSEL, 0, 0), 3);
        EXPECT_EQ(countOf(IDC_COMBO, WM_COMMAND, CBN_SELCHANGE), 1);
    });
    s.key(VK_DOWN).check([] {
        // Already at the end: no change, no notification.
        EXPECT_EQ(countOf(IDC_COMBO, WM_COMMAND, CBN_SELCHANGE), 1);
    });
    s.text("b").check(
        [] { EXPECT_EQ(SendDlgItemMessageA(theDialog, IDC_COMBO, CB_GETCURSEL, 0, 0), 1); });
    // F4 opens the list, arrows move in it, Enter chooses (and does not end the dialog).
    s.key(VK_F4).key(VK_UP).key(VK_RETURN).check([] {
        EXPECT_EQ(SendDlgItemMessageA(theDialog, IDC_COMBO, CB_GETCURSEL, 0, 0), 0);
        EXPECT_FALSE(SendDlgItemMessageA(theDialog, IDC_COMBO, CB_GETDROPPEDSTATE, 0, 0));
    });
    // Escape closes an open list without choosing.
    s.key(VK_F4).key(VK_DOWN).key(VK_ESCAPE).check([] {
        EXPECT_EQ(SendDlgItemMessageA(theDialog, IDC_COMBO, CB_GETCURSEL, 0, 0), 0);
        EXPECT_TRUE(IsWindowVisible(theDialog));
    });
    s.key(VK_ESCAPE);
    EXPECT_EQ(run(std::move(s)), IDCANCEL);
}

TEST_F(DialogTest, AMultipleSelectionListReportsItsSelections) {
    robot::Script s;
    clickAt(s, [] { return listItemCentre(GetDlgItem(theDialog, IDC_LIST), 0); });
    s.keyDown(VK_SHIFT);
    clickAt(s, [] { return listItemCentre(GetDlgItem(theDialog, IDC_LIST), 2); });
    s.keyUp(VK_SHIFT).keyDown(VK_CONTROL);
    clickAt(s, [] { return listItemCentre(GetDlgItem(theDialog, IDC_LIST), 4); });
    s.keyUp(VK_CONTROL).check([] {
        HWND list = GetDlgItem(theDialog, IDC_LIST);
        int items[8] = {};
        const auto n = SendMessageA(list, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(items));
        EXPECT_EQ(std::vector<int>(items, items + n), (std::vector<int>{0, 1, 2, 4}));
        EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 4);
        EXPECT_EQ(countOf(IDC_LIST, WM_COMMAND, LBN_SELCHANGE), 3);
        // A single-selection call answers LB_ERR here; a range can be set.
        EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 1, 0), LB_ERR);
        SendMessageA(list, LB_SELITEMRANGE, FALSE, MAKELPARAM(0, 5));
        EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 0);
    });
    s.key(VK_ESCAPE);
    EXPECT_EQ(run(std::move(s)), IDCANCEL);
}

TEST_F(DialogTest, TheUpDownStepsItsBuddyFasterAfterTwoSeconds) {
    robot::Script s;
    auto upArrow = std::make_shared<POINT>();
    s.check([=] {
        const RECT r = robot::screenRect(GetDlgItem(theDialog, IDC_SPIN));
        *upArrow = {(r.left + r.right) / 2, r.top + 3};
        // Aligned to the right of its buddy, which shows the position.
        EXPECT_EQ(r.left, robot::screenRect(GetDlgItem(theDialog, IDC_NUMBER)).right);
    });
    s.steps.push_back([=] {
        injectMouseMove(upArrow->x, upArrow->y);
        injectMouseButton(upArrow->x, upArrow->y, 0, true);
    });
    for (int i = 0; i < 5; ++i)
        s.wait(600);
    s.steps.push_back([=] { injectMouseButton(upArrow->x, upArrow->y, 0, false); });
    s.check([] {
        // One step at the press, one per repeat: 1 at first, 5 after two seconds held.
        ASSERT_EQ(deltas().size(), 6u);
        EXPECT_EQ(deltas()[0], 1);
        EXPECT_EQ(deltas()[3], 1);
        EXPECT_EQ(deltas()[4], 5);
        EXPECT_EQ(deltas()[5], 5);
        const int pos =
            static_cast<int>(SendDlgItemMessageA(theDialog, IDC_SPIN, UDM_GETPOS32, 0, 0));
        EXPECT_EQ(pos, 10 + 4 + 10);
        char buf[16];
        GetDlgItemTextA(theDialog, IDC_NUMBER, buf, sizeof buf);
        EXPECT_STREQ(buf, "24");
        deltas().clear();
    });
    // The arrow keys in the buddy step it too.
    s.key(VK_DOWN).check(
        [] { EXPECT_EQ(GetDlgItemInt(theDialog, IDC_NUMBER, nullptr, FALSE), 23u); });
    s.key(VK_ESCAPE);
    EXPECT_EQ(run(std::move(s)), IDCANCEL);
}

TEST_F(DialogTest, ATabControlAsksBeforeItSwitchesPages) {
    robot::Script s;
    auto tabCentre = [](int index) {
        return [index] {
            HWND tabs = GetDlgItem(theDialog, IDC_TABS);
            RECT r;
            SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(&r));
            POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            ClientToScreen(tabs, &p);
            return p;
        };
    };
    clickAt(s, tabCentre(1));
    s.check([] {
        EXPECT_EQ(
            codesFrom(IDC_TABS, WM_NOTIFY),
            (std::vector<UINT>{static_cast<UINT>(NM_SETFOCUS), TCN_SELCHANGING, TCN_SELCHANGE}));
        EXPECT_EQ(SendDlgItemMessageA(theDialog, IDC_TABS, TCM_GETCURSEL, 0, 0), 1);
        refuseThirdTab = true;
        heard().clear();
    });
    clickAt(s, tabCentre(2));
    s.check([] {
        // Refused: asked, not changed.
        EXPECT_EQ(codesFrom(IDC_TABS, WM_NOTIFY), (std::vector<UINT>{TCN_SELCHANGING}));
        EXPECT_EQ(SendDlgItemMessageA(theDialog, IDC_TABS, TCM_GETCURSEL, 0, 0), 1);
        refuseThirdTab = false;
    });
    s.key(VK_RIGHT).check(
        [] { EXPECT_EQ(SendDlgItemMessageA(theDialog, IDC_TABS, TCM_GETCURSEL, 0, 0), 2); });
    s.key(VK_ESCAPE);
    EXPECT_EQ(run(std::move(s)), IDCANCEL);
}

TEST_F(DialogTest, TheModalLoopReturnsEndDialogsValueWhileOtherWindowsRepaint) {
    HWND other = topLevel("Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    robot::Script s;
    s.check([&] {
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_TRUE(IsWindowEnabled(other));
        seen().clear();
        InvalidateRect(other, nullptr, TRUE);
    });
    s.check([&] {
        EXPECT_GE(indexOf(other, WM_PAINT), 0);
        // The dialog is centred on the screen (DS_CENTER) and drawn.
        const RECT r = robot::screenRect(theDialog);
        EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
        robot::saveWindowPng(theDialog, screenshotPath("test_dialog"));
    });
    clickAt(s, [] { return centreOfControl(theDialog, IDC_APPLY); });
    EXPECT_EQ(run(std::move(s)), 42);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_TRUE(std::filesystem::exists(screenshotPath("test_dialog")));
}

TEST_F(DialogTest, DialogHelpersAndUnitsWorkOnAModelessDialog) {
    HWND h = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_ALL), owner, allProc, 0);
    ASSERT_TRUE(h);
    EXPECT_FALSE(IsWindowVisible(h));  // the template has no WS_VISIBLE
    RECT r{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(h, &r));
    const LONG base = GetDialogBaseUnits();
    EXPECT_EQ(r.right, LOWORD(static_cast<DWORD>(base)));
    EXPECT_EQ(r.bottom, HIWORD(static_cast<DWORD>(base)));
    // Controls are placed in dialog units from the template.
    RECT e;
    GetWindowRect(GetDlgItem(h, IDC_EDIT), &e);
    POINT o{0, 0};
    ClientToScreen(h, &o);
    RECT want{40, 7, 130, 20};
    MapDialogRect(h, &want);
    EXPECT_EQ(e.left - o.x, want.left);
    EXPECT_EQ(e.bottom - o.y, want.bottom);
    EXPECT_TRUE(SetDlgItemInt(h, IDC_EDIT, static_cast<UINT>(-25), TRUE));
    BOOL ok = FALSE;
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(h, IDC_EDIT, &ok, TRUE)), -25);
    EXPECT_TRUE(ok);
    GetDlgItemInt(h, IDC_EDIT, &ok, FALSE);
    EXPECT_FALSE(ok);
    CheckDlgButton(h, IDC_CHECK, BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(h, IDC_CHECK), BST_CHECKED);
    SendMessageA(h, DM_SETDEFID, IDC_APPLY, 0);
    EXPECT_EQ(SendMessageA(h, DM_GETDEFID, 0, 0), MAKELONG(IDC_APPLY, DC_HASDEFID));
    EXPECT_TRUE(SendDlgItemMessageA(h, IDC_APPLY, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
    EXPECT_TRUE(SendDlgItemMessageA(h, IDOK, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);
    // LB_SETCURSEL(-1) answers -1; a single-selection combo keeps one selection.
    EXPECT_EQ(SendDlgItemMessageA(h, IDC_COMBO, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), CB_ERR);
    EXPECT_EQ(SendDlgItemMessageA(h, IDC_COMBO, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>("gamma")),
              2);
    EXPECT_EQ(SendDlgItemMessageA(h, IDC_COMBO, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>("De")),
              3);
    ShowWindow(h, SW_SHOW);
    // WM_NEXTDLGCTL moves the focus on and selects an edit control's text.
    SendMessageA(h, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(h, IDC_EDIT)), TRUE);
    EXPECT_EQ(GetFocus(), GetDlgItem(h, IDC_EDIT));
    DWORD a = 0, b = 0;
    SendDlgItemMessageA(h, IDC_EDIT, EM_GETSEL, reinterpret_cast<WPARAM>(&a),
                        reinterpret_cast<LPARAM>(&b));
    EXPECT_EQ(a, 0u);
    EXPECT_EQ(b, 3u);
    SendMessageA(h, WM_NEXTDLGCTL, 0, FALSE);
    EXPECT_EQ(GetFocus(), GetDlgItem(h, IDC_RED));
    DestroyWindow(h);
}
