#pragma once
// Help > Contents (the main window's opens the help's contents, the profile
// window's its profile-window topic) and Help > About.

#include <string>

#include "shell/command_table.h"

namespace shell {

void addHelpCommands(CommandTable& table);

// The help file's name: the program's path, upper-cased, with ".EXE" made
// "-GM.HLP" (a name without ".EXE", as programs are named here, gets
// "-GM.HLP", or ".HLP" when it ends in "-GM" already). The web page of the
// same name is what the viewer shows.
std::string helpFileName();

// The help topic of the profile window.
inline constexpr int kProfileWindowTopic = 1011;

}  // namespace shell
