#include "toolkit/core/error_report.h"

#include "toolkit/core/toolkit_state.h"

namespace tk {

ToolkitState& toolkitState() {
    static ToolkitState state;
    return state;
}

void ReportLibraryError(int errorNumber, std::string_view routineName) {
    ToolkitState& s = toolkitState();
    s.LastErrorNumber = errorNumber;
    s.LastErrorRoutine.assign(routineName);
}

}  // namespace tk
