#pragma once
// Menus of the toolkit windows: attaching a menu (with its accelerators and
// help texts) to a window, switching items and the toolbar buttons of the
// same command on and off, deleting items, floating pop-up menus, and the
// rarely used members of the family (item texts, states, help texts,
// inserted items). A chosen item arrives as a MenuSelect event.

#include <optional>
#include <string>

#include "platform/window/menu_api.h"

namespace tk {

// MenuItemStateKind.
enum MenuItemStateKind { MenuStateEnabled = 1, MenuStateChecked = 2 };

void MenuAttach(int menuId, std::optional<int> window = {});
void MenuSetState(int command, int kind, int value);
void MenuItemDelete(int command);
void MenuFloating(int menuId, int x, int y, std::optional<int> flags = {});

// Members that the program does not call; -1 when the item is not found.
int MenuItemTextSet(int command, const std::string& text);
// kind 1: 1 when enabled, kind 2: 1 when checked.
int MenuItemStateGet(int command, int kind, int& value);
int MenuItemHelpSet(int command, const std::string& text);
int MenuItemInsert(int reference, int offset, int newCommand, const std::string& text);

// The window side. Results: 0 done, -1 the menu could not be loaded, -2 the
// window cannot carry a menu.
int MenuSetForWindow(int menuId, int window);
// value: 1 enable or check, 0 grey or uncheck; becomes -1 when neither the
// menu nor a toolbar has the command.
void MenuItemEnable(int command, int& value);
void MenuItemCheck(int command, int& value);
// id becomes -1 when the item is not found.
void MenuItemDeleteById(int& command);
// 0 shown, -1 the menu could not be loaded.
int PopupMenuTrack(int menuId, int x, int y, bool screen);
void MenuBarRedrawIfTop(int command, int window);
// Frees the item texts of the window's menu and forgets the menu.
void MenuFreeItemData(int window);
// The window whose menu and toolbars the state routines change: the
// current window when it has a menu or a toolbar, else window 0.
int MenuTargetWindow();

// Binds the window half's menu and toolbar hooks; toolkit start-up calls it.
void MenuBarsBind();

}  // namespace tk
