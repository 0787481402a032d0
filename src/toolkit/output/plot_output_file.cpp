#include "toolkit/output/plot_output_file.h"

#include <map>
#include <string>

#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/device_protocol.h"

namespace tk {

namespace {

constexpr FileHandle kNoHandle = -1;

struct PlotFileState {
    std::map<int, FileHandle> handles;
    int lastWriteCount = 0;
    int osError = 0;
    bool failed = false;
    int nameLength = 0;
};

PlotFileState& state() {
    static PlotFileState s;
    return s;
}

void fail(int errorNumber, int osError) {
    ToolkitState& t = toolkitState();
    t.OsErrorCode = t.FileOsErrorCode = osError;
    t.ErrorCategory = 2;
    ReportLibraryError(errorNumber, "YYPROU");
    state().failed = true;
}

FileHandle handleOf(int unit) {
    auto found = state().handles.find(unit);
    return found == state().handles.end() ? kNoHandle : found->second;
}

void writeBytes(int unit, std::string_view bytes) {
    PlotFileState& s = state();
    const int count = static_cast<int>(bytes.size());
    int written = 0, error = 0;
    const FileHandle handle = handleOf(unit);
    if (handle != kNoHandle)
        Win32FileWriteBytes(handle, bytes.data(), count, count, written, error);
    else
        error = 6;  // an invalid handle, as the system answers for one never opened
    s.lastWriteCount = written;
    s.osError = error;
    if (written != count) fail(2, error != 0 ? error : 6);
}

}  // namespace

bool& plotFileFailed() {
    return state().failed;
}

int PlotFileLastWriteCount() {
    return state().lastWriteCount;
}

void PlotFileOpen(int unit) {
    PlotFileState& s = state();
    base::FixedString<260>& text = deviceTextBuffer();
    if (text.blank()) {
        s.osError = 0;
        s.handles.erase(unit);
        fail(1, 0);
        return;
    }
    const std::string name = text.str();
    s.nameLength = static_cast<int>(name.size());
    // The name goes to the system NUL-terminated; leading blanks stay in it.
    if (name.size() < text.size()) text[name.size()] = '\0';
    s.failed = false;
    FileHandle handle = kNoHandle;
    int error = 0;
    Win32FileOpen(name.c_str(), s.nameLength, 1, handle, error);
    s.osError = error;
    if (error != 0) {
        s.handles.erase(unit);
        fail(1, error);
        return;
    }
    s.handles[unit] = handle;
}

void YYPROU(int unit, std::string_view bytes) {
    writeBytes(unit, bytes);
}

void PlotFileWriteLine(int unit, std::string_view text) {
    std::string line(text);
    line += "\r\n";
    writeBytes(unit, line);
}

void PlotFileClose(int unit) {
    const FileHandle handle = handleOf(unit);
    if (handle != kNoHandle) Win32FileClose(handle);
    state().handles.erase(unit);
}

void PlotFileHandle(int unit, FileHandle& handle) {
    handle = handleOf(unit);
}

}  // namespace tk
