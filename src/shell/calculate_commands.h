#pragma once
// The commands of the Calculate menu and the model check: the forward
// calculation, one or several inversion steps (the latter in the progress
// dialog with its Cancel), removing the regional field, and the switches of
// automatic recalculation and pivot rotation.

#include "shell/command_table.h"

namespace shell {

void addCalculateCommands(CommandTable& table);

}  // namespace shell
