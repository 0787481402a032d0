#pragma once
// The common controls: up-down, progress bar, track bar, tab control and
// status bar, with Windows' class names, messages, styles, structures and
// WM_NOTIFY codes.

#include "platform/controls/image_list_api.h"
#include "platform/win_types.h"
#include "platform/window/user_api.h"

namespace win {

struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};
constexpr UINT NM_CLICK = 0u - 2u, NM_DBLCLK = 0u - 3u, NM_RETURN = 0u - 4u, NM_RCLICK = 0u - 5u,
               NM_SETFOCUS = 0u - 7u, NM_KILLFOCUS = 0u - 8u;

struct INITCOMMONCONTROLSEX {
    DWORD dwSize = sizeof(INITCOMMONCONTROLSEX);
    DWORD dwICC = 0;
};
// The classes are always there; these only answer success.
void InitCommonControls();
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

// Up-down.
inline constexpr const char* UPDOWN_CLASSA = "msctls_updown32";
constexpr DWORD UDS_WRAP = 0x1, UDS_SETBUDDYINT = 0x2, UDS_ALIGNRIGHT = 0x4, UDS_ALIGNLEFT = 0x8,
                UDS_AUTOBUDDY = 0x10, UDS_ARROWKEYS = 0x20, UDS_HORZ = 0x40, UDS_NOTHOUSANDS = 0x80;
constexpr UINT UDM_SETRANGE = WM_USER + 101, UDM_GETRANGE = WM_USER + 102,
               UDM_SETPOS = WM_USER + 103, UDM_GETPOS = WM_USER + 104, UDM_SETBUDDY = WM_USER + 105,
               UDM_GETBUDDY = WM_USER + 106, UDM_SETACCEL = WM_USER + 107,
               UDM_GETACCEL = WM_USER + 108, UDM_SETBASE = WM_USER + 109,
               UDM_GETBASE = WM_USER + 110, UDM_SETRANGE32 = WM_USER + 111,
               UDM_GETRANGE32 = WM_USER + 112, UDM_SETPOS32 = WM_USER + 113,
               UDM_GETPOS32 = WM_USER + 114;
constexpr UINT UDN_DELTAPOS = 0u - 722u;
struct UDACCEL {
    UINT nSec = 0;
    UINT nInc = 0;
};
struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;
    int iDelta = 0;
};

// Progress bar.
inline constexpr const char* PROGRESS_CLASSA = "msctls_progress32";
constexpr DWORD PBS_SMOOTH = 0x1, PBS_VERTICAL = 0x4;
constexpr UINT PBM_SETRANGE = WM_USER + 1, PBM_SETPOS = WM_USER + 2, PBM_DELTAPOS = WM_USER + 3,
               PBM_SETSTEP = WM_USER + 4, PBM_STEPIT = WM_USER + 5, PBM_SETRANGE32 = WM_USER + 6,
               PBM_GETRANGE = WM_USER + 7, PBM_GETPOS = WM_USER + 8, PBM_SETBARCOLOR = WM_USER + 9;
struct PBRANGE {
    int iLow = 0;
    int iHigh = 0;
};

// Tab control.
inline constexpr const char* WC_TABCONTROLA = "SysTabControl32";
constexpr DWORD TCS_TABS = 0x0, TCS_BUTTONS = 0x100, TCS_MULTILINE = 0x200, TCS_FIXEDWIDTH = 0x400;
constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4, TCM_GETITEMA = TCM_FIRST + 5,
               TCM_SETITEMA = TCM_FIRST + 6, TCM_INSERTITEMA = TCM_FIRST + 7,
               TCM_DELETEITEM = TCM_FIRST + 8, TCM_DELETEALLITEMS = TCM_FIRST + 9,
               TCM_GETITEMRECT = TCM_FIRST + 10, TCM_GETCURSEL = TCM_FIRST + 11,
               TCM_SETCURSEL = TCM_FIRST + 12, TCM_HITTEST = TCM_FIRST + 13,
               TCM_SETITEMEXTRA = TCM_FIRST + 14, TCM_ADJUSTRECT = TCM_FIRST + 40,
               TCM_SETITEMSIZE = TCM_FIRST + 41, TCM_GETCURFOCUS = TCM_FIRST + 47,
               TCM_SETCURFOCUS = TCM_FIRST + 48;
