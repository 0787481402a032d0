#pragma once
// The one output file of every hardcopy driver that writes a file. The
// file is the one named in the device text buffer when the driver opens it;
// failures are reported under "YYPROU" and remembered in plotFileFailed().

#include <string_view>

#include "toolkit/core/binary_file_io.h"

namespace tk {

// Creates (or replaces) the file named in the device text buffer.
void PlotFileOpen(int unit);
// Writes the bytes unchanged at the end of the file.
void YYPROU(int unit, std::string_view bytes);
// Writes the text and CR LF in one write.
void PlotFileWriteLine(int unit, std::string_view text);
void PlotFileClose(int unit);
void PlotFileHandle(int unit, FileHandle& handle);

// True after a failed open or write, false after a successful open.
bool& plotFileFailed();
// The bytes the last write wrote.
int PlotFileLastWriteCount();

}  // namespace tk
