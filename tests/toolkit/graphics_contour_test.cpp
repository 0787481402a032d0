// Contour lines: the drawn lines are followed through the device requests
// and checked against the crossings that linear interpolation gives.

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/contour_lines.h"
#include "toolkit/graphics/presentation_plot.h"

namespace tk {
namespace {

struct Point {
    float x, y;
};

// A hill with its top off the nodes, so that no node lies on a level.
float hill(float x, float y) {
    return 10.0f * std::exp(-((x - 11.2f) * (x - 11.2f) + (y - 8.3f) * (y - 8.3f)) / 30.0f);
}

class ContourTest : public test::GraphicsTest {
  protected:
    static constexpr int kNx = 21, kNy = 17;
    std::vector<float> xs, ys, grid;
    std::array<float, 5> levels{1.05f, 3.05f, 5.05f, 7.05f, 9.05f};

    void SetUp() override {
        GraphicsTest::SetUp();
        ResetPresentationPlot();
        toolkitState().LastErrorNumber = 0;
        useTarget(900, 700);
        GrUnits(0, 0, 9, 7);
        SetPlotFrameFractions(0.1f, 0.1f, 0.9f, 0.9f);
        recordBoth(false);
        // Labels go to the screen as device text.
        screenDeviceInfo().capabilities.assign(ScreenCapabilities);
        screenDeviceInfo().textAngleCapability = 360;
        screenDeviceInfo().deviceTextThreshold = 1.7e38f;
    }
    void TearDown() override {
        presentationPlotSettings().reset();
        GraphicsTest::TearDown();
    }

    // The hill sampled at node positions xs, ys; the plot spans them.
    void sample(std::vector<float> x, std::vector<float> y) {
        xs = std::move(x), ys = std::move(y);
        grid.assign(xs.size() * ys.size(), 0.0f);
        for (std::size_t j = 0; j < ys.size(); ++j)
            for (std::size_t i = 0; i < xs.size(); ++i)
                grid[j * xs.size() + i] = hill(xs[i], ys[j]);
        SetUpPresentationPlot(
            8, static_cast<int>(levels.size()),
            std::array<int, 2>{static_cast<int>(xs.size()), static_cast<int>(ys.size())});
        PgArea(xs.front(), ys.front(), xs.back(), ys.back());
        for (int k = 1; k <= static_cast<int>(levels.size()); ++k)
            SetDataSetAttributes(k, 0, 0, 0, 30 + k, 90);  // solid, no label
    }
    static std::vector<float> evenly(int n) {
        std::vector<float> v;
        for (int i = 1; i <= n; ++i)
            v.push_back(static_cast<float>(i));
        return v;
    }

    // A device point back in data units.
    static Point toData(float dx, float dy) {
        float ux = 0, uy = 0;
        DeviceToWorld(dx, dy, ux, uy);
        const GraphicsState& g = graphicsState();
        const PresentationPlotSettings& p = presentationPlotSettings();
        const float tx =
            ((ux - g.unitsX1) / g.unitsSpanX - g.frameXStart) / (g.frameXEnd - g.frameXStart);
        const float ty =
            ((uy - g.unitsY1) / g.unitsSpanY - g.frameYStart) / (g.frameYEnd - g.frameYStart);
        return {p.xFirst + tx * p.xSpan, p.yFirst + ty * p.ySpan};
    }

    // The crossings of level u with the grid's edges, where linear
    // interpolation between the edge's nodes puts them.
    std::vector<Point> expectedCrossings(float u) const {
        std::vector<Point> out;
        const std::size_t nx = xs.size(), ny = ys.size();
        auto z = [&](std::size_t i, std::size_t j) { return grid[j * nx + i]; };
        auto add = [&](std::size_t i, std::size_t j, std::size_t i2, std::size_t j2) {
            const float a = z(i, j), b = z(i2, j2);
            if (!(std::min(a, b) < u && u <= std::max(a, b))) return;
            const float f = (u - a) / (b - a);
            out.push_back({xs[i] + f * (xs[i2] - xs[i]), ys[j] + f * (ys[j2] - ys[j])});
        };
        for (std::size_t j = 0; j < ny; ++j)
            for (std::size_t i = 0; i < nx; ++i) {
                if (i + 1 < nx) add(i, j, i + 1, j);
                if (j + 1 < ny) add(i, j, i, j + 1);
            }
        return out;
    }

