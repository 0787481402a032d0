#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "plotter_test_support.h"
#include "util/axis_scaling.h"
#include "util/graph_zoom.h"

namespace util::test {
namespace {

// A graph at page (1, 1): x 0..40 over 8 plot units, y 0..30 over 6.
AxisRecord zoomRecord() {
    AxisRecord a{};
    a.originX = 1, a.originY = 1;
    a.divLengthX = 2, a.divLengthY = 2;
    a.stepX = 10, a.stepY = 10;
    a.divCountX = 4, a.divCountY = 3;
    a.firstDecadeX = a.firstDecadeY = 5;
    FINDAS(a);
    return a;
}

// Window units of a page position.
int mxOf(float x) {
    return static_cast<int>(std::lround(x * 1000.0f));
}
int myOf(float y) {
    return static_cast<int>(std::lround(10000.0f - y * 1250.0f));
}

struct ZoomCase {
    const char* what;
    bool reverseX;
    bool logX;
    float pageX1, pageX2;  // the box's x corners, in either order
    float lowX, highX;     // the graph values they mean
};

TEST(GraphZoom, BoxGivesNewRangesAndKeepsTheGraphSize) {
    const std::vector<ZoomCase> cases = {
        {"linear", false, false, 3, 5, 10, 20},
        {"corners in reverse order", false, false, 5, 3, 10, 20},
        {"reversed x axis", true, false, 3, 5, 20, 30},
        {"log x axis", false, true, 3, 5, 10, 100},
    };
    for (const ZoomCase& c : cases) {
        resetGraphPackageState();
        AxisRecord a = zoomRecord();
        if (c.reverseX) a.startX = 40, a.stepX = -10;
        if (c.logX) a.logX = true, a.stepX = 0, a.firstDecadeX = 0;
        FINDAS(a);
        const float width = a.divCountX * a.divLengthX, height = a.divCountY * a.divLengthY;
        ZOOMBOX(mxOf(c.pageX1), myOf(2), mxOf(c.pageX2), myOf(4), a);

        EXPECT_NEAR(a.divCountX * a.divLengthX, width, 1e-4) << c.what;
        EXPECT_NEAR(a.divCountY * a.divLengthY, height, 1e-4) << c.what;
        if (c.logX) {
            EXPECT_EQ(a.firstDecadeX, 1) << c.what;
            EXPECT_EQ(a.divCountX, 2) << c.what;
            EXPECT_FLOAT_EQ(a.divLengthX, 4) << c.what;
        } else if (c.reverseX) {
            EXPECT_LT(a.stepX, 0) << c.what;
            EXPECT_GE(a.startX, c.highX) << c.what;
            EXPECT_LE(a.startX + a.divCountX * a.stepX, c.lowX) << c.what;
        } else {
            EXPECT_GT(a.stepX, 0) << c.what;
            EXPECT_LE(a.startX, c.lowX) << c.what;
            EXPECT_GE(a.startX + a.divCountX * a.stepX, c.highX) << c.what;
        }
        // y: page 2..4 is 5..15.
        EXPECT_LE(a.startY, 5) << c.what;
        EXPECT_GE(a.startY + a.divCountY * a.stepY, 15) << c.what;
        EXPECT_EQ(a.firstDecadeY, 5) << c.what;  // five minor ticks after zooming
        // The scaling is derived again.
        AxisRecord derived = a;
        FINDAS(derived);
        EXPECT_EQ(derived, a) << c.what;
    }
}

TEST(GraphZoom, HalvesChangeOneAxisAndIgnoreReversal) {
    AxisRecord a = zoomRecord();
    a.startX = 40, a.stepX = -10;
    FINDAS(a);
    const AxisRecord before = a;
    ZOOMBOXX(mxOf(3), mxOf(5), a);
    EXPECT_GT(a.stepX, 0);
    EXPECT_LE(a.startX, 20);
    EXPECT_EQ(a.startY, before.startY);
    EXPECT_EQ(a.divCountY, before.divCountY);

    a = zoomRecord();
    ZOOMBOXZ(myOf(4), myOf(2), a);
    EXPECT_LE(a.startY, 5);
    EXPECT_GE(a.startY + a.divCountY * a.stepY, 15);
    EXPECT_EQ(a.startX, 0);
    EXPECT_FLOAT_EQ(graphPackageState().zoomY1, 4);
}

TEST(GraphZoom, WindowLinesBecomeGraphValues) {
    const AxisRecord a = zoomRecord();
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    LINEBACK(mxOf(1), myOf(1), mxOf(9), myOf(7), x1, y1, x2, y2, a);
    EXPECT_NEAR(x1, 0, 1e-3);
    EXPECT_NEAR(y1, 0, 1e-3);
    EXPECT_NEAR(x2, 40, 1e-3);
    EXPECT_NEAR(y2, 30, 1e-3);
}

}  // namespace
}  // namespace util::test
