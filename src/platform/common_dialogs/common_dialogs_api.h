#pragma once
// The common dialogs the layer draws itself: opening and saving files.

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
                OFN_NOVALIDATE = 0x100, OFN_ALLOWMULTISELECT = 0x200,
                OFN_EXTENSIONDIFFERENT = 0x400, OFN_PATHMUSTEXIST = 0x800,
                OFN_FILEMUSTEXIST = 0x1000, OFN_CREATEPROMPT = 0x2000,
                OFN_NOREADONLYRETURN = 0x8000, OFN_NOTESTFILECREATE = 0x10000,
                OFN_EXPLORER = 0x80000, OFN_NODEREFERENCELINKS = 0x100000, OFN_LONGNAMES = 0x200000;

// Extended errors (0 after a plain Cancel).
constexpr DWORD CDERR_STRUCTSIZE = 0x0001, CDERR_INITIALIZATION = 0x0002, CDERR_NOTEMPLATE = 0x0003,
                FNERR_SUBCLASSFAILURE = 0x3001, FNERR_INVALIDFILENAME = 0x3002,
                FNERR_BUFFERTOOSMALL = 0x3003;

// Control identifiers of the file dialog.
constexpr int kFileNameEdit = 1152;  // the name field
constexpr int kFileList = 1120;
constexpr int kFolderList = 1121;
constexpr int kFolderText = 1088;
constexpr int kFilterCombo = 1136;
constexpr int kReadOnlyCheck = 1040;

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
                FR_NOMATCHCASE = 0x800, FR_NOWHOLEWORD = 0x1000, FR_HIDEUPDOWN = 0x4000,
                FR_HIDEMATCHCASE = 0x8000, FR_HIDEWHOLEWORD = 0x10000;
constexpr int kFindWhatEdit = 1152, kReplaceWithEdit = 1153, kWholeWordCheck = 1040,
              kMatchCaseCheck = 1041, kUpRadio = 1056, kDownRadio = 1057, kReplaceButton = 1024,
              kReplaceAllButton = 1025;
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
                CC_ENABLEHOOK = 0x10, CC_SOLIDCOLOR = 0x80, CC_ANYCOLOR = 0x100;
constexpr int kRedEdit = 706, kGreenEdit = 707, kBlueEdit = 708, kAddCustomButton = 712,
              kColourGrid = 720, kCustomGrid = 721;
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
                PSD_RETURNDEFAULT = 0x400, PSD_DISABLEPAPER = 0x200;
constexpr int kPaperCombo = 1137, kPortraitRadio = 1056, kLandscapeRadio = 1057, kMarginLeft = 1155,
              kMarginTop = 1156, kMarginRight = 1157, kMarginBottom = 1158;
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
constexpr int kBrowseHeading = 14146, kBrowseFolders = 14145, kBrowseStatus = 14147;

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
                CF_ENABLEHOOK = 0x8, CF_INITTOLOGFONTSTRUCT = 0x40, CF_USESTYLE = 0x80,
                CF_EFFECTS = 0x100, CF_LIMITSIZE = 0x2000, CF_FIXEDPITCHONLY = 0x4000,
                CF_FORCEFONTEXIST = 0x10000, CF_SCALABLEONLY = 0x20000, CF_TTONLY = 0x40000,
                CF_NOVECTORFONTS = 0x800;
constexpr WORD SCREEN_FONTTYPE = 0x2000, BOLD_FONTTYPE = 0x100, ITALIC_FONTTYPE = 0x200,
               REGULAR_FONTTYPE = 0x400;
constexpr int kFontFaceList = 1136, kFontStyleList = 1137, kFontSizeList = 1138,
              kStrikeoutCheck = 1040, kUnderlineCheck = 1041, kFontSample = 1092;
BOOL ChooseFontA(CHOOSEFONTA* cf);

}  // namespace win
