#include "toolkit/graphics/polygon_fill.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"

namespace tk {

namespace {

constexpr int kSortStackLimit = 30;
constexpr int kCrossingLimit = 100;

struct EdgeTable {
    std::vector<float> low, high, crossAtLow, slope;
    int size() const { return static_cast<int>(low.size()); }
    void swap(int i, int j) {
        std::swap(low[i], low[j]);
        std::swap(high[i], high[j]);
        std::swap(crossAtLow[i], crossAtLow[j]);
        std::swap(slope[i], slope[j]);
    }
    void copy(int from, int to) {
        low[to] = low[from], high[to] = high[from];
        crossAtLow[to] = crossAtLow[from], slope[to] = slope[from];
    }
};

// Ascending by `low`, without recursion; false when the stack of pending
// ranges would overflow.
bool sortEdges(EdgeTable& t) {
    std::vector<std::pair<int, int>> stack;
    int lo = 0, hi = t.size() - 1;
    while (true) {
        if (hi - lo + 1 > 2) {
            const float pivot = t.low[lo + (hi - lo + 1) / 2];
            int i = lo, j = hi;
            while (i <= j) {
                while (t.low[i] < pivot)
                    ++i;
                while (t.low[j] > pivot)
                    --j;
                if (i <= j) t.swap(i++, j--);
            }
            if (static_cast<int>(stack.size()) >= kSortStackLimit) return false;
            if (j - lo > hi - i) {
                stack.push_back({lo, j});
                lo = i;
            } else {
                stack.push_back({i, hi});
                hi = j;
            }
            continue;
        }
        if (hi - lo + 1 == 2 && t.low[hi] < t.low[lo]) t.swap(lo, hi);
        if (stack.empty()) return true;
        std::tie(lo, hi) = stack.back();
        stack.pop_back();
    }
}

// One polygon in device units and what its scans need.
struct PolygonScan {
    const std::vector<float>& x;
    const std::vector<float>& y;
    float minX, minY, maxX, maxY;
    bool abandoned = false;

    // A scan along horizontal lines reads (y, x); vertical lines (x, y).
    float scanOf(bool vertical, int i) const { return vertical ? x[i] : y[i]; }
    float crossOf(bool vertical, int i) const { return vertical ? y[i] : x[i]; }

    EdgeTable edges(bool vertical) const {
        EdgeTable t;
        const int n = static_cast<int>(x.size());
        for (int i = 0; i < n; ++i) {
            const int j = (i + 1) % n;
            const float si = scanOf(vertical, i), sj = scanOf(vertical, j);
            if (si == sj) continue;
            const bool iLow = si < sj;
            t.low.push_back(iLow ? si : sj);
            t.high.push_back(iLow ? sj : si);
            t.crossAtLow.push_back(iLow ? crossOf(vertical, i) : crossOf(vertical, j));
            t.slope.push_back((crossOf(vertical, i) - crossOf(vertical, j)) / (si - sj));
        }
        return t;
    }

    void fail() {
        ReportLibraryError(49, "YYPLYGON");
        abandoned = true;
    }

    std::vector<std::pair<float, float>> spans(std::vector<float>& c) const {
        std::vector<std::pair<float, float>> out;
        const std::size_t m = c.size();
        if (m == 0 || m % 2 == 1) return out;
        if (m == 2) {
            out.push_back({std::min(c[0], c[1]), std::max(c[0], c[1])});
            return out;
        }
        for (std::size_t i = 0; i + 1 < m; ++i)
            for (std::size_t j = i + 1; j < m; ++j)
                if (c[j] < c[i]) std::swap(c[i], c[j]);
        for (std::size_t i = 0; i < m; i += 2)
            out.push_back({c[i], c[i + 1]});
        return out;
    }

