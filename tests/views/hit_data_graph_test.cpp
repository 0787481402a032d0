#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>

#include "util/axis_scaling.h"
#include "views/hit_data_graph.h"
#include "views/hit_label.h"
#include "views/hit_map.h"

namespace {

struct RecordingOutput : views::HoverOutput {
    std::map<int, std::string> parts;
    int cursor = -1;
    int writes = 0;
    void statusText(int part, std::string_view text) override {
        parts[part] = std::string(text);
        ++writes;
    }
    void cursorShape(int shape) override { cursor = shape; }
};

// Origin at (1, 1) inch; x from 0 at 100 units per inch, y from 0 at ystep
// units per inch (negative: the axis runs downwards).
util::AxisRecord graphAxis(float ystep = 10.0f) {
    util::AxisRecord a;
    a.originX = a.originY = 1.0f;
    a.divLengthX = a.divLengthY = 1.0f;
    a.stepX = 100.0f;
    a.stepY = ystep;
    a.divCountX = 8;
    a.divCountY = 6;
    util::FINDAS(a);
    return a;
}

// Stations at 0, 100, 200 ... with data 10, 20, 30 ...
model::ProfileLine stations(int n) {
    model::ProfileLine p;
    p.NSTA = n;
    p.NCOMP = 1;
    int status = 1;
    model::ALLOCPF(p, status);
    for (int i = 1; i <= n; ++i) {
        p.STAT(i) = 100.0f * static_cast<float>(i - 1);
        p.DAT(i, 1) = 10.0f * static_cast<float>(i);
        p.EAST(i) = 5000.0f + p.STAT(i);
        p.NORT(i) = 7000.0f;
    }
    p.DUNIT[0].assign("mGal");
    return p;
}

// Page inches of a graph point, moved by (dx, dy) inches.
std::pair<float, float> inchesOf(float x, float y, const util::AxisRecord& a, float dx = 0,
                                 float dy = 0) {
    return {util::PLOFX(x, a) + a.originX + dx, util::PLOFY(y, a) + a.originY + dy};
}

class DataGraphHover : public ::testing::Test {
  protected:
    util::AxisRecord axis = graphAxis();
    model::ProfileLine profile = stations(4);
    views::DataGraphHoverState state;
    RecordingOutput out;
    int hit = -1;
    void SetUp() override { state.ViewXUnit.assign("m"); }
    void hover(std::pair<float, float> at) {
        views::PLINEODOM(at.first, at.second, profile, axis, hit, state, out);
    }
};

TEST_F(DataGraphHover, StationsAreHitStrictlyWithinTheRadius) {
    struct Case {
        float dx, dy;
        int station;
    };
    for (const Case c : {Case{0, 0, 2}, Case{0.099f, 0, 2}, Case{0, -0.07f, 2}, Case{0.1005f, 0, 0},
                         Case{0.08f, 0.08f, 0}}) {
        SCOPED_TRACE(c.dx);
        state.LastShownPoint = 0;
        hover(inchesOf(100, 20, axis, c.dx, c.dy));
        EXPECT_EQ(hit, c.station);
    }
    // Two stations at one place: the lower number wins.
    profile.STAT(3) = 100.0f;
    profile.DAT(3, 1) = 20.0f;
    hover(inchesOf(100, 20, axis, 0.01f, 0));
    EXPECT_EQ(hit, 2);
}

TEST_F(DataGraphHover, ReadoutIsWrittenOnceAndBlankedWhenLeft) {
    hover(inchesOf(100, 20, axis, 0.01f, 0));
    EXPECT_EQ(out.cursor, 3);
    EXPECT_EQ(out.parts[3], "      2 Point");
    EXPECT_EQ(out.parts[4], "   100. m");
    EXPECT_EQ(out.parts[5], "    20. mGal");
    EXPECT_EQ(out.parts[1], "101.0 m");
    EXPECT_EQ(state.LastShownPoint, 2);
    out.parts.erase(3);
    hover(inchesOf(100, 20, axis, 0.02f, 0));
    EXPECT_EQ(out.parts.count(3), 0u);  // the same station: parts 3-5 stay
    hover(inchesOf(100, 20, axis, 0.3f, 0));
    EXPECT_EQ(out.parts[3], " ");
    EXPECT_EQ(out.parts[5], " ");
    EXPECT_EQ(out.cursor, 0);
    EXPECT_EQ(state.LastShownPoint, 0);
}

TEST_F(DataGraphHover, RubberBoxShowsItsSizeWhateverTheHits) {
    state.RubberBoxShown = true;
    state.AnchorX = 3000.0f;             // 3 inches across: x = 200
    state.AnchorY = 10000.0f - 1250.0f;  // 1 inch up: y = 0
    hover(inchesOf(100, 20, axis));
    EXPECT_EQ(hit, 2);
    EXPECT_EQ(out.parts[3], "    100.0 Vadi");
    EXPECT_EQ(out.parts[4], "     20.0 High");
    EXPECT_EQ(out.parts[5], " ");
    EXPECT_EQ(state.LastShownPoint, 0);
}

TEST_F(DataGraphHover, ValueUnitsOfPartTwo) {
    struct Case {
        const char* tunit;
        const char* dtype;
        bool logY;
        const char* unit;
        const char* expected;
    };
    for (const Case c : {
             Case{"SECS", "Central Loop TEM    ", false, "mGal", "25.00000 mSec"},
             Case{"SECS", "Magnetotelluric Data", false, "mGal", "25.00000 Hz"},
             Case{"SECS", "Vertical Coplanar   ", false, "mGal", "25.00000 Hz"},
             Case{"SECS", "Gravity             ", false, "mGal", "25.00000 m"},
             Case{"    ", "Resistivity         ", true, "mGal", " ohm-m"},
             Case{"    ", "Gravity             ", false, "mGal", "25.00000 mGal"},
             Case{"    ", "Gravity             ", false, "(nT)", "25.00000 nT"},
         }) {
        SCOPED_TRACE(c.expected);
        profile.TUNIT.assign(c.tunit);
        profile.DTYPE.assign(c.dtype);
        profile.DUNIT[0].assign(c.unit);
        axis.logY = c.logY;
        hover(inchesOf(150, 25, axis));
        // The log axis puts another value under the cursor: only its unit is compared.
        if (c.logY) {
            EXPECT_TRUE(out.parts[2].ends_with(c.expected)) << out.parts[2];
        } else {
            EXPECT_EQ(out.parts[2], c.expected);
        }
    }
}

TEST(StationReadout, MessageAndProfileSummary) {
    auto p = stations(3);
    p.ELEV(2) = 12.3f;
    p.SYN(2, 1) = 19.5f;
    p.MASK(2, 1) = true;
    EXPECT_EQ(views::stationReadout(p, 2),
              "East:    5100.0 North:    7000.0 Station:     100.0  Elevation:      12.3\r\n"
              "Data:      20.0 Synthetic:     19.5 Mask: YES");
    EXPECT_TRUE(views::stationReadout(p, 0).empty());
    EXPECT_TRUE(views::stationReadout(p, 4).empty());
    p.RMSERR = 0.125f;
    p.LSYN = true;
    RecordingOutput out;
    views::profileSummary(p, out);
    EXPECT_EQ(out.parts[1], "3 Points");
    EXPECT_EQ(out.parts[2], "Err: 0.125 mGal");
    // No read-out of a hover before stays in the other parts.
    for (int part = 3; part <= 5; ++part) EXPECT_EQ(out.parts[part], " ") << part;
    // A profile never calculated shows no misfit.
    p.LSYN = false;
    views::profileSummary(p, out);
    EXPECT_EQ(out.parts[2], "");
}

TEST(StationAlongAxis, NearestDistanceWithinTheRadius) {
    auto p = stations(4);
    p.AXES[1] = graphAxis();
    RecordingOutput out;
    int hit = -1;
    views::TESTPOINTPLINE(p, 2, 2050.0f, hit, out);  // 2.05 inch: distance 105
    EXPECT_EQ(hit, 2);
    EXPECT_EQ(out.cursor, 3);
    views::TESTPOINTPLINE(p, 2, 2500.0f, hit, out);
    EXPECT_EQ(hit, 0);
    EXPECT_EQ(out.cursor, 0);
}

// Labels of 40 x 4 units (0.4 x 0.4 inch) in graph 1.
model::LabelSet labelsAt(std::initializer_list<std::pair<float, float>> centres) {
    model::LabelSet l;
    for (const auto& [x, y] : centres) {
        const auto k = static_cast<std::size_t>(l.NLAB++);
        l.XCLAB[k] = l.XARRO[k] = x;
        l.YCLAB[k] = l.YARRO[k] = y;
        l.WDLAB[k] = 40.0f;
        l.HILAB[k] = 4.0f;
        l.IWINDOW[k] = 1;
    }
    return l;
}

std::pair<float, float> windowOf(std::pair<float, float> inches) {
    return {inches.first * 1000.0f, 10000.0f - inches.second * 1250.0f};
}

TEST(LabelHitTest, BoxCentreHandlesAndArrow) {
    const auto axis = graphAxis();
    auto labels = labelsAt({{200, 20}, {230, 20}});  // boxes overlap
    auto test = [&](std::pair<float, float> inches, bool shown = true, int graph = 1) {
        views::LabelHits hits;
        float tol = views::kLabelPickRadius;
        const auto w = windowOf(inches);
        views::TESTLABEL(labels, hits, tol, w.first, w.second, axis, graph, shown);
        return hits;
    };
    // Inside label 1's box, 0.15 inch from its centre: hit on the centre.
    auto h = test(inchesOf(200, 20, axis, -0.15f, 0.05f));
    EXPECT_EQ(h.HitLabel, 1);
    EXPECT_EQ(h.HitLabelPart, 0);
    EXPECT_EQ(h.LabelAxisCopy, axis);
    // Inside label 1's box but near label 2's left edge: the handle wins.
    h = test(inchesOf(200, 20, axis, 0.12f, 0));
    EXPECT_EQ(h.HitLabel, 2);
    EXPECT_EQ(h.HitLabelPart, 2);
    h = test(inchesOf(200, 22, axis, 0, 0.01f));  // top edge
    EXPECT_EQ(h.HitLabelPart, -2);
    h = test(inchesOf(180, 18, axis, -0.01f, -0.01f));  // lower-left corner
    EXPECT_EQ(h.HitLabelPart, 1);
    h = test(inchesOf(180, 22, axis, -0.01f, 0.01f));  // upper-left corner
    EXPECT_EQ(h.HitLabelPart, -1);
    // Labels hidden, or another graph: nothing.
    EXPECT_EQ(test(inchesOf(200, 20, axis), false).HitLabel, 0);
    EXPECT_EQ(test(inchesOf(200, 20, axis), true, 3).HitLabel, 0);
    // An arrow point away from the box.
    labels.XARRO[0] = 100.0f;
    labels.YARRO[0] = 40.0f;
    h = test(inchesOf(100, 40, axis, 0.02f, 0));
    EXPECT_EQ(h.HitLabel, 1);
    EXPECT_TRUE(h.HitLabelArrow);
    // A label at no real position is passed over without a message.
    labels.XCLAB[0] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(test(inchesOf(100, 40, axis, 0.02f, 0)).HitLabel, 0);
}

TEST(LabelHitTest, DownwardAxisNegatesCorners) {
    const auto axis = graphAxis(-10.0f);
    const auto labels = labelsAt({{200, -20}});
    views::LabelHits hits;
    float tol = views::kLabelPickRadius;
    // The lower-left corner in graph units lies upper-left on the page.
    const auto w = windowOf(inchesOf(180, -22, axis, -0.01f, 0.01f));
    views::TESTLABEL(labels, hits, tol, w.first, w.second, axis, 1, true);
    EXPECT_EQ(hits.HitLabel, 1);
    EXPECT_EQ(hits.HitLabelPart, -1);
}

// Three east-west lines 100 units (1 inch) apart on the map.
model::ProfileDatabase threeLines() {
    model::ProfileDatabase db;
    db.NPROF = 3;
    db.PROFS.resize(3);
    for (int i = 1; i <= 3; ++i) {
        auto& p = db.profile(i);
        p = stations(3);
        for (int s = 1; s <= 3; ++s)
            p.NORT(s) = 100.0f * static_cast<float>(i);
        p.EFIRST = 0.0f;
        p.ELAST = 200.0f;
        p.NFIRST = p.NLAST = 100.0f * static_cast<float>(i);
        for (int s = 1; s <= 3; ++s)
            p.EAST(s) = p.STAT(s);
        p.PNAME.assign("Line " + std::to_string(i));
    }
    return db;
}

TEST(MapHitTest, NearestLineOtherThanTheOpenOne) {
    auto db = threeLines();
    const auto axis = graphAxis(100.0f);
    int marked = 0;
    views::MapHoverServices services;
    services.inGraph = [](float e, float n, const util::AxisRecord&) {
        return e >= 0 && e <= 800 && n >= 0 && n <= 600;
    };
    services.markProfile = [&](int profile, const util::AxisRecord&, int) { marked = profile; };
    RecordingOutput out;
    int hover = -1;
    auto at = [&](float e, float n, float dy, int current = 0) {
        const auto in = inchesOf(e, n, axis, 0, dy);
        views::MAPODOM(db, in.first, in.second, axis, current, hover, services, out);
        return hover;
    };
    EXPECT_EQ(at(100, 200, 0.05f), 2);
    EXPECT_EQ(out.cursor, 3);
    EXPECT_EQ(out.parts[3], "Profile: Line 2");
    EXPECT_EQ(out.parts[1], "E:      100.0");
    EXPECT_EQ(marked, 2);
    EXPECT_EQ(at(100, 200, 0.0995f), 2);
    EXPECT_EQ(at(100, 200, 0.1005f), 0);
    EXPECT_EQ(out.cursor, 0);
    EXPECT_EQ(out.parts[3], " ");
    EXPECT_EQ(at(100, 200, 0.05f, 2), 0);  // the open profile is never hovered
    EXPECT_EQ(at(250, 200, 0.0f), 0);      // beyond the line's end
    // Outside the map frame every part is blank.
    at(900, 200, 0.0f);
    EXPECT_EQ(out.parts[1], " ");
    EXPECT_EQ(out.parts[2], " ");
    EXPECT_EQ(out.parts[3], " ");
    // A line of no length is rebuilt from its stations.
    db.profile(3).ELAST = 0.0f;
    EXPECT_EQ(at(150, 300, 0.02f), 3);
    EXPECT_FLOAT_EQ(db.profile(3).ELAST, 200.0f);
}

// The misfit of the profile summary in three significant digits, so that it
// and its unit fit a fifth of the status bar.
TEST(ShortValueText, ThreeSignificantDigitsFixedOrWithAShortExponent) {
    struct Case {
        float value;
        const char* want;
    };
    const Case cases[] = {{0.03288f, "0.0329"}, {0.125f, "0.125"},    {12.34567f, "12.3"},
                          {99.96f, "100."},     {1.0f, "1."},         {0.0f, "0."},
                          {-250.4f, "-250."},   {123456.7f, "1.2E5"}, {0.0003288f, "3.3E-4"},
                          {99999.4f, "99999."}};
    for (const Case& c : cases) {
        std::array<char, 12> buf;
        EXPECT_EQ(views::shortValueText(c.value, buf), c.want) << c.value;
    }
}

}  // namespace

namespace {

// A record with stations but no data component (as a damaged file could
// give) is read out as having no data points, never past its arrays.
TEST(HitDataGraph, AProfileWithoutDataComponentsHasNoPointToShow) {
    model::ProfileLine p = stations(3);
    p.NCOMP = 0;
    int status = 1;
    model::DEALLOCPF(p);
    model::ALLOCPF(p, status);
    ASSERT_EQ(status, 0);
    const util::AxisRecord a = graphAxis();
    RecordingOutput out;
    views::DataGraphHoverState state;
    int hit = -1;
    const auto [x, y] = inchesOf(100.0f, 0.0f, a);
    views::PLINEODOM(x, y, p, a, hit, state, out);
    EXPECT_EQ(hit, 0);
    EXPECT_EQ(out.parts[3], " ");
    EXPECT_EQ(views::stationReadout(p, 2), "");
}

}  // namespace
