#pragma once
// Number-format and axis-title helpers of the views: edit descriptors that fit
// a value range into a field, scientific splitting, polar form and compass
// octants.

#include <string>
#include <string_view>

#include "base/fixed_string.h"

namespace views {

// Splits X into sign, mantissa 1 <= MANT < 10 and decimal exponent; X becomes
// its magnitude. Magnitudes below 1.0E-30 give 0 and 0.
void R2SCI(float& x, bool& neg, float& mant, int& iexp);

// A 16-character edit descriptor of width W that shows both A and B with at
// most N significant digits and D decimals; PAREN wraps it in parentheses.
void MAKFMT(float a, float b, int w, int n, int d, bool paren, base::FixedString<16>& fmt);

// Decimals a fixed-point field of width W leaves for values between LO and HI.
void FITFMT(float lo, float hi, int w, int& ndec);

// Polar form of (X, Y); THETA in radians, 0 at the origin.
void RECPOL(float x, float y, float& r, float& theta);

// An axis title of N characters of TEXT, height H, centred under a horizontal
// axis from X1 to X2 at height Y, or beside a vertical one from Y1 to Y2 left
// of X; a title wider than 0.9 of the axis is made smaller to fit. Nothing
// for N <= 0 or H below 0.001.
void LBLXAX(std::string_view text, int n, float x1, float x2, float y, float h);
void LBLYAX(std::string_view text, int n, float y1, float y2, float x, float h);

// Two-letter compass octant of an azimuth in degrees, blank-padded.
template <std::size_t N>
void OCTLAB(float angle, base::FixedString<N>& text);
std::string octantOf(float angle);

template <std::size_t N>
void OCTLAB(float angle, base::FixedString<N>& text) {
    text = base::FixedString<N>(octantOf(angle));
}

}  // namespace views
