// The pack code for processors with AVX2 (this file is built with it where
// the compiler targets x86-64; the caller checks the processor first).
#include "calc/station_sums.h"

#if defined(__AVX2__)
#include "calc/lane_math.h"

namespace calc::lanes {
namespace {
using LanePack = Pack;
}  // namespace
}  // namespace calc::lanes

#include "calc/station_sums_packs.h"
#endif

namespace calc::detail {

bool stationSumsAvx2(const ForwardPlan& plan, int begin, int end, double* sums) {
#if defined(__AVX2__)
    return lanes::sumStations(plan, begin, end, sums);
#else
    return stationSumsGeneric(plan, begin, end, sums);
#endif
}

void edgeValuesAvx2(const ForwardPlan& plan, const ForwardBody& body, std::span<const int> edges,
                    int begin, int end, int n, double* values, char* clipped) {
#if defined(__AVX2__)
    lanes::edgeStations(plan, body, edges, begin, end, n, values, clipped);
#else
    edgeValuesGeneric(plan, body, edges, begin, end, n, values, clipped);
#endif
}

}  // namespace calc::detail
