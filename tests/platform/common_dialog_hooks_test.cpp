// Hook procedures and callers' templates of the common dialogs, driven by
// the robot: what a hook hears, what its answers change, and the controls a
// caller's template adds.

#include <cstring>
#include <fstream>

#include "dialog_test_support.h"
#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/dialogs/dialog_template.h"
#include "platform/gdi/gdi.h"
#include "platform/message_box.h"
#include "platform/window/clipboard_api.h"

using namespace win;
using namespace wintest;
using namespace dlgtest;
namespace fs = std::filesystem;

namespace {

// What the hooks of these tests heard.
struct HookLog {
    std::vector<UINT> messages;
    std::vector<UINT> notifications;  // WM_NOTIFY codes
    LPARAM initParam = 0;
    HWND window = nullptr;
    std::string textAtInit;  // of the first edit field, when WM_INITDIALOG came
    bool answerCancel = false;
    int refusals = 0;  // CDN_FILEOK answers still to refuse
    std::string folderAtInitDone;
};
HookLog hooked;

UINT_PTR findHook(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    hooked.messages.push_back(msg);
    if (msg == WM_INITDIALOG) {
        hooked.initParam = lp;
        hooked.window = h;
        hooked.textAtInit = robot::windowText(GetDlgItem(h, edt1));
        // The dialog's extra word is the hook's to use.
        SetWindowLongPtrA(h, DWLP_USER, 77);
        // Focus put elsewhere and FALSE answered: the dialog leaves it there.
        SetFocus(GetDlgItem(h, chx2));
        return FALSE;
    }
    if (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL) {
        SetFocus(reinterpret_cast<FINDREPLACEA*>(hooked.initParam)->hwndOwner);
        return hooked.answerCancel ? TRUE : FALSE;
    }
    return FALSE;
}

std::vector<FINDREPLACEA> reports;
UINT findMessage = 0, helpMessage = 0;
std::vector<LPARAM> helpRequests;

LRESULT ownerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (findMessage && msg == findMessage) reports.push_back(*reinterpret_cast<FINDREPLACEA*>(lp));
    if (helpMessage && msg == helpMessage) helpRequests.push_back(lp);
    return DefWindowProcA(h, msg, wp, lp);
}

class CommonDialogHooksTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        startFolder = fs::current_path();
        win::testing::resetMessageBoxes();
        hooked = HookLog{};
        reports.clear();
        findMessage = RegisterWindowMessageA(FINDMSGSTRINGA);
        helpMessage = RegisterWindowMessageA(HELPMSGSTRINGA);
        helpRequests.clear();
        WNDCLASSA wc;
        wc.lpfnWndProc = ownerProc;
        wc.lpszClassName = "HOOKOWNER";
        ASSERT_TRUE(RegisterClassA(&wc));
        owner = CreateWindowExA(0, "HOOKOWNER", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                600, 400, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        for (HGLOBAL g : blocks)
            GlobalFree(g);
        // The file dialog makes the chosen file's folder the current one.
        fs::current_path(startFolder);
        win::testing::resetMessageBoxes();
        WindowTest::TearDown();
    }
    // A template in global memory, as callers pass with ..._ENABLETEMPLATEHANDLE.
    HGLOBAL templateBlock(const dialogs::DialogTemplate& t) {
        const std::vector<BYTE> bytes = dialogs::buildTemplate(t);
        HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(g), bytes.data(), bytes.size());
        GlobalUnlock(g);
        blocks.push_back(g);
        return g;
    }
    void pumpWhile(HWND dialog) {
        MSG m;
        while (robot::playing() || PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
                robot::step();
                continue;
            }
            if (!IsWindow(dialog) || !IsDialogMessageA(dialog, &m)) {
                TranslateMessage(&m);
                DispatchMessageA(&m);
            }
        }
    }
    HWND owner = nullptr;
    std::vector<HGLOBAL> blocks;
    fs::path startFolder;
};

dialogs::TemplateItem control(const char* cls, const char* text, int id, DWORD style, int x, int y,
                              int cx, int cy) {
    dialogs::TemplateItem it;
    it.className = cls;
    it.text = text;
    it.id = id;
    it.style = WS_CHILD | WS_VISIBLE | style;
    it.x = x;
    it.y = y;
    it.cx = cx;
    it.cy = cy;
    return it;
}

HWND activeDialog() {
    return GetActiveWindow();
}