    // Tolerance in data units: a hundredth of a pixel.
    static float tolerance() {
        const GraphicsState& g = graphicsState();
        const PresentationPlotSettings& p = presentationPlotSettings();
        return 0.01f * std::fabs(p.xSpan) / (g.devSpanX * (g.frameXEnd - g.frameXStart));
    }
    static bool near(const Point& a, const Point& b) {
        return std::fabs(a.x - b.x) <= tolerance() && std::fabs(a.y - b.y) <= tolerance();
    }
    static int countNear(const std::vector<Point>& points, const Point& p) {
        return static_cast<int>(std::count_if(points.begin(), points.end(),
                                              [&](const Point& q) { return near(p, q); }));
    }
    // The traced polylines of each colour, in data units, from request 32.
    std::map<int, std::vector<std::vector<Point>>> traced() const {
        std::map<int, std::vector<std::vector<Point>>> out;
        for (const Sent& s : sent)
            if (s.side == 1 && s.code == 32) {
                std::vector<Point> line;
                for (std::size_t k = 0; k < s.x.size(); ++k)
                    line.push_back(toData(s.x[k], s.y[k]));
                out[s.colourNumber].push_back(line);
            }
        return out;
    }
    // Index of the node interval holding v (v on a node gives that node).
    static std::size_t cellOf(const std::vector<float>& nodes, float v) {
        std::size_t k = 0;
        while (k + 2 < nodes.size() && v > nodes[k + 1] + tolerance())
            ++k;
        return k;
    }
};

TEST_F(ContourTest, TracedContoursOfAHillCrossEveryEdgeWhereInterpolationSays) {
    sample(evenly(kNx), evenly(kNy));
    sent.clear();
    DrawContourPlot(grid, kNx, kNy, levels);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    // Traced contours are polylines; nothing is drawn segment by segment.
    EXPECT_TRUE(lines(1).empty());
    const auto lines = traced();
    for (int k = 1; k <= 5; ++k) {
        const float u = levels[static_cast<std::size_t>(k - 1)];
        SCOPED_TRACE(u);
        const auto it = lines.find(30 + k);
        ASSERT_NE(it, lines.end());
        std::vector<Point> vertices;
        for (const auto& line : it->second) {
            ASSERT_GE(line.size(), 2u);
            for (std::size_t v = 0; v < line.size(); ++v) {
                vertices.push_back(line[v]);
                if (v == 0) continue;
                // Consecutive points lie on the edges of one cell.
                const Point& a = line[v - 1];
                const Point& b = line[v];
                EXPECT_LE(std::fabs(a.x - b.x), 1.0f + tolerance());
                EXPECT_LE(std::fabs(a.y - b.y), 1.0f + tolerance());
                EXPECT_FALSE(near(a, b));
            }
        }
        const std::vector<Point> expected = expectedCrossings(u);
        ASSERT_FALSE(expected.empty());
        // Every crossing is drawn once; a closed contour repeats its first point.
        std::size_t closing = 0;
        for (const auto& line : it->second)
            closing += near(line.front(), line.back()) ? 1 : 0;
        EXPECT_EQ(vertices.size(), expected.size() + closing);
        for (const Point& e : expected)
            EXPECT_GE(countNear(vertices, e), 1) << e.x << " " << e.y;
        for (const Point& v : vertices)
            EXPECT_EQ(countNear(expected, v), 1) << v.x << " " << v.y;
        // The low level meets the grid's lower edge: an open contour from
        // edge to edge; the high ones are closed around the top.
        if (k == 1) {
            EXPECT_EQ(closing, 0u);
        } else {
            EXPECT_EQ(closing, it->second.size());
        }
    }
}

TEST_F(ContourTest, CellByCellContoursOfIrregularSamplesMeetTheInterpolatedCrossings) {
    std::vector<float> x{1.0f}, y{1.0f};
    for (int i = 1; i < kNx; ++i)
        x.push_back(x.back() + 0.6f + 0.8f * static_cast<float>((i * 7) % 5) / 4.0f);
    for (int j = 1; j < kNy; ++j)
        y.push_back(y.back() + 0.5f + static_cast<float>((j * 3) % 4) / 3.0f);
    sample(x, y);
    sent.clear();
    DrawContourPlot(grid, kNx, kNy, levels, xs, ys);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    std::map<int, std::vector<Point>> ends;
    for (const Sent& s : lines(1)) {
        ends[s.colourNumber].push_back(toData(s.block.fx[1], s.block.fy[1]));
        ends[s.colourNumber].push_back(toData(s.block.fx[2], s.block.fy[2]));
    }
    for (int k = 1; k <= 5; ++k) {
        const float u = levels[static_cast<std::size_t>(k - 1)];
        SCOPED_TRACE(u);
        const std::vector<Point>& drawn = ends[30 + k];
        const std::vector<Point> expected = expectedCrossings(u);
        ASSERT_FALSE(expected.empty());
        // A crossing of an inner edge ends a segment on each side of it, one
        // on the grid's border a single segment.
        for (const Point& e : expected) {
            const bool border = std::fabs(e.x - xs.front()) < tolerance() ||
                                std::fabs(e.x - xs.back()) < tolerance() ||
                                std::fabs(e.y - ys.front()) < tolerance() ||
                                std::fabs(e.y - ys.back()) < tolerance();
            EXPECT_EQ(countNear(drawn, e), border ? 1 : 2) << e.x << " " << e.y;
        }
        // Every other end lies on a cell's diagonal, inside the cell.
        for (const Point& d : drawn) {
            if (countNear(expected, d) == 1) continue;
            const std::size_t i = cellOf(xs, d.x), j = cellOf(ys, d.y);
            EXPECT_GT(d.x, xs[i] + tolerance());
            EXPECT_LT(d.x, xs[i + 1] - tolerance());
            EXPECT_GT(d.y, ys[j] + tolerance());
            EXPECT_LT(d.y, ys[j + 1] - tolerance());
            const float cx = (xs[i] + xs[i + 1]) / 2, cy = (ys[j] + ys[j + 1]) / 2;
            const float cross1 =
                (d.x - cx) * (ys[j + 1] - ys[j]) - (d.y - cy) * (xs[i + 1] - xs[i]);
            const float cross2 =
                (d.x - cx) * (ys[j + 1] - ys[j]) + (d.y - cy) * (xs[i + 1] - xs[i]);
            EXPECT_TRUE(std::fabs(cross1) < 1e-3f || std::fabs(cross2) < 1e-3f)
                << d.x << " " << d.y;
        }
    }
}

TEST_F(ContourTest, LevelsThatDoNotIncreaseDrawNothing) {
    sample(evenly(5), evenly(4));
    const std::array<float, 5> flat{1, 2, 2, 3, 4};
    sent.clear();
    PgContourRegular(grid, 5, 4, flat);
    EXPECT_EQ(toolkitState().LastErrorNumber, 43);
    toolkitState().LastErrorNumber = 0;
    PgContourIrregular(grid, 5, 4, flat, xs, ys);
    EXPECT_EQ(toolkitState().LastErrorNumber, 43);
    EXPECT_TRUE(codes(1).empty());
    // A three-dimensional plot draws no contour lines, without an error.
    toolkitState().LastErrorNumber = 0;
    SetUpPresentationPlot(8, 5, std::array<int, 2>{5, 4}, 1);
    DrawContourPlot(grid, 5, 4, flat);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    EXPECT_TRUE(codes(1).empty());
}

TEST_F(ContourTest, SaddleCellGivesTwoSeparateLines) {
    // Two opposite corners above the level, two below.
    const std::array<float, 4> saddle{1, 0, 0, 1};
    SetUpPresentationPlot(8, 1, std::array<int, 2>{2, 2});
    PgArea(1, 1, 2, 2);
    SetDataSetAttributes(1, 0, 0, 0, 31);
    const std::array<float, 1> level{0.5f};
    for (bool regular : {true, false}) {
        sent.clear();
        if (regular) {
            PgContourRegular(saddle, 2, 2, level);
            EXPECT_TRUE(lines(1).empty());
            const auto pieces = traced();
            ASSERT_EQ(pieces.at(31).size(), 2u);
            // The bottom crossing (0.5) is not beyond the top one (0.5): bottom
            // joins left and top joins right.
            for (const auto& line : pieces.at(31)) {
                ASSERT_EQ(line.size(), 2u);
                const bool lowerLeft = line[0].x < 1.5f + 1e-3f && line[0].y < 1.5f + 1e-3f &&
                                       line[1].x < 1.5f + 1e-3f && line[1].y < 1.5f + 1e-3f;
                const bool upperRight = line[0].x > 1.5f - 1e-3f && line[0].y > 1.5f - 1e-3f &&
                                        line[1].x > 1.5f - 1e-3f && line[1].y > 1.5f - 1e-3f;
                EXPECT_TRUE(lowerLeft || upperRight);
            }
        } else {
            xs = {1, 2}, ys = {1, 2};
            PgContourIrregular(saddle, 2, 2, level, xs, ys);
            // The centre lies on the level: the four triangles each touch it.
            EXPECT_EQ(lines(1).size(), 4u);
        }
    }
}

// After a contour the search goes on around the node where it ended: a
// line up the left side ends at the top, so the corner piece at the top
// right comes next, before the one at the bottom right that lies nearer the
// first node.
TEST_F(ContourTest, TheSearchGoesOnWhereTheLastContourEnded) {
    constexpr int n = 9;
    std::vector<float> g(static_cast<std::size_t>(n * n), 0.0f);
    for (int j = 1; j <= n; ++j)
        for (int i = 1; i <= n; ++i) {
            const bool high = i <= 2 || (i >= 8 && (j <= 2 || j >= 8));
            g[static_cast<std::size_t>((j - 1) * n + i - 1)] = high ? 1.0f : 0.0f;
        }
    SetUpPresentationPlot(8, 1, std::array<int, 2>{n, n});
    PgArea(1, 1, n, n);
    SetDataSetAttributes(1, 0, 0, 0, 31);
    const std::array<float, 1> level{0.5f};
    sent.clear();
    PgContourRegular(g, n, n, level);
    const auto pieces = traced();
    ASSERT_EQ(pieces.at(31).size(), 3u);
    const std::vector<Point>& first = pieces.at(31)[0];
    const std::vector<Point>& second = pieces.at(31)[1];
    EXPECT_NEAR(first.front().x, 2.5f, 1e-3f);
    EXPECT_NEAR(first.back().y, 9.0f, 1e-3f);  // it ends at the top
    for (const Point& p : second) EXPECT_GT(p.y, 7.0f);
}

TEST_F(ContourTest, LongContourIsDrawnInPiecesEachWithItsLabel) {
    // A ramp along x over a long thin grid: one contour of 1200 crossings.
    const int nx = 3, ny = 1200;
    std::vector<float> g(static_cast<std::size_t>(nx * ny));
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            g[static_cast<std::size_t>(j * nx + i)] =
                static_cast<float>(i) + 0.01f * static_cast<float>(j % 7);
    SetUpPresentationPlot(8, 1, std::array<int, 2>{nx, ny});
    PgArea(1, 1, static_cast<float>(nx), static_cast<float>(ny));
    SetDataSetAttributes(1, 0, 2, 0, 31, 95);  // letter labels in colour 95
    SetDataSetMarker(1, 3);                    // "C"
    const std::array<float, 1> level{0.5f};
    sent.clear();
    PgContourRegular(g, nx, ny, level);
    std::size_t pieces = 0;
    for (const Sent& s : sent)
        if (s.side == 1 && s.code == 32 && s.colourNumber == 31) {
            EXPECT_LE(s.x.size(), 500u);
            ++pieces;
        }
    // Three pieces (500, 500 and the rest), each split by its label's gap.
    EXPECT_GE(pieces, 3u);
    std::vector<float> labelY;
    for (const Sent& s : sent)
        if (s.side == 1 && s.code == 22) {
            EXPECT_EQ(s.colourNumber, 95);
            labelY.push_back(toData(s.block.fx[1], s.block.fy[1]).y);
        }
    ASSERT_EQ(labelY.size(), 3u);
    std::sort(labelY.begin(), labelY.end());
    // Each near the start of its piece (rows 1, 500 and 1000).
    EXPECT_LT(labelY[0], 250.0f);
    EXPECT_GT(labelY[1], 250.0f);
    EXPECT_LT(labelY[1], 750.0f);
    EXPECT_GT(labelY[2], 750.0f);
}

TEST_F(ContourTest, LevelWithoutLineShowsOnlyItsLabels) {
    sample(evenly(kNx), evenly(kNy));
    for (int k = 1; k <= 5; ++k)
        SetDataSetAttributes(k, -999, 1, 0, 30 + k, 90);  // number labels
    sent.clear();
    DrawContourPlot(grid, kNx, kNy, levels);
    EXPECT_TRUE(lines(1).empty());
    EXPECT_TRUE(std::none_of(sent.begin(), sent.end(),
                             [](const Sent& s) { return s.side == 1 && s.code == 32; }));
    EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [](const Sent& s) {
        return s.side == 1 && s.code == 22 && s.colourNumber == 90;
    }));
}

