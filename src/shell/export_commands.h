#pragma once
// The Export items of both windows' File menus: the profile window's text
// exports of the working profile, and the drawing exports of either window
// through the DXF, CGM, metafile, EPS, SVG, HP-GL and HP-GL/2 drivers.

#include "shell/command_table.h"

namespace shell {

void addExportCommands(CommandTable& table);

// Draws the window (0 = main, else the profile window) into a file of a
// drawing driver (8 DXF, 9 CGM, 11 metafile, 2 EPS, 3 SVG, 1 HP-GL, 12
// HP-GL/2) chosen in the file selector. The drawing goes to a temporary file
// beside the chosen one and replaces it only when complete.
void exportDrawing(int window, int driver);

}  // namespace shell
