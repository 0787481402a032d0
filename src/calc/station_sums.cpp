#include "calc/station_sums.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace calc {

namespace {

std::atomic<int> requestedThreads{0};

// Below this many edge evaluations threads cost more than they save.
constexpr long kWorkPerThread = 200000;
constexpr int kPack = 4;

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

StationSums computeStationSums(const ForwardPlan& plan, int threads, PackCode code) {
    StationSums result;
    const int n = static_cast<int>(plan.xs.size());
    result.sums.assign(static_cast<std::size_t>(n), 0.0);
    if (n == 0) return result;
    const PackFunction run =
        code == PackCode::Best && avx2Available() ? stationSumsAvx2 : stationSumsGeneric;

    // Whole packs per thread, so that no pack is split; each thread writes its
    // own stations only.
    const int packs = (n + kPack - 1) / kPack;
    const int parts = std::max(1, std::min(threads, packs));
    if (parts == 1) {
        result.clipped = run(plan, 0, n, result.sums.data());
        return result;
    }
    std::vector<char> clipped(static_cast<std::size_t>(parts), 0);
    std::vector<std::thread> workers;
    workers.reserve(static_cast<std::size_t>(parts - 1));
    auto range = [&](int part) {
        const int firstPack = static_cast<int>(static_cast<long>(packs) * part / parts);
        const int endPack = static_cast<int>(static_cast<long>(packs) * (part + 1) / parts);
        return std::pair{firstPack * kPack, std::min(n, endPack * kPack)};
    };
    for (int part = 1; part < parts; ++part) {
        workers.emplace_back([&, part] {
            const auto [begin, end] = range(part);
            clipped[static_cast<std::size_t>(part)] = run(plan, begin, end, result.sums.data());
        });
    }
    const auto [begin, end] = range(0);
    clipped[0] = run(plan, begin, end, result.sums.data());
    for (std::thread& t : workers)
        t.join();
    result.clipped = std::any_of(clipped.begin(), clipped.end(), [](char c) { return c != 0; });
    return result;
}

}  // namespace detail

}  // namespace calc
