#pragma once
// The per-station sums over packs of stations. Included by one translation
// unit per instruction set, which names its pack type LanePack first;
// everything here is private to that unit.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "calc/edge_kernel.h"
#include "calc/station_sums.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace calc::lanes {
namespace {

constexpr int W = static_cast<int>(sizeof(LanePack) / sizeof(double));
constexpr float kDepthOffset = 0.0001524f;  // km added to every depth
constexpr double kGradientStep = 0.001;     // km, for the vertical differences

// The stations of one pack, in single precision as they are stored.
struct PackStations {
    float xs[W], ys[W], elevation[W];
};

// The pack's lanes in single precision, as the stations and vertices are
// stored: a vertex is placed for all the lanes at once.
using FloatLanes = float __attribute__((vector_size(W * sizeof(float))));
using FloatLaneBits = std::int32_t __attribute__((vector_size(W * sizeof(float))));

inline FloatLanes lanesOf(const float (&v)[W]) {
    FloatLanes l;
    std::memcpy(&l, v, sizeof l);
    return l;
}

inline bool anyLane(FloatLaneBits m) {
    for (int k = 0; k < W; ++k)
        if (m[k] != 0) return true;
    return false;
}

// Places one vertex relative to the pack's stations: offsets confined to the
// clip limit, lengths scaled to kilometres, the depth offset added (each
// lane the single-precision arithmetic of one station).
inline void placeVertex(const ForwardPlan& plan, const PackStations& st, float xv, float zv,
                        LanePack& X, LanePack& Z, bool& clipped) {
    FloatLanes x = xv - lanesOf(st.xs);
    if (plan.clip > 0.0f) {
        const FloatLaneBits above = x > plan.clip;
        x = above ? FloatLanes{} + plan.clip : x;
        const FloatLaneBits below = x < -plan.clip;
        x = below ? FloatLanes{} - plan.clip : x;
        if (anyLane(above | below)) clipped = true;
    }
    FloatLanes z = lanesOf(st.elevation) - zv;
    if (plan.scaled) {
        x = x * plan.fx;
        z = z * plan.fz;
    }
    z = z + kDepthOffset;
    X = __builtin_convertvector(x, LanePack);
    Z = __builtin_convertvector(z, LanePack);
}

constexpr bool isGradient(EdgeComponent k) {
    return k == EdgeComponent::TotalGrad || k == EdgeComponent::XGrad ||
           k == EdgeComponent::YGrad || k == EdgeComponent::ZGrad;
}

// A vertex placed for the pack, and for the vertical differences the same
// vertex one step deeper (other components carry nothing for it).
struct NoVertex {};
template <EdgeComponent K>
struct PlacedVertex {
    Vertex<LanePack> at;
    [[no_unique_address]] std::conditional_t<isGradient(K), Vertex<LanePack>, NoVertex> below;
};

template <StrikeCase C, EdgeComponent K>
PlacedVertex<K> placedVertex(const ForwardPlan& plan, const PackStations& st, int index,
                             LanePack Y1, LanePack Y2, bool& clipped) {
    LanePack X{}, Z{};
    const auto i = static_cast<std::size_t>(index);
    placeVertex(plan, st, plan.xv[i], plan.zv[i], X, Z, clipped);
    if constexpr (isGradient(K)) {
        return {vertexAt<LanePack, C>(X, Z, Y1, Y2),
                vertexAt<LanePack, C>(X, Z + kGradientStep, Y1, Y2)};
    } else {
        return {vertexAt<LanePack, C>(X, Z, Y1, Y2), {}};
    }
}

template <StrikeCase C, bool Mag>
LanePack term(const Vertex<LanePack>& v1, const Vertex<LanePack>& v2, LanePack Y1, LanePack Y2,
              const Magnetisation& mag, EdgeField<LanePack>& field) {
    return edgeTerm<LanePack, C, Mag>(v1, v2, Y1, Y2, mag, field);
}

// The value of one edge for the component asked for.
template <StrikeCase C, EdgeComponent K>
LanePack edgeValue(const PlacedVertex<K>& v1, const PlacedVertex<K>& v2, LanePack Y1, LanePack Y2,
                   const Magnetisation& mag) {
    EdgeField<LanePack> f{};
    if constexpr (K == EdgeComponent::Gravity) {
        return term<C, false>(v1.at, v2.at, Y1, Y2, mag, f);
    } else {
        const LanePack t = term<C, true>(v1.at, v2.at, Y1, Y2, mag, f);
        if constexpr (K == EdgeComponent::Total) return t;
        if constexpr (K == EdgeComponent::X) return f.Bx;
        if constexpr (K == EdgeComponent::Y) return f.By;
        if constexpr (K == EdgeComponent::Z) return f.Bz;
        if constexpr (isGradient(K)) {
            EdgeField<LanePack> g{};
            const LanePack t2 = term<C, true>(v1.below, v2.below, Y1, Y2, mag, g);
            if constexpr (K == EdgeComponent::TotalGrad) return t - t2;
            if constexpr (K == EdgeComponent::XGrad) return f.Bx - g.Bx;
            if constexpr (K == EdgeComponent::YGrad) return f.By - g.By;
            if constexpr (K == EdgeComponent::ZGrad) return f.Bz - g.Bz;
        }
    }
}

// Sum over the closed polygon of one body: the last vertex to the first,
// then each vertex to the next; each vertex is placed once for both its edges.
template <StrikeCase C, EdgeComponent K>
LanePack bodySum(const ForwardPlan& plan, const ForwardBody& body, const PackStations& st,
                 LanePack Y1, LanePack Y2, const Magnetisation& mag, bool& clipped) {
    LanePack sum{};
    PlacedVertex<K> previous = placedVertex<C, K>(plan, st, body.last, Y1, Y2, clipped);
    for (int v = body.first; v <= body.last; ++v) {
        const PlacedVertex<K> current = placedVertex<C, K>(plan, st, v, Y1, Y2, clipped);
        const LanePack value = edgeValue<C, K>(previous, current, Y1, Y2, mag);
        sum = body.addEdges ? sum + value : sum - value;
        previous = current;
    }
    return sum;
}

// Calls run with the strike case as a constant, so that each case has its
// own short form of the arithmetic.
template <class Run>
decltype(auto) inStrikeCase(StrikeCase c, Run&& run) {
    using Case = StrikeCase;
    switch (c) {
        case Case::TwoD:
            return run(std::integral_constant<Case, Case::TwoD>{});
        case Case::Symmetric:
            return run(std::integral_constant<Case, Case::Symmetric>{});
        case Case::Asymmetric:
            return run(std::integral_constant<Case, Case::Asymmetric>{});
        case Case::Mixed:
            break;
    }
    return run(std::integral_constant<Case, Case::Mixed>{});
}

inline StrikeCase laneCase(float y1, float y2) {
    if (y1 == 0.0f && y2 == 0.0f) return StrikeCase::TwoD;
    return y1 == y2 ? StrikeCase::Symmetric : StrikeCase::Asymmetric;
}

// A short last pack repeats its last station; the copies are dropped.
inline PackStations packStations(const ForwardPlan& plan, int first, int end) {
    PackStations st;
    for (int k = 0; k < W; ++k) {
        const auto i = static_cast<std::size_t>(std::min(first + k, end - 1));
        st.xs[k] = plan.xs[i];
        st.ys[k] = plan.ys[i];
        st.elevation[k] = plan.elevation[i];
    }
    return st;
}

// The strike half-extents of a body at the pack's stations, and their case.
inline StrikeCase packExtents(const ForwardPlan& plan, const ForwardBody& body,
                              const PackStations& st, LanePack& Y1, LanePack& Y2) {
    StrikeCase c = StrikeCase::TwoD;
    for (int k = 0; k < W; ++k) {
        float y1 = 0.0f, y2 = 0.0f;
        strikeExtents(plan, body, st.ys[k], y1, y2);
        Y1[k] = y1;
        Y2[k] = y2;
        const StrikeCase lane = laneCase(y1, y2);
        c = k == 0 ? lane : (c == lane ? c : StrikeCase::Mixed);
    }
    return c;
}

template <EdgeComponent K>
bool sumPacks(const ForwardPlan& plan, int begin, int end, double* sums) {
    bool clipped = false;
    for (int first = begin; first < end; first += W) {
        const PackStations st = packStations(plan, first, end);
        LanePack S{};
        for (const ForwardBody& body : plan.bodies) {
            LanePack Y1{}, Y2{};
            const StrikeCase c = packExtents(plan, body, st, Y1, Y2);
            const Magnetisation mag{body.Mx, body.My, body.Mz, plan.Fx, plan.Fy, plan.Fz};
            LanePack bs = inStrikeCase(c, [&](auto kase) {
                return bodySum<kase.value, K>(plan, body, st, Y1, Y2, mag, clipped);
            });
            bs = select(Y1 == Y2, bs * 2.0, bs);
            S = addBodySum(plan, body, S, bs);
        }
        for (int k = 0; k < W && first + k < end; ++k)
            sums[first + k] = S[k];
    }
    return clipped;
}

// Where one pack's edge values go: station first of n in each edge's row.
struct EdgeRows {
    int first, end, n;
    double* values;
    char* clipped;
};

// The listed edges of the body at one pack of stations. An edge that starts
// where the edge before it ended takes that vertex as placed: the two edges
// at a free vertex cost three vertices, not four.
template <StrikeCase C, EdgeComponent K>
void packEdges(const ForwardPlan& plan, const ForwardBody& body, std::span<const int> edges,
               const PackStations& st, LanePack Y1, LanePack Y2, const EdgeRows& rows) {
    const Magnetisation mag{body.Mx, body.My, body.Mz, plan.Fx, plan.Fy, plan.Fz};
    int endIndex = -1;
    PlacedVertex<K> endVertex;
    bool endCut = false;
    for (std::size_t k = 0; k < edges.size(); ++k) {
        const int e = edges[k];
        const int from = e == 0 ? body.last : body.first + e - 1, to = body.first + e;
        bool startCut = false;
        PlacedVertex<K> start;
        if (from == endIndex) {
            start = endVertex;
            startCut = endCut;
        } else {
            start = placedVertex<C, K>(plan, st, from, Y1, Y2, startCut);
        }
        endCut = false;
        endVertex = placedVertex<C, K>(plan, st, to, Y1, Y2, endCut);
        endIndex = to;
        const LanePack v = edgeValue<C, K>(start, endVertex, Y1, Y2, mag);
        double* out = rows.values + k * static_cast<std::size_t>(rows.n) + rows.first;
        if (rows.first + W <= rows.end) {
            std::memcpy(out, &v, sizeof v);
        } else {
            for (int l = 0; l < rows.end - rows.first; ++l)
                out[l] = v[l];
        }
        if (startCut || endCut) rows.clipped[k] = 1;
    }
}

// The values of the listed edges of the body at stations [begin, end): edge e
// runs from the vertex before the body's e-th to its e-th (edge 0 from the
// last to the first), exactly as the body sum takes it.
template <EdgeComponent K>
void edgePacks(const ForwardPlan& plan, const ForwardBody& body, std::span<const int> edges,
               int begin, int end, int n, double* values, char* clipped) {
    for (int first = begin; first < end; first += W) {
        const PackStations st = packStations(plan, first, end);
        LanePack Y1{}, Y2{};
        const StrikeCase c = packExtents(plan, body, st, Y1, Y2);
        const EdgeRows rows{first, end, n, values, clipped};
        inStrikeCase(c, [&](auto kase) {
            packEdges<kase.value, K>(plan, body, edges, st, Y1, Y2, rows);
        });
    }
}

inline void edgeStations(const ForwardPlan& plan, const ForwardBody& body,
                         std::span<const int> edges, int begin, int end, int n, double* values,
                         char* clipped) {
    switch (plan.component) {
        case EdgeComponent::Gravity:
            return edgePacks<EdgeComponent::Gravity>(plan, body, edges, begin, end, n, values, clipped);
        case EdgeComponent::Total:
            return edgePacks<EdgeComponent::Total>(plan, body, edges, begin, end, n, values, clipped);
        case EdgeComponent::TotalGrad:
            return edgePacks<EdgeComponent::TotalGrad>(plan, body, edges, begin, end, n, values, clipped);
        case EdgeComponent::X:
            return edgePacks<EdgeComponent::X>(plan, body, edges, begin, end, n, values, clipped);
        case EdgeComponent::Y:
            return edgePacks<EdgeComponent::Y>(plan, body, edges, begin, end, n, values, clipped);
        case EdgeComponent::Z:
            return edgePacks<EdgeComponent::Z>(plan, body, edges, begin, end, n, values, clipped);
        case EdgeComponent::XGrad:
            return edgePacks<EdgeComponent::XGrad>(plan, body, edges, begin, end, n, values, clipped);
        case EdgeComponent::YGrad:
            return edgePacks<EdgeComponent::YGrad>(plan, body, edges, begin, end, n, values, clipped);
        case EdgeComponent::ZGrad:
            return edgePacks<EdgeComponent::ZGrad>(plan, body, edges, begin, end, n, values, clipped);
    }
}

inline bool sumStations(const ForwardPlan& plan, int begin, int end, double* sums) {
    switch (plan.component) {
        case EdgeComponent::Gravity:
            return sumPacks<EdgeComponent::Gravity>(plan, begin, end, sums);
        case EdgeComponent::Total:
            return sumPacks<EdgeComponent::Total>(plan, begin, end, sums);
        case EdgeComponent::TotalGrad:
            return sumPacks<EdgeComponent::TotalGrad>(plan, begin, end, sums);
        case EdgeComponent::X:
            return sumPacks<EdgeComponent::X>(plan, begin, end, sums);
        case EdgeComponent::Y:
            return sumPacks<EdgeComponent::Y>(plan, begin, end, sums);
        case EdgeComponent::Z:
            return sumPacks<EdgeComponent::Z>(plan, begin, end, sums);
        case EdgeComponent::XGrad:
            return sumPacks<EdgeComponent::XGrad>(plan, begin, end, sums);
        case EdgeComponent::YGrad:
            return sumPacks<EdgeComponent::YGrad>(plan, begin, end, sums);
        case EdgeComponent::ZGrad:
            return sumPacks<EdgeComponent::ZGrad>(plan, begin, end, sums);
    }
    return false;
}

}  // namespace
}  // namespace calc::lanes

#pragma GCC diagnostic pop