TEST_F(ContourTest, ValueLabelsCutAGapIntoTheLine) {
    sample(evenly(kNx), evenly(kNy));
    SetDataSetAttributes(5, 0, 5, 0, 35, 90);  // the level's value as label
    sent.clear();
    DrawContourPlot(grid, kNx, kNy, levels);
    const auto pieces = traced();
    // The closed top contour is drawn as the part before the label, a line
    // from the label's end and the rest: its crossings less those in the gap.
    ASSERT_TRUE(pieces.count(35));
    std::size_t drawn = 0;
    for (const auto& line : pieces.at(35))
        drawn += line.size();
    EXPECT_GE(pieces.at(35).size() + lines(1).size(), 2u);
    EXPECT_LT(drawn, expectedCrossings(levels[4]).size() + 1);
    int texts = 0;
    for (const Sent& s : sent)
        if (s.side == 1 && s.code == 22) {
            EXPECT_EQ(s.colourNumber, 90);
            ++texts;
        }
    EXPECT_GE(texts, 1);
    EXPECT_EQ(graphicsState().textAngle, 0.0f);  // put back after the plot
}

TEST_F(ContourTest, RampColoursRunFromTheFirstSetToTheSecond) {
    sample(evenly(kNx), evenly(kNy));
    SetUpPresentationPlot(8, 5, std::array<int, 2>{kNx, kNy}, 16);  // colour ramp
    PgUnitsZ(1.05f, 9.05f);
    SetDataSetAttributes(1, 0, 0, 0, 31);  // red
    SetDataSetAttributes(2, 0, 0, 0, 63);  // yellow
    for (int k = 3; k <= 5; ++k)
        SetDataSetAttributes(k, 0, 0);
    std::vector<int> rgbs;
    SetScreenDriver([&](int code) {
        if (code == 32) rgbs.push_back(graphicsState().rgb);
    });
    DrawContourPlot(grid, kNx, kNy, levels);
    ASSERT_FALSE(rgbs.empty());
    EXPECT_EQ(rgbs.front(), 255);              // level 1: red
    EXPECT_EQ(rgbs.back(), 255 + 256 * 255);   // level 5: yellow
    EXPECT_EQ(graphicsState().colourMode, 1);  // palette mode again
}

