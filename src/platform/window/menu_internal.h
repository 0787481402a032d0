#pragma once
// The menu objects behind HMENU and what the menu loop and the painting of
// menu bars and pop-ups share.

#include <string>
#include <vector>

#include "platform/window/menu_api.h"

namespace win::detail {

struct MenuItem {
    UINT type = MFT_STRING;  // MFT_STRING, MFT_SEPARATOR, MF_MENUBREAK ..., MFT_RIGHTJUSTIFY
    UINT state = 0;  // MFS_GRAYED (MF_GRAYED | MF_DISABLED), MFS_CHECKED, MFS_DEFAULT, MFS_HILITE
    UINT id = 0;
    HMENU subMenu = nullptr;
    std::string text;
    UINT_PTR data = 0;
    RECT rect;  // laid out: menu-bar items in window coordinates, pop-up items in the pop-up
};

struct Menu {
    HMENU handle = nullptr;
    bool popup = false;
    bool system = false;
    std::vector<MenuItem> items;
    HWND barOwner = nullptr;  // the window showing it as its menu bar
};

Menu* findMenu(HMENU menu);
// The item a position or command identifier names; searches sub-menus for a
// command (depth first) and reports the menu that holds it.
MenuItem* findItem(HMENU menu, UINT item, UINT flags, Menu** holder = nullptr,
                   int* position = nullptr);

// The mnemonic character of a menu text ("&File" -> 'f'), lower case, or 0.
char mnemonicOf(const std::string& text);
// The text as shown: "&&" becomes "&", a single "&" marks the next character.
std::string displayText(const std::string& text, int* underlined = nullptr);

// Text measuring and drawing used for frames and menus.
int menuTextWidth(const std::string& shownText);
constexpr int kMenuItemHeight = 19;
constexpr int kMenuSeparatorHeight = 9;
constexpr int kPopupBorder = 3;

// Lays out a window's menu bar (item rectangles in window coordinates).
void layoutMenuBar(HWND hwnd);
// Lays out a pop-up menu and answers its size.
SIZE layoutPopup(Menu* menu);

// The menu loop: from the menu bar (mouse at a screen point, or keyboard with
// a mnemonic character; 0 selects the first title) or for a pop-up menu.
void trackMenuBar(HWND hwnd, bool byMouse, POINT screenPt, int character);
UINT trackPopup(HMENU menu, UINT flags, int x, int y, HWND owner);

LRESULT menuPopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

void paintMenuBar(HWND hwnd);
void paintPopup(HWND popupWindow);
// The item selected by the running menu loop in a pop-up window or in a
// window's menu bar; -1 when none.
int trackedSelection(HWND window, bool menuBar);
bool selectable(const MenuItem& item);
bool enabled(const MenuItem& item);
std::string labelPart(const std::string& text);
std::string acceleratorPart(const std::string& text);
// The screen rectangle of an item of a window's menu bar or of an open pop-up.
bool menuBarItemScreenRect(HWND hwnd, int position, RECT& out);
// Open pop-up windows of the running menu loop, outermost first.
std::vector<HWND> openPopupWindows();
HMENU popupWindowMenu(HWND popupWindow);
void resetMenus();
void resetAccelerators();
void resetMenuLoop();

}  // namespace win::detail
