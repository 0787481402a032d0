#pragma once
// The two "New Profile Parameters" dialogs: the data type with its unit,
// the density or susceptibility unit, the distance units, the sensor
// elevation mode and height and, for magnetics, the inducing field of a
// profile about to be created or of the working profile.

#include "model/profile_line.h"

namespace shell {

// Status 0 when OK stored the choices in the profile's head, -1 on Cancel
// (the close box counts as Cancel) with the head unchanged.
void GETGRAVDATATYPE(model::ProfileLine& profile, int& status);
void GETMAGDATATYPE(model::ProfileLine& profile, int& status);

}  // namespace shell
