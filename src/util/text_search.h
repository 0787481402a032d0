#pragma once
// Searching and measuring blank-padded text. Positions are counted from 1;
// 0 means "not found", and a count of 0 or less is an empty text.

#include <string_view>

namespace util {

// First occurrence of PAT(1:M) lying wholly within STR(1:N).
int IFNDPT(std::string_view str, int n, std::string_view pat, int m);
// Last non-blank position of STR(1:N) (the trimmed length).
int INDSTR(std::string_view str, int n);
// First non-blank position of STR(1:N).
int IBGSTR(std::string_view str, int n);
// Last occurrence of CH in STR(1:N).
int IWDSTR(std::string_view str, int n, char ch);
// How often CH occurs in STR(1:N).
int KNTCHR(std::string_view str, int n, char ch);
// First digit in STR(1:N).
int IFIRSTINT(std::string_view str, int n);
// Last digit of the run of digits that begins at I1.
int ILASTINT(std::string_view str, int n, int i1);
// Leading positions where A(i) equals B(i) taken in upper case.
int IDNTCL(std::string_view a, std::string_view b, int n);
// A(1:N) against a keyword pattern whose lower-case letters may be left off.
bool LCUQEQ(std::string_view a, std::string_view b, int n);
// Blank-separated words in STR(1:N).
int NWORDS(std::string_view str, int n);

}  // namespace util
