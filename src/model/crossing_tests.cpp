#include "model/crossing_tests.h"

#include <algorithm>
#include <cmath>

#include "model/body_nesting.h"
#include "util/plane_geometry.h"

namespace model {

CrossingReport& crossingReport() {
    thread_local CrossingReport report;
    return report;
}

void resetCrossingReport() {
    crossingReport() = CrossingReport{};
}

bool LCROSS(const Segment& xa, const Segment& za, const Segment& xb, const Segment& zb) {
    auto& r = crossingReport();
    r.intersectionX = kNoIntersection;
    r.intersectionZ = kNoIntersection;
    const double dxa = double(xa[1]) - xa[0], dza = double(za[1]) - za[0];
    const double p = dxa * (double(zb[0]) - za[0]) - dza * (double(xb[0]) - xa[0]);
    const double q = dxa * (double(zb[1]) - za[0]) - dza * (double(xb[1]) - xa[0]);
    if (p * q >= 0.0) return false;
    const double dxb = double(xb[1]) - xb[0], dzb = double(zb[1]) - zb[0];
    const double s = dxb * (double(za[0]) - zb[0]) - dzb * (double(xa[0]) - xb[0]);
    const double t = dxb * (double(za[1]) - zb[0]) - dzb * (double(xa[1]) - xb[0]);
    if (s * t >= 0.0) return false;
    const double d = dxa * dzb - dza * dxb;
    if (d == 0.0) return false;
    const double ca = dza * xa[0] - dxa * za[0];
    const double cb = dzb * xb[0] - dxb * zb[0];
    r.intersectionX = static_cast<float>((dxa * cb - dxb * ca) / d);
    r.intersectionZ = static_cast<float>((dza * cb - dzb * ca) / d);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            if (util::LNLYEQ(xa[i], xb[j]) && util::LNLYEQ(za[i], zb[j])) return false;
        }
    }
    return true;
}

bool LCROSS2(const Segment& xa, const Segment& za, const Segment& xb, const Segment& zb) {
    const double dxa = double(xa[1]) - xa[0], dza = double(za[1]) - za[0];
    const double p = dxa * (double(zb[0]) - za[0]) - dza * (double(xb[0]) - xa[0]);
    const double q = dxa * (double(zb[1]) - za[0]) - dza * (double(xb[1]) - xa[0]);
    const double dxb = double(xb[1]) - xb[0], dzb = double(zb[1]) - zb[0];
    const double s = dxb * (double(za[0]) - zb[0]) - dzb * (double(xa[0]) - xb[0]);
    const double t = dxb * (double(za[1]) - zb[0]) - dzb * (double(xa[1]) - xb[0]);
    return ((p < 0.0) != (q < 0.0)) && ((s < 0.0) != (t < 0.0));
}

namespace {

// Tests the edge between vertices j and k and records it when crossed.
bool crossesEdge(const PolygonModel& m, const Segment& xs, const Segment& zs, int j, int k) {
    const Segment xe{m.XVRT(j), m.XVRT(k)}, ze{m.ZVRT(j), m.ZVRT(k)};
    if (!LCROSS(xs, zs, xe, ze)) return false;
    auto& r = crossingReport();
    r.edgeX1 = xe[0];
    r.edgeX2 = xe[1];
    r.edgeZ1 = ze[0];
    r.edgeZ2 = ze[1];
    return true;
}

}  // namespace

bool LCROSSBODYXY(const PolygonModel& m, const Segment& xs, const Segment& zs, int ib,
                  bool lclose) {
    auto& r = crossingReport();
    for (int i = 1; i <= m.NBOD; ++i) {
        r.body = i;
        const int first = m.IV1(i), last = m.IV2(i);
        for (int j = first; j <= last - 1; ++j) {
            if (crossesEdge(m, xs, zs, j, j + 1)) return true;
        }
        if ((lclose || i != ib) && last > first && crossesEdge(m, xs, zs, last, first)) {
            return true;
        }
    }
    r.body = 0;
    return false;
}

bool LCRSBD(int ia, int iw, int ibown, bool lall, const PolygonModel& m) {
    auto& r = crossingReport();
    const Segment xs{m.XVRT(ia), m.XVRT(iw)}, zs{m.ZVRT(ia), m.ZVRT(iw)};
    auto touches = [&](int v) { return v == ia || v == iw; };
    // A body whose box lies apart from the segment's has no edge that
    // crosses it.
    const util::PolygonBox segment = util::polygonBox(xs, zs, 2);
    for (int i = 1; i <= m.NBOD; ++i) {
        r.body = i;
        if (segment.apart(bodyBox(m, i))) continue;
        const int first = m.IV1(i), last = m.IV2(i);
        for (int j = first; j <= last - 1; ++j) {
            if (touches(j) || touches(j + 1)) continue;
            if (crossesEdge(m, xs, zs, j, j + 1)) return true;
        }
        if ((lall || i != ibown) && last > first && !touches(first) && !touches(last) &&
            crossesEdge(m, xs, zs, last, first)) {
            return true;
        }
    }
    r.body = 0;
    return false;
}

bool LCROSSBODY(const PolygonModel& m, int ia, int iw, int ibown, bool lall) {
    return LCRSBD(ia, iw, ibown, lall, m);
}

bool LCROSSSELF(std::span<const float> x, std::span<const float> z, int n, bool lclose) {
    n = std::min({n, static_cast<int>(x.size()), static_cast<int>(z.size())});
    if (n < 3) return false;
    auto at = [](std::span<const float> a, int i) { return a[static_cast<std::size_t>(i - 1)]; };
    const Segment xc{at(x, n), at(x, 1)}, zc{at(z, n), at(z, 1)};
    for (int i = 1; i <= n - 2; ++i) {
        const Segment xi{at(x, i), at(x, i + 1)}, zi{at(z, i), at(z, i + 1)};
        for (int j = i + 1; j <= n - 1; ++j) {
            const Segment xj{at(x, j), at(x, j + 1)}, zj{at(z, j), at(z, j + 1)};
            if (LCROSS(xi, zi, xj, zj)) return true;
        }
        if (lclose && LCROSS(xi, zi, xc, zc)) return true;
    }
    return false;
}

bool LSTACK(int iv1, int iv2, const PolygonModel& m) {
    return std::abs(m.XVRT(iv1) - m.XVRT(iv2)) <= 1.0E-4f &&
           std::abs(m.ZVRT(iv1) - m.ZVRT(iv2)) <= 1.0E-4f;
}

}  // namespace model
