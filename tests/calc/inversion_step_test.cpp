#include "calc/forward_calc.h"
#include "calc/inversion_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "calc/inversion_host.h"
#include "inversion_fixtures.h"
#include "model/model_check.h"
#include "model/profile_line.h"
#include "util/abort_poll.h"
#include "util/axis_record.h"

namespace {

using inversion_test::makeModel;
using inversion_test::makeProfile;
using inversion_test::square;

constexpr int kPushButton = 3;
constexpr int kExpose = 7;

// Synthetics linear in the bodies' properties: body b contributes
// DENS(b) x kernel_b(i), with kernels i and 6 - i.
void linearForward(model::ProfileLine& p) {
    for (int i = 1; i <= p.NSTA; ++i) {
        float s = 0.0f;
        for (int b = 1; b <= p.MODEL.NBOD; ++b)
            s += p.MODEL.DENS(b) * static_cast<float>(b == 1 ? i : 6 - i);
        p.SYN(i, 1) = s;
    }
    inversion_test::computeRms(p);
}

// Data of the linear forward for the given properties.
void setLinearData(model::ProfileLine& p, std::vector<float> properties) {
    auto copy = p;
    for (std::size_t b = 0; b < properties.size(); ++b)
        copy.MODEL.DENS(static_cast<int>(b + 1)) = properties[b];
    linearForward(copy);
    for (int i = 1; i <= p.NSTA; ++i)
        p.DAT(i, 1) = copy.SYN(i, 1);
}

class InversionStep : public ::testing::Test {
  protected:
    void TearDown() override { inversion_test::unbindAll(); }

    int step(model::ProfileLine& p) {
        int istat = 99;
        calc::ONE_STEP(p, p.MODEL, istat, axisMod, axisDat);
        return istat;
    }

    // Work data of a step over the profile's free parameters, zero apart
    // from the values and the model saved as the start and the best.
    static void prepare(calc::InversionState& s, model::ProfileLine& p) {
        ASSERT_TRUE(s.parameters.allocate(calc::countFreeFlags(p.MODEL)));
        calc::GETPAR(p.MODEL, s.parameters);
        ASSERT_TRUE(s.allocate(p.NSTA));
        s.startValues = s.bestValues = s.parameters.values();
        s.startModel = s.bestModel = p.MODEL;
    }

