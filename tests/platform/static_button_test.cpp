// Labels and pictures, three-state and picture buttons, and a child dialog
// whose controls the Tab key reaches from its parent dialog.

#include "dialog_test_support.h"
#include "platform/dialogs/dialog_template.h"
#include "platform/gdi/gdi.h"
#include "platform/window/image_api.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

class StaticButtonTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        host = topLevel("Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN);
        seen().clear();
    }
    HWND make(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, host,
                               reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr,
                               nullptr);
    }
    HWND host = nullptr;
};

std::vector<WORD> codesOf(int id) {
    std::vector<WORD> out;
    for (const Seen& s : seenOf(WM_COMMAND))
        if (LOWORD(s.wParam) == id) out.push_back(HIWORD(s.wParam));
    return out;
}

}  // namespace

TEST_F(StaticButtonTest, LabelsPassClicksOnUnlessTheyNotifyAndPicturesSizeThemselves) {
    HWND plain = make("Static", "Plain", SS_LEFT, 11, 10, 10, 80, 16);
    HWND notify = make("Static", "Notify", SS_LEFT | SS_NOTIFY, 12, 10, 40, 80, 16);
    const BYTE bits[4 * 3 * 2] = {};
    HBITMAP bmp = CreateBitmap(3, 2, 1, 32, bits);
    HWND picture = make("Static", "", SS_BITMAP, 13, 10, 70, 50, 50);
    SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)), bmp);
    RECT r;
    GetClientRect(picture, &r);
    EXPECT_EQ(r.right, 3);
    EXPECT_EQ(r.bottom, 2);
    HWND icon = make("Static", "", SS_ICON, 14, 100, 70, 10, 10);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_EXCLAMATION)),
                 0);
    GetClientRect(icon, &r);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXICON));
    robot::Script s;
    s.clickOn([=] { return plain; });
    s.clickOn([=] { return notify; });
    robot::play(std::move(s));
    pumpUntilIdle();
    // The plain label let the click through to the window beneath it.
    EXPECT_GE(indexOf(host, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(codesOf(12), (std::vector<WORD>{STN_CLICKED}));
    EXPECT_TRUE(codesOf(11).empty());
    DestroyWindow(picture);
    DeleteObject(bmp);
}

TEST_F(StaticButtonTest, ThreeStateBoxesCycleAndPushButtonsShowTheirPictures) {
    HWND box = make("Button", "Three", BS_AUTO3STATE, 21, 10, 10, 100, 16);
    HWND pictureButton = make("Button", "", BS_PUSHBUTTON | BS_BITMAP, 22, 10, 40, 40, 30);
    const std::uint32_t red[4] = {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000};
    HBITMAP bmp = CreateBitmap(2, 2, 1, 32, red);
    SendMessageA(pictureButton, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
    std::vector<WPARAM> states;
    for (int i = 0; i < 3; ++i) {
        SendMessageA(box, BM_CLICK, 0, 0);
        states.push_back(static_cast<WPARAM>(SendMessageA(box, BM_GETCHECK, 0, 0)));
    }
    EXPECT_EQ(states, (std::vector<WPARAM>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}));
    EXPECT_EQ(codesOf(21), (std::vector<WORD>{BN_CLICKED, BN_CLICKED, BN_CLICKED}));
    // A plain check box keeps only checked and unchecked.
    HWND two = make("Button", "Two", BS_AUTOCHECKBOX, 23, 10, 80, 100, 16);
    SendMessageA(two, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessageA(two, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
    pumpUntilIdle();
    const POINT c = robot::centreOf(pictureButton);
    EXPECT_EQ(robot::screen().at(c.x, c.y) & 0xFFFFFF, 0xFF0000u);
    DestroyWindow(pictureButton);
    DeleteObject(bmp);
}

namespace {
INT_PTR quietProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

std::vector<BYTE> childTemplate() {
    dialogs::DialogTemplate t;
    t.style = WS_CHILD | WS_VISIBLE | DS_CONTROL | DS_SETFONT;
    t.hasFont = true;
    t.x = 10;
    t.y = 30;
    t.cx = 100;
    t.cy = 40;
    dialogs::TemplateItem e;
    e.className = "Edit";
    e.id = 501;
    e.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER;
    e.x = 4;
    e.y = 4;
    e.cx = 60;
    e.cy = 12;
    t.items.push_back(e);
    e.id = 502;
    e.y = 20;
    t.items.push_back(e);
    return dialogs::buildTemplate(t);
}

std::vector<BYTE> parentTemplate() {
    dialogs::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT;
    t.hasFont = true;
    t.caption = "Pages";
    t.cx = 160;
    t.cy = 100;
    dialogs::TemplateItem b;
    b.className = "Button";
    b.text = "OK";
    b.id = IDOK;
    b.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
    b.x = 4;
    b.y = 4;
    b.cx = 40;
    b.cy = 14;
    t.items.push_back(b);
    return dialogs::buildTemplate(t);
}
}  // namespace

TEST_F(StaticButtonTest, TabReachesTheControlsOfAChildDialog) {
    const auto outer = parentTemplate();
    HWND dialog = CreateDialogIndirectParamA(nullptr, outer.data(), host, quietProc, 0);
    ASSERT_TRUE(dialog);
    const auto inner = childTemplate();
    HWND page = CreateDialogIndirectParamA(nullptr, inner.data(), dialog, quietProc, 0);
    ASSERT_TRUE(page);
    EXPECT_EQ(GetParent(page), dialog);
    EXPECT_TRUE(GetWindowLongA(page, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDOK), FALSE), GetDlgItem(page, 501));
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(page, 502), FALSE), GetDlgItem(dialog, IDOK));
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDOK), TRUE), GetDlgItem(page, 502));
    SetFocus(GetDlgItem(dialog, IDOK));
    MSG m{};
    m.hwnd = GetDlgItem(dialog, IDOK);
    m.message = WM_KEYDOWN;
    m.wParam = VK_TAB;
    EXPECT_TRUE(IsDialogMessageA(dialog, &m));
    EXPECT_EQ(GetFocus(), GetDlgItem(page, 501));
    DestroyWindow(dialog);
}
