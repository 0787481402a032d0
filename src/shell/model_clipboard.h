#pragma once
// The model clipboard of the Edit menus: Copy Model keeps a copy of the
// working profile's model, Paste Model puts it in place of the working
// profile's model, and Paste Model to All (main window, after its
// confirmation) in place of the model of every profile of the database.

#include "shell/command_table.h"

namespace shell {

void addModelClipboardCommands(CommandTable& table);

}  // namespace shell
