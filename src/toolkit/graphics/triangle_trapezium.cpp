#include "toolkit/graphics/triangle_trapezium.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"

namespace tk {

namespace {

struct Point {
    float x, y;
};

bool hiddenBox(float minX, float minY, float maxX, float maxY) {
    const GraphicsState& g = graphicsState();
    return maxY < g.devY1 || minY > g.devY2 || minX > g.devX2 || maxX < g.devX1;
}

void fillBlock(const Point* p, int n) {
    DeviceParameterBlock& b = deviceBlock();
    for (int k = 1; k <= n; ++k) {
        b.fx[k] = p[k - 1].x, b.fy[k] = p[k - 1].y;
        b.pixX[k] = static_cast<int>(p[k - 1].x), b.pixY[k] = static_cast<int>(p[k - 1].y);
    }
}

void closedOutline(const Point* p, int n) {
    for (int k = 0; k < n; ++k)
        DrawLineDevice(p[k].x, p[k].y, p[(k + 1) % n].x, p[(k + 1) % n].y);
}

// Runs `line(v)` for v from the grid start (raised to `low`) while v <= high,
// then, for a two-colour line fill, again midway between.
template <typename Line>
void familyWithSecondColour(float low, float high, int grid, float spacing, int pass, Line line) {
    if (spacing <= 0) return;
    const float start = static_cast<float>(GridStart(static_cast<int>(low), grid));
    for (float v = std::max(start + spacing, low); v <= high; v += spacing)
        line(v);
    int step = 1;
    SecondColourPass(pass, step);
    if (step != 2) return;
    for (float v = std::max(start + 1.5f * spacing, low); v <= high; v += spacing)
        line(v);
    SecondColourPass(pass, step);
}

template <typename Line>
void family(float low, float high, int grid, float spacing, Line line) {
    if (spacing <= 0) return;
    const float start = static_cast<float>(GridStart(static_cast<int>(low), grid));
    for (float v = std::max(start + spacing, low); v <= high; v += spacing)
        line(v);
}

// ---- Triangle ----

std::array<Point, 3> sortedBy(std::array<Point, 3> v, bool byX) {
    std::stable_sort(v.begin(), v.end(),
                     [byX](const Point& a, const Point& b) { return byX ? a.x < b.x : a.y < b.y; });
    return v;
}

void triangleHorizontal(const std::array<Point, 3>& v, const HatchLayout& h, int pass) {
    HatchLineRun run{h.alternate};
    const Point &a = v[0], &b = v[1], &c = v[2];
    familyWithSecondColour(a.y, c.y, h.gridY, h.spacingY, pass, [&](float y) {
        float xa = 0, xb = 0;
        if (y == c.y && b.y == c.y)
            xa = b.x, xb = c.x;
        else if (y < b.y)
            xa = EdgeXAtY(a.x, a.y, b.x, b.y, y), xb = EdgeXAtY(a.x, a.y, c.x, c.y, y);
        else
            xa = EdgeXAtY(a.x, a.y, c.x, c.y, y), xb = EdgeXAtY(b.x, b.y, c.x, c.y, y);
        run(std::max(xa, xb) - h.inset, y, std::min(xa, xb) + h.inset, y);
    });
}

void triangleVertical(const std::array<Point, 3>& v, const HatchLayout& h) {
    HatchLineRun run{h.alternate};
    const Point &a = v[0], &b = v[1], &c = v[2];
    family(a.x, c.x, h.gridX, h.spacingX, [&](float x) {
        float ya = 0, yb = 0;
        if (x == c.x && b.x == c.x)
            ya = b.y, yb = c.y;
        else if (x < b.x)
            ya = EdgeYAtX(a.x, a.y, b.x, b.y, x), yb = EdgeYAtX(a.x, a.y, c.x, c.y, x);
        else
            ya = EdgeYAtX(a.x, a.y, c.x, c.y, x), yb = EdgeYAtX(b.x, b.y, c.x, c.y, x);
        run(x, std::max(ya, yb) - h.inset, x, std::min(ya, yb) + h.inset);
    });
}

void trianglePass(const std::array<Point, 3>& byY, int pass, bool outline, int style, int angle) {
    if (outline) closedOutline(byY.data(), 3);
    if (style != 1 && style != 2) return;
    const HatchLayout h = HatchSpacing(pass, graphicsState().fillDensity);
    if (style == 2 || angle != 4) triangleHorizontal(byY, h, pass);
    if (style == 2 || angle == 4) triangleVertical(sortedBy(byY, true), h);
}

void triangleUnits(float x1, float y1, float x2, float y2, float x3, float y3) {
    if ((x1 == x2 && x2 == x3) || (y1 == y2 && y2 == y3)) {
        if (graphicsState().fillOutline) ReportLibraryError(22, "GrTriangle");
        return;
    }
    std::array<Point, 3> v{};
    WorldToDevice(x1, y1, v[0].x, v[0].y);
    WorldToDevice(x2, y2, v[1].x, v[1].y);
    WorldToDevice(x3, y3, v[2].x, v[2].y);
    v = sortedBy(v, false);
    const float minX = std::min({v[0].x, v[1].x, v[2].x});
    const float maxX = std::max({v[0].x, v[1].x, v[2].x});
    if (!hiddenBox(minX, v[0].y, maxX, v[2].y)) {
        fillBlock(v.data(), 3);
        ShapeCourse course;
        course.halftoneCode = 11;
        course.solidCode = 12;
        course.drawPass = [&v](int pass, bool outline, int style, int angle) {
            trianglePass(v, pass, outline, style, angle);
        };
        RunShapeCourse(course);
    }
    MoveToUnits(x1, y1);
}

// ---- Trapezium ----

struct Trapezium {
    std::array<Point, 4> p;  // P1..P4
    int kind;
    bool equalSides;
    float minX, minY, maxX, maxY;
};

// The span between two intercepts a and b of a line with the slanted sides,
// falling back on the box where an intercept lies outside it.
std::pair<float, float> caseSpan(float a, float b, float lo, float hi, bool aLowFirst,
                                 bool bLowLast) {
    const bool aIn = a >= lo && a <= hi, bIn = b >= lo && b <= hi;
    if (aIn && bIn) return {std::min(a, b), std::max(a, b)};
    if (aIn) return aLowFirst ? std::pair{lo, a} : std::pair{a, hi};
    if (bIn) return bLowLast ? std::pair{b, hi} : std::pair{lo, b};
    return {lo, hi};
}

void trapeziumSlanted(const Trapezium& t, const HatchLayout& h) {
    const auto& p = t.p;
    if (t.kind == 1) {
        const float s = p[2].y - p[3].y;
        if (h.spacingY <= 0) return;
        const float start = static_cast<float>(GridStart(static_cast<int>(p[0].y), h.gridY));
        for (float y = start + h.spacingY; y <= p[3].y; y += h.spacingY)
            DrawLineDevice(p[0].x + h.inset, y, p[1].x - h.inset, y + s);
        return;
    }
    const float s = p[2].x - p[1].x;
    if (h.spacingX <= 0) return;
    const float start = static_cast<float>(GridStart(static_cast<int>(p[0].x), h.gridX));
    for (float x = start + h.spacingX; x <= p[1].x; x += h.spacingX)
        DrawLineDevice(x, p[0].y + h.inset, x + s, p[3].y - h.inset);
}

void trapeziumHorizontal(const Trapezium& t, const HatchLayout& h, int pass, int angle) {
    const auto& p = t.p;
    if (t.kind == 1 && angle < 3) return;
    familyWithSecondColour(t.minY, t.maxY, h.gridY, h.spacingY, pass, [&](float y) {
        float left = 0, right = 0;
        if (t.kind != 1) {
            left = EdgeXAtY(p[0].x, p[0].y, p[3].x, p[3].y, y);
            right = EdgeXAtY(p[1].x, p[1].y, p[2].x, p[2].y, y);
        } else {
            const float xa = EdgeXAtY(p[0].x, p[0].y, p[1].x, p[1].y, y);
            const float xb = EdgeXAtY(p[3].x, p[3].y, p[2].x, p[2].y, y);
            std::tie(left, right) =
                caseSpan(xa, xb, t.minX, t.maxX, p[0].y <= p[1].y, p[3].y < p[2].y);
        }
        DrawLineDevice(left + h.inset, y, right - h.inset, y);
    });
}

void trapeziumVertical(const Trapezium& t, const HatchLayout& h, int angle) {
    const auto& p = t.p;
    if (t.kind != 1 && angle < 3) return;
    family(t.minX, t.maxX, h.gridX, h.spacingX, [&](float x) {
        float low = 0, high = 0;
        if (t.kind == 1) {
            low = EdgeYAtX(p[0].x, p[0].y, p[1].x, p[1].y, x);
            high = EdgeYAtX(p[3].x, p[3].y, p[2].x, p[2].y, x);
        } else {
            const float ya = EdgeYAtX(p[0].x, p[0].y, p[3].x, p[3].y, x);
            const float yb = EdgeYAtX(p[1].x, p[1].y, p[2].x, p[2].y, x);
            std::tie(low, high) =
                caseSpan(ya, yb, t.minY, t.maxY, p[0].x <= p[3].x, p[1].x < p[2].x);
        }
        DrawLineDevice(x, low + h.inset, x, high - h.inset);
    });
}

void trapeziumPass(const Trapezium& t, int pass, bool outline, int style, int angle) {
    if (outline) closedOutline(t.p.data(), 4);
    if (style != 1 && style != 2) return;
    if (angle < 3 && !t.equalSides) angle = 3;
    const HatchLayout h = HatchSpacing(pass, graphicsState().fillDensity);
    if (angle == 1 || angle == 2) trapeziumSlanted(t, h);
    if (angle == 3 || style == 2) trapeziumHorizontal(t, h, pass, angle);
    if (angle == 4 || style == 2) trapeziumVertical(t, h, angle);
}

void trapeziumUnits(float x1, float y1, float x2, float y2, float sideA, float sideB, int kind) {
    if (!(sideA > 0) || !(sideB > 0)) {
        ReportLibraryError(21, "GrTrapezium");
        return;
    }
    const bool vertical = kind == 1;
    if ((vertical && x1 == x2) || (!vertical && y1 == y2)) {
        ReportLibraryError(22, "GrTrapezium");
        return;
    }
    if ((vertical && x2 < x1) || (!vertical && y2 < y1)) std::swap(x1, x2), std::swap(y1, y2);
    std::array<Point, 4> u{};
    if (vertical)
        u = {Point{x1, y1}, Point{x2, y2 - sideB}, Point{x2, y2}, Point{x1, y1 + sideA}};
    else
        u = {Point{x1, y1}, Point{x1 + sideA, y1}, Point{x2, y2}, Point{x2 - sideB, y2}};
    Trapezium t{{}, vertical ? 1 : 2, sideA == sideB, 0, 0, 0, 0};
    for (std::size_t k = 0; k < 4; ++k)
        WorldToDevice(u[k].x, u[k].y, t.p[k].x, t.p[k].y);
    t.minX = std::min(t.p[0].x, t.p[3].x), t.minY = std::min(t.p[0].y, t.p[1].y);
    t.maxX = std::max(t.p[1].x, t.p[2].x), t.maxY = std::max(t.p[2].y, t.p[3].y);
    if (!hiddenBox(t.minX, t.minY, t.maxX, t.maxY)) {
        fillBlock(t.p.data(), 4);
        deviceBlock().value = t.kind;
        ShapeCourse course;
        course.halftoneCode = 7;
        course.solidCode = 8;
        course.beginValue = t.kind;
        course.drawPass = [&t](int pass, bool outline, int style, int angle) {
            trapeziumPass(t, pass, outline, style, angle);
        };
        RunShapeCourse(course);
    }
    MoveToUnits(x1, y1);
}

}  // namespace

void GrTriangle(float x1, float y1, float x2, float y2, float x3, float y3) {
    triangleUnits(x1, y1, x2, y2, x3, y3);
}

void TriangleRelative(float dx2, float dy2, float dx3, float dy3) {
    const float x = graphicsState().currentX, y = graphicsState().currentY;
    triangleUnits(x, y, x + dx2, y + dy2, x + dx3, y + dy3);
}

void GrTrapezium(float x1, float y1, float x2, float y2, float side, int kind) {
    trapeziumUnits(x1, y1, x2, y2, side, side, kind);
}

void GrTrapezium(float x1, float y1, float x2, float y2, float sideA, float sideB, int kind) {
    trapeziumUnits(x1, y1, x2, y2, sideA, sideB, kind);
}

void TrapeziumRelative(float dx, float dy, float side, int kind) {
    TrapeziumRelative(dx, dy, side, side, kind);
}

void TrapeziumRelative(float dx, float dy, float sideA, float sideB, int kind) {
    const float x = graphicsState().currentX, y = graphicsState().currentY;
    trapeziumUnits(x, y, x + dx, y + dy, sideA, sideB, kind);
}

}  // namespace tk
