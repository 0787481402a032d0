#include "views/colour_ramp.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "files/view_settings.h"
#include "model/body_nesting.h"
#include "toolkit/graphics/colour_table.h"
#include "util/array_routines.h"
#include "util/nice_axis.h"

namespace views {

int rampColour(float v, float fmin, float fmax, bool redToBlue) {
    const float span = fmax - fmin;
    long q = 0;
    if (span != 0.0f) {
        const double t = (static_cast<double>(v) - fmin) * 239.0 / span;
        q = std::isfinite(t) ? std::lround(std::clamp(t, -1.0E6, 1.0E6)) : 0;
    }
    const long n = redToBlue ? kRampLast - q : kRampFirst + q;
    return static_cast<int>(std::clamp<long>(n, kRampFirst, kRampLast));
}

void defineRampColours() {
    for (int n = kRampFirst; n <= kRampLast; ++n) {
        tk::DefinePaletteColour(n, tk::HlsToRgb(n + 104, 50, 100));
    }
}

void SCALECOLORS(const model::PolygonModel& model, float& fmin, float& fmax) {
    fmin = fmax = model.DBKG;
    if (model.NBOD <= 0) return;
    const int n = std::min<int>(model.NBOD, static_cast<int>(model.DENS.size()));
    util::FINDNX(std::span<const float>(model.DENS.values()), n, fmin, fmax);
    float start = 0.0f, step = 0.0f;
    std::int32_t ndiv = 0, k = 0;
    util::LINNX(fmin, fmax, start, step, ndiv, k);
    fmin = start;
    fmax = start + static_cast<float>(ndiv) * step;
}

void SCALECOLORS(const model::PolygonModel& model) {
    files::ViewSettings& v = files::viewSettings();
    SCALECOLORS(model, v.FILL_MIN, v.FILL_MAX);
}

void fillGridSize(int settingX, int settingY, int& nx, int& nz) {
    if (settingX < 1 || settingY < 1) {
        nx = 500;
        nz = 250;
    } else {
        nx = settingX;
        nz = settingY;
    }
}

bool sampleFillGrid(const util::AxisRecord& section, const model::PolygonModel& model, int nx,
                    int nz, float fmin, float fmax, bool redToBlue, FillGrid& grid) {
    grid = FillGrid{};
    if (nx < 2 || nz < 2) return false;  // no cells between the samples
    try {
        const std::size_t cells = static_cast<std::size_t>(nx) * static_cast<std::size_t>(nz);
        grid.value.assign(cells, 0.0f);
        grid.colour.assign(cells, -1);
    } catch (const std::bad_alloc&) {
        grid = FillGrid{};
        return false;
    }
    grid.nx = nx;
    grid.nz = nz;
    const float dx =
        static_cast<float>(section.divCountX) * section.stepX / static_cast<float>(nx - 1);
    const float dz =
        static_cast<float>(section.divCountY) * section.stepY / static_cast<float>(nz - 1);
    std::vector<float> rowZ(static_cast<std::size_t>(nz));
    for (int j = 1; j <= nz; ++j)
        rowZ[static_cast<std::size_t>(j - 1)] =
            section.startY + (static_cast<float>(nz - j) - 0.5f) * dz;
    const model::SurfaceRows surfaceRows(model, rowZ);
    for (int j = 1; j <= nz; ++j) {
        const float z = rowZ[static_cast<std::size_t>(j - 1)];
        const model::SurfaceRow& surface = surfaceRows[static_cast<std::size_t>(j - 1)];
        for (int i = 1; i <= nx; ++i) {
            const float x = section.startX + (static_cast<float>(i) - 0.5f) * dx;
            int body = model::bodyAt(x, z, model);
            if (body == 0) body = surface.regionAt(x);
            float v = 1.0E20f;
            if (body > 0)
                v = model.DENS(body);
            else if (body == 0)
                v = model.DBKG;
            grid.valueAt(i, j) = v;
            grid.colourAt(i, j) = v > 1.0E10f ? -1 : rampColour(v, fmin, fmax, redToBlue);
        }
    }
    return true;
}

}  // namespace views
