// Colour, font, page set-up, find and replace, and folder dialogs, driven by
// the robot.

#include <cstring>
#include <fstream>

#include "dialog_test_support.h"
#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/printing.h"
#include "platform/window/clipboard_api.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;
namespace fs = std::filesystem;

namespace {

HWND activeDialog() {
    return GetActiveWindow();
}

// Selects all of a field's text and types over it.
void retype(robot::Script& s, int id, const std::string& text) {
    s.check([id] {
        HWND f = GetDlgItem(activeDialog(), id);
        SetFocus(f);
        SendMessageA(f, EM_SETSEL, 0, -1);
    });
    s.text(text);
}

std::vector<FINDREPLACEA> reports;
UINT findMessage = 0;

LRESULT ownerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (findMessage && msg == findMessage) reports.push_back(*reinterpret_cast<FINDREPLACEA*>(lp));
    return DefWindowProcA(h, msg, wp, lp);
}

class CommonDialogsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        reports.clear();
        findMessage = RegisterWindowMessageA("commdlg_FindReplace");
        WNDCLASSA wc;
        wc.lpfnWndProc = ownerProc;
        wc.lpszClassName = "DIALOGOWNER";
        ASSERT_TRUE(RegisterClassA(&wc));
        owner = CreateWindowExA(0, "DIALOGOWNER", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                600, 400, nullptr, nullptr, nullptr, nullptr);
    }
    HWND owner = nullptr;
};

}  // namespace

TEST_F(CommonDialogsTest, ColourFromASwatchAndTypedValuesBecomesTheResult) {
    COLORREF custom[16] = {};
    CHOOSECOLORA cc;
    cc.hwndOwner = owner;
    cc.rgbResult = RGB(1, 2, 3);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    robot::Script s;
    s.check([] { EXPECT_EQ(GetDlgItemInt(activeDialog(), kBlueEdit, nullptr, FALSE), 3u); });
    // The first swatch of the second row: pure red.
    clickAt(s, [] {
        const RECT r = robot::screenRect(GetDlgItem(activeDialog(), kColourGrid));
        return POINT{r.left + (r.right - r.left) / 16, r.top + 3 * (r.bottom - r.top) / 12};
    });
    s.check([] {
        EXPECT_EQ(GetDlgItemInt(activeDialog(), kRedEdit, nullptr, FALSE), 255u);
        EXPECT_EQ(GetDlgItemInt(activeDialog(), kGreenEdit, nullptr, FALSE), 0u);
    });
    retype(s, kGreenEdit, "128");
    s.clickOn([] { return GetDlgItem(activeDialog(), kAddCustomButton); });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(s));
    ASSERT_TRUE(ChooseColorA(&cc));
    EXPECT_EQ(cc.rgbResult, RGB(255, 128, 0));
    EXPECT_EQ(custom[0], RGB(255, 128, 0));
}

TEST_F(CommonDialogsTest, FontChoiceFillsTheLogicalFont) {
    LOGFONTA lf{};
    std::strcpy(lf.lfFaceName, "Times New Roman");
    lf.lfHeight = -16;
    lf.lfWeight = FW_BOLD;
    CHOOSEFONTA cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    robot::Script s;
    s.check([] {
        EXPECT_EQ(robot::windowText(GetDlgItem(activeDialog(), kFontFaceList)), "Times New Roman");
        EXPECT_EQ(robot::windowText(GetDlgItem(activeDialog(), kFontSizeList)), "12");
    });
    clickAt(s, [] {
        HWND list =
            robot::findDescendantByClass(GetDlgItem(activeDialog(), kFontFaceList), "ListBox");
        return listItemCentre(list, 1);  // Courier New
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), kUnderlineCheck); });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(s));
    ASSERT_TRUE(ChooseFontA(&cf));
    EXPECT_STREQ(lf.lfFaceName, "Courier New");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(cf.iPointSize, 120);
}

