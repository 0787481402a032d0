#include "views/profile_scaling.h"

#include <algorithm>
#include <span>

#include "util/array_routines.h"
#include "util/nice_axis.h"

namespace views {

namespace {

struct RunningRange {
    float min = 1.0E30f, max = -1.0E30f;
    void reset() { *this = RunningRange{}; }
};

RunningRange& distanceRange() {
    static RunningRange r;
    return r;
}
RunningRange& valueRange() {
    static RunningRange r;
    return r;
}

// Scans N values of a vector starting at FIRST (0-based), as far as it holds them.
void scan(const std::vector<float>& v, std::size_t first, int n, RunningRange& r) {
    if (first >= v.size() || n <= 0) return;
    const std::size_t count = std::min(static_cast<std::size_t>(n), v.size() - first);
    util::FINDNX(std::span<const float>(v).subspan(first, count), static_cast<int>(count), r.min,
                 r.max);
}

}  // namespace

void SCALE_X_PROF(util::AxisRecord& axis, const model::ProfileLine& profile, bool reset) {
    RunningRange& r = distanceRange();
    if (reset) r.reset();
    scan(profile.STAT.values(), 0, profile.NSTA, r);
    axis.noTurningBreaks = false;
    util::LINNX(r.min, r.max, axis.startX, axis.stepX, axis.divCountX, axis.firstDecadeX);
    axis.xLabelsBelow = true;
    axis.logX = false;
    axis.originX = 1.25f;
    axis.clipXMin = -0.01f;
    axis.clipXMax = 8.01f;
    axis.divLengthX = 8.0f / static_cast<float>(std::max(axis.divCountX, 1));
}

void SCALE_Y_PROF(util::AxisRecord& axis, const model::ProfileLine& profile, bool reset) {
    RunningRange& r = valueRange();
    if (reset) r.reset();
    const int n = profile.NSTA;
    const std::size_t rows = static_cast<std::size_t>(std::max(profile.DAT.rows(), 0));
    scan(profile.DAT.values(), 0, n, r);
    if (profile.NREG >= 1) {
        const int k = std::min(profile.NREG, 5);
        std::vector<float> yreg(profile.YREG.begin(), profile.YREG.begin() + k);
        scan(yreg, 0, k, r);
    }
    if (profile.NCOMP > 1) scan(profile.DAT.values(), rows, n, r);
    if (profile.LSYN) scan(profile.SYN.values(), 0, n, r);
    util::LINNX(r.min, r.max, axis.startY, axis.stepY, axis.divCountY, axis.firstDecadeY);
    axis.yLabelsLeft = true;
    axis.logY = false;
    axis.yLabelsRight = false;
    axis.originY = 1.25f;
    axis.clipYMin = -0.01f;
    axis.clipYMax = 6.01f;
    axis.divLengthY = 6.0f / static_cast<float>(std::max(axis.divCountY, 1));
}

void DATARESCALEPL(model::ProfileLine& profile) {
    for (int panel = 1; panel <= (profile.NCOMP > 1 ? 2 : 1); ++panel) {
        util::AxisRecord& axis = profile.AXES[static_cast<std::size_t>(panel - 1)];
        SCALE_X_PROF(axis, profile, true);
        SCALE_Y_PROF(axis, profile, true);
    }
}

void SCALE_BY(util::AxisRecord& axis, const model::PolygonModel& model,
              const model::ProfileLine& profile) {
    axis.divCountY = 1;
    if (model.NBOD <= 0 && model.NTOPO <= 0) return;
    RunningRange r;
    scan(profile.ELEV.values(), 0, profile.NSTA, r);
    if (model.NBOD <= 0) {
        const float d = r.max - r.min;
        r.min -= 0.25f * d;
    } else {
        for (int b = 1; b <= model.NBOD; ++b) {
            int last = model.IV2(b);
            if (model.LAYER(b)) last -= 4;  // the far closing points
            const int first = model.IV1(b);
            if (first >= 1 && last >= first)
                scan(model.ZVRT.values(), static_cast<std::size_t>(first - 1), last - first + 1, r);
        }
    }
    if (model.NTOPO > 0) scan(model.ZTOPO.values(), 0, model.NTOPO, r);
    // Bodies without topography get the same quarter margins as a topography
    // would: the range gathered above covers stations and vertices.
    if (model.NTOPO > 0 || model.NBOD > 0) {
        const float d = r.max - r.min;
        r.max += 0.25f * d;
        r.min -= 0.25f * d;
    }
    util::LINNX(r.min, r.max, axis.startY, axis.stepY, axis.divCountY, axis.firstDecadeY);
    while (axis.divCountY > 5) {
        const float span = static_cast<float>(axis.divCountY) * axis.stepY;
        axis.stepY *= 2.0f;
        axis.divCountY /= 2;
        if (static_cast<float>(axis.divCountY) * axis.stepY < span) ++axis.divCountY;
    }
    axis.logY = false;
    axis.yLabelsLeft = true;
}

}  // namespace views
