#pragma once
// Small profiles, models and databases built by hand for the view tests.

#include <utility>
#include <vector>

#include "model/profile_database.h"
#include "model/profile_line.h"

namespace views_test {

struct Station {
    float east, north, dist, elev, data, syn;
};

// A profile named NAME of "Gravity Data" with the given stations (one data
// component), distances in metres, synthetics valid when SYN is true.
model::ProfileLine makeProfile(const char* name, const std::vector<Station>& stations,
                               bool syn = false);

using Outline = std::vector<std::pair<float, float>>;

// A model with flat topography at z = 0 from x = -1000 to 1000 (closed far
// below) and the given bodies, body b with property DENS(b) = props[b - 1].
model::PolygonModel makeModel(const std::vector<Outline>& bodies, const std::vector<float>& props,
                              float background = 0.0f);

// Rectangle x0..x1 by z0..z1.
Outline rect(float x0, float z0, float x1, float z1);

// A database holding the given profiles.
model::ProfileDatabase makeDatabase(const std::vector<model::ProfileLine>& profiles);

}  // namespace views_test
