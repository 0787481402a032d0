#include "calc/inversion_iterations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/inversion_host.h"
#include "inversion_fixtures.h"
#include "model/profile_line.h"
#include "util/abort_poll.h"
#include "util/axis_record.h"

namespace {

using inversion_test::makeModel;
using inversion_test::makeProfile;
using inversion_test::square;

constexpr int kPushButton = 3;

class InversionIterations : public ::testing::Test {
  protected:
    void SetUp() override {
        inversion_test::bindHost(log, [](model::ProfileLine&) {});
    }
    void TearDown() override { inversion_test::unbindAll(); }

    inversion_test::HostLog log;
    util::AxisRecord axisMod{}, axisDat{};
};

struct StopCase {
    std::string name;
    calc::InversionControl control;
    float start;
    std::vector<float> misfits;  // misfit after each step
    std::vector<int> statuses;   // status of each step (0 when not given)
    int cancelAfter;             // step during which Cancel is pushed, 0 none
    int steps;                   // steps taken
};

TEST_F(InversionIterations, StoppingRules) {
    const calc::InversionControl normal{};
    const std::vector<StopCase> cases = {
        {"no iterations allowed", {0.98f, 1.0f, 0}, 10, {}, {}, 0, 0},
        {"too little improvement", normal, 10, {9.9f, 5}, {}, 0, 1},
        {"exactly the factor goes on", normal, 10, {9.8f, 9.7f}, {}, 0, 2},
        {"target reached", normal, 10, {0.95f, 0.5f}, {}, 0, 1},
        {"target is a strict bound", normal, 10, {5, 1.0f, 0.5f}, {}, 0, 3},
        {"iteration limit", {0.98f, 1.0f, 3}, 64, {32, 16, 8, 4}, {}, 0, 3},
        {"failed step", normal, 10, {5, 2.5f}, {-1}, 0, 1},
        {"cancel", normal, 10, {8, 6, 4, 3}, {}, 2, 2},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        log = {};
        inversion_test::bindHost(log, [](model::ProfileLine&) {});
        auto p = makeProfile(3, makeModel({square(0, -1, 1)}));
        p.RMSERR = c.start;
        std::size_t k = 0;
        const int taken = calc::runInversionSteps(
            p, p.MODEL, axisMod, axisDat, c.control,
            [&](model::ProfileLine& profile, model::PolygonModel&, int& status) {
                ASSERT_LT(k, c.misfits.size());
                profile.RMSERR = c.misfits[k];
                status = k < c.statuses.size() ? c.statuses[k] : 0;
                ++k;
                if (static_cast<int>(k) == c.cancelAfter)
                    inversion_test::scriptEvents({kPushButton});
            });
        EXPECT_EQ(taken, c.steps);
        EXPECT_FALSE(util::abortPollState().latch);
        EXPECT_EQ(log.loads, 1);
        EXPECT_EQ(log.shows, 1);
        EXPECT_EQ(log.hides, 1);
        EXPECT_EQ(log.statuses, std::vector<std::string>{"Starting Inversion"});
        ASSERT_EQ(log.iterations.size(), static_cast<std::size_t>(c.steps));
        if (c.steps > 0) {
            EXPECT_EQ(log.iterations[0],
                      "Iteration   1 of " + std::string(c.control.maxIterations < 10 ? "  " : " ") +
                          std::to_string(c.control.maxIterations));
        }
        util::setEventPeek(nullptr);
    }
}

TEST_F(InversionIterations, RunsStepsInTheProgressDialog) {
    // Synthetics are the first body's property at every station.
    log = {};
    inversion_test::bindHost(log, [](model::ProfileLine& p) {
        for (int i = 1; i <= p.NSTA; ++i)
            p.SYN(i, 1) = p.MODEL.DENS(1) * static_cast<float>(i);
        inversion_test::computeRms(p);
    });
    auto p = makeProfile(4, makeModel({square(0, -1, 1)}));
    p.MODEL.LVFIX(1) = true;
    p.MODEL.DENS(1) = 10.0f;
    for (int i = 1; i <= p.NSTA; ++i)
        p.DAT(i, 1) = 12.0f * static_cast<float>(i);
    calc::inversionHost().forward(p, 0);
    ASSERT_GT(p.RMSERR, 1.0f);

    int istat = 0;
    util::abortPollState().latch = true;  // left from an earlier run
    calc::MORE_STEPS(p, p.MODEL, istat, axisMod, axisDat, calc::InversionControl{});
    EXPECT_EQ(istat, -1);
    EXPECT_NEAR(p.MODEL.DENS(1), 12.0f, 1e-2f);
    EXPECT_LT(p.RMSERR, 1.0f);
    EXPECT_EQ(log.showTypes, std::vector<int>{3});
    EXPECT_EQ(log.iterations.front(), "Iteration   1 of   9");
    EXPECT_FALSE(util::abortPollState().latch);
    // The dialog comes back where it was left.
    EXPECT_EQ(calc::inversionDialogPlace().x, 120);
    EXPECT_EQ(calc::inversionDialogPlace().y, 80);
}

}  // namespace
