#pragma once
// Presentation graphics: one toolkit-wide plot record that a plot is set up
// in before a single drawing call (contour lines, filled contours, cell
// colour maps, shaded surfaces), the styles of its data sets, the data
// ranges of its frame with linear or logarithmic axes, and the bracket every
// plot routine puts around its drawing. Only gridded plots (type 8, and the
// surface function of type 5) are drawn by this toolkit; the settings of the
// other plot types are kept as given.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/fixed_string.h"

namespace tk {

inline constexpr int kMaxDataSets = 500;

// How one data set (a contour level, fill band or colour class) is drawn.
// For filled areas style/param1/param2 are fill style, density and angle;
// for contour lines style is the line style (-999: no line), param1 the
// label kind and param2, marker or label the label's content.
struct DataSetStyle {
    int style = 4;
    int param1 = 2;
    int param2 = 0;
    int colour1 = 32;
    int colour2 = 64;
    int marker = -1;
    base::FixedString<10> label;
};

// A value range of the further settings, with its on/off flag.
struct PgRange {
    bool on = false;
    float low = 0, high = 0;
};

struct PresentationPlotSettings {
    // Plot shape.
    int plotType = 4;
    int dataSetCount = 500;
    int valueCount = 1;  // grid columns (nx)
    int rowCount = 0;    // grid rows (ny)
    int layerCount = 0;
    float valueCountReal = 1, columnStepsReal = 0;
    float rowCountReal = 0, rowStepsReal = 0;
    int optionBits = 0;
    bool threeD = false;
    int fillMode = 0;  // 1 colour grid, 2 cell colour map, 3 colour ramp
    bool gradientFill = false;
    bool xLogSuppressed = false;
    int styleKind = 0;
    bool frameClip = false;
    int conFillCount = 1;
    int labelDecimals = -1;
    int stepCountA = 1, stepCountB = 1;
    float barWidthFraction = 0.25f;

    // Data values at the frame's edges (reversed ranges allowed).
    float xFirst = 0, xLast = 1, xSpan = 1, xMin = 0, xMax = 1;
    float yFirst = 0, yLast = 1, ySpan = 1, yMin = 0, yMax = 1;
    float zFirst = 0, zLast = 1, zSpan = 1;
    float polarUnit = 1;
    bool xLogRequested = false, yLogRequested = false;
    bool xLog = false, yLog = false;
    float xLogFirst = 0, xLogSpan = 0, yLogFirst = 0, yLogSpan = 0;
    float polarLog = 0, polarLogShifted = 38;

    std::array<DataSetStyle, kMaxDataSets> sets{};

    // View of three-dimensional plots.
    float tiltFraction = 0.5f;
    float rotationAngle = 0;
    float rotationCosMinus45 = 0.7071068f, rotationCosPlus45 = 0.7071068f;
    float viewAspect = 0.5f;
    std::array<float, 3> axisAngleDegrees{}, axisAngleRadians{};
    int shadeOption = 3;
    int outlineColour = -3;  // shaded map: -3 colour 0, -1 cell colour, other codes
    int outlineEmptyCells = 1;
    int outlineColumnStep = 1, outlineRowStep = 1;

    // Further settings that only their setters, the set-up and the reset touch.
    std::array<float, 7> fractions{0.38f, 1.5f, 0.7f, 0.8f, 0.8f, 0.5f, 0.7f};
    std::array<PgRange, 2> ranges{};
    std::array<float, 3> nonNegative{1.0f, 1.0f, 1.0f};
    int plotColourNumber = 223, plotColourRgb = 0;
    int viewInteger = 0;
    std::array<int, 3> viewColours{};

    // The missing-value test (off unless switched on).
    bool missingTest = false;
    float missingValue = 1.0e20f;

    // Per-set work tables of plot types 3, 4 and 6, kept between plots.
    std::vector<int> typeThreeTable, typeFourSixA, typeFourSixB;

