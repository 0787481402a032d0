#pragma once
// Which profile line lies under the mouse on the map.

#include <functional>

#include "model/profile_database.h"
#include "util/axis_record.h"
#include "views/hit_output.h"

namespace views {

inline constexpr float kLinePickRadius = 0.1f;  // plot inches

// Services of the map the hover test calls: whether a point lies inside the
// map graph, and the exclusive-or highlight of one profile's line.
struct MapHoverServices {
    std::function<bool(float e, float n, const util::AxisRecord& axis)> inGraph;
    std::function<void(int profile, const util::AxisRecord& axis, int pen)> markProfile;
};

// Hover test at (xin, yin) plot inches of the main window over the map of
// `mapAxis`. Profile lines of no length are rebuilt from their stations.
void MAPODOM(model::ProfileDatabase& db, float xin, float yin, const util::AxisRecord& mapAxis,
             int currentProfile, int& mapHoverProfile, const MapHoverServices& services,
             HoverOutput& out);

}  // namespace views
