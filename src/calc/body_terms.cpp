#include "calc/body_terms.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <span>
#include <thread>
#include <vector>

#include "calc/body_terms_pass.h"
#include "calc/forward_steps.h"
#include "util/shared_work.h"

namespace calc {

using namespace steps;
using namespace passes;

namespace {

using Kept = BodyTerms::Kept;

bool sameFloats(std::span<const float> a, std::span<const float> b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size_bytes()) == 0);
}

// Everything of a plan besides its stations and bodies that the sums read.
std::vector<double> settingOf(const ForwardPlan& plan) {
    return {plan.clip,
            plan.scaled ? 1.0 : 0.0,
            plan.fx,
            plan.fz,
            static_cast<double>(plan.component),
            static_cast<double>(plan.scale),
            plan.fieldStrength,
            plan.Fx,
            plan.Fy,
            plan.Fz};
}

// The kept terms are those of the body but perhaps for other vertices.
bool sameButVertices(const Kept& k, const ForwardPlan& plan, const ForwardBody& b) {
    const bool frame = k.valid && k.body.first == b.first && k.body.last == b.last &&
                       sameBits(k.body.xtent1, b.xtent1) && sameBits(k.body.xtent2, b.xtent2) &&
                       k.body.addEdges == b.addEdges;
    if (!frame || unitContrast(plan)) return frame;
    return sameBits(k.body.contrast, b.contrast) && sameBits(k.body.Mx, b.Mx) &&
           sameBits(k.body.My, b.My) && sameBits(k.body.Mz, b.Mz);
}

bool fits(const Kept& k, const ForwardPlan& plan, const ForwardBody& b) {
    return sameButVertices(k, plan, b) && sameFloats(k.xv, run(plan.xv, b)) &&
           sameFloats(k.zv, run(plan.zv, b));
}

// A body keeps the values of its edges up to this many (edges x stations).
constexpr std::size_t kEdgeValuesPerBody = std::size_t(1) << 20;

// The edges at the vertices that moved since the kept terms: edge e ends at
// the body's e-th vertex, and the next one starts there.
std::vector<int> movedEdges(const Kept& k, const ForwardPlan& plan, const ForwardBody& b) {
    const std::size_t count = edgeCount(b);
    const std::span<const float> xv = run(plan.xv, b), zv = run(plan.zv, b);
    std::vector<char> moved(count, 0);
    for (std::size_t o = 0; o < count; ++o) {
        if (sameBits(k.xv[o], xv[o]) && sameBits(k.zv[o], zv[o])) continue;
        moved[o] = 1;
        moved[(o + 1) % count] = 1;
    }
    std::vector<int> edges;
    for (std::size_t e = 0; e < count; ++e)
        if (moved[e]) edges.push_back(static_cast<int>(e));
    return edges;
}

// A body as its terms are kept, and how they are scaled: a gravity body at
// unit contrast.
ForwardBody keptBody(const ForwardPlan& plan, ForwardBody b) {
    if (unitContrast(plan)) b.contrast = 1.0f;
    return b;
}

// The plan of one body's kept terms.
ForwardPlan keptPlan(const ForwardPlan& plan, const ForwardBody& b) {
    ForwardPlan one = plan;
    one.scale = keptScale(plan);
    one.bodies = {keptBody(plan, b)};
    return one;
}

}  // namespace

void BodyTerms::calculate(model::ProfileLine& p) {
    *this = BodyTerms{};
    update(p);
}

void BodyTerms::update(model::ProfileLine& p) {
    sum(p, this);
}

void BodyTerms::recalculate(model::ProfileLine& p, BodyTerms* moved) const {
    sum(p, moved);
}

namespace {

model::ModelHeader placingHeader(model::ModelHeader h) {
    h.DECREF = 0.0f;
    return h;
}

// The first n inputs of a station array, or none when it holds fewer.
std::span<const float> stationInputs(const model::RealArray& a, int n) {
    if (n < 0 || a.size() < n) return {};
    return std::span<const float>(a.values()).first(static_cast<std::size_t>(n));
}

std::vector<float> copyOf(std::span<const float> v) {
    return std::vector<float>(v.begin(), v.end());
}

}  // namespace

// A placement of the stations and what it was made from: the header of the
// model as calculated (its reference declination aside, which the
// calculation sets) over the same station inputs places the stations
// alike.
struct BodyTerms::Stations {
    ForwardPlan placed;  // the stations, their clip limit and the settings
    model::ModelHeader header;
    std::vector<float> stat, elevation, east, north;  // stations 1..NSTA

