#include "util/nice_axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace util;

TEST(NiceAxis, LinearAxesOfTheTable) {
    struct Case {
        float vmin, vmax, start, step;
        std::int32_t ndiv;
    };
    const Case cases[] = {
        {0, 7.3f, 0, 2, 4},
        {0, 100, 0, 50, 2},
        {3, 97, 0, 20, 5},
        {-12.5f, 37, -20, 20, 3},
        {49800, 50200, 49800, 100, 4},
        {5, 5, -5, 5, 4},
        {0.0013f, 0.0021f, 0.0013f, 0.0002f, 4},
    };
    for (const Case& c : cases) {
        float start = -1, step = -1;
        std::int32_t ndiv = -1, k = -1;
        LINNX(c.vmin, c.vmax, start, step, ndiv, k);
        EXPECT_FLOAT_EQ(start, c.start) << c.vmin << ".." << c.vmax;
        EXPECT_FLOAT_EQ(step, c.step) << c.vmin << ".." << c.vmax;
        EXPECT_EQ(ndiv, c.ndiv) << c.vmin << ".." << c.vmax;
        EXPECT_EQ(k, 5);
    }
}

TEST(NiceAxis, LinearAxisAlwaysCoversItsRange) {
    // Large offsets with a small spread among them: absolute gravity in mGal
    // and total field in nT, and their negatives.
    const std::vector<std::pair<float, float>> ranges = {
        {979800, 979850},     {979812.5f, 979813.25f}, {49990, 50010},     {-979850, -979800},
        {1.0e7f, 1.0e7f + 4}, {-3.5f, -3.25f},         {1.0e-6f, 3.0e-6f}, {0, 1.0e30f},
    };
    for (auto [lo, hi] : ranges) {
        float start = 0, step = 0;
        std::int32_t ndiv = 0, k = 0;
        LINNX(lo, hi, start, step, ndiv, k);
        EXPECT_GT(step, 0.0f) << lo;
        EXPECT_LE(start, lo) << lo;
        EXPECT_GE(start, lo - step) << lo;
        EXPECT_GE(start + ndiv * step, hi * (hi > 0 ? 1 - 1e-7f : 1 + 1e-7f)) << lo;
        EXPECT_GE(ndiv, 1) << lo;
        EXPECT_LE(ndiv, 5) << lo;
    }
}

