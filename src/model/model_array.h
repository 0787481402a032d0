#pragma once
// Growable arrays of the profile and model records. Each array knows whether it
// is allocated at all (an allocated array may hold no entries), is indexed from
// a fixed lower bound (1 for almost all, 0 for the property free flags) and owns
// its storage, so copying a record copies every array and no two records ever
// share one.

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace model {

// A logical entry of an array. Kept as a one-byte value rather than a packed
// bit so that entries can be referenced and handed around like the others.
struct Logical {
    bool value = false;
    Logical() = default;
    Logical(bool v) : value(v) {}            // NOLINT: converts freely, like the flag it stands for
    operator bool() const { return value; }  // NOLINT
    bool operator==(const Logical&) const = default;
};

// Allocation failures can be provoked in tests: after `countdown` further
// successful allocations the next one fails (a negative countdown never fails).
struct AllocationFaults {
    long countdown = -1;
};
AllocationFaults& allocationFaults();

// Returns false when the next allocation is to fail (and consumes one step).
bool allocationPermitted();

template <typename T, std::ptrdiff_t Lower = 1>
class Array {
  public:
    static constexpr std::ptrdiff_t lower = Lower;

    bool allocated() const { return allocated_; }
    // Number of entries (0 when unallocated).
    std::ptrdiff_t size() const { return static_cast<std::ptrdiff_t>(v_.size()); }
    // Index of the last entry.
    std::ptrdiff_t upper() const { return Lower + size() - 1; }

    // Replaces the array by `n` value-initialised entries (negative counts as 0).
    // On failure the array is left unallocated and false is returned.
    bool allocate(std::ptrdiff_t n) {
        release();
        if (n < 0) n = 0;
        if (!allocationPermitted()) return false;
        try {
            v_.assign(static_cast<std::size_t>(n), T{});
        } catch (const std::bad_alloc&) {
            v_.clear();
            v_.shrink_to_fit();
            return false;
        }
        allocated_ = true;
        return true;
    }

    // Gives the array `n` entries, keeping the first min(old, n) of them (the
    // way every growing or shrinking edit keeps its contents). On failure the
    // array is left exactly as it was.
    bool resizeKeeping(std::ptrdiff_t n) {
        if (n < 0) n = 0;
        if (!allocationPermitted()) return false;
        try {
            std::vector<T> fresh(static_cast<std::size_t>(n));
            std::size_t keep = std::min(fresh.size(), v_.size());
            for (std::size_t i = 0; i < keep; ++i)
                fresh[i] = v_[i];
            v_.swap(fresh);
        } catch (const std::bad_alloc&) {
            return false;
        }
        allocated_ = true;
        return true;
    }

    // Takes over prepared storage as the array's entries.
    void adopt(std::vector<T>&& entries) {
        v_ = std::move(entries);
        allocated_ = true;
    }

    void release() {
        std::vector<T>().swap(v_);
        allocated_ = false;
    }

    T& operator()(std::ptrdiff_t i) {
        assert(i >= Lower && i - Lower < size());
        return v_[static_cast<std::size_t>(i - Lower)];
    }
    const T& operator()(std::ptrdiff_t i) const {
        assert(i >= Lower && i - Lower < size());
        return v_[static_cast<std::size_t>(i - Lower)];
    }

    // Whether index i addresses an entry.
    bool has(std::ptrdiff_t i) const { return i >= Lower && i - Lower < size(); }

    std::vector<T>& values() { return v_; }
    const std::vector<T>& values() const { return v_; }

    bool operator==(const Array&) const = default;

  private:
    std::vector<T> v_;
    bool allocated_ = false;
};

using RealArray = Array<float>;
using IntArray = Array<int>;
using LogicalArray = Array<Logical>;

}  // namespace model
