// The per-station sums over packs and threads against the edge term summed
// one station at a time: the same bits for every component, strike case,
// thread count and instruction set.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "calc/rapdgm.h"
#include "calc/station_sums.h"

namespace calc {
namespace {

// The sum of one station, one edge at a time, exactly as the calculation
// describes it.
double stationSum(const ForwardPlan& plan, std::size_t i, bool& clipped) {
    const bool magnetic = plan.component != EdgeComponent::Gravity;
    CalcCommon common;
    common.Fx = plan.Fx;
    common.Fy = plan.Fy;
    common.Fz = plan.Fz;
    double S = 0.0;
    for (const ForwardBody& b : plan.bodies) {
        common.Mx = b.Mx;
        common.My = b.My;
        common.Mz = b.Mz;
        float y1 = b.xtent1, y2 = b.xtent2;
        if (y1 != 0.0f || y2 != 0.0f) {
            y1 = y1 + plan.ys[i];
            y2 = y2 - plan.ys[i];
        }
        if (plan.scaled) {
            y1 *= plan.fx;
            y2 *= plan.fx;
        }
        auto place = [&](int v, double& x, double& z) {
            float xf = plan.xv[static_cast<std::size_t>(v)] - plan.xs[i];
            if (plan.clip > 0.0f && xf > plan.clip) xf = plan.clip, clipped = true;
            if (plan.clip > 0.0f && xf < -plan.clip) xf = -plan.clip, clipped = true;
            float zf = plan.elevation[i] - plan.zv[static_cast<std::size_t>(v)];
            if (plan.scaled) {
                xf *= plan.fx;
                zf *= plan.fz;
            }
            zf = zf + 0.0001524f;
            x = xf;
            z = zf;
        };
        double bs = 0.0, x1, z1;
        place(b.last, x1, z1);
        for (int v = b.first; v <= b.last; ++v) {
            double x2, z2;
            place(v, x2, z2);
            const double t = RAPDGM(x1, z1, x2, z2, y1, y2, magnetic, common);
            const double bx = common.Bx, by = common.By, bz = common.Bz;
            double value = t;
            switch (plan.component) {
                case EdgeComponent::X:
                    value = bx;
                    break;
                case EdgeComponent::Y:
                    value = by;
                    break;
                case EdgeComponent::Z:
                    value = bz;
                    break;
                case EdgeComponent::TotalGrad:
                    value = t - RAPDGM(x1, z1 + 0.001, x2, z2 + 0.001, y1, y2, true, common);
                    break;
                case EdgeComponent::XGrad:
                    RAPDGM(x1, z1 + 0.001, x2, z2 + 0.001, y1, y2, true, common);
                    value = bx - common.Bx;
                    break;
                case EdgeComponent::YGrad:
                    RAPDGM(x1, z1 + 0.001, x2, z2 + 0.001, y1, y2, true, common);
                    value = by - common.By;
                    break;
                case EdgeComponent::ZGrad:
                    RAPDGM(x1, z1 + 0.001, x2, z2 + 0.001, y1, y2, true, common);
                    value = bz - common.Bz;
                    break;
                default:
                    break;
            }
            bs = b.addEdges ? bs + value : bs - value;
            x1 = x2;
            z1 = z2;
        }
        if (y1 == y2) bs = bs * 2.0;
        switch (plan.scale) {
            case SumScale::Magnetic:
                S = S + bs * static_cast<double>(plan.fieldStrength);
                break;
            case SumScale::Gravity:
                S = S + bs * 6.673 * static_cast<double>(b.contrast);
                break;
            case SumScale::Microgravity:
                S = S + bs * 6.673 * static_cast<double>(b.contrast) * 1000.0;
                break;
        }
    }
    return S;
}

// Two bodies (a pentagon and a quadrilateral, opposite orientations) under 23
// stations, some of them off the profile line so that a pack mixes strike cases.
ForwardPlan samplePlan(EdgeComponent component, float xtent1, float xtent2) {
    ForwardPlan plan;
    plan.xv = {-2.0f, 1.5f, 2.5f, 0.3f, -1.2f, 3.0f, 3.0f, 6.0f, 5.5f};
    plan.zv = {-1.0f, -0.8f, -2.5f, -3.1f, -2.0f, -0.5f, -1.5f, -1.5f, -0.6f};
    ForwardBody a;
    a.first = 0;
    a.last = 4;
    a.xtent1 = xtent1;
    a.xtent2 = xtent2;
    a.addEdges = true;
    a.contrast = 0.27f;
    a.Mx = 0.001;
    a.My = -0.0004;
    a.Mz = 0.002;
    ForwardBody b = a;
    b.first = 5;
    b.last = 8;
    b.addEdges = false;
    b.contrast = -0.1f;
    b.xtent1 = 0.0f;
    b.xtent2 = 0.0f;
    plan.bodies = {a, b};
    for (int i = 0; i < 23; ++i) {
        plan.xs.push_back(-6.0f + 0.55f * static_cast<float>(i));
        plan.ys.push_back(i % 5 == 3 ? 0.75f : 0.0f);
        plan.elevation.push_back(0.05f * static_cast<float>(i % 3));
    }
    plan.clip = 1000.0f;
    plan.component = component;
    plan.scale = component == EdgeComponent::Gravity ? SumScale::Gravity : SumScale::Magnetic;
    plan.fieldStrength = 48000.0f;
    plan.Fx = 0.3;
    plan.Fy = 0.2;
    plan.Fz = 0.93;
    return plan;
}

// The vector pack codes this processor has. A code it lacks would only run
// the generic code again, so it is named in the output instead of tested.
const std::vector<detail::PackCode>& vectorCodesHere() {
    static const std::vector<detail::PackCode> here = [] {
        std::vector<detail::PackCode> codes;
        if (detail::avx2Available())
            codes.push_back(detail::PackCode::Avx2);
        else
            std::printf(
                "[  NOTE    ] this processor lacks AVX2: its pack code is not tested here\n");
        if (detail::avx512Available())
            codes.push_back(detail::PackCode::Avx512);
        else
            std::printf(
                "[  NOTE    ] this processor lacks AVX-512: its pack code is not tested here\n");
        return codes;
    }();
    return here;
}

void expectSameBits(const std::vector<double>& a, const std::vector<double>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(a[i]), std::bit_cast<std::uint64_t>(b[i]))
            << "station " << i << ": " << a[i] << " vs " << b[i];
    }
}

