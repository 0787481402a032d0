#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "calc/inversion_step.h"
#include "inversion_fixtures.h"

namespace {

struct SearchCase {
    std::string name;
    std::function<float(float)> misfit;
    std::vector<float> tried;  // dampings in the order tried
    float best;
};

// Dampings 1000, 100, 10, 1 to start (each a tenth of the one before).
std::vector<SearchCase> searchCases() {
    const float r1000 = std::sqrt(1000.0f);
    return {
        // No misfit below 0.9 of the largest damping's: it stays chosen and
        // the search goes on upwards.
        {"flat", [](float) { return 1.0f; }, {1, 100, 10, 1000, 10000, 100000}, 100000},
        // Always better with less damping: the search goes on downwards.
        {"falling", [](float d) { return d; }, {1, 100, 10, 1000, 0.1f, 0.01f}, 0.01f},
        // A clear minimum at 100, refined twice below it.
        {"minimum",
         [](float d) { return 1.0f + std::abs(std::log10(d) - 2.0f); },
         {1, 100, 10, 1000, r1000, std::sqrt(100.0f * r1000)},
         100},
        // A minimum at 10 refined between 10 and 1, then between 10 and 3.16.
        {"low minimum",
         [](float d) {
             return d < 1.5f ? 2.0f : d < 5 ? 1.1f : d < 50 ? 1.0f : 3.0f;
         },
         {1, 100, 10, 1000, std::sqrt(10.0f), std::sqrt(10.0f * std::sqrt(10.0f))},
         10},
        // Neighbours within 1.5 times the best: flat enough, no refinement.
        {"shallow",
         [](float d) {
             return d > 500 ? 1.2f : d > 50 ? 1.0f : d > 5 ? 1.2f : 1.3f;
         },
         {1, 100, 10, 1000},
         100},
    };
}

TEST(DampingSearch, TriesDampingsInOrder) {
    for (const SearchCase& c : searchCases()) {
        SCOPED_TRACE(c.name);
        std::vector<float> tried;
        float dlow = -1.0f, dhigh = 1000.0f, dbest = 0.0f;
        calc::DampingTable table;
        calc::searchDampings(
            dlow, dhigh, dbest, table,
            [&](float& d) {
                tried.push_back(d);
                return c.misfit(d);
            },
            [] { return false; });
        EXPECT_EQ(dlow, 1.0f);
        ASSERT_EQ(tried.size(), c.tried.size());
        for (std::size_t k = 0; k < tried.size(); ++k)
            EXPECT_NEAR(tried[k], c.tried[k], 1e-4f * c.tried[k]) << k;
        EXPECT_NEAR(dbest, c.best, 1e-4f * c.best);
        for (std::size_t k = 0; k + 1 < table.dampings.size(); ++k)
            EXPECT_GT(table.dampings[k], table.dampings[k + 1]);
    }
}

TEST(DampingSearch, NothingWhenTheRangeIsEmptyAndStopsOnCancel) {
    int trials = 0;
    auto trial = [&](float&) {
        ++trials;
        return 1.0f;
    };
    float dlow = 5.0f, dhigh = -5.0f, dbest = -1.0f;
    calc::DampingTable table;
    calc::searchDampings(dlow, dhigh, dbest, table, trial, [] { return false; });
    EXPECT_EQ(trials, 0);
    EXPECT_EQ(dhigh, 5.0f);
    EXPECT_EQ(dbest, -1.0f);

    // Cancel seen before any trial, after the smallest damping's, and after
    // the two middle ones (before the largest).
    for (int cancelAt : {0, 1, 2}) {
        trials = 0;
        int looks = 0;
        dlow = 1.0f;
        dhigh = 1000.0f;
        calc::searchDampings(dlow, dhigh, dbest, table, trial, [&] { return looks++ == cancelAt; });
        EXPECT_EQ(trials, cancelAt == 0 ? 0 : cancelAt == 1 ? 1 : 3) << cancelAt;
    }
}

}  // namespace
