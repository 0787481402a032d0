// The bookkeeping of the forward calculation: body modes, regional field,
// levelling, clipping, masks and misfit, units and data types, refusals.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "calc/forward_calc.h"
#include "calc/station_sums.h"
#include "model/session_state.h"
#include "platform/message_box.h"
#include "profile_builder.h"
#include "reference_fields.h"

namespace calc {
namespace {

using test::BodySpec;
using test::box;

std::vector<float> stationsFrom(float first, float step, int n) {
    std::vector<float> s;
    for (int i = 0; i < n; ++i)
        s.push_back(first + step * static_cast<float>(i));
    return s;
}

std::vector<float> synthetics(const model::ProfileLine& p) {
    std::vector<float> v;
    for (int i = 1; i <= p.NSTA; ++i)
        v.push_back(p.SYN(i, 1));
    return v;
}

class CalcBehaviour : public ::testing::Test {
  protected:
    void SetUp() override {
        model::resetSessionState();
        win::testing::resetMessageBoxes();
    }
    void TearDown() override {
        win::testing::resetMessageBoxes();
        setCalcThreadCount(0);
    }
    // Texts of the library's boxes shown so far with the given icon.
    static std::vector<std::string> boxes(win::UINT icon) {
        std::vector<std::string> texts;
        for (const auto& box : win::testing::messageBoxes()) {
            if ((box.style & win::MB_ICONMASK) == icon) texts.push_back(box.text);
        }
        return texts;
    }
    static std::vector<std::string> messages() { return boxes(win::MB_ICONINFORMATION); }
    static std::vector<std::string> warnings() { return boxes(win::MB_ICONEXCLAMATION); }
};

// Two bodies, the second inside the first.
model::ProfileLine twoBodies() {
    model::ProfileLine p = test::makeProfile(stationsFrom(-10.0f, 1.0f, 21));
    BodySpec outer = box(-4.0f, 4.0f, -0.5f, -3.0f, 0.3f);
    BodySpec inner = box(-1.0f, 1.5f, -1.0f, -2.0f, 0.5f);
    inner.parent = 1;
    inner.xtent1 = inner.xtent2 = 6.0f;
    test::setBodies(p, {outer, inner});
    return p;
}

TEST_F(CalcBehaviour, SingleBodyModesAddAndSubtractWhatAllBodiesGive) {
    model::ProfileLine all = twoBodies();
    CALC(all, 0);
    model::ProfileLine beyond = twoBodies();
    CALC(beyond, 3);  // beyond the body count: all bodies
    EXPECT_EQ(synthetics(beyond), synthetics(all));

    // The inner body's contrast is taken against its parent: 0.5 - 0.3.
    model::ProfileLine outerOnly = twoBodies();
    outerOnly.MODEL.DENS(2) = 0.3f;
    CALC(outerOnly, 0);
    model::ProfileLine added = outerOnly;
    added.MODEL.DENS(2) = 0.5f;
    CALC(added, 2);
    for (int i = 1; i <= all.NSTA; ++i)
        EXPECT_NEAR(added.SYN(i, 1), all.SYN(i, 1), 1e-5);

    model::ProfileLine removed = all;
    CALC(removed, 2);
    CALC(removed, -2);
    EXPECT_EQ(synthetics(removed), synthetics(all));
    EXPECT_TRUE(removed.LSYN);
    EXPECT_FALSE(removed.LSAVED);
}

TEST_F(CalcBehaviour, HiddenBodiesLeftOutOnlyWhenAskedFor) {
    model::ProfileLine all = twoBodies();
    CALC(all, 0);
    model::ProfileLine hidden = twoBodies();
    hidden.MODEL.LHIDE(1) = true;
    CALC(hidden, 0);
    EXPECT_EQ(synthetics(hidden), synthetics(all));

    // With the switch on, the outer body is skipped and the inner one takes
    // its contrast against the background.
    model::sessionState().HiddenBodies = true;
    CALC(hidden, 0);
    model::ProfileLine innerAlone = twoBodies();
    innerAlone.MODEL.INCLBD(2) = 0;
    CALC(innerAlone, 2);  // added to synthetics of 0
    for (int i = 1; i <= hidden.NSTA; ++i) {
        EXPECT_NEAR(hidden.SYN(i, 1), innerAlone.SYN(i, 1), 1e-6);
    }
}

TEST_F(CalcBehaviour, TwoDimensionalBodyOnAndOffTheLine) {
    // Both extents 0: two-dimensional whatever the station's offset.
    model::ProfileLine p = test::makeProfile({0.0f, 0.0f});
    p.NORT(2) = 3.0f;
    p.MODEL.ICOORD = 2;
    test::setBodies(p, {box(-1.0f, 1.0f, -1.0f, -2.0f)});
    CALC(p, 0);
    EXPECT_EQ(p.SYN(1, 1), p.SYN(2, 1));
    // Equal extents off the line are no longer equal for the station.
    p.MODEL.XTENT1(1) = p.MODEL.XTENT2(1) = 5.0f;
    CALC(p, 0);
    EXPECT_LT(p.SYN(2, 1), p.SYN(1, 1));
}

TEST_F(CalcBehaviour, RegionalModes) {
    model::ProfileLine bare = twoBodies();
    CALC(bare, 0);

    model::ProfileLine constant = twoBodies();
    constant.NREG = 1;
    constant.YREG = {2.5f, 9, 9, 9, 9};
    CALC(constant, 0);
    for (int i = 1; i <= bare.NSTA; ++i) {
        EXPECT_EQ(constant.REG(i), 2.5f);
        EXPECT_EQ(constant.SYN(i, 1), static_cast<float>(double(bare.SYN(i, 1)) + 2.5));
    }

    // Through (0, 1), (1, 3), (2, 7): 1 + x + x^2.
    model::ProfileLine lagrange = twoBodies();
    lagrange.NREG = 3;
    lagrange.XREG = {0, 1, 2, 50, 60};
    lagrange.YREG = {1, 3, 7, 100, 100};
    CALC(lagrange, 0);
    for (int i = 1; i <= lagrange.NSTA; ++i) {
        const float x = lagrange.STAT(i);
        EXPECT_NEAR(lagrange.REG(i), 1 + x + x * x, 1e-3 * (1 + x * x));
    }

    // The stored regional array is the user's: kept and added.
    model::ProfileLine stored = twoBodies();
    stored.NREG = 6;
    for (int i = 1; i <= stored.NSTA; ++i)
        stored.REG(i) = 0.25f * static_cast<float>(i);
    CALC(stored, 0);
    for (int i = 1; i <= stored.NSTA; ++i) {
        EXPECT_EQ(stored.REG(i), 0.25f * static_cast<float>(i));
        EXPECT_EQ(stored.SYN(i, 1), static_cast<float>(double(bare.SYN(i, 1)) + stored.REG(i)));
    }

    // No regional: the array is cleared. Single-body mode neither resets nor adds it.
    model::ProfileLine none = twoBodies();
    for (int i = 1; i <= none.NSTA; ++i)
        none.REG(i) = 4.0f;
    model::ProfileLine single = none;
    single.NREG = 1;
    single.YREG[0] = 10.0f;
    CALC(single, 2);
    EXPECT_EQ(single.REG(1), 4.0f);
    CALC(none, 0);
    EXPECT_EQ(none.REG(1), 0.0f);
}

TEST_F(CalcBehaviour, LayerAlwaysLevelsAgainstTheCountedData) {
    model::ProfileLine p = test::makeProfile(stationsFrom(-5.0f, 1.0f, 11));
    BodySpec layer;
    // Two vertices of its own, then four closing ones that the calculation places.
    layer.x = {-20, 20, 0, 0, 0, 0};
    layer.z = {-1.0f, -1.5f, 0, 0, 0, 0};
    layer.layer = true;
    layer.property = 0.2f;
    test::setBodies(p, {layer, box(-1, 1, -0.5f, -0.8f, 0.6f)});
    p.MODEL.INCLBD(2) = 0;
    for (int i = 1; i <= p.NSTA; ++i)
        p.DAT(i, 1) = 3.0f + 0.1f * static_cast<float>(i);
    p.DAT(4, 1) = 1.0E20f;  // missing
    p.MASK(6, 1) = true;    // masked
    CALC(p, 0);
    EXPECT_TRUE(p.MODEL.LEXTND);
    EXPECT_EQ(p.MODEL.XVRT(3), 1.0E15f);
    EXPECT_EQ(p.MODEL.ZVRT(3), -1.5f);
    EXPECT_EQ(p.MODEL.ZVRT(4), -1.0E15f);
    EXPECT_EQ(p.MODEL.XVRT(6), -1.0E15f);
    EXPECT_EQ(p.MODEL.ZVRT(6), -1.0f);
    double mean = 0;
    int n = 0;
    double sum2 = 0;
    // Before levelling the layer, reaching 1.0E15 km down, gives some 2.0E5
    // mGal at every station; levelled in double, only the result is rounded.
    const double tolerance = 1.0E-5;
    for (int i = 1; i <= p.NSTA; ++i) {
        ASSERT_TRUE(std::isfinite(p.SYN(i, 1)));
        if (i == 4 || i == 6) continue;
        mean += p.SYN(i, 1) - p.DAT(i, 1);
        sum2 += std::pow(double(p.DAT(i, 1)) - p.SYN(i, 1), 2);
        ++n;
    }
    EXPECT_NEAR(mean / n, 0.0, tolerance);
    EXPECT_NEAR(p.RMSERR, std::sqrt(sum2 / n), tolerance);
    EXPECT_EQ(p.RMSERR2, p.RMSERR);

    // With masked points used, station 6 counts as well.
    p.LMASKU = true;
    CALC(p, 0);
    mean = 0;
    for (int i = 1; i <= p.NSTA; ++i) {
        if (i != 4) mean += p.SYN(i, 1) - p.DAT(i, 1);
    }
    EXPECT_NEAR(mean / (n + 1), 0.0, tolerance);
}

TEST_F(CalcBehaviour, AFlatLayerLevelsAwayToTheLastDigitOfTheBodiesAboveIt) {
    // A flat layer adds the same huge value at every station; levelled, only
    // the box above it remains, as exactly as single precision can hold it.
    const std::vector<float> stations = stationsFrom(-5.0f, 0.5f, 21);
    BodySpec layer;
    layer.x = {-20, 20, 0, 0, 0, 0};
    layer.z = {-1.0f, -1.0f, 0, 0, 0, 0};
    layer.layer = true;
    layer.property = 0.3f;
    const BodySpec block = box(-1, 1, -0.2f, -0.5f, 0.6f);
    model::ProfileLine layered = test::makeProfile(stations);
    test::setBodies(layered, {layer, block});
    model::ProfileLine alone = test::makeProfile(stations);
    test::setBodies(alone, {block});
    for (model::ProfileLine* p : {&layered, &alone}) {
        for (int i = 1; i <= p->NSTA; ++i)
            p->DAT(i, 1) = 0.0f;
    }
    CALC(layered, 0);
    CALC(alone, 0);
    double mean = 0.0;
    for (int i = 1; i <= alone.NSTA; ++i)
        mean += alone.SYN(i, 1);
    mean /= alone.NSTA;
    for (int i = 1; i <= layered.NSTA; ++i)
        EXPECT_NEAR(layered.SYN(i, 1), alone.SYN(i, 1) - mean, 2.0E-6) << i;
}

TEST_F(CalcBehaviour, AllStationsMaskedLeavesNoShiftAndNoMisfit) {
    model::ProfileLine reference = twoBodies();
    CALC(reference, 0);
    model::ProfileLine p = twoBodies();
    p.MODEL.LAYER(1) = true;  // asks for levelling (its run is too short to extend)
    for (int i = 1; i <= p.NSTA; ++i) {
        p.DAT(i, 1) = 100.0f;
        p.MASK(i, 1) = true;
    }
    CALC(p, 0);
    EXPECT_EQ(synthetics(p), synthetics(reference));
    EXPECT_EQ(p.RMSERR, 0.0f);
    EXPECT_TRUE(p.LSYN);
}

TEST_F(CalcBehaviour, FarVertexIsClippedAndSwitchesLevellingOn) {
    // Span 2 km: offsets beyond 200 km are confined.
    model::ProfileLine p = test::makeProfile({-1.0f, 0.0f, 1.0f});
    test::setBodies(p, {box(-1.0f, 500.0f, -1.0f, -2.0f)});
    for (int i = 1; i <= 3; ++i)
        p.DAT(i, 1) = 7.0f;
    CALC(p, 0);
    double mean = 0;
    for (int i = 1; i <= 3; ++i)
        mean += p.SYN(i, 1) - 7.0;
    EXPECT_NEAR(mean, 0.0, 1e-5);

    // Without the far vertex nothing is levelled.
    model::ProfileLine q = test::makeProfile({-1.0f, 0.0f, 1.0f});
    test::setBodies(q, {box(-1.0f, 150.0f, -1.0f, -2.0f)});
    for (int i = 1; i <= 3; ++i)
        q.DAT(i, 1) = 7.0f;
    CALC(q, 0);
    EXPECT_GT(q.SYN(2, 1), 10.0f);
}

TEST_F(CalcBehaviour, SingleStationIsNotClipped) {
    // No span: the body 50 km away keeps its place (a clip limit of 0 would
    // pull every vertex onto the station), and nothing is levelled.
    model::ProfileLine p = test::makeProfile({0.0f});
    test::setBodies(p, {box(48.0f, 52.0f, -1.0f, -3.0f)});
    p.DAT(1, 1) = 0.0f;
    CALC(p, 0);
    const double expected =
        6.673 * test::rectangleGravity2D(48.0, 52.0, 1.0 + 0.0001524, 3.0 + 0.0001524);
    EXPECT_NEAR(p.SYN(1, 1), expected, 1e-6 * expected);
}

TEST_F(CalcBehaviour, BaselineMovesStationsAndBodiesAlike) {
    model::ProfileLine p = twoBodies();
    CALC(p, 0);
    model::ProfileLine shifted = twoBodies();
    shifted.MODEL.BASELN = 3.0f;
    CALC(shifted, 0);
    for (int i = 1; i <= p.NSTA; ++i)
        EXPECT_NEAR(shifted.SYN(i, 1), p.SYN(i, 1), 1e-5);
}

TEST_F(CalcBehaviour, FeetAreScaledToKilometres) {
    model::ProfileLine km = twoBodies();
    CALC(km, 0);
    model::ProfileLine ft =
        test::makeProfile(stationsFrom(-10.0f / 0.0003048f, 1.0f / 0.0003048f, 21));
    BodySpec outer =
        box(-4.0f / 0.0003048f, 4.0f / 0.0003048f, -0.5f / 0.0003048f, -3.0f / 0.0003048f, 0.3f);
    BodySpec inner =
        box(-1.0f / 0.0003048f, 1.5f / 0.0003048f, -1.0f / 0.0003048f, -2.0f / 0.0003048f, 0.5f);
    inner.parent = 1;
    inner.xtent1 = inner.xtent2 = 6.0f / 0.0003048f;
    test::setBodies(ft, {outer, inner});
    ft.XUNIT.assign("ft");
    ft.ZUNIT.assign("FT");
    CALC(ft, 0);
    EXPECT_EQ(ft.XUNIT, base::FixedString<8>("FT"));
    for (int i = 1; i <= km.NSTA; ++i) {
        EXPECT_NEAR(ft.SYN(i, 1), km.SYN(i, 1), 2e-5 * std::fabs(km.SYN(i, 1)) + 1e-6);
    }

    // "km" is upper-cased and taken as kilometres.
    model::ProfileLine lower = twoBodies();
    lower.XUNIT.assign("km");
    CALC(lower, 0);
    EXPECT_EQ(lower.XUNIT, base::FixedString<8>("KM"));
    EXPECT_EQ(synthetics(lower), synthetics(km));
}

TEST_F(CalcBehaviour, DataTypesAndPropertyUnits) {
    model::ProfileLine gravity = twoBodies();
    CALC(gravity, 0);
    model::ProfileLine micro = twoBodies();
    micro.DTYPE.assign("Microgravity Data");
    CALC(micro, 0);
    model::ProfileLine kgPerCubicMetre = twoBodies();
    kgPerCubicMetre.IDENUN = 2;
    kgPerCubicMetre.MODEL.DENS(1) = 300.0f;
    kgPerCubicMetre.MODEL.DENS(2) = 500.0f;
    CALC(kgPerCubicMetre, 0);
    model::ProfileLine badCode = twoBodies();
    badCode.IDENUN = 7;
    CALC(badCode, 0);
    EXPECT_EQ(badCode.IDENUN, 1);
    EXPECT_EQ(synthetics(badCode), synthetics(gravity));
    for (int i = 1; i <= gravity.NSTA; ++i) {
        EXPECT_NEAR(micro.SYN(i, 1), 1000.0f * gravity.SYN(i, 1), 2e-6 * micro.SYN(i, 1));
        EXPECT_NEAR(kgPerCubicMetre.SYN(i, 1), gravity.SYN(i, 1), 2e-6 * gravity.SYN(i, 1));
    }

    // The along-strike component needs its exact name; a near miss is total field.
    auto magnetic = [](const char* type) {
        model::ProfileLine p = twoBodies();
        p.DTYPE.assign(type);
        p.FINCL = 45.0f;
        p.FDECL = 30.0f;
        CALC(p, 0);
        return synthetics(p);
    };
    const auto along = magnetic("Magnetics Y-Ccomp");
    const auto total = magnetic("Magnetics Data");
    EXPECT_NE(along, total);
    EXPECT_EQ(magnetic("Magnetics Y-Comp"), total);
    EXPECT_EQ(magnetic("Magnetics Y-CcompX"), total);
}

TEST_F(CalcBehaviour, RefusalsChangeNothingElse) {
    model::ProfileLine empty = test::makeProfile({});
    empty.LSYN = true;
    CALC(empty, 0);
    EXPECT_FALSE(empty.LSYN);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0],
              "There are currently no data points at which to 'calculate a forward curve.");

