// Message boxes as dialogs: their buttons, icon, placement and answers.

#include "dialog_test_support.h"
#include "platform/gdi/gdi.h"
#include "platform/message_box.h"
#include "platform/window/image_api.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

class MessageBoxDialogTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        win::testing::resetMessageBoxes();
    }
    void TearDown() override {
        win::testing::resetMessageBoxes();
        WindowTest::TearDown();
    }
};

HWND theBox() {
    return robot::findTopLevelByClass("#32770");
}

// The screen colour of a pixel of a 32 x 32 icon drawn stretched into a control.
std::uint32_t iconPixel(HWND control, int x, int y) {
    const RECT r = robot::screenRect(control);
    const int w = r.right - r.left, h = r.bottom - r.top;
    return robot::screen().at(r.left + ((2 * x + 1) * w) / 64, r.top + ((2 * y + 1) * h) / 64) &
           0xFFFFFF;
}

}  // namespace

TEST_F(MessageBoxDialogTest, TheRobotClicksNoAndTheBoxIsCentredWithItsIcon) {
    HWND owner = CreateWindowExA(0, "RECORDER", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150,
                                 600, 400, nullptr, nullptr, nullptr, nullptr);
    robot::Script s;
    s.check([&] {
        HWND box = theBox();
        ASSERT_TRUE(box);
        EXPECT_EQ(robot::windowText(box), "Question");
        EXPECT_EQ(GetWindow(box, GW_OWNER), owner);
        EXPECT_FALSE(IsWindowEnabled(owner));
        const RECT b = robot::screenRect(box), o = robot::screenRect(owner);
        EXPECT_NEAR((b.left + b.right) / 2, (o.left + o.right) / 2, 1);
        EXPECT_NEAR((b.top + b.bottom) / 2, (o.top + o.bottom) / 2, 1);
        for (int id : {IDYES, IDNO, IDCANCEL})
            EXPECT_TRUE(GetDlgItem(box, id)) << id;
        EXPECT_EQ(robot::windowText(GetDlgItem(box, IDNO)), "&No");
        // The third button is the default one and has the focus.
        EXPECT_EQ(GetFocus(), GetDlgItem(box, IDCANCEL));
        HWND icon = GetDlgItem(box, 20);
        ASSERT_TRUE(icon);
        EXPECT_TRUE(SendMessageA(icon, STM_GETICON, 0, 0));
        ASSERT_TRUE(robot::saveWindowPng(box, screenshotPath("message_box")));
        // The icon is drawn: the question sign's blue disc.
        EXPECT_EQ(iconPixel(icon, 7, 16), 0x2160C8u);
    });
    s.clickOn([] { return GetDlgItem(theBox(), IDNO); });
    robot::play(std::move(s));
    EXPECT_EQ(MessageBoxA(owner, "Save the changes?\nThey are lost otherwise.", "Question",
                          MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3),
              IDNO);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(theBox());
    ASSERT_TRUE(win::testing::lastMessageBox());
    EXPECT_EQ(win::testing::lastMessageBox()->answer, IDNO);
    EXPECT_EQ(win::testing::lastMessageBox()->text, "Save the changes?\nThey are lost otherwise.");
}

TEST_F(MessageBoxDialogTest, KeysAnswerAsOnWindows) {
    struct Case {
        UINT type;
        int key;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, VK_ESCAPE, IDOK},                     // Escape in a box with OK alone
        {MB_OKCANCEL, VK_ESCAPE, IDCANCEL},           // Escape gives Cancel
        {MB_YESNO | MB_DEFBUTTON2, VK_RETURN, IDNO},  // Enter presses the default button
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, VK_RETURN, IDIGNORE},
        {MB_RETRYCANCEL, 'C', IDCANCEL},  // no mnemonic on Cancel: Enter not pressed
    };
    for (const Case& c : cases) {
        robot::Script s;
        s.key(c.key);
        if (c.key == 'C') s.key(VK_ESCAPE);
        robot::play(std::move(s));
        EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", c.type), c.answer) << c.type;
    }
    // Yes/No has no Cancel: Escape does nothing, a mnemonic answers.
    robot::Script s;
    s.key(VK_ESCAPE).check([] { EXPECT_TRUE(theBox()); }).text("y");
    robot::play(std::move(s));
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_YESNO), IDYES);
}

