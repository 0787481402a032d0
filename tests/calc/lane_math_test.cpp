// Our angle (arctangent) and logarithm: within a unit or two in the last place
// of the C library's, and the same bits in every lane of a pack as for one
// double.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "calc/edge_kernel.h"
#include "calc/lane_math.h"

#pragma GCC diagnostic ignored "-Wpsabi"

namespace calc {
namespace {

std::int64_t ulpDistance(double a, double b) {
    return std::abs(std::bit_cast<std::int64_t>(a) - std::bit_cast<std::int64_t>(b));
}

TEST(LaneMath, WithinOneUlpOfTheLibrary) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> exponent(-60, 60), mantissa(0.5, 1.0),
        nearOne(-1e-3, 1e-3);
    for (int i = 0; i < 200000; ++i) {
        const double x = std::ldexp(mantissa(rng), static_cast<int>(exponent(rng)));
        const double signedX = (i & 1) ? -x : x;
        ASSERT_LE(ulpDistance(lanes::angleOf(signedX, 1.0), std::atan(signedX)), 1) << signedX;
        // Any quadrant: the reduction takes both coordinates as they are.
        const double other = (i & 2) ? -mantissa(rng) : mantissa(rng);
        ASSERT_LE(ulpDistance(lanes::angleOf(signedX, other), std::atan2(signedX, other)), 2)
            << signedX << " " << other;
        ASSERT_LE(ulpDistance(lanes::logOf(x), std::log(x)), 1) << x;
        const double y = 1.0 + nearOne(rng);
        ASSERT_LE(ulpDistance(lanes::logOf(y), std::log(y)), 1) << y;
    }
}

TEST(LaneMath, SpecialArguments) {
    // Band edges of the arctangent's reduction and the ends of the range.
    for (double x : {0.0, 0.4375, 0.6875, 1.0, 1.1875, 2.4375, 0x1p66, 1e300}) {
        EXPECT_LE(ulpDistance(lanes::angleOf(x, 1.0), std::atan(x)), 1) << x;
        EXPECT_LE(ulpDistance(lanes::angleOf(-x, 1.0), std::atan(-x)), 1) << x;
        EXPECT_LE(ulpDistance(lanes::angleOf(1.0, -x), std::atan2(1.0, -x)), 1) << x;
    }
    // The axes, each side of the negative one, and no angle for NaN.
    const struct {
        double y, x;
    } axes[] = {{1, 0}, {-1, 0}, {0, 1}, {-0.0, 1}, {0, -1}, {-0.0, -1}, {1e-300, -1}};
    for (const auto& a : axes)
        EXPECT_EQ(lanes::angleOf(a.y, a.x), std::atan2(a.y, a.x)) << a.y << " " << a.x;
    EXPECT_TRUE(std::isnan(lanes::angleOf(std::nan(""), 1.0)));
    EXPECT_TRUE(std::isnan(lanes::angleOf(1.0, std::nan(""))));
    EXPECT_EQ(lanes::logOf(1.0), 0.0);
    EXPECT_EQ(lanes::logOf(HUGE_VAL), HUGE_VAL);
    EXPECT_EQ(lanes::logOf(0.0), -HUGE_VAL);
    EXPECT_TRUE(std::isnan(lanes::logOf(-1.0)));
    EXPECT_TRUE(std::isnan(lanes::logOf(std::nan(""))));
    EXPECT_LE(ulpDistance(lanes::logOf(4.9e-324), std::log(4.9e-324)), 1);
    EXPECT_LE(ulpDistance(lanes::logOf(1e-310), std::log(1e-310)), 1);
}

TEST(LaneMath, PackLanesMatchSingleValues) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> value(-50, 50);
    for (int i = 0; i < 20000; ++i) {
        lanes::Pack p, q;
        for (int k = 0; k < lanes::kPackWidth; ++k) {
            p[k] = value(rng) * std::exp(value(rng) / 5);
            q[k] = value(rng);
        }
        const lanes::Pack a = lanes::angleOf(p, q);
        const lanes::Pack l = lanes::logOf(lanes::absOf(p));
        const lanes::Pack r = lanes::sqrtOf(lanes::absOf(p));
        for (int k = 0; k < lanes::kPackWidth; ++k) {
            ASSERT_EQ(std::bit_cast<std::int64_t>(a[k]),
                      std::bit_cast<std::int64_t>(lanes::angleOf(p[k], q[k])));
            ASSERT_EQ(std::bit_cast<std::int64_t>(l[k]),
                      std::bit_cast<std::int64_t>(lanes::logOf(std::fabs(p[k]))));
            ASSERT_EQ(r[k], std::sqrt(std::fabs(p[k])));
        }
    }
}

