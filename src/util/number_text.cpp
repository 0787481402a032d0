#include "util/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "base/fortran_format.h"
#include "base/fortran_read.h"
#include "util/text_clean.h"
#include "util/text_edit.h"
#include "util/text_search.h"
#include "util/text_span.h"

namespace util {

namespace {

std::string_view viewOf(std::span<const char> s) {
    return std::string_view(s.data(), s.size());
}

// Puts `written` at the start of TEXT and blanks the rest of the field.
void place(std::span<char> text, const std::string& written) {
    const std::size_t n = std::min(text.size(), written.size());
    std::copy_n(written.begin(), n, text.begin());
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(n), text.end(), ' ');
}

std::optional<std::int32_t> toInt32(std::optional<long long> v) {
    if (!v || *v < std::numeric_limits<std::int32_t>::min() ||
        *v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

}  // namespace

void FMTFN(std::span<char> text, float x, std::int32_t& nch) {
    const std::string fixed = base::formatReal(x, "F12.5").value_or(std::string(12, '*'));
    place(text, fixed);
    if (fixed.find('*') == std::string::npos) {
        nch = 8;
        if (x == 0.0f) return;
        const int first = IBGSTR(fixed, 12);
        const bool negative = fixed.find('-') != std::string::npos;
        if (first < (negative ? 4 : 5)) return;
        const float a = std::fabs(x);
        if (a >= 1.0f)
            nch = 9;
        else if (a >= 0.1f)
            nch = 10;
        else if (a >= 0.01f)
            nch = 11;
        else if (a >= 0.001f)
            nch = 12;
        if (a >= 0.001f) return;
    }
    place(text, base::formatReal(x, "F12.1").value_or(std::string(12, '*')));
    nch = 12;
}

void FIXFLOAT(std::span<char> str, int n) {
    n = usable(n, str.size());
    LCTOUC(str, n);
    const std::string_view text = viewOf(str.first(static_cast<std::size_t>(n)));
    const bool hasE = text.find('E') != std::string_view::npos;
    const bool hasPoint = text.find('.') != std::string_view::npos;
    if (hasPoint) return;
    if (hasE) {
        RPL_PAT(str, n, "E", 1, ".E", 2);
        return;
    }
    const int last = INDSTR(text, n);
    if (last > 0 && last < n) str[static_cast<std::size_t>(last)] = '.';
}

std::int32_t NUMAFTER(std::string_view str, int n, std::string_view key, int m) {
    n = usable(n, str.size());
    m = usable(m, key.size());
    if (n < 1 || m < 1) return 0;
    std::string upper(str.substr(0, static_cast<std::size_t>(n)));
    LCTOUC(std::span<char>(upper.data(), upper.size()), n);
    const int p = IFNDPT(upper, n, key, m);
    // Without the key there is nothing to read after it.
    if (p == 0) return 0;
    std::string digits;
    for (int i = p + m; i <= n && digits.size() < 20 && isDigit(upper[i - 1]); ++i)
        digits += upper[i - 1];
    const std::string field = std::string(20 - digits.size(), ' ') + digits;
    return toInt32(base::readIntegerField(field)).value_or(0);
}

namespace {

// Finds KEY in LINE(1:80), moves the rest of the line up to position 1 and
// returns the word that now begins it (blank when there is none).
std::optional<std::string> wordAfterKey(std::string_view key, std::span<char> line) {
    const int n = usable(80, line.size());
    const int length = static_cast<int>(key.size());
    const int p = IFNDPT(viewOf(line), n, key, length);
    if (p == 0) return std::nullopt;
    // The value follows the key where the key was found, not one key length
    // from the start of the line.
    const int drop = p - 1 + length;
    if (drop >= n)
        std::fill_n(line.begin(), n, ' ');
    else
        SHFSTR(line, n, -drop);
    std::string word(20, ' ');
    int ipos = 1;
    NXTWRD(viewOf(line), n, ipos, std::span<char>(word.data(), word.size()), 20);
    return word;
}

}  // namespace

bool LREADREAL(std::string_view key, std::span<char> line, float& value) {
    const auto word = wordAfterKey(key, line);
    if (!word) return false;
    if (auto v = base::readRealFieldSingle(*word, 0)) value = *v;
    return true;
}

bool LREADINT(std::string_view key, std::span<char> line, std::int32_t& value) {
    const auto word = wordAfterKey(key, line);
    if (!word) return false;
    if (auto v = toInt32(base::readIntegerField(std::string_view(*word).substr(0, 10)))) value = *v;
    return true;
}

bool LREADLOG(std::string_view key, std::span<char> line, bool& value) {
    const auto word = wordAfterKey(key, line);
    if (!word) return false;
    if (auto v = base::readLogicalField(std::string_view(*word).substr(0, 1))) value = *v;
    return true;
}

bool LBADREAL(std::string_view text, float& value) {
    if (text.find('*') != std::string_view::npos) {
        value = 1.0e20f;
        return false;
    }
    const auto v = base::readRealFieldSingle(text.substr(0, 20), 0);
    if (!v) return true;
    value = *v;
    return false;
}

bool LBADINT(std::string_view text, std::int32_t& value) {
    if (text.find('*') != std::string_view::npos) {
        value = 9999999;
        return false;
    }
    const auto v = toInt32(base::readIntegerField(text.substr(0, 20)));
    if (!v) return true;
    value = *v;
    return false;
}

}  // namespace util
