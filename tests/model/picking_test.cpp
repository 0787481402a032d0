#include "model/picking.h"

#include <gtest/gtest.h>

#include "model/body_nesting.h"
#include "model/model_services.h"
#include "model_fixtures.h"

using model_test::makeModel;
using model_test::square;

namespace {

class PickingTest : public ::testing::Test {
  protected:
    void SetUp() override { model::SETWNEAR(20.0f, 20.0f, 1.0E5f); }  // tolerance^2 = 8
    void TearDown() override { model::SETWNEAR(0, 0, 0); }
};

model::PolygonModel leveled(std::vector<model_test::Outline> bodies) {
    auto m = makeModel(bodies);
    bool changed = false;
    model::BOLEVL(m, changed);
    return m;
}

}  // namespace

TEST_F(PickingTest, TheBodyUnderTheCursorWinsATie) {
    // Body 1 inside body 2; the cursor in body 2 is 2 from body 1's right
    // edge and 2 from body 2's right edge.
    auto m = leveled({square(0, 0, 1), square(-5, -5, 10)});
    float x = 3, z = 0.5f, dist = 0;
    int ib = 0, ie = 0;
    model::NEARDG(x, z, ib, ie, 1.0f, dist, m);
    EXPECT_EQ(ib, 2);
    EXPECT_EQ(ie, 7);
    EXPECT_FLOAT_EQ(dist, 4.0f * 0.99f);
    EXPECT_FLOAT_EQ(x, 5.0f);
    EXPECT_FLOAT_EQ(z, 0.5f);
}

TEST_F(PickingTest, AnEdgeOfAFollowerLosesAnEqualDistance) {
    auto m = leveled({square(0, 0, 1), square(3, 0, 1)});
    float x = 2, z = 0.5f, dist = 0;
    int ib = 0, ie = 0;
    model::NEARDG(x, z, ib, ie, 1.0f, dist, m);
    EXPECT_EQ(ib, 1);  // equal: the first edge found
    EXPECT_EQ(ie, 3);
    m.IPOINT(3) = 1;
    x = 2;
    z = 0.5f;
    model::NEARDG(x, z, ib, ie, 1.0f, dist, m);
    EXPECT_EQ(ib, 2);
    EXPECT_EQ(ie, 5);
}

TEST_F(PickingTest, EdgesArePickedOnlyWhereTheFootFallsOnThemAndWithinTolerance) {
    auto m = leveled({square(0, 0, 1)});
    // Beyond the end of the bottom edge and of the left edge: the corner is
    // close, but no foot lies on an edge.
    float x = -0.5f, z = -0.5f, dist = 0;
    int ib = 7, ie = 7;
    model::NEARDG(x, z, ib, ie, 1.0f, dist, m);
    EXPECT_EQ(ib, 0);
    EXPECT_EQ(ie, 0);
    EXPECT_EQ(dist, 1.0E30f);
    EXPECT_EQ(z, 1.0E20f);
    EXPECT_EQ(x, 1.0E20f);
    // Too far.
    x = 0.5f;
    z = 4.0f;
    model::NEARDG(x, z, ib, ie, 1.0f, dist, m);
    EXPECT_EQ(ib, 0);
    // The closing edge (vertex 4 back to 1) along z = 0.
    x = 0.5f;
    z = -0.1f;
    model::NEARDG(x, z, ib, ie, 1.0f, dist, m);
    EXPECT_EQ(ib, 1);
    EXPECT_EQ(ie, 4);
    EXPECT_FLOAT_EQ(z, 0.0f);
    // No settings yet: nothing is found.
    model::SETWNEAR(0, 0, 0);
    x = 0.5f;
    z = -0.1f;
    model::NEARDG(x, z, ib, ie, 1.0f, dist, m);
    EXPECT_EQ(ib, 0);
}

TEST_F(PickingTest, ALayersFarEdgesAreClampedAndPickable) {
    auto m = leveled(
        {{{-5, 50}, {5, 50}, {1e16f, 50}, {1e16f, -1e16f}, {-1e16f, -1e16f}, {-1e16f, 50}}});
    model::SETWNEAR(20.0f, 20.0f, 1000.0f);
    float x = 300, z = 51, dist = 0;
    int ib = 0, ie = 0;
    model::NEARDG(x, z, ib, ie, 1.0f, dist, m);
    EXPECT_EQ(ib, 1);
    EXPECT_EQ(ie, 2);
    EXPECT_FLOAT_EQ(z, 50.0f);
    EXPECT_FLOAT_EQ(x, 300.0f);
    EXPECT_EQ(model::pickSettings().W3, 1000.0f);
}

