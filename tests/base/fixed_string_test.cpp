#include "base/fixed_string.h"

#include <gtest/gtest.h>

using base::FixedString;

TEST(FixedString, PadsCutsAndMeasuresToLastNonBlank) {
    FixedString<8> s("AB C");
    EXPECT_EQ(s.view(), "AB C    ");
    EXPECT_EQ(s.length(), 4u);
    EXPECT_EQ(s.str(), "AB C");
    EXPECT_EQ(FixedString<3>("ABCDEF").view(), "ABC");
    EXPECT_TRUE(FixedString<5>().blank());
}

TEST(FixedString, NulCountsAsBlankOnlyWhenAsked) {
    FixedString<5> s;
    s[0] = 'X';
    s[1] = '\0';
    s[2] = '\0';
    EXPECT_EQ(s.length(), 5u - 2u);  // blanks at 4 and 5 only
    EXPECT_EQ(s.length(true), 1u);
}

TEST(FixedString, ComparesIgnoringPadding) {
    EXPECT_EQ(FixedString<4>("AB"), FixedString<10>("AB"));
    EXPECT_EQ(FixedString<4>("AB"), std::string_view("AB  "));
    EXPECT_LT(FixedString<4>("AB"), FixedString<4>("AC"));
    EXPECT_NE(FixedString<4>(" AB"), FixedString<4>("AB"));
}
