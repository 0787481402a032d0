#include "base/fortran_read.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using base::BlankMode;
using base::ListReader;
using base::readFormatted;
using base::readIntegerField;
using base::readIntegerWord;
using base::readRealField;
using base::readRealFieldSingle;
using base::readRealWord;
using base::readRealWordSingle;

namespace {

struct FieldCase {
    const char* field;
    int decimals;
    double value;
};

TEST(FortranRead, RealFieldsUnderFwd) {
    const FieldCase cases[] = {
        {"12345", 3, 12.345},  // implied decimals
        {"  -12345", 2, -123.45},
        {"1.5", 3, 1.5},    // a point overrides the implied decimals
        {"     ", 2, 0.0},  // blank field
        {"", 2, 0.0},
        {"2.5D-2", 0, 0.025},
        {"2.5d-2", 0, 0.025},
        {"1.5E3", 0, 1500.0},
        {"1.5e+3", 0, 1500.0},
        {"1.5+3", 0, 1500.0},  // exponent sign without a letter
        {"1.5-3", 0, 0.0015},
        {"15E2", 1, 150.0},      // implied decimals apply to the mantissa
        {" 1 2 . 5 ", 0, 12.5},  // blanks ignored
        {"-.5", 0, -0.5},
        {"+7.", 0, 7.0},
        {"1.5Q2", 0, 150.0},
        {"0.1", 0, 0.1},
        {"1E-400", 0, 0.0},  // too small for a double: zero
        {"123456789012345678901234567890", 0, 1.2345678901234568e29},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        auto v = readRealField(c.field, c.decimals);
        ASSERT_TRUE(v);
        EXPECT_EQ(*v, c.value);
    }
}

TEST(FortranRead, BadRealFieldsFail) {
    const char* bad[] = {"1.2.3", "12a",     "E5",    ".",   "-",  "1.5E",
                         "1.5E+", "1.5E3.0", "1e400", "--1", "1,5"};
    for (const char* f : bad) {
        SCOPED_TRACE(f);
        EXPECT_FALSE(readRealField(f, 0));
    }
}

TEST(FortranRead, BlankZeroModeAndScaleFactor) {
    EXPECT_EQ(readRealField("12   ", 2, BlankMode::Null), 0.12);
    EXPECT_EQ(readRealField("12   ", 2, BlankMode::Zero), 120.0);
    EXPECT_EQ(readRealField("  1 5", 0, BlankMode::Zero), 105.0);
    EXPECT_EQ(readIntegerField(" 1 2 ", BlankMode::Zero), 1020);
    EXPECT_EQ(readIntegerField(" 1 2 ", BlankMode::Null), 12);
    // A scale factor divides a field without exponent and leaves one with it alone.
    EXPECT_EQ(readRealField("125", 0, BlankMode::Null, 2), 1.25);
    EXPECT_EQ(readRealField("1.25E2", 0, BlankMode::Null, 2), 125.0);
}

TEST(FortranRead, SinglePrecisionIsRoundedOnceFromTheText) {
    EXPECT_EQ(readRealFieldSingle("0.1", 0), 0.1f);
    EXPECT_EQ(readRealWordSingle("16777217"), 16777216.0f);
    EXPECT_EQ(readRealWordSingle("3.4028235E38"), 3.4028235e38f);
    EXPECT_FALSE(readRealWordSingle("1E39"));
    EXPECT_EQ(readRealWordSingle("1E-50"), 0.0f);
}

TEST(FortranRead, IntegerFields) {
    EXPECT_EQ(readIntegerField("   42"), 42);
    EXPECT_EQ(readIntegerField("  -42"), -42);
    EXPECT_EQ(readIntegerField("     "), 0);
    EXPECT_EQ(readIntegerField("-9223372036854775808"), std::numeric_limits<long long>::min());
    EXPECT_FALSE(readIntegerField("9223372036854775808"));
    EXPECT_FALSE(readIntegerField("4.0"));
    EXPECT_FALSE(readIntegerField("-"));
}

TEST(FortranRead, ListDirectedWords) {
    EXPECT_EQ(readRealWord("2.5D-2"), 0.025);
    EXPECT_EQ(readRealWord("12345"), 12345.0);  // no implied decimals in a word
    EXPECT_EQ(readRealWord("-1.0E+02"), -100.0);
    EXPECT_TRUE(std::isinf(*readRealWord("-Infinity")));
    EXPECT_TRUE(std::isnan(*readRealWord("NaN")));
    EXPECT_FALSE(readRealWord(""));
    EXPECT_FALSE(readRealWord("1 2"));
    EXPECT_EQ(readIntegerWord("+17"), 17);
    EXPECT_FALSE(readIntegerWord("17.0"));
    EXPECT_FALSE(readIntegerWord(""));
    EXPECT_EQ(base::readLogicalWord(".TRUE."), true);
    EXPECT_EQ(base::readLogicalWord("f"), false);
    EXPECT_FALSE(base::readLogicalWord("yes"));
}

TEST(FortranRead, ListReaderSeparatorsNullsRepeatsAndSlash) {
    ListReader r("1.5, 2  3*7 ,, 'it''s' 2* 9 / 10");
    double d = 0;
    int n = -1;
    std::string s;
    EXPECT_EQ(r.read(d), ListReader::Status::Value);
    EXPECT_EQ(d, 1.5);
    EXPECT_EQ(r.read(n), ListReader::Status::Value);
    EXPECT_EQ(n, 2);
    for (int k = 0; k < 3; ++k) {
        n = 0;
        EXPECT_EQ(r.read(n), ListReader::Status::Value);
        EXPECT_EQ(n, 7);
    }
    n = 99;
    EXPECT_EQ(r.read(n), ListReader::Status::Null);  // ",," leaves the variable alone
    EXPECT_EQ(n, 99);
    EXPECT_EQ(r.read(s), ListReader::Status::Value);
    EXPECT_EQ(s, "it's");
    EXPECT_EQ(r.read(n), ListReader::Status::Null);
    EXPECT_EQ(r.read(n), ListReader::Status::Null);
    EXPECT_EQ(r.read(n), ListReader::Status::Value);
    EXPECT_EQ(n, 9);
    EXPECT_EQ(r.read(n), ListReader::Status::End);  // the slash ends the record
    EXPECT_EQ(r.read(n), ListReader::Status::End);

    ListReader bad("x 1e999 3000000000");
    EXPECT_EQ(bad.read(d), ListReader::Status::Error);
    EXPECT_EQ(bad.read(d), ListReader::Status::Error);
    EXPECT_EQ(bad.read(n), ListReader::Status::Error);
    EXPECT_EQ(bad.read(n), ListReader::Status::End);

    ListReader leading(",5");
    EXPECT_EQ(leading.read(n), ListReader::Status::Null);
    EXPECT_EQ(leading.read(n), ListReader::Status::Value);
    EXPECT_EQ(n, 5);
}

TEST(FortranRead, FormattedRecords) {
    double x = 0;
    float f = 0;
    int n = 0;
    std::string name;
    bool flag = false;
    EXPECT_TRUE(readFormatted("  1.25    42", "(F6.2,I6)", {&x, &n}));
    EXPECT_EQ(x, 1.25);
    EXPECT_EQ(n, 42);
    // Implied decimals, skipped columns, text, logical, short line padded.
    EXPECT_TRUE(readFormatted("NAME 12345 T 77", "(A4,1X,F5.3,L2,I4)", {&name, &x, &flag, &n}));
    EXPECT_EQ(name, "NAME");
    EXPECT_EQ(x, 12.345);
    EXPECT_TRUE(flag);
    EXPECT_EQ(n, 77);
    EXPECT_TRUE(readFormatted("1", "(I1,F10.2)", {&n, &f}));
    EXPECT_EQ(f, 0.0f);
    // A slash and format reversion move to the next line.
    int a = 0, b = 0, c = 0;
    EXPECT_TRUE(readFormatted(" 1\n 2\r\n 3", "(I2)", {&a, &b, &c}));
    EXPECT_EQ(a + 10 * b + 100 * c, 321);
    EXPECT_TRUE(readFormatted(" 4 5\n 6", "(I2/I2)", {&a, &b}));
    EXPECT_EQ(b, 6);
    EXPECT_FALSE(readFormatted(" 1", "(I2)", {&a, &b}));  // no second line
    EXPECT_TRUE(readFormatted("   5", "(T4,I1)", {&a}));
    EXPECT_EQ(a, 5);
    EXPECT_TRUE(readFormatted("12  ", "(BZ,F4.1)", {&x}));
    EXPECT_EQ(x, 120.0);
    // Mismatched targets, bad fields and unusable formats fail.
    EXPECT_FALSE(readFormatted("1.5", "(I3)", {&x}));
    EXPECT_FALSE(readFormatted("1.5", "(F3.1)", {&n}));
    EXPECT_FALSE(readFormatted("abc", "(F3.1)", {&x}));
    EXPECT_FALSE(readFormatted("1.5", "(F3.1", {&x}));
    EXPECT_FALSE(readFormatted("99999999999", "(I11)", {&n}));
}

TEST(FortranRead, WhatTheWriterWritesReadsBack) {
    const double values[] = {0.0, 1.5, -3.25, 12345.678, 1.0e-5, 6.02e23, -7.0e-300};
    for (double v : values) {
        auto text = base::formatReal(v, "(1PE24.16)");
        ASSERT_TRUE(text);
        EXPECT_EQ(readRealField(*text, 0), v) << *text;
    }
}

TEST(FortranRead, ArbitraryTextsNeverBreakTheReaders) {
    const std::string alphabet = "0123456789+-.,eEdDqQ */'\"TFnaI ";
    unsigned state = 777;
    auto nextRandom = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7FFF;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        int length = static_cast<int>(nextRandom() % 16);
        for (int k = 0; k < length; ++k)
            text += alphabet[nextRandom() % alphabet.size()];
        (void)readRealField(text, static_cast<int>(nextRandom() % 5), BlankMode::Zero);
        (void)readRealFieldSingle(text, 2);
        (void)readIntegerField(text);
        double d = 0;
        ListReader r(text);
        for (int k = 0; k < 40 && r.read(d) != ListReader::Status::End; ++k) {
        }
        int n = 0;
        std::string word;
        bool flag = false;
        (void)readFormatted(text, "(F4.1,I3,A2,L2)", {&d, &n, &word, &flag});
    }
}

}  // namespace
