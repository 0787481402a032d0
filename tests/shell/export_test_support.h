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

// The exit status of a reader run on a file, its output in `output`.
inline int readerStatus(const std::string& command, std::string& output) {
    output.clear();
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) return -1;
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) output.append(buf, n);
    return ::pclose(p);
}

}  // namespace shell::test
