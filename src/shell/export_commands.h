#pragma once
// The Export items of both windows' File menus: the profile window's text
// exports of the working profile, and the drawing exports of either window
// through the DXF, CGM, metafile, EPS, SVG, HP-GL and HP-GL/2 drivers and
// as BMP, PNG and PCX images of the window's pixels.

#include <string>

#include "shell/command_table.h"

namespace shell {

void addExportCommands(CommandTable& table);

// Draws the window (0 = main, else the profile window) into a file of the
// format of an Export command (CMD_EXPORTDXF ... CMD_EXPORTPCX) chosen in the
// file selector. The drawing goes to a temporary file beside the chosen one
// and replaces it only when complete.
void exportDrawing(int window, int command);

// The name chosen in the file selector (the toolkit's flags: 47 to save, 42
// to open), or empty when it was cancelled or left blank.
std::string chooseFileName(const char* filter, int flags, const char* title);

}  // namespace shell
