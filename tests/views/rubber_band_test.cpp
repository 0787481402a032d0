#include "views/rubber_band.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/surface_dc.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/screen_primitives.h"
#include "toolkit/graphics_test_support.h"
#include "util/axis_scaling.h"

namespace {

// Records every drawing call as text, to check what is drawn and how.
struct RecordingPen : views::RubberPen {
    std::vector<std::string> calls;
    void saveXor() override { calls.push_back("save"); }
    void xorOn() override { calls.push_back("xor"); }
    void restoreXor() override { calls.push_back("restore"); }
    void setPen(int pen) override { calls.push_back("pen " + std::to_string(pen)); }
    void moveTo(float x, float y) override { calls.push_back("move " + pt(x, y)); }
    void lineTo(float x, float y) override { calls.push_back("line " + pt(x, y)); }
    static std::string pt(float x, float y) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.2f,%.2f", static_cast<double>(x), static_cast<double>(y));
        return buf;
    }
};

// 100 model units per inch, graph origin at (1, 1) inch, x and z from 0.
util::AxisRecord modelAxis() {
    util::AxisRecord a;
    a.originX = a.originY = 1.0f;
    a.divLengthX = a.divLengthY = 1.0f;
    a.stepX = a.stepY = 100.0f;
    a.divCountX = 8;
    a.divCountY = 6;
    util::FINDAS(a);
    return a;
}

// A triangle (0,0), (100,0), (100,100) and a square beside it.
model::PolygonModel twoBodies() {
    model::PolygonModel m;
    model::ALLOCPG(m, 7, 2);
    m.NBOD = 2;
    const float pts[7][2] = {{0, 0},     {100, 0},   {100, 100}, {200, 0},
                             {200, 100}, {300, 100}, {300, 0}};
    for (int v = 1; v <= 7; ++v) {
        m.XVRT(v) = pts[v - 1][0];
        m.ZVRT(v) = pts[v - 1][1];
        m.IPOINT(v) = v;
    }
    m.IV1(1) = 1;
    m.IV2(1) = 3;
    m.IV1(2) = 4;
    m.IV2(2) = 7;
    return m;
}

TEST(RubberPolyline, StepsRecordAnchorsOnlyBeyondTheMinimumStep) {
    views::NewLineBuffer line;
    RecordingPen pen;
    float ax = 0, ay = 10000;  // the page's lower-left corner
    // 0.2 inch exactly: nothing recorded, anchor stays; the segment is drawn.
    views::RUBBERPLINE(ax, ay, 200, 10000, line, 0.2f, pen);
    EXPECT_EQ(line.count, 0);
    EXPECT_EQ(ax, 0);
    EXPECT_EQ(pen.calls, (std::vector<std::string>{"save", "xor", "pen 13", "move 0.00,0.00",
                                                   "line 0.20,0.00", "restore"}));
    // Half an inch up: the anchor is recorded and moves to the cursor.
    views::RUBBERPLINE(ax, ay, 0, 10000 - 625, line, 0.2f, pen);
    EXPECT_EQ(line.count, 1);
    EXPECT_FLOAT_EQ(line.X[0], 0.0f);
    EXPECT_FLOAT_EQ(line.Y[0], 0.0f);
    EXPECT_EQ(ay, 10000 - 625);
}

TEST(RubberPolyline, AFullBufferKeepsTheFirstPointsAndTheLatest) {
    views::NewLineBuffer line;
    RecordingPen pen;
    float ax = 0, ay = 10000;
    for (int k = 1; k <= 1005; ++k) {
        const float bx = ax == 0 ? 5000.0f : 0.0f;  // five inches back and forth
        views::RUBBERPLINE(ax, ay, bx, 10000 - static_cast<float>(k), line, 0.2f, pen);
    }
    EXPECT_EQ(line.count, 1000);
    EXPECT_FLOAT_EQ(line.Y[998], 998 * 8.0f / 10000.0f);   // point 999 kept
    EXPECT_FLOAT_EQ(line.Y[999], 1004 * 8.0f / 10000.0f);  // the latest anchor
}

TEST(RubberShapes, EdgeAndBodyOutlines) {
    const auto m = twoBodies();
    const auto axis = modelAxis();
    RecordingPen pen;
    views::RubberEdgeEnds ends;
    // The triangle's last edge (3 back to 1) moved by (10, 0).
    views::RUBBEREDGE(3, 1, 10, 0, m, axis, ends, pen);
    EXPECT_EQ(pen.calls,
              (std::vector<std::string>{"save", "xor", "pen 13", "move 2.10,2.00", "line 1.10,1.00",
                                        "move 2.00,1.00", "line 2.10,2.00", "move 1.10,1.00",
                                        "line 2.00,1.00", "restore"}));
    EXPECT_FLOAT_EQ(ends.x1, 110);
    EXPECT_FLOAT_EQ(ends.x2, 10);
    // The square moved down by 50: written into the target and drawn closed.
    auto target = m;
    pen.calls.clear();
    ASSERT_TRUE(views::RUBBERBODY(2, 0, -50, m, axis, target, pen));
    EXPECT_FLOAT_EQ(target.ZVRT(5), 50);
    EXPECT_FLOAT_EQ(target.ZVRT(3), 100);  // other bodies untouched
    EXPECT_EQ(pen.calls.size(), 3u + 8u + 1u);
    EXPECT_EQ(pen.calls[9], "move 4.00,0.50");
    EXPECT_EQ(pen.calls[10], "line 3.00,0.50");
    const auto box = views::RUBBERPBOX(2000, 8750, 3000, 7500, axis);
    EXPECT_FLOAT_EQ(box.x1, 100);
    EXPECT_FLOAT_EQ(box.y1, 0);
    EXPECT_FLOAT_EQ(box.x2, 200);
    EXPECT_FLOAT_EQ(box.y2, 100);
}

// Drawn on a real screen surface: a shape drawn twice leaves every pixel as
// it was, and the plot mode is restored after each drawing.
class RubberPixels : public tk::test::GraphicsTest {
  protected:
    win::Surface surface{100, 80, 0xFFFFFF};
    void SetUp() override {
        GraphicsTest::SetUp();
        tk::drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
        useTarget(100, 80);
        tk::YYGAPI(1);
        tk::ScreenSurfaceChanged();
        tk::GrUnits(0, 0, 10, 8);
        for (std::size_t i = 0; i < surface.pixels.size(); ++i)
            surface.pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
    }
    void TearDown() override {
        tk::ResetScreenDriver();
        win::DeleteDC(tk::drawingSurface().dc);
        GraphicsTest::TearDown();
    }
};

TEST_F(RubberPixels, DrawingTwiceRestoresThePicture) {
    const std::vector<std::uint32_t> before = surface.pixels;
    const auto m = twoBodies();
    auto target = m;
    const auto axis = modelAxis();
    views::NewLineBuffer line;
    line.count = 3;
    line.X = {1, 4, 6};
    line.Y = {1, 5, 2};
    for (int pass = 0; pass < 2; ++pass) {
        views::NORUBBERPLINE(9000, 2000, line, views::graphicsRubberPen());
        views::RUBBERBODY(2, 5, 5, m, axis, target, views::graphicsRubberPen());
        EXPECT_EQ(tk::graphicsState().drawingMode, 0);
        if (pass == 0) {
            EXPECT_NE(surface.pixels, before);
        }
    }
    EXPECT_EQ(surface.pixels, before);
}

}  // namespace
