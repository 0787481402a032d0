#include "calc/station_sums.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace calc {

namespace {

std::atomic<int> requestedThreads{0};

// Below this many edge evaluations threads cost more than they save.
constexpr long kWorkPerThread = 200000;
// Threads take whole packs of the widest code, a few at a time.
constexpr int kPack = 8;
constexpr int kPacksPerSlice = 16;

long edgeCount(const ForwardPlan& plan) {
    long edges = 0;
    for (const ForwardBody& b : plan.bodies)
        edges += b.last - b.first + 1;
    return edges;
}

using PackFunction = bool (*)(const ForwardPlan&, int, int, double*);

}  // namespace

void setCalcThreadCount(int threads) {
    requestedThreads = std::max(0, threads);
}

int calcThreadCount() {
    const int requested = requestedThreads;
    if (requested > 0) return requested;
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

StationSums computeStationSums(const ForwardPlan& plan) {
    const long work = static_cast<long>(plan.xs.size()) * std::max(1L, edgeCount(plan));
    const long useful = std::max(1L, work / kWorkPerThread);
    const int threads = static_cast<int>(std::min<long>(calcThreadCount(), useful));
    return detail::computeStationSums(plan, threads, detail::PackCode::Best);
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

}  // namespace

StationSums computeStationSums(const ForwardPlan& plan, int threads, PackCode code) {
    StationSums result;
    const int n = static_cast<int>(plan.xs.size());
    result.sums.assign(static_cast<std::size_t>(n), 0.0);
    if (n == 0) return result;
    const PackFunction run = packFunction(code);

    // The stations go out in slices of whole packs to whichever thread is
    // free, so a thread that gets less of the processor takes fewer slices;
    // a station's sum never depends on who computes it.
    const int packs = (n + kPack - 1) / kPack;
    const int workersWanted = std::max(1, std::min(threads, packs));
    if (workersWanted == 1) {
        result.clipped = run(plan, 0, n, result.sums.data());
        return result;
    }
    const int slice = kPack * std::max(1, std::min(kPacksPerSlice, packs / workersWanted));
    std::atomic<int> next{0};
    std::atomic<bool> clipped{false};
    auto work = [&] {
        bool mine = false;
        for (int begin = next.fetch_add(slice); begin < n; begin = next.fetch_add(slice)) {
            if (run(plan, begin, std::min(n, begin + slice), result.sums.data())) mine = true;
        }
        if (mine) clipped = true;
    };
    std::vector<std::thread> workers;
    workers.reserve(static_cast<std::size_t>(workersWanted - 1));
    for (int w = 1; w < workersWanted; ++w)
        workers.emplace_back(work);
    work();
    for (std::thread& t : workers)
        t.join();
    result.clipped = clipped;
    return result;
}

}  // namespace detail

}  // namespace calc
