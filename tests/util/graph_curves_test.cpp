#include <array>
#include <span>
#include <cmath>
#include <string>
#include <vector>

#include "plotter_test_support.h"
#include "util/axis_scaling.h"
#include "util/graph_clip.h"
#include "util/graph_curves.h"
#include "util/graph_zoom.h"

namespace util::test {
namespace {

// A graph at page (1, 1): x 0..40 over 8 plot units, y 0..30 over 6.
AxisRecord curveRecord() {
    AxisRecord a{};
    a.originX = 1, a.originY = 1;
    a.divLengthX = 2, a.divLengthY = 2;
    a.stepX = 10, a.stepY = 10;
    a.divCountX = 4, a.divCountY = 3;
    a.firstDecadeX = a.firstDecadeY = 5;
    a.markerType = 1;
    FINDAS(a);
    return a;
}

class GraphCurvesTest : public PlotterTest {
  protected:
    AxisRecord a = curveRecord();
    void SetUp() override {
        PlotterTest::SetUp();
        PLOTXY(a.originX, a.originY, -3, a);
        clear();
    }
    // Strokes relative to the graph origin.
    std::vector<DrawnLine> relative() const {
        std::vector<DrawnLine> out = strokes();
        for (DrawnLine& l : out)
            l.x1 -= 1, l.x2 -= 1, l.y1 -= 1, l.y2 -= 1;
        return out;
    }
};

TEST_F(GraphCurvesTest, MissingValuesBreakTheSeries) {
    const std::array<float, 3> x{0, 10, 20}, y{0, 1.0e20f, 10};
    GNPLOT(x, y, 3, false, a);
    EXPECT_TRUE(strokes().empty());

    const std::array<float, 4> x4{0, 10, 1.0e20f, 30}, y4{0, 5, 5, 5};
    GNPLOT(x4, y4, 4, false, a);
    ASSERT_EQ(strokes().size(), 1u);
    EXPECT_TRUE(sameLine(relative()[0], 0, 0, 2, 1));
}

struct TurnCase {
    const char* what;
    std::vector<float> x;
    bool noTurningBreaks;
    bool second;  // GNPLOT2
    std::size_t strokes;
};

TEST_F(GraphCurvesTest, SeriesBreakWhereXTurnsBack) {
    const std::vector<TurnCase> cases = {
        {"turns at the maximum", {0, 10, 20, 10, 5}, false, false, 3},
        {"first and last x equal", {0, 10, 20, 10, 0}, false, false, 4},
        {"switch in the record", {0, 10, 20, 10, 5}, true, false, 4},
        {"second entry point", {0, 10, 20, 10, 5}, false, true, 4},
        {"a falling series is not broken at a maximum", {30, 35, 20, 10, 5}, false, false, 4},
        {"minimum of a series running left", {30, 20, 10, 20, 5}, false, false, 3},
    };
    const std::array<float, 5> y{2, 4, 6, 8, 10};
    for (const TurnCase& c : cases) {
        clear();
        a.noTurningBreaks = c.noTurningBreaks;
        if (c.second)
            GNPLOT2(c.x, y, 5, false, a);
        else
            GNPLOT(c.x, y, 5, false, a);
        EXPECT_EQ(strokes().size(), c.strokes) << c.what;
    }
    // The piece after the turn starts at the point after the turning point.
    clear();
    a.noTurningBreaks = false;
    const std::array<float, 5> x{0, 10, 20, 10, 5};
    GNPLOT(x, y, 5, false, a);
    EXPECT_TRUE(sameLine(relative()[2], 2, 1.6f, 1, 2));
}

TEST_F(GraphCurvesTest, SegmentsAreClippedToTheFrame) {
    const std::array<float, 3> x{0, 20, 40}, y{10, 50, 10};
    GNPLOT(x, y, 3, false, a);
    const auto lines = relative();
    ASSERT_EQ(lines.size(), 2u);
    // Up to the top of the clip window, then from where the series comes back.
    EXPECT_TRUE(sameLine(lines[0], 0, 2, 4 * (6.001f - 2) / 8, 6.001f));
    EXPECT_TRUE(sameLine(lines[1], 4 + 4 * (10 - 6.001f) / 8, 6.001f, 8, 2));
    EXPECT_TRUE(graphPackageState().clipping);
}

struct ClipCase {
    const char* what;
    float x1, y1, x2, y2;
    bool visible;
    float cx1, cy1, cx2, cy2;
};

TEST_F(GraphCurvesTest, SegmentClipperKeepsThePartInsideTheWindow) {
    const std::vector<ClipCase> cases = {
        {"inside", 1, 1, 3, 2, true, 1, 1, 3, 2},
        {"leaving right", 2, 1, 6, 1, true, 2, 1, 4, 1},
        {"entering from below", 2, -2, 2, 1, true, 2, 0, 2, 1},
        {"diagonal through two edges", -1, 0.5f, 5, 3.5f, true, 0, 1, 4, 3},
        {"wholly left", -3, 1, -1, 2, false, -3, 1, -1, 2},
        {"above", 1, 5, 3, 6, false, 1, 5, 3, 6},
    };
    for (const ClipCase& c : cases) {
        float x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        bool visible = !c.visible;
        CLIPLN(x1, y1, x2, y2, 0, 4, 0, 4, visible);
        EXPECT_EQ(visible, c.visible) << c.what;
        EXPECT_NEAR(x1, c.cx1, 1e-5) << c.what;
        EXPECT_NEAR(y1, c.cy1, 1e-5) << c.what;
        EXPECT_NEAR(x2, c.cx2, 1e-5) << c.what;
        EXPECT_NEAR(y2, c.cy2, 1e-5) << c.what;
    }

    // The clipped pen: out of the window and back in starts with a move at the edge.
    PCLIP(0, 4, 0, 4);
    PLOTCP(1, 1, 3, a);
    PLOTCP(6, 1, 2, a);
    PLOTCP(6, 3, 2, a);
    PLOTCP(2, 3, 2, a);
    PCLIPOFF();
    PLOTCP(5, 5, 2, a);
    const auto lines = relative();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(sameLine(lines[0], 1, 1, 4, 1));
    EXPECT_TRUE(sameLine(lines[1], 4, 3, 2, 3));
    EXPECT_TRUE(sameLine(lines[2], 2, 3, 5, 5));
}

// The line rule of a series point by point, each point through the clipper
// (raw: the pen, points outside the window skipped) on its own: what drawing
// a series a run of points at a time must equal, line for line.
void pointByPoint(std::span<const float> x, std::span<const float> y, bool raw, bool signPens,
                  const AxisRecord& a) {
    PCLIP(a.clipXMin, a.clipXMax, a.clipYMin, a.clipYMax);
    const PenRun run;
    std::int32_t saved = 0;
    GETPEN(saved);
    const std::int32_t alternate = saved < 11 ? saved + 1 : saved - 1;
    std::int32_t code = 3;
    bool negative = false;
    const int n = static_cast<int>(x.size());
    for (int i = 0; i < n; ++i) {
        const float xi = x[static_cast<std::size_t>(i)], yi = y[static_cast<std::size_t>(i)];
        if (xi > 1.0e10f || yi > 1.0e10f) {
            code = 3;
            continue;
        }
        const float px = PLOFX(xi, a), py = PLOFY(yi, a);
        const bool outside = py < 0.99f * a.clipYMin || 0.99f * py > a.clipYMax ||
                             px < 0.99f * a.clipXMin || 0.99f * px > a.clipXMax;
        if (raw && outside) {
            code = 3;
        } else {
            if (signPens && !outside && (yi < 0.0f) != negative) {
                negative = yi < 0.0f;
                SETPEN(negative ? alternate : saved);
            }
            if (raw)
                PLOTXY(px, py, code);
            else
                PLOTCP(px, py, code, a);
            code = 2;
        }
        const bool turning = i >= 1 && i <= n - 2 && x[0] != x[static_cast<std::size_t>(n - 1)] &&
                             ((x[static_cast<std::size_t>(i)] == x[static_cast<std::size_t>(i + 1)]) ||
                              (x[static_cast<std::size_t>(n - 1)] < x[0]
                                   ? xi < x[static_cast<std::size_t>(i - 1)] &&
                                         xi < x[static_cast<std::size_t>(i + 1)]
                                   : xi > x[static_cast<std::size_t>(i - 1)] &&
                                         xi > x[static_cast<std::size_t>(i + 1)]));
        if (!a.noTurningBreaks && turning) code = 3;
    }
    if (signPens) SETPEN(saved);
}

struct RunCase {
    const char* what;
    std::vector<float> x, y;
    bool raw = false, signPens = false, exclusiveOr = false;
};

// A wave of N points across the graph, A tall about the middle.
RunCase wave(const char* what, int n, float amplitude) {
    RunCase c{what, {}, {}};
    for (int i = 0; i < n; ++i) {
        c.x.push_back(-2.0f + 44.0f * static_cast<float>(i) / static_cast<float>(n - 1));
        c.y.push_back(std::sin(static_cast<float>(i) * 0.05f) * amplitude);
    }
    return c;
}

TEST_F(GraphCurvesTest, SeriesDrawnARunAtATimeEqualsPointByPoint) {
    // y from -15 to 15, so that a wave leaves the window on both sides.
    a.startY = -15;
    FINDAS(a);
    const float nan = std::nanf("");
    std::vector<RunCase> cases = {
        {"inside", {0, 10, 20, 30, 40}, {0, 5, -5, 10, 1}},
        {"leaving and coming back through corners", {-5, 10, 45, 30, 20, 50, -10},
         {0, 20, 20, -20, 5, -30, 30}},
        {"wholly outside", {50, 60, 70}, {0, 1, 2}},
        {"missing and undefined values", {0, 5, 1.0e20f, 15, 20, nan, 30, 35},
         {1, 2, 3, 1.0e11f, 5, 6, nan, 8}},
        {"turning back", {0, 10, 20, 10, 10, 30, 40}, {1, 2, 3, 4, 5, 6, 7}},
    };
    cases.push_back(wave("a wave over several buffers", 3000, 20));
    cases.push_back(wave("a wave inside", 1200, 10));
    for (const char* what : {"raw", "sign pens", "exclusive-or"}) {
        RunCase c = wave(what, 1500, 20);
        c.raw = what == std::string("raw");
        c.signPens = what == std::string("sign pens");
        c.exclusiveOr = what == std::string("exclusive-or");
        cases.push_back(c);
    }
    RunCase rawGaps = cases[3];
    rawGaps.what = "raw with missing values";
    rawGaps.raw = true;
    cases.push_back(rawGaps);
    for (const bool breaks : {false, true}) {
        for (const RunCase& c : cases) {
            a.noTurningBreaks = !breaks;
            auto draw = [&](bool whole) {
                clear();
                resetGraphPackageState();
                SETPEN(7);
                if (c.exclusiveOr) XORON();
                PLOTXY(0, 0, 3);
                const int n = static_cast<int>(c.x.size());
                if (!whole)
                    pointByPoint(c.x, c.y, c.raw, c.signPens, a);
                else if (c.raw)
                    GNPLOTRAW(c.x, c.y, n, false, a);
                else if (c.signPens)
                    GNPLOTSIGN(c.x, c.y, n, false, a);
                else
                    GNPLOT(c.x, c.y, n, false, a);
                if (c.exclusiveOr) XOROFF();
                std::vector<int> codes;
                for (const Sent& s : sent)
                    codes.push_back(s.code);
                return std::make_pair(drawn, codes);
            };
            const auto [expected, expectedCodes] = draw(false);
            const auto [lines, codes] = draw(true);
            const std::string what = std::string(c.what) + (breaks ? ", breaks" : "");
            EXPECT_FALSE(expected.empty() && std::string(c.what) != "wholly outside") << what;
            ASSERT_EQ(lines.size(), expected.size()) << what;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const DrawnLine &l = lines[i], &e = expected[i];
                EXPECT_TRUE(l.x1 == e.x1 && l.y1 == e.y1 && l.x2 == e.x2 && l.y2 == e.y2 &&
                            l.colour == e.colour && l.mode == e.mode)
                    << what << " line " << i;
            }
            EXPECT_EQ(codes, expectedCodes) << what;
        }
    }
}

struct MarkerCase {
    std::int32_t type;
    bool fill;
    std::vector<std::array<float, 4>> lines;  // in half sizes about the point
};

TEST_F(GraphCurvesTest, MarkersHaveTheirShapes) {
    const std::vector<MarkerCase> cases = {
        {0, false, {{-1, -1, 1, -1}, {1, -1, 1, 1}, {1, 1, -1, 1}, {-1, 1, -1, -1}}},
        {12, true, {{-1, 0, 0, -1}, {0, -1, 1, 0}, {1, 0, 0, 1}, {0, 1, -1, 0}}},
        {3, false, {{-1, 0, 1, 0}, {0, -1, 0, 1}}},
        {4, true, {{-1, 1, 1, -1}, {-1, -1, 1, 1}}},
        {10, false, {{-1, 2, 1, 2}, {1, 2, 0, 0}, {0, 0, -1, 2}}},
        {11, false, {{-2, 1, 0, 0}, {0, 0, -2, -1}, {-2, -1, -2, 1}}},
    };
    for (const MarkerCase& c : cases) {
        clear();
        a.markerType = c.type;
        BOX(3, 2, 0.1f, 0.2f, c.fill, a);
        const auto lines = relative();
        ASSERT_EQ(lines.size(), c.lines.size()) << c.type;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto& e = c.lines[i];
            EXPECT_TRUE(sameLine(lines[i], 3 + 0.1f * e[0], 2 + 0.2f * e[1], 3 + 0.1f * e[2],
                                 2 + 0.2f * e[3]))
                << c.type << " line " << i;
        }
    }
    // Composite types draw both figures.
    const std::vector<std::pair<int, std::size_t>> composite = {
        {5, 6}, {6, 8}, {7, 6}, {8, 4}, {9, 3}};
    for (const auto& [type, count] : composite) {
        clear();
        a.markerType = type;
        BOX(3, 2, 0.1f, 0.1f, false, a);
        EXPECT_EQ(strokes().size(), count) << type;
    }
    // The clipped form centres the down triangle on the point.
    clear();
    a.markerType = 10;
    PCLIP(a.clipXMin, a.clipXMax, a.clipYMin, a.clipYMax);
    BOX_CP(3, 2, 0.1f, 0.1f, false, a);
    ASSERT_EQ(relative().size(), 3u);
    EXPECT_TRUE(sameLine(relative()[1], 3.1f, 2.1f, 3, 1.9f));
}

