#pragma once
// How dialog fields and grid cells show numbers as text and read them back.
// The writers leave a result ready for the window system: the field without
// its leading blanks, a NUL, then blanks to the end of the caller's buffer.
// The readers never report an error and never change the toolkit's error
// state: unreadable text reads as 0. A text may be NUL-terminated (from a
// window) or blank-padded (from a record); reading stops at the first NUL or,
// without one, at the last non-blank character.

#include <span>
#include <string_view>

namespace tk {

// The format texts used when a field, spin control or grid column has none.
inline constexpr std::string_view kDefaultRealFormat = "(G15.5E2)";
inline constexpr std::string_view kDefaultIntegerFormat = "(I11)";
// The integer put routines of the grid write into a field this wide.
inline constexpr std::string_view kGridIntegerPutFormat = "(I100)";

// A value too wide for its field leaves the field's asterisks, without a report.
// An unusable format or a buffer shorter than the field leaves "**********"
// ("***********" for integers), cut to the buffer, and reports error 18.
void yydbl2st(double value, std::span<char> text, std::string_view format);
void yyrea2st(float value, std::span<char> text, std::string_view format);
void yyint2st(int value, std::span<char> text);

// A number truncated toward zero, held at the ends of the integer range (and
// 0 for NaN): every integer the dialogs take from a double goes through it.
int TruncateToInteger(double value);

void TextToDoubleQuiet(double& value, std::string_view text);
// ok = 1 when the text was a number, else 0 (and value 0). A text without a
// digit in its mantissa ("-", ".", "E", "E5") is no number.
void TextToDoubleChecked(double& value, int& ok, std::string_view text);
void TextToRealQuiet(float& value, std::string_view text);
// Read through single precision, then truncated toward zero (saturated at the
// ends of the integer range).
void TextToIntegerQuiet(int& value, std::string_view text);

// Read the text, write it back with the format and left-justify it, quietly.
void IntegerTextReformat(std::span<char> text);
void RealTextReformat(std::span<char> text, std::string_view format);
void DoubleTextReformat(std::span<char> text, std::string_view format);

}  // namespace tk
