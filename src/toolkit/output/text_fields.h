#pragma once
// The number fields and the line writing shared by the drivers that write
// text files (PostScript, SVG, HP-GL and HP-GL/2): fixed-point fields (Fw.d)
// and integer fields (Iw), right-aligned in their width.
//
// A value too wide for its field is written as the nearest value the field
// holds (F9.2: -99999.99 to 999999.99) instead of a field of asterisks, so a
// reader of the file always finds a number; NaN is written as 0.

#include <string>
#include <string_view>

namespace tk {

std::string FixedField(double value, int width, int decimals);
std::string IntegerField(long long value, int width);
// Truncation toward zero that stays within the int range (NaN gives 0).
int TruncatedInt(double value);
// The text from its first to its last non-blank character.
std::string_view Trimmed(std::string_view text);

// One line of the plot output file: one blank first when every line of the
// file begins with a blank (HpglLinePrefix 1), then the text and CR LF.
void WritePlotLine(std::string_view text);

}  // namespace tk
