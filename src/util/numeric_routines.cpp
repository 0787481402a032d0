#include "util/numeric_routines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "util/array_routines.h"

namespace util {

NumericState& numericState() {
    static NumericState state;
    return state;
}

void resetNumericState() {
    numericState() = NumericState{};
}

int SOLVE(std::span<float> a, int n, int m) {
    int& error = numericState().solveError;
    error = 0;
    if (n <= 0) return error;
    const std::size_t nn = static_cast<std::size_t>(n);
    const std::size_t mm = m > 0 ? static_cast<std::size_t>(m) : 0;
    if (a.size() < nn * nn + nn * mm) {
        // Too short an array cannot hold the system at all.
        error = -1;
        return error;
    }
    auto coef = [&](std::size_t eq, std::size_t k) -> float& { return a[eq * nn + k]; };
    auto rhs = [&](std::size_t eq) { return a.subspan(nn * nn + eq * mm, mm); };
    for (std::size_t k = 0; k < nn; ++k) {
        const float pivot = coef(k, k);
        if (std::fabs(pivot) < 1.0e-10f) {
            error = -1;
            return error;
        }
        const float inverse = 1.0f / pivot;
        coef(k, k) = 1.0f;
        for (std::size_t j = k + 1; j < nn; ++j)
            coef(k, j) *= inverse;
        for (float& r : rhs(k))
            r *= inverse;
        const auto rowK = a.subspan(k * nn + k + 1, nn - k - 1);
        for (std::size_t j = k + 1; j < nn; ++j) {
            const float f = coef(j, k);
            coef(j, k) = 0.0f;
            VMXU(a.subspan(j * nn + k + 1, nn - k - 1), f, rowK, static_cast<int>(nn - k - 1));
            VMXU(rhs(j), f, rhs(k), static_cast<int>(mm));
        }
    }
    for (std::size_t k = nn - 1; k >= 1; --k) {
        if (coef(k, k) != 1.0f) {
            error = -1;
            return error;
        }
        for (std::size_t j = 0; j < k; ++j) {
            const float f = coef(j, k);
            coef(j, k) = 0.0f;
            VMXU(rhs(j), f, rhs(k), static_cast<int>(mm));
        }
    }
    return error;
}

namespace {

bool between(double v, double a, double b) {
    return v >= std::min(a, b) && v <= std::max(a, b);
}

// The interpolation shared by TERPOL and DTERPOL; `remembered` is the
// interval of the previous call and receives the one used.
template <typename X>
float interpolate(std::span<const X> x, std::span<const float> y, int n, X x0, int& remembered,
                  int& used) {
    n = static_cast<int>(
        std::min<std::size_t>({static_cast<std::size_t>(std::max(n, 0)), x.size(), y.size()}));
    used = 1;
    if (n <= 0) return 0.0f;
    if (n == 1) return y[0];
    auto X1 = [&](int i) { return static_cast<double>(x[i - 1]); };
    auto Y1 = [&](int i) { return y[i - 1]; };
    const double v = x0;
    const bool ascending = X1(n) > X1(1);
    if (ascending ? v >= X1(n) : v <= X1(n)) {
        used = n;
        return Y1(n);
    }
    if (ascending ? v <= X1(1) : v >= X1(1)) return Y1(1);

    int b = 0;
    const int last = remembered;
    if (last > 2 && last < n) {
        for (int c : {last, last + 1, last - 1})
            if (c >= 1 && c < n && between(v, X1(c), X1(c + 1))) {
                b = c;
                break;
            }
    }
    if (b == 0) {
        double best = 1.0e30;
        b = 1;
        for (int i = 1; i <= n - 1; ++i) {
            if (X1(i) == X1(i + 1)) continue;
            const double d = std::fabs(v - X1(i));
            if (d < best) {
                best = d;
                b = i;
            }
        }
        b = std::min(b, n - 1);
        if (b > 1 && between(v, X1(b - 1), X1(b))) --b;
    }
    remembered = b;
    used = b;

    const float ya = Y1(b), yb = Y1(b + 1);
    const double xa = X1(b), xb = X1(b + 1);
    const bool nearerNext = std::fabs(v - xb) < std::fabs(v - xa);
    if (ya > 1.0e10f || yb > 1.0e10f) return nearerNext ? yb : ya;
    // Equal abscissae give no slope; the value of the point itself stands.
    if (xb == xa) return ya;
    return static_cast<float>(ya + (yb - ya) * static_cast<float>((v - xa) / (xb - xa)));
}

}  // namespace

float TERPOL(std::span<const float> x, std::span<const float> y, int n, float x0) {
    int used = 0;
    return interpolate<float>(x, y, n, x0, numericState().terpolInterval, used);
}

float DTERPOL(std::span<const double> x, std::span<const float> y, int n, double x0, int& ifound) {
    return interpolate<double>(x, y, n, x0, numericState().dterpolInterval, ifound);
}

float FLAGRI(std::span<const float> x, std::span<const float> y, float x0, int n) {
    n = static_cast<int>(
        std::min<std::size_t>({static_cast<std::size_t>(std::max(n, 0)), x.size(), y.size()}));
    if (n <= 0) return 0.0f;
    for (int i = 0; i < n; ++i)
        if (x[i] == x0) return y[i];
    double p = 1.0;
    for (int j = 0; j < n; ++j)
        p *= static_cast<double>(x0) - x[j];
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        double denominator = 1.0;
        for (int j = 0; j < n; ++j)
            if (x[j] != x[i]) denominator *= static_cast<double>(x[i]) - x[j];
        sum += p * y[i] / (static_cast<double>(x0) - x[i]) / denominator;
    }
    return static_cast<float>(sum);
}

void ORDER5(std::span<float> a1, std::span<float> a2, std::span<float> a3, std::span<float> a4,
            std::span<float> a5, int n, int m) {
    if (m <= 0) return;
    const std::array<std::span<float>, 5> arrays = {a1, a2, a3, a4, a5};
    const std::size_t carried = static_cast<std::size_t>(std::min(m, 5));
    std::size_t count = n > 0 ? static_cast<std::size_t>(n) : 0;
    for (std::size_t k = 0; k < carried; ++k)
        count = std::min(count, arrays[k].size());
    for (std::size_t top = count; top > 1; --top) {
        bool exchanged = false;
        for (std::size_t i = 0; i + 1 < top; ++i) {
            if (a1[i + 1] < a1[i]) {
                for (std::size_t k = 0; k < carried; ++k)
                    std::swap(arrays[k][i], arrays[k][i + 1]);
                exchanged = true;
            }
        }
        if (!exchanged) break;
    }
}

}  // namespace util
