#pragma once
// Ordered dither patterns of 8 x 4 dots for devices that print only full
// dots: a grey level becomes a 32-bit pattern (bit (column mod 8) +
// 8 x (row mod 4), byte k being row k of the cell), spread so that the rows
// of the cell differ.

#include <cstdint>

namespace tk {

// One pattern per colour plane (the same three on two-colour devices).
struct ColourPatternTriple {
    std::uint32_t first = 0, second = 0, third = 0;
};

// The pattern of one plane at a level of 0 (no dots) to 1 (all dots);
// divisor is the plane's seed (2, 3 or 4), which shifts where the dots
// start so that overlaid planes do not print on the same dots.
std::uint32_t DitherPlanePattern(float level, int divisor);

// The patterns of the current colour, bits set for light cells, for a
// colour scheme (0 none, 1 red/green/blue planes, 2 cyan/magenta/yellow
// planes, whose components are inverted once more on colour devices): on a
// two-colour device one grey pattern in all three, else one per component.
ColourPatternTriple ColourToGreyDither(int scheme);

}  // namespace tk
