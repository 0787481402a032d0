#include "util/graph_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "util/graph_package_state.h"
#include "util/narrow_float.h"
#include "util/nice_axis.h"
#include "util/pen_plotter.h"
#include "util/plane_geometry.h"
#include "util/plotter_text.h"
#include "util/text_edit.h"
#include "util/text_search.h"
#include "util/text_span.h"

namespace util {

namespace {

// More divisions than any page can show come only from a damaged record;
// they must not keep the drawing going for ever.
constexpr std::int32_t kMostDivisions = 10000;

void line(float x1, float y1, float x2, float y2) {
    PLOTXY(x1, y1, 3);
    PLOTXY(x2, y2, 2);
}

float sign(float v) {
    return v < 0.0f ? -1.0f : 1.0f;
}

// V with ND decimals through the package's label buffer, trailing zeros and
// then a trailing point removed.
std::string numberLabel(double v, std::int32_t nd) {
    GraphPackageState& s = graphPackageState();
    s.label.assign("");
    std::span<char> buffer = chars(s.label);
    MAKNUM(narrowToFloat(v), buffer, 20, nd);
    int n = INDSTR(std::string_view(buffer.data(), buffer.size()), 20);
    NTRAIL(buffer, n, '0');
    NTRAIL(buffer, n, '.');
    return std::string(buffer.data(), static_cast<std::size_t>(std::max(n, 0)));
}

// A whole number without a point (the labels of exponents).
std::string wholeLabel(double v) {
    GraphPackageState& s = graphPackageState();
    s.label.assign("");
    std::span<char> buffer = chars(s.label);
    std::int32_t nd = -1;
    MAKNUM(static_cast<float>(v), buffer, 20, nd);
    return std::string(buffer.data(), static_cast<std::size_t>(std::max(nd, 0)));
}

int length(const std::string& text) {
    return static_cast<int>(text.size());
}

// The label of division I of a linear axis: arithmetic when there are
// minor ticks, geometric (START x STEP^I) otherwise.
struct LinearLabels {
    double start, step;
    std::int32_t minor;
    bool milli;  // values below 0.01 written in thousandths with "m"

