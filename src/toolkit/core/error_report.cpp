#include "toolkit/core/error_report.h"

#include <array>
#include <cstdio>
#include <string>

#include "toolkit/core/debug_log.h"
#include "toolkit/core/error_texts.h"
#include "toolkit/core/message_box.h"
#include "toolkit/core/os_wrappers.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"

namespace tk {
namespace {

constexpr std::size_t kFieldLength = 200;

// The 200-character work field in which a report is composed.
class ReportField {
  public:
    ReportField() { chars_.fill(' '); }
    // Writes text from 1-based position pos on, cut at the field's end.
    void put(std::size_t pos, std::string_view text) {
        for (std::size_t i = 0; i < text.size() && pos + i <= kFieldLength; ++i)
            chars_[pos + i - 1] = text[i];
    }
    std::size_t length() const {
        std::size_t n = kFieldLength;
        while (n > 0 && chars_[n - 1] == ' ')
            --n;
        return n;
    }
    // Characters from..to, 1-based and inclusive; empty when to < from.
    std::string range(std::size_t from, std::size_t to) const {
        if (to < from || from < 1) return {};
        to = std::min(to, kFieldLength);
        return std::string(chars_.data() + from - 1, to - from + 1);
    }

  private:
    std::array<char, kFieldLength> chars_;
};

bool isInternalName(std::string_view name) {
    if (name.size() < 2) return false;
    std::string_view two = name.substr(0, 2);
    return two == "XX" || two == "xx" || two == "YY" || two == "yy";
}

// The number right-aligned in four characters; asterisks when it does not fit.
std::string fourDigits(int n) {
    char buf[16];
    int len = std::snprintf(buf, sizeof buf, "%4d", n);
    return len > 4 ? std::string("****") : std::string(buf);
}

std::string osErrorText(int code) {
    std::array<char, 300> text;
    ErrorTextLookup(code, TextOut(text), 2);
    return std::string(trimRight(std::string_view(text.data(), text.size())));
}

struct ComposedReport {
    ReportField field;
    std::size_t prefixEnd = 0;  // P
    std::size_t headEnd = 0;    // H
    std::size_t length = 0;     // L
};

ComposedReport compose(int code, std::string_view name) {
    const ToolkitState& s = toolkitState();
    ComposedReport r;
    if (isInternalName(name)) {
        r.field.put(1, "Internal routine:");
        r.field.put(18, name.substr(0, 183));
    } else {
        r.field.put(1, "Routine:");
        r.field.put(9, name.substr(0, 192));
    }
    r.prefixEnd = r.field.length();
    r.field.put(r.prefixEnd + 1, " Error=" + fourDigits(s.LastErrorNumber) + ":");
    r.headEnd = r.prefixEnd + 12;
    r.field.put(r.headEnd + 1, errorTableText(code));

    std::size_t textLength = r.field.length();
    bool fileDetail = s.ErrorCategory == 2 && (code == 1 || code == 2);
    if ((code == 1044 || code == 13 || fileDetail) && textLength < 198) {
        std::string detail = code == 1044 ? std::string(zlibErrorText(s.OsErrorCode))
                             : code == 13 ? osErrorText(s.OsErrorCode)
                                          : osErrorText(s.FileOsErrorCode);
        r.field.put(textLength + 1, ":");
        r.field.put(textLength + 3, detail);
    }
    r.length = r.field.length();
    return r;
}

void deliver(int mode, const ComposedReport& r) {
    std::string text = r.field.range(1, r.length);
    switch (mode) {
        case 1:
            std::printf(" %s\n", text.c_str());
            std::fflush(stdout);
            break;
        case 2:
            ErrorTextShow(text);
            break;
        case 3:
            if (seams().rootStatusText) seams().rootStatusText(text);
            break;
        case 4: {
            std::string box = r.field.range(1, r.prefixEnd) + '\r' +
                              r.field.range(r.prefixEnd + 2, r.headEnd - 1) + '\r' +
                              r.field.range(r.headEnd + 1, r.length);
            MsgBox(1, 3, 1, box, "Library Error");
            if (toolkitState().MessageBoxResult == 0) AbnormalExit(" ", FatalExitCode);
            break;
        }
        default:
            break;
    }
}

}  // namespace

void ErrorNumberStore(int errorNumber) {
    toolkitState().LastErrorNumber = errorNumber;
}

void SetErrorReportMode(int mode) {
    if (mode >= 0 && mode <= 4) toolkitState().ErrorReportMode = mode;
}

void ReportLibraryError(int errorNumber, std::string_view routineName) {
    ToolkitState& s = toolkitState();
    ErrorNumberStore(errorNumber);
    s.LastErrorRoutine.assign(routineName);
    if (s.ErrorReportMode <= 0) return;
    // Silent while reporting, so that a failure inside the report is not
    // reported again.
    const int mode = s.ErrorReportMode;
    const int number = s.LastErrorNumber;
    s.ErrorReportMode = 0;
    deliver(mode, compose(errorNumber, routineName));
    s.ErrorReportMode = mode;
    s.LastErrorNumber = number;
    s.LastErrorRoutine.assign(routineName);
}

void ErrorTextLookup(int code, TextOut text, int mode) {
    switch (mode) {
        case 1:
            putText(text, errorTableText(code));
            break;
        case 2: {
            std::array<char, 300> buffer{};
            if (code != 0) Win32ErrorText(code, buffer.data(), static_cast<int>(buffer.size()));
            putText(text, fromOs(buffer.data(), buffer.size()));
            break;
        }
        case 3:
            putText(text, zlibErrorText(code));
            break;
        default:
            break;
    }
}

void ErrorTextShow(std::string_view text) {
    DebugLogLine(trimRight(text));
}

}  // namespace tk
