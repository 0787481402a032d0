#pragma once
// File > Print of both windows: the map on the printer, or the profile's
// graph and report as the print selection asks.

#include "shell/command_table.h"

namespace shell {

void addPrintCommands(CommandTable& table);

}  // namespace shell
