// Tree views with pictures from an image list and labels edited in place,
// driven by the robot.

#include <optional>
#include <string>
#include <vector>

#include "dialog_test_support.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;

namespace {

constexpr int kTreeId = 77;
constexpr COLORREF kRed = RGB(200, 0, 0), kGreen = RGB(0, 160, 0), kClear = RGB(255, 0, 255);

struct Ended {
    std::optional<std::string> text;  // none when the edit was cancelled
};
std::vector<Ended> ended;
LRESULT keepAnswer = TRUE;
LPARAM refuseParam = 99;

LRESULT treeHostProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    hear(msg, wp, lp);
    if (msg == WM_NOTIFY) {
        auto* info = reinterpret_cast<NMTVDISPINFOA*>(lp);
        switch (info->hdr.code) {
            case TVN_GETDISPINFOA:
                if (info->item.mask & TVIF_IMAGE) info->item.iImage = 0;
                if (info->item.mask & TVIF_SELECTEDIMAGE) info->item.iSelectedImage = 1;
                return 0;
            case TVN_BEGINLABELEDITA:
                return info->item.lParam == refuseParam;
            case TVN_ENDLABELEDITA:
                ended.push_back({info->item.pszText ? std::optional<std::string>(info->item.pszText)
                                                    : std::nullopt});
                return keepAnswer;
            default:
                break;
        }
    }
    return DefWindowProcA(h, msg, wp, lp);
}

class TreeViewEditTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        heard().clear();
        ended.clear();
        keepAnswer = TRUE;
        WNDCLASSA wc;
        wc.lpfnWndProc = treeHostProc;
        wc.lpszClassName = "TREEHOST";
        ASSERT_TRUE(RegisterClassA(&wc));
        host = CreateWindowExA(0, "TREEHOST", "Tree", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 360,
                               260, nullptr, nullptr, nullptr, nullptr);
        tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                   TVS_LINESATROOT | TVS_EDITLABELS,
                               10, 10, 220, 180, host,
                               reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kTreeId)),
                               nullptr, nullptr);
        ASSERT_TRUE(tree);
    }
    void TearDown() override {
        if (images) ImageList_Destroy(images);
        WindowTest::TearDown();
    }
    HTREEITEM add(HTREEITEM parent, const char* text, int image, int selected, LPARAM param) {
        TVINSERTSTRUCTA ins;
        ins.hParent = parent;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        ins.item.pszText = const_cast<char*>(text);
        ins.item.iImage = image;
        ins.item.iSelectedImage = selected;
        ins.item.lParam = param;
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    }
    // Two 16 x 16 pictures: red and green squares, each with a clear corner.
    void makeImages() {
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP strip = CreateCompatibleBitmap(screen, 32, 16);
        HGDIOBJ old = SelectObject(mem, strip);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
                SetPixelV(mem, x, y, (x % 16 < 4 && y < 4) ? kClear : x < 16 ? kRed : kGreen);
        SelectObject(mem, old);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
        ImageList_AddMasked(images, strip, kClear);
        DeleteObject(strip);
    }
    RECT labelRect(HTREEITEM item) {
        RECT r;
        *reinterpret_cast<HTREEITEM*>(&r) = item;
        SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    POINT labelPoint(HTREEITEM item) {
        const RECT r = labelRect(item);
        POINT p{r.left + 6, (r.top + r.bottom) / 2};
        ClientToScreen(tree, &p);
        return p;
    }
    std::string label(HTREEITEM item) {
        char text[64] = {};
        TVITEMA it;
        it.mask = TVIF_TEXT;
        it.hItem = item;
        it.pszText = text;
        it.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
        return text;
    }
    HWND editControl() {
        return reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
    }
    HWND host = nullptr, tree = nullptr;
    HIMAGELIST images = nullptr;
};

}  // namespace

// The picture of each item stands before its label: the selected picture for
// the selected item, the parent's answer for I_IMAGECALLBACK, and the clear
// parts of a picture show the tree's background.
TEST_F(TreeViewEditTest, PicturesAreDrawnBeforeTheLabels) {
    makeImages();
    EXPECT_EQ(SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images)),
              0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
              images);
    HTREEITEM bodies = add(TVI_ROOT, "Bodies", 0, 1, 1);
    HTREEITEM dyke = add(bodies, "Dyke", I_IMAGECALLBACK, I_IMAGECALLBACK, 2);
    HTREEITEM sill = add(bodies, "Sill", 1, 0, 3);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(bodies));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(bodies));
    pumpUntilIdle();
    HDC screen = GetDC(nullptr);
    auto pictureAt = [&](HTREEITEM item, int dx, int dy) {
        const RECT r = labelRect(item);
        // The picture ends three pixels and the label's margin before the label.
        POINT p{r.left - 2 - 3 - 16 + dx, (r.top + r.bottom) / 2 - 8 + dy};
        ClientToScreen(tree, &p);
        return GetPixel(screen, p.x, p.y);
    };
    EXPECT_EQ(pictureAt(bodies, 10, 10), kGreen);  // selected: its selected picture
    EXPECT_EQ(pictureAt(sill, 10, 10), kGreen);
    EXPECT_EQ(pictureAt(dyke, 10, 10), kRed);  // asked of the parent
    EXPECT_EQ(pictureAt(dyke, 1, 1), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(countOf(kTreeId, WM_NOTIFY, TVN_GETDISPINFOA) > 0, true);
    ReleaseDC(nullptr, screen);
    const RECT r = labelRect(sill);
    TVHITTESTINFO hit;
    hit.pt = {r.left - 12, (r.top + r.bottom) / 2};
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(
                  SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))),
              sill);
    EXPECT_EQ(hit.flags, TVHT_ONITEMICON);
    hit.pt.x = r.left + 3;
    SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.flags, TVHT_ONITEMLABEL);
    ASSERT_TRUE(robot::saveWindowPng(host, screenshotPath("tree_view_images")));
}

