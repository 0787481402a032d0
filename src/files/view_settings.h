#pragma once
// The user's lasting choices and the view state that the views, the dialogs
// and the commands share. One record for the whole run: it starts with the
// defaults below, the settings file overwrites what it holds at start-up and
// the whole keyed part is written back at exit.

#include <array>
#include <cstddef>
#include <string_view>

#include "base/fixed_string.h"

namespace files {

// Colour numbers 0..15 of the plotting layer's palette; colour c is shown to
// the user as ColourNames[c].
struct PlotColours {
    int K_PNTS = 4;   // stations on the map
    int K_PLIN = 9;   // profile lines on the map
    int K_REG = 4;    // regional curve
    int K_BADB = 12;  // offending bodies
    int K_ELEV = 7;   // topography and elevation
    int K_FREE = 11;  // free-vertex marks
    int K_LABL = 7;   // labels
    int K_LOCK = 11;  // lock marks
    int K_SELP = 8;   // selected profile (offered and stored only)
    int K_DATA = 3;   // observed data
    int K_GRID = 4;   // axes and grid lines
    int K_SYNT = 1;   // synthetic curve
    // Body colours by body number 1..10 (index 0 is body 1).
    std::array<int, 10> K_BODY = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
};

inline constexpr std::array<std::string_view, 16> ColourNames = {
    "Black",     "Light Cyan", "Magenta",     "Light Magenta", "Light Blue", "Cyan",
    "Dark Blue", "Green",      "Light Green", "Yellow",        "Brown",      "Light Red",
    "Red",       "Gray",       "Light White", "White"};

// Placement of a window: state (1 = normal), then geometry in window units.
struct WindowPlacement {
    int state = 1;
    int height = 0;
    int width = 0;
    int y = 0;
    int x = 0;
    bool operator==(const WindowPlacement&) const = default;
};

using AxisTitle = base::FixedString<40>;
inline constexpr std::size_t kAxisTitleCount = 35;

// The 35 axis titles, numbered from 1 as everywhere else.
class AxisLabelTable {
  public:
    AxisLabelTable();
    AxisTitle& operator()(std::size_t number) { return titles_.at(number - 1); }
    const AxisTitle& operator()(std::size_t number) const { return titles_.at(number - 1); }
    bool operator==(const AxisLabelTable&) const = default;

  private:
    std::array<AxisTitle, kAxisTitleCount> titles_;
};

struct ViewSettings : PlotColours {
    // Axis-title heights and offsets (plot inches).
    float HIMAPH = 0.18f, HIMAPV = 0.18f, OFFMAPH = 0.0f, OFFMAPV = 0.0f;
    float HIMODV = 0.18f, OFFMODV = 0.0f, HIMODH = 0.18f, OFFMODH = 0.0f;
    float HIDATH = 0.18f, HIDATV = 0.18f, OFFDATH = 0.0f, OFFDATV = 0.0f;
    float HICNAME = 0.27f;
    float OFFDATP = 0.0f;  // read from older settings files; nothing uses it

    // Window placements; the zero sizes are filled in from the screen at start-up.
    WindowPlacement MainWindowPlacement{1, 0, 0, 0, 0};
    WindowPlacement ProfileWindowPlacement{1, 265, 455, 435, 237};
    WindowPlacement WellLogPlacement{1, 0, 0, -1, -1};
    WindowPlacement SoundingPlacement{1, 0, 0, 3, 3};

    // Positions of modeless dialogs for the run (-1 = let the dialog manager place it).
    int LOCKDLG_X = -1, LOCKDLG_Y = -1;
    int VIEWDLG_X = -1, VIEWDLG_Y = -1;
    static constexpr int LEADERDLG_ID = 111;
    static constexpr int FOLLOWERDLG_ID = 112;
    static constexpr int PAIRDLG_ID = 113;

    // Column choices of the column-file importers (columns and rows from 1, 0 = not set).
    int EastingColumn = 1, NorthingColumn = 2, ElevationColumn = 3, PDistColumn = 4;
    int DataColumn = 5, TimeColumn = 2, ColumnIncrement = 0;
    int SpaceColumn = 1, ModelResistColumn = 2, FirstRow = 0, LastRow = 0;

    // View and edit switches.
    bool LVIEWVERT = true, LVIEWFREE = true, LVIEWPIVOT = false, LCOLFILL = true;
    bool LCALCDET = true, LCALCMOVE = true, LPOLYLINE = false;
    bool LVIEWREG = true, LSHOWDATA = true, LSHOWMODEL = true;

    // Print options and the report's text size.
    bool LPGRAPH = true, LPDATA = true, LPREG = false, LPBODS = false;
    float PRINT_CHAR_HEIGHT = 0.04f, PRINT_CHAR_WIDTH = 0.022f;
    int PRINT_FONT = 1, PRINT_FONT_TYPE = 103;

    // Colour fill of bodies.
    float FILL_MIN = 0.0f, FILL_MAX = 5.0f;
    int ColorGridX = 150, ColorGridY = 75, BODY_FILL_METHOD = 4;

    int LineWidth = 2;
    int Debug = 0;
    static constexpr int MAXPROFILES = 100;
    int MAP_UNITS = 1;
    float DIGIT_MIN_STEP = 0.2f;
    static constexpr std::string_view CRLF = "\r\n";
    int NLABELS_IO = 0;
    static constexpr int HEIGHTCOL_OUT = 4;
    static constexpr int IZERO = 0;

    // Settings that only travel through the settings file.
    int IPctPpmUnit = 1, IThkDpthElev = 1, BatchSmooth = 1, BatchEquivalence = 1;
    bool BatchPlotData = true, BatchPlotModel = true, BatchPlotLayered = true;
    bool BatchPlotEquivalent = true, BatchPlotSmooth = true, BatchPlotGroup = false;
    bool LMODONDAT = false;
    int SpacingColumn = 2, ResistivityColumn = 3, MNColumn = 3, CurrentColumn = 6;
    int DistanceColumn = 3, FrequencyColumn = 1, InPhaseColumn = 2, QuadratureColumn = 4;
    int WellDepthColumn = 1, WellResistColumn = 3, RhoErrorColumn = 4, PhaseErrorColumn = 6;
    int IPDataColumn = 4, VoltageColumn = 3;

    AxisLabelTable AxisLabels;

    void reset() { *this = ViewSettings{}; }
};

// The one record of the run.
ViewSettings& viewSettings();

}  // namespace files
