#pragma once
// The data editor: a grid of the profile's stations (positions, sensor and
// surface elevations, one data value and a mask flag each) with its name and
// distance units, column arithmetic, cell and row insertion and deletion,
// and the station geometry files.

#include "model/profile_line.h"

namespace shell {

// Status 0 when OK rebuilt the profile's stations from the grid; -1 after
// Cancel (the close box counts as Cancel) or when the grid held no station,
// with the profile unchanged.
void GRAVEDIT(model::ProfileLine& profile, int& status);

}  // namespace shell