TEST_F(PickingTest, MidpointSearchTakesTheNearestMidpoint) {
    auto m = leveled({square(0, 0, 2)});
    float x = 0.2f, z = 1.1f, dist = 0;
    int ib = 0, ie = 0;
    model::NEARCN(x, z, ib, ie, 1.0f, dist, m);
    EXPECT_EQ(ie, 1);
    EXPECT_FLOAT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(z, 1.0f);
}

TEST_F(PickingTest, NearestVertexVariants) {
    auto m = leveled({square(0, 0, 1), square(3, 0, 1), square(6, 0, 1)});
    float d = 0;
    // From vertex 3 (1, 1) of body 1, leaving body 1 out.
    EXPECT_EQ(model::NEARSTOWNLEADER(1, 1, 1, 3, 1.0f, d, m), 6);
    EXPECT_FLOAT_EQ(d, 4.0f);
    m.IPOINT(6) = 3;  // vertex 6 (3, 1) now follows 3
    EXPECT_EQ(model::NEARSTOWNLEADER(1, 1, 1, 3, 1.0f, d, m), 5);
    EXPECT_EQ(model::NEARSTFOLLOWER(1, 1, 0, 3, 1.0f, d, m), 6);
    EXPECT_EQ(model::NEARSTUNFOLLOWED(1, 1, 1, 2, 1.0f, d, m), 6);
    EXPECT_EQ(model::NEARSTUNFOLLOWED(1, 1, 1, 6, 1.0f, d, m), 5);
    EXPECT_EQ(model::NEARST(1, 1, -3, 3, 1.0f, d, m), 10);
    EXPECT_EQ(model::NEARSTINBODY(1, 1, 3, 3, 1.0f, d, m), 10);
    EXPECT_EQ(model::NEARSTINBODY(1, 1, 0, 3, 1.0f, d, m), 3);
    EXPECT_EQ(d, 1.0E30f);
    // An exact tie keeps the lower-numbered vertex.
    EXPECT_EQ(model::NEARST(2, 0.5f, 0, 0, 1.0f, d, m), 3);
    // The scale weighs X differences.
    EXPECT_EQ(model::NEARST(1, 0.9f, 1, 3, 0.5f, d, m), 6);
    EXPECT_FLOAT_EQ(d, 1.01f);
    // A vertex stacked on the searching one is skipped.
    m.XVRT(5) = 1.00005f;
    m.ZVRT(5) = 1.0f;
    EXPECT_EQ(model::NEARST(1, 1, 0, 3, 1.0f, d, m), 5);
    EXPECT_EQ(model::NEARSTUNSTACKED(1, 1, 0, 3, 1.0f, d, m), 2);

    model::PolygonModel empty;
    EXPECT_EQ(model::NEARST(0, 0, 0, 4, 1.0f, d, empty), 4);
    EXPECT_EQ(d, 1.0E30f);
}

TEST_F(PickingTest, PropertyTextOfTheBodyUnderAPoint) {
    auto m = leveled({square(0, 0, 10), square(20, 0, 10)});
    m.DENS(1) = 2.5f;
    m.DENS(2) = 100.0f;
    m.DBKG = 0.25f;
    base::FixedString<50> text;
    float value = -1.0f;
    model::BODYPROPERTY(5, 5, text, m, value, "g/cc");
    EXPECT_EQ(text.str(), "2.5 g/cc");
    EXPECT_EQ(value, 2.5f);
    model::BODYPROPERTY(25, 5, text, m, value, "nT  ");
    EXPECT_EQ(text.str(), "100 nT");
    model::BODYPROPERTY(15, 5, text, m, value, "g/cc");
    EXPECT_EQ(text.str(), "0.25 g/cc");
    EXPECT_EQ(value, 0.25f);
    model::BODYPROPERTY(15, 500, text, m, value, "g/cc");  // above the surface
    EXPECT_EQ(text.str(), "0.0");
    EXPECT_EQ(value, 0.25f);

    // The bound number text is used and its leading blanks are removed.
    model::modelServices().numberText = [](float, std::span<char> t, int, int& nd) {
        const char s[] = "   7.50";
        std::copy(s, s + 7, t.begin());
        nd = 7;
    };
    model::BODYPROPERTY(5, 5, text, m, value, "g/cc");
    EXPECT_EQ(text.str(), "7.5 g/cc");
    model::modelServices().numberText = nullptr;
}
