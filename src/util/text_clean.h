#pragma once
// Case conversion and cleaning of the characters of blank-padded text.
// Text is CP1252 bytes; only 'A'-'Z' and 'a'-'z' count as letters.

#include <span>

#include "base/fixed_string.h"

namespace util {

// 'a'-'z' in STR(1:N) to upper case.
void LCTOUC(std::span<char> str, int n);
// 'A'-'Z' in STR(I1:I2) to lower case.
void UCTOLC(std::span<char> str, int i1, int i2);
// Lower-cases each of the N names after the shortest prefix that tells it
// from all the others.
void UNQ10(std::span<base::FixedString<10>> names, int n);
// Blanks every byte of STR(1:N) that the program cannot print; how many.
int NCHRCK(std::span<char> str, int n);
void CHR_CHK(std::span<char> str, int n);
// Replaces control bytes and the characters < > \ / : " * ? | by CH.
void VALIDATEFILENAME(std::span<char> str, int n, char ch);
// Translates STR(1:N) from EBCDIC to ASCII in place.
void ECD2ASC(std::span<char> str, int n);

}  // namespace util