    // A count without station arrays behind it is treated the same way.
    model::ProfileLine hollow = test::makeProfile({});
    hollow.NSTA = 5;
    CALC(hollow, 0);
    EXPECT_FALSE(hollow.LSYN);
    EXPECT_EQ(messages().size(), 2u);

    model::ProfileLine p = twoBodies();
    p.SYN(1, 1) = 42.0f;
    p.LSYN = false;
    model::sessionState().BadModel = true;
    CALC(p, 0);
    EXPECT_EQ(p.SYN(1, 1), 42.0f);
    EXPECT_FALSE(p.LSYN);
    model::sessionState().BadModel = false;

    // A strike along the profile is refused with a message.
    p.MODEL.STRIKE = 90.0f;
    CALC(p, 0);
    EXPECT_EQ(p.SYN(1, 1), 42.0f);
    EXPECT_FALSE(p.LSYN);
    ASSERT_EQ(messages().size(), 3u);
}

TEST_F(CalcBehaviour, MisfitOfTheCountedStations) {
    model::ProfileLine p = test::makeProfile({0, 1, 2, 3});
    const float data[] = {1.0f, 2.0f, 3.0f, 1.0E20f};
    const float syn[] = {2.0f, 2.0f, 1.0f, 0.0f};
    for (int i = 1; i <= 4; ++i) {
        p.DAT(i, 1) = data[i - 1];
        p.SYN(i, 1) = syn[i - 1];
    }
    p.LSAVED = true;
    CALC_ER(p);
    EXPECT_FLOAT_EQ(p.RMSERR, std::sqrt(5.0f / 3.0f));
    EXPECT_TRUE(p.LSYN);
    EXPECT_FALSE(p.LSAVED);
    p.SYN(2, 1) = std::nanf("");
    CALC_ER(p);
    EXPECT_EQ(p.RMSERR, 1.0E20f);
    EXPECT_EQ(p.RMSERR2, 1.0E20f);
}

