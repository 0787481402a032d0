#pragma once
// Work shared out over helper threads that live for the whole run, asleep
// between pieces of work: a range [0, n) is cut into slices, whoever is free
// takes the next one, and the caller works too and returns when every slice
// is done. Which thread computes a slice never changes what is computed, so
// work whose results depend on their slice alone gives the same bits for
// any thread count.

#include <functional>

namespace util {

// Number of threads shared work may use; 0 (the default) means one per
// processor.
void setSharedThreadCount(int threads);
int sharedThreadCount();

// How [0, n) is cut: slices are whole multiples of `unit` items, at most
// `maxUnits` of them, and no more threads than `threads` (the caller
// included) take part.
struct SliceRule {
    int threads = 1;
    int unit = 1;
    int maxUnits = 1;
};

// Runs slice(begin, end) over the slices of [0, n) and waits for them.
// Called from within a slice, it runs the whole range on that thread.
// `first`, when given, runs on the calling thread before it takes a slice,
// while the helpers may already take theirs: work that must stay on the
// calling thread (it may speak to the user) side by side with the slices.
void shareOut(int n, SliceRule rule, const std::function<void(int, int)>& slice,
              const std::function<void()>& first = nullptr);

// The threads work of `work` units pays for, `worthOne` units a thread, at
// most sharedThreadCount().
int usefulThreads(long work, long worthOne);

}  // namespace util
