#include "model/vertex_locks.h"

#include <cmath>

#include "model/model_check.h"
#include "model/profile_line.h"
#include "model/session_state.h"

namespace model {

namespace {

bool follows(const PolygonModel& m, int v, int leader) {
    return v != leader && m.IPOINT(v) == leader;
}

bool inBody(const PolygonModel& m, int v, int ib) {
    return m.IV1(ib) <= v && v <= m.IV2(ib);
}

void shift(PolygonModel& m, int v, float dx, float dz) {
    m.XVRT(v) += dx;
    m.ZVRT(v) += dz;
}

// Turns vertex v by theta about (px, pz), keeping its distance.
void turn(PolygonModel& m, int v, double px, double pz, double theta) {
    const double ax = m.XVRT(v) - px, az = m.ZVRT(v) - pz;
    const double r = std::sqrt(std::abs(ax * ax + az * az) + 1.0E-30);
    const double phi = std::atan2(az, ax) + theta;
    m.XVRT(v) = static_cast<float>(px + r * std::cos(phi));
    m.ZVRT(v) = static_cast<float>(pz + r * std::sin(phi));
}

}  // namespace

bool LOCKSPRESENT(const PolygonModel& m, int iv) {
    const int nv = m.vertexCount();
    for (int v = 1; v <= nv; ++v) {
        if (follows(m, v, iv)) return true;
    }
    return false;
}

bool LISLEADER(const ProfileLine& p, int iv) {
    return LOCKSPRESENT(p.MODEL, iv);
}

bool LOCKSFROMOUTSIDE(const PolygonModel& m, int ib) {
    if (m.NBOD <= 0 || ib < 1 || ib > m.NBOD) return false;
    for (int j = 1; j <= m.NBOD; ++j) {
        if (j == ib) continue;
        for (int v = m.IV1(j); v <= m.IV2(j); ++v) {
            if (m.IPOINT(v) != v && inBody(m, m.IPOINT(v), ib)) return true;
        }
    }
    return false;
}

bool LOCKSTOOUTSIDE(const PolygonModel& m, int ib) {
    if (m.NBOD <= 0 || ib < 1 || ib > m.NBOD) return false;
    for (int v = m.IV1(ib); v <= m.IV2(ib); ++v) {
        if (!inBody(m, m.IPOINT(v), ib)) return true;
    }
    return false;
}

void MOVELOCKS(PolygonModel& m, int iv, float dx, float dz) {
    shift(m, iv, dx, dz);
    const int nv = m.vertexCount();
    for (int v = 1; v <= nv; ++v) {
        if (follows(m, v, iv)) shift(m, v, dx, dz);
    }
    // Every vertex is tested, so the report holds the last finding.
    bool bad = LXCHK(iv, 0, m);
    for (int v = 1; v <= nv; ++v)
        bad = LXCHK(v, 0, m) || bad;
    sessionState().BadModel = bad;
}

void MOVELOCKSONLY(PolygonModel& m, int iv, float dx, float dz) {
    bool& bad = sessionState().BadModel;
    bad = false;
    const int nv = m.vertexCount();
    for (int v = 1; v <= nv; ++v) {
        if (follows(m, v, iv)) shift(m, v, dx, dz);
    }
    for (int v = 1; v <= nv && !bad; ++v)
        bad = LXCHK(v, 0, m);
}

void MOVEBODY(PolygonModel& m, int ib, float dx, float dz) {
    for (int v = m.IV1(ib); v <= m.IV2(ib); ++v)
        shift(m, v, dx, dz);
    bool& bad = sessionState().BadModel;
    bad = false;
    const int nv = m.vertexCount();
    for (int k = m.IV1(ib); k <= m.IV2(ib); ++k) {
        for (int v = 1; v <= nv; ++v) {
            if (!inBody(m, v, ib) && follows(m, v, k)) shift(m, v, dx, dz);
        }
    }
    for (int k = m.IV1(ib); k <= m.IV2(ib) && !bad; ++k) {
        for (int v = 1; v <= nv && !bad; ++v) {
            if (!inBody(m, v, ib) && follows(m, v, k)) bad = LXCHK(v, 0, m);
        }
        if (!bad) bad = LXCHK(k, 0, m);
    }
}

void ROTATEBODY(PolygonModel& m, int ib, int iv, float dx, float dz) {
    const double px = m.XPIVOT(ib), pz = m.ZPIVOT(ib);
    const double ox = m.XVRT(iv) - px, oz = m.ZVRT(iv) - pz;
    if (std::isnan(ox) || std::isnan(oz)) return;
    const float targetX = m.XVRT(iv) + dx, targetZ = m.ZVRT(iv) + dz;
    const double theta = std::atan2(oz + dz, ox + dx) - std::atan2(oz, ox);
    auto& s = sessionState();
    s.BadModel = false;
    if (std::abs(theta) > 1.0E-10) {
        const int nv = m.vertexCount();
        for (int i = m.IV1(ib); i <= m.IV2(ib); ++i) {
            turn(m, i, px, pz, theta);
            if (!s.DragLocksFromOutside) continue;
            for (int v = 1; v <= nv; ++v) {
                if (!inBody(m, v, ib) && follows(m, v, i)) turn(m, v, px, pz, theta);
            }
        }
        bool bad = false;
        for (int i = m.IV1(ib); i <= m.IV2(ib); ++i)
            bad = LXCHK(i, 0, m) || bad;
        s.BadModel = bad;
    }
    if (s.PivotMovesWhileRotating) {
        // The body, with the followers of all its vertices, moves once; the
        // grabbed vertex ends on the target and the pivot travels along.
        const float ex = targetX - m.XVRT(iv), ez = targetZ - m.ZVRT(iv);
        MOVEBODY(m, ib, ex, ez);
        m.XPIVOT(ib) += ex;
        m.ZPIVOT(ib) += ez;
    }
    if (m.LAYER(ib) && m.IV2(ib) - 4 >= m.IV1(ib)) {
        m.ZVRT(m.IV2(ib) - 3) = m.ZVRT(m.IV2(ib) - 4);
        m.ZVRT(m.IV2(ib)) = m.ZVRT(m.IV1(ib));
    }
}

}  // namespace model
