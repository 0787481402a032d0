#include "model/body_delete.h"

#include <gtest/gtest.h>

#include "model/body_finish.h"
#include "model_fixtures.h"

using model_test::makeModel;
using model_test::square;

namespace {

model::PolygonModel threeBodies() {
    auto m = makeModel({square(0, 0, 1), {{5, 0}, {5, 1}, {6, 1}}, square(10, 0, 1)});
    for (int b = 1; b <= 3; ++b) {
        m.DENS(b) = 1.0f * b;
        m.REMS(b) = 10.0f * b;
        m.DIPS(b) = 20.0f * b;
        m.DECS(b) = 30.0f * b;
        m.XTENT1(b) = 40.0f * b;
        m.XTENT2(b) = 50.0f * b;
        m.AREAS(b) = 60.0f * b;
        m.XPIVOT(b) = 70.0f * b;
        m.ZPIVOT(b) = 80.0f * b;
    }
    m.LAYER(3) = true;
    m.LVFIX(0) = true;
    m.LVFIX(2) = true;
    m.LHIDE(3) = true;
    return m;
}

}  // namespace

TEST(DeleteBody, DeletingBodyOneOfThreeMovesTheOthersDownWithTheirValues) {
    auto m = threeBodies();
    m.IPOINT(6) = 2;   // body 2 follows the deleted body: released
    m.IPOINT(10) = 6;  // body 3 follows body 2: renumbered
    model::DELETEBODY(m, 1);
    ASSERT_EQ(m.NBOD, 2);
    EXPECT_EQ(m.IV1(1), 1);
    EXPECT_EQ(m.IV2(1), 3);
    EXPECT_EQ(m.IV1(2), 4);
    EXPECT_EQ(m.IV2(2), 7);
    EXPECT_EQ(m.XVRT(1), 5.0f);
    EXPECT_EQ(m.XVRT(4), 10.0f);
    for (int b = 1; b <= 2; ++b) {
        const float was = static_cast<float>(b + 1);
        EXPECT_EQ(m.DENS(b), was);
        EXPECT_EQ(m.REMS(b), 10 * was);
        EXPECT_EQ(m.DIPS(b), 20 * was);
        EXPECT_EQ(m.DECS(b), 30 * was);
        EXPECT_EQ(m.XTENT1(b), 40 * was);
        EXPECT_EQ(m.XTENT2(b), 50 * was);
        EXPECT_EQ(m.AREAS(b), 60 * was);
        EXPECT_EQ(m.XPIVOT(b), 70 * was);
        EXPECT_EQ(m.ZPIVOT(b), 80 * was);
    }
    EXPECT_TRUE(m.LVFIX(1));
    EXPECT_FALSE(m.LVFIX(2));
    EXPECT_TRUE(m.LVFIX(0));  // the background's flag never moves
    EXPECT_FALSE(m.LAYER(1));
    EXPECT_TRUE(m.LAYER(2));
    EXPECT_TRUE(m.LHIDE(2));
    EXPECT_EQ(m.IPOINT(2), 2);
    EXPECT_EQ(m.IPOINT(6), 2);
}

TEST(DeleteBody, DeletingTheLastBodyReleasesItsFollowers) {
    auto m = threeBodies();
    m.IPOINT(1) = 9;
    m.IPOINT(5) = 2;  // body 2 follows body 1: kept
    model::DELETEBODY(m, 3);
    EXPECT_EQ(m.NBOD, 2);
    EXPECT_EQ(m.vertexCount(), 7);
    EXPECT_EQ(m.IPOINT(1), 1);
    EXPECT_EQ(m.IPOINT(5), 2);
    EXPECT_EQ(m.DENS(2), 2.0f);
}

TEST(DeleteBody, AfterDeletingTheOnlyBodyANewBodyStartsANewList) {
    auto m = makeModel({square(0, 0, 1)});
    model::DELETEBODY(m, 1);
    EXPECT_EQ(m.NBOD, 0);
    const float x[] = {1, 2, 3}, z[] = {-1, -2, -1};
    const bool f[] = {false, false, false};
    const int lead[] = {1, 2, 3};
    ASSERT_TRUE(model::BODYFINISH(m, x, z, 3, f, f, 1.5f, lead, false));
    EXPECT_EQ(m.IV1(1), 1);
    EXPECT_EQ(m.IV2(1), 3);
    EXPECT_EQ(m.XVRT(3), 3.0f);
}
