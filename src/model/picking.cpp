#include "model/picking.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>

#include "model/body_nesting.h"
#include "model/crossing_tests.h"
#include "model/model_services.h"
#include "model/vertex_locks.h"
#include "util/nice_axis.h"
#include "util/plane_geometry.h"
#include "util/text_edit.h"
#include "util/text_search.h"

namespace model {

PickSettings& pickSettings() {
    static PickSettings settings;
    return settings;
}

void SETWNEAR(float w1, float w2, float w3) {
    pickSettings() = {w1, w2, w3};
}

namespace {

float clampTo(float v, float lim) {
    return std::clamp(v, -lim, lim);
}

enum class EdgeMeasure { foot, midpoint };

void nearestEdge(float& x, float& z, int& ib, int& ie, float xscale, float& dist,
                 const PolygonModel& m, EdgeMeasure measure) {
    ib = 0;
    ie = 0;
    dist = 1.0E30f;
    float fx = 1.0E20f, fz = 1.0E20f;
    if (m.NBOD < 1) return;
    auto& w = pickSettings();
    const int ibc = ICRBOD(x, z, m);
    const float lim = std::abs(w.W3);
    w.W3 = lim;
    const bool atFoot = measure == EdgeMeasure::foot;
    const float t = atFoot ? (w.W1 * w.W1 + w.W2 * w.W2) / 100.0f : w.W1 * w.W1 + w.W2 * w.W2;
    const float px = clampTo(x * xscale, lim), pz = z;
    for (int k = 1; k <= m.NBOD; ++k) {
        const bool lk = atFoot && LOCKSTOOUTSIDE(m, k);
        for (int i = m.IV1(k); i <= m.IV2(k); ++i) {
            const int j = i == m.IV2(k) ? m.IV1(k) : i + 1;
            const float sx = clampTo(xscale * m.XVRT(i), lim), sz = clampTo(m.ZVRT(i), lim);
            const float ex = clampTo(xscale * m.XVRT(j), lim), ez = clampTo(m.ZVRT(j), lim);
            float cx, cz;
            if (atFoot) {
                const float dx = ex - sx, dz = ez - sz;
                const float ae = dx * (px - sx) + dz * (pz - sz);
                const float ag = dx * (px - ex) + dz * (pz - ez);
                if (!(std::abs(ae + ag) <= std::abs(ae - ag))) continue;
                const float f = ae / (dx * dx + dz * dz);
                cx = sx + dx * f;
                cz = sz + dz * f;
            } else {
                cx = 0.5f * (sx + ex);
                cz = 0.5f * (sz + ez);
            }
            float d = (cz - pz) * (cz - pz) + (cx - px) * (cx - px);
            if (k == ibc) d *= 0.99f;
            if (atFoot && lk) d *= 1.02f;
            if (atFoot && m.IPOINT(i) != i) d *= 1.02f;
            if (d <= t && d < dist && !(atFoot && util::LEQNAN(d))) {
                dist = d;
                ib = k;
                ie = i;
                fx = cx;
                fz = cz;
            }
        }
    }
    x = fx / xscale;
    z = fz;
}

enum class VertexFilter { none, ownLeader, unfollowed, follower, inBody, unstacked };

bool isLeader(const PolygonModel& m, int v) {
    return LOCKSPRESENT(m, v);
}

int nearestVertex(float x, float z, int ib, int iv, float xscale, float& dbest,
                  const PolygonModel& m, VertexFilter filter) {
    int result = iv;
    dbest = 1.0E30f;
    if (m.NBOD <= 0) return iv;
    const int ibc = ICRBOD(x, z, m);
    for (int k = 1; k <= m.NBOD; ++k) {
        bool selected;
        if (filter == VertexFilter::inBody) {
            selected = ib > 0 && k == ib;
        } else if (ib > 0) {
            selected = k != ib;
        } else if (ib < 0) {
            selected = k == -ib;
        } else {
            selected = true;
        }
        if (!selected) continue;
        for (int v = m.IV1(k); v <= m.IV2(k); ++v) {
            if (v == iv) continue;
            const bool own = m.IPOINT(v) == v;
            if (filter == VertexFilter::ownLeader && !own) continue;
            if (filter == VertexFilter::follower && own) continue;
            if (filter == VertexFilter::unfollowed && isLeader(m, v)) continue;
            if (filter == VertexFilter::unstacked && LSTACK(v, iv, m)) continue;
            const float dz = z - m.ZVRT(v), dx = (x - m.XVRT(v)) * xscale;
            float d = dz * dz + dx * dx;
            if (k == ibc) d *= 0.99f;
            if (filter == VertexFilter::unfollowed && own) d *= 0.99f;
            if (d < dbest) {
                result = v;
                dbest = d;
            }
        }
    }
    return result;
}

}  // namespace

void NEARDG(float& x, float& z, int& ib, int& ie, float xscale, float& dist,
            const PolygonModel& m) {
    nearestEdge(x, z, ib, ie, xscale, dist, m, EdgeMeasure::foot);
}

void NEARCN(float& x, float& z, int& ib, int& ie, float xscale, float& dist,
            const PolygonModel& m) {
    nearestEdge(x, z, ib, ie, xscale, dist, m, EdgeMeasure::midpoint);
}

int NEARST(float x, float z, int ib, int iv, float xscale, float& dbest, const PolygonModel& m) {
    return nearestVertex(x, z, ib, iv, xscale, dbest, m, VertexFilter::none);
}
int NEARSTOWNLEADER(float x, float z, int ib, int iv, float xscale, float& dbest,
                    const PolygonModel& m) {
    return nearestVertex(x, z, ib, iv, xscale, dbest, m, VertexFilter::ownLeader);
}
int NEARSTUNFOLLOWED(float x, float z, int ib, int iv, float xscale, float& dbest,
                     const PolygonModel& m) {
    return nearestVertex(x, z, ib, iv, xscale, dbest, m, VertexFilter::unfollowed);
}
int NEARSTFOLLOWER(float x, float z, int ib, int iv, float xscale, float& dbest,
                   const PolygonModel& m) {
    return nearestVertex(x, z, ib, iv, xscale, dbest, m, VertexFilter::follower);
}
int NEARSTINBODY(float x, float z, int ib, int iv, float xscale, float& dbest,
                 const PolygonModel& m) {
    return nearestVertex(x, z, ib, iv, xscale, dbest, m, VertexFilter::inBody);
}
int NEARSTUNSTACKED(float x, float z, int ib, int iv, float xscale, float& dbest,
                    const PolygonModel& m) {
    return nearestVertex(x, z, ib, iv, xscale, dbest, m, VertexFilter::unstacked);
}

}  // namespace model

