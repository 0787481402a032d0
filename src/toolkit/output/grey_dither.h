#pragma once
// Ordered dither patterns of 8 x 4 dots for devices that print only full
// dots: a grey level becomes a 32-bit pattern (bit (column mod 8) +
// 8 x (row mod 4), byte k being row k of the cell), spread so that the rows
// of the cell differ.

#include <array>
#include <cstdint>

namespace tk {

using ColourPatternTriple = std::array<std::uint32_t, 3>;

// The pattern of one plane at a level of 0 (no dots) to 1 (all dots);
// divisor is the plane's seed (2, 3 or 4), which shifts where the dots
// start so that overlaid planes do not print on the same dots.
std::uint32_t DitherPlanePattern(float level, int divisor);

// The patterns of the current colour for a printer colour scheme (0 none,
// 1 red/green/blue planes, 2 cyan/magenta/yellow planes): on a two-colour
// device one grey plane in all three, else one plane per component.
ColourPatternTriple ColourToGreyDither(int scheme);

}  // namespace tk
