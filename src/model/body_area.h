#pragma once
// Signed areas of polygons and of every body of a model. The sign gives the
// orientation of a body's vertex run, which the forward calculation relies on.

#include <span>

#include "model/polygon_model.h"

namespace model {

// Signed area of the closed polygon X/Z(1..N): positive when the vertices run
// clockwise with X to the right and Z upwards.
float PGAREA(std::span<const float> x, std::span<const float> z, int n);

// AREAS(k) := the signed area of body k, for every body.
void FDAREA(PolygonModel& model);

}  // namespace model
