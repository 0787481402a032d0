#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "graphics_test_support.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/surface_dc.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/screen_driver.h"

namespace tk::test {
namespace {

struct Polygon {
    std::vector<float> x, y;
    int n() const { return static_cast<int>(x.size()); }
};

double area(const Polygon& p) {
    double a = 0;
    for (int i = 0; i < p.n(); ++i) {
        const int j = (i + 1) % p.n();
        a += static_cast<double>(p.x[i]) * p.y[j] - static_cast<double>(p.x[j]) * p.y[i];
    }
    return std::fabs(a) / 2;
}

double triangleArea(const Polygon& p, const int* t) {
    Polygon tri{{p.x[t[0] - 1], p.x[t[1] - 1], p.x[t[2] - 1]},
                {p.y[t[0] - 1], p.y[t[1] - 1], p.y[t[2] - 1]}};
    return area(tri);
}

// Strictly inside the triangle (not on its border).
bool inside(const Polygon& p, const int* t, float x, float y) {
    auto side = [&](int a, int b) {
        return (p.x[b - 1] - p.x[a - 1]) * (y - p.y[a - 1]) -
               (p.y[b - 1] - p.y[a - 1]) * (x - p.x[a - 1]);
    };
    const float s1 = side(t[0], t[1]), s2 = side(t[1], t[2]), s3 = side(t[2], t[0]);
    return (s1 > 0 && s2 > 0 && s3 > 0) || (s1 < 0 && s2 < 0 && s3 < 0);
}

class GradientTest : public GraphicsTest {};

TEST_F(GradientTest, ConvexQuadrilateralIsCutFromItsTopVertex) {
    // Anticlockwise, listed from the second vertex so that the top is vertex 4.
    Polygon p{{0, 10, 10, 0}, {0, 0, 10, 12}};
    std::vector<int> t;
    int count = 0;
    YYPolygonDecompose(p.x.data(), p.y.data(), p.n(), t, count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(t, (std::vector<int>{4, 1, 2, 4, 2, 3}));
}

TEST_F(GradientTest, DecompositionCoversThePolygon) {
    struct Case {
        const char* name;
        Polygon p;
        int triangles;
    };
    const Case cases[] = {
        {"square clockwise", {{0, 0, 5, 5}, {0, 5, 5, 0}}, 2},
        {"L shape", {{0, 4, 4, 1, 1, 0}, {0, 0, 1, 1, 5, 5}}, 4},
        {"repeated vertices", {{0, 4, 4, 4, 1, 1, 0, 0}, {0, 0, 1, 1, 1, 5, 5, 5}}, 4},
        {"arrow", {{0, 3, 6, 3, 3, 0}, {0, 2, 0, 6, 3, 6}}, 4},
        {"comb", {{0, 9, 9, 7, 6, 4, 3, 1, 0}, {0, 0, 8, 8, 2, 8, 2, 8, 8}}, 7},
        {"star", {{0, 4, 5, 6, 10, 7, 8, 5, 2, 3}, {6, 6, 10, 6, 6, 3, 0, 2, 0, 3}}, 8},
    };
    for (const Case& c : cases) {
        std::vector<int> t;
        int count = 0;
        toolkitState().LastErrorNumber = 0;
        YYPolygonDecompose(c.p.x.data(), c.p.y.data(), c.p.n(), t, count);
        EXPECT_EQ(toolkitState().LastErrorNumber, 0) << c.name;
        ASSERT_EQ(count, c.triangles) << c.name;
        double sum = 0;
        for (int k = 0; k < count; ++k) {
            const int* tri = &t[3 * k];
            sum += triangleArea(c.p, tri);
            for (int v = 0; v < c.p.n(); ++v)
                EXPECT_FALSE(inside(c.p, tri, c.p.x[v], c.p.y[v])) << c.name << " " << k;
        }
        EXPECT_NEAR(sum, area(c.p), 1e-4) << c.name;
    }
}

TEST_F(GradientTest, CrossingBordersReportError28) {
    Polygon bow{{0, 4, 4, 0}, {0, 4, 0, 4}};
    std::vector<int> t;
    int count = -1;
    YYPolygonDecompose(bow.x.data(), bow.y.data(), bow.n(), t, count);
    EXPECT_EQ(toolkitState().LastErrorNumber, 28);
    EXPECT_LE(count, 2);
    Polygon point{{1, 1, 1}, {2, 2, 2}};
    toolkitState().LastErrorNumber = 0;
    YYPolygonDecompose(point.x.data(), point.y.data(), point.n(), t, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

// Pixels set by the triangle filler, by position.
std::map<std::pair<int, int>, int> shade(const int tri[3], int x1, int y1, int x2, int y2) {
    std::map<std::pair<int, int>, int> pixels;
    FillGradientTriangle(tri, x1, y1, x2, y2, [&](int x, int y, int colour) {
        EXPECT_EQ(pixels.count({x, y}), 0u);
        pixels[{x, y}] = colour;
    });
    return pixels;
}

TEST_F(GradientTest, TriangleShadingInterpolatesAndStaysInTheRectangle) {
    GradientPolygon& g = gradientPolygon();
    g.x[0] = 0, g.y[0] = 0, g.colours[0] = 255;         // red
    g.x[1] = 20, g.y[1] = 0, g.colours[1] = 255 << 8;   // green
    g.x[2] = 0, g.y[2] = 20, g.colours[2] = 255 << 16;  // blue
    const int tri[3] = {1, 2, 3};
    auto all = shade(tri, 0, 0, 100, 100);
    EXPECT_EQ(all.size(), 21u * 22u / 2u);
    EXPECT_EQ(all.at({0, 0}), 255);
    EXPECT_EQ(all.at({20, 0}), 255 << 8);
    EXPECT_EQ(all.at({0, 20}), 255 << 16);  // a one-pixel row gets the left colour
    const int mid = all.at({10, 0});
    EXPECT_NEAR(mid % 256, 127, 1);
    EXPECT_NEAR(mid / 256 % 256, 127, 1);
    EXPECT_EQ(mid / 65536, 0);
    auto part = shade(tri, 5, 3, 12, 30);
    for (const auto& [at, colour] : part) {
        EXPECT_TRUE(at.first >= 5 && at.first <= 12 && at.second >= 3 && at.second <= 30);
        EXPECT_EQ(colour, all.at(at));
    }
    EXPECT_EQ(part.size(), 76u);  // the rectangle's rows cut by the long edge
    EXPECT_TRUE(shade(tri, 0, 30, 100, 40).empty());
}

TEST_F(GradientTest, AutoCadPalette) {
    struct Case {
        int index, rgb;
    };
    const Case cases[] = {{0, 0},
                          {1, 255},
                          {7, 16777215},
                          {8, 76 * 65793},
                          {10, 255},
                          {11, 255 + 127 * 256 + 127 * 65536},
                          {12, 165},
                          {32, 185 + 82 * 256},
                          {250, 84 * 65793},
                          {255, 16777215},
                          {30, 255 + 127 * 256}};
    for (const Case& c : cases)
        EXPECT_EQ(AciColourRgb(c.index), c.rgb) << c.index;
}

// Request 40 as a device handles it: the polygon's integer vertices first.
class GradientPrepareTest : public GraphicsTest {
  protected:
    void polygon(const std::vector<std::array<int, 3>>& vertices) {
        GradientPolygon& g = gradientPolygon();
        g.vertexCount = static_cast<int>(vertices.size());
        for (std::size_t i = 0; i < vertices.size(); ++i)
            g.x[i] = vertices[i][0], g.y[i] = vertices[i][1], g.colours[i] = vertices[i][2];
        devicePointArrays().allocate(0);
    }
    int pixels = 0, nativeCalls = 0, nativeTriangles = 0;
    void prepare(int mode, int nativeResult) {
        GradientPolygonPrepare(
            mode, 0, 0, 100, 100, [this](int, int, int) { ++pixels; },
            [&](const int*, const int*, const int*, const int*, int, int count) {
                ++nativeCalls;
                nativeTriangles = count;
                return nativeResult;
            });
    }
};

TEST_F(GradientPrepareTest, RepeatedVerticesMergeWithAveragedColours) {
    polygon({{0, 0, 100}, {0, 0, 200}, {10, 0, 0}, {0, 10, 0}});
    prepare(1, 0);
    EXPECT_EQ(gradientPolygon().vertexCount, 3);
    EXPECT_EQ(gradientPolygon().colours[0], 150);
    EXPECT_EQ(nativeCalls, 0);
    EXPECT_EQ(pixels, 11 * 12 / 2);
    // A closed outline of five vertices becomes a quadrilateral.
    polygon({{0, 0, 10}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 30}});
    prepare(2, 0);
    EXPECT_EQ(gradientPolygon().vertexCount, 4);
    EXPECT_EQ(gradientPolygon().colours[0], 20);
    EXPECT_EQ(nativeCalls, 1);
    EXPECT_EQ(nativeTriangles, 2);
    // Three coincident trailing vertices carry the average of all three.
    polygon({{0, 0, 0}, {10, 0, 0}, {0, 10, 3}, {0, 10, 6}, {0, 10, 9}});
    prepare(1, 0);
    EXPECT_EQ(gradientPolygon().vertexCount, 3);
    EXPECT_EQ(gradientPolygon().colours[2], 6);
}

TEST_F(GradientPrepareTest, NativeFillFallsBackToPixels) {
    polygon({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
    prepare(2, 0);
    EXPECT_EQ(pixels, 0);
    prepare(2, 1);
    EXPECT_EQ(nativeCalls, 2);
    EXPECT_GE(pixels, 121);  // the shared diagonal may be shaded twice
    // A degenerate triangle draws nothing.
    polygon({{0, 0, 0}, {0, 0, 0}, {5, 5, 0}});
    pixels = 0;
    prepare(1, 0);
    EXPECT_EQ(pixels, 0);
}

TEST_F(GradientTest, GradientPolygonGoesToBothSidesInDeviceUnits) {
    useTarget(200, 100);
    GrUnits(0, 0, 2, 1);
    std::vector<std::vector<float>> seen;
    std::vector<int> colours;
    auto record = [&](int code) {
        if (code != 40) return;
        seen.push_back(devicePointArrays().x);
        colours.push_back(gradientPolygon().colours[2]);
    };
    SetScreenDriver(record);
    RegisterHardcopyDriver(2, record);
    SelectHardcopyDriverNumber(2);
    graphicsState().hardcopyDriver = 2;
    const float x[] = {0.5f, 1.5f, 1.0f}, y[] = {0.2f, 0.2f, 0.8f};
    const int c[] = {1, 2, 3};
    FillGradientPolygon(x, y, c, 3);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NEAR(seen[0][1], 1.5f * 199.99f / 2, 1e-2);
    EXPECT_EQ(colours, (std::vector<int>{3, 3}));
    EXPECT_EQ(gradientPolygon().vertexCount, 3);
    EXPECT_FLOAT_EQ(graphicsState().currentX, 0.5f);
}

TEST_F(GradientTest, TriangulatedFillDrawsOneTrianglePerEar) {
    useTarget(200, 100);
    recordBoth(false);
    SetFillPattern(4);
    const float x[] = {0.1f, 0.4f, 0.4f, 0.2f, 0.2f, 0.1f},
                y[] = {0.1f, 0.1f, 0.2f, 0.2f, 0.5f, 0.5f};
    FillPolygonTriangulated(x, y, 6);
    EXPECT_EQ(codes(1), (std::vector<int>{12, 12, 12, 12}));  // four solid triangles
    EXPECT_EQ(graphicsState().fillOutline, 1);
    clearLogs();
    SetFillPattern(0);
    FillPolygonTriangulated(x, y, 6);
    EXPECT_EQ(lines(1).size(), 6u);
}

// Request 40 on the screen: through the window system's gradient fill and
// pixel by pixel, the same shading.
TEST_F(GradientTest, ScreenShadesTheGradientPolygon) {
    for (int mode : {1, 2}) {
        win::Surface surface(40, 30, 0xFFFFFF);
        drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
        useTarget(40, 30);
        GrUnits(0, 0, 40, 30);
        YYGAPI(1);
        ScreenSurfaceChanged();
        screenDeviceInfo().gradientFillAvailable = mode;
        const float x[] = {5, 35, 35, 5}, y[] = {5, 5, 25, 25};
        const int red = 255, blue = 255 << 16;
        const int c[] = {red, blue, blue, red};
        FillGradientPolygon(x, y, c, 4);
        auto at = [&](int px, int py) { return surface.at(px, 29 - py); };  // y upwards
        const std::uint32_t left = at(6, 15), right = at(33, 15), middle = at(20, 15);
        EXPECT_GT(left >> 16 & 0xFF, 230u) << mode;  // surface pixels are 0x00RRGGBB
        EXPECT_LT(left & 0xFF, 25u) << mode;
        EXPECT_GT(right & 0xFF, 230u) << mode;
        EXPECT_NEAR(static_cast<int>(middle >> 16 & 0xFF), 127, 12) << mode;
        EXPECT_NEAR(static_cast<int>(middle & 0xFF), 127, 12) << mode;
        EXPECT_EQ(at(2, 15), 0xFFFFFFu) << mode;
        EXPECT_EQ(at(20, 28), 0xFFFFFFu) << mode;
        ResetScreenDriver();
        win::DeleteDC(drawingSurface().dc);
        drawingSurface() = DrawingSurface{};
    }
}

// A gradient polygon larger than a drawing area smaller than its target
// paints only inside the area, by either path.
TEST_F(GradientTest, ScreenGradientStaysInsideTheGraphicsArea) {
    for (int mode : {1, 2}) {
        SCOPED_TRACE(mode);
        win::Surface surface(40, 30, 0xFFFFFF);
        drawingSurface().dc = win::CreateSurfaceDC(&surface, {0, 0}, nullptr);
        useTarget(40, 30);
        GrArea(0.25f, 0.25f, 0.75f, 0.75f);
        GrUnits(0, 0, 1, 1);
        YYGAPI(1);
        ScreenSurfaceChanged();
        screenDeviceInfo().gradientFillAvailable = mode;
        const float x[] = {-0.5f, 1.5f, 1.5f, -0.5f}, y[] = {-0.5f, -0.5f, 1.5f, 1.5f};
        const int c[] = {255, 255 << 16, 255 << 16, 255};
        FillGradientPolygon(x, y, c, 4);
        const GraphicsState& g = graphicsState();
        int inside = 0, outside = 0;
        for (int py = 0; py < 30; ++py)
            for (int px = 0; px < 40; ++px) {
                const bool painted = surface.at(px, py) != 0xFFFFFFu;
                const int up = 29 - py;
                const bool inArea = px >= g.devIX1 && px <= g.devIX2 && up >= g.devIY1 && up <= g.devIY2;
                (inArea ? inside : outside) += painted;
            }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(inside, 150);
        ResetScreenDriver();
        win::DeleteDC(drawingSurface().dc);
        drawingSurface() = DrawingSurface{};
    }
}

}  // namespace
}  // namespace tk::test
