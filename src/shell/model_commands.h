#pragma once
// The commands of the vertex, edge, body, background and box pop-ups that
// change the working profile's model (free flags, deletion, insertion,
// hiding, pivots, new bodies and layers, splitting), and New Model and
// New Body / New Layer of the profile window's File menu.

#include "shell/command_table.h"

namespace shell {

void addModelCommands(CommandTable& table);

// Set Pivot Location (2002).
void setPivotLocation(int window);

}  // namespace shell
