// Loading, selecting, showing, hiding and unloading dialogs by identifier.

#include <vector>
#include "dialog_test_support.h"

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/robot/robot.h"
#include "platform/robot/screenshot.h"

namespace tk::test {
namespace {

using win::robot::Script;

TEST_F(DialogTest, LoadOfAMissingTemplateReportsAndLoadsNothing) {
    DlgLoad(IDD_TKMISSING);
    EXPECT_EQ(takeError(), 1007);
    EXPECT_EQ(dialogTable().count, 0);
    EXPECT_EQ(toolkitState().CurrentDialogNumber, 0);
    DlgShow();
    EXPECT_EQ(takeError(), 1005);
}

TEST_F(DialogTest, LoadKeepsTheDialogHiddenAndCurrentAndReloadOnlySelects) {
    DlgLoad(IDD_TKFIELDS);
    ASSERT_EQ(takeError(), 0);
    EXPECT_EQ(toolkitState().CurrentDialogNumber, IDD_TKFIELDS);
    win::HWND d = currentDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(win::IsWindowVisible(d));
    DlgLoad(IDD_TKSMALL, 77);
    EXPECT_EQ(toolkitState().CurrentDialogNumber, 77);
    DlgLoad(IDD_TKFIELDS);
    EXPECT_EQ(dialogTable().count, 2);
    EXPECT_EQ(currentDialog(), d);
    DlgSelect(77);
    EXPECT_EQ(win::robot::windowText(currentDialog()), "Small");
    DlgSelect(12345);
    EXPECT_EQ(takeError(), 1008);
    EXPECT_EQ(toolkitState().CurrentDialogNumber, 77);
}

TEST_F(DialogTest, TheHundredAndFirstLoadFails) {
    for (int i = 1; i <= kDialogSlots; ++i)
        DlgLoad(IDD_TKSMALL, 5000 + i);
    ASSERT_EQ(takeError(), 0);
    DlgLoad(IDD_TKSMALL, 6000);
    EXPECT_EQ(takeError(), 1087);
    EXPECT_EQ(dialogTable().count, kDialogSlots);
}

TEST_F(DialogTest, ModalShowReturnsTheClosingButtonAndCopiesTheFieldsBack) {
    DlgLoad(IDD_TKSMALL);
    DlgPutString(IDC_TKNAME, "before");
    struct Case {
        int key;
        int closing;
    };
    for (Case c : {Case{win::VK_RETURN, win::IDOK}, Case{win::VK_ESCAPE, win::IDCANCEL}}) {
        Script s;
        s.check([] {
             ASSERT_NE(dialogTable().slots[0], nullptr);
             EXPECT_TRUE(win::IsWindowVisible(dialogTable().slots[0]));
         })
            .text("typed")
            .key(c.key);
        win::robot::play(s);
        DlgShow(-1, -1, IDC_TKNAME, ShowModal);
        EXPECT_EQ(takeError(), 0);
        EXPECT_EQ(DialogInfoQuery(1), c.closing);
        EXPECT_EQ(DialogInfoQuery(5), IDD_TKSMALL);
        EXPECT_EQ(dialogTable().slots[0], nullptr);
        // Cancel too leaves the edited text in the loaded dialog.
        EXPECT_EQ(text(IDC_TKNAME), "typed");
        EXPECT_FALSE(win::IsWindowVisible(currentDialog()));
    }
}

TEST_F(DialogTest, ModalShowOfADialogLoadedUnderAnotherIdentifierUsesItsTemplate) {
    DlgLoad(IDD_TKSMALL, 77);
    DlgPutString(IDC_TKNAME, "kept");
    win::robot::play(Script().key(win::VK_RETURN));
    DlgShow(-1, -1, 0, ShowModal);
    EXPECT_EQ(takeError(), 0);
    EXPECT_EQ(DialogInfoQuery(1), win::IDOK);
    EXPECT_EQ(DialogInfoQuery(5), 77);
    EXPECT_EQ(text(IDC_TKNAME), "kept");
}

TEST_F(DialogTest, ModelessTypingThenTabPostsFieldChangedWithLeftAndEnteredFields) {
    EventTypeEnable(FieldChanged, 1);
    DlgLoad(IDD_TKFIELDS);
    DlgShow(-1, -1, IDC_TKNAME);
    ASSERT_EQ(takeError(), 0);
    EXPECT_TRUE(win::IsWindowVisible(currentDialog()));
    win::robot::play(Script().text("Ann").key(win::VK_TAB));
    EventRecord rec{};
    int type = waitSkippingExpose(rec);
    ASSERT_EQ(type, FieldChanged);
    EXPECT_EQ(rec[0], IDD_TKFIELDS);
    EXPECT_EQ(rec[1], IDC_TKNAME);
    EXPECT_EQ(rec[2], IDC_TKCOUNT);
    EXPECT_EQ(text(IDC_TKNAME), "Ann");
}

TEST_F(DialogTest, PushButtonsOfAModelessDialogPostEvents) {
    DlgLoad(IDD_TKFIELDS);
    DlgShow();
    win::HWND d = currentDialog();
    win::robot::play(Script().clickControl(d, IDC_TKAPPLY));
    EventRecord rec{};
    ASSERT_EQ(waitSkippingExpose(rec), PushButton);
    EXPECT_EQ(rec[0], IDD_TKFIELDS);
    EXPECT_EQ(rec[1], IDC_TKAPPLY);
    // Escape gives Cancel, F1 the help button 9.
    win::robot::play(Script().key(win::VK_ESCAPE));
    ASSERT_EQ(waitSkippingExpose(rec), PushButton);
    EXPECT_EQ(rec[1], win::IDCANCEL);
    win::robot::play(Script().key(win::VK_F1));
    ASSERT_EQ(waitSkippingExpose(rec), PushButton);
    EXPECT_EQ(rec[1], 9);
}

TEST_F(DialogTest, ShowCentresAndReshowOnlyBringsToFront) {
    DlgLoad(IDD_TKSMALL);
    DlgShow(-1, 100);
    win::HWND d = currentDialog();
    win::RECT r{};
    win::GetWindowRect(d, &r);
    const int screen = win::GetSystemMetrics(win::SM_CXSCREEN);
    EXPECT_EQ(r.left, (screen - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, 100);
    DlgShow(10, 10, 0, ShowSemiModeless);
    EXPECT_EQ(takeError(), 0);
    win::GetWindowRect(d, &r);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(dialogRecordOf(d)->showType(), ShowModeless);
}

TEST_F(DialogTest, HideReturnsTheFocusAlongTheChainSkippingHiddenDialogs) {
    DlgLoad(IDD_TKSMALL, 1);
    DlgShow(10, 10);
    win::HWND first = currentDialog();
    DlgLoad(IDD_TKSMALL, 2);
    DlgShow(200, 10);
    win::HWND second = currentDialog();
    DlgLoad(IDD_TKSMALL, 3);
    DlgShow(400, 10);
    EXPECT_EQ(dialogRecordOf(currentDialog())->returnWindow, second);
    DlgSelect(2);
    DlgHide();
    DlgSelect(3);
    DlgHide();
    EXPECT_EQ(takeError(), 0);
    win::HWND focus = win::GetFocus();
    EXPECT_TRUE(focus == first || win::IsChild(first, focus));
    EXPECT_EQ(dialogTable().activeDialog, first);
}

TEST_F(DialogTest, HideWithoutCurrentDialogIsQuietButUnloadReports) {
    DlgHide();
    EXPECT_EQ(takeError(), 0);
    DlgUnload();
    EXPECT_EQ(takeError(), 1005);
}

TEST_F(DialogTest, UnloadFreesTheSlotAndItsPagesAndFieldRoutinesThenReport) {
    DlgLoad(IDD_TKSMALL, 50);
    DlgLoad(IDD_TKTABS);
    ASSERT_EQ(dialogTable().count, 4);  // the tab pages are loaded with it
    win::HWND tabs = currentDialog();
    DlgUnload();
    EXPECT_EQ(takeError(), 0);
    EXPECT_EQ(dialogTable().count, 1);
    EXPECT_FALSE(win::IsWindow(tabs));
    EXPECT_EQ(DialogSlotFind(IDD_TKPAGE1), -1);
    EXPECT_EQ(toolkitState().CurrentDialogNumber, 0);
    DlgPutString(IDC_TKNAME, "x");
    EXPECT_EQ(takeError(), 1005);
    DlgSelect(50);
    EXPECT_EQ(takeError(), 0);
    DlgPutString(IDC_TKNAME, "still here");
    EXPECT_EQ(text(IDC_TKNAME), "still here");
}

TEST_F(DialogTest, UnloadWithAnOptionKeepsThePagesLoaded) {
    DlgLoad(IDD_TKTABS);
    DlgUnload(1);
    EXPECT_EQ(dialogTable().count, 2);
    EXPECT_GT(DialogSlotFind(IDD_TKPAGE2), 0);
}

TEST_F(DialogTest, TabPagesBecomeChildrenAtShowAndTabSwitchesPages) {
    EventTypeEnable(TabChanged, 1);
    DlgLoad(IDD_TKTABS);
    DlgShow();
    win::HWND d = currentDialog();
    win::HWND page1 = dialogWindowOf(IDD_TKPAGE1), page2 = dialogWindowOf(IDD_TKPAGE2);
    EXPECT_EQ(win::GetParent(page1), d);
    EXPECT_TRUE(win::IsWindowVisible(page2));  // the settings select the second page
    EXPECT_FALSE(win::IsWindowVisible(page1));
    int pageId = IDD_TKPAGE1, f = IDC_TKTABS;
    TabSelectPage(f, pageId);
    EXPECT_TRUE(win::IsWindowVisible(page1));
    EXPECT_FALSE(win::IsWindowVisible(page2));
    TabSelectedPage(f, pageId);
    EXPECT_EQ(pageId, IDD_TKPAGE1);
    // A page cannot be hidden or unloaded on its own.
    DlgSelect(IDD_TKPAGE1);
    DlgHide();
    EXPECT_EQ(takeError(), 1069);
    auto itemText = [d](int i) {
        win::TCITEMA item;
        char buf[32] = {};
        item.mask = win::TCIF_TEXT;
        item.pszText = buf;
        item.cchTextMax = 32;
        win::SendMessageA(win::GetDlgItem(d, IDC_TKTABS), win::TCM_GETITEMA,
                          static_cast<win::WPARAM>(i), reinterpret_cast<win::LPARAM>(&item));
        return std::string(buf);
    };
    // The settings line "  3005  Northing " gives the text without its blank.
    EXPECT_EQ(itemText(1), "Northing");
    DlgTitle("Start");
    EXPECT_EQ(itemText(0), "Start");
}

TEST_F(DialogTest, TitleSetsTheCaptionWithoutTrailingBlanks) {
    DlgLoad(IDD_TKSMALL);
    DlgTitle("New title   ");
    EXPECT_EQ(win::robot::windowText(currentDialog()), "New title");
    DlgTitle({}, 4242);
    EXPECT_EQ(takeError(), 1015);
}

TEST_F(DialogTest, ScreenshotOfALoadedDialog) {
    DlgLoad(IDD_TKFIELDS);
    DlgPutString(IDC_TKNAME, "Profile 1");
    DlgShow(20, 20);
    const std::string path = ::testing::TempDir() + "tk_dialog_fields.png";
    ASSERT_TRUE(win::robot::saveWindowPng(currentDialog(), path));
    // The name put into the field is drawn: inside its border, pixels other
    // than the white of an empty field.
    win::RECT field{};
    win::GetWindowRect(win::GetDlgItem(currentDialog(), IDC_TKNAME), &field);
    const win::Surface& screen = win::robot::screen();
    int drawn = 0;
    for (int y = field.top + 3; y < field.bottom - 3; ++y)
        for (int x = field.left + 3; x < field.right - 3; ++x)
            drawn += screen.contains(x, y) && screen.at(x, y) != 0xFFFFFF;
    EXPECT_GT(drawn, 20);
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

using win::robot::Script;

// Plays the script through the polling event wait until it has run out,
// collecting the FieldChanged events (value 1, value 2).
std::vector<std::pair<int, int>> fieldChangesOf(Script script) {
    std::vector<std::pair<int, int>> seen;
    win::robot::play(script);
    for (int guard = 0; guard < 10000; ++guard) {
        EventRecord rec{};
        int type = 0;
        EventPeek(type, rec);
        if (type == FieldChanged) seen.emplace_back(rec[1], rec[2]);
        if (type == -1 && !win::robot::step()) break;
    }
    return seen;
}

TEST_F(DialogTest, TypingPostsNothingUnlessTheFieldReportsTyping) {
    EventTypeEnable(FieldChanged, 1);
    DlgLoad(IDD_TKFIELDS);
    DlgShow(-1, -1, IDC_TKNAME);
    // The focus arriving in the first field at the show is one change.
    auto seen = fieldChangesOf(Script().text("ab"));
    EXPECT_TRUE(seen.empty() || seen == (std::vector<std::pair<int, int>>{{0, IDC_TKNAME}}));
    DlgFieldOptions(IDC_TKNAME, 3, 1);
    seen = fieldChangesOf(Script().text("c"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].second, IDC_TKNAME);
    DlgFieldOptions(IDC_TKNAME, 3, 0);
    EXPECT_TRUE(fieldChangesOf(Script().text("d")).empty());
    EXPECT_EQ(text(IDC_TKNAME), "abcd");
}

TEST_F(DialogTest, FocusReturningToTheLastChangedFieldPostsNothing) {
    EventTypeEnable(FieldChanged, 1);
    DlgLoad(IDD_TKFIELDS);
    DlgShow(-1, -1, IDC_TKNAME);
    fieldChangesOf(Script());
    win::HWND d = currentDialog();
    auto seen = fieldChangesOf(Script().clickControl(d, IDC_TKLIMITED));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(IDC_TKNAME, IDC_TKLIMITED));
    // The focus leaves the dialog and comes back to the same field: no
    // other field notified in between, so nothing is posted.
    win::SetFocus(slot(0).client);
    ASSERT_NE(win::GetFocus(), field(IDC_TKLIMITED));
    EXPECT_TRUE(fieldChangesOf(Script().clickControl(d, IDC_TKLIMITED)).empty());
    EXPECT_EQ(win::GetFocus(), field(IDC_TKLIMITED));
    // Another field again is a change.
    seen = fieldChangesOf(Script().clickControl(d, IDC_TKNAME));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(IDC_TKLIMITED, IDC_TKNAME));
}

TEST_F(DialogTest, CtrlASelectsTheWholeTextAndInsertsNothing) {
    DlgLoad(IDD_TKFIELDS);
    DlgPutString(IDC_TKNAME, "select me");
    DlgShow(-1, -1, IDC_TKNAME);
    win::SendMessageA(field(IDC_TKNAME), win::EM_SETSEL, 2, 2);
    fieldChangesOf(Script().chord({win::VK_CONTROL, 'A'}));
    EXPECT_EQ(text(IDC_TKNAME), "select me");
    win::DWORD start = 1, end = 0;
    win::SendMessageA(field(IDC_TKNAME), win::EM_GETSEL, reinterpret_cast<win::WPARAM>(&start),
                      reinterpret_cast<win::LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 9u);
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

// Plays the script through the polling wait; the events it produced.
std::vector<EventRecord> eventsOf(win::robot::Script script, std::vector<int>& types) {
    std::vector<EventRecord> seen;
    win::robot::play(script);
    for (int guard = 0; guard < 10000; ++guard) {
        EventRecord rec{};
        int type = 0;
        EventPeek(type, rec);
        if (type == -1 && !win::robot::step()) break;
        if (type > 0 && type != Expose) {
            types.push_back(type);
            seen.push_back(rec);
        }
    }
    return seen;
}

TEST_F(DialogTest, DrawingTargetDialogsPostMouseEventsAndOthersDoNot) {
    EventTypeEnable(MouseButtonUp, 1);
    DlgLoad(IDD_TKSMALL);
    DlgShow(50, 50);
    win::HWND d = currentDialog();
    // A blank spot of the client area, below the check box.
    auto blank = win::robot::clientPoint([d] { return d; }, 5, 75);
    std::vector<int> types;
    eventsOf(win::robot::Script().clickAt(blank), types);
    EXPECT_TRUE(types.empty());
    dialogRecordOf(d)->isDrawingTarget() = 1;
    auto seen = eventsOf(win::robot::Script().clickAt(blank, win::robot::Button::Right), types);
    ASSERT_EQ(types, (std::vector<int>{MouseButtonDown, MouseButtonUp}));
    for (const EventRecord& rec : seen) {
        EXPECT_EQ(rec[0], IDD_TKSMALL);
        EXPECT_EQ(rec[1], 3);  // right button
        EXPECT_EQ(rec[4], 0);  // the dialog's own client area
    }
}

}  // namespace
}  // namespace tk::test
