#include "util/nice_axis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "util/narrow_float.h"

namespace util {

namespace {

// Truncation toward zero into the integer range; NaN gives 0.
std::int32_t truncated(double v) {
    if (std::isnan(v)) return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::trunc(v), lo, hi));
}

// Powers of ten up to 10^22 are exact in double, so dividing by them undoes
// the range scaling of LINNX with a single rounding.
double powerOfTen(int k) {
    return std::pow(10.0, k);
}

struct LinearAxis {
    double start;
    double step;
    std::int64_t ndiv;
};

// Smallest n >= 1 with start + n step >= b.
std::int64_t divisionsToReach(double start, double step, double b) {
    double n = std::ceil((b - start) / step);
    if (!(n >= 1.0)) n = 1.0;
    n = std::min(n, 1.0e6);
    auto count = static_cast<std::int64_t>(n);
    while (start + static_cast<double>(count) * step < b && count < 1000000)
        ++count;
    while (count > 1 && start + static_cast<double>(count - 1) * step >= b)
        --count;
    return count;
}

LinearAxis chooseLinear(double a, double b) {
    // Step 1: widen equal limits, replace a bad range, and scale the range
    // up to at least 100 by powers of ten (remembered in `scaled`).
    int scaled = 0;
    double d = 0.0;
    for (int pass = 0; pass < 50; ++pass) {
        d = b - a;
        if (d == 0.0) {
            d = 20.0;
            a -= 10.0;
            b += 10.0;
        } else if (!(d > 0.0) || !std::isfinite(d)) {
            d = 1.0;
            a = 0.0;
            b = 1.0;
        }
        if (d >= 100.0) break;
        a *= 10.0;
        b *= 10.0;
        ++scaled;
    }
    // Step 2: a step of p/2 or p, p the power of ten at or below d.
    const double p = powerOfTen(truncated(std::log10(d)));
    const std::int32_t n = truncated(d / p + 1.1);
    std::int32_t m = n <= 3 ? 2 * n : n;
    if (m <= 3) m *= 2;
    double step = n * p / m;
    // Step 3: the multiple of the step at or below a. Placed directly, it is
    // also found for data far from zero compared with their spread (absolute
    // gravity near 980000 mGal, total field near 50000 nT).
    double start = std::floor(a / step) * step;
    if (start > a) start -= step;
    if (start + step <= a) start += step;
    // Step 4.
    std::int64_t ndiv = divisionsToReach(start, step, b);
    const double e = start + static_cast<double>(ndiv) * step;
    // Step 5: halve the step where that fits.
    if (ndiv < 5) {
        const double h = step / 2.0;
        if (e - b >= h) {
            const std::int64_t old = ndiv;
            step = h;
            ndiv = 2 * old - 1;
            if (a - start >= h) {
                start += h;
                ndiv = 2 * old - 2;
            }
        } else if (a - start >= h) {
            step = h;
            start += h;
            ndiv = 2 * ndiv - 1;
        }
    }
    // Steps 6 and 7: drop whole divisions below a and above b.
    while (a - start > step && ndiv > 1) {
        start += step;
        --ndiv;
    }
    while (start + static_cast<double>(ndiv) * step - b > step && ndiv > 1)
        --ndiv;
    // Step 8: at most five divisions.
    while (ndiv > 5) {
        ndiv = (ndiv + 1) / 2;
        step *= 2.0;
    }
    // Step 9: undo the scaling of step 1.
    const double unscale = powerOfTen(scaled);
    return {start / unscale, step / unscale, std::max<std::int64_t>(ndiv, 1)};
}

}  // namespace

void LINNX(float vmin, float vmax, float& start, float& step, std::int32_t& ndiv, std::int32_t& k) {
    const LinearAxis axis = chooseLinear(vmin, vmax);
    start = narrowToFloat(axis.start);
    step = narrowToFloat(axis.step);
    ndiv = static_cast<std::int32_t>(axis.ndiv);
    k = 5;
}

void LOGNX(float vmin, float vmax, std::int32_t& l1, std::int32_t& l2) {
    const double u = std::fabs(static_cast<double>(vmin)) + 1.0e-20;
    const double v = std::fabs(static_cast<double>(vmax)) + 1.0e-20;
    l1 = u >= 1.0 ? truncated(std::log10(u)) : truncated(std::log10(u) - 1.0);
    l2 = v < 1.0 ? truncated(std::log10(v)) : truncated(std::log10(v) + 1.0);
    if (l2 <= l1) l2 = l1 + 1;
}