    static std::shared_ptr<const Stations> of(const model::ProfileLine& p,
                                              const model::ModelHeader& header,
                                              const ForwardPlan& plan) {
        auto st = std::make_shared<Stations>();
        st->placed = plan;
        st->placed.xv.clear();
        st->placed.zv.clear();
        st->placed.bodies.clear();
        st->header = placingHeader(header);
        st->stat = copyOf(stationInputs(p.STAT, p.NSTA));
        st->elevation = copyOf(stationInputs(p.ELEV, p.NSTA));
        if (header.ICOORD >= 2) {
            st->east = copyOf(stationInputs(p.EAST, p.NSTA));
            st->north = copyOf(stationInputs(p.NORT, p.NSTA));
        }
        return st;
    }

    bool placedFrom(const model::ProfileLine& p, const model::ModelHeader& model) const {
        const int n = p.NSTA;
        const auto held = static_cast<std::size_t>(std::max(n, 0));
        return n >= 1 && placingHeader(model) == header && stat.size() == held &&
               sameFloats(stationInputs(p.STAT, n), stat) &&
               sameFloats(stationInputs(p.ELEV, n), elevation) &&
               (model.ICOORD < 2 || (sameFloats(stationInputs(p.EAST, n), east) &&
                                     sameFloats(stationInputs(p.NORT, n), north)));
    }
};

namespace {

// Models whose sums are worth a thread of their own: bodies times stations.
constexpr long kSumsPerThread = 20000;

}  // namespace

bool BodyTerms::plan(model::ProfileLine& p, Pass& pass, const ForwardPlan* placed) const {
    // Stations placed from the same inputs as the kept terms' are theirs.
    const bool again = !placed && stations_ && stations_->placedFrom(p, p.MODEL);
    if (!prepare(p, 0, Variant{}, pass.plan, pass.s, again ? &stations_->placed : placed))
        return false;
    const ForwardPlan& plan = pass.plan;
    const bool same = stations_ && settingOf(stations_->placed) == settingOf(plan) &&
                      (again || (sameFloats(stations_->placed.xs, plan.xs) &&
                                 sameFloats(stations_->placed.ys, plan.ys) &&
                                 sameFloats(stations_->placed.elevation, plan.elevation)));
    select(pass, same);
    if (!same) pass.stations = Stations::of(p, p.MODEL, plan);
    return true;
}

void BodyTerms::planAlike(const model::ProfileLine& p, model::PolygonModel& m, const Pass& placed,
                          Pass& pass) const {
    prepareAlike(p, m, placed.plan, placed.s, pass.plan, pass.s);
    // On the placed plan's stations and settings.
    select(pass, placed.sameStations);
    pass.stations = placed.stations;
}

void BodyTerms::select(Pass& pass, bool sameStations) const {
    const ForwardPlan& plan = pass.plan;
    pass.sameStations = sameStations;
    static const std::vector<std::shared_ptr<const Kept>> nothing;
    pass.kept = pass.sameStations ? &kept_ : &nothing;
    const std::vector<std::shared_ptr<const Kept>>& kept = *pass.kept;
    const std::size_t n = plan.xs.size();
    for (std::size_t j = 0; j < plan.bodies.size(); ++j) {
        const ForwardBody& b = plan.bodies[j];
        const auto k = static_cast<std::size_t>(b.body);
        const Kept* mine = k < kept.size() ? kept[k].get() : nullptr;
        if (mine && fits(*mine, plan, b)) continue;
        if (edgeCount(b) * n > kEdgeValuesPerBody) {
            pass.whole.push_back(keptPlan(plan, b));
            pass.wholeAt.push_back(j);
            continue;
        }
        const bool partial = mine && !mine->edgeRows.empty() && sameButVertices(*mine, plan, b);
        // The edges read the plan's stations and vertices, not its bodies.
        EdgeTask task{&pass.plan, keptBody(plan, b), {}};
        if (partial) {
            task.edges = movedEdges(*mine, plan, b);
        } else {
            task.edges.resize(edgeCount(b));
            for (std::size_t e = 0; e < task.edges.size(); ++e)
                task.edges[e] = static_cast<int>(e);
        }
        pass.tasks.push_back(std::move(task));
        pass.edgeWork.push_back({j, partial ? mine : nullptr, {}, {}, 0});
    }
}

