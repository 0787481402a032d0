#pragma once
// Bitmap viewer windows: a toolkit child window turned into a scrollable
// view of a stored bitmap. Its drawing window is hidden and a view window
// ("ZEVEDOROR") with scroll bars shows the bitmap at its own size; the user
// scrolls with the bars, the keys, the wheel or by dragging the picture, and
// each change is posted as a BitmapScrolled event.

namespace tk {

// Open statuses: 0 done, 1 the current window is the root window, 2 no
// bitmap in the slot, 3 the bitmap is in use elsewhere, 4 the window is
// another kind of converted window, 5 opened modeless in an inside-parent
// window (mode becomes 2), 6 the view could not be made, 9 the drawing
// window has child windows. Modes: 1 modal, 2 modeless, 3 semi-modeless;
// option bits: 1 scrolling keys, 2 dragging with the left button.
void BitmapViewerOpen(int index, int horizontal, int vertical, int& mode, int options,
                      int& status);
// The first viewer window (1-50) showing the slot's bitmap, 0 if none.
int BitmapViewerFind(int index);
// 3 bitmap number shown, 4 and 5 scroll positions, 101 and 102 bitmap
// width and height, 103 the row below the visible part; 0 for a window
// that is no viewer.
int BitmapViewerInfo(int window, int selector);
// Forgets every viewer record (tests).
void ResetBitmapViewers();

}  // namespace tk
