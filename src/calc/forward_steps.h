#pragma once
// The steps of the forward calculation that the whole calculation
// (forward_calc.cpp) and the calculation from kept body terms
// (body_terms.cpp) share: the plan of a profile's model, the station sums
// taken into synthetics, the misfit. Private to the calculation.

#include <cmath>
#include <string_view>
#include <vector>

#include "calc/station_sums.h"
#include "model/profile_line.h"
#include "util/plane_geometry.h"

namespace calc::steps {

// The variant of the calculation: the current one, or its older twin.
struct Variant {
    bool magneticsByFullNameOnly = false;
    bool turnIllegalDirection = false;
    std::string_view noStations =
        "There are currently no data points at which to 'calculate a forward curve.";
};

// How the station sums are taken into the synthetics.
struct Setup {
    bool magnetic = false;
    bool levelling = false;
    bool allBodies = true;
    int sign = 1;  // +1 adds, -1 subtracts (single-body mode)
};

// Everything of a calculation before the station sums: the refusals, the
// plan of the bodies in range and how the sums are taken into the
// synthetics. False when the calculation is refused (its message shown).
// `placed`, when given, is a plan of the same profile whose model had the
// header this one has: its stations are taken over, not placed again.
bool prepare(model::ProfileLine& p, int IBODY, const Variant& variant, ForwardPlan& plan, Setup& s,
             const ForwardPlan* placed = nullptr);

// A plan like prepare's for another model of the header `placed` was
// made for (with every body, its layers already extended), over the same
// profile and stations: the profile and the shared state are only read, so
// that several models may be planned at once.
void prepareAlike(const model::ProfileLine& p, model::PolygonModel& m, const ForwardPlan& placed,
                  const Setup& placedSetup, ForwardPlan& plan, Setup& s);

// The regional of every station into the profile's regional array, where
// the calculation sets it (the same for every model of the profile).
void placeRegional(model::ProfileLine& p, const Setup& s);

// The station sums with the regional added and levelled, in double; the
// profile is only read (its regional placed beforehand).
std::vector<double> totals(const model::ProfileLine& p, Setup s, const StationSums& sums);

// The station sums taken into the synthetics: the regional, the levelling,
// the misfit.
void finish(model::ProfileLine& p, const Setup& s, const StationSums& sums);

inline constexpr float kMissingLimit = 1.0E10f;  // data at or above this are missing

// Station i counts in the levelling and the misfit (inline: the misfit of
// every model of an inversion step asks it of every station).
inline bool counts(const model::ProfileLine& p, int i) {
    const bool unmasked = p.LMASKU || !p.MASK.has(i, 1) || !p.MASK(i, 1);
    return unmasked && p.DAT.has(i, 1) && p.DAT(i, 1) < kMissingLimit;
}

// Root-mean-square misfit of the data against synthetics: syn(i, value)
// gives station i's synthetic and answers false when it has none.
template <class Synthetic>
float misfit(const model::ProfileLine& p, const Synthetic& syn) {
    double sum = 0.0;
    int n = 0;
    for (int i = 1; i <= p.NSTA; ++i) {
        float value = 0.0f;
        if (!counts(p, i) || !syn(i, value)) continue;
        const double d = static_cast<double>(p.DAT(i, 1)) - static_cast<double>(value);
        sum += d * d;
        ++n;
    }
    if (n == 0) return 0.0f;
    const auto total = static_cast<float>(sum);
    return util::LEQNAN(total) ? 1.0E20f
                               : std::sqrt(std::fabs(total / static_cast<float>(n)) + 1.0E-30f);
}

}  // namespace calc::steps