constexpr UINT TCN_KEYDOWN = 0u - 550u, TCN_SELCHANGE = 0u - 551u, TCN_SELCHANGING = 0u - 552u;
constexpr UINT TCIF_TEXT = 0x1, TCIF_IMAGE = 0x2, TCIF_PARAM = 0x8, TCIF_STATE = 0x10;
constexpr UINT TCHT_NOWHERE = 0x1, TCHT_ONITEMICON = 0x2, TCHT_ONITEMLABEL = 0x4, TCHT_ONITEM = 0x6;
struct TCITEMA {
    UINT mask = 0;
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    LPSTR pszText = nullptr;
    int cchTextMax = 0;
    int iImage = -1;
    LPARAM lParam = 0;
};
// The head of TCITEMA alone: callers that keep their own bytes with each item
// (TCM_SETITEMEXTRA) put them right after it, where lParam would be.
struct TCITEMHEADERA {
    UINT mask = 0;
    DWORD lpReserved1 = 0;
    DWORD lpReserved2 = 0;
    LPSTR pszText = nullptr;
    int cchTextMax = 0;
    int iImage = -1;
};
struct TCHITTESTINFO {
    POINT pt;
    UINT flags = 0;
};

// Track bar (notifies its parent with WM_HSCROLL or WM_VSCROLL).
inline constexpr const char* TRACKBAR_CLASSA = "msctls_trackbar32";
constexpr DWORD TBS_AUTOTICKS = 0x1, TBS_VERT = 0x2, TBS_HORZ = 0x0, TBS_TOP = 0x4,
                TBS_BOTTOM = 0x0, TBS_LEFT = 0x4, TBS_RIGHT = 0x0, TBS_BOTH = 0x8,
                TBS_NOTICKS = 0x10, TBS_ENABLESELRANGE = 0x20, TBS_FIXEDLENGTH = 0x40,
                TBS_NOTHUMB = 0x80;
constexpr UINT TBM_GETPOS = WM_USER, TBM_GETRANGEMIN = WM_USER + 1, TBM_GETRANGEMAX = WM_USER + 2,
               TBM_SETPOS = WM_USER + 5, TBM_SETRANGE = WM_USER + 6, TBM_SETRANGEMIN = WM_USER + 7,
               TBM_SETRANGEMAX = WM_USER + 8, TBM_CLEARTICS = WM_USER + 9,
               TBM_SETSEL = WM_USER + 10, TBM_SETSELSTART = WM_USER + 11,
               TBM_SETSELEND = WM_USER + 12, TBM_GETNUMTICS = WM_USER + 16,
               TBM_GETSELSTART = WM_USER + 17, TBM_GETSELEND = WM_USER + 18,
               TBM_CLEARSEL = WM_USER + 19, TBM_SETTICFREQ = WM_USER + 20,
               TBM_SETPAGESIZE = WM_USER + 21, TBM_GETPAGESIZE = WM_USER + 22,
               TBM_SETLINESIZE = WM_USER + 23, TBM_GETLINESIZE = WM_USER + 24;
constexpr WORD TB_LINEUP = 0, TB_LINEDOWN = 1, TB_PAGEUP = 2, TB_PAGEDOWN = 3, TB_THUMBPOSITION = 4,
               TB_THUMBTRACK = 5, TB_TOP = 6, TB_BOTTOM = 7, TB_ENDTRACK = 8;

// Status bar.
inline constexpr const char* STATUSCLASSNAMEA = "msctls_statusbar32";
constexpr DWORD SBARS_SIZEGRIP = 0x100, CCS_TOP = 0x1, CCS_BOTTOM = 0x3, CCS_NORESIZE = 0x4,
                CCS_NOPARENTALIGN = 0x8, CCS_NODIVIDER = 0x40;
constexpr UINT SB_SETTEXTA = WM_USER + 1, SB_GETTEXTA = WM_USER + 2,
               SB_GETTEXTLENGTHA = WM_USER + 3, SB_SETPARTS = WM_USER + 4,
               SB_GETPARTS = WM_USER + 6, SB_GETBORDERS = WM_USER + 7,
               SB_SETMINHEIGHT = WM_USER + 8, SB_SIMPLE = WM_USER + 9, SB_GETRECT = WM_USER + 10,
               SB_ISSIMPLE = WM_USER + 14;
