#pragma once
// Every toolkit routine reports a failure by its error number and its own
// public name. The reporter records the number and, by the report mode, stays
// silent or shows a composed text on the console, in the debug log, in the
// root window's status bar or in the "Library Error" box, from which the user
// may end the program.

#include <string_view>

#include "toolkit/core/text_args.h"

namespace tk {

void ReportLibraryError(int errorNumber, std::string_view routineName);
// 0 silent, 1 console, 2 debug log, 3 status bar, 4 message box; other
// values are ignored.
void SetErrorReportMode(int mode);
void ErrorNumberStore(int errorNumber);
// Mode 1: the toolkit's text of an error number; 2: the operating system's
// text of an OS error code; 3: the zlib text of a zlib return code. Other
// modes leave the output as it is.
void ErrorTextLookup(int code, TextOut text, int mode = 1);
// Appends the text, without trailing blanks, as one line to the debug log.
void ErrorTextShow(std::string_view text);

// The exit code with which the program ends when the user cancels the
// "Library Error" box or another fatal toolkit error stops it.
constexpr int FatalExitCode = 32;

}  // namespace tk
