#include "toolkit/dialogs/value_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "base/fortran_format.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/string_conversion.h"
#include "toolkit/core/toolkit_state.h"

namespace tk {

namespace {

// The buffer becomes `content` (cut to the buffer), a NUL when there is room
// for one, and blanks.
void putTerminated(std::span<char> text, std::string_view content) {
    std::size_t n = std::min(text.size(), content.size());
    std::copy_n(content.begin(), n, text.begin());
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
    if (n < text.size()) text[n] = '\0';
}

std::string_view upToLastNonBlank(std::span<const char> text) {
    std::size_t n = text.size();
    while (n > 0 && text[n - 1] == ' ')
        --n;
    return std::string_view(text.data(), n);
}

void writeNumber(const std::optional<std::string>& field, std::span<char> text,
                 std::string_view routine, std::string_view failure, bool real) {
    if (!field || field->size() > text.size()) {
        putTerminated(text, failure);
        ReportLibraryError(kNumericToStringError, routine);
        return;
    }
    std::string result = *field;
    const ToolkitState& s = toolkitState();
    if (real && s.DecimalSeparatorMode == 1)
        std::replace(result.begin(), result.end(), '.', s.DecimalSeparator);
    int first = FirstNonBlank(result, static_cast<int>(result.size()));
    std::string_view trimmed =
        first == 0
            ? std::string_view()
            : upToLastNonBlank(std::span<const char>(
                  result.data() + first - 1, result.size() - static_cast<std::size_t>(first - 1)));
    putTerminated(text, trimmed);
}

// Nothing a quiet conversion does may show or stay behind in the error state.
class QuietErrors {
  public:
    QuietErrors() : saved_(toolkitState()) {
        toolkitState().ErrorReportMode = 0;
        toolkitState().LastErrorNumber = 0;
    }
    ~QuietErrors() {
        ToolkitState& s = toolkitState();
        s.ErrorReportMode = saved_.ErrorReportMode;
        s.LastErrorNumber = saved_.LastErrorNumber;
        s.LastErrorRoutine = saved_.LastErrorRoutine;
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

    static bool failed() { return toolkitState().LastErrorNumber != 0; }

  private:
    ToolkitState saved_;
};

// The characters before the first NUL, or up to the last non-blank.
std::string_view numberText(std::string_view text) {
    std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) return text.substr(0, nul);
    return upToLastNonBlank(std::span<const char>(text.data(), text.size()));
}

// The reader takes a sign, a decimal point or an exponent alone ("-", ".",
// "E5") for 0 without complaint; a number needs a digit before its exponent.
bool hasMantissaDigit(std::string_view text) {
    for (char c : text) {
        if (c >= '0' && c <= '9') return true;
        if (c == 'E' || c == 'e' || c == 'D' || c == 'd') return false;
    }
    return false;
}

void terminateAfterLastNonBlank(std::span<char> text) {
    std::string content(upToLastNonBlank(text));
    putTerminated(text, content);
}

}  // namespace

int TruncateToInteger(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(std::trunc(v));
}

void yydbl2st(double value, std::span<char> text, std::string_view format) {
    writeNumber(base::formatReal(value, format), text, "yydbl2st", "**********", true);
}

void yyrea2st(float value, std::span<char> text, std::string_view format) {
    writeNumber(base::formatReal(value, format), text, "yyrea2st", "**********", true);
}

void yyint2st(int value, std::span<char> text) {
    writeNumber(base::formatInteger(value, kDefaultIntegerFormat), text, "yyint2st", "***********",
                false);
}

void TextToDoubleQuiet(double& value, std::string_view text) {
    QuietErrors quiet;
    StrToReal(numberText(text), value);
}

void TextToDoubleChecked(double& value, int& ok, std::string_view text) {
    QuietErrors quiet;
    const std::string_view number = numberText(text);
    StrToReal(number, value);
    ok = QuietErrors::failed() || !hasMantissaDigit(number) ? 0 : 1;
}

void TextToRealQuiet(float& value, std::string_view text) {
    QuietErrors quiet;
    TextToRealSingle(numberText(text), value);
}

void TextToIntegerQuiet(int& value, std::string_view text) {
    QuietErrors quiet;
    float single = 0.0f;
    TextToRealSingle(numberText(text), single);
    value = TruncateToInteger(single);
}

void IntegerTextReformat(std::span<char> text) {
    QuietErrors quiet;
    double value = 0.0;
    StrToReal(numberText(std::string_view(text.data(), text.size())), value);
    IntegerToString(TruncateToInteger(value), text, kDefaultIntegerFormat);
    JustifyString(text, "L");
    terminateAfterLastNonBlank(text);
}

void RealTextReformat(std::span<char> text, std::string_view format) {
    QuietErrors quiet;
    float value = 0.0f;
    TextToRealSingle(numberText(std::string_view(text.data(), text.size())), value);
    RealToStr(value, text, format);
    JustifyString(text, "L");
    terminateAfterLastNonBlank(text);
}

void DoubleTextReformat(std::span<char> text, std::string_view format) {
    QuietErrors quiet;
    double value = 0.0;
    StrToReal(numberText(std::string_view(text.data(), text.size())), value);
    DoubleToStr(value, text, format);
    JustifyString(text, "L");
    terminateAfterLastNonBlank(text);
}

}  // namespace tk