void LOG2NX(float vmin, float vmax, std::int32_t& l1, std::int32_t& l2) {
    // A power of two exists only for positive values; others are taken by
    // their magnitude (with the base-10 form's guard against zero), and a
    // NaN counts as 1.
    auto usable = [](double x) {
        if (std::isnan(x)) return 1.0;
        return x > 0.0 ? x : std::fabs(x) + 1.0e-20;
    };
    const double u = usable(vmin), v = usable(vmax);
    const double lu = std::log10(u) / 0.30103, lv = std::log10(v) / 0.30103;
    l1 = u >= 1.0 ? truncated(lu) : truncated(lu - 1.0);
    l2 = v < 1.0 ? truncated(lv) : truncated(lv + 1.0);
}

namespace {
struct NiceStep {
    double value;
    std::int32_t minor;
};

// The step nearest above t (1 <= t < 10); thresholds allow for rounding so
// that a step meant to be 3 is not taken as 3.0000001.
NiceStep niceStep(double t) {
    constexpr double slack = 1.0 + 1.0e-6;
    if (t <= 1.0 * slack) return {1.0, 5};
    const NiceStep table[] = {{1.5, 3}, {2.0, 4}, {2.5, 5}, {3.0, 6}, {4.0, 4}, {5.0, 5}, {8.0, 4}};
    for (const NiceStep& s : table)
        if (t <= s.value * slack) return s;
    return {10.0, 5};
}
}  // namespace

void FIGLIM(float vmin, float vmax, float& start, float& step, std::int32_t& minor,
            std::int32_t& ndiv) {
    if (ndiv < 1) ndiv = 2;
    const bool mirrored = vmax <= 0.0f;
    const double lo = mirrored ? -static_cast<double>(vmax) : vmin;
    const double hi = mirrored ? -static_cast<double>(vmin) : vmax;
    double e = 1.0;
    double st = 0.0, sp = 1.0;
    std::int32_t mn = 5;
    for (int pass = 0; pass < 10000; ++pass) {
        double r = hi - lo;
        if (std::fabs(r) < 1.0e-20) r = 2.0 * hi;
        if (lo > 0.0 && lo / r < 0.35) r = hi;
        // A range of nothing (all zero) or of no size at all gets unit steps.
        if (r == 0.0 || !std::isfinite(r)) r = 1.0;
        double t = e * std::fabs(r) / ndiv;
        int k = static_cast<int>(std::floor(std::log10(t)));
        t /= std::pow(10.0, k);
        if (t >= 10.0) {
            t /= 10.0;
            ++k;
        } else if (t < 1.0) {
            t *= 10.0;
            --k;
        }
        const NiceStep nice = niceStep(t);
        sp = nice.value * std::pow(10.0, k);
        mn = nice.minor;
        st = 0.0;
        if (lo < 0.0) st = -sp * (std::trunc(-lo / sp) + 1.0);
        if (lo > sp) st = sp * std::trunc(lo / sp);
        if (!(st + ndiv * sp < hi)) break;
        e += 0.5 / ndiv;
    }
    // Mirrored back: the axis that covered -VMAX..-VMIN from st now ends at -st.
    if (mirrored) st = -(st + ndiv * sp);
    start = narrowToFloat(st);
    step = narrowToFloat(sp);
    minor = mn;
}

std::int32_t JSIG(float x) {
    const float a = std::fabs(x);
    if (!std::isfinite(a)) return -1;
    // Every real from 2^24 on is whole; below that the truncation fits.
    if (a >= 16777216.0f) return -1;
    if (static_cast<float>(static_cast<std::int32_t>(a + 0.00001f)) == a) return -1;
    if (a >= 100.0f) return 0;
    if (a >= 10.0f) return 1;
    if (a >= 1.0f) return 2;
    return 3;
}

void GETNX(std::span<const float> a, int n, float& amin, float& amax) {
    const std::size_t count =
        n > 0 ? std::min<std::size_t>(static_cast<std::size_t>(n), a.size()) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const float m = std::fabs(a[i]);
        if (std::isnan(m) || !(m > 1.0e-15f && m < 1.0e15f)) continue;
        amin = std::min(amin, m);
        amax = std::max(amax, m);
    }
}

void IFNDNX(std::span<const std::int32_t> ia, int n, std::int32_t& imin, std::int32_t& imax) {
    const std::size_t count =
        n > 0 ? std::min<std::size_t>(static_cast<std::size_t>(n), ia.size()) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        imin = std::min(imin, ia[i]);
        imax = std::max(imax, ia[i]);
    }
}

}  // namespace util
