#pragma once
// The status-bar control's messages and text styles, by the control's own
// numbers.

#include "platform/window/user_api.h"

namespace tk {

inline constexpr win::UINT kSbSetTextA = win::WM_USER + 1;
inline constexpr win::UINT kSbGetTextA = win::WM_USER + 2;
inline constexpr win::UINT kSbGetTextLengthA = win::WM_USER + 3;
inline constexpr win::UINT kSbSetParts = win::WM_USER + 4;
inline constexpr win::UINT kSbGetRect = win::WM_USER + 10;
inline constexpr win::UINT kSbSimple = win::WM_USER + 9;
inline constexpr win::DWORD kSbarsSizeGrip = 0x0100;
inline constexpr win::WPARAM kSbtNoBorders = 0x0100;
inline constexpr win::WPARAM kSbtPopOut = 0x0200;
inline constexpr win::WPARAM kSimplePart = 255;

}  // namespace tk
