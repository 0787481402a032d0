#include "base/fortran_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using base::formatInteger;
using base::formatReal;
using base::FormatValue;
using base::writeFormatted;

namespace {

struct IntCase {
    const char* format;
    long long value;
    const char* text;
};

TEST(FortranWrite, IntegerDescriptors) {
    const IntCase cases[] = {
        {"I5", 42, "   42"},     {"(I3)", -5, " -5"},
        {"(I2.2)", 7, "07"},     {"(I10.10)", 123, "0000000123"},
        {"(I4.3)", -7, "-007"},  {"(I5)", 123456, "*****"},
        {"(I4)", 12345, "****"}, {"(I2)", -10, "**"},
        {"(I3.0)", 0, "   "},  // zero with no minimum digits is all blanks
        {"(I1)", 0, "0"},        {"(I20)", -9223372036854775807LL - 1, "-9223372036854775808"},
        {"(SP,I4)", 12, " +12"}, {"(i4)", 12, "  12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(formatInteger(c.value, c.format), std::optional<std::string>(c.text));
    }
}

struct RealCase {
    const char* format;
    double value;
    const char* text;
};

void checkReals(std::initializer_list<RealCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " of " + std::to_string(c.value));
        EXPECT_EQ(formatReal(c.value, c.format), std::optional<std::string>(c.text));
    }
}

TEST(FortranWrite, FixedPoint) {
    checkReals({
        {"F8.2", -3.14159, "   -3.14"},
        {"(F8.3)", 1.5, "   1.500"},
        {"(F3.1)", 0.5, "0.5"},
        {"(F3.1)", 0.25, "0.3"},  // exact tie, away from zero, leading zero fits
        {"(F2.1)", 0.25, ".3"},   // no room for the leading zero
        {"(F4.1)", -0.25, "-0.3"},
        {"(F3.1)", -0.25, "-.3"},
        {"(F2.1)", -0.25, "**"},
        {"(F4.2)", 0.125, "0.13"},  // 0.125 is exact in binary: a true tie
        {"(F4.1)", 0.35, " 0.3"},   // the double nearest 0.35 lies below it
        {"(F4.1)", 0.45, " 0.5"},   // ... and the one nearest 0.45 above it
        {"(F5.0)", 2.5, "   3."},
        {"(F5.0)", -2.5, "  -3."},
        {"(F11.0)", 0.3, "         0."},
        {"(F5.2)", -0.001, " 0.00"},  // a negative value rounding to zero has no sign
        {"(F8.2)", 1.0e20, "********"},
        {"(F10.2)", 99999.995, "  99999.99"},  // stored a little below the tie
        {"(F10.2)", 1234567.125, "1234567.13"},
        {"(F15.6)", 1.0 / 3.0, "       0.333333"},
        {"(F6.2)", 9.999, " 10.00"},
        {"(F3.0)", 999.4, "***"},
        {"(F40.0)", 1.0e30, "        1000000000000000019884624838656."},
        {"(SP,F6.2)", 1.5, " +1.50"},
        {"(2P,F8.2)", 1.2345, "  123.45"},  // scale multiplies the value for F
        {"(-1P,F8.3)", 12.5, "   1.250"},
    });
}

TEST(FortranWrite, BareFixedPointIsAsWideAsTheValueNeeds) {
    checkReals({
        {"(F)", 2.5, "2.5"},
        {"(F)", 0.0, "0.0"},
        {"(F)", 50000.0, "50000.0"},
        {"(F)", static_cast<double>(0.27f), "0.27"},  // seven significant digits
        {"(F)", static_cast<double>(0.27f * 2.54f), "0.6858"},
        {"(F)", -1234.5, "-1234.5"},
        {"F", 1.0e-3, "0.001"},
    });
}

