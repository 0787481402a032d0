#pragma once
// Small models built by hand for the model tests.

#include <initializer_list>
#include <utility>
#include <vector>

#include "model/polygon_model.h"
#include "outline_model.h"

namespace model_test {

// A model of the given bodies, every vertex free, every body with level 1 and
// no parent, property b for body b, and a flat topography at z = 100 from
// x = -1000 to 1000 unless `withTopography` is false.
model::PolygonModel makeModel(const std::vector<Outline>& bodies, bool withTopography = true);

// A square with corners (x0, z0) and (x0 + size, z0 + size), listed as
// (x0, z0), (x0, z0 + size), (x0 + size, z0 + size), (x0 + size, z0).
Outline square(float x0, float z0, float size);

}  // namespace model_test
