#include "util/numeric_routines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "toolkit/core/event_queue.h"
#include "util/abort_poll.h"

using namespace util;
using Floats = std::vector<float>;

class NumericRoutines : public ::testing::Test {
  protected:
    void SetUp() override { resetNumericState(); }
};

TEST_F(NumericRoutines, SolvesAThreeByThreeSystem) {
    // 2x + y - z = 8, -3x - y + 2z = -11, -2x + y + 2z = -3: x = 2, y = 3, z = -1.
    Floats a = {2, 1, -1, -3, -1, 2, -2, 1, 2, 8, -11, -3};
    EXPECT_EQ(SOLVE(a, 3, 1), 0);
    EXPECT_NEAR(a[9], 2.0f, 1e-5);
    EXPECT_NEAR(a[10], 3.0f, 1e-5);
    EXPECT_NEAR(a[11], -1.0f, 1e-5);
    EXPECT_EQ(numericState().solveError, 0);

    // Two right-hand sides, each equation's pair contiguous.
    Floats b = {4, 1, 1, 3, 9, 1, 5, 7};
    EXPECT_EQ(SOLVE(b, 2, 2), 0);
    EXPECT_NEAR(b[4], 2.0f, 1e-5);  // 4x + y = 9,  x + 3y = 5
    EXPECT_NEAR(b[6], 1.0f, 1e-5);
    EXPECT_NEAR(b[5], -4.0f / 11.0f, 1e-5);  // 4x + y = 1,  x + 3y = 7
    EXPECT_NEAR(b[7], 27.0f / 11.0f, 1e-5);
}

TEST_F(NumericRoutines, SingularSystemsAreReported) {
    Floats a = {1, 2, 3, 2, 4, 6, 1, 1, 1, 1, 2, 3};
    EXPECT_EQ(SOLVE(a, 3, 1), -1);
    EXPECT_EQ(numericState().solveError, -1);

    Floats tiny = {1.0e-11f, 1};
    EXPECT_EQ(SOLVE(tiny, 1, 1), -1);
    EXPECT_EQ(tiny[1], 1.0f);

    Floats good = {2, 4};
    EXPECT_EQ(SOLVE(good, 1, 1), 0);  // the flag is cleared by a good solve
    EXPECT_EQ(good[1], 2.0f);

    Floats tooShort = {1, 0, 0};
    EXPECT_EQ(SOLVE(tooShort, 2, 1), -1);
}

TEST_F(NumericRoutines, InterpolationKeepsMissingValuesApart) {
    Floats x = {0, 1, 2};
    Floats y = {0, 1.0e20f, 4};
    EXPECT_EQ(TERPOL(x, y, 3, 0.4f), 0.0f);
    EXPECT_EQ(TERPOL(x, y, 3, 0.6f), 1.0e20f);

    Floats yy = {0, 10, 40};
    EXPECT_FLOAT_EQ(TERPOL(x, yy, 3, 0.5f), 5.0f);
    EXPECT_FLOAT_EQ(TERPOL(x, yy, 3, 1.5f), 25.0f);  // the remembered interval moves
    EXPECT_FLOAT_EQ(TERPOL(x, yy, 3, 0.25f), 2.5f);
    EXPECT_EQ(TERPOL(x, yy, 3, -1.0f), 0.0f);
    EXPECT_EQ(TERPOL(x, yy, 3, 5.0f), 40.0f);
    EXPECT_EQ(TERPOL(x, yy, 0, 5.0f), 0.0f);
    EXPECT_EQ(TERPOL(x, yy, 1, 5.0f), 0.0f);

    Floats down = {3, 2, 1, 0};
    Floats val = {30, 20, 10, 0};
    EXPECT_FLOAT_EQ(TERPOL(down, val, 4, 2.5f), 25.0f);
    EXPECT_FLOAT_EQ(TERPOL(down, val, 4, 0.5f), 5.0f);
    EXPECT_EQ(TERPOL(down, val, 4, 4.0f), 30.0f);
}

