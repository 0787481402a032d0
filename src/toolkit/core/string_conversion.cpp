#include "toolkit/core/string_conversion.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string>

#include "base/fortran_decimal.h"
#include "base/fortran_format.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/graphics_state.h"

namespace tk {

namespace {

int clampLength(std::size_t size, int length) {
    if (length <= 0) return 0;
    return static_cast<int>(std::min<std::size_t>(size, static_cast<std::size_t>(length)));
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

void fill(std::span<char> text, std::string_view content) {
    std::size_t n = std::min(text.size(), content.size());
    std::copy_n(content.begin(), n, text.begin());
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
}

// Writes a formatted field into the text, or reports error 18 and leaves ten
// asterisks when the engine refuses the format, the text is too short, or the
// value did not fit (asterisks the format itself does not hold).
void formatInto(const std::optional<std::string>& field, std::span<char> text,
                NumberFormatText format, std::string_view routine, bool real) {
    bool ok = field && field->size() <= text.size();
    if (ok && format.find('*') == std::string_view::npos && field->find('*') != std::string::npos)
        ok = false;
    if (!ok) {
        fill(text, "**********");
        ReportLibraryError(kNumericToStringError, routine);
        return;
    }
    fill(text, *field);
    const ToolkitState& s = toolkitState();
    if (real && s.DecimalSeparatorMode == 1)
        std::replace(text.begin(), text.end(), '.', s.DecimalSeparator);
}

bool isDecimalPoint(char c) {
    const ToolkitState& s = toolkitState();
    return c == '.' || c == ',' || (s.DecimalSeparatorMode == 1 && c == s.DecimalSeparator);
}

// One field of a real number text: its sign and digits around the point.
struct RealField {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    bool isZero() const {
        return (integerDigits + fractionDigits).find_first_not_of('0') == std::string::npos;
    }
};

// Checks and splits one field; the error number, or 0.
int parseField(std::string_view field, bool exponentField, RealField& out) {
    std::size_t point = std::string_view::npos;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (!isDecimalPoint(field[i])) continue;
        if (exponentField) return kInvalidCharacter;
        if (point != std::string_view::npos) return kTwoDecimalPoints;
        point = i;
    }
    std::size_t i = 0;
    if (!field.empty() && (field[0] == '-' || field[0] == '+')) {
        out.negative = field[0] == '-';
        i = 1;
    }
    for (std::size_t k = i; k < field.size(); ++k)
        if (!isDigit(field[k]) && k != point) return kInvalidCharacter;
    std::size_t end = point == std::string_view::npos ? field.size() : point;
    out.integerDigits = std::string(field.substr(i, end - i));
    if (point != std::string_view::npos) out.fractionDigits = std::string(field.substr(point + 1));
    return 0;
}

bool tooManyDigits(const RealField& f, int limit) {
    return static_cast<int>(f.integerDigits.size()) > limit + 1;
}

// The position (0-based, within the word) of the exponent marker, or npos.
std::size_t exponentMarker(std::string_view word, std::string_view letters) {
    for (char letter : letters) {
        std::size_t x = word.find(letter);
        if (x != std::string_view::npos) return x;
    }
    if (word.size() >= 4) {
        std::size_t wanted = word.size() - 4;  // three characters before the end
        for (char sign : {'+', '-'}) {
            std::size_t x = word.find(sign);
            if (x != std::string_view::npos && x > 0 && x == wanted) return x;
        }
    }
    return std::string_view::npos;
}

double fieldValue(const RealField& f) {
    std::optional<double> v =
        base::decimalToDouble(f.negative, f.integerDigits + f.fractionDigits,
                              -static_cast<long long>(f.fractionDigits.size()));
    return v ? *v : HUGE_VAL;
}

// The common body of the real parsers: the value, or the error number.
struct RealResult {
    double value = 0.0;
    int error = 0;
};

RealResult parseReal(std::string_view text, int limit, std::string_view letters) {
    int first = 0, last = 0;
    NonBlankRange(text, static_cast<int>(text.size()), first, last);
    if (first == 0) return {0.0, kNoSubstring};
    std::string_view word = text.substr(static_cast<std::size_t>(first - 1),
                                        static_cast<std::size_t>(last - first + 1));
    std::size_t x = exponentMarker(word, letters);
    std::string_view mantissaText = word.substr(0, x);
    RealField mantissa;
    if (int e = parseField(mantissaText, false, mantissa)) return {0.0, e};
    if (tooManyDigits(mantissa, limit)) return {0.0, kNumberTooLarge};
    const std::string allDigits = mantissa.integerDigits + mantissa.fractionDigits;
    const auto fractionCount = static_cast<long long>(mantissa.fractionDigits.size());
    if (x == std::string_view::npos) {
        std::optional<double> v =
            base::decimalToDouble(mantissa.negative, allDigits, -fractionCount);
        if (!v) return {0.0, kNumberTooLarge};
        return {*v, 0};
    }
    bool signAtMarker = word[x] == '+' || word[x] == '-';
    std::string_view exponentText = word.substr(signAtMarker ? x : x + 1);
    RealField exponent;
    if (int e = parseField(exponentText, true, exponent)) return {0.0, e};
    if (mantissa.isZero()) return {0.0, 0};
    if (tooManyDigits(exponent, limit)) return {0.0, kNumberTooLarge};
    // The decimal exponent of the number once the mantissa is brought to a
    // magnitude of about 1 to 100 decides the range.
    double m = fieldValue(mantissa);
    if (!std::isfinite(m)) return {0.0, kNumberTooLarge};
    if (m == 0.0) return {0.0, 0};  // digits too far below the point for a double
    double t = std::trunc(std::log10(std::fabs(m)) - 1.0);
    double exponentValue = std::trunc(fieldValue(exponent));
    if (!std::isfinite(exponentValue)) return {0.0, exponent.negative ? 0 : kNumberTooLarge};
    double decimalExponent = exponentValue + t;
    if (decimalExponent > limit) return {0.0, kNumberTooLarge};
    if (decimalExponent < -limit) return {0.0, 0};
    auto power = static_cast<long long>(exponentValue);
    std::optional<double> v =
        base::decimalToDouble(mantissa.negative, allDigits, power - fractionCount);
    if (!v) return {0.0, kNumberTooLarge};
    return {*v, 0};
}

}  // namespace

void IntegerToString(int value, std::span<char> text, NumberFormatText format) {
    formatInto(base::formatInteger(value, format), text, format, "IntegerToString", false);
}

void RealToStr(float value, std::span<char> text, NumberFormatText format) {
    formatInto(base::formatReal(value, format), text, format, "RealToStr", true);
}

void DoubleToStr(double value, std::span<char> text, NumberFormatText format) {
    formatInto(base::formatReal(value, format), text, format, "DoubleToStr", true);
}

void JustifyString(std::span<char> text, std::string_view mode) {
    const int length = static_cast<int>(text.size());
    int first = 0;
    while (first < length && text[static_cast<std::size_t>(first)] == ' ')
        ++first;
    if (first == length) return;
    int last = length - 1;
    while (text[static_cast<std::size_t>(last)] == ' ')
        --last;
    const int partLength = last - first + 1;
    if (partLength == length) return;
    int start;
    if (OptionLetterPresent(mode, 'L'))
        start = 0;
    else if (OptionLetterPresent(mode, 'R'))
        start = length - partLength;
    else
        start = (length - partLength) / 2;
    if (start == first) return;
    // std::copy and copy_backward move forward and backward as the overlap needs.
    auto from = text.begin() + first;
    if (start < first)
        std::copy(from, from + partLength, text.begin() + start);
    else
        std::copy_backward(from, from + partLength, text.begin() + start + partLength);
    std::fill(text.begin(), text.begin() + start, ' ');
    std::fill(text.begin() + start + partLength, text.end(), ' ');
}

void StrToInteger(std::string_view text, int& value) {
    value = 0;
    int first = 0, last = 0;
    NonBlankRange(text, static_cast<int>(text.size()), first, last);
    if (first == 0) {
        ReportLibraryError(kNoSubstring, "StrToInteger");
        return;
    }
    std::string_view word = text.substr(static_cast<std::size_t>(first - 1),
                                        static_cast<std::size_t>(last - first + 1));
    bool negative = word[0] == '-';
    if (word[0] == '-' || word[0] == '+') word.remove_prefix(1);
    for (char c : word) {
        if (!isDigit(c)) {
            ReportLibraryError(kInvalidCharacter, "StrToInteger");
            return;
        }
    }
    if (word.size() > 10 || (word.size() == 10 && word[0] > '2')) {
        ReportLibraryError(kNumberTooLarge, "StrToInteger");
        return;
    }
    long long sum = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        long long term = (word[i] - '0');
        for (std::size_t k = i + 1; k < word.size(); ++k)
            term *= 10;
        if (2147483647LL - sum < term) {
            ReportLibraryError(kNumberTooLarge, "StrToInteger");
            return;
        }
        sum += term;
    }
    value = static_cast<int>(negative ? -sum : sum);
}