constexpr UINT SBT_NOBORDERS = 0x100, SBT_POPOUT = 0x200, SBT_OWNERDRAW = 0x1000;
constexpr UINT SB_SIMPLEID = 0xFF;

}  // namespace win

namespace win {

// Tool bar (buttons with pictures from bitmap strips, tool tips asked of the
// parent with TTN_NEEDTEXTA).
inline constexpr const char* TOOLBARCLASSNAMEA = "ToolbarWindow32";
inline constexpr const char* TOOLTIPS_CLASSA = "tooltips_class32";
constexpr DWORD TBSTYLE_TOOLTIPS = 0x100, TBSTYLE_WRAPABLE = 0x200, TBSTYLE_FLAT = 0x800,
                TBSTYLE_LIST = 0x1000;
constexpr BYTE TBSTYLE_BUTTON = 0x0, TBSTYLE_SEP = 0x1, TBSTYLE_CHECK = 0x2, TBSTYLE_GROUP = 0x4,
               TBSTYLE_CHECKGROUP = 0x6;
constexpr BYTE TBSTATE_CHECKED = 0x1, TBSTATE_PRESSED = 0x2, TBSTATE_ENABLED = 0x4,
               TBSTATE_HIDDEN = 0x8, TBSTATE_INDETERMINATE = 0x10, TBSTATE_WRAP = 0x20;
constexpr UINT TB_ENABLEBUTTON = WM_USER + 1, TB_CHECKBUTTON = WM_USER + 2,
               TB_PRESSBUTTON = WM_USER + 3, TB_HIDEBUTTON = WM_USER + 4,
               TB_INDETERMINATE = WM_USER + 5, TB_ISBUTTONENABLED = WM_USER + 9,
               TB_ISBUTTONCHECKED = WM_USER + 10, TB_ISBUTTONPRESSED = WM_USER + 11,
               TB_SETSTATE = WM_USER + 17, TB_GETSTATE = WM_USER + 18, TB_ADDBITMAP = WM_USER + 19,
               TB_ADDBUTTONSA = WM_USER + 20, TB_INSERTBUTTONA = WM_USER + 21,
               TB_DELETEBUTTON = WM_USER + 22, TB_GETBUTTON = WM_USER + 23,
               TB_BUTTONCOUNT = WM_USER + 24, TB_COMMANDTOINDEX = WM_USER + 25,
               TB_GETITEMRECT = WM_USER + 29, TB_BUTTONSTRUCTSIZE = WM_USER + 30,
               TB_SETBUTTONSIZE = WM_USER + 31, TB_SETBITMAPSIZE = WM_USER + 32,
               TB_AUTOSIZE = WM_USER + 33, TB_GETTOOLTIPS = WM_USER + 35, TB_SETROWS = WM_USER + 39,
               TB_GETROWS = WM_USER + 40;
constexpr UINT TTN_NEEDTEXTA = 0u - 520u, TTN_SHOW = 0u - 521u, TTN_POP = 0u - 522u;

struct TBBUTTON {
    int iBitmap = 0;
    int idCommand = 0;
    BYTE fsState = 0;
    BYTE fsStyle = 0;
    BYTE bReserved[6] = {};
    UINT_PTR dwData = 0;
    INT_PTR iString = 0;
};
struct TBADDBITMAP {
    HINSTANCE hInst = nullptr;
    UINT_PTR nID = 0;  // a bitmap resource of hInst, or with no instance an HBITMAP
};
struct NMTTDISPINFOA {
    NMHDR hdr;
    LPSTR lpszText = nullptr;  // a text, or a string resource number of hinst
    char szText[80] = {};
    HINSTANCE hinst = nullptr;
    UINT uFlags = 0;
    LPARAM lParam = 0;
};
using TOOLTIPTEXTA = NMTTDISPINFOA;

}  // namespace win