void BodyTerms::keep(const Pass& pass, int bodies, BodyTerms& into) const {
    if (&into != this) into = *this;
    if (!pass.sameStations) {
        into.kept_.clear();
        into.stations_ = pass.stations;
    }
    into.kept_.resize(std::max(into.kept_.size(), static_cast<std::size_t>(bodies + 1)));
    for (const std::shared_ptr<Kept>& f : pass.fresh)
        if (f) into.kept_[static_cast<std::size_t>(f->body.body)] = f;
}

bool BodyTerms::open(model::ProfileLine& p, Pass& pass) const {
    if (!plan(p, pass)) return false;
    computed_ += pass.bodiesComputed();
    openPass(pass);
    return true;
}

void BodyTerms::sum(model::ProfileLine& p, BodyTerms* into) const {
    Pass pass;
    if (!open(p, pass)) return;
    if (into) keep(pass, p.MODEL.NBOD, *into);
    recalculateAfter(p, {}, {}, nullptr, &pass);
    finish(p, pass.s, pass.total);
}

std::vector<ModelSynthetics> BodyTerms::recalculateEach(model::ProfileLine& p,
                                                        std::span<model::PolygonModel> models,
                                                        std::span<BodyTerms> moved,
                                                        const ModelMaker& make) const {
    return recalculateAfter(p, models, moved, make, nullptr);
}

std::vector<ModelSynthetics> BodyTerms::updateAndRecalculateEach(
    model::ProfileLine& p, std::span<model::PolygonModel> models, std::span<BodyTerms> moved,
    const ModelMaker& make) {
    Pass pass;
    if (!open(p, pass)) return recalculateEach(p, models, moved, make);
    keep(pass, p.MODEL.NBOD, *this);
    std::vector<ModelSynthetics> results = recalculateAfter(p, models, moved, make, &pass);
    finish(p, pass.s, pass.total);
    return results;
}

std::vector<ModelSynthetics> BodyTerms::recalculateAfter(model::ProfileLine& p,
                                                         std::span<model::PolygonModel> models,
                                                         std::span<BodyTerms> moved,
                                                         const ModelMaker& make,
                                                         Pass* leading) const {
    std::vector<ModelSynthetics> results(models.size());
    if (models.empty()) {
        if (leading) {
            Pass* one = leading;
            sweepPasses(std::span<Pass* const>(&one, 1));
            closePass(*leading);
        }
        return results;
    }
    // Each plan is the profile's with the model in its place; the edge
    // tasks point at the plans, which therefore stay where they are made.
    // The first model is planned in the profile's place (its stations
    // placed, the profile's arrays readied) while the others are made; those
    // of its header with their layers extended are then planned side by
    // side on its stations (while the map transforms are still the
    // first's). The rest are planned in the profile's place afterwards.
    std::vector<Pass> passes(models.size());
    const Pass* first = nullptr;
    model::ModelHeader firstHeader;
    auto planInPlace = [&](std::size_t k) {
        const model::ModelHeader header = models[k];
        const bool same = first && header == firstHeader;
        std::swap(p.MODEL, models[k]);
        results[k].valid = plan(p, passes[k], same ? &first->plan : nullptr);
        std::swap(p.MODEL, models[k]);
        if (!first && results[k].valid) {
            first = &passes[k];
            firstHeader = header;
        }
    };
    std::vector<char> alike(models.size(), 0);
    std::atomic<bool> firstPlanned{false};
    const int count = static_cast<int>(models.size());
    util::shareOut(
        count - 1, util::SliceRule{std::min(count, util::sharedThreadCount()), 1, 1},
        [&](int begin, int end) {
            for (auto k = static_cast<std::size_t>(begin) + 1; k <= static_cast<std::size_t>(end);
                 ++k) {
                if (make) make(k);
                while (!firstPlanned.load(std::memory_order_acquire))
                    std::this_thread::yield();
                alike[k] = first && models[k].LEXTND &&
                           static_cast<const model::ModelHeader&>(models[k]) == firstHeader;
                if (!alike[k]) continue;
                planAlike(p, models[k], *first, passes[k]);
                results[k].valid = true;
                openPass(passes[k]);
            }
        },
        // On this thread: a refused plan speaks to the user.
        [&] {
            if (make) make(0);
            planInPlace(0);
            firstPlanned.store(true, std::memory_order_release);
            if (results[0].valid) openPass(passes[0]);
        });
    for (std::size_t k = 1; k < models.size(); ++k) {
        if (alike[k]) continue;
        planInPlace(k);
        if (results[k].valid) openPass(passes[k]);
    }
    std::vector<Pass*> planned;
    if (leading) planned.push_back(leading);
    for (std::size_t k = 0; k < models.size(); ++k) {
        if (!results[k].valid) continue;
        planned.push_back(&passes[k]);
        computed_ += passes[k].bodiesComputed();
    }
    sweepPasses(planned);
    // The models' sums may read the leading pass's terms, and whether they
    // were confined.
    if (leading) closePass(*leading);
    if (!first) return results;
    placeRegional(p, first->s);
    const long work = static_cast<long>(planned.size()) * p.NSTA *
                      static_cast<long>(std::max<std::size_t>(1, first->plan.bodies.size()));
    const int threads = util::usefulThreads(work, kSumsPerThread);
    util::shareOut(count, util::SliceRule{threads, 1, 1}, [&](int begin, int end) {
        for (int k = begin; k < end; ++k) {
            const auto at = static_cast<std::size_t>(k);
            if (!results[at].valid) continue;
            Pass& pass = passes[at];
            closePass(pass);
            if (!moved.empty()) keep(pass, models[at].NBOD, moved[at]);
            const std::vector<double> total = totals(p, pass.s, pass.total);
            std::vector<float>& values = results[at].values;
            values.resize(total.size());
            for (std::size_t i = 0; i < total.size(); ++i)
                values[i] = static_cast<float>(total[i]);
            results[at].rms = misfit(p, [&values](int i, float& value) {
                value = values[static_cast<std::size_t>(i - 1)];
                return true;
            });
            // Its storage is given back here, beside the others', rather
            // than all of it on the calling thread afterwards.
            pass = Pass{};
        }
    });
    return results;
}

