#pragma once
// Toolbars of the toolkit windows: up to four per window (0 top, 1 left,
// 2 right, 3 bottom), built from a bitmap and a button table with the same
// identifier. A button press arrives as a MenuSelect event; the tips come
// from the window's tooltip table, else from the string table.

#include <optional>
#include <string>

#include "platform/controls/common_controls_api.h"

namespace tk {

void MenuToolbar(int bitmapId, std::optional<int> window = {}, std::optional<int> position = {});

// Creates (or, with identifier 0, removes) the toolbar of a side. Result 0,
// or -1 when the resources are missing or the toolbar cannot be made.
// width and height become the client window's new size when the toolbar
// changed the client along its own direction, else -1.
int ToolbarCreate(int bitmapId, int window, int side, int& width, int& height);
// Puts the bars of a window in their z-order: status bar, toolbars 0-3.
void WindowBarsStack(int window);
bool WindowHasBars(int window);
// Answers a tooltip request of one of the toolbars.
void ToolbarTipAnswer(win::NMTTDISPINFOA& request);
// Stores up to 79 characters as a button's tip; a text of length 1 frees
// its entry. -1 when no toolbar of the current window has the button.
int ToolbarTipSet(int command, const std::string& text, int length);

}  // namespace tk
