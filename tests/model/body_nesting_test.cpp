#include "model/body_nesting.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "model_fixtures.h"

using model_test::makeModel;
using model_test::square;

TEST(BodyNesting, ThreeNestedBodiesGetTheirLevelsAndParentsInOneCall) {
    // Numbered from the inside out: 1 inside 2 inside 3.
    auto m = makeModel({square(4, 4, 2), square(2, 2, 6), square(0, 0, 10)});
    bool changed = false;
    model::BOLEVL(m, changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(m.ILEVL(1), 3);
    EXPECT_EQ(m.ILEVL(2), 2);
    EXPECT_EQ(m.ILEVL(3), 1);
    EXPECT_EQ(m.INCLBD(1), 2);
    EXPECT_EQ(m.INCLBD(2), 3);
    EXPECT_EQ(m.INCLBD(3), 0);
    model::BOLEVL(m, changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(m.INCLBD(1), 2);
}

TEST(BodyNesting, SharedAndBoundaryVerticesDecideEnclosureAsDocumented) {
    // 1 and 2 disjoint.
    auto disjoint = makeModel({square(0, 0, 1), square(5, 0, 1)});
    bool changed = true;
    model::BOLEVL(disjoint, changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(disjoint.ILEVL(1), 1);
    EXPECT_EQ(disjoint.ILEVL(2), 1);

    // Body 2's first vertex lies on body 1's edge, the others inside: not
    // enclosed, because only shared vertices are skipped.
    auto touching = makeModel({square(0, 0, 10), {{0, 5}, {2, 6}, {2, 4}}});
    model::BOLEVL(touching, changed);
    EXPECT_EQ(touching.ILEVL(2), 1);
    EXPECT_EQ(touching.INCLBD(2), 0);

    // Body 2 cut out along a common edge: its first two vertices are vertices
    // of body 1, the third decides.
    auto cut = makeModel({square(0, 0, 10), {{0, 0}, {0, 10}, {3, 5}}});
    model::BOLEVL(cut, changed);
    EXPECT_EQ(cut.ILEVL(2), 2);
    EXPECT_EQ(cut.INCLBD(2), 1);

    // Identical vertex sets enclose each other.
    auto twins = makeModel({square(0, 0, 1), square(0, 0, 1)});
    model::BOLEVL(twins, changed);
    EXPECT_EQ(twins.ILEVL(1), 2);
    EXPECT_EQ(twins.ILEVL(2), 2);
}

TEST(BodyNesting, TheBodyUnderAPointIsTheDeepest) {
    auto m = makeModel({square(0, 0, 10), square(2, 2, 2), square(20, 0, 1)});
    bool changed = false;
    model::BOLEVL(m, changed);
    EXPECT_EQ(model::ICRBOD(3, 3, m), 2);  // inside the inclusion
    EXPECT_EQ(model::ICRBOD(1, 1, m), 1);
    EXPECT_EQ(model::ICRBOD(0, 5, m), 1);      // on body 1's edge
    EXPECT_EQ(model::ICRBOD(50, 5, m), 0);     // below the surface, in no body
    EXPECT_EQ(model::ICRBOD(50, 150, m), -1);  // above the surface
    m.ILEVL(3) = 0;                            // a new body before the next level computation
    EXPECT_EQ(model::ICRBOD(20.5f, 0.5f, m), 0);
    auto bare = makeModel({square(0, 0, 1)}, false);
    EXPECT_EQ(model::ICRBOD(50, 5, bare), -1);
}

// The row-at-a-time answer under and above the surface is ICRBOD's own,
// also on the surface, at its vertices, along its flat parts and where a
// NaN spoils it.
TEST(BodyNesting, ASurfaceRowAnswersAsTheBodySearch) {
    struct Case {
        const char* what;
        std::vector<std::pair<float, float>> surface;
    };
    const std::vector<Case> cases = {
        {"jagged", {{-10, 0}, {-5, 4}, {-4, -3}, {0, 4}, {1, 1}, {3, 1}, {4, 6}, {8, -2}, {12, 2}}},
        {"flat", {{-10, 2}, {10, 2}}},
        {"reversed", {{10, 0}, {2, 3}, {-10, 1}}},
        {"with a NaN", {{-10, 0}, {0, std::numeric_limits<float>::quiet_NaN()}, {10, 1}}},
    };
    for (const Case& c : cases) {
        auto m = makeModel({}, false);
        m.NTOPO = static_cast<int>(c.surface.size());
        model::ALLOCPG(m, 0, 0);
        for (int i = 1; i <= m.NTOPO; ++i) {
            m.XTOPO(i) = c.surface[static_cast<std::size_t>(i - 1)].first;
            m.ZTOPO(i) = c.surface[static_cast<std::size_t>(i - 1)].second;
        }
        model::closeTopography(m);
        int under = 0, above = 0;
        // Steps of a quarter meet every vertex, flat part and crossing exactly;
        // the rows of a grid, found together, go down, twice at one height
        // and once at none.
        std::vector<float> heights;
        for (float z = 7.0f; z >= -5.0f; z -= 0.25f)
            heights.push_back(z);
        heights.push_back(1.0f);
        heights.push_back(std::numeric_limits<float>::quiet_NaN());
        const model::SurfaceRows grid(m, heights);
        for (std::size_t j = 0; j < heights.size(); ++j) {
            const float z = heights[j];
            const model::SurfaceRow row(m, z);
            for (float x = -12.0f; x <= 14.0f; x += 0.25f) {
                const int expected = model::ICRBOD(x, z, m);
                ASSERT_EQ(row.regionAt(x), expected) << c.what << " at " << x << ", " << z;
                ASSERT_EQ(grid[j].regionAt(x), expected)
                    << c.what << " in the grid at " << x << ", " << z;
                (expected == 0 ? under : above) += 1;
            }
        }
        if (std::string(c.what) != "with a NaN") {
            EXPECT_GT(under, 100) << c.what;
            EXPECT_GT(above, 100) << c.what;
        }
    }
    auto bare = makeModel({}, false);
    EXPECT_EQ(model::SurfaceRow(bare, 0.0f).regionAt(0.0f), -1);
}

TEST(BodyNesting, OwnerAndNeighboursOfAVertex) {
    auto m = makeModel({square(0, 0, 1), square(5, 0, 1), square(10, 0, 1)});
    int iloc = -1, ib = -1;
    model::FINDIB(9, iloc, ib, m);
    EXPECT_EQ(ib, 3);
    EXPECT_EQ(iloc, 1);
    model::FINDIB(13, iloc, ib, m);
    EXPECT_EQ(ib, 0);
    EXPECT_EQ(iloc, 0);

    int prev = 0, next = 0;
    ib = 0;
    model::CNRDEF(prev, 5, next, ib, m);
    EXPECT_EQ(ib, 2);
    EXPECT_EQ(prev, 8);
    EXPECT_EQ(next, 6);
    model::CNRDEF(prev, 8, next, ib, m);
    EXPECT_EQ(prev, 7);
    EXPECT_EQ(next, 5);
    ib = 1;  // wrong body: looked up again
    model::CNRDEF(prev, 10, next, ib, m);
    EXPECT_EQ(ib, 3);
    EXPECT_EQ(prev, 9);
    EXPECT_EQ(next, 11);
}
