#pragma once
// Bodies drawn by hand as outlines, put into a model the way the model keeps
// them: body b owns the next run of the vertex list, every vertex its own
// leader. Shared by the tests of every layer that builds small models.

#include <cstddef>
#include <utility>
#include <vector>

#include "model/polygon_model.h"

namespace model_test {

using Outline = std::vector<std::pair<float, float>>;

// The arrays must already hold the vertices (ALLOCPG); counts, capacities
// and the bodies' properties stay the caller's.
inline void putOutlines(model::PolygonModel& m, const std::vector<Outline>& bodies) {
    int v = 0;
    for (std::size_t b = 1; b <= bodies.size(); ++b) {
        const int body = static_cast<int>(b);
        m.IV1(body) = v + 1;
        for (const auto& [x, z] : bodies[b - 1]) {
            ++v;
            m.XVRT(v) = x;
            m.ZVRT(v) = z;
            m.IPOINT(v) = v;
        }
        m.IV2(body) = v;
    }
}

// Allocates the model for the bodies under the given surface (points from
// west to east, none for a model without topography), closes the surface's
// corners at its end heights and puts the outlines in. The bodies'
// properties stay the caller's.
inline bool allocateOutlines(model::PolygonModel& m, const std::vector<Outline>& bodies,
                             const Outline& surface) {
    int nv = 0;
    for (const auto& b : bodies)
        nv += static_cast<int>(b.size());
    const int nb = static_cast<int>(bodies.size());
    const int nt = static_cast<int>(surface.size());
    m.NTOPO = nt;
    if (!model::ALLOCPG(m, nv, nb)) return false;
    for (int i = 1; i <= nt; ++i) {
        m.XTOPO(i) = surface[static_cast<std::size_t>(i - 1)].first;
        m.ZTOPO(i) = surface[static_cast<std::size_t>(i - 1)].second;
    }
    if (nt > 0) {
        m.ZTOPO(nt + 1) = surface.back().second;
        m.ZTOPO(nt + 4) = surface.front().second;
    }
    m.NBOD = m.NBCAP = nb;
    m.NVCAP = nv;
    putOutlines(m, bodies);
    return true;
}

// A level surface at height z from x = -1000 to 1000.
inline Outline flatSurface(float z) { return {{-1000.0f, z}, {1000.0f, z}}; }

}  // namespace model_test
