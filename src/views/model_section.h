#pragma once
// The profile window's model section: topography, bodies and layers over an
// optional colour fill, vertices, pivots, locks, free vertices, the body
// being digitised, labels, frame and titles.

#include <string_view>

#include "model/polygon_model.h"
#include "model/profile_line.h"
#include "util/axis_record.h"

namespace views {

// SELECTED 0 draws everything with the frame; a body number is the fast
// redraw of a drag, with that body highlighted.
void PLOTBODIES(util::AxisRecord& axis, model::PolygonModel& model, model::LabelSet& labels,
                int selected, std::string_view xunit, std::string_view zunit);
// Layout, shared distance axis, PLOTBODIES and the station elevation curve.
void REFRESHMODEL(model::ProfileLine& profile, model::PolygonModel& model, int selected);
void DRAWPIVOT(const model::PolygonModel& model, int body, bool xorMode, util::AxisRecord& axis);
void DRAWLOCKS(model::PolygonModel& model, util::AxisRecord& axis);
void DRAWFREE(const model::PolygonModel& model, util::AxisRecord& axis);

// The station elevations on the section and what the hit tests need of it.
void drawElevationsAndKeepScale(model::ProfileLine& profile, util::AxisRecord& axis);

}  // namespace views
