#include "toolkit/graphics/gradient.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/triangle_trapezium.h"

namespace tk {

GradientPolygon& gradientPolygon() {
    static GradientPolygon polygon;
    return polygon;
}

void FillGradientPolygon(const float* x, const float* y, const int* colours, int n) {
    if (n <= 2) {
        if (n >= 1) MoveToUnits(x[0], y[0]);
        return;
    }
    n = std::min(n, kMaxGradientVertices);
    GradientPolygon& polygon = gradientPolygon();
    polygon.vertexCount = n;
    DevicePointArrays& a = devicePointArrays();
    a.allocate(n);
    for (int i = 0; i < n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        WorldToDevice(x[i], y[i], a.x[k], a.y[k]);
        polygon.colours[k] = colours[i];
    }
    deviceBlock().count = n;
    SendScreenRequest(40);
    SendHardcopyRequest(40);
    a.allocate(0);
    MoveToUnits(x[0], y[0]);
}

namespace {

// Ear clipping on 1-based vertices.
class Decomposer {
  public:
    Decomposer(const float* x, const float* y, int n) : x_(x), y_(y), n_(n), state_(n + 1, 0) {}

    enum class Outcome { Success, AllEqual, Failed };

    Outcome attempt(int s, std::vector<int>& triangles, int& count) {
        std::fill(state_.begin(), state_.end(), 0);
        triangles.clear();
        count = 0;
        int k0 = s;
        bool found = false;
        for (int step = 1; step <= n_ - 2 && !found; ++step) {
            k0 = next(k0);
            found = !same(k0, s);
        }
        if (!found) return Outcome::AllEqual;
        int l0 = s;
        do {
            l0 = previous(l0);
        } while (same(l0, s) && l0 != s);
        const bool clockwise = turn(l0, s, k0);
        int r = s, i = k0, tries = n_;
        for (;;) {
            int k = i;
            for (int step = 1; step <= n_ - 2; ++step) {
                k = next(k);
                if (k == r) return Outcome::Success;
                if (state_[k] == -2) continue;
                if (same(k, i)) {
                    state_[k] = -2;
                    continue;
                }
                break;
            }
            if (isEar(r, i, k, clockwise)) {
                if (count < n_) {
                    triangles.insert(triangles.end(), {r, i, k});
                    ++count;
                }
                state_[i] = -2;
                state_[r] = state_[k] = 0;
                i = k;
                tries = n_;
                continue;
            }
            --tries;
            r = i;
            i = k;
            if (tries <= 0) return Outcome::Failed;
        }
    }

  private:
    const float* x_;
    const float* y_;
    int n_;
    std::vector<int> state_;

    float X(int i) const { return x_[i - 1]; }
    float Y(int i) const { return y_[i - 1]; }
    int next(int i) const { return i % n_ + 1; }
    int previous(int i) const { return i == 1 ? n_ : i - 1; }
    bool same(int a, int b) const { return X(a) == X(b) && Y(a) == Y(b); }
    // True when the outline turns clockwise at b (y upwards).
    bool turn(int a, int b, int c) const {
        return (Y(b) - Y(a)) * (X(c) - X(b)) > (Y(c) - Y(b)) * (X(b) - X(a));
    }

    bool isEar(int r, int i, int k, bool clockwise) {
        int& s = state_[i];
        if (s == -1) return false;
        if (s > 0) {
            if (state_[s] != -2) return false;
            s = 0;
        }
        if (turn(r, i, k) != clockwise) {
            s = -1;
            return false;
        }
        const int d = blocker(r, i, k);
        if (d > 0) {
            s = d;
            return false;
        }
        return true;
    }

    static bool between(float v, float a, float b) {
        return (v >= a && v <= b) || (v >= b && v <= a);
    }

    // Step 3 of the blocking test: points on an axis-parallel edge.
    bool onEdge(int d, int r, int i, int k) const {
        const float xd = X(d), yd = Y(d);
        if (xd == X(r) && xd == X(i)) return between(yd, Y(r), Y(i));
        if (yd == Y(r) && yd == Y(i)) return between(xd, X(r), X(i));
        if (xd == X(i) && xd == X(k)) return between(yd, Y(i), Y(k));
        if (yd == Y(i) && yd == Y(k)) return between(xd, X(i), X(k));
        if (!(xd == X(r) && xd == X(k))) return yd == Y(r) && yd == Y(k) && between(xd, X(r), X(k));
        return between(yd, Y(r), Y(k));
    }

