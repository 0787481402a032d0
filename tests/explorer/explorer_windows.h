#pragma once
// The windows the explorer plays on, found afresh at every step: the main
// window, the profile window, the window in front (a dialog, a message box,
// an editor) and the open pop-up menus.

#include <string>
#include <vector>

#include "platform/window/user_api.h"

namespace explorer {

enum class Front { Views, Menu, Dialog };

// What is in front now: a menu (dropped down, or a menu bar in menu mode),
// a dialog, or the views.
Front front();
// The frontmost window that is neither a pop-up menu nor one of the two
// views, or null.
win::HWND frontDialog();
// A window named in a step: "main", "mainc", "prof", "profc", "dlg".
win::HWND windowNamed(const std::string& name);
// The controls of a window (every descendant that is visible), depth first.
std::vector<win::HWND> controlsOf(win::HWND window);
std::string classOf(win::HWND h);
// The file selector is in front (it holds the name field and the folder list).
bool isFileSelector(win::HWND dialog);

}  // namespace explorer
