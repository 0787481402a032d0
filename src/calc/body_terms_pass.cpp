#include "calc/body_terms_pass.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <span>
#include <vector>

namespace calc::passes {

namespace {

using Kept = BodyTerms::Kept;
using Pass = BodyTerms::Pass;

// A body's terms added to running sums at stations [begin, end), from[i -
// begin] into to[i - begin]: the same products, in the same order, as the
// station sums take.
__attribute__((target_clones("avx512f", "avx2", "default"))) void addTerms(
    const double* from, double* to, const Kept& k, const ForwardBody& b, SumScale scale, int begin,
    int end) {
    const double* u = k.terms.data() + begin;
    const double c = static_cast<double>(b.contrast);
    const auto n = static_cast<std::size_t>(end - begin);
    switch (scale) {
        case SumScale::Gravity:
            for (std::size_t i = 0; i < n; ++i)
                to[i] = from[i] + u[i] * c;
            return;
        case SumScale::Microgravity:
            for (std::size_t i = 0; i < n; ++i)
                to[i] = from[i] + u[i] * c * 1000.0;
            return;
        case SumScale::Magnetic:
            break;
    }
    for (std::size_t i = 0; i < n; ++i)
        to[i] = from[i] + u[i];
}

// A new record of a body's terms, its values still to be computed.
std::shared_ptr<Kept> freshRecord(const ForwardPlan& plan, const ForwardBody& b) {
    auto k = std::make_shared<Kept>();
    k->valid = true;
    k->body = b;
    k->xv.assign(run(plan.xv, b).begin(), run(plan.xv, b).end());
    k->zv.assign(run(plan.zv, b).begin(), run(plan.zv, b).end());
    k->terms.resize(plan.xs.size());
    return k;
}

// Stations [begin, end) of a pass's bodies computed again.
void computeSlice(Pass& pass, int begin, int end) {
    const ForwardPlan& plan = pass.plan;
    const int n = static_cast<int>(plan.xs.size());
    for (std::size_t m = 0; m < pass.whole.size(); ++m)
        if (stationSumsSlice(pass.whole[m], begin, end, pass.fresh[pass.wholeAt[m]]->terms.data()))
            pass.confined[m] = true;
    std::vector<char> cut;
    for (std::size_t t = 0; t < pass.tasks.size(); ++t) {
        const EdgeTask& task = pass.tasks[t];
        const EdgeWork& w = pass.edgeWork[t];
        cut.assign(task.edges.size(), 0);
        edgeValuesSlice(task, begin, end, n, w.block->data(), cut.data());
        for (std::size_t l = 0; l < cut.size(); ++l)
            if (cut[l]) pass.confined[w.firstFlag + l] = true;
        sumsOfEdgesSlice(plan, task.body, keptScale(plan), w.rows, begin, end,
                         pass.fresh[w.at]->terms.data());
    }
}

// Stations [begin, end) of a pass's sums: every body's terms added in body
// order, as the whole calculation adds them. running[j * len + i] holds
// station begin + i's sum of the first j bodies; the first `shared` of
// them are the pass before's, which added the same terms alike.
void sumSlice(Pass& pass, std::size_t shared, std::vector<double>& running, int begin, int end) {
    const ForwardPlan& plan = pass.plan;
    const auto len = static_cast<std::size_t>(end - begin);
    const std::size_t bodies = plan.bodies.size();
    running.resize((bodies + 1) * len);
    if (shared == 0) std::fill(running.begin(), running.begin() + static_cast<long>(len), 0.0);
    for (std::size_t j = shared; j < bodies; ++j)
        addTerms(running.data() + j * len, running.data() + (j + 1) * len, pass.termsAt(j),
                 plan.bodies[j], plan.scale, begin, end);
    std::copy_n(running.data() + bodies * len, len, pass.total.sums.data() + begin);
}

// The leading bodies whose terms pass b adds exactly as pass a does.
std::size_t sharedBodies(const Pass& a, const Pass& b) {
    if (a.plan.scale != b.plan.scale) return 0;
    const std::size_t count = std::min(a.plan.bodies.size(), b.plan.bodies.size());
    std::size_t j = 0;
    while (j < count && &a.termsAt(j) == &b.termsAt(j) &&
           sameBits(a.plan.bodies[j].contrast, b.plan.bodies[j].contrast))
        ++j;
    return j;
}

}  // namespace

void openPass(Pass& pass) {
    const ForwardPlan& plan = pass.plan;
    const std::size_t n = plan.xs.size();
    pass.fresh.assign(plan.bodies.size(), nullptr);
    for (std::size_t m = 0; m < pass.whole.size(); ++m)
        pass.fresh[pass.wholeAt[m]] = freshRecord(plan, pass.whole[m].bodies.front());
    std::size_t flags = pass.whole.size();
    for (std::size_t t = 0; t < pass.tasks.size(); ++t) {
        const EdgeTask& task = pass.tasks[t];
        EdgeWork& w = pass.edgeWork[t];
        const std::size_t edges = edgeCount(task.body);
        std::shared_ptr<Kept> k = freshRecord(plan, task.body);
        if (w.base) {
            k->edgeRows = w.base->edgeRows;
            k->edgeClipped = w.base->edgeClipped;
        } else {
            k->edgeRows.resize(edges);
            k->edgeClipped.assign(edges, 0);
        }
        // The new rows point into the block they are computed in, which
        // lives as long as any of them.
        w.block = std::make_shared<UnsetValues>(task.edges.size() * n);
        for (std::size_t l = 0; l < task.edges.size(); ++l)
            k->edgeRows[static_cast<std::size_t>(task.edges[l])] =
                std::shared_ptr<const double>(w.block, w.block->data() + l * n);
        w.rows.resize(edges);
        for (std::size_t e = 0; e < edges; ++e)
            w.rows[e] = k->edgeRows[e].get();
        w.firstFlag = flags;
        flags += task.edges.size();
        pass.fresh[w.at] = std::move(k);
    }
    pass.confined = std::make_unique<std::atomic<bool>[]>(flags);
    for (std::size_t f = 0; f < flags; ++f)
        pass.confined[f] = false;
    pass.total.sums.assign(n, 0.0);
}

void sweepPasses(std::span<Pass* const> passes) {
    if (passes.empty()) return;
    const int n = static_cast<int>(passes.front()->plan.xs.size());
    // In edge evaluations; a body's terms added cost about an eighth of one.
    long work = 0;
    std::vector<std::size_t> shared(passes.size(), 0);
    for (std::size_t k = 0; k < passes.size(); ++k) {
        const Pass& pass = *passes[k];
        if (k > 0) shared[k] = sharedBodies(*passes[k - 1], pass);
        long edges = 1 + static_cast<long>(pass.plan.bodies.size() - shared[k]) / 8;
        for (const ForwardPlan& w : pass.whole)
            edges += static_cast<long>(edgeCount(w.bodies.front()));
        for (const EdgeTask& task : pass.tasks)
            edges += static_cast<long>(task.edges.size());
        work += edges * n;
    }
    // A slice is taken a few packs at a time, so that the running sums stay
    // in the nearest cache.
    constexpr int kStationsAtATime = 128;
    shareStations(n, work, [&](int begin, int end) {
        std::vector<double> running;
        for (int from = begin; from < end; from += kStationsAtATime) {
            const int to = std::min(end, from + kStationsAtATime);
            for (std::size_t k = 0; k < passes.size(); ++k) {
                computeSlice(*passes[k], from, to);
                sumSlice(*passes[k], shared[k], running, from, to);
            }
        }
    });
}

void closePass(Pass& pass) {
    for (std::size_t m = 0; m < pass.whole.size(); ++m)
        pass.fresh[pass.wholeAt[m]]->clipped = pass.confined[m];
    for (std::size_t t = 0; t < pass.tasks.size(); ++t) {
        const EdgeWork& w = pass.edgeWork[t];
        Kept& k = *pass.fresh[w.at];
        const std::vector<int>& edges = pass.tasks[t].edges;
        for (std::size_t l = 0; l < edges.size(); ++l)
            k.edgeClipped[static_cast<std::size_t>(edges[l])] =
                pass.confined[w.firstFlag + l] ? 1 : 0;
        k.clipped = std::find(k.edgeClipped.begin(), k.edgeClipped.end(), 1) != k.edgeClipped.end();
    }
    for (std::size_t j = 0; j < pass.plan.bodies.size(); ++j)
        pass.total.clipped = pass.total.clipped || pass.termsAt(j).clipped;
}

}  // namespace calc::passes
