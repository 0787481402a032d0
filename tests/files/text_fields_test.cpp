#include "files/text_fields.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(TextFields, NumbersAreRightAlignedInTheirFields) {
    EXPECT_EQ(files::formatInteger(4, 5), "    4");
    EXPECT_EQ(files::formatInteger(-1, 5), "   -1");
    EXPECT_EQ(files::formatInteger(123456, 5), "*****");
    EXPECT_EQ(files::formatFixed(0.18f, 10, 4), "    0.1800");
    EXPECT_EQ(files::formatFixed(-1.5, 10, 4), "   -1.5000");
    EXPECT_EQ(files::formatFixed(0.5, 5, 4), ".5000") << "the leading zero goes first";
    EXPECT_EQ(files::formatFixed(123456.0, 10, 4), "**********");
    EXPECT_EQ(files::formatFixed(-7.4, 6, 0), "   -7.");
    EXPECT_EQ(files::formatExponent(2.67, 13, 6), " 2.670000E+00");
    EXPECT_EQ(files::formatExponent(-150.0, 13, 6), "-1.500000E+02");
    EXPECT_EQ(files::formatExponent(1.0e-5, 13, 6), " 1.000000E-05");
    EXPECT_EQ(files::formatExponent(1.0e200, 13, 6), " 1.000000+200");
    EXPECT_EQ(files::formatExponent(std::nan(""), 13, 6), "          NaN");
}

TEST(TextFields, FieldsAreReadWithBlanksIgnored) {
    EXPECT_EQ(files::readIntegerField("   42"), 42);
    EXPECT_EQ(files::readIntegerField(" - 4 2"), -42);
    EXPECT_EQ(files::readIntegerField("     "), 0);
    EXPECT_FALSE(files::readIntegerField("4.2"));
    EXPECT_FALSE(files::readIntegerField("L="));
    EXPECT_FALSE(files::readIntegerField("9999999999"));
    EXPECT_EQ(files::readRealField("2.67"), 2.67);
    EXPECT_EQ(files::readRealField(".5"), 0.5);
    EXPECT_EQ(files::readRealField("7"), 7.0);
    EXPECT_EQ(files::readRealField("1.5E3"), 1500.0);
    EXPECT_EQ(files::readRealField("1.5d-1"), 0.15);
    EXPECT_EQ(files::readRealField("2.5+2"), 250.0) << "a bare exponent sign";
    EXPECT_EQ(files::readRealField(""), 0.0);
    EXPECT_TRUE(std::isnan(*files::readRealField("NaN")));
    EXPECT_TRUE(std::isinf(*files::readRealField("-Inf")));
    for (const char* bad : {"1.2.3", "E5", "abc", ".", "1E", "2.67\\", "--1"})
        EXPECT_FALSE(files::readRealField(bad)) << bad;
}

}  // namespace
