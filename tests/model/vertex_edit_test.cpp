#include "model/vertex_edit.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/model_services.h"
#include "model_fixtures.h"

using model_test::makeModel;
using model_test::square;

namespace {

// Every leader link, as (vertex, leader) pairs of followers.
std::vector<std::pair<int, int>> followers(const model::PolygonModel& m) {
    std::vector<std::pair<int, int>> out;
    for (int v = 1; v <= m.vertexCount(); ++v) {
        if (m.IPOINT(v) != v) out.emplace_back(v, m.IPOINT(v));
    }
    return out;
}

class VertexEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        model::modelServices().message = [this](std::string_view t) { messages.emplace_back(t); };
    }
    void TearDown() override { model::modelServices().message = nullptr; }
    std::vector<std::string> messages;
};

}  // namespace

TEST_F(VertexEditTest, InsertingAndDeletingWithLocksAcrossBodiesRenumbersEveryLink) {
    // Bodies 1..3 of four vertices; locks: 6 -> 2 (body 2 follows body 1
    // before the insertion point), 11 -> 4 (after it), 3 -> 9 (body 1 follows
    // body 3), 12 -> 5.
    auto m = makeModel({square(0, 0, 1), square(5, 0, 1), square(10, 0, 1)});
    m.IPOINT(6) = 2;
    m.IPOINT(11) = 4;
    m.IPOINT(3) = 9;
    m.IPOINT(12) = 5;
    m.LXFIX(4) = true;

    ASSERT_TRUE(model::ADDVERT(m, 0.5f, 1.5f, 1, 2));
    EXPECT_EQ(m.vertexCount(), 13);
    EXPECT_EQ(m.IV2(1), 5);
    EXPECT_EQ(m.IV1(2), 6);
    EXPECT_EQ(m.IV2(3), 13);
    EXPECT_EQ(m.XVRT(3), 0.5f);
    EXPECT_EQ(m.IPOINT(3), 3);
    EXPECT_FALSE(m.LXFIX(3));
    EXPECT_TRUE(m.LXFIX(5));  // the old vertex 4 moved up with its flag
    EXPECT_EQ(followers(m), (std::vector<std::pair<int, int>>{{4, 10}, {7, 2}, {12, 5}, {13, 6}}));

    // Deleting the new vertex again restores every link.
    int v = 3;
    ASSERT_TRUE(model::DELETEVERTEX(m, 1, v));
    EXPECT_EQ(v, 0);
    EXPECT_EQ(followers(m), (std::vector<std::pair<int, int>>{{3, 9}, {6, 2}, {11, 4}, {12, 5}}));
    EXPECT_EQ(m.IV1(2), 5);

    // Deleting a leader frees its followers and leaves their flags alone.
    m.LXFIX(6) = true;
    v = 2;
    ASSERT_TRUE(model::DELETEVERTEX(m, 1, v));
    EXPECT_EQ(followers(m), (std::vector<std::pair<int, int>>{{2, 8}, {10, 3}, {11, 4}}));
    EXPECT_TRUE(m.LXFIX(5));
    EXPECT_EQ(m.IV2(1), 3);
    EXPECT_EQ(m.IV1(3), 8);
}

TEST_F(VertexEditTest, InsertingAfterTheLastVertexAppendsToTheList) {
    auto m = makeModel({square(0, 0, 1), square(5, 0, 1)});
    ASSERT_TRUE(model::ADDVERT(m, 5.5f, -0.5f, 2, 8));
    EXPECT_EQ(m.IV2(2), 9);
    EXPECT_EQ(m.XVRT(9), 5.5f);
    EXPECT_EQ(m.IV1(2), 5);
}

TEST_F(VertexEditTest, AFailedInsertionLeavesTheModelAsItWas) {
    auto m = makeModel({square(0, 0, 1), square(5, 0, 1)});
    const auto before = m;
    model::allocationFaults().countdown = 2;
    EXPECT_FALSE(model::ADDVERT(m, 1, 1, 1, 1));
    model::allocationFaults().countdown = -1;
    EXPECT_EQ(m, before);
}

TEST_F(VertexEditTest, DeletingTheLastVertexOfTheLastBodyShortensOnlyThatBody) {
    auto m = makeModel({square(0, 0, 1), {{5, 0}, {5, 1}, {6, 1}, {6, 0}, {5.5f, -0.5f}}});
    int v = 9;
    ASSERT_TRUE(model::DELETEVERTEX(m, 2, v));
    EXPECT_EQ(m.vertexCount(), 8);
    EXPECT_EQ(m.XVRT(8), 6.0f);
    EXPECT_EQ(m.IV1(2), 5);
}

TEST_F(VertexEditTest, ABodyKeepsThreeVerticesAndALayerOneOfItsOwn) {
    auto m = makeModel({{{0, 0}, {0, 1}, {1, 1}}});
    const auto before = m;
    int v = 2;
    EXPECT_FALSE(model::DELETEVERTEX(m, 1, v));
    EXPECT_EQ(v, 0);
    EXPECT_EQ(m, before);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Bodies need at least 3 vertices!");

    auto layer = makeModel(
        {{{-5, 50}, {5, 50}, {1e16f, 50}, {1e16f, -1e16f}, {-1e16f, -1e16f}, {-1e16f, 50}}});
    layer.LAYER(1) = true;
    v = 6;  // a closing vertex
    EXPECT_FALSE(model::DELETEVERTEX(layer, 1, v));
    v = 2;
    EXPECT_TRUE(model::DELETEVERTEX(layer, 1, v));
    v = 1;
    EXPECT_FALSE(model::DELETEVERTEX(layer, 1, v));
    EXPECT_EQ(messages.back(), "Layers need at least 1 vertex!");
    EXPECT_EQ(layer.IV2(1), 5);
}
