#pragma once
// The anomaly of a profile's model kept body by body, so that models that
// differ from it in a few bodies are calculated again in those alone.

#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "calc/station_sums.h"
#include "model/polygon_model.h"
#include "model/profile_line.h"

namespace calc {

// The synthetics and misfit a model gives, as CALC(profile, 0) leaves them
// in the profile; not valid when the calculation was refused.
struct ModelSynthetics {
    bool valid = false;
    std::vector<float> values;  // column 1, station by station
    float rms = 0.0f;
};

// The anomaly of each body of a profile's model at every station, kept so
// that a model changed in a few bodies is calculated again in those alone:
// the inversion's derivatives move one parameter, that is one body, at a
// time, and a vertex only the two edges at it. The synthetics are the same
// as CALC's to the last bit, since the stations' sums take the same terms in
// the same order.
//
// Each body's terms remember what they were computed from (the stations, the
// body's vertices, extents and magnetisation), and a body whose inputs are
// not those is computed again, so stale terms are never used. A gravity
// body's terms are kept for unit contrast: another density of the body or
// of its parent costs one product per station, with the same bits as the
// whole calculation.
class BodyTerms {
  public:
    // CALC(profile, 0), keeping each body's terms (nothing is kept when the
    // calculation is refused).
    void calculate(model::ProfileLine& profile);
    // CALC(profile, 0) of the model as it now stands, computing again only
    // the bodies whose kept terms do not fit and keeping their new terms.
    void update(model::ProfileLine& profile);
    // CALC(profile, 0) of the model as it now stands, the kept terms left as
    // they are. `moved`, when given, receives these terms with those of the
    // bodies computed again.
    void recalculate(model::ProfileLine& profile, BodyTerms* moved = nullptr) const;
    // CALC(profile, 0) of each of several models as if each were the
    // profile's own, the kept terms used where they fit, in one pass shared
    // out over the threads (the bodies of every model side by side, then
    // the models' sums side by side): each result the same to the last bit
    // as that calculation. The profile keeps its model and synthetics; each
    // model is changed as the calculation changes the profile's (layers
    // extended, reference declination). `moved`, when not empty (one per
    // model), receives each model's terms. `make`, when given, makes
    // models[k] first, on the thread that plans it.
    using ModelMaker = std::function<void(std::size_t k)>;
    std::vector<ModelSynthetics> recalculateEach(model::ProfileLine& profile,
                                                 std::span<model::PolygonModel> models,
                                                 std::span<BodyTerms> moved = {},
                                                 const ModelMaker& make = nullptr) const;
    // update(profile), then recalculateEach of the record so updated, the
    // two in one pass over the stations: the profile's model first, its
    // kept terms then serving the models.
    std::vector<ModelSynthetics> updateAndRecalculateEach(model::ProfileLine& profile,
                                                          std::span<model::PolygonModel> models,
                                                          std::span<BodyTerms> moved = {},
                                                          const ModelMaker& make = nullptr);
    // Bodies computed since this record was made (a count for measurements).
    long bodiesComputed() const { return computed_; }

    // One body's terms and what they were computed from. A body of moderate
    // size keeps the values of its single edges too: when a few of its
    // vertices move, only the edges at them are computed again.
    struct Kept {
        bool valid = false;
        ForwardBody body;           // as computed: a gravity body at unit contrast
        std::vector<float> xv, zv;  // its vertices, first to last
        UnsetValues terms;          // per station
        bool clipped = false;
        // Edge by edge, the values at every station (or none). A row is
        // shared with the terms it was taken over from, so terms moved in a
        // few vertices hold new rows for those edges alone.
        std::vector<std::shared_ptr<const double>> edgeRows;
        std::vector<char> edgeClipped;  // per edge
    };

    // One model's calculation from the kept terms (calc/body_terms_pass.h, private
    // to the calculation).
    struct Pass;

  private:
    void sum(model::ProfileLine& profile, BodyTerms* into) const;
    // What a model's calculation needs: its plan and the bodies whose kept
    // terms do not fit. False when the calculation is refused.
    bool plan(model::ProfileLine& profile, Pass& pass, const ForwardPlan* placed = nullptr) const;
    // The same for a model of the header of one planned in the profile's
    // place, leaving the profile as it is (so that models can be planned
    // side by side).
    void planAlike(const model::ProfileLine& profile, model::PolygonModel& model,
                   const Pass& placed, Pass& pass) const;
    // The bodies of a planned pass whose kept terms do not fit; the kept
    // terms fit none unless the pass stands on the same stations with the
    // same settings.
    void select(Pass& pass, bool sameStations) const;
    // plan, and the records of the bodies to compute made (not yet filled).
    bool open(model::ProfileLine& profile, Pass& pass) const;
    // This record with the pass's computed bodies, into `into`.
    void keep(const Pass& pass, int bodies, BodyTerms& into) const;
    // recalculateEach against this record, the work of `leading` (planned
    // and opened) swept first with the models' and closed.
    std::vector<ModelSynthetics> recalculateAfter(model::ProfileLine& profile,
                                                  std::span<model::PolygonModel> models,
                                                  std::span<BodyTerms> moved,
                                                  const ModelMaker& make, Pass* leading) const;

    // By body number; shared between copies of the record (a kept entry is
    // never changed, only replaced), so that copying the record is cheap.
    std::vector<std::shared_ptr<const Kept>> kept_;
    // The stations the kept terms stand on, as placed, and what they were
    // placed from (shared between copies like the entries).
    struct Stations;
    std::shared_ptr<const Stations> stations_;
    mutable long computed_ = 0;
};

// The bodies of `after` whose anomaly differs from theirs in `before`: moved
// vertices, another property or strike extent, or a parent with another
// property. `everything` is set (and nothing listed) when the models differ
// in more than their bodies' shapes and properties.
std::vector<int> changedBodies(const model::PolygonModel& before, const model::PolygonModel& after,
                               bool& everything);

}  // namespace calc