    bool strictlyInside(int d, int r, int i, int k) const {
        const int corners[3] = {r, i, k};
        for (int c = 0; c < 3; ++c) {
            const int v = corners[c], p = corners[(c + 1) % 3], q = corners[(c + 2) % 3];
            auto g = [&](int at) { return (X(d) - X(v)) * Y(at) - (Y(d) - Y(v)) * X(at); };
            const float gv = g(v);
            if ((g(p) < gv) == (g(q) < gv)) return false;
        }
        return true;
    }

    int blocker(int r, int i, int k) const {
        constexpr float eps = 1.1920929e-7f;
        const float xmin0 = std::min({X(r), X(i), X(k)}), xmax0 = std::max({X(r), X(i), X(k)});
        const float ymin0 = std::min({Y(r), Y(i), Y(k)}), ymax0 = std::max({Y(r), Y(i), Y(k)});
        const float xmin = xmin0 - std::fabs(xmin0) * eps, xmax = xmax0 + std::fabs(xmax0) * eps;
        const float ymin = ymin0 - std::fabs(ymin0) * eps, ymax = ymax0 + std::fabs(ymax0) * eps;
        int d = k;
        for (int step = 0; step < n_; ++step) {
            d = next(d);
            if (d == r) break;
            if (!(X(d) > xmin && X(d) < xmax && Y(d) > ymin && Y(d) < ymax)) continue;
            if (onEdge(d, r, i, k) || strictlyInside(d, r, i, k)) return d;
        }
        return 0;
    }
};

}  // namespace

void YYPolygonDecompose(const float* x, const float* y, int n, std::vector<int>& triangles,
                        int& count) {
    triangles.clear();
    count = 0;
    if (n < 3) return;
    int top = 1;
    for (int i = 2; i <= n; ++i)
        if (y[i - 1] > y[top - 1]) top = i;
    Decomposer decomposer(x, y, n);
    int s = top;
    int topRuns = 0;
    for (;;) {
        if (s == top) ++topRuns;
        const auto outcome = decomposer.attempt(s, triangles, count);
        if (outcome != Decomposer::Outcome::Failed) return;
        if (s == top && topRuns == 2) {
            ReportLibraryError(28, "YYPolygonDecompose");
            return;
        }
        s = s % n + 1;
    }
}

namespace {

struct Channels {
    double r = 0, g = 0, b = 0;
};

Channels channelsOf(int v) {
    return {static_cast<double>(v % 256) / 255.0, static_cast<double>((v / 256) % 256) / 255.0,
            static_cast<double>((v / 65536) % 256) / 255.0};
}

int packed(const Channels& c) {
    return static_cast<int>(c.r * 255.99) + 256 * static_cast<int>(c.g * 255.99) +
           65536 * static_cast<int>(c.b * 255.99);
}

}  // namespace

void FillGradientTriangle(const int triangle[3], int xLow, int yLow, int xHigh, int yHigh,
                          const GradientPixelOperation& pixel) {
    const GradientPolygon& polygon = gradientPolygon();
    int vx[3], vy[3];
    Channels vc[3];
    for (int c = 0; c < 3; ++c) {
        const int k = std::clamp(triangle[c], 1, kMaxGradientVertices) - 1;
        vx[c] = polygon.x[static_cast<std::size_t>(k)];
        vy[c] = polygon.y[static_cast<std::size_t>(k)];
        vc[c] = channelsOf(polygon.colours[static_cast<std::size_t>(k)]);
    }
    const int rowFrom = std::max(std::min({vy[0], vy[1], vy[2]}), yLow);
    const int rowTo = std::min(std::max({vy[0], vy[1], vy[2]}), yHigh);
    static constexpr int kEdges[3][2] = {{0, 2}, {1, 0}, {2, 1}};
    for (int y = rowFrom; y <= rowTo; ++y) {
        int left = xHigh + 1, right = xLow - 1;
        Channels lc, rc;
        for (const auto& edge : kEdges) {
            const int a = edge[0], b = edge[1];
            if (vy[a] == vy[b] || !((y >= vy[a] && y <= vy[b]) || (y >= vy[b] && y <= vy[a])))
                continue;
            const double t = static_cast<double>(y - vy[b]) / static_cast<double>(vy[a] - vy[b]);
            const int x = static_cast<int>(t * vx[a] + (1.0 - t) * vx[b] + 0.5);
            const Channels c{t * vc[a].r + (1 - t) * vc[b].r, t * vc[a].g + (1 - t) * vc[b].g,
                             t * vc[a].b + (1 - t) * vc[b].b};
            if (x < left) left = x, lc = c;
            if (x > right) right = x, rc = c;
        }
        if (left > xHigh || right < xLow) continue;
        Channels step;
        if (left < right) {
            const double span = static_cast<double>(right - left);
            step = {(rc.r - lc.r) / span, (rc.g - lc.g) / span, (rc.b - lc.b) / span};
        }
        for (int x = std::max(left, xLow); x <= std::min(right, xHigh); ++x) {
            const double k = static_cast<double>(x - left);
            pixel(x, y, packed({lc.r + k * step.r, lc.g + k * step.g, lc.b + k * step.b}));
        }
    }
}

namespace {

void outlinePolygon(const float* x, const float* y, int n) {
    MoveToUnits(x[0], y[0]);
    for (int i = 1; i < n; ++i)
        LineToUnits(x[i], y[i]);
    if (x[n - 1] != x[0] || y[n - 1] != y[0]) LineToUnits(x[0], y[0]);
}

}  // namespace

void FillPolygonTriangulated(const float* x, const float* y, int n) {
    GraphicsState& g = graphicsState();
    if (n <= 2) {
        if (n >= 1) MoveToUnits(x[0], y[0]);
        return;
    }
    const int style = g.fillStyle;
    int count = 0;
    if (style >= 1 && style <= 4) {
        std::vector<int> triangles;
        YYPolygonDecompose(x, y, n, triangles, count);
        const int keptOutline = g.fillOutline;
        g.fillOutline = 0;
        for (int t = 0; t < count; ++t) {
            const int* v = &triangles[static_cast<std::size_t>(3 * t)];
            GrTriangle(x[v[0] - 1], y[v[0] - 1], x[v[1] - 1], y[v[1] - 1], x[v[2] - 1],
                       y[v[2] - 1]);
        }
        g.fillOutline = keptOutline;
    }
    const bool outline =
        g.fillOutline != 0 && (style == 0 || ((style == 1 || style == 2) && count > 0));
    if (outline) outlinePolygon(x, y, n);
    MoveToUnits(x[0], y[0]);
}

namespace {

int rgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

int hsvShade(int index) {
    const double hue = 15.0 * (index / 10 - 1);
    const double saturation = index % 2 == 0 ? 1.0 : 0.5;
    static constexpr double kValues[5] = {255, 165, 127, 76, 38};
    const double value = kValues[(index % 10) / 2];
    const double c = value * saturation;
    const double h = hue / 60.0;
    const double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
        case 0:
            r = c, g = x;
            break;
        case 1:
            r = x, g = c;
            break;
        case 2:
            g = c, b = x;
            break;
        case 3:
            g = x, b = c;
            break;
        case 4:
            r = x, b = c;
            break;
        default:
            r = c, b = x;
            break;
    }
    const double m = value - c;
    return rgb(static_cast<int>(r + m), static_cast<int>(g + m), static_cast<int>(b + m));
}

std::array<int, 256> buildAciPalette() {
    std::array<int, 256> p{};
    static constexpr int kFirst[10][3] = {
        {0, 0, 0},   {255, 0, 0},   {255, 255, 0},   {0, 255, 0},  {0, 255, 255},
        {0, 0, 255}, {255, 0, 255}, {255, 255, 255}, {76, 76, 76}, {165, 165, 165}};
    for (int i = 0; i < 10; ++i)
        p[static_cast<std::size_t>(i)] = rgb(kFirst[i][0], kFirst[i][1], kFirst[i][2]);
    for (int i = 10; i < 250; ++i)
        p[static_cast<std::size_t>(i)] = hsvShade(i);
    static constexpr int kExceptions[][4] = {
        {32, 185, 82, 0},    {33, 165, 124, 82},  {42, 165, 124, 0},   {43, 165, 145, 82},
        {62, 124, 165, 0},   {63, 145, 165, 82},  {72, 82, 165, 72},   {73, 124, 165, 82},
        {113, 82, 165, 124}, {122, 0, 165, 124},  {123, 82, 165, 145}, {142, 0, 124, 165},
        {143, 82, 145, 165}, {153, 82, 124, 165}, {193, 124, 82, 165}, {202, 124, 0, 165},
        {203, 145, 82, 165}, {222, 165, 0, 124},  {223, 165, 82, 145}, {233, 165, 82, 124}};
    for (const auto& e : kExceptions)
        p[static_cast<std::size_t>(e[0])] = rgb(e[1], e[2], e[3]);
    static constexpr int kGreys[6] = {84, 118, 152, 186, 220, 255};
    for (int i = 0; i < 6; ++i)
        p[static_cast<std::size_t>(250 + i)] = rgb(kGreys[i], kGreys[i], kGreys[i]);
    return p;
}

}  // namespace