    inversion_test::HostLog log;
    util::AxisRecord axisMod{}, axisDat{};
};

TEST_F(InversionStep, OneFreeDensityReachesTheDataInOneStep) {
    inversion_test::bindHost(log, linearForward);
    auto p = makeProfile(5, makeModel({square(0, -1, 1)}));
    p.MODEL.DENS(1) = 0.2f;
    p.MODEL.LVFIX(1) = true;
    setLinearData(p, {0.3f});
    p.DAT(3, 1) = 1.0E20f;  // a missing datum takes no part
    linearForward(p);
    ASSERT_GT(p.RMSERR, 0.1f);

    EXPECT_EQ(step(p), 0);
    EXPECT_NEAR(p.MODEL.DENS(1), 0.3f, 1e-4f);
    EXPECT_LT(p.RMSERR, 1e-3f);
    EXPECT_EQ(p.RMSERR2, p.RMSERR);
    // The synthetics are those of the model left behind.
    auto check = p;
    linearForward(check);
    for (int i = 1; i <= p.NSTA; ++i)
        EXPECT_EQ(p.SYN(i, 1), check.SYN(i, 1)) << i;
    EXPECT_EQ(p.RMSERR, check.RMSERR);
}

TEST_F(InversionStep, NoFreeParameterWarnsAndChangesNothing) {
    inversion_test::bindHost(log, linearForward);
    auto p = makeProfile(5, makeModel({square(0, -1, 1)}));
    setLinearData(p, {0.3f});
    linearForward(p);
    const auto before = p;

    EXPECT_EQ(step(p), -1);
    ASSERT_EQ(inversion_test::warningBoxes().size(), 1u);
    EXPECT_EQ(inversion_test::warningBoxes()[0],
              "Cannot invert with zero parameters.\r\n\r\nPLEASE USE the graphic or dialog box "
              "tools\r\nto free up one or more densities/susceptibilities,\r\nor X- and/or "
              "Z-movement of one or more vertices");
    EXPECT_EQ(p, before);
    EXPECT_EQ(log.forwardCalls, 0);
    EXPECT_TRUE(log.statuses.empty());
}

TEST_F(InversionStep, CancelDuringTheJacobianLeavesEverythingAsBefore) {
    inversion_test::bindHost(log, linearForward);
    auto p = makeProfile(5, makeModel({square(0, -1, 1), square(3, -1, 1)}));
    p.MODEL.LVFIX(1) = true;
    p.MODEL.LVFIX(2) = true;
    setLinearData(p, {0.3f, 0.25f});
    linearForward(p);
    const auto before = p;

    // Looks: after the start calculation, two after each derivative; the
    // push button comes while the second derivative is taken.
    const auto looks = inversion_test::scriptEvents({-1, -1, -1, kPushButton});
    EXPECT_EQ(step(p), 0);
    EXPECT_EQ(*looks, 4);
    EXPECT_EQ(p, before);
    EXPECT_EQ(log.forwardCalls, 3);
    EXPECT_TRUE(util::abortPollState().latch);  // the caller learns of the cancel
    EXPECT_TRUE(std::none_of(log.statuses.begin(), log.statuses.end(),
                             [](const std::string& s) { return s.starts_with("Solve and Test"); }));
}

TEST_F(InversionStep, NoImprovingTrialChangesNothing) {
    // The start model and its perturbations behave linearly; every trial
    // model fits far worse.
    int calls = 0;
    inversion_test::bindHost(log, [&calls](model::ProfileLine& p) {
        linearForward(p);
        if (++calls > 3) {
            for (int i = 1; i <= p.NSTA; ++i)
                p.SYN(i, 1) += 100.0f;
            inversion_test::computeRms(p);
        }
    });
    auto p = makeProfile(5, makeModel({square(0, -1, 1), square(3, -1, 1)}));
    p.MODEL.LVFIX(1) = true;
    p.MODEL.LZFIX(6) = true;
    setLinearData(p, {0.3f, 0.25f});
    linearForward(p);
    const auto before = p;

    EXPECT_EQ(step(p), 0);
    EXPECT_EQ(p, before);
    EXPECT_GE(log.forwardCalls, 3 + 4);
}

TEST_F(InversionStep, RefusedPerturbationGivesZeroColumnAndEndsTheStep) {
    // Vertex 2 lies 0.0001 below the surface, and body 2 lies inside body 1
    // just under its top edge: every try up or down is illegal.
    inversion_test::bindHost(log, linearForward);
    auto p = makeProfile(
        5, makeModel({square(0, -0.0001f, 1),
                      {{0.4f, -0.0002f}, {0.6f, -0.0002f}, {0.6f, -0.0102f}, {0.4f, -0.0102f}}}));
    ASSERT_FALSE(model::LBADMODEL(p.MODEL));
    p.MODEL.LZFIX(2) = true;
    setLinearData(p, {0.3f, 0.25f});
    linearForward(p);
    const auto before = p;

    EXPECT_EQ(step(p), 0);
    EXPECT_EQ(p, before);
    EXPECT_EQ(log.forwardCalls, 2);
    ASSERT_FALSE(log.statuses.empty());
    EXPECT_EQ(log.statuses.back(), "Partial Derivative     1 of     1");
}

TEST_F(InversionStep, ReportsProgressAndRedrawsOnExpose) {
    inversion_test::bindHost(log, linearForward);
    auto p = makeProfile(5, makeModel({square(0, -1, 1)}));
    p.MODEL.LVFIX(1) = true;
    setLinearData(p, {0.3f});
    linearForward(p);
    inversion_test::scriptEvents({kExpose, -1, kExpose});

    EXPECT_EQ(step(p), 0);
    ASSERT_GE(log.statuses.size(), 7u);
    EXPECT_EQ(log.statuses[0], "OneStep Calclation");
    EXPECT_EQ(log.statuses[1], "Jacobian Matrix Calculation...");
    EXPECT_EQ(log.statuses[2], "Partial Derivative     1 of     1");
    const auto trials =
        std::count_if(log.statuses.begin(), log.statuses.end(),
                      [](const std::string& s) { return s.starts_with("Solve and Test: "); });
    EXPECT_EQ(trials, static_cast<long>(log.statuses.size()) - 3);
    EXPECT_GE(trials, 4);
    EXPECT_LE(trials, 6);
    EXPECT_EQ(log.forwardCalls, 2 + trials);
    EXPECT_EQ(log.windowTexts, std::vector<std::string>{"error:"});
    EXPECT_EQ(log.progress[0], 5);
    EXPECT_EQ(log.progress[1], 100);  // one parameter of one
    EXPECT_EQ(log.refreshModel, 2);
    EXPECT_EQ(log.refreshData, 2);
    // The cursor is the hourglass only while a trial is solved.
    ASSERT_EQ(log.cursor.size(), static_cast<std::size_t>(2 * trials));
    for (std::size_t k = 0; k < log.cursor.size(); ++k)
        EXPECT_EQ(log.cursor[k], k % 2 == 0 ? 1 : 0);
    // The best misfit shown last is the misfit left in the profile.
    const auto best = std::find_if(log.reals.rbegin(), log.reals.rend(),
                                   [](auto& r) { return r.first == calc::kBestRmsField; });
    ASSERT_NE(best, log.reals.rend());
    EXPECT_EQ(best->second, p.RMSERR);
}

// A window exposed while the derivatives are calculated is redrawn with the
// synthetics whose misfit was shown last: those of the derivative in hand.
TEST_F(InversionStep, ExposedDuringTheDerivativesShowsTheDerivativeInHand) {
    inversion_test::bindHost(log, nullptr);
    auto p = makeProfile(5, makeModel({square(0, -1, 1), square(3, -1, 1)}));
    p.MODEL.LVFIX(1) = p.MODEL.LVFIX(2) = true;
    p.MODEL.AZIM = 90.0f;  // across the strike
    calc::CALC(p, 0);
    for (int i = 1; i <= p.NSTA; ++i)
        p.DAT(i, 1) = 1.5f * p.SYN(i, 1);
    calc::CALC(p, 0);
    ASSERT_GT(p.RMSERR, 0.0f);
    std::vector<std::pair<float, float>> drawn;  // (misfit shown last, misfit in the profile)
    calc::inversionHost().refreshData = [&](const model::ProfileLine& q) {
        const auto shown = std::find_if(log.reals.rbegin(), log.reals.rend(),
                                        [](auto& r) { return r.first == calc::kLatestRmsField; });
        drawn.emplace_back(shown == log.reals.rend() ? -1.0f : shown->second, q.RMSERR);
    };
    // Looks: after the start, then two for each derivative.
    inversion_test::scriptEvents({-1, kExpose, -1, -1, kExpose});
    EXPECT_EQ(step(p), 0);
    ASSERT_EQ(drawn.size(), 2u);
    for (const auto& [shown, profile] : drawn)
        EXPECT_EQ(shown, profile);
    EXPECT_NE(drawn[0].second, drawn[1].second);
}

TEST_F(InversionStep, UnsolvableTrialCountsAsFailedMisfit) {
    inversion_test::bindHost(log, linearForward);
    auto p = makeProfile(5, makeModel({square(0, -1, 1)}));
    p.MODEL.LVFIX(1) = true;
    linearForward(p);
    const auto before = p;

    calc::InversionState s;
    prepare(s, p);
    s.gradient[0] = 1.0f;  // no curvature and no damping weight: a zero pivot
    float damp = -2.0f;
    EXPECT_EQ(calc::EPCT(p.MODEL, p, s, damp, axisMod, axisDat), calc::kFailedMisfit);
    EXPECT_EQ(damp, 2.0f);
    EXPECT_EQ(p, before);
    EXPECT_EQ(log.forwardCalls, 0);
}

TEST_F(InversionStep, TrialSolvesTheDampedEquationsAndIsWithdrawn) {
    // Two properties with a unit normal matrix, coupled as neighbours on a
    // layer's top line would be: the right-hand side loses L times how far
    // each stands out of its neighbours (pulling the two together).
    std::vector<float> tried;
    inversion_test::bindHost(log, [&tried](model::ProfileLine& p) {
        tried = {p.MODEL.DENS(1), p.MODEL.DENS(2)};
        linearForward(p);
    });
    auto p = makeProfile(5, makeModel({square(0, -1, 1), square(3, -1, 1)}));
    p.MODEL.DENS(1) = 0.5f;
    p.MODEL.DENS(2) = 0.25f;
    p.MODEL.LVFIX(1) = true;
    p.MODEL.LVFIX(2) = true;
    linearForward(p);
    const auto before = p;

    calc::InversionState s;
    prepare(s, p);
    s.normalAt(1, 1) = s.normalAt(2, 2) = 1.0f;
    s.gradient = {1.0f, 1.0f};
    s.diagonalWeight = {1.0f, 1.0f};
    s.rightCoupling = {-0.5f, 0.0f};
    s.leftCoupling = {0.0f, -0.5f};
    s.bestRms = 1.0E6f;
    float damp = 2.0f;

    // 3 x1 - x2 = 1 - 2 (0.25 - 0.125) and -x1 + 3 x2 = 1 - 2 (0.125 - 0.25).
    const float rms = calc::EPCT(p.MODEL, p, s, damp, axisMod, axisDat);
    ASSERT_EQ(tried.size(), 2u);
    EXPECT_NEAR(tried[0], 0.5f + 0.4375f, 1e-5f);
    EXPECT_NEAR(tried[1], 0.25f + 0.5625f, 1e-5f);
    // The trial is the best so far; the model is back at the start.
    EXPECT_EQ(s.bestRms, rms);
    EXPECT_EQ(s.bestModel.DENS(1), tried[0]);
    EXPECT_EQ(s.bestValues[1], tried[1]);
    EXPECT_EQ(p.MODEL, before.MODEL);
    EXPECT_EQ(s.parameters.values(), before.MODEL.DENS.values());
    EXPECT_EQ(log.cursor, (std::vector<int>{1, 0}));
}

TEST_F(InversionStep, LayerTopLineIsSmoothedAlongItsVertices) {
    // Body 1: a layer whose top line has vertices 1-3, then its four closing
    // vertices; body 2: a block whose vertex 8 leads vertex 9.
    auto m = makeModel(
        {{{0, -1}, {1, -1.2f}, {2, -1}, {3, -2}, {3, -3}, {0, -3}, {0, -2}}, square(5, -1, 1)});
    m.LAYER(1) = true;
    for (int v : {1, 2, 3, 8})
        m.LZFIX(v) = true;
    m.IPOINT(9) = 8;
    m.LVFIX(1) = true;
    auto p = makeProfile(3, m);
    calc::InversionState s;
    prepare(s, p);
    ASSERT_EQ(s.parameters.NPAR, 5);
    for (int j = 1; j <= 5; ++j)
        calc::dampingWeights(p.MODEL, s, j);
    // Each is damped towards its start; the top line's are smoothed as well.
    EXPECT_EQ(s.diagonalWeight, (std::vector<float>{1.5f, 2.0f, 1.5f, 1.0f, 1.0f}));
    EXPECT_EQ(s.leftCoupling, (std::vector<float>{0.0f, -0.5f, -0.5f, 0.0f, 0.0f}));
    EXPECT_EQ(s.rightCoupling, (std::vector<float>{-0.5f, -0.5f, 0.0f, 0.0f, 0.0f}));
}

}  // namespace
