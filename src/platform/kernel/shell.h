#pragma once
// The one shell call the toolkit makes: the program that opens a document.
// Every document opens with the desktop's opener, xdg-open, when it exists.

#include "platform/win_types.h"

namespace win {

constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_NOASSOC = 31;

// Writes the opener's path into result (MAX_PATH bytes) and answers a value
// above 32; 2 when the file does not exist, 31 when no opener is installed.
HINSTANCE FindExecutableA(LPCSTR file, LPCSTR directory, LPSTR result);

}  // namespace win
