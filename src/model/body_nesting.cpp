#include "model/body_nesting.h"

#include <algorithm>
#include <span>
#include <vector>

#include "model/profile_line.h"
#include "util/array_routines.h"
#include "util/plane_geometry.h"

namespace model {

namespace {

// Winding number of (x, z) about body b's polygon.
int insideBody(float x, float z, const PolygonModel& m, int b) {
    const int first = m.IV1(b);
    const int count = m.IV2(b) - first + 1;
    if (count < 1 || !m.XVRT.has(first)) return 0;
    const auto at = static_cast<std::size_t>(first - 1);
    return util::INSIDE(x, z, std::span<const float>(m.XVRT.values()).subspan(at),
                        std::span<const float>(m.ZVRT.values()).subspan(at), count);
}

bool sameVertexIn(const PolygonModel& m, int t, int j) {
    for (int v = m.IV1(j); v <= m.IV2(j); ++v) {
        if (m.XVRT(v) == m.XVRT(t) && m.ZVRT(v) == m.ZVRT(t)) return true;
    }
    return false;
}

// Body j encloses body ib: decided at the first vertex of ib that is not also
// a vertex of j, or by every vertex being shared.
bool encloses(const PolygonModel& m, int j, int ib) {
    int t = m.IV1(ib);
    while (t <= m.IV2(ib) && sameVertexIn(m, t, j))
        ++t;
    if (t > m.IV2(ib)) return true;
    return insideBody(m.XVRT(t), m.ZVRT(t), m, j) == 1;
}

}  // namespace

int ICRBOD(float x, float z, const PolygonModel& m) {
    int lmax = 0;
    for (int b = 1; b <= m.NBOD; ++b)
        lmax = std::max(lmax, m.ILEVL(b));
    for (int level = lmax; level >= 1; --level) {
        for (int b = 1; b <= m.NBOD; ++b) {
            if (m.ILEVL(b) == level && insideBody(x, z, m, b) != 0) return b;
        }
    }
    if (m.NTOPO >= 1 && m.XTOPO.size() >= m.NTOPO + 4 && m.ZTOPO.size() >= m.NTOPO + 4) {
        return util::INSIDE(x, z, m.XTOPO.values(), m.ZTOPO.values(), m.NTOPO + 4) != 0 ? 0 : -1;
    }
    return -1;
}

void BOLEVL(PolygonModel& m, bool& changed) {
    changed = false;
    const int nb = m.NBOD;
    std::vector<std::vector<int>> enclosing(static_cast<std::size_t>(std::max(nb, 0)) + 1);
    for (int ib = 1; ib <= nb; ++ib) {
        m.ILEVL(ib) = 1;
        for (int j = 1; j <= nb; ++j) {
            if (j != ib && encloses(m, j, ib)) {
                m.ILEVL(ib) += 1;
                enclosing[static_cast<std::size_t>(ib)].push_back(j);
            }
        }
    }
    for (int ib = 1; ib <= nb; ++ib) {
        std::vector<int> list{ib};
        const auto& e = enclosing[static_cast<std::size_t>(ib)];
        list.insert(list.end(), e.begin(), e.end());
        // Stable, so ib stays ahead of enclosing bodies of its own level.
        std::stable_sort(list.begin(), list.end(),
                         [&](int a, int b) { return m.ILEVL(a) < m.ILEVL(b); });
        const auto pos = std::find(list.begin(), list.end(), ib);
        const int parent = pos == list.begin() ? 0 : *(pos - 1);
        if (parent != m.INCLBD(ib)) changed = true;
        m.INCLBD(ib) = parent;
    }
}

void FINDIB(int iv, int& iloc, int& ib, const PolygonModel& m) {
    ib = 0;
    iloc = 0;
    for (int b = 1; b <= m.NBOD; ++b) {
        if (m.IV1(b) <= iv && iv <= m.IV2(b)) {
            ib = b;
            iloc = iv - m.IV1(b) + 1;
            return;
        }
    }
}

void CNRDEF(int& iprev, int iv, int& inext, int& ib, const PolygonModel& m) {
    if (ib < 1 || ib > m.NBOD || iv < m.IV1(ib) || iv > m.IV2(ib)) {
        int iloc = 0;
        FINDIB(iv, iloc, ib, m);
    }
    if (ib == 0) {  // no body holds iv: no neighbours
        iprev = inext = 0;
        return;
    }
    if (iv == m.IV1(ib)) {
        iprev = m.IV2(ib);
        inext = iv + 1;
    } else if (iv == m.IV2(ib)) {
        iprev = iv - 1;
        inext = m.IV1(ib);
    } else {
        iprev = iv - 1;
        inext = iv + 1;
    }
}

ProfileExtents NAREA(const ProfileLine& p) {
    ProfileExtents e;
    const auto& m = p.MODEL;
    if (p.NSTA >= 1 && p.STAT.has(p.NSTA)) {
        e.xmin = p.STAT(1);
        e.xmax = p.STAT(p.NSTA);
    }
    if (m.ZTOPO.has(1)) e.zmin = e.zmax = m.ZTOPO(1);
    const int ntopo = std::min(p.NSTA, static_cast<int>(m.ZTOPO.size()));
    util::FINDNX(m.ZTOPO.values(), ntopo, e.zmin, e.zmax);
    util::FINDNX(p.EAST.values(), std::min(p.NSTA, static_cast<int>(p.EAST.size())), e.zmin,
                 e.zmax);
    for (int b = 1; b <= m.NBOD; ++b) {
        const int last = m.LAYER(b) ? m.IV2(b) - 4 : m.IV2(b);
        const int count = last - m.IV1(b) + 1;
        if (count < 1 || !m.ZVRT.has(m.IV1(b))) continue;
        util::FINDNX(
            std::span<const float>(m.ZVRT.values()).subspan(static_cast<std::size_t>(m.IV1(b) - 1)),
            count, e.zmin, e.zmax);
    }
    return e;
}

}  // namespace model
