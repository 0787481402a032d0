#pragma once
// Where the program keeps the files it writes for itself alone (debug logs):
// the XDG state folder, never the current folder, which is the user's.

#include <string>
#include <string_view>

namespace win {

// $XDG_STATE_HOME/pelk-gm (an absolute setting only), else
// ~/.local/state/pelk-gm, else (no home) pelk-gm in the temporary folder.
std::string userStateFolder();

// A file of that folder, which is made with its parents when missing.
std::string userStateFile(std::string_view name);

}  // namespace win