TEST(FortranWrite, ExponentForms) {
    checkReals({
        {"(1PE8.1)", 1234.0, " 1.2E+03"},
        {"(E10.3)", 1234.0, " 0.123E+04"},
        {"(E9.3)", 1234.0, "0.123E+04"},
        {"(E8.3)", 1234.0, ".123E+04"},  // leading zero dropped when short of room
        {"(E10.3)", -1234.0, "-0.123E+04"},
        {"(E9.3)", -1234.0, "-.123E+04"},
        {"(E8.3)", -1234.0, "********"},
        {"(E10.3)", 0.0, " 0.000E+00"},
        {"(1PE10.3)", 0.0, " 0.000E+00"},
        {"(E10.3)", 9.9996, " 0.100E+02"},  // rounding carries into the exponent
        {"(1PE11.3)", 6.02214076e23, "  6.022E+23"},
        {"(2PE10.3)", 1234.0, " 12.34E+02"},
        {"(-1PE10.3)", 1234.0, " 0.012E+05"},
        {"(E10.3)", 1.0e-150, " 0.100-149"},  // three exponent digits, no letter
        {"(E11.3E3)", 1.0e-150, " 0.100E-149"},
        {"(E10.3E1)", 1.0e10, "**********"},  // exponent needs more digits than e
        {"(E10.4E1)", 5.0, " 0.5000E+1"},
        {"(D10.3)", 0.025, " 0.250D-01"},
        {"(1PD10.2)", -5.0e-5, " -5.00D-05"},
        {"(E12.4)", 2.5e-320, "  0.2500-319"},  // subnormal
    });
    // A scale factor outside the digits the descriptor has is unusable.
    EXPECT_FALSE(formatReal(1.0, "(3PE10.1)"));
    EXPECT_FALSE(formatReal(1.0, "(-2PE10.2)"));
}

TEST(FortranWrite, GeneralForm) {
    checkReals({
        {"(G15.5E2)", 1.5, "     1.5000    "},
        {"(G15.5E2)", 0.0, "     0.0000    "},
        {"(G15.5E2)", 1.23456e5, "    0.12346E+06"},
        {"(G15.5E2)", 0.05, "    0.50000E-01"},
        {"(G15.5E2)", 9.99994e4, "     99999.    "},
        {"(G15.5E2)", 9.99996e4, "    0.10000E+06"},  // rounds up to 10^d: exponent form
        {"(G15.5E2)", 0.1, "    0.10000    "},
        {"(G15.5E2)", 0.0999996, "    0.10000    "},  // rounds up into the fixed range
        {"(G15.5E2)", 0.0999994, "    0.99999E-01"},
        {"(G15.5E2)", -123.456, "    -123.46    "},
        {"(G12.3)", 12.345, "    12.3    "},
        {"(G10.3)", 1.0e10, " 0.100E+11"},
        {"(1PG12.3)", 1.0e10, "   1.000E+10"},  // the scale factor applies in exponent form
        {"(1PG12.3)", 12.345, "    12.3    "},  // ... and not in fixed form
        {"(G5.3)", 12.345, "*****"},
    });
}

TEST(FortranWrite, SpecialValues) {
    const double inf = std::numeric_limits<double>::infinity();
    checkReals({
        {"(F10.2)", inf, "  Infinity"},
        {"(F5.2)", -inf, " -Inf"},
        {"(F2.0)", inf, "**"},
        {"(E10.3)", std::numeric_limits<double>::quiet_NaN(), "       NaN"},
    });
}

TEST(FortranWrite, SinglePrecisionUsesTheExactFloatValue) {
    // 0.1f is 0.100000001490116...: its exact value, not the double 0.1.
    EXPECT_EQ(writeFormatted("(F12.10)", {0.1f}), "0.1000000015");
    EXPECT_EQ(writeFormatted("(F12.10)", {0.1}), "0.1000000000");
}

TEST(FortranWrite, RecordsListsAndRepeatCounts) {
    EXPECT_EQ(writeFormatted("(I5,F10.2,5F13.4)", {3, 2.5, 1.0, 2.0, 3.0, 4.0, 5.0}),
              "    3      2.50       1.0000       2.0000       3.0000       4.0000       5.0000");
    EXPECT_EQ(writeFormatted("(2(I2,'x'),A)", {1, 2, "end"}), " 1x 2xend");
    EXPECT_EQ(writeFormatted("(A4,2X,L2,A)", {"ABCDEF", true, "z"}), "ABCD   Tz");
    EXPECT_EQ(writeFormatted("(A6)", {"AB"}), "    AB");
    EXPECT_EQ(writeFormatted("(3HKEY,I3)", {5}), "KEY  5");
    EXPECT_EQ(writeFormatted("('it''s',I2)", {5}), "it's 5");
    EXPECT_EQ(writeFormatted("(\"a\"\"b\")", {}), "a\"b");
    // Output stops at the first data descriptor with no value left, or at a colon.
    EXPECT_EQ(writeFormatted("(I3,' m',I3,' s')", {1}), "  1 m");
    EXPECT_EQ(writeFormatted("(I3,:,' m')", {1}), "  1");
    // A slash and format reversion start new records; reversion goes back to the
    // last outer group with its repeat count.
    EXPECT_EQ(writeFormatted("(I2/I2)", {1, 2}), " 1\n 2");
    EXPECT_EQ(writeFormatted("(3I2)", {1, 2, 3, 4, 5}), " 1 2 3\n 4 5");
    EXPECT_EQ(writeFormatted("(A,2(I2))", {"h", 1, 2, 3, 4}), "h 1 2\n 3 4");
    // Positioning: T, TL, TR; trailing X writes nothing.
    EXPECT_EQ(writeFormatted("(T5,I1,TL3,I1,TR2,I1)", {1, 2, 3}), "  2 13");
    EXPECT_EQ(writeFormatted("(I1,5X)", {7}), "7");
    EXPECT_EQ(writeFormatted("(I1,5X,I1)", {7, 8}), "7     8");
    // The scale factor holds until changed.
    EXPECT_EQ(writeFormatted("(1P,E9.2,E9.2,0P,E9.2)", {5.0, 5.0, 5.0}),
              " 5.00E+00 5.00E+00 0.50E+01");
    EXPECT_EQ(writeFormatted("( i 3 , f 6 . 2 )", {1, 2.0}), "  1  2.00");
    EXPECT_EQ(writeFormatted("I3,F6.2", {1, 2.0}), "  1  2.00");
    // A parsed format can be reused.
    auto fmt = base::FortranFormat::parse("(F6.1)");
    ASSERT_TRUE(fmt);
    EXPECT_EQ(fmt->write({1.25}), "   1.3");
    EXPECT_EQ(fmt->write({-1.25}), "  -1.3");
}

