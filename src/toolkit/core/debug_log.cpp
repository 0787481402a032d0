#include "toolkit/core/debug_log.h"

#include <string>

#include "platform/kernel/files.h"
#include "platform/kernel/user_folders.h"

namespace tk {
namespace {

struct DebugLog {
    bool tried = false;
    win::HANDLE file = win::INVALID_HANDLE_VALUE;
};

DebugLog& debugLog() {
    static DebugLog log;
    return log;
}

}  // namespace

void DebugLogOpen() {
    DebugLog& log = debugLog();
    if (log.tried) return;
    log.tried = true;
    for (const char* name : {"debug", "debug.txt", "debug.dat"}) {
        const std::string path = win::userStateFile(name);
        log.file = win::CreateFileA(path.c_str(), win::GENERIC_WRITE, win::FILE_SHARE_READ, nullptr,
                                    win::CREATE_ALWAYS, win::FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log.file != win::INVALID_HANDLE_VALUE) return;
    }
}

void DebugLogWrite(std::string_view text) {
    DebugLogOpen();
    DebugLog& log = debugLog();
    if (log.file == win::INVALID_HANDLE_VALUE) return;
    std::string line(text);
    line += "\r\n";
    win::DWORD written = 0;
    win::WriteFile(log.file, line.data(), static_cast<win::DWORD>(line.size()), &written, nullptr);
}

void DebugLogLine(std::string_view text) {
    DebugLogWrite(text);
}

void DebugLogValue(std::string_view name, int value) {
    DebugLogWrite(std::string(name) + "=" + std::to_string(value));
}

namespace testing {
void resetDebugLog() {
    DebugLog& log = debugLog();
    if (log.file != win::INVALID_HANDLE_VALUE) win::CloseHandle(log.file);
    log = DebugLog{};
}
}  // namespace testing

}  // namespace tk
