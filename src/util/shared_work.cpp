#include "util/shared_work.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace util {

namespace {

std::atomic<int> requestedThreads{0};

constexpr std::chrono::microseconds kLookBeforeSleeping{200};

// Set while a thread computes a slice: work it shares out in turn is done
// by that thread alone, since every other thread has its own slices (and
// the helpers serve one piece of work at a time).
thread_local bool inSlice = false;

// One piece of work shared out in slices. The slices are parted among the
// threads that may take part, a part to each in order of the thread's place
// in the pool: a thread takes the slices of its own part first, so that work
// shared out again over the same range (the passes of an inversion step)
// finds the data of its slices in its own cache. Whoever is done with its
// part takes the next slice of another's; the caller waits only for slices
// that were taken, never for a helper that has not started (on a busy
// machine a helper may come late, finds nothing left and goes back to
// sleep).
struct Job {
    std::function<void(int, int)> runSlice;
    int n = 0, slice = 0;
    int helpers = 0;  // helpers that may join in
    // Part p holds slices [partStart[p], partStart[p + 1]) and hands out the
    // next of them from its cursor.
    struct alignas(64) Cursor {
        std::atomic<int> next{0};
    };
    std::unique_ptr<Cursor[]> cursors;
    std::vector<int> partStart;
    std::atomic<int> joined{0};   // helpers that joined
    std::atomic<int> working{0};  // slices being computed now
    std::mutex m;
    std::condition_variable done;

    Job(std::function<void(int, int)> run, int items, int sliceItems, int helperCount)
        : runSlice(std::move(run)), n(items), slice(sliceItems), helpers(helperCount) {
        const int parts = helpers + 1;
        const int slices = (n + slice - 1) / slice;
        cursors = std::make_unique<Cursor[]>(static_cast<std::size_t>(parts));
        for (int p = 0; p <= parts; ++p)
            partStart.push_back(static_cast<int>(static_cast<long>(slices) * p / parts));
        for (int p = 0; p < parts; ++p)
            cursors[static_cast<std::size_t>(p)].next = partStart[static_cast<std::size_t>(p)];
    }

    int parts() const { return helpers + 1; }

    // Takes slices of part `home`, then of the others, until none is left.
    void work(int home) {
        for (int k = 0; k < parts(); ++k) {
            const auto p = static_cast<std::size_t>((home + k) % parts());
            // A part seen done is passed over without touching what the
            // others count (acquire: its slices' takers are then seen
            // working).
            while (cursors[p].next.load(std::memory_order_acquire) < partStart[p + 1]) {
                working.fetch_add(1);
                const int s = cursors[p].next.fetch_add(1);
                const bool taken = s < partStart[p + 1];
                if (taken) {
                    inSlice = true;
                    runSlice(s * slice, std::min(n, (s + 1) * slice));
                    inSlice = false;
                }
                if (working.fetch_sub(1) == 1) {
                    std::lock_guard<std::mutex> lock(m);
                    done.notify_all();
                }
                if (!taken) break;
            }
        }
    }
    // Looks for a while before it sleeps: a caller put to sleep waits on a
    // busy machine for a processor again when woken, and the slices still
    // taken are mostly about to end.
    void waitForTakenSlices() {
        const auto until = std::chrono::steady_clock::now() + kLookBeforeSleeping;
        while (working.load() != 0 && std::chrono::steady_clock::now() < until)
            std::this_thread::yield();
        std::unique_lock<std::mutex> lock(m);
        done.wait(lock, [this] { return working.load() == 0; });
    }
};

class HelperPool {
  public:
    explicit HelperPool(int count) {
        for (int i = 0; i < count; ++i)
            threads_.emplace_back([this, i] { serve(i); });
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
    // Wakes as many helpers as the job may use: on a busy machine every
    // thread woken for nothing costs a switch.
    void offer(const std::shared_ptr<Job>& job) {
        {
            std::lock_guard<std::mutex> lock(m_);
            job_ = job;
            ++generation_;
        }
        for (int k = 0; k < job->helpers; ++k)
            wake_.notify_one();
    }

  private:
    // Helper `place` works first on part place + 1 of a job (the caller's
    // is part 0).
    void serve(int place) {
        long seen = 0;
        for (;;) {
            // Work shared out comes in runs (an inversion step shares out a
            // dozen pieces a few tenths of a millisecond apart): a helper
            // looks for the next piece a while before it sleeps, since a
            // sleeper waits on a busy machine for a processor when woken.
            const auto until = std::chrono::steady_clock::now() + kLookBeforeSleeping;
            while (generation_.load() == seen && std::chrono::steady_clock::now() < until)
                std::this_thread::yield();
            std::shared_ptr<Job> job;
            {
                std::unique_lock<std::mutex> lock(m_);
                wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
                if (stopping_) return;
                seen = generation_;
                job = job_;
            }
            if (job && job->joined.fetch_add(1) < job->helpers)
                job->work((place + 1) % job->parts());
        }
    }

    std::vector<std::thread> threads_;
    std::mutex m_;
    std::condition_variable wake_;
    std::shared_ptr<Job> job_;
    std::atomic<long> generation_{0};  // changed under m_
    bool stopping_ = false;
};

// Asked of the system once: the answer costs it a file read.
int processors() {
    static const int count = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return count;
}

HelperPool& helperPool() {
    static HelperPool pool(processors() - 1);
    return pool;
}

}  // namespace

void setSharedThreadCount(int threads) {
    requestedThreads = std::max(0, threads);
}

int sharedThreadCount() {
    const int requested = requestedThreads;
    return requested > 0 ? requested : processors();
}

int usefulThreads(long work, long worthOne) {
    const long useful = std::max(1L, work / std::max(1L, worthOne));
    return static_cast<int>(std::min<long>(sharedThreadCount(), useful));
}

void shareOut(int n, SliceRule rule, const std::function<void(int, int)>& slice,
              const std::function<void()>& first) {
    const int unit = std::max(1, rule.unit);
    const int units = n > 0 ? (n + unit - 1) / unit : 0;
    // A caller busy with `first` leaves every slice to a helper of its own.
    const int takers = first ? units + 1 : units;
    const int helpers =
        std::min(std::max(1, std::min(rule.threads, takers)) - 1, helperPool().size());
    if (n <= 0 || inSlice || helpers <= 0) {
        if (first) first();
        if (n > 0) slice(0, n);
        return;
    }
    auto job = std::make_shared<Job>(
        slice, n, unit * std::max(1, std::min(std::max(1, rule.maxUnits), units / (helpers + 1))),
        helpers);
    helperPool().offer(job);
    if (first) first();
    job->work(0);
    job->waitForTakenSlices();
}

}  // namespace util
