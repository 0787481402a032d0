#include "model/model_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/body_nesting.h"
#include "model/crossing_tests.h"
#include "model/model_services.h"
#include "model_fixtures.h"
#include "util/shared_work.h"

using model_test::makeModel;
using model_test::square;

namespace {

class ModelCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& s = model::modelServices();
        s.message = [this](std::string_view t) { messages.emplace_back(t); };
        s.showFinding = [this](const model::ModelFinding& f) {
            findings.push_back(f);
            return button;
        };
        s.hideFindings = [this] { ++hides; };
        s.debugLog = [this](std::string_view l) { log.emplace_back(l); };
    }
    void TearDown() override { model::modelServices() = model::ModelServices{}; }

    std::vector<std::string> messages, log;
    std::vector<model::ModelFinding> findings;
    int button = 1;
    int hides = 0;
};

// A body with vertex 6 strictly inside body 1 whose edges leave body 1
// exactly through its corners (4, 4) and (4, 0).
model::PolygonModel partlyInside(float innerX) {
    return makeModel({square(0, 0, 4), {{6, 6}, {innerX, 2}, {6, -2}}});
}

}  // namespace

TEST_F(ModelCheckTest, ReasonOneAnEdgeCrossesTheTopography) {
    auto m = makeModel({square(0, 0, 1)});
    m.ZVRT(2) = 150.0f;  // dragged above the surface at z = 100
    ASSERT_TRUE(model::LXCHK(2, 0, m));
    const auto& r = model::crossingReport();
    EXPECT_EQ(r.reason, 1);
    EXPECT_EQ(r.body, 0);
    EXPECT_EQ(r.vertex, 2);
    EXPECT_EQ(r.otherVertex, 1);
    EXPECT_EQ(r.edgeX1, -1000.0f);
    EXPECT_EQ(r.edgeX2, 1000.0f);
    EXPECT_EQ(r.edgeZ1, 100.0f);
    EXPECT_FLOAT_EQ(r.intersectionZ, 100.0f);
}

TEST_F(ModelCheckTest, ReasonTwoEdgesOfTwoBodiesCross) {
    auto m = makeModel({square(0, 0, 2), square(1, 1, 2)});
    ASSERT_TRUE(model::LXCHK(5, 0, m));
    const auto& r = model::crossingReport();
    EXPECT_EQ(r.reason, 2);
    EXPECT_EQ(r.body, 1);
    EXPECT_EQ(r.vertex, 5);
    EXPECT_EQ(r.otherVertex, 8);  // the closing edge of the body, tested first
    EXPECT_FLOAT_EQ(r.intersectionX, 2.0f);
    EXPECT_FLOAT_EQ(r.intersectionZ, 1.0f);
    EXPECT_TRUE(model::LBADMODEL(m));
}

TEST_F(ModelCheckTest, ReasonThreeABodyPartlyInsideAnother) {
    auto m = partlyInside(2);
    ASSERT_TRUE(model::LXCHK(6, 0, m));
    const auto& r = model::crossingReport();
    EXPECT_EQ(r.reason, 3);
    EXPECT_EQ(r.body, 1);
    EXPECT_EQ(r.vertex, 5);
    EXPECT_EQ(r.otherVertex, 6);
    EXPECT_EQ(r.thirdVertex, 7);

    // The inner vertex exactly on the other body's edge counts as neither.
    auto onEdge = partlyInside(4);
    EXPECT_FALSE(model::LXCHK(6, 0, onEdge));
    EXPECT_EQ(model::crossingReport().reason, 0);
}

