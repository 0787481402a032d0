#include "base/cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, RoundTripsEveryByteThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(base::utf8ToCp1252(base::cp1252ToUtf8(all)), all);
}

TEST(Cp1252, MapsTheWindowsRangeAndLatin1) {
    EXPECT_EQ(base::cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(base::cp1252ToUtf8("\xB0"), "\xC2\xB0");      // degree sign
    EXPECT_EQ(base::utf8ToCp1252("\xE2\x80\x94"), "\x97");  // em dash
}

TEST(Cp1252, ReplacesWhatTheCodePageCannotHold) {
    EXPECT_EQ(base::utf8ToCp1252("a\xE2\x88\x9E"
                                 "b"),
              "a?b");                                 // infinity
    EXPECT_EQ(base::utf8ToCp1252("\xFF\xC3"), "??");  // malformed
}
