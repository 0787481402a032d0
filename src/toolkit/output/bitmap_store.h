#pragma once
// The toolkit's table of 50 off-screen bitmaps: created filled with a
// colour, copied to and from the drawing surface with a chosen raster
// operation, read and written as arrays of colours, flipped, rotated,
// resized, and selectable as the graphics' drawing target. Bitmap numbers
// are slot index + 1; every operation but BitmapCreate takes the index.
// Statuses: 0 done, 1020 creation failed, 1021 no bitmap in the slot,
// 1036 shown in a viewer, 1066 transfer failed.

#include <cstdint>

#include "platform/win_types.h"

namespace tk {

inline constexpr int kBitmapSlots = 50;

struct BitmapEntry {
    win::HBITMAP handle = nullptr;
    int width = 0, height = 0;
};

// The slot, or null for an index outside 0..49.
BitmapEntry* bitmapSlot(int index);
// Frees every bitmap and sets the transfer mode back to copying (tests).
void ResetBitmapStore();

void BitmapCreate(int& number, int width, int height, int colour);
win::HBITMAP BitmapCreateFilled(int width, int height, int colour);
void BitmapDelete(int index, int& status);
void BitmapCopyFromScreen(int index, int x, int y, int width, int height, int& status);
// Pixels of the inclusive rectangle, x fastest, as packed RGB values.
void BitmapPutPixels(int index, const std::int32_t* pixels, int x1, int y1, int x2, int y2,
                     int& status);
void BitmapGetPixels(int index, std::int32_t* pixels, int x1, int y1, int x2, int y2, int& status);
void BitmapLoadResource(int index, int resource, int& status);
void BitmapResourceSize(int resource, int& width, int& height);
// direction non-zero: upside down; 0: mirrored left to right.
void BitmapFlip(int index, int direction, int& viewer, int& status);
// 0 copy, 1 OR, 2 AND, 3 exclusive-or; other codes keep the mode.
void BitmapRasterOp(int code);
// direction non-zero: bitmap to the drawing surface; 0: the other way.
void BitmapPutToScreen(int index, int sourceX, int sourceY, int x, int y, int width, int height,
                       int direction, int& status);
void BitmapStretchToScreen(int index, int stretch, int x, int y, int width, int height,
                           int& status);
void BitmapResize(int index, int width, int height, int& viewer, int& status);
// 90, 180 or 270 degrees anticlockwise.
void BitmapRotate(int index, int angle, int& viewer, int& status);
void BitmapInfo(int index, int& width, int& height);
// Makes the bitmap the drawing surface: status 1 for a free or unknown slot.
void BitmapSelectTarget(int index, int& status, int& width, int& height);
// Gives a bitmap surface back (the graphics' release of the surface);
// false when no bitmap is the surface.
bool BitmapReleaseTarget();
// The slot index of the bitmap that is the drawing surface, or -1.
int BitmapTargetIndex();

}  // namespace tk
