#pragma once
// The heart of the forward calculation, free of the profile and model
// records: given the stations and the bodies already placed in the model
// frame, the per-station sums of the anomaly of the selected bodies.
//
// The stations are evaluated in packs of four or eight, and packs are spread
// over threads; every station's sum is formed in the same order with the same
// arithmetic whatever the pack, the thread count or the instruction set, so
// the results are the same to the last bit.

#include <functional>
#include <memory>
#include <new>
#include <span>
#include <utility>
#include <vector>

#include "calc/calc_common.h"

namespace calc {

// What is computed for each edge (gravity, or the magnetic component code).
enum class EdgeComponent {
    Gravity,
    Total,      // T: total-field term
    TotalGrad,  // V: T minus T with both depths 0.001 km deeper
    X,          // across-strike component
    Y,          // along-strike component
    Z,          // vertical component
    XGrad,      // P
    YGrad,      // Q
    ZGrad,      // R
};

// How a body's sum enters the station's sum.
enum class SumScale {
    Magnetic,      // body sum x field strength
    Gravity,       // body sum x 6.673 x contrast
    Microgravity,  // body sum x 6.673 x contrast x 1000
};

struct ForwardBody {
    int body = 0;   // its number in the model
    int first = 0;  // first vertex, 0-based
    int last = 0;   // last vertex, 0-based (the run first..last)
    float xtent1 = 0.0f, xtent2 = 0.0f;
    bool addEdges = false;  // the area is negative: edge values are added
    float contrast = 0.0f;  // property contrast times the unit factor
    double Mx = 0.0, My = 0.0, Mz = 0.0;
};

struct ForwardPlan {
    // Stations: model X and Y, sensor elevation.
    std::vector<float> xs, ys, elevation;
    // Vertices: model X and elevation.
    std::vector<float> xv, zv;
    std::vector<ForwardBody> bodies;  // in the order they are summed
    float clip = 0.0f;                // horizontal offsets are confined to [-clip, clip]
    bool scaled = false;              // lengths are multiplied by fx and fz
    float fx = 1.0f, fz = 1.0f;
    EdgeComponent component = EdgeComponent::Gravity;
    SumScale scale = SumScale::Gravity;
    float fieldStrength = 0.0f;
    double Fx = 0.0, Fy = 0.0, Fz = 0.0;  // unit inducing direction
};

struct StationSums {
    std::vector<double> sums;  // one per station
    bool clipped = false;      // some vertex offset was confined
};

// Private to every translation unit: the pack code is compiled once per
// instruction set, and its copies must never be merged by the linker.
namespace {

// The strike half-extents of a body at a station of model Y `ys`, as the sums
// take them.
inline void strikeExtents(const ForwardPlan& plan, const ForwardBody& body, float ys, float& y1,
                          float& y2) {
    y1 = body.xtent1;
    y2 = body.xtent2;
    if (y1 != 0.0f || y2 != 0.0f) {
        y1 = y1 + ys;
        y2 = y2 - ys;
    }
    if (plan.scaled) {
        y1 = y1 * plan.fx;
        y2 = y2 * plan.fx;
    }
}

inline constexpr double kGravityConstant = 6.673;

// A station's sum S with a body's sum bs added as `scale` asks (one
// station, or a pack of stations side by side).
template <class D>
D addBodySum(const ForwardPlan& plan, SumScale scale, const ForwardBody& body, D S, D bs) {
    switch (scale) {
        case SumScale::Magnetic:
            return S + bs * static_cast<double>(plan.fieldStrength);
        case SumScale::Gravity:
            return S + bs * kGravityConstant * static_cast<double>(body.contrast);
        case SumScale::Microgravity:
            return S + bs * kGravityConstant * static_cast<double>(body.contrast) * 1000.0;
    }
    return S;
}

// The same as the plan scales it.
template <class D>
D addBodySum(const ForwardPlan& plan, const ForwardBody& body, D S, D bs) {
    return addBodySum(plan, plan.scale, body, S, bs);
}

}  // namespace

// Single edges of one body: edge e runs from the vertex before the
// body's e-th to its e-th, edge 0 from the last vertex to the first, as the
// body's sum takes them. A body sum is its edges' values taken in that order,
// so a body changed in a few vertices needs only the edges at those vertices.
struct EdgeTask {
    const ForwardPlan* plan = nullptr;  // stations, vertices and settings (not its bodies)
    ForwardBody body;                   // the body whose edges they are
    std::vector<int> edges;             // which edges
};
// Vectors whose new elements are left unset: values that are all written
// before they are read need no clearing pass over fresh memory.
template <class T>
struct UnsetAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UnsetAllocator<U>;
    };
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using UnsetValues = std::vector<double, UnsetAllocator<double>>;

