#include "toolkit/graphics/markers.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/ellipse.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/polygon_fill.h"
#include "toolkit/graphics/triangle_trapezium.h"

namespace tk {

namespace {

struct P {
    float x, y;
};

// The marker frame around the centre (x, y).
struct Frame {
    float x, y, w, h, c;
    float L() const { return x - w; }
    float R() const { return x + w; }
    float B() const { return y - h; }
    float T() const { return y + h; }
};

void lines(std::initializer_list<std::pair<P, P>> segments) {
    for (const auto& [a, b] : segments)
        LineBetweenUnits(a.x, a.y, b.x, b.y);
}

// A closed chain of lines through the points.
void chain(std::initializer_list<P> points) {
    const P* p = points.begin();
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i)
        LineBetweenUnits(p[i].x, p[i].y, p[(i + 1) % n].x, p[(i + 1) % n].y);
}

void triangle(P a, P b, P c) {
    GrTriangle(a.x, a.y, b.x, b.y, c.x, c.y);
}

void polygon(std::initializer_list<P> points) {
    float x[6], y[6];
    int n = 0;
    for (const P& p : points)
        x[n] = p.x, y[n] = p.y, ++n;
    PolygonUserUnits(x, y, n);
}

bool in(int code, std::initializer_list<int> codes) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

void strokes(const Frame& f, int code) {
    const float L = f.L(), R = f.R(), B = f.B(), T = f.T(), x = f.x, y = f.y;
    if (in(code, {1, 6, 7, 8, 27, 28, 39, 40})) lines({{{L, y}, {R, y}}, {{x, B}, {x, T}}});
    if (in(code, {2, 9, 27, 28, 29, 30})) lines({{{L, B}, {R, T}}, {{L, T}, {R, B}}});
    if (in(code, {3, 6, 9, 28})) chain({{L, B}, {R, B}, {R, T}, {L, T}});
    if (in(code, {4, 7, 10})) chain({{L, B}, {x, T}, {R, B}});
    if (in(code, {5, 8, 10})) chain({{L, T}, {x, B}, {R, T}});
}

void wireFrames(const Frame& f, int code) {
    const float L = f.L(), R = f.R(), B = f.B(), T = f.T(), x = f.x, y = f.y, w = f.w, h = f.h;
    if (code == 11)
        lines({{{L, B}, {x + w / 2, B}},
               {{x + w / 2, B}, {R, y - h / 2}},
               {{L, B}, {x - w / 4, T}},
               {{x + w / 2, B}, {x - w / 4, T}},
               {{R, y - h / 2}, {x - w / 4, T}}});
    else
        lines({{{L, B}, {x + w / 2, B}},
               {{x + w / 2, B}, {x + w / 2, y + h / 2}},
               {{x + w / 2, y + h / 2}, {L, y + h / 2}},
               {{L, y + h / 2}, {L, B}},
               {{L, y + h / 2}, {x - w / 2, T}},
               {{x + w / 2, y + h / 2}, {R, T}},
               {{x + w / 2, B}, {R, y - h / 2}},
               {{x - w / 2, T}, {R, T}},
               {{R, y - h / 2}, {R, T}}});
}

void ownPart(const Frame& f, int code) {
    const float L = f.L(), R = f.R(), B = f.B(), T = f.T(), x = f.x, y = f.y, c = f.c;
    switch (code) {
        case 11:
        case 12:
            wireFrames(f, code);
            break;
        case 13:
            GrRectangle(L, B, R, T);
            break;
        case 14:
            CircleAt(x, y, f.w);
            break;
        case 15:
            triangle({L, B}, {R, B}, {x, T});
            break;
        case 16:
            triangle({L, T}, {R, T}, {x, B});
            break;
        case 17:
            triangle({L, B}, {L, T}, {R, y});
            break;
        case 18:
            triangle({R, B}, {R, T}, {L, y});
            break;
        case 19:
            triangle({L, B}, {R, B}, {x, y});
            triangle({L, T}, {R, T}, {x, y});
            break;
        case 20:
            triangle({L, B}, {L, T}, {x, y});
            triangle({R, B}, {R, T}, {x, y});
            break;
        case 21:
            polygon({{L, y}, {x, T}, {R, y}, {x, B}});
            break;
        case 22:
            polygon({{L, y}, {x - c, T}, {x + c, T}, {R, y}, {x + c, B}, {x - c, B}});
            break;
        case 23:
            triangle({L, B}, {R, B}, {R, T});
            break;
        case 24:
            triangle({L, B}, {L, T}, {R, T});
            break;
        case 25:
            triangle({R, B}, {L, T}, {L, B});
            break;
        case 26:
            triangle({R, B}, {L, T}, {R, T});
            break;
        case 29:
            lines({{{L, T}, {R, T}}, {{L, B}, {R, B}}});
            break;
        case 30:
            lines({{{L, B}, {L, T}}, {{R, B}, {R, T}}});
            break;
        case 31:
            lines({{{L, T}, {R, y}}, {{R, y}, {L, B}}, {{L, B}, {L, T}}});
            break;
        case 32:
            lines({{{R, T}, {L, y}}, {{L, y}, {R, B}}, {{R, B}, {R, T}}});
            break;
        case 33:
        case 39:
            chain({{x, T}, {R, y}, {x, B}, {L, y}});
            break;
        case 34:
        case 40:
            chain({{x - c, T}, {x + c, T}, {R, y}, {x + c, B}, {x - c, B}, {L, y}});
            break;
        case 35:
            lines({{{L, B}, {R, T}}, {{R, T}, {R, B}}, {{R, B}, {L, B}}});
            break;
        case 36:
            lines({{{L, B}, {R, T}}, {{R, T}, {L, T}}, {{L, T}, {L, B}}});
            break;
        case 37:
            lines({{{L, T}, {R, B}}, {{R, B}, {L, B}}, {{L, B}, {L, T}}});
            break;
        case 38:
            lines({{{L, T}, {R, B}}, {{R, B}, {R, T}}, {{R, T}, {L, T}}});
            break;
        default:
            break;  // 27 and 28 are strokes only
    }
}

}  // namespace

void DrawMarker(float x, float y, int code) {
    GraphicsState& g = graphicsState();
    if (code < 1 || code > 40) code = 1;
    const float w = 0.375f * g.unitsSpanX * g.charWidthFraction;
    const float h = 0.338f * g.unitsSpanY * g.charHeightFraction;
    const Frame f{x, y, w, h, 0.6f * w};
    if (f.B() > g.unitsY2 || f.T() < g.unitsY1 || f.R() < g.unitsX1 || f.L() > g.unitsX2) return;
    strokes(f, code);
    if (code < 11) return;
    const int style = g.fillStyle;
    g.fillStyle = 4;
    ownPart(f, code);
    g.fillStyle = style;
}

void MarkerAtCurrent(int code) {
    DrawMarker(graphicsState().currentX, graphicsState().currentY, code);
}

}  // namespace tk