TEST_F(CalcBehaviour, ThreadsGiveTheSameSynthetics) {
    model::ProfileLine one = test::makeProfile(stationsFrom(-20.0f, 0.01f, 4001), "Magnetics Data");
    BodySpec b;
    for (int j = 0; j < 60; ++j) {
        const float t = 6.2831853f * static_cast<float>(j) / 60.0f;
        b.x.push_back(3.0f * std::cos(t));
        b.z.push_back(-4.0f + 1.5f * std::sin(t));
    }
    b.property = 0.003f;
    b.xtent1 = 4.0f;
    b.xtent2 = 9.0f;
    test::setBodies(one, {b});
    one.FINCL = 55.0f;
    one.FDECL = 10.0f;
    model::ProfileLine many = one;
    setCalcThreadCount(1);
    CALC(one, 0);
    setCalcThreadCount(8);
    CALC(many, 0);
    for (int i = 1; i <= one.NSTA; ++i) {
        ASSERT_EQ(std::bit_cast<std::uint32_t>(many.SYN(i, 1)),
                  std::bit_cast<std::uint32_t>(one.SYN(i, 1)))
            << i;
    }
}

TEST_F(CalcBehaviour, OlderTwinTurnsAnIllegalDirection) {
    model::ProfileLine p = twoBodies();
    p.MODEL.STRIKE = 60.0f;  // 60 degrees off the perpendicular of azimuth 90
    p.DTYPE.assign("Magnetics X-Comp.");
    RECALC(p, 0);
    ASSERT_EQ(warnings().size(), 1u);
    EXPECT_EQ(warnings()[0],
              "WARNING: ILLEGAL PROFILE DIRECTION 90.0 HAS BEEN CHANGED TO 150.0 DEGREES.");
    EXPECT_EQ(p.MODEL.AZIM, 150.0f);
    // Only the full name "Magnetics Data" is magnetics: this is gravity.
    model::ProfileLine gravity = twoBodies();
    gravity.MODEL.STRIKE = 60.0f;
    gravity.MODEL.AZIM = 150.0f;
    CALC(gravity, 0);
    EXPECT_EQ(synthetics(p), synthetics(gravity));

    model::ProfileLine empty = test::makeProfile({});
    RECALC(empty, 0);
    EXPECT_EQ(messages().back(),
              " There are currently no data points at which to calculate a forward curve.");
}

