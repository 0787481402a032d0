#pragma once
// Helpers that find windows and controls the way a tester describes them and
// read what a user would see of them.

#include <string>
#include <vector>

#include "platform/window/user_api.h"

namespace win::robot {

// Top-level windows, front to back, that are visible.
std::vector<HWND> topLevelWindows();
HWND findTopLevelByTitle(const std::string& title);
HWND findTopLevelByClass(const std::string& className);
// A descendant by control identifier, class name or text (first in z-order,
// depth first); null when none.
HWND findDescendantById(HWND parent, int id);
HWND findDescendantByClass(HWND parent, const std::string& className);
HWND findDescendantByText(HWND parent, const std::string& text);

std::string windowText(HWND hwnd);

// What a user sees of a window or control.
struct WindowState {
    bool exists = false;
    bool visible = false;
    bool enabled = false;
    bool focused = false;
    bool active = false;
    int checked = 0;  // BM_GETCHECK for buttons, 0 otherwise
    RECT rect{};      // screen
};
WindowState stateOf(HWND hwnd);
std::string className(HWND hwnd);
RECT screenRect(HWND hwnd);
POINT centreOf(HWND hwnd);
POINT centreOf(const RECT& r);
// Screen rectangle of a menu-bar title, or of an item of an open pop-up menu.
bool menuBarItemRect(HWND window, const std::string& title, RECT& out);
bool openMenuItemRect(const std::string& label, RECT& out);
// The open pop-up menus of the running menu loop, outermost first.
std::vector<HWND> openPopupMenus();

}  // namespace win::robot
