#include "model/body_nesting.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "model/profile_line.h"
#include "util/array_routines.h"
#include "util/plane_geometry.h"
#include "util/shared_work.h"

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

}  // namespace

util::PolygonBox bodyBox(const PolygonModel& m, int b) {
    const int first = m.IV1(b);
    const int count = m.IV2(b) - first + 1;
    if (count < 1 || !m.XVRT.has(first)) return util::PolygonBox{};
    const auto at = static_cast<std::size_t>(first - 1);
    return util::polygonBox(std::span<const float>(m.XVRT.values()).subspan(at),
                            std::span<const float>(m.ZVRT.values()).subspan(at), count);
}

namespace {

bool sameVertexIn(const PolygonModel& m, int t, int j) {
    for (int v = m.IV1(j); v <= m.IV2(j); ++v) {
        if (m.XVRT(v) == m.XVRT(t) && m.ZVRT(v) == m.ZVRT(t)) return true;
    }
    return false;
}

// Body j encloses body ib: decided at the first vertex of ib that is not also
// a vertex of j, or by every vertex being shared. boxes[b] is body b's.
bool encloses(const PolygonModel& m, int j, int ib, std::span<const util::PolygonBox> boxes) {
    const util::PolygonBox& box = boxes[static_cast<std::size_t>(j)];
    // Apart, ib shares no vertex with j and its first vertex lies beyond j.
    if (box.apart(boxes[static_cast<std::size_t>(ib)])) return false;
    int t = m.IV1(ib);
    while (t <= m.IV2(ib) && sameVertexIn(m, t, j))
        ++t;
    if (t > m.IV2(ib)) return true;
    if (box.beyond(m.XVRT(t), m.ZVRT(t))) return false;
    return insideBody(m.XVRT(t), m.ZVRT(t), m, j) == 1;
}

}  // namespace

int bodyAt(float x, float z, const PolygonModel& m) {
    int lmax = 0;
    for (int b = 1; b <= m.NBOD; ++b)
        lmax = std::max(lmax, m.ILEVL(b));
    for (int level = lmax; level >= 1; --level) {
        for (int b = 1; b <= m.NBOD; ++b) {
            if (m.ILEVL(b) == level && insideBody(x, z, m, b) != 0) return b;
        }
    }
    return 0;
}

namespace {

bool hasSurface(const PolygonModel& m) {
    return m.NTOPO >= 1 && m.XTOPO.size() >= m.NTOPO + 4 && m.ZTOPO.size() >= m.NTOPO + 4;
}

int surfaceRegion(float x, float z, const PolygonModel& m) {
    if (!hasSurface(m)) return -1;
    return util::INSIDE(x, z, m.XTOPO.values(), m.ZTOPO.values(), m.NTOPO + 4) != 0 ? 0 : -1;
}

// The winding test's own limit on coordinates, so that the far closing
// points of the surface cross a row where the test sees them.
float limited(float v) {
    return std::fabs(v) > 1.0e8f ? (v < 0.0f ? -1.0e8f : 1.0e8f) : v;
}

// Closer to the surface than this, relative to the size of the
// coordinates, a point is left to the full test.
constexpr float kHair = 1.0e-4f;

}  // namespace

int ICRBOD(float x, float z, const PolygonModel& m) {
    const int b = bodyAt(x, z, m);
    return b != 0 ? b : surfaceRegion(x, z, m);
}

namespace {

// Piece i of the surface, from point i-1 (the last for the first) to point
// i, limited as the winding test sees it; false when it holds a NaN.
bool surfacePiece(const PolygonModel& m, int i, float& x0, float& z0, float& x1, float& z1) {
    const int j = i == 1 ? m.NTOPO + 4 : i - 1;
    x0 = limited(m.XTOPO(j)), z0 = limited(m.ZTOPO(j));
    x1 = limited(m.XTOPO(i)), z1 = limited(m.ZTOPO(i));
    return !(std::isnan(x0) || std::isnan(z0) || std::isnan(x1) || std::isnan(z1));
}

bool surfaceHasNaN(const PolygonModel& m) {
    float x0 = 0, z0 = 0, x1 = 0, z1 = 0;
    for (int i = 1; i <= m.NTOPO + 4; ++i)
        if (!surfacePiece(m, i, x0, z0, x1, z1)) return true;
    return false;
}

}  // namespace

SurfaceRow::SurfaceRow(const PolygonModel& m, float z, bool exactOnly)
    : model_(m), z_(z), exactOnly_(exactOnly) {}

SurfaceRow::SurfaceRow(const PolygonModel& m, float z)
    : SurfaceRow(m, z, hasSurface(m) && surfaceHasNaN(m)) {
    if (!hasSurface(m) || exactOnly_) return;
    float x0 = 0, z0 = 0, x1 = 0, z1 = 0;
    for (int i = 1; i <= m.NTOPO + 4; ++i) {
        surfacePiece(m, i, x0, z0, x1, z1);
        if (z < std::min(z0, z1) || z > std::max(z0, z1)) continue;
        meet(x0, z0, x1, z1);
    }
    finish();
}

