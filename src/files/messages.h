#pragma once
// The message boxes of the file layer: the utility library's modal
// information box (OK), warning box and yes/no question. One function object
// per kind; the library's boxes are bound by default and tests install
// recorders.

#include <functional>
#include <string>
#include <string_view>

namespace files {

struct MessageBoxes {
    std::function<void(std::string_view)> information;
    std::function<void(std::string_view)> warning;
    std::function<bool(std::string_view)> question;  // true for Yes
};

// The boxes in use; by default the library's WINMSG and WINWRN.
MessageBoxes& messageBoxes();
void resetMessageBoxes();

void showInformation(std::string_view text);
void showWarning(std::string_view text);
// False for No (and when no box can be asked).
bool askYesNo(std::string_view text);

}  // namespace files
