#pragma once
// View > Image File: a BMP, PNG or PCX file (a window exported as an image,
// say) shown in a bitmap viewer window of its own.

#include "shell/command_table.h"

namespace shell {

void addImageViewerCommands(CommandTable& table);

// Asks for an image file and opens a viewer window on it; a file that
// cannot be read is reported and opens nothing. Returns the viewer's window
// number, or 0.
int showImageFile();

}  // namespace shell
