#include "util/array_routines.h"

#include <algorithm>
#include <cmath>

namespace util {

namespace {
int usableCount(int n, std::size_t size) {
    if (n <= 0) return 0;
    return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(n), size));
}
constexpr float kMissingAbove = 1.0e10f;
}  // namespace

float XTY(std::span<const float> x, int incx, std::span<const float> y, int incy, int n) {
    double sum = 0.0;
    for (std::int64_t i = 0; i < n; ++i) {
        const std::int64_t ix = i * incx;
        const std::int64_t iy = i * incy;
        if (ix < 0 || iy < 0 || ix >= static_cast<std::int64_t>(x.size()) ||
            iy >= static_cast<std::int64_t>(y.size()))
            break;
        sum += static_cast<double>(x[ix]) * static_cast<double>(y[iy]);
    }
    return static_cast<float>(sum);
}

void ADDTO(std::span<float> a, int n, float c, float floor) {
    n = usableCount(n, a.size());
    for (int i = 0; i < n; ++i) {
        const float v = a[i] + c;
        a[i] = v < floor ? floor : v;
    }
}

void IADDTO(std::span<std::int32_t> a, int n, std::int32_t c, std::int32_t floor) {
    n = usableCount(n, a.size());
    for (int i = 0; i < n; ++i) {
        // Summed wide so that no sum overflows; a sum beyond the integer
        // range keeps the nearest integer.
        const std::int64_t v = static_cast<std::int64_t>(a[i]) + c;
        const std::int64_t kept = std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX);
        a[i] = v < floor ? floor : static_cast<std::int32_t>(kept);
    }
}

float SUMOF(std::span<const float> a, int n) {
    n = usableCount(n, a.size());
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += a[i];
    return static_cast<float>(sum);
}

float AVGOF(std::span<const float> a, int n) {
    n = usableCount(n, a.size());
    double sum = 0.0;
    int counted = 0;
    for (int i = 0; i < n; ++i) {
        if (a[i] > kMissingAbove) continue;
        sum += a[i];
        ++counted;
    }
    return static_cast<float>(counted > 0 ? sum / counted : sum);
}

void VMXU(std::span<float> a, float s, std::span<const float> b, int n) {
    n = usableCount(usableCount(n, a.size()), b.size());
    for (int i = 0; i < n; ++i)
        a[i] = a[i] - s * b[i];
}

void ERASE(std::span<float> a, int n) {
    std::fill_n(a.begin(), usableCount(n, a.size()), 0.0f);
}
void ERASEI(std::span<std::int32_t> a, int n) {
    std::fill_n(a.begin(), usableCount(n, a.size()), 0);
}

int MEMORY() {
    return 0;
}

void I2TOI4(std::span<const std::int16_t> i2, std::span<std::int32_t> i4, int n) {
    n = usableCount(usableCount(n, i2.size()), i4.size());
    for (int i = n - 1; i >= 0; --i)
        i4[i] = i2[i];
}

void L1TOL4(std::span<const std::int8_t> l1, std::span<std::int32_t> l4, int n) {
    n = usableCount(usableCount(n, l1.size()), l4.size());
    for (int i = n - 1; i >= 0; --i)
        l4[i] = l1[i];
}

void SHIFTF(std::span<float> a, int n, int k) {
    shiftArray(a, n, k, 0.0f);
}
void SHIFTI(std::span<std::int32_t> a, int n, int k) {
    shiftArray(a, n, k, 0);
}
void SHIFTI2(std::span<std::int16_t> a, int n, int k) {
    shiftArray(a, n, k, static_cast<std::int16_t>(0));
}
void SHIFTL(std::span<bool> a, int n, int k) {
    shiftArray(a, n, k, false);
}
void SHIFTC(std::span<char> a, int n, int k) {
    shiftArray(a, n, k, ' ');
}
void SHIFTL1(std::span<std::int8_t> a, int n, int k) {
    shiftArray(a, n, k, static_cast<std::int8_t>(0));
}

namespace {
template <typename T>
void insertAt(std::span<T> a, int ipos, int n, T x, void (*shift)(std::span<T>, int, int)) {
    n = usableCount(n, a.size());
    if (ipos < 1 || ipos > n) return;
    shift(a.subspan(static_cast<std::size_t>(ipos - 1)), n - ipos + 1, 1);
    a[ipos - 1] = x;
}
}  // namespace

void INSRTF(std::span<float> a, int ipos, int n, float x) {
    insertAt(a, ipos, n, x, SHIFTF);
}
void INSRTI(std::span<std::int32_t> a, int ipos, int n, std::int32_t x) {
    insertAt(a, ipos, n, x, SHIFTI);
}
void INSRTL(std::span<bool> a, int ipos, int n, bool x) {
    insertAt(a, ipos, n, x, SHIFTL);
}
void INSRTC(std::span<char> a, int ipos, int n, char x) {
    insertAt(a, ipos, n, x, SHIFTC);
}

int INSERT(std::span<const float> a, int n, float x) {
    n = usableCount(n, a.size());
    if (n == 0) return 1;
    const bool ascending = a[n - 1] > a[0];
    for (int i = 0; i < n; ++i) {
        if (a[i] == x) return 0;
        if (ascending ? x < a[i] : x > a[i]) return i + 1;
    }
    return n + 1;
}

int INSERTS(std::span<const float> a, int n, float x) {
    n = usableCount(n, a.size());
    if (n == 0) return 1;
    if (a[n - 1] > a[0]) {
        if (x <= a[0]) return 1;
        if (x >= a[n - 1]) return n + 1;
        for (int i = 0; i < n; ++i)
            if (a[i] >= x) return i + 1;
    } else {
        if (x >= a[0]) return 1;
        if (x <= a[n - 1]) return n + 1;
        for (int i = 0; i < n; ++i)
            if (a[i] <= x) return i + 1;
    }
    return n + 1;  // only for a table that is not sorted
}

int KOUNTEM(std::span<const float> a, int n) {
    n = usableCount(n, a.size());
    int i = 0;
    while (i < n && a[i] < 1.0e20f)
        ++i;
    return i;
}

namespace {
int nearest(float x0, std::span<const float> a, int n, float limit) {
    n = usableCount(n, a.size());
    int best = -1;
    float bestDistance = limit;
    for (int i = 0; i < n; ++i) {
        const float d = std::fabs(a[i] - x0);
        if (d < bestDistance) {
            bestDistance = d;
            best = i + 1;
        }
    }
    return best;
}
}  // namespace

int NEARIV(float x0, std::span<const float> a, int n) {
    return nearest(x0, a, n, 1.0e20f);
}

int INDEXX(std::span<const float> a, int n, float x0) {
    return std::max(nearest(x0, a, n, 1.0e30f), 0);
}

void FINDNX(std::span<const float> a, int n, float& vmin, float& vmax) {
    n = usableCount(n, a.size());
    for (int i = 0; i < n; ++i) {
        const float v = a[i];
        const float m = std::fabs(v);
        if (std::isnan(v) || m > 1.0e15f || (m > 0.0f && m < 1.0e-30f)) continue;
        vmin = std::min(vmin, v);
        vmax = std::max(vmax, v);
    }
}

}  // namespace util