RECT rectInParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST_F(CommonDialogHooksTest, FindHookHearsTheStartFirstAndItsAnswerDecidesWhetherCancelCloses) {
    for (const bool answerCancel : {false, true}) {
        SCOPED_TRACE(answerCancel);
        hooked = HookLog{};
        hooked.answerCancel = answerCancel;
        reports.clear();
        char what[64] = "needle";
        FINDREPLACEA fr;
        fr.hwndOwner = owner;
        fr.lpstrFindWhat = what;
        fr.wFindWhatLen = sizeof what;
        fr.Flags = FR_DOWN | FR_ENABLEHOOK;
        fr.lpfnHook = findHook;
        HWND dlg = FindTextA(&fr);
        ASSERT_TRUE(dlg);
        EXPECT_EQ(hooked.initParam, reinterpret_cast<LPARAM>(&fr));
        EXPECT_EQ(hooked.window, dlg);
        EXPECT_EQ(hooked.textAtInit, "needle");  // our own start ran before the hook's
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, chx2));
        robot::Script s;
        s.clickOn([=] { return GetDlgItem(dlg, IDOK); });
        s.clickOn([=] { return GetDlgItem(dlg, IDCANCEL); });
        robot::play(std::move(s));
        pumpWhile(dlg);
        // The hook heard the clicks before the dialog acted on them.
        EXPECT_NE(std::find(hooked.messages.begin(), hooked.messages.end(), WM_COMMAND),
                  hooked.messages.end());
        EXPECT_EQ(GetFocus(), owner);
        ASSERT_GE(reports.size(), 1u);
        EXPECT_TRUE(reports[0].Flags & FR_FINDNEXT);
        EXPECT_EQ(IsWindow(dlg) != FALSE, answerCancel);
        EXPECT_EQ(reports.size(), answerCancel ? 1u : 2u);
        if (IsWindow(dlg)) {
            EXPECT_EQ(GetWindowLongPtrA(dlg, DWLP_USER), 77);
            DestroyWindow(dlg);
        }
    }
}

TEST_F(CommonDialogHooksTest, ACallersFindTemplateIsUsedAndMissingPartsAreReported) {
    dialogs::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
    t.hasFont = true;
    t.caption = "Look for";
    t.cx = 200;
    t.cy = 60;
    t.items = {control("Edit", "", edt1, WS_BORDER | WS_TABSTOP, 5, 5, 120, 12),
               control("Static", "Searches the profiles too", 0x500, SS_LEFT, 5, 24, 120, 9),
               control("Button", "Go", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 140, 5, 50, 14),
               control("Button", "Close", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 140, 24, 50, 14)};
    char what[32] = "x";
    FINDREPLACEA fr;
    fr.hwndOwner = owner;
    fr.lpstrFindWhat = what;
    fr.wFindWhatLen = sizeof what;
    fr.Flags = FR_ENABLETEMPLATEHANDLE;
    fr.hInstance = reinterpret_cast<HINSTANCE>(templateBlock(t));
    HWND dlg = FindTextA(&fr);
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(robot::windowText(dlg), "Look for");
    EXPECT_EQ(robot::windowText(GetDlgItem(dlg, 0x500)), "Searches the profiles too");
    EXPECT_FALSE(GetDlgItem(dlg, kMatchCaseCheck));
    SetDlgItemTextA(dlg, edt1, "fault");
    SendMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_STREQ(what, "fault");
    DestroyWindow(dlg);

    struct Case {
        DWORD flags;
        LPCSTR name;
        WORD length;
        DWORD error;
    };
    const Case cases[] = {
        {FR_ENABLEHOOK, nullptr, 32, CDERR_NOHOOK},  // a hook flag without a hook
        {FR_ENABLETEMPLATE, "NO_SUCH_DIALOG", 32, CDERR_FINDRESFAILURE},
        {FR_ENABLETEMPLATE, nullptr, 32, CDERR_NOTEMPLATE},
        {0, nullptr, 0, FRERR_BUFFERLENGTHZERO},
    };
    for (const Case& c : cases) {
        fr.Flags = c.flags;
        fr.hInstance = nullptr;
        fr.lpTemplateName = c.name;
        fr.wFindWhatLen = c.length;
        EXPECT_FALSE(FindTextA(&fr)) << c.flags;
        EXPECT_EQ(CommDlgExtendedError(), c.error) << c.flags;
    }
}

namespace {
LOGFONTA fontAtInit;
UINT_PTR fontHook(HWND h, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_INITDIALOG) return FALSE;
    hooked.initParam = lp;
    // The hook lets the underline be kept but not given.
    const auto* cf = reinterpret_cast<const CHOOSEFONTA*>(lp);
    EnableWindow(GetDlgItem(h, chx2), cf->lpLogFont->lfUnderline ? TRUE : FALSE);
    SendMessageA(h, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&fontAtInit));
    return TRUE;
}
}  // namespace