TEST(StationSums, PacksGiveTheBitsOfOneStationAtATime) {
    const EdgeComponent components[] = {
        EdgeComponent::Gravity, EdgeComponent::Total, EdgeComponent::TotalGrad,
        EdgeComponent::X,       EdgeComponent::Y,     EdgeComponent::Z,
        EdgeComponent::XGrad,   EdgeComponent::YGrad, EdgeComponent::ZGrad};
    const float extents[][2] = {{0, 0}, {4, 4}, {2, 7}};
    for (EdgeComponent c : components) {
        for (const auto& e : extents) {
            ForwardPlan plan = samplePlan(c, e[0], e[1]);
            plan.scaled = c == EdgeComponent::Z;  // exercise the unit scaling too
            plan.fx = plan.fz = 0.3048f;
            std::vector<double> expected;
            bool clipped = false;
            for (std::size_t i = 0; i < plan.xs.size(); ++i)
                expected.push_back(stationSum(plan, i, clipped));
            std::vector<detail::PackCode> codes = vectorCodesHere();
            codes.push_back(detail::PackCode::Generic);
            for (auto code : codes) {
                const StationSums got = detail::computeStationSums(plan, 1, code);
                SCOPED_TRACE(testing::Message() << "component " << static_cast<int>(c)
                                                << " extents " << e[0] << "," << e[1]);
                expectSameBits(got.sums, expected);
                EXPECT_FALSE(got.clipped);
            }
        }
    }
}

TEST(StationSums, ThreadsChangeNoBit) {
    // Big enough for the work to be spread.
    ForwardPlan plan = samplePlan(EdgeComponent::Total, 3, 5);
    for (int i = 0; i < 4000; ++i) {
        plan.xs.push_back(-8.0f + 0.004f * static_cast<float>(i));
        plan.ys.push_back(static_cast<float>(i % 7) * 0.1f);
        plan.elevation.push_back(0.0f);
    }
    const StationSums one = detail::computeStationSums(plan, 1, detail::PackCode::Generic);
    for (auto code : vectorCodesHere()) {
        for (int threads : {1, 3, 8}) {
            const StationSums many = detail::computeStationSums(plan, threads, code);
            expectSameBits(many.sums, one.sums);
        }
    }
}

TEST(StationSums, SeveralPlansInOnePassGiveEachPlansBits) {
    ForwardPlan wide = samplePlan(EdgeComponent::Gravity, 0, 0);
    for (int i = 0; i < 3000; ++i) {
        wide.xs.push_back(-8.0f + 0.005f * static_cast<float>(i));
        wide.ys.push_back(0.0f);
        wide.elevation.push_back(0.0f);
    }
    std::vector<ForwardPlan> plans;
    for (const ForwardBody& b : wide.bodies) {
        ForwardPlan one = wide;
        one.bodies = {b};
        plans.push_back(one);
    }
    plans.back().clip = 1.0f;  // one plan clipped, the others not
    for (int threads : {1, 3, 8}) {
        const std::vector<StationSums> each =
            detail::computeEachStationSums(plans, threads, detail::PackCode::Best);
        ASSERT_EQ(each.size(), plans.size());
        for (std::size_t k = 0; k < plans.size(); ++k) {
            const StationSums alone =
                detail::computeStationSums(plans[k], 1, detail::PackCode::Generic);
            expectSameBits(each[k].sums, alone.sums);
            EXPECT_EQ(each[k].clipped, alone.clipped) << "plan " << k;
        }
    }
    EXPECT_TRUE(detail::computeStationSums(plans.back(), 1, detail::PackCode::Best).clipped);
    EXPECT_TRUE(computeEachStationSums(std::span<const ForwardPlan>()).empty());
}

