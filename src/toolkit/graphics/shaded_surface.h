#pragma once
// Gridded data as a colour-shaded surface seen obliquely: each cell is a
// quadrilateral raised by its values, projected into the plot frame, filled
// by value band, by a colour grid or by a colour ramp (optionally as a colour
// gradient), outlined, and drawn from the back to the front.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace tk {

// The outline colour code (-3 colour number 0, -1 each cell's colour over
// cells filled with colour 0, -2 or out of range none) and, when given,
// whether unfilled cells are outlined and every how many columns and rows.
void SetShadedGridOptions(int outlineColour, std::optional<int> outlineEmptyCells = {},
                          std::optional<int> columnStep = {}, std::optional<int> rowStep = {});

// The surface of a grid; colours hold colour numbers or packed RGB per node
// for the colour-grid fills.
void DrawShadedGrid(std::span<const float> grid, int nxDim, int nyDim,
                    std::span<const std::int32_t> colours);

// The surface function f(x, y) is used by plot type 5, the grid by type 8.
using SurfaceFunction = std::function<float(float x, float y)>;
void YYCON3(const SurfaceFunction& f, std::span<const float> grid, int nxDim, int nyDim,
            std::span<const float> levels, std::span<const std::int32_t> colours);

// The projection: node (i, j) (from 0) of value z lies at
// X = p i + q j + xOffset, Y = s i - r j + yOffset + (z - zFirst) zScale.
void ShadedGridProjection(float& p, float& q, float& r, float& s, float& zScale, float& xOffset,
                          float& yOffset);

// Intersection of the line through (x1, y1), (x2, y2) with the one through
// (x3, y3), (x4, y4): code 0 same line, 1 parallel, else 2 plus 1 when the
// point is on the first segment and 2 when on the second.
void IntersectLines(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                    float& x, float& y, int& code);

}  // namespace tk
