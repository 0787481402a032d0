#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "plotter_test_support.h"
#include "util/axis_scaling.h"
#include "util/graph_frame.h"

namespace util::test {
namespace {

// A graph at page (1, 1): 4 x divisions of 2 plot units from 0 by 25 with 5
// minor ticks, 3 y divisions of 2 from 0 by 10 with 2, labels below and left.
AxisRecord linearRecord() {
    AxisRecord a{};
    a.originX = 1, a.originY = 1;
    a.divLengthX = 2, a.divLengthY = 2;
    a.startX = 0, a.startY = 0;
    a.stepX = 25, a.stepY = 10;
    a.divCountX = 4, a.divCountY = 3;
    a.firstDecadeX = 5, a.firstDecadeY = 2;
    a.xLabelsBelow = true, a.yLabelsLeft = true;
    return a;
}

class GraphFrameTest : public PlotterTest {
  protected:
    void drawFrame(AxisRecord& a) {
        FINDAS(a);
        PLOTXY(a.originX, a.originY, -3, a);
        clear();
        GNGRID(a);
    }
    // Lines relative to the graph origin at (ox, oy).
    std::vector<DrawnLine> relative(float ox = 1.0f, float oy = 1.0f) const {
        std::vector<DrawnLine> out = strokes();
        for (DrawnLine& l : out)
            l.x1 -= ox, l.x2 -= ox, l.y1 -= oy, l.y2 -= oy;
        return out;
    }
    std::vector<std::string> labels() const {
        std::vector<std::string> out;
        for (const DrawnText& t : texts)
            out.push_back(t.text);
        return out;
    }
    static bool vertical(const DrawnLine& l) { return std::fabs(l.x1 - l.x2) < 1e-3f; }
    static bool horizontal(const DrawnLine& l) { return std::fabs(l.y1 - l.y2) < 1e-3f; }
    static float length(const DrawnLine& l) { return std::hypot(l.x2 - l.x1, l.y2 - l.y1); }
};

TEST_F(GraphFrameTest, LinearFrameDrawsOutlineTicksAndLabels) {
    AxisRecord a = linearRecord();
    a.extentLeft = 0, a.extentRight = 0, a.extentLabelY = 0;
    drawFrame(a);
    const float t = 0.035f * std::sqrt(48.0f);  // W = 8, H = 6: thin, no bound applies
    const auto lines = relative();

    // Outline and the ticks on the top and right edges.
    std::vector<DrawnLine> frame, top, right, bottomAxis, leftAxis;
    for (const DrawnLine& l : lines) {
        if (vertical(l) && std::min(l.y1, l.y2) < -1e-3f)
            bottomAxis.push_back(l);
        else if (horizontal(l) && std::min(l.x1, l.x2) < -1e-3f)
            leftAxis.push_back(l);
        else if (vertical(l) && length(l) < 1.0f)
            top.push_back(l);
        else if (horizontal(l) && length(l) < 1.0f)
            right.push_back(l);
        else
            frame.push_back(l);
    }
    ASSERT_EQ(frame.size(), 4u);
    EXPECT_TRUE(sameLine(frame[0], 0, 0, 0, 6));
    EXPECT_TRUE(sameLine(frame[1], 8, 6, 8, 0));
    EXPECT_TRUE(sameLine(frame[2], 0, 0, 8, 0));
    EXPECT_TRUE(sameLine(frame[3], 8, 6, 0, 6));
    ASSERT_EQ(top.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(
            sameLine(top[static_cast<std::size_t>(i)], 2.0f * (i + 1), 6 - t, 2.0f * (i + 1), 6));
    ASSERT_EQ(right.size(), 2u);
    EXPECT_TRUE(sameLine(right[0], 8 - t, 2, 8, 2));

    // Five major and twenty minor ticks below; four major and six minor left.
    int major = 0, minor = 0;
    for (const DrawnLine& l : bottomAxis)
        (length(l) > 0.75f * t ? major : minor)++;
    EXPECT_EQ(major, 5);
    EXPECT_EQ(minor, 20);
    EXPECT_TRUE(sameLine(bottomAxis[0], 0, 0, 0, -t));
    EXPECT_TRUE(sameLine(bottomAxis[1], 0.4f, 0, 0.4f, -t / 2));
    major = minor = 0;
    for (const DrawnLine& l : leftAxis)
        (length(l) > 0.75f * t ? major : minor)++;
    EXPECT_EQ(major, 4);
    EXPECT_EQ(minor, 6);

    EXPECT_EQ(labels(),
              (std::vector<std::string>{"0", "25", "50", "75", "100", "0", "10", "20", "30"}));
    // x labels: left-justified, shifted by 0.43 HT a character, 2.7 HT below the ticks.
    const float labelY = -t - 2.7f * t;
    EXPECT_NEAR(texts[4].x - 1.0f, 8.0f - 3 * 0.43f * t, 0.03);  // glyph side bearing
    EXPECT_NEAR(texts[4].y - 1.0f, labelY + 0.75f * t, 2e-3);
    EXPECT_NEAR(texts[4].heightFraction, 4.0f * 1.5f * t * 0.04f, 1e-5);
    // y labels: right-justified left of the ticks, end labels pulled inside.
    EXPECT_EQ(texts[5].justification, 2);
    EXPECT_NEAR(texts[5].y - 1.0f, 0.9375f * t, 2e-3);
    EXPECT_NEAR(texts[8].y - 1.0f, 6.0f - 0.9375f * t, 2e-3);
    EXPECT_LT(texts[8].x - 1.0f, -t - 0.1f * t);

    EXPECT_NEAR(a.extentLabelY, labelY, 1e-4);
    EXPECT_LT(a.extentLeft, -t - 0.1f * t - 0.1f);
    EXPECT_NEAR(a.extentRight, 8.0f, 1e-4);
}

struct LabelCase {
    const char* what;
    std::function<void(AxisRecord&)> setup;
    std::vector<std::string> labels;
};

TEST_F(GraphFrameTest, LabelsFollowTheAxisKind) {
    const std::vector<LabelCase> cases = {
        {"linear x only",
         [](AxisRecord& a) { a.yLabelsLeft = false; },
         {"0", "25", "50", "75", "100"}},
        {"linear x from a non-zero start",
         [](AxisRecord& a) {
             a.yLabelsLeft = false;
             a.startX = -12.5f;
             a.stepX = 2.5f;
         },
         {"-12.5", "-10", "-7.5", "-5", "-2.5"}},
        {"milli labels",
         [](AxisRecord& a) {
             a.yLabelsLeft = false;
             a.startX = 0.002f, a.stepX = 0.002f, a.divCountX = 1;
         },
         {"2m", "4m"}},
        {"geometric labels without minor ticks",
         [](AxisRecord& a) {
             a.xLabelsBelow = false;
             a.startY = 1, a.stepY = 3, a.firstDecadeY = 0;
         },
         {"1", "3", "9", "27"}},
        {"log x of three decades",
         [](AxisRecord& a) {
             a.yLabelsLeft = false;
             a.logX = true, a.stepX = 0, a.firstDecadeX = -1, a.divCountX = 3;
         },
         {"0.1", "1", "10", "100"}},
        {"log y from 1e-5 to 1e2",
         [](AxisRecord& a) {
             a.xLabelsBelow = false;
             a.logY = true, a.stepY = 0, a.firstDecadeY = -5, a.divCountY = 7;
             a.divLengthY = 0.8f;
         },
         {"-5", "10", "-4", "10", "0.001", "0.01", "0.1", "1", "10", "100"}},
    };
    for (const LabelCase& c : cases) {
        AxisRecord a = linearRecord();
        c.setup(a);
        drawFrame(a);
        EXPECT_EQ(labels(), c.labels) << c.what;
    }
}

TEST_F(GraphFrameTest, LogAxisTicksEveryDecadeWithMinorTicksInside) {
    AxisRecord a = linearRecord();
    a.yLabelsLeft = false;
    a.logX = true, a.stepX = 0, a.firstDecadeX = -1, a.divCountX = 3, a.divLengthX = 2;
    drawFrame(a);
    std::vector<float> major, minor;  // x positions of the ticks
    const float t = 0.035f * std::sqrt(6.0f * 6.0f);
    for (const DrawnLine& l : relative())
        if (vertical(l) && std::min(l.y1, l.y2) < -1e-3f)
            (length(l) > 0.75f * t ? major : minor).push_back(l.x1);
    ASSERT_EQ(major.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(major[i], 2.0f * i, 1e-3);
    ASSERT_EQ(minor.size(), 24u);
    EXPECT_NEAR(minor[0], 2 * std::log10(2.0f), 2e-3);
    EXPECT_NEAR(minor[7], 2 * std::log10(9.0f), 2e-3);
    // The decade labels sit centred below, the end ones pulled inside.
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1].justification, 1);
}

TEST_F(GraphFrameTest, NegativeCountsSwitchFrameParts) {
    // A negative x count leaves out the horizontal lines and becomes positive.
    AxisRecord a = linearRecord();
    a.divCountX = -4;
    a.xLabelsBelow = a.yLabelsLeft = false;
    drawFrame(a);
    EXPECT_EQ(a.divCountX, 4);
    for (const DrawnLine& l : relative())
        EXPECT_TRUE(vertical(l));
    EXPECT_EQ(strokes().size(), 5u);

    // A negative y count labels both sides and drops the right-edge ticks.
    a = linearRecord();
    a.divCountY = -3;
    a.xLabelsBelow = false;
    drawFrame(a);
    EXPECT_EQ(a.divCountY, 3);
    int rightTicks = 0, rightLabels = 0, leftLabels = 0;
    for (const DrawnLine& l : relative())
        rightTicks += horizontal(l) && length(l) < 1.0f && std::min(l.x1, l.x2) < 7.99f &&
                      std::max(l.x1, l.x2) > 7.5f;
    for (const DrawnText& t : texts)
        (t.x - 1.0f > 4.0f ? rightLabels : leftLabels)++;
    EXPECT_EQ(rightTicks, 0);
    EXPECT_EQ(leftLabels, 4);
    EXPECT_EQ(rightLabels, 4);
}

TEST_F(GraphFrameTest, DamagedCountsDrawNothing) {
    for (const std::int32_t count : {INT32_MIN, 2000000000}) {
        AxisRecord a = linearRecord();
        a.divCountX = count;
        a.divLengthX = 1.0e-9f;
        drawFrame(a);
        EXPECT_TRUE(sent.empty()) << count;
        EXPECT_EQ(a.divCountX, count == INT32_MIN ? INT32_MAX : count);
    }
}

TEST_F(GraphFrameTest, LargeFramesAreBoldUnlessThin) {
    struct Case {
        int ny;
        bool thin;
        std::size_t outline;
    };
    // 10 x 6 is small enough for single lines; 10 x 8 doubles them.
    for (const Case& c : {Case{3, false, 4}, Case{4, false, 8}, Case{4, true, 4}}) {
        AxisRecord a = linearRecord();
        a.divCountX = 5;
        a.divCountY = c.ny;
        a.thinFrame = c.thin;
        a.xLabelsBelow = a.yLabelsLeft = false;
        // At half scale the frame fits the page.
        FINDAS(a);
        PLOTXY(a.originX, a.originY, -3, a);
        PLOTFACTOR(0.5f, 0.5f);
        clear();
        GNGRID(a);
        std::size_t outline = 0;
        for (const DrawnLine& l : strokes())
            outline += length(l) > 2.5f;
        EXPECT_EQ(outline, c.outline) << c.ny << " " << c.thin;
    }
}

TEST_F(GraphFrameTest, SmallFramesGetTheMinimumTick) {
    AxisRecord a = linearRecord();
    a.divLengthX = a.divLengthY = 0.25f;
    a.divCountX = a.divCountY = 2;
    a.xLabelsBelow = a.yLabelsLeft = false;
    drawFrame(a);
    std::vector<float> ticks;
    for (const DrawnLine& l : relative())
        if (length(l) < 0.4f) ticks.push_back(length(l));
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_NEAR(ticks[0], 0.12f, 1e-3);
}

TEST_F(GraphFrameTest, WideLabelsAreThinnedAlsoOnAReversedAxis) {
    AxisRecord a = linearRecord();
    a.originX = 8;  // the frame reaches left from the origin
    a.divLengthX = -1, a.divCountX = 6, a.startX = 100000, a.stepX = 10000;
    a.yLabelsLeft = false;
    drawFrame(a);
    EXPECT_EQ(labels(), (std::vector<std::string>{"100000", "120000", "140000", "160000"}));
    // From the origin outwards in the negative direction.
    EXPECT_GT(texts[0].x, texts[1].x);
    // Every division still has its major tick.
    int major = 0;
    for (const DrawnLine& l : relative())
        major += vertical(l) && std::min(l.y1, l.y2) < -0.15f;
    EXPECT_EQ(major, 7);
}

}  // namespace
}  // namespace util::test
