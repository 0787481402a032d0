#pragma once
// Painting the section by the property of the body at each point, and the
// colour bar with its value scale right of the section.

#include "model/polygon_model.h"
#include "util/axis_record.h"

namespace views {

// Paints the section (nothing unless the fill range is positive). STATUS is
// 0, or 1 when the sample grid could not be had (nothing is painted then).
void BODYFILL(util::AxisRecord& section, const model::PolygonModel& model, int& status);

// The bar for BOTTOM..TOP with N colour rows; COLUMNS returns 4.
void PLOTCOLORBAR(float bottom, float top, int& columns, int n, const util::AxisRecord& section);

// The colour bar's own record, as the last PLOTCOLORBAR built it.
const util::AxisRecord& colourBarAxis();

}  // namespace views