TEST_F(CalcBehaviour, DirectionDifferenceAndCrossProductArea) {
    EXPECT_EQ(AZDIF(10.0f, 350.0f), 20.0f);
    EXPECT_EQ(AZDIF(90.0f, 0.0f), 90.0f);
    EXPECT_EQ(AZDIF(-170.0f, 190.0f), 0.0f);
    const float x[] = {0, 1, 1, 0}, z[] = {0, 0, 1, 1};
    EXPECT_EQ(BODCRS(0.5f, 0.5f, x, z, 4), 1.0f);
    EXPECT_EQ(BODCRS(7.0f, -3.0f, x, z, 4), 1.0f);
}

TEST_F(CalcBehaviour, FiniteLayerExtension) {
    model::ProfileLine p = test::makeProfile({0.0f, 10.0f});
    BodySpec layer;
    layer.x = {-2, 3, 0, 0, 0, 0};
    layer.z = {-1.0f, -1.2f, 0, 0, 0, 0};
    layer.layer = true;
    test::setBodies(p, {layer});
    CNTRCI(p);
    EXPECT_TRUE(p.MODEL.LEXTND);
    EXPECT_EQ(p.MODEL.XVRT(3), 5000.0f);
    EXPECT_EQ(p.MODEL.XVRT(6), -5000.0f);
    EXPECT_EQ(p.MODEL.ZVRT(4), -5000.0f);
    EXPECT_EQ(p.MODEL.ZVRT(6), -1.0f);
}

}  // namespace
}  // namespace calc
