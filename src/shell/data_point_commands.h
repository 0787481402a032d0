#pragma once
// The commands of the data-point pop-ups: masking, unmasking and deleting
// one station or every station inside a right-dragged box.

#include "shell/command_table.h"

namespace shell {

void addDataPointCommands(CommandTable& table);

}  // namespace shell
