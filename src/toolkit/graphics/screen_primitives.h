#pragma once
// The window-system primitives of the screen driver. Coordinates are window
// pixels (y down); every operation acts on the current drawing surface and
// keeps the driver's pen, brushes, clip region and colours.

#include <string_view>
#include <vector>

#include "platform/gdi/gdi.h"

namespace tk::screen {

struct PrimitiveState {
    win::COLORREF current = 0, previous = 0xFFFFFF;
    win::HBITMAP halftone = nullptr;
    bool halftoneDirty = true;
    win::HDC halftoneDc = nullptr;  // the surface the halftone bitmap belongs to
    win::HPEN pen = nullptr;
    int penStyle = 0;
    int penWidth = 1;
    int rop2 = 13;
    win::HRGN clip = nullptr;
    std::vector<win::POINT> points;
    std::vector<win::DWORD> scaledDashes[8];
    win::HFONT font = nullptr;
};

PrimitiveState& primitives();

// The clip region of the graphics area selected into the drawing surface
// for the life of the scope: area operations (fills, gradients) need it;
// lines and text are clipped by the graphics layer itself.
class ClipScope {
  public:
    ClipScope();
    ~ClipScope();
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;
};
void releasePrimitives();

void ScreenLine(int x1, int y1, int x2, int y2);
void ScreenSetColour(int deviceColour, int rgb);
void ScreenEllipse(int cx, int cy, int rx, int ry, int code, int fill);
void ScreenRectangle(int left, int top, int right, int bottom, int fill);
void ScreenPie(int cx, int cy, int rx, int ry, win::POINT start, win::POINT end, int fill);
void ScreenArc(int cx, int cy, int rx, int ry, win::POINT start, win::POINT end, int density,
               int fillStyle);
void ScreenPolygon(int n, int fill);
void ScreenPolyline(int n);
void ScreenClear(int width, int height, int rgb);
void ScreenCopyRectangle(int sx, int stop, int dx, int dtop, int width, int height, bool clear,
                         int backgroundRgb);
void ScreenClipRectangle(int left, int top, int right, int bottom);
void ScreenSetPixel(int x, int y);
// Packed RGB of a pixel, -1 when it cannot be read.
int ScreenGetPixel(int x, int y);
void ScreenDrawingMode(int mode);
void ScreenLineStyle(int style);
void ScreenLineWidth(int width);
void ScreenCreatePen();

}  // namespace tk::screen
