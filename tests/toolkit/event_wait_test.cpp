// The event waits driven by the robot on the headless desktop: what the user
// does arrives as one event per wait, in window units, with message times.

#include "platform/robot/robot.h"
#include "platform/window/menu_api.h"
#include "toolkit/core/window_placement.h"
#include "window_test_ids.h"
#include "window_test_support.h"

namespace tk::test {
namespace {

using win::robot::Button;
using win::robot::Script;

class EventWaitTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        openRoot(400, 300);
    }
    // Plays the script from the wait.
    static void play(Script s) { win::robot::play(std::move(s)); }
    // The user lets go of what the test no longer waits for (a release
    // whose event type is off).
    static void playRest() {
        while (win::robot::step()) {
        }
    }
};

TEST_F(EventWaitTest, ARepaintExposesItsAreaInUnits) {
    int type = 0;
    EventRecord rec{};
    win::InvalidateRect(slot(0).client, nullptr, win::TRUE);
    EventWait(type, rec);
    ASSERT_EQ(type, Expose);
    EXPECT_EQ(rec[0], 0);
    EXPECT_EQ(rec[3], 0);
    EXPECT_EQ(rec[5], unitsFromPixels(0, 400));
    EXPECT_EQ(rec[6], unitsFromPixels(0, 300));
    EXPECT_EQ(rec[1], unitsFromPixels(399, 400) - unitsFromPixels(0, 400));
    EXPECT_EQ(rec[2], unitsFromPixels(299, 300) - unitsFromPixels(0, 300));
}

TEST_F(EventWaitTest, MousePressAndReleaseArriveInWindowUnitsWithTimes) {
    EventTypeEnable(MouseButtonUp, 1);
    const win::POINT p = clientToScreen(0, 100, 50);
    Script s;
    s.press(p.x, p.y).wait(120).release(p.x, p.y, Button::Left);
    play(std::move(s));
    EventRecord down{}, up{};
    ASSERT_EQ(waitSkippingExpose(down), MouseButtonDown);
    ASSERT_EQ(waitSkippingExpose(up), MouseButtonUp);
    EXPECT_EQ(down[0], 0);
    EXPECT_EQ(down[1], 1);
    EXPECT_EQ(down[2] & kMouseLeft, kMouseLeft);
    EXPECT_EQ(down[3], 0);
    EXPECT_EQ(down[4], -1);
    EXPECT_EQ(down[5], unitsFromPixels(100, 400));
    EXPECT_EQ(down[6], unitsFromPixels(50, 300));
    EXPECT_EQ(up[1], 1);
    EXPECT_EQ(up[5], down[5]);
    EXPECT_EQ(up[11] - down[11], 120);
    // Graphics units without a graphics area span the unit square, y upwards.
    EXPECT_NEAR(eventReal(down, 9), 100.5f / 399.99f, 1e-5);
    EXPECT_NEAR(eventReal(down, 10), (300 - 50 - 1 + 0.5f) / 299.99f, 1e-5);
}

TEST_F(EventWaitTest, RightButtonAndWheelAndDoubleClick) {
    const win::POINT p = clientToScreen(0, 10, 20);
    Script s;
    s.click(p.x, p.y, Button::Right).wheel(p.x, p.y, -120).doubleClick(p.x, p.y);
    play(std::move(s));
    EventRecord rec{};
    ASSERT_EQ(waitSkippingExpose(rec), MouseButtonDown);
    EXPECT_EQ(rec[1], 3);
    ASSERT_EQ(waitSkippingExpose(rec), MouseButtonDown);
    EXPECT_EQ(rec[1], 5);
    EXPECT_EQ(rec[5], unitsFromPixels(10, 400));
    // A double click is a press like any other while type 16 is off.
    ASSERT_EQ(waitSkippingExpose(rec), MouseButtonDown);
    EXPECT_EQ(rec[1], 1);
    ASSERT_EQ(waitSkippingExpose(rec), MouseButtonDown);
    EXPECT_EQ(rec[1], 1);

    EventTypeEnable(MouseDoubleClick, 1);
    Script again;
    again.doubleClick(p.x, p.y);
    play(std::move(again));
    ASSERT_EQ(waitSkippingExpose(rec), MouseButtonDown);
    ASSERT_EQ(waitSkippingExpose(rec), MouseDoubleClick);
    EXPECT_EQ(rec[1], 1);
    playRest();
}

