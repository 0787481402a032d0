#pragma once
// Triangles and trapezia with two axis-parallel sides; their hatch and fill
// lines come exactly from the intercepts of each line with the edges.

namespace tk {

void GrTriangle(float x1, float y1, float x2, float y2, float x3, float y3);
void TriangleRelative(float dx2, float dy2, float dx3, float dy3);
// Kind 1: the parallel sides are vertical, kind 2: horizontal. (x1, y1) and
// (x2, y2) are ends of the two parallel sides, of lengths sideA and sideB.
void GrTrapezium(float x1, float y1, float x2, float y2, float side, int kind);
void GrTrapezium(float x1, float y1, float x2, float y2, float sideA, float sideB, int kind);
void TrapeziumRelative(float dx, float dy, float side, int kind);
void TrapeziumRelative(float dx, float dy, float sideA, float sideB, int kind);

}  // namespace tk
