#pragma once
// The Export items of both windows' File menus: the profile window's text
// exports of the working profile, and the drawing exports of either window
// through the DXF, CGM and metafile drivers.

#include "shell/command_table.h"

namespace shell {

void addExportCommands(CommandTable& table);

// Draws the window (0 = main, else the profile window) into a DXF (8), CGM
// (9) or metafile (11) file chosen in the file selector. The drawing goes to
// a temporary file beside the chosen one and replaces it only when complete.
void exportDrawing(int window, int driver);

}  // namespace shell
