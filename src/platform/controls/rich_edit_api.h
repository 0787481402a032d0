#pragma once
// The rich-edit control: "RichEdit20A" (version 2) and "RICHEDIT" (version
// 1, which counts a line break as two positions and has no redo); text with
// character formats, selection, undo and redo, find, streaming as plain text
// or RTF, printing a range, and notifications that let the parent filter
// input and guard protected text.

#include "platform/controls/common_controls_api.h"
#include "platform/win_types.h"

namespace win {

inline constexpr const char* RICHEDIT_CLASSA = "RichEdit20A";
inline constexpr const char* RICHEDIT_CLASS10A = "RICHEDIT";

// The newest version of the control present: 2, or 1 when the environment
// variable PELK_RICHEDIT_VERSION is 1 (version 2 is then not registered), so
// that the version-1 behaviour can be run. Read when the classes are
// registered and whenever asked.
int richEditNewestVersion();
bool richEditVersionPresent(int version);

struct POINTL {
    LONG x = 0;
    LONG y = 0;
};

struct CHARRANGE {
    LONG cpMin = 0;
    LONG cpMax = 0;
};
struct TEXTRANGEA {
    CHARRANGE chrg;
    LPSTR lpstrText = nullptr;
};
struct FINDTEXTA {
    CHARRANGE chrg;
    LPCSTR lpstrText = nullptr;
};
struct FINDTEXTEXA {
    CHARRANGE chrg;
    LPCSTR lpstrText = nullptr;
    CHARRANGE chrgText;
};
struct CHARFORMATA {
    UINT cbSize = sizeof(CHARFORMATA);
    DWORD dwMask = 0;
    DWORD dwEffects = 0;
    LONG yHeight = 0;  // twips
    LONG yOffset = 0;
    COLORREF crTextColor = 0;
    BYTE bCharSet = 0;
    BYTE bPitchAndFamily = 0;
    char szFaceName[32] = {};
};
using EDITSTREAMCALLBACK = DWORD (*)(UINT_PTR cookie, BYTE* buffer, LONG count, LONG* done);
struct EDITSTREAM {
    UINT_PTR dwCookie = 0;
    DWORD dwError = 0;
    EDITSTREAMCALLBACK pfnCallback = nullptr;
};
struct FORMATRANGE {
    HDC hdc = nullptr;
    HDC hdcTarget = nullptr;
    RECT rc;      // twips
    RECT rcPage;  // twips
    CHARRANGE chrg;
};
struct PARAFORMAT {
    UINT cbSize = sizeof(PARAFORMAT);
    DWORD dwMask = 0;
    WORD wNumbering = 0;
    WORD wReserved = 0;
    LONG dxStartIndent = 0;
    LONG dxRightIndent = 0;
    LONG dxOffset = 0;
    WORD wAlignment = 0;
    SHORT cTabCount = 0;
    LONG rgxTabs[32] = {};
};
struct MSGFILTER {
    NMHDR nmhdr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
struct ENPROTECTED {
    NMHDR nmhdr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    CHARRANGE chrg;
};
struct SELCHANGE {
    NMHDR nmhdr;
    CHARRANGE chrg;
    WORD seltyp = 0;
};

constexpr UINT EM_EXGETSEL = WM_USER + 52, EM_EXLIMITTEXT = WM_USER + 53,
               EM_EXLINEFROMCHAR = WM_USER + 54, EM_EXSETSEL = WM_USER + 55,
               EM_FINDTEXT = WM_USER + 56, EM_FORMATRANGE = WM_USER + 57,
               EM_GETCHARFORMAT = WM_USER + 58, EM_GETEVENTMASK = WM_USER + 59,
               EM_GETSELTEXT = WM_USER + 62, EM_HIDESELECTION = WM_USER + 63,
               EM_SETBKGNDCOLOR = WM_USER + 67, EM_SETCHARFORMAT = WM_USER + 68,
               EM_SETEVENTMASK = WM_USER + 69, EM_SETTARGETDEVICE = WM_USER + 72,
               EM_STREAMIN = WM_USER + 73, EM_STREAMOUT = WM_USER + 74,
               EM_GETTEXTRANGE = WM_USER + 75, EM_FINDTEXTEX = WM_USER + 79;
constexpr UINT EM_GETPARAFORMAT = WM_USER + 61, EM_SETPARAFORMAT = WM_USER + 71;
constexpr UINT EM_SETUNDOLIMIT = WM_USER + 82, EM_REDO = WM_USER + 84, EM_CANREDO = WM_USER + 85,
               EM_STOPGROUPTYPING = WM_USER + 88;
constexpr DWORD PFM_ALIGNMENT = 0x8, PFM_NUMBERING = 0x20;
constexpr WORD PFA_LEFT = 1, PFA_RIGHT = 2, PFA_CENTER = 3, PFN_BULLET = 1;
constexpr DWORD CFM_BOLD = 0x1, CFM_ITALIC = 0x2, CFM_UNDERLINE = 0x4, CFM_STRIKEOUT = 0x8,
                CFM_PROTECTED = 0x10, CFM_SIZE = 0x80000000, CFM_COLOR = 0x40000000,
                CFM_FACE = 0x20000000, CFM_OFFSET = 0x10000000, CFM_CHARSET = 0x08000000;
constexpr DWORD CFE_BOLD = 0x1, CFE_ITALIC = 0x2, CFE_UNDERLINE = 0x4, CFE_STRIKEOUT = 0x8,
                CFE_PROTECTED = 0x10, CFE_AUTOCOLOR = 0x40000000;
constexpr WPARAM SCF_DEFAULT = 0x0, SCF_SELECTION = 0x1, SCF_WORD = 0x2, SCF_ALL = 0x4;
constexpr WPARAM SF_TEXT = 0x1, SF_RTF = 0x2, SFF_SELECTION = 0x8000;
constexpr DWORD ENM_CHANGE = 0x1, ENM_UPDATE = 0x2, ENM_SCROLL = 0x4, ENM_SCROLLEVENTS = 0x8,
                ENM_KEYEVENTS = 0x10000, ENM_MOUSEEVENTS = 0x20000, ENM_SELCHANGE = 0x80000,
                ENM_PROTECTED = 0x200000;
constexpr UINT EN_MSGFILTER = 0x0700, EN_SELCHANGE = 0x0702, EN_PROTECTED = 0x0704;
constexpr WORD SEL_EMPTY = 0x0, SEL_TEXT = 0x1;

}  // namespace win
