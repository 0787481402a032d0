#pragma once
// Narrowing a double result to a stored real without leaving the float
// range (out-of-range conversions are undefined in C++): beyond it the
// result is the largest real of that sign; NaN stays NaN.

#include <cmath>
#include <limits>

namespace util {

inline float narrowToFloat(double v) {
    constexpr double top = std::numeric_limits<float>::max();
    if (std::isnan(v)) return std::numeric_limits<float>::quiet_NaN();
    if (v > top) return std::numeric_limits<float>::max();
    if (v < -top) return -std::numeric_limits<float>::max();
    return static_cast<float>(v);
}

}  // namespace util
