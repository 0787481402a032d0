#pragma once
// Independent references for the anomaly of a right rectangular prism:
// gravity in closed form, the dipole field integrated over the body (closed
// along the strike, Gauss-Legendre across it). The station sits at the
// origin; x across the strike, y along it, z depth (positive down), km.

#include <array>

namespace calc::test {

struct Prism {
    double x1, x2;  // across strike
    double y1, y2;  // along strike (y1 < y2)
    double z1, z2;  // depth, z1 < z2
};

// Newtonian attraction (downward) of the prism per unit density, in the units
// where 6.673 x the result x density (g/cc) is milligals.
double prismGravity(const Prism& p);

// The same for a body of infinite strike (a two-dimensional rectangle).
double rectangleGravity2D(double x1, double x2, double z1, double z2);

using Vec3 = std::array<double, 3>;

// Field (x, y, z) of the prism uniformly magnetised with m, in the units of
// the edge term (field per unit magnetisation). `order` Gauss-Legendre points
// per direction across the strike; along the strike the integral is exact.
Vec3 prismMagnetic(const Prism& p, const Vec3& m, int order = 48);

// The same for infinite strike.
Vec3 rectangleMagnetic2D(double x1, double x2, double z1, double z2, const Vec3& m, int order = 48);

}  // namespace calc::test