TEST_F(EventWaitTest, MouseMovesArriveOnlyWhileEnabled) {
    const win::POINT a = clientToScreen(0, 30, 40);
    const win::POINT b = clientToScreen(0, 200, 100);
    Script s;
    s.move(a.x, a.y).click(b.x, b.y);
    play(std::move(s));
    EventRecord rec{};
    ASSERT_EQ(waitSkippingExpose(rec), MouseButtonDown);
    EXPECT_EQ(rec[5], unitsFromPixels(200, 400));

    EventTypeEnable(MouseMove, 1);
    Script moves;
    moves.move(a.x, a.y);
    play(std::move(moves));
    ASSERT_EQ(waitSkippingExpose(rec), MouseMove);
    EXPECT_EQ(rec[1], -1);
    EXPECT_EQ(rec[5], unitsFromPixels(30, 400));
    EXPECT_EQ(rec[6], unitsFromPixels(40, 300));
}

TEST_F(EventWaitTest, KeysGiveCharactersOrKeyCodes) {
    Script s;
    s.key('A')
        .key(win::VK_F1)
        .chord({win::VK_SHIFT, win::VK_F1})
        .chord({win::VK_CONTROL, win::VK_F1});
    s.chord({win::VK_SHIFT, win::VK_LEFT}).chord({win::VK_CONTROL, win::VK_HOME}).key(win::VK_NEXT);
    play(std::move(s));
    EventRecord rec{};
    std::vector<int> codes;
    for (int i = 0; i < 7; ++i) {
        ASSERT_EQ(waitSkippingExpose(rec), KeyDown);
        EXPECT_EQ(rec[0], 0);
        codes.push_back(rec[1]);
    }
    EXPECT_EQ(codes, (std::vector<int>{'a', 301, 321, 341, 265, 270, 263}));
}

TEST(KeyCodes, TranslateWithModifierOffsets) {
    struct Case {
        int vk, offset, code;
    };
    for (Case c : {Case{38, 0, 258}, Case{38, 20, 262}, Case{37, 40, 269}, Case{33, 20, 262},
                   Case{36, 40, 270}, Case{35, 0, 271}, Case{46, 0, 273}, Case{9, 20, 274},
                   Case{9, 40, 9}, Case{101, 0, 285}, Case{12, 0, 285}, Case{105, 0, 289},
                   Case{107, 0, 292}, Case{44, 0, 300}, Case{131, 40, 360}, Case{65, 20, 65}})
        EXPECT_EQ(KeyCodeTranslate(c.vk, c.offset), c.code) << c.vk << "+" << c.offset;
    EXPECT_EQ(MouseKeyStateConvert(win::MK_CONTROL | win::MK_RBUTTON), kMouseCtrl | kMouseRight);
}

using MenuEvents = WindowTest;

TEST_F(MenuEvents, MenuItemsAndAcceleratorsArriveAsMenuSelect) {
    WindowOpenArgs a;
    a.width = 400;
    a.height = 300;
    a.menuId = IDM_TKMAIN;
    WindowOpen(a);
    ASSERT_NE(slot(0).menu, nullptr);
    ASSERT_NE(slot(0).accelerators, nullptr);
    Script s;
    s.clickMenuBar(slot(0).frame, "File").clickMenuItem("Save").chord({win::VK_CONTROL, 'O'});
    win::robot::play(std::move(s));
    EventRecord rec{};
    ASSERT_EQ(waitSkippingExpose(rec), MenuSelect);
    EXPECT_EQ(rec[1], IDM_TKSAVE);
    EXPECT_EQ(rec[0], 0);
    EXPECT_EQ(rec[2], -1);
    ASSERT_EQ(waitSkippingExpose(rec), MenuSelect);
    EXPECT_EQ(rec[1], IDM_TKOPEN);
}

TEST_F(MenuEvents, APopUpWithoutMenuUsesTheAcceleratorsOfTheWindowAboveIt) {
    WindowOpenArgs a;
    a.width = 400;
    a.height = 300;
    a.menuId = IDM_TKMAIN;
    WindowOpen(a);
    int n = 0;
    WindowOpenChildArgs c;
    c.width = 200;
    c.height = 100;
    WindowOpenChild(n, c);
    ASSERT_EQ(n, 1);
    ASSERT_EQ(slot(1).menu, nullptr);
    Script s;
    s.clickAt([] { return clientToScreen(1, 20, 20); }).chord({win::VK_CONTROL, 'O'});
    win::robot::play(std::move(s));
    EventRecord rec{};
    int type = 0;
    do
        EventWait(type, rec);
    while (type == Expose || type == MouseButtonDown);
    ASSERT_EQ(type, MenuSelect);
    EXPECT_EQ(rec[1], IDM_TKOPEN);
    EXPECT_EQ(rec[0], 1);
}

