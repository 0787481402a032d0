#pragma once
// The profile window's data graph: observed values, synthetics and regional
// against profile distance, with frame, numbers, titles and labels.

#include <string>

#include "model/profile_line.h"
#include "util/axis_record.h"

namespace views {

// Draws the graph of the profile in its first panel's record AXIS1 (and the
// next record for a second panel); FULL also draws frame, numbers and titles.
void PLOT_PROF(util::AxisRecord& axis1, model::ProfileLine& profile, bool full);

// Partial redraw with the profile window's layout; nothing when the data
// graph is hidden.
void REFRESHDATA(model::ProfileLine& profile, util::AxisRecord& axis);

// Axis-title table numbers of a data type for panel PANEL: left and right, 0
// when the type is unknown.
struct DataTitles {
    int left = 0, right = 0;
};
DataTitles dataTitles(std::string_view dtype, int panel, int graphs);

// The title of the distance axis: "Profile Distance (km)" for a unit "km";
// a unit field never filled keeps the table's own unit.
std::string distanceTitle(std::string_view table5, std::string_view unit);

// A unit field as shown: without its padding; empty when it was never filled
// (blanks or zero bytes).
std::string unitText(std::string_view field);

}  // namespace views
