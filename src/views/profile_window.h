#pragma once
// The profile window's full redraw: data graph above model section (or
// either alone), grids, menu states and title.

#include "model/polygon_model.h"
#include "model/profile_line.h"
#include "util/axis_record.h"

namespace views {

// Full redraw of the profile window for PROFILE and its title.
void REFRESHPL(model::ProfileLine& profile);
// The drawing behind REFRESHPL with the data graph, model graph and section records.
void REDISPLAY(model::ProfileLine& profile, model::PolygonModel& model, util::AxisRecord& data,
               util::AxisRecord& modelGraph, util::AxisRecord& section);

}  // namespace views
