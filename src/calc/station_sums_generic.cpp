// The pack code for any processor of the family.

#include "calc/lane_math.h"

namespace calc::lanes {
namespace {
using LanePack = Pack;
}  // namespace
}  // namespace calc::lanes

#include "calc/station_sums_packs.h"

namespace calc::detail {

bool stationSumsGeneric(const ForwardPlan& plan, int begin, int end, double* sums) {
    return lanes::sumStations(plan, begin, end, sums);
}

}  // namespace calc::detail
