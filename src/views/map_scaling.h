#pragma once
// Fitting the map's axis record to the stations of the database and to the
// proportions of the window it is drawn in.

#include "model/profile_database.h"
#include "util/axis_record.h"

namespace views {

// The map graph box: at most this wide and high, its right edge at kMapRight
// unless that leaves less than kMapLeftMin on the left.
inline constexpr float kMapWidth = 8.5f;
inline constexpr float kMapHeight = 6.0f;
inline constexpr float kMapRight = 9.5f;
inline constexpr float kMapLeftMin = 1.25f;

// Makes one plot inch stand for the same distance across and up on a window
// of W x H pixels (x units per inch over H equal y units per inch over W).
void applyWindowAspect(util::AxisRecord& axis, int width, int height);

// Nice easting and northing ranges over every station of the database.
void SCALE_MAP(const model::ProfileDatabase& db, util::AxisRecord& axis);

// DATARESCALE for a window of W x H pixels.
void rescaleMap(const model::ProfileDatabase& db, util::AxisRecord& axis, int width, int height);

// The division lengths, clip maxima and left edge that REFRESH recomputes on
// every redraw for a window of W x H pixels.
void layoutMap(util::AxisRecord& axis, int width, int height);

// Fits the map axes to the stations; the window is the one selected for output.
void DATARESCALE(const model::ProfileDatabase& db, util::AxisRecord& axis);

}  // namespace views
