#include "model/body_split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/model_services.h"
#include "model_fixtures.h"

using model_test::makeModel;
using model_test::square;

namespace {

class BodySplitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        model::modelServices().message = [this](std::string_view t) { messages.emplace_back(t); };
    }
    void TearDown() override { model::modelServices().message = nullptr; }
    std::vector<std::string> messages;
};

std::vector<std::pair<float, float>> outline(const model::PolygonModel& m, int b) {
    std::vector<std::pair<float, float>> out;
    for (int v = m.IV1(b); v <= m.IV2(b); ++v)
        out.emplace_back(m.XVRT(v), m.ZVRT(v));
    return out;
}

}  // namespace

TEST_F(BodySplitTest, SplittingTheUnitSquareFromVertexOneToThree) {
    auto m = makeModel({square(0, 0, 1)});
    m.DENS(1) = 2.7f;
    m.XTENT1(1) = 5.0f;
    m.XTENT2(1) = 6.0f;
    m.LVFIX(1) = true;
    m.XPIVOT(1) = 0.5f;
    m.LAYER(1) = true;
    int istat = 99;
    model::SPLITBODY(m, 1, 1, 3, istat);
    EXPECT_EQ(istat, 0);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(m.NBOD, 2);
    EXPECT_EQ(m.vertexCount(), 6);
    using O = std::vector<std::pair<float, float>>;
    EXPECT_EQ(outline(m, 1), (O{{0, 0}, {1, 1}, {1, 0}}));
    EXPECT_EQ(outline(m, 2), (O{{0, 0}, {0, 1}, {1, 1}}));
    for (int v = 1; v <= 6; ++v)
        EXPECT_EQ(m.IPOINT(v), v);
    // Both halves keep the clockwise run and say so in their areas.
    EXPECT_FLOAT_EQ(m.AREAS(1), 0.5f);
    EXPECT_FLOAT_EQ(m.AREAS(2), 0.5f);
    EXPECT_EQ(m.DENS(2), 2.7f);
    EXPECT_EQ(m.XTENT1(2), 5.0f);
    EXPECT_EQ(m.XTENT2(2), 6.0f);
    EXPECT_TRUE(m.LVFIX(2));
    EXPECT_EQ(m.XPIVOT(2), 1.0E20f);
    EXPECT_EQ(m.XPIVOT(1), 0.5f);
    EXPECT_FALSE(m.LAYER(2));
    EXPECT_TRUE(m.LAYER(1));
    EXPECT_EQ(m.ILEVL(1), 1);
    EXPECT_EQ(m.ILEVL(2), 1);
}

TEST_F(BodySplitTest, SplittingAMiddleBodyShiftsTheLaterOnesAndRenumbersLocks) {
    // Body 2 is a hexagon 5..10; body 3 follows its interior vertex 7 and its
    // end vertex 9.
    auto m = makeModel({square(0, 0, 1),
                        {{10, 0}, {10, 2}, {11, 3}, {12, 2}, {12, 0}, {11, -1}},
                        square(20, 0, 1)});
    m.IPOINT(11) = 7;
    m.IPOINT(12) = 9;
    m.IPOINT(6) = 2;  // an interior vertex following body 1
    int istat = 0;
    model::SPLITBODY(m, 2, 9, 5, istat);  // A = 5, B = 9, K = 3
    ASSERT_EQ(istat, 0);
    ASSERT_EQ(m.NBOD, 4);
    EXPECT_EQ(m.IV1(2), 5);
    EXPECT_EQ(m.IV2(2), 7);  // 5, 9, 10
    EXPECT_EQ(m.IV1(3), 8);
    EXPECT_EQ(m.IV2(3), 11);
    EXPECT_EQ(m.IV1(4), 12);
    EXPECT_EQ(m.IV2(4), 16);  // copies of 5..9
    EXPECT_EQ(m.XVRT(6), 12.0f);
    EXPECT_EQ(m.XVRT(16), 12.0f);
    // Body 3's followers: old 7 is the copy at 14; old 9 is old-body vertex 6.
    EXPECT_EQ(m.IPOINT(8), 14);
    EXPECT_EQ(m.IPOINT(9), 6);
    // The copied interior vertex keeps its outside leader; the free ends have
    // free copies.
    EXPECT_EQ(m.IPOINT(13), 2);
    EXPECT_EQ(m.IPOINT(12), 12);
    EXPECT_EQ(m.IPOINT(16), 16);
    EXPECT_EQ(m.IPOINT(5), 5);
}

TEST_F(BodySplitTest, IllegalCutsAreRefusedAndChangeNothing) {
    // A concave body (a U) and a small body across one chord.
    auto m = makeModel({{{0, 0}, {0, 4}, {1, 4}, {1, 1}, {3, 1}, {3, 4}, {4, 4}, {4, 0}},
                        {{1.8f, -1}, {1.8f, 0.5f}, {2.2f, 0.5f}, {2.2f, -1}}});
    const auto before = m;
    struct Case {
        int a, b;
        const char* message;
    } cases[] = {
        {2, 2, "The two endpoints must be distinct vertices."},
        {2, 3, "The endpoints cannot be adjacent vertices."},
        {8, 1, "The endpoints cannot be adjacent vertices."},
        {1, 8 - 1, "The edge between these endpoints must not cross any other edges."},
        {3, 6, "The edge between these endpoints must lie inside the current body."},
    };
    for (const auto& c : cases) {
        messages.clear();
        int istat = 0;
        model::SPLITBODY(m, 1, c.a, c.b, istat);
        EXPECT_EQ(istat, -1) << c.message;
        EXPECT_EQ(messages, std::vector<std::string>{c.message});
        EXPECT_EQ(m, before);
    }
}

TEST_F(BodySplitTest, AFailedGrowthLeavesTheModelAsItWas) {
    auto m = makeModel({square(0, 0, 1)});
    const auto before = m;
    model::allocationFaults().countdown = 7;
    int istat = 0;
    model::SPLITBODY(m, 1, 1, 3, istat);
    model::allocationFaults().countdown = -1;
    EXPECT_EQ(istat, -1);
    EXPECT_EQ(m, before);
    EXPECT_EQ(messages.size(), 1u);
}

TEST(CompleteLayer, WritesTheFourClosingPoints) {
    std::vector<float> x{0, 1, 2, 9, 9, 9, 9}, z{5, 3, 2, 9, 9, 9, 9};
    model::COMPLETELAYER(x, z, 7);
    EXPECT_EQ(x, (std::vector<float>{0, 1, 2, 1e16f, 1e16f, -1e16f, -1e16f}));
    EXPECT_EQ(z, (std::vector<float>{5, 3, 2, 2, -1e16f, -1e16f, 5}));
}
