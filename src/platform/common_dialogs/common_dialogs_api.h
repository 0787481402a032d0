#pragma once
// The common dialogs the layer draws itself: opening and saving files.

#include "platform/common_dialogs/common_dialog_ids.h"
#include "platform/controls/common_controls_api.h"
#include "platform/win_types.h"
#include "platform/window/user_api.h"

namespace win {

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
    DWORD lStructSize = sizeof(OPENFILENAMEA);
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    LPCSTR lpstrFilter = nullptr;
    LPSTR lpstrCustomFilter = nullptr;
    DWORD nMaxCustFilter = 0;
    DWORD nFilterIndex = 0;
    LPSTR lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    LPSTR lpstrFileTitle = nullptr;
    DWORD nMaxFileTitle = 0;
    LPCSTR lpstrInitialDir = nullptr;
    LPCSTR lpstrTitle = nullptr;
    DWORD Flags = 0;
    WORD nFileOffset = 0;
    WORD nFileExtension = 0;
    LPCSTR lpstrDefExt = nullptr;
    LPARAM lCustData = 0;
    LPOFNHOOKPROC lpfnHook = nullptr;
    LPCSTR lpTemplateName = nullptr;
    void* pvReserved = nullptr;
    DWORD dwReserved = 0;
    DWORD FlagsEx = 0;
};
// The size callers of the older structure pass; accepted as well.
constexpr DWORD OPENFILENAME_SIZE_VERSION_400A = 76;

constexpr DWORD OFN_READONLY = 0x1, OFN_OVERWRITEPROMPT = 0x2, OFN_HIDEREADONLY = 0x4,
                OFN_NOCHANGEDIR = 0x8, OFN_SHOWHELP = 0x10, OFN_ENABLEHOOK = 0x20,
                OFN_ENABLETEMPLATE = 0x40, OFN_ENABLETEMPLATEHANDLE = 0x80, OFN_NOVALIDATE = 0x100,
                OFN_ALLOWMULTISELECT = 0x200, OFN_EXTENSIONDIFFERENT = 0x400,
                OFN_PATHMUSTEXIST = 0x800, OFN_FILEMUSTEXIST = 0x1000, OFN_CREATEPROMPT = 0x2000,
                OFN_NOREADONLYRETURN = 0x8000, OFN_NOTESTFILECREATE = 0x10000,
                OFN_EXPLORER = 0x80000, OFN_NODEREFERENCELINKS = 0x100000, OFN_LONGNAMES = 0x200000,
                OFN_ENABLESIZING = 0x800000;

// The Help button (pshHelp) that the ..._SHOWHELP flags add sends the owner
// this registered message: wParam the dialog, lParam the caller's structure.
inline constexpr const char* HELPMSGSTRINGA = "commdlg_help";

// Extended errors (0 after a plain Cancel).
constexpr DWORD CDERR_STRUCTSIZE = 0x0001, CDERR_INITIALIZATION = 0x0002, CDERR_NOTEMPLATE = 0x0003,
                CDERR_NOHINSTANCE = 0x0004, CDERR_FINDRESFAILURE = 0x0006,
                CDERR_LOADRESFAILURE = 0x0007, CDERR_NOHOOK = 0x000B, CDERR_DIALOGFAILURE = 0xFFFF,
                FNERR_SUBCLASSFAILURE = 0x3001, FNERR_INVALIDFILENAME = 0x3002,
                FNERR_BUFFERTOOSMALL = 0x3003;

// Control identifiers of the file dialog.
constexpr int kFileNameEdit = edt1;  // the name field
constexpr int kFileList = lst1;
constexpr int kFolderList = lst2;
constexpr int kFolderText = stc1;
constexpr int kFilterCombo = cmb1;
constexpr int kReadOnlyCheck = chx1;
constexpr int kFileTypeLabel = stc2, kFileNameLabel = stc3;

// The Explorer-style hook is the procedure of a child dialog inside ours
// (made from the caller's template, or empty). It hears WM_NOTIFY with these
// codes, the structure below in lParam, from the file dialog (hdr.hwndFrom).
struct OFNOTIFYA {
    NMHDR hdr;
    OPENFILENAMEA* lpOFN = nullptr;
    LPSTR pszFile = nullptr;
};
constexpr UINT CDN_FIRST = static_cast<UINT>(-601);
constexpr UINT CDN_INITDONE = CDN_FIRST, CDN_SELCHANGE = CDN_FIRST - 1,
               CDN_FOLDERCHANGE = CDN_FIRST - 2, CDN_SHAREVIOLATION = CDN_FIRST - 3,
               CDN_HELP = CDN_FIRST - 4, CDN_FILEOK = CDN_FIRST - 5, CDN_TYPECHANGE = CDN_FIRST - 6;
