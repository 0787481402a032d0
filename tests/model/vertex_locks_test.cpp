#include "model/vertex_locks.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/profile_line.h"
#include "model/session_state.h"
#include "model_fixtures.h"

using model_test::makeModel;
using model_test::square;

namespace {

class VertexLocksTest : public ::testing::Test {
  protected:
    void SetUp() override { model::resetSessionState(); }
    void TearDown() override { model::resetSessionState(); }
};

}  // namespace

TEST_F(VertexLocksTest, LockQueries) {
    auto m = makeModel({square(0, 0, 1), square(1, 0, 1), square(5, 0, 1)});
    EXPECT_FALSE(model::LOCKSPRESENT(m, 3));  // free: only itself
    m.IPOINT(5) = 4;                          // body 2 follows body 1
    EXPECT_TRUE(model::LOCKSPRESENT(m, 4));
    model::ProfileLine p;
    p.MODEL = m;
    EXPECT_TRUE(model::LISLEADER(p, 4));
    EXPECT_TRUE(model::LOCKSFROMOUTSIDE(m, 1));
    EXPECT_FALSE(model::LOCKSFROMOUTSIDE(m, 2));
    EXPECT_TRUE(model::LOCKSTOOUTSIDE(m, 2));
    EXPECT_FALSE(model::LOCKSTOOUTSIDE(m, 1));
    for (int ib : {0, 4}) {
        EXPECT_FALSE(model::LOCKSFROMOUTSIDE(m, ib));
        EXPECT_FALSE(model::LOCKSTOOUTSIDE(m, ib));
    }
    EXPECT_FALSE(model::LOCKSTOOUTSIDE(makeModel({}), 1));
}