TEST_F(NumericRoutines, ZeroWidthIntervalGivesAFiniteValue) {
    Floats x = {0, 1, 1, 1, 2};
    Floats y = {0, 10, 20, 30, 40};
    for (float x0 : {1.0f, 0.999f, 1.001f}) {
        numericState().terpolInterval = 3;  // remembered: inside the repeated points
        const float v = TERPOL(x, y, 5, x0);
        EXPECT_TRUE(std::isfinite(v)) << x0;
        EXPECT_GE(v, 0.0f);
        EXPECT_LE(v, 40.0f);
    }
    numericState().terpolInterval = 0;
    EXPECT_NEAR(TERPOL(x, y, 5, 1.5f), 35.0f, 1e-4);
}

TEST_F(NumericRoutines, DoubleInterpolationReportsItsInterval) {
    std::vector<double> x = {10, 20, 30};
    Floats y = {1, 2, 3};
    int found = 0;
    EXPECT_FLOAT_EQ(DTERPOL(x, y, 3, 25.0, found), 2.5f);
    EXPECT_EQ(found, 2);
    EXPECT_EQ(DTERPOL(x, y, 3, 5.0, found), 1.0f);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(DTERPOL(x, y, 3, 35.0, found), 3.0f);
    EXPECT_EQ(found, 3);
    EXPECT_EQ(DTERPOL(x, y, 1, 35.0, found), 1.0f);
    EXPECT_EQ(found, 1);
}

TEST_F(NumericRoutines, LagrangePolynomial) {
    Floats x = {0, 1, 2};
    Floats y = {0, 1, 4};
    EXPECT_FLOAT_EQ(FLAGRI(x, y, 3, 3), 9.0f);
    EXPECT_EQ(FLAGRI(x, y, 1, 3), 1.0f);
    EXPECT_FLOAT_EQ(FLAGRI(x, y, -0.5f, 3), 0.25f);
    EXPECT_EQ(FLAGRI(x, y, 3, 0), 0.0f);
}

TEST_F(NumericRoutines, BubbleSortCarriesCompanions) {
    Floats a = {3, 1, 2, 1};
    Floats b = {30, 10, 20, 11};
    Floats c = {-3, -1, -2, -11};
    ORDER5(a, b, c, {}, {}, 4, 2);
    EXPECT_EQ(a, (Floats{1, 1, 2, 3}));
    EXPECT_EQ(b, (Floats{10, 11, 20, 30}));   // equal keys keep their order
    EXPECT_EQ(c, (Floats{-3, -1, -2, -11}));  // not carried with M = 2
    ORDER5(b, a, c, {}, {}, 4, 0);
}

TEST(AbortPoll, PushButtonLatchesUntilReset) {
    resetAbortPollState();
    std::vector<int> queue = {7, 3, -1};
    setEventPeek([&](EventWords& record) {
        record.fill(0);
        if (queue.empty()) {
            record.fill(-1);
            return -1;
        }
        int type = queue.front();
        queue.erase(queue.begin());
        record[1] = 100 + type;
        return type;
    });
    int type = 0;
    EventWords record{};
    EXPECT_FALSE(LKILLMSG(false, type, record));
    EXPECT_EQ(type, 7);
    EXPECT_EQ(record[1], 107);
    EXPECT_TRUE(LKILL(false));
    EXPECT_EQ(abortPollState().lastType, 3);
    EXPECT_TRUE(LKILL(false));  // nothing pending, still latched
    EXPECT_EQ(abortPollState().lastType, -1);
    EXPECT_FALSE(LKILL(true));
    EXPECT_FALSE(LKILL(false));
    EXPECT_FALSE(LQUIT());
    setEventPeek(nullptr);
    EXPECT_FALSE(LKILLMSG(false, type, record));
    EXPECT_EQ(type, -1);
}

TEST(AbortPoll, ByDefaultThePushButtonComesFromTheToolkitQueue) {
    resetAbortPollState();
    setEventPeek(nullptr);
    tk::resetEventQueue();
    tk::EventQueueState& queue = tk::eventQueue();
    queue.pushedBackType = kPushButtonEvent;
    queue.pushedBack.fill(0);
    queue.pushedBack[1] = 42;
    int type = 0;
    EventWords record{};
    EXPECT_TRUE(LKILLMSG(false, type, record));
    EXPECT_EQ(type, kPushButtonEvent);
    EXPECT_EQ(record[1], 42);
    EXPECT_EQ(queue.pushedBackType, 0);
    resetAbortPollState();
}
