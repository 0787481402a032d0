#include <gtest/gtest.h>

#include "util/nice_axis.h"
#include "view_fixtures.h"
#include "views/profile_scaling.h"

namespace {

using views_test::makeProfile;

struct Nice {
    float start, step;
    std::int32_t n;
};
Nice nice(float lo, float hi) {
    Nice r{};
    std::int32_t k = 0;
    util::LINNX(lo, hi, r.start, r.step, r.n, k);
    return r;
}

TEST(ProfileScaling, DataAxesSpanDataRegionalAndSynthetics) {
    model::ProfileLine p = makeProfile(
        "P", {{0, 0, 100, 0, 2, -3}, {0, 0, 300, 0, 1.0E20f, 5}, {0, 0, 700, 0, 4, 1}}, true);
    p.NREG = 1;
    p.YREG[0] = 9.0f;
    views::DATARESCALEPL(p);
    const util::AxisRecord& a = p.AXES[0];
    const Nice x = nice(100, 700), y = nice(-3, 9);
    EXPECT_EQ(a.startX, x.start);
    EXPECT_EQ(a.stepX, x.step);
    EXPECT_FLOAT_EQ(a.divLengthX, 8.0f / x.n);
    EXPECT_EQ(a.startY, y.start);
    EXPECT_EQ(a.stepY, y.step);
    EXPECT_FLOAT_EQ(a.divLengthY, 6.0f / y.n);
    EXPECT_EQ(a.originX, 1.25f);
    EXPECT_EQ(a.clipXMax, 8.01f);
    EXPECT_EQ(a.clipYMax, 6.01f);
    EXPECT_TRUE(a.xLabelsBelow && a.yLabelsLeft && !a.yLabelsRight);
    EXPECT_EQ(p.AXES[1], util::AxisRecord{}) << "one component leaves the second panel";
}

TEST(ProfileScaling, SyntheticsIgnoredWhenNotValidAndRangesAccumulate) {
    model::ProfileLine p = makeProfile("P", {{0, 0, 0, 0, 1, 100}, {0, 0, 10, 0, 2, 100}}, false);
    util::AxisRecord a;
    views::SCALE_Y_PROF(a, p, true);
    EXPECT_EQ(a.startY, nice(1, 2).start);
    model::ProfileLine q = makeProfile("Q", {{0, 0, 50, 0, -4, 0}}, false);
    views::SCALE_X_PROF(a, p, true);
    views::SCALE_X_PROF(a, q, false);
    EXPECT_EQ(a.startX, nice(0, 50).start);
    EXPECT_EQ(a.divCountX, nice(0, 50).n);
    views::SCALE_Y_PROF(a, q, false);
    EXPECT_EQ(a.startY, nice(-4, 2).start);
}

TEST(ProfileScaling, SectionDepthAxisFromModel) {
    using views_test::rect;
    model::ProfileLine p = makeProfile("P", {{0, 0, 0, 10, 0, 0}, {0, 0, 100, 30, 0, 0}});
    struct Case {
        std::vector<views_test::Outline> bodies;
        float lo, hi;
    };
    // Stations 10..30, topography at 0, a body from -200 to -100.
    const std::vector<Case> cases = {
        // Topography and no body: the bottom is padded twice.
        {{}, 0.0f - 0.25f * 35.0f, 30.0f + 0.25f * 35.0f},
        {{rect(0, -200, 50, -100)}, -200.0f - 57.5f, 30.0f + 57.5f},
    };
    for (const Case& c : cases) {
        std::vector<float> props(c.bodies.size(), 2.67f);
        model::PolygonModel m = views_test::makeModel(c.bodies, props);
        util::AxisRecord a;
        views::SCALE_BY(a, m, p);
        const Nice y = nice(c.lo, c.hi);
        EXPECT_EQ(a.startY, y.start) << c.bodies.size();
        EXPECT_EQ(a.stepY, y.step) << c.bodies.size();
        EXPECT_EQ(a.divCountY, y.n);
        EXPECT_TRUE(a.yLabelsLeft && !a.logY);
    }
    // Nothing to scale: only the division count is touched.
    model::PolygonModel empty;
    util::AxisRecord a;
    a.startY = 7.0f;
    views::SCALE_BY(a, empty, p);
    EXPECT_EQ(a.divCountY, 1);
    EXPECT_EQ(a.startY, 7.0f);
}

}  // namespace