TEST_F(CommonDialogsTest, PageSetupReturnsTheDefaultPaperAndTheChosenLayout) {
    const std::vector<PaperSize> papers = printerPaperSizes(defaultPrinter().device);
    ASSERT_FALSE(papers.empty());
    PAGESETUPDLGA psd;
    psd.hwndOwner = owner;
    psd.Flags = PSD_RETURNDEFAULT | PSD_INHUNDREDTHSOFMILLIMETERS;
    ASSERT_TRUE(PageSetupDlgA(&psd));
    ASSERT_TRUE(psd.hDevMode);
    ASSERT_TRUE(psd.hDevNames);
    EXPECT_EQ(psd.ptPaperSize.x, papers[0].widthTenthsMm * 10);
    EXPECT_EQ(psd.ptPaperSize.y, papers[0].heightTenthsMm * 10);
    // Asked again with settings given: refused, as the call wants none.
    EXPECT_FALSE(PageSetupDlgA(&psd));
    // The size of the 32-bit structure is taken too; another size is refused.
    for (const DWORD size : {PAGESETUPDLGA_SIZE_32, DWORD{12}}) {
        PAGESETUPDLGA other;
        other.lStructSize = size;
        other.Flags = PSD_RETURNDEFAULT;
        EXPECT_EQ(PageSetupDlgA(&other), size == PAGESETUPDLGA_SIZE_32 ? TRUE : FALSE) << size;
        EXPECT_EQ(CommDlgExtendedError(), size == PAGESETUPDLGA_SIZE_32 ? 0u : CDERR_STRUCTSIZE);
        GlobalFree(other.hDevMode);
        GlobalFree(other.hDevNames);
    }

    psd.Flags = PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS;
    psd.rtMargin = {1000, 1000, 1000, 1000};
    robot::Script s;
    s.check([] {
        EXPECT_EQ(robot::windowText(GetDlgItem(activeDialog(), kMarginLeft)), "10.0");
        ASSERT_TRUE(robot::saveWindowPng(activeDialog(), screenshotPath("page_setup")));
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), kLandscapeRadio); });
    retype(s, kMarginLeft, "25");
    s.key(VK_RETURN);
    robot::play(std::move(s));
    ASSERT_TRUE(PageSetupDlgA(&psd));
    EXPECT_EQ(psd.ptPaperSize.x, papers[0].heightTenthsMm * 10);
    EXPECT_EQ(psd.ptPaperSize.y, papers[0].widthTenthsMm * 10);
    EXPECT_EQ(psd.rtMargin.left, 2500);
    EXPECT_EQ(psd.rtMargin.top, 1000);
    const auto* mode = static_cast<const DEVMODEA*>(GlobalLock(psd.hDevMode));
    EXPECT_EQ(mode->dmOrientation, DMORIENT_LANDSCAPE);
    GlobalUnlock(psd.hDevMode);
    GlobalFree(psd.hDevMode);
    GlobalFree(psd.hDevNames);
}

TEST_F(CommonDialogsTest, FindReportsToItsOwnerUntilClosed) {
    char what[64] = "old";
    FINDREPLACEA fr;
    fr.hwndOwner = owner;
    fr.lpstrFindWhat = what;
    fr.wFindWhatLen = sizeof what;
    fr.Flags = FR_DOWN;
    HWND dlg = FindTextA(&fr);
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(robot::windowText(GetDlgItem(dlg, kFindWhatEdit)), "old");
    robot::Script s;
    s.check([=] {
        SetFocus(GetDlgItem(dlg, kFindWhatEdit));
        SendDlgItemMessageA(dlg, kFindWhatEdit, EM_SETSEL, 0, -1);
    });
    s.text("needle");
    s.clickOn([=] { return GetDlgItem(dlg, kMatchCaseCheck); });
    s.clickOn([=] { return GetDlgItem(dlg, kUpRadio); });
    s.clickOn([=] { return GetDlgItem(dlg, IDOK); });
    s.check([&] {
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].Flags & (FR_FINDNEXT | FR_MATCHCASE | FR_DOWN | FR_DIALOGTERM),
                  FR_FINDNEXT | FR_MATCHCASE);
        EXPECT_STREQ(what, "needle");
    });
    s.clickOn([=] { return GetDlgItem(dlg, IDCANCEL); });
    robot::play(std::move(s));
    MSG m;
    while (robot::playing() || PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            robot::step();
            continue;
        }
        if (!IsWindow(dlg) || !IsDialogMessageA(dlg, &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(reports[1].Flags & FR_DIALOGTERM);
    EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(CommonDialogsTest, ReplaceReportsBothTextsAndItsAction) {
    char what[32] = "a", with[32] = "b";
    FINDREPLACEA fr;
    fr.hwndOwner = owner;
    fr.lpstrFindWhat = what;
    fr.wFindWhatLen = sizeof what;
    fr.lpstrReplaceWith = with;
    fr.wReplaceWithLen = sizeof with;
    HWND dlg = ReplaceTextA(&fr);
    ASSERT_TRUE(dlg);
    SetDlgItemTextA(dlg, kReplaceWithEdit, "beta");
    SendMessageA(GetDlgItem(dlg, kReplaceAllButton), BM_CLICK, 0, 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].Flags & FR_REPLACEALL);
    EXPECT_TRUE(reports[0].Flags & FR_DOWN);
    EXPECT_STREQ(with, "beta");
    // An empty search text disables the buttons.
    SetDlgItemTextA(dlg, kFindWhatEdit, "");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, kReplaceButton)));
    // Without a buffer there is no dialog.
    fr.lpstrReplaceWith = nullptr;
    EXPECT_FALSE(ReplaceTextA(&fr));
    DestroyWindow(dlg);
}

