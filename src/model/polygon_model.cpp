#include "model/polygon_model.h"

#include <algorithm>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/model_services.h"

namespace model {

namespace {

template <typename A>
void copyRange(A& dest, const A& src, std::ptrdiff_t from, std::ptrdiff_t to) {
    for (std::ptrdiff_t i = from; i <= to; ++i) {
        if (dest.has(i) && src.has(i)) dest(i) = src(i);
    }
}

// Body and vertex arrays in the order they are released.
template <typename F>
void forEachBodyAndVertexArray(PolygonModel& m, F&& f) {
    f(m.XVRT), f(m.ZVRT), f(m.IV1), f(m.IV2), f(m.IPOINT), f(m.LAYER), f(m.LVFIX), f(m.LXFIX),
        f(m.LZFIX), f(m.DENS), f(m.REMS), f(m.DIPS), f(m.DECS), f(m.XTENT1), f(m.XTENT2),
        f(m.AREAS), f(m.ILEVL), f(m.INCLBD), f(m.LHIDE), f(m.XPIVOT), f(m.ZPIVOT);
}

void presetClosingPoints(PolygonModel& m) {
    const int n = std::max(m.NTOPO, 0);
    m.XTOPO(n + 1) = kFarAway;
    m.XTOPO(n + 2) = kFarAway;
    m.XTOPO(n + 3) = -kFarAway;
    m.XTOPO(n + 4) = -kFarAway;
    m.ZTOPO(n + 2) = -kFarAway;
    m.ZTOPO(n + 3) = -kFarAway;
}

void leaveEmpty(PolygonModel& m) {
    DEALLOCPG(m);
    m.NBOD = 0;
}

}  // namespace

int PolygonModel::vertexCount() const {
    if (NBOD < 1 || !IV2.has(NBOD)) return 0;
    return std::max(IV2(NBOD), 0);
}

void closeTopography(PolygonModel& m) {
    const int n = std::max(m.NTOPO, 0);
    if (m.XTOPO.size() < n + 4 || m.ZTOPO.size() < n + 4) return;
    presetClosingPoints(m);
    m.ZTOPO(n + 1) = n >= 1 ? m.ZTOPO(n) : 0.0f;
    m.ZTOPO(n + 4) = n >= 1 ? m.ZTOPO(1) : 0.0f;
}

bool ALLOCPG(PolygonModel& m, int nv, int nb) {
    nv = std::max(nv, 0);
    nb = std::max(nb, 0);
    const int ntopo = std::max(m.NTOPO, 0) + 4;
    const bool ok = m.XVRT.allocate(nv) && m.ZVRT.allocate(nv) && m.IV1.allocate(nb) &&
                    m.IV2.allocate(nb) && m.IPOINT.allocate(nv) && m.LAYER.allocate(nb) &&
                    m.LVFIX.allocate(nb + 1) && m.LXFIX.allocate(nv) && m.LZFIX.allocate(nv) &&
                    m.XTOPO.resizeKeeping(ntopo) && m.DENS.allocate(nb) && m.REMS.allocate(nb) &&
                    m.DIPS.allocate(nb) && m.DECS.allocate(nb) && m.ZTOPO.resizeKeeping(ntopo) &&
                    m.XTENT1.allocate(nb) && m.XTENT2.allocate(nb) && m.AREAS.allocate(nb) &&
                    m.ILEVL.allocate(nb) && m.INCLBD.allocate(nb) && m.LHIDE.allocate(nb) &&
                    m.XPIVOT.allocate(nb) && m.ZPIVOT.allocate(nb);
    if (!ok) {
        leaveEmpty(m);
        return false;
    }
    // Both topography arrays now have NTOPO + 4 entries (a failed resize of
    // the second one would have ended above).
    if (m.XTOPO.size() == ntopo && m.ZTOPO.size() == ntopo) presetClosingPoints(m);
    for (int b = 1; b <= nb; ++b) {
        m.XPIVOT(b) = kNotSet;
        m.ZPIVOT(b) = kNotSet;
        m.LHIDE(b) = false;
    }
    return true;
}

void DEALLOCPG(PolygonModel& m) {
    forEachBodyAndVertexArray(m, [](auto& a) { a.release(); });
}

void COPYPG(PolygonModel& dest, const PolygonModel& src) {
    if (&dest == &src) return;  // releasing dest would release the source
    const int ntopo = dest.NTOPO;
    const auto reserved72 = dest.reserved72;
    const auto reserved112 = dest.reserved112;
    static_cast<ModelHeader&>(dest) = src;
    dest.NTOPO = ntopo;
    dest.reserved72 = reserved72;
    dest.reserved112 = reserved112;
    dest.trailingWord = src.trailingWord;
    if (src.NBOD <= 0) return;

    const int nb = src.NBOD;
    const int nv = src.vertexCount();
    DEALLOCPG(dest);
    if (!ALLOCPG(dest, nv, nb)) return;  // left empty

    copyRange(dest.IV1, src.IV1, 1, nb);
    copyRange(dest.IV2, src.IV2, 1, nb);
    copyRange(dest.ILEVL, src.ILEVL, 1, nb);
    copyRange(dest.INCLBD, src.INCLBD, 1, nb);
    copyRange(dest.IPOINT, src.IPOINT, 1, nv);
    copyRange(dest.XVRT, src.XVRT, 1, nv);
    copyRange(dest.ZVRT, src.ZVRT, 1, nv);
    copyRange(dest.LXFIX, src.LXFIX, 1, nv);
    copyRange(dest.LZFIX, src.LZFIX, 1, nv);
    copyRange(dest.LVFIX, src.LVFIX, 0, nb);
    copyRange(dest.LAYER, src.LAYER, 1, nb);
    copyRange(dest.LHIDE, src.LHIDE, 1, nb);
    copyRange(dest.DENS, src.DENS, 1, nb);
    copyRange(dest.REMS, src.REMS, 1, nb);
    copyRange(dest.DIPS, src.DIPS, 1, nb);
    copyRange(dest.DECS, src.DECS, 1, nb);
    copyRange(dest.XTENT1, src.XTENT1, 1, nb);
    copyRange(dest.XTENT2, src.XTENT2, 1, nb);
    copyRange(dest.AREAS, src.AREAS, 1, nb);
    copyRange(dest.XPIVOT, src.XPIVOT, 1, nb);
    copyRange(dest.ZPIVOT, src.ZPIVOT, 1, nb);
}

namespace {

// One vertex array rebuilt with the head and tail of the old list around the
// new run of body ib.
template <typename A>
bool respliceVertexArray(A& a, int head, int oldEnd, int oldTotal, int newRunEnd, int newTotal) {
    if (!allocationPermitted()) return false;
    auto& old = a.values();
    using T = typename std::decay_t<decltype(old)>::value_type;
    std::vector<T> fresh;
    try {
        fresh.assign(static_cast<std::size_t>(std::max(newTotal, 0)), T{});
    } catch (const std::bad_alloc&) {
        return false;
    }
    auto at = [&](int i) { return a.has(i) ? a(i) : T{}; };
    for (int i = 1; i <= head && i <= newTotal; ++i)
        fresh[static_cast<std::size_t>(i - 1)] = at(i);
    int to = newRunEnd + 1;
    for (int i = oldEnd + 1; i <= oldTotal && to <= newTotal; ++i, ++to) {
        fresh[static_cast<std::size_t>(to - 1)] = at(i);
    }
    a.adopt(std::move(fresh));
    return true;
}

}  // namespace

bool REALLOCPG(PolygonModel& m, int ib, int oldEnd, int oldTotal) {
    const int head = m.IV1(ib) - 1;
    const int newRunEnd = m.IV2(ib);
    const int newTotal = m.IV2(m.NBOD);
    bool ok = true;
    auto one = [&](auto& a) {
        ok = ok && respliceVertexArray(a, head, oldEnd, oldTotal, newRunEnd, newTotal);
    };
    one(m.XVRT), one(m.ZVRT), one(m.IPOINT), one(m.LXFIX), one(m.LZFIX);
    if (!ok) leaveEmpty(m);
    return ok;
}

void POLYGON_SIZE(int n, PolygonModel& m) {
    const int keep = std::min(std::max(n, 0), std::max(m.NVCAP, 0));
    bool ok = true;
    auto one = [&](auto& a) {
        if (!ok) return;
        if (a.size() > keep && !a.resizeKeeping(keep)) ok = false;
        if (ok && !a.resizeKeeping(n)) ok = false;
    };
    one(m.XVRT), one(m.ZVRT), one(m.IPOINT), one(m.LXFIX), one(m.LZFIX);
    if (!ok) showMessage("Allocation error in PolygonSize");
}

}  // namespace model
