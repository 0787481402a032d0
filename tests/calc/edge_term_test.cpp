// The edge term against the values worked by hand and against independent
// prism references.

#include <gtest/gtest.h>

#include <cmath>

#include "calc/rapdgm.h"
#include "edge_sum.h"
#include "reference_fields.h"

namespace calc {
namespace {

using test::edgeSum;
using test::rectangle;

TEST(EdgeTerm, WorkedValuesOfTheSquare) {
    CalcCommon common;
    const auto square = rectangle(-1, 1, 1, 2);
    struct Case {
        double y1, y2, expected;
    } cases[] = {{0, 0, 2.40017}, {1, 1, 1.31624}, {1, 2, 1.60641}};
    for (const Case& c : cases) {
        EXPECT_NEAR(edgeSum(square, c.y1, c.y2, false, common), c.expected, 5e-6)
            << c.y1 << " " << c.y2;
    }
    EXPECT_NEAR(6.673 * edgeSum(square, 0, 0, false, common), 16.016, 5e-4);

    common.Fz = 1.0;
    common.Mz = 1.0;
    EXPECT_NEAR(edgeSum(square, 0, 0, true, common), 1.28700, 5e-6);
}

TEST(EdgeTerm, OrientationOfTheVertexRunDoesNotMatter) {
    CalcCommon common;
    const double cw = edgeSum(rectangle(-1, 3, 1, 2, true), 2, 3, false, common);
    const double ccw = edgeSum(rectangle(-1, 3, 1, 2, false), 2, 3, false, common);
    EXPECT_NEAR(cw, ccw, 1e-14);
    EXPECT_GT(cw, 0.0);
}

TEST(EdgeTerm, DegenerateEdgeGivesNothingAndClearsTheField) {
    CalcCommon common;
    common.Bx = common.By = common.Bz = 7.0;
    common.Mx = common.Mz = common.Fz = 1.0;
    EXPECT_EQ(RAPDGM(1.5, 2.0, 1.5, 2.0, 3, 4, true, common), 0.0);
    EXPECT_EQ(common.Bx, 0.0);
    EXPECT_EQ(common.By, 0.0);
    EXPECT_EQ(common.Bz, 0.0);
    EXPECT_EQ(RAPDGM(1.5, 2.0, 1.5, 2.0, 0, 0, false, common), 0.0);
}

TEST(EdgeTerm, StationOnTheLineOfAnEdgeIsFinite) {
    CalcCommon common;
    common.Mx = common.Mz = common.My = 1.0;
    common.Fx = common.Fz = 1.0;
    // The edge (1, 0) - (3, 0) lies on the station's horizon: w = 0.
    for (bool magnetic : {false, true}) {
        for (double y2 : {0.0, 2.0, 3.0}) {
            const double v = RAPDGM(1, 0, 3, 0, y2 == 0.0 ? 0.0 : 2.0, y2, magnetic, common);
            EXPECT_TRUE(std::isfinite(v)) << magnetic << " " << y2;
        }
    }
    // The floor is the single-precision 1.0E-4 taken positive: the edge on the
    // station's horizon acts like the same edge 1.0E-4 above it (w = +1.0E-4).
    const double floor = static_cast<double>(1.0E-4f);
    for (double y2 : {0.0, 3.0}) {
        const double y1 = y2 == 0.0 ? 0.0 : 2.0;
        const double onLine = RAPDGM(1, 0, 3, 0, y1, y2, true, common);
        EXPECT_EQ(onLine, RAPDGM(1, -floor, 3, -floor, y1, y2, true, common));
        EXPECT_NE(onLine, RAPDGM(1, floor, 3, floor, y1, y2, true, common));
    }
}

TEST(EdgeTerm, BothSidesSummedAgreeWithTheDoubledSymmetricSum) {
    CalcCommon common;
    const auto body = rectangle(-2, 1, 0.5, 3);
    const double doubled = edgeSum(body, 5, 5, false, common);
    const double explicitSides = edgeSum(body, 5, 5.000001, false, common);
    EXPECT_NEAR(explicitSides, doubled, 1e-6 * std::fabs(doubled));

    common.Mx = 0.3;
    common.My = 0.4;
    common.Mz = 0.8;
    common.Fx = 0.2;
    common.Fy = 0.5;
    common.Fz = 0.7;
    const double magDoubled = edgeSum(body, 5, 5, true, common);
    const double magSides = edgeSum(body, 5, 5.000001, true, common);
    EXPECT_NEAR(magSides, magDoubled, 1e-6 * std::fabs(magDoubled));
}

TEST(EdgeTerm, VerticalFieldAndMagnetisationGiveTheVerticalComponent) {
    CalcCommon common;
    common.Fz = 1.0;
    common.Mz = 1.0;
    const double v = RAPDGM(-1, 1, 2, 2.5, 1, 3, true, common);
    EXPECT_EQ(v, common.Bz);
}

// Gravity of rectangles of every kind of strike extent against the closed form
// of the prism; stations off the body's centre line and beyond its end.
TEST(EdgeTerm, GravityMatchesTheClosedFormPrism) {
    CalcCommon common;
    struct Case {
        double x1, x2, z1, z2, y1, y2;
    } cases[] = {
        {-1, 1, 1, 2, 1, 1},      {-3, 0.5, 0.2, 4, 2, 2},    {-1, 1, 1, 2, 1, 2},
        {2, 5, 0.5, 1.5, 0.3, 7}, {-4, -1, 1, 3, 4, 0.5},     {-1, 2, 1, 2, -3, 6},
        {-1, 2, 1, 2, 6, -2},     {0.5, 2.5, 0.1, 0.6, 0, 3},
    };
    for (const Case& c : cases) {
        // y1 is the half-extent towards -y, y2 towards +y; a negative one puts
        // the station beyond that end of the body.
        const double ref = test::prismGravity({c.x1, c.x2, -c.y1, c.y2, c.z1, c.z2});
        const double got = edgeSum(rectangle(c.x1, c.x2, c.z1, c.z2), c.y1, c.y2, false, common);
        EXPECT_NEAR(got, ref, 1e-9 * std::fabs(ref) + 1e-12)
            << c.x1 << " " << c.x2 << " " << c.z1 << " " << c.z2 << " " << c.y1 << " " << c.y2;
    }
    for (const Case& c : cases) {
        const double ref = test::rectangleGravity2D(c.x1, c.x2, c.z1, c.z2);
        const double got = edgeSum(rectangle(c.x1, c.x2, c.z1, c.z2), 0, 0, false, common);
        EXPECT_NEAR(got, ref, 1e-9 * std::fabs(ref));
    }
}

// Every field component of magnetised rectangles against the dipole field
// integrated over the same body.
TEST(EdgeTerm, MagneticComponentsMatchTheIntegratedDipoleField) {
    struct Body {
        double x1, x2, z1, z2, y1, y2;
    } bodies[] = {{-1, 1, 1, 2, 0, 0},   {-3, 0.5, 0.5, 4, 0, 0},  {-1, 1, 1, 2, 1, 1},
                  {-1, 2, 1, 2, 1.5, 4}, {2, 5, 0.5, 1.5, 6, 0.3}, {-1, 2, 1, 2, -3, 6}};
    const test::Vec3 moments[] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {0.35, -0.6, 0.72}};
    const test::Vec3 field{0.25, 0.4, 0.88};
    for (const Body& b : bodies) {
        for (const test::Vec3& m : moments) {
            CalcCommon common;
            common.Mx = m[0];
            common.My = m[1];
            common.Mz = m[2];
            common.Fx = field[0];
            common.Fy = field[1];
            common.Fz = field[2];
            const bool twoD = b.y1 == 0 && b.y2 == 0;
            const test::Vec3 ref =
                twoD ? test::rectangleMagnetic2D(b.x1, b.x2, b.z1, b.z2, m)
                     : test::prismMagnetic({b.x1, b.x2, -b.y1, b.y2, b.z1, b.z2}, m);
            // Sum each component over the polygon as the calculation does.
            test::Vec3 got{0, 0, 0};
            const auto poly = rectangle(b.x1, b.x2, b.z1, b.z2);
            const double sign = test::elevationArea(poly) < 0.0 ? 1.0 : -1.0;
            double total = 0.0;
            for (std::size_t i = 0; i < poly.size(); ++i) {
                const auto& a = poly[(i + poly.size() - 1) % poly.size()];
                const auto& c = poly[i];
                total += sign * RAPDGM(a.x, a.depth, c.x, c.depth, b.y1, b.y2, true, common);
                got[0] += sign * common.Bx;
                got[1] += sign * common.By;
                got[2] += sign * common.Bz;
            }
            if (b.y1 == b.y2) {
                for (double& g : got)
                    g *= 2.0;
                total *= 2.0;
            }
            const double scale = std::hypot(ref[0], ref[1], ref[2]);
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(got[k], ref[k], 1e-7 * scale + 1e-12)
                    << "component " << k << " body " << b.x1 << "," << b.y1 << "," << b.y2 << " m "
                    << m[0] << "," << m[1] << "," << m[2];
            }
            const double refTotal = ref[0] * field[0] + ref[1] * field[1] + ref[2] * field[2];
            EXPECT_NEAR(total, refTotal, 1e-7 * scale + 1e-12);
        }
    }
}

}  // namespace
}  // namespace calc
