#pragma once
// Segment crossing tests that keep a model legal: no body edge may cross
// another body edge, the topography, or an edge of its own body. Touching,
// shared end points and collinear overlap never count as a crossing.

#include <array>
#include <span>

#include "model/polygon_model.h"

namespace model {

// The last finding of the crossing and legality tests.
struct CrossingReport {
    int vertex = 0;                // vertex whose edge failed (reason 3: its predecessor)
    int otherVertex = 0;           // far end of that edge (reason 3: the tested vertex)
    float edgeX1 = 0, edgeX2 = 0;  // ends of the crossed edge
    float edgeZ1 = 0, edgeZ2 = 0;
    int body = 0;         // body of the crossed edge; 0 topography or nothing
    int thirdVertex = 0;  // reason 3: the vertex after the tested one
    int reason = 0;       // 0 none, 1 topography, 2 body edge, 3 partly inside
    float intersectionX = 0, intersectionZ = 0;  // -1.0E15 when none computed
};

// One record per thread: the program's tests run on its one thread, and
// tests run side by side on other threads (the inversion's perturbed
// models) leave it alone.
CrossingReport& crossingReport();
void resetCrossingReport();

inline constexpr float kNoIntersection = -1.0E15f;

using Segment = std::array<float, 2>;

// Segment A (XA, ZA) strictly crosses segment B; stores the intersection.
bool LCROSS(const Segment& xa, const Segment& za, const Segment& xb, const Segment& zb);
// Looser straddle test without intersection or report.
bool LCROSS2(const Segment& xa, const Segment& za, const Segment& xb, const Segment& zb);
// The free segment crosses an edge of any body; body ib's closing edge only
// when lclose is true.
bool LCROSSBODYXY(const PolygonModel& model, const Segment& xs, const Segment& zs, int ib,
                  bool lclose);
// The segment from vertex ia to vertex iw crosses a body edge that has
// neither as an end; body ibown's closing edge only when lall is true.
bool LCRSBD(int ia, int iw, int ibown, bool lall, const PolygonModel& model);
bool LCROSSBODY(const PolygonModel& model, int ia, int iw, int ibown, bool lall);
// Two edges of the polyline X/Z(1..N) cross; lclose adds the edge N -> 1.
bool LCROSSSELF(std::span<const float> x, std::span<const float> z, int n, bool lclose);
// Vertices iv1 and iv2 lie within 1.0E-4 of each other in X and in Z.
bool LSTACK(int iv1, int iv2, const PolygonModel& model);

}  // namespace model