int AciColourRgb(int index) {
    static const std::array<int, 256> palette = buildAciPalette();
    return index >= 0 && index <= 255 ? palette[static_cast<std::size_t>(index)] : 0;
}

namespace {

struct Rgb3 {
    int r = 0, g = 0, b = 0;
};

Rgb3 split(int colour) {
    Rgb3 c;
    SplitRgbColour(colour, &c.r, &c.g, &c.b);
    return c;
}

// The vertex lists of request 40 as the preparation edits them.
struct PrepareLists {
    GradientPolygon& polygon = gradientPolygon();
    DevicePointArrays& points = devicePointArrays();
    int n = 0;

    bool same(int a, int b) const {
        return polygon.x[static_cast<std::size_t>(a)] == polygon.x[static_cast<std::size_t>(b)] &&
               polygon.y[static_cast<std::size_t>(a)] == polygon.y[static_cast<std::size_t>(b)];
    }
    void remove(int k) {
        for (int i = k; i + 1 < n; ++i) {
            const auto to = static_cast<std::size_t>(i), from = to + 1;
            polygon.x[to] = polygon.x[from];
            polygon.y[to] = polygon.y[from];
            polygon.colours[to] = polygon.colours[from];
            if (from < points.x.size())
                points.x[to] = points.x[from], points.y[to] = points.y[from];
        }
        --n;
    }
};

void setAverage(int& colour, const Rgb3& sum, int m) {
    colour = rgb(sum.r / m, sum.g / m, sum.b / m);
}

// Merges coincident neighbours; false when the polygon degenerates.
bool mergeNeighbours(PrepareLists& l) {
    int k = 0, m = 1;
    Rgb3 sum;
    while (k < l.n - 1) {
        if (l.same(k, k + 1)) {
            if (l.n == 3) return false;
            if (m == 1) sum = split(l.polygon.colours[static_cast<std::size_t>(k)]);
            const Rgb3 c = split(l.polygon.colours[static_cast<std::size_t>(k + 1)]);
            sum.r += c.r, sum.g += c.g, sum.b += c.b;
            ++m;
            l.remove(k + 1);
        } else {
            if (m > 1) setAverage(l.polygon.colours[static_cast<std::size_t>(k)], sum, m);
            m = 1;
            ++k;
        }
    }
    if (m > 1) setAverage(l.polygon.colours[static_cast<std::size_t>(k)], sum, m);
    if (l.same(l.n - 1, 0)) {
        if (l.n == 3) return false;
        const Rgb3 a = split(l.polygon.colours[0]);
        const Rgb3 b = split(l.polygon.colours[static_cast<std::size_t>(l.n - 1)]);
        l.polygon.colours[0] = rgb((a.r + b.r) / 2, (a.g + b.g) / 2, (a.b + b.b) / 2);
        --l.n;
    }
    return true;
}

}  // namespace