    void drawSpans(const std::vector<std::pair<float, float>>& s, double at, bool vertical,
                   int pass) const {
        const float v = static_cast<float>(at);
        if (vertical) {
            for (auto [a, b] : s)
                DrawLineDevice(v, a, v, b);
            return;
        }
        for (std::size_t k = 0; k < s.size(); ++k) {
            const float left = s[k].first;
            float right = s[k].second;
            if (k + 1 < s.size()) {
                const bool touch = pass == 1
                                       ? static_cast<int>(right) == static_cast<int>(s[k + 1].first)
                                       : right == s[k + 1].first;
                if (touch) right = s[++k].second;
            }
            DrawLineDevice(left, v, right, v);
        }
    }

    void scanFrom(EdgeTable& t, double start, double end, float spacing, bool vertical, int pass) {
        const int n = t.size();
        int lo = 0, hi = 0;
        for (double s = start; s <= end && !abandoned; s += spacing) {
            while (hi < n - 1 && t.low[hi + 1] <= s)
                ++hi;
            int top = hi;
            for (int k = hi; k >= lo; --k)
                if (t.high[k] > s) t.copy(k, top--);
            lo = top + 1;
            if (hi - lo + 1 >= kCrossingLimit) {
                fail();
                return;
            }
            std::vector<float> crossings;
            for (int k = lo; k <= hi; ++k)
                crossings.push_back(
                    static_cast<float>((s - t.low[k]) * t.slope[k] + t.crossAtLow[k]));
            drawSpans(spans(crossings), s, vertical, pass);
        }
    }

    void scan(bool vertical, int pass, float spacing) {
        if (abandoned || spacing <= 0) return;
        const float lowest = vertical ? minX : minY;
        const float highest = vertical ? maxX : maxY;
        double start = lowest;
        if (pass == 1) start = lowest >= 0 ? std::trunc(lowest) + 0.5 : std::trunc(lowest) - 0.5;
        EdgeTable table = edges(vertical);
        if (table.size() == 0) {
            if (vertical)
                DrawLineDevice(x[0], minY, x[0], maxY);
            else
                DrawLineDevice(minX, y[0], maxX, y[0]);
            return;
        }
        if (!sortEdges(table)) {
            fail();
            return;
        }
        const EdgeTable sorted = table;
        scanFrom(table, start, highest, spacing, vertical, pass);
        int step = 1;
        SecondColourPass(pass, step);
        if (step != 2) return;
        table = sorted;
        scanFrom(table, start + 0.5 * spacing, highest, spacing, vertical, pass);
        SecondColourPass(pass, step);
    }

    void drawPass(int pass, bool outline, int style, int angle) {
        const int n = static_cast<int>(x.size());
        if (outline)
            for (int i = 0; i < n; ++i)
                DrawLineDevice(x[i], y[i], x[(i + 1) % n], y[(i + 1) % n]);
        if (style != 1 && style != 2) return;
        const HatchLayout h = HatchSpacing(pass, graphicsState().fillDensity);
        if (style == 2 || angle != 4) scan(false, pass, h.spacingY);
        if (style == 2 || angle == 4) scan(true, pass, h.spacingX);
    }
};

}  // namespace

void YYPLYGON(const float* x, const float* y, int n, bool deviceUnits) {
    if (n <= 1) {
        if (n == 1 && !deviceUnits) MoveToUnits(x[0], y[0]);
        return;
    }
    if (x[n - 1] == x[0] && y[n - 1] == y[0]) --n;
    DevicePointArrays& a = devicePointArrays();
    a.allocate(n);
    float minX = 1.0e38f, minY = 1.0e38f, maxX = -1.0e38f, maxY = -1.0e38f;
    for (int i = 0; i < n; ++i) {
        float dx = x[i], dy = y[i];
        if (!deviceUnits) WorldToDevice(x[i], y[i], dx, dy);
        a.x[static_cast<std::size_t>(i)] = dx, a.y[static_cast<std::size_t>(i)] = dy;
        minX = std::min(minX, dx), maxX = std::max(maxX, dx);
        minY = std::min(minY, dy), maxY = std::max(maxY, dy);
    }
    const GraphicsState& g = graphicsState();
    const bool hidden = maxY < g.devY1 || minY > g.devY2 || minX > g.devX2 || maxX < g.devX1;
    if (!hidden) {
        DeviceParameterBlock& b = deviceBlock();
        b.count = n;
        b.pixX[1] = static_cast<int>(a.x[0]), b.pixY[1] = static_cast<int>(a.y[0]);
        b.pixX[2] = static_cast<int>(minX), b.pixY[2] = static_cast<int>(minY);
        b.pixX[3] = static_cast<int>(maxX), b.pixY[3] = static_cast<int>(maxY);
        PolygonScan polygon{a.x, a.y, minX, minY, maxX, maxY};
        ShapeCourse course;
        course.halftoneCode = 15;
        course.solidCode = 16;
        course.drawPass = [&polygon](int pass, bool outline, int style, int angle) {
            polygon.drawPass(pass, outline, style, angle);
        };
        RunShapeCourse(course);
    }
    a = DevicePointArrays{};
    if (!deviceUnits) MoveToUnits(x[0], y[0]);
}

void PolygonUserUnits(const float* x, const float* y, int n) {
    YYPLYGON(x, y, n, false);
}

namespace {

// Collects runs of points inside the clipping rectangle and sends each run
// as one polyline request.
struct PolylineRuns {
    DevicePointArrays& a;

