#pragma once
// Presentation graphics of gridded data: the plot record that a plot is set
// up in, the data ranges of its frame, and the cell colour map that paints a
// grid of colour numbers. Only gridded plots (type 8) are drawn here.

#include <cstdint>
#include <span>

namespace tk {

struct PresentationPlotSettings {
    int plotType = 4;
    int dataSetCount = 500;
    int valueCount = 1;  // grid columns (nx)
    int rowCount = 0;    // grid rows (ny)
    int layerCount = 0;
    float valueCountReal = 1, columnStepsReal = 0;
    float rowCountReal = 0, rowStepsReal = 0;
    int optionBits = 0;
    bool threeD = false;
    int fillMode = 0;  // 2 = cell colour map
    bool gradientFill = false;
    bool xLogSuppressed = false;
    float barWidthFraction = 0.25f;

    // Data values at the frame's edges (reversed ranges allowed).
    float xFirst = 0, xLast = 1, xSpan = 1, xMin = 0, xMax = 1;
    float yFirst = 0, yLast = 1, ySpan = 1, yMin = 0, yMax = 1;

    void reset() { *this = PresentationPlotSettings{}; }
};

PresentationPlotSettings& presentationPlotSettings();

// Starts a plot: type 1..11 (else 4), 1..500 data sets, COUNTS = nx, ny, layers.
void SetUpPresentationPlot(int plotType, int setCount, std::span<const int> counts,
                           int options = 0);

// Data ranges of the frame: X from x1 (left) to x2, Y from y1 (bottom) to y2.
// Equal ends report error 16 and give that axis 0..1.
void PgArea(float x1, float y1, float x2, float y2);

// Data value to user units through the frame fractions and the user units.
float PgXToUnits(float x);
float PgYToUnits(float y);

// The bracket around every presentation drawing: drawing state saved and put back.
void PgDrawBegin();
void PgDrawEnd();

// Paints cell (i, j) of the nx x ny grid in colour number COLOURS((j - 1) nxDim + i),
// rows from the top down, runs of one colour as one rectangle; -1 = unpainted.
// The last column and row of the array are not used.
void DrawCellColourMap(std::span<const std::int32_t> colours, int nxDim, int nyDim);

// The colour-cell map under the name the views use.
void ContourFillKey(std::span<const std::int32_t> colours, int nx, int nz);

}  // namespace tk
