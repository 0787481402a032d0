#pragma once
// The dialog manager: dialogs built from templates (as the resource
// compiler writes them, or made in memory), modal and modeless, their
// keyboard navigation and the helpers that work on their items.

#include "platform/message_box.h"
#include "platform/win_types.h"
#include "platform/window/user_api.h"

namespace win {

using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// The dialog window's extra words.
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWLP_DLGPROC = 8;
constexpr int DWLP_USER = 16;
constexpr int DLGWINDOWEXTRA = 24;

constexpr DWORD DS_ABSALIGN = 0x01, DS_SYSMODAL = 0x02, DS_3DLOOK = 0x04, DS_FIXEDSYS = 0x08,
                DS_NOFAILCREATE = 0x10, DS_LOCALEDIT = 0x20, DS_SETFONT = 0x40,
                DS_MODALFRAME = 0x80, DS_NOIDLEMSG = 0x100, DS_SETFOREGROUND = 0x200,
                DS_CONTROL = 0x400, DS_CENTER = 0x800, DS_CENTERMOUSE = 0x1000,
                DS_CONTEXTHELP = 0x2000, DS_SHELLFONT = 0x48;

constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr UINT DM_REPOSITION = WM_USER + 2;
constexpr WORD DC_HASDEFID = 0x534B;

constexpr int IDCLOSE = 8;
constexpr int IDHELP = 9;

// The fixed head of a classic template; the variable-length parts follow it
// in memory as the resource compiler lays them out.
struct DLGTEMPLATE {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x, y, cx, cy;
};

inline const LPCSTR WC_DIALOG = MAKEINTRESOURCEA(0x8002);
inline constexpr const char* kDialogClassName = "#32770";

HWND CreateDialogIndirectParamA(HINSTANCE instance, const void* dialogTemplate, HWND parent,
                                DLGPROC proc, LPARAM initParam);
HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                        LPARAM initParam);
INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, const void* dialogTemplate, HWND parent,
                                DLGPROC proc, LPARAM initParam);
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                        LPARAM initParam);
BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT DefDlgProcA(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL IsDialogMessageA(HWND dialog, MSG* msg);

BOOL MapDialogRect(HWND dialog, RECT* rect);
LONG GetDialogBaseUnits();
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);

}  // namespace win
