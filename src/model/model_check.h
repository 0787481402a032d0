#pragma once
// The legality rules of a model: no edge crosses the topography or a body
// edge, and no body lies partly inside and partly outside another body.

#include "model/polygon_model.h"

namespace model {

// Vertex iv fails a rule; the finding is left in the crossing report. ib names
// a body still open (its closing edge not yet part of the model), or 0.
bool LXCHK(int iv, int ib, const PolygonModel& model);

// Some vertex of the model fails LXCHK; stops at the first failure.
bool LBADMODEL(const PolygonModel& model);

// The interactive Check Model command: shows every finding, "Model tests OK"
// when there is none; with iopt each finding also goes to the debug log.
void BODYCHECK(bool iopt, const PolygonModel& model);

}  // namespace model
