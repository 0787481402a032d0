#pragma once
// Image lists: pictures of one size kept side by side, each with an optional
// mask, drawn plain, on a background colour or blended with the selection
// colour. Tool bars and tree views draw their pictures from them.

#include "platform/gdi/gdi.h"
#include "platform/win_types.h"

namespace win {

struct ImageList__;
using HIMAGELIST = ImageList__*;

constexpr UINT ILC_MASK = 0x1, ILC_COLOR = 0x0, ILC_COLORDDB = 0xFE, ILC_COLOR4 = 0x4,
               ILC_COLOR8 = 0x8, ILC_COLOR16 = 0x10, ILC_COLOR24 = 0x18, ILC_COLOR32 = 0x20;
constexpr UINT ILD_NORMAL = 0x0, ILD_TRANSPARENT = 0x1, ILD_MASK = 0x10, ILD_IMAGE = 0x20,
               ILD_BLEND25 = 0x2, ILD_FOCUS = 0x2, ILD_BLEND50 = 0x4, ILD_SELECTED = 0x4,
               ILD_BLEND = 0x4;
constexpr COLORREF CLR_NONE = 0xFFFFFFFFu, CLR_DEFAULT = 0xFF000000u;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// A bitmap as wide as several pictures adds them all; the answer is the
// index of the first, or -1.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// The pixels of `maskColour` become transparent.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColour);
// Index -1 appends the icon.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST list, HICON icon) {
    return ImageList_ReplaceIcon(list, -1, icon);
}
BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask);
// Index -1 removes every picture.
BOOL ImageList_Remove(HIMAGELIST list, int index);
inline BOOL ImageList_RemoveAll(HIMAGELIST list) {
    return ImageList_Remove(list, -1);
}
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy,
                      COLORREF background, COLORREF foreground, UINT style);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF colour);
COLORREF ImageList_GetBkColor(HIMAGELIST list);

}  // namespace win
