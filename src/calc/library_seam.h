#pragma once
// The few routines of the utility library that the calculation needs: blank-
// padded text, extremes of an array, the Lagrange interpolation of the
// regional field, the NaN test and the library's message boxes. They are
// reached through this one header so that the calculation binds to the
// library's own routines in one place.

#include <functional>
#include <string_view>

namespace calc {

// Replaces by a blank every byte that is not printable in the program's
// character set; answers how many were replaced.
int NCHRCK(char* str, int n);
// Upper-cases 'a'..'z' of str(1:n).
void LCTOUC(char* str, int n);
// First position (1-based) of pat(1:m) inside str(1:n); 0 when absent.
int IFNDPT(const char* str, int n, const char* pat, int m);
// Lowers vmin and raises vmax by a(1:n), skipping NaN, magnitudes above
// 1.0E15 and non-zero magnitudes below 1.0E-30.
void FINDNX(const float* a, int n, float& vmin, float& vmax);
// Lagrange polynomial through (x(i), y(i)), i = 1..n, at x0.
float FLAGRI(const float* x, const float* y, float x0, int n);
// True when x is a NaN.
bool LEQNAN(float x);

// The library's information and warning boxes. Until the message boxes are
// bound (setLibraryMessageBoxes) a message goes nowhere.
using MessageBox = std::function<void(std::string_view text)>;
void setLibraryMessageBoxes(MessageBox information, MessageBox warning);
void WINMSG(std::string_view text);
void WINWRN(std::string_view text);

}  // namespace calc