TEST_F(VertexLocksTest, MovingALeaderMovesItsDirectFollowersOnly) {
    auto m = makeModel({square(0, 0, 1), square(1, 0, 1), square(1, 1, 1)});
    // Vertex 3 (1, 1) leads 6 and 9; 10 follows 9 (a second level).
    m.IPOINT(6) = 3;
    m.IPOINT(9) = 3;
    m.IPOINT(10) = 9;
    model::MOVELOCKS(m, 3, 0.25f, -0.5f);
    for (int v : {3, 6, 9}) {
        EXPECT_FLOAT_EQ(m.XVRT(v), 1.25f) << v;
        EXPECT_FLOAT_EQ(m.ZVRT(v), 0.5f) << v;
    }
    EXPECT_FLOAT_EQ(m.XVRT(10), 1.0f);
    EXPECT_FLOAT_EQ(m.ZVRT(10), 2.0f);

    model::MOVELOCKSONLY(m, 3, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(m.XVRT(3), 1.25f);
    EXPECT_FLOAT_EQ(m.XVRT(6), 2.25f);
}

TEST_F(VertexLocksTest, MovesSetTheIllegalFlag) {
    auto m = makeModel({square(0, 0, 1), square(5, 0, 1)});
    model::MOVELOCKS(m, 3, 4.5f, 0.0f);  // into body 2
    EXPECT_TRUE(model::sessionState().BadModel);
    model::MOVELOCKS(m, 3, -4.5f, 0.0f);
    EXPECT_FALSE(model::sessionState().BadModel);
    model::MOVEBODY(m, 2, 0.0f, 99.5f);  // through the surface
    EXPECT_TRUE(model::sessionState().BadModel);
    model::MOVEBODY(m, 2, 0.0f, -99.5f);
    EXPECT_FALSE(model::sessionState().BadModel);
}

TEST_F(VertexLocksTest, MovingABodyMovesEachFollowerOnce) {
    auto m = makeModel({square(0, 0, 1), square(1, 0, 1)});
    m.IPOINT(2) = 1;  // a follower inside the body
    m.IPOINT(5) = 4;  // body 2's first vertex follows body 1's last
    m.XPIVOT(1) = 0.5f;
    m.ZPIVOT(1) = 0.5f;
    model::MOVEBODY(m, 1, -2.0f, -3.0f);
    EXPECT_FLOAT_EQ(m.XVRT(2), -2.0f);
    EXPECT_FLOAT_EQ(m.ZVRT(2), -2.0f);
    EXPECT_FLOAT_EQ(m.XVRT(5), -1.0f);
    EXPECT_FLOAT_EQ(m.ZVRT(5), -3.0f);
    EXPECT_FLOAT_EQ(m.XVRT(6), 1.0f);  // not a follower
    EXPECT_FLOAT_EQ(m.XPIVOT(1), 0.5f);
}

TEST_F(VertexLocksTest, RotatingABodyNinetyDegreesAboutItsPivot) {
    auto m = makeModel({{{1, 0}, {1, -1}, {2, -1}}});
    m.XPIVOT(1) = 0.0f;
    m.ZPIVOT(1) = 0.0f;
    model::ROTATEBODY(m, 1, 1, -1.0f, 1.0f);  // (1, 0) dragged to (0, 1)
    EXPECT_NEAR(m.XVRT(1), 0.0f, 1e-6);
    EXPECT_NEAR(m.ZVRT(1), 1.0f, 1e-6);
    EXPECT_NEAR(m.XVRT(2), 1.0f, 1e-6);
    EXPECT_NEAR(m.ZVRT(2), 1.0f, 1e-6);
    EXPECT_NEAR(m.XVRT(3), 1.0f, 1e-6);
    EXPECT_NEAR(m.ZVRT(3), 2.0f, 1e-6);
    EXPECT_FALSE(model::sessionState().BadModel);
    EXPECT_EQ(m.XPIVOT(1), 0.0f);
}

TEST_F(VertexLocksTest, RotationKeepsTheDistanceAndTurnsOutsideFollowers) {
    auto m = makeModel({{{2, 0}, {2, -1}, {3, -1}}, {{2, 0}, {4, 3}, {5, 1}}});
    m.IPOINT(4) = 1;
    m.XPIVOT(1) = 0.0f;
    m.ZPIVOT(1) = 0.0f;
    model::sessionState().DragLocksFromOutside = true;
    model::ROTATEBODY(m, 1, 1, -2.0f, 2.0f);  // towards (0, 2): 90 degrees
    EXPECT_NEAR(m.XVRT(1), 0.0f, 1e-6);
    EXPECT_NEAR(m.ZVRT(1), 2.0f, 1e-6);
    EXPECT_NEAR(m.XVRT(4), 0.0f, 1e-6);
    EXPECT_NEAR(m.ZVRT(4), 2.0f, 1e-6);

    // A drag that turns by less than 1.0E-10 radians moves nothing; with the
    // pivot moving the grabbed vertex still reaches the target, once, and its
    // follower with it.
    auto t = makeModel({{{1, 0}, {1, -1}, {2, -1}}, {{1, 0}, {1.5f, 2}, {3, 1}}});
    t.IPOINT(4) = 1;
    t.XPIVOT(1) = 0.0f;
    t.ZPIVOT(1) = 0.0f;
    model::sessionState().DragLocksFromOutside = false;
    model::ROTATEBODY(t, 1, 1, 0.0f, 1.0E-11f);
    EXPECT_EQ(t.XVRT(1), 1.0f);
    EXPECT_EQ(t.ZVRT(1), 0.0f);
    EXPECT_FALSE(model::sessionState().BadModel);
    model::sessionState().PivotMovesWhileRotating = true;
    model::sessionState().DragLocksToOutside = true;
    model::ROTATEBODY(t, 1, 1, 0.5f, 0.0f);  // along the ray: no turn, a shift
    EXPECT_FLOAT_EQ(t.XVRT(1), 1.5f);
    EXPECT_FLOAT_EQ(t.XVRT(4), 1.5f);
    EXPECT_FLOAT_EQ(t.XVRT(3), 2.5f);
    EXPECT_FLOAT_EQ(t.XPIVOT(1), 0.5f);
}

TEST_F(VertexLocksTest, RotatingALayerRelevelsItsEnds) {
    auto m = makeModel(
        {{{-5, 50}, {5, 40}, {1e16f, 40}, {1e16f, -1e16f}, {-1e16f, -1e16f}, {-1e16f, 50}}});
    m.LAYER(1) = true;
    m.XPIVOT(1) = 0.0f;
    m.ZPIVOT(1) = 45.0f;
    model::ROTATEBODY(m, 1, 2, 0.0f, 2.0f);
    EXPECT_EQ(m.ZVRT(3), m.ZVRT(2));
    EXPECT_EQ(m.ZVRT(6), m.ZVRT(1));
    EXPECT_GT(m.ZVRT(2), 40.0f);
}

TEST_F(VertexLocksTest, ANaNOffsetFromThePivotLeavesTheModelAlone) {
    auto m = makeModel({square(0, 0, 1)});
    m.XPIVOT(1) = NAN;
    m.ZPIVOT(1) = 0.0f;
    model::sessionState().BadModel = true;
    const auto before = m;
    model::ROTATEBODY(m, 1, 1, 1.0f, 1.0f);
    EXPECT_EQ(m.XVRT.values(), before.XVRT.values());
    EXPECT_TRUE(model::sessionState().BadModel);
}