// The edge term's one-arctangent difference of a1 = n1 / d1 and a2 = n2 / d2
// across the right angle (1 + a1 a2 through zero), on both sides of it, and
// against the long double reference, the denominators scaled as the edge
// term scales them.
TEST(LaneMath, ArctangentDifferenceKeepsItsQuadrant) {
    const double pi = 3.141592653589793, half = pi / 2;
    const struct {
        double a, b, want;
    } cases[] = {{2.0, -0.5, half},  {-2.0, 0.5, -half}, {1e30, -1e30, pi},
                 {-1e30, 1e30, -pi}, {0.0, 0.0, 0.0},    {3.0, -1.0 / 3.0 + 1e-12, half}};
    for (const auto& c : cases)
        EXPECT_NEAR(lanes::atanDifference(c.a, 1.0, c.b, 1.0), c.want, 1e-11) << c.a << " " << c.b;
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> exponent(-20, 20), mantissa(-1.0, 1.0),
        scale(0.01, 100.0);
    for (int i = 0; i < 200000; ++i) {
        const double a = std::ldexp(mantissa(rng), static_cast<int>(exponent(rng)));
        const double b = std::ldexp(mantissa(rng), static_cast<int>(exponent(rng)));
        const long double want = std::atan(static_cast<long double>(a)) -
                                 std::atan(static_cast<long double>(b));
        // Denominators that are powers of two keep a and b exact.
        const double da = std::ldexp(1.0, static_cast<int>(exponent(rng) / 4));
        const double db = (i & 1) ? da : std::ldexp(1.0, static_cast<int>(scale(rng)) % 7);
        ASSERT_NEAR(lanes::atanDifference(a * da, da, b * db, db), static_cast<double>(want), 2e-15)
            << a << " " << b;
    }
}

// Two such differences summed as one angle: beyond a half turn either way,
// of opposite turns, and against the long double reference.
TEST(LaneMath, ArctangentDifferenceSumPassesTheHalfTurn) {
    const auto reference = [](double a1, double a2, double b1, double b2) {
        const auto at = [](double v) { return std::atan(static_cast<long double>(v)); };
        return static_cast<double>(at(a1) - at(a2) + at(b1) - at(b2));
    };
    const struct {
        double a1, a2, b1, b2;
    } cases[] = {{1e8, -1e8, 1e7, -1e7},   {-1e8, 1e8, -1e7, 1e7}, {3, -0.5, 2, -0.4},
                 {3, -0.5, -2, 0.4},       {0.1, 0.1, 5, -5},      {2, -0.5, 2, -0.5},
                 {1e-9, -1e-9, 1e-9, 0.0}, {0, 0, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_NEAR(lanes::atanDifferenceSum(c.a1, 1.0, c.a2, 1.0, c.b1, 1.0, c.b2, 1.0),
                    reference(c.a1, c.a2, c.b1, c.b2), 1e-14)
            << c.a1 << " " << c.a2 << " " << c.b1 << " " << c.b2;
    }
    std::mt19937_64 rng(9);
    std::uniform_real_distribution<double> exponent(-12, 12), mantissa(-1.0, 1.0);
    const auto draw = [&] { return std::ldexp(mantissa(rng), static_cast<int>(exponent(rng))); };
    for (int i = 0; i < 200000; ++i) {
        const double a1 = draw(), a2 = draw(), b1 = draw(), b2 = draw();
        const double d = std::ldexp(1.0, static_cast<int>(exponent(rng) / 3));
        const double e = std::ldexp(1.0, static_cast<int>(exponent(rng) / 3));
        ASSERT_NEAR(lanes::atanDifferenceSum(a1 * d, d, a2 * d, d, b1 * e, e, b2 * e, e),
                    reference(a1, a2, b1, b2), 4e-15)
            << a1 << " " << a2 << " " << b1 << " " << b2;
    }
}

}  // namespace
}  // namespace calc
