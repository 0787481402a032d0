// Our arctangent and logarithm: within one unit in the last place of the C
// library's, and the same bits in every lane of a pack as for one double.

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
        ASSERT_LE(ulpDistance(lanes::atanOf(signedX), std::atan(signedX)), 1) << signedX;
        ASSERT_LE(ulpDistance(lanes::logOf(x), std::log(x)), 1) << x;
        const double y = 1.0 + nearOne(rng);
        ASSERT_LE(ulpDistance(lanes::logOf(y), std::log(y)), 1) << y;
    }
}

TEST(LaneMath, SpecialArguments) {
    // Band edges of the arctangent's reduction and the ends of the range.
    for (double x : {0.0, 0.4375, 0.6875, 1.0, 1.1875, 2.4375, 0x1p66, 1e300, HUGE_VAL}) {
        EXPECT_LE(ulpDistance(lanes::atanOf(x), std::atan(x)), 1) << x;
        EXPECT_LE(ulpDistance(lanes::atanOf(-x), std::atan(-x)), 1) << x;
    }
    EXPECT_TRUE(std::signbit(lanes::atanOf(-0.0)));
    EXPECT_TRUE(std::isnan(lanes::atanOf(std::nan(""))));
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
        lanes::Pack p;
        for (int k = 0; k < lanes::kPackWidth; ++k)
            p[k] = value(rng) * std::exp(value(rng) / 5);
        const lanes::Pack a = lanes::atanOf(p);
        const lanes::Pack l = lanes::logOf(lanes::absOf(p));
        const lanes::Pack r = lanes::sqrtOf(lanes::absOf(p));
        for (int k = 0; k < lanes::kPackWidth; ++k) {
            ASSERT_EQ(std::bit_cast<std::int64_t>(a[k]),
                      std::bit_cast<std::int64_t>(lanes::atanOf(p[k])));
            ASSERT_EQ(std::bit_cast<std::int64_t>(l[k]),
                      std::bit_cast<std::int64_t>(lanes::logOf(std::fabs(p[k]))));
            ASSERT_EQ(r[k], std::sqrt(std::fabs(p[k])));
        }
    }
}

// The edge term's one-arctangent difference across the right angle (1 + ab
// through zero), on both sides of it, and against the long double reference.
TEST(LaneMath, ArctangentDifferenceKeepsItsQuadrant) {
    const double pi = 3.141592653589793, half = pi / 2;
    const struct {
        double a, b, want;
    } cases[] = {{2.0, -0.5, half},  {-2.0, 0.5, -half}, {1e30, -1e30, pi},
                 {-1e30, 1e30, -pi}, {0.0, 0.0, 0.0},    {3.0, -1.0 / 3.0 + 1e-12, half}};
    for (const auto& c : cases)
        EXPECT_NEAR(lanes::atanDifference(c.a, c.b), c.want, 1e-11) << c.a << " " << c.b;
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> exponent(-20, 20), mantissa(-1.0, 1.0);
    for (int i = 0; i < 200000; ++i) {
        const double a = std::ldexp(mantissa(rng), static_cast<int>(exponent(rng)));
        const double b = std::ldexp(mantissa(rng), static_cast<int>(exponent(rng)));
        const long double want = std::atan(static_cast<long double>(a)) -
                                 std::atan(static_cast<long double>(b));
        ASSERT_NEAR(lanes::atanDifference(a, b), static_cast<double>(want), 2e-15) << a << " " << b;
    }
}

}  // namespace
}  // namespace calc
