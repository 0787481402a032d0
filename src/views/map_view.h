#pragma once
// The main window's map: stations and lines of every profile in easting and
// northing, model baselines, grid, titles and the mark of the current profile.

#include "model/profile_database.h"
#include "util/axis_record.h"

namespace views {

// Redraws the main window (nothing for an empty database).
void REFRESH(model::ProfileDatabase& db, util::AxisRecord& axis);
// Draws the graph; called by REFRESH.
void PLOT_MAP(model::ProfileDatabase& db, util::AxisRecord& axis);
// One profile's line and, when its strike is oblique, its model baseline.
void PLOTPLINEONMAP(model::ProfileLine& profile, util::AxisRecord& axis);
// A straight line through (E, N) with azimuth A degrees across the whole graph.
void BASELINE(float e, float n, float azimuth, util::AxisRecord& axis);
// PLOTPLINEONMAP in exclusive-or with PEN on the main window; twice restores.
void MARKPFLONMAP(model::ProfileLine& profile, util::AxisRecord& axis, int pen);

// The mark of the current profile (MARKPFLONMAP with pen 0) as the screen
// holds it: shown moves the mark to `profile` (0 removes it), drawing only
// what is not there yet; hidden erases it only when it stands. REFRESH
// draws the current profile's mark this way, so a mark asked for after a
// redraw is never cancelled by it.
void showProfileMark(model::ProfileDatabase& db, util::AxisRecord& axis, int profile);
void hideProfileMark(model::ProfileDatabase& db, util::AxisRecord& axis);

// "Easting (m)" style title with "m)" made "km)" for the kilometre display.
std::string mapTitle(std::string_view title, bool kilometres);

}  // namespace views
