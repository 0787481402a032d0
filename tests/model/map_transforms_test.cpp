#include "model/map_transforms.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/strike_fold.h"

using model::ModelHeader;

namespace {

ModelHeader geometry(float azim, float strike, float tieE = 0, float tieN = 0, float tieP = 0,
                     float baseline = 0, float gridrot = 0) {
    ModelHeader m;
    m.AZIM = azim;
    m.STRIKE = strike;
    m.TIEEAS = tieE;
    m.TIENOR = tieN;
    m.TIEPRF = tieP;
    m.BASELN = baseline;
    m.GRIDROT = gridrot;
    return m;
}

class MapTransformsTest : public ::testing::Test {
  protected:
    void SetUp() override { model::resetMapTransforms(); }
};

}  // namespace

TEST_F(MapTransformsTest, AzimuthNinetyMapsEastingToDistance) {
    ASSERT_TRUE(model::MAPSET(geometry(90, 0, 5000, 7000)));
    float p = 0, q = 0;
    model::MAPG2P(5120, 7030, p, q);
    EXPECT_NEAR(p, 120.0f, 1e-3);
    EXPECT_NEAR(q, 30.0f, 1e-3);
    float e = 0, n = 0;
    model::MAPP2G(p, q, e, n);
    EXPECT_NEAR(e, 5120.0f, 1e-2);
    EXPECT_NEAR(n, 7030.0f, 1e-2);
}

TEST_F(MapTransformsTest, ProfileToTheNorthPutsPointsWestOnTheLeft) {
    ASSERT_TRUE(model::MAPSET(geometry(0, -90, 100, 100)));
    float p = 0, q = 0;
    model::MAPG2P(90, 150, p, q);  // 10 west, 50 north of the tie point
    EXPECT_NEAR(p, 50.0f, 1e-3);
    EXPECT_NEAR(q, 10.0f, 1e-3);
}

TEST_F(MapTransformsTest, PerpendicularStrikeMakesModelXTheDistanceFromTheBaseline) {
    ASSERT_TRUE(model::MAPSET(geometry(90, 0, 0, 0, 0, 40)));
    float x = 0, y = 0;
    model::MAPP2M(140, 7, x, y);
    EXPECT_FLOAT_EQ(x, 100.0f);
    EXPECT_FLOAT_EQ(y, 7.0f);
    const auto& t = model::mapTransforms();
    EXPECT_EQ(t.modelXToProfileP, (model::Linear1{1.0f, 40.0f}));
    EXPECT_EQ(t.profilePToModelX, (model::Linear1{1.0f, -40.0f}));
}

TEST_F(MapTransformsTest, StrikeThirtyDegreesOffShortensDistances) {
    ASSERT_TRUE(model::MAPSET(geometry(90, 30)));
    float x = 0;
    model::PRJP2M(100, x);
    EXPECT_NEAR(x, 86.6f, 0.01f);
    float y = 0;
    model::MAPP2M(100, 0, x, y);
    EXPECT_NEAR(x, 86.6f, 0.01f);
}

TEST_F(MapTransformsTest, ModelToProfileAndBackIsTheIdentity) {
    ASSERT_TRUE(model::MAPSET(geometry(63, -10, 1000, 2000, 15, 25, 2)));
    for (auto [x, y] : {std::pair{0.0f, 0.0f}, {123.0f, -45.0f}, {-800.0f, 300.0f}}) {
        float p = 0, q = 0, x2 = 0, y2 = 0;
        model::MAPM2P(x, y, p, q);
        model::MAPP2M(p, q, x2, y2);
        EXPECT_NEAR(x2, x, 1e-3) << x;
        EXPECT_NEAR(y2, y, 1e-3) << y;
        float e = 0, n = 0;
        model::MAPM2G(x, y, e, n);
        model::MAPG2M(e, n, x2, y2);
        EXPECT_NEAR(x2, x, 2e-3) << x;
        EXPECT_NEAR(y2, y, 2e-3) << y;
        float p2 = 0;
        model::PRJP2M(p, x2);
        model::PRJM2P(x2, p2);
        EXPECT_NEAR(p2, p, 1e-3);
    }
}