// A second click on the selected label starts an edit after a pause; Enter
// keeps the typed text, Escape drops it, the parent may refuse to start or
// to keep, and the focus leaving keeps the text.
TEST_F(TreeViewEditTest, LabelsAreEditedInPlace) {
    HTREEITEM basement = add(TVI_ROOT, "Basement", 0, 0, 1);
    HTREEITEM dyke = add(TVI_ROOT, "Dyke", 0, 0, 2);
    HTREEITEM fixed = add(TVI_ROOT, "Fixed", 0, 0, refuseParam);
    HWND other = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 240, 10, 80, 20,
                                 host, nullptr, nullptr, nullptr);
    robot::Script s;
    clickAt(s, [=, this] { return labelPoint(basement); });
    s.wait(700).check([=, this] {
        EXPECT_FALSE(editControl());  // the first click only selects
        heard().clear();
    });
    clickAt(s, [=, this] { return labelPoint(basement); });
    s.check([=, this] { EXPECT_FALSE(editControl()); });  // not before the pause
    s.wait(700).check([=, this] {
        HWND edit = editControl();
        ASSERT_TRUE(edit);
        EXPECT_EQ(GetFocus(), edit);
        EXPECT_EQ(robot::windowText(edit), "Basement");
        EXPECT_EQ(countOf(kTreeId, WM_NOTIFY, TVN_BEGINLABELEDITA), 1);
    });
    s.text("Granite").key(VK_RETURN).check([=, this] {
        ASSERT_EQ(ended.size(), 1u);
        EXPECT_EQ(ended[0].text, std::optional<std::string>("Granite"));
        EXPECT_EQ(label(basement), "Granite");
        EXPECT_FALSE(editControl());
        EXPECT_EQ(GetFocus(), tree);
        // Escape cancels: the parent hears no text and the label stays.
        EXPECT_TRUE(SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(dyke)));
    });
    s.text("Nope").key(VK_ESCAPE).check([=, this] {
        ASSERT_EQ(ended.size(), 2u);
        EXPECT_FALSE(ended[1].text.has_value());
        EXPECT_EQ(label(dyke), "Dyke");
        // A zero answer keeps the old label.
        keepAnswer = FALSE;
        SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(dyke));
    });
    s.text("Refused").key(VK_RETURN).check([=, this] {
        ASSERT_EQ(ended.size(), 3u);
        EXPECT_EQ(ended[2].text, std::optional<std::string>("Refused"));
        EXPECT_EQ(label(dyke), "Dyke");
        keepAnswer = TRUE;
        SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(dyke));
    });
    s.text("Sill").check([=] { SetFocus(other); });
    s.check([=, this] {
        ASSERT_EQ(ended.size(), 4u);
        EXPECT_EQ(label(dyke), "Sill");
        EXPECT_FALSE(editControl());
        // The parent refuses to edit this one.
        EXPECT_FALSE(SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(fixed)));
        EXPECT_FALSE(editControl());
        EXPECT_EQ(ended.size(), 4u);
        // Ended from outside, the edit keeps its text.
        SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(basement));
    });
    s.text("Gneiss").check([=, this] {
        EXPECT_TRUE(SendMessageA(tree, TVM_ENDEDITLABELNOW, FALSE, 0));
        EXPECT_EQ(label(basement), "Gneiss");
        EXPECT_FALSE(SendMessageA(tree, TVM_ENDEDITLABELNOW, FALSE, 0));
    });
    // A double click on the selected label does not start an edit.
    s.doubleClickAt([=, this] { return labelPoint(basement); });
    s.wait(700).check([=, this] {
        EXPECT_FALSE(editControl());
        EXPECT_EQ(countOf(kTreeId, WM_NOTIFY, TVN_BEGINLABELEDITA), 6);  // as before
    });
    robot::play(std::move(s));
    pumpUntilIdle();
}
