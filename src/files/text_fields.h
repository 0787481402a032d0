#pragma once
// Numbers as fixed-width text fields, the way the settings and model files
// hold them: Iw, Fw.d and the exponent form with one digit before the point
// (1PEw.d), right-aligned, asterisks when the number does not fit; and the
// reading of one field with blanks ignored.

#include <optional>
#include <string>
#include <string_view>

namespace files {

std::string formatInteger(long long value, int width);
std::string formatFixed(double value, int width, int decimals);
std::string formatExponent(double value, int width, int decimals);

// An integer field: blanks are ignored, an all-blank field is 0; nothing when
// the text is not an integer or does not fit in 32 bits.
std::optional<int> readIntegerField(std::string_view field);
// A real field: blanks are ignored, an all-blank field is 0; a decimal point
// and an exponent (E or D, or a bare sign) are optional; NaN and Inf are read.
std::optional<double> readRealField(std::string_view field);

}  // namespace files
