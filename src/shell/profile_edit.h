#pragma once
// What the mouse handlers and the editing commands share about the profile
// window: its graphs, the conversions between window units, plot inches and
// graph values, the redraws, and marking the working profile changed.

#include "model/polygon_model.h"
#include "model/profile_line.h"
#include "util/axis_record.h"
#include "views/hit_output.h"

namespace shell {

// The working profile's first data graph and its model section.
util::AxisRecord& dataAxis();
util::AxisRecord& sectionAxis();
model::PolygonModel& workingModel();

// Window units (0..10000, y down) to plot inches of the 10 x 8 inch page.
float inchesX(int x);
float inchesY(int y);
// A window-unit position as values of a graph.
float graphX(int x, const util::AxisRecord& axis);
float graphY(int y, const util::AxisRecord& axis);

// The working profile's data type: "Mag" in its name, "ravi" in its name.
bool magneticData();
bool gravityData();

// Selects the profile window for output (when it is open).
void selectProfileWindow();
// The working profile no longer equals its database slot.
void markProfileChanged();
// Forward calculation of the working profile (nothing while the model is illegal).
void calculate();

// The status bar and cursor of the window selected for output.
views::HoverOutput& hoverOutput();

}  // namespace shell
