#include "toolkit/core/string_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "toolkit/core/toolkit_state.h"

namespace tk {
namespace {

class StringConversion : public ::testing::Test {
  protected:
    void SetUp() override { toolkitState().reset(); }
    void TearDown() override { toolkitState().reset(); }

    static int lastError() { return toolkitState().LastErrorNumber; }
    static std::string lastRoutine() { return toolkitState().LastErrorRoutine; }
    static void clearError() { toolkitState().LastErrorNumber = 0; }
};

TEST_F(StringConversion, IntegerToStringWritesFromPositionOneAndBlanksTheRest) {
    std::string text(8, '#');
    IntegerToString(-5, text, "(I3)");
    EXPECT_EQ(text, " -5     ");
    IntegerToString(7, text, "(I2.2)");
    EXPECT_EQ(text, "07      ");
    IntegerToString(123, text, "(i4)");
    EXPECT_EQ(text, " 123    ");
    EXPECT_EQ(lastError(), 0);
}

TEST_F(StringConversion, FormattingFailuresGiveTenAsterisksAndError18) {
    struct Case {
        int width;
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {8, "(I4)", "********"},                             // value does not fit: cut to the text
        {12, "(I4)", "**********  "},   {3, "(I4)", "***"},  // text shorter than the field
        {12, "(F8.2)", "**********  "},                      // wrong kind for an integer
        {12, "(I4", "**********  "},                         // unusable format
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        clearError();
        std::string text(static_cast<std::size_t>(c.width), ' ');
        IntegerToString(12345, text, c.format);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(lastError(), kNumericToStringError);
        EXPECT_EQ(lastRoutine(), "IntegerToString");
    }
}

TEST_F(StringConversion, RealAndDoubleToString) {
    std::string text(10, ' ');
    RealToStr(1.5f, text, "(F8.3)");
    EXPECT_EQ(text, "   1.500  ");
    DoubleToStr(1234.0, text, "(1PE8.1)");
    EXPECT_EQ(text, " 1.2E+03  ");
    EXPECT_EQ(lastError(), 0);
    RealToStr(1.0e20f, text, "(F8.2)");
    EXPECT_EQ(text, "**********");
    EXPECT_EQ(lastError(), kNumericToStringError);
    EXPECT_EQ(lastRoutine(), "RealToStr");
    DoubleToStr(1.0, text, "(I5)");
    EXPECT_EQ(lastRoutine(), "DoubleToStr");

    // The decimal separator replaces the point in mode 1 only.
    toolkitState().DecimalSeparator = ',';
    DoubleToStr(-3.14159, text, "(F8.2)");
    EXPECT_EQ(text, "   -3.14  ");
    toolkitState().DecimalSeparatorMode = 1;
    DoubleToStr(-3.14159, text, "(F8.2)");
    EXPECT_EQ(text, "   -3,14  ");
}

TEST_F(StringConversion, JustifyString) {
    struct Case {
        const char* before;
        const char* mode;
        const char* after;
    };
    const Case cases[] = {
        {"   AB CD  ", "L", "AB CD     "},
        {"   AB CD  ", "l", "AB CD     "},
        {"   AB CD  ", "R", "     AB CD"},
        {"AB     ", "C", "  AB   "},       // the odd blank goes to the right
        {"AB     ", "center", "     AB"},  // "center" holds an r
        {" ABCDE  ", "x", " ABCDE  "},     // already centred
        {"ABC", "R", "ABC"},               // fills the text
        {"     ", "L", "     "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.before) + "|" + c.mode);
        std::string text = c.before;
        JustifyString(text, c.mode);
        EXPECT_EQ(text, c.after);
    }
}

TEST_F(StringConversion, StrToInteger) {
    struct Case {
        const char* text;
        int value;
        int error;
    };
    const Case cases[] = {
        {"42   17", 42, 0},
        {"  +7 ", 7, 0},
        {"-", 0, 0},
        {"-2147483647", -2147483647, 0},
        {"2147483647", 2147483647, 0},
        {"2147483648", 0, kNumberTooLarge},
        {"-2147483648", 0, kNumberTooLarge},
        {"3000000000", 0, kNumberTooLarge},
        {"00000000001", 0, kNumberTooLarge},
        {"12a", 0, kInvalidCharacter},
        {"1.0", 0, kInvalidCharacter},
        {"    ", 0, kNoSubstring},
        {"", 0, kNoSubstring},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        clearError();
        int value = 99;
        StrToInteger(c.text, value);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(lastError(), c.error);
        if (c.error != 0) {
            EXPECT_EQ(lastRoutine(), "StrToInteger");
        }
    }
}

struct RealCase {
    const char* text;
    double value;
    int error;
};

TEST_F(StringConversion, StrToRealDouble) {
    const RealCase cases[] = {
        {"1.5E3", 1500.0, 0},
        {"150e3", 1.5e5, 0},
        {"2.5D-2", 0.025, 0},
        {"2.5d-2", 0.025, 0},
        {"1,5", 1.5, 0},
        {"1.0+100", 1.0e100, 0},
        {"2.5-003", 0.0025, 0},
        {" -.5  rest", -0.5, 0},
        {"0E999", 0.0, 0},
        {"E5", 0.0, 0},
        {"1E-400", 0.0, 0},
        {"0.3", 0.3, 0},  // correctly rounded, not summed digit by digit
        {"1.2.3", 0.0, kTwoDecimalPoints},
        {"1.5E2.0", 0.0, kInvalidCharacter},
        {"15E2.0", 0.0, kInvalidCharacter},
        {"12x", 0.0, kInvalidCharacter},
        {"1.5+3", 0.0, kInvalidCharacter},  // a bare sign is an exponent only before 3 digits
        {"1E400", 0.0, kNumberTooLarge},
        {"1E309", 0.0, kNumberTooLarge},  // would overflow to infinity
        {"   ", 0.0, kNoSubstring},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        clearError();
        double value = 99.0;
        StrToReal(c.text, value);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(lastError(), c.error);
        if (c.error != 0) {
            EXPECT_EQ(lastRoutine(), "StrToReal");
        }
    }
    // A mantissa of more integer digits than the limit allows.
    double value = 1.0;
    StrToReal(std::string(310, '1'), value);
    EXPECT_EQ(lastError(), kNumberTooLarge);
    EXPECT_EQ(value, 0.0);
}

TEST_F(StringConversion, TextToRealSingleHasSingleLimitsAndNoLetterD) {
    const RealCase cases[] = {
        {"1.5E3", 1500.0, 0},
        {"2.5D-2", 0.0, kInvalidCharacter},
        {"1.0+100", 0.0, kNumberTooLarge},
        {"1E39", 0.0, kNumberTooLarge},  // within the exponent limit, beyond the type
        {"1E-39", 0.0, 0},
        {"3.4E38", 3.4e38f, 0},
        {"16777217", 16777216.0, 0},
        {"0.1", 0.1f, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        clearError();
        float value = 99.0f;
        TextToRealSingle(c.text, value);
        EXPECT_EQ(value, static_cast<float>(c.value));
        EXPECT_EQ(lastError(), c.error);
        if (c.error != 0) {
            EXPECT_EQ(lastRoutine(), "StrToReal");
        }
    }
}

TEST_F(StringConversion, DecimalSeparatorIsAcceptedInMode1) {
    toolkitState().DecimalSeparatorMode = 1;
    toolkitState().DecimalSeparator = ';';
    double value = 0;
    StrToReal("2;5", value);
    EXPECT_EQ(value, 2.5);
    StrToReal("2;5.1", value);
    EXPECT_EQ(lastError(), kTwoDecimalPoints);
}

TEST_F(StringConversion, NextRealWordReadsAListFromTheFront) {
    std::string text = " 1.5  2.5 x  ";
    float value = 0;
    NextRealWord(text, value);
    EXPECT_EQ(value, 1.5f);
    EXPECT_EQ(text, "      2.5 x  ");
    NextRealWord(text, value);
    EXPECT_EQ(value, 2.5f);
    EXPECT_EQ(lastError(), 0);
    NextRealWord(text, value);
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(lastError(), kInvalidCharacter);
    EXPECT_EQ(lastRoutine(), "StrToReal");
    EXPECT_EQ(text, std::string(13, ' '));  // blanked although it failed
    NextRealWord(text, value);
    EXPECT_EQ(lastError(), kNoSubstring);
    EXPECT_EQ(lastRoutine(), "NextRealWord");
}

TEST_F(StringConversion, NextIntegerWord) {
    std::string text = "12 -3";
    int value = 0;
    NextIntegerWord(text, value);
    EXPECT_EQ(value, 12);
    NextIntegerWord(text, value);
    EXPECT_EQ(value, -3);
    NextIntegerWord(text, value);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(lastError(), kNoSubstring);
    EXPECT_EQ(lastRoutine(), "NextIntegerWord");
}

TEST_F(StringConversion, CaseConversionTouchesOnlyAsciiLettersWithinTheLength) {
    std::string text = "abc\xe4xyz";
    UpperCaseString(text, 5);
    EXPECT_EQ(text, "ABC\xe4Xyz");
    LowerCaseString(text, 100);  // a length beyond the text stops at its end
    EXPECT_EQ(text, "abc\xe4xyz");
    UpperCaseString(text, -1);
    EXPECT_EQ(text, "abc\xe4xyz");
}

TEST_F(StringConversion, BlankScanning) {
    using namespace std::string_literals;
    EXPECT_EQ(FirstNonBlank("\0 \0x"s, 4), 4);
    EXPECT_EQ(FirstNonBlank("  x", 2), 0);
    EXPECT_EQ(FirstNonBlank("x", 0), 0);
    int first = -1, last = -1;
    NonBlankRange("  ab\0c  d"s, 9, first, last);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 6);  // the NUL is part of the word
    NonBlankRange("  abc", 5, first, last);
    EXPECT_EQ(last, 5);
    NonBlankRange("    ", 4, first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 0);
}

TEST_F(StringConversion, IndexNoCase) {
    std::string_view path = "C:\\TOOLS\\VADI\\BIN";
    EXPECT_EQ(IndexNoCase(path, 17, "vadi", 4), 10);
    EXPECT_EQ(IndexNoCase("Aba", 3, "a", 1), 1);
    EXPECT_EQ(IndexNoCase("Aba", 3, "a", 1, true), 3);
    EXPECT_EQ(IndexNoCase("Aba", 3, "", 0), 1);
    EXPECT_EQ(IndexNoCase("Aba", 3, "", 0, true), 4);
    EXPECT_EQ(IndexNoCase("Ab", 2, "abc", 3), 0);
    EXPECT_EQ(IndexNoCase("xxABC", 4, "abc", 3), 0);  // only the first 4 characters count
}

TEST_F(StringConversion, ArbitraryTextsNeverBreakTheParsers) {
    const std::string alphabet = "0123456789+-.,eEdD x";
    unsigned state = 99;
    auto nextRandom = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7FFF;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        int length = static_cast<int>(nextRandom() % 12);
        for (int k = 0; k < length; ++k)
            text += alphabet[nextRandom() % alphabet.size()];
        if (nextRandom() % 8 == 0) text += std::string(nextRandom() % 400, '9');
        double d = 0;
        StrToReal(text, d);
        EXPECT_TRUE(std::isfinite(d)) << text;
        float f = 0;
        TextToRealSingle(text, f);
        EXPECT_TRUE(std::isfinite(f)) << text;
        int n = 0;
        StrToInteger(text, n);
        for (int k = 0; k < 20; ++k)
            NextRealWord(text, f);
    }
}

}  // namespace
}  // namespace tk
