#pragma once
// Fitting the profile window's axes: the distance and data axes of the data
// graph to the stations and values, the section's elevation axis to the
// model.

#include "model/polygon_model.h"
#include "model/profile_line.h"
#include "util/axis_record.h"

namespace views {

// RESET starts a fresh range; otherwise the range of the previous call is
// extended, so several profiles can share one axis.
void SCALE_X_PROF(util::AxisRecord& axis, const model::ProfileLine& profile, bool reset);
void SCALE_Y_PROF(util::AxisRecord& axis, const model::ProfileLine& profile, bool reset);

// Both data graphs of the profile (the second only with two components).
void DATARESCALEPL(model::ProfileLine& profile);

// Elevation axis of the section from stations, bodies and topography.
void SCALE_BY(util::AxisRecord& axis, const model::PolygonModel& model,
              const model::ProfileLine& profile);

}  // namespace views