TEST_F(EventWaitTest, CloseBoxAsksAndLeavesTheWindowOpen) {
    win::PostMessageA(slot(0).frame, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
    EventRecord rec{};
    ASSERT_EQ(waitSkippingExpose(rec), CloseRequest);
    EXPECT_EQ(rec[0], 0);
    EXPECT_EQ(rec[1], -1);
    EXPECT_TRUE(win::IsWindowVisible(slot(0).frame));
}

TEST_F(EventWaitTest, ResizeMadeOutsideAWaitIsDeliveredByTheNextOne) {
    EventRecord rec{};
    int type = 0;
    WindowPlacement p;
    p.width = 200;
    p.height = 100;
    WindowPlacementSet(p);
    EventWait(type, rec);
    ASSERT_EQ(type, Resize);
    EXPECT_EQ(rec[0], 0);
    EXPECT_EQ(rec[1], 200);
    EXPECT_EQ(rec[2], 100);
    EXPECT_EQ(rec[5], -1);
    EXPECT_EQ(WindowInfoQuery(1), 200);
    // The window was repainted at once with its new size; nothing else is held.
    EXPECT_THROW(EventWait(type, rec), win::IdleWithoutInput);
}

TEST_F(EventWaitTest, ExposeOfAWindowPaintedOutsideTheWaitCoversItsWholeClient) {
    int type = 0;
    EventRecord rec{};
    win::RECT part{10, 10, 20, 20};
    win::InvalidateRect(slot(0).client, &part, win::FALSE);
    win::UpdateWindow(slot(0).client);
    // The queue is empty, yet the window's deferred expose is returned.
    EventWait(type, rec);
    ASSERT_EQ(type, Expose);
    EXPECT_EQ(rec[5], unitsFromPixels(0, 400));
    EXPECT_EQ(rec[1], unitsFromPixels(399, 400) - unitsFromPixels(0, 400));
}

TEST_F(EventWaitTest, PeekOnAnEmptyQueueAnswersNothingAndLeavesTheRealWords) {
    int type = 0;
    EventRecord rec{};
    rec.fill(77);
    EventPeek(type, rec);
    EXPECT_EQ(type, -1);
    for (int i : {0, 1, 2, 3, 4, 5, 6, 11})
        EXPECT_EQ(rec[i], -1) << i;
    for (int i : {7, 8, 9, 10})
        EXPECT_EQ(rec[i], 77) << i;
    // A pending click is taken by the peek.
    win::PostMessageA(slot(0).client, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(4, 5));
    EventPeek(type, rec);
    EXPECT_EQ(type, MouseButtonDown);
    EXPECT_EQ(rec[5], unitsFromPixels(4, 400));
}

TEST_F(EventWaitTest, AWaitWithNothingLeftFailsInsteadOfHanging) {
    int type = 0;
    EventRecord rec{};
    EXPECT_THROW(EventWait(type, rec), win::IdleWithoutInput);
    EXPECT_FALSE(eventQueue().insideWait);
}

TEST_F(EventWaitTest, DisabledTypesAreNotDeliveredAndOutOfRangeTypesAreIgnored) {
    EventTypeEnable(CloseRequest, 0);
    win::PostMessageA(slot(0).frame, win::WM_CLOSE, 0, 0);
    const win::POINT p = clientToScreen(0, 1, 1);
    Script s;
    s.click(p.x, p.y);
    play(std::move(s));
    EventRecord rec{};
    EXPECT_EQ(waitSkippingExpose(rec), MouseButtonDown);
    int value = 5;
    EventTypeEnable(17, 1);
    EventTypeSetting(17, value);
    EXPECT_EQ(value, 0);
    EventTypeSetting(MouseButtonUp, value);
    EXPECT_EQ(value, 0);
    EventTypeSetting(MenuSelect, value);
    EXPECT_EQ(value, 1);
    playRest();
}

// A stand-in for a dialog window: its record words and a procedure that
// posts two field changes while handling one message.
std::int32_t gRecord[16];

win::LRESULT fakeDialogProc(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    if (m == win::WM_USER) {
        gRecord[4] = gRecord[3];
        gRecord[3] = 5;
        EventPost(FieldChanged, 0, 0, 111, h);
        gRecord[4] = 5;
        gRecord[3] = 6;
        EventPost(FieldChanged, 0, 0, 222, h);
        return 0;
    }
    if (m == win::WM_USER + 1) {
        EventPost(PushButton, 0, 1, 0, h);
        return 0;
    }
    return win::DefWindowProcA(h, m, w, l);
}

TEST_F(EventWaitTest, SecondFieldChangeOfOneWaitIsDeferredToTheNext) {
    EventTypeEnable(FieldChanged, 1);
    std::fill(std::begin(gRecord), std::end(gRecord), 0);
    gRecord[0] = 140;
    gRecord[10] = -1;
    win::WNDCLASSA wc;
    wc.lpfnWndProc = fakeDialogProc;
    wc.lpszClassName = "FAKEDIALOG";
    ASSERT_NE(win::RegisterClassA(&wc), 0);
    win::HWND dialog = win::CreateWindowExA(0, "FAKEDIALOG", "", win::WS_POPUP, 0, 0, 10, 10,
                                            nullptr, nullptr, nullptr, nullptr);
    windowDialogHooks().recordOf = [dialog](win::HWND h) {
        return h == dialog ? gRecord : static_cast<std::int32_t*>(nullptr);
    };
    int type = 0;
    EventRecord rec{};
    win::PostMessageA(dialog, win::WM_USER, 0, 0);
    win::PostMessageA(dialog, win::WM_USER + 1, 0, 0);
    EventWait(type, rec);
    ASSERT_EQ(type, FieldChanged);
    EXPECT_EQ(rec[0], 140);
    EXPECT_EQ(rec[2], 5);
    EXPECT_EQ(rec[5], -1);
    EXPECT_EQ(rec[6], 111);
    EventWait(type, rec);
    ASSERT_EQ(type, FieldChanged);
    EXPECT_EQ(rec[1], 5);
    EXPECT_EQ(rec[2], 6);
    EXPECT_EQ(rec[5], 111);
    EXPECT_EQ(rec[6], 222);
    EventWait(type, rec);
    ASSERT_EQ(type, PushButton);
    EXPECT_EQ(rec[0], 140);
    EXPECT_EQ(rec[1], 1);
    EXPECT_EQ(rec[2], 5);
}

TEST_F(EventWaitTest, AClosedWindowsHeldResizeNeverReachesTheNextWindowInItsSlot) {
    int n = 0;
    WindowOpenChildArgs a;
    a.flags = 7;
    a.width = 100;
    a.height = 80;
    WindowOpenChild(n, a);
    ASSERT_EQ(n, 1);
    WindowPlacement p;
    p.width = 150;
    WindowPlacementSet(p);  // outside a wait: held for the next one
    ASSERT_EQ(eventQueue().deferred[1].type, Resize);
    WindowCloseChild(1);
    EXPECT_EQ(eventQueue().deferred[1].type, 0);
    WindowOpenChild(n, a);
    ASSERT_EQ(n, 1);
    int type = 0;
    EventRecord rec{};
    const int width = clientSize(slot(1).client).cx;
    ASSERT_NE(width, 150);
    for (EventPeek(type, rec); type != -1; EventPeek(type, rec))
        EXPECT_FALSE(type == Resize && rec[1] == 150);
    EXPECT_EQ(WindowInfoQuery(1), width);
}

TEST_F(EventWaitTest, AnExposeDroppedBehindAnotherWindowsResizeIsHeldForTheNextWait) {
    int n = 0;
    WindowOpenChildArgs a;
    a.flags = 7;
    a.width = 100;
    a.height = 80;
    WindowOpenChild(n, a);
    ASSERT_EQ(n, 1);
    int type = 0;
    EventRecord rec{};
    for (EventPeek(type, rec); type != -1; EventPeek(type, rec)) {
    }
    // Inside a wait the root window's Resize is stored; the child painted
    // outside the wait's own dispatch loses its Expose to it.
    EventQueueState& q = eventQueue();
    q.insideWait = true;
    q.waitState = 0;
    q.current = StoredEvent{};
    q.current.type = Resize;
    q.current.window = 0;
    win::RECT part{5, 5, 9, 9};
    win::InvalidateRect(slot(1).client, &part, win::FALSE);
    win::UpdateWindow(slot(1).client);
    EXPECT_EQ(q.current.type, Resize);
    q.insideWait = false;
    q.current = StoredEvent{};
    EventWait(type, rec);
    ASSERT_EQ(type, Expose);
    const int width = clientSize(slot(1).client).cx;
    EXPECT_EQ(rec[0], 1);
    EXPECT_EQ(rec[5], unitsFromPixels(0, width));
    EXPECT_EQ(rec[1], unitsFromPixels(width - 1, width) - unitsFromPixels(0, width));
}

TEST_F(EventWaitTest, ResizeOfAHiddenWindowIsNeverDelivered) {
    int seen = 0;
    windowGraphicsHooks().windowTargetResized = [&](win::HWND, int w, int) { seen = w; };
    int n = 0;
    WindowOpenChildArgs a;
    a.flags = 7 | kFlagHidden;
    a.width = 100;
    a.height = 80;
    WindowOpenChild(n, a);
    ASSERT_EQ(n, 1);
    WindowPlacement p;
    p.width = 150;
    WindowPlacementSet(p);
    EXPECT_EQ(seen, 150);
    int type = 0;
    EventRecord rec{};
    EXPECT_THROW(EventWait(type, rec), win::IdleWithoutInput);
}

}  // namespace
}  // namespace tk::test
