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

}  // namespace model_test