// What the hook may ask of the file dialog (sent to GetParent(hook's window)).
constexpr UINT CDM_FIRST = WM_USER + 100;
constexpr UINT CDM_GETSPEC = CDM_FIRST, CDM_GETFILEPATH = CDM_FIRST + 1,
               CDM_GETFOLDERPATH = CDM_FIRST + 2, CDM_SETCONTROLTEXT = CDM_FIRST + 4,
               CDM_HIDECONTROL = CDM_FIRST + 5, CDM_SETDEFEXT = CDM_FIRST + 6;

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn);
DWORD CommDlgExtendedError();

}  // namespace win

namespace win {

// Find and Replace: modeless dialogs that report to their owner with the
// registered message FINDMSGSTRINGA, the structure in lParam.
inline constexpr const char* FINDMSGSTRINGA = "commdlg_FindReplace";
using LPFRHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
struct FINDREPLACEA {
    DWORD lStructSize = sizeof(FINDREPLACEA);
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    DWORD Flags = 0;
    LPSTR lpstrFindWhat = nullptr;
    LPSTR lpstrReplaceWith = nullptr;
    WORD wFindWhatLen = 0;
    WORD wReplaceWithLen = 0;
    LPARAM lCustData = 0;
    LPFRHOOKPROC lpfnHook = nullptr;
    LPCSTR lpTemplateName = nullptr;
};
constexpr DWORD FR_DOWN = 0x1, FR_WHOLEWORD = 0x2, FR_MATCHCASE = 0x4, FR_FINDNEXT = 0x8,
                FR_REPLACE = 0x10, FR_REPLACEALL = 0x20, FR_DIALOGTERM = 0x40, FR_SHOWHELP = 0x80,
                FR_ENABLEHOOK = 0x100, FR_ENABLETEMPLATE = 0x200, FR_NOUPDOWN = 0x400,
                FR_NOMATCHCASE = 0x800, FR_NOWHOLEWORD = 0x1000, FR_ENABLETEMPLATEHANDLE = 0x2000,
                FR_HIDEUPDOWN = 0x4000, FR_HIDEMATCHCASE = 0x8000, FR_HIDEWHOLEWORD = 0x10000;
constexpr int kFindWhatEdit = edt1, kReplaceWithEdit = edt2, kWholeWordCheck = chx1,
              kMatchCaseCheck = chx2, kUpRadio = rad1, kDownRadio = rad2, kReplaceButton = psh1,
              kReplaceAllButton = psh2, kDirectionGroup = grp1;
// A find or replace buffer of no length.
constexpr DWORD FRERR_BUFFERLENGTHZERO = 0x4001;
HWND FindTextA(FINDREPLACEA* fr);
HWND ReplaceTextA(FINDREPLACEA* fr);

// Colour.
using LPCCHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
struct CHOOSECOLORA {
    DWORD lStructSize = sizeof(CHOOSECOLORA);
    HWND hwndOwner = nullptr;
    HWND hInstance = nullptr;
    COLORREF rgbResult = 0;
    COLORREF* lpCustColors = nullptr;  // 16 colours
    DWORD Flags = 0;
    LPARAM lCustData = 0;
    LPCCHOOKPROC lpfnHook = nullptr;
    LPCSTR lpTemplateName = nullptr;
};
constexpr DWORD CC_RGBINIT = 0x1, CC_FULLOPEN = 0x2, CC_PREVENTFULLOPEN = 0x4, CC_SHOWHELP = 0x8,
                CC_ENABLEHOOK = 0x10, CC_ENABLETEMPLATE = 0x20, CC_ENABLETEMPLATEHANDLE = 0x40,
                CC_SOLIDCOLOR = 0x80, CC_ANYCOLOR = 0x100;
constexpr int kRedEdit = COLOR_RED, kGreenEdit = COLOR_GREEN, kBlueEdit = COLOR_BLUE,
              kAddCustomButton = COLOR_ADD, kColourGrid = COLOR_BOX1, kCustomGrid = COLOR_CUSTOM1,
              kColourSample = COLOR_CURRENT;
BOOL ChooseColorA(CHOOSECOLORA* cc);

// Page set-up: paper, orientation and margins for the default printer.
using LPPAGESETUPHOOK = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
struct PAGESETUPDLGA {
    DWORD lStructSize = sizeof(PAGESETUPDLGA);
    HWND hwndOwner = nullptr;
    HGLOBAL hDevMode = nullptr;   // DEVMODEA
    HGLOBAL hDevNames = nullptr;  // DEVNAMES
    DWORD Flags = 0;
    POINT ptPaperSize;
    RECT rtMinMargin;
    RECT rtMargin;
    HINSTANCE hInstance = nullptr;
    LPARAM lCustData = 0;
    LPPAGESETUPHOOK lpfnPageSetupHook = nullptr;
    LPPAGESETUPHOOK lpfnPagePaintHook = nullptr;
    LPCSTR lpPageSetupTemplateName = nullptr;
    HGLOBAL hPageSetupTemplate = nullptr;
};
// The size of the structure in 32-bit programs, which callers written for
// that layout pass; accepted as well.
constexpr DWORD PAGESETUPDLGA_SIZE_32 = 84;
struct DEVNAMES {
    WORD wDriverOffset = 0;
    WORD wDeviceOffset = 0;
    WORD wOutputOffset = 0;
    WORD wDefault = 0;
};
constexpr DWORD PSD_DEFAULTMINMARGINS = 0x0, PSD_INWININIINTLMEASURE = 0x0, PSD_MINMARGINS = 0x1,
                PSD_MARGINS = 0x2, PSD_INTHOUSANDTHSOFINCHES = 0x4,
                PSD_INHUNDREDTHSOFMILLIMETERS = 0x8, PSD_DISABLEMARGINS = 0x10,
                PSD_DISABLEPRINTER = 0x20, PSD_NOWARNING = 0x80, PSD_DISABLEORIENTATION = 0x100,
                PSD_RETURNDEFAULT = 0x400, PSD_DISABLEPAPER = 0x200, PSD_SHOWHELP = 0x800,
                PSD_ENABLEPAGESETUPHOOK = 0x2000, PSD_ENABLEPAGESETUPTEMPLATE = 0x8000,
                PSD_ENABLEPAGESETUPTEMPLATEHANDLE = 0x20000, PSD_ENABLEPAGEPAINTHOOK = 0x40000,
                PSD_DISABLEPAGEPAINTING = 0x80000;
// The page-paint hook hears these while the sample page (rct1) is drawn:
// first WM_PSD_PAGESETUPDLG (paper size and orientation in wParam, the
// structure in lParam), then, with the sample's device context in wParam and
// a RECT* in lParam, each part; a non-zero answer means the hook drew it.
constexpr UINT WM_PSD_PAGESETUPDLG = WM_USER, WM_PSD_FULLPAGERECT = WM_USER + 1,
               WM_PSD_MINMARGINRECT = WM_USER + 2, WM_PSD_MARGINRECT = WM_USER + 3,
               WM_PSD_GREEKTEXTRECT = WM_USER + 4;
constexpr int kPageSample = rct1;
constexpr int kPaperCombo = cmb2, kPortraitRadio = rad1, kLandscapeRadio = rad2, kMarginLeft = edt4,
              kMarginTop = edt5, kMarginRight = edt6, kMarginBottom = edt7;
BOOL PageSetupDlgA(PAGESETUPDLGA* psd);

}  // namespace win

