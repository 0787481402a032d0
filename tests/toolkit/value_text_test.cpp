#include "toolkit/dialogs/value_text.h"

#include <gtest/gtest.h>

#include <string>

#include "toolkit/core/string_conversion.h"
#include "toolkit/core/toolkit_state.h"

namespace tk {
namespace {

using namespace std::string_literals;

class ValueText : public ::testing::Test {
  protected:
    void SetUp() override { toolkitState().reset(); }
    void TearDown() override { toolkitState().reset(); }

    // What the window system would see: the text up to its NUL.
    static std::string shown(const std::string& buffer) {
        return buffer.substr(0, buffer.find('\0'));
    }
};

TEST_F(ValueText, WritersGiveTrimmedNulTerminatedText) {
    struct Case {
        const char* format;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {"(G15.5E2)", 1.5, "1.5000"},
        {"(G15.5E2)", 0.0, "0.0000"},
        {"(G15.5E2)", 1.23456e5, "0.12346E+06"},
        {"(G15.5E2)", 0.05, "0.50000E-01"},
        {"(G15.5E2)", 9.99994e4, "99999."},
        {"(F8.2)", -3.14159, "-3.14"},
        {"(1PE8.1)", 1.234e3, "1.2E+03"},
        {"(f10.1)", 2.25, "2.3"},
        {"(3F10.1)", 2.0, "2.0"},        // a repeat count changes nothing for one number
        {"(F5.1)", 1.23456e5, "*****"},  // too wide: the field's asterisks, no report
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.text);
        std::string buffer(20, 'x');
        yydbl2st(c.value, buffer, c.format);
        std::string want = c.text + "\0"s;
        want.resize(20, ' ');
        EXPECT_EQ(buffer, want);
        EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    }
    std::string buffer(20, 'x');
    yyrea2st(1.5f, buffer, kDefaultRealFormat);
    EXPECT_EQ(shown(buffer), "1.5000");
    yyint2st(42, buffer);
    EXPECT_EQ(shown(buffer), "42");
    yyint2st(-2147483647 - 1, buffer);
    EXPECT_EQ(shown(buffer), "-2147483648");
}

TEST_F(ValueText, WriterFailuresReportError18UnderTheirOwnNames) {
    std::string buffer(20, 'x');
    yydbl2st(1.0, buffer, "(I5)");
    EXPECT_EQ(shown(buffer), "**********");
    EXPECT_EQ(buffer[11], ' ');
    EXPECT_EQ(toolkitState().LastErrorNumber, kNumericToStringError);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "yydbl2st");

    yyrea2st(1.0f, buffer, "nonsense");
    EXPECT_EQ(shown(buffer), "**********");
    EXPECT_EQ(toolkitState().LastErrorRoutine, "yyrea2st");

    // Eleven asterisks for integers; a ten-character buffer holds what fits
    // and nothing is written beyond it.
    std::string eleven(11, 'x');
    std::string ten = eleven.substr(0, 10);
    yyint2st(42, ten);
    EXPECT_EQ(ten, "**********");
    EXPECT_EQ(toolkitState().LastErrorRoutine, "yyint2st");
    std::string wide(15, 'x');
    yyint2st(42, std::span<char>(wide.data(), 3));
    EXPECT_EQ(wide, "***xxxxxxxxxxxx");
}

TEST_F(ValueText, DecimalSeparatorInMode1) {
    toolkitState().DecimalSeparatorMode = 1;
    toolkitState().DecimalSeparator = ',';
    std::string buffer(12, ' ');
    yydbl2st(-3.14159, buffer, "(F8.2)");
    EXPECT_EQ(shown(buffer), "-3,14");
    double value = 0;
    TextToDoubleQuiet(value, shown(buffer));
    EXPECT_EQ(value, -3.14);
}

