#pragma once
// Text and numbers on the plotter's page: placed by a point in plot units
// (the origin added, the factor not), a character height H in plot units and
// an angle in degrees.

#include <cstdint>
#include <span>
#include <string_view>

namespace util {

// Left-justified, the anchor raised by half the height across the direction.
void SYMBOL(float x, float y, float h, std::string_view text, float angle, int n);
// Centred on the point.
void CENTSY(float x, float y, float h, std::string_view text, float angle, int n);
// Right-justified at the point.
void SYMBOR(float x, float y, float h, std::string_view text, float angle, int n);
// CENTSY with the height reduced so that N x 0.5 x H fits WMAX.
void CENTSYLIMIT(float x, float y, float h, std::string_view text, float angle, int n, float wmax);
// Width of TEXT(1:N) in plot units at height H.
float STRINGWIDTH(float h, std::string_view text, float angle, int n);
// How much larger than H text of height H comes out on the screen, where it
// never gets too small to read (1 on hardcopy).
float screenTextMagnification(float h);
// How much farther than on the page such text reaches to either side of
// its centre line: a title beside the labels of an axis moves out by it.
float screenTextGrowth(float h);
// Whether the drawing goes to a page of vector hardcopy (a printer, a plot
// file), not to the screen or a picture made of pixels.
bool DrawsOnPaper();

// X with ND decimals (at most 9; none for ND <= 0) into TEXT(1:M); ND
// becomes the length of the text, one less when ND was negative, which
// leaves out the point of a whole number.
void MAKNUM(float x, std::span<char> text, int m, std::int32_t& nd);
// MAKNUM of V, then SYMBOL (NUMBER) or CENTSY (CENTNM) of the text.
void NUMBER(float x, float y, float h, float v, float angle, std::int32_t nd);
void CENTNM(float x, float y, float h, float v, float angle, std::int32_t nd);

// TEXT(1:N) at the point X, Y in the current user units with the text
// settings in force, centred, right- or left-justified there (the
// justification stays set). The line's Y comes first; N < 0 draws nothing.
void CENTSTRING(float y, float x, std::string_view text, int n);
void RIGHTSTRING(float y, float x, std::string_view text, int n);
void LEFTSTRING(float y, float x, std::string_view text, int n);

}  // namespace util