// A body's edges computed one by one and summed give the bits of its sum, for
// every component, strike case, pack code and thread count; a clipped vertex
// marks the two edges at it.
TEST(StationSums, EdgeValuesSumToTheBodysBits) {
    const EdgeComponent components[] = {EdgeComponent::Gravity, EdgeComponent::TotalGrad,
                                        EdgeComponent::Y, EdgeComponent::ZGrad};
    const float extents[][2] = {{0, 0}, {4, 4}, {2, 7}};
    for (EdgeComponent c : components) {
        for (const auto& e : extents) {
            ForwardPlan plan = samplePlan(c, e[0], e[1]);
            for (int i = 0; i < 300; ++i) {
                plan.xs.push_back(-8.0f + 0.05f * static_cast<float>(i));
                plan.ys.push_back(static_cast<float>(i % 3) * 0.7f);
                plan.elevation.push_back(0.0f);
            }
            plan.bodies.resize(1);
            const ForwardBody& b = plan.bodies.front();
            EdgeTask all{&plan, b, {}};
            for (int k = 0; k <= b.last - b.first; ++k)
                all.edges.push_back(k);
            const StationSums whole =
                detail::computeStationSums(plan, 1, detail::PackCode::Generic);
            std::vector<detail::PackCode> codes = vectorCodesHere();
            codes.push_back(detail::PackCode::Generic);
            for (auto code : codes) {
                for (int threads : {1, 3}) {
                    SCOPED_TRACE(testing::Message()
                                 << "component " << static_cast<int>(c) << " extents " << e[0]
                                 << "," << e[1] << " threads " << threads);
                    const std::vector<EdgeValues> got = detail::computeEdgeValues(
                        std::span<const EdgeTask>(&all, 1), threads, code);
                    ASSERT_EQ(got.size(), 1u);
                    expectSameBits(sumsOfEdges(plan, got.front().values), whole.sums);
                }
            }
        }
    }
    ForwardPlan plan = samplePlan(EdgeComponent::Gravity, 0, 0);
    plan.bodies.resize(1);
    plan.clip = 20.0f;
    plan.xv[static_cast<std::size_t>(plan.bodies.front().first)] = 100.0f;
    const int last = plan.bodies.front().last - plan.bodies.front().first;
    const EdgeTask task{&plan, plan.bodies.front(), {0, 1, last}};
    const std::vector<EdgeValues> got =
        detail::computeEdgeValues(std::span<const EdgeTask>(&task, 1), 1, detail::PackCode::Best);
    EXPECT_EQ(got.front().clipped, (std::vector<char>{1, 1, 0}));
    // Listed in any order, each edge has the bits it has among all of them:
    // a vertex is shared only where an edge starts at the one before's end.
    const EdgeTask every{&plan, plan.bodies.front(), {0, 1, 2, 3, 4}};
    const EdgeTask some{&plan, plan.bodies.front(), {4, 1, 2, 0}};
    const std::vector<EdgeValues> all =
        detail::computeEdgeValues(std::span<const EdgeTask>(&every, 1), 1, detail::PackCode::Best);
    const std::vector<EdgeValues> few =
        detail::computeEdgeValues(std::span<const EdgeTask>(&some, 1), 1, detail::PackCode::Best);
    const std::size_t n = plan.xs.size();
    for (std::size_t k = 0; k < some.edges.size(); ++k) {
        const auto e = static_cast<std::size_t>(some.edges[k]);
        const std::vector<double> want(all.front().values.data() + e * n,
                                       all.front().values.data() + (e + 1) * n);
        const std::vector<double> got(few.front().values.data() + k * n,
                                      few.front().values.data() + (k + 1) * n);
        SCOPED_TRACE(testing::Message() << "edge " << e);
        expectSameBits(got, want);
        EXPECT_EQ(few.front().clipped[k], all.front().clipped[e]);
    }
}

TEST(StationSums, OffsetsBeyondTheClipLimitAreConfined) {
    ForwardPlan plan = samplePlan(EdgeComponent::Gravity, 0, 0);
    plan.clip = 4.0f;
    std::vector<double> expected;
    bool clipped = false;
    for (std::size_t i = 0; i < plan.xs.size(); ++i)
        expected.push_back(stationSum(plan, i, clipped));
    ASSERT_TRUE(clipped);
    const StationSums got = detail::computeStationSums(plan, 1, detail::PackCode::Best);
    expectSameBits(got.sums, expected);
    EXPECT_TRUE(got.clipped);

    // A clip limit of 0 (a single station or no span) confines nothing.
    plan.clip = 0.0f;
    EXPECT_FALSE(detail::computeStationSums(plan, 1, detail::PackCode::Best).clipped);
}

}  // namespace
}  // namespace calc
