#include "util/plane_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using namespace util;
using Floats = std::vector<float>;

namespace {
const Floats kSquareX = {0, 1, 1, 0};  // anticlockwise
const Floats kSquareZ = {0, 0, 1, 1};
const Floats kSquareXcw = {0, 0, 1, 1};  // clockwise
const Floats kSquareZcw = {0, 1, 1, 0};
}  // namespace

TEST(PlaneGeometry, InsideUnitSquareInBothOrientations) {
    struct Case {
        float x, z;
        int want;
    };
    const Case cases[] = {
        {0.5f, 0.5f, 1},                      // centre
        {2.0f, 0.5f, 0},                      // outside
        {-0.5f, -0.5f, 0}, {0.0f, 0.0f, -1},  // corner
        {1.0f, 1.0f, -1},  {0.5f, 0.0f, -1},  // middle of an edge
        {1.0f, 0.25f, -1}, {3.0f, 0.0f, 0},   // in line with the bottom edge, beyond it
        {-2.0f, 1.0f, 0},                     // in line with the top edge, beyond it
        {0.0f, 7.0f, 0},                      // in line with the left edge, above it
    };
    for (const Case& c : cases) {
        EXPECT_EQ(INSIDE(c.x, c.z, kSquareX, kSquareZ, 4), c.want) << c.x << "," << c.z;
        EXPECT_EQ(INSIDE(c.x, c.z, kSquareXcw, kSquareZcw, 4), c.want) << c.x << "," << c.z;
    }
}

TEST(PlaneGeometry, CollinearPointBeyondAnOddEdgeIsNotOnIt) {
    // A slanted edge from (1, 1) to (3, 2); (5, 3) continues its line.
    Floats x = {0, 1, 3, 2};
    Floats z = {0, 1, 2, 4};
    EXPECT_EQ(INSIDE(5.0f, 3.0f, x, z, 4), 0);
    EXPECT_EQ(INSIDE(1.5f, 2.0f, x, z, 4), 1);
    // Here rounding leaves the edge a tiny angle although the point is
    // exactly in line with it and well outside.
    Floats x2 = {0, 0.1f, 1, 1};
    Floats z2 = {0, 0.4f, 0.5f, 0};
    EXPECT_EQ(INSIDE(-0.2f, -0.8f, x2, z2, 4), 0);
    EXPECT_EQ(INSIDE(0.05f, 0.2f, x2, z2, 4), -1);
}

TEST(PlaneGeometry, InsideSkipsRepeatsClampsAndRefusesNaN) {
    Floats x = {0, 1, 1, 1, 0, 0};
    Floats z = {0, 0, 0, 1, 1, 0};
    EXPECT_EQ(INSIDE(0.5f, 0.5f, x, z, 6), 1);
    // A vertex at 3.0E9 counts as 1.0E8, and so does the point: it lands on
    // the clamped right-hand edge.
    Floats wideX = {0, 3.0e9f, 3.0e9f, 0};
    EXPECT_EQ(INSIDE(2.0e9f, 0.5f, wideX, kSquareZ, 4), -1);
    EXPECT_EQ(INSIDE(5.0e7f, 0.5f, wideX, kSquareZ, 4), 1);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(INSIDE(nan, 0.5f, kSquareX, kSquareZ, 4), 0);
    EXPECT_EQ(INSIDE(0.5f, 0.5f, kSquareX, kSquareZ, 0), 0);
}

TEST(PlaneGeometry, APointBeyondThePolygonBoxIsOutside) {
    // The box stands in for the winding only where the winding is 0.
    const Floats wideX = {0, 3.0e9f, 3.0e9f, 0};
    struct Case {
        const Floats& x;
        float x0, z0;
        bool beyond;
    };
    const Case cases[] = {
        {kSquareX, 2.0f, 0.5f, true},     {kSquareX, 0.5f, -0.1f, true},
        {kSquareX, 0.5f, 0.5f, false},    {kSquareX, 1.0f, 0.5f, false},  // on an edge
        {kSquareX, 3.0f, 0.0f, true},     // in line with the bottom edge
        {wideX, 2.0e9f, 0.5f, false},     // both confined to 1.0E8: on the edge
        {wideX, 5.0e7f, 1.5f, true},
    };
    for (const Case& c : cases) {
        const PolygonBox box = polygonBox(c.x, kSquareZ, 4);
        ASSERT_TRUE(box.usable);
        EXPECT_EQ(box.beyond(c.x0, c.z0), c.beyond) << c.x0 << "," << c.z0;
        if (c.beyond) EXPECT_EQ(INSIDE(c.x0, c.z0, c.x, kSquareZ, 4), 0) << c.x0 << "," << c.z0;
    }
    // A NaN vertex, a NaN point or no vertex: nothing is known to be beyond.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Floats nanX = {0, nan, 1, 0};
    EXPECT_FALSE(polygonBox(nanX, kSquareZ, 4).usable);
    EXPECT_FALSE(polygonBox(nanX, kSquareZ, 4).beyond(5.0f, 5.0f));
    EXPECT_FALSE(polygonBox(kSquareX, kSquareZ, 4).beyond(nan, 0.5f));
    EXPECT_FALSE(polygonBox(kSquareX, kSquareZ, 0).beyond(5.0f, 5.0f));
}

TEST(PlaneGeometry, RelativeEqualityAndNaN) {
    EXPECT_TRUE(LNLYEQ(1.0f, 1.0000005f));
    EXPECT_FALSE(LNLYEQ(1.0f, 1.00001f));
    EXPECT_TRUE(LNLYEQ(0.0f, 1.0e-7f));
    EXPECT_TRUE(LNLYEQ(1.0e-7f, 0.0f));
    EXPECT_FALSE(LNLYEQ(1.0f, -1.0f));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(LNLYEQ(nan, nan));
    EXPECT_TRUE(LEQNAN(nan));
    EXPECT_FALSE(LEQNAN(1.0f));
    EXPECT_TRUE(LEQNANQ(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(LEQNANQ(1.0));
    // A double whose low half reads as a float NaN.
    EXPECT_TRUE(LEQNANQ(std::bit_cast<double>(std::uint64_t{0x3FF000007FC00000})));
}

TEST(PlaneGeometry, FootOfThePerpendicular) {
    struct Case {
        float x0, z0, xa, za, xb, zb, xi, zi;
    };
    const Case cases[] = {
        {5, 1, 0, 0, 10, 0, 5, 0},
        {12, 1, 0, 0, 10, 0, 12, 1.0e20f},
        {1, 5, 0, 0, 0, 10, 0, 5},
        {1, 12, 0, 0, 0, 10, 1.0e20f, 12},
        {0, 2, 0, 0, 2, 2, 1, 1},              // 45 degrees: the vertical construction
        {4, 0, 0, 0, 4, 2, 3.2f, 1.6f},        // mainly horizontal, slanted
        {3, 3, 1, 1, 1, 1, 1.0e20f, 1.0e20f},  // no length
    };
    for (const Case& c : cases) {
        float xi = 0, zi = 0;
        ISECT(c.x0, c.z0, c.xa, c.za, c.xb, c.zb, xi, zi);
        EXPECT_NEAR(xi, c.xi, 1e-4f * std::max(1.0f, std::fabs(c.xi))) << c.x0 << "," << c.z0;
        EXPECT_NEAR(zi, c.zi, 1e-4f * std::max(1.0f, std::fabs(c.zi))) << c.x0 << "," << c.z0;
    }
}