TEST(FortranWrite, UnusableFormatsAndMismatchedValuesFail) {
    const char* bad[] = {"",
                         "(I5",
                         "I5)",
                         "(F8)",
                         "(E8)",
                         "(I0)",
                         "(I2.3)",
                         "(Z5)",
                         "(5)",
                         "(0I5)",
                         "(2'x')",
                         "('open)",
                         "(G10)",
                         "(L)",
                         "(T0)",
                         "(+I5)",
                         "(I5)(I5)",
                         "(E10.3E0)",
                         "(99999999999I5)",
                         "(9999(9999I1))"};
    for (const char* f : bad) {
        SCOPED_TRACE(f);
        EXPECT_FALSE(formatInteger(1, f));
        EXPECT_FALSE(formatReal(1.0, f));
    }
    EXPECT_FALSE(formatReal(1.0, "(I5)"));
    EXPECT_FALSE(formatInteger(1, "(F8.2)"));
    EXPECT_FALSE(formatInteger(1, "(G15.5E2)"));
    EXPECT_FALSE(writeFormatted("(L2)", {1}));
    EXPECT_FALSE(writeFormatted("(A)", {1.0}));
    EXPECT_FALSE(writeFormatted("('no data')", {1}));
    EXPECT_EQ(writeFormatted("()", {}), "");
}

TEST(FortranWrite, AgreesWithExactRoundingAcrossManyValues) {
    // Against an independent rule: the correctly rounded digits of a value that
    // is not a tie never depend on the tie rule, so F and E agree with them.
    for (int i = -300; i <= 300; ++i) {
        double v = i * 1.37 + 0.001 * i * i;
        auto f = formatReal(v, "(F12.4)");
        ASSERT_TRUE(f);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%12.4f", v);  // "C" locale in tests
        EXPECT_EQ(*f, std::string(buf)) << v;
    }
}

}  // namespace

namespace {

TEST(FortranWrite, ArbitraryFormatTextsNeverBreakTheEngine) {
    // Random texts over the format alphabet: every one either parses or not,
    // and writing under it answers something, without touching stray memory.
    const char* pieces[] = {"I3",  "I2.2", "F8.2", "F3.1", "E10.3", "G15.5E2", "D8.1", "1P",
                            "-1P", "(",    ")",    "2",    ",",     "X",       "T3",   "TL2",
                            "TR1", "'a'",  "/",    ":",    "A",     "A2",      "L2",   "SP",
                            "BZ",  "3H",   "E",    ".",    "0",     "9",       " ",    "\""};
    unsigned state = 12345;
    auto nextRandom = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7FFF;
    };
    const std::vector<FormatValue> values = {1, -2.5, 3, "txt", true, 1.0e-300, 7};
    int parsedCount = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string format;
        int length = static_cast<int>(nextRandom() % 8);
        for (int k = 0; k < length; ++k)
            format += pieces[nextRandom() % std::size(pieces)];
        auto parsed = base::FortranFormat::parse(format);
        if (!parsed) continue;
        ++parsedCount;
        for (std::size_t n = 0; n <= values.size(); ++n)
            (void)parsed->write(std::span<const FormatValue>(values.data(), n));
    }
    EXPECT_GT(parsedCount, 2000);  // the texts do reach the writer
}

}  // namespace
