#include "model/body_finish.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

#include "model/crossing_tests.h"
#include "model/session_state.h"

namespace model {

namespace {

template <typename T, typename S>
T entry(std::span<const S> values, int i) {
    return i >= 1 && static_cast<std::size_t>(i) <= values.size()
               ? static_cast<T>(values[static_cast<std::size_t>(i - 1)])
               : T{};
}

// Gives every array its new length: fresh arrays for an empty model, the kept
// entries otherwise.
bool growArrays(PolygonModel& g, int nb, int nvNew) {
    const bool fresh = nb <= 0;
    const int nbNew = fresh ? 1 : nb + 1;
    auto per = [&](auto& a, int n) { return fresh ? a.allocate(n) : a.resizeKeeping(n); };
    return per(g.DENS, nbNew) && per(g.REMS, nbNew) && per(g.DIPS, nbNew) && per(g.DECS, nbNew) &&
           per(g.XTENT1, nbNew) && per(g.XTENT2, nbNew) && per(g.AREAS, nbNew) &&
           per(g.XPIVOT, nbNew) && per(g.ZPIVOT, nbNew) && per(g.ILEVL, nbNew) &&
           per(g.INCLBD, nbNew) && per(g.IV1, nbNew) && per(g.IV2, nbNew) && per(g.LAYER, nbNew) &&
           per(g.LVFIX, nbNew + 1) && per(g.LHIDE, nbNew) && per(g.XVRT, nvNew) &&
           per(g.ZVRT, nvNew) && per(g.IPOINT, nvNew) && per(g.LXFIX, nvNew) && per(g.LZFIX, nvNew);
}

}  // namespace

bool BODYFINISH(PolygonModel& m, std::span<const float> x, std::span<const float> z, int n,
                std::span<const bool> freeX, std::span<const bool> freeZ, float property,
                std::span<const int> leaders, bool isLayer) {
    const int e = isLayer ? 4 : 0;
    const int nb = m.NBOD;
    const int old = nb <= 0 ? 0 : m.vertexCount();
    n = std::max(n, 0);
    try {
        // The model is grown in a copy and replaced only when every array could
        // be had, so it is never left half-grown.
        PolygonModel g = m;
        if (!growArrays(g, nb, old + n + e)) return false;
        if (nb <= 0) g.LVFIX(0) = false;
        const int b = std::max(nb, 0) + 1;
        g.DENS(b) = property;
        g.REMS(b) = g.DIPS(b) = g.DECS(b) = 0.0f;
        g.XTENT1(b) = g.XTENT2(b) = g.AREAS(b) = 0.0f;
        g.XPIVOT(b) = g.ZPIVOT(b) = kNotSet;
        g.ILEVL(b) = g.INCLBD(b) = 0;
        g.IV1(b) = old + 1;
        g.IV2(b) = old + n + e;
        g.LAYER(b) = isLayer;
        g.LVFIX(b) = false;
        g.LHIDE(b) = false;
        g.NBOD = b;
        for (int i = 1; i <= n; ++i) {
            const int v = old + i;
            g.XVRT(v) = entry<float>(x, i);
            g.ZVRT(v) = entry<float>(z, i);
            g.LXFIX(v) = entry<bool>(freeX, i);
            g.LZFIX(v) = entry<bool>(freeZ, i);
            g.IPOINT(v) = entry<int>(leaders, i);
        }
        if (isLayer) {
            const float zLast = entry<float>(z, n), zFirst = entry<float>(z, 1);
            const float cx[4] = {kFarAway, kFarAway, -kFarAway, -kFarAway};
            const float cz[4] = {zLast, -kFarAway, -kFarAway, zFirst};
            for (int k = 0; k < 4; ++k) {
                const int v = old + n + 1 + k;
                g.XVRT(v) = cx[k];
                g.ZVRT(v) = cz[k];
                g.IPOINT(v) = v;
                g.LXFIX(v) = false;
                g.LZFIX(v) = false;
            }
        }
        m = std::move(g);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool NOTUSED(PolygonModel& m, std::span<const float> x, std::span<const float> z, int n,
             std::span<const bool> freeX, std::span<const bool> freeZ, float property,
             std::span<const int> leaders) {
    if (n <= 0) return true;
    return BODYFINISH(m, x, z, n, freeX, freeZ, property, leaders, false);
}

}  // namespace model

namespace model {

namespace {

bool newEdgeCrosses(const PolygonModel& m, const NewBodyBuffer& buf) {
    const int n = buf.n;
    const auto q = static_cast<std::size_t>(n - 2), p = static_cast<std::size_t>(n - 1);
    const Segment xs{buf.X[q], buf.X[p]}, zs{buf.Z[q], buf.Z[p]};
    return LCROSSBODYXY(m, xs, zs, 0, false) || LCROSSSELF(buf.X, buf.Z, n, false);
}

}  // namespace

void SHORTENEDGE(const PolygonModel& m, bool& status) {
    auto& buf = newBodyBuffer();
    const int n = buf.n;
    if (n < 2 || n > kNewBodyCapacity) {
        status = false;
        return;
    }
    float& px = buf.X[static_cast<std::size_t>(n - 1)];
    float& pz = buf.Z[static_cast<std::size_t>(n - 1)];
    const float qx = buf.X[static_cast<std::size_t>(n - 2)];
    const float qz = buf.Z[static_cast<std::size_t>(n - 2)];
    float dx = px - qx, dz = pz - qz, s = -1.0f;
    // Halving an infinite step never ends; such a point cannot be repaired.
    while ((std::abs(dx) > 1.0E-5f || std::abs(dz) > 1.0E-5f) && std::isfinite(dx) &&
           std::isfinite(dz)) {
        dx *= 0.5f;
        dz *= 0.5f;
        px += s * dx;
        pz += s * dz;
        s = newEdgeCrosses(m, buf) ? -1.0f : 1.0f;
    }
    px -= dx;
    pz -= dz;
    status = newEdgeCrosses(m, buf);
}

}  // namespace model
