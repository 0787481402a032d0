#pragma once
// The model parameter editor: the properties, free flags, strike extents and
// (for magnetics) remanence of every body of the working model in one grid,
// one row per body, with the background shown above it.

#include "model/polygon_model.h"

namespace shell {

// Status 0 after OK, -1 after Cancel or the close box (nothing stored).
void MODELPAREDIT(model::PolygonModel& model, bool gravity, int& status);

}  // namespace shell
