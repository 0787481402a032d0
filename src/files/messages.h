#pragma once
// The message boxes of the file layer: the utility library's modal
// information box (OK) and warning box. The readers and writers only ever
// show a text and wait for OK, so one function object per kind is enough;
// the library's boxes are bound by default and tests install recorders.

#include <functional>
#include <string>
#include <string_view>

namespace files {

struct MessageBoxes {
    std::function<void(std::string_view)> information;
    std::function<void(std::string_view)> warning;
};

// The boxes in use; by default the library's WINMSG and WINWRN.
MessageBoxes& messageBoxes();
void resetMessageBoxes();

void showInformation(std::string_view text);
void showWarning(std::string_view text);

}  // namespace files