    void append(float x, float y) {
        a.x.push_back(x);
        a.y.push_back(y);
    }
    void send() {
        if (a.x.size() >= 2) {
            deviceBlock().count = static_cast<int>(a.x.size());
            SendScreenRequest(32);
            SendHardcopyRequest(32);
        }
        a.x.clear();
        a.y.clear();
    }
};

}  // namespace

void PolylineClipped(const float* x, const float* y, int n, bool deviceUnits) {
    if (n < 2) return;
    DevicePointArrays& a = devicePointArrays();
    // Room for every point plus the entry point of each run; only what a
    // run fills is written.
    a.x.clear();
    a.y.clear();
    a.x.reserve(2 * static_cast<std::size_t>(n));
    a.y.reserve(2 * static_cast<std::size_t>(n));
    PolylineRuns runs{a};
    const GraphicsState& g = graphicsState();
    auto device = [&](int i, float& dx, float& dy) {
        dx = x[i], dy = y[i];
        if (!deviceUnits) WorldToDevice(g, x[i], y[i], dx, dy);
    };
    float px = 0, py = 0;
    device(0, px, py);
    bool open = InClipRect(g, px, py);
    if (open) runs.append(px, py);
    for (int i = 1; i < n; ++i) {
        float qx = 0, qy = 0;
        device(i, qx, qy);
        const bool inside = InClipRect(g, qx, qy);
        if (open && inside) {
            runs.append(qx, qy);
        } else if (open) {
            float x1 = px, y1 = py, x2 = qx, y2 = qy;
            bool visible = false;
            ClipSegment(x1, y1, x2, y2, visible);
            if (visible) runs.append(x2, y2);
            runs.send();
            open = false;
        } else {
            float x1 = px, y1 = py, x2 = qx, y2 = qy;
            bool visible = false;
            ClipSegment(x1, y1, x2, y2, visible);
            if (visible && inside) {
                runs.append(x1, y1);
                runs.append(qx, qy);
                open = true;
            } else if (visible) {
                DrawLineDevice(px, py, qx, qy);
            }
        }
        px = qx, py = qy;
    }
    if (open) runs.send();
    // Emptied but kept: the next curve, or the next of thousands of markers,
    // fills the same arrays.
    a.x.clear();
    a.y.clear();
    if (!deviceUnits) {
        graphicsState().currentX = x[n - 1];
        graphicsState().currentY = y[n - 1];
    }
}

bool PointInClipRect(float x, float y) {
    return InClipRect(graphicsState(), x, y);
}

bool PointOnSegmentInClip(float x, float y, float xa, float ya, float xb, float yb) {
    return PointInClipRect(x, y) && x >= std::min(xa, xb) && x <= std::max(xa, xb) &&
           y >= std::min(ya, yb) && y <= std::max(ya, yb);
}

void LineCoefficients(float xa, float ya, float xb, float yb, float& a, float& b, float& d) {
    a = ya - yb;
    b = xb - xa;
    d = xa * yb - xb * ya;
}

}  // namespace tk
