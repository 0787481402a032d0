#include "toolkit/output/plot_file_bytes.h"

#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/output/plot_output_file.h"

namespace tk {

namespace {

bool writeAll(FileHandle handle, const void* bytes, int count) {
    int written = 0, error = 0;
    if (count > 0) Win32FileWriteBytes(handle, bytes, count, count, written, error);
    if (written == count) return true;
    ToolkitState& t = toolkitState();
    t.ErrorCategory = 2;
    t.FileOsErrorCode = error != 0 ? error : 6;
    ReportLibraryError(2, "YYPRBU");
    plotFileFailed() = true;
    return false;
}

}  // namespace

void YYPRBU(FileHandle handle, const void* bytes, int count, bool addLineEnd) {
    static const char kLineEnd[2] = {13, 10};
    if (writeAll(handle, bytes, count) && addLineEnd) writeAll(handle, kLineEnd, 2);
}

}  // namespace tk
