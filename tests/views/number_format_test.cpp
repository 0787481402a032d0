#include <gtest/gtest.h>

#include <cmath>

#include "views/number_format.h"

namespace {

TEST(NumberFormat, R2sciSplitsSignMantissaAndExponent) {
    struct Case {
        float x;
        bool neg;
        float mant;
        int exp;
    };
    const Case cases[] = {{9.99999f, false, 9.99999f, 0},
                          {-250.0f, true, 2.5f, 2},
                          {0.00125f, false, 1.25f, -3},
                          {1.0E-31f, false, 0.0f, 0},
                          {1000.0f, false, 1.0f, 3}};
    for (const Case& c : cases) {
        float x = c.x;
        bool neg = false;
        float mant = -1.0f;
        int e = -99;
        views::R2SCI(x, neg, mant, e);
        EXPECT_EQ(neg, c.neg) << c.x;
        EXPECT_NEAR(mant, c.mant, 1.0E-5f) << c.x;
        EXPECT_EQ(e, c.exp) << c.x;
        EXPECT_EQ(x, std::fabs(c.x)) << "the caller's value becomes its magnitude";
    }
}

TEST(NumberFormat, MakfmtChoosesFixedOrExponentDescriptor) {
    struct Case {
        float a, b;
        int w, n, d;
        bool paren;
        const char* want;
    };
    const Case cases[] = {
        {3.14159f, -2.0f, 10, 5, 4, false, "F10. 4          "},
        {1.0E8f, 0.0f, 8, 5, 4, false, "1PE 8. 2        "},
        {3.14159f, -2.0f, 10, 5, 4, true, "(F10. 4  )      "},
        // 9.99999 prints as 10: one more integer digit, one decimal fewer.
        {9.99999f, 0.0f, 10, 4, 4, false, "F10. 2          "},
        // No decimals left but room in the field: one decimal is given.
        {12345.0f, 1.0f, 10, 3, 4, false, "F10. 1          "},
    };
    for (const Case& c : cases) {
        base::FixedString<16> fmt;
        views::MAKFMT(c.a, c.b, c.w, c.n, c.d, c.paren, fmt);
        EXPECT_EQ(std::string(fmt.view()), c.want) << c.a << " " << c.b;
    }
}

TEST(NumberFormat, FitfmtLeavesDecimalsByMagnitude) {
    struct Case {
        float lo, hi;
        int w, want;
    };
    const Case cases[] = {
        {-50.0f, 120.0f, 8, 4}, {-50.0f, 1000.0f, 8, 3}, {-1.0E7f, 0.0f, 8, 0}, {0.0f, 5.0f, 3, 0}};
    for (const Case& c : cases) {
        int nd = -1;
        views::FITFMT(c.lo, c.hi, c.w, nd);
        EXPECT_EQ(nd, c.want) << c.lo << ".." << c.hi;
    }
}

TEST(NumberFormat, RecpolAndOctants) {
    float r = -1.0f, t = -1.0f;
    views::RECPOL(0.0f, 0.0f, r, t);
    EXPECT_EQ(r, 0.0f);
    EXPECT_EQ(t, 0.0f);
    views::RECPOL(0.0f, 2.0f, r, t);
    EXPECT_FLOAT_EQ(r, 2.0f);
    EXPECT_NEAR(t, 1.5707963f, 1.0E-6f);

    struct Oct {
        float angle;
        const char* want;
    };
    const Oct octs[] = {{-90.0f, "W "}, {350.0f, "N "}, {22.4f, "N "}, {22.6f, "NE"},
                        {180.0f, "S "}, {-10.0f, "N "}, {315.0f, "NW"}};
    for (const Oct& o : octs) {
        base::FixedString<4> text;
        views::OCTLAB(o.angle, text);
        EXPECT_EQ(std::string(text.view()), std::string(o.want) + "  ") << o.angle;
    }
}

}  // namespace