void GradientPolygonPrepare(int mode, int clipX1, int clipY1, int clipX2, int clipY2,
                            const GradientPixelOperation& pixel,
                            const GradientTriangleOperation& triangleOperation) {
    PrepareLists l;
    l.n = std::min(l.polygon.vertexCount, kMaxGradientVertices);
    if (l.n < 3 || !mergeNeighbours(l)) return;
    l.polygon.vertexCount = l.n;
    std::vector<int> triangles;
    int count = 0;
    if (l.n == 3) {
        triangles = {1, 2, 3};
        count = 1;
    } else {
        // The decomposition works on the real device coordinates when the
        // device left them in the point arrays, else on its integer vertices.
        std::vector<float> fx(static_cast<std::size_t>(l.n)), fy(fx.size());
        const bool reals = l.points.x.size() >= fx.size();
        for (std::size_t i = 0; i < fx.size(); ++i) {
            fx[i] = reals ? l.points.x[i] : static_cast<float>(l.polygon.x[i]);
            fy[i] = reals ? l.points.y[i] : static_cast<float>(l.polygon.y[i]);
        }
        YYPolygonDecompose(fx.data(), fy.data(), l.n, triangles, count);
        if (count == 0) return;
    }
    if (mode == 2 && triangleOperation &&
        triangleOperation(l.polygon.x.data(), l.polygon.y.data(), l.polygon.colours.data(),
                          triangles.data(), l.n, count) == 0)
        return;
    for (int t = 0; t < count; ++t)
        FillGradientTriangle(&triangles[static_cast<std::size_t>(3 * t)], clipX1, clipY1, clipX2,
                             clipY2, pixel);
}

}  // namespace tk
