#pragma once
// Numbers inside blank-padded text: compact labels, decimal points, digits
// after a key, the keyword readers of settings lines and field readers that
// know the missing-value marker "*".

#include <cstdint>
#include <span>
#include <string_view>

namespace util {

// Writes X as F12.5 (F12.1 when that overflows or X is below 0.001) into
// TEXT; NCH is how many leading characters to show.
void FMTFN(std::span<char> text, float x, std::int32_t& nch);
// Upper-cases STR(1:N) and makes it carry a decimal point.
void FIXFLOAT(std::span<char> str, int n);
// Integer value of the digits that follow KEY(1:M) in STR(1:N), the key
// found in either case; 0 when the key is absent or the digits do not fit.
std::int32_t NUMAFTER(std::string_view str, int n, std::string_view key, int m);

// Settings-line readers: when KEY occurs in LINE(1:80), LINE is shifted so
// that it begins just after the key, and VALUE is read from the first word
// that follows. True when the key was found; VALUE changes only when the
// word reads as a value of its kind.
bool LREADREAL(std::string_view key, std::span<char> line, float& value);
bool LREADINT(std::string_view key, std::span<char> line, std::int32_t& value);
bool LREADLOG(std::string_view key, std::span<char> line, bool& value);

// Field readers: a "*" anywhere gives the missing value (1.0E20 or 9999999)
// and false; otherwise true when the text does not read as a number (VALUE
// then unchanged).
bool LBADREAL(std::string_view text, float& value);
bool LBADINT(std::string_view text, std::int32_t& value);

}  // namespace util
