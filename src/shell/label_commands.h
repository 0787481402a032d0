#pragma once
// The commands that add, edit and remove the labels of the profile window:
// New Label, Edit and Delete Label, the arrow, Delete All Labels, and the
// property labels of a body and of the background.

#include "shell/command_table.h"

namespace shell {

void addLabelCommands(CommandTable& table);

}  // namespace shell