std::vector<int> changedBodies(const model::PolygonModel& a, const model::PolygonModel& b,
                               bool& everything) {
    std::vector<int> changed;
    everything = a.NBOD != b.NBOD || a.DBKG != b.DBKG || a.BKRAT != b.BKRAT || a.BKINC != b.BKINC ||
                 a.BKDEC != b.BKDEC || a.LEXTND != b.LEXTND || a.AZIM != b.AZIM ||
                 a.STRIKE != b.STRIKE || a.BASELN != b.BASELN ||
                 a.XVRT.values().size() != b.XVRT.values().size() ||
                 a.ZVRT.values().size() != b.ZVRT.values().size();
    if (everything) return changed;
    auto same = [](const auto& x, const auto& y, int k) {
        return x.has(k) == y.has(k) && (!x.has(k) || x(k) == y(k));
    };
    std::vector<bool> property(static_cast<std::size_t>(a.NBOD + 1), false);
    for (int k = 1; k <= a.NBOD && !everything; ++k) {
        if (!same(a.IV1, b.IV1, k) || !same(a.IV2, b.IV2, k) || !same(a.INCLBD, b.INCLBD, k) ||
            !same(a.AREAS, b.AREAS, k) || !same(a.LAYER, b.LAYER, k) ||
            !same(a.LHIDE, b.LHIDE, k)) {
            everything = true;
            break;
        }
        property[static_cast<std::size_t>(k)] =
            !same(a.DENS, b.DENS, k) || !same(a.REMS, b.REMS, k) || !same(a.DIPS, b.DIPS, k) ||
            !same(a.DECS, b.DECS, k);
        bool moved = property[static_cast<std::size_t>(k)] || !same(a.XTENT1, b.XTENT1, k) ||
                     !same(a.XTENT2, b.XTENT2, k);
        for (int v = a.IV1(k); v <= a.IV2(k) && !moved; ++v)
            moved = !same(a.XVRT, b.XVRT, v) || !same(a.ZVRT, b.ZVRT, v);
        if (moved) changed.push_back(k);
    }
    if (everything) return {};
    // A body's contrast is taken against its parent's property.
    for (int k = 1; k <= a.NBOD; ++k) {
        const int parent = a.INCLBD(k);
        if (parent >= 1 && parent <= a.NBOD && property[static_cast<std::size_t>(parent)] &&
            std::find(changed.begin(), changed.end(), k) == changed.end())
            changed.push_back(k);
    }
    return changed;
}

}  // namespace calc