TEST_F(CommonDialogHooksTest, FontHookDisablesTheUnderlineBoxAndReadsTheFontShown) {
    LOGFONTA lf{};
    std::strcpy(lf.lfFaceName, "Courier New");
    lf.lfHeight = -16;
    CHOOSEFONTA cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_ENABLEHOOK | CF_NOSIZESEL;
    cf.lpfnHook = fontHook;
    cf.rgbColors = RGB(0, 0, 128);
    robot::Script s;
    s.check([&] {
        HWND d = activeDialog();
        EXPECT_EQ(hooked.initParam, reinterpret_cast<LPARAM>(&cf));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, kUnderlineCheck)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, kStrikeoutCheck)));
        EXPECT_STREQ(fontAtInit.lfFaceName, "Courier New");
        // The size was left without a choice, as asked.
        EXPECT_EQ(robot::windowText(GetDlgItem(d, kFontSizeList)), "");
        EXPECT_EQ(robot::windowText(GetDlgItem(d, kFontColourCombo)), "Navy");
        ASSERT_TRUE(robot::saveWindowPng(d, screenshotPath("font_dialog_hooked")));
        SendDlgItemMessageA(d, kFontColourCombo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>("Red"));
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), kUnderlineCheck); });  // disabled
    s.clickOn([] { return GetDlgItem(activeDialog(), kStrikeoutCheck); });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(s));
    ASSERT_TRUE(ChooseFontA(&cf));
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfStrikeOut, 1);
    EXPECT_STREQ(lf.lfFaceName, "Courier New");
    EXPECT_EQ(cf.rgbColors, RGB(255, 0, 0));
    // No size was chosen: none is returned and the flag stays.
    EXPECT_EQ(cf.iPointSize, 0);
    EXPECT_EQ(lf.lfHeight, 0);
    EXPECT_TRUE(cf.Flags & CF_NOSIZESEL);
}

namespace {
UINT_PTR colourHook(HWND h, UINT msg, WPARAM, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        hooked.initParam = lp;
        SetDlgItemInt(h, COLOR_RED, 10, FALSE);
        return TRUE;
    }
    return FALSE;
}
UINT_PTR pageSetupHook(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        hooked.initParam = lp;
        EnableWindow(GetDlgItem(h, rad2), FALSE);
        return TRUE;
    }
    // The hook takes OK over: the margins typed are not read.
    if (msg == WM_COMMAND && LOWORD(wp) == IDOK) {
        EndDialog(h, IDOK);
        return TRUE;
    }
    return FALSE;
}
}  // namespace

TEST_F(CommonDialogHooksTest, ColourAndPageSetupHooksWorkOnTheStandardControls) {
    CHOOSECOLORA cc;
    cc.hwndOwner = owner;
    cc.rgbResult = RGB(1, 2, 3);
    cc.Flags = CC_RGBINIT | CC_ENABLEHOOK;
    cc.lpfnHook = colourHook;
    robot::Script s;
    s.check([&] { EXPECT_EQ(hooked.initParam, reinterpret_cast<LPARAM>(&cc)); });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(s));
    ASSERT_TRUE(ChooseColorA(&cc));
    EXPECT_EQ(cc.rgbResult, RGB(10, 2, 3));

    hooked = HookLog{};
    PAGESETUPDLGA psd;
    psd.hwndOwner = owner;
    psd.Flags = PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS | PSD_ENABLEPAGESETUPHOOK;
    psd.rtMargin = {1000, 1000, 1000, 1000};
    psd.lpfnPageSetupHook = pageSetupHook;
    robot::Script p;
    p.check([&] {
        EXPECT_EQ(hooked.initParam, reinterpret_cast<LPARAM>(&psd));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(activeDialog(), kLandscapeRadio)));
        SetDlgItemTextA(activeDialog(), kMarginLeft, "not a number");
    });
    p.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(p));
    ASSERT_TRUE(PageSetupDlgA(&psd));
    EXPECT_TRUE(win::testing::messageBoxes().empty());
    EXPECT_EQ(psd.rtMargin.left, 1000);
    GlobalFree(psd.hDevMode);
    GlobalFree(psd.hDevNames);
}

namespace {
UINT_PTR fileHook(HWND h, UINT msg, WPARAM, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        hooked.initParam = lp;
        hooked.window = h;
        return TRUE;
    }
    if (msg != WM_NOTIFY) return FALSE;
    const auto* n = reinterpret_cast<const OFNOTIFYA*>(lp);
    hooked.notifications.push_back(n->hdr.code);
    if (n->hdr.code == CDN_INITDONE) {
        char folder[512] = {};
        SendMessageA(GetParent(h), CDM_GETFOLDERPATH, sizeof folder,
                     reinterpret_cast<LPARAM>(folder));
        hooked.folderAtInitDone = folder;
        SendMessageA(GetParent(h), CDM_SETCONTROLTEXT, IDOK, reinterpret_cast<LPARAM>("Load"));
    }
    if (n->hdr.code == CDN_FILEOK && hooked.refusals > 0) {
        // The first refusal as documented; the second forgets to answer TRUE.
        SetWindowLongPtrA(h, DWLP_MSGRESULT, 1);
        return hooked.refusals-- == 2 ? TRUE : FALSE;
    }
    return FALSE;
}