namespace win {

// The folder browser. An item list names a folder; it is freed through the
// shell's allocator (SHGetMalloc) or CoTaskMemFree.
struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using BFFCALLBACK = int (*)(HWND, UINT, LPARAM, LPARAM);
struct BROWSEINFOA {
    HWND hwndOwner = nullptr;
    LPCITEMIDLIST pidlRoot = nullptr;
    LPSTR pszDisplayName = nullptr;  // MAX_PATH bytes: the chosen folder's name
    LPCSTR lpszTitle = nullptr;
    UINT ulFlags = 0;
    BFFCALLBACK lpfn = nullptr;
    LPARAM lParam = 0;
    int iImage = 0;
};
constexpr UINT BIF_RETURNONLYFSDIRS = 0x1, BIF_DONTGOBELOWDOMAIN = 0x2, BIF_STATUSTEXT = 0x4,
               BIF_EDITBOX = 0x10, BIF_VALIDATE = 0x20, BIF_NEWDIALOGSTYLE = 0x40;
constexpr UINT BFFM_INITIALIZED = 1, BFFM_SELCHANGED = 2, BFFM_VALIDATEFAILEDA = 3;
constexpr UINT BFFM_SETSTATUSTEXTA = WM_USER + 100, BFFM_ENABLEOK = WM_USER + 101,
               BFFM_SETSELECTIONA = WM_USER + 102;
constexpr int kBrowseHeading = IDD_TITLE, kBrowseFolders = IDD_TREEVIEW, kBrowseStatus = IDD_STATUS,
              kBrowseEdit = IDD_FOLDER, kBrowseEditLabel = IDD_FOLDERLABEL;
// With BIF_EDITBOX the folder's name can be typed (kBrowseEdit); a name that
// is no folder goes, with BIF_VALIDATE, to the callback as
// BFFM_VALIDATEFAILEDA (the text in lParam): non-zero keeps the dialog, zero
// ends it without a folder.

struct IMalloc {
    virtual ~IMalloc() = default;
    virtual void* Alloc(std::size_t bytes) = 0;
    virtual void Free(void* block) = 0;
    virtual ULONG Release() = 0;
};
using HRESULT = LONG;
constexpr HRESULT S_OK = 0;

LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info);
BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);
HRESULT SHGetMalloc(IMalloc** allocator);
void CoTaskMemFree(void* block);

}  // namespace win

