#pragma once
// Every toolkit routine reports a failure by its error number and its own
// public name; the reporter records it for callers that test LastErrorNumber.

#include <string_view>

namespace tk {

void ReportLibraryError(int errorNumber, std::string_view routineName);

}  // namespace tk