    std::string operator()(int i) const {
        double v = minor >= 1 ? start + i * step : start * std::pow(step, i);
        // Sums of rounded reals leave dust where the axis crosses zero.
        if (minor >= 1 && std::fabs(v) < std::fabs(step) * 1.0e-5) v = 0.0;
        std::int32_t nd = JSIG(narrowToFloat(v));
        if (minor >= 1 && start != 0.0 && std::fabs(step / start) < 100.0) nd += 1;
        if (milli && std::fabs(v) < 0.01 && !LNLYEQ(narrowToFloat(v), 0.0f))
            return numberLabel(1000.0 * v, nd) + "m";
        return numberLabel(v, nd);
    }
};

}  // namespace

void LNHAX(float x0, float y, float tick, float start, float step, float dx, float ht,
           std::int32_t k, std::int32_t n, const AxisRecord&) {
    GraphPackageState& s = graphPackageState();
    s.extentLabelY = 1.0e30f;
    n = std::clamp<std::int32_t>(n, 0, kMostDivisions);
    const LinearLabels label{start, step, k, true};
    std::vector<std::string> texts;
    int widest = 0;
    for (int i = 0; i <= n; ++i) {
        texts.push_back(label(i));
        widest = std::max(widest, length(texts.back()));
    }
    const float h = 1.5f * ht;
    int every = 1;
    // Labels enlarged for the screen need the room they take there.
    const float widestLength = static_cast<float>(widest) * h * screenTextMagnification(h);
    if (widestLength > std::fabs(dx)) {
        // With no room at all only the first division is labelled.
        const double ratio = static_cast<double>(widestLength) / std::fabs(dx);
        every = ratio < n ? static_cast<int>(ratio) + 1 : n + 1;
    }
    if (k <= 0 && n > 9) every = std::max(every, 2);
    const float ly = tick >= 0.0f ? y - tick - 2.7f * ht : y - tick + 1.5f * ht;
    for (int i = 0; i <= n; ++i) {
        const float x = x0 + static_cast<float>(i) * dx;
        line(x, y, x, y - tick);
        if (i % every == 0) {
            const std::string& t = texts[static_cast<std::size_t>(i)];
            SYMBOL(x - static_cast<float>(length(t)) * 0.43f * ht, ly, h, t, 0.0f, length(t));
        }
        if (i == n) continue;
        for (int j = 1; j <= k; ++j) {
            const float xj = x + static_cast<float>(j) / static_cast<float>(k) * dx;
            line(xj, y, xj, y - tick / 2.0f);
        }
    }
    s.extentLabelY = ly;
}

void LNVAX(float x, float y0, float tick, float start, float step, float dy, float ht,
           std::int32_t k, std::int32_t n, const AxisRecord&) {
    GraphPackageState& s = graphPackageState();
    n = std::clamp<std::int32_t>(n, 0, kMostDivisions);
    const LinearLabels label{start, step, k, false};
    const float h = 1.5f * ht;
    const float inward = 0.9375f * ht * sign(dy);
    // Labels enlarged for the screen beyond their divisions would run into
    // one another: every how many divisions one fits.
    const float magnified = h * screenTextMagnification(h);
    const int every = magnified > h && magnified > std::fabs(dy)
                          ? static_cast<int>(magnified / std::max(std::fabs(dy), 1.0e-6f)) + 1
                          : 1;
    for (int i = 0; i <= n; ++i) {
        const float yv = y0 + static_cast<float>(i) * dy;
        line(x, yv, x - tick, yv);
        if (i % every == 0) {
            const std::string t = label(i);
            float ly = yv;
            if (i == 0) ly += inward;
            if (i == n) ly -= inward;
            if (tick > 0.0f) {
                const float lx = x - tick - 0.1f * ht;
                SYMBOR(lx, ly, h, t, 0.0f, length(t));
                s.extentLeft = std::min(s.extentLeft, lx - STRINGWIDTH(h, t, 0.0f, length(t)));
            } else {
                const float lx = x - tick + 0.1f * ht;
                SYMBOL(lx, ly - 0.75f * ht, h, t, 0.0f, length(t));
                s.extentRight = std::max(s.extentRight, lx + STRINGWIDTH(h, t, 0.0f, length(t)));
            }
        }
        if (i == n) continue;
        for (int j = 1; j <= k; ++j) {
            const float yj = yv + static_cast<float>(j) / static_cast<float>(k) * dy;
            line(x, yj, x - tick / 2.0f, yj);
        }
    }
}

namespace {

// Decade ticks along one axis: a major tick per decade and the 2..9 minor
// ticks inside each decade but the last. `at` turns a distance along the
// axis and a tick length into a line.
template <typename Line>
void decadeTicks(float tick, float d, std::int32_t n, Line&& at) {
    for (int i = 0; i <= n; ++i) {
        const float p = static_cast<float>(i) * d;
        at(p, tick);
        if (i == n) continue;
        for (int m = 2; m <= 9; ++m)
            at(p + std::log10(static_cast<float>(m)) * d, tick / 2.0f);
    }
}

// The plain label of decade L (-3..3): 10^L without exponent.
std::string decadeLabel(std::int32_t l) {
    std::int32_t nd = l >= 0 ? -1 : -l;
    GraphPackageState& s = graphPackageState();
    s.label.assign("");
    std::span<char> buffer = chars(s.label);
    MAKNUM(static_cast<float>(std::pow(10.0, l)), buffer, 20, nd);
    return std::string(buffer.data(), static_cast<std::size_t>(std::max(nd, 0)));
}

bool plainDecade(std::int32_t l) {
    return l >= -3 && l <= 3;
}

}  // namespace

void LGHAX(float y, float x0, float tick, float dx, float ht, std::int32_t l1, std::int32_t n) {
    GraphPackageState& s = graphPackageState();
    n = std::clamp<std::int32_t>(n, 0, kMostDivisions);
    decadeTicks(tick, dx, n, [&](float p, float t) { line(x0 + p, y, x0 + p, y - t); });
    const bool exponents = l1 < -3 || l1 + n > 4;
    float lowest = 1.0e30f;
    for (int i = 0; i <= n; ++i) {
        const std::int32_t l = l1 + i;
        const float x = x0 + static_cast<float>(i) * dx;
        const bool leftEnd = dx > 0.0f ? i == 0 : i == n;
        const bool rightEnd = dx > 0.0f ? i == n : i == 0;
        if (plainDecade(l)) {
            const std::string t = decadeLabel(l);
            const float shift = static_cast<float>(length(t)) * 0.43f * ht;
            float lx = x;
            if (leftEnd && !rightEnd) lx += shift;
            if (rightEnd && !leftEnd) lx -= shift;
            const float ly = tick <= 0.0f ? y - tick / 2.0f + 0.4f * ht
                                          : y - tick / 2.0f - (exponents ? 3.6f : 2.2f) * ht;
            CENTSY(lx, ly, 1.3f * ht, t, 0.0f, length(t));
            lowest = std::min(lowest, ly - 0.65f * ht);
        } else {
            float ex = x;
            if (leftEnd) ex += 3.1f * ht;
            if (rightEnd) ex -= 0.6f * ht;
            const float ey = tick <= 0.0f ? y - tick / 2.0f + ht : y - tick / 2.0f - 2.0f * ht;
            NUMBER(ex, ey, ht, static_cast<float>(l), 0.0f, -1);
            SYMBOL(ex - 2.0f * ht, ey - 2.1f * ht, 1.5f * ht, "10", 0.0f, 2);
            lowest = std::min(lowest, ey - 2.1f * ht);
        }
    }
    s.extentLabelY = lowest;
}

void LGVAX(float x, float y0, float tick, float dy, float ht, std::int32_t l1, std::int32_t n,
           const AxisRecord&) {
    GraphPackageState& s = graphPackageState();
    n = std::clamp<std::int32_t>(n, 0, kMostDivisions);
    decadeTicks(tick, dy, n, [&](float p, float t) { line(x, y0 + p, x - t, y0 + p); });
    const float inward = 0.9375f * ht * sign(dy);
    const bool left = tick > 0.0f;
    for (int i = 0; i <= n; ++i) {
        const std::int32_t l = l1 + i;
        const float yv = y0 + static_cast<float>(i) * dy;
        if (plainDecade(l)) {
            const std::string t = decadeLabel(l);
            const float h = 1.3f * ht;
            float ly = yv;
            if (i == 0) ly += inward;
            if (i == n) ly -= inward;
            if (left) {
                const float lx = x - tick - 0.1f * ht;
                SYMBOR(lx, ly, h, t, 0.0f, length(t));
                s.extentLeft = std::min(s.extentLeft, lx - STRINGWIDTH(h, t, 0.0f, length(t)));
            } else {
                const float lx = x - tick + ht;
                SYMBOL(lx, ly - 0.5f * h, h, t, 0.0f, length(t));
                s.extentRight = std::max(s.extentRight, lx + STRINGWIDTH(h, t, 0.0f, length(t)));
            }
            continue;
        }
        const std::string e = wholeLabel(l);
        const bool twoCharacters = l >= 10 || l < 0;
        const float ex =
            left ? x - tick - ht - (twoCharacters ? 0.25f * ht : 0.0f) : x - tick + 1.5f * ht;
        float ey = yv;
        if (i == 0) ey += 1.1f * ht;
        if (i == n) ey -= 0.47f * ht;
        NUMBER(ex, ey, 0.75f * ht, static_cast<float>(l), 0.0f, -1);
        SYMBOL(ex - 0.9f * ht, ey - 1.1f * ht, ht, "10", 0.0f, 2);
        s.extentLeft = std::min(s.extentLeft, ex - 0.9f * ht);
        s.extentRight = std::max(s.extentRight, ex + STRINGWIDTH(0.75f * ht, e, 0.0f, length(e)));
    }
}

namespace {

// The frame's outline and ticks, each drawn twice 0.01 apart for a bold frame.
struct FrameLines {
    bool bold;
    GraphPackageState& s;

