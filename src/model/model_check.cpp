#include "model/model_check.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>

#include "model/body_nesting.h"
#include "model/crossing_tests.h"
#include "model/model_services.h"
#include "util/plane_geometry.h"
#include "util/shared_work.h"

namespace model {

namespace {

int owningBody(int iv, const PolygonModel& m) {
    for (int b = 1; b <= m.NBOD; ++b) {
        if (m.IV1(b) <= iv && iv <= m.IV2(b)) return b;
    }
    return 0;
}

bool crossesTopography(int iv, int v, const PolygonModel& m) {
    const Segment xs{m.XVRT(iv), m.XVRT(v)}, zs{m.ZVRT(iv), m.ZVRT(v)};
    for (int i = 1; i <= m.NTOPO - 1; ++i) {
        if (!m.XTOPO.has(i + 1) || !m.ZTOPO.has(i + 1)) break;
        const Segment xt{m.XTOPO(i), m.XTOPO(i + 1)}, zt{m.ZTOPO(i), m.ZTOPO(i + 1)};
        if (LCROSS(xs, zs, xt, zt)) {
            auto& r = crossingReport();
            r.vertex = iv;
            r.otherVertex = v;
            r.body = 0;
            r.edgeX1 = xt[0];
            r.edgeZ1 = zt[0];
            r.edgeX2 = xt[1];
            r.edgeZ2 = zt[1];
            r.reason = 1;
            return true;
        }
    }
    return false;
}

int windingIn(const PolygonModel& m, int vertex, int body) {
    const int first = m.IV1(body);
    const int count = m.IV2(body) - first + 1;
    if (count < 1) return 0;
    const auto at = static_cast<std::size_t>(first - 1);
    return util::INSIDE(m.XVRT(vertex), m.ZVRT(vertex),
                        std::span<const float>(m.XVRT.values()).subspan(at),
                        std::span<const float>(m.ZVRT.values()).subspan(at), count);
}

// Body ib has vertices inside body j and others outside it.
bool straddles(const PolygonModel& m, int ib, int j) {
    // None of ib's vertices inside j's box: none inside j (the common case,
    // decided without the winding's arccosines).
    const util::PolygonBox box = bodyBox(m, j);
    bool near = false;
    for (int k = m.IV1(ib); k <= m.IV2(ib) && !near; ++k)
        near = !box.beyond(m.XVRT(k), m.ZVRT(k));
    if (!near) return false;
    bool in = false, out = false;
    for (int k = m.IV1(ib); k <= m.IV2(ib); ++k) {
        const int w = windingIn(m, k, j);
        if (w > 0) in = true;
        if (w == 0) out = true;
        if (in && out) return true;
    }
    return false;
}

// The first body that body ib straddles, or 0. The bodies are shared out
// over the threads; the answer is the first in body order whoever finds it,
// and a thread skips bodies beyond one already found.
int firstStraddled(const PolygonModel& m, int ib) {
    const long angles = static_cast<long>(m.IV2(ib) - m.IV1(ib) + 1) *
                        std::max(0, m.IV2(m.NBOD) - m.IV1(1) + 1);
    std::atomic<int> found{m.NBOD + 1};
    util::shareOut(m.NBOD, util::SliceRule{util::usefulThreads(angles, kAnglesPerThread), 1, 1},
                   [&](int begin, int end) {
                       for (int j = begin + 1; j <= end && j < found.load(); ++j) {
                           if (j == ib || !straddles(m, ib, j)) continue;
                           int seen = found.load();
                           while (j < seen && !found.compare_exchange_weak(seen, j)) {
                           }
                       }
                   });
    return found.load() <= m.NBOD ? found.load() : 0;
}

}  // namespace

bool LXCHK(int iv, int ib, const PolygonModel& m) {
    if (m.NBOD <= 0 || iv <= 0 || iv > m.IV2(m.NBOD)) return false;
    int ibv = owningBody(iv, m);
    if (ibv == 0) return false;
    auto& r = crossingReport();
    const bool lall = ib < 1 || ib > m.NBOD;
    for (int step : {-1, 1}) {
        int v = iv + step;
        const bool wraps = v < m.IV1(ibv) || v > m.IV2(ibv);
        if (wraps && ibv == ib) continue;
        if (v < m.IV1(ibv)) v = m.IV2(ibv);
        if (v > m.IV2(ibv)) v = m.IV1(ibv);
        if (crossesTopography(iv, v, m)) return true;
        if (LCRSBD(iv, v, ibv, lall, m)) {
            r.vertex = iv;
            r.otherVertex = v;
            r.reason = 2;
            return true;
        }
    }
    if (std::abs(m.XVRT(iv)) >= 1.0E10f || std::abs(m.ZVRT(iv)) >= 1.0E10f) {
        r.reason = 0;
        return false;
    }
    int iprev = 0, inext = 0;
    CNRDEF(iprev, iv, inext, ibv, m);
    r.reason = 3;
    const int j = firstStraddled(m, ibv);
    if (j > 0) {
        r.body = j;
        r.vertex = iprev;
        r.otherVertex = iv;
        r.thirdVertex = inext;
        return true;
    }
    r.reason = 0;
    return false;
}

bool LBADMODEL(const PolygonModel& m) {
    for (int b = 1; b <= m.NBOD; ++b) {
        const int tests = (m.IV2(b) - m.IV1(b) + 2) / 2;
        for (int k = 0; k < tests; ++k) {
            if (LXCHK(m.IV1(b) + 2 * k, 0, m)) return true;
        }
    }
    return false;
}

namespace {

// An integer right-justified in three columns.
std::string i3(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%3d", v);
    return buf;
}

// A real in eleven columns of scientific notation: sign or blank, one digit,
// four decimals and a two-digit exponent.
std::string e11(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4E", static_cast<double>(v));
    std::string s = buf;
    if (!s.empty() && s[0] != '-') s = " " + s;
    return s;
}

// Integers as the free format writes them: each right-justified in twelve.
std::string freeFormat(std::initializer_list<int> values) {
    std::string s;
    char buf[16];
    for (int v : values) {
        std::snprintf(buf, sizeof buf, "%12d", v);
        s += buf;
    }
    return s;
}

std::string point(float x, float z) {
    return "[" + e11(x) + "," + e11(z) + "]";
}

void logFinding(int ib, int tested, const PolygonModel& m) {
    auto& log = modelServices().debugLog;
    if (!log) return;
    const auto& r = crossingReport();
    auto at = [&](int v) { return point(m.XVRT(v), m.ZVRT(v)); };
    if (r.reason == 3) {
        log(" SOME VERTICES FROM BODY " + i3(ib) + " ARE INSIDE BODY " + i3(r.body) + ",");
        log(" WHILE OTHERS ARE OUTSIDE. OFFENDING VERTICES (X,Z):");
        log(" " + at(r.vertex) + ", " + at(r.otherVertex) + "," + " " + at(r.thirdVertex));
        log("");
    } else {
        log(" EDGE ON BODY " + i3(ib) + " FROM " + at(r.vertex) + " TO " + at(r.otherVertex));
        log(" CROSSES EDGE FROM " + point(r.edgeX1, r.edgeZ1) + " TO " + point(r.edgeX2, r.edgeZ2));
        const std::string where =
            r.reason == 1 ? std::string(" ON TOPOGRAPHY") : " ON BODY " + i3(r.body);
        log(" AT " + point(r.intersectionX, r.intersectionZ) + where);
        log(freeFormat({r.vertex, r.otherVertex}));
    }
    log(freeFormat({tested, r.vertex, r.otherVertex}));
}

ModelFinding findingOf(int ib, const PolygonModel& m) {
    const auto& r = crossingReport();
    ModelFinding f;
    f.reason = r.reason;
    f.body = ib;
    f.crossedBody = r.body;
    const int vs[3] = {r.vertex, r.otherVertex, r.reason == 3 ? r.thirdVertex : 0};
    for (int k = 0; k < 3; ++k) {
        if (m.XVRT.has(vs[k])) {
            f.x[k] = m.XVRT(vs[k]);
            f.z[k] = m.ZVRT(vs[k]);
        }
    }
    f.edgeX[0] = r.edgeX1;
    f.edgeZ[0] = r.edgeZ1;
    f.edgeX[1] = r.edgeX2;
    f.edgeZ[1] = r.edgeZ2;
    f.atX = r.intersectionX;
    f.atZ = r.intersectionZ;
    return f;
}

}  // namespace

void BODYCHECK(bool iopt, const PolygonModel& m) {
    if (m.NBOD < 1) return;
    auto& services = modelServices();
    bool failed = false;
    for (int ib = 1; ib <= m.NBOD; ++ib) {
        if (ib < m.NBOD) {
            if (m.IV2(ib) >= m.IV1(ib + 1)) {
                showMessage("Some vertices used in two bodies");
            } else if (m.IV2(ib) < m.IV1(ib + 1) - 1) {
                showMessage("Unused vertices exist");
            }
        }
        const int tests = (m.IV2(ib) - m.IV1(ib) + 2) / 2;
        for (int k = 0; k < tests; ++k) {
            const int v = m.IV1(ib) + 2 * k;
            if (!LXCHK(v, 0, m)) continue;
            const int button = services.showFinding ? services.showFinding(findingOf(ib, m)) : 1;
            if (button == 2) return;
            if (iopt) logFinding(ib, v, m);
            failed = true;
        }
    }
    if (!failed) showMessage("Model tests OK");
    if (services.hideFindings) services.hideFindings();
}

}  // namespace model
