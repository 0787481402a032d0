#pragma once
// The body editor: the vertices of one body or layer of the working model in
// a grid with their free flags, its property and strike extents and, for
// magnetics, its remanence. It also makes a new body or layer from typed-in
// vertices.

#include "model/polygon_model.h"

namespace shell {

// `body` above the body count makes a new body (a layer when `layer`).
// Status 0 when OK stored the body, -1 after Cancel (or the close box), which
// leaves the model exactly as the editor found it. A body whose edges cross
// another body or the topography is refused and the model left unchanged.
void BODYEDIT(model::PolygonModel& model, int body, bool gravity, bool layer, int& status);

}  // namespace shell