void StrToReal(std::string_view text, double& value) {
    RealResult r = parseReal(text, kConversionLimitDouble, "EeDd");
    value = r.value;
    if (r.error != 0) {
        value = 0.0;
        ReportLibraryError(r.error, "StrToReal");
    }
}

void TextToRealSingle(std::string_view text, float& value) {
    RealResult r = parseReal(text, kConversionLimitSingle, "Ee");
    if (r.error == 0 && std::fabs(r.value) > static_cast<double>(FLT_MAX))
        r.error = kNumberTooLarge;
    value = r.error == 0 ? static_cast<float>(r.value) : 0.0f;
    if (r.error != 0) ReportLibraryError(r.error, "StrToReal");
}

namespace {

template <typename T, typename Convert>
void nextWord(std::span<char> text, T& value, std::string_view routine, Convert convert) {
    std::string_view view(text.data(), text.size());
    int first = 0, last = 0;
    NonBlankRange(view, static_cast<int>(view.size()), first, last);
    if (first == 0) {
        value = 0;
        ReportLibraryError(kNoSubstring, routine);
        return;
    }
    convert(view.substr(static_cast<std::size_t>(first - 1),
                        static_cast<std::size_t>(last - first + 1)),
            value);
    std::fill(text.begin() + first - 1, text.begin() + last, ' ');
}

}  // namespace

