#include "views/map_scaling.h"

#include <algorithm>
#include <span>

#include "toolkit/core/window_api.h"
#include "util/array_routines.h"
#include "util/nice_axis.h"

namespace views {

void applyWindowAspect(util::AxisRecord& axis, int width, int height) {
    if (width <= 0 || height <= 0 || axis.stepX == 0.0f || axis.stepY == 0.0f ||
        axis.divLengthX == 0.0f || axis.divLengthY == 0.0f)
        return;  // nothing sensible to keep in proportion
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float ux = axis.stepX / axis.divLengthX;
    const float uy = axis.stepY / axis.divLengthY;
    if (ux / h < uy / w)
        axis.divLengthX = axis.divLengthY * (axis.stepX / axis.stepY) * (h / w);
    else if (ux / h > uy / w)
        axis.divLengthY = axis.divLengthX * (axis.stepY / axis.stepX) * (w / h);
}

namespace {

float lengthX(const util::AxisRecord& a) {
    return static_cast<float>(a.divCountX) * a.divLengthX;
}
float lengthY(const util::AxisRecord& a) {
    return static_cast<float>(a.divCountY) * a.divLengthY;
}

void divisionsToBox(util::AxisRecord& axis) {
    if (axis.divCountX > 0) axis.divLengthX = kMapWidth / static_cast<float>(axis.divCountX);
    if (axis.divCountY > 0) axis.divLengthY = kMapHeight / static_cast<float>(axis.divCountY);
}

void shrinkBy(util::AxisRecord& axis, float factor) {
    axis.divLengthX *= factor;
    axis.divLengthY *= factor;
}

void placeLeftEdge(util::AxisRecord& axis) {
    axis.originX = std::max(kMapRight - lengthX(axis), kMapLeftMin);
}

}  // namespace

void SCALE_MAP(const model::ProfileDatabase& db, util::AxisRecord& axis) {
    axis.logX = axis.logY = false;
    axis.originX = axis.originY = kMapLeftMin;
    float emin = 1.0E30f, emax = -1.0E30f, nmin = 1.0E30f, nmax = -1.0E30f;
    for (int i = 1; i <= db.NPROF; ++i) {
        const model::ProfileLine& p = db.profile(i);
        if (!p.EAST.allocated() || !p.NORT.allocated()) continue;
        const int n = std::min<int>(p.NSTA, static_cast<int>(p.EAST.size()));
        const int m = std::min<int>(p.NSTA, static_cast<int>(p.NORT.size()));
        util::FINDNX(std::span<const float>(p.EAST.values()), n, emin, emax);
        util::FINDNX(std::span<const float>(p.NORT.values()), m, nmin, nmax);
    }
    float dx = (emax - emin) * 0.01f;
    float dy = (nmax - nmin) * 0.01f;
    if (dx <= 0.0f && dy <= 0.0f) {
        dx = dy = 1.0f;
    } else {
        if (dx <= 0.0f) dx = dy * 0.0001f;
        if (dy <= 0.0f) dy = dx * 0.0001f;
    }
    // A line running (nearly) along one axis still gets a map of some width.
    if (dx / dy < 0.1f) {
        emin -= 5.0f * dy;
        emax += 5.0f * dy;
    } else if (dy / dx < 0.1f) {
        nmin -= 5.0f * dx;
        nmax += 5.0f * dx;
    }
    emin -= dx;
    emax += dx;
    nmin -= dy;
    nmax += dy;
    std::int32_t k = 0;
    util::LINNX(nmin, nmax, axis.startY, axis.stepY, axis.divCountY, k);
    util::LINNX(emin, emax, axis.startX, axis.stepX, axis.divCountX, k);
}

void rescaleMap(const model::ProfileDatabase& db, util::AxisRecord& axis, int width, int height) {
    if (db.NPROF <= 0) return;
    axis.xLabelsBelow = true;
    axis.yLabelsLeft = true;
    axis.yLabelsRight = false;
    axis.originX = axis.originY = kMapLeftMin;
    axis.clipXMin = axis.clipYMin = -0.01f;
    axis.clipXMax = kMapWidth + 0.01f;
    axis.clipYMax = kMapHeight + 0.01f;
    SCALE_MAP(db, axis);
    divisionsToBox(axis);
    applyWindowAspect(axis, width, height);
    const float lx = lengthX(axis), ly = lengthY(axis);
    if (lx + 0.01f > kMapWidth)
        shrinkBy(axis, kMapWidth / (lx + 0.01f));
    else if (ly + 0.01f > kMapHeight)
        shrinkBy(axis, kMapHeight / (ly + 0.01f));
    axis.clipXMax = lengthX(axis) + 0.01f;
    axis.clipYMax = lengthY(axis) + 0.01f;
    placeLeftEdge(axis);
}

void layoutMap(util::AxisRecord& axis, int width, int height) {
    divisionsToBox(axis);
    applyWindowAspect(axis, width, height);
    axis.clipXMax = lengthX(axis) + 0.01f;
    axis.clipYMax = lengthY(axis) + 0.01f;
    float lx = lengthX(axis);
    if (lx + 0.01f > kMapWidth) shrinkBy(axis, kMapWidth / (lx + 0.01f));
    const float ly = lengthY(axis);
    if (ly + 0.01f > kMapHeight) shrinkBy(axis, kMapHeight / (ly + 0.01f));
    placeLeftEdge(axis);
    axis.clipXMax = lengthX(axis) + 0.01f;
    axis.clipYMax = lengthY(axis) + 0.01f;
}

void DATARESCALE(const model::ProfileDatabase& db, util::AxisRecord& axis) {
    if (db.NPROF <= 0) return;
    rescaleMap(db, axis, tk::WindowInfoQuery(1), tk::WindowInfoQuery(2));
}

}  // namespace views