TEST_F(ModelCheckTest, BodiesWhollyInsideAndFarClosingVerticesPass) {
    auto nested = makeModel({square(0, 0, 10), square(2, 2, 2)});
    EXPECT_FALSE(model::LBADMODEL(nested));

    auto layer = makeModel(
        {{{-5, 50}, {5, 50}, {1e16f, 50}, {1e16f, -1e16f}, {-1e16f, -1e16f}, {-1e16f, 50}},
         square(0, 0, 1)});
    EXPECT_FALSE(model::LXCHK(3, 0, layer));
    EXPECT_FALSE(model::LBADMODEL(layer));
    // A far vertex still has its edges tested: its edge from (5, 50) runs
    // through body 2.
    auto crossed = makeModel(
        {{{-5, 50}, {5, 50}, {1e16f, 50}, {1e16f, -1e16f}, {-1e16f, -1e16f}, {-1e16f, 50}},
         square(10, 40, 20)});
    EXPECT_TRUE(model::LXCHK(3, 0, crossed));
    EXPECT_EQ(model::crossingReport().reason, 2);

    EXPECT_FALSE(model::LBADMODEL(makeModel({})));
    EXPECT_FALSE(model::LXCHK(1, 0, makeModel({})));
}

TEST_F(ModelCheckTest, AnOpenBodySkipsItsClosingEdge) {
    // The closing edge 3 -> 1 of body 2 would cross body 1.
    auto m = makeModel({square(4, -1, 1.2f), {{0, 0}, {2, 2}, {8, 0}}});
    EXPECT_TRUE(model::LXCHK(5, 0, m));
    EXPECT_FALSE(model::LXCHK(5, 2, m));
}

TEST_F(ModelCheckTest, CheckShowsEachFindingAndLogsIt) {
    // Body 1's edge from vertex 1 to 2 runs through body 2.
    auto m = makeModel({square(0, 0, 2), {{-1, 0.5f}, {-1, 1}, {1, 1}, {1, 0.5f}}});
    model::BODYCHECK(true, m);
    ASSERT_FALSE(findings.empty());
    const auto& f = findings.front();
    EXPECT_EQ(f.reason, 2);
    EXPECT_EQ(f.body, 1);
    EXPECT_EQ(f.crossedBody, 2);
    EXPECT_EQ(f.x[0], 0.0f);
    EXPECT_EQ(f.z[1], 2.0f);
    EXPECT_TRUE(std::find(messages.begin(), messages.end(), "Model tests OK") == messages.end());
    EXPECT_EQ(hides, 1);
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0],
              " EDGE ON BODY   1 FROM [ 0.0000E+00, 0.0000E+00] TO [ 0.0000E+00, 2.0000E+00]");
    EXPECT_EQ(log[1], " CROSSES EDGE FROM [-1.0000E+00, 1.0000E+00] TO [ 1.0000E+00, 1.0000E+00]");
    EXPECT_EQ(log[2], " AT [ 0.0000E+00, 1.0000E+00] ON BODY   2");
    EXPECT_EQ(log[3], "           1           2");
    EXPECT_EQ(log[4], "           1           1           2");
}

TEST_F(ModelCheckTest, ReasonThreeFindingAndItsLogLines) {
    auto m = partlyInside(2);
    model::BODYCHECK(true, m);
    ASSERT_FALSE(findings.empty());
    // Body 1's own vertices are tested first: its corner (4, 4) lies on body
    // 2's edge, so body 1 passes and body 2 is reported.
    const auto& f = findings.front();
    EXPECT_EQ(f.reason, 3);
    EXPECT_EQ(f.body, 2);
    EXPECT_EQ(f.crossedBody, 1);
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0], " SOME VERTICES FROM BODY   2 ARE INSIDE BODY   1,");
    EXPECT_EQ(log[1], " WHILE OTHERS ARE OUTSIDE. OFFENDING VERTICES (X,Z):");
    EXPECT_EQ(log[3], "");
}

