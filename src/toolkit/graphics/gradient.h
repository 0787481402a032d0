#pragma once
// Gradient polygons (one packed RGB colour per vertex, the inside shaded by
// interpolation), the ear-clipping decomposition of simple polygons into
// triangles that devices without a gradient fill of their own shade pixel
// by pixel, filling polygons as triangles, and the AutoCAD colour palette.

#include <array>
#include <functional>
#include <vector>

namespace tk {

inline constexpr int kMaxGradientVertices = 1000;

// The polygon of the current request 40: its vertex count, the colour of
// each vertex and the integer vertices in the pixel frame of the device
// that shades it (filled by that device).
struct GradientPolygon {
    int vertexCount = 0;
    std::array<int, kMaxGradientVertices> colours{};
    std::array<int, kMaxGradientVertices> x{}, y{};
};
GradientPolygon& gradientPolygon();

// Sets one pixel of a device to a packed RGB colour.
using GradientPixelOperation = std::function<void(int x, int y, int colour)>;
// Draws triangles natively: vertex lists, colours, the triangle list
// (1-based triples), the vertex and triangle counts; 0 when done.
using GradientTriangleOperation =
    std::function<int(const int* x, const int* y, const int* colours, const int* triangles,
                      int vertexCount, int triangleCount)>;

void FillGradientPolygon(const float* x, const float* y, const int* colours, int n);
// Cuts the closed polygon into triangles: triples of 1-based vertex numbers.
void YYPolygonDecompose(const float* x, const float* y, int n, std::vector<int>& triangles,
                        int& count);
// Shades triangle (three 1-based vertex numbers of gradientPolygon()) into
// the pixel rectangle [xLow, xHigh] x [yLow, yHigh].
void FillGradientTriangle(const int triangle[3], int xLow, int yLow, int xHigh, int yHigh,
                          const GradientPixelOperation& pixel);
void FillPolygonTriangulated(const float* x, const float* y, int n);
int AciColourRgb(int index);

// A device's handling of request 40 once it has put its integer vertices
// into gradientPolygon(): merges repeated vertices, decomposes, and fills
// the triangles natively (mode 2) or pixel by pixel.
void GradientPolygonPrepare(int mode, int clipX1, int clipY1, int clipX2, int clipY2,
                            const GradientPixelOperation& pixel,
                            const GradientTriangleOperation& triangles);

// Request 40 on the screen's drawing surface.
void ScreenGradientRequest();

}  // namespace tk
