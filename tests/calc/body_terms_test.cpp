// Calculating again only the bodies that changed gives the synthetics of the
// whole calculation to the last bit, and so does an inversion step that
// uses it for its derivatives.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "calc/body_terms.h"
#include "calc/forward_calc.h"
#include "calc/inversion_step.h"
#include "calc/station_sums.h"
#include "inversion_fixtures.h"
#include "model/session_state.h"
#include "profile_builder.h"
#include "util/axis_record.h"

namespace {

using calc::test::BodySpec;
using calc::test::box;

// A layer, a block in it, a block nested in that one and a far block whose
// vertices are clipped, over 31 stations, with a sloping regional.
model::ProfileLine layeredProfile(const char* type = "Gravity Data") {
    std::vector<float> stations;
    for (int i = 0; i < 31; ++i)
        stations.push_back(-6.0f + 0.4f * static_cast<float>(i));
    model::ProfileLine p = calc::test::makeProfile(stations, type);
    BodySpec layer;
    layer.x = {-30, 30, 0, 0, 0, 0};
    layer.z = {-2.0f, -2.4f, 0, 0, 0, 0};
    layer.layer = true;
    layer.property = 0.25f;
    BodySpec outer = box(-2, 2, -0.3f, -1.5f, 0.5f);
    outer.xtent1 = 4.0f;
    outer.xtent2 = 6.0f;
    BodySpec inner = box(-1, 1, -0.6f, -1.2f, 0.9f);
    inner.parent = 2;
    const BodySpec far = box(2000, 2100, -1.0f, -2.0f, 0.4f);
    calc::test::setBodies(p, {layer, outer, inner, far});
    for (int i = 1; i <= p.NSTA; ++i)
        p.DAT(i, 1) = 0.01f * static_cast<float>(i);
    p.NREG = 2;
    p.XREG = {-6.0f, 6.0f, 0, 0, 0};
    p.YREG = {1.0f, 2.0f, 0, 0, 0};
    return p;
}

void expectSameSynthetics(const model::ProfileLine& a, const model::ProfileLine& b) {
    ASSERT_EQ(a.NSTA, b.NSTA);
    for (int i = 1; i <= a.NSTA; ++i)
        EXPECT_EQ(a.SYN(i, 1), b.SYN(i, 1)) << "station " << i;
    EXPECT_EQ(a.RMSERR, b.RMSERR);
    EXPECT_EQ(a.LSYN, b.LSYN);
}

class BodyTermsTest : public ::testing::Test {
  protected:
    void SetUp() override { model::resetSessionState(); }
    void TearDown() override { model::resetSessionState(); }
};

TEST_F(BodyTermsTest, RecalculatingTheChangedBodiesGivesTheWholeCalculationExactly) {
    model::ProfileLine p = layeredProfile();
    model::ProfileLine whole = p;
    calc::BodyTerms terms;
    terms.calculate(p);
    calc::CALC(whole, 0);
    expectSameSynthetics(p, whole);

    const model::PolygonModel start = p.MODEL;
    struct Change {
        const char* what;
        void (*apply)(model::PolygonModel&);
        std::vector<int> bodies;
    } changes[] = {
        {"a vertex of the outer block",
         [](model::PolygonModel& m) { m.ZVRT(m.IV1(2)) -= 0.05f; },
         {2}},
        {"the layer's top", [](model::PolygonModel& m) { m.ZVRT(m.IV1(1)) -= 0.1f; }, {1}},
        // The inner block's contrast is taken against the outer one.
        {"the outer block's density", [](model::PolygonModel& m) { m.DENS(2) += 0.05f; }, {2, 3}},
        {"the far block's density", [](model::PolygonModel& m) { m.DENS(4) -= 0.1f; }, {4}},
    };
    for (const Change& c : changes) {
        p.MODEL = start;
        c.apply(p.MODEL);
        bool everything = true;
        std::vector<int> changed = calc::changedBodies(start, p.MODEL, everything);
        EXPECT_FALSE(everything) << c.what;
        std::sort(changed.begin(), changed.end());
        EXPECT_EQ(changed, c.bodies) << c.what;
        whole = p;
        terms.recalculate(p);
        calc::CALC(whole, 0);
        expectSameSynthetics(p, whole);
    }
    // Another nesting is more than a change of bodies.
    p.MODEL = start;
    p.MODEL.INCLBD(3) = 0;
    bool everything = false;
    EXPECT_TRUE(calc::changedBodies(start, p.MODEL, everything).empty());
    EXPECT_TRUE(everything);
}

// Kept terms are used only where they fit: a gravity body at another
// density is rescaled without computing it again, a magnetic one is computed
// again, moved stations or another baseline make every body's terms stale,
// and every answer is the whole calculation's to the last bit.
TEST_F(BodyTermsTest, KeptTermsAreUsedOnlyWhereTheyFit) {
    struct Case {
        const char* type;
        long densityCost;  // bodies computed for the outer block's density
    } cases[] = {{"Gravity Data", 0}, {"Microgravity Data", 0}, {"Magnetics Data", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        model::ProfileLine p = layeredProfile(c.type);
        p.FIELD = 50000.0f;
        p.FINCL = 60.0f;
        calc::BodyTerms terms;
        terms.calculate(p);
        EXPECT_EQ(terms.bodiesComputed(), 4);
        const model::PolygonModel start = p.MODEL;
        struct Step {
            void (*apply)(model::ProfileLine&);
            long cost;
        } steps[] = {
            {[](model::ProfileLine& q) { q.MODEL.DENS(2) += 0.05f; }, c.densityCost},
            {[](model::ProfileLine& q) { q.MODEL.ZVRT(q.MODEL.IV1(3)) -= 0.05f; }, 1},
            {[](model::ProfileLine& q) { q.ELEV(4) += 0.01f; }, 4},
            {[](model::ProfileLine& q) { q.STAT(9) += 0.01f; }, 4},
            // Another baseline places stations and vertices elsewhere.
            {[](model::ProfileLine& q) { q.MODEL.BASELN += 0.5f; }, 4},
        };
        for (const Step& step : steps) {
            model::ProfileLine moved = p;
            step.apply(moved);
            model::ProfileLine whole = moved;
            calc::CALC(whole, 0);
            const long before = terms.bodiesComputed();
            calc::BodyTerms after;
            terms.recalculate(moved, &after);
            EXPECT_EQ(terms.bodiesComputed() - before, step.cost);
            expectSameSynthetics(moved, whole);
            // The terms handed back fit the moved model.
            model::ProfileLine again = moved;
            after.update(again);
            expectSameSynthetics(again, whole);
            EXPECT_EQ(after.bodiesComputed(), terms.bodiesComputed());
        }
        EXPECT_EQ(p.MODEL.DENS(2), start.DENS(2));
    }
}

TEST_F(BodyTermsTest, AStepWithPartialDerivativesByBodyEndsWhereTheWholeCalculationEnds) {
    model::ProfileLine truth = layeredProfile();
    calc::CALC(truth, 0);
    model::ProfileLine p = truth;
    for (int i = 1; i <= p.NSTA; ++i)
        p.DAT(i, 1) = truth.SYN(i, 1);
    p.MODEL.DENS(2) = 0.4f;
    p.MODEL.LVFIX(2) = true;
    p.MODEL.LVFIX(3) = true;
    p.MODEL.LZFIX(p.MODEL.IV1(2) + 1) = true;
    p.MODEL.LZFIX(p.MODEL.IV1(1)) = true;  // the layer's top
    calc::CALC(p, 0);
    model::ProfileLine byBody = p, whole = p;
    util::AxisRecord axisMod{}, axisDat{};
    inversion_test::HostLog log;
    inversion_test::bindHost(log, nullptr);
    int status = -1;
    calc::ONE_STEP(byBody, byBody.MODEL, status, axisMod, axisDat);
    EXPECT_EQ(status, 0);
    // The same step, every derivative from the whole calculation.
    inversion_test::bindHost(log, [](model::ProfileLine& q) { calc::CALC(q, 0); });
    calc::ONE_STEP(whole, whole.MODEL, status, axisMod, axisDat);
    inversion_test::unbindAll();
    EXPECT_LT(byBody.RMSERR, 0.5f * p.RMSERR);
    expectSameSynthetics(byBody, whole);
    for (int v = 1; v <= byBody.MODEL.vertexCount(); ++v)
        EXPECT_EQ(byBody.MODEL.ZVRT(v), whole.MODEL.ZVRT(v)) << v;
    for (int b = 1; b <= byBody.MODEL.NBOD; ++b)
        EXPECT_EQ(byBody.MODEL.DENS(b), whole.MODEL.DENS(b)) << b;
}

// A ring of 24 vertices about (cx, cz).
BodySpec ring(float cx, float cz, float radius, float property) {
    BodySpec b;
    for (int k = 0; k < 24; ++k) {
        const float t = 6.2831853f * static_cast<float>(k) / 24.0f;
        b.x.push_back(cx + radius * std::cos(t));
        b.z.push_back(cz + radius * std::sin(t));
    }
    b.property = property;
    return b;
}

// Eight rings side by side, each holding a smaller one, over 500 stations:
// large enough for the forward calculation, the nesting, the legality
// checks and the normal equations all to be shared out over threads, and
// with more free parameters (40) than the step calculates side by side.
model::ProfileLine nestedRings() {
    std::vector<float> stations;
    for (int i = 0; i < 500; ++i)
        stations.push_back(-20.0f + 0.08f * static_cast<float>(i));
    model::ProfileLine p = calc::test::makeProfile(stations);
    std::vector<BodySpec> bodies;
    for (int k = 0; k < 8; ++k)
        bodies.push_back(ring(-14.0f + 4.0f * static_cast<float>(k), -3.0f, 1.5f,
                              2.8f + 0.02f * static_cast<float>(k)));
    for (int k = 0; k < 8; ++k) {
        BodySpec inner = ring(-14.0f + 4.0f * static_cast<float>(k), -3.0f, 0.6f, 3.0f);
        inner.parent = k + 1;
        bodies.push_back(inner);
    }
    calc::test::setBodies(p, bodies);
    model::PolygonModel& m = p.MODEL;
    m.DBKG = 2.67f;
    calc::CALC(p, 0);
    for (int i = 1; i <= p.NSTA; ++i)
        p.DAT(i, 1) = p.SYN(i, 1);
    for (int b = 1; b <= m.NBOD; ++b) {
        m.DENS(b) += 0.03f * static_cast<float>(b % 3) - 0.02f;
        m.LVFIX(b) = true;
    }
    for (int b = 1; b <= 4; ++b) {
        const int bottom = m.IV1(b) + 18;  // the deepest vertex
        m.ZVRT(bottom) -= 0.3f;
        m.LZFIX(bottom) = true;
    }
    for (int b = 1; b <= 8; ++b) {
        m.LXFIX(m.IV1(b)) = true;      // the ring's right-hand vertex
        m.LZFIX(m.IV1(b) + 6) = true;  // its top vertex
        if (b > 4) m.LZFIX(m.IV1(b) + 18) = true;
    }
    calc::CALC(p, 0);
    return p;
}

// The step's derivatives and first trials are calculated side by side; the
// first end is the step with each calculated whole, one after another.
TEST_F(BodyTermsTest, AStepGivesTheSameBitsOnEveryThreadCount) {
    const model::ProfileLine start = nestedRings();
    util::AxisRecord axisMod{}, axisDat{};
    inversion_test::HostLog log;
    std::vector<model::ProfileLine> ends;
    for (int threads : {0, 1, 3, 8}) {
        if (threads == 0) {
            inversion_test::bindHost(log, [](model::ProfileLine& q) { calc::CALC(q, 0); });
        } else {
            inversion_test::bindHost(log, nullptr);
        }
        calc::setCalcThreadCount(std::max(threads, 1));
        model::ProfileLine p = start;
        int status = -1;
        calc::ONE_STEP(p, p.MODEL, status, axisMod, axisDat);
        EXPECT_EQ(status, 0);
        ends.push_back(p);
    }
    calc::setCalcThreadCount(0);
    inversion_test::unbindAll();
    const model::ProfileLine& one = ends.front();
    EXPECT_LT(one.RMSERR, 0.5f * start.RMSERR);
    auto bits = [](float v) { return std::bit_cast<std::uint32_t>(v); };
    for (std::size_t k = 1; k < ends.size(); ++k) {
        const model::ProfileLine& many = ends[k];
        SCOPED_TRACE(k);
        EXPECT_EQ(bits(many.RMSERR), bits(one.RMSERR));
        for (int i = 1; i <= one.NSTA; ++i)
            ASSERT_EQ(bits(many.SYN(i, 1)), bits(one.SYN(i, 1))) << "station " << i;
        for (int v = 1; v <= one.MODEL.vertexCount(); ++v) {
            ASSERT_EQ(bits(many.MODEL.XVRT(v)), bits(one.MODEL.XVRT(v))) << "vertex " << v;
            ASSERT_EQ(bits(many.MODEL.ZVRT(v)), bits(one.MODEL.ZVRT(v))) << "vertex " << v;
        }
        for (int b = 1; b <= one.MODEL.NBOD; ++b) {
            EXPECT_EQ(bits(many.MODEL.DENS(b)), bits(one.MODEL.DENS(b))) << "body " << b;
            EXPECT_EQ(many.MODEL.INCLBD(b), one.MODEL.INCLBD(b)) << "body " << b;
        }
    }
}

}  // namespace
