#include "calc/body_terms.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "calc/forward_steps.h"
#include "util/shared_work.h"

namespace calc {

using namespace steps;

namespace {

using Kept = BodyTerms::Kept;

template <class T>
bool sameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

bool sameFloats(std::span<const float> a, std::span<const float> b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size_bytes()) == 0);
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

// A gravity sum is the body's own sum times its contrast: the terms are
// kept for unit contrast and scaled as the sums scale them.
bool unitContrast(const ForwardPlan& plan) {
    return plan.scale != SumScale::Magnetic;
}

std::span<const float> run(const std::vector<float>& v, const ForwardBody& b) {
    return std::span<const float>(v).subspan(static_cast<std::size_t>(b.first),
                                             static_cast<std::size_t>(b.last - b.first + 1));
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

std::size_t edgeCount(const ForwardBody& b) {
    return static_cast<std::size_t>(b.last - b.first + 1);
}

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

SumScale keptScale(const ForwardPlan& plan) {
    return unitContrast(plan) ? SumScale::Gravity : plan.scale;
}

// A body computed edge by edge: every edge, or those at the moved vertices
// over the kept values of the others.
struct EdgeWork {
    std::size_t at = 0;          // position in the plan
    const Kept* base = nullptr;  // the kept values the moved edges replace
};

Kept keptOfEdges(const EdgeTask& task, const Kept* base, EdgeValues&& computed) {
    const ForwardBody& b = task.body;
    const ForwardPlan& one = *task.plan;
    const std::size_t n = one.xs.size();
    Kept k{true, b, std::vector<float>(run(one.xv, b).begin(), run(one.xv, b).end()),
           std::vector<float>(run(one.zv, b).begin(), run(one.zv, b).end()), {}, false, {}, {}};
    if (base) {
        k.edgeRows = base->edgeRows;
        k.edgeClipped = base->edgeClipped;
    } else {
        k.edgeRows.resize(edgeCount(b));
        k.edgeClipped.assign(edgeCount(b), 0);
    }
    // The new rows point into the block they were computed in, which lives
    // as long as any of them.
    const auto block = std::make_shared<const UnsetValues>(std::move(computed.values));
    for (std::size_t t = 0; t < task.edges.size(); ++t) {
        const auto e = static_cast<std::size_t>(task.edges[t]);
        k.edgeRows[e] = std::shared_ptr<const double>(block, block->data() + t * n);
        k.edgeClipped[e] = computed.clipped[t];
    }
    std::vector<const double*> rows(k.edgeRows.size());
    for (std::size_t e = 0; e < rows.size(); ++e)
        rows[e] = k.edgeRows[e].get();
    k.terms = sumsOfEdges(one, b, keptScale(one), rows);
    k.clipped = std::find(k.edgeClipped.begin(), k.edgeClipped.end(), 1) != k.edgeClipped.end();
    return k;
}

// The plan of one body's kept terms.
ForwardPlan keptPlan(const ForwardPlan& plan, const ForwardBody& b) {
    ForwardPlan one = plan;
    one.scale = keptScale(plan);
    one.bodies = {keptBody(plan, b)};
    return one;
}

// A body's terms added to the stations' sums: the same products, in the
// same order, as the station sums take.
void addTerms(std::vector<double>& total, const Kept& k, const ForwardBody& b, SumScale scale) {
    const double* u = k.terms.data();
    const double c = static_cast<double>(b.contrast);
    const std::size_t n = total.size();
    switch (scale) {
        case SumScale::Gravity:
            for (std::size_t i = 0; i < n; ++i)
                total[i] = total[i] + u[i] * c;
            return;
        case SumScale::Microgravity:
            for (std::size_t i = 0; i < n; ++i)
                total[i] = total[i] + u[i] * c * 1000.0;
            return;
        case SumScale::Magnetic:
            break;
    }
    for (std::size_t i = 0; i < n; ++i)
        total[i] = total[i] + u[i];
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

// One model's calculation from kept terms.
struct BodyTerms::Pass {
    ForwardPlan plan;
    Setup s;
    bool sameStations = false;
    const std::vector<std::shared_ptr<const Kept>>* kept = nullptr;  // those that may fit
    // The bodies whose kept terms do not fit: large ones summed whole, the
    // others edge by edge (only the edges at moved vertices where the kept
    // values allow).
    std::vector<ForwardPlan> whole;
    std::vector<std::size_t> wholeAt;
    std::vector<EdgeTask> tasks;
    std::vector<EdgeWork> edgeWork;
    std::vector<StationSums> wholeSums;
    std::vector<EdgeValues> edgeValues;
    std::vector<std::shared_ptr<const Kept>> fresh;  // by position in the plan
    StationSums total;
};

namespace {

// The work of several passes in one pass over the stations each: every
// pass's whole bodies side by side, and every pass's edges side by side.
template <class Pass>
void computeBodies(std::span<Pass*> passes) {
    std::vector<ForwardPlan> whole;
    std::vector<EdgeTask> tasks;
    for (const Pass* pass : passes) {
        whole.insert(whole.end(), pass->whole.begin(), pass->whole.end());
        tasks.insert(tasks.end(), pass->tasks.begin(), pass->tasks.end());
    }
    std::vector<StationSums> sums = computeEachStationSums(whole);
    std::vector<EdgeValues> values = computeEdgeValues(tasks);
    std::size_t w = 0, t = 0;
    for (Pass* pass : passes) {
        for (std::size_t k = 0; k < pass->whole.size(); ++k)
            pass->wholeSums.push_back(std::move(sums[w++]));
        for (std::size_t k = 0; k < pass->tasks.size(); ++k)
            pass->edgeValues.push_back(std::move(values[t++]));
    }
}

// Models whose sums are worth a thread of their own: bodies times stations.
constexpr long kSumsPerThread = 20000;

}  // namespace

bool BodyTerms::plan(model::ProfileLine& p, Pass& pass, const ForwardPlan* placed) const {
    if (!prepare(p, 0, Variant{}, pass.plan, pass.s, placed)) return false;
    const ForwardPlan& plan = pass.plan;
    pass.sameStations = sameFloats(xs_, plan.xs) && sameFloats(ys_, plan.ys) &&
                        sameFloats(elevation_, plan.elevation) && setting_ == settingOf(plan);
    static const std::vector<std::shared_ptr<const Kept>> nothing;
    pass.kept = pass.sameStations ? &kept_ : &nothing;
    const std::vector<std::shared_ptr<const Kept>>& kept = *pass.kept;
    const std::size_t n = static_cast<std::size_t>(p.NSTA);
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
        pass.edgeWork.push_back({j, partial ? mine : nullptr});
    }
    computed_ += static_cast<long>(pass.whole.size() + pass.tasks.size());
    return true;
}

void BodyTerms::assemble(Pass& pass) const {
    const ForwardPlan& plan = pass.plan;
    const std::size_t n = plan.xs.size();
    pass.fresh.assign(plan.bodies.size(), nullptr);
    for (std::size_t m = 0; m < pass.whole.size(); ++m) {
        const ForwardBody& b = pass.whole[m].bodies.front();
        pass.fresh[pass.wholeAt[m]] = std::make_shared<const Kept>(
            Kept{true, b, std::vector<float>(run(plan.xv, b).begin(), run(plan.xv, b).end()),
                 std::vector<float>(run(plan.zv, b).begin(), run(plan.zv, b).end()),
                 std::move(pass.wholeSums[m].sums), pass.wholeSums[m].clipped, {}, {}});
    }
    // The bodies' sums of their edges, side by side (each the same whoever
    // forms it; within a model's pass shared out, on the pass's thread).
    long sums = 0;
    for (const EdgeTask& task : pass.tasks)
        sums += static_cast<long>(n) * static_cast<long>(edgeCount(task.body));
    const int count = static_cast<int>(pass.tasks.size());
    util::shareOut(count, util::SliceRule{util::usefulThreads(sums, kSumsPerThread), 1, 1},
                   [&](int begin, int end) {
                       for (auto t = static_cast<std::size_t>(begin);
                            t < static_cast<std::size_t>(end); ++t)
                           pass.fresh[pass.edgeWork[t].at] = std::make_shared<const Kept>(
                               keptOfEdges(pass.tasks[t], pass.edgeWork[t].base,
                                           std::move(pass.edgeValues[t])));
                   });

    // Every body's terms added in body order, as the whole calculation does.
    StationSums& total = pass.total;
    total.sums.assign(n, 0.0);
    for (std::size_t j = 0; j < plan.bodies.size(); ++j) {
        const ForwardBody& b = plan.bodies[j];
        const Kept& k =
            pass.fresh[j] ? *pass.fresh[j] : *(*pass.kept)[static_cast<std::size_t>(b.body)];
        addTerms(total.sums, k, b, plan.scale);
        total.clipped = total.clipped || k.clipped;
    }
}

void BodyTerms::keep(const Pass& pass, int bodies, BodyTerms& into) const {
    if (&into != this) into = *this;
    if (!pass.sameStations) {
        into.kept_.clear();
        into.xs_ = pass.plan.xs;
        into.ys_ = pass.plan.ys;
        into.elevation_ = pass.plan.elevation;
        into.setting_ = settingOf(pass.plan);
    }
    into.kept_.resize(std::max(into.kept_.size(), static_cast<std::size_t>(bodies + 1)));
    for (const std::shared_ptr<const Kept>& f : pass.fresh)
        if (f) into.kept_[static_cast<std::size_t>(f->body.body)] = f;
}

void BodyTerms::sum(model::ProfileLine& p, BodyTerms* into) const {
    Pass pass;
    if (!plan(p, pass)) return;
    Pass* one = &pass;
    computeBodies(std::span<Pass*>(&one, 1));
    assemble(pass);
    if (into) keep(pass, p.MODEL.NBOD, *into);
    finish(p, pass.s, pass.total);
}

std::vector<ModelSynthetics> BodyTerms::recalculateEach(model::ProfileLine& p,
                                                        std::span<model::PolygonModel> models,
                                                        std::span<BodyTerms> moved) const {
    std::vector<ModelSynthetics> results(models.size());
    // Each plan is the profile's with the model in its place; the edge
    // tasks point at the plans, which therefore stay where they are made.
    // Models of the same header stand on the same stations, placed once.
    std::vector<Pass> passes(models.size());
    std::vector<Pass*> planned;
    const model::ModelHeader* placedFor = nullptr;
    model::ModelHeader firstHeader;
    for (std::size_t k = 0; k < models.size(); ++k) {
        const bool same = placedFor && static_cast<const model::ModelHeader&>(models[k]) == *placedFor;
        const model::ModelHeader header = models[k];
        std::swap(p.MODEL, models[k]);
        results[k].valid = plan(p, passes[k], same ? &planned.front()->plan : nullptr);
        std::swap(p.MODEL, models[k]);
        if (!results[k].valid) continue;
        if (planned.empty()) {
            firstHeader = header;
            placedFor = &firstHeader;
        }
        planned.push_back(&passes[k]);
    }
    if (planned.empty()) return results;
    computeBodies(std::span<Pass*>(planned));
    placeRegional(p, planned.front()->s);
    const long work = static_cast<long>(planned.size()) * p.NSTA *
                      static_cast<long>(std::max<std::size_t>(1, planned.front()->plan.bodies.size()));
    const int threads = util::usefulThreads(work, kSumsPerThread);
    util::shareOut(static_cast<int>(models.size()), util::SliceRule{threads, 1, 1},
                   [&](int begin, int end) {
                       for (int k = begin; k < end; ++k) {
                           const auto at = static_cast<std::size_t>(k);
                           if (!results[at].valid) continue;
                           Pass& pass = passes[at];
                           assemble(pass);
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
