// A window combined with a dialog that fills it: the dialog gives the window
// its size, a dialog without stretchable field fixes the frame, a captioned
// dialog is refused, and the window's accelerators serve the dialog's keys.

#include "dialog_test_support.h"
#include "toolkit/core/window_placement.h"
#include "window_test_ids.h"

namespace tk::test {
namespace {

using win::robot::Script;

class CombinedDialogTest : public DialogTest {
  protected:
    static win::SIZE windowSize(win::HWND h) {
        const win::RECT r = screenRect(h);
        return {r.right - r.left, r.bottom - r.top};
    }
    static int openCombined(int dialog, int flags, int menu = 0) {
        WindowOpenChildArgs a;
        a.flags = flags;
        a.width = 500;
        a.height = 400;
        a.menuId = menu;
        a.dialogId = dialog;
        int n = 0;
        WindowOpenChild(n, a);
        return n;
    }
};

TEST_F(CombinedDialogTest, ADialogWithoutStretchFieldSizesTheWindowAndFixesItsFrame) {
    const int n = openCombined(IDD_TKPAGE1, 7 | kFlagMaximised, IDM_TKMAIN);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(takeError(), 0);
    win::HWND dialog = dialogWindowOf(IDD_TKPAGE1);
    ASSERT_TRUE(dialog);
    const FrameUserRecord* r = frameRecord(slot(n).frame);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->kind(), KindCombinedDialog);
    EXPECT_EQ(r->handle(5), dialog);
    EXPECT_EQ(r->words[6], windowSize(slot(n).frame).cx);
    EXPECT_EQ(r->words[7], windowSize(slot(n).frame).cy);
    // The window's client is the dialog's size, not the one asked for.
    const win::SIZE d = windowSize(dialog);
    EXPECT_EQ(clientSize(slot(n).client).cx, d.cx);
    EXPECT_EQ(clientSize(slot(n).client).cy, d.cy);
    EXPECT_LT(d.cx, 500);
    // Fixed frame: no sizing border, no maximise box, not maximised.
    EXPECT_TRUE(windowSystem().WindowFlags[n] & kFlagFixedFrame);
    EXPECT_FALSE(windowSystem().WindowFlags[n] & (kFlagMaximiseBox | kFlagMaximised));
    const auto style = static_cast<win::DWORD>(win::GetWindowLongA(slot(n).frame, win::GWL_STYLE));
    EXPECT_FALSE(style & win::WS_THICKFRAME);
    EXPECT_FALSE(style & win::WS_MAXIMIZEBOX);
    EXPECT_FALSE(win::IsZoomed(slot(n).frame));
    EXPECT_TRUE(win::IsWindowVisible(dialog));
    EXPECT_EQ(toolkitState().CurrentDialogNumber, IDD_TKPAGE1);

    // Placed again and shown, the window shows its dialog again.
    win::ShowWindow(dialog, win::SW_HIDE);
    WindowPlacement shown;
    shown.state = 1;
    WindowPlacementSet(shown);
    EXPECT_TRUE(win::IsWindowVisible(dialog));
    EXPECT_EQ(toolkitState().CurrentDialogNumber, IDD_TKPAGE1);

    // Typed in the dialog, the window's accelerator gives its menu command.
    Script s;
    s.clickOn([] { return currentField(IDC_TKPAGEEDIT); }).chord({win::VK_CONTROL, 'O'});
    win::robot::play(std::move(s));
    EventRecord rec{};
    int type = 0;
    do
        EventWait(type, rec);
    while (type != MenuSelect);
    EXPECT_EQ(rec[1], IDM_TKOPEN);
    EXPECT_EQ(rec[0], n);
}

TEST_F(CombinedDialogTest, AStretchableDialogFollowsTheWindowsSize) {
    const int n = openCombined(IDD_TKCOMBINED, 7);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(takeError(), 0);
    win::HWND dialog = dialogWindowOf(IDD_TKCOMBINED);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(windowSystem().WindowFlags[n] & kFlagFixedFrame);
    const auto style = static_cast<win::DWORD>(win::GetWindowLongA(slot(n).frame, win::GWL_STYLE));
    EXPECT_TRUE(style & win::WS_THICKFRAME);
    const win::SIZE before = windowSize(dialog);
    WindowPlacement p;
    p.width = before.cx + 80;
    p.height = before.cy + 40;
    WindowPlacementSet(p);
    EXPECT_EQ(windowSize(dialog).cx, before.cx + 80);
    EXPECT_EQ(windowSize(dialog).cy, before.cy + 40);
    // The frame keeps at least the size it was made with.
    win::MINMAXINFO info{};
    win::SendMessageA(slot(n).frame, win::WM_GETMINMAXINFO, 0,
                      reinterpret_cast<win::LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, frameRecord(slot(n).frame)->words[6]);
    EXPECT_EQ(info.ptMinTrackSize.y, frameRecord(slot(n).frame)->words[7]);
}

TEST_F(CombinedDialogTest, CaptionedMissingAndUncreatableDialogsAreReportedByTheirOwnTexts) {
    // A dialog with a caption cannot fill a window: error 1045, the window
    // is made without it.
    const int n = openCombined(IDD_TKSMALL, 7);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(takeError(), 1045);
    EXPECT_EQ(frameRecord(slot(n).frame), nullptr);
    EXPECT_EQ(dialogWindowOf(IDD_TKSMALL), nullptr);
    EXPECT_EQ(openCombined(IDD_TKMISSING, 7), 2);
    EXPECT_EQ(takeError(), 1007);
    // The dialog manager's own codes come back in the window layer's terms.
    const auto& create = windowDialogHooks().createCombined;
    EXPECT_EQ(create(IDD_TKMISSING, 1), -1);
    DialogTable& t = dialogTable();
    const int loaded = t.count;
    t.count = kDialogSlots;
    EXPECT_EQ(create(IDD_TKPAGE2, 1), -3);
    t.count = loaded;
}

}  // namespace
}  // namespace tk::test
