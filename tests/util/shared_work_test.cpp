// Work shared out over the helper threads: every item done once, and work
// shared out again from within a slice done by that slice's thread.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "util/shared_work.h"

namespace {

class SharedWork : public ::testing::Test {
  protected:
    void TearDown() override { util::setSharedThreadCount(0); }
};

TEST_F(SharedWork, EveryItemIsDoneOnceOnEveryThreadCount) {
    // Items in slices of `unit` items, up to `maxUnits` at a time: more
    // slices than threads, fewer, and a last slice cut short.
    struct Case {
        int items, unit, maxUnits;
    };
    for (const Case c : {Case{1000, 3, 2}, Case{5, 1, 1}, Case{17, 4, 1}}) {
        for (int threads : {1, 2, 8}) {
            util::setSharedThreadCount(threads);
            std::vector<std::atomic<int>> done(static_cast<std::size_t>(c.items));
            util::shareOut(c.items, util::SliceRule{threads, c.unit, c.maxUnits},
                           [&](int begin, int end) {
                               EXPECT_EQ(begin % c.unit, 0);
                               for (int i = begin; i < end; ++i)
                                   ++done[static_cast<std::size_t>(i)];
                           });
            for (std::size_t i = 0; i < done.size(); ++i)
                ASSERT_EQ(done[i].load(), 1)
                    << "item " << i << " of " << c.items << ", " << threads << " threads";
        }
    }
}

// Each thread starts on its own part of the slices; the part of a thread
// held up elsewhere is taken by the others rather than waited for.
TEST_F(SharedWork, ThePartOfAThreadHeldUpIsTakenByTheOthers) {
    if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one processor";
    util::setSharedThreadCount(2);
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<std::atomic<int>> done(64);
    std::atomic<bool> firstTakenElsewhere{false};
    util::shareOut(
        64, util::SliceRule{2, 1, 1},
        [&](int begin, int end) {
            if (begin == 0 && std::this_thread::get_id() != caller) firstTakenElsewhere = true;
            for (int i = begin; i < end; ++i)
                ++done[static_cast<std::size_t>(i)];
        },
        // The caller, whose part holds the first slices, is held up until
        // a helper has done the first of them.
        [&] {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!firstTakenElsewhere && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    EXPECT_TRUE(firstTakenElsewhere);
    for (std::size_t i = 0; i < done.size(); ++i)
        ASSERT_EQ(done[i].load(), 1) << "item " << i;
}

TEST_F(SharedWork, WorkSharedFromASliceStaysOnItsThread) {
    util::setSharedThreadCount(8);
    std::vector<std::atomic<int>> done(64 * 100);
    std::mutex m;
    std::set<std::thread::id> outerThreads;
    util::shareOut(64, util::SliceRule{8, 1, 1}, [&](int begin, int end) {
        const std::thread::id mine = std::this_thread::get_id();
        {
            std::lock_guard<std::mutex> lock(m);
            outerThreads.insert(mine);
        }
        for (int k = begin; k < end; ++k) {
            util::shareOut(100, util::SliceRule{8, 1, 1}, [&](int b, int e) {
                // The whole inner range at once, on the outer slice's thread.
                EXPECT_EQ(b, 0);
                EXPECT_EQ(e, 100);
                EXPECT_EQ(std::this_thread::get_id(), mine);
                for (int i = b; i < e; ++i)
                    ++done[static_cast<std::size_t>(k * 100 + i)];
            });
        }
    });
    EXPECT_GE(outerThreads.size(), 1u);
    for (std::size_t i = 0; i < done.size(); ++i)
        ASSERT_EQ(done[i].load(), 1) << "item " << i;
    // Outside any slice the work is shared out again.
    std::atomic<int> slices{0};
    util::shareOut(100, util::SliceRule{8, 1, 1}, [&](int, int) { ++slices; });
    if (std::thread::hardware_concurrency() > 1) EXPECT_GT(slices.load(), 1);
}

// Work that must stay on the calling thread runs there while the helpers
// take their slices, which may wait for it; with nothing to share out, or
// within a slice, it still runs once.
TEST_F(SharedWork, FirstWorkRunsOnTheCallingThreadBesideTheSlices) {
    const std::thread::id caller = std::this_thread::get_id();
    for (int threads : {1, 8}) {
        util::setSharedThreadCount(threads);
        std::atomic<bool> ready{false};
        std::atomic<int> done{0}, firsts{0};
        util::shareOut(
            40, util::SliceRule{threads, 1, 1},
            [&](int begin, int end) {
                while (!ready.load())
                    std::this_thread::yield();
                done += end - begin;
            },
            [&] {
                EXPECT_EQ(std::this_thread::get_id(), caller);
                ++firsts;
                ready = true;
            });
        EXPECT_EQ(done.load(), 40) << threads << " threads";
        EXPECT_EQ(firsts.load(), 1) << threads << " threads";
    }
    std::atomic<int> firsts{0}, outer{0};
    util::shareOut(
        0, util::SliceRule{8, 1, 1}, [](int, int) { FAIL(); }, [&] { ++firsts; });
    EXPECT_EQ(firsts.load(), 1);
    util::shareOut(2, util::SliceRule{8, 1, 1}, [&](int, int) {
        ++outer;
        util::shareOut(
            5, util::SliceRule{8, 1, 1}, [](int, int) {}, [&] { ++firsts; });
    });
    EXPECT_EQ(firsts.load(), 1 + outer.load());
}

// The caller's first work and the slices run side by side: with a thread
// for every slice besides the caller, every slice is under way while the
// first work still is.
TEST_F(SharedWork, ACallerBusyWithItsFirstWorkLeavesEverySliceToTheHelpers) {
    const int threads = std::min(4, static_cast<int>(std::thread::hardware_concurrency()));
    if (threads < 2) GTEST_SKIP() << "one processor";
    util::setSharedThreadCount(threads);
    const int slices = threads - 1;
    std::atomic<int> started{0}, startedBeforeFirstEnded{0};
    std::atomic<bool> firstEnded{false};
    auto waitFor = [](const auto& done) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    util::shareOut(
        slices, util::SliceRule{threads, 1, 1},
        [&](int, int) {
            ++started;
            waitFor([&] { return firstEnded.load(); });
        },
        [&] {
            waitFor([&] { return started.load() == slices; });
            startedBeforeFirstEnded = started.load();
            firstEnded = true;
        });
    EXPECT_EQ(startedBeforeFirstEnded.load(), slices);
    EXPECT_EQ(started.load(), slices);
}

}  // namespace