struct EdgeValues {
    UnsetValues values;         // edge by edge (as listed), station by station
    std::vector<char> clipped;  // per listed edge: some vertex offset was confined
};
// The work of the station sums a slice of stations [begin, end) at a time,
// for a caller that shares out a sweep of its own (shareStations) to do
// more with each slice while it is at hand; every value lands where the
// whole calculation puts it with the same bits:
// - stationSumsSlice: the plan's sums[i], answering whether an offset was
//   confined;
// - edgeValuesSlice: the values of the task's listed edges, the k-th
//   edge's at values[k * n + i], clipped[k] set when an offset was
//   confined;
// - sumsOfEdgesSlice: the sums of one body from the values of all its
//   edges (rows[e] those of edge e), scaled as `scale` asks: the same to
//   the last bit as computeStationSums of the plan with that body alone
//   and that scale.
bool stationSumsSlice(const ForwardPlan& plan, int begin, int end, double* sums);
void edgeValuesSlice(const EdgeTask& task, int begin, int end, int n, double* values,
                     char* clipped);
void sumsOfEdgesSlice(const ForwardPlan& plan, const ForwardBody& body, SumScale scale,
                      std::span<const double* const> rows, int begin, int end, double* sums);
// Runs slice(begin, end) over stations [0, n) in whole packs, on as many
// threads as `work` edge evaluations pay for, and waits for them.
void shareStations(int n, long work, const std::function<void(int, int)>& slice);

// The sums of a plan of one body from the values of its edges, edge by
// edge in one block.
std::vector<double> sumsOfEdges(const ForwardPlan& plan, std::span<const double> values);

// Number of threads the calculation may use; 0 (the default) means one per
// processor. The calling thread waits for them. The same count governs all
// shared work (util/shared_work.h): the inversion's normal equations and the
// model's legality checks too.
void setCalcThreadCount(int threads);
int calcThreadCount();

StationSums computeStationSums(const ForwardPlan& plan);
// The sums of each of several plans over the same stations, each plan alone,
// in one pass shared out over the threads (one wake-up of the helpers instead
// of one per plan). Each is the same to the last bit as computeStationSums of
// that plan.
std::vector<StationSums> computeEachStationSums(std::span<const ForwardPlan> plans);

namespace detail {
// Which pack code to run: the best this processor has, or a given one (a
// code the processor lacks falls back to the next narrower).
enum class PackCode { Best, Generic, Avx2, Avx512 };
StationSums computeStationSums(const ForwardPlan& plan, int threads, PackCode code);
std::vector<StationSums> computeEachStationSums(std::span<const ForwardPlan> plans, int threads,
                                                PackCode code);
// The values of every task's edges at every station, in one pass shared out
// over the threads; each value is the same to the last bit whoever computes it.
std::vector<EdgeValues> computeEdgeValues(std::span<const EdgeTask> tasks, int threads,
                                          PackCode code);
// Sums of stations [begin, end) into sums[begin..end); answers whether any
// vertex offset was confined.
bool stationSumsGeneric(const ForwardPlan& plan, int begin, int end, double* sums);
// Values of the listed edges of the body at stations [begin, end) into values[k * n + i]
// for the k-th edge and station i; clipped[k] is set when an offset was confined.
void edgeValuesGeneric(const ForwardPlan& plan, const ForwardBody& body, std::span<const int> edges,
                       int begin, int end, int n, double* values, char* clipped);
void edgeValuesAvx2(const ForwardPlan& plan, const ForwardBody& body, std::span<const int> edges,
                    int begin, int end, int n, double* values, char* clipped);
void edgeValuesAvx512(const ForwardPlan& plan, const ForwardBody& body, std::span<const int> edges,
                      int begin, int end, int n, double* values, char* clipped);
bool stationSumsAvx2(const ForwardPlan& plan, int begin, int end, double* sums);
bool stationSumsAvx512(const ForwardPlan& plan, int begin, int end, double* sums);
bool avx2Available();
bool avx512Available();
}  // namespace detail

}  // namespace calc