namespace {
std::vector<std::string> selections;
int browseCallback(HWND h, UINT msg, LPARAM lp, LPARAM data) {
    if (msg == BFFM_INITIALIZED) SendMessageA(h, BFFM_SETSELECTIONA, TRUE, data);
    if (msg == BFFM_SELCHANGED) {
        char path[260];
        SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lp), path);
        selections.push_back(path);
    }
    return 0;
}
}  // namespace

TEST_F(CommonDialogsTest, TheFolderBrowserGoesIntoFoldersAndReturnsTheChosenOne) {
    const fs::path root = fs::temp_directory_path() / ("pelk_browse_" + std::to_string(::getpid()));
    fs::create_directories(root / "alpha");
    fs::create_directories(root / "beta" / "inner");
    const std::string rootText = root.string();
    selections.clear();
    char name[260] = {};
    BROWSEINFOA bi;
    bi.hwndOwner = owner;
    bi.lpszTitle = "Choose the folder";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    bi.lpfn = browseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(rootText.c_str());
    bi.pszDisplayName = name;
    robot::Script s;
    s.check([&] {
        EXPECT_EQ(robot::windowText(GetDlgItem(activeDialog(), kBrowseHeading)),
                  "Choose the folder");
        ASSERT_FALSE(selections.empty());
        EXPECT_EQ(selections.back(), rootText);
    });
    s.steps.push_back([] {
        const POINT p =
            listItemCentre(GetDlgItem(activeDialog(), kBrowseFolders), 2);  // [..] [alpha] [beta]
        injectMouseMove(p.x, p.y);
        injectMouseButton(p.x, p.y, 0, true);
        injectMouseButton(p.x, p.y, 0, false);
        injectMouseButton(p.x, p.y, 0, true);
        injectMouseButton(p.x, p.y, 0, false);
    });
    s.check([&] { EXPECT_EQ(selections.back(), (root / "beta").string()); });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(s));
    LPITEMIDLIST chosen = SHBrowseForFolderA(&bi);
    ASSERT_TRUE(chosen);
    char path[260];
    ASSERT_TRUE(SHGetPathFromIDListA(chosen, path));
    EXPECT_EQ(std::string(path), (root / "beta").string());
    EXPECT_STREQ(name, "beta");
    IMalloc* shell = nullptr;
    ASSERT_EQ(SHGetMalloc(&shell), S_OK);
    shell->Free(chosen);
    shell->Release();
    fs::remove_all(root);
}

TEST_F(CommonDialogsTest, TheFaceListAndATypedFaceFollowTheFlags) {
    struct Case {
        DWORD flags;
        std::vector<std::string> faces;
    };
    const Case cases[] = {
        {CF_SCREENFONTS,
         {"Arial", "Courier New", "MS Sans Serif", "Symbol", "Times New Roman", "Wingdings"}},
        {CF_SCREENFONTS | CF_TTONLY,
         {"Arial", "Courier New", "Symbol", "Times New Roman", "Wingdings"}},
        {CF_SCREENFONTS | CF_FIXEDPITCHONLY, {"Courier New"}},
    };
    for (const Case& c : cases) {
        CHOOSEFONTA cf;
        cf.hwndOwner = owner;
        cf.Flags = c.flags;
        robot::Script s;
        s.check([&] {
            HWND list = GetDlgItem(activeDialog(), kFontFaceList);
            std::vector<std::string> shown;
            for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
                char face[LF_FACESIZE] = {};
                SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i),
                             reinterpret_cast<LPARAM>(face));
                shown.push_back(face);
            }
            EXPECT_EQ(shown, c.faces) << c.flags;
        });
        s.clickOn([] { return GetDlgItem(activeDialog(), IDCANCEL); });
        robot::play(std::move(s));
        EXPECT_FALSE(ChooseFontA(&cf));
        EXPECT_EQ(CommDlgExtendedError(), 0u);
    }
    // A face that must exist: a name typed that is not offered keeps the dialog open.
    win::testing::resetMessageBoxes();
    LOGFONTA lf{};
    CHOOSEFONTA cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_FORCEFONTEXIST;
    win::testing::queueMessageBoxAnswer(IDOK);
    robot::Script s;
    s.check([] { SetDlgItemTextA(activeDialog(), kFontFaceList, "Nonesuch"); });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    s.check([] {
        ASSERT_EQ(win::testing::messageBoxes().size(), 1u);
        EXPECT_EQ(win::testing::messageBoxes()[0].text.rfind("There is no font", 0), 0u);
        ASSERT_TRUE(GetDlgItem(activeDialog(), kFontFaceList));
        SetDlgItemTextA(activeDialog(), kFontFaceList, "Times New Roman");
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(s));
    ASSERT_TRUE(ChooseFontA(&cf));
    EXPECT_STREQ(lf.lfFaceName, "Times New Roman");
    win::testing::resetMessageBoxes();
}
