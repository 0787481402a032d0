#pragma once
// Copying, shifting, filling and replacing inside blank-padded text, in
// place and without allocation. STR(1:N) is the first N characters of the
// field; counts beyond the field are cut to it.

#include <span>
#include <string_view>

namespace util {

// Copies N characters from SRC to DST, first to last; no padding.
void COPSTR(std::span<char> dst, std::string_view src, int n);
// Sets STR(1:N) to CH.
void COPCHR(std::span<char> str, int n, char ch);
// Shifts STR(1:N) by K places (right for K > 0), blanking what is vacated;
// nothing happens when K = 0 or abs(K) >= N.
void SHFSTR(std::span<char> str, int n, int k);
// Replaces every A in STR(1:N) by B.
void RPLCHR(std::span<char> str, int n, char a, char b);
// Blanks the run of CH at the end of STR(1:N) and makes N the last position
// that is not CH.
void NTRAIL(std::span<char> str, int& n, char ch);
// Removes from STR(1:N) every character that is neither a blank nor a digit.
void INTNUMONLY(std::span<char> str, int n);
// Reduces every run of blanks before the last non-blank character to one.
void NODOUBLEBLANK(std::span<char> str);
// Appends WORD(1:NWORD), trimmed, at IPOS of DEST(1:NDEST) and moves IPOS
// past it and one separating blank.
void ADDWRD(std::span<char> dest, int ndest, int& ipos, std::string_view word, int nword);
// Reads the next blank-separated word at or after IPOS into WORD(1:M)
// (blank when there is none, IPOS then unchanged).
void NXTWRD(std::string_view str, int n, int& ipos, std::span<char> word, int m);
// Replaces every OLD(1:NOLD) in STR(1:N) by NEW(1:NNEW); the number of
// replacements. Inserted text is never searched again.
int IRPLPT(std::span<char> str, int n, std::string_view old, int nold, std::string_view neu,
           int nnew);
void RPL_PAT(std::span<char> str, int n, std::string_view old, int nold, std::string_view neu,
             int nnew);

}  // namespace util
