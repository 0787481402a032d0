#pragma once
// The toolkit's conversions between numbers and blank-padded text, and the
// small text routines the rest of the toolkit builds on. Texts are fixed-length
// buffers (a span over the caller's characters, or a view for input); positions
// are counted from 1 and 0 means "none". Failures are reported through
// ReportLibraryError under the routine's own name, and the routine then
// returns normally with the documented output (0, or asterisks).
//
// Numbers are written by the program's one edit-descriptor engine
// (base/fortran_format.h) with a format text of one descriptor, e.g. "(F8.2)".

#include <cstddef>
#include <span>
#include <string_view>

#include "base/fixed_string.h"

namespace tk {

// Error numbers of this family.
enum ConversionError {
    kNumberTooLarge = 4,        // "Number too large in string to numeric conversion"
    kNoSubstring = 10,          // "No substring found"
    kTwoDecimalPoints = 11,     // "More than one decimal point in number"
    kInvalidCharacter = 12,     // "Invalid character detected"
    kNumericToStringError = 18  // "Numeric to string conversion error"
};

// The largest decimal exponent each precision accepts.
inline constexpr int kConversionLimitSingle = 38;
inline constexpr int kConversionLimitDouble = 308;

// A format text of one edit descriptor in parentheses, e.g. "(I2.2)", "(1PE8.1)".
using NumberFormatText = std::string_view;

template <std::size_t N>
std::span<char> textSpan(base::FixedString<N>& s) {
    return std::span<char>(s.data(), N);
}

// The value formatted into the text from position 1, the rest blank. A value
// that does not fit, a text shorter than the field or an unusable format give
// "**********" (cut to the text) and error 18.
void IntegerToString(int value, std::span<char> text, NumberFormatText format);
void RealToStr(float value, std::span<char> text, NumberFormatText format);
void DoubleToStr(double value, std::span<char> text, NumberFormatText format);

// Moves the text's non-blank part to the left ("L"), right ("R") or centre
// (anything else) of its own length; the letters may be in either case.
void JustifyString(std::span<char> text, std::string_view mode);

// The value of the first word of the text; 0 on failure.
void StrToInteger(std::string_view text, int& value);
void StrToReal(std::string_view text, double& value);
// The same with single-precision limits; reports as "StrToReal".
void TextToRealSingle(std::string_view text, float& value);

// Convert the first word and blank it out of the text, so that repeated calls
// read a blank-separated list from the front.
void NextIntegerWord(std::span<char> text, int& value);
void NextRealWord(std::span<char> text, float& value);

// Changes the letters of the first `length` characters in place.
void UpperCaseString(std::span<char> text, int length);
void LowerCaseString(std::span<char> text, int length);

// Position of the first character that is neither a blank nor a NUL, 0 when none.
int FirstNonBlank(std::string_view text, int length);
// The first word: its first non-blank character and the position before the
// next blank (or `length`); a NUL counts as part of a word. Both 0 when blank.
void NonBlankRange(std::string_view text, int length, int& first, int& last);
// Position of `sub` in `text` ignoring case, the last occurrence when
// `fromEnd`; 0 when absent. An empty substring gives 1 (length + 1 from the end).
int IndexNoCase(std::string_view text, int textLength, std::string_view sub, int subLength,
                bool fromEnd = false);

}  // namespace tk
