#pragma once
// Exact decimal forms of binary floating-point values, shared by the formatted
// writer and reader. Nothing here looks at the process locale.

#include <optional>
#include <string>
#include <string_view>

namespace base {

// A value as 0.d1d2d3... x 10^exponent, with every digit of the binary value.
struct ExactDecimal {
    bool negative = false;
    std::string digits;  // no leading or trailing zeros; empty for zero
    int exponent = 0;

    static ExactDecimal of(double value);

    bool isZero() const { return digits.empty(); }
    // The i-th digit after "0." (0-based), '0' outside the stored digits.
    char digitAt(int i) const {
        return (i >= 0 && i < static_cast<int>(digits.size())) ? digits[static_cast<std::size_t>(i)]
                                                               : '0';
    }
    // Keeps the first `keep` digits, rounding half away from zero; a keep of 0
    // or less rounds at or above the first digit.
    void roundTo(int keep);
};

// The value of [-]digits x 10^exponent (digits: decimal digits only, possibly
// empty for zero) correctly rounded; std::nullopt when it overflows the type.
// Values too small for the type become zero of the right sign.
std::optional<double> decimalToDouble(bool negative, std::string_view digits, long long exponent);
std::optional<float> decimalToFloat(bool negative, std::string_view digits, long long exponent);

}  // namespace base
