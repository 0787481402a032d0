// The pack code for any processor of the family. Packs only travel between
// functions private to this file, so the vector calling convention that
// differs without AVX does not matter (GCC notes it at the end of the file).
#pragma GCC diagnostic ignored "-Wpsabi"

#include "calc/station_sums_packs.h"

namespace calc::detail {

bool stationSumsGeneric(const ForwardPlan& plan, int begin, int end, double* sums) {
    return lanes::sumStations(plan, begin, end, sums);
}

}  // namespace calc::detail