TEST(NiceAxis, LinearAxisOfBadRanges) {
    float start = 0, step = 0;
    std::int32_t ndiv = 0, k = 0;
    LINNX(5, 1, start, step, ndiv, k);  // inverted: 0..1
    EXPECT_EQ(start, 0.0f);
    EXPECT_GE(start + ndiv * step, 1.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (auto [lo, hi] : {std::pair{nan, 1.0f}, std::pair{-inf, inf}, std::pair{0.0f, inf}}) {
        LINNX(lo, hi, start, step, ndiv, k);
        EXPECT_TRUE(std::isfinite(start) && std::isfinite(step));
        EXPECT_GE(ndiv, 1);
        EXPECT_LE(ndiv, 5);
    }
}

TEST(NiceAxis, DecadeRanges) {
    std::int32_t l1 = 0, l2 = 0;
    LOGNX(0.05f, 300, l1, l2);
    EXPECT_EQ(l1, -2);
    EXPECT_EQ(l2, 3);
    LOGNX(5, 5, l1, l2);
    EXPECT_EQ(l1, 0);
    EXPECT_EQ(l2, 1);
    LOGNX(0, 0, l1, l2);  // the guard keeps zero finite
    EXPECT_EQ(l1, -21);
    EXPECT_EQ(l2, -20);

    LOG2NX(3, 20, l1, l2);
    EXPECT_EQ(l1, 1);
    EXPECT_EQ(l2, 5);
    LOG2NX(0.3f, 0.7f, l1, l2);
    EXPECT_EQ(l1, -2);
    EXPECT_EQ(l2, 0);
    for (float bad : {0.0f, -8.0f, std::numeric_limits<float>::quiet_NaN()}) {
        LOG2NX(bad, bad, l1, l2);
        EXPECT_GT(l1, -100) << bad;
        EXPECT_LT(l2, 100) << bad;
        EXPECT_LE(l1, l2) << bad;
    }
}

TEST(NiceAxis, FixedDivisionAxes) {
    float start = 0, step = 0;
    std::int32_t minor = 0, ndiv = 5;
    FIGLIM(0, 10, start, step, minor, ndiv);
    EXPECT_EQ(start, 0.0f);
    EXPECT_EQ(step, 2.0f);
    EXPECT_EQ(minor, 4);
    ndiv = 0;  // a count below 1 becomes 2
    FIGLIM(0, 7, start, step, minor, ndiv);
    EXPECT_EQ(ndiv, 2);
    EXPECT_EQ(step, 4.0f);
    EXPECT_EQ(minor, 4);
    ndiv = 3;
    FIGLIM(0, 0.9f, start, step, minor, ndiv);
    EXPECT_FLOAT_EQ(step, 0.3f);
    EXPECT_EQ(minor, 6);
}

TEST(NiceAxis, MirroredFixedDivisionAxisCoversTheRange) {
    struct Case {
        float vmin, vmax;
        std::int32_t ndiv;
    };
    for (const Case& c : {Case{-100, -50, 5}, Case{-10, 0, 5}, Case{-37, -12, 4}, Case{-7, -6, 2},
                          Case{120, 180, 3}, Case{-40, 25, 4}}) {
        float start = 0, step = 0;
        std::int32_t minor = 0, ndiv = c.ndiv;
        FIGLIM(c.vmin, c.vmax, start, step, minor, ndiv);
        EXPECT_LE(start, c.vmin) << c.vmin << ".." << c.vmax;
        EXPECT_GE(start + ndiv * step, c.vmax) << c.vmin << ".." << c.vmax;
        EXPECT_GE(start, c.vmin - (c.vmax - c.vmin) - step) << c.vmin << ".." << c.vmax;
    }
    float start = 0, step = 0;
    std::int32_t minor = 0, ndiv = 5;
    FIGLIM(-100, -50, start, step, minor, ndiv);
    EXPECT_EQ(start, -100.0f);
    EXPECT_EQ(step, 10.0f);
    ndiv = 2;
    FIGLIM(0, 0, start, step, minor, ndiv);  // nothing to span
    EXPECT_TRUE(std::isfinite(start) && step > 0.0f);
}

TEST(NiceAxis, LabelDecimals) {
    EXPECT_EQ(JSIG(250), -1);
    EXPECT_EQ(JSIG(2.5f), 2);
    EXPECT_EQ(JSIG(0.25f), 3);
    EXPECT_EQ(JSIG(12.5f), 1);
    EXPECT_EQ(JSIG(-150.5f), 0);
    EXPECT_EQ(JSIG(0), -1);
    EXPECT_EQ(JSIG(3.0e9f), -1);
    EXPECT_EQ(JSIG(-1.0e30f), -1);
    EXPECT_EQ(JSIG(std::numeric_limits<float>::infinity()), -1);
}

TEST(NiceAxis, RangeScans) {
    float lo = 1.0e30f, hi = 0;
    GETNX(std::vector<float>{-5, 0, 2, 1.0e16f, 1.0e-16f, std::nanf("")}, 6, lo, hi);
    EXPECT_EQ(lo, 2.0f);
    EXPECT_EQ(hi, 5.0f);
    std::int32_t imin = 0, imax = 0;
    IFNDNX(std::vector<std::int32_t>{3, -4, 9}, 3, imin, imax);
    EXPECT_EQ(imin, -4);
    EXPECT_EQ(imax, 9);
    IFNDNX(std::vector<std::int32_t>{30}, 0, imin, imax);
    EXPECT_EQ(imax, 9);
}
