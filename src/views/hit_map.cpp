#include "views/hit_map.h"

#include <algorithm>
#include <cmath>

#include "util/axis_scaling.h"
#include "util/plane_geometry.h"

namespace views {
namespace {

constexpr int kArrowCursor = 0;
constexpr int kPointCursor = 3;
constexpr float kLineGuard = 1.0E-20f;
constexpr float kDegenerateLine = 1.0E-10f;
constexpr int kHighlightPen = 3;

void rebuildDegenerateLine(model::ProfileLine& p) {
    const float de = p.ELAST - p.EFIRST, dn = p.NLAST - p.NFIRST;
    if (std::sqrt(de * de + dn * dn) > kDegenerateLine || p.NSTA < 1) return;
    p.EFIRST = p.EAST(1);
    p.ELAST = p.EAST(p.NSTA);
    p.NFIRST = p.NORT(1);
    p.NLAST = p.NORT(p.NSTA);
}

void positionParts(float e, float n, HoverOutput& out) {
    StatusText p1, p2;
    p1.add("E: ").addFixed(e, 10, 1);
    p2.add("N: ").addFixed(n, 10, 1);
    out.statusText(1, p1.view());
    out.statusText(2, p2.view());
}

}  // namespace

void MAPODOM(model::ProfileDatabase& db, float xin, float yin, const util::AxisRecord& mapAxis,
             int currentProfile, int& mapHoverProfile, const MapHoverServices& services,
             HoverOutput& out) {
    const float e = util::XOFPL(xin, mapAxis);
    const float n = util::YOFPL(yin, mapAxis);
    if (services.inGraph && !services.inGraph(e, n, mapAxis)) {
        out.cursorShape(kArrowCursor);
        out.statusText(1, " ");
        out.statusText(2, " ");
        out.statusText(3, " ");
        return;
    }
    mapHoverProfile = 0;
    float best = kLinePickRadius;
    const int count = std::min(db.NPROF, static_cast<int>(db.PROFS.size()));
    for (int i = 1; i <= count; ++i) {
        if (i == currentProfile) continue;
        model::ProfileLine& p = db.profile(i);
        rebuildDegenerateLine(p);
        float fe = 0.0f, fn = 0.0f;
        util::ISECT(e, n, p.EFIRST, p.NFIRST, p.ELAST, p.NLAST, fe, fn);
        // A line without a real foot cannot be pointed at; hover passes it over.
        if (std::isnan(fe) || std::isnan(fn)) continue;
        const float dx = xin - (util::PLOFX(fe, mapAxis) + mapAxis.originX);
        const float dy = yin - (util::PLOFY(fn, mapAxis) + mapAxis.originY);
        const float d = std::sqrt(dx * dx + dy * dy + kLineGuard);
        if (d < best) {
            best = d;
            mapHoverProfile = i;
        }
    }
    positionParts(e, n, out);
    if (mapHoverProfile == 0) {
        out.cursorShape(kArrowCursor);
        out.statusText(3, " ");
        return;
    }
    out.cursorShape(kPointCursor);
    StatusText p3;
    p3.add("Profile: ").add(trimRight(db.profile(mapHoverProfile).PNAME.view()));
    out.statusText(3, p3.view());
    if (services.markProfile) services.markProfile(mapHoverProfile, mapAxis, kHighlightPen);
}

}  // namespace views
