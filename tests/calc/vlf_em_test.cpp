#include "calc/vlf_em.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using calc::VlfBlock;
constexpr float kMissing = calc::kVlfMissing;

VlfBlock block(std::vector<float>& v, int n, int m) {
    return VlfBlock{v, n, m};
}

TEST(VlfEm, FraserFilterPerColumn) {
    // Two columns of six points; the second has a gap at point 4.
    std::vector<float> in = {1, 2, 4, 8, 16, 32, /**/ 1, 1, 1, kMissing, 1, 1};
    std::vector<float> out(12, 0.0f), flipped(12, 0.0f);
    calc::FRASER(block(out, 6, 2), block(in, 6, 2), false);
    calc::FRASER(block(flipped, 6, 2), block(in, 6, 2), true);
    const std::vector<float> expected = {
        kMissing, (1 + 2) - (4 + 8), (2 + 4) - (8 + 16), (4 + 8) - (16 + 32),
        kMissing, kMissing,          kMissing,           kMissing,
        kMissing, kMissing,          kMissing,           kMissing};
    EXPECT_EQ(out, expected);
    for (int i = 2; i <= 4; ++i)
        EXPECT_EQ(flipped[static_cast<std::size_t>(i - 1)],
                  -expected[static_cast<std::size_t>(i - 1)]);
    EXPECT_EQ(flipped[0], kMissing);

    // Fewer than four points: nothing can be filtered.
    std::vector<float> shortIn = {1, 2, 3}, shortOut = {0, 0, 0};
    calc::FRASER(block(shortOut, 3, 1), block(shortIn, 3, 1), false);
    EXPECT_EQ(shortOut, (std::vector<float>{kMissing, kMissing, kMissing}));
}

TEST(VlfEm, CurrentDensityFilter) {
    // A straight line in of slope 1 over stations 10 apart: each side sum is
    // the weights times (i - 1, i - 2, i - 3) or (i + 1, i + 2, i + 3).
    const int n = 9;
    std::vector<float> in(n), pos(n), out(n, 0.0f), out2(n, 0.0f);
    for (int i = 1; i <= n; ++i) {
        in[static_cast<std::size_t>(i - 1)] = static_cast<float>(i);
        pos[static_cast<std::size_t>(i - 1)] = 10.0f * static_cast<float>(i);
    }
    in[7] = kMissing;  // point 8 lies in the windows of points 5 and 6
    calc::HJELT_M(block(out, n, 1), block(out2, n, 1), block(in, n, 1), pos);
    const float side = -2.0f * (0.59f * 1 + 0.102f * 2 + 0.561f * 3);
    for (int i = 1; i <= n; ++i) {
        SCOPED_TRACE(i);
        const float v = out[static_cast<std::size_t>(i - 1)];
        if (i == 4) {
            EXPECT_NEAR(v, side / (3.14159f * 10.0f), 1e-6f);
        } else {
            EXPECT_EQ(v, kMissing);
        }
    }
    EXPECT_EQ(out2, out);

    // Stations at one place: no spacing to divide by.
    std::vector<float> samePos(n, 5.0f), out3(n, 0.0f);
    in[7] = 8.0f;
    calc::HJELT_D(block(out3, n, 1), block(in, n, 1), samePos);
    EXPECT_EQ(out3, std::vector<float>(n, kMissing));
}

TEST(VlfEm, Conversions) {
    std::vector<float> a = {3, 100, kMissing, 0}, b = {4, 0, 1, 1E10f};
    std::vector<float> out(4, 0.0f);
    calc::MAKAMP(block(out, 4, 1), block(a, 4, 1), block(b, 4, 1));
    EXPECT_FLOAT_EQ(out[0], 5.0f);
    EXPECT_FLOAT_EQ(out[1], 100.0f);
    EXPECT_EQ(out[2], kMissing);
    EXPECT_EQ(out[3], kMissing);  // 1.0E10 already counts as missing

    calc::MAKPHS(block(out, 4, 1), block(a, 4, 1), block(b, 4, 1));
    EXPECT_FLOAT_EQ(out[0], std::atan2(4.0f, 3.0f));
    EXPECT_FLOAT_EQ(out[1], 0.0f);
    EXPECT_EQ(out[2], kMissing);

    std::vector<float> percent = {100, -100, 0, kMissing};
    calc::MAKTLT(block(out, 4, 1), block(percent, 4, 1));
    EXPECT_NEAR(out[0], 45.0f, 1e-3f);
    EXPECT_NEAR(out[1], -45.0f, 1e-3f);
    EXPECT_EQ(out[2], 0.0f);
    EXPECT_EQ(out[3], kMissing);

    std::vector<float> angle = {45, 0, -45, kMissing};
    calc::MAKIPD(block(out, 4, 1), block(angle, 4, 1));
    EXPECT_NEAR(out[0], 100.0f, 1e-2f);
    EXPECT_EQ(out[1], 0.0f);
    EXPECT_NEAR(out[2], -100.0f, 1e-2f);
    EXPECT_EQ(out[3], kMissing);

    calc::MAKELP(block(out, 4, 1), block(percent, 4, 1));
    EXPECT_FLOAT_EQ(out[0], 1.0f);
    EXPECT_EQ(out[3], kMissing);
    calc::MAKQDD(block(out, 4, 1), block(b, 4, 1));
    EXPECT_FLOAT_EQ(out[0], 400.0f);
    EXPECT_EQ(out[3], kMissing);

    float amplitude = 0.0f;
    EXPECT_FLOAT_EQ(calc::AMPPHS(0.0f, 2.0f, amplitude), std::atan2(2.0f, 0.0f));
    EXPECT_FLOAT_EQ(amplitude, 2.0f);
    EXPECT_EQ(calc::AMPPHS(kMissing, 2.0f, amplitude), kMissing);
    EXPECT_EQ(amplitude, kMissing);
}

TEST(VlfEm, CopiesBetweenArrayAndWorkArrays) {
    std::vector<float> first(6, 0.0f), second(6, 0.0f), array = {1, 2, 3, 4, 5, 6};
    calc::VlfWorkArrays work{block(first, 3, 2), block(second, 3, 2)};
    calc::COPYVLF(work, block(array, 3, 2), 0);
    EXPECT_EQ(first, array);
    calc::COPYVLF(work, block(array, 3, 2), 18);
    EXPECT_EQ(second, array);
    calc::COPYVLF(work, block(array, 3, 2), 7);  // no such kind: nothing
    first[4] = 50;
    calc::COPYVLF(work, block(array, 3, 2), -1);
    EXPECT_EQ(array[4], 50.0f);
    second[0] = 70;
    calc::COPYVLF(work, block(array, 3, 2), -2);
    EXPECT_EQ(array, second);

    // Only the common part of blocks of different shapes is copied.
    std::vector<float> small = {9, 9};
    calc::COPYVLF(work, block(small, 1, 2), -1);
    EXPECT_EQ(small, (std::vector<float>{first[0], first[3]}));
}

}  // namespace
