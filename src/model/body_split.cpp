#include "model/body_split.h"

#include <new>
#include <utility>

#include "model/body_area.h"
#include "model/body_nesting.h"
#include "model/crossing_tests.h"
#include "model/model_services.h"
#include "util/array_routines.h"
#include "util/plane_geometry.h"

namespace model {

namespace {

// The message of the first rule the cut breaks, or nullptr for a legal cut.
const char* refusal(const PolygonModel& m, int ib, int iv1, int iv2) {
    if (iv1 == iv2) return "The two endpoints must be distinct vertices.";
    const bool closingPair =
        (iv1 == m.IV1(ib) && iv2 == m.IV2(ib)) || (iv2 == m.IV1(ib) && iv1 == m.IV2(ib));
    if (std::abs(iv1 - iv2) == 1 || closingPair) {
        return "The endpoints cannot be adjacent vertices.";
    }
    if (LCRSBD(iv1, iv2, ib, true, m)) {
        return "The edge between these endpoints must not cross any other edges.";
    }
    const float mx = (m.XVRT(iv1) + m.XVRT(iv2)) * 0.5f;
    const float mz = (m.ZVRT(iv1) + m.ZVRT(iv2)) * 0.5f;
    const auto at = static_cast<std::size_t>(m.IV1(ib) - 1);
    const int w = util::INSIDE(mx, mz, std::span<const float>(m.XVRT.values()).subspan(at),
                               std::span<const float>(m.ZVRT.values()).subspan(at),
                               m.IV2(ib) - m.IV1(ib) + 1);
    if (w < 1) return "The edge between these endpoints must lie inside the current body.";
    return nullptr;
}

template <typename A>
bool growBy(A& a, std::ptrdiff_t n) {
    return a.resizeKeeping(n);
}

bool growArrays(PolygonModel& g, int nv, int nb) {
    return growBy(g.XVRT, nv + 2) && growBy(g.ZVRT, nv + 2) && growBy(g.IPOINT, nv + 2) &&
           growBy(g.LXFIX, nv + 2) && growBy(g.LZFIX, nv + 2) && growBy(g.DENS, nb + 1) &&
           growBy(g.REMS, nb + 1) && growBy(g.DIPS, nb + 1) && growBy(g.DECS, nb + 1) &&
           growBy(g.XTENT1, nb + 1) && growBy(g.XTENT2, nb + 1) && growBy(g.AREAS, nb + 1) &&
           growBy(g.XPIVOT, nb + 1) && growBy(g.ZPIVOT, nb + 1) && growBy(g.ILEVL, nb + 1) &&
           growBy(g.INCLBD, nb + 1) && growBy(g.IV1, nb + 1) && growBy(g.IV2, nb + 1) &&
           growBy(g.LAYER, nb + 1) && growBy(g.LVFIX, nb + 2) && growBy(g.LHIDE, nb + 1);
}

// Entries from..n of the array move down by k places.
template <typename T, std::ptrdiff_t L>
void shiftDown(Array<T, L>& a, int from, int n, int k) {
    std::span<T> tail(a.values().data() + (from - L), static_cast<std::size_t>(n - from + 1));
    util::shiftArray<T>(tail, n - from + 1, -k, T{});
}

float bodyArea(const PolygonModel& m, int b) {
    const auto at = static_cast<std::size_t>(m.IV1(b) - 1);
    return PGAREA(std::span<const float>(m.XVRT.values()).subspan(at),
                  std::span<const float>(m.ZVRT.values()).subspan(at), m.IV2(b) - m.IV1(b) + 1);
}

}  // namespace

void SPLITBODY(PolygonModel& m, int ib, int iv1, int iv2, int& istat) {
    istat = 0;
    if (const char* why = refusal(m, ib, iv1, iv2)) {
        showMessage(why);
        istat = -1;
        return;
    }
    const int a = std::min(iv1, iv2), b = std::max(iv1, iv2), k = b - a - 1;
    const int nv = m.vertexCount(), nb = m.NBOD;
    try {
        // The split is made in a copy so that a failure leaves the model as it was.
        PolygonModel g = m;
        if (!growArrays(g, nv, nb)) {
            showMessage("Not enough memory to split the body.");
            istat = -1;
            return;
        }
        shiftDown(g.XVRT, a + 1, nv, k);
        shiftDown(g.ZVRT, a + 1, nv, k);
        shiftDown(g.IPOINT, a + 1, nv, k);
        shiftDown(g.LXFIX, a + 1, nv, k);
        shiftDown(g.LZFIX, a + 1, nv, k);
        g.IV2(ib) -= k;
        for (int j = ib + 1; j <= nb; ++j) {
            g.IV1(j) -= k;
            g.IV2(j) -= k;
        }
        const int nbNew = nb + 1;
        g.NBOD = nbNew;
        g.IV1(nbNew) = g.IV2(nb) + 1;
        g.IV2(nbNew) = g.IV1(nbNew) + b - a;
        const int first = g.IV1(nbNew);
        for (int v = 1; v <= g.IV2(nb); ++v) {
            int& r = g.IPOINT(v);
            if (r >= b) {
                r -= k;
            } else if (r > a) {
                r = r - a + first;
            }
        }
        for (int i = 0; i <= b - a; ++i) {
            const int to = first + i, from = a + i;
            g.XVRT(to) = m.XVRT(from);
            g.ZVRT(to) = m.ZVRT(from);
            g.LXFIX(to) = m.LXFIX(from);
            g.LZFIX(to) = m.LZFIX(from);
            const int r = m.IPOINT(from);
            int lead = r;
            if (r > b) {
                lead = r - k;
            } else if (r == a) {
                lead = first;
            } else if (r == b) {
                lead = g.IV2(nbNew);
            } else if (r > a) {
                lead = r - a + first;
            }
            g.IPOINT(to) = lead;
        }
        g.DENS(nbNew) = g.DENS(ib);
        g.REMS(nbNew) = g.REMS(ib);
        g.DIPS(nbNew) = g.DIPS(ib);
        g.DECS(nbNew) = g.DECS(ib);
        g.XTENT1(nbNew) = g.XTENT1(ib);
        g.XTENT2(nbNew) = g.XTENT2(ib);
        g.LVFIX(nbNew) = g.LVFIX(ib);
        g.XPIVOT(nbNew) = g.ZPIVOT(nbNew) = kNotSet;
        g.LAYER(nbNew) = false;
        g.LHIDE(nbNew) = false;
        g.ILEVL(nbNew) = g.INCLBD(nbNew) = 0;
        // Both halves keep the old orientation; their areas say so.
        g.AREAS(ib) = bodyArea(g, ib);
        g.AREAS(nbNew) = bodyArea(g, nbNew);
        bool changed = false;
        BOLEVL(g, changed);
        m = std::move(g);
    } catch (const std::bad_alloc&) {
        showMessage("Not enough memory to split the body.");
        istat = -1;
    }
}

void COMPLETELAYER(std::span<float> x, std::span<float> z, int n) {
    if (n < 5 || static_cast<std::size_t>(n) > x.size() || static_cast<std::size_t>(n) > z.size()) {
        return;
    }
    auto X = [&](int i) -> float& { return x[static_cast<std::size_t>(i - 1)]; };
    auto Z = [&](int i) -> float& { return z[static_cast<std::size_t>(i - 1)]; };
    X(n - 3) = X(n - 2) = kFarAway;
    X(n - 1) = X(n) = -kFarAway;
    Z(n - 2) = Z(n - 1) = -kFarAway;
    Z(n - 3) = Z(n - 4);
    Z(n) = Z(1);
}

}  // namespace model
