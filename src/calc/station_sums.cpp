#include "calc/station_sums.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <span>
#include <vector>

namespace calc {

namespace {

std::atomic<int> requestedThreads{0};

// Below this many edge evaluations a helper costs more than it saves.
constexpr long kWorkPerThread = 4000;
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

namespace {

// As many threads as the work pays for.
int usefulThreads(std::span<const ForwardPlan> plans) {
    long work = 0;
    for (const ForwardPlan& plan : plans)
        work += static_cast<long>(plan.xs.size()) * std::max(1L, edgeCount(plan));
    const long useful = std::max(1L, work / kWorkPerThread);
    return static_cast<int>(std::min<long>(calcThreadCount(), useful));
}

}  // namespace

StationSums computeStationSums(const ForwardPlan& plan) {
    std::vector<StationSums> each = computeEachStationSums(std::span<const ForwardPlan>(&plan, 1));
    return std::move(each.front());
}

std::vector<StationSums> computeEachStationSums(std::span<const ForwardPlan> plans) {
    return detail::computeEachStationSums(plans, usefulThreads(plans), detail::PackCode::Best);
}

std::vector<EdgeValues> computeEdgeValues(std::span<const EdgeTask> tasks) {
    long work = 0;
    for (const EdgeTask& t : tasks)
        work += static_cast<long>(t.plan->xs.size()) * static_cast<long>(t.edges.size());
    const int threads = static_cast<int>(
        std::min<long>(calcThreadCount(), std::max(1L, work / kWorkPerThread)));
    return detail::computeEdgeValues(tasks, threads, detail::PackCode::Best);
}

std::vector<double> sumsOfEdges(const ForwardPlan& plan, std::span<const double> values) {
    const ForwardBody& body = plan.bodies.front();
    const std::size_t n = plan.xs.size();
    const std::size_t edges = static_cast<std::size_t>(body.last - body.first + 1);
    std::vector<double> sums(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        // The arithmetic of the pack code's body sum and its scaling.
        double bs = 0.0;
        for (std::size_t e = 0; e < edges; ++e) {
            const double v = values[e * n + i];
            bs = body.addEdges ? bs + v : bs - v;
        }
        float y1 = 0.0f, y2 = 0.0f;
        strikeExtents(plan, body, plan.ys[i], y1, y2);
        if (static_cast<double>(y1) == static_cast<double>(y2)) bs = bs * 2.0;
        sums[i] = addBodySum(plan, body, 0.0, bs);
    }
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

using EdgeFunction = void (*)(const ForwardPlan&, std::span<const int>, int, int, int, double*,
                              char*);

EdgeFunction edgeFunction(PackCode code) {
    const PackFunction pack = packFunction(code);
    if (pack == stationSumsAvx512) return edgeValuesAvx512;
    if (pack == stationSumsAvx2) return edgeValuesAvx2;
    return edgeValuesGeneric;
}

}  // namespace

namespace {

// One calculation shared out in slices of stations. Whoever is free takes
// the next slice and computes it for every plan; the caller works too and
// waits only for slices that were taken, never for a helper that has not
// started (on a busy machine a helper may come late, finds nothing left and
// goes back to sleep).
struct Job {
    std::function<void(int, int)> runSlice;  // stations [begin, end) of every plan
    int n = 0, slice = 0;
    int helpers = 0;              // helpers that may join in
    std::atomic<int> next{0};     // first station of the next slice
    std::atomic<int> joined{0};   // helpers that joined
    std::atomic<int> working{0};  // slices being computed now
    std::mutex m;
    std::condition_variable done;

    // Takes slices until none is left.
    void work() {
        for (;;) {
            working.fetch_add(1);
            const int begin = next.fetch_add(slice);
            if (begin < n) runSlice(begin, std::min(n, begin + slice));
            if (working.fetch_sub(1) == 1) {
                std::lock_guard<std::mutex> lock(m);
                done.notify_all();
            }
            if (begin >= n) return;
        }
    }
    void waitForTakenSlices() {
        std::unique_lock<std::mutex> lock(m);
        done.wait(lock, [this] { return working.load() == 0; });
    }
};

// Helper threads that live for the whole run, asleep between calculations.
class HelperPool {
  public:
    explicit HelperPool(int count) {
        for (int i = 0; i < count; ++i)
            threads_.emplace_back([this] { serve(); });
    }
    ~HelperPool() {
        {
            std::lock_guard<std::mutex> lock(m_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_)
            t.join();
    }
    int size() const { return static_cast<int>(threads_.size()); }
    void offer(const std::shared_ptr<Job>& job) {
        {
            std::lock_guard<std::mutex> lock(m_);
            job_ = job;
            ++generation_;
        }
        wake_.notify_all();
    }

  private:
    void serve() {
        long seen = 0;
        for (;;) {
            std::shared_ptr<Job> job;
            {
                std::unique_lock<std::mutex> lock(m_);
                wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
                if (stopping_) return;
                seen = generation_;
                job = job_;
            }
            if (job && job->joined.fetch_add(1) < job->helpers) job->work();
        }
    }

    std::vector<std::thread> threads_;
    std::mutex m_;
    std::condition_variable wake_;
    std::shared_ptr<Job> job_;
    long generation_ = 0;
    bool stopping_ = false;
};

HelperPool& helperPool() {
    static HelperPool pool(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())) - 1);
    return pool;
}

}  // namespace

StationSums computeStationSums(const ForwardPlan& plan, int threads, PackCode code) {
    std::vector<StationSums> each = computeEachStationSums(std::span<const ForwardPlan>(&plan, 1), threads, code);
    return std::move(each.front());
}

namespace {

// Runs slice(begin, end) over stations [0, n) on up to `threads` threads.
void shareOut(int n, int threads, const std::function<void(int, int)>& slice) {
    const int packs = (n + kPack - 1) / kPack;
    const int helpers = std::min(std::max(1, std::min(threads, packs)) - 1, helperPool().size());
    if (helpers <= 0) {
        slice(0, n);
        return;
    }
    auto job = std::make_shared<Job>();
    job->runSlice = slice;
    job->n = n;
    job->slice = kPack * std::max(1, std::min(kPacksPerSlice, packs / (helpers + 1)));
    job->helpers = helpers;
    helperPool().offer(job);
    job->work();
    job->waitForTakenSlices();
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
        results[k].values.assign(tasks[k].edges.size() * static_cast<std::size_t>(n), 0.0);
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
            run(*tasks[k].plan, tasks[k].edges, begin, end, n, results[k].values.data(),
                cut.data());
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

}  // namespace calc