int countCode(UINT code) {
    return static_cast<int>(
        std::count(hooked.notifications.begin(), hooked.notifications.end(), code));
}
}  // namespace

TEST_F(CommonDialogHooksTest, ExplorerHookLivesInAChildDialogAndCanRefuseTheFile) {
    const fs::path folder =
        fs::temp_directory_path() / ("pelk_file_hook_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "a.tqm") << "x";
    std::ofstream(folder / "b.tqm") << "y";
    const std::string initial = folder.string();
    dialogs::DialogTemplate t;
    t.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    t.hasFont = true;
    t.cx = 200;
    t.cy = 20;
    t.items = {
        control("Button", "&Keep the grid", 0x600, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 4, 120, 12)};
    char buffer[512] = {};
    OPENFILENAMEA ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "Models\0*.tqm\0All\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.lpstrInitialDir = initial.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE | OFN_HIDEREADONLY;
    ofn.lpfnHook = fileHook;
    ofn.hInstance = reinterpret_cast<HINSTANCE>(templateBlock(t));
    hooked.refusals = 2;
    robot::Script s;
    s.check([&] {
        HWND d = activeDialog();
        EXPECT_EQ(hooked.initParam, reinterpret_cast<LPARAM>(&ofn));
        ASSERT_TRUE(hooked.window);
        EXPECT_EQ(GetParent(hooked.window), d);
        EXPECT_EQ(GetDlgCtrlID(hooked.window), 0);
        EXPECT_EQ(hooked.folderAtInitDone, initial);
        EXPECT_EQ(robot::windowText(GetDlgItem(d, IDOK)), "Load");
        EXPECT_EQ(countCode(CDN_INITDONE), 1);
        EXPECT_EQ(countCode(CDN_FOLDERCHANGE), 1);
        // The caller's control shows below the standard ones, inside the dialog.
        HWND extra = GetDlgItem(hooked.window, 0x600);
        ASSERT_TRUE(extra);
        EXPECT_TRUE(IsWindowVisible(extra));
        const RECT e = robot::screenRect(extra), dr = robot::screenRect(d);
        EXPECT_GE(e.top, robot::screenRect(GetDlgItem(d, kFilterCombo)).bottom);
        EXPECT_LE(e.bottom, dr.bottom);
        ASSERT_TRUE(robot::saveWindowPng(d, screenshotPath("file_dialog_with_template")));
        SendDlgItemMessageA(d, kFilterCombo, CB_SETCURSEL, 1, 0);
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(kFilterCombo, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, kFilterCombo)));
        EXPECT_EQ(countCode(CDN_TYPECHANGE), 1);
        EXPECT_EQ(ofn.nFilterIndex, 2u);
    });
    s.clickOn([] { return GetDlgItem(hooked.window, 0x600); });
    s.check([] { EXPECT_EQ(IsDlgButtonChecked(hooked.window, 0x600), BST_CHECKED); });
    clickAt(s, [] { return listItemCentre(GetDlgItem(activeDialog(), kFileList), 1); });
    s.check([&] {
        EXPECT_EQ(countCode(CDN_SELCHANGE), 1);
        EXPECT_EQ(robot::windowText(GetDlgItem(activeDialog(), kFileNameEdit)), "b.tqm");
    });
    s.key(VK_RETURN);
    s.check([&] {
        // Refused: the dialog stays, the name was already written for the hook.
        EXPECT_EQ(countCode(CDN_FILEOK), 1);
        EXPECT_TRUE(activeDialog());
        EXPECT_EQ(std::string(buffer), (folder / "b.tqm").string());
    });
    s.key(VK_RETURN);
    s.check([] {
        EXPECT_EQ(countCode(CDN_FILEOK), 2);
        EXPECT_TRUE(activeDialog());
    });
    s.key(VK_RETURN);
    robot::play(std::move(s));
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(countCode(CDN_FILEOK), 3);
    EXPECT_EQ(std::string(buffer), (folder / "b.tqm").string());
    fs::remove_all(folder);
}

