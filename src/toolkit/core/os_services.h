#pragma once
// The toolkit's routines for the program's process and surroundings: the
// command line, starting another program, environment variables, the user
// name, the warning beep, the stored file names and directories, system and
// drive information, the tick count, and the two start-up steps that fix the
// toolkit directory, the decimal separator and the temporary file names.

#include <string>
#include <string_view>

#include "toolkit/core/text_args.h"

namespace tk {

// What InfoFilename gives by kind.
enum FileNameKind : int {
    PrinterDumpFile = 1,
    HardcopyOutputFile = 2,
    CharsetFile = 3,
    CharsetDirectory = 5,
    ToolkitDirectoryName = 7,
    SystemDirectoryName = 8,
    StrokeFontFile = 9,
    TemporaryDirectoryName = 10,
    NewTemporaryFile = 11,
};

// Argument n of the command line; 0 is always the program's full path.
// Blank when n < 0 or there is no such argument.
void CommandLineArgument(int n, TextOut argument);
// The worker of CommandLineArgument: answers the number of arguments after the
// program name when argument n is never reached.
int CommandLineSplit(int n, TextOut argument);
// Ends the toolkit and this process and starts the command in its place; only
// a blank command returns (error 23).
void OsExecute(std::string_view command);
// "ON" and "OFF" switch the warning beeps; any other text beeps once.
void BeepSwitch(std::string_view text);
void InfoFilename(int kind, TextOut name);
std::string InfoFilenameText(int kind);
int SystemInfoQuery(int selector);
int SystemInfoValue(int selector);
void OsVariable(std::string_view name, TextOut value);
void OsUserName(TextOut name);
void TickCountQuery(int& milliseconds);
void ToolkitDirectoryInit();
void TemporaryFileNamesInit();

// A directory name ending in a separator: "/" for Linux-style names, "\"
// for names that already use backslashes.
std::string withSeparator(std::string_view directory);

}  // namespace tk