TEST_F(GraphCurvesTest, SeriesMarkersSitAtTheInsidePoints) {
    a.markerType = 2;
    const std::array<float, 4> x{0, 10, 50, 20}, y{0, 10, 10, 1.0e20f};
    GNPLOT(x, y, 4, true, a);
    // Two diamonds of the capped half size 0.03; the outside and missing points have none.
    const auto lines = relative();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_TRUE(sameLine(lines[0], -0.03f, 0, 0, -0.03f));
    EXPECT_TRUE(sameLine(lines[4], 2 - 0.03f, 2, 2, 2 - 0.03f));
    EXPECT_FLOAT_EQ(GET_BOX(), 0.01f);

    // Flagged points of GNPLTM get crosses, the rest squares; the type survives.
    clear();
    const std::array<bool, 2> flags{true, false};
    GNPLTM(std::span<const float>(x.data(), 2), std::span<const float>(y.data(), 2), 2, flags, a);
    EXPECT_EQ(strokes().size(), 6u);
    EXPECT_EQ(a.markerType, 2);
}

TEST_F(GraphCurvesTest, FillsAreClippedToTheWindow) {
    float x1 = -3, y1 = 1, x2 = -1, y2 = 2, w = 0;
    GNFILL(x1, y1, x2, y2, w, 4, a);
    EXPECT_TRUE(sent.empty());

    x1 = 6, y1 = -1, x2 = 10, y2 = 3;
    GNFILL(x1, y1, x2, y2, w, 4, a);
    EXPECT_FLOAT_EQ(x1, 6);
    EXPECT_FLOAT_EQ(x2, a.clipXMax);
    EXPECT_FLOAT_EQ(y1, a.clipYMin);
    EXPECT_FLOAT_EQ(w, a.clipXMax - 6);
    EXPECT_FALSE(sent.empty());
    EXPECT_EQ(tk::graphicsState().colourNumber, 4);
    EXPECT_EQ(tk::graphicsState().fillStyle, 4);
}