TEST_F(ValueText, QuietReadersStopAtNulOrTrailingBlanks) {
    double d = 99;
    TextToDoubleQuiet(d, "2.5\0junk"s);
    EXPECT_EQ(d, 2.5);
    TextToDoubleQuiet(d, "  7.25    ");
    EXPECT_EQ(d, 7.25);
    float f = 99;
    TextToRealQuiet(f, "1.5E3");
    EXPECT_EQ(f, 1500.0f);
    int n = 99;
    TextToIntegerQuiet(n, "16777217");
    EXPECT_EQ(n, 16777216);  // through single precision
    TextToIntegerQuiet(n, "-7.9");
    EXPECT_EQ(n, -7);
    TextToIntegerQuiet(n, "1E30");
    EXPECT_EQ(n, 2147483647);
}

// The reader gives 0 without complaint for a sign, point or exponent alone;
// as a field's number such a text is refused.
TEST_F(ValueText, ATextWithoutAMantissaDigitIsNoNumber) {
    struct Case {
        const char* text;
        int ok;
        double value;
    };
    const Case cases[] = {{"E", 0, 0.0},  {"-", 0, 0.0},     {".", 0, 0.0},  {"+", 0, 0.0},
                          {"E5", 0, 0.0}, {"-.E2", 0, 0.0},  {" D ", 0, 0.0}, {"-.5", 1, -0.5},
                          {"0", 1, 0.0},  {"1.0+100", 1, 1.0E100}, {"5.E1", 1, 50.0}};
    for (const Case& c : cases) {
        double d = 99;
        int ok = -1;
        TextToDoubleChecked(d, ok, c.text);
        EXPECT_EQ(ok, c.ok) << c.text;
        EXPECT_DOUBLE_EQ(d, c.value) << c.text;
    }
}

TEST_F(ValueText, QuietReadersLeaveTheErrorStateAlone) {
    ToolkitState& s = toolkitState();
    s.ErrorReportMode = 4;
    s.LastErrorNumber = 1005;
    s.LastErrorRoutine = "Earlier";
    double d = 99;
    int ok = -1;
    TextToDoubleChecked(d, ok, "    ");
    EXPECT_EQ(d, 0.0);
    EXPECT_EQ(ok, 0);
    TextToDoubleChecked(d, ok, "x1");
    EXPECT_EQ(ok, 0);
    TextToDoubleChecked(d, ok, "1.25");
    EXPECT_EQ(d, 1.25);
    EXPECT_EQ(ok, 1);
    char text[12] = "1E39";
    RealTextReformat(std::span<char>(text, 12), "(F8.2)");
    EXPECT_EQ(s.ErrorReportMode, 4);
    EXPECT_EQ(s.LastErrorNumber, 1005);
    EXPECT_EQ(s.LastErrorRoutine, "Earlier");
}

TEST_F(ValueText, Reformatters) {
    auto integer = [](std::string buffer) {
        IntegerTextReformat(buffer);
        return buffer;
    };
    EXPECT_EQ(integer("-7.9\0xx        "s), "-7\0            "s);
    EXPECT_EQ(integer("1e3        "), "1000\0      "s);
    EXPECT_EQ(integer("junk       "), "0\0         "s);
    EXPECT_EQ(integer("5     "), "******"s);  // shorter than the (I11) field

    std::string real = "  2.5\0zz    "s;
    RealTextReformat(real, "(F8.3)");
    EXPECT_EQ(real, "2.500\0      "s);
    std::string dbl = "123456.7    ";
    DoubleTextReformat(dbl, "(F5.1)");
    EXPECT_EQ(dbl, "**********\0 "s);
    dbl = "0.05        ";
    DoubleTextReformat(dbl, kDefaultRealFormat);
    EXPECT_EQ(dbl, "**********\0 "s);  // G15.5E2 does not fit in 12 characters
    std::string wide(20, ' ');
    wide.replace(0, 4, "0.05");
    DoubleTextReformat(wide, kDefaultRealFormat);
    EXPECT_EQ(shown(wide), "0.50000E-01");
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

}  // namespace
}  // namespace tk