namespace win {

struct LOGFONTA;
using LPCFHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
struct CHOOSEFONTA {
    DWORD lStructSize = sizeof(CHOOSEFONTA);
    HWND hwndOwner = nullptr;
    HDC hDC = nullptr;
    LOGFONTA* lpLogFont = nullptr;
    INT iPointSize = 0;  // tenths of a point
    DWORD Flags = 0;
    COLORREF rgbColors = 0;
    LPARAM lCustData = 0;
    LPCFHOOKPROC lpfnHook = nullptr;
    LPCSTR lpTemplateName = nullptr;
    HINSTANCE hInstance = nullptr;
    LPSTR lpszStyle = nullptr;
    WORD nFontType = 0;
    WORD alignment = 0;
    INT nSizeMin = 0;
    INT nSizeMax = 0;
};
constexpr DWORD CF_SCREENFONTS = 0x1, CF_PRINTERFONTS = 0x2, CF_BOTH = 0x3, CF_SHOWHELP = 0x4,
                CF_ENABLEHOOK = 0x8, CF_ENABLETEMPLATE = 0x10, CF_ENABLETEMPLATEHANDLE = 0x20,
                CF_INITTOLOGFONTSTRUCT = 0x40, CF_USESTYLE = 0x80, CF_EFFECTS = 0x100,
                CF_LIMITSIZE = 0x2000, CF_FIXEDPITCHONLY = 0x4000, CF_FORCEFONTEXIST = 0x10000,
                CF_SCALABLEONLY = 0x20000, CF_TTONLY = 0x40000, CF_NOVECTORFONTS = 0x800,
                CF_NOFACESEL = 0x80000, CF_NOSTYLESEL = 0x100000, CF_NOSIZESEL = 0x200000;
// Sent to the font dialog (by its hook): lParam is a LOGFONTA to fill or take.
constexpr UINT WM_CHOOSEFONT_GETLOGFONT = WM_USER + 1, WM_CHOOSEFONT_SETLOGFONT = WM_USER + 101;
constexpr WORD SCREEN_FONTTYPE = 0x2000, BOLD_FONTTYPE = 0x100, ITALIC_FONTTYPE = 0x200,
               REGULAR_FONTTYPE = 0x400;
constexpr int kFontFaceList = cmb1, kFontStyleList = cmb2, kFontSizeList = cmb3,
              kStrikeoutCheck = chx1, kUnderlineCheck = chx2, kFontColourCombo = cmb4,
              kFontSample = stc5, kEffectsGroup = grp1;
BOOL ChooseFontA(CHOOSEFONTA* cf);

}  // namespace win
