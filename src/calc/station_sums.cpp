#include "calc/station_sums.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "util/shared_work.h"

namespace calc {

namespace {

// Below this many edge evaluations a helper costs more than it saves.
constexpr long kWorkPerThread = 4000;
// Threads take whole packs of the widest code, a few at a time.
constexpr int kPack = 8;
constexpr int kPacksPerSlice = 8;

long edgeCount(const ForwardPlan& plan) {
    long edges = 0;
    for (const ForwardBody& b : plan.bodies)
        edges += b.last - b.first + 1;
    return edges;
}

using PackFunction = bool (*)(const ForwardPlan&, int, int, double*);

}  // namespace

void setCalcThreadCount(int threads) {
    util::setSharedThreadCount(threads);
}

int calcThreadCount() {
    return util::sharedThreadCount();
}

namespace {

// As many threads as the work pays for.
int usefulThreads(std::span<const ForwardPlan> plans) {
    long work = 0;
    for (const ForwardPlan& plan : plans)
        work += static_cast<long>(plan.xs.size()) * std::max(1L, edgeCount(plan));
    return util::usefulThreads(work, kWorkPerThread);
}

}  // namespace

StationSums computeStationSums(const ForwardPlan& plan) {
    std::vector<StationSums> each = computeEachStationSums(std::span<const ForwardPlan>(&plan, 1));
    return std::move(each.front());
}

std::vector<StationSums> computeEachStationSums(std::span<const ForwardPlan> plans) {
    return detail::computeEachStationSums(plans, usefulThreads(plans), detail::PackCode::Best);
}

namespace {

// bs[i] = the sum of the rows' values at station i, each added (or taken
// away) in row order from 0: a block of stations at a time held in
// registers, so that each row is read once and the sums are written once.
template <bool Add>
void addRowsInOrder(std::span<const double* const> rows, std::size_t from, std::size_t to,
                    double* bs) {
    constexpr std::size_t kBlock = 8;
    std::size_t i = from;
    for (; i + kBlock <= to; i += kBlock) {
        double acc[kBlock] = {};
        for (const double* row : rows)
            for (std::size_t j = 0; j < kBlock; ++j)
                acc[j] = Add ? acc[j] + row[i + j] : acc[j] - row[i + j];
        std::copy_n(acc, kBlock, bs + i);
    }
    for (; i < to; ++i) {
        double acc = 0.0;
        for (const double* row : rows)
            acc = Add ? acc + row[i] : acc - row[i];
        bs[i] = acc;
    }
}

}  // namespace

void sumsOfEdgesSlice(const ForwardPlan& plan, const ForwardBody& body, SumScale scale,
                      std::span<const double* const> rows, int begin, int end, double* bs) {
    const auto from = static_cast<std::size_t>(begin), to = static_cast<std::size_t>(end);
    // The arithmetic of the pack code's body sum and its scaling, each
    // station's edges taken in the same order.
    if (body.addEdges) {
        addRowsInOrder<true>(rows, from, to, bs);
    } else {
        addRowsInOrder<false>(rows, from, to, bs);
    }
    for (std::size_t i = from; i < to; ++i) {
        float y1 = 0.0f, y2 = 0.0f;
        strikeExtents(plan, body, plan.ys[i], y1, y2);
        const double twice =
            static_cast<double>(y1) == static_cast<double>(y2) ? bs[i] * 2.0 : bs[i];
        bs[i] = addBodySum(plan, scale, body, 0.0, twice);
    }
}

std::vector<double> sumsOfEdges(const ForwardPlan& plan, std::span<const double> values) {
    const ForwardBody& body = plan.bodies.front();
    const std::size_t n = plan.xs.size();
    std::vector<const double*> rows(static_cast<std::size_t>(body.last - body.first + 1));
    for (std::size_t e = 0; e < rows.size(); ++e)
        rows[e] = values.data() + e * n;
    std::vector<double> sums(n);
    sumsOfEdgesSlice(plan, body, plan.scale, rows, 0, static_cast<int>(n), sums.data());
    return sums;
}

namespace detail {

bool avx2Available() {
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

bool avx512Available() {
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("avx512f");
#else
    return false;
#endif
}

namespace {

PackFunction packFunction(PackCode code) {
    const bool avx512 = avx512Available(), avx2 = avx2Available();
    switch (code) {
        case PackCode::Best:
        case PackCode::Avx512:
            if (avx512) return stationSumsAvx512;
            [[fallthrough]];
        case PackCode::Avx2:
            if (avx2) return stationSumsAvx2;
            [[fallthrough]];
        case PackCode::Generic:
            break;
    }
    return stationSumsGeneric;
}

using EdgeFunction = void (*)(const ForwardPlan&, const ForwardBody&, std::span<const int>, int,
                              int, int, double*, char*);

EdgeFunction edgeFunction(PackCode code) {
    const PackFunction pack = packFunction(code);
    if (pack == stationSumsAvx512) return edgeValuesAvx512;
    if (pack == stationSumsAvx2) return edgeValuesAvx2;
    return edgeValuesGeneric;
}

}  // namespace

StationSums computeStationSums(const ForwardPlan& plan, int threads, PackCode code) {
    std::vector<StationSums> each =
        computeEachStationSums(std::span<const ForwardPlan>(&plan, 1), threads, code);
    return std::move(each.front());
}

namespace {

// Runs slice(begin, end) over stations [0, n) on up to `threads` threads:
// whole packs of the widest code, a few at a time.
void shareOut(int n, int threads, const std::function<void(int, int)>& slice) {
    util::shareOut(n, util::SliceRule{threads, kPack, kPacksPerSlice}, slice);
}

std::unique_ptr<std::atomic<bool>[]> flags(std::size_t n) {
    auto f = std::make_unique<std::atomic<bool>[]>(n);
    for (std::size_t k = 0; k < n; ++k)
        f[k] = false;
    return f;
}

}  // namespace

std::vector<StationSums> computeEachStationSums(std::span<const ForwardPlan> plans, int threads,
                                                PackCode code) {
    const int n = plans.empty() ? 0 : static_cast<int>(plans.front().xs.size());
    std::vector<StationSums> results(plans.size());
    for (StationSums& r : results)
        r.sums.assign(static_cast<std::size_t>(n), 0.0);
    if (n == 0) return results;
    const PackFunction run = packFunction(code);
    // A station's sum never depends on who computes it, so the slices may
    // go to any thread.
    auto clipped = flags(plans.size());
    shareOut(n, threads, [&](int begin, int end) {
        for (std::size_t k = 0; k < plans.size(); ++k)
            if (run(plans[k], begin, end, results[k].sums.data())) clipped[k] = true;
    });
    for (std::size_t k = 0; k < plans.size(); ++k)
        results[k].clipped = clipped[k];
    return results;
}

std::vector<EdgeValues> computeEdgeValues(std::span<const EdgeTask> tasks, int threads,
                                          PackCode code) {
    const int n = tasks.empty() ? 0 : static_cast<int>(tasks.front().plan->xs.size());
    std::vector<EdgeValues> results(tasks.size());
    std::size_t edges = 0;
    for (std::size_t k = 0; k < tasks.size(); ++k) {
        // Every value is written by the pass.
        results[k].values.resize(tasks[k].edges.size() * static_cast<std::size_t>(n));
        results[k].clipped.assign(tasks[k].edges.size(), 0);
        edges += tasks[k].edges.size();
    }
    if (n == 0 || edges == 0) return results;
    const EdgeFunction run = edgeFunction(code);
    auto clipped = flags(edges);
    shareOut(n, threads, [&](int begin, int end) {
        std::size_t at = 0;
        for (std::size_t k = 0; k < tasks.size(); ++k) {
            std::vector<char> cut(tasks[k].edges.size(), 0);
            run(*tasks[k].plan, tasks[k].body, tasks[k].edges, begin, end, n,
                results[k].values.data(), cut.data());
            for (std::size_t e = 0; e < cut.size(); ++e)
                if (cut[e]) clipped[at + e] = true;
            at += cut.size();
        }
    });
    std::size_t at = 0;
    for (EdgeValues& r : results)
        for (char& c : r.clipped)
            c = clipped[at++] ? 1 : 0;
    return results;
}

}  // namespace detail

bool stationSumsSlice(const ForwardPlan& plan, int begin, int end, double* sums) {
    static const PackFunction best = detail::packFunction(detail::PackCode::Best);
    return best(plan, begin, end, sums);
}

void edgeValuesSlice(const EdgeTask& task, int begin, int end, int n, double* values,
                     char* clipped) {
    static const detail::EdgeFunction best = detail::edgeFunction(detail::PackCode::Best);
    best(*task.plan, task.body, task.edges, begin, end, n, values, clipped);
}

void shareStations(int n, long work, const std::function<void(int, int)>& slice) {
    detail::shareOut(n, util::usefulThreads(work, kWorkPerThread), slice);
}

}  // namespace calc
