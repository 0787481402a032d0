// Settings texts, modal instances, window disabling, frozen contents and
// resizable dialogs.

#include "toolkit/dialogs/dialog_settings.h"
#include "dialog_test_support.h"
#include "platform/controls/controls_api.h"
#include "platform/robot/robot.h"
#include "toolkit/dialogs/modal_state.h"

namespace tk::test {
namespace {

using win::robot::Script;

TEST_F(DialogTest, HeaderMatchIsAPrefixMatch) {
    EXPECT_EQ(SettingsHeaderMatch("[Menus]", "[Menus] "), 0);
    EXPECT_EQ(SettingsHeaderMatch("[Menus]", "[Men"), 0);
    EXPECT_LT(SettingsHeaderMatch("[Fonts]", "[Menus]"), 0);
}

TEST_F(DialogTest, LengthsLimitWhatCanBeTyped) {
    DlgLoad(IDD_TKFIELDS);
    EXPECT_EQ(fieldRecordOf(field(IDC_TKLIMITED))->maximumLength, 5);
    EXPECT_EQ(fieldRecordOf(field(IDC_TKNAME))->maximumLength, kEditTextLimit);
    DlgShow(-1, -1, IDC_TKLIMITED);
    win::robot::play(Script().text("abcdefgh"));
    pumpUntilScriptDone();
    EXPECT_EQ(text(IDC_TKLIMITED), "abcde");
}

TEST_F(DialogTest, FormatsAreUsedByRealPuts) {
    DlgLoad(IDD_TKFIELDS);
    EXPECT_EQ(fieldRecordOf(field(IDC_TKCOUNT))->formatText, "(F10.1)");
    // A plain edit field does not take the field's own format.
    DlgPutReal(IDC_TKCOUNT, 2.25F);
    EXPECT_EQ(fieldRecordOf(field(IDC_TKCOUNT))->formatText, "(G15.5E2)");
}

TEST_F(DialogTest, ModalDisableOthersDisablesShownDialogsAndFramesAndEnablesThemAgain) {
    DlgLoad(IDD_TKSMALL, 1);
    DlgShow(10, 10);
    win::HWND modeless = currentDialog();
    win::HWND root = slot(0).frame;
    ModalDisableOthers(nullptr, true);
    EXPECT_FALSE(win::IsWindowEnabled(modeless));
    EXPECT_FALSE(win::IsWindowEnabled(root));
    ModalEnableOthers(nullptr, true);
    EXPECT_TRUE(win::IsWindowEnabled(modeless));
    EXPECT_TRUE(win::IsWindowEnabled(root));
}

TEST_F(DialogTest, AModalDialogDisablesAModelessOneWhileItRuns) {
    DlgLoad(IDD_TKSMALL, 1);
    DlgShow(10, 10);
    win::HWND modeless = currentDialog();
    DlgLoad(IDD_TKFIELDS);
    bool disabledMeanwhile = false;
    win::robot::play(Script()
                         .check([&] { disabledMeanwhile = !win::IsWindowEnabled(modeless); })
                         .key(win::VK_ESCAPE));
    DlgShow(-1, -1, 0, ShowModal);
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(win::IsWindowEnabled(modeless));
    EXPECT_EQ(DialogInfoQuery(1), win::IDCANCEL);
}

TEST_F(DialogTest, SemiModelessDisablesTheOthersUntilHidden) {
    DlgLoad(IDD_TKSMALL, 1);
    DlgShow(10, 10);
    win::HWND first = currentDialog();
    DlgLoad(IDD_TKSMALL, 2);
    DlgShow(300, 10, 0, ShowSemiModeless);
    EXPECT_FALSE(win::IsWindowEnabled(first));
    EXPECT_FALSE(win::IsWindowEnabled(slot(0).frame));
    // Modeless while a semi-modeless dialog is up becomes semi-modeless.
    DlgLoad(IDD_TKSMALL, 3);
    DlgShow(500, 10, 0, ShowModeless);
    EXPECT_EQ(takeError(), 1014);
    EXPECT_EQ(currentDialogRecord()->showType(), ShowSemiModeless);
    DlgHide();
    DlgSelect(2);
    DlgHide();
    EXPECT_EQ(dialogTable().semiModelessCount, 0);
    EXPECT_TRUE(win::IsWindowEnabled(first));
    EXPECT_TRUE(win::IsWindowEnabled(slot(0).frame));
}

TEST_F(DialogTest, ModalCopyKeepsListSelectionsAndDisabledFields) {
    DlgLoad(IDD_TKFIELDS);
    const std::array<std::string, 4> options{"a", "b", "c", "d"};
    win::HWND mlist = field(IDC_TKMLIST);
    for (const std::string& o : options)
        win::SendMessageA(mlist, win::LB_ADDSTRING, 0, reinterpret_cast<win::LPARAM>(o.c_str()));
    int f = IDC_TKMLIST;
    ListBoxSelectedPut(f, 2, 1);
    ListBoxSelectedPut(f, 4, 1);
    DlgPutMenu(IDC_TKLIST, options, 4, 3);
    DlgFieldState(IDC_TKNAME, StateDisabled);
    bool copiedIn = false;
    win::robot::play(Script()
                         .check([&] {
                             win::HWND m = dialogTable().slots[0];
                             win::HWND l = win::GetDlgItem(m, IDC_TKMLIST);
                             copiedIn = win::SendMessageA(l, win::LB_GETSEL, 1, 0) > 0 &&
                                        win::SendMessageA(l, win::LB_GETSEL, 3, 0) > 0 &&
                                        !win::IsWindowEnabled(win::GetDlgItem(m, IDC_TKNAME));
                         })
                         .key(win::VK_RETURN));
    DlgShow(-1, -1, 0, ShowModal);
    EXPECT_TRUE(copiedIn);
    int state = 0;
    ListBoxSelectedGet(f, 4, state);
    EXPECT_EQ(state, 1);
    ListBoxSelectedGet(f, 1, state);
    EXPECT_EQ(state, 0);
    int selected = 0;
    DlgGetMenu(IDC_TKLIST, selected);
    EXPECT_EQ(selected, 3);
    EXPECT_FALSE(win::IsWindowEnabled(field(IDC_TKNAME)));
}

TEST_F(DialogTest, NestedFreezesRestoreOnlyOnTheLastRelease) {
    int result = -1;
    FreezeWindowContents(1, -1, result);
    EXPECT_EQ(result, 0);
    FreezeWindowContents(1, -1, result);
    ASSERT_NE(slot(0).frozenBitmap, nullptr);
    EXPECT_EQ(slot(0).frozenUseCount, 2);
    FreezeWindowContents(0, -1, result);
    EXPECT_NE(slot(0).frozenBitmap, nullptr);
    EXPECT_TRUE(dialogTable().freezeActive);
    FreezeWindowContents(0, -1, result);
    EXPECT_EQ(slot(0).frozenBitmap, nullptr);
    EXPECT_FALSE(dialogTable().freezeActive);
}

TEST_F(DialogTest, StretchFieldGrowsAndOthersFollowTheEdges) {
    DlgLoad(IDD_TKSTRETCH);
    win::HWND d = currentDialog();
    EXPECT_EQ(currentDialogRecord()->resizable(), 1);
    EXPECT_EQ(currentDialogRecord()->stretchField, field(IDC_TKSTRETCHLIST));
    auto rectOf = [d](int id) {
        win::RECT r{};
        win::GetWindowRect(win::GetDlgItem(d, id), &r);
        win::MapWindowPoints(nullptr, d, reinterpret_cast<win::POINT*>(&r), 2);
        return r;
    };
    const win::RECT list0 = rectOf(IDC_TKSTRETCHLIST), ok0 = rectOf(win::IDOK),
                    note0 = rectOf(IDC_TKSTRETCHNOTE);
    win::RECT w{};
    win::GetWindowRect(d, &w);
    win::SetWindowPos(d, nullptr, 0, 0, w.right - w.left + 40, w.bottom - w.top + 30,
                      win::SWP_NOMOVE | win::SWP_NOZORDER);
    const win::RECT list1 = rectOf(IDC_TKSTRETCHLIST), ok1 = rectOf(win::IDOK),
                    note1 = rectOf(IDC_TKSTRETCHNOTE);
    EXPECT_EQ(list1.right - list0.right, 40);
    EXPECT_EQ(list1.bottom - list0.bottom, 30);
    EXPECT_EQ(list1.left, list0.left);
    EXPECT_EQ(ok1.left - ok0.left, 40);
    EXPECT_EQ(ok1.top, ok0.top);
    EXPECT_EQ(note1.top - note0.top, 30);
    EXPECT_EQ(note1.left, note0.left);
}

TEST_F(DialogTest, ResizingTheClientHidesFieldsOutsideAndGivesThemBackTheirState) {
    DlgLoad(IDD_TKFIELDS);
    DlgFieldState(IDC_TKCHECK, StateDisabled);
    int result = -1;
    DialogResizeClient(140, 55, result);
    EXPECT_EQ(result, 0);
    auto visible = [](int id) {
        return (win::GetWindowLongPtrA(field(id), win::GWL_STYLE) & win::WS_VISIBLE) != 0;
    };
    EXPECT_TRUE(visible(IDC_TKNAME));
    EXPECT_FALSE(visible(IDC_TKCHECK));
    EXPECT_FALSE(visible(win::IDOK));
    EXPECT_EQ(fieldRecordOf(field(IDC_TKCHECK))->state, StateDisabled);
    DialogResizeClient(250, 170, result);
    EXPECT_TRUE(visible(win::IDOK));
    EXPECT_TRUE(visible(IDC_TKCHECK));
    EXPECT_FALSE(win::IsWindowEnabled(field(IDC_TKCHECK)));
}

TEST_F(DialogTest, ARefusedNumberBlocksOkAndCancelRestoresTheLastValidText) {
    DlgLoad(IDD_TKREAL);
    DlgPutReal(IDC_TKREAL, 5.0F, "(F4.1)");
    bool stillOpen = false;
    win::robot::play(Script()
                         .chord({win::VK_CONTROL, 'A'})
                         .text("1e99")
                         .key(win::VK_RETURN)
                         .check([&] { stillOpen = dialogTable().slots[0] != nullptr; })
                         .key(win::VK_ESCAPE));
    DlgShow(-1, -1, IDC_TKREAL, ShowModal);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(DialogInfoQuery(1), win::IDCANCEL);
    EXPECT_EQ(text(IDC_TKREAL), "5.0");
    float value = 0.0F;
    DlgGetReal(IDC_TKREAL, value);
    EXPECT_FLOAT_EQ(value, 5.0F);
}

}  // namespace
}  // namespace tk::test
