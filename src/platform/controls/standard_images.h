#pragma once
// The common controls' own picture strips (file, edit and view commands),
// drawn by us in code on a magenta background that stands for "clear".

#include "platform/gdi/gdi.h"
#include "platform/win_types.h"

namespace win::controls {

inline constexpr COLORREF kStandardClear = RGB(255, 0, 255);

struct StandardStrip {
    HBITMAP bitmap = nullptr;  // the caller deletes it
    int count = 0;
    int cx = 0, cy = 0;
};

// One of IDB_STD_SMALL_COLOR, IDB_STD_LARGE_COLOR, IDB_VIEW_SMALL_COLOR,
// IDB_VIEW_LARGE_COLOR; an empty strip for any other number.
StandardStrip makeStandardStrip(UINT_PTR which);

}  // namespace win::controls
