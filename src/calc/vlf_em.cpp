#include "calc/vlf_em.h"

#include <algorithm>
#include <cmath>

namespace calc {

namespace {

constexpr float kDegreesPerRadian = 57.296f;
constexpr float kPi = 3.14159f;

bool missing(float v) {
    return !(v < kVlfMissingFrom);
}

bool sameShape(const VlfBlock& a, const VlfBlock& b) {
    return a.valid() && b.valid() && a.n == b.n && a.m == b.m;
}

void fillMissing(const VlfBlock& out) {
    if (!out.valid()) return;
    for (int k = 1; k <= out.m; ++k)
        for (int i = 1; i <= out.n; ++i)
            out(i, k) = kVlfMissing;
}

// out := f(in) element by element, missing where the input is.
template <typename F>
void convert(const VlfBlock& out, const VlfBlock& in, F f) {
    if (!sameShape(out, in)) return;
    for (int k = 1; k <= out.m; ++k)
        for (int i = 1; i <= out.n; ++i)
            out(i, k) = missing(in(i, k)) ? kVlfMissing : f(in(i, k));
}

template <typename F>
void convertPair(const VlfBlock& out, const VlfBlock& a, const VlfBlock& b, F f) {
    if (!sameShape(out, a) || !sameShape(out, b)) return;
    for (int k = 1; k <= out.m; ++k)
        for (int i = 1; i <= out.n; ++i)
            out(i, k) = missing(a(i, k)) || missing(b(i, k)) ? kVlfMissing : f(a(i, k), b(i, k));
}

// One side of the current-density window: nearest, next and third point
// going by `dir` from i.
float sideSum(const VlfBlock& in, int i, int k, int dir, bool& gap) {
    const float v1 = in(i + dir, k), v2 = in(i + 2 * dir, k), v3 = in(i + 3 * dir, k);
    gap = gap || missing(v1) || missing(v2) || missing(v3);
    return 0.59f * v1 + 0.102f * v2 + 0.561f * v3;
}

}  // namespace

void FRASER(const VlfBlock& out, const VlfBlock& in, bool lsign) {
    fillMissing(out);
    if (!sameShape(out, in)) return;
    for (int k = 1; k <= in.m; ++k) {
        for (int i = 2; i <= in.n - 2; ++i) {
            const float w[4] = {in(i - 1, k), in(i, k), in(i + 1, k), in(i + 2, k)};
            if (std::any_of(std::begin(w), std::end(w), missing)) continue;
            const float a = w[0] + w[1], b = w[2] + w[3];
            if (missing(a) || missing(b)) continue;
            out(i, k) = lsign ? b - a : a - b;
        }
    }
}

void HJELT_D(const VlfBlock& out, const VlfBlock& in, std::span<const float> positions) {
    fillMissing(out);
    if (!sameShape(out, in) || positions.size() < static_cast<std::size_t>(in.n)) return;
    auto pos = [&](int i) { return positions[static_cast<std::size_t>(i - 1)]; };
    for (int k = 1; k <= in.m; ++k) {
        for (int i = 4; i <= in.n - 3; ++i) {
            bool gap = false;
            const float before = sideSum(in, i, k, -1, gap);
            const float after = sideSum(in, i, k, +1, gap);
            const float spacing = std::abs(pos(i + 1) - pos(i - 1)) * 0.5f;
            if (gap || missing(before) || missing(after) || !(spacing > 0.0f)) continue;
            out(i, k) = (before - after) / (kPi * spacing);
        }
    }
}

void HJELT_M(const VlfBlock& out1, const VlfBlock& out2, const VlfBlock& in,
             std::span<const float> positions) {
    HJELT_D(out1, in, positions);
    fillMissing(out2);
    if (!sameShape(out1, out2) || !sameShape(out1, in)) return;
    std::copy_n(out1.values.begin(),
                static_cast<std::size_t>(in.n) * static_cast<std::size_t>(in.m),
                out2.values.begin());
}

void MAKAMP(const VlfBlock& out, const VlfBlock& inPhase, const VlfBlock& quadrature) {
    convertPair(out, inPhase, quadrature,
                [](float a, float b) { return std::sqrt(std::abs(a * a + b * b) + 1.0E-30f); });
}

void MAKPHS(const VlfBlock& out, const VlfBlock& inPhase, const VlfBlock& quadrature) {
    convertPair(out, inPhase, quadrature, [](float a, float b) { return std::atan2(b, a); });
}

void MAKTLT(const VlfBlock& out, const VlfBlock& percent) {
    convert(out, percent, [](float v) { return std::atan(0.01f * v) * kDegreesPerRadian; });
}

void MAKELP(const VlfBlock& out, const VlfBlock& percent) {
    convert(out, percent, [](float v) { return 0.01f * v; });
}

void MAKQDD(const VlfBlock& out, const VlfBlock& value) {
    convert(out, value, [](float v) { return 100.0f * v; });
}

void MAKIPD(const VlfBlock& out, const VlfBlock& angle) {
    convert(out, angle, [](float v) { return std::tan(v / kDegreesPerRadian) * 100.0f; });
}

float AMPPHS(float inPhase, float quadrature, float& amplitude) {
    if (missing(inPhase) || missing(quadrature)) {
        amplitude = kVlfMissing;
        return kVlfMissing;
    }
    amplitude = std::sqrt(std::abs(inPhase * inPhase + quadrature * quadrature) + 1.0E-30f);
    return std::atan2(quadrature, inPhase);
}

void COPYVLF(VlfWorkArrays& work, const VlfBlock& array, int kind) {
    const VlfBlock* from = nullptr;
    const VlfBlock* to = nullptr;
    if (kind == -1) {
        from = &work.first;
        to = &array;
    } else if (kind == -2) {
        from = &work.second;
        to = &array;
    } else if (kind < 2) {
        from = &array;
        to = &work.first;
    } else if (kind == 18) {
        from = &array;
        to = &work.second;
    } else {
        return;
    }
    if (!from->valid() || !to->valid()) return;
    const int n = std::min(from->n, to->n), m = std::min(from->m, to->m);
    for (int k = 1; k <= m; ++k)
        for (int i = 1; i <= n; ++i)
            (*to)(i, k) = (*from)(i, k);
}

}  // namespace calc