TEST_F(MapTransformsTest, AStrikeHalfATurnOffGivesTheSameTransforms) {
    ASSERT_TRUE(model::MAPSET(geometry(90, 0, 10, 20, 3, 4)));
    const auto first = model::mapTransforms();
    ASSERT_TRUE(model::MAPSET(geometry(90, 180, 10, 20, 3, 4)));
    EXPECT_EQ(model::mapTransforms().mapToModel, first.mapToModel);
    EXPECT_EQ(model::mapTransforms().profilePToModelX, first.profilePToModelX);
}

TEST_F(MapTransformsTest, AStrikeAlongTheProfileIsRefusedAndChangesNothing) {
    ASSERT_TRUE(model::MAPSET(geometry(90, 0)));
    const auto before = model::mapTransforms();
    EXPECT_FALSE(model::MAPSET(geometry(90, 90)));
    EXPECT_FALSE(model::MAPSET(geometry(0, 0)));
    EXPECT_EQ(model::mapTransforms().profileToModel, before.profileToModel);
    EXPECT_EQ(model::mapTransforms().modelXToProfileP, before.modelXToProfileP);
    EXPECT_LT(std::abs(model::strikeDeviationCosine(geometry(90, 90))), 1e-3f);
}

TEST(MapMatrices, BuildAndComposeAsDocumented) {
    model::Affine a{};
    model::MAPBLD(2, 3, 10, 20, 90, a);
    float x = 0, y = 0;
    model::MAPPNT(a, 3, 3, x, y);  // one unit east of the pivot
    EXPECT_NEAR(x, 10.0f, 1e-4);
    EXPECT_NEAR(y, 19.0f, 1e-4);
    model::MAPVEC(a, 1, 0, x, y);
    EXPECT_NEAR(x, 0.0f, 1e-4);
    EXPECT_NEAR(y, -1.0f, 1e-4);

    const model::Affine identity{1, 0, 0, 1, 0, 0};
    model::Affine c{};
    model::MAPCMP(a, identity, c);
    EXPECT_EQ(c, a);
    model::Affine shift{1, 0, 0, 1, 5, 6};
    model::MAPCMP(a, shift, c);
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0, sx = 0, sy = 0;
    model::MAPPNT(c, 7, -2, x1, y1);
    model::MAPPNT(shift, 7, -2, sx, sy);
    model::MAPPNT(a, sx, sy, x2, y2);
    EXPECT_FLOAT_EQ(x1, x2);
    EXPECT_FLOAT_EQ(y1, y2);
}

TEST(StrikeFold, FoldsByHalfTurnsTowardsThePerpendicular) {
    struct Case {
        float strike, azim, want;
    } cases[] = {{0, 90, 0},    {180, 90, 0},   {-180, 90, 0},
                 {370, 90, 10}, {100, 90, 100}, {-100, 90, -100}};
    for (auto c : cases) {
        float r = 0;
        model::STRK180(c.strike, c.azim, r);
        EXPECT_FLOAT_EQ(r, c.want) << c.strike;
    }
    float r = 0;
    model::STRK180(INFINITY, 90, r);  // must not turn forever
    EXPECT_TRUE(std::isinf(r));
    model::STRK180(1.0e30f, 90, r);  // 180 is lost in the rounding of 1e30
    EXPECT_EQ(r, 1.0e30f);
}

TEST(StationDistances, AccumulateStraightSteps) {
    std::vector<float> e{0, 3, 3, 3}, n{0, 4, 4, 10}, d(4, -1);
    model::PDISTGEN(e, n, d, 4);
    EXPECT_FLOAT_EQ(d[0], 0.0f);
    EXPECT_FLOAT_EQ(d[1], 5.0f);
    EXPECT_FLOAT_EQ(d[2], 5.0f);  // 1.0E-10 vanishes against 5 in single precision
    EXPECT_FLOAT_EQ(d[3], 11.0f);
    std::vector<float> same{2, 2}, dd(2);
    model::PDISTGEN(same, same, dd, 2);
    EXPECT_FLOAT_EQ(dd[1], 1.0E-10f);
    std::vector<float> one(1, 9.0f);
    model::PDISTGEN(e, n, one, 1);
    EXPECT_EQ(one[0], 0.0f);
}
