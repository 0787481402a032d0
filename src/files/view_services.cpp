#include "files/view_services.h"

namespace files {

ViewServices& viewServices() {
    static ViewServices services;
    return services;
}

void resetViewServices() {
    viewServices() = ViewServices{};
}

void rescaleData(model::ProfileLine& profile) {
    if (viewServices().DATARESCALEPL) viewServices().DATARESCALEPL(profile);
}

void scaleSection(util::AxisRecord& axis, model::PolygonModel& model, model::ProfileLine& profile) {
    if (viewServices().SCALE_BY) viewServices().SCALE_BY(axis, model, profile);
}

}  // namespace files
