#pragma once
// The File > Export steps of the drawing and image export journeys.

#include <functional>
#include <string>

#include "program_test_support.h"

namespace shell::test {

// Picks the item of the window's File > Export menu and types the name into
// the file selector titled TITLE.
inline void exportFrom(Script& s, std::function<win::HWND()> window, const std::string& item,
                       const std::string& title, const std::string& name, bool replace = false) {
    clickMenuTitle(s, window, "File");
    s.clickMenuItem("Export");
    s.clickMenuItem(item);
    s.check([title] { ASSERT_TRUE(dialogTitled(title)) << title; });
    s.chord({win::VK_CONTROL, 'A'}).text(name).key(win::VK_RETURN);
    if (replace) s.key(win::VK_RETURN);  // "Do you want to replace it?" Yes
    // The first click after the selector only brings the main window back.
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
}

}  // namespace shell::test
