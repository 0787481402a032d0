#pragma once
// Small plane-geometry primitives: the winding number of a point about a
// polygon, relative equality of reals, NaN tests and the foot of the
// perpendicular on a segment.

#include <span>

namespace util {

// Winding number of (X0, Z0) about the polygon X/Z(1:N) (closed implicitly):
// 1 inside a simple polygon of either orientation, 0 outside (and when a NaN
// turns up), -1 on a vertex or between the end points of an edge.
int INSIDE(float x0, float z0, std::span<const float> x, std::span<const float> z, int n);
// The box about the polygon of INSIDE, its coordinates confined as INSIDE
// confines them: a point strictly beyond it lies outside the polygon, so a
// caller may skip the winding there. Empty when a NaN turns up.
struct PolygonBox {
    float xmin = 0.0f, xmax = 0.0f, zmin = 0.0f, zmax = 0.0f;
    bool usable = false;
    bool beyond(float x0, float z0) const;
    // Both boxes usable and no point lies in both.
    bool apart(const PolygonBox& other) const;
};
PolygonBox polygonBox(std::span<const float> x, std::span<const float> z, int n);
// A and B equal within a relative 1.0E-6.
bool LNLYEQ(float a, float b);
bool LEQNAN(float x);
// Either 32-bit half of the 8-byte value, read as a real, is a NaN.
bool LEQNANQ(double x);
// Foot (XI, ZI) of the perpendicular from (X0, Z0) onto the line AB; one
// coordinate is 1.0E20 when the foot lies outside the segment, both for a
// segment of no length.
void ISECT(float x0, float z0, float xa, float za, float xb, float zb, float& xi, float& zi);
// The two halves of ISECT, for mainly horizontal and mainly vertical
// segments, without the range test.
void XISECT(float x0, float z0, float xa, float za, float xb, float zb, float& xi, float& zi);
void YISECT(float x0, float z0, float xa, float za, float xb, float zb, float& xi, float& zi);

}  // namespace util
