#pragma once
// Menus, pop-up menus and accelerator tables of the Windows-shaped API.

#include "platform/win_types.h"
#include "platform/window/user_api.h"

namespace win {

struct MENUITEMINFOA {
    UINT cbSize = sizeof(MENUITEMINFOA);
    UINT fMask = 0;
    UINT fType = 0;
    UINT fState = 0;
    UINT wID = 0;
    HMENU hSubMenu = nullptr;
    HBITMAP hbmpChecked = nullptr;
    HBITMAP hbmpUnchecked = nullptr;
    UINT_PTR dwItemData = 0;
    LPSTR dwTypeData = nullptr;
    UINT cch = 0;
    HBITMAP hbmpItem = nullptr;
};

struct ACCEL {
    BYTE fVirt = 0;
    WORD key = 0;
    WORD cmd = 0;
};

HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSubMenu, LPCSTR text);
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubMenu, LPCSTR text);
BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubMenu, LPCSTR text);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Both answer the item's previous state, or (UINT)-1 when there is no such item.
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info);
BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT flags);
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL DrawMenuBar(HWND hwnd);
HMENU GetSystemMenu(HWND hwnd, BOOL revert);
// Shows a pop-up menu and lets the user choose; the choice is posted to
// `owner` as WM_COMMAND, or returned with TPM_RETURNCMD.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* rect);

HMENU LoadMenuA(HINSTANCE instance, LPCSTR name);
HMENU LoadMenuIndirectA(const void* menuTemplate);

HACCEL LoadAcceleratorsA(HINSTANCE instance, LPCSTR name);
HACCEL CreateAcceleratorTableA(const ACCEL* entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
int CopyAcceleratorTableA(HACCEL table, ACCEL* entries, int count);
int TranslateAcceleratorA(HWND hwnd, HACCEL table, MSG* msg);

// The height of a window's menu bar in pixels (0 without a menu).
int menuBarHeight(HWND hwnd);

}  // namespace win