TEST_F(CommonDialogHooksTest, AnStc32ControlPlacesTheStandardControlsInsideTheCallersTemplate) {
    dialogs::DialogTemplate t;
    t.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    t.hasFont = true;
    t.cx = 80;
    t.cy = 30;
    // A preview column to the left, the standard controls right of it, a note below.
    t.items = {control("Static", "Preview", 0x601, SS_LEFT, 4, 2, 60, 9),
               control("Static", "", stc32, SS_LEFT, 70, 0, 4, 12),
               control("Static", "Note", 0x602, SS_LEFT, 4, 14, 60, 9)};
    char buffer[256] = {};
    OPENFILENAMEA ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.Flags = OFN_EXPLORER | OFN_ENABLETEMPLATEHANDLE | OFN_HIDEREADONLY;
    ofn.hInstance = reinterpret_cast<HINSTANCE>(templateBlock(t));
    robot::Script s;
    s.check([&] {
        HWND d = activeDialog();
        HWND child = nullptr;
        for (HWND w = GetWindow(d, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            if (GetDlgItem(w, 0x601)) child = w;
        ASSERT_TRUE(child);
        const RECT preview = robot::screenRect(GetDlgItem(child, 0x601));
        const RECT marker = robot::screenRect(GetDlgItem(child, stc32));
        const RECT name = robot::screenRect(GetDlgItem(d, kFileNameEdit));
        const RECT cancel = robot::screenRect(GetDlgItem(d, IDCANCEL));
        const RECT note = robot::screenRect(GetDlgItem(child, 0x602));
        EXPECT_GT(name.left, preview.right);
        EXPECT_LT(preview.bottom, name.top);  // beside the marker: left where it was
        EXPECT_GE(name.left, marker.left);
        EXPECT_LE(cancel.right, robot::screenRect(d).right);
        // Below the marker: moved down past the standard controls.
        EXPECT_GT(note.top, robot::screenRect(GetDlgItem(d, kFilterCombo)).top);
        ASSERT_TRUE(robot::saveWindowPng(d, screenshotPath("file_dialog_with_stc32")));
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDCANCEL); });
    robot::play(std::move(s));
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

namespace {
std::vector<std::pair<UINT, std::string>> browseHeard;
int lockingCallback(HWND h, UINT msg, LPARAM lp, LPARAM) {
    std::string path;
    if (msg == BFFM_SELCHANGED) {
        char buf[260] = {};
        SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lp), buf);
        path = buf;
        // A folder named "locked" cannot be chosen.
        SendMessageA(h, BFFM_ENABLEOK, 0, fs::path(path).filename() == "locked" ? 0 : 1);
    }
    browseHeard.emplace_back(msg, path);
    return 0;
}
}  // namespace

TEST_F(CommonDialogHooksTest, FolderCallbackHearsTheStartAndEveryChoiceAndControlsOk) {
    const fs::path root =
        fs::temp_directory_path() / ("pelk_browse_cb_" + std::to_string(::getpid()));
    fs::create_directories(root / "locked");
    fs::create_directories(root / "open");
    fs::current_path(root);
    browseHeard.clear();
    BROWSEINFOA bi;
    bi.hwndOwner = owner;
    bi.lpfn = lockingCallback;
    robot::Script s;
    s.check([&] {
        ASSERT_GE(browseHeard.size(), 2u);
        EXPECT_EQ(browseHeard[0].first, BFFM_INITIALIZED);
        EXPECT_EQ(browseHeard[1].first, BFFM_SELCHANGED);
        EXPECT_EQ(browseHeard[1].second, root.string());
    });
    clickAt(s, [] { return listItemCentre(GetDlgItem(activeDialog(), kBrowseFolders), 1); });
    s.check([&] {
        EXPECT_EQ(browseHeard.back().second, (root / "locked").string());
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(activeDialog(), IDOK)));
    });
    clickAt(s, [] { return listItemCentre(GetDlgItem(activeDialog(), kBrowseFolders), 2); });
    s.check([] { EXPECT_TRUE(IsWindowEnabled(GetDlgItem(activeDialog(), IDOK))); });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(s));
    LPITEMIDLIST chosen = SHBrowseForFolderA(&bi);
    ASSERT_TRUE(chosen);
    char path[260];
    ASSERT_TRUE(SHGetPathFromIDListA(chosen, path));
    EXPECT_EQ(std::string(path), (root / "open").string());
    CoTaskMemFree(chosen);
    fs::remove_all(root);
}

namespace {
UINT_PTR oldStyleHook(HWND h, UINT msg, WPARAM, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        hooked.initParam = lp;
        hooked.window = h;
        return TRUE;
    }
    if (msg == RegisterWindowMessageA("commdlg_FileNameOK")) {
        hooked.messages.push_back(msg);
        return hooked.refusals-- > 0 ? 1 : 0;
    }
    return FALSE;
}
}  // namespace

