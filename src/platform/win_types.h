#pragma once
// The basic types, handles and macros of the Windows-shaped API that the
// toolkit is written against. Each part of the platform layer declares its own
// functions, structures and constants in its own header; only what all of them
// share lives here.

#include <cstdint>

namespace win {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using INT = int;
using BOOL = int;
using CHAR = char;
using LPSTR = char*;
using LPCSTR = const char*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ATOM = WORD;
using COLORREF = DWORD;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Handles are opaque pointers to distinct incomplete types, so that passing a
// pen where a window is expected does not compile. GDI objects also convert
// to HGDIOBJ, as every object call takes one.
using HANDLE = void*;
using HGDIOBJ = void*;
using HGLOBAL = void*;
#define PELK_DECLARE_HANDLE(name) \
    struct name##__;              \
    using name = name##__*
PELK_DECLARE_HANDLE(HWND);
PELK_DECLARE_HANDLE(HDC);
PELK_DECLARE_HANDLE(HBITMAP);
PELK_DECLARE_HANDLE(HPEN);
PELK_DECLARE_HANDLE(HBRUSH);
PELK_DECLARE_HANDLE(HFONT);
PELK_DECLARE_HANDLE(HRGN);
PELK_DECLARE_HANDLE(HPALETTE);
PELK_DECLARE_HANDLE(HMENU);
PELK_DECLARE_HANDLE(HICON);
PELK_DECLARE_HANDLE(HINSTANCE);
PELK_DECLARE_HANDLE(HACCEL);
PELK_DECLARE_HANDLE(HENHMETAFILE);
PELK_DECLARE_HANDLE(HMETAFILE);
PELK_DECLARE_HANDLE(HRSRC);
#undef PELK_DECLARE_HANDLE
using HCURSOR = HICON;
using HMODULE = HINSTANCE;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

struct POINT {
    LONG x = 0;
    LONG y = 0;
};
struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
};
struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};
struct POINTS {
    SHORT x = 0;
    SHORT y = 0;
};

constexpr WORD LOWORD(std::uintptr_t v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(std::uintptr_t v) {
    return static_cast<BYTE>(v & 0xFF);
}
constexpr BYTE HIBYTE(std::uintptr_t v) {
    return static_cast<BYTE>((v >> 8) & 0xFF);
}
constexpr LONG MAKELONG(WORD lo, WORD hi) {
    return static_cast<LONG>(static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16));
}
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) {
    return static_cast<DWORD>(MAKELONG(lo, hi));
}
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) {
    return MAKELONG(lo, hi);
}
// Mouse coordinates travel as signed 16-bit halves of lParam.
constexpr int GET_X_LPARAM(LPARAM lp) {
    return static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lp)));
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
    return static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lp)));
}

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) {
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

// Resource names are either a string or a 16-bit identifier in a pointer.
inline LPCSTR MAKEINTRESOURCEA(WORD id) {
    return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(id));
}
inline bool IS_INTRESOURCE(LPCSTR p) {
    return (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0;
}

}  // namespace win
