#pragma once
// Removing a whole body or layer with all its vertices.

#include "model/polygon_model.h"

namespace model {

// Removes body `body` (1..NBOD): its vertices go, followers of them become
// their own leaders, the later bodies move down one number with all their
// values. Levels, parents and areas are left for the caller to recompute.
void DELETEBODY(PolygonModel& model, int body);

}  // namespace model
