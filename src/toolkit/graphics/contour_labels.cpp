// Labels of traced contours: what a level's label says, where along a piece
// of contour it goes (the straightest stretch that keeps its distance from
// the labels already drawn), the gap it cuts into the line, and the label
// text of level values.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "toolkit/core/string_conversion.h"
#include "toolkit/core/text_args.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/contour_lines.h"
#include "toolkit/graphics/contour_support.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/markers.h"
#include "toolkit/graphics/stroke_font.h"
#include "toolkit/graphics/text_output.h"
#include "toolkit/graphics/text_state.h"

namespace tk {
namespace {

constexpr float kPi = 3.14159265f;

std::array<char, 200>& labelBuffer() {
    static std::array<char, 200> b;
    return b;
}

// Direction of a step; vertical steps point up (or down).
float direction(float dx, float dy) {
    if (std::fabs(dx) <= 1e-6f) return dy < 0.0f ? -kPi / 2 : kPi / 2;
    return std::atan(dy / dx) + (dx < 0.0f ? kPi : 0.0f);
}

struct LabelContent {
    int kind = 0;
    std::string text;
    int length = 0;
    int code = 0;
};

int decimalDigits(int n) {
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

LabelContent labelContent(int k, float level) {
    const DataSetStyle& s = dataSetStyle(k);
    LabelContent c;
    c.kind = std::abs(s.param1);
    int code = s.marker >= 0 ? s.marker : s.param2;
    if (c.kind == 4 && code >= 0 && code <= 25) code += 202;
    auto within = [k](int v, int low, int high) {
        if (v >= low && v <= high) return v;
        return (k - low) % (high - low + 1) + low;
    };
    switch (c.kind) {
        case 1: {
            c.code = code < 0 ? k : code;
            std::array<char, 11> digits{};
            IntegerToString(c.code, digits, "(I11)");
            JustifyString(digits, "L");
            c.text = std::string(trimRight(std::string_view(digits.data(), digits.size())));
            c.length = c.code == 0 ? 2 : decimalDigits(c.code);
            break;
        }
        case 2:
            c.code = within(code, 1, 52);
            c.text = std::string(
                1, static_cast<char>(c.code <= 26 ? 'A' + c.code - 1 : 'a' + c.code - 27));
            c.length = 1;
            break;
        case 3:
            c.code = within(code, 1, 40);
            c.length = 1;
            break;
        case 4:
            c.code = within(code, 1, 255);
            c.text = std::string(1, static_cast<char>(c.code));
            c.length = 1;
            break;
        case 5: {
            int first = 0, last = 0;
            FormatContourLabel(level, static_cast<int>(std::trunc(SafeLog10(level))), 0, first,
                               last);
            c.text = std::string(labelBuffer().data() + first - 1,
                                 static_cast<std::size_t>(last - first + 1));
            c.length = last - first + 1;
            break;
        }
        case 6:
            c.text = s.label.str();
            c.length = static_cast<int>(c.text.size());
            break;
        default:
            c.kind = 0;
            break;
    }
    return c;
}

}  // namespace

ContourPieceLabeller::ContourPieceLabeller(int levelCount, int nx) {
    const GraphicsState& g = graphicsState();
    capacity_ = static_cast<std::size_t>(4 * levelCount);
    window_ = std::clamp(nx / 5, 3, 8);
    const float wx = g.unitsSpanX * g.charWidthFraction, hy = g.unitsSpanY * g.charHeightFraction;
    spacing_ = std::sqrt(wx * wx + hy * hy) / g.aspectRatio;
}

void ContourPieceLabeller::draw(const ContourPiece& piece, int k, float level) {
    const GraphicsState& g = graphicsState();
    const DataSetStyle& style = dataSetStyle(k);
    const int n = static_cast<int>(piece.x.size());
    auto X = [&](int p) { return piece.x[static_cast<std::size_t>(p - 1)]; };
    auto Y = [&](int p) { return piece.y[static_cast<std::size_t>(p - 1)]; };
    const LabelContent label = labelContent(k, level);
    const float w = g.appUnitsSpanX * g.charWidthFraction;
    const float L = (g.textMode == 0 || label.kind <= 4)
                        ? static_cast<float>(label.length) * w
                        : w * StringWidthInUnits(label.text, label.length, 0);

    // The start: the straightest stretch of `window_` steps, preferring one
    // far enough from the labels already drawn.
    int s = 0;
    const int W = window_;
    if (label.kind != 0 && label.length >= 1 && n - W >= 3) {
        std::vector<float> bending(static_cast<std::size_t>(n + 1), 0.0f);
        float B1 = 0, Bmax = 0;
        int chosen1 = 0;
        for (int p0 = 2; p0 <= n - W - 1; ++p0) {
            float B = 0, previous = 0;
            for (int q = p0; q < p0 + W; ++q) {
                const float a = std::fabs(direction(X(q + 1) - X(q), Y(q + 1) - Y(q)));
                if (q > p0) B += (a - previous) * (a - previous);
                previous = a;
            }
            bending[static_cast<std::size_t>(p0)] = B;
            if (chosen1 == 0 || B < B1) B1 = B, chosen1 = p0;
            Bmax = std::max(Bmax, B);
        }
        float B2 = 999999.0f;
        int chosen2 = 0;
        for (int p0 = 2; p0 <= n - W - 1; ++p0) {
            const float B = bending[static_cast<std::size_t>(p0)];
            if (!(B < B2 && B < B1 + 0.1f * (Bmax - B1))) continue;
            float distance = 1.01f * spacing_;
            for (const Segment& seg : placed_)
                distance = std::min(distance, PointSegmentDistance(seg.x1, seg.y1, seg.x2, seg.y2,
                                                                   X(p0), Y(p0), 0));
            if (distance > spacing_) chosen2 = p0, B2 = B;
        }
        s = chosen2 != 0 ? chosen2 : chosen1;
    }

    // The end: along the line until the horizontal distance to the point
    // reached grows again; the line resumes there.
    float xe = 0, ye = 0, angle = 0;
    int resume = 0;
    if (s != 0) {
        float previous = 0;
        for (int p = s + 1; p <= n; ++p) {
            angle = direction(X(p) - X(s), (Y(p) - Y(s)) / g.aspectRatio);
            xe = X(s) + L * std::cos(angle);
            const float q = std::fabs(xe - X(p));
            if (p > s + 1 && q > previous) {
                resume = p;
                break;
            }
            previous = q;
        }
        const float gfactor =
            g.aspectRatio * (g.rotDevSpanY / g.rotDevSpanX) * (g.areaSpanX / g.areaSpanY);
        ye = Y(s) + L * std::sin(angle) * gfactor;
        float degrees = angle * 180.0f / kPi;
        int justification = 0;
        if (degrees > 90.0f && degrees < 270.0f) {
            degrees -= 180.0f;
            justification = 2;
        }
        SetCharacterDirection(degrees);
        SetTextAttributes(justification);
        if (placed_.size() < capacity_) placed_.push_back({X(s), Y(s), xe, ye});
    }

    // The line, with its gap.
    if (style.style == -999) {
        if (n > 0) MoveToUnits(X(n), Y(n));
    } else if (s == 0) {
        DrawPolylineUnits(piece.x.data(), piece.y.data(), n);
    } else {
        DrawPolylineUnits(piece.x.data(), piece.y.data(), s);
        if (resume != 0) {
            LineBetweenUnits(xe, ye, X(resume), Y(resume));
            DrawPolylineUnits(piece.x.data() + resume - 1, piece.y.data() + resume - 1,
                              n - resume + 1);
        }
    }

    // The label.
    if (n == 0) return;
    GrColourN(style.colour2);
    if (graphicsState().lineStyle != 0) SetLineStyle(0);
    const float ax = s != 0 ? X(s) : X(1), ay = s != 0 ? Y(s) : Y(1);
    switch (label.kind) {
        case 1:
        case 2:
            DrawTextAt(ax, ay, label.text);
            break;
        case 3:
            DrawMarker(s != 0 ? (X(s) + xe) / 2.0f : ax, s != 0 ? (Y(s) + ye) / 2.0f : ay,
                       label.code);
            break;
        case 4:
            SymbolFontSelect(1);
            DrawTextAt(ax, ay, label.text);
            SymbolFontSelect(0);
            break;
        case 5:
        case 6:
            if (s != 0) DrawTextAt(ax, ay, label.text);
            break;
        default:
            break;
    }
}

std::string_view contourLabelText() {
    return std::string_view(labelBuffer().data(), labelBuffer().size());
}

void FormatContourLabel(float value, int exponent, int extraDigit, int& first, int& last) {
    std::array<char, 200>& b = labelBuffer();
    b.fill(' ');
    if (value == 0.0f) {
        b[0] = '0';
        first = last = 1;
        return;
    }
    const int decimals = presentationPlotSettings().labelDecimals;
    const int e = exponent;
    const bool odd = extraDigit % 2 != 0;
    if ((e >= -4 && e <= 0) || (e >= 1 && e <= 5 && decimals > 0)) {
        const int d = std::min((decimals >= 0 ? decimals : std::abs(e) + 1) + (odd ? 1 : 0), 9);
        RealToStr(value, std::span<char>(b.data(), 9), "(F9." + std::to_string(d) + ")");
        if (decimals < 0 && odd && b[8] == '0') b[8] = ' ';
    } else if (e >= 1 && e <= 5) {
        IntegerToString(static_cast<int>(std::trunc(value)), std::span<char>(b.data(), 9), "(I9)");
    } else {
        const int g = e >= 0
                          ? 1
                          : std::min(static_cast<int>(std::trunc(std::fabs(
                                         std::log10(std::fabs(value)) - static_cast<float>(e)))) +
                                         1,
                                     6);
        const int width = g + 7;
        const int digits = std::min(decimals >= 0 ? decimals : g, 9);
        std::string format = "(1PE";
        format += static_cast<char>('0' + width / 10);
        format += static_cast<char>('0' + width % 10);
        format += '.';
        format += static_cast<char>('0' + digits);
        format += ')';
        RealToStr(value, std::span<char>(b.data(), 13), format);
    }
    NonBlankRange(std::string_view(b.data(), b.size()), static_cast<int>(b.size()), first, last);
    auto at = [&](int pos) -> char& { return b[static_cast<std::size_t>(pos - 1)]; };
    const std::string_view text(b.data() + first - 1, static_cast<std::size_t>(last - first + 1));
    if (text == "0.0") {
        at(first) = '0';
        at(first + 1) = at(first + 2) = ' ';
        last = first;
    } else if (text[0] == '0') {
        if (text.size() >= 3) {
            at(first) = ' ';
            ++first;
        } else {
            std::fill(b.begin() + first, b.begin() + last, ' ');
            last = first;
        }
    } else if (text.size() >= 2 && text[0] == '-' && text[1] == '0') {
        at(first) = ' ';
        at(first + 1) = '-';
        ++first;
    } else if (decimals != 1 && text.size() >= 2 && text.substr(text.size() - 2) == ".0") {
        at(last) = at(last - 1) = ' ';
        last -= 2;
        if (last < first) {
            at(first) = '0';
            last = first;
        }
    }
}

float PointSegmentDistance(float x1, float y1, float x2, float y2, float px, float py,
                           int lineMode) {
    if (std::fabs(x2 - x1) <= 1e-30f && std::fabs(y2 - y1) <= 1e-30f) return -1.0f;
    const float a = y2 - y1, b = x1 - x2, c = x2 * y1 - x1 * y2;
    const bool inside = std::min(x1, x2) < px && px < std::max(x1, x2) && std::min(y1, y2) < py &&
                        py < std::max(y1, y2);
    const float perpendicular = std::fabs(a * px + b * py + c) / std::sqrt(a * a + b * b);
    if (inside || lineMode != 0) return perpendicular;
    const float dx = x2 - x1, dy = y2 - y1;
    const float t = ((px - x1) * dx + (py - y1) * dy) / (dx * dx + dy * dy);
    if (t >= 0.0f && t <= 1.0f) return perpendicular;
    return std::min(std::hypot(px - x1, py - y1), std::hypot(px - x2, py - y2));
}

}  // namespace tk
