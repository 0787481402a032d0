#pragma once
// Filters and conversions for VLF and electromagnetic profile data: the
// Fraser filter, a six-point current-density filter, and the conversions
// between in-phase, quadrature, amplitude, phase, tilt angle and
// ellipticity. They work on blocks the caller passes: N points by M columns,
// stored column by column. 1.0E20 marks a missing value; any value of 1.0E10
// or more counts as missing on input.

#include <cstddef>
#include <span>

namespace calc {

inline constexpr float kVlfMissing = 1.0E20f;
inline constexpr float kVlfMissingFrom = 1.0E10f;

// A block of n points by m columns over storage the caller owns (at least
// n x m values, column by column), indexed from 1.
struct VlfBlock {
    std::span<float> values;
    int n = 0;
    int m = 0;

    float& operator()(int i, int k) const {
        return values[static_cast<std::size_t>(k - 1) * static_cast<std::size_t>(n) +
                      static_cast<std::size_t>(i - 1)];
    }
    // n x m fits the storage (negative counts never do).
    bool valid() const {
        return n >= 0 && m >= 0 &&
               static_cast<std::size_t>(n) * static_cast<std::size_t>(m) <= values.size();
    }
};

// Fraser filter per column: out(i) = (in(i-1) + in(i)) - (in(i+1) + in(i+2))
// for i = 2..n-2 (the other way round with lsign), missing elsewhere and
// wherever its window holds a missing value. out and in have the same shape.
void FRASER(const VlfBlock& out, const VlfBlock& in, bool lsign);

// Six-point current-density filter per column. At point i the sums
// 0.59 in(i-1) + 0.102 in(i-2) + 0.561 in(i-3) and the same over i+1, i+2,
// i+3 are taken; their difference (the side before i minus the side after
// it) divided by pi times the station spacing at i, half the distance from
// point i-1 to point i+1, is the result.
// Points without three neighbours on each side, windows with a missing value
// and a zero spacing give the missing value. positions(1..n) are the points'
// distances along the profile.
void HJELT_D(const VlfBlock& out, const VlfBlock& in, std::span<const float> positions);
// The same into two outputs.
void HJELT_M(const VlfBlock& out1, const VlfBlock& out2, const VlfBlock& in,
             std::span<const float> positions);

// Element-wise conversions over blocks of one shape.
// Amplitude sqrt(abs(a^2 + b^2) + 1.0E-30) of in-phase and quadrature.
void MAKAMP(const VlfBlock& out, const VlfBlock& inPhase, const VlfBlock& quadrature);
// Phase atan2(quadrature, in-phase) in radians.
void MAKPHS(const VlfBlock& out, const VlfBlock& inPhase, const VlfBlock& quadrature);
// Tilt angle in degrees from a percentage: atan(0.01 x percent) x 57.296.
void MAKTLT(const VlfBlock& out, const VlfBlock& percent);
// Ellipticity from a percentage: 0.01 x percent.
void MAKELP(const VlfBlock& out, const VlfBlock& percent);
// Quadrature in percent: 100 x value.
void MAKQDD(const VlfBlock& out, const VlfBlock& value);
// In-phase in percent from a tilt angle: tan(angle / 57.296) x 100.
void MAKIPD(const VlfBlock& out, const VlfBlock& angle);

// Phase of one pair (returned) and its amplitude (stored); both missing when
// either value is.
float AMPPHS(float inPhase, float quadrature, float& amplitude);

// The profile's two VLF work arrays.
struct VlfWorkArrays {
    VlfBlock first;
    VlfBlock second;
};

// Copies a block between the caller's array and a work array: kind -1 reads
// the first work array into `array`, -2 the second; any other kind below 2
// writes `array` into the first, 18 into the second; other kinds copy
// nothing. The common leading points and columns are copied.
void COPYVLF(VlfWorkArrays& work, const VlfBlock& array, int kind);

}  // namespace calc
