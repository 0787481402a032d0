#pragma once
// The view routines that the importers call once a profile is filled: fitting
// the data graph to the data and the model section's depth axis to the model.
// They live in the view layer above this one, which binds them at start-up;
// unbound they do nothing.

#include <functional>

#include "model/polygon_model.h"
#include "model/profile_line.h"
#include "util/axis_record.h"

namespace files {

struct ViewServices {
    std::function<void(model::ProfileLine& profile)> DATARESCALEPL;
    std::function<void(util::AxisRecord& axis, model::PolygonModel& model,
                       model::ProfileLine& profile)>
        SCALE_BY;
};

ViewServices& viewServices();
void resetViewServices();

void rescaleData(model::ProfileLine& profile);
void scaleSection(util::AxisRecord& axis, model::PolygonModel& model, model::ProfileLine& profile);

// The profile's graphs by the names of their database sections.
inline util::AxisRecord& dataAxis(model::ProfileLine& p, int k) {
    return p.AXES[static_cast<std::size_t>(k - 1)];
}
inline util::AxisRecord& sectionAxis(model::ProfileLine& p, int k) {
    return p.AXES[static_cast<std::size_t>(4 + k - 1)];
}

}  // namespace files
