#pragma once
// Contour lines of gridded data in the presentation plot. A regular grid is
// contoured by following each contour from cell to cell, so that it leaves
// as one polyline with its label in a gap cut into the line; a grid with
// given node positions is contoured cell by cell from a five-point
// triangulation of each cell. Level k takes the style of data set k.

#include <span>
#include <string_view>

namespace tk {

// Levels: the first N given, else zFirst + k zSpan / N for k = 1..N. Without
// X and Y arrays the regular engine runs; with either, the cell-by-cell one
// (the missing array spread over the plot's range). Empty spans are absent.
void DrawContourPlot(std::span<const float> grid, int nxDim, int nyDim,
                     std::span<const float> levels = {}, std::span<const float> x = {},
                     std::span<const float> y = {});
// Traced and labelled contours; node (i, j) evenly spread over the plot's
// ranges. Error 43 when the levels do not increase.
void PgContourRegular(std::span<const float> grid, int nxDim, int nyDim,
                      std::span<const float> levels);
// Contours cell by cell with node (i, j) at (x(i), y(j)). Error 43 when the
// levels do not increase.
void PgContourIrregular(std::span<const float> grid, int nxDim, int nyDim,
                        std::span<const float> levels, std::span<const float> x,
                        std::span<const float> y);

// The label text of a level value with its decimal exponent, in the
// 200-character buffer of contourLabelText(); first and last are the
// 1-based positions of its first and last character.
void FormatContourLabel(float value, int exponent, int extraDigit, int& first, int& last);
std::string_view contourLabelText();

// Distance from (px, py) to the segment (x1, y1)-(x2, y2), or with lineMode
// nonzero to the line through it; -1 for a segment without length.
float PointSegmentDistance(float x1, float y1, float x2, float y2, float px, float py,
                           int lineMode);
void PgPointToUnits(float x, float y, float& ux, float& uy);
// A polyline in user units.
void DrawPolylineUnits(const float* x, const float* y, int count);

}  // namespace tk
