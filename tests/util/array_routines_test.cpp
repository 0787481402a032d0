#include "util/array_routines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace util;
using Floats = std::vector<float>;

TEST(ArrayRoutines, ShiftMovesAndClears) {
    Floats a = {1, 2, 3, 4, 5};
    SHIFTF(a, 5, 2);
    EXPECT_EQ(a, (Floats{0, 0, 1, 2, 3}));
    a = {1, 2, 3, 4, 5};
    SHIFTF(a, 5, -2);
    EXPECT_EQ(a, (Floats{3, 4, 5, 0, 0}));
    for (int k : {5, -5, 0, std::numeric_limits<int>::min()}) {
        a = {1, 2, 3, 4, 5};
        SHIFTF(a, 5, k);
        EXPECT_EQ(a, (Floats{1, 2, 3, 4, 5})) << k;
    }
    std::vector<char> c = {'a', 'b', 'c'};
    SHIFTC(c, 3, 1);
    EXPECT_EQ(c, (std::vector<char>{' ', 'a', 'b'}));
    bool l[3] = {true, true, true};
    SHIFTL(l, 3, -1);
    EXPECT_FALSE(l[2]);
    EXPECT_TRUE(l[0]);
}

TEST(ArrayRoutines, InsertKeepsTheCount) {
    Floats a = {1, 2, 3, 4, 5};
    INSRTF(a, 6, 5, 9);
    EXPECT_EQ(a, (Floats{1, 2, 3, 4, 5}));
    INSRTF(a, 2, 5, 9);
    EXPECT_EQ(a, (Floats{1, 9, 2, 3, 4}));
    INSRTF(a, 5, 5, 7);
    EXPECT_EQ(a, (Floats{1, 9, 2, 3, 7}));
    std::vector<std::int32_t> i = {1, 2};
    INSRTI(i, 1, 2, -1);
    EXPECT_EQ(i, (std::vector<std::int32_t>{-1, 1}));
}

TEST(ArrayRoutines, SortedPositions) {
    Floats up = {1, 3, 5};
    EXPECT_EQ(INSERT(up, 3, 2), 2);
    EXPECT_EQ(INSERT(up, 3, 3), 0);
    EXPECT_EQ(INSERT(up, 3, 0), 1);
    EXPECT_EQ(INSERT(up, 3, 9), 4);
    Floats down = {5, 3, 1};
    EXPECT_EQ(INSERT(down, 3, 4), 2);
    EXPECT_EQ(INSERT(down, 3, 0), 4);
    EXPECT_EQ(INSERT(down, 0, 4), 1);

    EXPECT_EQ(INSERTS(up, 3, 3), 2);
    EXPECT_EQ(INSERTS(up, 3, 1), 1);
    EXPECT_EQ(INSERTS(up, 3, 5), 4);
    EXPECT_EQ(INSERTS(down, 3, 3), 2);
    EXPECT_EQ(INSERTS(down, 3, 6), 1);
    EXPECT_EQ(INSERTS(down, 3, 1), 4);
}

TEST(ArrayRoutines, SumsAveragesAndFloors) {
    Floats a = {5, 20};
    ADDTO(a, 2, -10, 0);
    EXPECT_EQ(a, (Floats{0, 10}));
    std::vector<std::int32_t> i = {5, std::numeric_limits<std::int32_t>::max()};
    IADDTO(i, 2, 10, 0);
    EXPECT_EQ(i, (std::vector<std::int32_t>{15, std::numeric_limits<std::int32_t>::max()}));

    EXPECT_FLOAT_EQ(AVGOF(Floats{1, 3, 1.0e20f}, 3), 2.0f);
    EXPECT_EQ(AVGOF(Floats{1.0e20f}, 1), 0.0f);
    EXPECT_EQ(SUMOF(Floats{1, 2}, 0), 0.0f);
    // Accumulated wide: a float running sum would lose every small term.
    Floats many(1001, 1.0f);
    many[0] = 1.0e8f;
    EXPECT_EQ(SUMOF(many, 1001), 1.0e8f + 1000.0f);

    Floats x = {1, 2, 3, 4};
    Floats y = {10, 20, 30, 40};
    EXPECT_EQ(XTY(x, 1, y, 1, 4), 300.0f);
    EXPECT_EQ(XTY(x, 2, y, 1, 2), 1 * 10 + 3 * 20);
    EXPECT_EQ(XTY(x, 2, y, 1, 9), 1 * 10 + 3 * 20);  // stops at the array's end
    EXPECT_EQ(XTY(x, 1, y, 1, 0), 0.0f);

    Floats v = {1, 1, 1};
    VMXU(v, 2, Floats{1, 2, 3}, 3);
    EXPECT_EQ(v, (Floats{-1, -3, -5}));
}

TEST(ArrayRoutines, WideningAndCopying) {
    std::vector<std::int16_t> s = {-2, 3};
    std::vector<std::int32_t> w(2);
    I2TOI4(s, w, 2);
    EXPECT_EQ(w, (std::vector<std::int32_t>{-2, 3}));
    std::vector<std::int8_t> l = {-1, 0};
    L1TOL4(l, w, 2);
    EXPECT_EQ(w, (std::vector<std::int32_t>{-1, 0}));
    Floats to(3, 0);
    COPY<float>(to, Floats{1, 2, 3}, 2);
    EXPECT_EQ(to, (Floats{1, 2, 0}));
}

TEST(ArrayRoutines, NearestAndRangeScans) {
    Floats a = {1.0e20f, 4, 2, 6};
    EXPECT_EQ(NEARIV(5, a, 4), 2);  // 4 and 6 tie: the first wins
    EXPECT_EQ(NEARIV(1.0e20f, Floats{-1.0e20f}, 1), -1);
    EXPECT_EQ(INDEXX(a, 4, 2.1f), 3);
    EXPECT_EQ(INDEXX(a, 0, 2.1f), 0);
    EXPECT_EQ(KOUNTEM(Floats{1, 2, 1.0e20f, 3}, 4), 2);

    float lo = 0, hi = 0;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    FINDNX(Floats{nan, -3, 2.0e15f, 1.0e-31f, 7}, 5, lo, hi);
    EXPECT_EQ(lo, -3.0f);
    EXPECT_EQ(hi, 7.0f);
    lo = 1, hi = 2;
    FINDNX(Floats{nan}, 1, lo, hi);
    EXPECT_EQ(lo, 1.0f);
    EXPECT_EQ(hi, 2.0f);
}