namespace win {

// Header control: column titles whose dividers the mouse drags.
inline constexpr const char* WC_HEADERA = "SysHeader32";
constexpr DWORD HDS_HORZ = 0x0, HDS_BUTTONS = 0x2, HDS_HIDDEN = 0x8;
constexpr UINT HDM_FIRST = 0x1200;
constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0, HDM_INSERTITEMA = HDM_FIRST + 1,
               HDM_DELETEITEM = HDM_FIRST + 2, HDM_GETITEMA = HDM_FIRST + 3,
               HDM_SETITEMA = HDM_FIRST + 4, HDM_LAYOUT = HDM_FIRST + 5,
               HDM_HITTEST = HDM_FIRST + 6, HDM_GETITEMRECT = HDM_FIRST + 7;
constexpr UINT HDI_WIDTH = 0x1, HDI_HEIGHT = 0x1, HDI_TEXT = 0x2, HDI_FORMAT = 0x4,
               HDI_LPARAM = 0x8, HDI_BITMAP = 0x10;
constexpr int HDF_LEFT = 0, HDF_RIGHT = 1, HDF_CENTER = 2, HDF_JUSTIFYMASK = 3, HDF_STRING = 0x4000;
constexpr UINT HDN_ITEMCHANGINGA = 0u - 300u, HDN_ITEMCHANGEDA = 0u - 301u,
               HDN_ITEMCLICKA = 0u - 302u, HDN_ITEMDBLCLICKA = 0u - 303u,
               HDN_DIVIDERDBLCLICKA = 0u - 305u, HDN_BEGINTRACKA = 0u - 306u,
               HDN_ENDTRACKA = 0u - 307u, HDN_TRACKA = 0u - 308u;
constexpr UINT HHT_NOWHERE = 0x1, HHT_ONHEADER = 0x2, HHT_ONDIVIDER = 0x4;
struct HDITEMA {
    UINT mask = 0;
    int cxy = 0;
    LPSTR pszText = nullptr;
    HBITMAP hbm = nullptr;
    int cchTextMax = 0;
    int fmt = 0;
    LPARAM lParam = 0;
    int iImage = 0;
    int iOrder = 0;
};
struct NMHEADERA {
    NMHDR hdr;
    int iItem = 0;
    int iButton = 0;
    HDITEMA* pitem = nullptr;
};
struct HDHITTESTINFO {
    POINT pt;
    UINT flags = 0;
    int iItem = -1;
};
struct HDLAYOUT {
    RECT* prc = nullptr;
    WINDOWPOS* pwpos = nullptr;
};

}  // namespace win

namespace win {

// Tree view.
inline constexpr const char* WC_TREEVIEWA = "SysTreeView32";
struct TreeItem__;
using HTREEITEM = TreeItem__*;
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0xFFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0xFFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0xFFFD));
constexpr DWORD TVS_HASBUTTONS = 0x1, TVS_HASLINES = 0x2, TVS_LINESATROOT = 0x4,
                TVS_EDITLABELS = 0x8, TVS_DISABLEDRAGDROP = 0x10, TVS_SHOWSELALWAYS = 0x20;
constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_INSERTITEMA = TV_FIRST + 0, TVM_DELETEITEM = TV_FIRST + 1,
               TVM_EXPAND = TV_FIRST + 2, TVM_GETITEMRECT = TV_FIRST + 4,
               TVM_GETCOUNT = TV_FIRST + 5, TVM_GETINDENT = TV_FIRST + 6,
               TVM_SETINDENT = TV_FIRST + 7, TVM_GETNEXTITEM = TV_FIRST + 10,
               TVM_SELECTITEM = TV_FIRST + 11, TVM_GETITEMA = TV_FIRST + 12,
               TVM_SETITEMA = TV_FIRST + 13, TVM_HITTEST = TV_FIRST + 17,
               TVM_ENSUREVISIBLE = TV_FIRST + 20;
constexpr UINT TVGN_ROOT = 0x0, TVGN_NEXT = 0x1, TVGN_PREVIOUS = 0x2, TVGN_PARENT = 0x3,
               TVGN_CHILD = 0x4, TVGN_FIRSTVISIBLE = 0x5, TVGN_NEXTVISIBLE = 0x6,
               TVGN_PREVIOUSVISIBLE = 0x7, TVGN_DROPHILITE = 0x8, TVGN_CARET = 0x9;
constexpr UINT TVE_COLLAPSE = 0x1, TVE_EXPAND = 0x2, TVE_TOGGLE = 0x3;
constexpr UINT TVIF_TEXT = 0x1, TVIF_IMAGE = 0x2, TVIF_PARAM = 0x4, TVIF_STATE = 0x8,
               TVIF_HANDLE = 0x10, TVIF_SELECTEDIMAGE = 0x20, TVIF_CHILDREN = 0x40;
