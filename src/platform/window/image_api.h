#pragma once
// Icons, cursors and bitmaps loaded from the program's resources or from
// files, and icons drawn into device contexts.

#include "platform/win_types.h"
#include "platform/window/user_constants.h"

namespace win {

constexpr WORD IDI_HAND_ID = 32513;
constexpr WORD IDI_QUESTION_ID = 32514;
constexpr WORD IDI_EXCLAMATION_ID = 32515;
constexpr WORD IDI_ASTERISK_ID = 32516;
inline const LPCSTR IDI_HAND = MAKEINTRESOURCEA(IDI_HAND_ID);
inline const LPCSTR IDI_QUESTION = MAKEINTRESOURCEA(IDI_QUESTION_ID);
inline const LPCSTR IDI_EXCLAMATION = MAKEINTRESOURCEA(IDI_EXCLAMATION_ID);
inline const LPCSTR IDI_ASTERISK = MAKEINTRESOURCEA(IDI_ASTERISK_ID);

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT LR_COPYRETURNORG = 0x0004;
constexpr UINT LR_COPYDELETEORG = 0x0008;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;

HICON LoadIconA(HINSTANCE instance, LPCSTR name);
// IMAGE_BITMAP gives an HBITMAP, IMAGE_ICON an HICON, IMAGE_CURSOR an HCURSOR.
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags);
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFree,
                UINT flags);

}  // namespace win
