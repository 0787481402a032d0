#pragma once
// The toolkit's own debug log: "debug", else "debug.txt", else "debug.dat" in
// the user's state folder (never the current folder), created (or emptied) on
// first use and kept open for the rest of the run. When none can be created,
// writes are lost quietly.

#include <string_view>

namespace tk {

void DebugLogOpen();
void DebugLogWrite(std::string_view text);
void DebugLogLine(std::string_view text);
void DebugLogValue(std::string_view name, int value);

namespace testing {
// Closes the log so that the next write creates it anew (in the state
// folder of that moment).
void resetDebugLog();
}  // namespace testing

}  // namespace tk
