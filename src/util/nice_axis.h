#pragma once
// Choosing round-numbered axis ranges and label decimals.

#include <cstdint>
#include <span>

namespace util {

// A linear axis covering VMIN..VMAX: START <= VMIN, START + NDIV STEP >= VMAX,
// NDIV 1..5, STEP 1, 2 or 5 times a power of ten; K (minor ticks) := 5.
void LINNX(float vmin, float vmax, float& start, float& step, std::int32_t& ndiv, std::int32_t& k);
// Decade range L1..L2 of a log axis covering VMIN..VMAX.
void LOGNX(float vmin, float vmax, std::int32_t& l1, std::int32_t& l2);
// The same in powers of two.
void LOG2NX(float vmin, float vmax, std::int32_t& l1, std::int32_t& l2);
// A nice axis with (about) NDIV divisions; MINOR ticks per division.
void FIGLIM(float vmin, float vmax, float& start, float& step, std::int32_t& minor,
            std::int32_t& ndiv);
// Decimals to print for X; -1 for 0 and whole numbers.
std::int32_t JSIG(float x);
// Widens AMIN..AMAX to the magnitudes of the usable values of A(1:N).
void GETNX(std::span<const float> a, int n, float& amin, float& amax);
// Widens IMIN..IMAX to IA(1:N).
void IFNDNX(std::span<const std::int32_t> ia, int n, std::int32_t& imin, std::int32_t& imax);

}  // namespace util