// A piece of the surface that reaches the row's height.
void SurfaceRow::meet(float x0, float z0, float x1, float z1) {
    const float z = z_;
    if (z0 == z1) {
        touches_.emplace_back(std::min(x0, x1), std::max(x0, x1));
        return;
    }
    const double t = (static_cast<double>(z) - z0) / (static_cast<double>(z1) - z0);
    const auto xc = static_cast<float>(x0 + t * (static_cast<double>(x1) - x0));
    touches_.emplace_back(xc, xc);
    if ((z0 > z) != (z1 > z)) found_.push_back({xc, z1 > z0 ? 1 : -1});
}

void SurfaceRow::finish() {
    std::sort(found_.begin(), found_.end(),
              [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    windingRight_.assign(found_.size() + 1, 0);
    for (std::size_t k = found_.size(); k-- > 0;)
        windingRight_[k] = windingRight_[k + 1] + found_[k].dir;
    for (const Crossing& c : found_)
        crossings_.push_back(c.x);
    std::sort(touches_.begin(), touches_.end());
    // Running maximum of the ends, so a search by the start finds any overlap.
    float reach = -std::numeric_limits<float>::infinity();
    for (const auto& [lo, hi] : touches_) {
        reach = std::max(reach, hi);
        touchLo_.push_back(lo);
        touchHi_.push_back(reach);
    }
    found_ = {};
    touches_ = {};
}

SurfaceRows::SurfaceRows(const PolygonModel& m, std::span<const float> z) {
    const bool exactOnly = hasSurface(m) && surfaceHasNaN(m);
    rows_.reserve(z.size());
    // The rows by height; a row of no height is left to the search of its own.
    std::vector<std::pair<float, std::size_t>> byHeight;
    for (std::size_t j = 0; j < z.size(); ++j) {
        if (std::isnan(z[j]) || !hasSurface(m) || exactOnly) {
            rows_.emplace_back(m, z[j]);
        } else {
            rows_.push_back(SurfaceRow(m, z[j], false));
            byHeight.emplace_back(z[j], j);
        }
    }
    if (byHeight.empty()) return;
    std::sort(byHeight.begin(), byHeight.end());
    float x0 = 0, z0 = 0, x1 = 0, z1 = 0;
    for (int i = 1; i <= m.NTOPO + 4; ++i) {
        surfacePiece(m, i, x0, z0, x1, z1);
        const float lo = std::min(z0, z1), hi = std::max(z0, z1);
        auto k = std::lower_bound(byHeight.begin(), byHeight.end(), lo,
                                  [](const auto& row, float v) { return row.first < v; });
        for (; k != byHeight.end() && k->first <= hi; ++k)
            rows_[k->second].meet(x0, z0, x1, z1);
    }
    for (const auto& row : byHeight)
        rows_[row.second].finish();
}

int SurfaceRow::regionAt(float x) const {
    if (!hasSurface(model_)) return -1;
    if (exactOnly_ || std::isnan(x)) return surfaceRegion(x, z_, model_);
    const float lx = limited(x);
    const float hair = kHair * (std::fabs(lx) + std::fabs(limited(z_)) + 1.0f);
    // The last surface piece on the row starting at or before x + hair.
    const auto k = std::upper_bound(touchLo_.begin(), touchLo_.end(), lx + hair) - touchLo_.begin();
    if (k > 0 && touchHi_[static_cast<std::size_t>(k - 1)] >= lx - hair)
        return surfaceRegion(x, z_, model_);
    const auto c = std::upper_bound(crossings_.begin(), crossings_.end(), lx) - crossings_.begin();
    return windingRight_[static_cast<std::size_t>(c)] != 0 ? 0 : -1;
}

void BOLEVL(PolygonModel& m, bool& changed) {
    changed = false;
    const int nb = std::max(m.NBOD, 0);
    const auto count = static_cast<std::size_t>(nb) + 1;
    // encloses[ib * count + j]: body j encloses body ib. Each body's row
    // alone, the bodies shared out over the threads: every row is the same
    // whoever finds it.
    std::vector<char> enclosing(count * count, 0);
    const long angles = static_cast<long>(nb) * std::max(0, nb >= 1 ? m.IV2(nb) - m.IV1(1) + 1 : 0);
    const PolygonModel& shape = m;
    std::vector<util::PolygonBox> boxes(count);
    for (int b = 1; b <= nb; ++b)
        boxes[static_cast<std::size_t>(b)] = bodyBox(m, b);
    util::shareOut(nb, util::SliceRule{util::usefulThreads(angles, kAnglesPerThread), 1, 1},
                   [&](int begin, int end) {
                       for (int ib = begin + 1; ib <= end; ++ib) {
                           char* row = enclosing.data() + static_cast<std::size_t>(ib) * count;
                           for (int j = 1; j <= nb; ++j)
                               row[j] = j != ib && encloses(shape, j, ib, boxes);
                       }
                   });
    for (int ib = 1; ib <= nb; ++ib) {
        const char* row = enclosing.data() + static_cast<std::size_t>(ib) * count;
        m.ILEVL(ib) = 1 + static_cast<int>(std::count(row + 1, row + count, 1));
    }
    // A body's parent is the enclosing body of the highest level below its
    // own, the last such in body order.
    for (int ib = 1; ib <= nb; ++ib) {
        const char* row = enclosing.data() + static_cast<std::size_t>(ib) * count;
        int parent = 0;
        for (int j = 1; j <= nb; ++j) {
            if (row[j] && m.ILEVL(j) < m.ILEVL(ib) &&
                (parent == 0 || m.ILEVL(j) >= m.ILEVL(parent)))
                parent = j;
        }
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
