#include "model/crossing_tests.h"

#include <gtest/gtest.h>

#include "model_fixtures.h"

using model::Segment;
using model_test::makeModel;
using model_test::square;

TEST(SegmentCrossing, TableOfSegmentPairs) {
    struct Case {
        const char* what;
        Segment xa, za, xb, zb;
        bool crosses;
        bool hasPoint;  // LCROSS computed an intersection
    } cases[] = {
        {"crossing", {0, 2}, {0, 2}, {0, 2}, {2, 0}, true, true},
        {"T junction", {0, 4}, {0, 0}, {2, 2}, {0, 3}, false, false},
        {"shared end point", {0, 2}, {0, 2}, {2, 4}, {2, 0}, false, false},
        // End points one part in ten million apart straddle each other only
        // through that offset: no crossing, the point is still computed.
        {"near-shared end point", {0, 2}, {0, 2}, {2.0000002f, 0}, {1.9999998f, 3}, false, true},
        {"collinear overlap", {0, 4}, {0, 0}, {2, 6}, {0, 0}, false, false},
        {"parallel", {0, 4}, {0, 0}, {0, 4}, {1, 1}, false, false},
        {"apart", {0, 1}, {0, 1}, {3, 4}, {0, -1}, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(model::LCROSS(c.xa, c.za, c.xb, c.zb), c.crosses) << c.what;
        const auto& r = model::crossingReport();
        EXPECT_EQ(r.intersectionX != model::kNoIntersection, c.hasPoint) << c.what;
        // The test is symmetric in its two segments.
        EXPECT_EQ(model::LCROSS(c.xb, c.zb, c.xa, c.za), c.crosses) << c.what;
    }
    ASSERT_TRUE(model::LCROSS({0, 2}, {0, 2}, {0, 2}, {2, 0}));
    EXPECT_FLOAT_EQ(model::crossingReport().intersectionX, 1.0f);
    EXPECT_FLOAT_EQ(model::crossingReport().intersectionZ, 1.0f);
}

TEST(SegmentCrossing, TheLooserStraddleCountsAnEndPointOnTheLine) {
    EXPECT_TRUE(model::LCROSS2({0, 2}, {0, 2}, {0, 2}, {2, 0}));
    EXPECT_TRUE(model::LCROSS2({0, 4}, {0, 0}, {2, 2}, {-1, 0}));  // B ends on A
    EXPECT_FALSE(model::LCROSS({0, 4}, {0, 0}, {2, 2}, {-1, 0}));
    EXPECT_FALSE(model::LCROSS2({0, 1}, {0, 1}, {3, 4}, {0, -1}));
}

TEST(SegmentCrossing, FreeSegmentAgainstTheBodies) {
    auto m = makeModel({square(0, 0, 2), square(10, 0, 2)});
    // Through body 2's left edge.
    EXPECT_TRUE(model::LCROSSBODYXY(m, {9, 11}, {1, 1}, 0, true));
    const auto& r = model::crossingReport();
    EXPECT_EQ(r.body, 2);
    EXPECT_EQ(r.edgeX1, 10.0f);
    EXPECT_EQ(r.edgeZ1, 0.0f);
    EXPECT_EQ(r.edgeZ2, 2.0f);
    // Ending exactly on a vertex.
    EXPECT_FALSE(model::LCROSSBODYXY(m, {5, 10}, {1, 2}, 0, true));
    EXPECT_EQ(model::crossingReport().body, 0);
    // Body 1's closing edge (vertex 4 back to 1, along z = 0) is skipped only
    // for body 1 with lclose false; its inner edges still count.
    EXPECT_TRUE(model::LCROSSBODYXY(m, {1, 1}, {-1, 1}, 0, false));
    EXPECT_FALSE(model::LCROSSBODYXY(m, {1, 1}, {-1, 1}, 1, false));
    EXPECT_TRUE(model::LCROSSBODYXY(m, {1, 1}, {-1, 1}, 1, true));
    EXPECT_EQ(model::crossingReport().edgeX1, 2.0f);                 // the IV2 end first
    EXPECT_TRUE(model::LCROSSBODYXY(m, {-1, 1}, {1, 1}, 1, false));  // inner edge 1-2
}

TEST(SegmentCrossing, SegmentBetweenVerticesSkipsItsOwnEdges) {
    auto m = makeModel({square(0, 0, 2), {{1, 0.5f}, {1, 1.5f}, {5, 3}}});
    // Each edge of body 1 against the model: the neighbouring edges share a
    // vertex index and never count.
    EXPECT_FALSE(model::LCRSBD(1, 2, 1, true, m));
    EXPECT_FALSE(model::LCRSBD(4, 1, 1, true, m));
    EXPECT_EQ(model::crossingReport().body, 0);
    // The diagonal 1-3 crosses nothing but body 2's first edge.
    EXPECT_TRUE(model::LCRSBD(1, 3, 1, true, m));
    EXPECT_EQ(model::crossingReport().body, 2);
    EXPECT_EQ(model::crossingReport().edgeX1, 1.0f);
    EXPECT_TRUE(model::LCROSSBODY(m, 1, 3, 1, true));
}

TEST(SegmentCrossing, PolylineAgainstItself) {
    const float x[] = {0, 1, 1, 0}, z[] = {0, 1, 0, 1};
    EXPECT_TRUE(model::LCROSSSELF(x, z, 4, false));
    EXPECT_TRUE(model::LCROSSSELF(x, z, 4, true));
    // Only the closing edge 4 -> 1 crosses edge 2-3.
    const float cx[] = {0, 2, 2, 3}, cz[] = {0, 0, 2, 1};
    EXPECT_FALSE(model::LCROSSSELF(cx, cz, 4, false));
    EXPECT_TRUE(model::LCROSSSELF(cx, cz, 4, true));
    EXPECT_FALSE(model::LCROSSSELF(x, z, 2, true));
}

TEST(SegmentCrossing, StackedVertices) {
    auto m = makeModel({{{0, 0}, {1.0E-4f, 0}, {1.1E-4f, 1}, {1.1E-4f + 1.1E-4f, 1}}});
    EXPECT_TRUE(model::LSTACK(1, 2, m));
    EXPECT_FALSE(model::LSTACK(3, 4, m));
}
