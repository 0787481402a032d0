// The pack code for processors with AVX-512: eight stations side by side
// (this file is built with it where the compiler targets x86-64; the caller
// checks the processor first).
#include "calc/station_sums.h"

#if defined(__AVX512F__)
#include "calc/lane_math.h"

namespace calc::lanes {
namespace {
using LanePack = Pack8;
}  // namespace
}  // namespace calc::lanes

#include "calc/station_sums_packs.h"
#endif

namespace calc::detail {

bool stationSumsAvx512(const ForwardPlan& plan, int begin, int end, double* sums) {
#if defined(__AVX512F__)
    return lanes::sumStations(plan, begin, end, sums);
#else
    return stationSumsAvx2(plan, begin, end, sums);
#endif
}

void edgeValuesAvx512(const ForwardPlan& plan, const ForwardBody& body, std::span<const int> edges,
                      int begin, int end, int n, double* values, char* clipped) {
#if defined(__AVX512F__)
    lanes::edgeStations(plan, body, edges, begin, end, n, values, clipped);
#else
    edgeValuesAvx2(plan, body, edges, begin, end, n, values, clipped);
#endif
}

}  // namespace calc::detail
