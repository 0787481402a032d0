#include "calc/inversion_parameters.h"

#include <gtest/gtest.h>

#include "inversion_fixtures.h"

namespace {

using calc::ParameterKind;
using calc::ParameterTable;
using inversion_test::makeModel;
using inversion_test::square;

class InversionParameters : public ::testing::Test {
  protected:
    void SetUp() override {
        inversion_test::bindHost(log, [](model::ProfileLine&) {});
    }
    void TearDown() override { inversion_test::unbindAll(); }

    ParameterTable collect(model::PolygonModel& m) {
        ParameterTable t;
        EXPECT_TRUE(t.allocate(calc::countFreeFlags(m)));
        calc::GETPAR(m, t);
        return t;
    }

    inversion_test::HostLog log;
};

TEST_F(InversionParameters, VectorOrderStepsAndLimits) {
    auto m = makeModel({square(0, -1, 1), square(5, -1, 1)});
    m.LZFIX(2) = true;
    m.LXFIX(2) = true;
    m.LXFIX(6) = true;
    m.LVFIX(0) = true;  // the background never becomes a parameter
    m.LVFIX(1) = true;
    m.DENS(1) = 2.0f;
    m.LVFIX(2) = true;
    m.DENS(2) = 0.0f;
    ParameterTable t = collect(m);

    ASSERT_EQ(t.NPAR, 5);
    const ParameterKind kinds[] = {ParameterKind::VertexX, ParameterKind::VertexZ,
                                   ParameterKind::VertexX, ParameterKind::Property,
                                   ParameterKind::Property};
    const int owners[] = {2, 2, 6, 1, 2};
    const float values[] = {1.0f, -1.0f, 6.0f, 2.0f, 0.0f};
    const float steps[] = {0.05f, 0.05f, 0.05f, 0.1f, 0.0f};
    const float limits[] = {1.0f, 1.0f, 1.0f, 1500.0f, 1500.0f};
    for (int j = 1; j <= 5; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(t.kind(j), kinds[j - 1]);
        EXPECT_EQ(t.owner(j), owners[j - 1]);
        EXPECT_FLOAT_EQ(t.value(j), values[j - 1]);
        EXPECT_FLOAT_EQ(t.step(j), steps[j - 1]);
        EXPECT_FLOAT_EQ(t.limit(j), limits[j - 1]);
    }
}

TEST_F(InversionParameters, LockedGroupMovesWithItsFreeLeader) {
    // Three bodies share the corner (2, -1): vertex 2 leads vertices 5 and 8;
    // only the leader is free.
    auto m = makeModel({{{0, -1}, {2, -1}, {2, -3}, {0, -3}},
                        {{2, -1}, {4, -1}, {4, -3}},
                        {{2, -1}, {3, -0.2f}, {4, -0.2f}}});
    m.IPOINT(5) = 2;
    m.IPOINT(8) = 2;
    m.LXFIX(2) = true;
    m.LXFIX(5) = true;  // a free follower loses its flags, with a message
    ParameterTable t = collect(m);

    ASSERT_EQ(t.NPAR, 1);
    ASSERT_EQ(inversion_test::informationBoxes().size(), 1u);
    EXPECT_EQ(inversion_test::informationBoxes()[0], " LOCKED VERTICES MUST NOT BE FREE.");
    EXPECT_FALSE(m.LXFIX(5));

    t.value(1) += 0.4f;
    calc::PUTPAR(m, t);
    EXPECT_FLOAT_EQ(m.XVRT(2), 2.4f);
    EXPECT_FLOAT_EQ(m.XVRT(5), 2.4f);
    EXPECT_FLOAT_EQ(m.XVRT(8), 2.4f);
    EXPECT_FLOAT_EQ(m.XVRT(3), 2.0f);
}

TEST_F(InversionParameters, ChangesAreClampedToTheirLimits) {
    auto m = makeModel({square(0, -10, 4)});
    m.LZFIX(3) = true;
    m.LVFIX(1) = true;
    ParameterTable t = collect(m);
    ASSERT_EQ(t.NPAR, 2);
    t.value(1) -= 3.0f;
    t.value(2) += 2000.0f;
    calc::PUTPAR(m, t);
    EXPECT_FLOAT_EQ(m.ZVRT(3), -15.0f);
    EXPECT_FLOAT_EQ(m.DENS(1), 0.1f + 1500.0f);

    t.value(2) = m.DENS(1) - 2000.0f;
    calc::PUTPAR(m, t);
    EXPECT_NEAR(m.DENS(1), 0.1f, 1e-3f);
    EXPECT_FLOAT_EQ(calc::PARCHG(m, 7.0f, 1.0f, 1, 2), 1.0f);
    EXPECT_FLOAT_EQ(calc::PARCHG(m, -0.25f, 1.0f, 1, 2), -0.25f);
}

TEST_F(InversionParameters, IllegalMovesAreHalvedAndFinallyRefused) {
    // Body 1's right edge runs at x = 1; body 2 starts at x = 1.3.
    auto m = makeModel({square(0, -1, 1), square(1.3f, -1, 1)});

    // 1.0 to the right would cross body 2; half of it, 0.5, too; 0.25 stands.
    EXPECT_FLOAT_EQ(calc::PARCHG(m, 2.0f, 1.0f, 2, 0), 0.25f);
    EXPECT_FLOAT_EQ(m.XVRT(2), 1.25f);

    // With body 2 only 0.001 away every try down to 1/128 crosses it: the
    // move is refused and the model is exactly as it was.
    auto close = makeModel({square(0, -1, 1), square(1.001f, -1, 1)});
    const auto start = close;
    EXPECT_EQ(calc::PARCHG(close, 2.0f, 1.0f, 2, 0), 0.0f);
    EXPECT_EQ(close, start);
}

TEST_F(InversionParameters, ParameterPointsToItsVertexAndBody) {
    auto m = makeModel({square(0, -1, 1), square(5, -1, 1)});
    m.LZFIX(2) = true;
    m.LXFIX(6) = true;
    m.LZFIX(7) = true;
    m.IPOINT(8) = 7;  // vertex 7 leads another vertex
    m.LVFIX(1) = true;

    struct Case {
        int ipar, vertex, body;
        float x, z;
    };
    for (const Case& c : {Case{1, 2, 1, 1, -1}, Case{2, 6, 2, 6, -1}, Case{3, 0, 0, 6, -2},
                          Case{4, 0, 0, -99, -99}}) {
        SCOPED_TRACE(c.ipar);
        float x = -99, z = -99;
        int ipar = c.ipar, ib = -1;
        calc::PARPNT(m, x, z, ipar, ib, 4);
        EXPECT_EQ(ipar, c.vertex);
        EXPECT_EQ(ib, c.body);
        EXPECT_FLOAT_EQ(x, c.x);
        EXPECT_FLOAT_EQ(z, c.z);
    }
}

TEST_F(InversionParameters, TableCutAtItsCapacity) {
    auto m = makeModel({square(0, -1, 1)});
    m.LXFIX(1) = m.LXFIX(2) = m.LXFIX(3) = true;
    ParameterTable t;
    ASSERT_TRUE(t.allocate(2));
    calc::GETPAR(m, t);
    EXPECT_EQ(t.NPAR, 2);
    ASSERT_EQ(inversion_test::informationBoxes().size(), 1u);
    EXPECT_EQ(inversion_test::informationBoxes()[0], "TOO MANY PARAMETERS IN PARHND");
}

}  // namespace
