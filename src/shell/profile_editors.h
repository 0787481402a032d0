#pragma once
// Three small editors of the working profile: the regional field's control
// points, the background property (and background remanence) of the model,
// and the geometry that ties the profile and its model to the map.

#include "model/polygon_model.h"
#include "model/profile_line.h"

namespace shell {

// Each answers status 0 after OK and -1 after Cancel or the close box.
void REGIONALEDIT(model::ProfileLine& profile, int& status);
void BKGREDIT(model::PolygonModel& model, bool gravity, int& status);
// "Set Profile/Strike from Data" changes the profile at once; Cancel keeps
// what it set.
void GEOMEDIT(model::ProfileLine& profile, model::PolygonModel& model, int& status);

}  // namespace shell
