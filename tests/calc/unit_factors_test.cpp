// Unit factors, the strike fold and field directions.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/unit_factors.h"
#include "platform/message_box.h"

namespace calc {
namespace {

TEST(UnitFactors, FactorsAndNormalisedNames) {
    win::testing::resetMessageBoxes();
    struct Case {
        const char* name;
        float factor;
        const char* stored;
    } cases[] = {{"KM", 1.0f, "KM"},      {"km", 1.0f, "KM"},
                 {"", 0.001f, "M"},       {"m", 0.001f, "M"},
                 {"MI", 1.60934f, "MI"},  {"Miles", 1.60934f, "MILES"},
                 {"kft", 0.3048f, "KFT"}, {"FT", 0.0003048f, "FT"},
                 {"\tft", 0.0f, " FT"},   {"furlong", 0.0f, "FURLONG"}};
    for (const Case& c : cases) {
        base::FixedString<8> unit(c.name);
        EXPECT_EQ(FCTFND(unit), c.factor) << c.name;
        EXPECT_EQ(unit, base::FixedString<8>(c.stored)) << c.name;
    }
    // A control byte becomes a blank, so the name no longer matches.
    const auto& boxes = win::testing::messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "INVALID UNIT IN FCTFND");
    EXPECT_EQ(boxes[0].caption, "Varendal Library Message");
    win::testing::resetMessageBoxes();
}

TEST(UnitFactors, StrikeFoldsByHalfTurns) {
    struct Case {
        float strike, azim, folded;
    } cases[] = {{0, 90, 0},     {180, 90, 0},   {-180, 90, 0},   {360, 90, 0}, {190, 0, 10},
                 {100, 90, 100}, {-80, 90, -80}, {190, 270, 190}, {540, 90, 0}};
    for (const Case& c : cases) {
        float folded = -1;
        STRK180(c.strike, c.azim, folded);
        EXPECT_EQ(folded, c.folded) << c.strike << " " << c.azim;
    }
}

TEST(UnitFactors, FieldDirections) {
    double x, y, z;
    RES3D(1.0f, 90.0f, 37.0f, x, y, z);
    EXPECT_NEAR(x, 0.0, 1e-5);
    EXPECT_NEAR(y, 0.0, 1e-5);
    EXPECT_NEAR(z, 1.0, 1e-6);
    RES3D(1.0f, 0.0f, 90.0f, x, y, z);
    EXPECT_NEAR(x, 1.0, 1e-6);
    EXPECT_NEAR(y, 0.0, 1e-5);
    EXPECT_EQ(z, 0.0);
    RES3D(2.0f, 60.0f, 30.0f, x, y, z);
    EXPECT_NEAR(x, 2 * 0.5 * 0.5, 1e-5);
    EXPECT_NEAR(y, 2 * 0.5 * 0.8660254, 1e-5);
    EXPECT_NEAR(z, 2 * 0.8660254, 1e-5);
}

}  // namespace
}  // namespace calc
