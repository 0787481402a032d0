#pragma once
// The toolkit's single process-wide state block. Each field belongs to the
// part of the toolkit that sets it; tests reset the whole block between cases.

#include <string>

namespace tk {

struct ToolkitState {
    // Error reporting.
    int ErrorReportMode = 0;  // 0 silent, 1 console, 2 debug file, 3 status bar, 4 box
    int LastErrorNumber = 0;
    std::string LastErrorRoutine;
    int ErrorCategory = 0;
    int FileOsErrorCode = 0;
    int OsErrorCode = 0;
    int MessageBoxResult = 0;

    // Number conversion: a decimal separator other than "." is used only in mode 1.
    int DecimalSeparatorMode = 0;
    char DecimalSeparator = '.';

    void reset() { *this = ToolkitState{}; }
};

ToolkitState& toolkitState();

}  // namespace tk
