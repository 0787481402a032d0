#include <gtest/gtest.h>

#include <cmath>

#include "model/body_finish.h"
#include "model/session_state.h"
#include "model_fixtures.h"

using model_test::makeModel;
using model_test::square;

namespace {

void digitise(std::initializer_list<std::pair<float, float>> points) {
    auto& buf = model::newBodyBuffer();
    buf = model::NewBodyBuffer{};
    for (auto [x, z] : points) {
        buf.X[static_cast<std::size_t>(buf.n)] = x;
        buf.Z[static_cast<std::size_t>(buf.n)] = z;
        ++buf.n;
    }
}

}  // namespace

TEST(ShortenEdge, PullsTheNewPointBackJustShortOfTheCrossing) {
    auto m = makeModel({square(10, 0, 2)});
    digitise({{0, 0}, {0, 1}, {20, 1}});  // the last edge runs through the body
    bool status = true;
    model::SHORTENEDGE(m, status);
    EXPECT_FALSE(status);
    const auto& buf = model::newBodyBuffer();
    EXPECT_LE(buf.X[2], 10.0f);
    EXPECT_GT(buf.X[2], 10.0f - 1.0E-4f);
    EXPECT_FLOAT_EQ(buf.Z[2], 1.0f);
    EXPECT_EQ(buf.X[1], 0.0f);  // only the last point moves
    model::resetNewBodyBuffer();
}

TEST(ShortenEdge, APointOnThePreviousOneMakesNoTrial) {
    auto m = makeModel({square(10, 0, 2)});
    digitise({{0, 0}, {3, 3}, {3.000004f, 3.000002f}});
    bool status = true;
    model::SHORTENEDGE(m, status);
    EXPECT_FALSE(status);
    const auto& buf = model::newBodyBuffer();
    EXPECT_EQ(buf.X[2], 3.0f);
    EXPECT_EQ(buf.Z[2], 3.0f);
    model::resetNewBodyBuffer();
}

TEST(ShortenEdge, TheOutlineItselfCountsAndAnInfinitePointEnds) {
    auto m = makeModel({});
    digitise({{0, 0}, {4, 0}, {4, 4}, {2, -2}});  // crosses the first edge
    bool status = true;
    model::SHORTENEDGE(m, status);
    EXPECT_FALSE(status);
    EXPECT_GT(model::newBodyBuffer().Z[3], 0.0f);

    digitise({{0, 0}, {INFINITY, 1}});
    model::SHORTENEDGE(m, status);  // returns
    model::resetNewBodyBuffer();
}
