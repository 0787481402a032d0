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

void edgeValuesGeneric(const ForwardPlan& plan, const ForwardBody& body, std::span<const int> edges,
                       int begin, int end, int n, double* values, char* clipped) {
    lanes::edgeStations(plan, body, edges, begin, end, n, values, clipped);
}

}  // namespace calc::detail
