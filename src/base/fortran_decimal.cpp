#include "base/fortran_decimal.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace base {

ExactDecimal ExactDecimal::of(double value) {
    ExactDecimal x;
    x.negative = std::signbit(value);
    double a = std::fabs(value);
    if (a == 0.0 || !std::isfinite(a)) return x;
    // The number of decimals of the exact expansion is the number of binary
    // places of the value once trailing zero bits are dropped.
    int e = 0;
    double m = std::frexp(a, &e);
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(m, 53));
    int binaryExponent = e - 53;
    while ((mantissa & 1U) == 0) {
        mantissa >>= 1;
        ++binaryExponent;
    }
    int decimals = binaryExponent < 0 ? -binaryExponent : 0;
    char buf[1500];  // 309 integer digits, a point and up to 1074 decimals
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, decimals);
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    std::size_t point = text.find('.');
    std::string all(text.substr(0, point));
    int integerDigits = static_cast<int>(all.size());
    if (point != std::string_view::npos) all += text.substr(point + 1);
    std::size_t first = all.find_first_not_of('0');
    std::size_t last = all.find_last_not_of('0');
    x.digits = all.substr(first, last - first + 1);
    x.exponent = integerDigits - static_cast<int>(first);
    return x;
}

void ExactDecimal::roundTo(int keep) {
    if (isZero() || keep >= static_cast<int>(digits.size())) return;
    if (keep < 0) {
        digits.clear();
        return;
    }
    bool up = digits[static_cast<std::size_t>(keep)] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[static_cast<std::size_t>(i)];
        } else {
            digits.insert(digits.begin(), '1');
            ++exponent;
        }
    }
    std::size_t last = digits.find_last_not_of('0');
    digits.resize(last == std::string::npos ? 0 : last + 1);
}

namespace {

template <typename T>
std::optional<T> decimalTo(bool negative, std::string_view digits, long long exponent) {
    std::size_t first = digits.find_first_not_of('0');
    T zero = negative ? -T(0) : T(0);
    if (first == std::string_view::npos) return zero;
    digits.remove_prefix(first);
    // Decimal magnitude of the leading digit; far outside every range it is
    // decided here, so the exponent written below always fits.
    long long magnitude = exponent + static_cast<long long>(digits.size());
    if (magnitude > 5000) return std::nullopt;
    if (magnitude < -5000) return zero;
    std::string text(digits);
    text += 'e';
    text += std::to_string(exponent);
    T value{};
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        if (magnitude > 0) return std::nullopt;
        return zero;
    }
    if (res.ec != std::errc()) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace

std::optional<double> decimalToDouble(bool negative, std::string_view digits, long long exponent) {
    return decimalTo<double>(negative, digits, exponent);
}

std::optional<float> decimalToFloat(bool negative, std::string_view digits, long long exponent) {
    return decimalTo<float>(negative, digits, exponent);
}

}  // namespace base
