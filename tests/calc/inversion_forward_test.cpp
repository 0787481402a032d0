#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calc/forward_calc.h"
#include "calc/inversion_iterations.h"
#include "calc/inversion_step.h"
#include "inversion_fixtures.h"
#include "model/profile_line.h"
#include "model/session_state.h"
#include "util/abort_poll.h"
#include "util/axis_record.h"

namespace {

using inversion_test::makeModel;
using inversion_test::makeProfile;
using inversion_test::square;

// The inversion over the real forward calculation: a gravity profile of 21
// stations from -10 to 10 km above a two-dimensional block 2 km wide whose
// top lies 1 km down and whose bottom lies 3 km down.
class InversionWithForward : public ::testing::Test {
  protected:
    void SetUp() override {
        model::resetSessionState();
        inversion_test::bindHost(log, nullptr);
        p = makeProfile(21, makeModel({square(-1, -1, 2)}));
        for (int i = 1; i <= p.NSTA; ++i) {
            p.STAT(i) = static_cast<float>(i - 11);
            p.EAST(i) = p.STAT(i);
        }
        p.MODEL.AZIM = 90.0f;
        p.MODEL.STRIKE = 0.0f;
        p.MODEL.DENS(1) = 0.3f;
    }
    void TearDown() override {
        inversion_test::unbindAll();
        model::resetSessionState();
    }

    // Takes the synthetics of the model as it stands as the observed data.
    void observe() {
        calc::CALC(p, 0);
        ASSERT_TRUE(p.LSYN);
        for (int i = 1; i <= p.NSTA; ++i)
            p.DAT(i, 1) = p.SYN(i, 1);
    }

    inversion_test::HostLog log;
    model::ProfileLine p;
    util::AxisRecord axisMod{}, axisDat{};
};

TEST_F(InversionWithForward, FreeDensityFitsInOneStep) {
    observe();
    p.MODEL.DENS(1) = 0.2f;
    p.MODEL.LVFIX(1) = true;
    calc::CALC(p, 0);
    const float start = p.RMSERR;
    ASSERT_GT(start, 0.1f);

    int istat = -1;
    calc::ONE_STEP(p, p.MODEL, istat, axisMod, axisDat);
    EXPECT_EQ(istat, 0);
    EXPECT_NEAR(p.MODEL.DENS(1), 0.3f, 1e-3f);
    EXPECT_LT(p.RMSERR, 1e-3f * start);
    // Synthetics and misfit are those of the model left behind.
    auto check = p;
    calc::CALC(check, 0);
    EXPECT_EQ(check.RMSERR, p.RMSERR);
}

TEST_F(InversionWithForward, FreeVertexDepthsAreRecovered) {
    observe();
    p.MODEL.ZVRT(3) = -2.5f;
    p.MODEL.ZVRT(4) = -2.5f;
    p.MODEL.LZFIX(3) = true;
    p.MODEL.LZFIX(4) = true;
    calc::CALC(p, 0);
    ASSERT_GT(p.RMSERR, 0.05f);

    int istat = 0;
    calc::MORE_STEPS(p, p.MODEL, istat, axisMod, axisDat, calc::InversionControl{0.98f, 1e-4f, 9});
    EXPECT_NEAR(p.MODEL.ZVRT(3), -3.0f, 0.02f);
    EXPECT_NEAR(p.MODEL.ZVRT(4), -3.0f, 0.02f);
    EXPECT_LT(p.RMSERR, 1e-2f);
}

TEST_F(InversionWithForward, CancelAmongCalculationsSideBySideLeavesEverythingAsBefore) {
    // Looks at the event queue: one after the start calculation, two after
    // each of the three derivatives, one before the search, one after each
    // trial is shown. The push button comes during the second derivative
    // (its group already calculated), or when the first of the trials
    // calculated ahead is shown.
    constexpr int kPushButton = 3;
    for (const int at : {3, 8}) {
        SCOPED_TRACE(at);
        log = inversion_test::HostLog{};
        SetUp();
        observe();
        p.MODEL.DENS(1) = 0.25f;
        p.MODEL.ZVRT(3) = -2.8f;
        p.MODEL.LVFIX(1) = true;
        p.MODEL.LZFIX(3) = true;
        p.MODEL.LZFIX(4) = true;
        calc::CALC(p, 0);
        const model::ProfileLine before = p;
        std::vector<int> events(static_cast<std::size_t>(at), -1);
        events.push_back(kPushButton);
        const auto looks = inversion_test::scriptEvents(events);

        int istat = -1;
        calc::ONE_STEP(p, p.MODEL, istat, axisMod, axisDat);
        EXPECT_EQ(istat, 0);
        EXPECT_GE(*looks, at + 1);
        EXPECT_EQ(p, before);
        EXPECT_TRUE(util::abortPollState().latch);
        const auto shown =
            std::count_if(log.statuses.begin(), log.statuses.end(),
                          [](const std::string& t) { return t.starts_with("Solve and Test"); });
        EXPECT_EQ(shown, at == 3 ? 0 : 1);
        TearDown();
    }
}

}  // namespace
