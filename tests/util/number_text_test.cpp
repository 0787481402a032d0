#include "util/number_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace util;

namespace {
std::span<char> field(std::string& text) {
    return std::span<char>(text.data(), text.size());
}

std::string settingsLine(const std::string& text) {
    return text + std::string(80 - text.size(), ' ');
}
}  // namespace

TEST(NumberText, CompactLabels) {
    struct Case {
        float x;
        const char* text;
        int nch;
    };
    const Case cases[] = {
        {12.345f, "    12.34500", 9},  {0.05f, "     0.05000", 11},  {0.0f, "     0.00000", 8},
        {12345.6f, " 12345.59961", 8}, {-123.5f, "  -123.50000", 8}, {-12.5f, "   -12.50000", 9},
        {0.5f, "     0.50000", 10},    {0.002f, "     0.00200", 12}, {0.0004f, "         0.0", 12},
        {1.0e9f, "1000000000.0", 12},
    };
    for (const Case& c : cases) {
        std::string text(15, '?');
        std::int32_t nch = 0;
        FMTFN(field(text), c.x, nch);
        EXPECT_EQ(text, std::string(c.text) + "   ") << c.x;
        EXPECT_EQ(nch, c.nch) << c.x;
    }
}

TEST(NumberText, DecimalPointIsMade) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"1e5   ", "1.E5  "}, {"12    ", "12.   "}, {"123456", "123456"},
        {"1.5e3 ", "1.5E3 "}, {"      ", "      "}, {"-7.   ", "-7.   "},
    };
    for (const Case& c : cases) {
        std::string s = c.in;
        FIXFLOAT(field(s), 6);
        EXPECT_EQ(s, c.out) << c.in;
    }
}

TEST(NumberText, DigitsAfterAKey) {
    EXPECT_EQ(NUMAFTER("profile no 12 of 20", 19, "NO ", 3), 12);
    EXPECT_EQ(NUMAFTER("LINE12X", 7, "LINE", 4), 12);
    EXPECT_EQ(NUMAFTER("LINEX", 5, "LINE", 4), 0);
    EXPECT_EQ(NUMAFTER("12345", 5, "LINE", 4), 0);                   // no key, no number
    EXPECT_EQ(NUMAFTER("N99999999999999999999999", 24, "N", 1), 0);  // does not fit
    EXPECT_EQ(NUMAFTER("N2147483647", 11, "N", 1), 2147483647);
    EXPECT_EQ(NUMAFTER("N12", 0, "N", 1), 0);
    EXPECT_EQ(NUMAFTER("N12", 3, "N", 0), 0);
}

TEST(NumberText, KeywordReadersTakeTheWordAfterTheKey) {
    std::string line = settingsLine("GRIDSTEP= 2.5   more");
    float real = -1;
    EXPECT_TRUE(LREADREAL("GRIDSTEP=", field(line), real));
    EXPECT_EQ(real, 2.5f);
    EXPECT_EQ(line.substr(0, 11), " 2.5   more");

    // A key that is not at the start still gives the word after it.
    line = settingsLine("  COUNT= 42");
    std::int32_t count = -1;
    EXPECT_TRUE(LREADINT("COUNT=", field(line), count));
    EXPECT_EQ(count, 42);

    line = settingsLine("SHOWGRID= F");
    bool flag = true;
    EXPECT_TRUE(LREADLOG("SHOWGRID=", field(line), flag));
    EXPECT_FALSE(flag);
    line = settingsLine("SHOWGRID=T");
    EXPECT_TRUE(LREADLOG("SHOWGRID=", field(line), flag));
    EXPECT_TRUE(flag);

    line = settingsLine("OTHER= 7");
    count = -1;
    EXPECT_FALSE(LREADINT("COUNT=", field(line), count));
    EXPECT_EQ(count, -1);
    EXPECT_EQ(line, settingsLine("OTHER= 7"));

    line = settingsLine("COUNT= many");  // not a number: the value stays
    EXPECT_TRUE(LREADINT("COUNT=", field(line), count));
    EXPECT_EQ(count, -1);
    line = settingsLine("COUNT=");  // nothing after the key reads as 0
    EXPECT_TRUE(LREADINT("COUNT=", field(line), count));
    EXPECT_EQ(count, 0);
    line = std::string(74, ' ') + "COUNT=";  // the key ends the line
    count = 5;
    EXPECT_TRUE(LREADINT("COUNT=", field(line), count));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(line, std::string(80, ' '));
}

TEST(NumberText, FieldReadersKnowTheMissingMarker) {
    float real = 0;
    EXPECT_FALSE(LBADREAL("  12.5  ", real));
    EXPECT_EQ(real, 12.5f);
    EXPECT_FALSE(LBADREAL("1 2", real));  // blanks are ignored
    EXPECT_EQ(real, 12.0f);
    EXPECT_FALSE(LBADREAL("  *  ", real));
    EXPECT_EQ(real, 1.0e20f);
    real = 3;
    EXPECT_TRUE(LBADREAL("abc", real));
    EXPECT_EQ(real, 3.0f);

    std::int32_t i = 0;
    EXPECT_FALSE(LBADINT(" -17 ", i));
    EXPECT_EQ(i, -17);
    EXPECT_FALSE(LBADINT("12*", i));
    EXPECT_EQ(i, 9999999);
    i = 4;
    EXPECT_TRUE(LBADINT("1.5", i));
    EXPECT_TRUE(LBADINT("99999999999", i));
    EXPECT_EQ(i, 4);
}
