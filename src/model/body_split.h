#pragma once
// Cutting a body in two along a new edge between two of its vertices.

#include <span>

#include "model/polygon_model.h"

namespace model {

// Splits body ib along the new edge from vertex iv1 to vertex iv2 (global
// indices of body ib's vertices). The old body keeps one side, the other side
// becomes a new last body; the cut edge belongs to both. istat is 0 when done
// and -1 when refused with a message (the model then unchanged).
void SPLITBODY(PolygonModel& model, int ib, int iv1, int iv2, int& istat);

// Overwrites points N-3..N with the four closing points of a layer.
void COMPLETELAYER(std::span<float> x, std::span<float> z, int n);

}  // namespace model