constexpr UINT TVIS_SELECTED = 0x2, TVIS_BOLD = 0x10, TVIS_EXPANDED = 0x20;
constexpr UINT TVC_UNKNOWN = 0, TVC_BYMOUSE = 1, TVC_BYKEYBOARD = 2;
constexpr UINT TVHT_NOWHERE = 0x1, TVHT_ONITEMLABEL = 0x4, TVHT_ONITEMBUTTON = 0x10,
               TVHT_ONITEMINDENT = 0x8;
constexpr UINT TVN_SELCHANGINGA = 0u - 401u, TVN_SELCHANGEDA = 0u - 402u,
               TVN_ITEMEXPANDINGA = 0u - 405u, TVN_ITEMEXPANDEDA = 0u - 406u,
               TVN_DELETEITEMA = 0u - 409u, TVN_KEYDOWN = 0u - 412u;
struct TVITEMA {
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    LPSTR pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    LPARAM lParam = 0;
};
struct TVINSERTSTRUCTA {
    HTREEITEM hParent = nullptr;
    HTREEITEM hInsertAfter = nullptr;
    TVITEMA item;
};
struct NMTREEVIEWA {
    NMHDR hdr;
    UINT action = 0;
    TVITEMA itemOld;
    TVITEMA itemNew;
    POINT ptDrag;
};
struct TVHITTESTINFO {
    POINT pt;
    UINT flags = 0;
    HTREEITEM hItem = nullptr;
};

}  // namespace win

namespace win {

// Tool bar: text labels, image lists and the common controls' own picture
// strips (TB_ADDBITMAP or TB_LOADIMAGES with HINST_COMMCTRL).
constexpr DWORD TBSTYLE_AUTOSIZE = 0x10;
constexpr UINT TB_ADDSTRINGA = WM_USER + 28, TB_GETBUTTONTEXTA = WM_USER + 45,
               TB_SETIMAGELIST = WM_USER + 48, TB_GETIMAGELIST = WM_USER + 49,
               TB_LOADIMAGES = WM_USER + 50, TB_GETBUTTONSIZE = WM_USER + 58,
               TB_SETMAXTEXTROWS = WM_USER + 60;
inline const HINSTANCE HINST_COMMCTRL =
    reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(-1));
constexpr UINT_PTR IDB_STD_SMALL_COLOR = 0, IDB_STD_LARGE_COLOR = 1, IDB_VIEW_SMALL_COLOR = 4,
                   IDB_VIEW_LARGE_COLOR = 5;
constexpr int STD_CUT = 0, STD_COPY = 1, STD_PASTE = 2, STD_UNDO = 3, STD_REDOW = 4,
              STD_DELETE = 5, STD_FILENEW = 6, STD_FILEOPEN = 7, STD_FILESAVE = 8,
              STD_PRINTPRE = 9, STD_PROPERTIES = 10, STD_HELP = 11, STD_FIND = 12,
              STD_REPLACE = 13, STD_PRINT = 14;
constexpr int VIEW_LARGEICONS = 0, VIEW_SMALLICONS = 1, VIEW_LIST = 2, VIEW_DETAILS = 3,
              VIEW_SORTNAME = 4, VIEW_SORTSIZE = 5, VIEW_SORTDATE = 6, VIEW_SORTTYPE = 7,
              VIEW_PARENTFOLDER = 8, VIEW_NETCONNECT = 9, VIEW_NETDISCONNECT = 10,
              VIEW_NEWFOLDER = 11;

// Tree view: pictures beside the labels and editing of the labels in place.
constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8, TVM_SETIMAGELIST = TV_FIRST + 9,
               TVM_EDITLABELA = TV_FIRST + 14, TVM_GETEDITCONTROL = TV_FIRST + 15,
               TVM_ENDEDITLABELNOW = TV_FIRST + 22;
constexpr WPARAM TVSIL_NORMAL = 0, TVSIL_STATE = 2;
constexpr int I_IMAGECALLBACK = -1;
constexpr UINT TVHT_ONITEMICON = 0x2;
constexpr UINT TVN_GETDISPINFOA = 0u - 403u, TVN_SETDISPINFOA = 0u - 404u,
               TVN_BEGINLABELEDITA = 0u - 410u, TVN_ENDLABELEDITA = 0u - 411u;
struct NMTVDISPINFOA {
    NMHDR hdr;
    TVITEMA item;
};

}  // namespace win