TEST_F(ModelCheckTest, CancelEndsTheCheckAndOkComesOnlyWithoutFindings) {
    auto bad = makeModel({square(0, 0, 2), square(1, 1, 2)});
    button = 2;
    model::BODYCHECK(false, bad);
    EXPECT_EQ(findings.size(), 1u);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(log.empty());

    button = 1;
    findings.clear();
    model::BODYCHECK(false, makeModel({square(0, 0, 1), square(5, 0, 1)}));
    EXPECT_TRUE(findings.empty());
    EXPECT_EQ(messages, std::vector<std::string>{"Model tests OK"});

    messages.clear();
    model::BODYCHECK(false, makeModel({}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ModelCheckTest, InconsistentRangesAreReportedAndTestingGoesOn) {
    auto shared = makeModel({square(0, 0, 1), square(5, 0, 1)});
    shared.IV1(2) = 4;
    model::BODYCHECK(false, shared);
    EXPECT_EQ(messages.front(), "Some vertices used in two bodies");
    messages.clear();
    auto gap = makeModel({square(0, 0, 1), square(5, 0, 1)});
    gap.IV2(1) = 2;
    model::BODYCHECK(false, gap);
    EXPECT_EQ(messages.front(), "Unused vertices exist");
    EXPECT_EQ(messages.back(), "Model tests OK");
}

namespace {

// A ring of 40 vertices about (cx, cz), its first vertex at the top.
model_test::Outline ring(float cx, float cz, float radius) {
    model_test::Outline o;
    for (int k = 0; k < 40; ++k) {
        const float t = 1.5707963f + 6.2831853f * static_cast<float>(k) / 40.0f;
        o.emplace_back(cx + radius * std::cos(t), cz + radius * std::sin(t));
    }
    return o;
}

}  // namespace

// The winding tests of a large model are shared out over threads: the
// nesting and the first body a body straddles are those of one thread.
TEST_F(ModelCheckTest, WindingTestsGiveTheSameAnswersOnEveryThreadCount) {
    // Body 5 is straddled by bodies 9 and 17 at its bottom, far from its
    // top vertex (their own top vertices lie inside it); every even ring
    // from 12 on but 18 lies inside the ring before it.
    auto innerRing = [](int b) { return b > 11 && b % 2 == 0 && b != 18; };
    std::vector<model_test::Outline> bodies;
    for (int b = 1; b <= 20; ++b) {
        const float x = 40.0f * static_cast<float>(b);
        if (b == 5) bodies.push_back(ring(0, -20, 5));
        else if (b == 9) bodies.push_back(ring(-3.5f, -23.5f, 1.5f));
        else if (b == 17) bodies.push_back(ring(3.5f, -23.5f, 1.5f));
        else if (innerRing(b)) bodies.push_back(ring(x - 40.0f, -20, 2));
        else bodies.push_back(ring(x, -20, 6));
    }
    const model::PolygonModel start = makeModel(bodies);
    const int top = start.IV1(5);
    std::vector<model::PolygonModel> nested;
    for (int threads : {1, 3, 8}) {
        util::setSharedThreadCount(threads);
        SCOPED_TRACE(threads);
        ASSERT_TRUE(model::LXCHK(top, 0, start));
        const auto& r = model::crossingReport();
        EXPECT_EQ(r.reason, 3);
        EXPECT_EQ(r.body, 9);
        EXPECT_EQ(r.otherVertex, top);
        EXPECT_FALSE(model::LXCHK(start.IV1(12), 0, start));
        model::PolygonModel m = start;
        bool changed = false;
        model::BOLEVL(m, changed);
        EXPECT_TRUE(changed);
        nested.push_back(m);
    }
    util::setSharedThreadCount(0);
    for (int b = 1; b <= start.NBOD; ++b) {
        const int parent = innerRing(b) ? b - 1 : (b == 9 || b == 17) ? 5 : 0;
        EXPECT_EQ(nested[0].INCLBD(b), parent) << b;
        for (const model::PolygonModel& m : nested) {
            EXPECT_EQ(m.ILEVL(b), nested[0].ILEVL(b)) << b;
            EXPECT_EQ(m.INCLBD(b), nested[0].INCLBD(b)) << b;
        }
    }
}
