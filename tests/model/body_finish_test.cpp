#include "model/body_finish.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/body_area.h"
#include "model_fixtures.h"

using model_test::makeModel;
using model_test::square;

namespace {

struct Outline {
    std::vector<float> x, z;
    std::vector<bool> fx, fz;
    std::vector<int> lead;
};

bool finish(model::PolygonModel& m, const Outline& o, float property, bool layer) {
    const int n = static_cast<int>(o.x.size());
    std::unique_ptr<bool[]> fx(new bool[o.fx.size() + 1]), fz(new bool[o.fz.size() + 1]);
    for (std::size_t i = 0; i < o.fx.size(); ++i)
        fx[i] = o.fx[i];
    for (std::size_t i = 0; i < o.fz.size(); ++i)
        fz[i] = o.fz[i];
    return model::BODYFINISH(m, o.x, o.z, n, std::span<const bool>(fx.get(), o.fx.size()),
                             std::span<const bool>(fz.get(), o.fz.size()), property, o.lead, layer);
}

}  // namespace

TEST(BodyFinish, AOnePointLayerBecomesFiveVertices) {
    model::PolygonModel m;
    m.LVFIX.allocate(1);
    m.LVFIX(0) = true;  // left over from earlier use
    ASSERT_TRUE(finish(m, {{3}, {-2}, {true}, {false}, {1}}, 2.5f, true));
    EXPECT_EQ(m.NBOD, 1);
    EXPECT_EQ(m.IV1(1), 1);
    EXPECT_EQ(m.IV2(1), 5);
    const float wantX[] = {3, 1e16f, 1e16f, -1e16f, -1e16f};
    const float wantZ[] = {-2, -2, -1e16f, -1e16f, -2};
    for (int v = 1; v <= 5; ++v) {
        EXPECT_EQ(m.XVRT(v), wantX[v - 1]) << v;
        EXPECT_EQ(m.ZVRT(v), wantZ[v - 1]) << v;
        EXPECT_EQ(m.IPOINT(v), v);
    }
    EXPECT_TRUE(m.LXFIX(1));
    EXPECT_FALSE(m.LXFIX(2));
    EXPECT_TRUE(m.LAYER(1));
    EXPECT_FALSE(m.LVFIX(0));
    EXPECT_EQ(m.DENS(1), 2.5f);
    EXPECT_EQ(m.XPIVOT(1), 1.0E20f);
    EXPECT_EQ(m.ILEVL(1), 0);
}

TEST(BodyFinish, ANewBodyFollowsTheLastBodyAndKeepsItsLocks) {
    auto m = makeModel({square(0, 0, 1)});
    m.LVFIX(0) = true;
    m.DENS(1) = 7.0f;
    // Stale entries beyond the vertex count, as a deleted body leaves them.
    m.XVRT.resizeKeeping(9);
    m.XVRT(5) = 42.0f;
    ASSERT_TRUE(
        finish(m, {{0, 2, 2}, {1, 1, 0}, {false, true, false}, {false, false, true}, {2, 6, 7}},
               0.3f, false));
    EXPECT_EQ(m.NBOD, 2);
    EXPECT_EQ(m.IV1(2), 5);
    EXPECT_EQ(m.IV2(2), 7);
    EXPECT_EQ(m.XVRT(5), 0.0f);
    EXPECT_EQ(m.IPOINT(5), 2);  // snapped to vertex 2 and locked
    EXPECT_EQ(m.IPOINT(6), 6);
    EXPECT_TRUE(m.LZFIX(7));
    EXPECT_TRUE(m.LVFIX(0));
    EXPECT_EQ(m.DENS(1), 7.0f);
    EXPECT_EQ(m.DENS(2), 0.3f);
    EXPECT_EQ(m.XVRT.size(), 7);
}

TEST(BodyFinish, AFailedGrowthLeavesTheModelAsItWas) {
    auto m = makeModel({square(0, 0, 1)});
    const auto before = m;
    model::allocationFaults().countdown = 18;
    EXPECT_FALSE(
        finish(m, {{0, 2, 2}, {1, 1, 0}, {false, false, false}, {false, false, false}, {5, 6, 7}},
               1.0f, false));
    model::allocationFaults().countdown = -1;
    EXPECT_EQ(m, before);
}

TEST(BodyArea, SignFollowsTheOrientation) {
    const float x[] = {0, 0, 1, 1}, z[] = {0, 1, 1, 0};
    EXPECT_FLOAT_EQ(model::PGAREA(x, z, 4), 1.0f);
    const float rx[] = {1, 1, 0, 0}, rz[] = {0, 1, 1, 0};
    EXPECT_FLOAT_EQ(model::PGAREA(rx, rz, 4), -1.0f);
    EXPECT_FLOAT_EQ(model::PGAREA(x, z, 1), 0.0f);

    auto m = makeModel({square(0, 0, 2), {{5, 0}, {6, 0}, {6, 1}}});
    model::FDAREA(m);
    EXPECT_FLOAT_EQ(m.AREAS(1), 4.0f);
    EXPECT_FLOAT_EQ(m.AREAS(2), -0.5f);
}