TEST_F(CommonDialogHooksTest, OldStyleHookHearsOurDialogAndCanRefuseTheName) {
    const fs::path folder =
        fs::temp_directory_path() / ("pelk_file_oldhook_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string initial = folder.string();
    char buffer[256] = "plan.tqm";
    OPENFILENAMEA ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.lpstrInitialDir = initial.c_str();
    ofn.Flags = OFN_ENABLEHOOK | OFN_HIDEREADONLY;
    ofn.lpfnHook = oldStyleHook;
    hooked.refusals = 1;
    robot::Script s;
    s.check([&] {
        EXPECT_EQ(hooked.initParam, reinterpret_cast<LPARAM>(&ofn));
        EXPECT_EQ(hooked.window, activeDialog());  // no child dialog in the old style
    });
    s.key(VK_RETURN);
    s.check([] {
        EXPECT_EQ(hooked.messages.size(), 1u);
        EXPECT_TRUE(GetDlgItem(activeDialog(), kFileNameEdit));
    });
    s.key(VK_RETURN);
    robot::play(std::move(s));
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(hooked.messages.size(), 2u);
    EXPECT_EQ(std::string(buffer), (folder / "plan.tqm").string());
    fs::remove_all(folder);
}

#ifdef PELK_HAS_TEST_RESOURCES
TEST_F(CommonDialogHooksTest, ANamedColourTemplateReplacesOursAndKeepsWorking) {
    CHOOSECOLORA cc;
    cc.hwndOwner = owner;
    cc.rgbResult = RGB(200, 100, 50);
    cc.Flags = CC_RGBINIT | CC_ENABLETEMPLATE;
    cc.lpTemplateName = "CUSTOMCOLOR";
    robot::Script s;
    s.check([] {
        HWND d = activeDialog();
        EXPECT_EQ(robot::windowText(d), "Profile colour");
        EXPECT_EQ(robot::windowText(GetDlgItem(d, 0x700)), "Colour of the computed curve");
        EXPECT_FALSE(GetDlgItem(d, COLOR_BOX1));  // no swatches in this one
        EXPECT_EQ(GetDlgItemInt(d, COLOR_GREEN, nullptr, FALSE), 100u);
        SetDlgItemInt(d, COLOR_BLUE, 255, FALSE);
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(s));
    ASSERT_TRUE(ChooseColorA(&cc));
    EXPECT_EQ(cc.rgbResult, RGB(200, 100, 255));
}
#endif

namespace {
// A callback that works as a program's folder chooser does: the heading
// makes way for a field with the folder's path, and the dialog is subclassed
// so that OK takes the typed path, refusing one that does not exist.
WNDPROC browserProc = nullptr;
std::string typedFolder;
int okPresses = 0;
LRESULT subclassedBrowser(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && LOWORD(wp) == IDOK) {
        ++okPresses;
        char text[260] = {};
        GetDlgItemTextA(h, 0x7001, text, sizeof text);
        if (!fs::is_directory(text)) return 0;  // stays open
        typedFolder = text;
    }
    return CallWindowProcA(browserProc, h, msg, wp, lp);
}
int fieldCallback(HWND h, UINT msg, LPARAM lp, LPARAM) {
    if (msg == BFFM_INITIALIZED) {
        HWND heading = GetWindow(h, GW_CHILD);
        ShowWindow(heading, SW_HIDE);
        RECT r = rectInParent(heading);
        CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                        r.left, r.top, r.right - r.left, 20, h,
                        reinterpret_cast<HMENU>(std::uintptr_t{0x7001}), nullptr, nullptr);
        browserProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassedBrowser)));
    } else if (msg == BFFM_SELCHANGED) {
        char path[260] = {};
        SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lp), path);
        SetDlgItemTextA(h, 0x7001, path);
    }
    return 0;
}
}  // namespace

TEST_F(CommonDialogHooksTest, AFolderCallbackCanReplaceTheHeadingAndSubclassTheDialog) {
    const fs::path root =
        fs::temp_directory_path() / ("pelk_browse_sub_" + std::to_string(::getpid()));
    fs::create_directories(root / "data");
    fs::current_path(root);
    typedFolder.clear();
    okPresses = 0;
    BROWSEINFOA bi;
    bi.hwndOwner = owner;
    bi.lpszTitle = "Choose the data folder";
    bi.lpfn = fieldCallback;
    robot::Script s;
    s.check([&] {
        HWND d = activeDialog();
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, kBrowseHeading)));
        EXPECT_EQ(robot::windowText(GetDlgItem(d, 0x7001)), root.string());
        SetDlgItemTextA(d, 0x7001, (root / "missing").string().c_str());
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    s.check([&] {
        EXPECT_EQ(okPresses, 1);
        ASSERT_TRUE(activeDialog());
        SetDlgItemTextA(activeDialog(), 0x7001, (root / "data").string().c_str());
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(s));
    LPITEMIDLIST chosen = SHBrowseForFolderA(&bi);
    ASSERT_TRUE(chosen);
    CoTaskMemFree(chosen);
    EXPECT_EQ(okPresses, 2);
    EXPECT_EQ(typedFolder, (root / "data").string());
    fs::remove_all(root);
}

