#pragma once
// One profile: its head, graphs, labels, station arrays and polygon model. The
// record owns every array inside it, so a copy never shares storage with its
// source.

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "base/fixed_string.h"
#include "model/model_array.h"
#include "model/polygon_model.h"
#include "model/profile_header.h"
#include "util/axis_record.h"

namespace model {

// A station-by-component array, stored component by component (the NSTA
// values of component 1, then those of component 2), indexed from 1.
template <typename T>
class Array2 {
  public:
    bool allocated() const { return allocated_; }
    int rows() const { return rows_; }
    int cols() const { return cols_; }

    bool allocate(int rows, int cols) {
        release();
        rows = std::max(rows, 0);
        cols = std::max(cols, 0);
        if (!allocationPermitted()) return false;
        try {
            v_.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), T{});
        } catch (const std::bad_alloc&) {
            v_.clear();
            return false;
        }
        rows_ = rows;
        cols_ = cols;
        allocated_ = true;
        return true;
    }
    // Takes over prepared storage of rows * cols entries as the array's.
    void adopt(int rows, int cols, std::vector<T>&& entries) {
        assert(rows >= 0 && cols >= 0 &&
               entries.size() == static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
        v_ = std::move(entries);
        rows_ = rows;
        cols_ = cols;
        allocated_ = true;
    }
    void release() {
        std::vector<T>().swap(v_);
        rows_ = cols_ = 0;
        allocated_ = false;
    }
    bool has(int i, int k) const { return i >= 1 && i <= rows_ && k >= 1 && k <= cols_; }
    T& operator()(int i, int k) {
        assert(has(i, k));
        return v_[index(i, k)];
    }
    const T& operator()(int i, int k) const {
        assert(has(i, k));
        return v_[index(i, k)];
    }
    std::vector<T>& values() { return v_; }
    const std::vector<T>& values() const { return v_; }

    bool operator==(const Array2&) const = default;

  private:
    std::size_t index(int i, int k) const {
        return static_cast<std::size_t>(k - 1) * static_cast<std::size_t>(rows_) +
               static_cast<std::size_t>(i - 1);
    }
    std::vector<T> v_;
    int rows_ = 0, cols_ = 0;
    bool allocated_ = false;
};

inline constexpr int kLabelLimit = 50;

// The user's labels of one profile; entries 1..NLAB are in use.
struct LabelSet {
    std::array<base::FixedString<50>, kLabelLimit> CMODL = zeroLabels();
    std::array<float, kLabelLimit> XARRO{}, YARRO{}, XCLAB{}, YCLAB{}, HILAB{}, WDLAB{};
    std::array<std::int32_t, kLabelLimit> IWINDOW{}, IPARAM{};
    std::int32_t NLAB = 0;

    bool operator==(const LabelSet&) const = default;

  private:
    static std::array<base::FixedString<50>, kLabelLimit> zeroLabels() {
        std::array<base::FixedString<50>, kLabelLimit> a;
        a.fill(zeroText<50>());
        return a;
    }
};

inline constexpr int kAxisCount = 6;

struct ProfileLine : ProfileHeader {
    bool LSAVED = false;  // no changes that are not in its slot or file
    std::array<std::uint32_t, 2> reservedAfterSaved{};
    // Data graphs 1 and 2, model-section graphs 1 and 2, elevation graphs 1
    // and 2; record k is AXES[k - 1].
    std::array<util::AxisRecord, kAxisCount> AXES{};
    LabelSet LABELS;

    // Station arrays, allocated together by ALLOCPF in this order.
    RealArray EAST, NORT, STAT, ELEV;
    Array2<float> DAT;
    Array2<Logical> MASK;
    Array2<float> SYN;
    RealArray REG;

    // Arrays of a VLF data set, not carried by the database file.
    RealArray VLFREQ;
    Array2<float> VINPH, VQUAD, VTHRD;

    PolygonModel MODEL;

    bool operator==(const ProfileLine&) const = default;
};

// The default record every database slot starts from: all zero, no arrays.
const ProfileLine& profileTemplate();

// Allocates the eight station arrays for NSTA stations and NCOMP components
// (negative counts as 0), stopping at the first failure; status is 0 on
// success. The regional values start at 0.0.
void ALLOCPF(ProfileLine& profile, int& status);

// Releases the station arrays.
void DEALLOCPF(ProfileLine& profile);

// Makes dest a deep copy of src (the saved flag excepted) and takes the
// working units from it. Where storage cannot be had, dest is left with those
// arrays unallocated and their counts at zero.
void COPYPFLINE(ProfileLine& dest, const ProfileLine& src);

// Status of the last allocation made by COPYPFLINE (0 = complete).
int lastCopyStatus();

}  // namespace model
