#pragma once
// Filled presentation plots of a regular grid: bands of values between
// boundary levels (cells that straddle a boundary are subdivided or shaded
// as gradients), and maps that paint every cell with a colour number from an
// integer grid. Both work row by row from the top and paint horizontally
// adjacent cells of one colour as one rectangle.

#include <cstdint>
#include <span>

namespace tk {

// Grid values stored column by column with stride nxDim. Band k of the N data
// sets holds levels(k-1) <= v < levels(k); only the first N - 1 levels are
// used, and without levels they divide zFirst..zLast evenly. The optional X
// and Y arrays place the nodes; an empty span means absent. Error 43 when the
// levels do not increase.
void PgContourFill(std::span<const float> grid, int nxDim, int nyDim,
                   std::span<const float> levels = {}, std::span<const float> x = {},
                   std::span<const float> y = {});

// Paints cell (i, j) in colour number COLOURS((j - 1) nxDim + i); -1 = cell
// left empty. The last column and row of the array are not used.
void DrawCellColourMap(std::span<const std::int32_t> colours, int nxDim, int nyDim,
                       std::span<const float> x = {}, std::span<const float> y = {});

// The colour-cell map under the name the views use.
void ContourFillKey(std::span<const std::int32_t> colours, int nx, int nz);

}  // namespace tk