namespace {
struct PaintLog {
    LPARAM setupParam = 0;
    WORD orientation = 0;
    RECT page{}, text{};
    int paints = 0;
};
PaintLog painted;
// Draws the text area itself, in red; leaves the rest to the dialog.
UINT_PTR pagePaintHook(HWND, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PSD_PAGESETUPDLG) {
        ++painted.paints;
        painted.setupParam = lp;
        painted.orientation = HIWORD(wp);
    } else if (msg == WM_PSD_FULLPAGERECT) {
        painted.page = *reinterpret_cast<const RECT*>(lp);
    } else if (msg == WM_PSD_GREEKTEXTRECT) {
        painted.text = *reinterpret_cast<const RECT*>(lp);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(reinterpret_cast<HDC>(wp), &painted.text, red);
        DeleteObject(red);
        return TRUE;
    }
    return FALSE;
}
}  // namespace

TEST_F(CommonDialogHooksTest, ThePagePaintHookHearsTheSamplePageAndMayDrawParts) {
    painted = PaintLog{};
    PAGESETUPDLGA psd;
    psd.hwndOwner = owner;
    psd.Flags = PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS | PSD_ENABLEPAGEPAINTHOOK;
    psd.rtMargin = {2000, 2000, 2000, 2000};
    psd.lpfnPagePaintHook = pagePaintHook;
    robot::Script s;
    s.check([&] {
        ASSERT_GE(painted.paints, 1);
        EXPECT_EQ(painted.setupParam, reinterpret_cast<LPARAM>(&psd));
        EXPECT_EQ(painted.orientation, 0x0007);  // portrait
        const RECT& p = painted.page;
        EXPECT_GT(p.bottom - p.top, p.right - p.left);
        // The margins, to scale, put the text area inside the page.
        EXPECT_GT(painted.text.left, p.left);
        EXPECT_LT(painted.text.bottom, p.bottom);
        HWND sample = GetDlgItem(activeDialog(), kPageSample);
        ASSERT_TRUE(sample);
        POINT mid{(painted.text.left + painted.text.right) / 2,
                  (painted.text.top + painted.text.bottom) / 2};
        ClientToScreen(sample, &mid);
        EXPECT_EQ(robot::screen().at(mid.x, mid.y) & 0xFFFFFF, 0xFF0000u);
        ASSERT_TRUE(robot::saveWindowPng(activeDialog(), screenshotPath("page_setup_sample")));
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), kLandscapeRadio); });
    s.check([&] {
        EXPECT_EQ(painted.orientation, 0x0003);
        EXPECT_GT(painted.page.right - painted.page.left, painted.page.bottom - painted.page.top);
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDCANCEL); });
    robot::play(std::move(s));
    EXPECT_FALSE(PageSetupDlgA(&psd));
}

namespace {
struct Asked {
    std::string spec, path;
    LRESULT needed = 0;
};
Asked asked;
UINT_PTR askingHook(HWND h, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_NOTIFY) return FALSE;
    HWND dialog = GetParent(h);
    const UINT code = reinterpret_cast<const OFNOTIFYA*>(lp)->hdr.code;
    if (code == CDN_INITDONE) {
        SendMessageA(dialog, CDM_HIDECONTROL, kFileTypeLabel, 0);
        SendMessageA(dialog, CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>("dat"));
    } else if (code == CDN_FILEOK) {
        char spec[64] = {}, path[512] = {}, tiny[4] = {};
        SendMessageA(dialog, CDM_GETSPEC, sizeof spec, reinterpret_cast<LPARAM>(spec));
        SendMessageA(dialog, CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path));
        asked.needed =
            SendMessageA(dialog, CDM_GETSPEC, sizeof tiny, reinterpret_cast<LPARAM>(tiny));
        asked.spec = spec;
        asked.path = path;
    }
    return FALSE;
}
}  // namespace