    void vertical(float x, float ya, float yb) {
        line(x, ya, x, yb);
        s.extentLeft = std::min(s.extentLeft, x);
        s.extentRight = std::max(s.extentRight, x);
        if (!bold) return;
        line(x + 0.01f, ya, x + 0.01f, yb);
        s.extentRight = std::max(s.extentRight, x + 0.01f);
    }
    void horizontal(float y, float xa, float xb) {
        line(xa, y, xb, y);
        if (bold) line(xa, y + 0.01f, xb, y + 0.01f);
    }
};

std::int32_t magnitude(std::int32_t count) {
    return count == INT32_MIN ? INT32_MAX : std::abs(count);
}

float tickLengthOf(const AxisRecord& a, float w, float h) {
    float t = 0.035f * std::sqrt(w * h);
    if (a.tickLengthSwitch && a.tickLength < t) t = a.tickLength;
    if ((a.xLabelsBelow || a.xLabelsAbove) && std::fabs(a.divLengthX * 0.2f) < t)
        t = std::fabs(a.divLengthX * 0.2f);
    if (std::fabs(a.divLengthY * 0.2f) < t) t = std::fabs(a.divLengthY * 0.2f);
    if (t < 0.1f) t = 0.12f;
    return t;
}

void horizontalLabels(const AxisRecord& a, float y, float tick, float ht) {
    if (a.stepX != 0.0f)
        LNHAX(0.0f, y, tick, a.startX, a.stepX, a.divLengthX, ht, a.firstDecadeX, a.divCountX, a);
    else
        LGHAX(y, 0.0f, tick, a.divLengthX, ht, a.firstDecadeX, a.divCountX);
}

void verticalLabels(const AxisRecord& a, float x, float tick, float ht) {
    if (a.stepY != 0.0f)
        LNVAX(x, 0.0f, tick, a.startY, a.stepY, a.divLengthY, ht, a.firstDecadeY, a.divCountY, a);
    else
        LGVAX(x, 0.0f, tick, a.divLengthY, ht, a.firstDecadeY, a.divCountY, a);
}

}  // namespace

void GNGRID(AxisRecord& a) {
    GraphPackageState& s = graphPackageState();
    s.tickLengthSwitch = a.tickLengthSwitch;
    s.tickLength = a.tickLength;
    s.extentLeft = a.extentLeft;
    s.extentRight = a.extentRight;
    s.extentLabelY = a.extentLabelY;

    const bool yMirror = a.divCountY < 0;
    const bool xLines = a.divCountX > 0;
    a.divCountX = magnitude(a.divCountX);
    a.divCountY = magnitude(a.divCountY);
    const int nx = a.divCountX, ny = a.divCountY;
    if (nx > kMostDivisions || ny > kMostDivisions) return;
    const float w = static_cast<float>(nx) * std::fabs(a.divLengthX);
    const float h = static_cast<float>(ny) * std::fabs(a.divLengthY);
    if (std::isnan(w) || std::isnan(h) || !(w * h > 0.0f)) return;
    const float x0 = a.divLengthX < 0.0f ? static_cast<float>(nx) * a.divLengthX : 0.0f;
    const float y0 = a.divLengthY < 0.0f ? static_cast<float>(ny) * a.divLengthY : 0.0f;

    FrameLines frame{!a.thinFrame && !(w <= 12.0f && h <= 7.0f), s};
    const float t = tickLengthOf(a, w, h);
    s.tickLength = t;

    for (int i = 0; i <= nx; ++i) {
        const float x = x0 + static_cast<float>(i) * std::fabs(a.divLengthX);
        if (i == 0)
            frame.vertical(x, y0, y0 + h);
        else if (i == nx)
            frame.vertical(x, y0 + h, y0);
        else
            frame.vertical(x, y0 + h - t, y0 + h);
    }
    if (xLines) {
        for (int j = 0; j <= ny; ++j) {
            const float y = y0 + static_cast<float>(j) * std::fabs(a.divLengthY);
            if (j == 0)
                frame.horizontal(y, x0, x0 + w);
            else if (j == ny)
                frame.horizontal(y, x0 + w, x0);
            else if (!yMirror)
                frame.horizontal(y, x0 + w - t, x0 + w);
        }
    }

    const float leftEdge = x0, rightEdge = x0 + w;
    if (a.xLabelsBelow) horizontalLabels(a, y0, t, t);
    if (a.xLabelsAbove) horizontalLabels(a, a.divLengthY > 0.0f ? ny * a.divLengthY : 0.0f, -t, t);
    if (a.yLabelsLeft) {
        verticalLabels(a, leftEdge, t, t);
        if (yMirror) verticalLabels(a, rightEdge, -t, t);
    }
    if (a.yLabelsRight) verticalLabels(a, rightEdge, -t, t);

    a.extentLeft = s.extentLeft;
    a.extentRight = s.extentRight;
    a.extentLabelY = s.extentLabelY;
}

}  // namespace util