    void reset() { *this = PresentationPlotSettings{}; }
};

PresentationPlotSettings& presentationPlotSettings();
// The style of data set k = 1..500 (callers check the range).
DataSetStyle& dataSetStyle(int k);

// The reset state that a graphics reset gives: every setting, the frame
// ranges, a type-4 plot of 500 sets and every data set's reset style.
void ResetPresentationPlot();

// Starts a plot: type 1..11 (else 4), 1..500 data sets, COUNTS = nx, ny,
// layers. With applyDefaults nonzero the styles and view of the type are
// applied too.
void SetUpPresentationPlot(int plotType, int setCount, std::span<const int> counts,
                           std::optional<int> options = {}, std::optional<int> applyDefaults = {});
// The per-type style and view defaults (step 7 of a set-up with defaults).
void ApplyPresentationDefaults();

// Data ranges of the frame: X from x1 (left) to x2, Y from y1 (bottom) to y2.
// Equal ends report error 16 and give that axis 0..1.
void PgArea(float x1, float y1, float x2, float y2);
// Value range of gridded data; z1 < z2, else 0..1 and error 16.
void PgUnitsZ(float z1, float z2);
// Unit radius of polar plots; r > 0, else 1 and error 16.
void PgUnitsPolar(float r);
// Logarithmic axes are asked for by a text starting with "LOG" (any case).
void SetPgAxisScaleTypes(std::string_view xType, std::string_view yType);
void UpdatePgAxisScaling();
// "P" in the text confines plots to their frame.
void SetPgOptionLetters(std::string_view letters);

// Per-set settings; set numbers outside 1..500 are ignored.
void SetDataSetLabel(int set, std::string_view text);
void SetDataSetAttributes(int set, std::optional<int> style = {}, std::optional<int> param1 = {},
                          std::optional<int> param2 = {}, std::optional<int> colour1 = {},
                          std::optional<int> colour2 = {});
void SetDataSetMarker(int set, int marker);

void SetPgAxisAngle1(float angle, float value);
void SetPgAxisAngle2(float angle, float value);
void SetPgAxisAngle3(float angle, float value);
void SetPgColour(int colour);
void SetShadeOption(int value);
void SetPlotTiltAngle(float angle);
void SetPlotRotationAngle(float angle);
void SetPgFraction1(float v);
void SetPgFraction2(float v);
void SetPgFraction3(float v);
void SetPgFraction4(float v);
void SetPgFraction5(float v);
void SetPgFraction6(float v);
void SetPgFraction7(float v);
void SetPgRange1(float low, float high);
void SetPgRange2(float low, float high);
void SetConFillCount(int n);
void SetPgStepCounts(int a, int b);
void SetPgLabelDecimals(int n);
void SetPgNonNegative1(float v);
void SetPgNonNegative2(float v);
void SetPgNonNegative3(float v);
// The marker of missing grid values; with `on` nonzero the plots skip them.
void SetPgMissingValue(float marker, int on);

// log10 of the absolute value; -38 for 0.
float SafeLog10(float value);

// The two ends of a colour ramp, validated (error 42 "YYGRADCOL" once when
// one is replaced) and split: the low end's components and the differences
// high minus low.
void YYGRADCOL(int low, int high, int& red, int& green, int& blue, int& redDifference,
               int& greenDifference, int& blueDifference);

// Data value to user units through the axis scaling, the frame fractions and
// the user units.
float PgXToUnits(float x);
float PgYToUnits(float y);
bool PgValueIsPresent(float value);

// The bracket around every presentation drawing: the drawing state (and with
// frame clipping the area, units and frame) saved and put back.
void PgDrawBegin();
void PgDrawEnd();

// A colour ramp from colour1 of set 1 to colour1 of set 2 over the value
// range zFirst..zLast, in packed RGB.
struct ColourRamp {
    int red = 0, green = 0, blue = 0;
    int redDifference = 0, greenDifference = 0, blueDifference = 0;
    // The colours of the two ramp sets, validated.
    static ColourRamp fromPlotSets();
    // The packed RGB of fraction t (not limited to 0..1), truncating toward zero.
    int colourAt(float t) const;
    // The packed RGB of a value: t = (v - zFirst) / zSpan.
    int colourOfValue(float value) const;
};

// Switches the colour mode to direct RGB until restore() (or the end of its
// life), putting back the mode that was current.
class DirectRgbColours {
  public:
    DirectRgbColours();
    ~DirectRgbColours();
    void restore();
    DirectRgbColours(const DirectRgbColours&) = delete;
    DirectRgbColours& operator=(const DirectRgbColours&) = delete;

  private:
    int savedMode_ = 0;
    bool active_ = false;
};

}  // namespace tk
