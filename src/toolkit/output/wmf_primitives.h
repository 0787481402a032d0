#pragma once
// The drawing primitives of the Windows metafile driver: they own the
// metafile device context and its GDI objects (pen, font, clip region) and
// deliver the finished picture to a file or the clipboard. Coordinates are
// logical units of the metafile.

#include <string>
#include <string_view>

#include "platform/gdi/gdi.h"

namespace tk {

// Metafile kinds (the MetafileKind option).
inline constexpr int kPlainWmf = 0, kPlaceableWmf = 1, kEnhancedMetafile = 2;

struct WmfCreateResult {
    int status = 0;  // 0 or 1
    int error = 0;   // the system's error number
};

// The 22-byte placeable header for a page in points.
std::string WmfPlaceableHeader(int pageWidth, int pageHeight);

// Creates the metafile DC. width and height are the logical size; for an
// enhanced metafile they come back converted to reference pixels.
WmfCreateResult WmfCreate(int& width, int& height, int kind, int systemDashes, int pageWidth,
                          int pageHeight, bool clipboard, std::string_view fileName,
                          std::string_view description);
// Closes the recording and delivers it; 0 or 1094 (clipboard not opened).
int WmfClose();
bool WmfIsOpen();
bool WmfIsEnhanced();
win::HDC WmfDC();

void WmfSetColour(int red, int green, int blue);
void WmfLineStyle(int lineStyle);
void WmfLineWidth(int width);
void WmfScaleDashes();
void WmfSelectPen();
void WmfLine(int x1, int y1, int x2, int y2);
void WmfPolyline(const win::POINT* points, int n);
void WmfPolygon(const win::POINT* points, int n);
void WmfEllipse(int x, int y, int rx, int ry, int fillStyle);
void WmfRectangle(int left, int top, int right, int bottom);
void WmfPie(int x, int y, int rx, int ry, int xs, int ys, int xe, int ye);
void WmfArc(int x, int y, int rx, int ry, int xs, int ys, int xe, int ye, int density);
void WmfPoint(int x, int y);
void WmfClip(int left, int top, int right, int bottom);
void WmfSelectFont(int width, int height, int angle, int fontNumber, int style,
                   std::string_view face);
void WmfTextOut(int x1, int y1, int x2, int y2, int justification, bool opaque,
                std::string_view text);
int WmfTextExtent(std::string_view text);
void WmfGradientPixel(int x, int y, int colour);
int WmfGradientTriangles(const int* x, const int* y, const int* colours, const int* triangles,
                         int vertexCount, int triangleCount);

}  // namespace tk