TEST_F(ContourTest, LabelTextsOfLevelValues) {
    struct Case {
        float value;
        int decimals;
        const char* text;
    };
    for (const Case& c : {Case{0.05f, -1, ".05"},
                          {250, -1, "250"},
                          {2.5f, -1, "2.5"},
                          {-0.5f, -1, "-.5"},
                          {12, 1, "12.0"},
                          {12, 2, "12.00"},
                          {0, -1, "0"},
                          {0.04f, 1, "0"},
                          {1.5e-6f, -1, "1.5E-06"},
                          {2.0e7f, -1, "2.0E+07"}}) {
        SetPgLabelDecimals(c.decimals);
        int first = 0, last = 0;
        FormatContourLabel(c.value, static_cast<int>(std::trunc(SafeLog10(c.value))), 0, first,
                           last);
        EXPECT_EQ(contourLabelText().substr(static_cast<std::size_t>(first - 1),
                                            static_cast<std::size_t>(last - first + 1)),
                  c.text)
            << c.value;
    }
}

TEST_F(ContourTest, DistanceFromPointToSegment) {
    EXPECT_FLOAT_EQ(PointSegmentDistance(0, 0, 4, 0, 2, 3, 0), 3.0f);
    EXPECT_FLOAT_EQ(PointSegmentDistance(0, 0, 4, 0, 7, 4, 0), 5.0f);  // to the end
    EXPECT_FLOAT_EQ(PointSegmentDistance(0, 0, 4, 0, 7, 4, 1), 4.0f);  // to the line
    EXPECT_FLOAT_EQ(PointSegmentDistance(1, 1, 1, 1, 7, 4, 0), -1.0f);
}

}  // namespace
}  // namespace tk