namespace model {

namespace {

// Always with a decimal point, as the fixed-point edit descriptor writes it.
void plainNumberText(float x, std::span<char> text, int m, int& nd) {
    char buf[64];
    const int n =
        std::snprintf(buf, sizeof buf, "%#.*f", std::clamp(nd, 0, 9), static_cast<double>(x));
    const int len = std::clamp(std::min(n, m), 0, static_cast<int>(text.size()));
    std::fill(text.begin(), text.end(), ' ');
    std::copy_n(buf, len, text.begin());
    nd = len;
}

}  // namespace

void BODYPROPERTY(float x, float z, base::FixedString<50>& text, const PolygonModel& m,
                  float& value, std::string_view unit) {
    const int ibp = ICRBOD(x, z, m);
    if (ibp < 0) {
        text = base::FixedString<50>("0.0");
        return;
    }
    value = ibp > 0 ? m.DENS(ibp) : m.DBKG;
    int nd = std::max(util::JSIG(value), 0);
    std::span<char> chars(text.data(), 50);
    std::fill(chars.begin(), chars.end(), ' ');
    if (auto& numberText = modelServices().numberText) {
        numberText(value, chars, 50, nd);
    } else {
        plainNumberText(value, chars, 50, nd);
    }
    // Trailing zeros first, then a trailing point: 2.50 gives 2.5, 100. gives 100.
    util::NTRAIL(chars, nd, '0');
    util::NTRAIL(chars, nd, '.');
    const int k = util::IBGSTR(text.view(), 50);
    if (k > 1) util::SHFSTR(chars, 50, -(k - 1));
    std::string out(text.trimmed());
    std::string_view u = unit;
    while (!u.empty() && (u.back() == ' ' || u.back() == '\0'))
        u.remove_suffix(1);
    out += ' ';
    out += u;
    text.assign(out);
}

}  // namespace model
