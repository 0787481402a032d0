#pragma once
// The printer driver's drawing primitives: they own the printer context
// and its pen, font and clip region, and start a page before the first
// drawing after a page end. Coordinates are printer pixels.

#include <array>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace tk {

struct PrnDocStart {
    int resolutionX = 0, resolutionY = 0, colourCount = 0, status = 0, error = 0;
};

struct PrnState {
    win::HDC dc = nullptr;
    bool documentOpen = false;
    bool pagePending = false;
    int originX = 0, originY = 0, pageX = 0, pageY = 0;
    win::COLORREF colour = 0, previousColour = 0;
    int penStyle = 0, lineStyle = 0, penWidth = 1;
    win::HPEN pen = nullptr, replacedPen = nullptr;
    long cachedColour = -1;
    int cachedStyle = -1, cachedWidth = -1;
    win::HFONT font = nullptr, replacedFont = nullptr;
    win::HRGN clip = nullptr;
    int resolutionX = 0;
    bool extendedPens = true;
    std::array<std::vector<unsigned long>, 7> dashes;
    std::vector<win::POINT> points;  // the device point buffer
};

PrnState& prnState();
void ResetPrinterPrimitives();

PrnDocStart PrnStartDoc(int width, int height, int offsetX, int offsetY, int landscape, int copies,
                        const char* title);
void PrnBeginPage();
void PrnEndPage();
void PrnEndDoc();
void PrnSetColour(int red, int green, int blue);
void PrnSelectPen();
void PrnScaleDashes();
void PrnLineStyle(int style);
void PrnLineWidth(int width);
void PrnLine(int x1, int y1, int x2, int y2);
void PrnPolyline(int n);
void PrnEllipse(int x, int y, int rx, int ry, int fillStyle);
void PrnRectangle(int left, int top, int right, int bottom);
void PrnPie(int x, int y, int rx, int ry, int x1, int y1, int x2, int y2);
void PrnArc(int x, int y, int rx, int ry, int x1, int y1, int x2, int y2, int density);
void PrnPolygon(int n, int edge);
void PrnPoint(int x, int y);
void PrnClip(int left, int top, int right, int bottom);
// width and height in/out: the cell height measured comes back in height.
void PrnSelectFont(int width, int& height, int& ascent, int angle, int fontNumber, int style,
                   const char* face);
void PrnTextOut(int x1, int y1, int x2, int y2, int justification, bool opaque,
                std::string_view text);
int PrnTextExtent(std::string_view text);
void PrnGradientPixel(int x, int y, int colour);
int PrnGradientTriangles(const int* x, const int* y, const int* colours, const int* triangles,
                         int vertexCount, int triangleCount);
// ColourHandling: 1 invert, 2 swap near-black and near-white.
void PrnColourInvert(int& red, int& green, int& blue);

}  // namespace tk