void NextIntegerWord(std::span<char> text, int& value) {
    nextWord(text, value, "NextIntegerWord", StrToInteger);
}

void NextRealWord(std::span<char> text, float& value) {
    nextWord(text, value, "NextRealWord", TextToRealSingle);
}

void UpperCaseString(std::span<char> text, int length) {
    int n = clampLength(text.size(), length);
    std::transform(text.begin(), text.begin() + n, text.begin(), upper);
}

void LowerCaseString(std::span<char> text, int length) {
    int n = clampLength(text.size(), length);
    std::transform(text.begin(), text.begin() + n, text.begin(), lower);
}

int FirstNonBlank(std::string_view text, int length) {
    int n = clampLength(text.size(), length);
    for (int i = 0; i < n; ++i) {
        char c = text[static_cast<std::size_t>(i)];
        if (c != ' ' && c != '\0') return i + 1;
    }
    return 0;
}

void NonBlankRange(std::string_view text, int length, int& first, int& last) {
    first = 0;
    last = 0;
    int n = clampLength(text.size(), length);
    int i = 0;
    while (i < n && text[static_cast<std::size_t>(i)] == ' ')
        ++i;
    if (i == n) return;
    first = i + 1;
    while (i < n && text[static_cast<std::size_t>(i)] != ' ')
        ++i;
    last = i;
}

int IndexNoCase(std::string_view text, int textLength, std::string_view sub, int subLength,
                bool fromEnd) {
    int n = clampLength(text.size(), textLength);
    int m = clampLength(sub.size(), subLength);
    if (m == 0) return fromEnd ? n + 1 : 1;
    if (n < m) return 0;
    std::string haystack(text.substr(0, static_cast<std::size_t>(n)));
    std::string needle(sub.substr(0, static_cast<std::size_t>(m)));
    std::transform(haystack.begin(), haystack.end(), haystack.begin(), upper);
    std::transform(needle.begin(), needle.end(), needle.begin(), upper);
    std::size_t at = fromEnd ? haystack.rfind(needle) : haystack.find(needle);
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

}  // namespace tk