TEST_F(GraphCurvesTest, DashedSeriesAlternateDashesAndGaps) {
    const std::array<float, 2> x{0, 10}, y{10, 10};
    DS_PLOT(x, y, 2, 0.2f, 0.2f, a);
    const auto lines = relative();
    ASSERT_EQ(lines.size(), 5u);
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(sameLine(lines[i], 0.4f * i, 2, 0.4f * i + 0.2f, 2)) << i;

    // A point far off the graph does not make the walk endless.
    clear();
    const std::array<float, 2> far{0, 1.0e9f};
    DS_PLOT(far, y, 2, 0.001f, 0.001f, a);
    EXPECT_LE(sent.size(), 10u);

    // DSPLOT splits where x turns back: the piece from the turn is not drawn.
    clear();
    const std::array<float, 4> xt{0, 10, 20, 10}, yt{5, 5, 5, 5};
    DSPLOT(xt, yt, 4, 1.0f, 0.01f, a);
    for (const DrawnLine& l : relative())
        EXPECT_LE(std::max(l.x1, l.x2), 4.0f + 1e-3f);
    EXPECT_FALSE(strokes().empty());
}

TEST_F(GraphCurvesTest, CrossHairDrawnTwiceErasesItself) {
    SETPEN(3);
    SETCURSORPEN(5);
    GRFCUR(20, 15, a);
    GRFCUR(20, 15, a);
    const auto lines = relative();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(sameLine(lines[0], 4, 2.7f, 4, 3.3f));
    EXPECT_TRUE(sameLine(lines[1], 3.7f, 3, 4.3f, 3));
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(sameLine(lines[i + 2], lines[i].x1, lines[i].y1, lines[i].x2, lines[i].y2));
        EXPECT_EQ(lines[i].mode, 3);
        EXPECT_EQ(lines[i].colour, 5);
    }
    EXPECT_FALSE(L_XOR());
    std::int32_t pen = 0;
    GETPEN(pen);
    EXPECT_EQ(pen, 3);
}

TEST_F(GraphCurvesTest, PointInGraphIncludesTheEnds) {
    EXPECT_TRUE(LINGRAPH(40, 30, a));
    EXPECT_TRUE(LINGRAPH(0, 0, a));
    EXPECT_FALSE(LINGRAPH(40.01f, 10, a));
    a.stepX = -10, a.startX = 40;
    EXPECT_TRUE(LINGRAPH(0, 10, a));
    a.logY = true, a.firstDecadeY = -1;
    EXPECT_TRUE(LINGRAPH(10, 100, a));
    EXPECT_FALSE(LINGRAPH(10, 0.05f, a));
}

}  // namespace
}  // namespace util::test
