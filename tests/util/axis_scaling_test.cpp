#include "util/axis_scaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "util/graph_package_state.h"

using namespace util;

namespace {
AxisRecord linearX(float divLength) {
    AxisRecord a;
    a.originX = 0;
    a.divLengthX = divLength;
    a.startX = 100;
    a.stepX = 50;
    a.divCountX = 4;
    return a;
}
}  // namespace

TEST(AxisScaling, DerivesScaleOffsetAndClipWindow) {
    AxisRecord a = linearX(1);
    FINDASX(a);
    EXPECT_FLOAT_EQ(a.scaleX, 0.02f);
    EXPECT_FLOAT_EQ(a.offsetX, -2.0f);
    EXPECT_FLOAT_EQ(a.clipXMin, -0.001f);
    EXPECT_FLOAT_EQ(a.clipXMax, 4.001f);

    AxisRecord r = linearX(-1);
    FINDASX(r);
    EXPECT_FLOAT_EQ(r.clipXMin, -4.101f);
    EXPECT_FLOAT_EQ(r.clipXMax, -0.051f);

    AxisRecord y;
    y.divLengthY = -2;
    y.stepY = 10;
    y.divCountY = 3;
    FINDASY(y);
    EXPECT_FLOAT_EQ(y.clipYMin, -5.999f);
    EXPECT_FLOAT_EQ(y.clipYMax, -0.001f);
    EXPECT_FLOAT_EQ(y.scaleY, -0.2f);
}

TEST(AxisScaling, ConvertsBothWays) {
    AxisRecord a = linearX(1);
    a.originX = 1.5f;
    a.originY = 2;
    a.divLengthY = 2;
    a.startY = -10;
    a.stepY = 5;
    a.divCountY = 4;
    FINDAS(a);
    EXPECT_FLOAT_EQ(PLOFX(150, a), 1.0f);
    EXPECT_EQ(PLOFX(std::numeric_limits<float>::quiet_NaN(), a), 0.0f);
    for (float v : {100.0f, 137.5f, 300.0f, -20.0f})
        EXPECT_NEAR(XOFPL(a.originX + PLOFX(v, a), a), v, 1e-3f) << v;
    for (float v : {-10.0f, 0.0f, 7.25f})
        EXPECT_NEAR(YOFPL(a.originY + PLOFY(v, a), a), v, 1e-4f) << v;
    float px = 0, py = 0;
    PLOF_XY(200, 0, px, py, a);
    EXPECT_FLOAT_EQ(px, 2.0f);
    EXPECT_FLOAT_EQ(py, 4.0f);
    float sx = 0, sy = 0;
    GET_WSCL(sx, sy, a);
    EXPECT_FLOAT_EQ(sx, 50.0f);
    EXPECT_FLOAT_EQ(sy, 2.5f);
}

TEST(AxisScaling, LogarithmicAxis) {
    AxisRecord a;
    a.logX = true;
    a.firstDecadeX = -1;
    a.divLengthX = 2;
    a.divCountX = 3;
    a.originX = 1;
    FINDASX(a);
    EXPECT_EQ(a.scaleX, 1.0f);
    EXPECT_FLOAT_EQ(PLOFX(1, a), 2.0f);
    EXPECT_FLOAT_EQ(PLOFX(10, a), 4.0f);
    EXPECT_NEAR(XOFPL(1 + PLOFX(3.0f, a), a), 3.0f, 1e-5f);
    float sx = 0, sy = 0;
    GET_WSCL(sx, sy, a);
    EXPECT_EQ(sx, 1.0f);
}

TEST(AxisScaling, ZeroStepStaysFinite) {
    AxisRecord a = linearX(1);
    a.stepX = 0;
    FINDASX(a);
    EXPECT_TRUE(std::isfinite(a.scaleX));
    EXPECT_TRUE(std::isfinite(a.offsetX));
    EXPECT_TRUE(std::isfinite(PLOFX(123, a)));
    EXPECT_TRUE(std::isfinite(XOFPL(3, a)));
    a.divLengthX = 0;
    float sx = 0, sy = 0;
    GET_WSCL(sx, sy, a);
    EXPECT_TRUE(std::isfinite(sx) && std::isfinite(sy));
}

TEST(AxisScaling, AxesChosenFromRanges) {
    AxisRecord a;
    X_AXIS(0, 7.3f, a);
    EXPECT_EQ(a.startX, 0.0f);
    EXPECT_EQ(a.stepX, 2.0f);
    EXPECT_EQ(a.divCountX, 4);
    EXPECT_EQ(a.firstDecadeX, 5);
    a.logY = true;
    Y_AYIS(0.05f, 300, a);
    EXPECT_EQ(a.stepY, 0.0f);
    EXPECT_EQ(a.firstDecadeY, -2);
    EXPECT_EQ(a.divCountY, 5);
}

TEST(AxisScaling, ScalingIsSavedAndRestored) {
    resetGraphPackageState();
    AxisRecord a = linearX(1.25f);
    a.startY = 3;
    a.stepY = 7;
    a.divCountY = 6;
    a.firstDecadeX = 2;
    a.firstDecadeY = -3;
    FINDAS(a);
    GTODPL(a);
    AxisRecord b = a;
    b.divLengthX = 9;
    b.startY = -1;
    b.offsetX = 0;
    b.scaleY = 0;
    b.divCountY = 1;
    b.firstDecadeY = 0;
    b.originX = 42;  // outside the saved fields: stays as it is
    b.clipXMax = 77;
    DPLTOG(b);
    AxisRecord want = a;
    want.originX = 42;
    want.clipXMax = 77;
    EXPECT_EQ(b, want);
    resetGraphPackageState();
    EXPECT_EQ(graphPackageState().cursorHalfWidth, 0.3f);
    EXPECT_EQ(graphPackageState().saved.divLengthX, 0.0f);
}