TEST_F(MessageBoxDialogTest, TaskModalDisablesEveryWindowAndQueuedAnswersPressTheirButton) {
    HWND a = topLevel("A");
    HWND b = topLevel("B");
    robot::Script s;
    s.check([&] {
        EXPECT_FALSE(IsWindowEnabled(a));
        EXPECT_FALSE(IsWindowEnabled(b));
        EXPECT_TRUE(IsWindowEnabled(theBox()));
    });
    s.clickOn([] { return GetDlgItem(theBox(), IDRETRY); });
    robot::play(std::move(s));
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_RETRYCANCEL | MB_TASKMODAL), IDRETRY);
    EXPECT_TRUE(IsWindowEnabled(a));
    EXPECT_TRUE(IsWindowEnabled(b));
    // A queued answer is a click on its button, made through the input queue.
    win::testing::queueMessageBoxAnswer(IDCANCEL);
    EXPECT_EQ(MessageBoxA(a, "t", "c", MB_RETRYCANCEL), IDCANCEL);
    EXPECT_FALSE(theBox());
    // Answer 0: the box cannot be shown and fails.
    win::testing::queueMessageBoxAnswer(0);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_OK), 0);
    ASSERT_EQ(win::testing::messageBoxes().size(), 3u);
    EXPECT_EQ(win::testing::messageBoxes()[2].answer, 0);
}

TEST_F(MessageBoxDialogTest, EachIconShowsItsSign) {
    struct Case {
        UINT type;
        const char* name;
        POINT sign;
        std::uint32_t signColour;
        POINT field;
        std::uint32_t fieldColour;
    };
    const Case cases[] = {
        {MB_ICONERROR, "error", {16, 16}, 0xFFFFFF, {16, 5}, 0xD81E1E},        // cross on red
        {MB_ICONQUESTION, "question", {16, 24}, 0xFFFFFF, {7, 16}, 0x2160C8},  // dot of the "?"
        {MB_ICONWARNING, "warning", {16, 14}, 0x000000, {10, 24}, 0xFFD21E},   // "!" on yellow
        {MB_ICONINFORMATION, "information", {16, 18}, 0xFFFFFF, {7, 16}, 0x2160C8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        robot::Script s;
        s.check([&] {
            HWND icon = GetDlgItem(theBox(), 20);
            ASSERT_TRUE(icon);
            EXPECT_EQ(iconPixel(icon, c.sign.x, c.sign.y), c.signColour);
            EXPECT_EQ(iconPixel(icon, c.field.x, c.field.y), c.fieldColour);
            // The corner lies outside every sign: the dialog's face shows.
            const COLORREF face = GetSysColor(COLOR_BTNFACE);
            EXPECT_EQ(iconPixel(icon, 0, 0),
                      static_cast<std::uint32_t>(GetRValue(face) << 16 | GetGValue(face) << 8 |
                                                 GetBValue(face)));
            ASSERT_TRUE(robot::saveWindowPng(theBox(),
                                             screenshotPath(std::string("message_box_") + c.name)));
        });
        s.key(VK_RETURN);
        robot::play(std::move(s));
        EXPECT_EQ(MessageBoxA(nullptr, "The profile has no stations.", "Pelk-GM", MB_OK | c.type),
                  IDOK);
    }
    // The same pictures for the system icons a program loads.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, LoadIconA(nullptr, IDI_HAND), 32, 32, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(dc, 16, 16), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 16, 5), RGB(0xD8, 0x1E, 0x1E));
    ASSERT_TRUE(
        DrawIconEx(dc, 0, 0, LoadIconA(nullptr, IDI_EXCLAMATION), 32, 32, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(dc, 16, 14), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 10, 24), RGB(0xFF, 0xD2, 0x1E));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}
