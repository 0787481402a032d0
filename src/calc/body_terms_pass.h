#pragma once
// One model's calculation from kept body terms: the bodies whose kept terms
// do not fit computed again, and every body's terms summed in body order,
// each slice of stations taken through every model of a pass while it is
// at hand. Private to the calculation: body_terms.cpp plans the passes and
// keeps what they computed.

#include <atomic>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "calc/body_terms.h"
#include "calc/forward_steps.h"

namespace calc {

namespace passes {

template <class T>
inline bool sameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// A gravity sum is the body's own sum times its contrast: the terms are
// kept for unit contrast and scaled as the sums scale them.
inline bool unitContrast(const ForwardPlan& plan) {
    return plan.scale != SumScale::Magnetic;
}

// How a body's kept terms are scaled.
inline SumScale keptScale(const ForwardPlan& plan) {
    return unitContrast(plan) ? SumScale::Gravity : plan.scale;
}

// A body's run of a vertex array, first to last.
inline std::span<const float> run(const std::vector<float>& v, const ForwardBody& b) {
    return std::span<const float>(v).subspan(static_cast<std::size_t>(b.first),
                                             static_cast<std::size_t>(b.last - b.first + 1));
}

// A body's edges, as many as its vertices.
inline std::size_t edgeCount(const ForwardBody& b) {
    return static_cast<std::size_t>(b.last - b.first + 1);
}

// A body computed edge by edge: every edge, or those at the moved vertices
// over the kept values of the others.
struct EdgeWork {
    std::size_t at = 0;                     // position in the plan
    const BodyTerms::Kept* base = nullptr;  // the kept values the moved edges replace
    std::shared_ptr<UnsetValues> block;     // the listed edges' values, edge by edge
    std::vector<const double*> rows;        // every edge's values, in the order they are summed
    std::size_t firstFlag = 0;              // its listed edges' confinement flags start here
};

}  // namespace passes

// One model's calculation from kept terms.
struct BodyTerms::Pass {
    ForwardPlan plan;
    steps::Setup s;
    bool sameStations = false;
    const std::vector<std::shared_ptr<const Kept>>* kept = nullptr;  // those that may fit
    // The bodies whose kept terms do not fit: large ones summed whole, the
    // others edge by edge (only the edges at moved vertices where the kept
    // values allow).
    std::vector<ForwardPlan> whole;
    std::vector<std::size_t> wholeAt;
    std::vector<EdgeTask> tasks;
    std::vector<passes::EdgeWork> edgeWork;
    // Their new records by position in the plan, made before the sweep over
    // the stations fills in their values, and whether some slice confined
    // an offset (the whole bodies, then the tasks' edges).
    std::vector<std::shared_ptr<Kept>> fresh;
    std::unique_ptr<std::atomic<bool>[]> confined;
    StationSums total;
    // The pass's stations when they are not the kept terms'.
    std::shared_ptr<const Stations> stations;

    const Kept& termsAt(std::size_t j) const {
        return fresh[j] ? *fresh[j] : *(*kept)[static_cast<std::size_t>(plan.bodies[j].body)];
    }
    long bodiesComputed() const { return static_cast<long>(whole.size() + tasks.size()); }
};

namespace passes {

// The records of the bodies computed again and the model's sums, their
// values still unset.
void openPass(BodyTerms::Pass& pass);
// The passes' work over the stations in one sweep shared out over the
// threads: each slice of stations through every pass while it is at hand,
// a pass's sums taking over the running sums of the pass before as far as
// they add the same.
void sweepPasses(std::span<BodyTerms::Pass* const> passes);
// The sweep's confinement flags into the records and the model's sums.
void closePass(BodyTerms::Pass& pass);

}  // namespace passes

}  // namespace calc