TEST_F(CommonDialogHooksTest, AnExplorerHookAsksForTheNamesAndChangesTheDialog) {
    const fs::path folder =
        fs::temp_directory_path() / ("pelk_file_ask_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string initial = folder.string();
    asked = Asked{};
    char buffer[512] = {};
    OPENFILENAMEA ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.lpstrInitialDir = initial.c_str();
    ofn.lpstrDefExt = "tqm";
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
    ofn.lpfnHook = askingHook;
    robot::Script s;
    s.check([] { EXPECT_FALSE(IsWindowVisible(GetDlgItem(activeDialog(), kFileTypeLabel))); });
    s.text("survey7");
    s.key(VK_RETURN);
    robot::play(std::move(s));
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(asked.spec, "survey7");
    EXPECT_EQ(asked.path, (folder / "survey7").string());
    EXPECT_EQ(asked.needed, 8);  // "survey7" and its terminator
    // The hook's default extension took the place of the caller's.
    EXPECT_EQ(std::string(buffer), (folder / "survey7.dat").string());
    fs::remove_all(folder);
}

TEST_F(CommonDialogHooksTest, TheHelpButtonAsksTheOwnerWithTheCallersStructure) {
    // Each modal dialog with its help flag: Help, then Cancel.
    CHOOSECOLORA cc;
    cc.hwndOwner = owner;
    cc.Flags = CC_SHOWHELP;
    LOGFONTA lf{};
    CHOOSEFONTA cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_SHOWHELP;
    PAGESETUPDLGA psd;
    psd.hwndOwner = owner;
    psd.Flags = PSD_SHOWHELP;
    char name[256] = {};
    OPENFILENAMEA ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof name;
    ofn.Flags = OFN_SHOWHELP | OFN_HIDEREADONLY;
    struct Case {
        const char* name;
        const void* request;
        std::function<BOOL()> run;
    };
    const Case cases[] = {
        {"colour", &cc, [&] { return ChooseColorA(&cc); }},
        {"font", &cf, [&] { return ChooseFontA(&cf); }},
        {"page set-up", &psd, [&] { return PageSetupDlgA(&psd); }},
        {"file", &ofn, [&] { return GetOpenFileNameA(&ofn); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        helpRequests.clear();
        robot::Script s;
        s.clickOn([] { return GetDlgItem(activeDialog(), pshHelp); });
        s.clickOn([] { return GetDlgItem(activeDialog(), IDCANCEL); });
        robot::play(std::move(s));
        EXPECT_FALSE(c.run());
        ASSERT_EQ(helpRequests.size(), 1u);
        EXPECT_EQ(helpRequests[0], reinterpret_cast<LPARAM>(c.request));
    }
    // The modeless find dialog too.
    helpRequests.clear();
    char what[16] = "a";
    FINDREPLACEA fr;
    fr.hwndOwner = owner;
    fr.lpstrFindWhat = what;
    fr.wFindWhatLen = sizeof what;
    fr.Flags = FR_SHOWHELP;
    HWND find = FindTextA(&fr);
    ASSERT_TRUE(find);
    SendMessageA(GetDlgItem(find, pshHelp), BM_CLICK, 0, 0);
    ASSERT_EQ(helpRequests.size(), 1u);
    EXPECT_EQ(helpRequests[0], reinterpret_cast<LPARAM>(&fr));
    DestroyWindow(find);
    // Without the flag there is no Help button.
    cc.Flags = 0;
    robot::Script s;
    s.check([] { EXPECT_FALSE(GetDlgItem(activeDialog(), pshHelp)); });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDCANCEL); });
    robot::play(std::move(s));
    EXPECT_FALSE(ChooseColorA(&cc));
}

namespace {
std::vector<std::string> refusedNames;
int keepOpen = 0;  // BFFM_VALIDATEFAILEDA answers still to give "keep open"
int validatingCallback(HWND, UINT msg, LPARAM lp, LPARAM) {
    if (msg == BFFM_VALIDATEFAILEDA) {
        refusedNames.push_back(reinterpret_cast<const char*>(lp));
        return keepOpen-- > 0 ? 1 : 0;
    }
    return 0;
}
}  // namespace

TEST_F(CommonDialogHooksTest, ATypedFolderNameIsTakenOrJudgedByTheCallback) {
    const fs::path root =
        fs::temp_directory_path() / ("pelk_browse_edit_" + std::to_string(::getpid()));
    fs::create_directories(root / "alpha");
    fs::create_directories(root / "beta");
    fs::current_path(root);
    refusedNames.clear();
    keepOpen = 1;
    BROWSEINFOA bi;
    bi.hwndOwner = owner;
    bi.ulFlags = BIF_EDITBOX | BIF_VALIDATE;
    bi.lpfn = validatingCallback;
    robot::Script s;
    clickAt(s, [] { return listItemCentre(GetDlgItem(activeDialog(), kBrowseFolders), 1); });
    s.check([] {
        EXPECT_EQ(robot::windowText(GetDlgItem(activeDialog(), kBrowseEdit)), "alpha");
        SetDlgItemTextA(activeDialog(), kBrowseEdit, "gamma");
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    s.check([] {
        ASSERT_EQ(refusedNames.size(), 1u);
        EXPECT_EQ(refusedNames[0], "gamma");
        ASSERT_TRUE(GetDlgItem(activeDialog(), kBrowseEdit));  // kept open
        SetDlgItemTextA(activeDialog(), kBrowseEdit, "beta");
    });
    s.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(s));
    LPITEMIDLIST chosen = SHBrowseForFolderA(&bi);
    ASSERT_TRUE(chosen);
    char path[260];
    ASSERT_TRUE(SHGetPathFromIDListA(chosen, path));
    EXPECT_EQ(std::string(path), (root / "beta").string());
    CoTaskMemFree(chosen);
    // The callback's zero ends the dialog without a folder.
    robot::Script again;
    again.check([] { SetDlgItemTextA(activeDialog(), kBrowseEdit, "delta"); });
    again.clickOn([] { return GetDlgItem(activeDialog(), IDOK); });
    robot::play(std::move(again));
    EXPECT_FALSE(SHBrowseForFolderA(&bi));
    EXPECT_EQ(refusedNames.back(), "delta");
    fs::remove_all(root);
}
