#pragma once
// Sums the edge term over one closed polygon the way the forward calculation
// does: from the last vertex to the first, then in order; oriented by the
// sign of the area taken in elevation coordinates; doubled when the two
// strike half-extents are equal.

#include <vector>

#include "calc/calc_common.h"
#include "calc/rapdgm.h"

namespace calc::test {

struct Vertex {
    double x;      // across strike, km from the station
    double depth;  // km below the station
};

inline double elevationArea(const std::vector<Vertex>& v) {
    double sum = 0.0;
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Vertex& a = v[i];
        const Vertex& b = v[(i + 1) % n];
        sum += b.x * -a.depth - a.x * -b.depth;
    }
    return 0.5 * sum;
}

inline double edgeSum(const std::vector<Vertex>& v, double y1, double y2, bool magnetic,
                      CalcCommon& common) {
    const double sign = elevationArea(v) < 0.0 ? 1.0 : -1.0;
    double sum = 0.0;
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Vertex& a = v[(i + n - 1) % n];
        const Vertex& b = v[i];
        sum += sign * RAPDGM(a.x, a.depth, b.x, b.depth, y1, y2, magnetic, common);
    }
    return y1 == y2 ? 2.0 * sum : sum;
}

// The rectangle x1..x2, depth z1..z2 as a polygon, corners in the given turn.
inline std::vector<Vertex> rectangle(double x1, double x2, double z1, double z2,
                                     bool clockwise = true) {
    std::vector<Vertex> v{{x1, z1}, {x2, z1}, {x2, z2}, {x1, z2}};
    if (!clockwise) v = {{x1, z1}, {x1, z2}, {x2, z2}, {x2, z1}};
    return v;
}

}  // namespace calc::test
